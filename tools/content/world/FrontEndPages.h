// What the front end's pages show: the intro that leads into character creation ("bres_intro") and
// the credits ("bmus_credits"), with the intro's painted pictures.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/content/Canvas.h"
#include "tools/content/world/WorldWriter.h"

namespace world {

// The pictures the intro's pages show, by name (for the shared-picture world).
std::vector<std::pair<std::string, Canvas>> PaintPagePictures();

// The page sequences and their ids (for the base world).
std::vector<PageSequence> FrontEndPageSequences();
std::vector<std::string> FrontEndPageIds();

}  // namespace world
