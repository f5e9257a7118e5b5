// The front-end tests' rig: the whole game started through its frame on a headless window, on a copy
// of the interface database that the build writes, with a manual clock and settings kept in memory.
// Time moves only when a test moves it, and every frame the game draws can be read back.
#pragma once

#include <memory>
#include <string>

#include "app/Game.h"
#include "app/MainFrame.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/support/Png.h"
#include "tests/support/TempDir.h"

namespace frontend_test {

class Rig {
public:
    Rig();
    ~Rig();

    // Starts the game (it ends on the splash screen). False, with the reason logged, on failure.
    bool Start();
    // Ends the game through its frame, as closing the window does.
    void Stop();

    // Moves the clock on and delivers one timer message.
    void Tick(u32 ms = 30);
    // Delivers ticks of 30 ms until the current screen is `id` or `limitMs` have passed.
    bool TickUntilScreen(u32 id, u32 limitMs);
    void Key(u32 key);
    // A pen tap: down and up at one point.
    void Tap(i32 x, i32 y);

    CGame* Game() const { return frame ? frame->game : nullptr; }
    CScreen* Current() const { return Game() ? Game()->currentScreen : nullptr; }
    // The frame buffer as the game last drew it.
    testing_support::Rgb565Image Capture() const;

    testing_support::TempDir dir;
    plat::ManualClock clock;
    std::unique_ptr<CMainFrame> frame;
    plat::HeadlessWindow* window = nullptr;
    // Start copies the four world databases too, unless this is cleared first.
    bool withWorlds = true;

private:
    std::string savedFolder_;
    plat::ScopedClock scopedClock_{clock};
    plat::MemorySettingsStore store_;
    plat::ScopedSettings scopedStore_{store_};
};

}  // namespace frontend_test
