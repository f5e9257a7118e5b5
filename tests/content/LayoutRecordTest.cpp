// The builder's layout-table writer against a record written by hand from the field list, and read
// by the game's look-ups.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/LayoutTable.h"
#include "tools/content/LayoutTable.h"

namespace {

TEST(LayoutRecord, MatchesTheFieldListByteForByteAndSharesLayoutsOfOneScale) {
    std::vector<LayoutGroupDef> groups = {{7, 100, 60, {{19, 0, 0, 100, 60}, {25, 10, 20, 30, 40}}},
                                          {9, 50, 40, {}}};
    std::vector<LayoutModeScale> modes = {{15, 1, 1}, {14, 1, 1}, {2, 1, 2}};
    // Directory: count 2, {offset, id} x 2. Group 7 at 10: 3 modes, layouts at 24 (modes 15 and 14
    // share it) and 50. Group 9 at 76: layouts at 90 and 96.
    std::vector<uint16_t> words = {
        2, 10,  7,  76, 9,  3,  24, 15, 24, 14, 50, 2,  100, 60, 2,  19, 0,
        0, 100, 60, 25, 10, 20, 30, 40, 50, 30, 2,  19, 0,   0,  50, 30, 25,
        5, 10,  15, 20, 3,  90, 15, 90, 14, 96, 2,  50, 40,  0,  25, 20, 0,
    };
    std::vector<uint8_t> expected;
    for (uint16_t w : words) expected.push_back(w & 0xFF), expected.push_back(w >> 8);
    std::vector<uint8_t> record = BuildLayoutRecord(groups, modes);
    EXPECT_EQ(record, expected);

    const u8* e = FindLayoutRectIn(record.data(), record.size(), 2, 7, 25);
    ASSERT_NE(e, nullptr);
    CLayoutElement r = ReadLayoutElement(e);
    EXPECT_EQ(r.x, 5);
    EXPECT_EQ(r.h, 20);
    u32 w = 0, h = 0;
    EXPECT_TRUE(GetLayoutSizeIn(record.data(), record.size(), 14, 9, w, h));
    EXPECT_EQ(w, 50u);
    EXPECT_EQ(h, 40u);
    EXPECT_EQ(FindLayoutRectIn(record.data(), record.size(), 1, 7, 25), nullptr) << "mode 1 is not listed";
}

TEST(LayoutRecord, RefusesATableBeyondSixteenBitOffsets) {
    LayoutGroupDef big{1, 800, 584, {}};
    for (uint16_t i = 0; i < 2000; ++i) big.elements.push_back({i, 0, 0, 1, 1});
    std::vector<LayoutGroupDef> groups(4, big);
    std::vector<LayoutModeScale> modes = {{15, 1, 1}};
    EXPECT_THROW(BuildLayoutRecord(groups, modes), std::length_error);
}

}  // namespace
