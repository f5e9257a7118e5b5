// The real game on a headless window, for tools and tests that play it from recorded or generated
// input: a manual clock (time moves only when the session moves it, so nothing really waits), the
// settings in memory, the program and saved-game folders pointed at one folder, and a fixed seed
// (the game seeds its random generator from the clock's calendar time). The frame, the game and the
// window are the same ones the SDL window runs; only the platform behind them differs.
//
// A session may run the game several times: Stop ends the frame as closing the window does (the game
// writes its automatic save), and the next Start begins again in the same folder with the same
// settings store, as a player who starts the program again finds it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/InputLog.h"
#include "core/Types.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"

namespace plat {
class HeadlessWindow;
}
class CMainFrame;
class CGame;

// The period of the frame's timer, as the window delivers it.
constexpr u32 kSessionTimerPeriod = 30;

// What the client area showed after an event of a replay: the run (1 for the first start), the tick
// in that run and the frame's hash.
struct CFrameHashAt {
    u32 run = 0;
    u32 tick = 0;
    u64 hash = 0;
    bool operator==(const CFrameHashAt&) const = default;
};

class CHeadlessSession {
public:
    // `folder` holds the databases and receives the saved games; `seed` is the calendar time the
    // clock reports.
    CHeadlessSession(const std::string& folder, u32 seed);
    ~CHeadlessSession();
    CHeadlessSession(const CHeadlessSession&) = delete;
    CHeadlessSession& operator=(const CHeadlessSession&) = delete;

    // Makes the frame and starts the game; the window then has the focus. False, with the reason in
    // Error(), when the game could not start.
    bool Start();
    // Ends the game through its frame, as closing the window does.
    void Stop();
    // A started game whose frame has not asked to quit.
    bool Running() const;
    const std::string& Error() const { return error_; }

    // Moves the clock to `tick` of the current run, with a timer message every timer period on the way.
    void AdvanceTo(u32 tick);
    // Hands one logged event to the game at its tick (after the timers before it). A close ends the
    // run; any other event after the run has ended starts the game again first.
    void Deliver(const CInputLogEvent& event);
    // Milliseconds since the current run started.
    u32 RunTick() const { return clock_.TickCount() - runStart_; }
    u32 Runs() const { return runs_; }
    // Plays a whole log from a stopped session: the game starts at the first event, each event comes
    // at its tick, and after the last one the game runs on for `settleMs` (unless it ended). Returns
    // the frame's hash after every event of a running game.
    std::vector<CFrameHashAt> Play(const std::vector<CInputLogEvent>& events, u32 settleMs);

    // A hash (FNV-1a) of what the client area shows now; 0 when no game runs.
    u64 FrameHash() const;
    // Writes the client area as a PNG is not the platform's business: the raw RGB565 image instead.
    bool ReadFrame(std::vector<u16>& pixels, int& width, int& height) const;
    // The state a test or a replay checks at the end, one "name: value" per line: screen, map, cell,
    // facing, hit points, experience, gold, items, clock.
    std::string StateText() const;

    CGame* Game() const;
    // The id of the current screen (ui/ScreenIds.h), 0 when no game runs or no screen is current.
    u32 CurrentScreenId() const;
    CMainFrame* Frame() const { return frame_.get(); }
    plat::HeadlessWindow* Window() const { return window_; }
    plat::ManualClock& Clock() { return clock_; }

private:
    mutable plat::ManualClock clock_;  // its tick reading is not const
    plat::MemorySettingsStore store_;
    std::string savedProgramFolder_;
    plat::ScopedClock scopedClock_{clock_};
    plat::ScopedSettings scopedStore_{store_};
    std::unique_ptr<CMainFrame> frame_;
    plat::HeadlessWindow* window_ = nullptr;
    std::string error_;
    u32 runStart_ = 0;
    u32 nextTimer_ = 0;
    u32 runs_ = 0;
    bool runEnded_ = true;
};
