// The pictures of the things that stand in the maps as sprites: the stairs between the town and the
// cellar, the vale's trees, bushes, rocks, the ruin and the well, and doorways with their doors and
// gates. They are painted like the 3D view's other art (soft value noise, outlines left out, light
// from the upper left) and have clear backgrounds, so that the ground shows round them.
#pragma once

#include <string>
#include <vector>

#include "tools/content/Canvas.h"

namespace world {

struct ScenerySprite {
    std::string name;  // the picture's name in the resource world
    Canvas picture;
};

// The doorway picture of doors and gates: a wall with an arched opening that the leaf fills. The
// leaf's texel offsets on the doorway are the door objects' parameters 4 and 5.
inline constexpr int kDoorwayLeft = 28, kDoorwayTop = 44, kDoorwayWidth = 72, kDoorwayHeight = 139;

// Every sprite above, by the names the base world's map objects give as their frames.
std::vector<ScenerySprite> PaintScenery();

// The pictures of the things that hang on a wall's face, each lying flat on the wall, with a clear
// background and a soft shadow on the wall below and right of it; their sizes are in the view's
// scale, 336 texels to a cell's width and 240 to a level's height. Banners (red with a gold tower,
// blue with a white one), a chest built into the wall, a hanging cupboard, a lever on (down) and off
// (up), a stone plaque with writing scratched in, a framed picture, a loose stone of `wall` (a wall
// texture as it lies in the world) standing out and pushed in, a gap broken through the foot of the
// wall, a sconce with a torch, and a house door set into the wall, with and without a sign over it.
std::vector<ScenerySprite> PaintWallHangings(const Canvas& wall);

// The faces of the town's house walls, painted over the stone wall texture they are built of (its
// courses and size, 256 x 128 with the width running down the face): the ground storey with a window
// between open shutters, the same storey with a closed door, and the upper storey with a smaller
// window behind closed shutters.
enum class HouseFace { Window, Door, UpperWindow };
Canvas HouseWall(const Canvas& stone, HouseFace face);
// A wall-high rack of wine bottles lying in their places, in the size of the stone wall texture and
// lying on its side like it: the faces of a block of racks standing in a cellar.
Canvas WineRack(const Canvas& stone);

// The vale's ground textures, in the size of the stone floor texture they stand beside (256 x 128):
// grass and the still water of its ponds.
Canvas ValeGrass();
Canvas ValeWater();

}  // namespace world
