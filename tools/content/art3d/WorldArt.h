// Painting of the 3D view's art, for the world databases: ground and ceiling textures (256 texels wide,
// all of one encoding, so that the textures and masks of one ground polygon share their layout),
// one-bit ground masks, wall textures (their width runs down the face), wall decals and pictures,
// door frames and leaves, roofs for the block models, sprites and the sky panoramas (760 x 110: 100
// rows of sky over a 10-row strip that fades into the fog).
//
// The world writer calls PaintWorldArt() and stores each record under its name; the ids and palette
// ids are the writer's to give.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/content/Canvas.h"

namespace art3d {

inline constexpr int kGroundWidth = 256;
inline constexpr int kSkyWidth = 760;
inline constexpr int kSkyHeight = 110;

enum class SkyKind { Day, Night, Dawn, Thunder };

// Ground and ceiling textures, 256 x 256.
Canvas FlagstoneFloor(uint32_t seed);
Canvas GrassGround(uint32_t seed);
Canvas DirtPath(uint32_t seed);     // a second ground layer
Canvas MossPatches(uint32_t seed);  // a third ground layer
Canvas CeilingBoards(uint32_t seed);
// Walls: 256 x 256 with the courses along the texture's columns.
Canvas StoneWall(uint32_t seed);
Canvas BrickWall(uint32_t seed);
// Pictures with see-through parts (alpha 0).
Canvas TorchDecal();              // 32 x 64, a wall decal
Canvas BannerPicture();           // 48 x 96, an upright wall picture
Canvas DoorFrame();               // 256 x 256: posts and lintel round an open middle
Canvas DoorLeaf(int style);       // 208 x 232; style 0..3 changes the planking
Canvas RoofTiles(uint32_t seed);  // 256 x 128 for the block models
Canvas BarrelSprite();            // 40 x 56
Canvas TreeSprite();              // 96 x 160
Canvas Sky(SkyKind kind);

// A one-bit mask record (one bit per 2 x 2 texels of a 256-wide texture) from a canvas whose opaque
// texels are the set ones; its header says 256 x height like the texture it masks.
std::vector<uint8_t> EncodeMask(const Canvas& coverage);
// A patchy coverage canvas for masks: blobs of about `size` texels.
Canvas PatchCoverage(int height, int size, uint32_t seed);

struct ArtRecord {
    std::string name;
    std::vector<uint8_t> record;
};

// Every picture above as a record: the ground and ceiling textures and masks in encoding 0, the rest
// in the encoding the encoder finds smallest.
std::vector<ArtRecord> PaintWorldArt();

}  // namespace art3d
