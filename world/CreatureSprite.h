// Where a creature's sprite stands inside its cell: on the edge that faces the player, beside the
// other creature when two share the cell. Positions are 16.16 fractions of the cell (32768 = centre).
#pragma once

#include "core/Types.h"

struct CSpritePlace {
    u32 x = 32768, y = 32768;
};

// `paired`: the first creature of a cell whose second slot is taken; `second`: the creature of the
// second slot; `wide`: its monster type's first further byte is set.
CSpritePlace SelectCreatureSprite(i32 creatureX, i32 creatureY, i32 playerX, i32 playerY, u32 facing,
                                  bool turning, bool wide, bool paired, bool second);
