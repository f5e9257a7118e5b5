// The 3D view's art as the world writer will store it, read back with the game's picture reader: the
// textures of a ground polygon share one layout, masks cover their textures, skies have the
// panorama's size.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "display/Picture.h"
#include "tools/content/art3d/WorldArt.h"

namespace {

TEST(WorldArtTest, RecordsReadBackWithTheLayoutsTheViewNeeds) {
    const std::vector<art3d::ArtRecord> art = art3d::PaintWorldArt();
    std::map<std::string, CPictureData> read;
    for (const art3d::ArtRecord& a : art) {
        CPictureData p;
        ASSERT_TRUE(ReadPicture(a.record.data(), a.record.size(), p)) << a.name;
        read[a.name] = p;
    }
    for (const char* name :
         {"floor.flagstone", "ground.grass", "ground.dirt", "ground.moss", "ceiling.boards"}) {
        EXPECT_EQ(read[name].width, 256) << name;
        EXPECT_EQ(read[name].height, 256) << name;
        EXPECT_EQ(read[name].encoding, 0) << name;
    }
    for (const char* name : {"mask.patches", "mask.spots"}) {
        const CMaskDesc m = MaskDescOf(read[name]);
        EXPECT_EQ(m.width, 256) << name;
        EXPECT_GE(m.height, 256) << name;
        // Patches: some bits set, some clear.
        int set = 0;
        for (int y = 0; y < 256; y += 2)
            for (int x = 0; x < 256; x += 2) set += MaskBit(m, x, y);
        EXPECT_GT(set, 500) << name;
        EXPECT_LT(set, 128 * 128 - 500) << name;
    }
    for (const char* name : {"sky.day", "sky.night", "sky.dawn", "sky.thunder"}) {
        EXPECT_EQ(read[name].width, art3d::kSkyWidth) << name;
        EXPECT_EQ(read[name].height, art3d::kSkyHeight) << name;
    }
    // Pictures keep their see-through parts; walls are square textures.
    EXPECT_TRUE(PictureTexelIsClear(read["sprite.tree"], 0, 0));
    EXPECT_FALSE(PictureTexelIsClear(read["sprite.tree"], 48, 120));
    EXPECT_TRUE(PictureTexelIsClear(read["door.frame"], 128, 128));
    EXPECT_EQ(read["wall.stone"].width, 256);
    EXPECT_EQ(read["roof.tiles"].width, 256);
}

}  // namespace
