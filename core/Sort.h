// In-place sort of fixed-size plain elements with a comparison callback: a quicksort with an explicit
// range stack and a selection sort for short ranges. It is not stable, and the order in which it leaves
// equal elements is part of what the player sees (item lists, the 3D view's draw order), so the exact
// steps matter, not just the sortedness.
#pragma once

#include "core/Types.h"

// Negative, 0 or positive as the element at a sorts before, equal to or after the element at b.
using SortCompare = int (*)(const void* a, const void* b);

void SortArray(void* base, u32 count, u32 width, SortCompare compare);

// Selection sort of the elements from lo to hi (both inclusive): the first of equal largest elements
// goes to the end each time, so three equal elements a, b, c come out as b, c, a.
void ShortSort(void* lo, void* hi, u32 width, SortCompare compare);
