// The small additional world that the builder writes beside the game's own databases: a world
// database of type "VnTW" that the start-up scan lists, that the additional-worlds screen enables,
// disables and deletes, and whose start entry a new game offers while it is enabled.
#pragma once

#include <cstdint>
#include <string>

#include "tools/content/world/WorldWriter.h"

namespace world {

inline constexpr char kAdditionalWorldDatabase[] = "VantrelEmber";
inline constexpr char kAdditionalWorldShortName[] = "embr";
inline constexpr char kAdditionalWorldTitle[] = "The Ember Caves";

Content AdditionalWorld();

// Writes it as "<folder>/VantrelEmber.pdb"; false (with a message on stderr) when it cannot.
bool WriteAdditionalWorld(const std::string& folder, uint8_t version = 122);

}  // namespace world
