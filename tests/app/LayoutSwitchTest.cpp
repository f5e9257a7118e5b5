// A switch of the layout mode while the game runs (the settings screen's turn of the screen) loads the
// interface pictures and the fonts of the new mode into the holders the widgets already point at.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "app/Game.h"
#include "core/LayoutTable.h"
#include "core/PdbFile.h"
#include "core/RecordHolder.h"
#include "display/FontSet.h"
#include "tests/support/FrameRig.h"
#include "ui/InterfacePictures.h"
#include "ui/ScreenIds.h"

namespace {

TEST(LayoutSwitch, LoadsTheNewModesPicturesAndFontsIntoTheSameHolders) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    rig.Key(27);  // past the splash
    CGame* game = rig.Game();
    ASSERT_EQ(rig.Current(), game->GetScreen(kScreenMainMenu));

    std::array<CRecordHolder*, kInterfacePictureCount> holders{};
    for (int i = 0; i < kInterfacePictureCount; ++i) holders[static_cast<size_t>(i)] = game->interfacePictures[static_cast<size_t>(i)].get();

    // Each mode: a portrait and a landscape handheld pair, a small desktop one, and back to the start.
    for (u32 mode : {10u, 9u, 3u, 4u, 7u, 16u, 15u}) {
        SCOPED_TRACE(mode);
        game->SwitchLayoutMode(mode);
        EXPECT_EQ(game->GetLayoutMode(), mode);
        int differing = 0;
        for (int i = 0; i < kInterfacePictureCount; ++i) {
            CRecordHolder* holder = game->interfacePictures[static_cast<size_t>(i)].get();
            const u16 base = InterfacePictureBase(i);
            const u16 record = InterfacePictureRecord(base, mode);
            // The widgets keep pointers to the holders: a switch must not free them.
            ASSERT_EQ(holder, holders[static_cast<size_t>(i)]) << "picture " << base;
            ASSERT_EQ(game->GetInterfacePicture(base), holder);
            ASSERT_TRUE(holder->IsLoaded()) << "picture " << base << " (record " << record << ")";
            EXPECT_EQ(holder->recordId, record) << "picture " << base;
            if (record != InterfacePictureRecord(base, 15)) ++differing;
        }
        // The handheld modes have pictures of their own; the large ones share the start mode's.
        if (!IsLargeLayoutMode(mode)) {
            EXPECT_GT(differing, 0) << "the table gives this mode no pictures of its own";
        }
        const std::array<u32, 3> strips = FontStripRecords(mode);
        for (u32 f = 0; f < 3; ++f) {
            ASSERT_NE(game->fonts->Font(f), nullptr);
            EXPECT_EQ(game->fonts->Font(f)->Record(), strips[f]) << "font " << f;
        }
        // The menu draws with them.
        rig.Tick(30);
        EXPECT_EQ(rig.Current(), game->GetScreen(kScreenMainMenu));
    }
}

TEST(LayoutSwitch, AHolderShowsTheBytesOfTheModesRecord) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    CGame* game = rig.Game();
    game->SwitchLayoutMode(7);
    int compared = 0;
    for (int i = 0; i < kInterfacePictureCount; ++i) {
        const u16 base = InterfacePictureBase(i);
        const u16 record = InterfacePictureRecord(base, 7);
        if (record == InterfacePictureRecord(base, 15)) continue;
        CRecordHolder fresh;
        ASSERT_TRUE(fresh.Load(game->dataDb.get(), record));
        const CRecordHolder* held = game->GetInterfacePicture(base);
        ASSERT_EQ(held->Size(), fresh.Size()) << "picture " << base;
        EXPECT_EQ(std::memcmp(held->data, fresh.data, fresh.Size()), 0) << "picture " << base;
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

}  // namespace
