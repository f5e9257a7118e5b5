#include "display/FrameTarget.h"

void SetFrameTargetSteps(CFrameTarget& target) {
    switch (target.orientation) {
        case 1:
            target.xStep = -target.pitch;
            target.yStep = 1;
            break;
        case 2:
            target.xStep = target.pitch;
            target.yStep = -1;
            break;
        default:
            target.xStep = 1;
            target.yStep = target.pitch;
            break;
    }
}

void GetSpanAddresses(const CFrameTarget& target, i32 y, i32 x0, i32 x1, CSpan& span) {
    if (target.orientation < 0 || target.orientation > 2) return;
    span.start = target.pixels + FrameOffset(target, x0, y);
    span.end = target.pixels + FrameOffset(target, x1, y);
}

void GetColumnSpanAddresses(const CFrameTarget& target, i32 x, i32 y0, i32 y1, CSpan& span) {
    if (target.orientation < 0 || target.orientation > 2) return;
    span.start = target.pixels + FrameOffset(target, x, y0);
    span.end = target.pixels + FrameOffset(target, x, y1);
}
