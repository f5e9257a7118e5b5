// The content of the four world databases the game opens: VantrelMusic (songs and their banks),
// VantrelSound (the game's sounds), VantrelRes (shared pictures, sky records and picture sets) and
// VantrelBase (the world: map objects, tables, texts and its first section).
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "tools/content/world/WorldWriter.h"

namespace world {

Content MusicWorld();
Content SoundWorld();
Content ResourceWorld();
Content BaseWorld();

// A compiled script of the given tokens with an empty string table.
std::vector<uint8_t> ScriptCode(std::initializer_list<uint8_t> tokens);

// The records (base + 0 .. base + 4) of an underground section whose cells are all empty, with no
// creatures and no bags, and one map object in the middle: the named entry point.
std::vector<std::vector<uint8_t>> EmptyCaveRecords(const std::string& entryPoint);

// All four, in the order the game opens them.
std::vector<Content> GameWorlds();

// Writes every world database at the version into the folder; false (with a message on stderr) when
// one cannot be written.
bool WriteGameWorlds(const std::string& folder, uint8_t version = 122);

}  // namespace world
