#include <gtest/gtest.h>

#include "tests/ui/WidgetRig.h"
#include "ui/Gauges.h"

using widgetrig::Rig;

namespace {

// Gauge pictures of the rig: vertical caps 10 x 4 (moving) and 10 x 3 (fixed), fill 10 x 40;
// horizontal caps 4 x 10 and 3 x 10, fill 80 x 10.
struct GaugeRig : Rig {
    GaugeRig() : Rig(15, 160, 100) { InstallInterfacePictures(); }
    void Place(CWidget& w, u16 x, u16 y, u16 width, u16 height) {
        w.Attach(screen);
        w.SetRect(x, y, width, height);
        screen->AddWidget(&w);
    }
};

}  // namespace

TEST(GaugeBar, SetupChoosesThePicturesByShapeAndStyle) {
    GaugeRig rig;
    struct Case {
        u16 w, h;
        u32 style;
        u16 first;
        u32 horizontal;
    } const cases[] = {{10, 50, 1, 3378, 0},
                       {10, 50, 0, 3381, 0},
                       {90, 10, 1, 3823, 1},
                       {90, 10, 0, 3826, 1},
                       {10, 10, 1, 3823, 1}};
    for (const Case& c : cases) {
        CGaugeBar gauge;
        rig.Place(gauge, 5, 5, c.w, c.h);
        gauge.Setup(c.style);
        EXPECT_EQ(gauge.horizontal, c.horizontal);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(gauge.pictures[i], rig.game.GetInterfacePicture(static_cast<u16>(c.first + i)));
    }
    CGaugeBar vertical;
    rig.Place(vertical, 5, 5, 10, 50);
    vertical.Setup(1);
    EXPECT_EQ(vertical.top, 5);
    EXPECT_EQ(vertical.verticalFillLength, 50 - 4 - 3);
    CGaugeBar horizontal;
    rig.Place(horizontal, 5, 5, 90, 10);
    horizontal.Setup(1);
    EXPECT_EQ(horizontal.fillEnd, 95);
    EXPECT_EQ(horizontal.horizontalFillLength, 90 - 4 - 3);
}

TEST(GaugeBar, SetPercentCutsTheFillAndMovesTheCap) {
    GaugeRig rig;
    CGaugeBar v, h;
    rig.Place(v, 10, 10, 10, 50);  // inner 43
    rig.Place(h, 30, 10, 90, 10);  // inner 83
    v.Setup(1);
    h.Setup(1);
    struct Case {
        u32 percent;
        i32 vLength, hLength;
    } const cases[] = {{100, 43, 83}, {50, 21, 41}, {1, 0, 0}, {0, 0, 0}, {2, 0, 1}, {150, 43, 83}};
    for (const Case& c : cases) {
        v.state = 0;
        v.SetPercent(c.percent);
        h.SetPercent(c.percent);
        EXPECT_EQ(v.state & kWidgetRedraw, kWidgetRedraw);
        EXPECT_EQ(v.verticalFillLength, c.vLength) << c.percent;
        EXPECT_EQ(v.top, 10 + 43 - c.vLength) << c.percent;
        EXPECT_EQ(h.horizontalFillLength, c.hLength) << c.percent;
        EXPECT_EQ(h.fillEnd, 30 + 4 + 3 + c.hLength) << c.percent;
    }
    // Full: the moving cap ends at the far edge (horizontal) or starts at the top (vertical).
    v.SetPercent(100);
    h.SetPercent(100);
    EXPECT_EQ(h.fillEnd, 30 + 90);
    EXPECT_EQ(v.top, 10);
}

// Empty (0 and 1 percent alike draw only the background), half and full, both shapes.
TEST(GaugeBar, DrawnLevels) {
    GaugeRig rig;
    rig.Clear(0x39E7);
    const u32 percents[3] = {0, 50, 100};
    CGaugeBar v[3], h[3];
    for (int i = 0; i < 3; ++i) {
        rig.Place(v[i], static_cast<u16>(10 + 20 * i), 10, 10, 50);
        rig.Place(h[i], 70, static_cast<u16>(10 + 20 * i), 80, 10);
        v[i].Setup(i % 2);
        h[i].Setup(i % 2);
        v[i].SetPercent(percents[i]);
        h[i].SetPercent(percents[i]);
        v[i].Draw();
        h[i].Draw();
    }
    EXPECT_TRUE(testing_support::MatchesGolden("ui/gauges", rig.Capture()));
    // The full vertical gauge's inner 43 rows are longer than its 40-row fill picture: the three rows
    // past the picture keep the background.
    for (int y = 10 + 4 + 40; y < 10 + 4 + 43; ++y) ASSERT_EQ(rig.Pixel(54, y), 0) << y;
    // Empty: only the background colour 0.
    for (int y = 10; y < 60; ++y) ASSERT_EQ(rig.Pixel(14, y), 0);
}

TEST(ProgressBar, FillsInProportionAndSurvivesAZeroMaximum) {
    GaugeRig rig;
    CProgressBar bar;
    rig.Place(bar, 10, 10, 100, 6);
    bar.barColour = 0x0000FF;   // red
    bar.restColour = 0xFF0000;  // blue
    struct Case {
        i32 value, maximum, filled;
    } const cases[] = {{0, 21, 0},  {21, 21, 100}, {7, 21, 33},  {1, 3, 33},
                       {5, 0, 100}, {-3, 10, 0},   {30, 10, 100}};
    for (const Case& c : cases) {
        rig.Clear(0x07E0);
        bar.value = c.value;
        bar.maximum = c.maximum;
        bar.Draw();
        for (int x = 10; x < 110; ++x)
            ASSERT_EQ(rig.Pixel(x, 12), x < 10 + c.filled ? 0xF800 : 0x001F)
                << c.value << "/" << c.maximum << " at " << x;
        EXPECT_EQ(rig.Pixel(110, 12), 0x07E0);
    }
}
