#include "world/GameViewWorld.h"

#include "data/MapObjectRecords.h"
#include "data/MapSection.h"
#include "data/TextureSet.h"
#include "data/WorldLists.h"

void CGameViewWorld::Refresh() {
    pictures_.clear();
    palettes_.clear();
    const size_t count = lists_.mapObjects.Count();
    types_.assign(count, Type{});
    for (size_t i = 0; i < count; ++i) {
        const CMapObjectRecord* r = lists_.mapObjects.At(i);
        if (!r) continue;
        Type& t = types_[i];
        t.view.kind = r->typeCode;
        for (const char* frame : r->frames) t.pictures.push_back(PictureIndex(frame));
    }
    // The picture lists are complete only now: the views point into them.
    for (Type& t : types_) {
        t.view.pictures = t.pictures.empty() ? nullptr : t.pictures.data();
        t.view.pictureCount = static_cast<u32>(t.pictures.size());
    }
}

u16 CGameViewWorld::PictureIndex(const char* name) const {
    if (!name || !*name) return 0;
    const u16 index = textures_.FindPictureIndex(name);
    if (index != 0) textures_.EnsureLoaded(textures_.PictureAt(index));
    return index;
}

const CPictureData* CGameViewWorld::GetViewPicture(u16 id) const {
    auto it = pictures_.find(id);
    if (it != pictures_.end()) return it->second.data ? &it->second : nullptr;
    CPictureData& p = pictures_[id];
    CRecordHolder* holder = id ? textures_.PictureAt(id) : nullptr;
    // A picture that cannot be read or checked is none: the view leaves its polygons out.
    if (!holder || !textures_.EnsureLoaded(holder) || !holder->data ||
        !ReadPicture(holder->data, holder->Size(), p))
        p = CPictureData{};
    return p.data ? &p : nullptr;
}

CViewPalette CGameViewWorld::GetViewPalette(u16 id) const {
    auto it = palettes_.find(id);
    if (it == palettes_.end()) {
        CPictureData& p = palettes_[id];
        CSecondPicture* second = textures_.SecondAt(id);
        if (!second || !second->EnsureLoaded() || !second->data ||
            !ReadPicture(second->data, second->Size(), p))
            p = CPictureData{};
        it = palettes_.find(id);
    }
    const CPictureData& p = it->second;
    if (!p.table || p.tableCount == 0) return {};
    return {p.table, p.tableCount};
}

u8 CGameViewWorld::TypeCode(u16 index) const { return index < types_.size() ? types_[index].view.kind : 0; }

u16 CGameViewWorld::ViewFlags(u16 index) const {
    const CMapObjectRecord* r = index < lists_.mapObjects.Count() ? lists_.mapObjects.At(index) : nullptr;
    return r ? r->viewFlags : 0;
}

const char* CGameViewWorld::ObjectSound(u16 index, int which) const {
    const CMapObjectRecord* r = index < lists_.mapObjects.Count() ? lists_.mapObjects.At(index) : nullptr;
    const char* sound = r && which >= 0 && which < 3 ? r->sounds[which] : nullptr;
    return sound && *sound ? sound : nullptr;
}

bool CGameViewWorld::IsBlocking(u16 index, const CPlacement* placement) const {
    const u8 code = TypeCode(index);
    if (code == typecode::kWall) return true;
    if (code == typecode::kDoor || code == typecode::kDoorB) return placement && placement->Hidden();
    return false;
}

const CViewCellType* CGameViewWorld::GetCellType(u16 index) const {
    if (index >= types_.size() || types_[index].view.kind == 0) return nullptr;
    return &types_[index].view;
}

bool CGameViewWorld::DescribeCentre(i32 x, i32 y, bool upper, CBlockCacheEntry& entry, u16& light) {
    if (window_.DescribeCentre(x, y, upper, entry, light)) return true;
    CViewCell cell;
    if (!window_.GetCell(x, y, cell)) return false;
    u16 type = cell.centre, palette = cell.centrePicture;
    if (upper) {
        CViewSecondCell second;
        if (!window_.GetSecondCell(x, y, second)) return false;
        type = second.firstType, palette = second.firstPalette;
    }
    const CViewCellType* t = GetCellType(type);
    if (!t) return false;
    // A wall stands as a solid block dressed with its first frame.
    if (t->kind != typecode::kWall) return false;
    entry = CBlockCacheEntry{};
    entry.kind = 2;
    for (int k = 0; k < 3; ++k) {
        entry.picture[k] = t->Picture(0);
        entry.palette[k] = palette == kNoIndex ? 0 : palette;
    }
    return true;
}
