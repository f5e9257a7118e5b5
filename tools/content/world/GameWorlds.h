// The content of the four world databases the game opens: VantrelMusic (songs and their banks),
// VantrelSound (the game's sounds), VantrelRes (shared pictures, sky records and picture sets) and
// VantrelBase (the world: map objects, tables, texts and its first section).
#pragma once

#include <string>
#include <vector>

#include "tools/content/world/WorldWriter.h"

namespace world {

Content MusicWorld();
Content SoundWorld();
Content ResourceWorld();
Content BaseWorld();

// All four, in the order the game opens them.
std::vector<Content> GameWorlds();

// Writes every world database at the version into the folder; false (with a message on stderr) when
// one cannot be written.
bool WriteGameWorlds(const std::string& folder, uint8_t version = 122);

}  // namespace world
