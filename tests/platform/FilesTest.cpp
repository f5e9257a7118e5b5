#include "platform/Clock.h"
#include "platform/Files.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TempDir;

void WriteText(const std::string& path, const std::string& text) {
    auto file = plat::CreateFileForWriting(path);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->Write(text.data(), text.size()));
}

TEST(Files, WriteThenReadAtOffsetAndShortReadFails) {
    TempDir dir;
    WriteText(dir.File("a.bin"), "hello world");
    auto file = plat::OpenFileForReading(dir.File("a.bin"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Size(), 11u);
    char buf[5] = {};
    ASSERT_TRUE(file->ReadAt(6, buf, 5));
    EXPECT_EQ(std::string(buf, 5), "world");
    EXPECT_FALSE(file->ReadAt(8, buf, 5));
    EXPECT_FALSE(plat::OpenFileForReading(dir.File("missing.bin")));
    EXPECT_FALSE(plat::OpenFileForReading(dir.Path()));
}

TEST(Files, CreateTruncatesAndDeleteRemoves) {
    TempDir dir;
    WriteText(dir.File("a.bin"), "long old contents");
    WriteText(dir.File("a.bin"), "new");
    EXPECT_EQ(plat::OpenFileForReading(dir.File("a.bin"))->Size(), 3u);
    EXPECT_TRUE(plat::DeleteFile(dir.File("a.bin")));
    EXPECT_FALSE(plat::FileExists(dir.File("a.bin")));
    EXPECT_FALSE(plat::DeleteFile(dir.File("a.bin")));
}

TEST(Files, FindFilesMatchesExtensionWithoutCaseAndSorts) {
    TempDir dir;
    for (const char* name : {"b.pdb", "A.PDB", "c.Pdb", "d.txt", ".pdb", "epdb"})
        WriteText(dir.File(name), "x");
    EXPECT_EQ(plat::FindFiles(dir.Path(), ".pdb"),
              (std::vector<std::string>{"A.PDB", "b.pdb", "c.Pdb"}));
    EXPECT_TRUE(plat::FindFiles(dir.File("nowhere/"), ".pdb").empty());
}

TEST(Files, ProgramFolderEndsWithSlash) {
    std::string folder = plat::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
}

TEST(Clock, ManualClockMovesOnlyWhenToldAndWraps) {
    plat::ManualClock clock;
    plat::ScopedClock scope(clock);
    clock.SetTick(0xFFFFFFF0u);
    plat::Sleep(0x20);
    EXPECT_EQ(plat::TickCount(), 0x10u);
    EXPECT_EQ(clock.TotalSlept(), 0x20u);
    EXPECT_EQ(clock.SleepCount(), 1u);
}

}  // namespace
