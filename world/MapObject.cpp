#include "world/MapObject.h"

#include <cstring>
#include <string_view>

#include "data/MapCells.h"
#include "data/MapObjectRecords.h"
#include "data/MapSection.h"
#include "data/RuleContext.h"
#include "data/TextureSet.h"
#include "view3d/ViewCaches.h"
#include "world/MapDoors.h"
#include "world/MapObjectHost.h"
#include "world/MapScenery.h"

namespace mapobject {

u8 LockLevel(u16 level) { return static_cast<u8>((level >> 6) & 15); }
u8 TrapLevel(u16 level) { return static_cast<u8>((level >> 10) & 15); }

void SetLockLevel(u16& level, u32 value) {
    level = static_cast<u16>((level & ~(15u << 6)) | (((value / 10) & 15) << 6));
}

void SetTrapLevel(u16& level, u32 value) {
    level = static_cast<u16>((level & ~(15u << 10)) | (((value / 10) & 15) << 10));
}

const char* PlacementScript(const CPlacement& placement) {
    return placement.third && *placement.third ? placement.third : nullptr;
}

u8 DoorMode(const CMapCell& cell) { return static_cast<u8>((cell.doorMode >> 2) & 3); }

i32 VolumeByDistance(const IMapObjectHost& host, i32 x, i32 y) {
    i32 px = 0, py = 0;
    host.GetPlayerCell(px, py);
    const i32 v = 10 - (px > x ? px - x : x - px) - (py > y ? py - y : y - py);
    return v < 1 ? 1 : (v > 10 ? 10 : v);
}

}  // namespace mapobject

using namespace mapobject;

// Type flags, view word, count and extra of each type code; the extra column is the mask of the
// events an object of the type answers.
const CMapObjectTypeRow CMapObjectTable::kTypeRows[44] = {
    {0x0, 0, 0, 0},
    {0x8008001, 8, 1, 0},
    {0x1000, 8, 47, 0},
    {0x800c000, 8, 0, 0},
    {0x84000, 8, 0, 519},
    {0x8a001, 2, 1, 56},
    {0x202001, 2, 1, 0},
    {0x4080881, 1, 1, 571},
    {0x4080881, 1, 1, 571},
    {0x80100080, 2, 16, 56},
    {0x1001c0, 2, 8, 56},
    {0x120182, 16386, 2, 56},
    {0x4120182, 2, 2, 56},
    {0x14080082, 1, 2, 547},
    {0x44120082, 2, 2, 60},
    {0x40a0082, 1, 2, 547},
    {0x4120788, 2, 4, 56},
    {0x44120182, 2, 2, 60},
    {0x4200002, 2, 2, 0},
    {0x4080001, 1, 1, 56},
    {0x54a0a84, 5, 3, 568},
    {0x8082, 16, 2, 0},
    {0x54a0a90, 5, 3, 568},
    {0x8082, 16, 2, 0},
    {0x2480001, 1, 1, 0},
    {0x50a0808, 1, 4, 539},
    {0x4080001, 1, 1, 568},
    {0x4090000, 1, 0, 515},
    {0x4120188, 2, 4, 56},
    {0x4080001, 1, 1, 515},
    {0x4000, 0, 0, 0},
    {0x40a0182, 1, 2, 519},
    {0x40a0182, 1, 2, 56},
    {0x40a0b04, 16385, 3, 32},
    {0x384, 0, 3, 0},
    {0x40a0182, 1, 2, 568},
    {0x4000, 32, 0, 0},
    {0x40a4000, 16385, 0, 568},
    {0x4080001, 1, 1, 571},
    {0x40b0000, 1, 0, 515},
    {0x80100080, 2, 16, 56},
    {0x4084800, 1, 1, 571},
    {0x40a0182, 1, 2, 571},
    {0x4090000, 1, 0, 515},
};

const char* CMapObject::GetName() const { return record ? record->id : nullptr; }

const char* CMapObject::Text(i32 which) const {
    if (!record) return nullptr;
    switch (which) {
    case 1: return record->text1;
    case 2: return record->text2;
    case 3: return record->text3;
    default: return nullptr;
    }
}

const char* CMapObject::Sound(i32 which) const {
    return record && which >= 1 && which <= 3 ? record->sounds[which - 1] : nullptr;
}

u16 CMapObject::Param(i32 which) const { return record && which >= 0 && which < 6 ? record->params[which] : 0; }

bool CMapObject::DescribeEdgePicture(CWallCacheEntry& e, i32 side, u32 frame) const {
    const u16 picture = PictureId(frame);
    if (picture == 0) return false;
    const i32 height = Param(0) ? Param(0) : 1;
    const i32 along = Param(1) ? Param(1) : 16;
    // The edge that `side` names, and "from the left" turned with the viewer who faces it.
    u16 position = 0;
    switch (side & 3) {
    case 0: position = PackWallPosition(along, 1, height); break;
    case 1: position = PackWallPosition(31, along, height); break;
    case 2: position = PackWallPosition(32 - along, 31, height); break;
    default: position = PackWallPosition(1, 32 - along, height); break;
    }
    const i32 part = (side + 2) & 3;
    e.Word(part, CWallCacheEntry::kEdgePosition) = position;
    e.Word(part, CWallCacheEntry::kEdgeFront) = picture;
    e.Word(part, CWallCacheEntry::kEdgeSide) = picture;
    e.Word(part, CWallCacheEntry::kEdgePalette) = 0;
    e.Word(part, CWallCacheEntry::kEdgeStack) = 0;
    return true;
}

u32 CMapObject::FrameNameCount() const { return record ? static_cast<u32>(record->frames.size()) : 0; }

const char* CMapObject::FrameName(u32 i) const {
    return record && i < record->frames.size() ? record->frames[i] : nullptr;
}

const CMapObject* CMapObject::Flame() const {
    const char* name = Text(2);
    return table && name && *name ? table->FindByName(name) : nullptr;
}

void CMapObject::Play(const char* sound, i32 volume) const {
    if (host && sound && *sound) host->PlaySound(sound, volume);
}

void CMapObject::PlayAt(const char* sound, i32 x, i32 y) const {
    if (host) Play(sound, VolumeByDistance(*host, x, y));
}

bool CMapObject::IsNightOrUnderground() const {
    if (!host) return false;
    const i32 hour = host->GetHour();
    return host->IsUndergroundMap() || hour >= 22 || hour <= 5;
}

void CMapObject::RequestPictures(void (*markSound)(void*, const char*), void* user) {
    picturesNeeded = true;
    if (!markSound) return;
    for (i32 i = 1; i <= 3; ++i)
        if (const char* s = Sound(i); s && *s) markSound(user, s);
}

bool CMapObject::BagCommand(CMapSection* section, CPlacement* placement, i32 command, const ScriptArgs& args,
                            ScriptResult& result) {
    if (command < 138 || command > 141) return false;
    CItemBag* bag = section && placement && placement->bagId ? section->bags.FindBagById(placement->bagId) : nullptr;
    const char* id = args[0].GetText();
    const i32 amount = args[1].GetNumber();
    if (command == 141) {
        i32 count = 0;
        if (bag)
            for (i32 i = 0; i < bag->GetItemCount(); ++i) {
                const CItemInstance* item = bag->GetItem(i);
                if (item && item->type && item->type->GetName() && std::strcmp(item->type->GetName(), id) == 0)
                    ++count;
            }
        result = std::make_unique<CScriptValue>(count);
        return true;
    }
    if (!bag || !host) return true;
    const CRuleContext& rules = host->GetRules();
    if (command == 140) {
        i32 left = amount;
        for (i32 i = bag->GetItemCount() - 1; i >= 0 && left > 0; --i) {
            CItemInstance* item = bag->GetItem(i);
            if (!item || !item->type || !item->type->GetName() || std::strcmp(item->type->GetName(), id) != 0)
                continue;
            bag->items.RemoveAt<CItemInstance>(i);
            delete item;
            --left;
        }
        return true;
    }
    const CItemType* type = rules.items ? rules.items->FindItemType(id) : nullptr;
    if (!type) return true;
    // The amount comes from a script: at most a bagful of 255 at a time.
    for (i32 i = 0; i < amount && i < 255; ++i) bag->AddItem(CreateItemInstance(*type, -1, rules.random));
    return true;
}

i32 CMapObject::ExecuteCommand(CMapSection* section, CPlacement* placement, i32, i32, i32 command,
                               const ScriptArgs& args, ScriptResult& result, bool& redraw) {
    redraw = false;
    if (BagCommand(section, placement, command, args, result)) return 0;
    if (!placement) return 0;
    CPlacement& p = *placement;
    auto number = [&](i32 v) { result = std::make_unique<CScriptValue>(v); };
    const i32 value = args[0].GetNumber();
    switch (command) {
    case 102:  // isopened
    case 112:  // ison
        number((p.flags & kClosed) ? 0 : 1);
        break;
    case 103: p.flags &= static_cast<u8>(~kClosed); break;  // open
    case 104: p.flags |= kClosed; break;                     // close
    case 105: number(LockLevel(p.level) * 10); break;        // getlockedstate
    case 106: SetLockLevel(p.level, static_cast<u32>(value < 0 ? 0 : value)); break;
    case 107: number(TrapLevel(p.level) * 10); break;  // gettrappedstate
    case 108: SetTrapLevel(p.level, static_cast<u32>(value < 0 ? 0 : value)); break;
    case 109: number(p.flags & kVisible); break;  // isvisible
    case 110:                                     // setvisible
        p.flags |= kVisible;
        redraw = true;
        break;
    case 111:  // sethidden
        p.flags &= static_cast<u8>(~kVisible);
        redraw = true;
        break;
    case 113:  // seton
        p.flags &= static_cast<u8>(~kClosed);
        redraw = true;
        break;
    case 114:  // setoff
        p.flags |= kClosed;
        redraw = true;
        break;
    case 115: number(static_cast<i8>(p.state)); break;  // getstate
    case 116: p.state = static_cast<u8>(value); break;  // setstate
    // isdead answers 0 or 2 (the closed bit itself), not 0 or 1 as a creature's does; scripts of the
    // worlds test it against 0.
    case 126: number(p.flags & kClosed); break;
    default: break;
    }
    return 0;
}

// ---- the table ----

void CMapObjectTable::Build(const CMapObjectRecords& records, IMapObjectHost* host) {
    // A world rolled back leaves fewer records; each world opened after the first adds its own.
    if (objects_.size() > records.Count()) objects_.resize(records.Count());
    for (size_t i = objects_.size(); i < records.Count(); ++i) {
        std::unique_ptr<CMapObject> o = CreateMapObject(this, *records.At(i), host);
        // The loader refuses other type codes; a placeholder keeps the indices of the cells aligned.
        if (!o) o = std::make_unique<CMapObject>();
        objects_.push_back(std::move(o));
    }
    SetHost(host);
}

void CMapObjectTable::SetHost(IMapObjectHost* host) {
    host_ = host;
    for (const auto& o : objects_) o->host = host;
}

u16 CMapObjectTable::IndexOf(const CMapObject* object) const {
    if (!object) return 65535;
    for (size_t i = 0; i < objects_.size(); ++i)
        if (objects_[i].get() == object) return static_cast<u16>(i);
    return 65535;
}

CMapObject* CMapObjectTable::FindFirstOfTypeOne() const {
    for (const auto& o : objects_)
        if (o->typeCode == 1) return o.get();
    return nullptr;
}

CMapObject* CMapObjectTable::FindByName(const char* name) const {
    if (!name) return nullptr;
    for (const auto& o : objects_)
        if (o->GetName() && std::string_view(o->GetName()) == name) return o.get();
    return nullptr;
}

namespace {

// Non-zero ids from `first` on, at most `limit`, stopping at the first 0.
u8 CountRun(const std::vector<u16>& ids, size_t first, u32 limit) {
    u8 n = 0;
    for (size_t i = first; i < ids.size() && n < limit && ids[i] != 0; ++i) ++n;
    return n;
}

}  // namespace

const char* CMapObjectTable::PictureName(u16 index) const {
    const CSecondPicture* p = textures_ && index != kNoCellIndex ? textures_->SecondAt(index) : nullptr;
    return p ? p->name : nullptr;
}

void CMapObjectTable::ResolvePictureIds(const CTextureSet& textures, std::vector<u8>* usage) {
    textures_ = &textures;
    for (const auto& object : objects_) {
        CMapObject& o = *object;
        o.pictureIds.clear();
        const u32 frames = o.FrameNameCount();
        for (u32 i = 0; i < frames; ++i) {
            const char* name = o.FrameName(i);
            const u16 id = name && *name ? textures.FindPictureIndex(name) : 0;
            o.pictureIds.push_back(id);
            if (!usage || id >= usage->size()) continue;
            u8 mark = static_cast<u8>(o.Param(2) & 0xFF);
            if ((o.typeCode == 20 || o.typeCode == 22) && i == 2)
                mark = 20;
            else if (o.typeCode == 11 && i == 1)
                mark = 2;
            (*usage)[id] = mark;
        }
        const u8 t = o.typeCode;
        o.frameCount = o.secondFrameCount = 0;
        if (t == 1 || t == 3 || t == 4 || t == 30 || t == 36 || t == 37 || t == 41) {
            o.frameCount = static_cast<u8>(frames > 255 ? 255 : frames);
        } else if (t == 25) {
            o.frameCount = static_cast<u8>(frames == 0 ? 0 : (frames - 1 > 255 ? 255 : frames - 1));
        } else if (t == 9 || t == 40) {
            o.frameCount = CountRun(o.pictureIds, 1, 7);
            o.secondFrameCount = CountRun(o.pictureIds, 9, 7);
        } else if (t == 10) {
            o.frameCount = CountRun(o.pictureIds, 2, 3);
            o.secondFrameCount = CountRun(o.pictureIds, 5, 3);
        }
        switch (t) {
        case 3:
        case 20:
        case 22:
        case 25:
        case 33:
        case 37:
        case 41:
        case 42: o.animated = true; break;
        case 4:
        case 9:
        case 10:
        case 40: o.animated = o.frameCount != 0 || o.secondFrameCount != 0; break;
        case 7:
        case 8: o.animated = o.Text(2) && *o.Text(2); break;
        default: o.animated = false; break;
        }
    }
    // The 3D view's cell-type records: the kind is the type code; objects whose drawing follows
    // their placement (doors, traps, flowers, fire, switches, containers) are unique to their cell.
    cellTypes_.assign(objects_.size(), CViewCellType{});
    for (size_t i = 0; i < objects_.size(); ++i) {
        const CMapObject& o = *objects_[i];
        CViewCellType& t = cellTypes_[i];
        t.kind = o.typeCode;
        const u8 c = o.typeCode;
        t.uniqueLower = t.uniqueUpper =
            c == 13 || c == 14 || c == 16 || c == 17 || c == 20 || c == 22 || c == 28 || c == 31 || c == 33 || c == 42;
        t.pictures = o.pictureIds.empty() ? nullptr : o.pictureIds.data();
        t.pictureCount = static_cast<u32>(o.pictureIds.size());
    }
}

bool CMapObjectTable::IsBlocking(u16 index, const CPlacement* placement) const {
    const CMapObject* o = At(index);
    return o && o->IsBlocking(placement);
}

u8 CMapObjectTable::TypeCode(u16 index) const {
    const CMapObject* o = At(index);
    return o ? o->typeCode : 0;
}

u8 CMapObjectTable::CellViewBits(u16 index) const {
    const CMapObject* o = At(index);
    return o ? o->cellViewBits : 0;
}

const CViewCellType* CMapObjectTable::CellType(u16 index) const {
    return index < cellTypes_.size() && index < objects_.size() ? &cellTypes_[index] : nullptr;
}

bool CMapObjectTable::DescribeCentre(u16 index, const CPlacement* placement, const CMapCell& cell,
                                     CBlockCacheEntry& entry, u16& light) const {
    const CMapObject* o = At(index);
    return o && o->DescribeCentre(placement, cell, entry, light);
}

bool CMapObjectTable::DescribeSide(u16 index, const CPlacement* placement, const CMapCell& cell,
                                   CWallCacheEntry& entry, i32 side, bool overlay) const {
    const CMapObject* o = At(index);
    if (!o) return false;
    return overlay ? o->DescribeSideOverlay(placement, cell, entry, side)
                   : o->DescribeSide(placement, cell, entry, side);
}

u16 CMapObjectTable::ViewFlags(u16 index) const {
    const CMapObject* o = At(index);
    return o ? o->viewFlags : 0;
}

bool CMapObjectTable::HasSound(u16 index) const {
    const CMapObject* o = At(index);
    return o && o->Sound(1) && *o->Sound(1);
}

const char* CMapObjectTable::GetAmbientSound(const CCellSite& site) const {
    const CMapObject* o = At(site.objectIndex);
    return o && site.cell ? o->GetAmbientSound(site.placement, *site.cell) : nullptr;
}

const char* CMapObjectTable::GetSideAmbientSound(const CCellSite& site) const {
    const CMapObject* o = At(site.objectIndex);
    return o && site.cell ? o->GetSideAmbientSound(site.placement, *site.cell) : nullptr;
}

const char* CMapObjectTable::GetSourceSound(u16 index, bool day) const {
    const CMapObject* o = At(index);
    const char* s = o ? o->Sound(day ? 1 : 2) : nullptr;
    return s && *s ? s : nullptr;
}

void CMapObjectTable::UpdateCentreLight(const CCellSite& site, CCellView& view, bool) const {
    CMapObject* o = At(site.objectIndex);
    if (!o || !site.cell) return;
    CBlockCacheEntry scratch;
    o->UpdateCentreLight(site.placement, *site.cell, site.x, site.y, scratch, view.light);
}

void CMapObjectTable::UpdateSideLight(const CCellSite& site, CCellView&, bool) const {
    CMapObject* o = At(site.objectIndex);
    if (!o || !site.cell) return;
    CWallCacheEntry scratch;
    o->UpdateSideLight(site.placement, *site.cell, scratch, site.side);
}

void CMapObjectTable::AnimateTick(const CCellSite& site, CCellView&) const {
    CMapObject* o = At(site.objectIndex);
    if (!o || !site.cell) return;
    u16 phase = static_cast<u16>((site.cell->state & 63) << 10);
    o->AnimateTick(nullptr, site.placement, *site.cell, site.x, site.y, phase, nullptr);
    site.cell->state = static_cast<u8>(phase >> 10);
}

void CMapObjectTable::MarkSoundsInUse(const CCellWindow& window, bool full, void (*markSound)(void*, const char*),
                                      void* user) {
    window.ForEachCellObject(full, [&](u16 index) {
        if (CMapObject* o = At(index)) o->RequestPictures(markSound, user);
    });
}

// ---- the factory ----

namespace {

std::unique_ptr<CMapObject> NewOfClass(u8 typeCode) {
    switch (typeCode) {
    case 1: return std::make_unique<CSolidObject>();
    case 2:
    case 3:
    case 21:
    case 23:
    case 30:
    case 34:
    case 36: return std::make_unique<CMapObject>();
    case 4: return std::make_unique<CItemHolderObject>();
    case 5: return std::make_unique<CDecorObject5>();
    case 6: return std::make_unique<CWallFaceObject>();
    case 7:
    case 8: return std::make_unique<CPassageObject>();
    case 9: return std::make_unique<CWallPassageObject>();
    case 10: return std::make_unique<CWallDecorObject>();
    case 11: return std::make_unique<CSimpleDoor>();
    case 12: return std::make_unique<CEntranceObject>();
    case 13: return std::make_unique<CFlowerObject>();
    case 14: return std::make_unique<CWallContainerObject>();
    case 15: return std::make_unique<CCentrePassageObject>();
    case 16: return std::make_unique<CLargeSwitch>();
    case 17: return std::make_unique<CWallContainerObject17>();
    case 18: return std::make_unique<CWallPictureObject>();
    case 19: return std::make_unique<CSignObject>();
    case 20:
    case 22: return std::make_unique<CDoor>();
    case 24: return std::make_unique<COverlayDecorObject>();
    case 25: return std::make_unique<CStairsObject>();
    case 26: return std::make_unique<CDecorObject26>();
    case 27: return std::make_unique<CViewMarkerObject>();
    case 28: return std::make_unique<CSecretSwitch>();
    case 29: return std::make_unique<CDecorObject29>();
    case 31: return std::make_unique<CFloorSwitch>();
    case 32: return std::make_unique<CDecorObject32>();
    case 33: return std::make_unique<CFireObject>();
    case 35: return std::make_unique<CFeatureObject35>();
    case 37: return std::make_unique<CFeatureObject37>();
    case 38: return std::make_unique<CDecorObject38>();
    case 39:
    case 43: return std::make_unique<CScriptOnlyObject>();
    case 40: return std::make_unique<CWallPassageObject2>();
    case 41: return std::make_unique<CDecorObject41>();
    case 42: return std::make_unique<CTrap>();
    default: return nullptr;
    }
}

}  // namespace

std::unique_ptr<CMapObject> CreateMapObject(CMapObjectTable* table, u8 typeCode) {
    std::unique_ptr<CMapObject> o = NewOfClass(typeCode);
    if (!o) return nullptr;
    const CMapObjectTypeRow& row = CMapObjectTable::kTypeRows[typeCode];
    o->typeCode = typeCode;
    o->table = table;
    o->typeFlags = row.flags;
    o->typeExtra = row.extra;
    o->viewFlags = row.view;
    if (typeCode == 7 || typeCode == 8 || typeCode == 41) o->viewFlags |= 0x200;
    return o;
}

std::unique_ptr<CMapObject> CreateMapObject(CMapObjectTable* table, const CMapObjectRecord& record,
                                            IMapObjectHost* host) {
    std::unique_ptr<CMapObject> o = CreateMapObject(table, record.typeCode);
    if (!o) return nullptr;
    o->record = &record;
    o->host = host;
    o->cellViewBits = record.cellViewBits;
    if (record.hasViewFlags) o->viewFlags = record.viewFlags;
    if (record.typeCode == 11 || record.typeCode == 33) o->viewFlags |= kViewUsedWhenWalkedInto;
    return o;
}

// ---- the script engine's view ----

const char* CPlacedMapObject::GetName() const {
    if (placement && placement->name) return placement->name;
    return object && object->GetName() ? object->GetName() : "";
}

i8 CPlacedMapObject::GetState() const { return placement ? static_cast<i8>(placement->state) : 0; }

bool CPlacedMapObject::IsClosed() const { return placement && (placement->flags & kClosed) != 0; }

i32 CPlacedMapObject::ExecuteCommand(const ScriptPlace& place, i32 command, const ScriptArgs& args,
                                     ScriptResult& result, bool& changed) {
    changed = false;
    if (!object) return 0;
    return object->ExecuteCommand(place.section, placement, place.x, place.y, command, args, result, changed);
}

void CPlacedMapObject::HandleEvent(i32 eventKind, const ScriptPlace& place, CMapCell* cell, bool& changed) {
    changed = false;
    if (object) screen = object->HandleEvent(eventKind, place.section, placement, cell, place.x, place.y, changed);
}
