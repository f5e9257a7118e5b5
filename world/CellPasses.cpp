#include "world/CellPasses.h"

#include <algorithm>

#include "script/ScriptContext.h"
#include "view3d/ViewCaches.h"
#include "view3d/ViewRecord.h"
#include "world/CellWindow.h"

namespace {

constexpr u8 kBlockType = 5;
constexpr u8 kAlternativeLightType = 41;
constexpr u8 kAlternativeLightBit = 0x80;
constexpr i32 kDx[4] = {0, 1, 0, -1};
constexpr i32 kDy[4] = {-1, 0, 1, 0};

}  // namespace

void CCellPasses::ComputeLighting(bool full, bool sides) {
    const ICellObjects* objects = window_.Objects();
    i32 x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    window_.LightingBounds(x0, y0, x1, y1);
    for (i32 y = y0; y <= y1; ++y)
        for (i32 x = x0; x <= x1; ++x) {
            CCellView* view = view_.CellView(x, y);
            CMapCell* cell = window_.Cell(x, y);
            if (!view || !cell) continue;
            view->light = 256;
            if (!objects || cell->centre == kNoCellIndex) continue;
            const u8 code = objects->TypeCode(cell->centre);
            if (full) {
                const bool alternative = code == kAlternativeLightType && (cell->doorMode & kAlternativeLightBit);
                objects->UpdateCentreLight({cell->centre, window_.PlacementAt(x, y, cell->centreId), cell, x, y, -1},
                                           *view, alternative);
            }
            if (sides && code == kBlockType) {
                const CStoredCell* stored = window_.StoredCell(x, y);
                for (i32 s = 0; s < 4; ++s) {
                    if (cell->side[s] != kNoCellIndex)
                        objects->UpdateSideLight({cell->side[s], window_.PlacementAt(x, y, cell->sideId[s]), cell, x, y, s},
                                                 *view, false);
                    if (stored->side[s] != kNoCellIndex)
                        objects->UpdateSideLight(
                            {stored->side[s], window_.PlacementAt(x, y, stored->sideId[s]), cell, x, y, s}, *view, true);
                }
            }
            if (window_.LowersLight() && view->light > 255) view->light = static_cast<u16>(view->light - 64);
        }
}

void CCellPasses::AnimateDoors(CViewCellBuilder* rebuilder) {
    const ICellObjects* objects = window_.Objects();
    if (!objects) return;
    const i32 px = window_.PlayerX(), py = window_.PlayerY();
    for (i32 y = std::max(0, py - kDoorRadius); y <= std::min(CCellWindow::kSize - 1, py + kDoorRadius); ++y)
        for (i32 x = std::max(0, px - kDoorRadius); x <= std::min(CCellWindow::kSize - 1, px + kDoorRadius); ++x) {
            CMapCell* cell = window_.Cell(x, y);
            CCellView* view = view_.CellView(x, y);
            if (!cell || !view || cell->centre == kNoCellIndex) continue;
            const u8 code = objects->TypeCode(cell->centre);
            if (code != 20 && code != 22) continue;
            CPlacement* p = window_.PlacementAt(x, y, cell->centreId);
            const u8 state = cell->state, flags = p ? p->flags : 0;
            objects->AnimateTick({cell->centre, p, cell, x, y, -1}, *view);
            if (rebuilder && (cell->state != state || (p && p->flags != flags))) rebuilder->BuildCellCaches(x, y);
        }
}

void CCellPasses::RebuildChangedCell(const ScriptStateRecord& entry, CViewCellBuilder& rebuilder) {
    if (!window_.IsSectionLoaded(entry.section)) return;
    if (entry.side >= 0 && entry.side < 4) {
        const i32 nx = entry.x + kDx[entry.side], ny = entry.y + kDy[entry.side];
        if (!window_.Cell(nx, ny)) return;
        if (entry.where == 1)
            rebuilder.BuildCellCachesPass2(nx, ny);
        else
            rebuilder.BuildCellCachesPass4(nx, ny);
        return;
    }
    if (!window_.Cell(entry.x, entry.y)) return;
    if (entry.where == 1)
        rebuilder.BuildCellCaches(entry.x, entry.y);
    else
        rebuilder.BuildCellCachesPass3(entry.x, entry.y);
}

void CCellPasses::RebuildChangedCells(CScriptContext& context, CViewCellBuilder& rebuilder) {
    for (const ScriptStateRecord& entry : context.GetStateRecords()) RebuildChangedCell(entry, rebuilder);
    context.ClearStateRecords();
}
