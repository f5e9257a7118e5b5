#include <gtest/gtest.h>

#include <string>

#include "WidgetKit.h"
#include "display/FontSet.h"
#include "platform/Clock.h"
#include "ui/WidgetHelpers.h"
#include "ui/TextBox.h"
#include "ui/TextEntry.h"
#include "ui/TextLines.h"
#include "ui/TextLink.h"

using namespace widgetkit;

TEST(TextLines, GrowsByFourAndClearsBackToFour) {
    CTextLines lines;
    EXPECT_EQ(lines.GetCapacity(), 4u);
    for (int i = 0; i < 9; ++i) lines.Append(CStr(std::to_string(i).c_str()));
    EXPECT_EQ(lines.GetCount(), 9u);
    EXPECT_EQ(lines.GetCapacity(), 12u);
    EXPECT_STREQ(lines.GetText(8), "8");
    EXPECT_STREQ(lines.GetText(9), "");
    EXPECT_EQ(lines.GetAt(9), nullptr);
    // Lines are held whole, however long.
    std::string wide(3000, 'x');
    lines.Append(CStr(wide.c_str()));
    EXPECT_EQ(std::string(lines.GetText(9)), wide);
    lines.Clear();
    EXPECT_EQ(lines.GetCount(), 0u);
    EXPECT_EQ(lines.GetCapacity(), 4u);
}

namespace {

// A text box of four body lines per page in layout mode 15 (font 2, line pitch 27), without title.
struct PagedBox {
    Stage stage;
    CTextBox box;
    explicit PagedBox(u16 height = 108) {
        box.Attach(&stage.form);
        box.SetRect(10, 0, 300, height);
        box.Setup(2, 0x000000, 0x00FF00, 0x202020, 0xFFFFFF, 1, 2, 2, 0x0000FF);
    }
};

std::string Lines(int n) {
    std::string body;
    for (int i = 0; i < n; ++i) body += (i ? "\n" : "") + std::string("line") + std::to_string(i);
    return body;
}

}  // namespace

TEST(TextBox, BodiesAreCutIntoPagesOfTheirShare) {
    struct Case {
        int lines;
        u32 pages;
    };
    // Without a title the body starts 1 pixel above the box: 4 lines on the first page, 4 on the others.
    for (const Case& c : {Case{0, 1}, Case{1, 1}, Case{4, 1}, Case{5, 2}, Case{8, 2}, Case{9, 3}}) {
        PagedBox p;
        p.box.SetText("", Lines(c.lines).c_str(), 0, 0);
        EXPECT_EQ(p.box.GetPageCount(), c.pages) << c.lines << " lines";
        EXPECT_EQ(p.box.currentPage, 0u);
        EXPECT_EQ(p.box.bodyTop, -1);
    }
    PagedBox p;
    p.box.SetText("", Lines(5).c_str(), 0, 0);
    EXPECT_STREQ(p.box.pages.GetText(0), "line0\rline1\rline2\rline3\r");
    EXPECT_STREQ(p.box.pages.GetText(1), "line4\r");
    p.box.SetText(nullptr, nullptr, 0, 0);
    ASSERT_EQ(p.box.GetPageCount(), 1u);
    EXPECT_STREQ(p.box.pages.GetText(0), "");
}

TEST(TextBox, ATitleThatLeavesNoRoomPutsTheWholeBodyOnTheFirstPage) {
    PagedBox p(27);
    // A one-line title reserves two lines in the large layouts: the body top lies below the box.
    p.box.SetText("Title", Lines(6).c_str(), 0, 0);
    EXPECT_EQ(p.box.bodyTop, 0 + 2 * 27 + 2 - 3);
    EXPECT_EQ(p.box.GetPageCount(), 1u);
    EXPECT_STREQ(p.box.title.GetText(), "Title");
    // A null title keeps the old one.
    p.box.SetText(nullptr, "x", 1, 0);
    EXPECT_STREQ(p.box.title.GetText(), "Title");
    EXPECT_EQ(p.box.flagA, 1u);
}

TEST(TextBox, DrawsTheTitleOnlyOnTheFirstPageInItsFlaggedColour) {
    PagedBox p;
    p.box.state = kWidgetPlaced;
    p.box.SetText("Title", Lines(9).c_str(), 1, 0);
    p.stage.Clear(0);
    p.box.Draw();
    const u16 titleA = PackColourWord(0x00FF00);
    EXPECT_GT(p.stage.Count(10, 0, 300, 27, titleA), 0);
    p.box.flagB = 1;
    p.box.Draw();
    EXPECT_EQ(p.stage.Count(10, 0, 300, 27, titleA), 0);
    EXPECT_GT(p.stage.Count(10, 0, 300, 27, PackColourWord(0x0000FF)), 0);
    EXPECT_TRUE(testing_support::MatchesGolden("ui/text_box_page0", p.stage.Capture(0, 0, 320, 110)));
    p.box.currentPage = 1;
    p.box.Draw();
    EXPECT_EQ(p.stage.Count(10, 0, 300, 27, PackColourWord(0x0000FF)), 0);
    EXPECT_TRUE(testing_support::MatchesGolden("ui/text_box_page1", p.stage.Capture(0, 0, 320, 110)));
    // A page number past the pages draws the fill and nothing else.
    p.box.currentPage = 7;
    p.box.Draw();
}

TEST(TextEntry, KeepsAtMostTheMaximumAndWhatFitsTheWidth) {
    Stage stage;
    plat::ManualClock clock;
    plat::ScopedClock scoped(clock);
    CTextEntry entry;
    entry.Attach(&stage.form);
    entry.SetRect(0, 0, 2000, 30);
    entry.Reset();
    for (int i = 0; i < 60; ++i) entry.AppendChar('a');
    EXPECT_EQ(entry.GetLength(), 50);
    // More than the text can hold is never kept.
    entry.Reset();
    entry.maximumLength = 500;
    for (int i = 0; i < 150; ++i) entry.AppendChar('i');
    EXPECT_EQ(entry.GetLength(), 99);

    // A narrow entry stops at its width less 2 pixels; the dropped character still restarts the caret.
    entry.Reset();
    entry.SetRect(0, 0, 60, 30);
    int kept = 0;
    for (int i = 0; i < 20; ++i) {
        clock.Advance(100);
        entry.caretShown = 0;
        entry.state = 0;
        entry.AppendChar('W');
        EXPECT_EQ(entry.caretShown, 1u);
        EXPECT_EQ(entry.blinkTime, clock.TickCount());
        EXPECT_TRUE(entry.state & kWidgetRedraw);
        kept = entry.GetLength();
    }
    stage.game.fonts->Select(entry.font, entry.textColour, entry.backgroundColour);
    i32 width = 0, lf = 0;
    stage.game.fonts->FindLineBreak(entry.GetText(), 0, 1000, false, width, lf);
    EXPECT_LT(width + 2, 60);
    std::string more = std::string(entry.GetText()) + "W";
    stage.game.fonts->FindLineBreak(more.c_str(), 0, 1000, false, width, lf);
    EXPECT_GE(width + 2, 60);
    EXPECT_GT(kept, 0);

    entry.DeleteLastChar();
    EXPECT_EQ(entry.GetLength(), kept - 1);
    // Deleting from an empty entry changes nothing: no redraw, no caret restart.
    entry.Reset();
    entry.state = 0;
    entry.blinkTime = 5;
    entry.caretShown = 0;
    entry.DeleteLastChar();
    EXPECT_EQ(entry.state, 0);
    EXPECT_EQ(entry.blinkTime, 5u);
    EXPECT_EQ(entry.caretShown, 0u);
}

TEST(TextEntry, CaretBlinksEvery600MillisecondsAndIsDrawnAtTheTextEnd) {
    Stage stage;
    plat::ManualClock clock;
    plat::ScopedClock scoped(clock);
    CTextEntry entry;
    entry.Attach(&stage.form);
    entry.SetRect(20, 10, 200, 30);
    entry.Reset();
    clock.SetTick(1000);
    entry.AppendChar('a');
    entry.AppendChar('b');
    stage.Clear(0x1234);
    entry.Draw();
    stage.game.fonts->Select(entry.font, entry.textColour, entry.backgroundColour);
    i32 width = 0, lf = 0;
    stage.game.fonts->FindLineBreak("ab", 0, 1000, false, width, lf);
    const u16 caret = PackRGB565(186, 186, 32);
    EXPECT_EQ(stage.Pixel(20 + width, 10), caret);
    EXPECT_EQ(stage.Pixel(21 + width, 39), caret);
    EXPECT_EQ(stage.Count(20, 10, 200, 30, caret), 2 * 30);

    clock.Advance(599);
    EXPECT_EQ(entry.OnTick(1), 0u);
    EXPECT_EQ(entry.caretShown, 1u);
    clock.Advance(1);
    EXPECT_EQ(entry.OnTick(2), 0u);
    EXPECT_EQ(entry.caretShown, 0u);
    EXPECT_EQ(stage.Count(20, 10, 200, 30, caret), 0);  // drawn at once, without the form
    clock.Advance(600);
    entry.OnTick(3);
    EXPECT_EQ(entry.caretShown, 1u);
    EXPECT_TRUE(testing_support::MatchesGolden("ui/text_entry", stage.Capture(10, 0, 220, 50)));
}

TEST(TextLink, ShortcutKeysAndThePressProtocol) {
    Stage stage;
    CTextLink link;
    link.Attach(&stage.form);
    link.SetupAt("Talk about the weather", 44, 10, 20, 300, 99, 0xC8C8C8, 't', 0x000000);
    EXPECT_EQ(link.pressedColour, 0x00FFFFu);
    EXPECT_EQ(link.lineCount, 1);
    EXPECT_EQ(link.h, 27);  // the measured height replaces the given one
    EXPECT_EQ(link.indent, stage.game.fonts->Font(2)->Width(148) + 4);

    link.state = kWidgetPlaced;
    EXPECT_EQ(link.OnKey('t'), 44u);
    EXPECT_EQ(link.OnKey('u'), 0u);
    link.EnablePen(0);
    EXPECT_EQ(link.OnKey('t'), 0u);  // a disabled link ignores its key
    EXPECT_EQ(link.OnPen(15, 25, 1, 0), 0u);
    link.EnablePen(1);
    link.shortcutKey = 0;
    EXPECT_EQ(link.OnKey(0), 0u);

    struct Step {
        i32 x, y;
        u32 down;
        u32 result;
        bool pressed;
    };
    const Step steps[] = {
        {15, 25, 0, 0, false},                           // up without a press
        {15, 25, 1, 0, true},                            // press
        {15, 26, 1, 0, true},                            // still held
        {400, 25, 1, 0, false},                          // slid off: cancelled
        {15, 25, 0, 0, false},                           // released inside without a press
        {15, 25, 1, 0, true},   {15, 25, 0, 44, false},  // released inside: the command
    };
    for (const Step& s : steps) {
        EXPECT_EQ(link.OnPen(s.x, s.y, s.down, 0), s.result) << s.x << "," << s.down;
        EXPECT_EQ((link.state & kWidgetPressed) != 0, s.pressed) << s.x << "," << s.down;
    }

    // The pressed colour shows only while held (or latched).
    stage.Clear(0);
    link.Draw();
    const u16 yellow = PackColourWord(0x00FFFF);
    EXPECT_EQ(stage.Count(10, 20, 300, 27, yellow), 0);
    link.OnPen(15, 25, 1, 0);
    link.Draw();
    EXPECT_GT(stage.Count(10, 20, 300, 27, yellow), 0);
}
