// The view state of the main game view, as far as the video output and the 2D drawing use it: the
// frame buffer that the renderer draws into, the rectangle of the 3D view and the flag word. The 3D
// view keeps the rest of its state here as well.
#pragma once

#include "core/Types.h"

struct CFrameBufferDesc {
    u16* pixels = nullptr;
    i32 width = 0;
    i32 height = 0;
    i32 pitch = 0;  // in pixels
    i32 orientation = 0;
};

struct CViewState {
    CFrameBufferDesc frameBuffer;
    // Bit 0x0002: something was drawn in 2D over the frame since the flag was last cleared.
    u16 flags = 0;
    // The 3D view's rectangle in the game screen.
    u32 viewX = 0, viewY = 0, viewWidth = 0, viewHeight = 0;
};

inline constexpr u16 kViewFlagDrawn2D = 0x0002;
