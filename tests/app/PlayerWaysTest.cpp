// The ways a program walks the built world by: through the cellar's hall, round its walls, through
// its doors only when asked to, to the stair that leads up, and to where the town's people are
// spoken to from.
#include <gtest/gtest.h>

#include <string>

#include "app/PlayerWays.h"
#include "data/CreatureCatalogue.h"
#include "data/MapSection.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "tests/app/NewGameRig.h"
#include "world/GameScreen.h"

namespace {

constexpr int kNorth = 0, kEast = 1, kSouth = 2, kWest = 3;

struct WaysRig : testing_support::NewGameRig {
    // The player on a cellar cell (the cellar fills the window: its cells are window cells).
    void PlaceAt(i32 x, i32 y) {
        View()->SetPosition(x, y);
        SettleView();
    }
};

TEST(PlayerWays, TheCellarsWaysGoRoundWallsAndThroughDoorsOnlyWhenAsked) {
    WaysRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    const CGameScreen& view = *rig.View();
    ASSERT_STREQ(view.section->GetName(), "base_cellar");
    const CRefusedCells none;
    // The hall (x 13..33, y 13..33) has a wall down its west with an open door at (12, 22) into the
    // side chamber, and a wall across its north with the shut cellar door at (17, 12).
    rig.PlaceAt(13, 20);
    const struct {
        const char* what;
        i32 x, y;
        bool beside, throughDoors;
        int step;
    } cases[] = {
        {"own cell", 13, 20, false, false, kWayArrived},
        {"a neighbour, beside it", 14, 20, true, false, kWayArrived},
        {"along the hall", 13, 25, false, false, kSouth},
        {"across the west wall: round by its door", 11, 20, false, false, kSouth},
        {"behind the shut door", 17, 5, false, false, kWayNone},
        {"outside the window", 40, 40, false, false, kWayNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstStepTowards(view, c.x, c.y, c.beside, none, c.throughDoors), c.step) << c.what;

    EXPECT_TRUE(IsClosedDoorCell(view, 17, 12));
    EXPECT_FALSE(IsClosedDoorCell(view, 12, 22)) << "the chamber's door stands open";
    EXPECT_FALSE(IsClosedDoorCell(view, 13, 21)) << "a floor cell";
    EXPECT_FALSE(IsCellWalkable(view, 12, 21, kWest, none)) << "a wall";
    EXPECT_TRUE(IsCellWalkable(view, 12, 22, kWest, none));
    // A step refused in the door leaves no way into the chamber.
    const CRefusedCells doorRefused = {{12, 22}};
    EXPECT_EQ(FirstStepTowards(view, 11, 20, false, doorRefused), kWayNone);

    // The cell of a creature is taken.
    const CMonster* rat = view.section->FindMonster(1);
    ASSERT_NE(rat, nullptr);
    EXPECT_FALSE(IsCellWalkable(view, rat->x, rat->y, kNorth, none));

    // The way out of the cellar is its stair up, not the gallery's ways behind the shut door.
    rig.PlaceAt(17, 17);
    i32 x = 0, y = 0;
    ASSERT_TRUE(FindWayOut(view, x, y));
    EXPECT_EQ(x, 17);
    EXPECT_EQ(y, 30);
    EXPECT_EQ(FirstStepTowards(view, 17, 30, false, none), kSouth) << "the stair, walked into";
    EXPECT_EQ(FirstStepTowards(view, 17, 5, false, none, true), kNorth) << "through the door, opened on the way";
    EXPECT_EQ(DirectionTowards(view, 18, 17), static_cast<u32>(kEast));
    EXPECT_EQ(DirectionTowards(view, 17, 16), static_cast<u32>(kNorth));
}

// People are spoken to from the cell they face: the town's stand facing south, east and west.
TEST(PlayerWays, ThePeopleAreSpokenToFromTheCellTheyFace) {
    WaysRig rig;
    ASSERT_TRUE(rig.StartInTown());
    const CGameScreen& view = *rig.View();
    const struct {
        const char* npc;
        i32 dx, dy;
    } people[] = {{"Hesper", 0, 1}, {"Corwen", 1, 0}, {"Aldo", -1, 0}, {"Maren", 0, 1}};
    for (const auto& person : people) {
        const CMonster* found = nullptr;
        for (const CMonster& m : view.section->monsters)
            if (m.Type() != nullptr && m.Type()->npcId != nullptr && std::string(m.Type()->npcId) == person.npc)
                found = &m;
        ASSERT_NE(found, nullptr) << person.npc;
        i32 mx = 0, my = 0, bx = 0, by = 0;
        ASSERT_TRUE(view.window.SectionToWindowCell(view.section, found->x, found->y, mx, my));
        ASSERT_TRUE(CellBefore(view, *view.section, *found, bx, by)) << person.npc;
        EXPECT_EQ(bx - mx, person.dx) << person.npc;
        EXPECT_EQ(by - my, person.dy) << person.npc;
    }
}

}  // namespace
