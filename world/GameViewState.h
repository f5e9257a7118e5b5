// The game view's own part of a saved game (record 3004, section 'W'): where the player stands and
// looks, the clock and the view's further words and texts. One routine reads and writes it through
// the stream, field by field, selecting the fields by the save version.
#pragma once

#include "core/Str.h"
#include "core/Types.h"

class CStream;

struct CGameViewState {
    static constexpr u8 kTag = 'W';
    static constexpr u8 kFurtherWordsVersion = 99;  // saves from this version on hold the three further words
    static constexpr u32 kWindowSize = 35;

    // A new game or a load starts from this: facing 0, cell (0, 0), clock 0, empty texts, mode 1.
    void Reset();
    // Writes, or reads a save of `version`. Reading turns the facing down to its quarter (a multiple
    // of 90 below 360) and the screen mode to 1; a player cell outside the 35 x 35 window or a record
    // that ends early fails the read (false), leaving the state as reset.
    bool Serialize(CStream& stream, u8 version);

    u32 facing = 0;      // degrees
    u32 cellX = 0;       // the player's cell in the window
    u32 cellY = 0;
    u32 viewWords[3] = {};
    u32 clock = 0;       // game minutes
    u32 viewWord = 0;
    CStr viewText;
    u32 viewWord2 = 0;
    u32 furtherWords[3] = {};
    u32 screenMode = 1;
    u32 modeWords[2] = {};
    CStr viewText2;
};
