// An idle screen is not handed to the window again and again: only frames that changed are
// presented (an uncovered window shows the last one again by itself).
#include <gtest/gtest.h>

#include "screens/frontend/MainMenuScreen.h"
#include "tests/support/FrameRig.h"

TEST(IdlePresent, TheIdleMenuPresentsOnlyFramesThatChanged) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    rig.Key(27);
    ASSERT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
    rig.Tick();
    const u32 idle = rig.window->PresentCount();
    for (int i = 0; i < 50; ++i) rig.Tick();
    EXPECT_EQ(rig.window->PresentCount(), idle);
    // A key that moves the selection changes the picture, which is then shown.
    rig.Key(40);
    EXPECT_EQ(rig.window->PresentCount(), idle + 1);
    rig.Tick();
    EXPECT_EQ(rig.window->PresentCount(), idle + 1);
    // Uncovered, the window shows its last frame again without a new present.
    plat::Event event;
    auto pump = [&] {
        while (rig.window->PollEvent(event)) rig.frame->HandleEvent(event);
    };
    pump();
    const u32 repaints = rig.window->RepaintCount();
    const u32 presents = rig.window->PresentCount();
    rig.window->Invalidate();
    pump();
    EXPECT_EQ(rig.window->RepaintCount(), repaints + 1);
    EXPECT_EQ(rig.window->PresentCount(), presents);
}
