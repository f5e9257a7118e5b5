// Fillers for the free heading (any view angle that is not a multiple of 90 degrees).
#pragma once

#include "view3d/Renderer3D.h"

// Type 1 under the free heading and type 6 (ceilings) under every heading: one texture, addressed
// with rows of 256 texels. Returns the pixels written.
u32 FillFreePolygon1(const CFillArgs& args);
