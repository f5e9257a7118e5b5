// Ways over the game view's cells for programs that play the game by its own input (the played
// session's scripted player, the random-input monkey): which cells a walker may step into, the first
// step of a shortest way to a cell, where a person must be spoken to from, and the places that lead
// to another map. They only look at the view; the player still walks by the keys.
#pragma once

#include <set>
#include <utility>

#include "core/Types.h"

class CGameScreen;
class CMapSection;
struct CMonster;

// Window cells a step into was refused on the current walk (a creature came, a door stayed shut).
using CRefusedCells = std::set<std::pair<i32, i32>>;

// What FirstStepTowards says besides a direction.
constexpr int kWayArrived = -2;
constexpr int kWayNone = -1;

// Whether the player may step into the window cell (x, y) moving in `direction` (0 north, 1 east,
// 2 south, 3 west): no creature stands there and nothing keeps a walker out. With `throughDoors` a
// closed door counts as open (the walker uses it first).
bool IsCellWalkable(const CGameScreen& view, i32 x, i32 y, i32 direction, const CRefusedCells& refused,
                    bool throughDoors = false);
// A door that stands shut in the window cell (x, y).
bool IsClosedDoorCell(const CGameScreen& view, i32 x, i32 y);
// The direction of the first step of a shortest way from the player to the window cell (tx, ty), or
// with `beside` to a cell next to it; kWayArrived when the player is there, kWayNone when no way
// leads there. The target itself may be a cell a walker enters only by walking into it (a stair).
int FirstStepTowards(const CGameScreen& view, i32 tx, i32 ty, bool beside, const CRefusedCells& refused,
                     bool throughDoors = false);
// The window cell a creature looks at (its facing quarter): where a person is spoken to from. False
// when it lies outside the window.
bool CellBefore(const CGameScreen& view, const CMapSection& at, const CMonster& creature, i32& wx, i32& wy);
// The window cell of a place of the current map that leads to another one (a stair, a ladder): a
// placement whose text names a placement of another map. The nearest by the way when there are
// several; false when none is reachable.
bool FindWayOut(const CGameScreen& view, i32& wx, i32& wy);
// The direction 0..3 from the player towards a neighbouring window cell.
u32 DirectionTowards(const CGameScreen& view, i32 wx, i32 wy);
