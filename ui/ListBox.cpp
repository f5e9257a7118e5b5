#include "ui/ListBox.h"

#include <algorithm>

#include "ui/ScreenIds.h"
#include "ui/WidgetHost.h"
#include "ui/InterfacePictureRoles.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "ui/WidgetHelpers.h"
#include "ui/Draw.h"
#include "ui/LayoutMath.h"
#include "ui/PictureSets.h"

void CListBoxItemArray::Append(const CListBoxItem& item) {
    if (items.size() == capacity) {
        capacity += kGrowthStep;
        items.reserve(capacity);
    }
    items.push_back(item);
}

void CListBoxItemArray::Reset() {
    items.clear();
    items.shrink_to_fit();
    items.reserve(kGrowthStep);
    capacity = kGrowthStep;
}

CListBoxItem* CListBoxItemArray::GetAt(i32 index) {
    if (index < 0 || index >= GetCount()) return nullptr;
    return &items[static_cast<size_t>(index)];
}

const CListBoxItem* CListBoxItemArray::GetAt(i32 index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return &items[static_cast<size_t>(index)];
}

void CListBox::Append(CListBoxItem item) {
    items.Append(item);
    state |= kWidgetRedraw;
}

void CListBox::AddItem(const char* label, const char* key, u8 flag) {
    CListBoxItem item;
    item.label.Assign(label);
    item.key.Assign(key);
    item.flag = flag;
    Append(std::move(item));
}

void CListBox::AddItemWithValue(const char* label, u32 value) {
    CListBoxItem item;
    item.label.Assign(label);
    item.value = value;
    Append(std::move(item));
}

void CListBox::AddItemColumns(const char* label, const char* key, const char* column) {
    CListBoxItem item;
    item.label.Assign(label);
    item.key.Assign(key);
    item.column.Assign(column);
    Append(std::move(item));
}

void CListBox::SetItemTexts(i32 index, const char* label, const char* key, const char* column) {
    CListBoxItem* item = items.GetAt(index);
    if (item == nullptr) return;
    item->label.Assign(label);
    item->key.Assign(key);
    item->column.Assign(column);
    item->flag = 0;
    state |= kWidgetRedraw;
}

i32 CListBox::ValidSelection() const { return items.GetAt(selection) != nullptr ? selection : -1; }

const char* CListBox::GetSelectedText() const {
    const CListBoxItem* item = items.GetAt(selection);
    return item != nullptr ? item->key.GetText() : "";
}

u32 CListBox::GetSelectedValue() const {
    const CListBoxItem* item = items.GetAt(selection);
    return item != nullptr ? item->value : 0;
}

i32 CListBox::PageStart(i32 row) const {
    if (visibleRows <= 0 || row < 0) return 0;
    return (row / visibleRows) * visibleRows;
}

void CListBox::ShowSelectionPage() {
    topRow = PageStart(selection);
    state |= kWidgetRedraw;
}

void CListBox::SelectByText(const char* text) {
    // An empty list has nothing to fall back on: the selection stays "none" instead of naming a row
    // that does not exist.
    selection = GetCount() > 0 ? 0 : -1;
    if (text != nullptr) {
        for (i32 i = 0; i < GetCount(); ++i) {
            if (items.GetAt(i)->key.Equals(text)) {
                selection = i;
                break;
            }
        }
    }
    ShowSelectionPage();
}

void CListBox::SelectByValue(u32 value) {
    selection = GetCount() > 0 ? 0 : -1;
    for (i32 i = 0; i < GetCount(); ++i) {
        if (items.GetAt(i)->value == value) {
            selection = i;
            break;
        }
    }
    ShowSelectionPage();
}

void CListBox::ResetItems() { items.Reset(); }

void CListBox::FitToItems(i32 wrapWidth) {
    topRow = 0;
    i32 widest = 0;
    if (fonts != nullptr) {
        fonts->Select(1, textColour, backgroundColour);
        for (i32 i = 0; i < GetCount(); ++i) {
            i32 width = 0, lines = 0;
            fonts->MeasureText(items.GetAt(i)->label.GetText(), wrapWidth, width, lines);
            widest = std::max(widest, width);
        }
    }
    w = static_cast<u16>(widest + 10);
    visibleRows = std::min(GetCount(), 8);
    h = static_cast<u16>(std::max(rowHeight, 0) * visibleRows);
    if (GetCount() > 0) selection = 0;
    state |= kWidgetRedraw;
}

u32 CListBox::OnKey(u32 key) {
    const i32 count = GetCount();
    const i32 current = ValidSelection();
    switch (key) {
    case kCommandForward:
        if (count == 0)
            selection = -1;
        else if (current < 0)
            selection = 0;
        else if (current == 0)
            selection = count - 1;
        else
            selection = current - 1;
        break;
    case kCommandBack:
        if (count == 0)
            selection = -1;
        else if (current < 0 || current == count - 1)
            selection = 0;
        else
            selection = current + 1;
        break;
    case kCommandUse:
        if (current < 0) return 0;
        lastAction = kListItemChosen;
        return id;
    default: return 0;
    }
    lastAction = kListSelectionMoved;
    ShowSelectionPage();
    return id;
}

i32 CListBox::RowAt(i32 px, i32 py) const {
    // Without a positive row height the list has no rows at all, so nothing divides by it.
    if (rowHeight <= 0 || !Contains(px, py)) return -1;
    const i32 row = (py - y) / rowHeight + topRow;
    if (row < 0 || row >= GetCount()) return -1;
    if ((row - topRow + 1) * rowHeight > h) return -1;
    return row;
}

u32 CListBox::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    const i32 row = RowAt(px, py);
    if (row >= 0) {
        if (row == selection && (down != 0 || chooseOnRelease == 0)) return 0;
        selection = row;
        Draw();
        lastAction = down == 0 ? kListItemChosen : kListSelectionMoved;
        return id;
    }
    if (deselectOutside == 0) return 0;
    selection = -1;
    Draw();
    lastAction = kListSelectionCleared;
    return id;
}

void CListBox::Draw() {
    if (video == nullptr || fonts == nullptr) return;
    if (background != 0) {
        if (backgroundPicture != nullptr)
            video->DrawPictureTiled(backgroundPicture, x, y, w, h);
        else
            video->FillRect(x, y, w, h, PackColourWord(backgroundColour));
    }
    if (frame != 0) {
        CRecordHolder* const* set = InterfacePictureSet(game, kPictureListFrame, 9);
        if (set != nullptr) DrawFramedPicture(game, set, 0, x - 3, y - 3, 0x0F, w + 6, h + 6, 0);
    }
    if (rowHeight <= 0) return;
    const i32 labelWidth = w - (rightColumn != 0 ? columnWidth : 0);
    const i32 o = IsLargeLayoutMode(game != nullptr ? game->GetLayoutMode() : 0) ? 2 : 1;
    i32 rt = y;
    for (i32 i = std::max(topRow, 0); i < topRow + visibleRows && i < GetCount(); ++i, rt += rowHeight) {
        const CListBoxItem& item = *items.GetAt(i);
        const bool selected = i == selection;
        if (selected)
            video->FillRect(x, rt, w, rowHeight,
                            PackColourWord(highlight != 0 ? highlightBarColour : textColour));
        if (outline != 0) {
            fonts->Select(font, outlineColour, outlineColour);
            const char* text = item.label.GetText();
            if (centred != 0) {
                fonts->DrawTextBox(x + o, rt, x + o + labelWidth, rt + rowHeight, text, 4);
                fonts->DrawTextBox(x - o, rt, x - o + labelWidth, rt + rowHeight, text, 4);
                fonts->DrawTextBox(x, rt - o, x + labelWidth, rt - o + rowHeight, text, 4);
                fonts->DrawTextBox(x, rt + o, x + labelWidth, rt + o + rowHeight, text, 4);
            } else {
                const i32 top = rt + o + (rowHeight - CurrentLineHeight(fonts)) / 2;
                fonts->DrawTextBox(x + o + 1, top, x + labelWidth - 1, rt + rowHeight, text, 1);
            }
        }
        if (!selected)
            fonts->Select(font, textColour, backgroundColour);
        else if (highlight != 0)
            fonts->Select(font, highlightTextColour, highlightBarColour);
        else
            fonts->Select(font, backgroundColour, textColour);
        const i32 top = rt + (rowHeight - CurrentLineHeight(fonts)) / 2;
        fonts->DrawTextBox(x + 1, top, x + labelWidth - 1, rt + rowHeight, item.label.GetText(),
                           centred != 0 ? 4 : 1);
        if (rightColumn != 0) {
            if (!iconSet.empty()) {
                if (item.flag < iconSet.size() && iconSet[item.flag] != nullptr)
                    video->DrawPictureTransparent(iconSet[item.flag], x + w - columnWidth, rt);
            } else {
                fonts->DrawTextBox(x + w - columnWidth, rt, x + w - 1, rt + rowHeight, item.column.GetText(),
                                   1);
            }
        }
    }
}
