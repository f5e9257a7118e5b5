// The texture and mask descriptors of picture records, as the 3D fillers read them.
#include "display/Picture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<u8> Header(u8 encoding, i16 w, i16 h, size_t dataBytes, size_t tableEntries) {
    std::vector<u8> r(8 + dataBytes + (dataBytes & 1) + 2 * tableEntries, 0);
    r[0] = encoding;
    r[2] = static_cast<u8>(w), r[3] = static_cast<u8>(w >> 8);
    r[4] = static_cast<u8>(h), r[5] = static_cast<u8>(h >> 8);
    return r;
}

TEST(TextureDescTest, TableOffsetsByEncoding) {
    struct Case {
        u8 encoding;
        i16 w, h;
        size_t data, tableAt;
    } cases[] = {
        {0, 3, 3, 9, 18},
        {1, 256, 256, 16384, 16392},
        {2, 256, 256, 32768, 32776},
    };
    for (const Case& c : cases) {
        std::vector<u8> r = Header(c.encoding, c.w, c.h, c.data, 4);
        CTextureDesc t;
        ReadPictureHeader(r.data(), t);
        EXPECT_EQ(t.encoding, c.encoding);
        EXPECT_EQ(t.width, c.w);
        EXPECT_EQ(t.height, c.h);
        EXPECT_EQ(t.data, r.data() + 8);
        EXPECT_EQ(reinterpret_cast<const u8*>(t.table), r.data() + c.tableAt);
    }
}

TEST(TextureDescTest, BlockTexelsTakeTheirCornerOfTheBlockTable) {
    // 256 x 256 in encoding 1: texel (5, 2) is the top-right colour of the block at byte 1 * 128 + 2;
    // texel (3, 1) the bottom-right colour of block (1, 0).
    std::vector<u8> r = Header(1, 256, 256, 16384, 4 * 8);
    r[8 + 130] = 5;
    r[8 + 1] = 3;
    CPictureData p;
    ASSERT_TRUE(ReadPicture(r.data(), r.size(), p));
    u16* table = reinterpret_cast<u16*>(r.data() + 16392);
    for (u16 i = 0; i < 32; ++i) table[i] = static_cast<u16>(1000 + i);
    CTextureDesc t = TextureDescOf(p);
    EXPECT_EQ(GroundTexel(t, 5, 2), 1000 + 4 * 5 + 1);
    EXPECT_EQ(GroundTexel(t, 3, 1), 1000 + 4 * 3 + 3);
    EXPECT_EQ(TextureTexel(t, 5, 2), 1000 + 4 * 5 + 1);
    // A replacement colour table is a block table like the record's own; an index past it is black.
    std::vector<u16> palette(24, 7);
    palette[4 * 5 + 1] = 0x1234;
    CTextureDesc replaced = TextureDescOf(p, palette.data(), static_cast<u32>(palette.size()));
    EXPECT_EQ(GroundTexel(replaced, 5, 2), 0x1234);
    r[8 + 130] = 6;
    EXPECT_EQ(GroundTexel(replaced, 5, 2), 0);
}

TEST(TextureDescTest, MaskBitsCoverTwoByTwoTexels) {
    std::vector<u8> r = Header(0, 256, 8, 256 * 8, 1);
    r[8 + 34] = 0x02;  // texel (34, 5): byte 16 * 2 + 2, bit 1
    CPictureData p;
    ASSERT_TRUE(ReadPicture(r.data(), r.size(), p));
    CMaskDesc m = MaskDescOf(p);
    EXPECT_EQ(m.bits, r.data() + 8);
    EXPECT_EQ(m.width, 256);
    for (i32 y = 0; y < 8; ++y) {
        for (i32 x = 0; x < 256; ++x) {
            bool expected = (x == 34 || x == 35) && (y == 4 || y == 5);
            ASSERT_EQ(MaskBit(m, x, y), expected) << x << "," << y;
            // The same bit read as the fillers do: bit (x / 2) mod 32 of little-endian word 4 (y / 2) + x / 64.
            const u8* w = m.bits + 4 * (4 * (y / 2) + x / 64);
            u32 word = w[0] | (w[1] << 8) | (w[2] << 16) | (static_cast<u32>(w[3]) << 24);
            ASSERT_EQ(((word >> ((x / 2) % 32)) & 1) != 0, expected);
        }
    }
}

}  // namespace
