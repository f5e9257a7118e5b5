#include "screens/npc/ShopItemGrid.h"

#include <algorithm>

#include "core/Str.h"
#include "data/ItemType.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "screens/npc/ListPaging.h"
#include "ui/Draw.h"
#include "ui/ScreenIds.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetGameData.h"
#include "ui/WidgetHost.h"

CShopGridGeometry ShopGridGeometry(u32 layoutMode) {
    switch (layoutMode) {
    case 2: return {40, 56, 4, 5, false};
    case 3: return {46, 57, 6, 4, false};
    case 4: return {50, 66, 5, 4, true};
    case 5:
    case 8: return {40, 52, 5, 2, false};
    case 7: return {40, 52, 5, 3, false};
    case 9: return {60, 69, 6, 6, true};
    case 10: return {60, 69, 6, 4, true};
    case 11: return {60, 69, 6, 3, true};
    case 14: return {64, 69, 8, 6, true};
    case 15: return {64, 73, 8, 7, true};
    case 16: return {40, 55, 8, 3, false};
    // Modes 12 and 13 are the narrow small layouts: they take mode 6's grid.
    default: return {40, 52, 4, 4, false};
    }
}

void CShopItemGrid::SetEntryLayout(CRecordHolder* const* frames, i32 ew, i32 eh, i32 cols, i32 rowCount) {
    frameSet = frames;
    entryWidth = AtLeastOne(ew);
    entryHeight = AtLeastOne(eh);
    // Never more entries across or down than the grid's rectangle holds.
    columns = std::clamp(w / entryWidth, 1, AtLeastOne(cols));
    rows = std::clamp(h / entryHeight, 1, AtLeastOne(rowCount));
    firstVisible = 0;
}

void CShopItemGrid::ShowSelection() {
    firstVisible = trade ? PageStartOf(trade->GetSelection(), PageSize()) : 0;
    state |= kWidgetRedraw;
}

void CShopItemGrid::PageUp() {
    if (!trade || firstVisible == 0) return;
    firstVisible = std::max(0, firstVisible - PageSize());
    trade->Select(firstVisible);
    state |= kWidgetRedraw;
}

void CShopItemGrid::PageDown() {
    if (!trade) return;
    const i32 count = static_cast<i32>(trade->GetEntries().size());
    if (count <= firstVisible + PageSize()) return;
    firstVisible += PageSize();
    trade->Select(firstVisible);
    state |= kWidgetRedraw;
}

i32 CShopItemGrid::EntryAt(i32 px, i32 py) const {
    if (!trade || !Contains(px, py)) return -1;
    const i32 column = (px - x) / entryWidth, row = (py - y) / entryHeight;
    if (column >= columns || row >= rows) return -1;
    const i32 index = firstVisible + row * columns + column;
    return index < static_cast<i32>(trade->GetEntries().size()) ? index : -1;
}

u32 CShopItemGrid::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if (!down || moving) return 0;
    const i32 index = EntryAt(px, py);
    if (index < 0) return 0;
    trade->Select(index);
    state |= kWidgetRedraw;
    return id;
}

u32 CShopItemGrid::OnKey(u32 key) {
    if (!trade || trade->GetEntries().empty()) return 0;
    const i32 count = static_cast<i32>(trade->GetEntries().size());
    i32 at = trade->GetSelection();
    if (key == kCommandTurnLeft)
        at = at <= 0 ? count - 1 : at - 1;
    else if (key == kCommandTurnRight)
        at = at < 0 || at >= count - 1 ? 0 : at + 1;
    else
        return 0;
    trade->Select(at);
    ShowSelection();
    return id;
}

void CShopItemGrid::DrawEntry(const CShopEntry& entry, i32 ex, i32 ey, bool selected) {
    if (selected)
        video->FillRect(ex + 1, ey + 1, entryWidth - 2, entryHeight - 2, PackColourWord(selectedColour));
    CFontSet* f = fonts;
    i32 lineHeight = 0;
    if (f != nullptr) {
        f->Select(1, priceColour, 0);
        lineHeight = CurrentLineHeight(f);
    }
    const CItemType* type = entry.item ? entry.item->type : nullptr;
    if (type != nullptr && type->texts[1] != nullptr) {
        // Found and read: stock the player never carried has not been read before.
        if (CRecordHolder* picture = WidgetGameData().FindPicture(type->texts[1])) {
            i32 pw = 0, ph = 0;
            PictureSizeOf(picture, pw, ph);
            const i32 room = entryHeight - lineHeight;
            video->DrawPictureTransparent(picture, ex + (entryWidth - pw) / 2,
                                          ey + std::max(0, (room - ph) / 2));
        }
    }
    // The frame goes over the picture: a picture as large as the cell keeps inside its border.
    if (frameSet != nullptr) DrawFramedPicture(game, frameSet, 1, ex, ey, 0x0F, entryWidth, entryHeight, 0);
    if (f == nullptr) return;
    CStr text;
    FormatMoney(entry.price, text);
    ToNumberGlyphs(text);
    f->DrawTextBox(ex + 2, ey + entryHeight - lineHeight - 2, ex + entryWidth - 2, ey + entryHeight,
                   text.GetText(), 4);
    if (entry.count > 1) {
        text.Format("%u", static_cast<unsigned>(entry.count));
        ToNumberGlyphs(text);
        f->DrawTextBox(ex + 3, ey + 3, ex + entryWidth - 3, ey + 3 + lineHeight, text.GetText(), 2);
    }
}

void CShopItemGrid::Draw() {
    if (video == nullptr) return;
    video->FillRect(x, y, w, h, PackColourWord(0x101418));
    if (!trade) return;
    const auto& entries = trade->GetEntries();
    for (i32 slot = 0; slot < PageSize(); ++slot) {
        const i32 index = firstVisible + slot;
        const i32 ex = x + (slot % columns) * entryWidth, ey = y + (slot / columns) * entryHeight;
        if (index < static_cast<i32>(entries.size()))
            DrawEntry(entries[index], ex, ey, index == trade->GetSelection());
        else if (frameSet != nullptr)
            DrawFramedPicture(game, frameSet, 1, ex, ey, 0x0F, entryWidth, entryHeight, 0);
    }
}
