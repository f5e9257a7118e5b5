#include "app/GameWidgetData.h"

#include "app/Game.h"
#include "data/ItemType.h"
#include "data/Npc.h"

const char* CGameWidgetData::FindPortraitPictureName(const char* id) {
    // A portrait's picture bears the portrait's own id.
    return id != nullptr && game_.GetPortraits().FindById(id) != nullptr ? id : nullptr;
}

CRecordHolder* CGameWidgetData::FindPicture(const char* name) {
    CRecordHolder* picture = name != nullptr ? game_.textureSet.FindPicture(name) : nullptr;
    return picture != nullptr && game_.textureSet.EnsureLoaded(picture) ? picture : nullptr;
}

CRecordHolder* CGameWidgetData::PictureAt(u32 index) {
    CRecordHolder* picture = index != 0 ? game_.textureSet.PictureAt(index) : nullptr;
    return picture != nullptr && game_.textureSet.EnsureLoaded(picture) ? picture : nullptr;
}

bool CGameWidgetData::EnsurePictureLoaded(CRecordHolder* picture) {
    return picture != nullptr && game_.textureSet.EnsureLoaded(picture);
}

bool CGameWidgetData::FindEquippedItemPicture(int slot, CRecordHolder*& picture, const CPaletteRef*& palette) {
    picture = nullptr;
    palette = nullptr;
    if (slot < 1 || slot > kEquipmentSlotCount) return false;
    const CItemInstance* item = game_.player.equipment[slot];
    if (item == nullptr || item->type == nullptr) return false;
    picture = FindPicture(item->type->texts[1]);
    return picture != nullptr;
}
