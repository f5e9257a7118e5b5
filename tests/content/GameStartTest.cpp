// The game starts on the interface database that the build writes: every record that start-up reads
// and checks is there.
#include <gtest/gtest.h>

#include "app/Game.h"
#include "tests/support/FrameRig.h"
#include "ui/InterfacePictures.h"

namespace {

TEST(GameStart, StartsOnTheBuiltInterfaceDatabaseWithEveryPictureAndSoundLoaded) {
    testing_support::FrameRig rig;
    bool started = rig.StartOnBuiltDatabase();
    EXPECT_TRUE(started);
    if (started) {
        CGame* game = rig.Game();
        ASSERT_NE(game, nullptr);
        EXPECT_EQ(game->layoutMode, 15u);
        for (int i = 0; i < kInterfacePictureCount; ++i) {
            u16 base = InterfacePictureBase(i);
            EXPECT_NE(game->GetInterfacePictureData(base), nullptr) << base;
        }
        EXPECT_NE(game->interfaceSounds[0], nullptr);
        EXPECT_NE(game->interfaceSounds[1], nullptr);
    }
}

}  // namespace
