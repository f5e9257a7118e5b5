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

}  // namespace scene
