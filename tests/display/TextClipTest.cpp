// A line that starts left of or above the target is clipped, not lost: what shows is the part of the
// same line drawn inside.
#include "display/FontSet.h"
#include "tests/display/DrawTestUtil.h"
#include "tests/support/FakeDisplayHost.h"

#include <gtest/gtest.h>

namespace {

struct Fonts {
    Fonts() : frame(120, 40, 0, 0) {
        host.mode = 11;
        loaded = set.LoadFonts(host, &frame.R());
        set.Select(0, 0xFFFFFF, 0x000000);
    }
    testing_support::FakeDisplayHost host;
    drawtest::Frame frame;
    CFontSet set;
    bool loaded = false;
};

}  // namespace

TEST(TextClip, ALineLeftOfOrAboveTheTargetShowsItsInsidePart) {
    struct Case {
        i32 left, top;
    } cases[] = {{-3, 0}, {0, -3}, {-5, -2}, {-1, 10}};
    Fonts inside;
    ASSERT_TRUE(inside.loaded);
    inside.set.DrawTextBox(10, 10, 120, 40, "WAW", CFontSet::kOneLine);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << ", " << c.top);
        Fonts cut;
        cut.set.DrawTextBox(c.left, c.top, 120, 40, "WAW", CFontSet::kOneLine);
        EXPECT_EQ(cut.set.Run().x, c.left);
        EXPECT_EQ(cut.set.Run().y, c.top);
        int lit = 0, differing = 0;
        for (int y = 0; y + 10 - c.top < 40; ++y)
            for (int x = 0; x + 10 - c.left < 120; ++x) {
                lit += cut.frame.At(x, y) != 0;
                differing += cut.frame.At(x, y) != inside.frame.At(x + 10 - c.left, y + 10 - c.top);
            }
        EXPECT_GT(lit, 0);
        EXPECT_EQ(differing, 0);

        EXPECT_TRUE(cut.frame.GuardsIntact());
    }
}

TEST(TextClip, RightAlignedTextWiderThanItsBoxAtTheLeftEdgeShowsItsEnd) {
    Fonts f;
    ASSERT_TRUE(f.loaded);
    // A word wider than the box counts its first glyph's advance only, so the line starts left of it.
    f.set.DrawTextBox(0, 5, 12, 40, "WWWW", CFontSet::kAlignRight);
    ASSERT_LT(f.set.Run().x, 0);
    int lit = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 12; ++x) lit += f.frame.At(x, y) != 0;
    EXPECT_GT(lit, 0);
    EXPECT_TRUE(f.frame.GuardsIntact());
}
