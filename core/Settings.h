// The player's settings block and its persistence: three key sets, the two volumes, three view sizes
// and the remembered list of additional worlds, kept as values under the game's settings key. The
// game object holds one block; its SetDefaultSettings, LoadSettings and SaveSettings call these.
#pragma once

#include "core/Types.h"
#include "platform/SettingsStore.h"

// Key paths of the settings store.
inline constexpr const char* kSettingsKey = "SOFTWARE\\Vantrel";
inline constexpr const char* kFrameSettingsKey = "SOFTWARE\\Kavrel";

// One entry of the remembered world list; an entry with an empty name is free, unless its Active byte
// carries kNameless: then it remembers a world whose header gives it no short name.
struct CWorldSetting {
    static constexpr u8 kNameless = 0x80;
    char Name[5];  // at most 4 characters and the NUL
    u8 Active;     // bit 0: enabled
    bool IsFree() const { return Name[0] == 0 && (Active & kNameless) == 0; }
    u8 Enabled() const { return Active & 1; }
};

struct CGameSettings {
    static constexpr u32 kKeyCount = 12;
    static constexpr u32 kWorldCount = 20;

    u32 StartMode;  // orientation: 0 plain, 1 L, other R
    // Key[0] is "Key1". Key1..Key9 are the keys the frame maps to commands; Key12 marks a key set that
    // has been set up (0: not yet).
    u32 Key[kKeyCount];
    u32 LKey[kKeyCount];
    u32 RKey[kKeyCount];
    u32 SoundVolume;  // 0..10
    u32 MusicVolume;  // 0..10
    u32 ViewSize;
    u32 LViewSize;
    u32 RViewSize;
    CWorldSetting Worlds[kWorldCount];
};

void SetDefaultSettings(CGameSettings& settings);
// Reads the block from the store. layoutMode decides the first-run letter keys (start-up passes 15).
void LoadSettings(CGameSettings& settings, u32 layoutMode,
                  plat::SettingsStore& store = plat::CurrentSettings());
// Writes every value of the block, changed or not, and makes them permanent; false when that failed.
bool SaveSettings(const CGameSettings& settings, plat::SettingsStore& store = plat::CurrentSettings());

// The stored word, or defaultValue when it is absent or not a word.
u32 ReadRegistryDword(const char* keyPath, const char* name, u32 defaultValue,
                      plat::SettingsStore& store = plat::CurrentSettings());
// The string value under the settings key in a buffer of 1,000 bytes shared by every call (overwritten
// by the next one); longer strings are cut to 999 characters. Never null: "" when absent.
const char* ReadRegistryString(const char* name, plat::SettingsStore& store = plat::CurrentSettings());
