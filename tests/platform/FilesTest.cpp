#include "platform/Clock.h"
#include "platform/Files.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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
    EXPECT_EQ(plat::FindFiles(dir.Path(), ".pdb"), (std::vector<std::string>{"A.PDB", "b.pdb", "c.Pdb"}));
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

TEST(UserDataFolder, FollowsTheBaseDirectoryRules) {
    struct Saved {
        const char* name;
        std::string value;
        bool set;
    } saved[] = {{"XDG_DATA_HOME", "", false}, {"HOME", "", false}};
    for (Saved& s : saved)
        if (const char* v = std::getenv(s.name)) s.value = v, s.set = true;
    struct Case {
        const char* data;
        const char* home;
        std::string expected;
    } cases[] = {
        {"/data/", "/home/u", "/data/vantrel/"},
        {"relative/data", "/home/u", "/home/u/.local/share/vantrel/"},
        {nullptr, "/home/u/", "/home/u/.local/share/vantrel/"},
        {nullptr, nullptr, plat::ProgramFolder()},
    };
    for (const Case& c : cases) {
        if (c.data)
            setenv("XDG_DATA_HOME", c.data, 1);
        else
            unsetenv("XDG_DATA_HOME");
        if (c.home)
            setenv("HOME", c.home, 1);
        else
            unsetenv("HOME");
        EXPECT_EQ(plat::UserDataFolder(), c.expected) << (c.data ? c.data : "-");
    }
    plat::SetUserDataFolder("/elsewhere/");
    EXPECT_EQ(plat::UserDataFolder(), "/elsewhere/");
    plat::SetUserDataFolder("");
    for (Saved& s : saved)
        if (s.set)
            setenv(s.name, s.value.c_str(), 1);
        else
            unsetenv(s.name);

    testing_support::TempDir dir;
    EXPECT_TRUE(plat::EnsureFolder(dir.File("a/b/c")));
    EXPECT_TRUE(plat::EnsureFolder(dir.File("a/b/c/")));
    {
        auto file = plat::CreateFileForWriting(dir.File("plain"));
        ASSERT_TRUE(file);
    }
    EXPECT_FALSE(plat::EnsureFolder(dir.File("plain")));
    EXPECT_FALSE(plat::EnsureFolder(dir.File("plain/below")));
}
