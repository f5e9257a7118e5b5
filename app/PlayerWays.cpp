#include "app/PlayerWays.h"

#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "data/MapSection.h"
#include "data/World.h"
#include "world/CellWindow.h"
#include "world/GameScreen.h"
#include "world/GameViewWorld.h"

namespace {

bool Inside(i32 x, i32 y) { return x >= 0 && y >= 0 && x < CCellWindow::kSize && y < CCellWindow::kSize; }

}  // namespace

bool IsClosedDoorCell(const CGameScreen& view, i32 x, i32 y) {
    const CCellWindow& w = view.window;
    const CMapCell* cell = w.Cell(x, y);
    const ICellObjects* objects = w.Objects();
    if (cell == nullptr || objects == nullptr || cell->centre == kNoCellIndex) return false;
    const u8 code = objects->TypeCode(cell->centre);
    // The doors that swing (they block while shut), and the cell doors of the walls.
    if (code == typecode::kDoor || code == typecode::kDoorB)
        return objects->IsBlocking(cell->centre, w.PlacementAt(x, y, cell->centreId));
    return code == typecode::kKind4 && (objects->ViewFlags(cell->centre) & kObjectDoorFlag) != 0 &&
           !w.IsDoorCellOpen(x, y);
}

bool IsCellWalkable(const CGameScreen& view, i32 x, i32 y, i32 direction, const CRefusedCells& refused,
                    bool throughDoors) {
    const CMapCell* cell = view.window.Cell(x, y);
    if (cell == nullptr || cell->creature[0] != 0 || cell->creature[1] != 0 || refused.count({x, y})) return false;
    if (throughDoors && IsClosedDoorCell(view, x, y)) return true;
    return !view.window.CanCreatureEnter(x, y, nullptr, direction);
}

int FirstStepTowards(const CGameScreen& view, i32 tx, i32 ty, bool beside, const CRefusedCells& refused,
                     bool throughDoors) {
    auto arrived = [&](i32 x, i32 y) {
        return beside ? std::abs(x - tx) + std::abs(y - ty) == 1 : x == tx && y == ty;
    };
    if (!Inside(view.playerX, view.playerY)) return kWayNone;
    if (arrived(view.playerX, view.playerY)) return kWayArrived;
    constexpr i32 n = CCellWindow::kSize;
    constexpr int kStart = 4, kUnseen = -1;
    // The direction of the first step that reached each cell.
    std::vector<int> first(static_cast<size_t>(n * n), kUnseen);
    std::deque<std::pair<i32, i32>> open;
    first[static_cast<size_t>(view.playerY * n + view.playerX)] = kStart;
    open.emplace_back(view.playerX, view.playerY);
    while (!open.empty()) {
        const auto [x, y] = open.front();
        open.pop_front();
        for (int d = 0; d < 4; ++d) {
            const i32 nx = x + CGameScreen::kDx[d], ny = y + CGameScreen::kDy[d];
            if (!Inside(nx, ny) || first[static_cast<size_t>(ny * n + nx)] != kUnseen) continue;
            const bool goal = arrived(nx, ny);
            const bool enterable = IsCellWalkable(view, nx, ny, d, refused, throughDoors);
            // A stair or a ladder is entered by walking into it, though no walker may stand there.
            if (!enterable && !(goal && !beside && view.window.Cell(nx, ny) != nullptr)) continue;
            const int via = first[static_cast<size_t>(y * n + x)];
            first[static_cast<size_t>(ny * n + nx)] = via == kStart ? d : via;
            if (goal) return first[static_cast<size_t>(ny * n + nx)];
            open.emplace_back(nx, ny);
        }
    }
    return kWayNone;
}

bool CellBefore(const CGameScreen& view, const CMapSection& at, const CMonster& creature, i32& wx, i32& wy) {
    // The facing quarter (flag bits 3..4) counts anticlockwise from north; the view's directions
    // clockwise.
    const u32 looks = (4 - ((creature.flags >> 3) & 3)) & 3;
    i32 x = 0, y = 0;
    if (!view.window.SectionToWindowCell(&at, creature.x, creature.y, x, y)) return false;
    wx = x + CGameScreen::kDx[looks];
    wy = y + CGameScreen::kDy[looks];
    return Inside(wx, wy);
}

bool FindWayOut(const CGameScreen& view, i32& wx, i32& wy) {
    const CMapSection* here = view.section;
    const CWorld* world = here != nullptr ? here->world : nullptr;
    if (here == nullptr || world == nullptr) return false;
    const CRefusedCells none;
    int best = -1;
    for (const CPlacement& p : here->placements) {
        if (p.text == nullptr || p.text[0] == 0) continue;
        std::string target = p.text;
        target = target.substr(0, target.find('#'));
        CMapSection* there = nullptr;
        if (world->FindMapObjectByName(target.c_str(), there) == nullptr || there == nullptr || there == here) continue;
        i32 x = 0, y = 0;
        if (!view.window.SectionToWindowCell(here, p.x, p.y, x, y)) continue;
        if (FirstStepTowards(view, x, y, false, none) == kWayNone) continue;
        const int distance = std::abs(x - view.playerX) + std::abs(y - view.playerY);
        if (best < 0 || distance < best) {
            best = distance;
            wx = x;
            wy = y;
        }
    }
    return best >= 0;
}

u32 DirectionTowards(const CGameScreen& view, i32 wx, i32 wy) {
    const i32 dx = wx - view.playerX, dy = wy - view.playerY;
    return dx > 0 ? 1u : dx < 0 ? 3u : dy > 0 ? 2u : 0u;
}
