#include "display/Display.h"
#include "display/GDIDriver.h"
#include "display/MemoryDriver.h"
#include "display/RotationDriver.h"
#include "platform/headless/HeadlessWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using plat::EventType;

std::unique_ptr<plat::HeadlessWindow> MakeWindow(int w = 800, int h = 584) {
    auto window = plat::CreateHeadlessWindow();
    EXPECT_TRUE(window->Create("Vantrel", 50, 50, w, h));
    return window;
}

void Pump(plat::Window& window) {
    plat::Event event;
    while (window.PollEvent(event)) {
    }
}

void FillSurface(Surface& s, u16 base) {
    for (u32 y = 0; y < s.height; ++y)
        for (u32 x = 0; x < s.width; ++x)
            reinterpret_cast<u16*>(reinterpret_cast<u8*>(s.pixels) + y * s.pitch)[x] =
                static_cast<u16>(base + y * 64 + x);
}

TEST(Surface, PitchIsTheRowOfASixteenBitBitmap) {
    EXPECT_EQ(Surface::PitchFor(240), 480u);
    EXPECT_EQ(Surface::PitchFor(241), 484u);
    auto s = Surface::Create(3, 2);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->pitch, 8u);
    EXPECT_FALSE(Surface::Create(0, 5));
}

TEST(Display, CreateOnAWindowSizesItsClientAreaAndKeepsItsPicture) {
    struct Case {
        u32 width, height, orientation;
        int clientWidth, clientHeight;
        u32 gotOrientation;
    } cases[] = {
        {0, 0, 1, 320, 240, 1},
        {0, 480, 0, 240, 320, 0},
        {0, 0, 4, 240, 320, 0},
        {800, 584, 0, 800, 584, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " o" << c.orientation);
        auto window = MakeWindow(640, 480);
        DisplayParams params{c.width, c.height, c.orientation, 0};
        auto display = Display::Create(window.get(), &params);
        ASSERT_TRUE(display);
        EXPECT_EQ(window->ClientWidth(), c.clientWidth);
        EXPECT_EQ(window->ClientHeight(), c.clientHeight);
        EXPECT_EQ(window->ClientX(), 50);
        EXPECT_EQ(params.orientation, c.gotOrientation);
        EXPECT_EQ(params.swapEffect, kSwapCopy);  // the window driver keeps its picture
        EXPECT_FALSE(display->Impl()->HasOwnBackBuffer());
        EXPECT_EQ(dynamic_cast<RotationDriver*>(display->Impl()->Driver()), nullptr);
    }
    // The same surface every frame, presented whole.
    auto window = MakeWindow();
    DisplayParams params{800, 584, 0, 1};
    auto display = Display::Create(window.get(), &params);
    ASSERT_TRUE(display);
    EXPECT_EQ(display->GetBackBuffer(), nullptr);
    EXPECT_FALSE(display->Present(0));
    ASSERT_TRUE(display->Lock());
    Surface* first = display->GetBackBuffer();
    FillSurface(*first, 7);
    EXPECT_TRUE(display->Present(0));
    EXPECT_EQ(display->GetBackBuffer(), nullptr);
    ASSERT_TRUE(display->Lock());
    EXPECT_EQ(display->GetBackBuffer(), first);
    EXPECT_EQ(window->PresentCount(), 1u);
    EXPECT_EQ(window->Shown().At(5, 3), 7 + 3 * 64 + 5);
}

TEST(Display, SuspendedWhileInactiveAndRepaintedWhenUncovered) {
    auto window = MakeWindow(240, 320);
    DisplayParams params{240, 320, 0, 1};
    auto display = Display::Create(window.get(), &params);
    ASSERT_TRUE(display);
    ASSERT_TRUE(display->Lock());
    EXPECT_TRUE(display->Present(0));

    window->PushEvent({EventType::Deactivate});
    Pump(*window);
    EXPECT_FALSE(display->Lock());
    EXPECT_FALSE(display->Present(0));
    EXPECT_EQ(window->PresentCount(), 1u);
    // An uncovered window shows the last frame again, also while suspended.
    window->Invalidate();
    Pump(*window);
    EXPECT_EQ(window->RepaintCount(), 1u);

    window->PushEvent({EventType::Activate});
    Pump(*window);
    EXPECT_TRUE(display->Lock());
    EXPECT_TRUE(display->Present(0));
    EXPECT_EQ(window->PresentCount(), 2u);

    // The window's destruction unhooks the display before the frame sees it.
    u32 hooked = SubclassCount();
    window->Destroy();
    EXPECT_EQ(SubclassCount(), hooked - 1);
    EXPECT_TRUE(display->Lock());
    EXPECT_TRUE(display->Present(0));  // a gone window is simply not drawn to
}

TEST(Display, TheSeventeenthHookedWindowFails) {
    std::vector<std::unique_ptr<plat::HeadlessWindow>> windows;
    std::vector<std::unique_ptr<Display>> displays;
    const u32 before = SubclassCount();
    for (u32 i = before; i < kMaxSubclassed; ++i) {
        windows.push_back(MakeWindow(240, 320));
        DisplayParams params{240, 320, 0, 1};
        displays.push_back(Display::Create(windows.back().get(), &params));
        ASSERT_TRUE(displays.back());
    }
    auto extra = MakeWindow(240, 320);
    DisplayParams params{240, 320, 0, 1};
    EXPECT_FALSE(Display::Create(extra.get(), &params));
    displays.pop_back();
    EXPECT_TRUE(Display::Create(extra.get(), &params));
    // A display for a window that is gone is refused.
    auto gone = MakeWindow();
    gone->Destroy();
    EXPECT_FALSE(Display::Create(gone.get(), &params));
}

TEST(Display, DetectedModesOfTheWindowDriver) {
    const VideoDetect& detect = VideoDetect::Instance();
    ASSERT_EQ(detect.ModeCount(), 4u);
    const DisplayMode expected[4] = {{240, 320, 0}, {320, 240, 1}, {240, 320, 2}, {320, 240, 3}};
    for (u32 i = 0; i < 4; ++i) {
        EXPECT_EQ(detect.Mode(i).width, expected[i].width);
        EXPECT_EQ(detect.Mode(i).height, expected[i].height);
        EXPECT_EQ(detect.Mode(i).orientation, expected[i].orientation);
    }
    DisplayParams five{0, 0, 5, 1};
    EXPECT_FALSE(detect.SupportsOrientation(&five));
}

// A display that notes the swap effect it is asked for.
class NotingDisplay final : public DisplayImpl {
public:
    NotingDisplay() : DisplayImpl(nullptr) {}
    bool Initialize(const DisplayParams* params) override {
        asked = params->swapEffect;
        return DisplayImpl::Initialize(params);
    }
    std::unique_ptr<VideoDriver> CreateDriver(const DisplayParams*) override {
        auto driver = std::make_unique<MemoryDriver>(64, 32, 0, 0);
        driver->Initialize(nullptr, nullptr, nullptr);
        return driver;
    }
    u32 asked = 99;
};

TEST(Display, ADriverThatDiscardsGetsABackBufferCopiedOnPresent) {
    auto impl = std::make_unique<NotingDisplay>();
    NotingDisplay* noting = impl.get();
    DisplayParams params{64, 32, 0, 0};
    auto display = Display::CreateWith(std::move(impl), &params);
    ASSERT_TRUE(display);
    EXPECT_EQ(noting->asked, kSwapDiscard);
    EXPECT_EQ(params.swapEffect, kSwapCopy);
    EXPECT_TRUE(display->Impl()->HasOwnBackBuffer());
    EXPECT_TRUE(display->Impl()->FullRows());
    auto* device = static_cast<MemoryDriver*>(display->Impl()->Driver());
    ASSERT_TRUE(display->Lock());
    FillSurface(*display->GetBackBuffer(), 3);
    EXPECT_NE(display->GetBackBuffer(), device->Lock());
    EXPECT_TRUE(display->Present(1));
    EXPECT_EQ(device->BeforeCopies(), 1u);
    EXPECT_EQ(device->At(63, 31), 3 + 31 * 64 + 63);

    // Dirty rectangles are cut to the picture and rounded outwards to even numbers.
    DisplayRect r{-4, 3, 1000, 8};
    display->Impl()->SetDirtyRect(&r);
    EXPECT_EQ(device->Dirty().left, 0);
    EXPECT_EQ(device->Dirty().right, 64);
    EXPECT_EQ(display->Impl()->DirtyRect().top, 2);
    EXPECT_TRUE(display->Impl()->FullRows());
    DisplayRect part{3, 1, 9, 5};
    display->Impl()->SetDirtyRect(&part);
    EXPECT_EQ(display->Impl()->DirtyRect().left, 2);
    EXPECT_EQ(display->Impl()->DirtyRect().right, 10);
    EXPECT_FALSE(display->Impl()->FullRows());
    DisplayRect empty{10, 10, 5, 20};
    display->Impl()->SetDirtyRect(&empty);
    EXPECT_EQ(display->Impl()->DirtyRect().right, 0);
}

TEST(RotationDriver, CornersLandWhereTheTurnPutsThem) {
    // The device is turned by d quarters against the upright picture the game draws.
    struct Case {
        u32 deviceOrientation;
        u32 x, y;  // where the picture's top-left pixel lands on the device
    } cases[] = {{1, 47, 0}, {2, 47, 31}, {3, 0, 31}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deviceOrientation);
        u32 dw = c.deviceOrientation == 2 ? 48 : 48, dh = 32;
        auto impl = std::make_unique<MemoryDisplay>(dw, dh, c.deviceOrientation, kSwapCopy);
        MemoryDisplay* memory = impl.get();
        DisplayParams params{0, 0, 0, 1};
        auto display = Display::CreateWith(std::move(impl), &params);
        ASSERT_TRUE(display);
        auto* rotation = dynamic_cast<RotationDriver*>(display->Impl()->Driver());
        ASSERT_NE(rotation, nullptr);
        EXPECT_EQ(rotation->Difference(), c.deviceOrientation);
        EXPECT_EQ(params.orientation, 0u);
        ASSERT_TRUE(display->Lock());
        Surface* own = display->GetBackBuffer();
        EXPECT_EQ(own->width, c.deviceOrientation == 2 ? dw : dh);
        FillSurface(*own, 0);
        reinterpret_cast<u16*>(own->pixels)[0] = 0xF00D;
        ASSERT_TRUE(display->Present(0));
        EXPECT_EQ(memory->Device()->At(c.x, c.y), 0xF00D);
        // Every device pixel shows the own pixel that the turn maps onto it.
        for (u32 Y = 0; Y < dh; ++Y) {
            for (u32 X = 0; X < dw; ++X) {
                u32 w = own->width, h = own->height, sx = X, sy = Y;
                if (c.deviceOrientation == 1) sx = Y, sy = h - 1 - X;
                if (c.deviceOrientation == 2) sx = w - 1 - X, sy = h - 1 - Y;
                if (c.deviceOrientation == 3) sx = w - 1 - Y, sy = X;
                u16 expected = (sx == 0 && sy == 0) ? 0xF00D : static_cast<u16>(sy * 64 + sx);
                ASSERT_EQ(memory->Device()->At(X, Y), expected) << X << "," << Y;
            }
        }
    }
}

TEST(RotationDriver, PartialTilesStayInsideBothSurfaces) {
    auto impl = std::make_unique<MemoryDisplay>(37, 21, 1, 0);
    MemoryDisplay* memory = impl.get();
    DisplayParams params{0, 0, 0, 1};
    auto display = Display::CreateWith(std::move(impl), &params);
    ASSERT_TRUE(display);
    ASSERT_TRUE(display->Lock());
    Surface* own = display->GetBackBuffer();
    EXPECT_EQ(own->width, 21u);
    EXPECT_EQ(own->height, 37u);
    FillSurface(*own, 1);
    ASSERT_TRUE(display->Present(1));
    // Own (Y, h - 1 - X) for device (X, Y): the device's last column shows the own first row.
    EXPECT_EQ(memory->Device()->At(36, 20), 1 + 0 * 64 + 20);
    EXPECT_EQ(memory->Device()->At(0, 0), 1 + 36 * 64 + 0);
}

}  // namespace
