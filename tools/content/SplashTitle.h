// The splash screen's pictures: the title written along the splash strokes (finished and hidden
// forms, large and small), the picture shown under it at the end, and the four sparks of the pen tip.
#pragma once

#include <vector>

#include "tools/content/InterfacePictures.h"

// Records 3521-3527 and 4033-4035.
std::vector<PictureRecord> PaintSplashPictures();
