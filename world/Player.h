// Stand-in for the player character until the world work replaces it: start-up stores the game in it
// and sets one byte that its constructor sets to 1.
#pragma once

#include "app/Types.h"

class CGame;

class CPlayer {
public:
    CGame* game = nullptr;
    u8 setupByte = 1;
};
