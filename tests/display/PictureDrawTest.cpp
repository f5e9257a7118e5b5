#include "display/FixedMath.h"
#include "tests/display/DrawTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace {

using drawtest::EncodePicture;
using drawtest::Frame;
using drawtest::MakePictureRecord;
using drawtest::Read;

constexpr u16 kWhite = 0xFFFF;
constexpr u16 kRed = 0xF800;
constexpr u16 kGreen = 0x07E0;
constexpr u16 kBlue = 0x001F;

// A picture whose every texel has its own colour: column + 32 * row + 1 (never 0xFFFF).
std::vector<u16> Numbered(int width, int height) {
    std::vector<u16> colours(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) colours[y * width + x] = static_cast<u16>(x + 32 * y + 1);
    return colours;
}

u16 NumberedAt(int column, int row) { return static_cast<u16>(column + 32 * row + 1); }

TEST(PictureRecord, HeaderAndColourTablePositions) {
    CPictureData p;
    auto r0 = MakePictureRecord(0, 3, 3, std::vector<u8>(9, 1), {0x1111, 0x2222});
    ASSERT_TRUE(ReadPicture(r0.data(), r0.size(), p));
    EXPECT_EQ(reinterpret_cast<const u8*>(p.table) - r0.data(), 18);  // 9 data bytes and one pad byte
    EXPECT_EQ(p.tableCount, 2u);
    EXPECT_EQ(PictureTexel(p, 2, 2), 0x2222);

    std::vector<u8> blocks(16384, 0);
    blocks[1 * 128 + 2] = 3;
    std::vector<u16> table(16, 0);
    table[4 * 3 + 1] = 0xBEEF;
    auto r1 = MakePictureRecord(1, 256, 256, blocks, table);
    ASSERT_TRUE(ReadPicture(r1.data(), r1.size(), p));
    EXPECT_EQ(reinterpret_cast<const u8*>(p.table) - r1.data(), 16392);
    EXPECT_EQ(PictureTexel(p, 5, 2), 0xBEEF);
    EXPECT_EQ(PictureDataBytes(2, 256, 256), 32768u);

    // Texel (3, 1) of encoding 1 is the bottom-right colour of block (1, 0).
    auto small = MakePictureRecord(1, 4, 2, {0, 1}, {0, 0, 0, 0, 10, 11, 12, 13});
    ASSERT_TRUE(ReadPicture(small.data(), small.size(), p));
    EXPECT_EQ(PictureTexel(p, 3, 1), 13);

    // The header-only reader agrees on the table position.
    CPictureData h;
    ReadPictureHeader(r1.data(), h);
    EXPECT_EQ(h.table, reinterpret_cast<const u16*>(r1.data() + 16392));
}

TEST(PictureRecord, BadRecordsAreRefusedAndDrawNothing) {
    struct Case {
        const char* what;
        std::vector<u8> record;
    } cases[] = {
        {"short header", {0, 0, 2, 0, 2}},
        {"encoding 3", MakePictureRecord(3, 2, 2, {1, 1, 1, 1}, {kRed})},
        {"odd width in encoding 1", MakePictureRecord(1, 3, 2, {1}, {kRed, kRed, kRed, kRed})},
        {"odd height in encoding 2", MakePictureRecord(2, 2, 3, {1, 0}, {kRed, kRed, kRed, kRed})},
        {"negative width", MakePictureRecord(0, -2, 2, {}, {})},
        {"data past the end", MakePictureRecord(0, 4, 4, {0, 0, 0}, {})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CPictureData p;
        EXPECT_FALSE(ReadPicture(c.record.data(), c.record.size(), p));
        Frame frame(8, 8, 0, kGreen);
        frame.R().DrawPicture(0, 0, p, 4, 0, 0, 4, 4);
        frame.R().DrawPictureTransparent(0, 0, p, 4, 0, 0, 4, 4);
        frame.R().DrawPictureStretched(0, 0, p, 4, 4, 4, 8, 8);
        frame.R().DrawPictureRotated(4, 4, p, 4, 4, 0);
        EXPECT_EQ(frame.Logical(), std::vector<u16>(64, kGreen));
    }
    // Indices past the colour table that the record holds draw black instead of reading beyond it.
    auto shortTable = MakePictureRecord(0, 2, 1, {0, 200}, {kRed});
    CPictureData p = Read(shortTable);
    Frame frame(2, 1, 0, kGreen);
    frame.R().DrawPicture(0, 0, p, 2, 0, 0, 2, 1);
    EXPECT_EQ(frame.At(0, 0), kRed);
    EXPECT_EQ(frame.At(1, 0), 0);
}

TEST(PictureBlits, EncodingOneBlockDrawsItsFourEntries) {
    const std::vector<u16> table = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    auto record = MakePictureRecord(1, 2, 2, {2}, table);
    Frame frame(2, 2);
    frame.R().DrawPicture(0, 0, Read(record), 2, 0, 0, 2, 2);
    EXPECT_EQ(frame.Logical(), (std::vector<u16>{9, 10, 11, 12}));
}

TEST(PictureBlits, SeeThroughTexelsPerBlitKindAndEncoding) {
    // Top-left block see-through in encodings 1 and 2; texel (2, 0) white.
    std::vector<u16> colours = {kWhite, kWhite, kWhite, kRed, kWhite, kWhite, kBlue, kBlue};
    for (u8 encoding : {0, 1, 2}) {
        SCOPED_TRACE(int(encoding));
        auto record = EncodePicture(encoding, 4, 2, colours);
        CPictureData p = Read(record);
        Frame transparent(4, 2, 0, kGreen), opaque(4, 2, 0, kGreen);
        transparent.R().DrawPictureTransparent(0, 0, p, 4, 0, 0, 4, 2);
        opaque.R().DrawPicture(0, 0, p, 4, 0, 0, 4, 2);
        EXPECT_EQ(transparent.Logical(),
                  (std::vector<u16>{kGreen, kGreen, kGreen, kRed, kGreen, kGreen, kBlue, kBlue}));
        EXPECT_EQ(opaque.Logical(), colours);
    }
    // A block of index 0 is left out even when table entry 0 holds colours.
    auto record = MakePictureRecord(1, 2, 2, {0}, {kRed, kRed, kRed, kRed});
    Frame frame(2, 2, 0, kGreen);
    frame.R().DrawPictureTransparent(0, 0, Read(record), 2, 0, 0, 2, 2);
    EXPECT_EQ(frame.Logical(), std::vector<u16>(4, kGreen));
    frame.R().DrawPicture(0, 0, Read(record), 2, 0, 0, 2, 2);
    EXPECT_EQ(frame.Logical(), std::vector<u16>(4, kRed));
}

TEST(PictureBlits, HalfTransparentBlend) {
    EXPECT_EQ(BlendHalf(kWhite, 0), (15 << 11) | (31 << 5) | 15);
    EXPECT_EQ(BlendHalf(0, 1), 0);
    EXPECT_EQ(BlendHalf(kRed, kBlue), (15 << 11) | 15);
    // Through the blit: every texel blends (0xFFFF too), source columns start at 0 on every line.
    auto record = EncodePicture(0, 2, 2, {kWhite, 0, kRed, kGreen});
    Frame frame(3, 2, 0, 0);
    frame.Set(2, 0, kBlue);
    frame.R().DrawPictureHalfTransparent(1, 0, Read(record), 2, 1, 2, 1);
    EXPECT_EQ(frame.At(1, 0), BlendHalf(kRed, 0));
    EXPECT_EQ(frame.At(2, 0), BlendHalf(kGreen, kBlue));
    EXPECT_EQ(frame.At(1, 1), 0);
}

TEST(PictureBlits, TransparentCutAtTheTopAndMirrored) {
    auto record = EncodePicture(0, 4, 12, Numbered(4, 12));
    CPictureData p = Read(record);
    Frame frame(4, 8, 0, 0);
    frame.R().DrawPictureTransparent(0, -3, p, 4, 0, 1, 4, 10);
    for (int line = 0; line < 7; ++line) EXPECT_EQ(frame.At(1, line), NumberedAt(1, 1 + 3 + line)) << line;
    EXPECT_EQ(frame.At(1, 7), 0);

    Frame mirrored(6, 1, 0, 0);
    mirrored.R().DrawPictureTransparentMirrored(1, 0, p, 4, 4, 1);
    EXPECT_EQ(mirrored.Logical(), (std::vector<u16>{0, NumberedAt(3, 0), NumberedAt(2, 0), NumberedAt(1, 0),
                                                    NumberedAt(0, 0), 0}));
}

TEST(PictureBlits, StretchSamplesTexelCentres) {
    for (u8 encoding : {0, 1, 2}) {
        SCOPED_TRACE(int(encoding));
        auto record = EncodePicture(encoding, 10, 2, Numbered(10, 2));
        Frame frame(4, 1);
        frame.R().DrawPictureStretched(0, 0, Read(record), 10, 10, 2, 4, 1);
        EXPECT_EQ(frame.Logical(),
                  (std::vector<u16>{NumberedAt(1, 1), NumberedAt(3, 1), NumberedAt(6, 1), NumberedAt(8, 1)}));
    }
    // A zero destination size draws nothing instead of dividing by zero.
    auto record = EncodePicture(0, 10, 2, Numbered(10, 2));
    Frame frame(4, 1, 0, 7);
    frame.R().DrawPictureStretched(0, 0, Read(record), 10, 10, 2, 0, 1);
    EXPECT_EQ(frame.Logical(), std::vector<u16>(4, 7));
}

TEST(PictureBlits, TilingCoversTheAreaWithStripsAndCorner) {
    auto record = EncodePicture(0, 10, 10, Numbered(10, 10));
    Frame frame(30, 20, 0, 0);
    frame.R().DrawPictureTiled(2, 3, Read(record), 10, 10, 25, 15);
    struct Probe {
        int x, y;
        u16 expected;
    } probes[] = {
        {2, 3, NumberedAt(0, 0)},
        {11, 12, NumberedAt(9, 9)},
        {12, 3, NumberedAt(0, 0)},
        {22, 3, NumberedAt(0, 0)},
        {26, 12, NumberedAt(4, 9)},
        {27, 3, 0},
        {2, 13, NumberedAt(0, 0)},
        {21, 17, NumberedAt(9, 4)},
        {22, 13, NumberedAt(0, 0)},
        {26, 17, NumberedAt(4, 4)},
        {2, 18, 0},
        {1, 3, 0},
    };
    for (const Probe& p : probes) EXPECT_EQ(frame.At(p.x, p.y), p.expected) << p.x << "," << p.y;
    // The transparent form leaves the see-through texels.
    std::vector<u16> holes = Numbered(10, 10);
    holes[0] = kWhite;
    auto holed = EncodePicture(0, 10, 10, holes);
    Frame t(25, 15, 0, 5);
    t.R().DrawPictureTiledTransparent(0, 0, Read(holed), 10, 10, 25, 15);
    EXPECT_EQ(t.At(0, 0), 5);
    EXPECT_EQ(t.At(20, 10), 5);
    EXPECT_EQ(t.At(21, 10), NumberedAt(1, 0));
}

TEST(PictureBlits, ShrinkFilters) {
    // One colour everywhere stays that colour for every size and encoding.
    for (u8 encoding : {0, 1, 2}) {
        auto record = EncodePicture(encoding, 50, 50, std::vector<u16>(2500, 0x7BEF));
        for (int n : {2, 3, 4}) {
            Frame frame(10 * n, 10 * n, 0, 0);
            if (n == 2) frame.R().DrawPictureShrunk20(0, 0, Read(record));
            if (n == 3) frame.R().DrawPictureShrunk30(0, 0, Read(record));
            if (n == 4) frame.R().DrawPictureShrunk40(0, 0, Read(record));
            EXPECT_EQ(frame.Logical(), std::vector<u16>(100 * n * n, 0x7BEF)) << int(encoding) << " " << n;
        }
    }
    // Red 31 in the first texel column of each block, 0 elsewhere: (31 x 10) / 25 = 12 in column 0.
    std::vector<u16> stripes(2500, 0);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; x += 5) stripes[y * 50 + x] = kRed;
    Frame frame(20, 20, 0, 0);
    frame.R().DrawPictureShrunk20(0, 0, Read(EncodePicture(0, 50, 50, stripes)));
    EXPECT_EQ(frame.At(0, 0), 12 << 11);
    EXPECT_EQ(frame.At(1, 0), 0);
    EXPECT_EQ(frame.At(2, 5), 12 << 11);
    // A picture of another size is stretched to the same output size, not read as 50 x 50.
    auto small = EncodePicture(0, 10, 10, Numbered(10, 10));
    Frame other(40, 40, 0, 0);
    other.R().DrawPictureShrunk40(0, 0, Read(small));
    EXPECT_TRUE(other.GuardsIntact());
    EXPECT_EQ(other.At(0, 0), NumberedAt(0, 0));
    EXPECT_EQ(other.At(39, 39), NumberedAt(9, 9));
}

TEST(PictureBlits, RotatedAtZeroAndNinetyDegrees) {
    std::vector<u16> colours = Numbered(8, 6);
    colours[1] = kWhite;  // see-through texel (1, 0)
    for (u8 encoding : {0, 2}) {
        SCOPED_TRACE(int(encoding));
        auto record = EncodePicture(encoding, 8, 6, colours);
        Frame upright(12, 12, 0, 0);
        upright.R().DrawPictureRotated(6, 6, Read(record), 8, 6, 0);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                u16 expected = (x == 1 && y == 0) ? 0 : colours[y * 8 + x];
                EXPECT_EQ(upright.At(2 + x, 3 + y), expected) << x << "," << y;
            }
        EXPECT_EQ(upright.At(1, 3), 0);
        EXPECT_EQ(upright.At(10, 3), 0);
    }
    // At 90 degrees the top edge lies on the left side and the top-left texel at the bottom-left.
    auto record = EncodePicture(0, 8, 6, Numbered(8, 6));
    Frame turned(12, 12, 0, 0);
    turned.R().DrawPictureRotated(6, 6, Read(record), 8, 6, 90 * 65536);
    EXPECT_EQ(turned.At(3, 9), NumberedAt(0, 0));  // bottom-left of the 6 x 8 turned picture
    EXPECT_EQ(turned.At(3, 2), NumberedAt(7, 0));  // top-left: the top edge's far end
    EXPECT_EQ(turned.At(8, 9), NumberedAt(0, 5));  // bottom-right
    EXPECT_EQ(turned.At(2, 5), 0);
    EXPECT_EQ(turned.View().flags & kViewFlagDrawn2D, 0);  // the rotated blit does not mark
}

TEST(PictureBlits, CopyPicture16AndFillRect) {
    std::vector<u16> pixels(5 * 3);
    std::iota(pixels.begin(), pixels.end(), 100);
    Frame frame(4, 3, 0, 0);
    frame.R().CopyPicture16(1, 1, pixels.data(), 5, 2, 1, 3, 2, pixels.size());
    EXPECT_EQ(frame.At(1, 1), 107);
    EXPECT_EQ(frame.At(3, 2), 114);
    frame.R().CopyPicture16(0, 0, pixels.data(), 5, 0, 2, 4, 3, pixels.size());  // one row left to read
    EXPECT_EQ(frame.At(3, 0), 113);
    EXPECT_EQ(frame.At(0, 1), 0);
    frame.R().FillRect(1, 0, 2, 2, 9);
    EXPECT_EQ(frame.Logical(), (std::vector<u16>{110, 9, 9, 113, 0, 9, 9, 109, 0, 112, 113, 114}));
    EXPECT_NE(frame.View().flags & kViewFlagDrawn2D, 0);
}

// Everything drawn half outside the frame, in all three orientations: the guard bands stay untouched
// and the three orientations show the same logical picture.
TEST(PictureBlits, ClippedToTheTargetInEveryOrientation) {
    auto picture = EncodePicture(2, 16, 12, Numbered(16, 12));
    auto opaque0 = EncodePicture(0, 16, 12, Numbered(16, 12));
    std::vector<u16> reference;
    for (int orientation : {0, 1, 2}) {
        SCOPED_TRACE(orientation);
        Frame frame(20, 14, orientation, 0x1234);
        CRenderer& r = frame.R();
        CPictureData p = Read(picture), q = Read(opaque0);
        for (int x : {-9, 11}) {
            for (int y : {-7, 8}) {
                r.FillRect(x, y, 16, 12, 0x4444);
                r.DrawPicture(x, y, q, 16, 0, 0, 16, 12);
                r.DrawPictureTransparent(x, y, p, 16, 0, 0, 16, 12);
                r.DrawPictureTransparentMirrored(x, y, p, 16, 16, 12);
                r.DrawPictureHalfTransparent(x, y, p, 16, 0, 16, 12);
                r.DrawPictureStretched(x, y, p, 16, 16, 12, 23, 17);
                r.DrawPictureTiled(x, y, p, 16, 12, 40, 30);
                r.DrawPictureRotated(x + 8, y + 6, p, 16, 12, 33 * 65536);
            }
        }
        r.DrawPicture(0, 0, p, 16, 10, 8, 16, 12);  // a source rectangle past the picture's edge
        r.DrawPicture(-5, -5, p, 16, -3, -3, 8, 8);
        r.FillRect(0x40000000, 0x40000000, 0x40000000, 0x40000000, 1);
        EXPECT_TRUE(frame.GuardsIntact());
        if (reference.empty())
            reference = frame.Logical();
        else
            EXPECT_EQ(frame.Logical(), reference);
    }
}

TEST(FixedMath, SineAndCosine) {
    EXPECT_EQ(SinFixed(0), 0);
    EXPECT_EQ(CosFixed(0), SinFixedQuarter(kFixedHalfPi));
    EXPECT_EQ(SinFixedQuarter(kFixedHalfPi), 65528);
    EXPECT_EQ(SinFixedQuarter(51471), 46336);  // sin(pi / 4) = 0.7070
    // Quadrant boundaries fall into the higher quadrant.
    EXPECT_EQ(SinFixed(kFixedHalfPi), SinFixedQuarter(kFixedPi - kFixedHalfPi));
    EXPECT_EQ(SinFixed(kFixedPi), 0);
    EXPECT_EQ(SinFixed(kFixedThreeHalfPi), -SinFixedQuarter(kFixedThreeHalfPi - kFixedPi));
    EXPECT_EQ(CosFixed(kFixedPi), -SinFixedQuarter(kFixedHalfPi));
    for (i32 a = 0; a < kFixedTwoPi; a += 997) {
        double angle = a / 65536.0;
        EXPECT_NEAR(SinFixed(a) / 65536.0, std::sin(angle), 0.001) << a;
        EXPECT_NEAR(CosFixed(a) / 65536.0, std::cos(angle), 0.001) << a;
    }
    EXPECT_EQ(DegreesToFixedRadians(270 * 65536), 308808);  // just under 3 pi / 2
}

TEST(FrameTarget, SpanAddressesInEveryOrientation) {
    u16 memory[64] = {};
    CFrameTarget t;
    t.pixels = memory + 40;
    t.pitch = 8;
    struct Case {
        int orientation;
        bool column;
        i32 line, from, to;
        std::ptrdiff_t start, end;
        i32 step;
    } cases[] = {
        {0, false, 2, 1, 4, 17, 20, 1}, {0, true, 3, 1, 2, 11, 19, 8},  {1, false, 0, 0, 3, 0, -24, -8},
        {1, true, 1, 0, 3, -8, -5, 1},  {2, false, 1, 0, 3, -1, 23, 8}, {2, true, 0, 0, 3, 0, -3, -1},
        {0, false, 1, 2, 2, 10, 10, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.orientation << (c.column ? " column" : " row"));
        t.orientation = c.orientation;
        SetFrameTargetSteps(t);
        CSpan span;
        if (c.column)
            GetColumnSpanAddresses(t, c.line, c.from, c.to, span);
        else
            GetSpanAddresses(t, c.line, c.from, c.to, span);
        EXPECT_EQ(span.start - t.pixels, c.start);
        EXPECT_EQ(span.end - t.pixels, c.end);
        EXPECT_EQ(c.column ? t.yStep : t.xStep, c.step);
    }
    t.orientation = 3;
    CSpan untouched;
    GetSpanAddresses(t, 0, 0, 1, untouched);
    EXPECT_EQ(untouched.start, nullptr);
}

}  // namespace
