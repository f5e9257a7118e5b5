#include <gtest/gtest.h>

#include "tests/ui/WidgetRig.h"
#include "ui/TextLabel.h"

using widgetrig::Rig;

namespace {

struct LabelRig : Rig {
    explicit LabelRig(u32 mode = 15) : Rig(mode, 200, 120) {
        label.Attach(screen);
        label.SetRect(20, 30, 160, 60);
        label.font = 2;
        label.textColour = 0xFFFFFF;
        label.backgroundColour = 0x161616;
    }
    CTextLabel label;
};

}  // namespace

// Where Layout puts the text's origin, by alignment and by how many lines the text needs; the line
// pitch of font 2 in mode 15 is 27.
TEST(TextLabel, LayoutPlacesTheTextByAlignmentAndNeverAboveTheTop) {
    struct Case {
        const char* what;
        const char* text;
        u32 alignment;
        u16 height;
        i32 expectedY;
    } const cases[] = {
        {"empty, centred vertically", "", 0x12, 60, 30 + 30},
        {"empty, bottom-aligned", "", 0x20, 60, 30 + 60},
        {"one line, centred vertically", "Gold", 0x12, 60, 30 + (60 - 27) / 2},
        {"one line, bottom-aligned", "Gold", 0x22, 60, 30 + 60 - 27},
        {"two lines by CR, centred vertically", "Gold\rSilver", 0x12, 60, 30 + (60 - 54) / 2},
        {"three lines do not fit: centred falls back to the top", "a\rb\rc", 0x12, 60, 30},
        {"as high as the widget: centred falls to bottom-aligned", "a\rb", 0x32, 54, 30},
        {"bottom-aligned text taller than the widget stays at the top", "a\rb\rc", 0x20, 60, 30},
        {"top-aligned", "Gold", 0x02, 60, 30},
    };
    for (const Case& c : cases) {
        LabelRig rig;
        rig.label.alignment = c.alignment;
        rig.label.h = c.height;
        rig.label.text.Assign(c.text);
        rig.label.Layout();
        EXPECT_EQ(rig.label.textX, 20) << c.what;
        EXPECT_EQ(rig.label.textY, c.expectedY) << c.what;
    }
}

TEST(TextLabel, SetTextLaysOutAndAsksForARedraw) {
    LabelRig rig;
    rig.label.alignment = 0x12;
    rig.label.state = 0;
    rig.label.SetText("Gold");
    EXPECT_EQ(rig.label.state & kWidgetRedraw, kWidgetRedraw);
    EXPECT_STREQ(rig.label.text.GetText(), "Gold");
    EXPECT_EQ(rig.label.textY, 30 + (60 - 27) / 2);
}

// The drawn looks: centred with an outline (2 pixels in the large modes, mode 11 included, where the
// font set does not force font 2), right-aligned, and left-aligned where the outline is never drawn.
TEST(TextLabel, DrawnLooks) {
    struct Case {
        const char* golden;
        u32 mode;
        u32 alignment;
        u32 outline;
    } const cases[] = {
        {"ui/label_centred_outline_mode15", 15, 0x12, 1}, {"ui/label_centred_outline_mode11", 11, 0x12, 1},
        {"ui/label_centred_outline_mode2", 2, 0x12, 1},   {"ui/label_right_plain", 15, 0x10, 0},
        {"ui/label_left_outline_ignored", 15, 0x11, 1},
    };
    for (const Case& c : cases) {
        LabelRig rig(c.mode);
        rig.Clear(0x4208);
        rig.label.alignment = c.alignment;
        rig.label.outline = c.outline;
        rig.label.SetText("Vantrel 42");
        rig.label.Draw();
        EXPECT_TRUE(testing_support::MatchesGolden(c.golden, rig.Capture(0, 0, 200, 120))) << c.golden;
    }
}

TEST(TextLabel, LeftAlignedOutlineDrawsNothingBlack) {
    LabelRig rig;
    rig.Clear(0x4208);
    rig.label.alignment = 0x01;
    rig.label.outline = 1;
    rig.label.SetText("Vantrel");
    rig.label.Draw();
    for (u16 p : rig.Capture().pixels) ASSERT_NE(p, 0) << "an outline pixel was drawn";
}
