// Stand-in for the saved-game manager until the saved-game work replaces it: it knows its owner and
// counts the saves asked of it, and writes nothing yet.
#pragma once

#include "app/Types.h"

class CGame;

class CSaveGameManager {
public:
    // Writes the game to a slot (slot 0 is the automatic save). Returns 1 on success.
    int Save(u32 slot) {
        ++savesRequested;
        ++totalSavesRequested;
        lastSlot = slot;
        return 1;
    }

    CGame* owner = nullptr;
    u32 savesRequested = 0;
    u32 lastSlot = 0;
    // Across every manager of the process, so that a test can look after the game is gone.
    static inline u32 totalSavesRequested = 0;
};
