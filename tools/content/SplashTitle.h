// The splash screen's pictures: the title written along the splash strokes (finished and hidden
// forms, large and small), the picture shown under it at the end, and the four sparks of the pen tip.
#pragma once

#include <vector>

#include "tools/content/InterfacePictures.h"

// The title's lettering drawn into c with the top-left corner of the splash title at (x, y), scaled;
// `hot` paints the brighter form that the splash strokes reveal.
void PaintTitleLettering(Canvas& c, float x, float y, float scale, bool hot);

// Records 3521-3527 and 4033-4035.
std::vector<PictureRecord> PaintSplashPictures();
