// The game starts on the interface database that the build writes: every record that start-up reads
// and checks is there.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Game.h"
#include "ui/InterfacePictures.h"
#include "app/MainFrame.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/SettingsStore.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/support/TempDir.h"

namespace {

TEST(GameStart, StartsOnTheBuiltInterfaceDatabaseWithEveryPictureAndSoundLoaded) {
    testing_support::TempDir dir;
    std::filesystem::copy_file(std::string(VANTREL_BINARY_DIR) + "/VantrelData.pdb",
                               std::filesystem::path(dir.Path()) / "VantrelData.pdb");
    std::string savedFolder = plat::ProgramFolder();
    plat::SetProgramFolder(dir.Path());
    plat::ManualClock clock;
    plat::ScopedClock scopedClock{clock};
    plat::MemorySettingsStore store;
    plat::ScopedSettings scopedStore{store};

    auto frame = std::make_unique<CMainFrame>(plat::CreateHeadlessWindow());
    SetMainFrame(frame.get());
    bool started = frame->CreateMainWindow();
    EXPECT_TRUE(started) << frame->Error();
    if (started) {
        CGame* game = frame->game.get();
        ASSERT_NE(game, nullptr);
        EXPECT_EQ(game->layoutMode, 15u);
        for (int i = 0; i < kInterfacePictureCount; ++i) {
            u16 base = InterfacePictureBase(i);
            EXPECT_NE(game->GetInterfacePictureData(base), nullptr) << base;
        }
        EXPECT_NE(game->interfaceSounds[0], nullptr);
        EXPECT_NE(game->interfaceSounds[1], nullptr);
    }
    frame.reset();
    SetMainFrame(nullptr);
    plat::SetProgramFolder(savedFolder);
}

}  // namespace
