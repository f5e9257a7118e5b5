// Builds the view record's per-cell records and cache entries from the game view's cell window: the
// ground composition and its neighbour masks, the lower and upper blocks with their shape and joint
// codes, the walls from the neighbours' sides, cell objects, picture groups and the light. The game
// view owns one and calls it when the window is refilled (a whole rebuild) or a cell changed.
#pragma once

#include "view3d/CellWindow.h"
#include "view3d/ViewRecord.h"

class CViewCacheBuilder : public CViewCellBuilder {
public:
    CViewCacheBuilder(CViewState3D& view, CViewCellWindow& window, CViewNotices* notices)
        : view_(view), window_(window), notices_(notices) {}

    // Ground, lower block, lower walls, cell objects, picture group and light of one cell.
    void BuildCellCaches(i32 x, i32 y) override;
    // Upper block, upper walls and upper light.
    void BuildCellCachesPass3(i32 x, i32 y) override;
    // The walls alone, of the lower or the upper part (after a side's object changed).
    void BuildCellCachesPass2(i32 x, i32 y) override { BuildWalls(x, y, false); }
    void BuildCellCachesPass4(i32 x, i32 y) override { BuildWalls(x, y, true); }
    void RebuildViewCaches() { ::RebuildViewCaches(view_, *this); }

    // The ground description of a cell and its shape code (54 by default, 59 or 60 where one layer
    // covers the cell; a pit keeps the code it had).
    void BuildGroundEntry(i32 x, i32 y, CGroundCacheEntry& entry, u16& shape) const;
    // The corner-ruled mask of the neighbours that continue one ground layer of the cell.
    u8 GroundNeighbourCode(i32 x, i32 y, bool secondLayer) const;
    u16 BlockShapeCode(i32 x, i32 y) const;
    u16 BlockJointCode(i32 x, i32 y) const;
    u16 OverlayBlockJointCode(i32 x, i32 y) const;
    // Numbers the cell objects and item piles of the window, row by row, up to 255 each.
    void NumberCellObjects();
    // The 256-entry joint table by corner-ruled neighbour mask that the game view keeps (null: the
    // built-in codes of JointCodeOfMask).
    void SetJointTable(const u16* table) { joints_ = table; }
    u16 JointCode(u8 mask) const { return joints_ ? joints_[mask] : JointCodeOfMask(mask); }

private:
    void BuildWalls(i32 x, i32 y, bool upper);
    const CViewCellType* Type(u16 index) const {
        return index == kNoIndex ? nullptr : window_.GetCellType(index);
    }
    u8 Kind(u16 index) const {
        const CViewCellType* t = Type(index);
        return t ? t->kind : 0;
    }
    // A lower block of kind 5 whose object is absent or open.
    bool OpenKind5(i32 x, i32 y, const CViewCell& c) const {
        return Kind(c.centre) == 5 && !window_.CentreObject(x, y).Hides();
    }

    CViewState3D& view_;
    CViewCellWindow& window_;
    CViewNotices* notices_;
    CViewNumbering numbering_;
    const u16* joints_ = nullptr;
};
