#include <gtest/gtest.h>

#include "tests/ui/WidgetRig.h"
#include "ui/ProgressDialog.h"

using widgetrig::MakePicture;
using widgetrig::Rig;

namespace {

// The progress screen's layout group 3 on a 320 x 240 frame: four pictures and the strip element 12.
struct ProgressRig : Rig {
    ProgressRig()
        : Rig(15, 320, 240, {},
              {{3,
                15,
                320,
                240,
                {{10, 0, 0, 320, 60},
                 {13, 0, 60, 160, 60},
                 {14, 160, 60, 160, 60},
                 {11, 100, 20, 120, 100},
                 {12, 40, 110, 240, 70}}}}) {
        InstallInterfacePictures();
        const u16 colours[4] = {0x18E3, 0x2124, 0x2965, 0xFFFF};
        for (int i = 0; i < 4; ++i) {
            const u16 c = colours[i];
            game.loadingPictures[i] =
                (i == 3
                     ? MakePicture(120, 100,
                                   [](int x, int y) {
                                       return static_cast<u16>(
                                           (x - 60) * (x - 60) + (y - 50) * (y - 50) < 900 ? 0xC618 : 0xFFFF);
                                   })
                     : MakePicture(i == 0 ? 320 : 160, 60, c));
        }
        dialog.Attach(&game);
        dialog.Open();
        screen->OpenModal(&dialog);
        dialog.textLine.SetText("Loading...");
        dialog.Draw();
    }
    // Columns of the bar's inside drawn in the bar colour.
    int FilledColumns() {
        int filled = 0;
        const int y = dialog.bar.y + dialog.bar.h / 2;
        for (int x = dialog.bar.x; x < dialog.bar.x + dialog.bar.w; ++x)
            filled += Pixel(x, y) == PackRGB565(0xC8, 0xC8, 0x64);
        return filled;
    }
    CProgressDialog dialog;
};

}  // namespace

TEST(ProgressDialog, OpenPlacesTheTextLineAndTheBarInTheStrip) {
    ProgressRig rig;
    const i32 f = 26;  // the line height of font 1 in mode 15, which shows font 2
    EXPECT_EQ(rig.dialog.width, 320u);
    EXPECT_EQ(rig.dialog.height, 240u);
    EXPECT_EQ(rig.dialog.textLine.x, 40);
    EXPECT_EQ(rig.dialog.textLine.w, 240);
    EXPECT_EQ(rig.dialog.textLine.y, 110 + 70 / 2);
    EXPECT_EQ(rig.dialog.textLine.h, f + 1);
    EXPECT_EQ(rig.dialog.textLine.alignment, 0x12u);
    EXPECT_EQ(rig.dialog.textLine.outline, 1u);
    EXPECT_EQ(rig.dialog.barFrame.w, 5 * f);
    EXPECT_EQ(rig.dialog.barFrame.h, f);
    EXPECT_EQ(rig.dialog.barFrame.x, 40 + (240 - 5 * f) / 2);
    EXPECT_EQ(rig.dialog.barFrame.y, rig.dialog.textLine.y + f + 10);
    EXPECT_EQ(rig.dialog.barFrame.sides, 0x0Fu);
    EXPECT_EQ(rig.dialog.barFrameSet[4], nullptr);
    EXPECT_EQ(rig.dialog.barFrameSet[5], rig.game.GetInterfacePicture(3194));
    EXPECT_EQ(rig.dialog.bar.x, rig.dialog.barFrame.x + 4);
    EXPECT_EQ(rig.dialog.bar.y, rig.dialog.barFrame.y + 4);
    EXPECT_EQ(rig.dialog.bar.w, rig.dialog.barFrame.w - 8);
    EXPECT_EQ(rig.dialog.bar.h, rig.dialog.barFrame.h - 8);
    EXPECT_EQ(rig.dialog.bar.maximum, 1);
    EXPECT_EQ(rig.dialog.bar.value, 0);
    EXPECT_EQ(rig.FilledColumns(), 0);
}

// Every step draws and presents at once; 21 steps fill the bar exactly, and more keep it full.
TEST(ProgressDialog, BeginAndAdvanceDrawAndPresentEachStep) {
    ProgressRig rig;
    const u32 presents = rig.Presents();
    rig.dialog.Begin(21);
    EXPECT_EQ(rig.Presents(), presents + 1);
    EXPECT_EQ(rig.FilledColumns(), 0);
    const int inside = rig.dialog.bar.w;
    for (int step = 1; step <= 21; ++step) {
        rig.dialog.Advance();
        EXPECT_EQ(rig.dialog.bar.value, step);
        EXPECT_EQ(rig.FilledColumns(), inside * step / 21) << step;
        if (step == 10) {
            EXPECT_TRUE(testing_support::MatchesGolden("ui/progress_10_of_21", rig.Capture()));
        }
    }
    EXPECT_EQ(rig.Presents(), presents + 22);
    rig.dialog.Advance();
    EXPECT_EQ(rig.dialog.bar.value, 21);
    EXPECT_EQ(rig.FilledColumns(), inside);
}

TEST(ProgressDialog, AdvanceWithoutBeginFillsTheBarAtOnce) {
    ProgressRig rig;
    rig.dialog.Advance();
    EXPECT_EQ(rig.dialog.bar.value, 1);
    EXPECT_EQ(rig.FilledColumns(), rig.dialog.bar.w);
    // Opening again starts from an empty bar; a count of 0 is taken as one step.
    rig.dialog.Open();
    rig.dialog.Draw();
    EXPECT_EQ(rig.FilledColumns(), 0);
    rig.dialog.Begin(0);
    rig.dialog.Advance();
    EXPECT_EQ(rig.FilledColumns(), rig.dialog.bar.w);
}
