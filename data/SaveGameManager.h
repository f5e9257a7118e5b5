// Stand-in for the saved-game manager until the saved-game work replaces it: it knows its owner,
// counts the saves asked of it and writes nothing yet; it tells whether a slot holds a saved game
// (a "VantrelSave%u" database of type and creator VnTS in the program folder) but cannot read one.
#pragma once

#include <memory>

#include "core/Types.h"

class CFileFinder;
class CGame;
class CProgressDialog;

// What a saved-game slot shows; the stand-in fills nothing beyond its slot.
struct CSavedGameInfo {
    u32 slot = 0;
    void Release() {}
};

class CSaveGameManager {
public:
    // Writes the game to a slot (slot 0 is the automatic save). Returns 1 on success.
    int Save(u32 slot) {
        ++savesRequested;
        ++totalSavesRequested;
        lastSlot = slot;
        return 1;
    }
    // A new description of the slot when its database exists and its header checks, else null; the
    // caller releases it.
    std::unique_ptr<CSavedGameInfo> List(u32 slot);
    // Loads the slot's game into the world: 1 on success. Nothing can be read yet, so 0.
    int Load(u32 slot, CProgressDialog* progress);

    CGame* owner = nullptr;
    CFileFinder* finder = nullptr;  // where the saved games are looked for
    u32 savesRequested = 0;
    u32 lastSlot = 0;
    u32 loadsRequested = 0;
    // Across every manager of the process, so that a test can look after the game is gone.
    static inline u32 totalSavesRequested = 0;
};
