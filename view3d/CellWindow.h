// The game view's cell window as the view's cache builder reads it. The world implements
// CViewCellWindow over its 35 x 35 CMapCell window, the second-layer records, the cell-type records
// and the map objects' describe operations; the builder (CellBuilder.h) turns it into the view
// record's per-cell records and cache entries. Window coordinates run 0..34; the sector of (x, y) is
// (y / 7) * 5 + x / 7.
#pragma once

#include "core/Types.h"
#include "view3d/ViewCaches.h"

inline constexpr u16 kNoIndex = 65535;

// A cell of the window by the places of its words (map-object indices and picture indices, 65535 =
// none): the first ground layer (type, palette id, second type), the second layer (the same), the
// centre (the block type and its palette id), layer 4, the four side objects.
struct CViewCell {
    u16 layer1 = kNoIndex, layer1Picture = kNoIndex, layer1Second = kNoIndex;
    u16 layer2 = kNoIndex, layer2Picture = kNoIndex, layer2Second = kNoIndex;
    u16 centre = kNoIndex, centrePicture = kNoIndex;
    u16 layer4 = kNoIndex, layer4Picture = kNoIndex;
    u16 side[4] = {kNoIndex, kNoIndex, kNoIndex, kNoIndex};
};

// The second-layer record of a cell (the upper part): its first and second type with their palette ids.
struct CViewSecondCell {
    u16 firstType = kNoIndex, firstPalette = kNoIndex;
    u16 secondType = kNoIndex, secondPalette = kNoIndex;
};

// A cell-type record as the builder reads it.
struct CViewCellType {
    u8 kind = 0;
    bool uniqueLower = false;       // a lower block of this type belongs to its cell alone
    bool uniqueUpper = false;       // the same for an upper block
    const u16* pictures = nullptr;  // its picture list: the ground texture first (frames for kind 3)
    u32 pictureCount = 0;
    u16 Picture(u32 k) const { return k < pictureCount ? pictures[k] : 0; }
};

// The state of a map object placed in a cell: whether there is one and whether it is open.
struct CViewObjectState {
    bool exists = false;
    bool open = true;
    bool Hides() const { return exists && !open; }
};

class CViewCellWindow {
public:
    virtual ~CViewCellWindow() = default;
    // Whether a map with data is loaded (nothing is built otherwise).
    virtual bool HasMapData() const = 0;
    // The cell at (x, y); false outside the window.
    virtual bool GetCell(i32 x, i32 y, CViewCell& cell) const = 0;
    // The second-layer record at (x, y); false when the cell has none.
    virtual bool GetSecondCell(i32 x, i32 y, CViewSecondCell& cell) const = 0;
    // The cell-type record of a map-object index; null for 65535 or an index out of range.
    virtual const CViewCellType* GetCellType(u16 index) const = 0;
    // The map object of the cell's centre (the lower block's), and of its second layer (the upper's).
    virtual CViewObjectState CentreObject(i32 x, i32 y) const = 0;
    virtual CViewObjectState SecondCentreObject(i32 x, i32 y) const = 0;
    // The default ground (type and palette id) of the sector of (x, y), or of the game.
    virtual void DefaultGround(i32 x, i32 y, u16& type, u16& palette) const = 0;
    // The picture-list entry a layer's transition mask takes for a neighbour mask (the game view's
    // 256-entry transition table).
    virtual u8 TransitionIndex(u8 mask) const = 0;

    // The describe operations of the map objects. DescribeCentre fills the lower (or, `upper`, the
    // upper) block of the cell and may change its light; false when the cell has no such block.
    virtual bool DescribeCentre(i32 x, i32 y, bool upper, CBlockCacheEntry& entry, u16& light) = 0;
    // Fills part `part` (the side that faces the cell across it) of a wall description from the
    // block and side decoration of the neighbour (nx, ny); the result says whether the side named a
    // map object (the description is then the cell's own).
    virtual bool DescribeSide(i32 nx, i32 ny, i32 part, bool upper, CWallCacheEntry& entry) = 0;
    // The numbered index (1..255) of the cell's object in slot 0 or 1 and of its item pile, 0 when
    // there is none or it is a closed map object; and the records to fill.
    virtual u16 CellObjectIndex(i32 x, i32 y, i32 slot) const = 0;
    virtual void FillCellObject(i32 x, i32 y, i32 slot, CCellObject& object) = 0;
    virtual u16 PictureGroupIndex(i32 x, i32 y) const = 0;
    virtual void FillPictureGroup(i32 x, i32 y, CPictureGroup& group) = 0;
    // Whether the map lowers strong light (its flags' bit 8).
    virtual bool LowersLight() const = 0;

    // Numbering: whether the cell holds an object in a slot or an item pile, and where its number goes.
    virtual bool HasCellObject(i32 x, i32 y, i32 slot) const = 0;
    virtual void SetCellObjectIndex(i32 x, i32 y, i32 slot, u16 index) = 0;
    virtual bool HasPictureGroup(i32 x, i32 y) const = 0;
    virtual void SetPictureGroupIndex(i32 x, i32 y, u16 index) = 0;
};
