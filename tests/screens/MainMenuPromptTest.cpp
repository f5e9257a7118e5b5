// The main menu's prompts answered by a tap must leave the same picture as answered by a key: the
// closed message box may not be painted again over the menu.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/Game.h"
#include "core/PdbFile.h"
#include "screens/frontend/MainMenuScreen.h"
#include "tests/support/FrameRig.h"
#include "tests/support/TestRecords.h"
#include "world/GameScreen.h"

namespace {

using Rig = testing_support::FrameRig;

void WriteAutoSave(Rig& rig) {
    CPdbFile db;
    db.InitSavedGameHeader("VantrelSave0");
    std::memcpy(db.Header().type, "VnTS", 4);
    std::memcpy(db.Header().creator, "VnTS", 4);
    const std::vector<u8> record = testing_support::SavedGameHeaderStub();
    db.AddRecord(3000, record.data(), static_cast<u32>(record.size()));
    ASSERT_EQ(db.Save(rig.env.dir.File("VantrelSave0").c_str()), 1);
}

struct Case {
    const char* what;
    bool autoSave;
    bool inGame;
    std::vector<u32> keysToPrompt;  // keys that open the prompt from the fresh menu
    u32 prompt;                     // the prompt then shown
    u32 buttonIndex;                // the button tapped: 3 "No", 0 "Ok"
    u32 answerKey;                  // the key that gives the same answer
};

// Starts the menu, opens the case's prompt and answers it by key or by tap; the frame as shown then.
testing_support::Rgb565Image AnswerPrompt(const Case& c, bool byTap) {
    Rig rig;
    if (c.autoSave) WriteAutoSave(rig);
    EXPECT_TRUE(rig.StartOnBuiltDatabase());
    if (c.inGame) {
        rig.Game()->GetGameScreen()->inGame = 1;
        rig.Game()->player.hp = 5;
    }
    rig.Key(27);
    auto* menu = static_cast<CMainMenuScreen*>(rig.Game()->GetScreen(kScreenMainMenu));
    EXPECT_EQ(rig.Current(), menu);
    for (u32 key : c.keysToPrompt) {
        rig.Tick();
        rig.Key(key);
    }
    EXPECT_EQ(menu->pendingPrompt, c.prompt);
    EXPECT_EQ(menu->modalChild, &menu->promptBar);
    rig.Tick();
    if (byTap) {
        const CTextButton& button = menu->promptBar.buttons[c.buttonIndex];
        EXPECT_TRUE(button.IsShown());
        rig.Tap(button.x + button.w / 2, button.y + button.h / 2);
    } else {
        rig.Key(c.answerKey);
    }
    EXPECT_EQ(menu->modalChild, nullptr);
    EXPECT_EQ(menu->pendingPrompt, kPromptNone);
    EXPECT_TRUE(menu->list.IsShown());
    return rig.Capture();
}

}  // namespace

TEST(MainMenuPrompt, ATappedAnswerLeavesTheMenuAsAKeyDoes) {
    const Case cases[] = {
        // Up from no selection takes the first entry, up again wraps to "Exit"; Enter chooses it.
        {"exit, No", false, false, {38, 38, 13}, kPromptExit, 3, 27},
        // With a game in progress "Start new game" is the second entry.
        {"new game, No", false, true, {40, 40, 13}, kPromptNewGame, 3, 27},
        {"automatic save, No", true, false, {}, kPromptLoadAutoSave, 3, 27},
        // Yes to the automatic save fails to load (nothing can be read yet) and leaves a notice.
        {"load notice, Ok", true, false, {13}, kPromptNotice, 0, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::Rgb565Image byKey = AnswerPrompt(c, false);
        testing_support::Rgb565Image byTap = AnswerPrompt(c, true);
        ASSERT_EQ(byKey.pixels.size(), byTap.pixels.size());
        size_t differing = 0;
        for (size_t i = 0; i < byKey.pixels.size(); ++i) differing += byKey.pixels[i] != byTap.pixels[i];
        EXPECT_EQ(differing, 0u);
    }
}

// The exit prompt on the interface database that the build writes: dark labels on light button
// frames.
TEST(MainMenuPrompt, TheExitPromptOnTheBuiltArtwork) {
    Rig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    rig.Key(27);
    for (u32 key : {38u, 38u, 13u}) {
        rig.Tick();
        rig.Key(key);
    }
    auto* menu = static_cast<CMainMenuScreen*>(rig.Game()->GetScreen(kScreenMainMenu));
    ASSERT_EQ(menu->pendingPrompt, kPromptExit);
    EXPECT_TRUE(testing_support::MatchesGolden("screens/main_menu_exit_prompt", rig.Capture()));
}
