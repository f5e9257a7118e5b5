// World databases for the loader tests, written by the content builder's own writers (never the
// game's stream) into a temporary folder, at any data version.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/content/world/WorldWriter.h"

namespace fixtures {

world::Content BaseWorld();
world::Content ResourceWorld();
world::Content SoundWorld();
world::Content MusicWorld();
world::Content AdditionalWorld();
// A world with one of everything small that this loader reads, and the given short name.
world::Content SmallWorld(const std::string& dbName, const std::string& shortName);

std::vector<world::Record> Build(const world::Content& c, uint8_t version = 122);
// Writes the records as "<folder><dbName>.pdb"; the type is the content's.
void Write(const std::string& folder, const world::Content& c, const std::vector<world::Record>& records);
void Write(const std::string& folder, const world::Content& c, uint8_t version = 122);

// Records of a built world, edited before writing.
world::Record* FindRecord(std::vector<world::Record>& records, uint16_t id);
void RemoveRecord(std::vector<world::Record>& records, uint16_t id);
// The record that opens with the tag and holds the text (a kind's record found by one of its ids).
world::Record* FindRecordWith(std::vector<world::Record>& records, uint8_t tag, const std::string& text);

std::vector<uint8_t> ModuleFile(const world::Song& song, const world::Bank& bank);

}  // namespace fixtures
