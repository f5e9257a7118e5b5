// The crypt's shrine as a player sees it: the old bell that its script rings, hung in a frame of its
// own, not the wooden signpost that the town's sign (the same type of object) draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/PlayRig.h"
#include "tests/support/Png.h"
#include "world/GameScreen.h"
#include "world/GameViewWorld.h"
#include "world/MapObject.h"

namespace {

using testing_support::kNorth;
using testing_support::PlayRig;
using testing_support::Rgb565Image;

// From two cells south of the shrine, facing it: its cell names the bell's picture, the view draws
// it, and the same cell drawn with the signpost's picture looks different over a good part of the
// view ahead; a step closer, the use key still runs its script. The town's sign, the gallery object
// of the same type, keeps its signpost.
TEST(ShrineBellInPlay, TheShrineIsABellNotTheTownsSignpost) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    CMapObjectTable& objects = view->viewWorld->Objects();
    const CTextureSet& textures = rig.Game()->GetTextures();
    const u16 bell = textures.FindPictureIndex("bres_shrinebell"),
              signpost = textures.FindPictureIndex("bres_signpost");
    ASSERT_NE(bell, 0);
    ASSERT_NE(signpost, 0);

    const CMapObject* townSign = objects.FindByName("base_obj19");
    ASSERT_NE(townSign, nullptr);
    EXPECT_EQ(townSign->PictureId(0), signpost) << "the town's sign stays a signpost";

    CMapSection* crypt = rig.Game()->worlds->Current()->FindSectionByName("base_crypt");
    ASSERT_NE(crypt, nullptr);
    view->EnterMapAt(rig.Game()->worlds->Current(), crypt, 17, 5, 0);
    rig.SettleView();
    ASSERT_EQ(view->section, crypt);
    rig.Calm();
    rig.PlaceAt(17, 5, kNorth);

    const CMapCell* cell = view->window.Cell(17, 3);
    ASSERT_NE(cell, nullptr);
    CMapObject* shrine = objects.At(cell->centre);
    ASSERT_NE(shrine, nullptr);
    EXPECT_EQ(shrine->GetTypeCode(), 19) << "it still works as a sign: the use key runs its script";
    EXPECT_NE(shrine, townSign);
    ASSERT_EQ(shrine->PictureId(0), bell);
    const CPlacement* placement = crypt->FindPlacementByName("base_crypt_shrine");
    ASSERT_NE(placement, nullptr);
    EXPECT_EQ(placement->x, 17);
    EXPECT_EQ(placement->y, 3);
    EXPECT_EQ(rig.GateEntry(17, 3).picture[0], bell) << "the view describes the cell with the bell";

    const Rgb565Image built = rig.FreshFrame();
    const std::vector<u16> own = shrine->pictureIds;
    shrine->pictureIds[0] = signpost;
    view->RebuildViewCaches();
    const Rgb565Image asSign = rig.FreshFrame();
    shrine->pictureIds = own;
    view->RebuildViewCaches();
    ASSERT_EQ(built.width, asSign.width);
    ASSERT_EQ(built.height, asSign.height);
    const auto& v = view->viewState;
    const int middle = (v.viewWidth * 2 / 3 - v.viewWidth / 3) * v.viewHeight;
    EXPECT_GT(rig.DifferingInTheMiddle(built, asSign) * 6, middle) << "a sixth of the view ahead differs";
    EXPECT_TRUE(testing_support::MatchesGolden("app_crypt_shrine_bell", built));

    // Walked up to, it still answers the use key with its placement's script.
    rig.PlaceAt(17, 4, kNorth);
    rig.Use();
    EXPECT_EQ(rig.LastQueuedText().rfind("An old bell hangs over the shrine.", 0), 0u) << rig.LastQueuedText();
    rig.CloseMessage();
}

}  // namespace
