#include "core/Settings.h"

#include "core/Str.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr u32 kPlainKeys[CGameSettings::kKeyCount] = {1000, 1002, 1004, 1006, 3006, 3001,
                                                      3004, 3005, 3000, 0,    0,    0};
constexpr u32 kLKeys[CGameSettings::kKeyCount] = {1004, 1006, 1002, 1000, 3006, 3001,
                                                  3004, 3005, 3000, 0,    0,    0};
constexpr u32 kRKeys[CGameSettings::kKeyCount] = {1006, 1004, 1000, 1002, 3006, 3000,
                                                  3005, 3004, 3001, 0,    0,    0};
// w, s, q, e, space, c, Enter, a, d: the plain set on a first run in the keyboard layouts.
constexpr u32 kFirstRunLetters[9] = {119, 115, 113, 101, 32, 99, 13, 97, 100};
constexpr u32 kReadStringSize = 1000;

std::string ValueName(const char* format, u32 index) {
    CStr name;
    name.Format(format, index);
    return name.GetText();
}

u32 ReadDword(plat::SettingsStore& store, const std::string& name, u32 defaultValue) {
    return ReadRegistryDword(kSettingsKey, name.c_str(), defaultValue, store);
}

// A key word holds a key (a virtual-key or character code up to 255), a command id, or 0 for none.
bool IsKeyWord(u32 value) {
    if (value <= 255) return true;
    for (u32 command : {1000u, 1002u, 1004u, 1006u, 3000u, 3001u, 3004u, 3005u, 3006u, 3007u})
        if (value == command) return true;
    return false;
}

// The settings file is the user's to edit: a key word that names no key takes the block's default.
// The twelfth word is a marker, whatever its value.
void CheckKeys(u32 (&keys)[CGameSettings::kKeyCount], const u32 (&defaults)[CGameSettings::kKeyCount]) {
    for (u32 i = 0; i + 1 < CGameSettings::kKeyCount; ++i)
        if (!IsKeyWord(keys[i])) keys[i] = defaults[i];
}

void WriteDword(plat::SettingsStore& store, const std::string& name, u32 value) {
    store.WriteDword(kSettingsKey, name, value);
}

}  // namespace

void SetDefaultSettings(CGameSettings& settings) {
    settings.StartMode = 0;
    std::copy(std::begin(kPlainKeys), std::end(kPlainKeys), settings.Key);
    std::copy(std::begin(kLKeys), std::end(kLKeys), settings.LKey);
    std::copy(std::begin(kRKeys), std::end(kRKeys), settings.RKey);
    settings.SoundVolume = 10;
    settings.MusicVolume = 5;
    settings.ViewSize = 0;
    settings.LViewSize = 0;
    settings.RViewSize = 0;
    for (CWorldSetting& world : settings.Worlds) {
        std::memset(world.Name, 0, sizeof world.Name);
        world.Active = 0;
    }
}

u32 ReadRegistryDword(const char* keyPath, const char* name, u32 defaultValue, plat::SettingsStore& store) {
    u32 value = defaultValue;
    if (!keyPath || !name || !store.ReadDword(keyPath, name, value)) return defaultValue;
    return value;
}

const char* ReadRegistryString(const char* name, plat::SettingsStore& store) {
    static char buffer[kReadStringSize];
    buffer[0] = '\0';
    std::string value;
    if (name && store.ReadString(kSettingsKey, name, value))
        CopyStringN(buffer, value.c_str(), kReadStringSize - 1);
    return buffer;
}

void LoadSettings(CGameSettings& settings, u32 layoutMode, plat::SettingsStore& store) {
    settings.StartMode = ReadDword(store, "StartMode", 0);
    settings.Key[11] = ReadDword(store, "Key12", 0);
    if (settings.Key[11] != 0) {
        // A set that has been saved before is taken as stored: a missing value is 0.
        for (u32 i = 0; i < 11; ++i) settings.Key[i] = ReadDword(store, ValueName("Key%u", i + 1), 0);
        for (u32 i = 0; i < CGameSettings::kKeyCount; ++i)
            settings.LKey[i] = ReadDword(store, ValueName("LKey%u", i + 1), 0);
    } else {
        if (layoutMode == 14 || layoutMode == 15 || layoutMode == 16)
            std::copy(std::begin(kFirstRunLetters), std::end(kFirstRunLetters), settings.Key);
        settings.Key[11] = 1;
    }
    // The R set falls back on the block's own values, so a first run keeps its command-code defaults
    // instead of losing the whole set to zeros.
    for (u32 i = 0; i < CGameSettings::kKeyCount; ++i)
        settings.RKey[i] = ReadDword(store, ValueName("RKey%u", i + 1), settings.RKey[i]);
    settings.SoundVolume = ReadDword(store, "SoundVolume", 10);
    settings.MusicVolume = ReadDword(store, "MusicVolume", 5);
    settings.ViewSize = ReadDword(store, "ViewSize", 0);
    settings.LViewSize = ReadDword(store, "LViewSize", 0);
    settings.RViewSize = ReadDword(store, "RViewSize", 0);
    // Values out of their ranges are mended here, before anything uses them: volumes are at most 10,
    // and a view size outside 0..2 is 0, as the settings screen resets it (the view rectangle would
    // otherwise shrink past its own size).
    settings.SoundVolume = std::min<u32>(settings.SoundVolume, 10);
    settings.MusicVolume = std::min<u32>(settings.MusicVolume, 10);
    for (u32* size : {&settings.ViewSize, &settings.LViewSize, &settings.RViewSize})
        if (*size > 2) *size = 0;
    CheckKeys(settings.Key, kPlainKeys);
    CheckKeys(settings.LKey, kLKeys);
    CheckKeys(settings.RKey, kRKeys);

    for (u32 i = 0; i < CGameSettings::kWorldCount; ++i) {
        CWorldSetting& world = settings.Worlds[i];
        const char* name = ReadRegistryString(ValueName("WorldID%02u", i).c_str(), store);
        CopyStringN(world.Name, name, sizeof world.Name - 1);
        world.Active = static_cast<u8>(ReadDword(store, ValueName("WorldID%02uActive", i), 0) & 0xFF);
    }
}

bool SaveSettings(const CGameSettings& settings, plat::SettingsStore& store) {
    WriteDword(store, "StartMode", settings.StartMode);
    for (u32 i = 0; i < CGameSettings::kKeyCount; ++i)
        WriteDword(store, ValueName("Key%u", i + 1), settings.Key[i]);
    for (u32 i = 0; i < CGameSettings::kKeyCount; ++i)
        WriteDword(store, ValueName("LKey%u", i + 1), settings.LKey[i]);
    for (u32 i = 0; i < CGameSettings::kKeyCount; ++i)
        WriteDword(store, ValueName("RKey%u", i + 1), settings.RKey[i]);
    WriteDword(store, "SoundVolume", settings.SoundVolume);
    WriteDword(store, "MusicVolume", settings.MusicVolume);
    WriteDword(store, "ViewSize", settings.ViewSize);
    WriteDword(store, "LViewSize", settings.LViewSize);
    WriteDword(store, "RViewSize", settings.RViewSize);
    for (u32 i = 0; i < CGameSettings::kWorldCount; ++i) {
        const CWorldSetting& world = settings.Worlds[i];
        // The block's name may lack its NUL if a caller filled all five bytes; at most 4 count.
        const char* end = std::find(world.Name, world.Name + 4, '\0');
        store.WriteString(kSettingsKey, ValueName("WorldID%02u", i), std::string(world.Name, end));
        WriteDword(store, ValueName("WorldID%02uActive", i), world.Active);
    }
    return store.Save();
}
