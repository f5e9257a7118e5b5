// The two ways the game numbers the four directions. Every caller says which one it means:
//   table directions  0 north, 1 east, 2 south, 3 west: the order of the view's step tables, of the
//                     near-creature entries and of the missiles;
//   facing quarters   0 north, 1 west, 2 south, 3 east: the facing angle (counter-clockwise degrees)
//                     divided by 90, as creatures store their facing and blows name their side.
// North is smaller y and east larger x in both.
#pragma once

#include "core/Types.h"

namespace dir {

// Cell steps by table direction.
inline constexpr i32 kStepX[4] = {0, 1, 0, -1};
inline constexpr i32 kStepY[4] = {-1, 0, 1, 0};

// The same compass side in the other numbering (the conversion is its own inverse).
inline constexpr i32 TableToQuarter(i32 table) { return (4 - (table & 3)) & 3; }
inline constexpr i32 QuarterToTable(i32 quarter) { return (4 - (quarter & 3)) & 3; }

// The table direction a facing angle looks towards: ((360 - facing) / 90) mod 4.
inline constexpr i32 TableOfFacing(u32 facing) { return static_cast<i32>(((360 - facing % 360) / 90) % 4); }
// The facing quarter of a facing angle.
inline constexpr i32 QuarterOfFacing(u32 facing) { return static_cast<i32>((facing % 360) / 90); }

// The table direction from one cell towards another: along x when x differs, else along y.
inline constexpr i32 TableTowards(i32 fromX, i32 fromY, i32 toX, i32 toY) {
    if (toX != fromX) return toX > fromX ? 1 : 3;
    return toY > fromY ? 2 : 0;
}

}  // namespace dir
