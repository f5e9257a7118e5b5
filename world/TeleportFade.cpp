#include "world/TeleportFade.h"

#include <algorithm>

#include "view3d/ViewRecord.h"

namespace {

// A step that covers `span` in `frames` frames, rounded up so the last frame arrives.
i32 StepOver(i32 span, u32 frames) {
    const i32 n = static_cast<i32>(frames);
    return span <= 0 ? 0 : (span + n - 1) / n;
}

}  // namespace

void CTeleportFade::Start(const CViewState3D& view, u32 frames) {
    framesLeft_ = frames;
    if (frames == 0) return;
    fogStep_ = StepOver(view.fogStart, frames);
    distanceStep_ = StepOver(view.visibleDistance, frames);
    const i32 r = view.fogColour >> 11, g = (view.fogColour >> 5) & 63, b = view.fogColour & 31;
    redStep_ = StepOver(31 - r, frames);
    greenStep_ = StepOver(63 - g, frames);
    blueStep_ = StepOver(31 - b, frames);
}

void CTeleportFade::Step(CViewState3D& view) {
    if (framesLeft_ == 0) return;
    --framesLeft_;
    view.fogStart = std::max(0, view.fogStart - fogStep_);
    view.visibleDistance = std::max(0, view.visibleDistance - distanceStep_);
    const i32 r = std::min(31, (view.fogColour >> 11) + redStep_);
    const i32 g = std::min(63, ((view.fogColour >> 5) & 63) + greenStep_);
    const i32 b = std::min(31, (view.fogColour & 31) + blueStep_);
    view.fogColour = static_cast<u16>((r << 11) | (g << 5) | b);
}
