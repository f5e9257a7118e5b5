// The test rig of the widget tests: a game object with a small frame buffer, fonts drawn from
// synthetic strips that follow the real glyph tables, a screen to own widgets, a manual clock and
// pictures built in memory.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/Game.h"
#include "core/Types.h"
#include "data/RecordHolder.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "platform/Clock.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/support/FakeDisplayHost.h"
#include "tests/support/Png.h"
#include "tests/support/TestRecords.h"
#include "ui/Screen.h"
#include "display/Renderer.h"
#include "world/GameScreen.h"
#include "display/ViewState.h"

namespace widgetrig {

using testing_support::BuildLayoutTable;
using testing_support::LayoutElementSpec;
using testing_support::LayoutSpec;

// A held picture of one colour with a darker one-pixel border, or of a colour function.
std::unique_ptr<CRecordHolder> MakePicture(int width, int height, u16 colour);
std::unique_ptr<CRecordHolder> MakePicture(int width, int height, const std::function<u16(int, int)>& colour);

// A screen that records the commands its widgets and dialogs hand it.
class RecordingScreen : public CScreen {
public:
    u32 OnCommand(u32 command) override {
        commands.push_back(command);
        return answer;
    }
    std::vector<u32> commands;
    u32 answer = 0;
};

// The 3D view rectangle of the rig's game view (layout group 43, element 550).
struct RigView {
    u16 x = 0, y = 0, width = 0, height = 0;
};

class Rig {
public:
    // A game in the layout mode with a width x height frame buffer; `layouts` are added to the layout
    // table beside the game view's rectangle.
    explicit Rig(u32 layoutMode = 15, int width = 320, int height = 200, RigView view = {},
                 std::vector<LayoutSpec> layouts = {});
    ~Rig();

    // The frame buffer filled with one colour.
    void Clear(u16 colour);
    testing_support::Rgb565Image Capture(int x, int y, int width, int height) const;
    testing_support::Rgb565Image Capture() const { return Capture(0, 0, width, height); }
    u16 Pixel(int x, int y) const;
    u32 Presents() const { return window->PresentCount(); }
    // Gives the game the interface pictures that the widgets draw: the message frame, the button
    // frames, the progress frame and the gauge sets, each a small picture of its own colours.
    void InstallInterfacePictures();
    // Holds the picture as the game's interface picture of that base number.
    void SetInterfacePicture(u16 base, std::unique_ptr<CRecordHolder> picture);

    const int width, height;
    plat::ManualClock clock;
    plat::ScopedClock scopedClock{clock};
    // Declared before the game: the game's video output draws into the host's window to the end.
    testing_support::FakeDisplayHost host{width, height};
    plat::HeadlessWindow* window = host.window.get();
    CGame game;
    CFontSet& fonts{*(game.fonts = std::make_unique<CFontSet>())};
    CVideo* video = nullptr;            // owned by the game
    CGameScreen* gameScreen = nullptr;  // owned by the game
    RecordingScreen* screen = nullptr;  // owned by the game; the current screen
};

}  // namespace widgetrig
