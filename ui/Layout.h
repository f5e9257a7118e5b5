// The layout table: for each form (a layout group) and each layout mode, the form's size and the
// rectangle of every element. The table is one record of the interface database, read whole at
// start-up; these look-ups walk it linearly, as every form does when it is entered.
#pragma once

#include <cstddef>

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

#include <string>

// An element that some screen cannot do without.
struct CLayoutNeed {
    u16 group;
    u32 element;
};

// Checks a layout table whole before anything relies on it: the group directory, every group's mode
// list and every layout with its elements lie inside the record, and each needed element exists in
// layout mode `mode`. Empty when the table is sound, else what is wrong with it.
std::string CheckLayoutTable(const u8* table, size_t size, u32 mode, const CLayoutNeed* needs, size_t needCount);

class CGame;

// The same on the game's loaded table in the game's current layout mode.
const u8* FindLayoutRect(const CGame* game, u16 group, u32 element);
void GetLayoutSize(const CGame* game, u16 group, u32& width, u32& height);
