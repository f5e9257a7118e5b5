// The teleport's way out of a place: over its frames the fog closes in on the player (the fog's start
// and the visible distance shrink to nothing) while the fog's colour brightens to white, so the place
// dissolves into light before the new one is entered. The sky choice of the new place sets the fog
// again.
#pragma once

#include "core/Types.h"

struct CViewState3D;

class CTeleportFade {
public:
    // The per-frame steps that bring the view's fog from where it is to nothing, white, in `frames`.
    void Start(const CViewState3D& view, u32 frames);
    // One frame of the fade; the last of the frames reaches the end exactly.
    void Step(CViewState3D& view);
    u32 FramesLeft() const { return framesLeft_; }

private:
    i32 fogStep_ = 0, distanceStep_ = 0;
    i32 redStep_ = 0, greenStep_ = 0, blueStep_ = 0;
    u32 framesLeft_ = 0;
};
