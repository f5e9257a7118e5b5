#include "world/MapScenery.h"

#include <cstring>
#include <string_view>

#include "data/ItemType.h"
#include "data/MapCells.h"
#include "data/MapSection.h"
#include "data/RuleContext.h"
#include "view3d/ViewCaches.h"
#include "world/MapObjectHost.h"
#include "world/Player.h"

using namespace mapobject;

CPassageText SplitPassageText(const char* text) {
    CPassageText out;
    if (!text) return out;
    const std::string_view all(text);
    const size_t hash = all.find('#');
    if (hash == std::string_view::npos) {
        out.destination = all;
        return out;
    }
    out.destination = all.substr(0, hash);
    out.question = all.substr(hash + 1);
    return out;
}

namespace {

bool IsShown(const CPlacement* p) { return !p || (p->flags & kVisible) != 0; }
bool IsOff(const CPlacement* p) { return p && (p->flags & kClosed) != 0; }

// The looping sound of doorways, wall passages, markers and lights: none while the placement is
// silent; else sound 1, only at night on surface maps for objects with view flag 0x2000.
const char* AmbientRule(const CMapObject& o, const CPlacement* p) {
    if (IsOff(p)) return nullptr;
    if ((o.viewFlags & kViewNightOnly) && o.host && !o.host->IsUndergroundMap()) {
        const i32 hour = o.host->GetHour();
        if (hour >= 6 && hour <= 21) return nullptr;
    }
    const char* s = o.Sound(1);
    return s && *s ? s : nullptr;
}

// The object of a cell's word in the table of `o`.
const CMapObject* CellObject(const CMapObject& o, u16 index) {
    return o.table && index != kNoCellIndex ? o.table->At(index) : nullptr;
}

// A picture standing in a cell stands on the ground at the cell's middle: positions are view units
// times 64, so the middle is 512 << 6, and the height fraction lifts it from the ground. Only the
// main picture of a composite has a place in the cell; its other pictures keep their texel offsets.
void StandAtCentre(CBlockCacheEntry& e) {
    constexpr i16 kMiddle = static_cast<i16>(static_cast<u16>(512 << 6));
    const bool group = e.kind == 5 || e.kind == 13;
    for (u32 i = 0; i < (group ? 6u : 1u); ++i) e.x[i] = e.y[i] = kMiddle;
    e.heightFraction = 0;
}

void FillCentre(const CMapObject& o, u8 kind, CBlockCacheEntry& e) {
    e.kind = kind;
    for (u32 i = 0; i < 6 && i < o.pictureIds.size(); ++i) e.picture[i] = o.pictureIds[i];
    StandAtCentre(e);
    e.flags = 1;
}

// Moves the player: a question asks first (the map-change prompt), else the map changes at once.
void Travel(IMapObjectHost& host, const CPassageText& t, i32 kind, bool stepBack, bool keyword) {
    if (!t.Moves()) return;
    if (t.Asks())
        host.PostMapPromptEvent(t.destination.c_str(), t.question.c_str(), kind, stepBack);
    else if (keyword)
        host.PostKeywordTransitionEvent(t.destination.c_str(), kind);
    else
        host.ChangeMap(t.destination.c_str(), kind);
}

// A doorway or wall opening in use: only objects used when walked into move the player, by the
// placement's transition kind.
void UsePassage(const CMapObject& o, const CPlacement* p) {
    if (!p || !o.host || !p->text || !(o.viewFlags & kViewUsedWhenWalkedInto)) return;
    Travel(*o.host, SplitPassageText(p->text), TransitionKind(p->level), false, false);
}

}  // namespace

bool CBlockingWhileShown::IsBlocking(const CPlacement* p) const { return IsShown(p); }

bool CDoorwayBlocking::IsBlocking(const CPlacement* p) const {
    return (viewFlags & kViewBlocksWhileVisible) && IsShown(p);
}

bool CCentreKindObject::DescribeCentre(const CPlacement*, const CMapCell&, CBlockCacheEntry& e, u16&) const {
    FillCentre(*this, kind_, e);
    return true;
}

bool CSolidObject::DescribeCentre(const CPlacement*, const CMapCell&, CBlockCacheEntry& e, u16&) const {
    FillCentre(*this, 11, e);
    return true;
}

bool CSolidObject::DescribeCentreOverlay(const CPlacement*, const CMapCell&, CBlockCacheEntry& e, u16&) const {
    FillCentre(*this, 11, e);
    return true;
}

// ---- item holder ----

bool CItemHolderObject::DescribeCentre(const CPlacement*, const CMapCell&, CBlockCacheEntry& e, u16&) const {
    FillCentre(*this, 6, e);
    return true;
}

const char* CItemHolderObject::GetAmbientSound(const CPlacement*, const CMapCell& cell) const {
    const CMapObject* centre = CellObject(*this, cell.centre);
    const char* s = Sound(1);
    return centre && centre->frameCount > 1 && s && *s ? s : nullptr;
}

i32 CItemHolderObject::ExecuteCommand(CMapSection* section, CPlacement* p, i32 x, i32 y, i32 command,
                                      const ScriptArgs& args, ScriptResult& result, bool& redraw) {
    // The holder keeps its items in a bag of its own, made when the first item arrives.
    if (section && p && p->bagId == 0 && (command == 138 || command == 139)) {
        if (CItemBag* bag = section->bags.CreateBag(0)) p->bagId = bag->id;
    }
    return CMapObject::ExecuteCommand(section, p, x, y, command, args, result, redraw);
}

// ---- decorations ----

bool CDecorObject5::DescribeCentre(const CPlacement*, const CMapCell&, CBlockCacheEntry& e, u16&) const {
    FillCentre(*this, 2, e);
    return true;
}

bool CDecorObject5::DescribeCentreOverlay(const CPlacement*, const CMapCell&, CBlockCacheEntry& e, u16&) const {
    FillCentre(*this, 2, e);
    e.picture[0] = PictureId(1);
    return true;
}

bool CWallSideObject::DescribeSide(const CPlacement*, const CMapCell&, CWallCacheEntry& e, i32 side) const {
    DescribeEdgePicture(e, side, 0);
    return true;
}

bool CWallSideObject::DescribeSideOverlay(const CPlacement*, const CMapCell&, CWallCacheEntry& e, i32 side) const {
    DescribeEdgePicture(e, side, 0);
    return true;
}

bool COverlayDecorObject::DescribeCentreOverlay(const CPlacement*, const CMapCell&, CBlockCacheEntry& e,
                                                u16&) const {
    FillCentre(*this, 8, e);
    return true;
}

bool CDecorObject26::IsBlocking(const CPlacement* p) const {
    return (viewFlags & kViewBlocksWhileVisible) && IsShown(p);
}

bool CDecorObject32::IsBlocking(const CPlacement* p) const { return IsShown(p); }

const char* CViewMarkerObject::GetAmbientSound(const CPlacement* p, const CMapCell& cell) const {
    const CMapObject* centre = CellObject(*this, cell.centre);
    return centre && centre->typeCode == 41 ? AmbientRule(*this, p) : nullptr;
}

bool CDecorObject41::DescribeCentre(const CPlacement*, const CMapCell&, CBlockCacheEntry& e, u16&) const {
    FillCentre(*this, (viewFlags & 0x800) ? 7 : 1, e);
    return true;
}

const char* CDecorObject41::GetAmbientSound(const CPlacement* p, const CMapCell&) const { return AmbientRule(*this, p); }

bool CFeatureObject35::IsBlocking(const CPlacement* p) const { return IsShown(p) && !IsOff(p); }

i32 CFeatureObject35::HandleEvent(i32 code, CMapSection*, CPlacement* p, CMapCell*, i32, i32, bool& redraw) {
    redraw = false;
    if (code != kEventHit || !p) return 0;
    p->flags |= kClosed;
    redraw = true;
    return 0;
}

bool CFeatureObject37::IsBlocking(const CPlacement* p) const { return IsShown(p) && !IsOff(p); }

const char* CFeatureObject37::GetAmbientSound(const CPlacement* p, const CMapCell&) const {
    const char* s = Sound(1);
    return !IsOff(p) && s && *s ? s : nullptr;
}

// ---- passages ----

bool CPassageObject::DescribeCentre(const CPlacement*, const CMapCell& cell, CBlockCacheEntry& e, u16&) const {
    const u8 kind = (viewFlags & 0x8000) ? 12 : ((viewFlags & 0x800) ? 7 : 1);
    e.kind = kind;
    const CMapObject* centre = CellObject(*this, cell.centre);
    e.picture[0] = centre ? centre->PictureId(0) : PictureId(0);
    e.palette[0] = cell.centrePicture == kNoCellIndex ? 0 : cell.centrePicture;
    StandAtCentre(e);
    if (viewFlags & 0x400) e.undersidePalette = 10000;
    e.flags = 1;
    return true;
}

const char* CPassageObject::GetAmbientSound(const CPlacement* p, const CMapCell& cell) const {
    const CMapObject* layer4 = CellObject(*this, cell.layer4);
    return layer4 && layer4->frameCount ? AmbientRule(*this, p) : nullptr;
}

i32 CPassageObject::HandleEvent(i32 code, CMapSection*, CPlacement* p, CMapCell*, i32, i32, bool& redraw) {
    redraw = false;
    if (code == kEventUse) UsePassage(*this, p);
    return 0;
}

const char* CWallPassageObject::GetAmbientSound(const CPlacement* p, const CMapCell&) const {
    return AmbientRule(*this, p);
}

const char* CWallPassageObject::GetSideAmbientSound(const CPlacement* p, const CMapCell&) const {
    return AmbientRule(*this, p);
}

i32 CWallPassageObject::HandleEvent(i32 code, CMapSection*, CPlacement* p, CMapCell*, i32, i32, bool& redraw) {
    redraw = false;
    if (code != kEventUse || !p || !host || !p->text) return 0;
    if (!(viewFlags & kViewUsedWhenWalkedInto)) {
        // A readable wall.
        host->ShowGameMessage(p->text);
        return 0;
    }
    UsePassage(*this, p);
    return 0;
}

const char* CWallPassageObject2::GetSideAmbientSound(const CPlacement* p, const CMapCell&) const {
    return AmbientRule(*this, p);
}

i32 CWallPassageObject2::HandleEvent(i32 code, CMapSection*, CPlacement* p, CMapCell*, i32, i32, bool& redraw) {
    redraw = false;
    if (code == kEventUse) UsePassage(*this, p);
    return 0;
}

bool CCentrePassageObject::DescribeCentre(const CPlacement*, const CMapCell&, CBlockCacheEntry& e, u16&) const {
    FillCentre(*this, (viewFlags & 0x800) ? 7 : 1, e);
    return true;
}

i32 CCentrePassageObject::HandleEvent(i32 code, CMapSection*, CPlacement* p, CMapCell*, i32, i32, bool& redraw) {
    redraw = false;
    if (code != kEventStep || !p || !host || !p->text || !(viewFlags & kViewUsedWhenWalkedInto)) return 0;
    const CPassageText t = SplitPassageText(p->text);
    if (!t.Moves()) return 0;
    // A hole while the placement is off, a ladder down otherwise; asked first, a hole is a fall.
    if (t.Asks())
        host->PostMapPromptEvent(t.destination.c_str(), t.question.c_str(), IsOff(p) ? 3 : 4, true);
    else
        host->ChangeMap(t.destination.c_str(), IsOff(p) ? 2 : 4);
    return 0;
}

const char* CStairsObject::GetAmbientSound(const CPlacement* p, const CMapCell&) const {
    const char* s = Sound(1);
    return !IsOff(p) && frameCount && s && *s ? s : nullptr;
}

i32 CStairsObject::HandleEvent(i32 code, CMapSection*, CPlacement* p, CMapCell*, i32, i32, bool& redraw) {
    redraw = false;
    if (code != kEventStep || !p || !host || IsOff(p) || !p->text) return 0;
    const CPassageText t = SplitPassageText(p->text);
    if (!t.Moves()) return 0;
    if (t.Asks())
        host->PostMapPromptEvent(t.destination.c_str(), t.question.c_str(), 1, true);
    else
        host->PostKeywordTransitionEvent(t.destination.c_str(), 1);
    return 0;
}

bool CFireObject::DescribeCentre(const CPlacement* p, const CMapCell&, CBlockCacheEntry& e, u16& light) const {
    e.kind = 3;
    e.picture[0] = PictureId(0);
    e.picture[1] = PictureId(p && (p->level & 1) ? 2 : 1);
    e.x[0] = e.y[0] = 44;
    e.heightFraction = kNeutralDepth;
    if (const CMapObject* flame = Flame(); flame && flame->frameCount && host && IsNightOrUnderground()) {
        const u32 counter = host->GetAnimationCounter();
        e.picture[2] = flame->PictureId(counter % flame->frameCount);
        e.picture[3] = flame->PictureId((counter + 1) % flame->frameCount);
        const u32 flicker = 64u + (16u << host->Random(3));
        light = static_cast<u16>(light + flicker > 0xFFFF ? 0xFFFF : light + flicker);
    }
    return true;
}

const char* CFireObject::GetAmbientSound(const CPlacement*, const CMapCell&) const {
    return Flame() && IsNightOrUnderground() ? "bsnd_fire" : nullptr;
}

i32 CFireObject::HandleEvent(i32 code, CMapSection*, CPlacement* p, CMapCell*, i32, i32, bool& redraw) {
    redraw = false;
    if (code != kEventUse || !p || !host || !p->text) return 0;
    // Bit 0 of the level word: the way leads down; clear, up.
    Travel(*host, SplitPassageText(p->text), (p->level & 1) ? 6 : 7, false, false);
    return 0;
}

// ---- switches ----

bool CLargeSwitch::DescribeSide(const CPlacement* p, const CMapCell&, CWallCacheEntry& e, i32 side) const {
    // The second picture shows the switch off; one with a single picture shows it either way.
    DescribeEdgePicture(e, side, IsOff(p) && PictureId(1) ? 1 : 0);
    return true;
}

i32 CLargeSwitch::HandleEvent(i32 code, CMapSection*, CPlacement* p, CMapCell*, i32, i32, bool& redraw) {
    redraw = false;
    if (code != kEventUse || !p) return 0;
    p->flags ^= kClosed;
    Play((p->flags & kClosed) ? OffSound() : OnSound());
    redraw = true;
    return 0;
}

i32 CFloorSwitch::HandleEvent(i32 code, CMapSection* section, CPlacement* p, CMapCell* cell, i32, i32,
                              bool& redraw) {
    redraw = false;
    if (!p) return 0;
    if (code == kEventStep) {
        if (p->flags & kClosed) {
            Play("bsnd_switchflooron");
            p->flags &= static_cast<u8>(~kClosed);
        }
        redraw = true;
        return 0;
    }
    if (code != kEventLoad) return 0;
    // The load of the cell: the items lying in its bag, weights in hundredths.
    u32 weight = 0;
    const CItemBag* bag = section && cell && cell->bag ? section->bags.FindBagById(static_cast<u8>(cell->bag)) : nullptr;
    if (bag)
        for (i32 i = 0; i < bag->GetItemCount(); ++i)
            if (const CItemInstance* item = bag->GetItem(i); item && item->type) weight += item->type->weight;
    if (weight / 100 < 10) {
        p->flags |= kClosed;
        Play("bsnd_switchflooroff");
    }
    redraw = true;
    return 0;
}

// ---- signs, flowers, containers ----

bool CSignObject::IsBlocking(const CPlacement* p) const { return IsShown(p); }

i32 CSignObject::HandleEvent(i32 code, CMapSection*, CPlacement* p, CMapCell*, i32, i32, bool& redraw) {
    redraw = false;
    if (code == kEventUse && p && host && p->text && *p->text) host->ShowGameMessage(p->text);
    return 0;
}

bool CFlowerObject::DescribeCentre(const CPlacement* p, const CMapCell&, CBlockCacheEntry& e, u16&) const {
    e.kind = 1;
    // A torn flower shows its last frame.
    const u32 frame = IsOff(p) && !pictureIds.empty() ? static_cast<u32>(pictureIds.size() - 1) : 0;
    e.picture[0] = PictureId(frame);
    StandAtCentre(e);
    e.flags = 1;
    return true;
}

const CItemType* CFlowerObject::FindYield(const CMapCell& cell) const {
    const char* style = Text(3);
    if (!host || !style || !*style) return nullptr;
    u32 named = 0;
    for (u32 i = 0; i < FrameNameCount(); ++i)
        if (const char* f = FrameName(i); f && *f) ++named;
    if (named == 1) return nullptr;
    const CItemCatalogue* items = host->GetRules().items;
    if (!items) return nullptr;
    const char* shown = table ? table->PictureName(cell.centrePicture) : nullptr;
    for (i32 i = 0; i < items->GetItemTypeCount(); ++i) {
        const CItemType* t = items->GetItemType(i);
        if (!t || t->itemClass != kItemIngredient || !t->useStyle || std::strcmp(t->useStyle, style) != 0) continue;
        const char* picture = t->texts[1];  // text 5: the picture the plant shows in the world
        const bool empty = !picture || !*picture;
        if (shown ? (!empty && std::strcmp(picture, shown) == 0) : empty) return t;
    }
    return nullptr;
}

i32 CFlowerObject::HandleEvent(i32 code, CMapSection*, CPlacement* p, CMapCell* cell, i32, i32, bool& redraw) {
    redraw = false;
    if (code != kEventUse || !p || !cell || !host || IsOff(p)) return 0;
    const CItemType* type = FindYield(*cell);
    if (!type) return 0;
    p->flags |= kClosed;
    host->GetPlayer().AddItemCopies(1, *type);
    Play("bsnd_tearflower");
    std::string text = "You have found ";
    text += type->name ? type->name : type->GetName();
    text += ".";
    host->ShowGameMessage(text.c_str());
    redraw = true;
    return 0;
}

i32 CWallContainerObject::HandleEvent(i32 code, CMapSection* section, CPlacement* p, CMapCell*, i32 x, i32 y,
                                      bool& redraw) {
    redraw = false;
    if (code != kEventUse || !p || !host) return 0;
    host->OpenObjectBag(section, *p, x, y);
    redraw = true;
    return 0;
}
