// Small arithmetic that the widgets share: the layout-mode groups that choose sizes, margins and
// offsets, and the guard for divisors that come from the layout table or from a font.
#pragma once

#include "core/LayoutTable.h"
#include "core/Types.h"

// Rows per page, scales and proportions divide by a layout height, a row height or a maximum. A layout
// element missing from the current mode (or a widget not yet placed) makes that value 0, so every such
// divisor goes through this and is at least 1.
inline i32 AtLeastOne(i32 value) { return value < 1 ? 1 : value; }
