// Values from the settings file are mended when they are read: the file is the user's to edit.
#include "core/Settings.h"

#include "platform/SettingsStore.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* kKey = "SOFTWARE\\Vantrel";

}  // namespace

TEST(SettingsRange, OutOfRangeValuesAreClampedOrDefaultedWhenRead) {
    struct Case {
        const char* name;
        u32 stored;
        u32 loaded;
    } cases[] = {
        {"SoundVolume", 4294967295u, 10},
        {"SoundVolume", 11, 10},
        {"SoundVolume", 0, 0},
        {"MusicVolume", 4294967295u, 10},
        {"MusicVolume", 7, 7},
        {"ViewSize", 10, 0},
        {"ViewSize", 4294967295u, 0},
        {"ViewSize", 2, 2},
        {"LViewSize", 3, 0},
        {"RViewSize", 1, 1},
        // Key words: a key code up to 255 or a command id stays, anything else takes the default.
        {"Key1", 70000, 1000},
        {"Key1", 65, 65},
        {"Key1", 3007, 3007},
        {"Key2", 256, 1002},
        {"Key12", 70000, 70000},
        {"LKey3", 4294967295u, 1002},
        {"RKey9", 999, 3001},
        {"RKey10", 123456, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " = " << c.stored);
        plat::MemorySettingsStore store;
        store.WriteDword(kKey, "Key12", 1);  // a saved key set
        store.WriteDword(kKey, c.name, c.stored);
        CGameSettings s;
        SetDefaultSettings(s);
        LoadSettings(s, 15, store);
        const std::string name = c.name;
        auto word = [&](const char* prefix, const u32* keys) -> const u32* {
            const std::string p = prefix;
            if (name.rfind(p, 0) != 0 || name.size() <= p.size() || !isdigit(name[p.size()])) return nullptr;
            return &keys[std::stoi(name.substr(p.size())) - 1];
        };
        const u32* loaded = name == "SoundVolume"   ? &s.SoundVolume
                            : name == "MusicVolume" ? &s.MusicVolume
                            : name == "ViewSize"    ? &s.ViewSize
                            : name == "LViewSize"   ? &s.LViewSize
                            : name == "RViewSize"   ? &s.RViewSize
                            : word("Key", s.Key)    ? word("Key", s.Key)
                            : word("LKey", s.LKey)  ? word("LKey", s.LKey)
                                                    : word("RKey", s.RKey);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(*loaded, c.loaded);
    }
}
