// Start-up failures say what is wrong: a missing interface database is "missing", a damaged one or a
// damaged record "damaged" with the record's number.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>

#include "app/Game.h"
#include "app/MainFrame.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/SettingsStore.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/shell/InterfaceData.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestRecords.h"

namespace {

class StartupDamage : public testing::Test {
protected:
    void SetUp() override {
        savedFolder = plat::ProgramFolder();
        plat::SetProgramFolder(dir.Path());
    }
    void TearDown() override {
        frame.reset();
        plat::SetProgramFolder(savedFolder);
    }
    // The start-up's error; empty when it started.
    std::string StartError() {
        frame.reset();
        auto w = plat::CreateHeadlessWindow();
        frame = std::make_unique<CMainFrame>(std::move(w));
        SetMainFrame(frame.get());
        return frame->CreateMainWindow() ? std::string() : frame->Error();
    }

    testing_support::TempDir dir;
    std::string savedFolder;
    plat::ManualClock clock;
    plat::ScopedClock scopedClock{clock};
    plat::MemorySettingsStore store;
    plat::ScopedSettings scopedStore{store};
    std::unique_ptr<CMainFrame> frame;
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST_F(StartupDamage, TheInterfaceDatabaseIsMissingOrDamaged) {
    std::string error = StartError();
    EXPECT_TRUE(Contains(error, "\"VantrelData.pdb\" is missing")) << error;
    EXPECT_FALSE(Contains(error, "Cannot open")) << error;

    // A FIFO in its place is no database: it is missing, and start-up does not wait on it.
    ASSERT_EQ(mkfifo(dir.File("VantrelData.pdb").c_str(), 0644), 0);
    error = StartError();
    EXPECT_TRUE(Contains(error, "\"VantrelData.pdb\" is missing")) << error;
    ASSERT_EQ(unlink(dir.File("VantrelData.pdb").c_str()), 0);

    std::ofstream(dir.File("VantrelData.pdb")) << "not a database";
    error = StartError();
    EXPECT_TRUE(Contains(error, "\"VantrelData.pdb\" in ")) << error;
    EXPECT_TRUE(Contains(error, " is damaged")) << error;
}

TEST_F(StartupDamage, ADamagedLayoutTableIsAStartupFailureThatNamesTheRecord) {
    using testing_support::LayoutSpec;
    const std::vector<u8> sound = shell_test::StartupLayoutTable();
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
        shell_test::InterfaceDataOptions options;
        options.layoutTable = c.table;
        ASSERT_TRUE(shell_test::WriteInterfaceData(dir.Path(), options));
        const std::string error = StartError();
        EXPECT_TRUE(Contains(error, "damaged (record 3003)")) << error;
        EXPECT_TRUE(Contains(error, c.detail)) << error;
    }
    // The same database with a sound table starts.
    ASSERT_TRUE(shell_test::WriteInterfaceData(dir.Path()));
    EXPECT_EQ(StartError(), "");
}

TEST_F(StartupDamage, AMissingRecordIsNamedAsDamage) {
    for (u16 record : {3003, 3011, 4031}) {
        SCOPED_TRACE(record);
        shell_test::InterfaceDataOptions options;
        options.leaveOut = {record};
        ASSERT_TRUE(shell_test::WriteInterfaceData(dir.Path(), options));
        const std::string error = StartError();
        EXPECT_TRUE(Contains(error, "damaged (record " + std::to_string(record) + ")")) << error;
        EXPECT_TRUE(Contains(error, "missing")) << error;
    }
}
