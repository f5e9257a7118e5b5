// The layout table: for each form (a layout group) and each layout mode, the form's size and the
// rectangle of every element. The table is one record of the interface database, read whole at
// start-up; these look-ups walk it linearly, as every form does when it is entered.
#pragma once

#include <cstddef>
#include <string>

#include "core/Types.h"

// A layout element record: five little-endian u16 words (id, x, y, w, h), x and y relative to the
// form's origin. Look-ups hand out a pointer to the id word inside the loaded record.
struct CLayoutElement {
    u16 id = 0, x = 0, y = 0, w = 0, h = 0;
};

// Reads the five words of an element record that a look-up returned.
CLayoutElement ReadLayoutElement(const u8* element);

// The look-ups on a table given as bytes. Every offset and count read from the table is checked
// against its size: a directory, mode list or layout that runs past the record's end is treated as
// absent, so a damaged table only makes widgets stay out of their forms.
const u8* FindLayoutRectIn(const u8* table, size_t size, u32 mode, u16 group, u32 element);
// Stores the layout's width and height and returns true; leaves both untouched when the group or
// mode is missing.
bool GetLayoutSizeIn(const u8* table, size_t size, u32 mode, u16 group, u32& width, u32& height);

// An element that some screen cannot do without.
struct CLayoutNeed {
    u16 group;
    u32 element;
};

// Checks a layout table whole before anything relies on it: the group directory, every group's mode
// list and every layout with its elements lie inside the record, and each needed element exists in
// layout mode `mode`. Empty when the table is sound, else what is wrong with it.
std::string CheckLayoutTable(const u8* table, size_t size, u32 mode, const CLayoutNeed* needs,
                             size_t needCount);

// The small layout modes (2, 5, 6, 7, 8, 12, 13, 16): narrow handheld screens with their own margins.
inline bool IsSmallLayoutMode(u32 mode) {
    switch (mode) {
    case 2:
    case 5:
    case 6:
    case 7:
    case 8:
    case 12:
    case 13:
    case 16: return true;
    default: return false;
    }
}

// The large layout modes (9, 10, 11, 14, 15): the desktop-sized screens.
inline bool IsLargeLayoutMode(u32 mode) {
    switch (mode) {
    case 9:
    case 10:
    case 11:
    case 14:
    case 15: return true;
    default: return false;
    }
}
