// The layout table, the font strips and the interface sounds of the built interface database, read
// with the game's reader and its look-ups.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/PdbFile.h"
#include "display/GlyphTables.h"
#include "core/LayoutTable.h"

namespace {

const std::string kDatabase = std::string(VANTREL_BINARY_DIR) + "/VantrelData.pdb";

u16 U16(const std::vector<u8>& d, size_t at) { return static_cast<u16>(d.at(at) | d.at(at + 1) << 8); }
u32 U32(const std::vector<u8>& d, size_t at) { return U16(d, at) | static_cast<u32>(U16(d, at + 2)) << 16; }

std::vector<u8> ReadFromDatabase(u32 id) {
    CPdbFile db;
    if (db.Open(kDatabase.c_str()) != 1) return {};
    CRecordData* r = db.ReadRecord(id);
    if (r == nullptr) return {};
    std::vector<u8> out(r->data, r->data + r->size);
    FreeDataBlock(r);
    return out;
}

const std::vector<u8>& LayoutTable() {
    static const std::vector<u8> table = ReadFromDatabase(3003);
    return table;
}

const u8* Find(u32 mode, u16 group, u32 element) {
    const std::vector<u8>& t = LayoutTable();
    return FindLayoutRectIn(t.data(), t.size(), mode, group, element);
}

// Element ids that the screens and dialogs look up, by layout group.
std::vector<u32> Range(u32 first, u32 last) {
    std::vector<u32> v;
    for (u32 i = first; i <= last; ++i) v.push_back(i);
    return v;
}

const std::map<u16, std::vector<u32>>& RequiredElements() {
    static const std::map<u16, std::vector<u32>> required = [] {
        std::map<u16, std::vector<u32>> m = {
            {43,
             {550, 534, 713, 535, 36, 544, 545, 542, 543, 546, 547, 549, 548, 536, 537, 538, 539, 540, 541}},
            {3, Range(10, 15)},
            {2, {8, 9}},
            {13, {562, 107, 563, 25}},
            {8, Range(44, 52)},
            {31, {19, 302, 40, 303, 304, 25}},
            {32, {19, 302, 40, 303, 304, 25}},
            {6, {19, 35, 36, 37, 38, 25, 26}},
            {9, {16, 19, 25, 26}},
            {18, {16, 19, 25, 26, 200, 206}},
            {11, {19, 94, 95, 26}},
            {14, {19, 108, 109, 110, 120, 133}},
            {15, {16, 19, 25, 26, 134, 135, 136, 137, 138}},
            {42, {19, 274, 288, 289, 322, 331, 332, 529, 530, 531, 532}},
            {33, {19, 22, 274, 308, 322, 325, 326, 327, 328, 329, 330}},
        };
        std::vector<u32> keys = Range(157, 199);
        keys.insert(keys.end(), {19, 40, 25, 26});
        m[17] = keys;
        std::vector<u32> settings = Range(587, 655);
        settings.insert(settings.end(), {16, 25, 152});
        m[46] = settings;
        std::vector<u32> worlds = Range(673, 712);
        worlds.insert(worlds.end(), {16, 25, 139, 656});
        m[47] = worlds;
        std::vector<u32> creation = Range(139, 156);
        creation.insert(creation.end(), {16, 19, 25, 26, 57, 62, 551, 552, 553, 560, 561});
        m[16] = creation;
        return m;
    }();
    return required;
}

TEST(LayoutTable, EveryElementTheScreensReadExistsInTheLargeSmallAndBaseModes) {
    ASSERT_FALSE(LayoutTable().empty());
    for (const auto& [group, elements] : RequiredElements())
        for (u32 mode : {15u, 9u, 14u, 2u, 5u, 1u, 4u})
            for (u32 e : elements)
                EXPECT_NE(Find(mode, group, e), nullptr)
                    << "group " << group << " element " << e << " mode " << mode;
}

TEST(LayoutTable, DirectoryIsWellFormedAndEveryRectangleLiesInsideItsForm) {
    // Walked here by its field list rather than through the look-ups, so that every offset and
    // every group is checked, not only the ones asked for.
    const std::vector<u8>& t = LayoutTable();
    u16 groups = U16(t, 0);
    ASSERT_GT(groups, 40);
    std::set<u16> ids;
    for (size_t i = 0; i < groups; ++i) {
        u16 at = U16(t, 2 + 4 * i), id = U16(t, 4 + 4 * i);
        EXPECT_TRUE(ids.insert(id).second) << "group " << id << " listed twice";
        ASSERT_EQ(at % 2, 0);
        u16 modes = U16(t, at);
        std::set<u16> seen;
        for (size_t j = 0; j < modes; ++j) {
            u16 layout = U16(t, at + 2 + 4 * j), mode = U16(t, at + 4 + 4 * j);
            seen.insert(mode);
            ASSERT_EQ(layout % 2, 0);
            u16 w = U16(t, layout), h = U16(t, layout + 2), k = U16(t, layout + 4);
            ASSERT_LE(layout + 6u + 10u * k, t.size()) << "group " << id;
            // No form is wider than the widest window or taller than the tallest (the portrait 480 x 640).
            EXPECT_LE(w, 800);
            EXPECT_LE(h, w > 480 ? 584 : 640);
            for (size_t e = 0; e < k; ++e) {
                size_t r = layout + 6 + 10 * e;
                u16 x = U16(t, r + 2), y = U16(t, r + 4), ew = U16(t, r + 6), eh = U16(t, r + 8);
                EXPECT_LE(x + ew, w) << "group " << id << " mode " << mode << " element " << U16(t, r);
                EXPECT_LE(y + eh, h) << "group " << id << " mode " << mode << " element " << U16(t, r);
            }
        }
        for (u16 mode = 1; mode <= 16; ++mode)
            EXPECT_TRUE(seen.count(mode)) << "group " << id << " lacks mode " << mode;
    }
}

TEST(LayoutTable, GameViewLeavesRoomForEveryViewSize) {
    // The large layouts shrink the view by quarters of its excess over 380 x 320, so the rectangle
    // must be at least that large, and it must lie inside the 800 x 584 window.
    const u8* view = Find(15, 43, 550);
    ASSERT_NE(view, nullptr);
    CLayoutElement v = ReadLayoutElement(view);
    EXPECT_GE(v.w, 380);
    EXPECT_GE(v.h, 320);
    EXPECT_LE(v.x + v.w, 800);
    EXPECT_LE(v.y + v.h, 584);
    u32 w = 0, h = 0;
    const std::vector<u8>& t = LayoutTable();
    ASSERT_TRUE(GetLayoutSizeIn(t.data(), t.size(), 15, 43, w, h));
    EXPECT_EQ(w, 800u);
    EXPECT_EQ(h, 584u);
    // The small layouts get the same form at half the size.
    ASSERT_TRUE(GetLayoutSizeIn(t.data(), t.size(), 2, 43, w, h));
    EXPECT_EQ(w, 400u);
    EXPECT_EQ(h, 292u);
}

TEST(FontStrips, EveryGlyphHasInkInsideItsOwnColumnsOnly) {
    for (const GlyphTable& table : kGlyphTables) {
        SCOPED_TRACE("strip " + std::to_string(table.record));
        std::vector<u8> d = ReadFromDatabase(table.record);
        ASSERT_GE(d.size(), 8u);
        ASSERT_EQ(d[0], 0) << "strips are read as encoding 0";
        int w = static_cast<i16>(U16(d, 2)), h = static_cast<i16>(U16(d, 4));
        EXPECT_EQ(h, table.stripHeight);
        u16 end = 0;
        for (const GlyphRecord& g : table.glyphs) end = std::max(end, g.end);
        ASSERT_GE(w, end);
        ASSERT_GE(d.size(), 8u + static_cast<size_t>(w) * h);
        // Which columns belong to some glyph.
        std::vector<bool> owned(w, false);
        for (const GlyphRecord& g : table.glyphs)
            for (int c = g.first; c < g.end; ++c) owned[c] = true;
        for (int c = 0; c < static_cast<int>(kMissingGlyphWidth); ++c) owned[c] = true;
        auto texel = [&](int x, int y) { return d[8 + static_cast<size_t>(y) * w + x]; };
        int maxValue = 0;
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y) {
                if (!owned[x]) {
                    EXPECT_EQ(texel(x, y), 0) << "ink in column " << x << " that no glyph owns";
                }
                maxValue = std::max<int>(maxValue, texel(x, y));
            }
        // Values from 4 up index the strip's own colour table, which follows the data.
        size_t table0 = 8 + static_cast<size_t>(w) * h + (static_cast<size_t>(w) * h) % 2;
        EXPECT_LE(table0 + 2 * (maxValue + 1), d.size());
        // Every visible glyph shows something; the blanks do not.
        for (const GlyphRecord& g : table.glyphs) {
            bool ink = false;
            for (int x = g.first; x < g.end; ++x)
                for (int y = 0; y < h; ++y) ink = ink || texel(x, y) != 0;
            bool blank = g.code == 32 || g.code == 11 || g.end == g.first;
            EXPECT_EQ(ink, !blank) << "code " << int(g.code);
        }
    }
}

struct Wav {
    int channels = 0, rate = 0, bits = 0;
    size_t frames = 0;
    int peak = 0;
    std::string error;
};

// Reads a WAV image as the sample loader does, bounds-checked: "fmt " at byte 12, then the chunks
// after the format chunk walked to "data".
Wav ParseWav(const std::vector<u8>& d) {
    Wav w;
    if (d.size() < 36 || std::string(d.begin() + 12, d.begin() + 16) != "fmt ")
        return w.error = "no format chunk", w;
    u32 fmtSize = U32(d, 16);
    w.channels = U16(d, 22);
    w.rate = static_cast<int>(U32(d, 24));
    w.bits = U16(d, 34);
    size_t at = 20 + static_cast<size_t>(fmtSize);
    while (at + 8 <= d.size()) {
        u32 size = U32(d, at + 4);
        if (std::string(d.begin() + at, d.begin() + at + 4) == "data") {
            if (at + 8 + size > d.size()) return w.error = "data past the end", w;
            size_t bytesPerFrame = static_cast<size_t>(w.bits / 8) * w.channels;
            w.frames = size / bytesPerFrame;
            for (size_t i = 0; i + 1 < size && w.bits == 16; i += 2)
                w.peak = std::max(w.peak, std::abs(static_cast<int>(static_cast<i16>(U16(d, at + 8 + i)))));
            return w;
        }
        at += 8 + static_cast<size_t>(size);
    }
    return w.error = "no data chunk", w;
}

TEST(InterfaceSounds, ClickAndConfirmAreShortAudibleWavImages) {
    for (u32 id : {4031u, 4032u}) {
        Wav w = ParseWav(ReadFromDatabase(id));
        ASSERT_EQ(w.error, "") << id;
        EXPECT_TRUE(w.channels == 1 || w.channels == 2) << id;
        EXPECT_TRUE(w.bits == 8 || w.bits == 16) << id;
        EXPECT_GT(w.rate, 8000) << id;
        EXPECT_GT(w.frames, 0u) << id;
        EXPECT_LT(w.frames, static_cast<size_t>(w.rate) / 4)
            << id << ": an interface sound lasts well under 250 ms";
        EXPECT_GT(w.peak, 4000) << id << ": and it can be heard";
    }
}

}  // namespace
