// What the player hears around him in the running game: the looped sounds of the objects near him,
// by their distance, and silence from them once the view is left.
#include <gtest/gtest.h>

#include "data/MapSection.h"
#include "tests/app/NewGameRig.h"
#include "world/GameScreen.h"
#include "world/GameViewWorld.h"
#include "world/MapScenery.h"

namespace {

// The cellar's stairs made to loop a sound: heard at its distance's volume while the player stands
// within 7 cells, and stopped when he goes out of range or the view forgets the world.
TEST(GameViewSounds, AnObjectNearThePlayerLoopsItsSoundAtItsDistance) {
    testing_support::NewGameRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    CMapObjectTable& objects = view->viewWorld->Objects();
    i32 sx = -1, sy = -1;
    for (i32 y = 0; y < 35 && sx < 0; ++y)
        for (i32 x = 0; x < 35 && sx < 0; ++x)
            if (const CMapCell* c = view->window.Cell(x, y); c && objects.TypeCode(c->centre) == 25) sx = x, sy = y;
    ASSERT_GE(sx, 0) << "the cellar has its stairs";
    auto* stairs = dynamic_cast<CStairsObject*>(objects.At(view->window.Cell(sx, sy)->centre));
    ASSERT_NE(stairs, nullptr);
    ASSERT_TRUE(stairs->Sound(1) && *stairs->Sound(1));
    stairs->frameCount = 1;  // a stair that moves (an escalating flow of water, say) sounds
    ASSERT_TRUE(view->worldAudio.HasSound(stairs->Sound(1)));

    // Free cells at 1, 3 and 9 steps from the stairs along a row or column.
    auto freeCellAt = [&](i32 distance, i32& x, i32& y) {
        for (i32 d = 0; d < 4; ++d) {
            x = sx + CGameScreen::kDx[d] * distance;
            y = sy + CGameScreen::kDy[d] * distance;
            const CMapCell* c = view->window.Cell(x, y);
            if (c && !view->window.IsCellCentreBlocking(*c, view->window.SectorSection(x, y)) && !c->creature[0] &&
                !c->creature[1])
                return true;
        }
        return false;
    };
    const struct {
        i32 distance;
        size_t queued;
        i32 volume;
    } cases[] = {{1, 1, 4}, {3, 1, 2}, {9, 0, 0}};
    for (const auto& c : cases) {
        i32 x = 0, y = 0;
        if (!freeCellAt(c.distance, x, y)) continue;
        view->SetPosition(x, y);
        ASSERT_EQ(view->surroundings.Queued().size(), c.queued) << c.distance;
        if (c.queued) {
            EXPECT_EQ(view->surroundings.Queued().front().name, stairs->Sound(1));
            EXPECT_EQ(view->surroundings.Queued().front().volume, c.volume) << c.distance;
        }
    }
    i32 x = 0, y = 0;
    ASSERT_TRUE(freeCellAt(1, x, y));
    view->SetPosition(x, y);
    ASSERT_EQ(view->surroundings.Queued().size(), 1u);
    // Over the main menu the world is not heard.
    rig.SettleView();
    ASSERT_EQ(view->surroundings.Queued().size(), 1u);
    rig.Key(27);
    rig.Tick(30);
    ASSERT_NE(rig.Current(), view);
    EXPECT_TRUE(view->surroundings.Queued().empty()) << "the loops stop when the view is left";
    view->ForgetWorld();
    EXPECT_TRUE(view->surroundings.Queued().empty());
}

}  // namespace
