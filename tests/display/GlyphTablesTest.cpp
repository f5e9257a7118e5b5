#include "display/GlyphTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

std::map<int, GlyphRecord> ByCode(const GlyphTable& table) {
    std::map<int, GlyphRecord> codes;
    for (const GlyphRecord& g : table.glyphs) codes[g.code] = g;  // a code listed twice takes its last
    return codes;
}

TEST(GlyphTables, EachStripHasItsLineHeight) {
    struct Row {
        u32 record;
        int lineHeight;
    } rows[] = {{3011, 16}, {3010, 15}, {3012, 18}, {3013, 20}, {3014, 26}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.record);
        const GlyphTable* table = FindGlyphTable(row.record);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->lineHeight, row.lineHeight);
        EXPECT_LE(table->stripHeight, table->lineHeight);
    }
    EXPECT_EQ(FindGlyphTable(3003), nullptr);
}

TEST(GlyphTables, TellingRowsHold) {
    struct Row {
        u32 record;
        int code, first, end;
    } rows[] = {
        {3011, ' ', 0, 4},     {3011, '!', 5, 9},     {3011, 'a', 223, 231}, {3011, 'A', 427, 437},
        {3011, '0', 134, 142}, {3011, 'W', 663, 679}, {3011, 128, 714, 726}, {3012, 'a', 0, 8},
        {3012, 'A', 194, 205}, {3012, ' ', 662, 665}, {3012, 12, 882, 912},  {3014, 12, 0, 0},
    };
    for (const Row& row : rows) {
        auto codes = ByCode(*FindGlyphTable(row.record));
        SCOPED_TRACE(testing::Message() << row.record << " code " << row.code);
        ASSERT_TRUE(codes.count(row.code));
        EXPECT_EQ(codes[row.code].first, row.first);
        EXPECT_EQ(codes[row.code].end, row.end);
    }
    // 'W' is the widest glyph of 3011 and code 128 its last record.
    const GlyphTable& t3011 = *FindGlyphTable(3011);
    for (const GlyphRecord& g : t3011.glyphs) {
        if (g.code != 'W') {
            EXPECT_LT(g.end - g.first, 16) << int(g.code);
        }
    }
    EXPECT_EQ(t3011.glyphs.back().code, 128);
    // 3014 lists code 34 twice with equal values.
    int seen = 0;
    for (const GlyphRecord& g : FindGlyphTable(3014)->glyphs) {
        if (g.code != 34) continue;
        ++seen;
        EXPECT_EQ(g.first, ByCode(*FindGlyphTable(3014))[34].first);
    }
    EXPECT_EQ(seen, 2);
}

TEST(GlyphTables, GlyphsDoNotOverlapAndFitAByteWide) {
    for (const GlyphTable& table : kGlyphTables) {
        SCOPED_TRACE(table.record);
        std::vector<std::pair<int, int>> spans;
        for (auto& [code, g] : ByCode(table)) {
            ASSERT_LE(g.first, g.end);
            EXPECT_LT(g.end - g.first, 256);
            if (g.end > g.first) spans.push_back({g.first, g.end});
        }
        std::sort(spans.begin(), spans.end());
        for (size_t i = 1; i < spans.size(); ++i) EXPECT_LE(spans[i - 1].second, spans[i].first);
    }
}

}  // namespace
