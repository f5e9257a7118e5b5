#include "core/Settings.h"

#include "platform/SettingsStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const u32 kPlain[12] = {1000, 1002, 1004, 1006, 3006, 3001, 3004, 3005, 3000, 0, 0, 0};
const u32 kL[12] = {1004, 1006, 1002, 1000, 3006, 3001, 3004, 3005, 3000, 0, 0, 0};
const u32 kR[12] = {1006, 1004, 1000, 1002, 3006, 3000, 3005, 3004, 3001, 0, 0, 0};
const u32 kLetters[9] = {'w', 's', 'q', 'e', ' ', 'c', 13, 'a', 'd'};

void ExpectKeys(const u32* actual, const u32* expected, u32 n, const char* what) {
    for (u32 i = 0; i < n; ++i) EXPECT_EQ(actual[i], expected[i]) << what << (i + 1);
}

CGameSettings Defaults() {
    CGameSettings s;
    std::memset(&s, 0xCD, sizeof s);
    SetDefaultSettings(s);
    return s;
}

TEST(Settings, DefaultsOfTheBlock) {
    CGameSettings s = Defaults();
    EXPECT_EQ(s.StartMode, 0u);
    ExpectKeys(s.Key, kPlain, 12, "Key");
    ExpectKeys(s.LKey, kL, 12, "LKey");
    ExpectKeys(s.RKey, kR, 12, "RKey");
    EXPECT_EQ(s.SoundVolume, 10u);
    EXPECT_EQ(s.MusicVolume, 5u);
    EXPECT_EQ(s.ViewSize + s.LViewSize + s.RViewSize, 0u);
    for (const auto& w : s.Worlds) {
        EXPECT_EQ(std::memcmp(w.Name, "\0\0\0\0\0", 5), 0);
        EXPECT_EQ(w.Active, 0);
    }
}

TEST(Settings, FirstRunThenSecondRunThroughTheStore) {
    plat::MemorySettingsStore store;
    CGameSettings first = Defaults();
    LoadSettings(first, 15, store);
    EXPECT_EQ(first.StartMode, 0u);
    ExpectKeys(first.Key, kLetters, 9, "Key");
    EXPECT_EQ(first.Key[9], 0u);
    EXPECT_EQ(first.Key[10], 0u);
    EXPECT_EQ(first.Key[11], 1u);
    ExpectKeys(first.LKey, kL, 12, "LKey");
    // The R set keeps its defaults when nothing is stored.
    ExpectKeys(first.RKey, kR, 12, "RKey");
    EXPECT_EQ(first.SoundVolume, 10u);
    EXPECT_EQ(first.MusicVolume, 5u);
    EXPECT_EQ(first.ViewSize + first.LViewSize + first.RViewSize, 0u);
    for (const auto& w : first.Worlds) {
        EXPECT_STREQ(w.Name, "");
        EXPECT_EQ(w.Active, 0);
    }

    // Start-up writes the whole block back at once: every value, 82 of them.
    first.StartMode = 1;
    first.SoundVolume = 3;
    first.RKey[2] = 77;
    std::strcpy(first.Worlds[0].Name, "dlc1");
    first.Worlds[0].Active = 1;
    EXPECT_TRUE(SaveSettings(first, store));
    EXPECT_EQ(store.SaveCount(), 1);
    EXPECT_EQ(store.ValueCount(), 1u + 36u + 5u + 40u);

    CGameSettings second = Defaults();
    LoadSettings(second, 15, store);
    EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0);
    EXPECT_EQ(second.RKey[2], 77u);
    EXPECT_STREQ(second.Worlds[0].Name, "dlc1");
}

TEST(Settings, FirstRunLettersOnlyInTheKeyboardLayouts) {
    struct Case {
        u32 layoutMode;
        bool letters;
    };
    for (Case c : {Case{14, true}, {15, true}, {16, true}, {1, false}, {2, false}, {9, false}, {13, false}}) {
        plat::MemorySettingsStore store;
        CGameSettings s = Defaults();
        LoadSettings(s, c.layoutMode, store);
        ExpectKeys(s.Key, c.letters ? kLetters : kPlain, 9, "Key");
        EXPECT_EQ(s.Key[11], 1u) << c.layoutMode;
        ExpectKeys(s.LKey, kL, 12, "LKey");
    }
}

TEST(Settings, MissingValuesOfASavedSet) {
    plat::MemorySettingsStore store;
    CGameSettings saved = Defaults();
    saved.Key[11] = 1;
    saved.RKey[0] = 0;
    SaveSettings(saved, store);
    store.Remove(kSettingsKey, "Key3");
    store.Remove(kSettingsKey, "LKey2");
    store.Remove(kSettingsKey, "RKey5");
    store.Remove(kSettingsKey, "SoundVolume");
    store.WriteString(kSettingsKey, "MusicVolume", "7");  // wrong type: not a word

    CGameSettings s = Defaults();
    LoadSettings(s, 15, store);
    EXPECT_EQ(s.Key[2], 0u);  // a saved set takes a missing key as 0
    EXPECT_EQ(s.LKey[1], 0u);
    EXPECT_EQ(s.Key[0], 1000u);   // no first-run letters for a saved set
    EXPECT_EQ(s.RKey[4], 3006u);  // the R set falls back on its default
    EXPECT_EQ(s.RKey[0], 0u);     // a stored 0 stays 0
    EXPECT_EQ(s.SoundVolume, 10u);
    EXPECT_EQ(s.MusicVolume, 5u);
}

TEST(Settings, WorldEntries) {
    plat::MemorySettingsStore store;
    store.WriteDword(kSettingsKey, "Key12", 1);
    store.WriteString(kSettingsKey, "WorldID03", "ABCDEFG");
    store.WriteString(kSettingsKey, "WorldID04", "ABCD");
    store.WriteString(kSettingsKey, "WorldID05", "xy");
    store.WriteDword(kSettingsKey, "WorldID05Active", 0x101);
    store.WriteDword(kSettingsKey, "WorldID06", 5);  // a word where a name belongs
    store.WriteDword(kSettingsKey, "WorldID19Active", 1);
    store.WriteString(kSettingsKey, "WorldID19", "last");

    CGameSettings s = Defaults();
    std::strcpy(s.Worlds[7].Name, "old");  // nothing stored: the name is cleared
    LoadSettings(s, 15, store);
    EXPECT_STREQ(s.Worlds[3].Name, "ABCD");
    EXPECT_STREQ(s.Worlds[4].Name, "ABCD");
    EXPECT_STREQ(s.Worlds[5].Name, "xy");
    EXPECT_EQ(s.Worlds[5].Active, 1);
    EXPECT_EQ(s.Worlds[4].Active, 0);
    EXPECT_STREQ(s.Worlds[6].Name, "");
    EXPECT_STREQ(s.Worlds[7].Name, "");
    EXPECT_STREQ(s.Worlds[19].Name, "last");
    EXPECT_EQ(s.Worlds[19].Active, 1);

    // Saving an entry with an empty name still writes both of its values.
    plat::MemorySettingsStore out;
    CGameSettings blank = Defaults();
    std::memcpy(blank.Worlds[2].Name, "FULLX", 5);  // five bytes without a NUL: four count
    SaveSettings(blank, out);
    std::string name = "unset";
    u32 active = 99;
    EXPECT_TRUE(out.ReadString(kSettingsKey, "WorldID00", name));
    EXPECT_EQ(name, "");
    EXPECT_TRUE(out.ReadDword(kSettingsKey, "WorldID00Active", active));
    EXPECT_EQ(active, 0u);
    EXPECT_TRUE(out.ReadString(kSettingsKey, "WorldID02", name));
    EXPECT_EQ(name, "FULL");
}

TEST(Settings, RegistryReadersAndTheSharedStore) {
    plat::MemorySettingsStore store;
    store.WriteDword(kFrameSettingsKey, "StartView", 9);
    store.WriteString(kSettingsKey, "Long", std::string(1500, 'x'));
    store.WriteString(kSettingsKey, "Word", "w");
    EXPECT_EQ(ReadRegistryDword(kFrameSettingsKey, "StartView", 15, store), 9u);
    EXPECT_EQ(ReadRegistryDword(kSettingsKey, "StartView", 15, store), 15u);
    EXPECT_EQ(ReadRegistryDword(kSettingsKey, "Word", 4, store), 4u);
    EXPECT_EQ(ReadRegistryDword(nullptr, "StartView", 4, store), 4u);
    EXPECT_EQ(std::strlen(ReadRegistryString("Long", store)), 999u);
    EXPECT_STREQ(ReadRegistryString("Absent", store), "");
    EXPECT_STREQ(ReadRegistryString(nullptr, store), "");
    EXPECT_STREQ(ReadRegistryString("Word", store), "w");

    // Without a store argument the shared one is used, so the frame and the game see the same values.
    plat::ScopedSettings scoped(store);
    EXPECT_EQ(ReadRegistryDword(kFrameSettingsKey, "startview", 0), 9u);
    CGameSettings s = Defaults();
    LoadSettings(s, 15);
    EXPECT_TRUE(SaveSettings(s));
    EXPECT_EQ(store.SaveCount(), 1);
    EXPECT_EQ(ReadRegistryDword(kSettingsKey, "Key1", 0), 'w');
}

}  // namespace
