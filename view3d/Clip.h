// Clipping of the polygons that the cell emitters build: near and far planes in view space, the
// projection onto the screen, then the four edges of the 3D view, so that every polygon reaching a
// filler lies inside the view rectangle and in front of the eye. The drivers carry the attributes a
// filler needs (texture coordinates, light factors) through every stage.
//
// View space: x right, y up, z depth, 1024 units per map cell. Screen: x, y in 1/16 pixel from the
// view's top-left, z the depth unchanged. A crossing depends only on the two corners of an edge and
// the plane, never on the direction the edge is walked, so neighbouring polygons meet without gaps.
// Products that may pass 32 bits for wide views are taken in 64 bits with the same truncation.
#pragma once

#include "core/Types.h"
#include "view3d/Fillers.h"

struct CViewCorner {
    i32 x = 0, y = 0, z = 0;
};

inline constexpr i32 kClipCorners = 10;

class CClipper {
public:
    // View constants, set with the view (near depth, far depth, projection scale, centre column value
    // -8 W and horizon value, right limit W * 16 and bottom limit H * 16).
    i32 nearDepth = 512;
    i32 farDepth = 0;
    i32 projectionScale = 0;
    i32 centreColumn = 0;
    i32 horizon = 0;
    i32 xMax = 0;
    i32 yMax = 0;

    // Input count of the last view-space clip, -1 after a screen-space clip: the draw list takes the
    // depth bounds from the unclipped input corners unless it is -1.
    i32 inputCount = 0;
    CViewCorner input[kClipCorners];
    CViewCorner nearStage[kClipCorners];
    CViewCorner farStage[kClipCorners];
    // Final output of every driver; the input of the screen-space driver.
    CScreenVertex screen[kClipCorners];
    CScreenVertex screenScratch[kClipCorners];
    // Input and final output of the drivers that carry them.
    CUVPair uv[kClipCorners];
    CUVPair uvScratch[kClipCorners];
    i32 light[kClipCorners];
    i32 lightScratch[kClipCorners];

    // Each returns the corners left after its last stage; below 3 nothing is visible. Inputs have at
    // most 4 corners (a convex polygon gains at most one per plane, so 10 suffice); a larger count is
    // refused with 0.
    i32 ClipFlatQuad();
    i32 ClipTexturedPolygon(i32 count);
    i32 ClipTexturedQuadLinear();
    i32 ClipScreenQuad();
    i32 ClipLitQuad();

    // Projection of one view-space corner (depth at least the near depth).
    CScreenVertex Project(const CViewCorner& c) const;
};
