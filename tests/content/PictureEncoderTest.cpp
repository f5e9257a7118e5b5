// The builder's picture encoder, read back texel by texel with the display's picture reader. The
// builder is a tool of its own; its encoder and canvas come from the builder library.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "display/Picture.h"
#include "tools/content/Canvas.h"
#include "tools/content/PictureEncoder.h"

namespace {

struct Decoded {
    int encoding = -1;
    int width = 0, height = 0;
    std::vector<uint16_t> texels;
    std::vector<bool> clear;
};

Decoded Decode(const std::vector<uint8_t>& record) {
    Decoded d;
    CPictureData p;
    if (!ReadPicture(record.data(), record.size(), p)) return d;
    d.encoding = p.encoding;
    d.width = p.width;
    d.height = p.height;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            d.texels.push_back(PictureTexel(p, x, y));
            d.clear.push_back(PictureTexelIsClear(p, x, y));
        }
    return d;
}

// A picture of `colours` distinct opaque colours with a transparent hole in its top-left 2 x 2 block;
// a negative count makes -colours kinds of 2 x 2 block instead, each of four colours of its own.
std::vector<uint16_t> TestPixels(int w, int h, int colours) {
    std::vector<uint16_t> px;
    for (int i = 0; i < w * h; ++i) {
        int x = i % w, y = i / w;
        int kind = colours < 0 ? ((y / 2) * (w / 2) + x / 2) % -colours : 0;
        int index = colours < 0 ? 4 * kind + 2 * (y % 2) + x % 2 : i % colours;
        px.push_back(static_cast<uint16_t>(37 * index + 1));
    }
    px[0] = px[1] = px[w] = px[w + 1] = kTransparent565;
    return px;
}

TEST(PictureEncoder, EveryEncodingReadsBackTexelForTexel) {
    struct Case {
        Encoding encoding;
        int width, height, colours;
        int expected;  // the encoding the record carries
    } cases[] = {
        {Encoding::Palette, 6, 4, 10, 0},  {Encoding::Palette, 7, 5, 10, 0},  // odd data length: padded table
        {Encoding::Blocks8, 8, 6, 12, 1},  {Encoding::Blocks16, 8, 6, 12, 2},
        {Encoding::Auto, 16, 16, 3, 1},    {Encoding::Auto, 9, 7, 40, 0},  // odd sizes: palette only
        {Encoding::Auto, 64, 64, -300, 2},  // 300 kinds of block with 1200 colours: only encoding 2 fits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.width << "x" << c.height << " encoding " << static_cast<int>(c.encoding));
        std::vector<uint16_t> px = TestPixels(c.width, c.height, c.colours);
        Decoded d = Decode(EncodePicture565(px, c.width, c.height, c.encoding));
        ASSERT_EQ(d.encoding, c.expected);
        ASSERT_EQ(d.width, c.width);
        ASSERT_EQ(d.height, c.height);
        EXPECT_EQ(d.texels, px);
        // The transparent blits leave out exactly the see-through texels.
        for (size_t i = 0; i < px.size(); ++i) EXPECT_EQ(d.clear[i], px[i] == kTransparent565) << i;
    }
}

TEST(PictureEncoder, OpaqueWhiteStaysVisibleAndHalfTransparentTexelsRoundToTheirSide) {
    Canvas c(4, 2);
    c.Set(0, 0, Rgb(0xFFFFFF));
    c.Set(1, 0, Rgba{0, 0, 0, 127});    // under half covered: see-through
    c.Set(2, 0, Rgba{255, 0, 0, 128});  // half covered: drawn
    std::vector<uint16_t> px = ToPixels565(c);
    EXPECT_NE(px[0], kTransparent565);
    EXPECT_EQ(px[1], kTransparent565);
    EXPECT_EQ(px[2], 0xF800);
    EXPECT_EQ(px[4], kTransparent565);  // never painted
}

TEST(PictureEncoder, ManyColoursInAnOddPictureAreReducedToAPalette) {
    std::vector<uint16_t> px;
    for (int i = 0; i < 33 * 21; ++i) px.push_back(static_cast<uint16_t>(i * 37));
    Decoded d = Decode(EncodePicture565(px, 33, 21));
    ASSERT_EQ(d.encoding, 0);
    std::vector<uint16_t> distinct(d.texels);
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    EXPECT_LE(distinct.size(), 256u);
    // The reduction keeps colours near their originals: every channel within a quarter of its range.
    for (size_t i = 0; i < px.size(); ++i) {
        EXPECT_LE(std::abs((px[i] >> 11) - (d.texels[i] >> 11)), 8) << i;
        EXPECT_LE(std::abs(((px[i] >> 5) & 63) - ((d.texels[i] >> 5) & 63)), 16) << i;
    }
}

TEST(PictureEncoder, RefusesSizesThePictureHeaderCannotHold) {
    std::vector<uint16_t> none;
    EXPECT_THROW(EncodePicture565(none, 0, 0), std::invalid_argument);
    std::vector<uint16_t> three(3, 0);
    EXPECT_THROW(EncodePicture565(three, 3, 1, Encoding::Blocks8), std::invalid_argument);
    EXPECT_THROW(EncodePicture565(three, 2, 2), std::invalid_argument);  // size and pixel count disagree
}

}  // namespace
