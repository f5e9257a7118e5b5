// Where the drawing goes: a frame target says where logical pixel (0, 0) lies in the back buffer and
// how far one step along a logical row (x) and down a logical column (y) move in memory, so that every
// filler and blit draws in upright coordinates whatever the turn of the screen.
#pragma once

#include "core/Types.h"

struct CFrameTarget {
    u16* pixels = nullptr;  // address of logical pixel (0, 0)
    i32 pitch = 0;          // distance between memory rows, in pixels
    i32 orientation = 0;    // 0, 1 or 2
    i32 xStep = 1;          // pixels moved by x + 1
    i32 yStep = 0;          // pixels moved by y + 1
    // The logical extent that drawing may touch; the 2D drawing clips every span to it.
    i32 width = 0;
    i32 height = 0;
};

struct CSpan {
    u16* start = nullptr;
    u16* end = nullptr;
};

// Sets xStep and yStep from the orientation: 0 gives 1 and pitch, 1 gives -pitch and 1, 2 gives pitch
// and -1.
void SetFrameTargetSteps(CFrameTarget& target);

// The offset in pixels of logical (x, y) from the target's origin.
inline i64 FrameOffset(const CFrameTarget& t, i32 x, i32 y) {
    switch (t.orientation) {
    case 0: return static_cast<i64>(t.pitch) * y + x;
    case 1: return y - static_cast<i64>(t.pitch) * x;
    case 2: return static_cast<i64>(t.pitch) * x - y;
    default: return 0;
    }
}

// Start and end addresses of logical row y from x0 up to, not including, x1; walked by xStep until
// the address equals the end. Another orientation leaves `span` as it was. Inline: the 2D drawing asks
// for one span per line drawn.
inline void GetSpanAddresses(const CFrameTarget& target, i32 y, i32 x0, i32 x1, CSpan& span) {
    if (target.orientation < 0 || target.orientation > 2) return;
    span.start = target.pixels + FrameOffset(target, x0, y);
    span.end = target.pixels + FrameOffset(target, x1, y);
}
// The same for logical column x from y0 to y1, walked by yStep.
inline void GetColumnSpanAddresses(const CFrameTarget& target, i32 x, i32 y0, i32 y1, CSpan& span) {
    if (target.orientation < 0 || target.orientation > 2) return;
    span.start = target.pixels + FrameOffset(target, x, y0);
    span.end = target.pixels + FrameOffset(target, x, y1);
}
