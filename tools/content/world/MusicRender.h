// Renders the composed songs through the game's own mixer into WAV files, to listen to them as the
// game plays them.
#pragma once

#include <string>

namespace world {

// Writes "<folder>/<song>.wav" for every song, `seconds` long. False when one cannot be played or
// written.
bool RenderMusic(const std::string& folder, int seconds);

}  // namespace world
