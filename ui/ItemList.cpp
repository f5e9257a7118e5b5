#include "ui/ItemList.h"

#include <algorithm>
#include <cstring>

#include "core/Str.h"
#include "data/ItemType.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "ui/Draw.h"
#include "ui/Form.h"
#include "ui/LayoutMath.h"
#include "ui/WidgetGameData.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

bool InFilter(int filter, int itemClass, int subclass) {
    switch (filter) {
    case 1: return itemClass == 1;
    case 2: return itemClass == 2 || itemClass == 3;
    case 3: return itemClass == 4;
    case 4: return itemClass == 5 || (itemClass == 9 && subclass == 2);
    case 5: return itemClass == 6 || itemClass == 7;
    case 6: return itemClass == 8;
    case 7: return itemClass == 9;
    case 8: return itemClass >= 10 && itemClass <= 16;
    default: return true;
    }
}

// The first four characters of the name, the first in the highest byte, each sign-extended.
u32 NameKey(const char* name) {
    u32 key = 0;
    for (int i = 0; i < 4 && name && name[i]; ++i)
        key |= static_cast<u32>(static_cast<i32>(static_cast<signed char>(name[i]))) << (24 - 8 * i);
    return key;
}

// Potions sort before ingredients; the other classes in their own order.
int SortClass(int itemClass) {
    if (itemClass == 8) return 7;
    if (itemClass == 7) return 8;
    return itemClass;
}

const char* NameOf(const CItemType* t) { return t->name ? t->name : (t->GetName() ? t->GetName() : ""); }

bool Before(const std::unique_ptr<CItemListEntry>& a, const std::unique_ptr<CItemListEntry>& b) {
    return ItemTypeSortsBefore(*a->type, *b->type);
}

u32 ModeOf(CWidgetHost* game) { return game != nullptr ? game->GetLayoutMode() : 0; }

}  // namespace

bool ItemTypeSortsBefore(const CItemType& a, const CItemType& b) {
    if (SortClass(a.itemClass) != SortClass(b.itemClass)) return SortClass(a.itemClass) < SortClass(b.itemClass);
    if (a.subclass != b.subclass) return a.subclass < b.subclass;
    const u32 keyA = NameKey(NameOf(&a)), keyB = NameKey(NameOf(&b));
    const i64 keys = static_cast<i64>(static_cast<i32>(keyA)) - static_cast<i32>(keyB);
    if (keys != 0) return keys < 0;
    return std::strcmp(NameOf(&a), NameOf(&b)) < 0;
}

CItemList::CItemList() : CWidget(kWidgetTakesKeys | kWidgetTakesPen) {}

void CItemList::SetEntryLayout(CRecordHolder* const* selection, i32 cw, i32 ch, i32 cols, i32 rowCount,
                               u32 percent, u32 isShop, CRecordHolder* const* frame, u32 sides) {
    selectionFrame = selection;
    cellWidth = cw;
    cellHeight = ch;
    columns = AtLeastOne(cols);
    rows = AtLeastOne(rowCount);
    pricePercent = percent;
    shop = isShop;
    framePictures = frame;
    frameSides = sides;
    font = 1;
    background = 0;
    const u32 mode = ModeOf(game);
    markSize = IsSmallLayoutMode(mode) ? 12 : IsLargeLayoutMode(mode) ? 20 : 16;
    separatorWidth = separatorHeight = 0;
    if (frame != nullptr) PictureSizeOf(frame[0], separatorWidth, separatorHeight);
    gridX = x + ((sides & kFrameLeft) ? separatorWidth : 0);
    gridY = y + ((sides & kFrameTop) ? separatorHeight : 0);
    first = 0;
    selected = -1;
    selectedEntry = nullptr;
    state |= kWidgetRedraw;
}

void CItemList::Fill(const std::vector<const CItemInstance*>& items, int classFilter, int merchantMask,
                     const IItemListQueries& queries) {
    entries.clear();
    for (const CItemInstance* item : items) {
        if (!item || !item->type) continue;
        const CItemType& t = *item->type;
        if (!InFilter(classFilter, t.itemClass, t.subclass)) continue;
        if (merchantMask >= 0 && t.itemClass <= kMaxItemClass &&
            (CItemCatalogue::GetClassFlag(t.itemClass).bit & static_cast<u32>(merchantMask)) == 0)
            continue;
        const bool equipped = queries.IsEquipped(item);
        auto stack = std::find_if(entries.begin(), entries.end(), [&](const auto& e) {
            const CEffectList* a = e->item->effects;
            const CEffectList* b = item->effects;
            return !(e->flags & kEntryNotStacked) && e->type == &t && e->item->count == item->count &&
                   ((!a && !b) || (a && b && EffectListsEqual(a, b)));
        });
        // A worn item always has an entry of its own.
        if (stack != entries.end() && !equipped) {
            ++(*stack)->count;
            continue;
        }
        auto entry = MakeEntry(*item, 1);
        u64 value = queries.GetValue(*item);
        if (t.itemClass == kItemWeapon && (t.subclass == 8 || t.subclass == 11 || t.subclass == 13))
            value = value * item->count / 12;
        if (shop != 0) {
            if (buying != 0)
                value = value * pricePercent / 10;
            else if ((t.itemClass == 5 && t.subclass == 1) || (t.itemClass == 9 && t.subclass == 2))
                value /= 4;
            else
                value /= 2;
            value = queries.AdjustPrice(static_cast<u32>(std::min<u64>(value, UINT32_MAX)), buying != 0);
        }
        entry->value = static_cast<u32>(std::min<u64>(value, UINT32_MAX));
        if (shop == 0 && buying == 0 && t.itemClass >= 1 && t.itemClass <= 4) {
            entry->flags |= kEntryWearable;
            if (equipped) {
                entry->flags |= kEntryWorn | kEntryNotStacked;
            } else {
                const int alignment = queries.GetAlignment();
                if ((t.alignment == 1 && alignment < 0) || (t.alignment == 2 && alignment >= 0))
                    entry->flags |= kEntryUnusable;
            }
        }
        entries.push_back(std::move(entry));
    }
    std::stable_sort(entries.begin(), entries.end(), Before);
    first = 0;
    selected = -1;
    selectedEntry = nullptr;
    state |= kWidgetRedraw;
}

std::unique_ptr<CItemListEntry> CItemList::MakeEntry(const CItemInstance& item, u16 count) const {
    const CItemType& t = *item.type;
    auto entry = std::make_unique<CItemListEntry>();
    entry->type = &t;
    entry->item = &item;
    entry->count = count;
    entry->itemClass = t.itemClass;
    entry->subclass = t.subclass;
    entry->picture = t.texts[1] ? WidgetGameData().FindPicture(t.texts[1]) : nullptr;
    if (entry->picture != nullptr) WidgetGameData().EnsurePictureLoaded(entry->picture);
    entry->nameKey = NameKey(NameOf(&t));
    if (t.flags & 0x04)
        entry->flags |= kEntryTypeFlag4;
    else if (t.itemClass >= 1 && t.itemClass <= 4 && (item.effects || t.effects))
        entry->flags |= kEntryMagic;
    if (t.flags & 0x10) entry->flags |= kEntryTypeFlag10;
    return entry;
}

void CItemList::ShowStacks(const std::vector<CItemListStack>& stacks) {
    entries.clear();
    for (const CItemListStack& stack : stacks) {
        if (!stack.item || !stack.item->type) continue;
        auto entry = MakeEntry(*stack.item, stack.count);
        entry->flags |= stack.flags & (kEntryWearable | kEntryWorn | kEntryUnusable);
        if (stack.flags & kEntryWorn) entry->flags |= kEntryNotStacked;
        entries.push_back(std::move(entry));
    }
    if (first >= Count()) first = 0;
    Select(selected);
    state |= kWidgetRedraw;
}

void CItemList::Select(int index) {
    // A negative index (page up with nothing selected) is no selection.
    if (index >= 0 && index < Count())
        selected = index;
    else if (index >= Count())
        selected = Count() - 1;
    else
        selected = -1;
    selectedEntry = EntryAt(selected);
    state |= kWidgetRedraw;
    if (selected >= 0 && (selected < first || selected >= first + PageSize()))
        first = selected / PageSize() * PageSize();
}

void CItemList::SelectItem(const CItemInstance* item) {
    for (int i = 0; i < Count(); ++i)
        if (entries[static_cast<size_t>(i)]->item == item) Select(i);
}

void CItemList::PageUp() {
    if (first < PageSize()) return;
    first -= PageSize();
    Select(selected - PageSize());
}

void CItemList::PageDown() {
    if (Count() <= first + PageSize()) return;
    first += PageSize();
    Select(first);
}

void CItemList::ResetOwnerGuard() {
    if (owner != nullptr) owner->ResetInputGuard();
}

u32 CItemList::OnKey(u32 key) {
    equipSignal = useSignal = 0;
    const bool movement =
        key == 1000 || key == 1002 || key == 1004 || key == 3004 || key == 1006 || key == 3005;
    if (movement && Count() == 0) return 0;
    switch (key) {
    case 1000: Select(selected >= columns ? selected - columns : 0); return id;
    case 1002: Select(selected < Count() - columns ? selected + columns : Count() - 1); return id;
    case 1004:
    case 3004:
        if (selected > 0) Select(selected - 1);
        return id;
    case 1006:
    case 3005:
        if (selected < Count() - 1) Select(selected + 1);
        return id;
    case 3006:
        if (shop == 0 && buying == 0 && selectedEntry != nullptr) {
            if (selectedEntry->flags & kEntryWearable)
                equipSignal = 1;
            else
                useSignal = 1;
        }
        ResetOwnerGuard();
        return id;
    default: return 0;
    }
}

bool CItemList::CellOf(int index, i32& cx, i32& cy) const {
    if (index < first || index >= first + PageSize()) return false;
    const int onPage = index - first;
    cx = gridX + (onPage % columns) * (cellWidth + separatorWidth);
    cy = gridY + (onPage / columns) * (cellHeight + separatorHeight);
    return true;
}

u32 CItemList::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if (down == 0 || moving != 0) return 0;
    equipSignal = useSignal = 0;
    const i32 strideX = cellWidth + separatorWidth, strideY = cellHeight + separatorHeight;
    if (px < gridX || py < gridY || strideX <= 0 || strideY <= 0) return 0;
    const i32 c = (px - gridX) / strideX, r = (py - gridY) / strideY;
    if (c >= columns || r >= rows) return 0;
    const i32 inX = (px - gridX) % strideX, inY = (py - gridY) % strideY;
    if (inX >= cellWidth || inY >= cellHeight) return 0;
    const int index = first + r * columns + c;
    if (index >= Count()) return 0;
    const int old = selected;
    Select(index);
    if (old != index) DrawEntryAt(old);
    DrawEntryAt(index);
    state &= static_cast<u8>(~kWidgetRedraw);
    const CItemListEntry* e = EntryAt(index);
    if (shop == 0 && buying == 0 && (e->flags & kEntryWearable) && inX < markSize && inY < markSize)
        equipSignal = 1;
    ResetOwnerGuard();
    return id;
}

void CItemList::DrawEntryAt(int index) {
    i32 cx = 0, cy = 0;
    if (index >= 0 && index < Count() && CellOf(index, cx, cy)) DrawCell(index, cx, cy);
}

void CItemList::DrawCell(int index, i32 cx, i32 cy) {
    const CItemListEntry* e = EntryAt(index);
    if (video == nullptr || game == nullptr || e == nullptr || e->picture == nullptr) return;
    const u32 mode = game->GetLayoutMode();
    const bool small = IsSmallLayoutMode(mode) || mode == 3;
    video->FillRect(cx, cy, cellWidth, cellHeight, 0);
    i32 pw = 0, ph = 0;
    PictureSizeOf(e->picture, pw, ph);
    if (small) {
        const i32 px = shop ? cx + (cellWidth - 40) / 2 : cx;
        const i32 py = shop ? cy : cy + (cellHeight - 40) / 2;
        if (pw == 50 && ph == 50)
            video->DrawPictureShrunk40(e->picture, nullptr, px, py);
        else
            video->DrawPictureStretched(e->picture, px, py, 40, 40);
    } else if (IsLargeLayoutMode(mode)) {
        if (shop)
            DrawItemPicture(video, e->picture, nullptr, cx + (cellWidth - 50) / 2, cy + 1);
        else
            DrawItemPicture(video, e->picture, nullptr, cx + 5, cy + 3);
    } else {
        DrawItemPicture(video, e->picture, nullptr, cx, cy);
    }
    if (fonts != nullptr) {
        fonts->Select(font, 0xFFFFFF, 0);
        CStr text;
        if (shop != 0) {
            if (e->value >= 1000000000u)
                text.Format("%luB", static_cast<unsigned long>(e->value / 1000000000u));
            else
                FormatCompactNumber(e->value, text);
            if (e->flags & (kEntryMagic | kEntryTypeFlag4))
                ToAltNumberGlyphs(text);
            else
                ToNumberGlyphs(text);
            text.AppendChar(9);
            const i32 top = small                     ? cy + 38
                            : mode == 15              ? cy + 52
                            : IsLargeLayoutMode(mode) ? cy + 47
                                                      : cy + 49;
            fonts->DrawTextBox(cx, top, cx + cellWidth, small ? cy + 53 : cy + 64, text.GetText(), 4);
        }
        if (e->count > 1) {
            text.Format("%u", static_cast<unsigned>(e->count));
            ToAltNumberGlyphs(text);
            const i32 top = small ? cy + 25 : IsLargeLayoutMode(mode) ? cy + 33 : cy + 35;
            fonts->DrawTextBox(cx, top, cx + cellWidth - 3, cy + 50, text.GetText(), 2);
        }
    }
    if (index == selected && selectionFrame != nullptr)
        DrawFramedPicture(game, selectionFrame, 1, cx, cy, 15, cellWidth, cellHeight, 0);
    if (shop == 0 && buying == 0 && (e->flags & kEntryWearable)) {
        const u16 mark = (e->flags & kEntryWorn)       ? kWornMark
                         : (e->flags & kEntryUnusable) ? kUnusableMark
                                                       : kWearableMark;
        if (CRecordHolder* picture = game->GetInterfacePicture(mark))
            video->DrawPicture(picture, cx + 1, cy + 1);
    }
}

void CItemList::Draw() {
    if (video == nullptr || game == nullptr) return;
    video->FillRect(x, y, static_cast<i32>(w), static_cast<i32>(h), PackColourWord(background));
    if (framePictures != nullptr) {
        const i32 height = static_cast<i32>(h) - 2 * separatorHeight;
        for (i32 c = 0; c + 1 < columns; ++c)
            video->DrawPictureTiled(framePictures[1], gridX + (c + 1) * cellWidth + c * separatorWidth, gridY,
                                    separatorWidth, height);
        const i32 width = static_cast<i32>(w) - ((frameSides & kFrameLeft) ? 2 * separatorWidth : 0);
        for (i32 r = 0; r + 1 < rows; ++r)
            video->DrawPictureTiled(framePictures[3], gridX,
                                    gridY + (r + 1) * cellHeight + r * separatorHeight, width,
                                    separatorHeight);
        if (frameSides != 0)
            DrawFramedPicture(game, framePictures, 0, x, y, frameSides, static_cast<i32>(w),
                              static_cast<i32>(h), 0);
    }
    for (int i = first; i < first + PageSize() && i < Count(); ++i) DrawEntryAt(i);
}
