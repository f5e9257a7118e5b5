// The settings changed in the middle of a game, as a user changes them: from the game view through
// the main menu to the settings screen and back. A key given to another command acts in the game
// view at once (the fixed keys of the frame stay as they are), and a new view size changes the 3D
// view's rectangle.
#include <gtest/gtest.h>

#include "app/Game.h"
#include "screens/frontend/SettingsScreen.h"
#include "tests/app/NewGameRig.h"
#include "tests/support/FrameRig.h"
#include "tests/support/Png.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

namespace {

constexpr u16 kSettingsGroup = CSettingsScreen::kLayoutGroup;
constexpr u32 kSettingsBack = 25, kTurnLeftNext = 641, kViewSmaller = 654, kViewLarger = 655;

struct SettingsRig : testing_support::NewGameRig {
    // Escape, then the menu's entry "Settings" (the fifth in a game) with the arrow keys.
    bool OpenSettings() {
        Key(27);
        if (Current() != Game()->GetScreen(kScreenMainMenu)) return false;
        Tick(30);
        for (int i = 0; i < 5; ++i) Key(40);
        Key(13);
        Tick(30);
        return Current() == Game()->GetScreen(kScreenSettings);
    }
    // Back to the menu (its selection cleared), down to "Continue game", and into the game view again.
    bool BackToGame() {
        if (!TapLayoutElement(kSettingsGroup, kSettingsBack)) return false;
        Tick(30);
        Key(40);
        Key(13);
        Tick(30);
        Tick(30);
        return Current() == View();
    }
};

TEST(SettingsInGame, AReassignedKeyMovesThePlayerAndTheViewSizeChangesTheView) {
    SettingsRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGame& game = *rig.Game();
    CGameScreen* view = rig.View();
    // The configured keys belong to the wide layouts.
    ASSERT_TRUE(game.layoutMode == 14 || game.layoutMode == 15 || game.layoutMode == 16) << game.layoutMode;

    // By default "a" strafes left: the facing stays.
    view->facing = 0;
    rig.Key('A');
    rig.SettleView();
    EXPECT_EQ(view->facing, 0);

    // Turn left becomes "a" (the row's next choice); as the rows are read in order, "a" now turns.
    ASSERT_TRUE(rig.OpenSettings());
    const u32 width = view->viewState.viewWidth, height = view->viewState.viewHeight;
    ASSERT_GT(width, 0u);
    ASSERT_TRUE(rig.TapLayoutElement(kSettingsGroup, kTurnLeftNext));
    EXPECT_EQ(game.settings.Key[2], 97u);
    const u32 size = game.settings.ViewSize;
    ASSERT_TRUE(rig.TapLayoutElement(kSettingsGroup, size < 2 ? kViewSmaller : kViewLarger));
    EXPECT_NE(game.settings.ViewSize, size);
    ASSERT_TRUE(rig.BackToGame());

    const i32 x = view->playerX, y = view->playerY;
    rig.Key('A');
    rig.SettleView();
    EXPECT_EQ(view->facing, 90);
    EXPECT_EQ(view->playerX, x);
    EXPECT_EQ(view->playerY, y);

    // The 3D view took the new size: a smaller size leaves a smaller rectangle, a larger one a larger.
    if (game.settings.ViewSize > size) {
        EXPECT_LT(view->viewState.viewWidth, width);
        EXPECT_LT(view->viewState.viewHeight, height);
    } else {
        EXPECT_GT(view->viewState.viewWidth, width);
        EXPECT_GT(view->viewState.viewHeight, height);
    }
    EXPECT_TRUE(testing_support::MatchesGolden("app_gameview_view_size", rig.Capture()));
}

}  // namespace
