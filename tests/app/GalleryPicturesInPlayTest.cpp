// The gallery's free-standing things as a player sees them: each has pictures of its own, not the
// wall's stone that every object once drew by default. The way out of the cellar at the gallery's
// west end is a dark arch that a player can tell from a block of wall.
#include <gtest/gtest.h>

#include "tests/app/PlayRig.h"
#include "tests/support/Png.h"
#include "world/GameScreen.h"
#include "world/GameViewWorld.h"
#include "world/MapObject.h"

namespace {

using testing_support::kNorth;
using testing_support::kSouth;
using testing_support::PlayRig;
using testing_support::Rgb565Image;

// Each object seen from two cells away, once as built and once with the stone pictures (the wall's,
// then the floor's) that a gallery object without pictures of its own draws: they must look
// different over a good part of the view, which a stone-coloured picture or a plain block would not.
TEST(GalleryPicturesInPlay, EachThingLooksLikeItselfNotTheWallsStone) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    CMapObjectTable& objects = view->viewWorld->Objects();
    const CTextureSet& textures = rig.Game()->GetTextures();
    const u16 wall = textures.FindPictureIndex("bres_wallstone"),
              floor = textures.FindPictureIndex("bres_floorstone");
    ASSERT_NE(wall, 0);
    ASSERT_NE(floor, 0);
    const struct {
        int typeCode, x, y, standY, facing;
        const char* what;
    } cases[] = {
        {7, 12, 4, 2, kSouth, "the way out of the cellar"},
        {8, 14, 4, 2, kSouth, "the second way out"},
        {5, 10, 4, 2, kSouth, "the wine rack"},
        {29, 4, 7, 9, kNorth, "the crates"},
        {32, 10, 7, 9, kNorth, "the statue"},
        {38, 22, 7, 9, kNorth, "the altar"},
        {41, 26, 7, 9, kNorth, "the fountain"},
    };
    const auto& v = view->viewState;
    const int middle = (v.viewWidth * 2 / 3 - v.viewWidth / 3) * v.viewHeight;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CMapCell* cell = view->window.Cell(c.x, c.y);
        ASSERT_NE(cell, nullptr);
        CMapObject* object = objects.At(cell->centre);
        ASSERT_NE(object, nullptr);
        ASSERT_EQ(object->typeCode, c.typeCode);
        ASSERT_FALSE(object->pictureIds.empty());
        EXPECT_NE(object->pictureIds[0], wall) << "its own picture";
        rig.PlaceAt(c.x, c.standY, c.facing);
        const Rgb565Image built = rig.FreshFrame();

        const std::vector<u16> own = object->pictureIds;
        object->pictureIds[0] = wall;
        if (object->pictureIds.size() > 1) object->pictureIds[1] = floor;
        view->RebuildViewCaches();
        const Rgb565Image stone = rig.FreshFrame();
        object->pictureIds = own;
        view->RebuildViewCaches();

        ASSERT_EQ(built.width, stone.width);
        ASSERT_EQ(built.height, stone.height);
        EXPECT_GT(rig.DifferingInTheMiddle(built, stone) * 6, middle) << "a sixth of the view ahead differs";
        if (c.typeCode == 7) {
            EXPECT_TRUE(testing_support::MatchesGolden("app_gallery_way_out", built));
        }
    }
}

// Walked up to from the north, the way out is a dark opening: the middle of the view straight ahead
// (the arch's mouth) is far darker than the floor before it, where a block of wall is as light.
TEST(GalleryPicturesInPlay, TheWayOutIsADarkOpening) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    rig.PlaceAt(12, 3, kSouth);
    const Rgb565Image frame = rig.FreshFrame();
    const auto& v = rig.View()->viewState;
    auto brightness = [&](int x0, int y0, int x1, int y1) {
        long sum = 0, n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x, ++n) {
                const u16 p = frame.At(x, y);
                sum += ((p >> 11) & 31) * 2 + ((p >> 5) & 63) + (p & 31) * 2;
            }
        return n ? sum / n : 0;
    };
    const int cx = v.viewX + v.viewWidth / 2, cy = v.viewY + v.viewHeight / 2;
    const long mouth = brightness(cx - v.viewWidth / 20, cy - v.viewHeight / 10, cx + v.viewWidth / 20, cy);
    const long ground = brightness(cx - v.viewWidth / 20, v.viewY + v.viewHeight * 9 / 10,
                                   cx + v.viewWidth / 20, v.viewY + v.viewHeight);
    EXPECT_LT(mouth * 3, ground) << "mouth " << mouth << ", ground " << ground;
}

}  // namespace
