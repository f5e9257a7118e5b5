#include "core/Sort.h"

#include <utility>

namespace {

constexpr i64 kShortRange = 8;
// Ranges wait on the stack only for the larger part, so at most log2(count) of them: 32 for any u32
// count. The extra room costs nothing.
constexpr int kStackRanges = 64;

void SwapElements(u8* a, u8* b, u32 width) {
    if (a == b) return;
    for (u32 i = 0; i < width; ++i) std::swap(a[i], b[i]);
}

}  // namespace

void ShortSort(void* lo, void* hi, u32 width, SortCompare compare) {
    auto* first = static_cast<u8*>(lo);
    auto* last = static_cast<u8*>(hi);
    while (last > first) {
        u8* largest = first;
        for (u8* p = first + width; p <= last; p += width) {
            if (compare(p, largest) > 0) largest = p;
        }
        SwapElements(largest, last, width);
        last -= width;
    }
}

void SortArray(void* base, u32 count, u32 width, SortCompare compare) {
    if (count < 2 || !base || width == 0 || !compare) return;
    auto* bytes = static_cast<u8*>(base);
    auto at = [&](i64 i) { return bytes + static_cast<u64>(i) * width; };

    i64 loStack[kStackRanges], hiStack[kStackRanges];
    int depth = 0;
    i64 lo = 0, hi = static_cast<i64>(count) - 1;
    for (;;) {
        i64 size = hi - lo + 1;
        if (size <= kShortRange) {
            ShortSort(at(lo), at(hi), width, compare);
        } else {
            SwapElements(at(lo + size / 2), at(lo), width);
            i64 left = lo, right = hi + 1;
            for (;;) {
                do {
                    ++left;
                } while (left <= hi && compare(at(left), at(lo)) <= 0);
                do {
                    --right;
                } while (right > lo && compare(at(right), at(lo)) >= 0);
                if (right < left) break;
                SwapElements(at(left), at(right), width);
            }
            SwapElements(at(lo), at(right), width);

            // Defer the larger part and go on with the smaller one.
            if (right - 1 - lo >= hi - left) {
                if (lo + 1 < right) {
                    loStack[depth] = lo;
                    hiStack[depth++] = right - 1;
                }
                if (left < hi) {
                    lo = left;
                    continue;
                }
            } else {
                if (left < hi) {
                    loStack[depth] = left;
                    hiStack[depth++] = hi;
                }
                if (lo + 1 < right) {
                    hi = right - 1;
                    continue;
                }
            }
        }
        if (depth == 0) return;
        --depth;
        lo = loStack[depth];
        hi = hiStack[depth];
    }
}
