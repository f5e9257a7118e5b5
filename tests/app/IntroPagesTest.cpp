// The new game's intro as a user sees it: a page's script speaks into the page's own text.
#include <gtest/gtest.h>

#include <string>

#include "app/Game.h"
#include "screens/frontend/PagesScreen.h"
#include "tests/support/FrameRig.h"
#include "ui/ScreenIds.h"

namespace {

bool RollHolds(const CTimedText& roll, const std::string& words) {
    std::string all;
    for (u32 i = 0; i < roll.lines.GetCount(); ++i) all += std::string(roll.lines.GetText(i)) + " ";
    return all.find(words) != std::string::npos;
}

TEST(IntroPages, ThePageScriptsMessageJoinsThePagesText) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    rig.Key(27);  // past the splash
    ASSERT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
    rig.Tick(30);
    rig.Key(40);  // the first entry outside a game: "Start new game"
    rig.Key(32);
    ASSERT_TRUE(rig.TickUntilScreen(kScreenPages, 300));
    auto* pages = dynamic_cast<CPagesScreen*>(rig.Current());
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->sequence.pages.size(), 3u);
    const std::string message = "The roofs of Vantrel Town show over the hedges.";
    EXPECT_FALSE(RollHolds(pages->text, message));

    rig.Tick(30);
    rig.Key(32);
    rig.Tick(30);
    rig.Key(32);
    ASSERT_EQ(pages->pageIndex, 2u);
    EXPECT_TRUE(RollHolds(pages->text, "Tell us who you are."));
    EXPECT_TRUE(RollHolds(pages->text, message));
}

}  // namespace
