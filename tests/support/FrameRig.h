// The one rig of the tests that run the whole game: the frame on a headless window, in a game
// environment (temporary program folder, manual clock, settings in memory), started on the interface
// database that the build writes or on one the test wrote into the folder. Time moves only when a
// test moves it, and every frame the game draws can be read back.
#pragma once

#include <memory>

#include "app/Game.h"
#include "app/MainFrame.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/support/GameEnvironment.h"
#include "tests/support/Png.h"

namespace testing_support {

// The layouts that golden frames are drawn in: a wide and a narrow one, with the mode's name in the
// file names and the size of its screen.
struct GoldenLayout {
    u32 mode;
    const char* name;
    int width, height;
};
inline constexpr GoldenLayout kGoldenLayouts[] = {{15, "mode15", 800, 584}, {16, "mode16", 400, 292}};

class FrameRig {
public:
    FrameRig() = default;
    ~FrameRig();
    FrameRig(const FrameRig&) = delete;
    FrameRig& operator=(const FrameRig&) = delete;

    // Makes the frame (the main frame from then on) and runs its start-up on the database in the
    // program folder; the window then has the focus. False on failure, the reason in frame->Error().
    bool Start();
    // The same on a copy of the database that the build writes.
    bool StartOnBuiltDatabase();
    // The same, past the splash, with the game's own world databases open as for a new game.
    bool StartWithWorld();
    // The same, with a new game entered in the game view as character creation starts one.
    bool StartNewGameInView();
    // Puts the started game into another layout mode with that layout's own interface pictures and
    // fonts, as a start in that mode would load them (the frame keeps its size). False on failure.
    bool UseLayoutMode(u32 mode);
    // Ends the game through its frame, as closing the window does.
    void Stop();

    // Hands every waiting platform event to the frame.
    void Drain();
    // Moves the clock on and delivers one timer message.
    void Tick(u32 ms = 30);
    // Delivers ticks of 30 ms until the current screen is `id` or `limitMs` have passed.
    bool TickUntilScreen(u32 id, u32 limitMs);
    void Key(u32 key);
    // A pen tap: down and up at one point.
    void Tap(i32 x, i32 y);
    // A tap in the middle of a layout element of a group in the current layout mode; false when the
    // layout table has no such element.
    bool TapLayoutElement(u16 group, u32 element);

    CGame* Game() const { return frame ? frame->game.get() : nullptr; }
    CScreen* Current() const { return Game() ? Game()->currentScreen : nullptr; }
    // The frame buffer as the game last drew it.
    Rgb565Image Capture() const;

    GameEnvironment env;
    std::unique_ptr<CMainFrame> frame;
    plat::HeadlessWindow* window = nullptr;
};

}  // namespace testing_support
