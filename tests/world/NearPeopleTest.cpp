#include <gtest/gtest.h>

#include "tests/world/CreatureFixture.h"
#include "world/Directions.h"
#include "world/NearPeople.h"

namespace {

class NearPeopleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(w.built.Loaded());
        w.FillEmpty();
        const CMonsterType* merchant = w.Type("base_townsfolk_merchant");
        walker.creatureKind = merchant->creatureKind;
        walker.kind = kCreaturePeople;
        walker.flags = 8;  // not stationary
        walker.values[creature::kMaxHp] = 20;
    }
    u8 MakeWalker(i32 x, i32 y) {
        CMonster* m = w.cellar->CreateMonster(&walker, x, y);
        w.window.PlaceObjectNear(w.cellar, *m, x, y);
        return m->id;
    }

    CreatureWorld w;
    CMonsterType walker;
    CNearPeople people{w.host};
};

TEST_F(NearPeopleTest, AStationaryPersonKeepsItsCellAndFacing) {
    CMonster& merchant = w.Make("base_townsfolk_merchant", 20, 17, 0x02);
    creature::SetFacing(merchant, 3);
    const u8 id = merchant.id;
    people.Scan();
    ASSERT_EQ(people.Count(), 1);
    for (int i = 0; i < 500; ++i) {
        people.Update();
        if (i % 50 == 0) people.Scan();
    }
    const CMonster* m = w.Find(id);
    EXPECT_EQ(std::pair(int(m->x), int(m->y)), std::pair(20, 17));
    EXPECT_EQ(creature::Facing(*m), 3);
    EXPECT_EQ(people.At(0).state == kPersonWalking, false);
}

TEST_F(NearPeopleTest, AnAdjacentPersonTurnsToThePlayerOnAboutThreeDecisionsInTen) {
    int faced = 0;
    for (int i = 0; i < 300; ++i) {
        w.FillEmpty();
        const u8 id = MakeWalker(17, 18);
        CNearPeople fresh(w.host);
        fresh.Scan();
        ASSERT_EQ(fresh.Count(), 1);
        const CNearPerson& p = fresh.At(0);
        // The player looks north (quarter 0): facing the player is quarter 2... from the south side
        // the person looks north, the player's quarter plus two.
        if (p.state == kPersonStanding && p.direction == 2 && p.budget >= 32768) ++faced;
        w.cellar->DeleteMonster(id);
    }
    EXPECT_GT(faced, 60);
    EXPECT_LT(faced, 120);
}

TEST_F(NearPeopleTest, WalkersStayInTheirSectorAndOutOfThePlayersCell) {
    // Two walkers in the player's sector (14..20) and one beside it.
    MakeWalker(16, 16);
    MakeWalker(18, 18);
    MakeWalker(13, 17);
    std::vector<std::pair<u8, int>> sectors;
    for (const CMonster& m : w.cellar->monsters)
        sectors.emplace_back(m.id, CCellWindow::SectorIndex(m.x, m.y));
    bool moved = false;
    for (int tick = 0; tick < 3000; ++tick) {
        people.Update();
        if (tick % 40 == 0) people.Scan();
        ASSERT_EQ(w.window.Cell(17, 17)->creature[0], 0) << tick;
        for (const auto& [id, sector] : sectors) {
            const CMonster* m = w.Find(id);
            ASSERT_NE(m, nullptr);
            EXPECT_EQ(CCellWindow::SectorIndex(m->x, m->y), sector) << int(id) << " at tick " << tick;
            moved |= !(m->x == 16 && m->y == 16) && id == sectors[0].first;
        }
    }
    EXPECT_TRUE(moved);
}

TEST_F(NearPeopleTest, AWalkIntoACellTakenMeanwhileStopsThePerson) {
    const u8 id = MakeWalker(15, 15);
    people.Scan();
    ASSERT_EQ(people.Count(), 1);
    CNearPerson& p = people.At(0);
    // Force a walk east and take the cell before the person gets there.
    p.state = kPersonWalking;
    p.stepX = 2048;
    p.stepY = 0;
    p.budget = 65536;
    p.turnVia = 255;
    w.window.Cell(16, 15)->creature[0] = 99;
    w.Find(id)->hurtTicks = 0;
    for (int i = 0; i < 40 && p.state == kPersonWalking; ++i) people.Update();
    EXPECT_EQ(p.state, kPersonUndecided);
    EXPECT_EQ(std::pair(int(w.Find(id)->x), int(w.Find(id)->y)), std::pair(15, 15));
}

TEST_F(NearPeopleTest, DayAndNightTakePeopleOutAndPutThemBack) {
    const u8 id = MakeWalker(16, 16);
    people.Scan();
    people.RemoveScheduledPeople(true);
    EXPECT_EQ(people.Count(), 0);
    EXPECT_EQ(w.window.Cell(16, 16)->creature[0], 0);
    people.PlaceScheduledPeople();
    EXPECT_EQ(w.window.Cell(16, 16)->creature[0], id);
}

}  // namespace
