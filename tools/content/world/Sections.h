// The base world's map sections: the cellar below the town (a 35 x 35 underground map) and the vale
// around it (a 3 x 3 grid of 21 x 21 surface pieces), with the builder's own cell encoder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/content/world/WorldWriter.h"

namespace world {

// One cell as the builder places it: 1-based references into the world's 'C' (objects) and 'F'
// (pictures) tables, 0 = none. The mask follows from what is set.
struct CellSpec {
    uint16_t layer1 = 0, layer1Picture = 0, layer1Second = 0;
    uint16_t layer2 = 0, layer2Picture = 0, layer2Second = 0;
    uint16_t centre = 0, centrePicture = 0;
    uint8_t centreId = 0, doorMode = 0;
    uint16_t layer4 = 0, layer4Picture = 0;
    uint16_t side[4] = {}, sidePicture[4] = {};
    uint8_t sideId[4] = {};
    uint16_t secondSide[4] = {}, secondSidePicture[4] = {};
    struct Stored {
        uint16_t layer1 = 0, layer1Picture = 0, centre = 0, centrePicture = 0;
        uint8_t centreId = 0;
        uint16_t layer4 = 0, layer4Picture = 0;
        uint16_t side[4] = {}, sidePicture[4] = {};
        uint8_t sideId[4] = {};
        uint16_t secondSide[4] = {}, secondSidePicture[4] = {};
    } stored;
    bool hasStored = false;
};

// The cell's mask and encoding (the stored block after it when present), at a data version.
uint16_t CellMask(const CellSpec& cell);
void EncodeCell(ByteWriter& w, const CellSpec& cell, uint8_t version);

struct PlacementSpec {
    uint16_t level = 0;
    std::string name, text, third;
    uint8_t id = 0, bagId = 0, x = 255, y = 255, flags = 0x01;
};
struct MonsterSpec {
    uint16_t typeIndex = 1;  // 'E' table
    uint8_t id = 0, flags = 0x02, objectId = 0, x = 0, y = 0, bagId = 0;
};
struct BagSpec {
    uint8_t id = 0, flags = 0, x = 255, y = 255;
    std::vector<std::string> items;
};

// The records base + 2 .. base + 4 of a section.
std::vector<uint8_t> PlacementRecord(const std::vector<PlacementSpec>& placements, uint8_t version);
std::vector<uint8_t> MonsterRecord(const std::vector<MonsterSpec>& monsters, uint8_t version);
std::vector<uint8_t> BagRecord(const std::vector<BagSpec>& bags);
// An underground map's cells (35 x 35, row by row) and a surface piece's (the whole 21 x 21 as the
// stored rectangle, an offset per cell, 0 for an empty one).
std::vector<uint8_t> UndergroundCells(const std::vector<CellSpec>& cells, uint8_t version);
std::vector<uint8_t> SurfaceCells(const std::vector<CellSpec>& cells, uint8_t version);

// Adds the map objects and table entries the sections use, and the sections, to the base world.
void AddBaseSections(Content& c);

}  // namespace world
