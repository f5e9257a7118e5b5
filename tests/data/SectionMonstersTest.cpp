#include <gtest/gtest.h>

#include "data/CreatureCatalogue.h"
#include "data/World.h"
#include "tests/data/BuiltWorld.h"

namespace {

class SectionMonsters : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(built.Loaded());
        cellar = built.base->FindSectionByName("base_cellar");
        ASSERT_NE(cellar, nullptr);
    }
    const CMonsterType* Type(const char* id) { return built.lists.creatures.FindMonsterType(id); }

    fixtures::BuiltWorld built;
    CMapSection* cellar = nullptr;
};

TEST_F(SectionMonsters, CreateGivesFullHpANewIdAndPeopleABag) {
    const CMonsterType* rat = Type("base_rat_small");
    CMonster* m = cellar->CreateMonster(rat, 5, 6);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->hp, rat->values[3]);
    EXPECT_EQ(m->flags, 2);
    EXPECT_EQ(m->typeIndex, 1);  // its place in the world's table, for the saved game
    EXPECT_EQ(m->bagId, 0);
    EXPECT_EQ(cellar->FindMonster(m->id), m);
    CMonster* person = cellar->CreateMonster(Type("base_townsfolk_merchant"), 7, 7);
    ASSERT_NE(person, nullptr);
    EXPECT_NE(cellar->bags.FindBagById(person->bagId), nullptr);
    EXPECT_EQ(cellar->CreateMonster(nullptr, 1, 1), nullptr);
}

TEST_F(SectionMonsters, IdsRunOutAfter255Creatures) {
    cellar->monsters.clear();
    cellar->nextMonsterId = 1;
    const CMonsterType* rat = Type("base_rat_small");
    for (int i = 0; i < 255; ++i) ASSERT_NE(cellar->CreateMonster(rat, 1, 1), nullptr) << i;
    EXPECT_EQ(cellar->CreateMonster(rat, 1, 1), nullptr);
    cellar->DeleteMonster(17);
    CMonster* again = cellar->CreateMonster(rat, 1, 1);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->id, 17);
}

TEST_F(SectionMonsters, RemovingByTypeTakesOnlyRemovableCreaturesAndTheirEffects) {
    cellar->monsters.clear();
    const CMonsterType* rat = Type("base_rat_small");
    const u8 a = cellar->CreateMonster(rat, 1, 1)->id;
    const u8 b = cellar->CreateMonster(rat, 2, 1)->id;
    const u8 c = cellar->CreateMonster(Type("base_skeleton_warrior"), 3, 1)->id;
    cellar->FindMonster(a)->flags |= 1;
    cellar->FindMonster(c)->flags |= 1;
    cellar->effects.AddMonsterEffect(a, 5, 3, 26, 0, nullptr);
    std::vector<u8> removed;
    EXPECT_EQ(cellar->RemoveMonstersOfType(rat, &removed), 1);
    EXPECT_EQ(removed, std::vector<u8>{a});
    EXPECT_EQ(cellar->FindMonster(a), nullptr);
    EXPECT_EQ(cellar->effects.FindHolder(a), nullptr);
    EXPECT_NE(cellar->FindMonster(b), nullptr);
    EXPECT_NE(cellar->FindMonster(c), nullptr);
}

TEST_F(SectionMonsters, TheCreatureOfAMapObjectIsFoundByTheObjectOrItsName) {
    // A creature bound to the shelf (placement 5); the chamber door (3) has none.
    CMonster* bound = cellar->CreateMonster(Type("base_rat_small"), 6, 21);
    bound->objectId = 5;
    const u8 id = bound->id;
    CMonster* found = cellar->FindMonsterOfObject(5);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->id, id);
    EXPECT_EQ(cellar->FindMonsterOfObject(0), nullptr);
    CMapSection* section = nullptr;
    CMonster* monster = nullptr;
    EXPECT_TRUE(built.base->FindMonsterByName("base_shelf", section, monster));
    EXPECT_EQ(section, cellar);
    EXPECT_EQ(monster, found);
    // An object without a creature: found, with no creature; no such object: neither.
    EXPECT_TRUE(built.base->FindMonsterByName("base_chamberdoor", section, monster));
    EXPECT_EQ(section, cellar);
    EXPECT_EQ(monster, nullptr);
    EXPECT_FALSE(built.base->FindMonsterByName("base_nothing", section, monster));
    EXPECT_EQ(section, nullptr);
}

}  // namespace
