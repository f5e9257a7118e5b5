// Composed frames compared with golden images, drawn in all three orientations of the frame buffer.
#include "display/FontSet.h"
#include "tests/display/DrawTestUtil.h"
#include "tests/support/FakeDisplayHost.h"
#include "tests/support/TestRecords.h"
#include "tests/support/Png.h"

#include <gtest/gtest.h>

namespace {

using drawtest::EncodePicture;
using drawtest::Frame;
using drawtest::Read;
using testing_support::MatchesGolden;
using testing_support::Rgb565Image;

// A 20 x 16 picture: a colour ramp with a white (see-through) diamond and a dark border.
std::vector<u16> Emblem() {
    std::vector<u16> c(20 * 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 20; ++x) {
            u16 r = static_cast<u16>(x * 31 / 19), g = static_cast<u16>(y * 63 / 15),
                b = static_cast<u16>(31 - r);
            u16 colour = static_cast<u16>((r << 11) | (g << 5) | b);
            if (std::abs(x - 10) + std::abs(y - 8) < 5) colour = 0xFFFF;
            if (x == 0 || y == 0 || x == 19 || y == 15) colour = 0x2104;
            c[y * 20 + x] = colour;
        }
    }
    return c;
}

Rgb565Image Image(const Frame& frame) {
    Rgb565Image image;
    image.width = frame.Width();
    image.height = frame.Height();
    image.pixels = frame.Logical();
    return image;
}

void DrawBlitScene(CRenderer& r) {
    auto e0 = EncodePicture(0, 20, 16, Emblem());
    auto e1 = EncodePicture(1, 20, 16, Emblem());
    auto e2 = EncodePicture(2, 20, 16, Emblem());
    CPictureData p0 = Read(e0), p1 = Read(e1), p2 = Read(e2);
    r.FillRect(0, 0, 160, 120, 0x18E3);
    r.DrawPictureTiled(0, 0, p0, 20, 16, 70, 40);
    r.DrawPictureTransparent(80, 4, p1, 20, 0, 0, 20, 16);
    r.DrawPictureTransparentMirrored(104, 4, p2, 20, 20, 16);
    r.DrawPicture(128, 4, p2, 20, 4, 2, 12, 12);
    r.DrawPictureStretched(4, 46, p1, 20, 20, 16, 47, 29);
    r.DrawPictureRotated(80, 62, p0, 20, 16, 30 * 65536);
    r.DrawPictureRotated(118, 62, p2, 20, 16, 200 * 65536);
    r.DrawPictureTiledTransparent(140, 40, p1, 20, 16, 30, 50);
    r.DrawPictureHalfTransparent(30, 84, p0, 20, 2, 20, 14);
    r.FillRect(60, 84, 40, 30, 0xF800);
    r.DrawPictureHalfTransparent(70, 90, p2, 20, 0, 20, 16);
    // Everything below reaches past the frame's edges.
    r.DrawPictureRotated(4, 116, p2, 20, 16, 45 * 65536);
    r.DrawPictureTiled(120, 100, p2, 20, 16, 60, 40);
    r.DrawPictureStretched(-10, 100, p0, 20, 20, 16, 30, 30);
}

TEST(GoldenScenes, BlitsInEveryEncodingAndOrientation) {
    for (int orientation : {0, 1, 2}) {
        SCOPED_TRACE(orientation);
        Frame frame(160, 120, orientation);
        DrawBlitScene(frame.R());
        EXPECT_TRUE(frame.GuardsIntact());
        EXPECT_TRUE(MatchesGolden("display_blits", Image(frame)));
    }
}

TEST(GoldenScenes, TextBoxesWithShadesAndAlignment) {
    testing_support::FakeDisplayHost host;
    host.mode = 11;
    for (int orientation : {0, 2}) {
        SCOPED_TRACE(orientation);
        Frame frame(160, 100, orientation, 0x0841);
        CFontSet fonts;
        ASSERT_TRUE(fonts.LoadFonts(host, &frame.R()));
        fonts.Select(0, 0xFFFFFF, 0x000000);
        fonts.DrawTextBox(4, 2, 156, 40, "Left aligned words that wrap in the box", 0);
        fonts.Select(1, 0x40C0FF, 0x202020);
        fonts.DrawTextBox(4, 40, 156, 60, "centred", CFontSet::kCentre);
        fonts.Select(2, 0x00FF00, 0xFF0000);
        fonts.DrawTextBox(4, 60, 156, 100, "right\rside", CFontSet::kAlignRight);
        fonts.DrawTextBox(120, 80, 200, 120, "WWWWWWWWWWWWWWWW", 0);
        EXPECT_TRUE(frame.GuardsIntact());
        EXPECT_TRUE(MatchesGolden("display_text", Image(frame)));
    }
}

}  // namespace
