// The frame driven through the headless window: key-downs, mouse messages and timer messages as the
// platform delivers them, reaching the game's current screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Game.h"
#include "app/MainFrame.h"
#include "display/Video.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/app/InterfaceData.h"
#include "tests/support/FrameRig.h"
#include "ui/Screen.h"
#include "world/GameScreen.h"

namespace {

// What a recording screen was offered, in order: "key 1000", "pen 6,10,1,0", "tick".
struct Recorder {
    std::vector<std::string> log;
    u32 keyAnswer = 0;
    u32 tickAnswer = 0;
};

class RecordingScreen : public CScreen {
public:
    explicit RecordingScreen(Recorder& r) : r_(r) {}
    u32 OnKey(u32 key) override {
        r_.log.push_back("key " + std::to_string(key));
        return r_.keyAnswer;
    }
    u32 OnPen(i32 x, i32 y, u32 down, u32 moving) override {
        r_.log.push_back("pen " + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(down) +
                         "," + std::to_string(moving));
        return 0;
    }
    u32 OnTick(u32) override {
        r_.log.push_back("tick");
        return r_.tickAnswer;
    }
    void Resume() override {
        CScreen::Resume();
        r_.log.push_back("resume");
    }

private:
    Recorder& r_;
};

// The main game view's stand-in with recording input operations.
class RecordingGameScreen : public CGameScreen {
public:
    explicit RecordingGameScreen(Recorder& r) : r_(r) {}
    u32 OnKey(u32 key) override {
        r_.log.push_back("key " + std::to_string(key));
        return 0;
    }
    u32 OnPen(i32 x, i32 y, u32 down, u32 moving) override {
        r_.log.push_back("pen " + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(down) +
                         "," + std::to_string(moving));
        return 0;
    }
    u32 OnTick(u32) override {
        r_.log.push_back("tick");
        return 0;
    }

private:
    Recorder& r_;
};

using Log = std::vector<std::string>;

class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app_test::WriteInterfaceData(rig.env.dir.Path()));
        ASSERT_TRUE(rig.Start()) << rig.frame->Error();
        window = rig.window;
        game = rig.Game();
        Drain();
    }
    // Hands every waiting event to the frame.
    void Drain() { rig.Drain(); }
    // Replaces a screen slot by a recording screen and makes it current.
    CScreen* Install(u32 id, CScreen* screen) {
        game->SetScreen(id, std::unique_ptr<CScreen>(screen));
        screen->Attach(game);
        game->currentScreen = screen;
        return screen;
    }
    RecordingGameScreen* InstallGameView() {
        auto* view = new RecordingGameScreen(rec);
        Install(kScreenGame, view);
        // The renderer draws into the game view's view state: bind it to the new view's.
        game->video->BindRenderer();
        view->viewWidget.SetRect(0, 0, 480, 320);
        return view;
    }
    // One timer message after `ms` more milliseconds.
    void Timer(u32 ms = 30) {
        rig.env.clock.Advance(ms);
        Drain();
    }
    void Key(u32 vk) {
        window->PushKeyDown(vk);
        Drain();
    }
    void Mouse(plat::EventType type, int x, int y, bool held = false) {
        window->PushMouse(type, x, y, held);
        Drain();
    }

    testing_support::FrameRig rig;
    std::unique_ptr<CMainFrame>& frame = rig.frame;
    plat::HeadlessWindow* window = nullptr;
    CGame* game = nullptr;
    Recorder rec;
};

}  // namespace

TEST_F(FrameTest, KeyDownsBecomeCommandsOfTheLayout) {
    Install(kScreenMainMenu, new RecordingScreen(rec));
    Key(13);   // Enter: "Key7" of the wide layout, attack
    Key('W');  // "Key1", forward
    Key(37);   // left arrow: the fixed table
    window->SetKeyDown(plat::vk::Control, true);
    Key(37);   // with Ctrl: strafe left
    Key('Q');  // "Key3" in the wide layout whatever Ctrl says
    window->SetKeyDown(plat::vk::Control, false);
    Key(9);    // Tab: nothing
    Key(112);  // F1: nothing
    EXPECT_EQ(rec.log, (Log{"key 3000", "key 1000", "key 1004", "key 3004", "key 1004"}));

    rec.log.clear();
    game->layoutMode = 9;
    Key(13);
    Key('C');  // "Key6" only in the wide layouts
    Key('1');
    EXPECT_EQ(rec.log, (Log{"key 3006"}));
}

TEST_F(FrameTest, AScreenCodeFromAKeySwitchesScreens) {
    Install(kScreenMainMenu, new RecordingScreen(rec));
    // The built screens find no layout group of theirs in this test's small interface database and
    // would draw nothing new, so the screen switched to paints the whole frame when entered.
    struct PaintingScreen : CScreen {
        void Enter(u32 a, u32 b, u32 c, u32 d) override {
            CScreen::Enter(a, b, c, d);
            video->FillRect(0, 0, video->Width(), video->Height(), 0x0841);
        }
    };
    game->SetScreen(kScreenLoadSave, std::make_unique<PaintingScreen>());
    game->GetScreen(kScreenLoadSave)->Attach(game);
    rec.keyAnswer = kScreenLoadSave;
    u32 presents = window->PresentCount();
    Key(27);
    EXPECT_EQ(game->currentScreen, game->GetScreen(kScreenLoadSave));
    EXPECT_GT(window->PresentCount(), presents);
}

TEST_F(FrameTest, AKeptScreenComesBackWhenATickAnswersBack) {
    Recorder panelLog;
    // The kept screen takes the main menu's slot: the game view's slot holds the view state that the
    // renderer draws into, so it must keep its real screen.
    auto* view = new RecordingScreen(rec);
    Install(kScreenMainMenu, view);
    auto* panel = new RecordingScreen(panelLog);
    Install(kScreenPanels, panel);
    game->currentScreen = view;
    view->entryA = 7;
    view->keepOnStack = 1;
    rec.keyAnswer = kScreenPanels;
    Key(27);
    EXPECT_EQ(game->currentScreen, panel);
    EXPECT_EQ(panel->entryA, 7u);
    EXPECT_EQ(game->screenStack->GetCount(), 1);

    panelLog.tickAnswer = kScreenBack;
    Timer();
    EXPECT_EQ(game->currentScreen, view);
    EXPECT_EQ(game->screenStack->GetCount(), 0);
    EXPECT_EQ(rec.log.back(), "resume");
    EXPECT_EQ(view->keepOnStack, 0u);
}

TEST_F(FrameTest, PenEventsAreRoundedAndMovesNeedTheButton) {
    Install(kScreenMainMenu, new RecordingScreen(rec));
    Mouse(plat::EventType::LButtonDown, 7, 10);
    Mouse(plat::EventType::MouseMove, 9, 13, true);
    Mouse(plat::EventType::MouseMove, 7, 11, false);  // no button: only the position is kept
    EXPECT_EQ(frame->lastMouseX, 7);
    EXPECT_EQ(frame->lastMouseY, 11);
    Mouse(plat::EventType::LButtonUp, -3, 5);
    EXPECT_EQ(rec.log, (Log{"pen 6,10,1,0", "pen 8,12,1,1", "pen -2,4,0,0"}));
    EXPECT_EQ(frame->buttonDown, 0u);
}

TEST_F(FrameTest, TimerTicksOnlyWithFocusAndCoalesces) {
    Install(kScreenMainMenu, new RecordingScreen(rec));
    u32 ticks = game->tickCounter;
    Timer(30);
    EXPECT_EQ(game->tickCounter, ticks + 1);
    // A handler that blocked for 300 ms leaves one timer message, not ten.
    Timer(300);
    EXPECT_EQ(game->tickCounter, ticks + 2);
    Timer(10);
    EXPECT_EQ(game->tickCounter, ticks + 2);

    // Without the focus the game does not tick and the button is let go.
    window->SetFocus(false);
    frame->buttonDown = 1;
    Timer(30);
    EXPECT_EQ(game->tickCounter, ticks + 2);
    EXPECT_EQ(frame->buttonDown, 0u);
    EXPECT_EQ(rec.log, (Log{"tick", "tick"}));
}

TEST_F(FrameTest, HeldKeysArePolledOnlyOnTheIdleGameView) {
    RecordingGameScreen* view = InstallGameView();
    u32 ticks = game->tickCounter;
    window->SetKeyDown('W', true);
    Timer();
    Timer();
    // Each timer message sends the held key's command instead of a tick.
    EXPECT_EQ(rec.log, (Log{"key 1000", "key 1000"}));
    EXPECT_EQ(game->tickCounter, ticks);

    // Keys are tried in the order of the settings: "Key1" wins over "Key2".
    window->SetKeyDown('S', true);
    rec.log.clear();
    Timer();
    EXPECT_EQ(rec.log, (Log{"key 1000"}));

    // A busy view is not polled; it ticks.
    view->busy = 1;
    rec.log.clear();
    Timer();
    EXPECT_EQ(rec.log, (Log{"tick"}));

    // Another screen is not polled either.
    view->busy = 0;
    Install(kScreenMainMenu, new RecordingScreen(rec));
    rec.log.clear();
    Timer();
    EXPECT_EQ(rec.log, (Log{"tick"}));
}

TEST_F(FrameTest, PenRepeatInsideTheViewAndReleaseOutsideTheWindow) {
    InstallGameView();
    Mouse(plat::EventType::LButtonDown, 101, 51);
    window->SetKeyDown(plat::vk::LButton, true);
    rec.log.clear();
    // Held still: nothing repeats until more than 30 ms have passed since the press.
    Timer(30);
    EXPECT_EQ(rec.log, (Log{"tick"}));
    rec.log.clear();
    Timer(30);
    Timer(30);
    EXPECT_EQ(rec.log, (Log{"pen 101,51,1,0", "tick", "pen 101,51,1,0", "tick"}));

    // The button was released where the window did not see it: one pen-up, then ticks only.
    window->SetKeyDown(plat::vk::LButton, false);
    rec.log.clear();
    Timer();
    Timer();
    EXPECT_EQ(rec.log, (Log{"pen 101,51,0,0", "tick", "tick"}));
    EXPECT_EQ(frame->buttonDown, 0u);

    // Outside the view's rectangle nothing repeats.
    Mouse(plat::EventType::LButtonDown, 600, 51);
    window->SetKeyDown(plat::vk::LButton, true);
    rec.log.clear();
    Timer(100);
    EXPECT_EQ(rec.log, (Log{"tick"}));
}

TEST_F(FrameTest, CloseAndExitAskForAnOrderlyQuit) {
    window->PushEvent(plat::Event{plat::EventType::Close});
    Drain();
    EXPECT_TRUE(frame->QuitRequested());

    // The main menu's "Exit" asks the same of whichever frame is the main frame.
    CMainFrame other(plat::CreateHeadlessWindow());
    SetMainFrame(&other);
    QuitGame();
    EXPECT_TRUE(other.QuitRequested());
    SetMainFrame(frame.get());
}

TEST_F(FrameTest, FatalErrorsAreFormattedIntoAMessageBox) {
    ShowFatalError("Fatal Error: block cache is full (1), %lu/%lu", 5, 4000000000u);
    ASSERT_FALSE(window->MessageBoxes().empty());
    EXPECT_EQ(window->MessageBoxes().back().text, "Fatal Error: block cache is full (1), 5/4000000000");
    // The game goes on afterwards.
    EXPECT_FALSE(frame->QuitRequested());
}
