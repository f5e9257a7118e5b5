#include <gtest/gtest.h>

#include "WidgetKit.h"
#include "platform/Clock.h"
#include "ui/WidgetHelpers.h"
#include "ui/TimedText.h"

using namespace widgetkit;

namespace {

// A roll of 200 x 100 pixels at (50, 40) in layout mode 15 (line pitch 27), stepping every 10 ms.
struct Roll {
    Stage stage;
    plat::ManualClock clock;
    plat::ScopedClock scoped{clock};
    CTimedText roll;
    explicit Roll(const char* text) {
        stage.game.textColor = 0x94D6EF;
        stage.form.fillRed = 0xEF;
        stage.form.fillGreen = 0xD6;
        stage.form.fillBlue = 0x94;
        roll.Attach(&stage.form);
        roll.id = 70;
        roll.SetRect(50, 40, 200, 100);
        stage.form.AddWidget(&roll);
        clock.SetTick(5000);
        roll.Start(text);
        roll.stepInterval = 10;
    }
    void Step(int n) {
        for (int i = 0; i < n; ++i) {
            clock.Advance(10);
            EXPECT_EQ(roll.OnTick(0), 0u);
        }
    }
};

}  // namespace

TEST(TimedText, BlendRunsFromTheBackgroundToTheTextColourOverOneLinePitch) {
    Roll r("x");
    ASSERT_EQ(r.roll.linePitch, 27);
    EXPECT_EQ(r.roll.backgroundColour, 0x94D6EFu);
    EXPECT_EQ(r.roll.textColour, 0x161616u);
    EXPECT_EQ(r.roll.Blend(0), 0x94D6EFu);
    EXPECT_EQ(r.roll.Blend(27), 0x161616u);
    // Each byte towards the text colour, truncated towards zero: 0xEF + (0x16 - 0xEF) * 13 / 27.
    const u32 red = 0xEF + (0x16 - 0xEF) * 13 / 27, green = 0xD6 + (0x16 - 0xD6) * 13 / 27,
              blue = 0x94 + (0x16 - 0x94) * 13 / 27;
    EXPECT_EQ(r.roll.Blend(13), red | green << 8 | blue << 16);
}

TEST(TimedText, BlankLinesVanishAndTheEndIsTheLinesHeight) {
    Roll r("  First line\r\n\r\n\t  second   \n\n\nthird\n");
    ASSERT_EQ(r.roll.lines.GetCount(), 3u);
    EXPECT_STREQ(r.roll.lines.GetText(0), "First line");
    EXPECT_STREQ(r.roll.lines.GetText(1), "second   ");
    EXPECT_STREQ(r.roll.lines.GetText(2), "third");
    EXPECT_EQ(r.roll.position, 13);
    EXPECT_EQ(r.roll.endPosition, 81);
    // SetText appends.
    r.roll.SetText("fourth");
    EXPECT_EQ(r.roll.lines.GetCount(), 4u);
    EXPECT_EQ(r.roll.endPosition, 108);
}

TEST(TimedText, LinesFadeInAtTheBottomAndOutAtTheTop) {
    Roll r("Alpha\rBeta\rGamma\rDelta\rEpsilon\rZeta");
    r.Step(1);
    EXPECT_EQ(r.roll.position, 14);
    // The first line is 14 pixels into the bottom band: drawn in Blend(14), nothing in the text colour.
    const u16 text = PackColourWord(0x161616);
    EXPECT_GT(r.stage.Count(50, 40, 200, 100, PackColourWord(r.roll.Blend(14))), 0);
    EXPECT_EQ(r.stage.Count(50, 40, 200, 100, text), 0);
    EXPECT_TRUE(testing_support::MatchesGolden("ui/text_roll_entering", r.stage.Capture(40, 30, 220, 120)));
    // Between the bands a line has the full text colour.
    r.Step(40);
    EXPECT_EQ(r.roll.position, 54);
    EXPECT_GT(r.stage.Count(50, 40, 200, 100, text), 0);
    // At position 95 the first line is 95 pixels up, in the top band (above 100 - 27): Blend(5).
    r.Step(41);
    EXPECT_EQ(r.roll.position, 95);
    EXPECT_GT(r.stage.Count(50, 40, 200, 100, PackColourWord(r.roll.Blend(100 - 95))), 0);
    EXPECT_TRUE(testing_support::MatchesGolden("ui/text_roll_leaving", r.stage.Capture(40, 30, 220, 120)));
    // Nothing is drawn outside the roll's rectangle.
    EXPECT_EQ(r.stage.Count(0, 0, 400, 40, text), 0);
}

TEST(TimedText, FinishesTwoSecondsAfterTheLastLineHasComeUp) {
    Roll r("One\rTwo");
    ASSERT_EQ(r.roll.endPosition, 54);
    r.Step(54 - 13);
    EXPECT_EQ(r.roll.position, 54);
    EXPECT_EQ(r.roll.atEnd, 0u);
    r.Step(1);
    EXPECT_EQ(r.roll.atEnd, 1u);
    EXPECT_EQ(r.roll.position, 54);
    r.clock.Advance(1999);
    r.roll.OnTick(0);
    EXPECT_EQ(r.roll.finished, 0u);
    r.clock.Advance(1);
    r.roll.OnTick(0);
    EXPECT_EQ(r.roll.finished, 1u);
    EXPECT_EQ(r.roll.position, 54);
    // Start begins again.
    r.roll.Start("Again");
    EXPECT_EQ(r.roll.finished, 0u);
    EXPECT_EQ(r.roll.lines.GetCount(), 1u);
}

TEST(TimedText, AnEmptyTextNeverEndsByItselfAndATapSkips) {
    Roll r("");
    EXPECT_EQ(r.roll.endPosition, 0);
    r.Step(300);
    EXPECT_EQ(r.roll.atEnd, 0u);
    EXPECT_EQ(r.roll.finished, 0u);
    EXPECT_EQ(r.roll.OnPen(60, 50, 1, 0), 70u);
    EXPECT_EQ(r.roll.OnPen(60, 50, 1, 1), 0u);
    EXPECT_EQ(r.roll.OnPen(60, 50, 0, 0), 0u);
    EXPECT_EQ(r.roll.OnPen(10, 50, 1, 0), 0u);
    // Stopped: nothing moves.
    r.roll.running = 0;
    const i32 at = r.roll.position;
    r.Step(5);
    EXPECT_EQ(r.roll.position, at);
}

TEST(TimedText, WaitsForItsStepInterval) {
    Roll r("Line");
    r.clock.Advance(9);
    r.roll.OnTick(0);
    EXPECT_EQ(r.roll.position, 13);
    r.clock.Advance(1);
    r.roll.OnTick(0);
    EXPECT_EQ(r.roll.position, 14);
}
