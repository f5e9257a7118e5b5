#include "core/Str.h"
#include "display/FontSet.h"
#include "display/GlyphTables.h"
#include "tests/display/DrawTestUtil.h"
#include "tests/support/FakeDisplayHost.h"
#include "tests/support/TestRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using FakeHost = testing_support::FakeDisplayHost;
using drawtest::Frame;

u16 Grey(u32 v) { return PackRGB565(v, v, v); }

// Fonts over a frame: mode 11 keeps the index asked for; font 0 is strip 3011.
struct Fonts {
    explicit Fonts(u32 mode = 11, int width = 200, int height = 60) : frame(width, height, 0, 0) {
        host.mode = mode;
        loaded = set.LoadFonts(host, &frame.R());
        set.Select(0, 0xFFFFFF, 0x000000);
    }
    i32 Advance(char c) const { return set.CurrentFont()->Width(static_cast<u8>(c)) + 1; }
    i32 Width(const std::string& text) const {
        i32 w = 0;
        for (char c : text) w += Advance(c);
        return w;
    }
    FakeHost host;
    Frame frame;
    CFontSet set;
    bool loaded = false;
};

TEST(FontSet, PackRGB565RoundsEachFieldToNearest) {
    EXPECT_EQ(PackRGB565(255, 255, 255), 0xFFFF);
    EXPECT_EQ(PackRGB565(128, 128, 0), (16 << 11) | (32 << 5));
    EXPECT_EQ(PackRGB565(4, 0, 0), 0);
    EXPECT_EQ(PackRGB565(5, 0, 0), 1 << 11);
    EXPECT_EQ(PackRGB565(0, 0, 255), 31);
}

TEST(FontSet, ShadesAndTheirCache) {
    Fonts f;
    ASSERT_TRUE(f.loaded);
    f.set.Select(1, 0x000000, 0xFFFFFF);
    EXPECT_EQ(f.set.Shades()[0], 0);
    EXPECT_EQ(f.set.Shades()[1], Grey(82));
    EXPECT_EQ(f.set.Shades()[2], Grey(170));
    f.set.Select(1, 0xFFFFFF, 0x000000);
    EXPECT_EQ(f.set.Shades()[0], 0xFFFF);
    EXPECT_EQ(f.set.Shades()[1], Grey(173));
    EXPECT_EQ(f.set.Shades()[2], Grey(85));
    EXPECT_EQ(f.set.Run().colour2, Grey(173));
    // The same pair again adds nothing; a fifth distinct pair grows the cache by 4.
    EXPECT_EQ(f.set.ShadeCount(), 2u);
    f.set.Select(1, 0xFFFFFF, 0x000000);
    f.set.Select(1, 0x000000, 0xFFFFFF);
    EXPECT_EQ(f.set.ShadeCount(), 2u);
    EXPECT_EQ(f.set.ShadeCapacity(), 4u);
    f.set.Select(1, 0x0000FF, 0);
    f.set.Select(1, 0x00FF00, 0);
    EXPECT_EQ(f.set.ShadeCapacity(), 4u);
    f.set.Select(1, 0xFF0000, 0);
    EXPECT_EQ(f.set.ShadeCount(), 5u);
    EXPECT_EQ(f.set.ShadeCapacity(), 8u);
    // Red in the low byte.
    EXPECT_EQ(f.set.Shades()[0], 31);
}

TEST(FontSet, FontsFollowTheLayoutMode) {
    struct Case {
        u32 mode;
        u32 font1, font2;
        u32 drawnForIndex0;
    } cases[] = {
        {15, 3013, 3014, 3014}, {11, 3013, 3014, 3011}, {6, 3010, 3012, 3011}, {1, 3012, 3013, 3011}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Fonts f(c.mode);
        EXPECT_EQ(f.set.Font(0)->Record(), 3011u);
        EXPECT_EQ(f.set.Font(1)->Record(), c.font1);
        EXPECT_EQ(f.set.Font(2)->Record(), c.font2);
        f.set.Select(0, 0, 0xFFFFFF);
        EXPECT_EQ(f.set.CurrentFont()->Record(), c.drawnForIndex0);
    }
    // A missing strip is reported; that font still measures but draws nothing.
    FakeHost host;
    host.records.erase(3014);
    Frame frame(40, 30, 0, 7);
    CFontSet set;
    EXPECT_FALSE(set.LoadFonts(host, &frame.R()));
    set.Select(0, 0xFFFFFF, 0);
    EXPECT_FALSE(set.CurrentFont()->HasStrip());
    EXPECT_EQ(set.DrawTextBox(0, 0, 40, 30, "AB", 0), 1);
    EXPECT_EQ(frame.Logical(), std::vector<u16>(40 * 30, 7));
}

TEST(FontSet, GlyphsTakeTheRunColoursAndTheStripTable) {
    Fonts f;
    f.set.Select(0, 0x0000FF, 0x000000);
    const u16* shades = f.set.Shades();
    // '!' in 3011 is 4 columns wide, '.' something else; the pen moves by width + 1.
    f.set.DrawTextBox(10, 5, 190, 50, "!!", 0);
    for (int x = 10; x < 14; ++x) {
        EXPECT_EQ(f.frame.At(x, 5), shades[0]);
        EXPECT_EQ(f.frame.At(x, 6), shades[1]);
        EXPECT_EQ(f.frame.At(x, 7), shades[2]);
        EXPECT_EQ(f.frame.At(x, 8), 0x1234);  // byte 4: strip table entry 4, not the first shade
    }
    EXPECT_EQ(f.frame.At(14, 5), 0);  // the blank column between glyphs
    EXPECT_EQ(f.frame.At(15, 5), shades[0]);
    EXPECT_EQ(f.frame.At(18, 5), shades[0]);
    EXPECT_EQ(f.frame.At(19, 5), 0);
    // A code the strip has no glyph for (64 in 3011) advances by 6 and shows columns 0 .. 4.
    EXPECT_EQ(f.Advance('@'), 6);
    EXPECT_EQ(f.set.CurrentFont()->FirstColumn('@'), 0);
}

TEST(FontSet, FindLineBreak) {
    Fonts f;
    i32 w = 0, lf = 0;
    const i32 ab = f.Width("ab");
    // The maximum is reached when the width equals it.
    EXPECT_EQ(f.set.FindLineBreak("abc", 0, ab, false, w, lf), 1);
    EXPECT_EQ(w, ab);
    EXPECT_EQ(f.set.FindLineBreak("abc", 0, ab + 1, false, w, lf), 2);
    EXPECT_EQ(f.set.FindLineBreak("ab\ncd", 0, 1000, true, w, lf), 2);
    EXPECT_EQ(lf, 1);
    EXPECT_EQ(f.set.FindLineBreak("ab\rcd", 0, 1000, true, w, lf), 2);
    EXPECT_EQ(lf, 0);
    EXPECT_EQ(f.set.FindLineBreak("ab", 5, 1000, true, w, lf), 5);
    // Word wrap: the short word, then the long word runs to the end of the text.
    const std::string text = "ab WWWWWWWWWWWW xy";
    const i32 box = f.Width("ab WWW");
    EXPECT_EQ(f.set.FindLineBreak(text.c_str(), 0, box, true, w, lf), 2);
    EXPECT_EQ(w, ab);
    EXPECT_EQ(f.set.FindLineBreak(text.c_str(), 3, box, true, w, lf), static_cast<i32>(text.size()));
    EXPECT_EQ(w, f.Advance('W'));
}

TEST(FontSet, DrawTextBoxLineCounts) {
    struct Case {
        const char* text;
        u32 flags;
        i32 lines;
    } cases[] = {
        {"ab\rcd", 0, 2}, {"ab\rcd\r", 0, 3}, {"ab\ncd", 0, 2},
        {"", 0, 1},       {nullptr, 0, 1},    {"ab\rcd", CFontSet::kOneLine, 1},
    };
    for (const Case& c : cases) {
        Fonts f;
        EXPECT_EQ(f.set.DrawTextBox(0, 0, 200, 60, c.text, c.flags), c.lines) << (c.text ? c.text : "null");
    }
    // After a LF nothing more is drawn.
    Fonts f;
    f.set.DrawTextBox(0, 0, 200, 60, "ab\ncd", 0);
    EXPECT_EQ(f.frame.At(0, 16), 0);
    EXPECT_EQ(f.frame.At(0, 0), f.set.Shades()[0]);
    // The bottom stops the drawing, with its 3-pixel allowance: line height 16.
    Fonts g;
    EXPECT_EQ(g.set.DrawTextBox(0, 0, 200, 28, "a\rb\rc", 0), 2);
    EXPECT_EQ(g.set.DrawTextBox(0, 0, 200, 29, "a\rb\rc", 0), 3);
}

TEST(FontSet, AlignmentAndClipping) {
    Fonts f;
    const i32 w = f.Width("WWWW");
    // One line, wider than the box: centred starts at the left edge, right-aligned left of it.
    f.set.DrawTextBox(20, 0, 20 + w - 10, 20, "WWWW", CFontSet::kCentre | CFontSet::kOneLine);
    EXPECT_EQ(f.set.Run().x, 20);
    f.set.DrawTextBox(20, 0, 20 + w - 10, 20, "WWWW", CFontSet::kAlignRight | CFontSet::kOneLine);
    EXPECT_EQ(f.set.Run().x, 20 + w - 10 - w);
    // With wrapping a single word wider than the box counts only its first glyph's advance.
    f.set.DrawTextBox(20, 0, 20 + w - 10, 20, "WWWW", CFontSet::kCentre);
    EXPECT_EQ(f.set.Run().x, 20 + (w - 10 - f.Advance('W')) / 2);
    f.set.DrawTextBox(20, 0, 120, 20, "ab", CFontSet::kCentre);
    EXPECT_EQ(f.set.Run().x, 20 + (100 - f.Width("ab")) / 2);
    // A word wider than the box and a line far longer than the line buffer stay inside the frame.
    std::string longWord(1500, 'W');
    f.set.DrawTextBox(150, 50, 190, 58, longWord.c_str(), 0);
    EXPECT_EQ(std::string(f.set.Run().text).size(), CFontSet::kLineBufferSize - 1);
    f.set.DrawTextBox(-30, -10, 100000, 58, ("x " + longWord).c_str(), CFontSet::kOneLine);
    EXPECT_TRUE(f.frame.GuardsIntact());
    EXPECT_EQ(f.frame.At(199, 50), f.set.Shades()[0]);
    EXPECT_EQ(std::string(f.set.Run().text).size(), CFontSet::kLineBufferSize - 1);
}

TEST(FontSet, MeasureAndWrap) {
    Fonts f;
    i32 widest = 0, lines = 0;
    f.set.MeasureText("ab\rcde", 1000, widest, lines);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(widest, f.Width("cde") + 1);
    f.set.MeasureText("\nab", 1000, widest, lines);
    EXPECT_EQ(lines, 2);
    f.set.MeasureText("ab\ncd", 1000, widest, lines);
    EXPECT_EQ(lines, 1);
    f.set.MeasureText("ab", 0, widest, lines);
    EXPECT_EQ(lines, 0);
    f.set.MeasureText("ab  cd", f.Width("ab  c"), widest, lines);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(widest, f.Width("ab ") + 1);  // the line ends at the second blank

    CStr out;
    f.set.WrapText("alpha beta", f.Width("alpha b"), out);
    EXPECT_STREQ(out.GetText(), "alpha\rbeta\r");
    f.set.WrapText("one\r  two\nthree", 1000, out);
    EXPECT_STREQ(out.GetText(), "one\rtwo\r");
    f.set.WrapText(nullptr, 100, out);
    EXPECT_STREQ(out.GetText(), "");
}

}  // namespace
