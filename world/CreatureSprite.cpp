#include "world/CreatureSprite.h"

namespace {

// By case (alone, first of two wide, second of two wide, first of two narrow, second of two narrow)
// and by the side the player sees the creature from.
constexpr u32 kPlaces[5][4][2] = {
    {{32768, 65000}, {65000, 32768}, {32768, 535}, {535, 32768}},
    {{14480, 65000}, {65000, 51056}, {51056, 535}, {535, 14480}},
    {{51056, 64000}, {64000, 14480}, {14480, 1535}, {1535, 51056}},
    {{20480, 65000}, {65000, 45056}, {45056, 535}, {535, 20480}},
    {{45056, 64000}, {64000, 20480}, {20480, 1535}, {1535, 45056}},
};

}  // namespace

CSpritePlace SelectCreatureSprite(i32 cx, i32 cy, i32 px, i32 py, u32 facing, bool turning, bool wide,
                                  bool paired, bool second) {
    u32 side = 0;
    if (!turning && cx == px && cy == py) return {};
    if (!turning && cx == px)
        side = cy < py ? 0 : 2;
    else if (!turning && cy == py)
        side = cx < px ? 1 : 3;
    else
        side = ((facing % 360 + 45) % 360) / 90;
    u32 row = 0;
    if (second)
        row = wide ? 2 : 4;
    else if (paired)
        row = wide ? 1 : 3;
    return {kPlaces[row][side][0], kPlaces[row][side][1]};
}
