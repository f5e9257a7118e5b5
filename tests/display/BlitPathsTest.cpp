// The unturned screen has its own fast blit, fill and glyph loops; a turned screen still walks every
// span one pixel at a time, as all drawing did before the fast loops. Random drawing on the three turns
// must leave the same logical picture, so the fast loops are checked against the plain ones pixel for
// pixel. The turned frames also draw with the colour-table check forced on (no recorded largest index).
#include "tests/display/DrawTestUtil.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using drawtest::Frame;
using drawtest::MakePictureRecord;

// A picture of random texels; its table is full, just large enough for the indices used, or short so
// that some texels index past it. About one colour in eight is the see-through colour.
std::vector<u8> RandomPicture(std::mt19937& rng, u8 encoding, i16 width, i16 height) {
    const u32 kinds = rng() % 3;
    const u32 blocks =
        encoding == 0 ? static_cast<u32>(width * height) : static_cast<u32>(width * height / 4);
    const u32 largest =
        encoding == 0 ? (kinds == 0 ? 255 : 1 + rng() % 40) : (kinds == 0 ? 255 : 1 + rng() % 60);
    std::vector<u8> data;
    for (u32 i = 0; i < blocks; ++i) {
        const u32 index = rng() % (largest + 1);
        data.push_back(static_cast<u8>(index));
        if (encoding == 2) data.push_back(static_cast<u8>(rng() % 4 == 0 ? rng() : 0));
    }
    u32 entries = encoding == 0 ? largest + 1 : 4 * (largest + 1);
    if (kinds == 0) entries = encoding == 0 ? 256 : 1024;
    if (kinds == 2) entries = rng() % entries;
    std::vector<u16> table(entries);
    for (u16& c : table) c = rng() % 8 == 0 ? kTransparentPixel : static_cast<u16>(rng());
    return MakePictureRecord(encoding, width, height, data, table);
}

struct Frames {
    static constexpr int kWidth = 61, kHeight = 47;
    Frame f[3] = {Frame(kWidth, kHeight, 0), Frame(kWidth, kHeight, 1), Frame(kWidth, kHeight, 2)};
    explicit Frames(std::mt19937& rng) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const u16 c = static_cast<u16>(rng());
                for (Frame& frame : f) frame.Set(x, y, c);
            }
    }
};

// The per-texel table check is skipped only when the recorded largest index has its colours.
TEST(BlitPathsTest, TableCoversTheLargestIndexRead) {
    struct Case {
        const char* what;
        u8 encoding;
        std::vector<u8> data;
        size_t entries;
        bool covered;
    } cases[] = {
        {"encoding 0, largest 5, six entries", 0, {0, 5, 2, 1}, 6, true},
        {"encoding 0, largest 5, five entries", 0, {0, 5, 2, 1}, 5, false},
        {"encoding 1, block 3, sixteen entries", 1, {3}, 16, true},
        {"encoding 1, block 3, fifteen entries", 1, {3}, 15, false},
        {"encoding 2, block 0x102, full blocks", 2, {0x02, 0x01}, 4 * 0x103, true},
        {"encoding 2, block 0x102, one short", 2, {0x02, 0x01}, 4 * 0x103 - 1, false},
    };
    for (const Case& c : cases) {
        const std::vector<u8> record =
            MakePictureRecord(c.encoding, 2, 2, c.data, std::vector<u16>(c.entries, 0x1234));
        CPictureData p;
        ASSERT_TRUE(ReadPicture(record.data(), record.size(), p)) << c.what;
        EXPECT_EQ(PictureTableCoversData(p), c.covered) << c.what;
    }
    // A header-only read trusts the record: its table counts as covering everything.
    const std::vector<u8> record = MakePictureRecord(2, 2, 2, {0xFF, 0xFF}, {1, 2, 3, 4});
    CPictureData header;
    ReadPictureHeader(record.data(), header);
    EXPECT_TRUE(PictureTableCoversData(header));
}

TEST(BlitPathsTest, UnturnedAndTurnedScreensDrawTheSame) {
    std::mt19937 rng(2024);
    for (int trial = 0; trial < 400; ++trial) {
        const u8 encoding = static_cast<u8>(rng() % 3);
        const i16 width = static_cast<i16>(2 * (1 + rng() % 20));
        const i16 height = static_cast<i16>(2 * (1 + rng() % 16));
        const std::vector<u8> record = RandomPicture(rng, encoding, width, height);
        CPictureData picture;
        ASSERT_TRUE(ReadPicture(record.data(), record.size(), picture));
        CPictureData checked = picture;
        checked.maxIndex = CPictureData::kUnknownIndex;
        const CPictureData* drawn[3] = {&picture, &checked, &picture};

        Frames frames(rng);
        auto any = [&](int lo, int hi) {
            return lo + static_cast<int>(rng() % static_cast<u32>(hi - lo + 1));
        };
        for (int op = 0; op < 6; ++op) {
            const int kind = any(0, 6);
            const int x = any(-30, 70), y = any(-30, 55), sx = any(-3, width), sy = any(-3, height);
            const int w = any(0, 50), h = any(0, 40);
            const int stride = rng() % 4 == 0 ? width - 2 * any(0, width / 2 - 1) : width;
            const u16 colour = static_cast<u16>(rng());
            for (int k = 0; k < 3; ++k) {
                CRenderer& r = frames.f[k].R();
                const CPictureData& p = *drawn[k];
                switch (kind) {
                case 0: r.DrawPicture(x, y, p, stride, sx, sy, w, h); break;
                case 1: r.DrawPictureTransparent(x, y, p, stride, sx, sy, w, h); break;
                case 2: r.DrawPictureHalfTransparent(x, y, p, stride, sy, w, h); break;
                case 3: r.DrawPictureTransparentMirrored(x, y, p, stride, w, h); break;
                case 4: r.DrawPictureTiled(x, y, p, width, height, w, h); break;
                case 5: r.FillRect(x, y, w, h, colour); break;
                default: r.DrawGlyph(x, y, p, sx, w % 12, colour, static_cast<u16>(~colour), 0x1234); break;
                }
            }
            SCOPED_TRACE("trial " + std::to_string(trial) + " op " + std::to_string(kind) + " encoding " +
                         std::to_string(encoding));
            const std::vector<u16> unturned = frames.f[0].Logical();
            ASSERT_EQ(unturned, frames.f[1].Logical());
            ASSERT_EQ(unturned, frames.f[2].Logical());
        }
        for (const Frame& f : frames.f) ASSERT_TRUE(f.GuardsIntact());
    }
}

}  // namespace
