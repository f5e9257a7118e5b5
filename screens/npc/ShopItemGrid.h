// The shop's grid of item entries: a frame per entry with the item's picture, its price below and a
// count when it stacks more than one. A tap selects the entry under the pen; the turn keys step the
// selection. It shows the entries of the shop's trading, which it does not own.
#pragma once

#include <vector>

#include "core/Types.h"
#include "screens/npc/ShopTrade.h"
#include "ui/Widget.h"

class CRecordHolder;

class CShopItemGrid : public CWidget {
public:
    CShopItemGrid() : CWidget(kWidgetTakesKeys | kWidgetTakesPen) {}

    void SetEntryLayout(CRecordHolder* const* frameSet, i32 entryWidth, i32 entryHeight, i32 columns,
                        i32 rows);
    i32 PageSize() const { return columns * rows; }
    // Scrolls a page and moves the selection with it.
    void PageUp();
    void PageDown();
    // The first visible entry moves to the page that holds the selection.
    void ShowSelection();

    u32 OnKey(u32 key) override;
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    CShopTrade* trade = nullptr;
    CRecordHolder* const* frameSet = nullptr;
    i32 entryWidth = 40, entryHeight = 52, columns = 1, rows = 1;
    i32 firstVisible = 0;
    u32 priceColour = 0xC8C8C8;
    u32 selectedColour = 0x3C6E9A;

private:
    i32 EntryAt(i32 px, i32 py) const;
    void DrawEntry(const CShopEntry& entry, i32 ex, i32 ey, bool selected);
};

// The grid's geometry in a layout mode: entry width and height, columns and rows, and whether it uses
// the large entry frame.
struct CShopGridGeometry {
    i32 entryWidth, entryHeight, columns, rows;
    bool largeFrame;
};
CShopGridGeometry ShopGridGeometry(u32 layoutMode);
