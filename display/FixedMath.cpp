#include "display/FixedMath.h"

i32 SinFixedQuarter(i32 a) {
    // 64-bit products: for angles in range every product fits 32 bits and the values are the
    // 32-bit results; a caller that passes an angle outside it gets no overflow.
    i64 x = a >> 3;
    i64 x3 = (((x * x) >> 13) * x) >> 13;
    i64 x5 = (((x3 * x) >> 13) * x) >> 13;
    i64 x7 = (((x5 * x) >> 13) * x) >> 13;
    return static_cast<i32>(((x - x3 / 6) + (x5 / 120 - x7 / 5040)) * 8);
}

i32 SinFixed(i32 a) {
    if (a < kFixedHalfPi) return SinFixedQuarter(a);
    if (a < kFixedPi) return SinFixedQuarter(kFixedPi - a);
    if (a < kFixedThreeHalfPi) return -SinFixedQuarter(a - kFixedPi);
    return -SinFixedQuarter(kFixedTwoPi - a);
}

i32 CosFixed(i32 a) {
    if (a < kFixedHalfPi) return SinFixedQuarter(kFixedHalfPi - a);
    if (a < kFixedPi) return -SinFixedQuarter(a - kFixedHalfPi);
    if (a < kFixedThreeHalfPi) return -SinFixedQuarter(kFixedThreeHalfPi - a);
    return SinFixedQuarter(a - kFixedThreeHalfPi);
}
