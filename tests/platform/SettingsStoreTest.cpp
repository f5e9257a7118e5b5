#include "platform/Files.h"
#include "platform/SettingsStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

using testing_support::TempDir;

const char* const kKey = "SOFTWARE\\Vantrel";

std::string ReadAll(const std::string& path) {
    auto file = plat::OpenFileForReading(path);
    if (!file) return "";
    std::string text(file->Size(), '\0');
    file->ReadAt(0, text.data(), text.size());
    return text;
}

void WriteAll(const std::string& path, const std::string& text) {
    auto file = plat::CreateFileForWriting(path);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->Write(text.data(), text.size()));
}

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SettingsStore, MemoryValuesKeepTheirTypeAndIgnoreCase) {
    plat::MemorySettingsStore store;
    uint32_t word = 77;
    std::string text = "keep";
    EXPECT_FALSE(store.ReadDword(kKey, "Key1", word));
    EXPECT_EQ(word, 77u);
    store.WriteDword(kKey, "Key1", 1000);
    EXPECT_TRUE(store.ReadDword("software\\VANTREL", "KEY1", word));
    EXPECT_EQ(word, 1000u);
    EXPECT_FALSE(store.ReadString(kKey, "Key1", text));
    EXPECT_EQ(text, "keep");
    EXPECT_FALSE(store.ReadDword("SOFTWARE\\Kavrel", "Key1", word));

    store.WriteString(kKey, "key1", "now a text");  // rewriting changes the type
    EXPECT_FALSE(store.ReadDword(kKey, "Key1", word));
    EXPECT_TRUE(store.ReadString(kKey, "Key1", text));
    EXPECT_EQ(text, "now a text");
    EXPECT_EQ(store.ValueCount(), 1u);
}

TEST(SettingsStore, FileRoundTripUnderTheConfigFolder) {
    TempDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", dir.Path().c_str());
    const std::string odd =
        std::string("quote\" back\\ line\nret\r tab\t nul") + '\0' + "\x01\x7f high\xe9 end";
    {
        plat::FileSettingsStore store;
        EXPECT_EQ(store.Path(), dir.Path() + "vantrel/settings.txt");
        EXPECT_EQ(store.ValueCount(), 0u);  // no file yet: a first run
        store.WriteDword(kKey, "StartMode", 7);
        store.WriteDword(kKey, "Max", 4294967295u);
        store.WriteDword(kKey, "Zero", 0);
        store.WriteString(kKey, "WorldID00", "");
        store.WriteString(kKey, "WorldID01", "base");
        store.WriteString(kKey, "Odd", odd);
        store.WriteDword("SOFTWARE\\Kavrel", "StartView", 15);
        store.WriteString("odd key]\n", "odd name = x", "v");
        store.WriteDword(std::string("odd\0key", 7), "n", 1);  // not the same key as "odd"
        store.WriteDword("odd", std::string("key\0n", 5), 2);
        EXPECT_TRUE(store.Save());
    }
    const std::string path = dir.Path() + "vantrel/settings.txt";
    EXPECT_FALSE(plat::FileExists(path + ".tmp"));
    std::string text = ReadAll(path);
    EXPECT_NE(text.find("[SOFTWARE\\Vantrel]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("StartMode = dword 7\n"), std::string::npos) << text;
    EXPECT_NE(text.find("WorldID01 = string \"base\"\n"), std::string::npos) << text;

    plat::FileSettingsStore again;
    uint32_t word = 0;
    std::string value;
    EXPECT_EQ(again.ValueCount(), 10u);
    EXPECT_TRUE(again.ReadDword(std::string("odd\0key", 7), "n", word));
    EXPECT_EQ(word, 1u);
    EXPECT_TRUE(again.ReadDword("odd", std::string("key\0n", 5), word));
    EXPECT_EQ(word, 2u);
    EXPECT_TRUE(again.ReadDword(kKey, "StartMode", word));
    EXPECT_EQ(word, 7u);
    EXPECT_TRUE(again.ReadDword(kKey, "Max", word));
    EXPECT_EQ(word, 4294967295u);
    EXPECT_TRUE(again.ReadDword(kKey, "Zero", word));
    EXPECT_EQ(word, 0u);
    EXPECT_TRUE(again.ReadString(kKey, "WorldID00", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(again.ReadDword(kKey, "WorldID00", word));
    EXPECT_TRUE(again.ReadString(kKey, "Odd", value));
    EXPECT_EQ(value, odd);
    EXPECT_TRUE(again.ReadDword("SOFTWARE\\Kavrel", "StartView", word));
    EXPECT_EQ(word, 15u);
    EXPECT_TRUE(again.ReadString("odd key]\n", "odd name = x", value));
    EXPECT_EQ(value, "v");

    // A second save replaces the file whole.
    again.Clear();
    again.WriteDword(kKey, "Only", 1);
    EXPECT_TRUE(again.Save());
    plat::FileSettingsStore third(path);
    EXPECT_EQ(third.ValueCount(), 1u);
}

TEST(SettingsStore, DamagedLinesAreSkipped) {
    TempDir dir;
    const std::string path = dir.File("settings.txt");
    std::string text =
        "Orphan = dword 1\n"  // before any key
        "[SOFTWARE\\Vantrel]\r\n"
        "Good = dword 5\r\n"
        "  Spaced   =   dword   6  \n"
        "NoEquals dword 5\n"
        "Big = dword 4294967296\n"
        "Neg = dword -1\n"
        "Trail = dword 5x\n"
        "Empty = dword\n"
        "Unclosed = string \"abc\n"
        "BadEscape = string \"a\\qb\"\n"
        "ShortHex = string \"\\x4\"\n"
        "Garbage = string \"ok\" more\n"
        "Type = float 1.0\n"
        "= dword 3\n"
        "\"Quoted name\" = string \"ok\"\n"
        "Nul = dword 1 2\n"
        "Dup = dword 1\n"
        "Dup = dword 2\n"
        "# comment = dword 4\n"
        "; also = dword 4\n"
        "[broken\n"
        "Lost = dword 9\n"
        "[SOFTWARE\\Kavrel]\n"
        "StartView = dword 15";  // no newline at the end
    text.insert(text.find("Nul = dword 1") + 13, 1, '\0');
    WriteAll(path, text);

    plat::FileSettingsStore store(path);
    uint32_t word = 0;
    std::string value;
    EXPECT_TRUE(store.ReadDword(kKey, "Good", word));
    EXPECT_EQ(word, 5u);
    EXPECT_TRUE(store.ReadDword(kKey, "Spaced", word));
    EXPECT_EQ(word, 6u);
    EXPECT_TRUE(store.ReadString(kKey, "Quoted name", value));
    EXPECT_EQ(value, "ok");
    EXPECT_TRUE(store.ReadDword(kKey, "Dup", word));
    EXPECT_EQ(word, 2u);
    EXPECT_TRUE(store.ReadDword("SOFTWARE\\Kavrel", "StartView", word));
    EXPECT_EQ(word, 15u);
    for (const char* name : {"Orphan", "NoEquals", "Big", "Neg", "Trail", "Empty", "Unclosed", "BadEscape",
                             "ShortHex", "Garbage", "Type", "", "Nul", "Lost", "#", "comment"}) {
        EXPECT_FALSE(store.ReadDword(kKey, name, word)) << name;
        EXPECT_FALSE(store.ReadString(kKey, name, value)) << name;
    }
    EXPECT_EQ(store.ValueCount(), 5u);
}

TEST(SettingsStore, MissingOrUnreadableFilesReadAsAFirstRun) {
    TempDir dir;
    plat::FileSettingsStore missing(dir.File("none.txt"));
    EXPECT_EQ(missing.ValueCount(), 0u);

    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37) & 0xFF);
    WriteAll(dir.File("binary.txt"), binary);
    plat::FileSettingsStore garbage(dir.File("binary.txt"));
    EXPECT_EQ(garbage.ValueCount(), 0u);

    std::string huge = "[K]\nA = dword 1\n" + std::string(plat::FileSettingsStore::kMaxFileSize, '#');
    WriteAll(dir.File("huge.txt"), huge);
    plat::FileSettingsStore tooBig(dir.File("huge.txt"));
    // The lines within the cap are read (the file is kept aside when it is saved over).
    EXPECT_EQ(tooBig.ValueCount(), 1u);

    plat::FileSettingsStore folder(dir.Path());  // a folder, not a file
    EXPECT_EQ(folder.ValueCount(), 0u);
}

TEST(SettingsStore, AFailedSaveReportsItAndLeavesTheOldFile) {
    TempDir dir;
    WriteAll(dir.File("plain"), "not a folder");
    plat::FileSettingsStore blocked(dir.File("plain") + "/sub/settings.txt");
    blocked.WriteDword(kKey, "A", 1);
    EXPECT_FALSE(blocked.Save());

    // The target's place is taken by a folder: the rename fails and the temporary file goes.
    const std::string target = dir.File("target");
    plat::FileSettingsStore inside(target + "/keep");
    inside.WriteDword(kKey, "B", 2);
    ASSERT_TRUE(inside.Save());
    plat::FileSettingsStore store(target);
    store.WriteDword(kKey, "A", 1);
    EXPECT_FALSE(store.Save());
    EXPECT_FALSE(plat::FileExists(target + ".tmp"));
    EXPECT_EQ(plat::FileSettingsStore(target + "/keep").ValueCount(), 1u);
}

TEST(SettingsStore, DefaultPathFollowsTheEnvironment) {
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/cfg//");
        EXPECT_EQ(plat::FileSettingsStore::DefaultPath(), "/cfg/vantrel/settings.txt");
    }
    ScopedEnv home("HOME", "/home/player");
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/dir"}) {
        ScopedEnv config("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(plat::FileSettingsStore::DefaultPath(), "/home/player/.config/vantrel/settings.txt");
    }
}

TEST(SettingsStore, TheSharedStoreCanBeReplacedForAScope) {
    TempDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", dir.Path().c_str());
    plat::MemorySettingsStore mine;
    {
        plat::ScopedSettings scoped(mine);
        EXPECT_EQ(&plat::CurrentSettings(), &mine);
        plat::CurrentSettings().WriteDword(kKey, "A", 3);
    }
    EXPECT_NE(&plat::CurrentSettings(), &mine);
    EXPECT_EQ(mine.ValueCount(), 1u);
}

}  // namespace
