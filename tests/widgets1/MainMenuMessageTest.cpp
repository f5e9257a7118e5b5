#include <gtest/gtest.h>

#include "screens/frontend/MainMenuScreen.h"
#include "tests/widgets1/WidgetRig.h"
#include "ui/ButtonBar.h"

using w1test::Rig;

// The main menu's stand-in greets with a message box; the game's own input path answers it by key
// and by tap.
TEST(MainMenuMessage, AnsweredByKeyAndByTap) {
    Rig rig(15, 640, 480);
    rig.InstallInterfacePictures();
    rig.game.currentScreen = nullptr;
    delete rig.screen;
    rig.screen = nullptr;
    auto* menu = new CMainMenuScreen;
    rig.game.SetScreen(kScreenMainMenu, menu);
    menu->Attach(&rig.game);
    rig.game.SwitchScreen(kScreenMainMenu);
    ASSERT_NE(menu->modalChild, nullptr);
    EXPECT_TRUE(testing_support::MatchesGolden("widgets1/main_menu_greeting", rig.Capture()));

    // A key in the tick of the greeting is ignored; on the next tick "use" answers Yes.
    rig.game.SendCommand(kCommandUse);
    EXPECT_EQ(menu->lastAnswer, 0u);
    rig.game.Tick();
    rig.game.SendCommand(kCommandUse);
    EXPECT_EQ(menu->lastAnswer, CButtonBar::kYes);
    // The answer is shown with "Ok"; "use" closes it.
    ASSERT_NE(menu->modalChild, nullptr);
    rig.game.Tick();
    rig.game.SendCommand(kCommandUse);
    EXPECT_EQ(menu->modalChild, nullptr);

    // Asked again, "No" is tapped: pen down and up over the button.
    rig.game.SendCommand(kCommandUse);
    auto* bar = static_cast<CButtonBar*>(menu->modalChild);
    ASSERT_NE(bar, nullptr);
    rig.game.Tick();
    const CTextButton& no = bar->buttons[3];
    ASSERT_TRUE(no.IsShown());
    rig.game.PenEvent(no.x + 4, no.y + 4, 1, 0);
    rig.game.PenEvent(no.x + 4, no.y + 4, 0, 0);
    EXPECT_EQ(menu->lastAnswer, CButtonBar::kNo);
}
