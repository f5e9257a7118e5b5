// The benchmark's synthetic world (bench/scenes) as the 3D view's tests use it, with the view
// rectangle as an image for the golden frames.
#pragma once

#include "bench/scenes/ViewScene.h"
#include "tests/support/Png.h"

namespace scene {

inline testing_support::Rgb565Image ViewImage(const Scene& s) {
    testing_support::Rgb565Image image;
    image.width = s.width;
    image.height = s.height;
    image.pixels = s.ViewPixels();
    return image;
}

// A renderer set up for a pose without drawing: the emitters can be called one by one.
inline void Prepare(Scene& s, i32 cx, i32 cy, i32 fx, i32 fy, i32 angle) {
    s.Pose(cx, cy, fx, fy, angle);
    CRenderer3D& r = *s.renderer;
    r.SetupView();
    r.SetupHeading();
    r.polygonCount = 0;
    r.vertexCursor = r.texCoordCursor = r.fogCursor = 0;
    s.emitters->renderer = &r;
}

}  // namespace scene
