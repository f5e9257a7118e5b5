// Standing still, the game view does not fill the 3D view again nor stretch the HUD's panels again:
// it puts back what they left. What shows must be the very frame a full redraw gives, and anything
// that moves in view (a turn, the light going, a message closed over the view) is drawn anew.
#include "tests/app/PlayRig.h"

#include <gtest/gtest.h>

namespace {

using testing_support::PlayRig;

// The frame after one more tick, with the 3D view filled anew and the HUD drawn whole.
testing_support::Rgb565Image FullyRedrawn(PlayRig& rig) {
    rig.View()->renderer.ForgetKeptFrame();
    return rig.FreshFrame();
}

TEST(UnchangedFrame, StandingStillKeepsTheViewAndShowsWhatAFullRedrawShows) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    rig.SettleView();
    rig.Tick(30);
    rig.Tick(30);
    EXPECT_TRUE(view->renderer.frameReused) << "nothing in view changed, yet the view was filled again";
    const testing_support::Rgb565Image kept = rig.Capture();
    const testing_support::Rgb565Image full = FullyRedrawn(rig);
    EXPECT_FALSE(view->renderer.frameReused);
    ASSERT_EQ(kept.pixels.size(), full.pixels.size());
    EXPECT_TRUE(kept.pixels == full.pixels) << "the kept frame differs from a full redraw";
}

TEST(UnchangedFrame, ATurnIsDrawnAnewEveryStepAndTheEndKeptAgain) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    rig.SettleView();
    rig.Tick(30);
    rig.Key(37);  // turn left
    int filled = 0;
    for (int i = 0; i < 20 && view->turning; ++i) {
        rig.Tick(30);
        filled += view->renderer.frameReused ? 0 : 1;
    }
    EXPECT_GE(filled, 5) << "a turn's frames were kept instead of drawn";
    rig.SettleView();
    rig.Tick(30);
    rig.Tick(30);
    EXPECT_TRUE(view->renderer.frameReused);
    const testing_support::Rgb565Image kept = rig.Capture();
    EXPECT_TRUE(kept.pixels == FullyRedrawn(rig).pixels);
}

// A message box drawn over the view and closed: the frame after it is the full redraw's, in every
// layout the golden frames use.
TEST(UnchangedFrame, AClosedMessageLeavesNothingBehind) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    rig.SettleView();
    rig.Tick(30);
    view->PostMessageEvent("A message over the view.", 1, nullptr);
    for (int i = 0; i < 20 && view->screenMode != CGameScreen::kModeMessage; ++i) rig.Tick(30);
    ASSERT_EQ(view->screenMode, CGameScreen::kModeMessage);
    rig.CloseMessage();
    rig.Tick(30);
    rig.Tick(30);
    const testing_support::Rgb565Image kept = rig.Capture();
    EXPECT_TRUE(kept.pixels == FullyRedrawn(rig).pixels);
}

}  // namespace
