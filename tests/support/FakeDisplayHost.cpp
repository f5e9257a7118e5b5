#include "tests/support/FakeDisplayHost.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/TestRecords.h"
#include "ui/WidgetHost.h"

namespace testing_support {

std::vector<u8> RowPatternStrip(const GlyphTable& table, u16 extra) {
    int width = 1;
    for (const GlyphRecord& g : table.glyphs) width = std::max<int>(width, g.end);
    const int height = 4;
    std::vector<u8> r(8, 0);
    r[2] = static_cast<u8>(width);
    r[3] = static_cast<u8>(width >> 8);
    r[4] = height;
    std::vector<u8> texels(static_cast<size_t>(width) * height, 0);
    for (const GlyphRecord& g : table.glyphs)
        for (int x = g.first; x < g.end; ++x)
            for (int y = 0; y < height; ++y) texels[y * width + x] = static_cast<u8>(y + 1);
    // Columns 0 .. 4 also carry the pattern: unlisted codes are drawn from there.
    for (int x = 0; x < 5 && x < width; ++x)
        for (int y = 0; y < height; ++y) texels[y * width + x] = static_cast<u8>(y + 1);
    r.insert(r.end(), texels.begin(), texels.end());
    if (texels.size() & 1) r.push_back(0);
    for (int i = 0; i < 5; ++i) {
        u16 c = i == 4 ? extra : 0;
        r.push_back(static_cast<u8>(c));
        r.push_back(static_cast<u8>(c >> 8));
    }
    return r;
}

std::vector<u8> CodePatternStrip(const GlyphTable& table) {
    int stripWidth = 8;
    for (const GlyphRecord& g : table.glyphs) stripWidth = std::max(stripWidth, static_cast<int>(g.end));
    const int stripHeight = table.stripHeight;
    std::vector<u8> texels(static_cast<size_t>(stripWidth) * stripHeight, 0);
    for (const GlyphRecord& g : table.glyphs) {
        if (g.code == 32 || g.code == 11 || g.end <= g.first) continue;
        const int gw = g.end - g.first;
        const int top = stripHeight / 4, bottom = stripHeight - stripHeight / 5;
        for (int row = top; row < bottom; ++row) {
            for (int col = 0; col < gw; ++col) {
                u8 t = 0;
                if (col == 0)
                    t = 1;
                else if (col == gw - 1)
                    t = 3;
                else if (row == top)
                    t = ((g.code >> (col % 8)) & 1) ? 1 : 0;
                else if (row == (top + bottom) / 2)
                    t = ((g.code >> ((col + 3) % 8)) & 1) ? 2 : 0;
                texels[static_cast<size_t>(row) * stripWidth + g.first + col] = t;
            }
        }
    }
    // Entries 0..3 stand for the shades; none of them is read from the table.
    return IndexedPicture(stripWidth, stripHeight,
                          [&](int x, int y) { return texels[static_cast<size_t>(y) * stripWidth + x]; },
                          {0, 0, 0, 0});
}

std::vector<u8> BlockPatternStrip(const GlyphTable& table) {
    u16 width = 6;
    for (const GlyphRecord& g : table.glyphs) width = std::max<u16>(width, g.end);
    const int height = table.stripHeight;
    // The shades are not read from the table.
    return IndexedPicture(
        width, height,
        [=](int col, int row) {
            return static_cast<u8>((row >= 2 && row < height - 3) ? (col % 3 == 2 ? 3 : 1) : 0);
        },
        {0, 0, 0, 0});
}

FakeDisplayHost::FakeDisplayHost() {
    window = plat::CreateHeadlessWindow();
    EXPECT_TRUE(window->Create("Vantrel", 50, 50, 800, 584));
    clientSizes = {{15, {800, 584}}, {9, {640, 480}}, {6, {320, 240}}};
    for (const GlyphTable& t : kGlyphTables) records[t.record] = RowPatternStrip(t, 0x1234);
}

FakeDisplayHost::FakeDisplayHost(int width, int height) {
    window = plat::CreateHeadlessWindow();
    EXPECT_TRUE(window->Create("Vantrel", 0, 0, width, height));
}

u32 FakeDisplayHost::GetLayoutMode() const { return game ? game->GetLayoutMode() : mode; }

void FakeDisplayHost::GetClientSize(u32& width, u32& height) const {
    width = static_cast<u32>(window->ClientWidth());
    height = static_cast<u32>(window->ClientHeight());
}

void FakeDisplayHost::ChangeScreenMode(u32 newMode) {
    changes.push_back(newMode);
    auto it = clientSizes.find(newMode);
    if (it != clientSizes.end()) window->MoveResize(50, 50, it->second.first, it->second.second);
}

void FakeDisplayHost::GetLayoutTable(const u8*& table, size_t& size) const {
    if (game) {
        game->GetLayoutTable(table, size);
        return;
    }
    table = layout.empty() ? nullptr : layout.data();
    size = layout.size();
}

bool FakeDisplayHost::ReadInterfaceRecord(u32 record, std::vector<u8>& bytes) {
    auto it = records.find(record);
    if (it != records.end()) {
        bytes = it->second;
        return true;
    }
    const GlyphTable* table = strips ? FindGlyphTable(record) : nullptr;
    if (table == nullptr) return false;
    bytes = strips(*table);
    return true;
}

}  // namespace testing_support
