#include <gtest/gtest.h>

#include <set>
#include <string>

#include "data/ItemType.h"
#include "data/Spells.h"
#include "tests/world/CreatureFixture.h"
#include "world/Directions.h"

namespace {

CEffect* NewFx(int kind, int amount, int mode, const char* id = nullptr, int target = 0) {
    auto* e = new CEffect(PlayerFx(kind, amount, 0, target, id));
    e->mode = static_cast<u8>(mode);
    return e;
}

class CreaturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(w.built.Loaded());
        ASSERT_NE(w.cellar, nullptr);
        w.FillEmpty();
    }
    // A hand-made type: damage 10..20, max hp 100, resistances A and B as given.
    void SetUpType(CMonsterType& t, int resA, int resB, u8 kind = 1) {
        t.creatureKind = w.Type("base_rat_small")->creatureKind;
        t.values[creature::kDamageMin] = 10;
        t.values[creature::kDamageMax] = 20;
        t.values[creature::kMaxHp] = 100;
        t.values[creature::kExperience] = 30;
        t.values[creature::kResistanceA] = static_cast<u16>(resA);
        t.values[creature::kResistanceB] = static_cast<u16>(resB);
        t.kind = kind;
        t.flags = 8;  // not hostile by default
    }
    CMonster& Place(CMonsterType& t, i32 x, i32 y, u8 flags = 0x02) {
        CMonster* m = w.cellar->CreateMonster(&t, x, y);
        m->flags = flags;
        w.window.PlaceObjectNear(w.cellar, *m, x, y);
        return *m;
    }
    int Event(int code, CMonster& m, int amount, const CSpell* spell = nullptr, int strength = 0) {
        CCreatureEvent e;
        e.amount = amount;
        e.spell = spell;
        e.strength = strength;
        creatures.HandleMonsterEvent(code, *w.cellar, m.id, e);
        return e.handled;
    }

    CreatureWorld w;
    CCreatures creatures{w.host};
};

TEST_F(CreaturesTest, ResistancesAddTheirSourcesAndStayWithinOneHundred) {
    const struct {
        int resA, resB, active15, passive15, active22, active16;
        int poison, magic, paralysis, disease, skill;
    } cases[] = {
        {10, 20, 0, 0, 0, 0, 10, 20, 40, 5, 40},
        {0, 0, 0, 0, 0, 0, 1, 1, 2, 0, 2},                // the base values are at least 1
        {90, 60, 30, 0, 50, 0, 100, 100, 100, 45, 100},   // clamped
        {10, 10, 5, 150, -40, -50, 65, -30, -30, 5, 20},  // a coded passive 150 counts 50
    };
    for (const auto& c : cases) {
        CMonsterType t;
        SetUpType(t, c.resA, c.resB);
        if (c.passive15) t.effects.Add(NewFx(15, c.passive15, kModeConstant));
        CMonster& m = Place(t, 20, 17);
        if (c.active15) w.cellar->effects.AddMonsterEffect(m.id, c.active15, 0, 15, 0, nullptr);
        if (c.active22) w.cellar->effects.AddMonsterEffect(m.id, c.active22, 0, 22, 0, nullptr);
        if (c.active16) w.cellar->effects.AddMonsterEffect(m.id, c.active16, 0, 16, 0, nullptr);
        EXPECT_EQ(creatures.GetPoisonResistance(*w.cellar, m), c.poison) << c.resA << "/" << c.resB;
        EXPECT_EQ(creatures.GetMagicResistance(*w.cellar, m), c.magic) << c.resA << "/" << c.resB;
        EXPECT_EQ(creatures.GetParalysisResistance(*w.cellar, m), c.paralysis) << c.resA << "/" << c.resB;
        EXPECT_EQ(creatures.GetDiseaseResistance(*w.cellar, m), c.disease) << c.resA << "/" << c.resB;
        EXPECT_EQ(creatures.GetSpellSkill(*w.cellar, m), c.skill) << c.resA << "/" << c.resB;
        w.window.RemoveCreatureFromCell(w.cellar, m);
        w.cellar->DeleteMonster(m.id);
    }
}

TEST_F(CreaturesTest, DamageRollFollowsKind38EntriesAndTheCurse) {
    const struct {
        int amount;  // 0: no kind-38 entry
        bool cursed;
        int low, high;
    } cases[] = {{0, false, 10, 20},
                 {150, false, 15, 30},
                 {-150, false, 5, 10},
                 {0, true, 10, 15},
                 {200, true, 20, 30}};
    for (const auto& c : cases) {
        CMonsterType t;
        SetUpType(t, 5, 5);
        if (c.amount) t.effects.Add(NewFx(38, c.amount, kModeConstant));
        CMonster& m = Place(t, 20, 17);
        if (c.cursed) w.cellar->effects.AddMonsterEffect(m.id, 1, 5, 27, 0, nullptr);
        int low = 1000, high = -1;
        for (int i = 0; i < 400; ++i) {
            int d = creatures.RollMonsterDamage(*w.cellar, m);
            low = std::min(low, d);
            high = std::max(high, d);
        }
        EXPECT_EQ(low, c.low) << c.amount << " " << c.cursed;
        EXPECT_EQ(high, c.high) << c.amount << " " << c.cursed;
        w.window.RemoveCreatureFromCell(w.cellar, m);
        w.cellar->DeleteMonster(m.id);
    }
}

TEST_F(CreaturesTest, AHitHurtsAngersAndShowsItsStrength) {
    const struct {
        int damage, strength;
    } cases[] = {{10, 50}, {3, 50}, {20, 70}, {35, 100}, {59, 100}, {60, 100}, {95, 100}};
    for (const auto& c : cases) {
        CMonsterType t;
        SetUpType(t, 5, 5);
        t.values[creature::kMaxHp] = 500;
        CMonster& m = Place(t, 20, 17, 0x02);
        ASSERT_FALSE(CCreatures::IsAggressive(m));
        EXPECT_TRUE(Event(creature::kEventHit, m, c.damage));
        EXPECT_TRUE(CCreatures::IsAggressive(m));
        EXPECT_EQ(m.hp, 500 - c.damage);
        EXPECT_EQ(m.flags & 0xE0, creature::kHurt);
        EXPECT_EQ(m.hurtTicks, 10);
        EXPECT_EQ(w.host.sprites[m.id].glowPercent, c.strength) << c.damage;
        w.window.RemoveCreatureFromCell(w.cellar, m);
        w.cellar->DeleteMonster(m.id);
    }
    EXPECT_TRUE(w.host.Played("bsnd_rathurt"));
}

TEST_F(CreaturesTest, PeopleAndPeacefulCreaturesAreNotHurtByBlows) {
    CMonster& merchant = w.Make("base_townsfolk_merchant", 20, 17, 0x02);
    const int hp = merchant.hp;
    for (int i = 0; i < 3; ++i) Event(creature::kEventHit, merchant, 30);
    EXPECT_EQ(merchant.hp, hp);
    EXPECT_EQ(w.player.crime, 15u);
    EXPECT_EQ(w.host.posted.at(0), "You've tried to attack peaceful people!");
    w.player.crime = 998;
    Event(creature::kEventHit, merchant, 30);
    EXPECT_EQ(w.player.crime, 1000u);

    // Bound to a map object and not aggressive: peaceful; weapons do nothing, a harmless spell goes on.
    CMonster& rat = w.Make("base_rat_small", 21, 17, 0x00);
    rat.objectId = 3;
    rat.hp = 4;
    w.host.posted.clear();
    Event(creature::kEventHit, rat, 30);
    EXPECT_EQ(rat.hp, 4);
    ASSERT_EQ(w.host.posted.size(), 1u);
    EXPECT_NE(w.host.posted[0].find("looks peaceful"), std::string::npos);
    const CSpell* heal = w.rules.spells->FindById("base_spellcurelightwounds");
    Event(creature::kEventSpell, rat, 0, heal, 0);
    EXPECT_EQ(rat.hp, 8);  // 10 less its magic resistance
    EXPECT_FALSE(CCreatures::IsAggressive(rat));
}

TEST_F(CreaturesTest, DeathLeavesABagWithTheLootAndGivesExperience) {
    CMonster& skeleton = w.Make("base_skeleton_warrior", 19, 17, 0x06);
    const u8 id = skeleton.id;
    const u32 xp = w.player.xp;
    CCreatureEvent e;
    creatures.HandleMonsterEvent(creature::kEventDeath, *w.cellar, id, e);
    EXPECT_TRUE(e.handled);
    EXPECT_EQ(w.Find(id), nullptr);
    EXPECT_EQ(w.window.Cell(19, 17)->creature[0], 0);
    EXPECT_EQ(w.player.xp, xp + 120);
    const CMapCell* cell = w.window.Cell(19, 17);
    ASSERT_NE(cell->bag, 0);
    const CItemBag* bag = w.cellar->bags.FindBagById(static_cast<u8>(cell->bag));
    ASSERT_NE(bag, nullptr);
    EXPECT_EQ(bag->x, 19);
    EXPECT_EQ(bag->y, 17);

    // A creature's missile kills without experience for the player; a person's own bag goes to the
    // cell's bag.
    CMonster& merchant = w.Make("base_townsfolk_merchant", 19, 17, 0x02);
    CItemBag* carried = w.cellar->bags.FindBagById(merchant.bagId);
    ASSERT_NE(carried, nullptr);
    carried->AddItem(CreateItemInstance(*w.rules.items->FindItemType("base_weap_dirkcheap"), -1, nullptr));
    const int before = bag->GetItemCount();
    CCreatureEvent byCreature;
    byCreature.byPlayer = false;
    creatures.HandleMonsterEvent(creature::kEventDeath, *w.cellar, merchant.id, byCreature);
    EXPECT_EQ(w.player.xp, xp + 120);
    EXPECT_EQ(bag->GetItemCount(), before + 1);
}

TEST_F(CreaturesTest, CommandsClampHpAndAnswerQueries) {
    CMonster& rat = w.Make("base_rat_small", 20, 17, 0x00);
    const u8 id = rat.id;
    auto run = [&](i32 command, const char* arg = "") {
        ScriptArgs args;
        args.a[0] = CScriptValue(arg);
        if (*arg && (std::isdigit(static_cast<unsigned char>(*arg)) || *arg == '-'))
            args.a[0] = CScriptValue(static_cast<i32>(std::stol(arg)));
        ScriptResult result;
        bool changed = false;
        creatures.ExecuteMonsterCommand(*w.cellar, id, command, args, result, changed);
        return result ? result->GetNumber() : -999;
    };
    run(178, "-5");
    EXPECT_EQ(run(177), 0);
    run(179, "500");
    EXPECT_EQ(run(177), 8);
    EXPECT_EQ(run(181), 8);
    EXPECT_EQ(run(175, ""), 0);
    run(173, "base_disease_plague");
    EXPECT_EQ(run(175, "base_disease_plague"), 1);
    run(174, "base_disease_plague");
    EXPECT_EQ(run(175, "base_disease_plague"), 0);
    EXPECT_EQ(run(214), 0);
    run(215);
    EXPECT_EQ(run(214), 1);
    run(216);
    EXPECT_EQ(run(214), 0);
    EXPECT_EQ(run(166), 20);
    EXPECT_EQ(run(167), 17);
    EXPECT_EQ(run(194), 0);
    EXPECT_EQ(run(210), 1);
    EXPECT_EQ(run(126), 0);
    EXPECT_EQ(run(199), 0);  // a command with no creature meaning gives 0
    ScriptResult none;
    bool changed = false;
    creatures.ExecuteMonsterCommand(*w.cellar, 200, 214, ScriptArgs{}, none, changed);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->GetNumber(), 1);  // "isaggressive" without a creature
}

// The state byte and the visible flag of the map object a creature is bound to, as its scripts read
// and set them; a creature made visible where it already stands is not placed a second time.
TEST_F(CreaturesTest, ABoundCreaturesObjectStateAndVisibility) {
    CPlacement* shelf = w.cellar->FindPlacement(5);
    ASSERT_NE(shelf, nullptr);
    CMonster& rat = w.Make("base_rat_small", 20, 17, 0x00);
    const u8 id = rat.id;
    auto run = [&](i32 command, i32 arg = 0) {
        ScriptArgs args;
        args.a[0] = CScriptValue(arg);
        ScriptResult result;
        bool changed = false;
        const i32 handled = creatures.ExecuteMonsterCommand(*w.cellar, id, command, args, result, changed);
        return std::pair(handled, result ? result->GetNumber() : -999);
    };
    auto standing = [&] {
        int n = 0;
        for (i32 y = 0; y < CCellWindow::kSize; ++y)
            for (i32 x = 0; x < CCellWindow::kSize; ++x)
                for (u16 c : w.window.Cell(x, y)->creature) n += c == id;
        return n;
    };
    // Without an object: 0, and setting changes nothing.
    EXPECT_EQ(run(115).second, 0);
    run(116, 9);
    EXPECT_EQ(run(115).second, 0);
    rat.objectId = 5;
    shelf->state = 0;
    EXPECT_EQ(run(115).second, 0);
    run(116, 7);
    EXPECT_EQ(shelf->state, 7);
    EXPECT_EQ(run(115).second, 7);
    run(116, -3);
    EXPECT_EQ(run(115).second, -3) << "the byte reads signed";
    // Visible again where it stands: still one creature in one cell.
    ASSERT_EQ(standing(), 1);
    EXPECT_EQ(run(110).first, 1);
    EXPECT_EQ(standing(), 1);
    EXPECT_TRUE(shelf->flags & CPlacement::kVisible);
    // Hidden, it leaves its cell; visible, it comes back once.
    EXPECT_EQ(run(111).first, 1);
    EXPECT_EQ(standing(), 0);
    run(110);
    EXPECT_EQ(standing(), 1);
    EXPECT_EQ(w.window.Cell(20, 17)->creature[0], id);
}

TEST_F(CreaturesTest, AMeleeAttackHurtsThePlayerAndCanKill) {
    CMonster& skeleton = w.Make("base_skeleton_warrior", 17, 16, 0x06);
    w.player.hp = 200;
    for (int i = 0; i < 20; ++i) creatures.CreatureAttack(*w.cellar, skeleton.id, false);
    EXPECT_LT(w.player.hp, 200);
    w.player.hp = 1;
    for (int i = 0; i < 50 && w.player.hp > 0; ++i) creatures.CreatureAttack(*w.cellar, skeleton.id, false);
    EXPECT_EQ(w.player.hp, 0);
    EXPECT_GE(w.host.deaths, 1);
}

TEST_F(CreaturesTest, SpellChoiceFollowsRangeAndScoresWithTheSeededGenerator) {
    CMonsterType t;
    SetUpType(t, 5, 5);
    t.attackStyle = 3;
    t.effects.Add(NewFx(0, 0, kModeCast, "base_spellburninghand"));  // touch
    t.effects.Add(NewFx(0, 0, kModeCast, "base_spellcurse"));        // other: R(53) + 26
    t.effects.Add(NewFx(0, 0, kModeCast, "base_spellfireball"));     // other, with a radius
    EXPECT_TRUE(creatures.MonsterHasAreaSpell(t));
    const u8 farId = Place(t, 17, 13).id, offId = Place(t, 19, 13).id, nearId = Place(t, 18, 17).id;
    // (The section keeps its creatures by value: references are taken once all are made.)
    const CMonster& far = *w.Find(farId);
    const CMonster& off = *w.Find(offId);
    const CMonster& near = *w.Find(nearId);
    // Off the player's row and column only the area flag lets "other" spells count, and then only
    // those with a radius.
    EXPECT_EQ(creatures.ChooseMonsterSpell(*w.cellar, off, false), nullptr);
    const CSpell* area = creatures.ChooseMonsterSpell(*w.cellar, off, true);
    ASSERT_NE(area, nullptr);
    EXPECT_STREQ(area->GetName(), "base_spellfireball");
    // Far on the column: curse and fireball draw the same way; the higher wins, the first on ties.
    int chosen[2] = {};
    for (int i = 0; i < 200; ++i) {
        const CSpell* s = creatures.ChooseMonsterSpell(*w.cellar, far, false);
        ASSERT_NE(s, nullptr);
        EXPECT_STRNE(s->GetName(), "base_spellburninghand");
        ++chosen[std::string(s->GetName()) == "base_spellcurse" ? 0 : 1];
    }
    EXPECT_GT(chosen[0], 80);
    EXPECT_GT(chosen[1], 80);
    // Adjacent on the row: the touch spell takes part.
    bool touch = false;
    for (int i = 0; i < 100; ++i)
        touch |= std::string(creatures.ChooseMonsterSpell(*w.cellar, near, false)->GetName()) ==
                 "base_spellburninghand";
    EXPECT_TRUE(touch);
}

TEST_F(CreaturesTest, TheSameSeedDrawsTheSameSpellsAndBlows) {
    auto run = [](i64 seed) {
        CreatureWorld world(seed);
        world.FillEmpty();
        CCreatures c(world.host);
        CMonster& skeleton = world.Make("base_skeleton_warrior", 17, 14, 0x06);
        std::string log;
        for (int i = 0; i < 30; ++i)
            log += std::to_string(c.RollMonsterDamage(*world.cellar, skeleton)) + ",";
        return log;
    };
    EXPECT_EQ(run(7), run(7));
    EXPECT_NE(run(7), run(8));
}

TEST_F(CreaturesTest, UsingAPersonTalksOrOffersTheStealFromBehind) {
    CMonster& merchant = w.Make("base_townsfolk_merchant", 17, 16, 0x02);
    // The player looks north (quarter 0); a person facing north has its back to the player.
    creature::SetFacing(merchant, 0);
    CCreatureEvent e;
    creatures.HandleMonsterEvent(creature::kEventUse, *w.cellar, merchant.id, e);
    EXPECT_EQ(w.host.stealPrompts.size(), 1u);
    EXPECT_TRUE(w.host.talks.empty());
    creature::SetFacing(merchant, 2);
    creatures.HandleMonsterEvent(creature::kEventUse, *w.cellar, merchant.id, e);
    EXPECT_EQ(w.host.talks.size(), 1u);
}

TEST_F(CreaturesTest, HarmfulSpellsHurtPoisonAndCanKillOutright) {
    CMonsterType t;
    SetUpType(t, 0, 0);
    CMonster& m = Place(t, 17, 13, 0x06);
    const CSpell* bolt = w.rules.spells->FindById("base_spelllightningbolt");
    Event(creature::kEventSpell, m, 15, bolt, 0);
    EXPECT_EQ(m.hp, 85);
    EXPECT_NE(m.flags & creature::kHurt, 0);
    const CSpell* poison = w.rules.spells->FindById("base_spellpoisontouch");
    Event(creature::kEventSpell, m, 0, poison, 0);
    EXPECT_TRUE(CCreatures::HasEffect(*w.cellar, m, 26));
    const CSpell* curse = w.rules.spells->FindById("base_spellcurse");
    Event(creature::kEventSpell, m, 0, curse, 0);
    EXPECT_TRUE(CCreatures::HasEffect(*w.cellar, m, 27));
}

TEST(CreatureFrames, PlainCreaturesAnimateByStateAndPeopleBySide) {
    CCreatureKind kind;
    const char* names[10] = {"f0", "f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8", "f9"};
    for (int i = 0; i < 10; ++i) {
        kind.frames[i] = names[i];
        kind.frameIndices[i] = static_cast<u16>(100 + i);
    }
    CMonsterType type;
    type.creatureKind = &kind;
    CMonster m;
    m.type = &type;
    CCellObject sprite;
    // Moving: steps 1, 2, 3, 0 show frames 0, 2, 2, 0.
    m.flags = creature::kMoving;
    const u16 moving[] = {100, 102, 102, 100};
    for (u16 expected : moving) {
        CCreatures::ChooseMonsterPicture(m, 0, sprite);
        EXPECT_EQ(sprite.picture, expected);
    }
    // Without a frame 2 the step shows frame 0 mirrored.
    kind.frames[2] = nullptr;
    CCreatures::ChooseMonsterPicture(m, 0, sprite);  // step 1
    CCreatures::ChooseMonsterPicture(m, 0, sprite);  // step 2
    EXPECT_EQ(sprite.picture, 100);
    EXPECT_EQ(sprite.flags & creature::kSpriteMirrored, creature::kSpriteMirrored);
    kind.frames[2] = names[2];
    const struct {
        u8 flags, ticks;
        u16 picture;
    } states[] = {{creature::kAttacking, 4, 103}, {creature::kStriking, 3, 104}, {creature::kHurt, 9, 105}};
    for (const auto& s : states) {
        m.flags = s.flags;
        m.hurtTicks = s.ticks;
        CCreatures::ChooseMonsterPicture(m, 0, sprite);
        EXPECT_EQ(sprite.picture, s.picture) << int(s.flags);
    }
    // People: the side seen from the player; side 3 is side 1 mirrored.
    kind.kind = kCreaturePeople;
    type.kind = kCreaturePeople;
    m.flags = 0;
    sprite.flags = 0;
    const struct {
        int facing;
        u32 angle;
        u16 picture;
        bool mirrored;
    } people[] = {
        {0, 0, 100, false}, {2, 0, 106, false}, {1, 0, 103, false}, {3, 0, 103, true}, {1, 90, 100, false}};
    for (const auto& p : people) {
        creature::SetFacing(m, p.facing);
        CCreatures::ChooseMonsterPicture(m, p.angle, sprite);
        EXPECT_EQ(sprite.picture, p.picture) << p.facing << " " << p.angle;
        EXPECT_EQ((sprite.flags & creature::kSpriteMirrored) != 0, p.mirrored) << p.facing << " " << p.angle;
    }
}

TEST(CreatureDirections, TheTwoNumberingsNameTheSameSides) {
    // Table directions 0 north, 1 east, 2 south, 3 west; facing quarters 0 north, 1 west, 2 south, 3 east.
    const struct {
        i32 table, quarter;
        u32 facing;
    } cases[] = {{0, 0, 0}, {1, 3, 270}, {2, 2, 180}, {3, 1, 90}};
    for (const auto& c : cases) {
        EXPECT_EQ(dir::TableToQuarter(c.table), c.quarter);
        EXPECT_EQ(dir::QuarterToTable(c.quarter), c.table);
        EXPECT_EQ(dir::TableOfFacing(c.facing), c.table);
        EXPECT_EQ(dir::QuarterOfFacing(c.facing), c.quarter);
    }
    EXPECT_EQ(dir::TableTowards(5, 5, 8, 2), 1);  // along x first
    EXPECT_EQ(dir::TableTowards(5, 5, 5, 2), 0);
    EXPECT_EQ(dir::kStepX[1], 1);
    EXPECT_EQ(dir::kStepY[0], -1);
}

TEST_F(CreaturesTest, IdleSoundsAndTheScriptEnginesViewOfACreature) {
    // A plain creature sounds its kind's fourth sound; people one of theirs at random.
    creatures.PlayMonsterIdleSound(*w.Type("base_rat_small"));
    ASSERT_EQ(w.host.sounds.size(), 1u);
    EXPECT_EQ(w.host.sounds[0].first, "bsnd_ratattack");
    std::set<std::string> heard;
    for (int i = 0; i < 60; ++i) {
        w.host.sounds.clear();
        creatures.PlayMonsterIdleSound(*w.Type("base_townsfolk_merchant"));
        ASSERT_EQ(w.host.sounds.size(), 1u);
        heard.insert(w.host.sounds[0].first);
    }
    EXPECT_EQ(heard.size(), 4u);

    CMonster& rat = w.Make("base_rat_small", 20, 17, 0x06);
    const u8 id = rat.id;
    w.cellar->effects.AddMonsterEffect(id, 4, 0, 26, 0, nullptr);
    w.cellar->effects.InfectMonster(id, "base_disease_plague");
    CScriptCreature view(creatures, *w.cellar, id);
    EXPECT_STREQ(view.GetName(), "base_rat_small");
    EXPECT_STREQ(view.GetKindId(), "base_rat");
    EXPECT_TRUE(view.IsAggressive());
    EXPECT_FALSE(view.IsParalyzed());
    EXPECT_TRUE(view.HasAnyDisease());
    EXPECT_EQ(view.GetPoisonStrength(), 4);
    ScriptResult result;
    bool changed = false;
    view.ExecuteMonsterCommand(ScriptPlace{}, 177, ScriptArgs{}, result, changed);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->GetNumber(), 8);
}

TEST_F(CreaturesTest, ABoundCreaturesEventsGoThroughItsObjectsScriptFirst) {
    w.host.scriptCreatures = &creatures;
    CMonster& free = w.Make("base_rat_small", 20, 17, 0x06);
    const u8 freeId = free.id;
    CCreatureEvent hit;
    hit.amount = 3;
    creatures.RaiseEvent(creature::kEventHit, *w.cellar, freeId, hit);
    EXPECT_TRUE(w.host.scriptEvents.empty());
    EXPECT_EQ(w.Find(freeId)->hp, 5);
    CMonster& bound = w.Make("base_rat_small", 21, 17, 0x06);
    bound.objectId = 5;
    const u8 boundId = bound.id;
    // A script that does not call "default": the creature is untouched.
    creatures.RaiseEvent(creature::kEventHit, *w.cellar, boundId, hit);
    EXPECT_EQ(w.host.scriptEvents, std::vector<int>{creature::kEventHit});
    EXPECT_EQ(w.Find(boundId)->hp, 8);
    // With "default" the hit lands.
    w.host.scriptDefault = true;
    creatures.RaiseEvent(creature::kEventHit, *w.cellar, boundId, hit);
    EXPECT_EQ(w.Find(boundId)->hp, 5);
}

TEST_F(CreaturesTest, WithNoBagIdLeftADyingCreatureDropsItsOwnBag) {
    CMonster& merchant = w.Make("base_townsfolk_merchant", 19, 17, 0x02);
    const u8 id = merchant.id;
    const u8 own = merchant.bagId;
    w.cellar->bags.FindBagById(own)->AddItem(
        CreateItemInstance(*w.rules.items->FindItemType("base_weap_dirkcheap"), -1, nullptr));
    while (w.cellar->bags.CreateBag(0)) {
    }
    CCreatureEvent death;
    creatures.HandleMonsterEvent(creature::kEventDeath, *w.cellar, id, death);
    EXPECT_EQ(w.Find(id), nullptr);
    EXPECT_EQ(w.window.Cell(19, 17)->bag, own);
    ASSERT_NE(w.cellar->bags.FindBagById(own), nullptr);
    EXPECT_EQ(w.cellar->bags.FindBagById(own)->GetItemCount(), 1);
}

}  // namespace
