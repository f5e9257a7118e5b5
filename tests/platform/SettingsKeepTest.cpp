// The player's settings file is never lost: one that cannot be read is left as it is, and one larger
// than the reader's cap is read as far as the cap and kept aside before a save replaces it.
#include "platform/Files.h"
#include "platform/SettingsStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr const char* kKey = "SOFTWARE\\Vantrel";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Run in a child process: the file made unreadable (root, which the tests may run as, loses the
// capabilities that let it read anyway), then loaded and saved over. Exits 0 when the store ran on
// defaults, refused the save and left the file as it was.
void LoadAndSaveAnUnreadableFile(const std::string& path, const std::string& text) {
    chmod(path.c_str(), 0);
    if (geteuid() == 0) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2] = {};
        if (syscall(SYS_capset, &header, data) != 0) std::exit(2);
    }
    plat::FileSettingsStore store(path);
    bool ok = store.ValueCount() == 0;
    store.WriteDword(kKey, "SoundVolume", 1);
    ok = ok && !store.Save();
    chmod(path.c_str(), 0644);
    ok = ok && ReadAll(path) == text;
    std::exit(ok ? 0 : 1);
}

}  // namespace

TEST(SettingsKeep, AFileThatCannotBeReadIsLeftAsItIsAndSaidOnce) {
    testing_support::TempDir dir;
    const std::string path = dir.File("settings.txt");
    const std::string text = "[SOFTWARE\\Vantrel]\nSoundVolume = dword 3\n";
    WriteAll(path, text);
    EXPECT_EXIT(LoadAndSaveAnUnreadableFile(path, text), testing::ExitedWithCode(0),
                "settings.txt cannot be read");
}

TEST(SettingsKeep, AnOversizedFileIsReadUpToTheCapAndKeptAside) {
    testing_support::TempDir dir;
    const std::string path = dir.File("settings.txt");
    const std::string text = "[SOFTWARE\\Vantrel]\nSoundVolume = dword 3\n" +
                             std::string(plat::FileSettingsStore::kMaxFileSize, '#') +
                             "\nMusicVolume = dword 4\n";
    WriteAll(path, text);
    testing::internal::CaptureStderr();
    plat::FileSettingsStore store(path);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("settings.txt is larger than"), std::string::npos) << err;

    uint32_t value = 0;
    EXPECT_TRUE(store.ReadDword(kKey, "SoundVolume", value));
    EXPECT_EQ(value, 3u);
    EXPECT_FALSE(store.ReadDword(kKey, "MusicVolume", value));  // past the cap

    store.WriteDword(kKey, "MusicVolume", 5);
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(ReadAll(path + ".old"), text);
    plat::FileSettingsStore saved(path);
    EXPECT_TRUE(saved.ReadDword(kKey, "SoundVolume", value));
    EXPECT_EQ(value, 3u);
    // A second save has nothing more to keep aside.
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(ReadAll(path + ".old"), text);
}
