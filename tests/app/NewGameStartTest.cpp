// "New Game" as a player goes through it, by keys and taps on the frame: the intro pages, character
// creation and its OK, into the game view on the built world.
#include <gtest/gtest.h>

#include "app/Game.h"
#include "screens/frontend/CreatePlayerScreen.h"
#include "tests/support/FrameRig.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

namespace {

TEST(NewGameStart, OkInCreationEntersTheGameViewWithTheCharacterMade) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    rig.Key(27);  // past the splash
    ASSERT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
    rig.Tick(30);
    rig.Key(40);  // "Start new game"
    rig.Key(32);
    ASSERT_TRUE(rig.TickUntilScreen(kScreenPages, 300));
    for (int page = 0; page < 3; ++page) {
        rig.Tick(30);
        rig.Key(32);
    }
    ASSERT_TRUE(rig.TickUntilScreen(kScreenCreatePlayer, 300));
    auto* creation = static_cast<CCreatePlayerScreen*>(rig.Current());
    // A face of another race first: the face shown is a texture picture of the world that the new game
    // closes and opens again.
    rig.Tick(30);
    ASSERT_TRUE(rig.TapLayoutElement(CCreatePlayerScreen::kLayoutGroup, CCreatePlayerScreen::kNextFace));
    const std::string face = creation->faceName.GetText();
    rig.Tick(30);
    ASSERT_TRUE(rig.TapLayoutElement(CCreatePlayerScreen::kLayoutGroup, 25));  // OK
    // The page drawn after the command shows no picture of the world that went.
    EXPECT_EQ(creation->facePanel.picture, nullptr);
    ASSERT_TRUE(rig.TickUntilScreen(kScreenGame, 600));
    CGame* game = rig.Game();
    EXPECT_NE(game->currentWorld, nullptr);
    EXPECT_STREQ(game->player.portrait.GetText(), face.c_str());
    EXPECT_GT(game->player.hp, 0);
    EXPECT_FALSE(game->player.items.empty());
    // The view runs and draws on.
    for (int i = 0; i < 10; ++i) rig.Tick(30);
    EXPECT_EQ(rig.Current(), game->GetGameScreen());
    EXPECT_NE(game->GetGameScreen()->section, nullptr);
}

}  // namespace
