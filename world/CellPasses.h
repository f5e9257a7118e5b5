// The per-tick passes of the game view over the cells near the player, and the rebuild of cells that
// scripts changed: the light of the view records, the doors' animation, and the view caches of the
// changed cells. The game view's tick runs ComputeLighting in its 200 ms phases and AnimateDoors in
// its 50 ms phase; RebuildChangedCells after scripts ran and when the view is resumed.
#pragma once

#include "core/Types.h"

class CCellWindow;
class CScriptContext;
class CViewCellBuilder;
struct CViewState3D;
struct ScriptStateRecord;

class CCellPasses {
public:
    static constexpr i32 kDoorRadius = 6;

    CCellPasses(CCellWindow& window, CViewState3D& view) : window_(window), view_(view) {}

    // The light pass over the rectangle around the player (3 cells behind, 6 on the other sides):
    // every view record back to neutral light, then (full) the centre objects and (sides) the side
    // objects of blocks update it; a map that lowers strong light lowers it as the cache build does.
    void ComputeLighting(bool full, bool sides);
    // One animation tick of each door (types 20 and 22) within 6 cells of the player; a door whose
    // leaf moved (or that came to rest) has its view caches rebuilt, so the view shows it moving.
    void AnimateDoors(CViewCellBuilder* rebuilder = nullptr);
    // Rebuilds the view caches of one changed cell (window coordinates) of a loaded section: with a
    // side, the walls of the neighbour across it; without one (-1) the cell itself. Layer 1 rebuilds
    // the first layer, any other the second.
    void RebuildChangedCell(const ScriptStateRecord& entry, CViewCellBuilder& rebuilder);
    // Every record of the script context, then the records are emptied.
    void RebuildChangedCells(CScriptContext& context, CViewCellBuilder& rebuilder);

private:
    CCellWindow& window_;
    CViewState3D& view_;
};
