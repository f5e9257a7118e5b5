#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/WidgetRig.h"
#include "ui/TextView.h"

using widgetrig::Rig;

namespace {

// A view of five rows (font 2 in mode 15: line height 26, pitch 27) with three text colours.
struct ViewRig : Rig {
    explicit ViewRig(u32 mode = 15, u16 rowsHigh = 5) : Rig(mode, 240, 160) {
        view.Attach(screen);
        view.SetRect(10, 10, 220, static_cast<u16>(rowsHigh * 27));
        view.SetColors(0xFFFFFF, 0x80FFFF, 0x8080FF, 0x161616, nullptr);
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> out;
        for (u32 r = 0; r < view.rows.Count(); ++r) out.emplace_back(view.rows.At(r).text.GetText());
        return out;
    }
    void AddLines(int first, int count) {
        for (int i = first; i < first + count; ++i) view.AddText(("line " + std::to_string(i)).c_str(), 0, 0);
    }
    CTextView view;
};

using Rows = std::vector<std::string>;

}  // namespace

TEST(TextView, SetColorsFitsTheRowsToTheHeight) {
    ViewRig rig;
    EXPECT_EQ(rig.view.lineHeight, 26);
    EXPECT_EQ(rig.view.visibleRows, 5);
    EXPECT_EQ(rig.view.rows.Count(), 5u);
    EXPECT_EQ(rig.view.backgroundOn, 1u);
    EXPECT_EQ(rig.view.centred, 0u);
    // The bullet "- " is measured with the font's own widths.
    EXPECT_GT(rig.view.margin, 0);
    // One pixel short of five rows gives four.
    rig.view.h = 5 * 27 - 1;
    rig.view.SetColors(0xFFFFFF, 0x80FFFF, 0x8080FF, 0x161616, nullptr);
    EXPECT_EQ(rig.view.visibleRows, 4);
}

TEST(TextView, AddTextWrapsAtTheViewWidthAndMarksTheFirstLineWithTheBullet) {
    ViewRig rig;
    rig.view.AddText("one two three four five six seven eight nine ten eleven twelve", 2, 1);
    ASSERT_GE(rig.view.PendingCount(), 2u);
    EXPECT_EQ(rig.view.pending.At(0).bullet, 1u);
    for (u32 i = 1; i < rig.view.PendingCount(); ++i) EXPECT_EQ(rig.view.pending.At(i).bullet, 0u);
    std::string joined;
    for (u32 i = 0; i < rig.view.PendingCount(); ++i) {
        EXPECT_EQ(rig.view.pending.At(i).style, 2u);
        const std::string line = rig.view.pending.At(i).text.GetText();
        EXPECT_NE(line.front(), ' ') << "the blanks at a break are skipped";
        joined += (i ? " " : "") + line;
    }
    EXPECT_EQ(joined, "one two three four five six seven eight nine ten eleven twelve");
    // CR breaks lines; nothing is added for a null text.
    rig.view.pending.Empty();
    rig.view.AddText("a\rb\r\rc", 0, 0);
    rig.view.AddText(nullptr, 0, 0);
    ASSERT_EQ(rig.view.PendingCount(), 3u);
    EXPECT_STREQ(rig.view.pending.At(2).text.GetText(), "c");
}

// Messages are wrapped in the view's own font whatever font was used last (mode 11 forces none).
TEST(TextView, AddTextWrapsInTheViewsFont) {
    ViewRig rig(11);
    const char* text = "a message long enough to be wrapped onto a few lines of the view";
    rig.fonts.Select(1, 0, 0);
    rig.view.AddText(text, 0, 0);
    std::vector<std::string> inFontOne;
    for (u32 i = 0; i < rig.view.PendingCount(); ++i)
        inFontOne.emplace_back(rig.view.pending.At(i).text.GetText());
    rig.view.pending.Empty();
    rig.fonts.Select(0, 0, 0);
    rig.view.AddText(text, 0, 0);
    std::vector<std::string> afterFontZero;
    for (u32 i = 0; i < rig.view.PendingCount(); ++i)
        afterFontZero.emplace_back(rig.view.pending.At(i).text.GetText());
    EXPECT_GT(inFontOne.size(), 1u);
    EXPECT_EQ(afterFontZero, inFontOne);
}

// A word wider than the view keeps the rest of its message on one line, however long: the line is a
// string of its own, not a fixed buffer.
TEST(TextView, AWordWiderThanTheViewKeepsTheRestOfTheMessageWhole) {
    ViewRig rig;
    const std::string word(150, 'w');
    const std::string text = "ab " + word + " and a tail of several more words after it";
    rig.view.AddText(text.c_str(), 0, 0);
    ASSERT_EQ(rig.view.PendingCount(), 2u);
    EXPECT_STREQ(rig.view.pending.At(0).text.GetText(), "ab");
    EXPECT_EQ(std::string(rig.view.pending.At(1).text.GetText()), text.substr(3));
    rig.view.Draw();
    EXPECT_EQ(rig.Rows()[1], text.substr(3));
}

TEST(TextView, ThreeLinesRollIntoFiveRowsWithPausesBetweenThem) {
    ViewRig rig;
    rig.AddLines(1, 3);
    const u32 presents = rig.Presents();
    rig.view.Draw();
    EXPECT_EQ(rig.Rows(), (Rows{"line 1", "line 2", "line 3", "", ""}));
    EXPECT_EQ(rig.clock.SleepLog(), (std::vector<uint32_t>{100, 100}));
    EXPECT_EQ(rig.Presents() - presents, 2u);
    EXPECT_EQ(rig.view.insertionRow, 3);
    EXPECT_EQ(rig.view.scrolled, 0);
}

TEST(TextView, SevenLinesStopAtAFullPageWithTheMarker) {
    ViewRig rig;
    auto background = widgetrig::MakePicture(
        5, 5, [](int x, int y) { return static_cast<u16>((x + y) % 4 ? 0x2945 : 0x3186); });
    rig.view.backgroundPicture = background.get();
    rig.AddLines(1, 7);
    rig.view.Draw();
    EXPECT_EQ(rig.Rows(), (Rows{"line 2", "line 3", "line 4", "line 5", "..."}));
    EXPECT_EQ(rig.clock.SleepLog(), std::vector<uint32_t>(5, 100));
    EXPECT_EQ(rig.view.PendingCount(), 2u);
    EXPECT_EQ(rig.view.scrolled, 5);
    EXPECT_TRUE(testing_support::MatchesGolden("ui/textview_full_page", rig.Capture()));

    // Until the owner resets the count, a draw only repaints.
    rig.clock.ClearSleepLog();
    rig.view.Draw();
    EXPECT_EQ(rig.view.PendingCount(), 2u);
    EXPECT_TRUE(rig.clock.SleepLog().empty());

    // The next page: the two lines roll in below the marker, which scrolls up with the page, and
    // the last scroll frees the bottom row.
    rig.view.scrolled = 0;
    rig.view.reservedRows = 0;
    rig.view.Draw();
    EXPECT_EQ(rig.view.PendingCount(), 0u);
    EXPECT_EQ(rig.Rows(), (Rows{"line 5", "...", "line 6", "line 7", ""}));
    EXPECT_EQ(rig.clock.SleepLog(), (std::vector<uint32_t>{100, 50}));
}

TEST(TextView, WithoutPausesSevenLinesFillTheRowsAndStopWithoutAMarker) {
    ViewRig rig;
    rig.view.noPauses = 1;
    rig.AddLines(1, 7);
    const u32 presents = rig.Presents();
    rig.view.Draw();
    EXPECT_EQ(rig.Rows(), (Rows{"line 1", "line 2", "line 3", "line 4", "line 5"}));
    EXPECT_EQ(rig.view.PendingCount(), 2u);
    EXPECT_TRUE(rig.clock.SleepLog().empty());
    EXPECT_EQ(rig.Presents(), presents);
}

// A message that ends on the bottom row scrolls once more after 50 ms in the large modes, leaving the
// bottom row free; the small modes keep it.
TEST(TextView, AMessageEndingOnTheBottomRowScrollsOnceMoreInTheLargeModes) {
    {
        ViewRig rig(15);
        rig.AddLines(1, 5);
        rig.view.Draw();
        EXPECT_EQ(rig.Rows(), (Rows{"line 2", "line 3", "line 4", "line 5", ""}));
        EXPECT_EQ(rig.clock.SleepLog(), (std::vector<uint32_t>{100, 100, 100, 100, 50}));
        EXPECT_EQ(rig.view.insertionRow, 4);
    }
    {
        ViewRig rig(2);
        rig.view.h = static_cast<u16>(5 * (rig.view.lineHeight + 1));
        rig.view.SetColors(0xFFFFFF, 0x80FFFF, 0x8080FF, 0x161616, nullptr);
        ASSERT_EQ(rig.view.visibleRows, 5);
        rig.AddLines(1, 5);
        rig.view.Draw();
        EXPECT_EQ(rig.Rows(), (Rows{"line 1", "line 2", "line 3", "line 4", "line 5"}));
        EXPECT_EQ(rig.clock.SleepLog(), std::vector<uint32_t>(4, 100));
        EXPECT_EQ(rig.view.insertionRow, 5);
    }
}

TEST(TextView, ClearKeepsTheInsertionRowSoTheNextMessageEntersAtTheBottom) {
    ViewRig rig;
    rig.view.noPauses = 1;
    rig.AddLines(1, 5);
    rig.view.Draw();
    ASSERT_EQ(rig.view.insertionRow, 5);
    rig.view.Clear();
    EXPECT_EQ(rig.Rows(), (Rows{"", "", "", "", ""}));
    rig.view.AddText("next", 0, 0);
    rig.view.Draw();
    EXPECT_EQ(rig.Rows(), (Rows{"", "", "", "", "next"}));
}

// The marker row in modes 5 and 8 is empty; with the marker in place it goes below the last line
// instead of scrolling the page first.
TEST(TextView, MarkerVariants) {
    {
        ViewRig rig(5);
        rig.view.h = static_cast<u16>(5 * (rig.view.lineHeight + 1));
        rig.view.SetColors(0xFFFFFF, 0x80FFFF, 0x8080FF, 0x161616, nullptr);
        rig.AddLines(1, 7);
        rig.view.Draw();
        EXPECT_EQ(rig.Rows(), (Rows{"line 2", "line 3", "line 4", "line 5", ""}));
        EXPECT_EQ(rig.view.PendingCount(), 2u);
    }
    {
        ViewRig rig;
        rig.view.markerInPlace = 1;
        rig.view.reservedRows = 1;
        rig.AddLines(1, 7);
        rig.view.Draw();
        EXPECT_EQ(rig.Rows(), (Rows{"line 1", "line 2", "line 3", "line 4", "..."}));
        EXPECT_EQ(rig.view.PendingCount(), 3u);
    }
    {
        // With no row left below the page, the marker cannot go in place: the rows move up first.
        ViewRig rig;
        rig.view.markerInPlace = 1;
        rig.AddLines(1, 7);
        rig.view.Draw();
        EXPECT_EQ(rig.Rows(), (Rows{"line 2", "line 3", "line 4", "line 5", "..."}));
    }
}

// A view lower than one line has no row for a line: the lines wait, nothing is drawn, and they roll
// in once the owner gives the view a height.
TEST(TextView, AViewLowerThanOneLineKeepsItsLinesPending) {
    ViewRig rig(15, 0);
    ASSERT_EQ(rig.view.visibleRows, 0);
    rig.AddLines(1, 2);
    rig.Clear(0x1111);
    rig.view.Draw();
    EXPECT_EQ(rig.view.PendingCount(), 2u);
    EXPECT_TRUE(rig.clock.SleepLog().empty());
    for (u16 p : rig.Capture().pixels) ASSERT_EQ(p, 0x1111);

    rig.view.h = 3 * 27;
    rig.view.SetColors(0xFFFFFF, 0x80FFFF, 0x8080FF, 0x161616, nullptr);
    rig.view.Draw();
    EXPECT_EQ(rig.Rows(), (Rows{"line 1", "line 2", ""}));
}

TEST(TextView, AddBlankLinesReservesARowAndDraws) {
    ViewRig rig;
    rig.view.noPauses = 1;
    rig.view.AddBlankLines(2);
    EXPECT_EQ(rig.view.reservedRows, 1);
    EXPECT_EQ(rig.view.PendingCount(), 0u);
    EXPECT_EQ(rig.Rows(), (Rows{" ", " ", "", "", ""}));
    EXPECT_EQ(rig.view.rows.At(0).style, 1u);
}

TEST(TextView, MeasurePendingCountsWrappedLinesAndTheWidestLine) {
    ViewRig rig;
    i32 widest = -1;
    EXPECT_EQ(rig.view.MeasurePending(200, widest), 0);
    EXPECT_EQ(widest, 0);
    rig.view.AddText("alpha", 0, 0);
    rig.view.AddText("beta gamma", 0, 0);
    ASSERT_EQ(rig.view.PendingCount(), 2u);
    EXPECT_EQ(rig.view.MeasurePending(1000, widest), 2);
    i32 expectedWidest = 0, lines = 0;
    rig.fonts.Select(1, 0xFFFFFF, 0x161616);
    rig.fonts.MeasureText("beta gamma", 1000, expectedWidest, lines);
    EXPECT_EQ(widest, expectedWidest);
    // Narrower than "beta gamma": that line takes two.
    EXPECT_EQ(rig.view.MeasurePending(expectedWidest - 2, widest), 3);
}

// Bullets, continuation lines drawn in by the bullet's width, the three styles, a tiled background;
// and a centred view without bullets.
TEST(TextView, DrawnLines) {
    ViewRig rig;
    auto background = widgetrig::MakePicture(
        7, 5, [](int x, int y) { return static_cast<u16>((x + y) % 4 ? 0x3186 : 0x4208); });
    rig.view.SetColors(0xFFFFFF, 0x80FFFF, 0x8080FF, 0x161616, background.get());
    rig.view.noPauses = 1;
    rig.view.AddText("a bullet and a wrapped second line", 0, 1);
    rig.view.AddText("style one", 1, 1);
    rig.view.AddText("style two", 2, 0);
    rig.view.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("ui/textview_bullets_styles", rig.Capture()));

    ViewRig centred;
    centred.view.centred = 1;
    centred.view.backgroundOn = 0;
    centred.view.noPauses = 1;
    centred.view.AddText("centred", 0, 1);
    centred.view.AddText("lines", 2, 0);
    centred.view.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("ui/textview_centred", centred.Capture()));
}
