// A small surface scene painted with the content builder's world art: grass with a masked dirt path,
// brick houses with roofs joined by their joint codes, a door, trees, barrels, the day sky with rain,
// and a picture held over the view's lower-left corner. Golden frames at several headings; the same
// frame in every orientation of the frame buffer.
#include "SceneFixture.h"
#include "GoldenPoses.h"

#include "tools/content/Canvas.h"
#include "tools/content/PictureEncoder.h"
#include "tools/content/art3d/WorldArt.h"
#include "view3d/ViewCaches.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const std::vector<std::string> kVillage = {
    "...............", "...............", "..HH.....HHH...", "..HH.....HHH...", "...............",
    "...............", "...............", "...............", "...............", "...............",
};

enum : u16 {
    kGrass = 40,
    kDirt,
    kMaskId,
    kBrickWall,
    kRoofId,
    kTree,
    kBarrel,
    kSkyDay,
    kBanner,
    kFrameId,
    kLeafId
};

void Build(scene::Scene& s) {
    std::map<std::string, std::vector<u8>> art;
    for (auto& a : art3d::PaintWorldArt()) art[a.name] = std::move(a.record);
    s.pictures.Add(kGrass, art["ground.grass"]);
    s.pictures.Add(kDirt, art["ground.dirt"]);
    s.pictures.Add(kMaskId, art["mask.patches"]);
    s.pictures.Add(kBrickWall, art["wall.brick"]);
    s.pictures.Add(kRoofId, art["roof.tiles"]);
    s.pictures.Add(kTree, art["sprite.tree"]);
    s.pictures.Add(kBarrel, art["sprite.barrel"]);
    s.pictures.Add(kSkyDay, art["sky.day"]);
    s.pictures.Add(kBanner, art["picture.banner"]);
    s.pictures.Add(kFrameId, art["door.frame"]);
    s.pictures.Add(kLeafId, art["door.leaf1"]);
    CViewState3D& v = *s.view;
    v.flags |= kViewFlagSky | kViewFlagWeather;
    v.skyTexture = kSkyDay;
    v.fogColour = 0xBE5B;
    v.visibleDistance = 7 * kFogStep;
    v.fogStart = 3 * kFogStep;

    CGroundCacheEntry grass;
    grass.texture[0] = kGrass;
    const u16 grassIndex = s.AddGround(grass);
    CGroundCacheEntry path = grass;
    path.texture[1] = kDirt;
    path.maskA = kMaskId;
    const u16 pathIndex = s.AddGround(path);
    for (i32 y = 0; y < 10; ++y)
        for (i32 x = 0; x < 15; ++x) {
            CCellView& c = s.CellAt(x, y);
            c = CCellView{};
            s.OverlayAt(x, y) = CCellOverlayView{0, 0, 256};
            if (kVillage[static_cast<size_t>(y)][static_cast<size_t>(x)] == 'H') {
                // A house block: brick walls up to the block top, a roof joined to its house neighbours.
                u8 mask = 0;
                static constexpr i32 kAround[8][2] = {{0, -1}, {1, -1}, {1, 0},  {1, 1},
                                                      {0, 1},  {-1, 1}, {-1, 0}, {-1, -1}};
                for (i32 k = 0; k < 8; ++k) {
                    const i32 nx = x + kAround[k][0], ny = y + kAround[k][1];
                    if (nx >= 0 && ny >= 0 && nx < 15 && ny < 10 &&
                        kVillage[static_cast<size_t>(ny)][static_cast<size_t>(nx)] == 'H')
                        mask |= static_cast<u8>(1 << k);
                }
                CBlockCacheEntry house;
                house.kind = 2;
                house.picture[0] = kBrickWall;
                house.picture[1] = kRoofId;
                house.model = static_cast<u8>(JointCodeOfMask(ApplyCornerRule(mask)));
                c.lowerBlock = s.AddBlock(house);
                continue;
            }
            c.ground = (x == 6 || y == 6) ? pathIndex : grassIndex;
        }
    // Trees and a barrel group.
    u16 object = 1;
    for (auto [x, y] : {std::pair{1, 5}, std::pair{12, 7}, std::pair{8, 1}, std::pair{3, 8}}) {
        v.cellObjects[object] = CCellObject{kTree, 0, scene::Units(512), scene::Units(512), 0, 0, 0};
        s.CellAt(x, y).cellObject[0] = object++;
    }
    CBlockCacheEntry barrels;
    barrels.kind = 5;
    barrels.picture[0] = barrels.picture[1] = kBarrel;
    barrels.x[0] = scene::Units(350), barrels.y[0] = scene::Units(400);
    barrels.x[1] = scene::Units(650), barrels.y[1] = scene::Units(600);
    s.CellAt(8, 4).lowerBlock = s.AddBlock(barrels);
    // A banner held over the lower-left corner, half slid in.
    v.overlayA = kBanner;
    v.overlayAHeight = 60;
    v.overlayAWidth = 100;
}

void Rain(scene::Scene& s) {
    CWeatherParameters rain;
    rain.angle = 10 << 16;
    rain.colour = 0xCE79;
    rain.a = 8 << 16, rain.b = 20 << 16, rain.d = 200 << 16, rain.e = 300 << 16;
    s.renderer->SetupView();
    s.renderer->StartWeatherParticles(150, rain);
}

TEST(WorldArtSceneTest, SurfaceGoldenFrames) {
    scene::ExpectGoldenFrames(kVillage, &Build,
                              {
                                  {"view3d_surface_0", 6, 8, 512, 512, 0},
                                  {"view3d_surface_45", 7, 8, 300, 600, 45 << 16},
                                  {"view3d_surface_300", 4, 6, 512, 512, 300 << 16},
                              },
                              &Rain);
}

TEST(WorldArtSceneTest, EveryOrientationDrawsTheSurfaceAlike) {
    const scene::OrientationFrames f = scene::RenderInEveryOrientation(
        kVillage, 240, 150, [](scene::Scene& s) { Build(s), Rain(s); }, 6, 8, 512, 512, (10 << 16) + 0x4321);
    for (int o = 0; o < 3; ++o) EXPECT_TRUE(f.guards[o]) << o;
    EXPECT_EQ(f.frames[0], f.frames[1]);
    EXPECT_EQ(f.frames[0], f.frames[2]);
}

}  // namespace
