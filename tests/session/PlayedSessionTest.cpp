// A played session as a test: the recorded input of first-steps.txt drives the real game object on a
// headless window with a manual clock and a fixed seed, from the main menu through "Start new game",
// the intro and character creation into the cellar, a fight with the cellar's rat to its death, the
// game saved through the menu, the window closed, the game started again and the save loaded. The
// state at the end must be the one that was saved, and two replays must show the same frames at the
// same ticks.
//
// Re-recording the session (after a change that moves what the input meets):
//  - by the scripted player below, which plays the same steps by looking at the game as it goes:
//      VANTREL_RERECORD_SESSION=1 build/test_session --gtest_filter='PlayedSession.Rerecord'
//    It writes first-steps.txt and first-steps.state (the expected end state) into this folder.
//  - or by hand in the game's window: `build/vantrel --record first-steps.txt` for the first run
//    (close the window after saving), a second `--record` for the run that loads, the two files joined
//    one after the other; then `build/tools/vantrel_replay first-steps.txt` prints the end state for
//    first-steps.state (its lines from "map:" on).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/Game.h"
#include "app/HeadlessSession.h"
#include "app/InputLog.h"
#include "data/MapSection.h"
#include "screens/frontend/CreatePlayerScreen.h"
#include "screens/frontend/LoadSaveScreen.h"
#include "screens/frontend/MainMenuScreen.h"
#include "tests/support/GameEnvironment.h"
#include "ui/ButtonBar.h"
#include "ui/Layout.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

namespace {

const std::string kFolder = std::string(VANTREL_SOURCE_DIR) + "/tests/session/";
const std::string kLog = kFolder + "first-steps.txt";
const std::string kState = kFolder + "first-steps.state";
constexpr u32 kSeed = 20261211;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// The state lines that a saved game keeps (from "map:" on; the run, tick and screen lines go).
std::string SavedPart(const std::string& state) {
    const size_t at = state.find("map:");
    return at == std::string::npos ? std::string() : state.substr(at);
}

std::string Field(const std::string& state, const std::string& name) {
    const size_t at = state.find(name + ": ");
    if (at == std::string::npos) return {};
    const size_t start = at + name.size() + 2;
    return state.substr(start, state.find('\n', start) - start);
}

struct Replay {
    std::vector<CFrameHashAt> hashes;
    std::string state;
    bool ratGone = false;
};

Replay PlayLog(const std::vector<CInputLogEvent>& events) {
    testing_support::GameEnvironment env;  // a fresh folder with the built databases
    EXPECT_TRUE(env.CopyBuiltDatabase());
    Replay out;
    CHeadlessSession session(env.dir.Path(), kSeed);
    out.hashes = session.Play(events, 1000);
    out.state = session.StateText();
    if (CGame* game = session.Game()) {
        CGameScreen* view = game->GetGameScreen();
        out.ratGone = view != nullptr && view->section != nullptr && view->section->FindMonster(1) == nullptr;
    }
    return out;
}

TEST(PlayedSession, TheFirstStepsEndWhereTheyWereSavedAndReplayTheSame) {
    std::vector<CInputLogEvent> events;
    std::string error;
    ASSERT_TRUE(ReadInputLogFile(kLog, events, error)) << error;
    const Replay first = PlayLog(events);
    // The game was started twice, and the second run ends in the game view, in the loaded game.
    EXPECT_EQ(Field(first.state, "runs"), "2") << first.state;
    EXPECT_EQ(Field(first.state, "screen"), std::to_string(kScreenGame)) << first.state;
    EXPECT_EQ(Field(first.state, "map"), "base_cellar");
    // The rat was fought to its death and its experience kept; the character lives.
    EXPECT_TRUE(first.ratGone);
    EXPECT_NE(Field(first.state, "xp"), "0");
    EXPECT_NE(Field(first.state, "hp"), "0");
    EXPECT_NE(Field(first.state, "items"), "");
    // Cell, facing, hit points, experience, gold, items and clock are those of the save.
    EXPECT_EQ(SavedPart(first.state), ReadText(kState));

    const Replay second = PlayLog(events);
    EXPECT_EQ(second.state, first.state);
    ASSERT_GT(first.hashes.size(), 50u);
    ASSERT_EQ(second.hashes.size(), first.hashes.size());
    for (size_t i = 0; i < first.hashes.size(); ++i) {
        ASSERT_EQ(second.hashes[i], first.hashes[i])
            << "frame after event " << i << " (run " << first.hashes[i].run << ", tick " << first.hashes[i].tick << ")";
    }
}

// ---- the scripted player that records first-steps.txt ----

class ScriptedPlayer {
public:
    ScriptedPlayer(CHeadlessSession& session, std::vector<CInputLogEvent>& log) : s_(session), log_(log) {}

    CGame* Game() const { return s_.Game(); }
    CGameScreen* View() const { return Game() ? Game()->GetGameScreen() : nullptr; }
    u32 Screen() const { return s_.CurrentScreenId(); }

    void Wait(u32 ms) {
        if (s_.Running()) s_.AdvanceTo(s_.RunTick() + ms);
    }
    bool WaitForScreen(u32 id, u32 limitMs) {
        for (u32 t = 0; t < limitMs && Screen() != id; t += 30) Wait(30);
        return Screen() == id;
    }
    void WaitUntilIdle() {
        for (int i = 0; i < 60 && View() != nullptr && View()->IsBusy(); ++i) Wait(30);
        Wait(30);
    }
    void Key(u32 key) {
        Send({Next(40), EInputLogKind::KeyDown, key});
        Send({Next(20), EInputLogKind::KeyUp, key});
    }
    void Tap(i32 x, i32 y) {
        Send({Next(40), EInputLogKind::PenDown, 0, x, y});
        Send({Next(20), EInputLogKind::PenUp, 0, x, y});
    }
    void TapWidget(const CWidget& w) { Tap(w.x + w.w / 2, w.y + w.h / 2); }
    bool TapLayoutElement(u16 group, u32 element) {
        const u8* rect = FindLayoutRect(Game(), group, element);
        if (rect == nullptr) return false;
        const CLayoutElement e = ReadLayoutElement(rect);
        Tap(e.x + e.w / 2, e.y + e.h / 2);
        return true;
    }
    // A button of a shown button bar by its flag (CButtonBar::kOk, kYes, kNo).
    bool TapBarButton(CButtonBar& bar, u32 flag) {
        for (u32 i = 0; i < CButtonBar::kButtonCount; ++i)
            if (bar.buttons[i].commandId == flag && bar.buttons[i].IsShown()) {
                TapWidget(bar.buttons[i]);
                return true;
            }
        return false;
    }
    void Close() { Send({Next(40), EInputLogKind::Close}); }

private:
    // The tick of the next event: a little after now, or early in a new run.
    u32 Next(u32 ms) { return s_.Running() ? s_.RunTick() + ms : 200; }
    void Send(const CInputLogEvent& e) {
        s_.Deliver(e);
        log_.push_back(e);
    }

    CHeadlessSession& s_;
    std::vector<CInputLogEvent>& log_;
};

TEST(PlayedSession, Rerecord) {
    if (std::getenv("VANTREL_RERECORD_SESSION") == nullptr) GTEST_SKIP() << "set VANTREL_RERECORD_SESSION=1 to re-record";
    testing_support::GameEnvironment env;
    ASSERT_TRUE(env.CopyBuiltDatabase());
    std::vector<CInputLogEvent> log;
    CHeadlessSession session(env.dir.Path(), kSeed);
    ScriptedPlayer p(session, log);

    // The splash, then "Start new game": the intro's three pages, then creation and its OK.
    p.Key(27);
    ASSERT_TRUE(p.WaitForScreen(kScreenMainMenu, 1000));
    p.Wait(60);
    p.Key(40);
    p.Key(32);
    ASSERT_TRUE(p.WaitForScreen(kScreenPages, 1000));
    for (int page = 0; page < 3; ++page) {
        p.Wait(200);
        p.Key(32);
    }
    ASSERT_TRUE(p.WaitForScreen(kScreenCreatePlayer, 1000));
    auto* creation = static_cast<CCreatePlayerScreen*>(p.Game()->GetScreen(kScreenCreatePlayer));
    p.Wait(100);
    p.TapWidget(creation->okButton);
    ASSERT_TRUE(p.WaitForScreen(kScreenGame, 3000));
    p.WaitUntilIdle();

    // A few steps, then the rat: turn towards it, step along the longer way, strike when it stands
    // in front.
    CGameScreen* view = p.View();
    CMapSection* cellar = view->section;
    ASSERT_STREQ(cellar->GetName(), "base_cellar");
    for (u32 key : {38u, 39u, 38u, 37u}) {
        p.Key(key);
        p.WaitUntilIdle();
    }
    for (int acts = 0; acts < 3000 && cellar->FindMonster(1) != nullptr && p.Game()->player.hp > 0; ++acts) {
        p.Wait(30);
        if (view->screenMode == CGameScreen::kModeMessage) {
            if (auto* bar = dynamic_cast<CButtonBar*>(view->modalChild)) p.TapBarButton(*bar, CButtonBar::kOk);
            continue;
        }
        const CMonster* rat = cellar->FindMonster(1);
        if (rat == nullptr || view->IsBusy()) continue;
        const i32 dx = rat->x - view->playerX, dy = rat->y - view->playerY;
        const u32 want = std::abs(dx) >= std::abs(dy) ? (dx > 0 ? 1u : 3u) : (dy > 0 ? 2u : 0u);
        const u32 now = CGameScreen::DirectionOfFacing(view->facing);
        if (want != now)
            p.Key(want == ((now + 1) & 3) ? 39 : 37);
        else if (std::abs(dx) + std::abs(dy) == 1)
            ASSERT_TRUE(p.TapLayoutElement(43, 542));  // the attack button
        else
            p.Key(38);
    }
    ASSERT_EQ(cellar->FindMonster(1), nullptr) << "the rat lives";
    ASSERT_GT(p.Game()->player.hp, 0) << "the rat won";
    p.WaitUntilIdle();
    for (int i = 0; i < 5 && view->screenMode == CGameScreen::kModeMessage; ++i) {
        if (auto* bar = dynamic_cast<CButtonBar*>(view->modalChild)) p.TapBarButton(*bar, CButtonBar::kOk);
        p.WaitUntilIdle();
    }
    ASSERT_EQ(view->screenMode, CGameScreen::kModeNormal) << view->modalChild;

    // Escape, "Save Game" (the fourth entry in a game), the first slot, save; "Game saved.", OK.
    p.Key(27);
    ASSERT_TRUE(p.WaitForScreen(kScreenMainMenu, 300));
    p.Wait(60);
    for (int i = 0; i < 4; ++i) p.Key(40);
    p.Key(13);
    ASSERT_TRUE(p.WaitForScreen(kScreenLoadSave, 300));
    auto* slots = static_cast<CLoadSaveScreen*>(p.Game()->GetScreen(kScreenLoadSave));
    ASSERT_EQ(slots->mode, CLoadSaveScreen::kModeSave);
    p.Wait(60);
    p.TapWidget(slots->boxes[0]);
    p.Wait(60);
    p.TapWidget(slots->loadSaveButton);
    p.Wait(60);
    ASSERT_EQ(slots->message, "Game saved.");
    const std::string saved = SavedPart(session.StateText());
    ASSERT_TRUE(p.TapBarButton(slots->promptBar, CButtonBar::kOk));
    p.Wait(200);

    // The window closes; the game starts again, says no to the automatic save, and loads the slot.
    p.Close();
    p.Key(27);
    ASSERT_TRUE(p.WaitForScreen(kScreenMainMenu, 1000));
    auto* menu = static_cast<CMainMenuScreen*>(p.Game()->GetScreen(kScreenMainMenu));
    p.Wait(60);
    if (menu->pendingPrompt != kPromptNone) {
        ASSERT_TRUE(p.TapBarButton(menu->promptBar, CButtonBar::kNo));
    }
    p.Wait(60);
    p.Key(40);
    p.Key(40);
    p.Key(13);
    ASSERT_TRUE(p.WaitForScreen(kScreenLoadSave, 300));
    slots = static_cast<CLoadSaveScreen*>(p.Game()->GetScreen(kScreenLoadSave));
    ASSERT_EQ(slots->mode, CLoadSaveScreen::kModeLoad);
    p.Wait(60);
    p.TapWidget(slots->boxes[0]);
    p.Wait(60);
    p.TapWidget(slots->loadSaveButton);
    ASSERT_TRUE(p.WaitForScreen(kScreenGame, 3000)) << p.Game()->saveGames.LastError();
    p.WaitUntilIdle();
    ASSERT_EQ(SavedPart(session.StateText()), saved);

    std::ofstream out(kLog, std::ios::binary | std::ios::trunc);
    out << "# The first steps of a new game (tests/session/PlayedSessionTest.cpp says how to re-record).\n";
    for (const CInputLogEvent& e : log) out << FormatInputLogEvent(e) << "\n";
    std::ofstream(kState, std::ios::binary | std::ios::trunc) << saved;
}

}  // namespace
