// Stand-in for the player character until the world work replaces it: start-up stores the game in it
// and sets one byte that its constructor sets to 1; the main menu reads the hit points (a game can be
// continued or saved only while they are above 0).
#pragma once

#include "core/Types.h"

class CGame;

class CPlayer {
public:
    CGame* game = nullptr;
    u8 setupByte = 1;
    i32 hitPoints = 0;
};
