#include "core/PdbFile.h"
#include "data/RecordHolder.h"
#include "display/Video.h"
#include "tests/display/DrawTestUtil.h"
#include "tests/support/FakeDisplayHost.h"
#include "tests/support/TestRecords.h"
#include "display/Renderer.h"

#include <gtest/gtest.h>

namespace {

using testing_support::BuildLayoutTable;
using FakeHost = testing_support::FakeDisplayHost;

// A holder over bytes the test keeps.
struct Held : CRecordHolder {
    explicit Held(const std::vector<u8>& bytes) : keep(bytes), size(static_cast<u32>(bytes.size())) {
        data = keep.data();
        record = &handle;
        handle.data = keep.data();
        handle.size = size;
    }
    ~Held() override { record = nullptr; }
    std::vector<u8> keep;
    u32 size;
    CRecordData handle;
};

TEST(Video, CreateBindsTheFrameBufferToTheDisplaysBackBuffer) {
    FakeHost host;
    CVideo video(&host);
    ASSERT_TRUE(video.Create(host.window.get()));
    EXPECT_EQ(video.Width(), 800);
    EXPECT_EQ(video.Height(), 584);
    EXPECT_EQ(video.FrameBytes(), 800u * 584 * 2);
    ASSERT_FALSE(host.changes.empty());
    EXPECT_EQ(host.changes.back(), 15u);
    ASSERT_EQ(video.SyncBackBuffer(), 1u);
    Surface* back = video.GetDisplay()->GetBackBuffer();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(host.view.frameBuffer.pixels, back->pixels);
    EXPECT_EQ(host.view.frameBuffer.pitch, 800);
    EXPECT_EQ(video.GetRenderer()->viewState, &host.view);
    EXPECT_EQ(video.GetRenderer()->target2D.pixels, back->pixels);

    video.FillRect(10, 20, 3, 2, 0x1234);
    video.Present();
    EXPECT_EQ(host.window->Shown().At(12, 21), 0x1234);
    EXPECT_EQ(host.window->Shown().At(13, 21), 0);

    // While the window is inactive nothing can be locked and nothing is drawn.
    host.window->PushEvent({plat::EventType::Deactivate});
    plat::Event e;
    while (host.window->PollEvent(e)) {
    }
    EXPECT_EQ(video.SyncBackBuffer(), 0u);
}

TEST(Video, ViewRectangleFollowsTheLayoutAndTheViewSize) {
    FakeHost host;
    host.layout = BuildLayoutTable(
        {{43, 15, 800, 584, {{550, 0, 0, 480, 400}}}, {43, 6, 320, 240, {{550, 8, 4, 200, 150}}}});
    CVideo video(&host);
    struct Case {
        u32 mode, viewSet, size;
        u32 x, y, w, h;
    } cases[] = {
        {15, 0, 2, 50, 40, 380, 320}, {15, 0, 1, 25, 20, 430, 360}, {15, 0, 0, 0, 0, 480, 400},
        {15, 1, 2, 50, 40, 380, 320}, {6, 0, 2, 8, 4, 200, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " set " << c.viewSet << " size " << c.size);
        host.mode = c.mode;
        video.viewSet = c.viewSet;
        host.viewSize[0] = host.viewSize[1] = host.viewSize[2] = 0;
        host.viewSize[c.viewSet] = c.size;
        video.LayoutViewRect();
        EXPECT_EQ(host.view.viewX, c.x);
        EXPECT_EQ(host.view.viewY, c.y);
        EXPECT_EQ(host.view.viewWidth, c.w);
        EXPECT_EQ(host.view.viewHeight, c.h);
    }
    // A mode without the element keeps the rectangle it had.
    host.mode = 9;
    video.LayoutViewRect();
    EXPECT_EQ(host.view.viewWidth, 200u);
}

TEST(Video, RebuildForAnotherModeMakesADisplayOfItsSize) {
    FakeHost host;
    CVideo video(&host);
    ASSERT_TRUE(video.Create(host.window.get()));
    host.mode = 9;
    host.ChangeScreenMode(9);
    video.Rebuild(0);
    ASSERT_EQ(video.SyncBackBuffer(), 1u);
    EXPECT_EQ(video.Width(), 640);
    EXPECT_EQ(video.Height(), 480);
    Surface* back = video.GetDisplay()->GetBackBuffer();
    EXPECT_EQ(back->width, 640u);
    EXPECT_EQ(host.view.frameBuffer.pixels, back->pixels);
    EXPECT_EQ(host.view.frameBuffer.width, 640);
    EXPECT_EQ(host.window->ClientWidth(), 640);
    // Drawing across the whole new frame stays inside it.
    video.FillRect(-10, -10, 2000, 2000, 0x0F0F);
    video.Present();
    EXPECT_EQ(host.window->Shown().At(639, 479), 0x0F0F);
}

TEST(Video, FrameAndPictureWrappers) {
    FakeHost host;
    CVideo video(&host);
    ASSERT_TRUE(video.Create(host.window.get()));
    ASSERT_EQ(video.SyncBackBuffer(), 1u);
    const CFrameTarget& t = video.GetRenderer()->target2D;
    auto at = [&t](int x, int y) { return t.pixels[FrameOffset(t, x, y)]; };

    video.FillRect(0, 0, 20, 20, 0x5555);
    video.DrawFrame(5, 5, 1, 1);
    EXPECT_EQ(at(5, 5), 0);
    EXPECT_EQ(at(6, 5), 0x5555);
    EXPECT_EQ(at(5, 6), 0x5555);
    video.DrawFrame(8, 8, 4, 3);
    EXPECT_EQ(at(8, 8), 0);
    EXPECT_EQ(at(11, 10), 0);
    EXPECT_EQ(at(9, 9), 0x5555);

    Held picture(drawtest::EncodePicture(0, 2, 2, {1, 2, 3, 4}));
    video.DrawPicture(&picture, 30, 30);
    EXPECT_EQ(at(31, 31), 4);
    // A palette replaces the colour table and nothing else.
    const u16 palette[4] = {10, 20, 30, 40};
    CPaletteRef ref{palette, 4};
    video.DrawPictureWithPalette(&picture, &ref, 40, 40);
    EXPECT_EQ(at(41, 40), 20);
    // Bad records and empty holders draw nothing.
    Held bad(drawtest::MakePictureRecord(7, 2, 2, {0, 0, 0, 0}, {1}));
    CRecordHolder empty;
    video.FillRect(50, 50, 4, 4, 0x7777);
    video.DrawPicture(&bad, 50, 50);
    video.DrawPictureStretched(&empty, 50, 50, 4, 4);
    video.DrawPictureRotated(nullptr, 52, 52, 45);
    EXPECT_EQ(at(51, 51), 0x7777);
    // Rotation by whole degrees: 90 puts the top-left texel at the bottom-left.
    video.DrawPictureRotated(&picture, 60, 60, 90);
    EXPECT_EQ(at(59, 60), 1);
}

// A held picture is read once: drawing it again does not read (or check, or scan) its record again,
// so bytes changed under the holder after the first read do not reach the screen.
TEST(Video, AHeldPictureIsReadOnceNotOnEveryDraw) {
    FakeHost host;
    CVideo video(&host);
    ASSERT_TRUE(video.Create(host.window.get()));
    ASSERT_EQ(video.SyncBackBuffer(), 1u);
    const CFrameTarget& t = video.GetRenderer()->target2D;
    auto at = [&t](int x, int y) { return t.pixels[FrameOffset(t, x, y)]; };

    Held picture(drawtest::EncodePicture(0, 2, 2, {1, 2, 3, 4}));
    video.DrawPicture(&picture, 30, 30);
    ASSERT_EQ(at(31, 31), 4);
    picture.keep[0] = 7;  // an encoding no blit draws
    video.DrawPicture(&picture, 40, 40);
    EXPECT_EQ(at(40, 40), 1);
    EXPECT_EQ(at(41, 41), 4);
}

}  // namespace
