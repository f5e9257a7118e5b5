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
