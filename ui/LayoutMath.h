// Small arithmetic that the widgets share: the layout-mode groups that choose sizes, margins and
// offsets, and the guard for divisors that come from the layout table or from a font.
#pragma once

#include "core/Types.h"

// Rows per page, scales and proportions divide by a layout height, a row height or a maximum. A layout
// element missing from the current mode (or a widget not yet placed) makes that value 0, so every such
// divisor goes through this and is at least 1.
inline i32 AtLeastOne(i32 value) { return value < 1 ? 1 : value; }

// The small layout modes (2, 5, 6, 7, 8, 12, 13, 16): narrow handheld screens with their own margins.
inline bool IsSmallLayoutMode(u32 mode) {
    switch (mode) {
    case 2: case 5: case 6: case 7: case 8: case 12: case 13: case 16: return true;
    default: return false;
    }
}

// The large layout modes (9, 10, 11, 14, 15): the desktop-sized screens.
inline bool IsLargeLayoutMode(u32 mode) {
    switch (mode) {
    case 9: case 10: case 11: case 14: case 15: return true;
    default: return false;
    }
}
