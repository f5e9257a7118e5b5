// Where a creature's sprite stands inside its cell: on the edge that faces the player, beside the
// other creature when two share the cell. Positions are 16.16 fractions of the cell (32768 = centre).
#pragma once

#include "core/Types.h"

struct CCellObject;

struct CSpritePlace {
    u32 x = 32768, y = 32768;
};

// `paired`: the first creature of a cell whose second slot is taken; `second`: the creature of the
// second slot; `wide`: its monster type's first further byte is set.
CSpritePlace SelectCreatureSprite(i32 creatureX, i32 creatureY, i32 playerX, i32 playerY, u32 facing,
                                  bool turning, bool wide, bool paired, bool second);

// The creatures' sprites as the 3D view's caches number and fill the two creature slots of a cell.
class ICellSprites {
public:
    virtual ~ICellSprites() = default;
    virtual bool HasSprite(i32 x, i32 y, i32 slot) const = 0;
    virtual u16 SpriteIndex(i32 x, i32 y, i32 slot) const = 0;
    virtual void SetSpriteIndex(i32 x, i32 y, i32 slot, u16 index) = 0;
    virtual void FillSprite(i32 x, i32 y, i32 slot, CCellObject& sprite) = 0;
};
