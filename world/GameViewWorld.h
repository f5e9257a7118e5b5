// The world as the 3D view and the cell window read it: the texture set's pictures and palettes by id,
// and the cell window whose cells the map-object table describes (cell types, blocking, blocks and
// sides, light and sounds).
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "display/Picture.h"
#include "view3d/CellWindow.h"
#include "view3d/ViewWorld.h"
#include "world/CellWindow.h"
#include "world/CreatureSprite.h"
#include "world/MapObject.h"

class CTextureSet;
class CWorldLists;

// Type codes of the map objects that the view and the movement rules test.
namespace typecode {
inline constexpr u8 kGround = 1, kKind3 = 3, kKind4 = 4, kWall = 5, kEntrance = 12, kUseStep = 15;
inline constexpr u8 kDoor = 20, kDoorB = 22, kFacingEntry = 25, kPassage = 35, kFacingEntryB = 39;
inline constexpr u8 kHeld = 42;
}  // namespace typecode

// View flags of a map-object record: "used when walked into" and the door flag.
inline constexpr u16 kObjectUsedWhenWalkedInto = 0x4000;
inline constexpr u16 kObjectDoorFlag = 0x8000;

class CGameViewWorld : public CViewPictureSource, public CViewCellWindow, public ICellObjects {
public:
    // `objects` is the game's map-object table; without one the view keeps a table of its own.
    CGameViewWorld(CCellWindow& window, CTextureSet& textures, const CWorldLists& lists,
                   CMapObjectTable* objects = nullptr, IMapObjectHost* objectHost = nullptr)
        : window_(window), textures_(textures), lists_(lists), objectHost_(objectHost) {
        if (!objects) {
            ownObjects_ = std::make_unique<CMapObjectTable>();
            objects = ownObjects_.get();
        }
        objects_ = objects;
    }

    // Brings the map-object table up to the record list (after worlds opened or closed), resolves its
    // pictures and forgets the pictures read so far.
    void Refresh();
    // Forgets the pictures read (the worlds they came from are closing); the table follows the record
    // list at the next refresh.
    void Forget() {
        pictures_.clear();
        palettes_.clear();
        itemPictures_.clear();
    }
    CMapObjectTable& Objects() const { return *objects_; }

    // CViewPictureSource: pictures by first-table index, palettes by second-table index.
    const CPictureData* GetViewPicture(u16 id) const override;
    CViewPalette GetViewPalette(u16 id) const override;
    i8 GetPictureAnchor(u16) const override { return 0; }

    // ICellObjects: the map-object table's answers.
    bool IsBlocking(u16 i, const CPlacement* placement) const override { return objects_->IsBlocking(i, placement); }
    u8 TypeCode(u16 i) const override { return objects_->TypeCode(i); }
    u16 ViewFlags(u16 i) const override { return objects_->ViewFlags(i); }
    bool HasSound(u16 i) const override { return objects_->HasSound(i); }
    const char* GetAmbientSound(const CCellSite& site) const override { return objects_->GetAmbientSound(site); }
    const char* GetSideAmbientSound(const CCellSite& site) const override {
        return objects_->GetSideAmbientSound(site);
    }
    const char* GetSourceSound(u16 i, bool day) const override { return objects_->GetSourceSound(i, day); }
    void UpdateCentreLight(const CCellSite& site, CCellView& view, bool alternative) const override {
        objects_->UpdateCentreLight(site, view, alternative);
    }
    void UpdateSideLight(const CCellSite& site, CCellView& view, bool overlay) const override {
        objects_->UpdateSideLight(site, view, overlay);
    }
    void AnimateTick(const CCellSite& site, CCellView& view) const override { objects_->AnimateTick(site, view); }
    const CViewCellType* CellType(u16 i) const override { return objects_->CellType(i); }
    bool DescribeCentre(u16 i, const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override {
        return objects_->DescribeCentre(i, placement, cell, entry, light);
    }
    bool DescribeSide(u16 i, const CPlacement* placement, const CMapCell& cell, CWallCacheEntry& entry,
                      i32 side, bool overlay) const override {
        return objects_->DescribeSide(i, placement, cell, entry, side, overlay);
    }
    u8 CellViewBits(u16 i) const override { return objects_->CellViewBits(i); }
    // The first picture of a type 18 object, read when first needed.
    const CRecordHolder* MapMark(u16 i) const override;
    // Sound `which` (0..2) of a map-object index; null when it has none.
    const char* ObjectSound(u16 objectIndex, int which) const;

    // CViewCellWindow, the window's answers with the cell types and the blocks added.
    bool HasMapData() const override { return window_.HasMapData(); }
    bool GetCell(i32 x, i32 y, CViewCell& cell) const override { return window_.GetCell(x, y, cell); }
    bool GetSecondCell(i32 x, i32 y, CViewSecondCell& cell) const override {
        return window_.GetSecondCell(x, y, cell);
    }
    const CViewCellType* GetCellType(u16 index) const override { return objects_->CellType(index); }
    CViewObjectState CentreObject(i32 x, i32 y) const override { return window_.CentreObject(x, y); }
    CViewObjectState SecondCentreObject(i32 x, i32 y) const override {
        return window_.SecondCentreObject(x, y);
    }
    void DefaultGround(i32 x, i32 y, u16& type, u16& palette) const override {
        window_.DefaultGround(x, y, type, palette);
    }
    u8 TransitionIndex(u8 mask) const override { return window_.TransitionIndex(mask); }
    bool DescribeCentre(i32 x, i32 y, bool upper, CBlockCacheEntry& entry, u16& light) override {
        return window_.DescribeCentre(x, y, upper, entry, light);
    }
    bool DescribeSide(i32 nx, i32 ny, i32 part, bool upper, CWallCacheEntry& entry) override {
        return window_.DescribeSide(nx, ny, part, upper, entry);
    }
    u16 CellObjectIndex(i32 x, i32 y, i32 slot) const override {
        return sprites ? sprites->SpriteIndex(x, y, slot) : window_.CellObjectIndex(x, y, slot);
    }
    void FillCellObject(i32 x, i32 y, i32 slot, CCellObject& o) override {
        sprites ? sprites->FillSprite(x, y, slot, o) : window_.FillCellObject(x, y, slot, o);
    }
    u16 PictureGroupIndex(i32 x, i32 y) const override { return window_.PictureGroupIndex(x, y); }
    // The pictures of the first ten items of the cell's bag that show one (text 5 of the item type
    // names it), in the bag's order; an item without a picture takes no place.
    void FillPictureGroup(i32 x, i32 y, CPictureGroup& g) override;
    bool LowersLight() const override { return window_.LowersLight(); }
    bool HasCellObject(i32 x, i32 y, i32 slot) const override {
        return sprites ? sprites->HasSprite(x, y, slot) : window_.HasCellObject(x, y, slot);
    }
    void SetCellObjectIndex(i32 x, i32 y, i32 slot, u16 i) override {
        sprites ? sprites->SetSpriteIndex(x, y, slot, i) : window_.SetCellObjectIndex(x, y, slot, i);
    }
    bool HasPictureGroup(i32 x, i32 y) const override { return window_.HasPictureGroup(x, y); }
    void SetPictureGroupIndex(i32 x, i32 y, u16 i) override { window_.SetPictureGroupIndex(x, y, i); }

    // The creatures' sprites in the cells' two creature slots (the game view's fight); null: none.
    ICellSprites* sprites = nullptr;
    // The first-table index of a picture name (0 when none), loading the picture.
    u16 PictureIndex(const char* name) const;

private:
    CCellWindow& window_;
    CTextureSet& textures_;
    const CWorldLists& lists_;
    IMapObjectHost* objectHost_ = nullptr;
    std::unique_ptr<CMapObjectTable> ownObjects_;
    CMapObjectTable* objects_ = nullptr;
    mutable std::map<u16, CPictureData> pictures_;
    mutable std::map<u16, CPictureData> palettes_;
    // The picture index of each item type met in a pile (0: it shows none).
    std::map<const CItemType*, u16> itemPictures_;
};
