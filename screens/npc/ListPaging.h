// Paging of the service dialogs' lists and grids: how many rows fit a page, where the page of a
// selection starts, and the selection after the entry under it left the list. A list whose layout
// element is missing in the current mode has no height; it still shows one row per page rather than
// dividing by zero.
#pragma once

#include <algorithm>

#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/LayoutMath.h"
#include "ui/ListBox.h"

// Rows (or grid rows) of `rowHeight` that fit `height`; at least one.
inline i32 RowsPerPage(i32 height, i32 rowHeight) { return AtLeastOne(height / AtLeastOne(rowHeight)); }

// The first row (entry) of the page of `pageSize` that holds `selection`; 0 with no selection.
inline i32 PageStartOf(i32 selection, i32 pageSize) {
    if (selection < 0) return 0;
    const i32 size = AtLeastOne(pageSize);
    return selection / size * size;
}

// The selection after a list shrank to `count`: the same index, or the new last one, or none.
inline i32 ClampSelection(i32 index, i32 count) {
    if (count <= 0) return -1;
    return std::clamp(index, 0, count - 1);
}

// Page buttons of a list: up while the first visible row is not 0, down while rows follow the page.
inline void UpdatePageButtons(const CListBox& list, CBitmapButton& up, CBitmapButton& down) {
    up.EnablePen(list.topRow != 0 ? 1 : 0);
    down.EnablePen(list.GetCount() > list.topRow + list.visibleRows ? 1 : 0);
    up.state |= kWidgetRedraw;
    down.state |= kWidgetRedraw;
}

// Turns a list a page up (-1) or down (1); the selection moves to the page's first row.
inline void TurnListPage(CListBox& list, i32 direction) {
    const i32 count = list.GetCount();
    const i32 top =
        std::clamp(list.topRow + direction * AtLeastOne(list.visibleRows), 0, std::max(0, count - 1));
    list.topRow = PageStartOf(top, list.visibleRows);
    list.selection = count > 0 ? list.topRow : -1;
    list.state |= kWidgetRedraw;
}

// Turns a list a page with its page buttons following.
inline void TurnListPage(CListBox& list, CBitmapButton& up, CBitmapButton& down, i32 direction) {
    TurnListPage(list, direction);
    UpdatePageButtons(list, up, down);
}
