#include <gtest/gtest.h>

#include <string>

#include "data/Npc.h"
#include "data/Spells.h"
#include "tests/world/CreatureFixture.h"
#include "world/Fight.h"

namespace {

// The built cellar as it loads: its rat comes for the player, who fights it with bare fists.
class FightTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(w.built.Loaded());
        w.host.px = 26;
        w.host.py = 21;
        w.window.SetPlayer(26, 21, 0);
        w.window.Fill(w.built.base.get(), w.cellar, w.built.refs, 100);
        w.player.attributes[kStrength] = 60;
        w.player.attributes[kDexterity] = 60;
        fight.Enter();
    }
    // One 25 ms tick; the 50 ms animation every other one; the player strikes whatever stands in
    // front when the hands are free.
    void Tick(bool strike) {
        w.clock.Advance(25);
        fight.Tick();
        if (++ticks % 2 == 0) fight.Animate();
        const CMapCell* front = w.window.Cell(w.host.px, w.host.py - 1);
        if (strike && fight.actions.Count() == 0 && front->creature[0] != 0) fight.Attack();
        if (fight.near.Count() == 0) fight.near.Scan();
    }

    CreatureWorld w;
    CFight fight{w.host};
    int ticks = 0;
};

TEST_F(FightTest, TheCellarRatComesFightsAndDiesForExperience) {
    const u8 rat = 1;
    ASSERT_NE(w.Find(rat), nullptr);
    const u32 xp = w.player.xp;
    w.player.hp = 400;
    int tick = 0;
    for (; tick < 4000 && w.Find(rat); ++tick) Tick(true);
    EXPECT_EQ(w.Find(rat), nullptr) << "after " << tick << " ticks";
    RecordProperty("ticks", tick);
    EXPECT_EQ(w.player.xp, xp + w.Type("base_rat_small")->values[creature::kExperience]);
    EXPECT_GT(w.host.fightFlags, 0);
}

TEST_F(FightTest, APlayerWhoDoesNotFightBackDies) {
    // A skeleton warrior beside the rat; the player only waits.
    CMonster* skeleton = w.cellar->CreateMonster(w.Type("base_skeleton_warrior"), 25, 18);
    w.window.PlaceObjectNear(w.cellar, *skeleton, 25, 18);
    w.player.hp = 30;
    int tick = 0;
    for (; tick < 20000 && w.player.hp > 0; ++tick) Tick(false);
    RecordProperty("ticks", tick);
    EXPECT_EQ(w.player.hp, 0);
    EXPECT_GE(w.host.deaths, 1);
}

TEST_F(FightTest, TheBuiltCreaturesFightBackDropBagsAndThePeopleAreTalkPartners) {
    // The cellar: every creature hostile by its type; the wolf and the two restless bones carry loot.
    for (u8 id : {1, 3, 4, 5}) {
        const CMonster* m = w.Find(id);
        ASSERT_NE(m, nullptr) << int(id);
        EXPECT_TRUE(CCreatures::IsAggressive(*m)) << int(id);
    }
    for (u8 id : {3, 4, 5}) EXPECT_GT(w.Find(id)->Type()->items.GetCount(), 0) << int(id);
    // The crypt below: its mage casts, and knows spells of the world.
    CMapSection* crypt = w.built.base->FindSectionByName("base_crypt");
    ASSERT_NE(crypt, nullptr);
    const CMonsterType* mage = nullptr;
    for (const CMonster& m : crypt->monsters)
        if (std::string(m.Type()->GetName()) == "base_skeleton_mage") mage = m.Type();
    ASSERT_NE(mage, nullptr);
    EXPECT_EQ(mage->attackStyle, 4);  // casts from further off, strikes face to face
    ASSERT_GT(mage->effects.Count(), 0);
    for (int i = 0; i < mage->effects.Count(); ++i)
        EXPECT_NE(w.rules.spells->FindById(mage->effects.At(i)->id), nullptr) << mage->effects.At(i)->id;
    // The town: seven people (the card player and the enchanter among them), each the NPC of a talk
    // screen; only the shepherd walks.
    CMapSection* town = w.built.base->FindSectionAt(2, 2);
    ASSERT_NE(town, nullptr);
    int people = 0, walkers = 0;
    for (const CMonster& m : town->monsters) {
        if (!CCreatures::IsPerson(m)) continue;
        ++people;
        EXPECT_NE(w.built.lists.npcs.FindById(m.Type()->npcId), nullptr) << m.Type()->GetName();
        if (!(m.Type()->flags & creature::kTypeStationary)) ++walkers;
    }
    EXPECT_EQ(people, 7);
    EXPECT_EQ(walkers, 1);
    // The western meadow's wolf is neutral until struck.
    CMapSection* meadow = w.built.base->FindSectionAt(1, 2);
    ASSERT_NE(meadow, nullptr);
    ASSERT_EQ(meadow->monsters.size(), 1u);
    EXPECT_FALSE(CCreatures::IsAggressive(meadow->monsters[0]));
    EXPECT_FALSE(CCreatures::IsPeaceful(meadow->monsters[0]));
}

TEST_F(FightTest, ScriptsMakeAndRemoveCreaturesInTheWindow) {
    const CMonsterType* wolf = w.Type("base_wolf_grey");
    ASSERT_TRUE(fight.CreateMonster(*w.cellar, wolf, 20, 20, true));
    ASSERT_TRUE(fight.CreateMonster(*w.cellar, wolf, 21, 20, false));
    const u8 made = static_cast<u8>(w.window.Cell(20, 20)->creature[0]);
    ASSERT_NE(made, 0);
    fight.near.Clear();
    fight.near.Scan();
    ASSERT_NE(fight.near.FindEntry(w.cellar, made), nullptr);
    fight.RemoveMonstersOfType(*w.cellar, wolf);
    EXPECT_EQ(w.window.Cell(20, 20)->creature[0], 0);
    EXPECT_EQ(w.Find(made), nullptr);
    EXPECT_EQ(fight.near.FindEntry(w.cellar, made), nullptr);
    // The script engine sees a creature through a view that answers for it.
    IScriptCreature* view = fight.ScriptView(*w.cellar, 3);
    EXPECT_STREQ(view->GetName(), "base_wolf_grey");
    EXPECT_TRUE(view->IsAggressive());
    // The one a map made, not removable, stays (and so does the wolf of the cellar).
    EXPECT_NE(w.window.Cell(21, 20)->creature[0], 0);
    EXPECT_NE(w.Find(3), nullptr);
}

TEST_F(FightTest, OnlyAListedPersonWithItsBackTurnedOffersTheSteal) {
    CMonster* person = w.cellar->CreateMonster(w.Type("base_townsfolk_merchant"), 26, 20);
    w.window.PlaceObjectNear(w.cellar, *person, 26, 20);
    creature::SetFacing(*person, 0);  // looks north as the player does: its back is turned
    const u8 id = person->id;
    CCreatureEvent use;
    fight.creatures.HandleMonsterEvent(creature::kEventUse, *w.cellar, id, use);
    EXPECT_TRUE(w.host.stealPrompts.empty());
    fight.people.Scan();
    ASSERT_NE(fight.people.Find(w.cellar, id), nullptr);
    creature::SetFacing(*w.Find(id), 0);
    fight.creatures.HandleMonsterEvent(creature::kEventUse, *w.cellar, id, use);
    EXPECT_EQ(w.host.stealPrompts.size(), 1u);
}

TEST_F(FightTest, NearbyCreaturesAreCalmedOrRousedWithinTheDistance) {
    // The player at 26, 21: the rat (26, 18) and the wolf (29, 31) of the cellar; the wolf lies 10
    // rows away.
    EXPECT_EQ(fight.SetNearbyAggression(5, false), 1);
    EXPECT_FALSE(CCreatures::IsAggressive(*w.Find(1)));
    EXPECT_TRUE(CCreatures::IsAggressive(*w.Find(3)));
    EXPECT_EQ(fight.SetNearbyAggression(5, false), 0);
    EXPECT_EQ(fight.SetNearbyAggression(10, true), 1);
    EXPECT_TRUE(CCreatures::IsAggressive(*w.Find(1)));
}

}  // namespace
