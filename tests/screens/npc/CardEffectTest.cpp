#include "CardDuelFixture.h"

namespace {

// Each card played by the player from its hand, as it lands: its effect, then the player's marker
// tick. The player starts at 20 of 40 hit points, the opponent at 40 of 40, no markers anywhere.
struct EffectRow {
    const char* card;
    i32 multiplier;  // 2: played under a doubling combo
    i32 playerHp, playerMax, opponentHp;
    i32 markerCount;  // the player's marker in slot 0 after the tick; -1 none
    bool combo;       // the combo flag afterwards
    i32 comboMultiplier;
};

const EffectRow kEffects[] = {
    // Warrior.
    {"Slash", 1, 20, 40, 38, -1, false, 1},
    {"Crush", 1, 20, 40, 37, -1, false, 1},
    {"Rapid stab", 1, 20, 40, 36, -1, false, 1},
    {"Bleeding", 1, 20, 40, 36, 2, false, 1},  // 1 now, and 3 in the tick of the turn it is laid
    {"Assault", 1, 20, 40, 38, -1, false, 1},
    {"Dual strike", 1, 20, 40, 32, -1, false, 1},
    {"Backstab", 1, 20, 40, 35, -1, false, 1},
    {"Block", 1, 20, 40, 40, 1, false, 1},
    {"War cry", 1, 20, 40, 40, -1, true, 2},
    {"Tower shield", 1, 20, 40, 40, 8, false, 1},  // hit-point markers do not count down
    {"Long sword", 1, 20, 40, 40, 5, false, 1},    // nor do attack markers
    {"Kite shield", 1, 20, 40, 40, 12, false, 1},
    {"Battle axe", 1, 20, 40, 40, 7, false, 1},
    {"Plate mail", 1, 20, 40, 40, 15, false, 1},
    {"Mourner", 1, 20, 40, 40, 1, false, 1},
    {"Remedy", 1, 25, 40, 40, -1, false, 1},
    {"Healing potion", 1, 28, 40, 40, 2, false, 1},
    {"Rejuvenate", 1, 30, 40, 40, -1, false, 1},
    {"Heroic Remedy", 1, 25, 45, 40, -1, false, 1},
    {"Arrow storm", 1, 20, 40, 37, 2, false, 1},
    {"Fosse", 1, 20, 40, 40, -1, false, 1},
    {"Raid", 1, 20, 40, 40, 4, false, 1},
    {"Marksman", 1, 20, 40, 35, 2, false, 1},
    {"Bloodlust", 1, 30, 40, 40, -1, true, 1},
    {"Berzerk", 1, 20, 40, 40, 1, false, 1},
    // Sorcerer.
    {"Life node", 1, 22, 40, 40, 9, false, 1},
    {"Aura of air", 1, 20, 40, 40, 3, false, 1},
    {"Death node", 1, 20, 40, 40, 3, false, 1},
    {"Aura of water", 1, 20, 40, 40, 3, false, 1},
    {"Moon node", 1, 20, 40, 40, 3, false, 1},
    {"Aura of fire", 1, 20, 40, 40, 3, false, 1},
    {"Sun node", 1, 20, 40, 40, 3, false, 1},
    {"Aura of earth", 1, 20, 40, 40, 3, false, 1},
    {"Ice bolt", 1, 20, 40, 36, -1, false, 1},
    {"Chain lightning", 1, 20, 40, 35, -1, false, 1},
    {"Earthquake", 1, 20, 40, 35, -1, false, 1},
    {"Whirlwind", 1, 20, 40, 35, -1, false, 1},
    {"Firewall", 1, 20, 40, 32, -1, false, 1},
    {"Starfall", 1, 20, 40, 40, -1, false, 1},
    {"Sandstorm", 1, 20, 40, 39, 4, false, 1},
    {"Blizzard", 1, 20, 40, 39, 5, false, 1},
    {"Blade storm", 1, 20, 40, 37, 1, false, 1},
    {"Will-o'-the-wisp", 1, 20, 40, 40, 2, false, 1},
    {"Wildfire", 1, 20, 40, 38, 3, false, 1},
    {"Rage of nature", 1, 20, 40, 36, 2, false, 1},
    {"Healing shower", 1, 24, 40, 40, -1, false, 1},
    {"Healing scroll", 1, 27, 40, 40, -1, false, 1},
    {"Bless", 1, 35, 40, 40, -1, false, 1},
    {"Mana explosion", 1, 30, 40, 40, -1, true, 1},
    {"Mana storm", 1, 20, 40, 40, -1, true, 2},
    // Necromancer.
    {"Blood chant", 1, 18, 40, 36, -1, false, 1},
    {"Fang", 1, 17, 40, 34, -1, false, 1},
    {"Atrophy", 1, 20, 40, 38, -1, false, 1},
    {"Sacrifice", 1, 17, 40, 35, -1, false, 1},
    {"Dark touch", 1, 23, 40, 37, -1, false, 1},
    {"Poison cloud", 1, 19, 40, 36, -1, false, 1},
    {"Blood filch", 1, 19, 40, 35, -1, false, 1},
    {"Vampire bite", 1, 26, 40, 34, -1, false, 1},
    {"Soul crush", 1, 15, 40, 25, -1, false, 1},
    {"Black out", 1, 32, 40, 28, -1, false, 1},
    {"Bone wall", 1, 20, 40, 40, 6, false, 1},
    {"Blood golem", 1, 20, 40, 39, 6, false, 1},
    {"Blood moat", 1, 20, 40, 40, 8, false, 1},
    {"Ghoul", 1, 20, 40, 38, 4, false, 1},
    {"Graveyard", 1, 21, 40, 40, 4, false, 1},
    {"Skeleton", 1, 20, 40, 37, 4, false, 1},
    {"Vampire", 1, 23, 40, 37, 2, false, 1},
    {"Acid rain", 1, 20, 40, 39, 2, false, 1},
    {"Parasite", 1, 21, 40, 39, 2, false, 1},
    {"Corpse army", 1, 20, 40, 38, 1, false, 1},
    {"Vampire bats", 1, 21, 40, 39, 3, false, 1},
    {"Unholy seal", 1, 21, 40, 39, 2, false, 1},
    {"Blood boil", 1, 20, 40, 30, 1, false, 1},
    {"Heart pile", 1, 30, 40, 40, -1, true, 1},
    {"Soul pile", 1, 20, 40, 40, -1, true, 2},
    // Under a doubling combo: twice value1, and a marker lasts twice value3 (its tick stays plain).
    {"Slash", 2, 20, 40, 36, -1, false, 1},
    {"Rapid stab", 2, 20, 40, 32, -1, false, 1},
    {"Assault", 2, 20, 40, 36, -1, false, 1},
    {"Bleeding", 2, 20, 40, 35, 5, false, 1},
    {"Healing potion", 2, 35, 40, 40, 5, false, 1},
    {"Rejuvenate", 2, 40, 40, 40, -1, false, 1},
    {"Heroic Remedy", 2, 30, 50, 40, -1, false, 1},
    {"Block", 2, 20, 40, 40, 3, false, 1},
    {"Tower shield", 2, 20, 40, 40, 16, false, 1},
    {"Life node", 2, 22, 40, 40, 19, false, 1},
    {"Blood golem", 2, 20, 40, 39, 12, false, 1},
    {"Soul crush", 2, 10, 40, 10, -1, false, 1},
    {"Black out", 2, 40, 40, 16, -1, false, 1},
    // A healing combo under a doubling combo keeps the multiplier and heals twice doubled.
    {"Bloodlust", 2, 40, 40, 40, -1, true, 2},
    {"Mana storm", 2, 20, 40, 40, -1, true, 2},
};

TEST_F(CardDuelTest, EveryCardsEffectWhenPlayed) {
    for (const EffectRow& row : kEffects) {
        SetUp();
        SetHp(kCardPlayer, 20, 40);
        duel.SetCombo(row.multiplier != 1, row.multiplier);
        duel.Side(kCardPlayer).hand[2] = &Card(row.card);
        duel.PlayCard(kCardPlayer, 2);
        SCOPED_TRACE(std::string(row.card) + " x" + std::to_string(row.multiplier));
        EXPECT_EQ(Hp(kCardPlayer), row.playerHp);
        EXPECT_EQ(duel.Side(kCardPlayer).maxHp, row.playerMax);
        EXPECT_EQ(Hp(kCardOpponent), row.opponentHp);
        const CCardMarker& marker = duel.Side(kCardPlayer).markers[0];
        if (row.markerCount < 0) {
            EXPECT_EQ(marker.card, nullptr);
        } else {
            EXPECT_EQ(marker.card, &Card(row.card));
            EXPECT_EQ(marker.count, row.markerCount);
        }
        EXPECT_EQ(duel.IsCombo(), row.combo);
        if (row.combo) {
            EXPECT_EQ(duel.ComboMultiplier(), row.comboMultiplier);
        }
        EXPECT_EQ(duel.Side(kCardPlayer).hand[2], nullptr);
        EXPECT_EQ(duel.TableCard(), &Card(row.card));
        EXPECT_FALSE(duel.IsOver());
    }
}

TEST_F(CardDuelTest, EveryCardHasAnEffectRow) {
    for (u32 key = 0; key < kCardCount; ++key) {
        const char* name = table.CardAt(key).name;
        bool found = false;
        for (const EffectRow& row : kEffects)
            found = found || (row.multiplier == 1 && std::strcmp(row.card, name) == 0);
        EXPECT_TRUE(found) << name;
    }
}

// Markers acting on one hit: the attacker's markers (phase 3), the defender's absorption and markers
// (phase 4). The player attacks; the opponent defends.
struct HitRow {
    const char* name;
    const char* attackerMarker;  // "" none
    const char* defenderMarker;
    i32 defenderCount;
    i32 damage;
    bool direct;  // past the defence, with the attacker's bonuses
    i32 defenderHp;
    i32 defenderCountAfter;
    i32 attackerHp;
};

const HitRow kHits[] = {
    {"bonus rounds up to one point", "Death node", "", 0, 2, false, 37, 0, 40},
    {"bonus of a quarter", "Death node", "", 0, 8, false, 30, 0, 40},
    {"half bonus", "Sun node", "", 0, 6, false, 31, 0, 40},
    {"bonus spends an attack", "Long sword", "", 0, 5, false, 34, 0, 40},
    {"Berzerk adds half", "Berzerk", "", 0, 6, false, 31, 0, 40},
    {"Mourner adds half, as its text says", "Mourner", "", 0, 6, false, 31, 0, 40},
    {"reduction of at least one", "", "Aura of air", 4, 2, false, 39, 4, 40},
    {"reduction of a quarter", "", "Aura of air", 4, 8, false, 34, 4, 40},
    {"a third of a hit", "", "Aura of water", 4, 9, false, 33, 4, 40},
    {"wisp as a percentage", "", "Will-o'-the-wisp", 3, 8, false, 33, 3, 40},
    {"Block on a one-point hit", "", "Block", 2, 1, false, 39, 2, 40},
    {"Block halves", "", "Block", 2, 5, false, 37, 2, 40},
    {"Berzerk takes more from a big hit", "", "Berzerk", 2, 4, false, 35, 2, 40},
    {"Berzerk takes more from a bigger hit", "", "Berzerk", 2, 10, false, 27, 2, 40},
    {"Berzerk takes one less from a small hit", "", "Berzerk", 2, 3, false, 38, 2, 40},
    {"shield absorbs the whole hit", "", "Tower shield", 8, 5, false, 40, 3, 40},
    {"shield absorbs what it has left", "", "Kite shield", 12, 15, false, 37, 0, 40},
    {"minions absorb like walls", "", "Blood golem", 6, 4, false, 40, 2, 40},
    {"past the defence the shield reduces", "", "Tower shield", 8, 5, true, 36, 7, 40},
    {"wall reduces all it can", "", "Bone wall", 6, 4, true, 40, 2, 40},
    {"wall gives what it has left", "", "Bone wall", 3, 5, true, 38, 0, 40},
    {"direct damage takes the attacker's bonus", "Death node", "", 0, 8, true, 30, 0, 40},
    {"reflection", "", "Aura of fire", 4, 8, false, 32, 4, 38},
    {"reflection of at least one", "", "Aura of fire", 4, 1, false, 39, 4, 39},
};

TEST_F(CardDuelTest, MarkersOnAHit) {
    for (const HitRow& row : kHits) {
        SetUp();
        if (*row.attackerMarker) SetMarker(kCardPlayer, 0, row.attackerMarker, 5);
        if (*row.defenderMarker) SetMarker(kCardOpponent, 0, row.defenderMarker, row.defenderCount);
        if (row.direct)
            duel.InflictDirectDamage(row.damage, kCardOpponent, true);
        else
            duel.InflictDamage(row.damage, kCardPlayer);
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Hp(kCardOpponent), row.defenderHp);
        EXPECT_EQ(Hp(kCardPlayer), row.attackerHp);
        if (*row.defenderMarker) {
            EXPECT_EQ(duel.Side(kCardOpponent).markers[0].count, row.defenderCountAfter);
        }
    }
}

TEST_F(CardDuelTest, LongSwordCountsItsAttacks) {
    SetMarker(kCardPlayer, 0, "Long sword", 2);
    duel.InflictDamage(5, kCardPlayer);
    duel.InflictDamage(5, kCardPlayer);
    duel.InflictDamage(5, kCardPlayer);
    EXPECT_EQ(duel.Side(kCardPlayer).markers[0].count, 0);  // not below 0
    duel.EndOfWait();
    EXPECT_EQ(duel.Side(kCardPlayer).markers[0].card, nullptr);
}

TEST_F(CardDuelTest, AShieldHoldsAHitFromEitherSide) {
    for (u32 defender : {kCardPlayer, kCardOpponent}) {
        SetUp();
        SetMarker(defender, 1, "Tower shield", 8);
        duel.InflictDamage(5, defender ^ 1u);
        EXPECT_EQ(Hp(defender), 40);
        EXPECT_EQ(duel.Side(defender).markers[1].count, 3);
        EXPECT_TRUE(duel.Side(defender).markers[1].flash);
    }
}

TEST_F(CardDuelTest, ShieldsAbsorbInSlotOrder) {
    SetMarker(kCardOpponent, 0, "Bone wall", 3);
    SetMarker(kCardOpponent, 1, "Aura of air", 4);
    SetMarker(kCardOpponent, 2, "Blood moat", 8);
    duel.InflictDamage(6, kCardPlayer);
    EXPECT_EQ(duel.Side(kCardOpponent).markers[0].count, 0);
    EXPECT_EQ(duel.Side(kCardOpponent).markers[2].count, 5);
    EXPECT_FALSE(duel.Side(kCardOpponent).markers[1].flash);  // nothing got past the walls
    EXPECT_EQ(Hp(kCardOpponent), 40);
}

TEST_F(CardDuelTest, ReflectedDamageIsNotReflectedAgain) {
    SetMarker(kCardPlayer, 0, "Aura of fire", 4);
    SetMarker(kCardOpponent, 0, "Aura of fire", 4);
    duel.InflictDamage(8, kCardPlayer);
    EXPECT_EQ(Hp(kCardOpponent), 32);
    EXPECT_EQ(Hp(kCardPlayer), 38);
    // And the other way round.
    duel.InflictDamage(12, kCardOpponent);
    EXPECT_EQ(Hp(kCardPlayer), 26);
    EXPECT_EQ(Hp(kCardOpponent), 29);
}

TEST_F(CardDuelTest, RaidWearsOnlyTheEnemysDefence) {
    SetMarker(kCardPlayer, 0, "Raid", 5);
    SetMarker(kCardOpponent, 0, "Tower shield", 8);
    SetMarker(kCardOpponent, 1, "Aura of air", 4);
    duel.MarkerTick(kCardPlayer);
    EXPECT_EQ(duel.Side(kCardOpponent).markers[0].count, 5);
    EXPECT_EQ(duel.Side(kCardOpponent).markers[1].count, 4);
    EXPECT_EQ(Hp(kCardOpponent), 40);
    EXPECT_EQ(duel.Side(kCardPlayer).markers[0].count, 4);
}

TEST_F(CardDuelTest, BleedingTicksPastTheDefence) {
    SetMarker(kCardOpponent, 0, "Kite shield", 12);
    duel.Side(kCardPlayer).hand[0] = &Card("Bleeding");
    duel.PlayCard(kCardPlayer, 0);
    // The first point goes into the shield; the per-turn loss skips absorption but meets the shield's
    // reduction (a quarter of 3, at least 1).
    EXPECT_EQ(duel.Side(kCardOpponent).markers[0].count, 10);
    EXPECT_EQ(Hp(kCardOpponent), 38);
}

TEST_F(CardDuelTest, HealingStaysWithinTheMaximum) {
    SetHp(kCardPlayer, 38, 40);
    duel.HealSide(kCardPlayer, 5);
    EXPECT_EQ(Hp(kCardPlayer), 40);
    duel.RaiseMaxHp(kCardPlayer, 5);
    EXPECT_EQ(Hp(kCardPlayer), 40);
    EXPECT_EQ(duel.Side(kCardPlayer).maxHp, 45);
    // While a combo is on, healing and raising take its multiplier.
    duel.SetCombo(true, 2);
    duel.HealSide(kCardPlayer, 2);
    duel.RaiseMaxHp(kCardPlayer, 1);
    EXPECT_EQ(Hp(kCardPlayer), 44);
    EXPECT_EQ(duel.Side(kCardPlayer).maxHp, 47);
}

TEST_F(CardDuelTest, AFullMarkerRowReplacesARandomSlot) {
    SetMarker(kCardPlayer, 0, "Block", 2);
    SetMarker(kCardPlayer, 1, "Mourner", 2);
    SetMarker(kCardPlayer, 2, "Berzerk", 2);
    CRandom replay = random;
    u32 slot = replay.Next(3);
    duel.AddMarker(kCardPlayer, Card("Raid"), 0);
    for (u32 i = 0; i < 3; ++i) {
        if (i == slot) {
            EXPECT_EQ(duel.Side(kCardPlayer).markers[i].card, &Card("Raid"));
            EXPECT_EQ(duel.Side(kCardPlayer).markers[i].count, 5);
        } else {
            EXPECT_NE(duel.Side(kCardPlayer).markers[i].card, &Card("Raid"));
        }
    }
}

TEST_F(CardDuelTest, RemovingMarkers) {
    // With no marker nothing is drawn.
    CRandom replay = random;
    duel.RemoveRandomMarker(kCardOpponent);
    EXPECT_EQ(random.Next(1000), replay.Next(1000));

    SetMarker(kCardOpponent, 2, "Ghoul", 4);
    duel.RemoveRandomMarker(kCardOpponent);
    EXPECT_EQ(duel.Side(kCardOpponent).markers[2].card, nullptr);

    SetMarker(kCardOpponent, 0, "Ghoul", 4);
    SetMarker(kCardOpponent, 1, "Ghoul", 4);
    duel.Side(kCardPlayer).hand[0] = &Card("Fosse");
    duel.SetCombo(true, 2);
    duel.PlayCard(kCardPlayer, 0);  // doubled: two markers go
    EXPECT_EQ(duel.Side(kCardOpponent).markers[0].card, nullptr);
    EXPECT_EQ(duel.Side(kCardOpponent).markers[1].card, nullptr);

    SetMarker(kCardOpponent, 0, "Ghoul", 4);
    SetMarker(kCardOpponent, 2, "Ghoul", 4);
    duel.Side(kCardPlayer).hand[0] = &Card("Starfall");
    duel.PlayCard(kCardPlayer, 0);
    EXPECT_FALSE(duel.Side(kCardOpponent).markers[0].card || duel.Side(kCardOpponent).markers[2].card);
}

TEST_F(CardDuelTest, SpentMarkersLeaveAtTheEndOfTheWait) {
    SetMarker(kCardPlayer, 0, "Block", 1);
    SetMarker(kCardOpponent, 1, "Tower shield", 0);
    SetMarker(kCardOpponent, 2, "Aura of air", 2);
    duel.Side(kCardPlayer).hand[0] = &Card("Slash");
    duel.PlayCard(kCardPlayer, 0);
    EXPECT_EQ(duel.Side(kCardPlayer).markers[0].count, 0);  // ticked down, still shown
    EXPECT_TRUE(duel.Side(kCardPlayer).markers[0].flash);
    duel.EndOfWait();
    EXPECT_EQ(duel.Side(kCardPlayer).markers[0].card, nullptr);
    EXPECT_EQ(duel.Side(kCardOpponent).markers[1].card, nullptr);
    EXPECT_NE(duel.Side(kCardOpponent).markers[2].card, nullptr);
    EXPECT_FALSE(duel.Side(kCardOpponent).markers[2].flash);
}

TEST_F(CardDuelTest, TheFirstSideAtZeroDecides) {
    // The enemy falls to the chant before its price can fell the player.
    SetHp(kCardPlayer, 1, 40);
    SetHp(kCardOpponent, 3, 40);
    duel.Side(kCardPlayer).hand[0] = &Card("Blood chant");
    duel.PlayCard(kCardPlayer, 0);
    EXPECT_TRUE(duel.IsOver());
    EXPECT_EQ(duel.Winner(), kCardPlayer);
    EXPECT_EQ(Hp(kCardPlayer), 1);
    EXPECT_EQ(Hp(kCardOpponent), 0);
    EXPECT_EQ(duel.EndOfWait().kind, CCardNext::kGameOver);
    // Nothing is played afterwards.
    duel.Side(kCardPlayer).hand[1] = &Card("Remedy");
    duel.PlayCard(kCardPlayer, 1);
    EXPECT_EQ(Hp(kCardPlayer), 1);
}

TEST_F(CardDuelTest, SelfDamageCanLoseTheDuel) {
    SetHp(kCardPlayer, 2, 40);
    duel.Side(kCardPlayer).hand[0] = &Card("Fang");
    duel.PlayCard(kCardPlayer, 0);
    EXPECT_TRUE(duel.IsOver());
    EXPECT_EQ(duel.Winner(), kCardOpponent);
}

TEST_F(CardDuelTest, ReflectionCanFellTheAttackerFirst) {
    SetHp(kCardPlayer, 1, 40);
    SetHp(kCardOpponent, 4, 40);
    SetMarker(kCardOpponent, 0, "Aura of fire", 4);
    duel.InflictDamage(8, kCardPlayer);
    EXPECT_TRUE(duel.IsOver());
    EXPECT_EQ(duel.Winner(), kCardOpponent);
}

}  // namespace
