// Blows of creatures on the player, the player's attack, and spells cast at the player. Resistances
// of 100 and more make a draw of 0..99 always fail and negative ones always succeed, which keeps the
// rows independent of the generator where the row is about the rule.
#include <gtest/gtest.h>

#include "data/ItemType.h"
#include "tests/world/PlayerFixture.h"

namespace {

CEffect Strike(int kind, int amount) {
    CEffect e = PlayerFx(kind, amount);
    e.mode = kModeStrike;
    return e;
}

void Resist(CPlayer& p, int list, int strength) {
    p.effects[list].push_back(
        {std::nullopt, nullptr, static_cast<i16>(strength), 0, static_cast<u8>(list), kFromSpell, 0});
}

TEST(PlayerHits, ArmourBlockAndTheWeatherSoftenTheBlow) {
    {
        SCOPED_TRACE("no armour: the blow less the dexterity part");
        PlayerWorld w;
        w.player.hp = 150;
        CPlayerHit hit;
        hit.damage = 100;
        CPlayerHitResult r = w.player.ApplyHit(hit);
        EXPECT_EQ(r.damage, 99);
        EXPECT_EQ(w.player.hp, 51);
        EXPECT_EQ(w.host.hits.back(), (std::pair<int, int>{99, 0}));
    }
    {
        SCOPED_TRACE("a certain block triples the shield");
        PlayerWorld w;
        CPlayer& p = w.player;
        CItemInstance* shield = w.Give("base_shield_woodenround");
        p.EquipItem(shield, true);
        p.skills[kSkillBlock] = kMaxSkillValue;
        int once = p.GetArmorClass(nullptr, 1), thrice = p.GetArmorClass(nullptr, 3);
        ASSERT_GT(thrice, once);
        p.hp = 150;
        CPlayerHit hit;
        hit.damage = 100;
        p.ApplyHit(hit);
        EXPECT_LE(p.hp, 150 - (100 - thrice));
        EXPECT_GE(p.hp, 150 - (100 - thrice) - 0) << "the shield's wear does not change this blow";
        EXPECT_EQ(p.skillUse[kSkillBlock], 1);
        p.skills[kSkillBlock] = 0;
        p.hp = 150;
        p.ApplyHit(hit);
        EXPECT_EQ(p.hp, 150 - (100 - p.GetArmorClass(nullptr, 1))) << "no block without the skill";
        EXPECT_EQ(p.skillUse[kSkillBlock], 1);
    }
    {
        SCOPED_TRACE("on a surface at night the blow is halved");
        PlayerWorld w;
        w.host.surface = true;
        w.host.clockHour = 23;
        w.host.weather = 200;  // 10 percent more
        w.player.hp = 150;
        CPlayerHit hit;
        hit.damage = 100;
        hit.keepDirection = true;
        w.player.ApplyHit(hit);
        EXPECT_EQ(w.player.hp, 150 - (40 - 1));
    }
}

TEST(PlayerHits, ABlowFromTheFrontTakenOnTheShieldCountsBlockPractice) {
    // Without Block skill the shield is never raised by a block roll: only the blows the shield
    // takes count. A blow from the front goes to it about half the time; one from behind never
    // (the uniform draw among the worn items may still wear it, without counting).
    for (const int from : {0, 2}) {
        SCOPED_TRACE(from == 0 ? "from the front" : "from behind");
        PlayerWorld w;
        CPlayer& p = w.player;
        CItemInstance* shield = w.Give("base_shield_woodenround");
        p.EquipItem(shield, true);
        p.skills[kSkillBlock] = 0;
        int worn = 0;
        for (int i = 0; i < 40; ++i) {
            p.hp = 500;
            shield->count = shield->type->maxCondition;
            CPlayerHit hit;
            hit.damage = 30;
            hit.direction = from;
            hit.keepDirection = true;
            p.ApplyHit(hit);
            if (shield->count < shield->type->maxCondition) ++worn;
        }
        if (from == 0) {
            EXPECT_GT(p.skillUse[kSkillBlock], 5);
            EXPECT_LE(p.skillUse[kSkillBlock], worn);
        } else {
            EXPECT_EQ(p.skillUse[kSkillBlock], 0);
        }
    }
}

TEST(PlayerHits, MissesGrazesAndTheBlockAction) {
    PlayerWorld w;
    CPlayer& p = w.player;
    w.host.blockAction = true;
    int misses = 0, grazes = 0;
    for (int i = 0; i < 200; ++i) {
        p.hp = 100;
        CPlayerHit hit;
        hit.damage = 1;
        hit.direction = 1;
        CPlayerHitResult r = p.ApplyHit(hit);
        if (r.missed) {
            ++misses;
            EXPECT_EQ(p.hp, 100);
        } else {
            ++grazes;
            EXPECT_GE(r.damage, 1);
            EXPECT_LE(r.damage, 4);
        }
    }
    EXPECT_GT(misses, 0);
    EXPECT_GT(grazes, 0);
    EXPECT_EQ(p.skillUse[kSkillBlock], std::min(misses, 255));
    EXPECT_EQ(w.host.missed.front(), 3) << "a given direction is turned around";
}

TEST(PlayerHits, SideEffectsOfTheBlowFollowTheirResistances) {
    CEffectList effects;
    effects.Add(new CEffect(Strike(26, 200)));  // always triggers
    {
        SCOPED_TRACE("poison beats a resistance below zero");
        PlayerWorld w;
        CPlayer& p = w.player;
        Resist(p, kListResistPoison, -200);  // 7 - 100
        p.hp = 150;
        CPlayerHit hit;
        hit.damage = 31;  // 30 after the dexterity part of the armour
        hit.effects = &effects;
        p.ApplyHit(hit);
        int a = 3 - 3 * (-93) / 100;
        EXPECT_EQ(p.GetPoisonStrength(), a);
        EXPECT_EQ(p.hp, 150 - 30 - a) << "the poison does its damage at once";
        EXPECT_EQ(w.host.posted.front(), "You're poisoned!");
        EXPECT_EQ(w.host.overTime.back(), a);
    }
    {
        SCOPED_TRACE("poison against full resistance");
        PlayerWorld w;
        Resist(w.player, kListResistPoison, 200);
        CPlayerHit hit;
        hit.damage = 30;
        hit.effects = &effects;
        w.player.ApplyHit(hit);
        EXPECT_EQ(w.player.GetPoisonStrength(), 0);
    }
    CEffectList others;
    others.Add(new CEffect(Strike(27, 200)));
    others.Add(new CEffect(Strike(28, 200)));
    others.Add(new CEffect(Strike(29, 200)));
    others.Add(new CEffect(Strike(30, 200)));
    others.Add(new CEffect(Strike(50, 200)));  // kinds without a rule do nothing
    {
        SCOPED_TRACE("curse, paralysis and drains beat negative resistances");
        PlayerWorld w;
        CPlayer& p = w.player;
        Resist(p, kListResistMagic, -200);
        Resist(p, kListResistParalysis, -200);
        p.hp = 150;
        p.mana = 50;
        CPlayerHit hit;
        hit.damage = 41;
        hit.effects = &others;
        CPlayerHitResult r = p.ApplyHit(hit);
        EXPECT_TRUE(p.IsCursed());
        EXPECT_TRUE(p.IsParalyzed());
        EXPECT_EQ(w.host.handSprites, 1);
        int drain = 20 - 20 * (-93) / 100;
        EXPECT_EQ(r.hpDrained, drain);
        EXPECT_EQ(p.hp, 150 - 40 - drain);
        EXPECT_EQ(p.mana, 50 - std::min(50, drain));
        EXPECT_EQ(w.host.posted, (std::vector<std::string>{"You're paralyzed!"}));
        // A second curse raises the duration of the one there.
        p.ApplyHit(hit);
        EXPECT_EQ(p.effects[kListCurse].size(), 1u);
    }
}

TEST(PlayerAttack, RangeWithoutAndWithWeapons) {
    PlayerWorld w;
    CPlayer& p = w.player;
    int low = 0, high = 0;
    p.ComputeAttack(low, high, false);
    EXPECT_EQ(low, 15 / 16 + 15 / 16);
    EXPECT_EQ(high, 15 / 8 + 15 / 8);

    CItemInstance* sword = w.Give("base_weap_shortswordcheap");
    p.EquipItem(sword, false);
    u32 lo = 0, hi = 0;
    ComputeWeaponDamageRange(*sword->type, sword->count, false, p, lo, hi);
    p.ComputeAttack(low, high, false);
    EXPECT_EQ(low, static_cast<int>(lo) + 1 + 1);
    EXPECT_EQ(high, static_cast<int>(hi) + 1 + 1);
    u16 condition = sword->count;
    p.ComputeAttack(low, high, true);
    EXPECT_LT(sword->count, condition) << "the blow wears the weapon";

    p.skillUse[2] = p.skillUse[3] = 0;
    int damage = p.RollDamage(1000);
    EXPECT_GE(damage, 0);
    EXPECT_LE(damage, 4) << "an armour beyond the blow leaves a graze at most";
    EXPECT_EQ(p.skillUse[2] + p.skillUse[3], 1) << "a blow at a creature practises the weapon skill";
}

TEST(PlayerSpells, SpellRowsCastAtThePlayer) {
    auto spellOf = [](std::vector<CEffect> effects) {
        auto spell = std::make_unique<CSpell>();
        for (CEffect& e : effects) spell->effects.Add(new CEffect(e));
        return spell;
    };
    {
        SCOPED_TRACE("damage and crush: gathered into one loss, resisted by the magic resistance");
        PlayerWorld w;
        w.player.hp = 150;
        auto spell = spellOf({PlayerFx(25, 20), PlayerFx(24, 10, 0, 1), PlayerFx(24, 10, 0, 3)});
        w.player.ApplySpell(*spell, 0, false, 7, false);
        int loss = (20 - 20 * 7 / 100) + (10 - 10 * 7 / 100);
        EXPECT_EQ(w.player.hp, 150 - loss);
        EXPECT_EQ(w.host.hits, (std::vector<std::pair<int, int>>{{loss, 7}}));
    }
    {
        SCOPED_TRACE("self cast: no resistance; level scaling");
        PlayerWorld w;
        CEffect fortify = PlayerFx(2, 4, 10, kStrength);
        fortify.amountPerLevel = 10;
        auto spell = spellOf({fortify, PlayerFx(11, 5, 3), PlayerFx(22, 150, 2),
                              PlayerFx(17, 30, 2, 0, "base_plague"), PlayerFx(20, 0, 5)});
        w.player.ApplySpell(*spell, 50, true, 0, false);
        EXPECT_EQ(w.player.GetAttributeValue(kStrength), 15 + 9);
        EXPECT_EQ(w.player.effects[kListFortifyAttribute][0].duration, 11);
        EXPECT_EQ(w.player.effects[kListFortifyAc][0].strength, 5);
        EXPECT_EQ(w.player.effects[kListResistMagic][0].strength, 200) << "coded: min(150, 100) + 100";
        EXPECT_EQ(w.player.effects[kListResistDisease][0].strength, 130);
        EXPECT_EQ(*w.player.effects[kListResistDisease][0].name, "base_plague");
        EXPECT_TRUE(w.player.effects[kListFeather].empty()) << "no strength, no entry";
    }
    {
        SCOPED_TRACE("fully resisted, and magic immunity keeps only dispel");
        PlayerWorld w;
        Resist(w.player, kListResistMagic, 200);
        auto spell = spellOf({PlayerFx(11, 5, 3), PlayerFx(27, 0, 4)});
        w.player.ApplySpell(*spell, 0, false, 0, false);
        EXPECT_TRUE(w.player.effects[kListFortifyAc].empty());
        EXPECT_FALSE(w.player.IsCursed());
        w.player.RemoveAllEffects();
        w.player.effects[kListMagicImmunity].push_back(
            {std::nullopt, nullptr, 0, 5, kListMagicImmunity, kFromSpell, 0});
        w.player.effects[kListCurse].push_back({std::nullopt, nullptr, 0, 5, kListCurse, kFromSpell, 0});
        w.player.hp = 50;
        auto harm = spellOf({PlayerFx(25, 20), PlayerFx(19, 0)});
        w.player.ApplySpell(*harm, 0, false, 0, false);
        EXPECT_EQ(w.player.hp, 50);
        EXPECT_FALSE(w.player.IsCursed()) << "dispel still works";
    }
    {
        SCOPED_TRACE("undead healing hurts, unholy healing heals");
        PlayerWorld w;
        w.player.race = 1;
        w.player.hp = 40;
        auto spell = spellOf({PlayerFx(3, 10), PlayerFx(6, 5)});
        w.player.ApplySpell(*spell, 0, true, 0, false);
        EXPECT_EQ(w.player.hp, 40 + 5 - 10);
    }
    {
        SCOPED_TRACE("events, calm, food and area-only");
        PlayerWorld w;
        auto spell =
            spellOf({PlayerFx(46, 0), PlayerFx(49, 0), PlayerFx(50, 0), PlayerFx(41, 0), PlayerFx(52, 0)});
        w.player.ApplySpell(*spell, 60, true, 0, false);
        EXPECT_EQ(w.host.spellEvents, (std::vector<std::pair<int, int>>{{14, 0}, {17, 0}, {18, 60}}));
        EXPECT_EQ(w.host.calmRadius, 6);
        EXPECT_EQ(w.player.items.size(), 2u);
        w.player.hp = 50;
        auto area = spellOf({PlayerFx(25, 20)});
        w.player.ApplySpell(*area, 0, true, 0, true);
        EXPECT_EQ(w.player.hp, 50) << "an effect without radius skips the neighbouring cells";
    }
}

}  // namespace
