// The game's music: three short tracker songs composed here (the main menu, the dungeon, the town),
// each with its own bank of generated instrument samples. The main menu's pad is longer than 32,000
// words, so its bank stores it in two records.
#pragma once

#include <vector>

#include "tools/content/world/WorldWriter.h"

namespace world {

struct MusicContent {
    std::vector<Bank> banks;
    std::vector<Song> songs;
};

MusicContent ComposeMusic();

// The whole song as one tracker-module file (header, patterns, sample data), for listening to it
// outside the game.
std::vector<uint8_t> ModuleFile(const Song& song, const Bank& bank);

}  // namespace world
