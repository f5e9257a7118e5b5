// The game view's 35 x 35 window of cells around the player, divided into 5 x 5 sectors of 7 x 7
// cells: filled from a whole underground map or from the nine surface pieces around the current one.
// Every question about what is at a window cell goes through it; the 3D view reads it as its
// CViewCellWindow. Map objects and creatures are asked through the narrow interfaces below.
#pragma once

#include <array>
#include <memory>

#include "core/Random.h"
#include "data/MapSection.h"
#include "view3d/CellWindow.h"

class CMapSection;
class CWorld;

// A map object where it stands in the window: its index in the map-object table, its placement (null
// when none), the cell, the window position and the side (-1 the centre).
struct CCellSite {
    u16 objectIndex = kNoCellIndex;
    struct CPlacement* placement = nullptr;
    CMapCell* cell = nullptr;
    i32 x = 0, y = 0;
    i32 side = -1;
};

// What the window needs of the map objects: whether a map-object index blocks a creature, with the
// placement standing in the cell (null when none), its type code, and the operations the per-tick
// passes, the surroundings and the 3D view call. Those have neutral defaults: an object without them
// does nothing. The map-object table implements them all.
class CRecordHolder;

class ICellObjects {
public:
    virtual ~ICellObjects() = default;
    virtual bool IsBlocking(u16 objectIndex, const struct CPlacement* placement) const = 0;
    virtual u8 TypeCode(u16 objectIndex) const = 0;
    // The object's view flags (bit 15: a door).
    virtual u16 ViewFlags(u16) const { return 0; }

    // Whether the object has its first sound (the one that ambient objects loop).
    virtual bool HasSound(u16) const { return false; }
    // The looping sound the object makes near the player, as a centre or as a side object; null: none.
    virtual const char* GetAmbientSound(const CCellSite&) const { return nullptr; }
    virtual const char* GetSideAmbientSound(const CCellSite&) const { return nullptr; }
    // The sound of an ambient source (type 43) by day or by night; null when it has none then.
    virtual const char* GetSourceSound(u16, bool /*day*/) const { return nullptr; }
    // The light pass: a centre object updates its cell's view record (`alternative`: the cell's
    // second light record, for a type 41 object whose door-mode byte has bit 7); a side object of a
    // block updates it for its side, of the first or (overlay) the second layer.
    virtual void UpdateCentreLight(const CCellSite&, CCellView&, bool /*alternative*/) const {}
    virtual void UpdateSideLight(const CCellSite&, CCellView&, bool /*overlay*/) const {}
    // One animation tick of a door standing in the player's surroundings.
    virtual void AnimateTick(const CCellSite&, CCellView&) const {}

    // The 3D view: each index's cell-type record and the describe operations.
    virtual const CViewCellType* CellType(u16 objectIndex) const { return nullptr; }
    virtual bool DescribeCentre(u16 objectIndex, const CPlacement* placement, const CMapCell& cell,
                                CBlockCacheEntry& entry, u16& light) const {
        return false;
    }
    // Fills the part of a wall description that faces the cell across `side` of the object's cell;
    // `overlay`: of the upper part (the second layer's side).
    virtual bool DescribeSide(u16 objectIndex, const CPlacement* placement, const CMapCell& cell,
                              CWallCacheEntry& entry, i32 side, bool overlay = false) const {
        return false;
    }
    virtual u8 CellViewBits(u16 objectIndex) const { return 0; }
    // The picture a side object marks on the automap (objects of type 18, pictures hung on a wall):
    // its first picture of the texture set; null for other objects.
    virtual const CRecordHolder* MapMark(u16 objectIndex) const { return nullptr; }
};

class CCellWindow : public CViewCellWindow {
public:
    static constexpr i32 kSize = kWindowSize;
    static constexpr u8 kNowhere = 255;

    // One of the nine surface pieces: grid offset, source rectangle, window position.
    struct Piece {
        i32 dx, dy, sx, sy, w, h, wx, wy;
    };
    static const Piece kPieces[9];
    static const u8 kSectorPieces[25];
    static i32 SectorIndex(i32 x, i32 y) { return (y / 7) * 5 + x / 7; }

    explicit CCellWindow(CRandom* random = nullptr);

    // Fills the window from a section: underground the whole map; a surface piece and its eight
    // neighbours. Creatures and bags of the loaded sections are then placed. `clock` is the game time
    // in minutes (the one-week reset).
    void Fill(CWorld* world, CMapSection* section, const CCellRefs& refs, u32 clock);
    void Clear();

    CMapCell* Cell(i32 x, i32 y);
    const CMapCell* Cell(i32 x, i32 y) const;
    CStoredCell* StoredCell(i32 x, i32 y);
    CMapSection* SectorSection(i32 x, i32 y) const;
    CMapSection* PieceSection(i32 piece) const { return piece >= 0 && piece < 9 ? pieces_[piece] : nullptr; }
    bool IsSurface() const { return surface_; }
    CMapSection* CurrentSection() const { return section_; }

    // Section position to window cell; false when no loaded piece holds it.
    bool SectionToWindowCell(const CMapSection* section, i32 x, i32 y, i32& wx, i32& wy) const;
    // Window cell to the section that holds it and the position there; false when none.
    bool WindowToSectionCell(i32 wx, i32 wy, CMapSection*& section, i32& x, i32& y) const;

    // The player's cell (outside the window: none) and facing.
    void SetPlayer(i32 x, i32 y, u32 facing) {
        playerX_ = x;
        playerY_ = y;
        facing_ = facing;
    }
    bool IsPlayerCell(i32 x, i32 y) const { return x == playerX_ && y == playerY_; }
    i32 PlayerX() const { return playerX_; }
    i32 PlayerY() const { return playerY_; }
    u32 Facing() const { return facing_; }

    // Bags and creatures. PutBagInCell: 1 placed or no piece holds the position; 0 when the cell is
    // missing or taken, the bag then lying nowhere (255, 255).
    int PutBagInCell(CMapSection* section, i32 x, i32 y, CItemBag& bag);
    int PlaceObjectNear(CMapSection* section, CMonster& creature, i32 x, i32 y);
    void RemoveCreatureFromCell(CMapSection* section, const CMonster& creature);
    CMapCell* GetFreeCreatureCell(i32 x, i32 y, const CMapSection* section);
    bool IsCellCentreBlocking(const CMapCell& cell, CMapSection* section) const;
    bool IsViewBlockingCell(i32 x, i32 y) const;
    // Whether a missile or spell in flight passes the cell's centre object (its creatures are the
    // flight's own test): no object or a hidden one lets it pass; walls (5) and the solid kinds 19, 25,
    // 32, 33 stop it; doors and doorways (7, 8, 20, 22, 26, 38) while they block, so an open or
    // opening door lets it through; a feature of type 35 while its placement's flag 0x02 is clear.
    bool IsCentrePassableForProjectile(i32 x, i32 y) const;

    // The passability tests, by the type codes of the cell's objects: a door cell (centre of type 4
    // with the door flag) whose door is absent or open; a cell whose ground is of type 5; a cell with
    // an object of type 3 in a layer (or, without one, a section ground of type 3); how many of the
    // three cells across a move in `direction` (0 north, 1 east, 2 south, 3 west) are such cells.
    bool IsDoorCellOpen(i32 x, i32 y) const;
    bool IsCellKind5(i32 x, i32 y) const;
    bool FindKind3TypeAt(i32 x, i32 y) const;
    i32 CountKind3Across(i32 x, i32 y, i32 direction) const;
    // Whether a creature may not step into (x, y): outside the window, both slots taken, water in a
    // strip of three or a type-5 ground unless a door is open there, a blocking centre object that is
    // visible (or has no placement), and for creatures whose type's second further byte is set a
    // visible object of the second layer. `monsterType` may be null.
    bool CanCreatureEnter(i32 x, i32 y, const class CMonsterType* monsterType, i32 direction) const;
    // The player stands under cover on a surface map: the second layer of the player's cell names an
    // object (a roof) whose placement is absent or open, or the player stands in a door (types 20, 22)
    // that is absent or open. No rain or snow is drawn then.
    bool IsSheltered() const;
    // Whether a section is loaded into the window (the current one, or one of the nine pieces).
    bool IsSectionLoaded(const CMapSection* section) const;
    // The placement named by an id byte in the section of the sector of (x, y); null for id 0.
    CPlacement* PlacementAt(i32 x, i32 y, u8 id) const;
    void SetObjects(const ICellObjects* objects) { objects_ = objects; }
    const ICellObjects* Objects() const { return objects_; }
    // The item catalogue that fills the bags of a section when it enters the window (with the
    // window's random generator); without one the bags stay as stored.
    void SetItemCatalogue(const CItemCatalogue* catalogue) { catalogue_ = catalogue; }
    void SetRandom(CRandom* random) { random_ = random; }

    // Where a placement's id stands in the window: its cell, the side (-1 the centre) and the layer
    // (1 the cell, 2 its second layer). Defaults 0, 0, -1, 1; false when its cell names it nowhere.
    bool LocateMapObject(CMapSection* section, const CPlacement& placement, i32& x, i32& y, i32& side,
                         i32& layer) const;
    // Calls `visit` with every map-object index the cells name: the layers and the centre, and with
    // `full` the sides too (the sounds of what the window shows stay loaded).
    template <class Visit>
    void ForEachCellObject(bool full, Visit visit) const {
        for (const CMapCell& c : *cells_) {
            for (u16 i : {c.layer1, c.layer1Second, c.layer2, c.layer2Second, c.centre, c.layer4})
                if (i != kNoCellIndex) visit(i);
            if (full)
                for (i32 s = 0; s < 4; ++s) {
                    if (c.side[s] != kNoCellIndex) visit(c.side[s]);
                    if (c.secondSide[s] != kNoCellIndex) visit(c.secondSide[s]);
                }
        }
    }

    // The map-object index that LocateMapObject names for a placement: the centre or side object of
    // its cell, or of the cell's second layer; 65535 when its cell names it nowhere.
    u16 ResolveMapObjectTarget(CMapSection* section, const CPlacement& placement) const;
    // The window cell of the creature bound to a placement of the current section (its object id is
    // the placement's id); false, and (0, 0), when there is none or it stands outside the window.
    bool FindNamedObjectCell(const CPlacement& placement, i32& x, i32& y) const;

    // People (creature kind 4) within 2 cells whose controlling placement is missing or active; and
    // whether a hostile creature that is not a person stands within 7 cells.
    u32 CountPeopleNearby() const;
    bool IsThreatNearby() const { return IsHostileWithin(7); }
    // A creature that is not a person, acts and is hostile (flag bit 2, or bit 1 with its type's
    // aggressive flag) within `radius` cells of the player, the player's cell included.
    bool IsHostileWithin(i32 radius) const;
    // Calls `visit` for each creature standing within `radius` cells of the player (slot 1, then 2).
    template <class Visit>
    void ForEachCreatureNear(i32 radius, Visit visit) const {
        for (i32 y = playerY_ - radius; y <= playerY_ + radius; ++y)
            for (i32 x = playerX_ - radius; x <= playerX_ + radius; ++x) {
                const CMapCell* cell = Cell(x, y);
                CMapSection* section = SectorSection(x, y);
                if (!cell || !section) continue;
                for (u16 id : cell->creature)
                    if (id != 0 && id <= 255)
                        if (CMonster* m = section->FindMonster(static_cast<u8>(id))) visit(*section, *m);
            }
    }

    // The explored map: the player's cell and the five rays of the facing quarter.
    void MarkExploredCells();
    // The rectangle the light pass covers: 3 cells behind the player, 6 on the other sides, clamped.
    void LightingBounds(i32& x0, i32& y0, i32& x1, i32& y1) const;

    // The eight neighbours in the order PlaceObjectNear tries them (from a random start).
    static const i32 kNeighbours[8][2];

    // CViewCellWindow.
    bool HasMapData() const override { return section_ != nullptr; }
    bool GetCell(i32 x, i32 y, CViewCell& cell) const override;
    bool GetSecondCell(i32 x, i32 y, CViewSecondCell& cell) const override;
    const CViewCellType* GetCellType(u16 index) const override;
    CViewObjectState CentreObject(i32 x, i32 y) const override;
    CViewObjectState SecondCentreObject(i32 x, i32 y) const override;
    void DefaultGround(i32 x, i32 y, u16& type, u16& palette) const override;
    // The picture a ground layer's transition takes for a neighbour mask: the game view's table of
    // shape numbers (without one, the mask itself).
    u8 TransitionIndex(u8 mask) const override { return transitionShapes_ ? transitionShapes_[mask] : mask; }
    void SetTransitionShapes(const u8* table) { transitionShapes_ = table; }
    bool DescribeCentre(i32 x, i32 y, bool upper, CBlockCacheEntry& entry, u16& light) override;
    bool DescribeSide(i32 nx, i32 ny, i32 part, bool upper, CWallCacheEntry& entry) override;
    u16 CellObjectIndex(i32, i32, i32) const override { return 0; }
    void FillCellObject(i32, i32, i32, CCellObject&) override {}
    // The item pile of a cell is the bag lying there; its number (1..255) is given by the view's
    // numbering and holds while the bag lies in the cell. The window knows no pictures: the game's
    // view world fills the group from the bag's items (without it the group stays empty).
    u16 PictureGroupIndex(i32 x, i32 y) const override;
    void FillPictureGroup(i32, i32, CPictureGroup&) override {}
    bool LowersLight() const override;
    bool HasCellObject(i32, i32, i32) const override { return false; }
    void SetCellObjectIndex(i32, i32, i32, u16) override {}
    bool HasPictureGroup(i32 x, i32 y) const override { return PileAt(x, y) != nullptr; }
    void SetPictureGroupIndex(i32 x, i32 y, u16 index) override;
    // The bag lying in a window cell (found in the section of the cell's sector); null when none.
    CItemBag* PileAt(i32 x, i32 y) const;
    // Whether a bag lies in a cell that the last numbering gave no number, though a number was left
    // (one put down since then): the view must number its piles again to draw it.
    bool HasUnnumberedPile() const;
    // Before the view numbers the piles afresh.
    void ForgetPileNumbers();

    // The default ground of the world in map-object and picture indices (the view's fallback).
    u16 defaultGround = kNoCellIndex, defaultGroundPicture = kNoCellIndex;
    // The default ground of one piece of a surface window (0..8, row by row), which its cells show
    // where their own layers leave the ground open: the vale's grass beside the town's paving. A
    // piece without one falls back to the window's default. Filling the window forgets them.
    void SetPieceGround(i32 piece, u16 type, u16 picture);

private:
    void PlaceSectionContents(CMapSection* section);
    CViewObjectState ObjectState(CMapSection* section, u8 id) const;

    std::unique_ptr<std::array<CMapCell, kMapWindowCells>> cells_;
    std::unique_ptr<std::array<CStoredCell, kMapWindowCells>> stored_;
    // The number of each cell's item pile (0: none) and the bag it was given to.
    struct PileNumber {
        u16 index = 0;
        u8 bag = 0;
    };
    std::unique_ptr<std::array<PileNumber, kMapWindowCells>> pileNumbers_;
    u16 pilesNumbered_ = 0;
    CMapSection* sectors_[25] = {};
    CMapSection* pieces_[9] = {};
    u16 pieceGround_[9][2] = {};
    CMapSection* section_ = nullptr;
    const u8* transitionShapes_ = nullptr;
    CWorld* world_ = nullptr;
    bool surface_ = false;
    i32 playerX_ = -1, playerY_ = -1;
    u32 facing_ = 0;
    CRandom* random_;
    const ICellObjects* objects_ = nullptr;
    const CItemCatalogue* catalogue_ = nullptr;
};
