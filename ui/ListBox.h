// The scrolling list of text rows that screens and dialogs use for choices. Each row shows a label
// and, optionally, a right-hand column (a short text or a small icon). Keys and the pen move the
// selection; both are answered with the list's own id, and the last action tells the owner whether
// the selection merely moved (0), an item was chosen (1) or the selection was cleared (-1).
#pragma once

#include <vector>

#include "core/Str.h"
#include "core/Types.h"
#include "ui/Widget.h"

class CRecordHolder;

struct CListBoxItem {
    CStr label;
    CStr key;  // hidden text the owner stores with the row
    u32 value = 0;
    u8 flag = 0;  // index of the row's icon in the icon set
    CStr column;  // right-column text when there is no icon set
};

// The rows, stored by value; the store grows by four items at a time.
class CListBoxItemArray {
public:
    static constexpr u32 kGrowthStep = 4;

    CListBoxItemArray() { items.reserve(kGrowthStep); }
    void Append(const CListBoxItem& item);
    // Destroys every item and starts again with room for four.
    void Reset();

    i32 GetCount() const { return static_cast<i32>(items.size()); }
    u32 GetCapacity() const { return capacity; }
    // Null for an index outside 0 .. count - 1.
    CListBoxItem* GetAt(i32 index);
    const CListBoxItem* GetAt(i32 index) const;

private:
    std::vector<CListBoxItem> items;
    u32 capacity = kGrowthStep;
};

// Results of the last answer of a list.
enum : i32 {
    kListSelectionMoved = 0,
    kListItemChosen = 1,
    kListSelectionCleared = -1,
};

class CListBox : public CWidget {
public:
    CListBox() : CWidget(kWidgetTakesKeys | kWidgetTakesPen) {}

    void AddItem(const char* label, const char* key, u8 flag);
    void AddItemWithValue(const char* label, u32 value);
    void AddItemColumns(const char* label, const char* key, const char* column);
    void SetItemTexts(i32 index, const char* label, const char* key, const char* column);

    // "" and 0 when nothing (or nothing that still exists) is selected.
    const char* GetSelectedText() const;
    u32 GetSelectedValue() const;
    // Selects the first item with that key (or value), else item 0, and shows its page.
    void SelectByText(const char* text);
    void SelectByValue(u32 value);
    // Drops every item; the selection and top row are the owner's to reset.
    void ResetItems();
    // Sizes the list to its labels wrapped at the given width, at most eight rows high.
    void FitToItems(i32 wrapWidth);

    i32 GetCount() const { return items.GetCount(); }
    const CListBoxItem* GetItem(i32 index) const { return items.GetAt(index); }
    // The first row of the page that holds the given row.
    i32 PageStart(i32 row) const;
    // The selection when it names an existing item, else -1.
    i32 ValidSelection() const;

    u32 OnKey(u32 key) override;
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    i32 selection = -1;
    i32 lastAction = 0;
    i32 topRow = 0;
    u32 background = 0;
    u32 frame = 0;
    u32 centred = 0;
    i32 visibleRows = 0;
    i32 rowHeight = 0;
    u32 font = 0;
    u32 textColour = 0;
    u32 backgroundColour = 0;
    CRecordHolder* backgroundPicture = nullptr;
    u32 outline = 0;
    u32 outlineColour = 0;
    u32 highlight = 0;
    u32 highlightTextColour = 0;
    u32 highlightBarColour = 0;
    u32 deselectOutside = 0;
    u32 chooseOnRelease = 0;
    u32 rightColumn = 0;
    i32 columnWidth = 0;
    std::vector<CRecordHolder*> iconSet;  // by the items' flags; empty shows the column texts
    CListBoxItemArray items;

private:
    void Append(CListBoxItem item);
    // The row under the pen, or -1 when the pen is on no wholly visible row.
    i32 RowAt(i32 px, i32 py) const;
    void ShowSelectionPage();
};
