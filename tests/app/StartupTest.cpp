#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <cstring>
#include <fstream>

#include "app/Game.h"
#include "app/MainFrame.h"
#include "data/RecordHolder.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/SettingsStore.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/app/InterfaceData.h"
#include "tests/support/FrameRig.h"
#include "tests/support/TestRecords.h"
#include "ui/Screen.h"
#include "world/GameScreen.h"

namespace {

class Startup : public testing::Test {
protected:
    // Makes a frame on a headless window and runs its start-up.
    bool Start() {
        bool started = rig.Start();
        window = rig.window;
        return started;
    }

    testing_support::FrameRig rig;
    testing_support::TempDir& dir = rig.env.dir;
    plat::MemorySettingsStore& store = rig.env.store;
    std::unique_ptr<CMainFrame>& frame = rig.frame;
    plat::HeadlessWindow* window = nullptr;
};

}  // namespace

TEST_F(Startup, AMissingInterfaceDatabaseIsNamed) {
    EXPECT_FALSE(Start());
    EXPECT_NE(frame->Error().find("VantrelData"), std::string::npos) << frame->Error();
}

TEST_F(Startup, ADatabaseOfAnotherCreatorIsRefused) {
    app_test::InterfaceDataOptions options;
    options.creator = "XXXX";
    ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path(), options));
    EXPECT_FALSE(Start());
    EXPECT_NE(frame->Error().find("VantrelData"), std::string::npos) << frame->Error();
}

TEST_F(Startup, EveryRecordThatStartUpReadsIsChecked) {
    for (u16 record : {3003, 3007, 4160, 4228, 4157, 4031, 4032, 3011, 3013, 3014}) {
        SCOPED_TRACE(record);
        app_test::InterfaceDataOptions options;
        options.leaveOut = {record};
        ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path(), options));
        EXPECT_FALSE(Start());
        EXPECT_NE(frame->Error().find(std::to_string(record)), std::string::npos) << frame->Error();
        frame.reset();
    }
}

TEST_F(Startup, StartUpEndsWithTheSplashScreenEnteredWithFourZeroWords) {
    ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path()));
    ASSERT_TRUE(Start()) << frame->Error();
    CGame* game = frame->game.get();
    ASSERT_NE(game, nullptr);

    EXPECT_EQ(window->Title(), "Vantrel - 800x600 PPC HPC");
    EXPECT_EQ(window->ClientWidth(), 800);
    EXPECT_EQ(window->ClientHeight(), 584);
    EXPECT_EQ(window->ClientX(), 50);
    EXPECT_EQ(window->ClientY(), 50);
    EXPECT_TRUE(window->IsShown());
    EXPECT_FALSE(window->IsTopmost());

    CScreen* splash = game->GetScreen(kScreenSplash);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(game->currentScreen, splash);
    EXPECT_EQ(splash->entryA | splash->entryB | splash->entryC | splash->entryD, 0u);
    EXPECT_EQ(game->tickCounter, 0u);
    EXPECT_EQ(game->layoutMode, 15u);
    EXPECT_EQ(game->screenStack->GetCount(), 0);

    // Every slot holds its screen, attached to the game.
    for (u32 id : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 14u, 15u}) {
        ASSERT_NE(game->GetScreen(id), nullptr) << id;
        EXPECT_EQ(game->GetScreen(id)->game, game) << id;
    }

    // The pictures of the large layouts are the ones loaded.
    struct Picture {
        u16 base, record;
    } pictures[] = {{3400, 4160}, {3015, 3015}, {3024, 4069}, {4037, 4037}};
    for (const Picture& p : pictures) {
        ASSERT_NE(game->GetInterfacePicture(p.base), nullptr) << p.base;
        EXPECT_EQ(game->GetInterfacePicture(p.base)->recordId, p.record) << p.base;
        EXPECT_NE(game->GetInterfacePictureData(p.base), nullptr) << p.base;
    }
    EXPECT_EQ(game->GetInterfacePicture(3006), nullptr);
    // The sound front-end is up (silent without a device) and the two interface sounds are entries.
    EXPECT_NE(game->sound, nullptr);
    EXPECT_NE(game->GetInterfaceSound(0), nullptr);
    EXPECT_NE(game->GetInterfaceSound(1), nullptr);
    EXPECT_EQ(game->GetInterfaceSound(2), nullptr);
    EXPECT_EQ(game->textColor, 0x94D6EFu);
    EXPECT_EQ(game->pressedTextColor, 0x4294C6u);
    EXPECT_EQ(game->player.setupByte, 17);
    EXPECT_EQ(game->player.game, game);

    // The direction and colour tables.
    EXPECT_EQ(game->neighbourX[1], 1);
    EXPECT_EQ(game->neighbourY[7], -1);
    EXPECT_EQ(game->directionBit[7], 128);
    EXPECT_EQ(game->cornerMask[3], 65u);
    EXPECT_EQ(game->edgeRamp[0][30], 31);
    EXPECT_EQ(game->edgeRamp[2][30], 1);
    EXPECT_EQ(game->edgeRamp[7][30], 32);
    EXPECT_EQ(game->edgeRamp[5][31], 0);
    EXPECT_EQ(game->eighthsMixed[1], 5u * 8192);
    EXPECT_EQ(game->eighths[6], 7u * 8192);

    // The splash stand-in hands over to the main menu after 2000 ms of ticks.
    EXPECT_FALSE(frame->QuitRequested());
}

TEST_F(Startup, TopmostMarkerInTheWorkingFolder) {
    ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path()));
    auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    { std::ofstream(dir.File("_topmost.txt")) << ""; }
    bool started = Start();
    std::filesystem::current_path(cwd);
    ASSERT_TRUE(started) << frame->Error();
    EXPECT_TRUE(window->IsTopmost());
}

TEST_F(Startup, AHolderThatIsAlreadyFilledKeepsItsRecord) {
    ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path()));
    ASSERT_TRUE(Start());
    CGame* game = frame->game.get();
    CRecordHolder* holder = game->GetInterfacePicture(3400);
    holder->Release();
    holder->recordId = 1234;
    EXPECT_TRUE(game->LoadInterfacePictures(nullptr));
    EXPECT_EQ(game->GetInterfacePicture(3400), holder);
    EXPECT_EQ(holder->recordId, 1234);
}

TEST_F(Startup, TheAutomaticSaveIsWrittenOnlyDuringAGame) {
    ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path()));
    u32 before = CSaveGameManager::totalSavesRequested;
    ASSERT_TRUE(Start());
    frame.reset();  // closing the window before any game
    EXPECT_EQ(CSaveGameManager::totalSavesRequested, before);

    ASSERT_TRUE(Start());
    frame->game->GetGameScreen()->inGame = 1;
    frame.reset();
    EXPECT_EQ(CSaveGameManager::totalSavesRequested, before + 1);
}

TEST_F(Startup, AFirstRunWritesEverySettingAndASecondRunReadsTheSame) {
    ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path()));
    ASSERT_TRUE(Start()) << frame->Error();
    const CGameSettings first = frame->game->settings;
    u32 value = 0;
    // StartMode, three key sets of 12, two volumes, three view sizes, 20 worlds of two values each,
    // and the frame's StartView under its own key.
    EXPECT_EQ(store.ValueCount(), 1u + 36 + 5 + 40 + 1);
    ASSERT_TRUE(store.ReadDword(kFrameSettingsKey, "StartView", value));
    EXPECT_EQ(value, 15u);
    EXPECT_GE(store.SaveCount(), 1);
    ASSERT_TRUE(store.ReadDword(kSettingsKey, "Key7", value));
    EXPECT_EQ(value, 13u);  // the first run's wide-layout keys: Enter attacks
    ASSERT_TRUE(store.ReadDword(kSettingsKey, "Key1", value));
    EXPECT_EQ(value, static_cast<u32>('w'));
    ASSERT_TRUE(store.ReadDword(kSettingsKey, "Key12", value));
    EXPECT_EQ(value, 1u);
    ASSERT_TRUE(store.ReadDword(kSettingsKey, "StartMode", value));
    EXPECT_EQ(value, 0u);
    std::string name = "x";
    EXPECT_TRUE(store.ReadString(kSettingsKey, "WorldID19", name));
    EXPECT_EQ(name, "");
    frame.reset();

    size_t values = store.ValueCount();
    ASSERT_TRUE(Start()) << frame->Error();
    EXPECT_EQ(std::memcmp(&first, &frame->game->settings, sizeof first), 0);
    EXPECT_EQ(store.ValueCount(), values);
}

TEST_F(Startup, ChangeScreenModeResizesRetitlesAndStoresTheMode) {
    ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path()));
    ASSERT_TRUE(Start()) << frame->Error();
    ChangeScreenMode(9);
    EXPECT_EQ(window->ClientWidth(), 640);
    EXPECT_EQ(window->ClientHeight(), 480);
    EXPECT_EQ(window->ClientX(), 50);
    EXPECT_EQ(window->ClientY(), 50);
    EXPECT_EQ(window->Title(), "Vantrel - 640x480 PPC Hi Landscape");
    EXPECT_EQ(frame->clientWidth, 640u);
    u32 value = 0;
    ASSERT_TRUE(store.ReadDword(kFrameSettingsKey, "StartView", value));
    EXPECT_EQ(value, 9u);

    // A mode without an entry changes nothing.
    ChangeScreenMode(13);
    EXPECT_EQ(window->ClientWidth(), 640);
    EXPECT_EQ(window->Title(), "Vantrel - 640x480 PPC Hi Landscape");
    ASSERT_TRUE(store.ReadDword(kFrameSettingsKey, "StartView", value));
    EXPECT_EQ(value, 9u);
}

// Start-up failures say what is wrong: a missing interface database is "missing", a damaged one or a
// damaged record "damaged" with the record's number.
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST_F(Startup, TheInterfaceDatabaseIsMissingOrDamaged) {
    auto startError = [this] { return Start() ? std::string() : frame->Error(); };
    std::string error = startError();
    EXPECT_TRUE(Has(error, "\"VantrelData.pdb\" is missing")) << error;
    EXPECT_FALSE(Has(error, "Cannot open")) << error;

    // A FIFO in its place is no database: it is missing, and start-up does not wait on it.
    ASSERT_EQ(mkfifo(dir.File("VantrelData.pdb").c_str(), 0644), 0);
    error = startError();
    EXPECT_TRUE(Has(error, "\"VantrelData.pdb\" is missing")) << error;
    ASSERT_EQ(unlink(dir.File("VantrelData.pdb").c_str()), 0);

    std::ofstream(dir.File("VantrelData.pdb")) << "not a database";
    error = startError();
    EXPECT_TRUE(Has(error, "\"VantrelData.pdb\" in ")) << error;
    EXPECT_TRUE(Has(error, " is damaged")) << error;
}

TEST_F(Startup, ADamagedLayoutTableIsAStartupFailureThatNamesTheRecord) {
    auto startError = [this] { return Start() ? std::string() : frame->Error(); };
    using testing_support::LayoutSpec;
    const std::vector<u8> sound = app_test::StartupLayoutTable();
    std::vector<u8> cut = sound;
    // More than the database's record alignment can pad back.
    cut.resize(cut.size() - 12);
    struct Case {
        const char* what;
        std::vector<u8> table;
        const char* detail;
    } cases[] = {
        {"cut short", cut, "runs past the record's end"},
        {"no main menu list",
         testing_support::BuildLayoutTable({LayoutSpec{43, 15, 800, 584, {{550, 0, 0, 480, 320}}},
                                            LayoutSpec{2, 15, 800, 584, {{8, 1, 1, 1, 1}, {9, 1, 1, 1, 1}}}}),
         "no element 10 of group 3 in layout mode 15"},
        {"only other layout modes",
         testing_support::BuildLayoutTable({LayoutSpec{43, 9, 640, 480, {{550, 0, 0, 480, 320}}}}),
         "no element 8 of group 2 in layout mode 15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        app_test::InterfaceDataOptions options;
        options.layoutTable = c.table;
        ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path(), options));
        const std::string error = startError();
        EXPECT_TRUE(Has(error, "damaged (record 3003)")) << error;
        EXPECT_TRUE(Has(error, c.detail)) << error;
    }
    // The same database with a sound table starts.
    ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path()));
    EXPECT_EQ(startError(), "");
}

TEST_F(Startup, AMissingRecordIsNamedAsDamage) {
    auto startError = [this] { return Start() ? std::string() : frame->Error(); };
    for (u16 record : {3003, 3011, 4031}) {
        SCOPED_TRACE(record);
        app_test::InterfaceDataOptions options;
        options.leaveOut = {record};
        ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path(), options));
        const std::string error = startError();
        EXPECT_TRUE(Has(error, "damaged (record " + std::to_string(record) + ")")) << error;
        EXPECT_TRUE(Has(error, "missing")) << error;
    }
}
