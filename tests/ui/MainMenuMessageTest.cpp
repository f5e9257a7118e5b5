#include <gtest/gtest.h>

#include "core/FileFinder.h"
#include "data/TextureSet.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "screens/frontend/MainMenuScreen.h"
#include "screens/frontend/PagesScreen.h"
#include "tests/ui/WidgetRig.h"
#include "ui/ButtonBar.h"

using widgetrig::Rig;

// The main menu's prompts are message boxes; the game's own input path answers them by key and by
// tap.
TEST(MainMenuMessage, AnsweredByKeyAndByTap) {
    Rig rig(15, 640, 480);
    rig.InstallInterfacePictures();
    rig.game.currentScreen = nullptr;
    rig.screen = nullptr;  // the menu takes its slot, and the game deletes the recording screen
    rig.game.SetScreen(kScreenMainMenu, std::make_unique<CMainMenuScreen>(rig.game));
    auto* menu = static_cast<CMainMenuScreen*>(rig.game.GetScreen(kScreenMainMenu));
    menu->Attach(&rig.game);
    rig.game.SetScreen(kScreenPages, std::make_unique<CPagesScreen>(rig.game));
    CScreen* pages = rig.game.GetScreen(kScreenPages);
    pages->Attach(&rig.game);
    // The worlds the build writes, so that the new game finds its base world.
    CFileFinder finder;
    finder.SetFolder(std::string(VANTREL_BINARY_DIR) + "/");
    rig.game.worldLists = std::make_unique<CWorldLists>(rig.game.textureSet);
    rig.game.worlds = std::make_unique<CWorldList>(*rig.game.worldLists, &finder, nullptr);
    rig.game.SwitchScreen(kScreenMainMenu);
    ASSERT_EQ(menu->modalChild, nullptr);
    menu->pendingPrompt = kPromptNewGame;
    menu->ShowPrompt("Are you sure you want to start a new game?");
    menu->Draw();
    ASSERT_EQ(menu->modalChild, &menu->promptBar);
    EXPECT_TRUE(testing_support::MatchesGolden("ui/main_menu_prompt", rig.Capture()));

    // A key in the tick of the prompt is ignored; on the next tick "use" answers Yes, which starts the
    // new game: the pages screen comes next.
    rig.game.SendCommand(kCommandUse);
    EXPECT_EQ(menu->pendingPrompt, kPromptNewGame);
    rig.game.Tick();
    rig.game.SendCommand(kCommandUse);
    EXPECT_EQ(menu->pendingPrompt, kPromptNone);
    EXPECT_EQ(rig.game.currentScreen, rig.game.GetScreen(kScreenPages));

    // Asked again, "No" is tapped: pen down and up over the button; the menu stays.
    rig.game.SwitchScreen(kScreenMainMenu);
    menu->pendingPrompt = kPromptNewGame;
    menu->ShowPrompt("Are you sure you want to start a new game?");
    auto* bar = static_cast<CButtonBar*>(menu->modalChild);
    ASSERT_NE(bar, nullptr);
    rig.game.Tick();
    const CTextButton& no = bar->buttons[3];
    ASSERT_TRUE(no.IsShown());
    rig.game.PenEvent(no.x + 4, no.y + 4, 1, 0);
    rig.game.PenEvent(no.x + 4, no.y + 4, 0, 0);
    EXPECT_EQ(menu->pendingPrompt, kPromptNone);
    EXPECT_EQ(menu->modalChild, nullptr);
    EXPECT_EQ(rig.game.currentScreen, menu);
    rig.game.worlds.reset();
    rig.game.worldLists.reset();
}
