#include <gtest/gtest.h>

#include <set>
#include <string>

#include "data/ItemType.h"
#include "data/Spells.h"
#include "tests/world/CreatureFixture.h"
#include "world/CombatActions.h"
#include "world/Directions.h"
#include "world/NearCreatures.h"

namespace {

class CombatTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(w.built.Loaded());
        w.FillEmpty();
        near.SetActions(&actions);
        w.player.hp = 500;
    }
    CMonster& Make(const char* type, i32 x, i32 y, u8 flags = 0x06) { return w.Make(type, x, y, flags); }
    CItemInstance* Equip(const char* id, bool second = false) {
        CItemInstance* item = w.player.AddItemCopies(1, *w.rules.items->FindItemType(id));
        w.player.EquipItem(item, second);
        return item;
    }
    // One tick of the view: actions, creatures, and every other tick the 50 ms animation.
    void Tick() {
        w.clock.Advance(25);
        actions.Run();
        near.Run();
        if (++ticks % 2 == 0) near.AnimateNearby();
        if (near.Count() == 0) near.Scan();
    }
    std::string Dump() {
        std::string s;
        for (int i = 0; i < near.Count(); ++i)
            s += std::to_string(near.At(i).id) + ":" + std::to_string(near.At(i).state) + " ";
        return s;
    }

    CreatureWorld w;
    CCreatures creatures{w.host};
    CCombatActions actions{w.host, creatures};
    CNearCreatures near{w.host, creatures};
    int ticks = 0;
};

TEST_F(CombatTest, TheScanTakesHostileAndIdleCreaturesWithinSevenCellsButNoPeople) {
    const u8 inside = Make("base_rat_small", 24, 17).id;
    const u8 corner = Make("base_rat_small", 10, 10).id;
    Make("base_rat_small", 25, 17);  // 8 cells away
    Make("base_townsfolk_merchant", 18, 18, 0x02);
    near.Scan();
    ASSERT_EQ(near.Count(), 2);
    std::set<u8> ids{near.At(0).id, near.At(1).id};
    EXPECT_EQ(ids, (std::set<u8>{inside, corner}));
    // A second scan waits while the list is not empty.
    near.Scan();
    EXPECT_TRUE(near.pending);
    EXPECT_EQ(near.Count(), 2);
}

TEST_F(CombatTest, DecisionsFollowPlaceStyleAndHealth) {
    struct Case {
        const char* type;
        i32 x, y;
        u8 flags;
        int style;
        u8 state;
    };
    // The player stands at 17, 17 in open floor.
    const Case cases[] = {
        {"base_rat_small", 20, 19, 0x06, 1, kNearApproach},     // off the lines, melee
        {"base_rat_small", 20, 19, 0x06, 2, kNearToLine},       // off the lines, missile
        {"base_rat_small", 17, 14, 0x06, 1, kNearToLine},       // on the column, melee
        {"base_rat_small", 17, 14, 0x06, 2, kNearAttackClose},  // on the column, missile: shoots
        {"base_rat_small", 17, 14, 0x06, 3, kNearAttackFar},    // caster
        {"base_rat_small", 18, 17, 0x06, 1, kNearAttackClose},  // adjacent melee
        {"base_rat_small", 18, 17, 0x00, 1, kNearIdle},         // not hostile
        // A melee creature in each octant three cells out: on a line it closes in along it, off
        // the lines it approaches.
        {"base_rat_small", 17, 14, 0x06, 1, kNearToLine},
        {"base_rat_small", 20, 14, 0x06, 1, kNearApproach},
        {"base_rat_small", 20, 17, 0x06, 1, kNearToLine},
        {"base_rat_small", 20, 20, 0x06, 1, kNearApproach},
        {"base_rat_small", 17, 20, 0x06, 1, kNearToLine},
        {"base_rat_small", 14, 20, 0x06, 1, kNearApproach},
        {"base_rat_small", 14, 17, 0x06, 1, kNearToLine},
        {"base_rat_small", 14, 14, 0x06, 1, kNearApproach},
    };
    for (const Case& c : cases) {
        w.FillEmpty();
        CMonsterType& type = const_cast<CMonsterType&>(*w.Type(c.type));
        const u8 savedStyle = type.attackStyle;
        type.attackStyle = static_cast<u8>(c.style);
        Make(c.type, c.x, c.y, c.flags);
        near.Clear();
        near.Scan();
        ASSERT_EQ(near.Count(), 1);
        EXPECT_EQ(near.At(0).state, c.state) << c.x << "," << c.y << " style " << c.style;
        type.attackStyle = savedStyle;
    }
}

TEST_F(CombatTest, AWeakAdjacentCreatureFleesAboutFourInTenAndAMissileCreatureStepsBack) {
    CMonsterType& rat = const_cast<CMonsterType&>(*w.Type("base_rat_small"));
    const u8 style = rat.attackStyle;
    auto count = [&](int attackStyle, int hp) {
        rat.attackStyle = static_cast<u8>(attackStyle);
        int fled = 0;
        for (int i = 0; i < 200; ++i) {
            w.FillEmpty();
            CMonster& m = Make("base_rat_small", 17, 18);
            m.hp = static_cast<u16>(hp);
            near.Clear();
            near.Scan();
            if (near.Count() == 1 && near.At(0).state == kNearFlee) ++fled;
        }
        return fled;
    };
    const int weakMelee = count(1, 2);  // 2 of 8 hp: 25 percent
    const int healthyMelee = count(1, 8);
    const int healthyMissile = count(2, 8);
    rat.attackStyle = style;
    EXPECT_GT(weakMelee, 50);
    EXPECT_LT(weakMelee, 110);
    EXPECT_EQ(healthyMelee, 0);
    EXPECT_GT(healthyMissile, 35);
    EXPECT_LT(healthyMissile, 85);
}

TEST_F(CombatTest, EachOctantTriesItsFirstMove) {
    // From the player at 17, 17: a creature in each octant, approaching, steps by the table's first
    // move (the flag does not change the first move on the lines, and off them the longer axis
    // decides).
    const struct {
        i32 x, y, toX, toY;
    } cases[] = {{17, 13, 17, 14}, {20, 15, 19, 15}, {21, 17, 20, 17}, {20, 19, 19, 19},
                 {17, 21, 17, 20}, {14, 19, 15, 19}, {13, 17, 14, 17}, {14, 15, 15, 15}};
    for (const auto& c : cases) {
        w.FillEmpty();
        Make("base_rat_small", c.x, c.y);
        near.Clear();
        near.Scan();
        ASSERT_EQ(near.Count(), 1);
        CNearEntry& e = near.At(0);
        e.state = kNearApproach;
        near.PlanStep(e, 17, 17);
        EXPECT_EQ(std::pair(int(e.toX), int(e.toY)), std::pair(c.toX, c.toY)) << c.x << "," << c.y;
        EXPECT_EQ(e.state, kNearApproach);
    }
}

TEST_F(CombatTest, ClaimedCellsKeepTwoCreaturesOutOfOne) {
    // One rat stands in 17, 14; another heads for it; a third cannot plan a step there.
    Make("base_rat_small", 17, 14);
    Make("base_rat_small", 16, 13);
    Make("base_rat_small", 17, 12);
    near.Scan();
    ASSERT_EQ(near.Count(), 3);
    CNearEntry* heading = nullptr;
    CNearEntry* third = nullptr;
    for (int i = 0; i < near.Count(); ++i) {
        CNearEntry& e = near.At(i);
        if (e.x == 16) heading = &e;
        if (e.y == 12) third = &e;
        if (e.y == 14) {  // busy where it stands
            e.state = kNearBusy;
            e.toX = e.x;
            e.toY = e.y;
        }
    }
    ASSERT_TRUE(heading && third);
    heading->state = kNearApproach;
    heading->toX = 17;
    heading->toY = 14;
    int slot = -1;
    EXPECT_TRUE(near.IsCellClaimed(17, 14, third, slot));
    third->state = kNearApproach;
    near.PlanStep(*third, 17, 17);
    EXPECT_FALSE(third->toX == 17 && third->toY == 14);
    // Without the one heading there the cell has a free second slot.
    heading->state = kNearIdle;
    EXPECT_FALSE(near.IsCellClaimed(17, 14, third, slot));
    EXPECT_EQ(slot, 1);
}

TEST_F(CombatTest, AHostileCreatureApproachesAndAttacksWithinBoundedTicks) {
    const u8 id = Make("base_skeleton_warrior", 17, 12).id;
    near.Scan();
    int tick = 0;
    for (; tick < 400 && w.player.hp == 500; ++tick) Tick();
    EXPECT_LT(w.player.hp, 500) << Dump();
    EXPECT_LT(tick, 400);
    const CMonster* m = w.Find(id);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(std::abs(m->x - 17) + std::abs(m->y - 17), 1);
    // It never left the cellar's cells nor stood on the player's.
    EXPECT_EQ(w.window.Cell(17, 17)->creature[0], 0);
}

// When the list has run empty the view is rebuilt only if a creature of it stepped or struck: a list
// that only went idle (a calm creature) changed nothing, and a rebuild would restart the view's
// animated ground for nothing each time the creatures look.
TEST_F(CombatTest, OnlyAListThatSteppedOrStruckHasTheViewRebuilt) {
    struct Case {
        const char* what;
        i32 x, y;
        u8 flags;
        bool rebuilt;
    } cases[] = {
        {"calm", 17, 16, 0x00, false},
        {"hostile beside the player: a blow", 17, 16, 0x06, true},
        {"hostile three cells off: a step", 17, 14, 0x06, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        w.FillEmpty();
        Make("base_skeleton_warrior", c.x, c.y, c.flags);
        near.Scan();
        ASSERT_EQ(near.Count(), 1);
        const int before = w.host.refreshes;
        for (int i = 0; i < 100 && near.Count() > 0; ++i) {
            w.clock.Advance(25);
            near.Run();
            if (i % 2 == 1) near.AnimateNearby();
        }
        EXPECT_EQ(near.Count(), 0);
        EXPECT_EQ(w.host.refreshes - before, c.rebuilt ? 1 : 0);
    }
}

// A creature that walks into a cell sounds the ground there, once per cell.
TEST_F(CombatTest, ACreatureSteppingIntoACellSoundsItsGround) {
    CMonsterType& rat = const_cast<CMonsterType&>(*w.Type("base_rat_small"));
    const u8 style = rat.attackStyle;
    rat.attackStyle = 1;
    const u8 id = Make("base_rat_small", 20, 17, 0x06).id;
    for (int i = 0; i < 400 && w.Find(id)->x == 20; ++i) Tick();
    rat.attackStyle = style;
    ASSERT_EQ(w.Find(id)->x, 19) << "the rat came a cell nearer";
    ASSERT_EQ(w.host.groundSteps.size(), 1u);
    EXPECT_EQ(w.host.groundSteps[0], std::pair(19, 17));
}

TEST_F(CombatTest, TheBlowFallsOnTheTimedStepAndKills) {
    const u8 id = Make("base_rat_small", 17, 16).id;
    w.player.attributes[kStrength] = 90;
    w.player.attributes[kDexterity] = 90;
    actions.StartAttack();
    ASSERT_EQ(actions.Count(), 1);
    const CCombatAction* blow = actions.At(0);
    ASSERT_FALSE(blow->alternate);  // the fist's record never swings frame by frame
    // Steps come every 40 ms: nothing between.
    for (int step = 0; step < 5; ++step) {
        actions.Run();
        EXPECT_EQ(blow->frame, step + 1);
        w.clock.Advance(39);
        actions.Run();
        EXPECT_EQ(blow->frame, step + 1);
        w.clock.Advance(1);
    }
    EXPECT_FALSE(blow->blowDone);
    actions.Run();  // frame 5: the plain swing lands
    const CMonster* m = w.Find(id);
    EXPECT_TRUE(m == nullptr || m->hp < 8);
    for (int i = 0; i < 10; ++i, w.clock.Advance(40)) actions.Run();
    EXPECT_EQ(actions.Count(), 0);
}

TEST_F(CombatTest, TheStepsOfEachActionKeepTheirPeriods) {
    const struct {
        u8 kind;
        u32 period;
    } cases[] = {{kActionPlayerHit, 50},
                 {kActionParalysedBump, 40},
                 {kActionGuard, 50},
                 {kActionSpellSelf, 100},
                 {kActionCast, 50}};
    for (const auto& c : cases) {
        actions.Clear();
        if (c.kind == kActionPlayerHit) actions.ShowPlayerHit(0, false);
        if (c.kind == kActionGuard) actions.StartWeaponChange(0, 0);
        if (c.kind == kActionSpellSelf)
            actions.ReleasePlayerSpell(*w.rules.spells->FindById("base_spellcurelightwounds"), 50);
        if (c.kind == kActionCast) actions.StartCasting(w.rules.spells->FindById("base_spellcurse"), nullptr);
        if (c.kind == kActionParalysedBump) {
            w.player.AddConditionEffect(28, kFromHit, nullptr, 1, 3, 0, nullptr);
            actions.StartAttack();
        }
        ASSERT_EQ(actions.Count(), 1);
        ASSERT_EQ(actions.At(0)->kind, c.kind);
        actions.Run();
        const u32 first = actions.At(0)->lastStep;
        EXPECT_EQ(first, w.clock.TickCount());
        w.clock.Advance(c.period - 1);
        actions.Run();
        EXPECT_EQ(actions.At(0)->lastStep, first) << int(c.kind);
        w.clock.Advance(1);
        actions.Run();
        EXPECT_EQ(actions.At(0)->lastStep, first + c.period) << int(c.kind);
        w.player.RemoveEffectsOfKind(28);
    }
    // A bow's draw (the step that leaves frame 1) waits 120 ms.
    actions.Clear();
    Equip("base_weap_shortbowcheap");
    CItemInstance* quiver = Equip("base_quiver_cheap");
    w.player.equipment[12] = quiver;
    actions.StartAttack();
    ASSERT_EQ(actions.Count(), 1);
    actions.Run();
    EXPECT_EQ(actions.At(0)->frame, 1);
    w.clock.Advance(100);
    actions.Run();
    EXPECT_EQ(actions.At(0)->frame, 1);
    w.clock.Advance(20);
    actions.Run();
    EXPECT_EQ(actions.At(0)->frame, 2);
}

TEST_F(CombatTest, BowsNeedFittingAmmunition) {
    Equip("base_weap_shortbowcheap");
    w.player.equipment[12] = nullptr;
    actions.StartAttack();
    EXPECT_EQ(actions.Count(), 0);
    ASSERT_EQ(w.host.posted.size(), 1u);
    EXPECT_EQ(w.host.posted[0], "You need to select a quiver.");
    w.player.equipment[12] = Equip("base_weap_dirkcheap", true);
    actions.StartAttack();
    EXPECT_EQ(w.host.posted.back(), "You need to select arrows for the bow.");
    EXPECT_EQ(actions.Count(), 0);
}

TEST_F(CombatTest, AMissileFliesHalfACellEachStepAndEndsInTheEighthCell) {
    actions.LaunchPlayerMissile(0);  // north, along open floor from 17, 17
    ASSERT_EQ(actions.Count(), 1);
    int steps = 0;
    int lastCell = 17;
    while (actions.Count() > 0 && steps < 40) {
        actions.Run();
        if (actions.Count()) lastCell = actions.At(0)->cellY;
        w.clock.Advance(40);
        ++steps;
    }
    EXPECT_EQ(actions.Count(), 0);
    EXPECT_EQ(lastCell, 17 - 7);
    EXPECT_EQ(steps, 16);
}

TEST_F(CombatTest, AMissileAndASpellHurtTheCreatureTheyReach) {
    const u8 id = Make("base_skeleton_warrior", 17, 13).id;
    const int hp = w.Find(id)->hp;
    w.player.attributes[kDexterity] = 90;
    for (int i = 0; i < 6 && w.Find(id) && w.Find(id)->hp == hp; ++i) {
        actions.LaunchPlayerMissile(0);
        for (int s = 0; s < 20; ++s, w.clock.Advance(40)) actions.Run();
    }
    ASSERT_NE(w.Find(id), nullptr);
    EXPECT_LT(w.Find(id)->hp, hp);
    const int before = w.Find(id)->hp;
    const CSpell* bolt = w.rules.spells->FindById("base_spelllightningbolt");
    actions.ReleasePlayerSpell(*bolt, 100);
    for (int s = 0; s < 30; ++s, w.clock.Advance(40)) actions.Run();
    const CMonster* m = w.Find(id);
    EXPECT_TRUE(m == nullptr || m->hp < before);
    EXPECT_TRUE(w.host.Played("bsnd_spellcast0"));
}

TEST_F(CombatTest, AnAreaSpellReachesThePlayerBesideTheImpact) {
    const CSpell* fireball = w.rules.spells->FindById("base_spellfireball");
    const int hp = w.player.hp;
    actions.SpellImpact(*fireball, 100, 17, 16, false, false);
    EXPECT_LT(w.player.hp, hp);
}

TEST_F(CombatTest, SpellDamageCountsByKindAgainstTheUndead) {
    CMonster& skeleton = Make("base_skeleton_warrior", 20, 20);
    const CSpell* harm = w.rules.spells->FindById("base_spellharmundead");  // kind 24 on kind 3
    const CSpell* bolt = w.rules.spells->FindById("base_spelllightningbolt");
    const int r = creatures.GetMagicResistance(*w.cellar, skeleton);
    EXPECT_EQ(actions.SpellDamageAgainst(*harm, 0, *w.cellar, skeleton), 20 - 20 * r / 100);
    EXPECT_EQ(actions.SpellDamageAgainst(*bolt, 100, *w.cellar, skeleton), 35 - 35 * r / 100);
}

TEST_F(CombatTest, TheHandsBobWithTheStepsAndFollowTheEquipment) {
    actions.SetHandSprites();
    EXPECT_TRUE(actions.secondHand.shown);  // bare hands
    actions.weaponHand.x = 96;
    actions.weaponHand.y = 90;
    actions.secondHand.x = 100;
    actions.secondHand.y = 90;
    // First step: across positive, down positive; the second hand mirrors; horizontal capped at 95.
    actions.StartHandBob();
    const int across[8] = {1, 2, 3, 3, 4, 4, 5, 5}, down[8] = {1, 2, 3, 4, 4, 3, 2, 1};
    for (int t = 0; t < 8; ++t) {
        actions.HandBobTick();
        EXPECT_EQ(actions.weaponHand.x, 95 + across[t]);
        EXPECT_EQ(actions.weaponHand.y, 90 + down[t]);
        EXPECT_EQ(actions.secondHand.x, 95 - across[t]);
    }
    // Second step: across negated, down negated.
    actions.weaponHand.x = 96;
    actions.weaponHand.y = 90;
    actions.StartHandBob();
    actions.HandBobTick();
    EXPECT_EQ(actions.weaponHand.x, 95 - 1);
    EXPECT_EQ(actions.weaponHand.y, 90 - 1);
    // A second weapon (class 1) shows the second hand; a shield hides it.
    Equip("base_weap_dirkcheap", true);
    actions.SetHandSprites();
    EXPECT_TRUE(actions.secondHand.shown);
    w.player.UnequipItem(w.player.equipment[6]);
    Equip("base_shield_woodenround", true);
    ASSERT_NE(w.player.equipment[6], nullptr);
    actions.SetHandSprites();
    EXPECT_FALSE(actions.secondHand.shown);
}

TEST_F(CombatTest, AScanWaitsForAHurtCreatureNearbyAndTheLookAheadHolds) {
    const u8 id = Make("base_rat_small", 20, 17).id;
    w.Find(id)->hurtTicks = 5;  // its hurt display still runs
    near.Scan();
    EXPECT_EQ(near.Count(), 0);
    EXPECT_TRUE(near.pending);
    w.Find(id)->hurtTicks = 0;
    near.Scan();
    EXPECT_EQ(near.Count(), 1);
    EXPECT_FALSE(near.pending);
    // The look-ahead of a step, with nothing that attacks or stands beside the player: the list is
    // dropped and the hold flag stays until the next unforced scan.
    near.Clear();
    w.Find(id)->flags = 0x00;  // peaceful: idle
    near.Scan(true, 17, 16);
    EXPECT_TRUE(near.hold);
    EXPECT_EQ(near.Count(), 0);
    // With a hostile creature beside the cell entered the look-ahead keeps its list.
    w.Find(id)->flags = 0x06;
    near.Scan(true, 19, 17);
    EXPECT_FALSE(near.hold);
    EXPECT_EQ(near.Count(), 1);
}

TEST_F(CombatTest, MissingOrWrongAmmunitionNamesWhatIsNeeded) {
    const struct {
        const char* weapon;
        int weaponSubclass, quiverSubclass;  // 0: no quiver
        const char* message;
    } cases[] = {{"base_weap_shortbowcheap", 9, 0, "You need to select a quiver."},
                 {"base_weap_shortbowcheap", 9, 13, "You need to select arrows for the bow."},
                 {"base_weap_shortbowcheap", 12, 0, "You need to select a bolt quiver."},
                 {"base_weap_shortbowcheap", 12, 11, "You need to select a bolt quiver for the crossbow."}};
    for (const auto& c : cases) {
        CItemType weapon, quiver;
        weapon.itemClass = 1;
        weapon.subclass = static_cast<u8>(c.weaponSubclass);
        quiver.itemClass = 1;
        quiver.subclass = static_cast<u8>(c.quiverSubclass);
        CItemInstance weaponItem, quiverItem;
        weaponItem.type = &weapon;
        quiverItem.type = &quiver;
        quiverItem.count = 10;
        w.player.equipment[5] = &weaponItem;
        w.player.equipment[12] = c.quiverSubclass ? &quiverItem : nullptr;
        w.host.posted.clear();
        actions.StartAttack();
        EXPECT_EQ(actions.Count(), 0) << c.message;
        ASSERT_EQ(w.host.posted.size(), 1u);
        EXPECT_EQ(w.host.posted[0], c.message);
        w.player.equipment[5] = w.player.equipment[12] = nullptr;
    }
}

TEST_F(CombatTest, AMissedBlowSoundsTheMiss) {
    // A creature of high armour: the weakest fists cannot hurt it, and a blow of 0 plays the miss.
    CMonsterType hard;
    hard.creatureKind = w.Type("base_rat_small")->creatureKind;
    hard.values[creature::kArmourClass] = 500;
    hard.values[creature::kMaxHp] = 10;
    hard.flags = 12;
    CMonster* m = w.cellar->CreateMonster(&hard, 17, 16);
    w.window.PlaceObjectNear(w.cellar, *m, 17, 16);
    bool missed = false;
    for (int i = 0; i < 20 && !missed; ++i) {
        w.host.sounds.clear();
        actions.ResolveBlow(17, 16, 0);
        missed = w.host.Played("bsnd_hitmiss");
    }
    EXPECT_TRUE(missed);
}

TEST_F(CombatTest, ACreaturesMissileAndSpellReachThePlayer) {
    CMonsterType& rat = const_cast<CMonsterType&>(*w.Type("base_rat_small"));
    const u8 style = rat.attackStyle;
    rat.attackStyle = 2;
    const u8 archer = Make("base_rat_small", 17, 13).id;
    const int hp = w.player.hp;
    for (int i = 0; i < 20 && w.player.hp == hp; ++i) {
        creatures.CreatureAttack(*w.cellar, archer, false);
        for (int s = 0; s < 12; ++s, w.clock.Advance(40)) actions.Run();
    }
    rat.attackStyle = style;
    EXPECT_LT(w.player.hp, hp);
    // The mage of the cellar casts from the column.
    CMonster& mage = Make("base_skeleton_mage", 17, 14);
    const u8 mageId = mage.id;
    const int before = w.player.hp;
    for (int i = 0; i < 10 && w.player.hp == before; ++i) {
        creatures.CreatureAttack(*w.cellar, mageId, false);
        for (int s = 0; s < 20; ++s, w.clock.Advance(40)) actions.Run();
    }
    EXPECT_FALSE(actions.spellCastByPlayer);
    EXPECT_TRUE(w.player.hp < before || w.player.IsCursed());
}

TEST_F(CombatTest, AnAttackFromTheFrontRaisesTheShield) {
    Equip("base_shield_woodenround", true);
    ASSERT_NE(w.player.equipment[6], nullptr);
    Make("base_rat_small", 17, 16);  // in front of the player, who looks north
    near.Scan();
    ASSERT_EQ(near.Count(), 1);
    ASSERT_EQ(near.At(0).state, kNearAttackClose);
    near.Run();
    EXPECT_TRUE(actions.HasKind(kActionGuard));
    EXPECT_EQ(near.At(0).state, kNearBusy);
    EXPECT_EQ(near.attackCountdown, 5);  // set to 6, one walk done
}

TEST(CreatureHealth, AMaximumOfZeroReadsAsZeroPercent) {
    CMonsterType type;
    CMonster m;
    m.type = &type;
    m.hp = 5;
    EXPECT_EQ(CCreatures::HpPercent(m), 0);
    type.values[creature::kMaxHp] = 20;
    EXPECT_EQ(CCreatures::HpPercent(m), 25);
}

TEST_F(CombatTest, ACreatureCrossingIntoTheNextSurfacePieceMovesToItsList) {
    CMapSection* town = w.built.base->FindSectionAt(2, 2);
    CMapSection* east = w.built.base->FindSectionAt(3, 2);
    ASSERT_TRUE(town && east);
    w.host.px = 21;
    w.host.py = 17;
    w.window.SetPlayer(21, 17, 0);
    w.window.Fill(w.built.base.get(), town, w.built.refs, 100);
    // A wolf on the east piece's first column, which the window shows at x 28.
    CMonster* wolf = east->CreateMonster(w.Type("base_wolf_grey"), 0, 10);
    wolf->flags = 0x06;
    const u8 eastId = wolf->id;
    east->effects.AddMonsterEffect(eastId, 3, 0, 26, 0, nullptr);
    w.window.PlaceObjectNear(east, *wolf, 0, 10);
    ASSERT_EQ(w.window.Cell(28, 17)->creature[0], eastId);
    near.Scan();
    ASSERT_EQ(near.Count(), 1);
    CNearEntry& e = near.At(0);
    ASSERT_EQ(e.state, kNearToLine);  // on the row, a melee creature: closes in
    e.state = kNearApproach;
    e.toX = 27;
    e.toY = 17;
    for (int i = 0; i < 12 && near.Count() > 0; ++i) near.Run();
    EXPECT_EQ(east->FindMonster(eastId), nullptr);
    const u16 now = w.window.Cell(27, 17)->creature[0];
    ASSERT_NE(now, 0);
    const CMonster* moved = town->FindMonster(static_cast<u8>(now));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(std::pair(int(moved->x), int(moved->y)), std::pair(20, 10));
    EXPECT_EQ(town->effects.SumMonsterEffect(moved->id, 26), 3);  // its poison came along
    EXPECT_EQ(w.window.Cell(28, 17)->creature[0], 0);
}

TEST_F(CombatTest, ABowShotLeavesOnTheThirdFrameWithAnArrowOfTheQuiver) {
    Equip("base_weap_shortbowcheap");
    CItemInstance* quiver = Equip("base_quiver_cheap");
    w.player.equipment[12] = quiver;
    const u16 arrows = quiver->count;
    ASSERT_GT(arrows, 0);
    actions.StartAttack();
    ASSERT_EQ(actions.Count(), 1);
    // Frames 0 and 1, the draw of 120 ms, then frame 2 shoots.
    actions.Run();
    w.clock.Advance(120);
    actions.Run();
    EXPECT_FALSE(actions.HasKind(kActionMissile));
    w.clock.Advance(40);
    actions.Run();
    EXPECT_TRUE(actions.HasKind(kActionMissile));
    EXPECT_EQ(quiver->count, arrows - 1);
    int flights = 0;
    const CFpsAnimation* arrow = w.rules.items->FindFpsAnimation("bres_fpsarrow");
    ASSERT_NE(arrow, nullptr);
    actions.ForEachFlight([&](i32 x, i32 y, i32, i32, u16 picture, const char*) {
        ++flights;
        EXPECT_EQ(std::pair(x, y), std::pair(17, 17));
        EXPECT_EQ(picture, arrow->frameIndices.empty() ? 0 : arrow->frameIndices[0]);
    });
    EXPECT_EQ(flights, 1);
}

// Map objects whose index is their type code and which block, as a door does, while their placement
// is shut (bit 0x02) or when they have none.
class TypeIsIndexObjects : public ICellObjects {
public:
    bool IsBlocking(u16, const CPlacement* p) const override { return !p || (p->flags & CPlacement::kClosed); }
    u8 TypeCode(u16 index) const override { return static_cast<u8>(index); }
};

TEST_F(CombatTest, WhatStopsAMissileGoesByTheCentreObjectsTypeAndItsPlacement) {
    TypeIsIndexObjects objects;
    CPlacement& placement = w.cellar->placements.emplace_back();
    placement.id = 200;
    enum Place { kNone, kShut, kOpen, kHidden };
    const u8 flags[] = {0, CPlacement::kVisible | CPlacement::kClosed, CPlacement::kVisible, 0};
    const struct {
        u8 type;
        bool stops[4];  // without a placement, shut, open, hidden
    } cases[] = {
        {5, {true, true, true, false}},    {7, {true, true, false, false}},   {8, {true, true, false, false}},
        {20, {true, true, false, false}},  {22, {true, true, false, false}},  {26, {true, true, false, false}},
        {38, {true, true, false, false}},  {19, {true, true, true, false}},   {25, {true, true, true, false}},
        {32, {true, true, true, false}},   {33, {true, true, true, false}},   {35, {false, false, true, false}},
        {37, {false, false, false, false}}, {4, {false, false, false, false}}, {1, {false, false, false, false}},
    };
    w.window.SetObjects(&objects);
    CMapCell& cell = *w.window.Cell(17, 14);
    for (const auto& c : cases)
        for (int place : {kNone, kShut, kOpen, kHidden}) {
            cell.centre = c.type;
            cell.centreId = place == kNone ? 0 : 200;
            placement.flags = flags[place];
            EXPECT_EQ(!actions.IsPassableForProjectile(17, 14), c.stops[place]) << "type " << int(c.type)
                                                                               << " placement " << place;
        }
    // A creature stops it whatever stands there; so does a cell off the window.
    cell.centre = kNoCellIndex;
    EXPECT_TRUE(actions.IsPassableForProjectile(17, 14));
    Make("base_rat_small", 17, 14);
    EXPECT_FALSE(actions.IsPassableForProjectile(17, 14));
    EXPECT_FALSE(actions.IsPassableForProjectile(-1, 14));
    w.window.SetObjects(&w.objects);
}

// A creature that shoots sees the player only past what a missile passes: a shut door between them
// sends it to find another line, an open one lets it shoot.
TEST_F(CombatTest, AShutDoorHidesThePlayerFromACreatureThatShoots) {
    TypeIsIndexObjects objects;
    CPlacement& door = w.cellar->placements.emplace_back();
    door.id = 200;
    CMonsterType& rat = const_cast<CMonsterType&>(*w.Type("base_rat_small"));
    const u8 style = rat.attackStyle;
    rat.attackStyle = 2;
    for (const bool shut : {true, false}) {
        w.FillEmpty();
        w.window.SetObjects(&objects);
        for (i32 y = 13; y <= 16; ++y) w.window.Cell(17, y)->centre = kNoCellIndex;
        w.window.Cell(17, 15)->centre = 7;
        w.window.Cell(17, 15)->centreId = 200;
        door.flags = shut ? CPlacement::kVisible | CPlacement::kClosed : CPlacement::kVisible;
        Make("base_rat_small", 17, 14, 0x06);
        near.Clear();
        near.Scan();
        ASSERT_EQ(near.Count(), 1);
        EXPECT_EQ(near.At(0).state, shut ? kNearToLine : kNearAttackClose) << (shut ? "shut" : "open");
    }
    rat.attackStyle = style;
    w.window.SetObjects(&w.objects);
}

}  // namespace
