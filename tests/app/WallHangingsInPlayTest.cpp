// What hangs on the walls of the built world, as a player sees it: the gallery's chest and lever on
// the north wall, and the banners of the cellar's hall. Each must show on the wall's face, not the
// plain stone of a wall without one.
#include <gtest/gtest.h>

#include "tests/app/PlayRig.h"
#include "tests/support/Png.h"
#include "world/GameScreen.h"
#include "world/MapObject.h"

namespace {

using testing_support::kNorth;
using testing_support::PlayRig;
using testing_support::Rgb565Image;

// Facing the north wall from two cells away: the chest that holds the gallery key, and the plain
// wall further east, which has nothing on it.
TEST(WallHangingsInPlay, TheChestShowsOnTheGalleryWall) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    rig.PlaceAt(30, 2, kNorth);
    const Rgb565Image plain = rig.FreshFrame();
    rig.PlaceAt(12, 2, kNorth);
    const Rgb565Image chest = rig.FreshFrame();
    ASSERT_EQ(chest.width, plain.width);
    ASSERT_EQ(chest.height, plain.height);
    EXPECT_GT(rig.DifferingInTheMiddle(chest, plain, 2), 2000)
        << "the chest covers a good part of the wall ahead";
    EXPECT_TRUE(testing_support::MatchesGolden("app_gallery_chest", chest));
}

// The lever shows up (off) until it is pulled, then down (on); pulling it again puts it back up.
TEST(WallHangingsInPlay, TheLeverShowsBothStates) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    CPlacement* lever = rig.Placement("base_gallery16");
    ASSERT_NE(lever, nullptr);
    ASSERT_NE(lever->flags & mapobject::kClosed, 0) << "off at the start";
    rig.PlaceAt(30, 1, kNorth);
    const Rgb565Image plain = rig.FreshFrame();
    rig.PlaceAt(14, 1, kNorth);
    const Rgb565Image off = rig.FreshFrame();
    EXPECT_GT(rig.DifferingInTheMiddle(off, plain, 2), 500) << "the lever shows";
    EXPECT_TRUE(testing_support::MatchesGolden("app_gallery_lever_off", off));

    rig.Use();
    rig.CloseMessage();
    ASSERT_EQ(lever->flags & mapobject::kClosed, 0) << "on";
    const Rgb565Image on = rig.FreshFrame();
    EXPECT_GT(rig.DifferingInTheMiddle(on, off, 2), 200) << "the lever is drawn pulled down";
    EXPECT_TRUE(testing_support::MatchesGolden("app_gallery_lever_on", on));

    rig.Use();
    rig.CloseMessage();
    ASSERT_NE(lever->flags & mapobject::kClosed, 0) << "off again";
    EXPECT_EQ(rig.DifferingInTheMiddle(rig.FreshFrame(), off, 2), 0) << "back up, as at the start";
}

// The banners of the hall hang on its walls: on the north wall that the hall shares with the
// gallery, and on the east wall.
TEST(WallHangingsInPlay, TheHallsBannersShow) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    rig.PlaceAt(23, 15, kNorth);  // a wall without a banner
    const Rgb565Image plain = rig.FreshFrame();
    rig.PlaceAt(20, 15, kNorth);  // the banner of (20, 12)
    const Rgb565Image banner = rig.FreshFrame();
    EXPECT_GT(rig.DifferingInTheMiddle(banner, plain, 2), 1000) << "the banner shows";
    EXPECT_TRUE(testing_support::MatchesGolden("app_cellar_banner", banner));

    constexpr i32 kEast = 270;
    rig.PlaceAt(31, 20, kEast);  // the banner of (34, 20)
    const Rgb565Image east = rig.FreshFrame();
    rig.PlaceAt(31, 24, kEast);
    EXPECT_GT(rig.DifferingInTheMiddle(east, rig.FreshFrame(), 2), 500) << "the east wall's banner shows";
}

}  // namespace
