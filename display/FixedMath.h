// Sine and cosine without floating point: angles are 16.16 radians in 0 .. 2 pi (2 pi = 411774) and
// results 16.16 (65536 = 1). The view set-up, the free heading, the weather and the rotated blit use
// them, and their exact values are part of what those draw.
#pragma once

#include "core/Types.h"

inline constexpr i32 kFixedHalfPi = 102943;
inline constexpr i32 kFixedPi = 205887;
inline constexpr i32 kFixedThreeHalfPi = 308831;
inline constexpr i32 kFixedTwoPi = 411774;

// Sine of 0 .. pi / 2 by its Taylor polynomial at 13 fraction bits.
i32 SinFixedQuarter(i32 a);
// Sine and cosine of 0 .. 2 pi, folded by quadrant onto the quarter sine; other angles are not folded
// further, so callers wrap theirs first.
i32 SinFixed(i32 a);
i32 CosFixed(i32 a);
// 16.16 degrees to 16.16 radians (12867 / 4096 is pi).
inline i32 DegreesToFixedRadians(i32 degrees16) { return ((degrees16 >> 12) * 12867) / 180; }
