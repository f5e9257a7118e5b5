// A real window on a (virtual) X server shows exactly what the headless window keeps. Without a
// display the test is skipped, unless VANTREL_REQUIRE_DISPLAY=1 asks for one (as the CI does).
#include "display/Display.h"
#include "platform/Window.h"
#include "tests/display/DrawTestUtil.h"
#include "display/Renderer.h"
#include "display/ViewState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

// The system's D-Bus library keeps a connection that SDL opens for the screen saver and input methods
// and never frees; the leak checker is not to count it against the game.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

using drawtest::EncodePicture;
using drawtest::Read;

std::vector<u16> Checker(int w, int h) {
    std::vector<u16> c(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            c[y * w + x] = ((x / 3 + y / 3) & 1) ? 0xFFFF : static_cast<u16>(x * 2048 + y * 33);
    return c;
}

// Draws a composed frame on the window through a display and presents it; returns what the client
// area shows afterwards.
plat::ClientImage PresentScene(plat::Window& window) {
    plat::ClientImage shown;
    DisplayParams params{96, 64, 0, 1};
    auto display = Display::Create(&window, &params);
    EXPECT_TRUE(display);
    if (!display || !display->Lock()) return shown;
    Surface* back = display->GetBackBuffer();
    CViewState view;
    view.frameBuffer = {back->pixels, static_cast<i32>(back->width), static_cast<i32>(back->height),
                        static_cast<i32>(back->pitch / 2), 0};
    CRenderer r;
    r.Init();
    r.viewState = &view;
    r.SetupView();
    auto picture = EncodePicture(2, 24, 18, Checker(24, 18));
    CPictureData p = Read(picture);
    r.FillRect(0, 0, 96, 64, 0x39E7);
    r.DrawPictureTiled(2, 2, p, 24, 18, 50, 30);
    r.DrawPictureTransparent(60, 4, p, 24, 0, 0, 24, 18);
    r.DrawPictureRotated(48, 46, p, 24, 18, 40 * 65536);
    r.DrawPictureStretched(70, 30, p, 24, 24, 18, 30, 40);
    EXPECT_TRUE(display->Present(0));
    EXPECT_TRUE(window.ReadClientImage(shown));
    return shown;
}

TEST(SdlWindow, ShowsWhatTheHeadlessWindowKeeps) {
    const char* x = std::getenv("DISPLAY");
    const char* require = std::getenv("VANTREL_REQUIRE_DISPLAY");
    if (!x || !*x) {
        if (require && std::strcmp(require, "1") == 0)
            FAIL() << "VANTREL_REQUIRE_DISPLAY=1 but no DISPLAY is set";
        GTEST_SKIP() << "no X display";
    }
    auto headless = plat::CreateWindowFor(plat::WindowBackend::Headless);
    ASSERT_TRUE(headless->Create("Vantrel", 50, 50, 96, 64));
    plat::ClientImage expected = PresentScene(*headless);

    auto sdl = plat::CreateWindowFor(plat::WindowBackend::Sdl);
    ASSERT_TRUE(sdl->Create("Vantrel - test", 50, 50, 96, 64));
    sdl->Show();
    plat::Event event;
    for (int i = 0; i < 20; ++i) sdl->PollEvent(event);  // let the window map
    plat::ClientImage shown = PresentScene(*sdl);
    ASSERT_EQ(shown.width, 96);
    ASSERT_EQ(shown.height, 64);
    ASSERT_EQ(expected.pixels.size(), shown.pixels.size());
    int differing = 0;
    for (size_t i = 0; i < shown.pixels.size(); ++i) differing += shown.pixels[i] != expected.pixels[i];
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(sdl->Title(), "Vantrel - test");
    sdl->Destroy();
    EXPECT_FALSE(sdl->IsAlive());
}

}  // namespace
