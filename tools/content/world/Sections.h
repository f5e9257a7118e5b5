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

// The layout of a vale piece (column and row 1..3) as 21 rows of 21 characters, null for the town's
// piece; and what the town piece's cell holds for the world map: 'H' a house wall, 's' the square.
const char* const* ValeLayout(int column, int row);
char TownMapCell(int x, int y);

// Adds the map objects and table entries the sections use, and the sections, to the base world.
void AddBaseSections(Content& c);

// The pieces the underground maps are laid out with. References into the base world's 'C' and 'F'
// tables; the gallery holds one object of each type code t at reference GalleryRef(t).
namespace parts {
inline constexpr uint16_t kFloor = 1, kWall = 2, kWater = 3, kStairs = 4, kDoor = 5, kBanner = 6;
inline constexpr uint16_t kTexFloor = 1, kTexWall = 2, kTexCeiling = 3, kTexHerb = 4, kTexGrass = 5,
                          kTexWater = 6;
inline constexpr uint16_t kGallery = 6;
constexpr uint16_t GalleryRef(int typeCode) { return static_cast<uint16_t>(kGallery + typeCode); }
// The vale's scenery, after the gallery's objects: sprites that stand in a cell's centre.
inline constexpr uint16_t kTree = kGallery + 44, kFir = kTree + 1, kBush = kTree + 2, kRock = kTree + 3,
                          kRuin = kTree + 4, kWell = kTree + 5;
// The vale's ground objects: grass and a pond's water, each drawn with its own picture.
inline constexpr uint16_t kGrass = kWell + 1, kPond = kWell + 2;
// The town's house walls: the ground storey with a window or a (painted, shut) door, and the upper
// storey's window; each draws with the texture of the same name.
inline constexpr uint16_t kHouseWindow = kPond + 1, kHouseDoor = kPond + 2, kHouseUpper = kPond + 3;
inline constexpr uint16_t kTexHouseWindow = 7, kTexHouseDoor = 8, kTexHouseUpper = 9;
// The crypt's shrine: a sign by its type (the use key runs its script), the old bell by its picture.
inline constexpr uint16_t kShrineBell = kHouseUpper + 1;
// Monster types ('E' table) that the maps place by hand.
inline constexpr uint16_t kBones = 13;
// Level words: the lock level in bits 6..9, the trap level in 10..13; a floor trap's damage level in
// bits 8..11.
constexpr uint16_t LockLevel(int tens) { return static_cast<uint16_t>(tens << 6); }
constexpr uint16_t TrapLevel(int tens) { return static_cast<uint16_t>(tens << 10); }
// Door modes as a cell stores them, and the placement flags of a closed door.
inline constexpr uint8_t kDoorNoWay = 0, kDoorByKey = 1 << 2, kDoorByHand = 2 << 2;
inline constexpr uint8_t kClosedDoor = 0x01 | 0x02;

CellSpec Floor();
// A wall stands in both layers, so that it reaches from the ground to the ceiling.
CellSpec WallBlock();
CellSpec Door(uint8_t id, uint8_t mode = kDoorByHand);
// A town house's wall: the ground storey of a wall object and its texture, the upper storey's window.
CellSpec HouseWallCell(uint16_t ground, uint16_t groundPicture);
// An underground map's section with its light (colour and level of both lights) and visibility byte,
// no weather, the ceiling's picture set and the base world's ground and ceiling.
Section Underground(const char* id, const char* name, uint16_t light, uint8_t level, uint8_t visibility);
}  // namespace parts

// The crypt below the cellar, reached by the ladder in the cellar's side chamber.
Section Crypt();

}  // namespace world
