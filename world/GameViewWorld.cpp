#include "world/GameViewWorld.h"

#include <iterator>

#include "data/MapObjectRecords.h"
#include "data/ItemBag.h"
#include "data/MapSection.h"
#include "data/TextureSet.h"
#include "data/WorldLists.h"

void CGameViewWorld::Refresh() {
    pictures_.clear();
    palettes_.clear();
    itemPictures_.clear();
    objects_->Build(lists_.mapObjects, objectHost_);
    objects_->ResolvePictureIds(textures_, nullptr);
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
    const CPictureData* read = holder && textures_.EnsureLoaded(holder) ? holder->Picture() : nullptr;
    p = read ? *read : CPictureData{};
    return p.data ? &p : nullptr;
}

const CRecordHolder* CGameViewWorld::MapMark(u16 i) const {
    const CMapObject* object = objects_->At(i);
    if (!object || object->typeCode != 18 || object->pictureIds.empty() || object->pictureIds[0] == 0)
        return nullptr;
    CRecordHolder* picture = textures_.PictureAt(object->pictureIds[0]);
    return picture && textures_.EnsureLoaded(picture) ? picture : nullptr;
}

CViewPalette CGameViewWorld::GetViewPalette(u16 id) const {
    auto it = palettes_.find(id);
    if (it == palettes_.end()) {
        CPictureData& p = palettes_[id];
        CSecondPicture* second = textures_.SecondAt(id);
        const CPictureData* read = second && second->EnsureLoaded() ? second->Picture() : nullptr;
        p = read ? *read : CPictureData{};
        it = palettes_.find(id);
    }
    const CPictureData& p = it->second;
    if (!p.table || p.tableCount == 0) return {};
    return {p.table, p.tableCount};
}

const char* CGameViewWorld::ObjectSound(u16 index, int which) const {
    const CMapObjectRecord* r = index < lists_.mapObjects.Count() ? lists_.mapObjects.At(index) : nullptr;
    const char* sound = r && which >= 0 && which < 3 ? r->sounds[which] : nullptr;
    return sound && *sound ? sound : nullptr;
}

void CGameViewWorld::FillPictureGroup(i32 x, i32 y, CPictureGroup& group) {
    group = CPictureGroup{};
    const CItemBag* bag = window_.PileAt(x, y);
    if (!bag) return;
    size_t filled = 0;
    for (int i = 0; i < bag->GetItemCount() && filled < std::size(group.pictures); ++i) {
        const CItemInstance* item = bag->GetItem(i);
        if (!item || !item->type) continue;
        auto it = itemPictures_.find(item->type);
        if (it == itemPictures_.end()) {
            const char* name = item->type->texts[1];
            it = itemPictures_.emplace(item->type, name && *name ? textures_.FindPictureIndex(name) : u16(0)).first;
        }
        if (it->second != 0) group.pictures[filled++] = it->second;
    }
}
