// Items lying on the floor as a player of a new game sees them: the cellar's bag drawn in the view
// with the pictures of its items, gone from the view once everything is taken, and a bag that the
// player fills by dropping something where none lay showing at once when the panel closes.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/Game.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/TextureSet.h"
#include "data/WorldLists.h"
#include "screens/panels/PanelScreen.h"
#include "tests/app/PlayRig.h"
#include "tests/support/Png.h"
#include "world/GameScreen.h"

namespace {

using testing_support::kNorth;

struct PileRig : testing_support::PlayRig {
    CPanelScreen* Panel() const { return Game()->GetPanelScreen(); }
    CPlayer& Player() const { return Game()->GetPlayer(); }
    const CItemType* Type(const char* id) const { return Game()->worldLists->items.FindItemType(id); }
    // The picture of an item type as the game names it (text 5), by its index in the texture set.
    u16 PictureOf(const CItemType& type) const {
        return Game()->GetTextures().FindPictureIndex(type.texts[1]);
    }
    // The picture ids the view keeps for the pile of a window cell (none: empty).
    std::vector<u16> PileOf(i32 x, i32 y) const {
        const CViewState3D& v = View()->viewState;
        const u16 group = v.cellViews[static_cast<size_t>(y * kWindowCells + x)].pictureGroup;
        std::vector<u16> ids;
        if (group == 0 || group >= v.pictureGroups.size()) return ids;
        for (u16 id : v.pictureGroups[group].pictures)
            if (id != 0) ids.push_back(id);
        return ids;
    }
    // A tap low in the 3D view, where the bag lying in the player's cell is looked into.
    void TapLowInView() {
        const CWidget& v = View()->viewWidget;
        Tap(v.x + v.w / 2, v.y + v.h - v.h / 20);
        Tick(30);
        Tick(30);
    }
    void TapEntry(int index) {
        const CItemList& list = Panel()->inventory.list;
        i32 cx = 0, cy = 0;
        ASSERT_TRUE(list.CellOf(index, cx, cy)) << "entry " << index << " is on the page shown";
        Tap(cx + list.cellWidth / 2, cy + list.cellHeight / 2);
        Tick(30);
    }
    void ClosePanel() {
        TapWidget(Panel()->closeButton);
        Tick(30);
    }
};

constexpr i32 kPileX = 20, kPileY = 16;

// The cellar's bag (coins and an iron helm) lies in the cell ahead of a player at (20, 17) looking
// north: its two pictures are drawn on the floor there. Everything taken from it, the floor is bare.
TEST(ItemPilesInPlay, TheCellarBagIsSeenOnTheFloorUntilItIsEmptied) {
    PileRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    ASSERT_STREQ(view->section->GetName(), "base_cellar");
    const CItemType* coins = rig.Type("base_money_100");
    const CItemType* helm = rig.Type("base_helm_iron");
    ASSERT_TRUE(coins && helm);
    const u16 coinPicture = rig.PictureOf(*coins), helmPicture = rig.PictureOf(*helm);
    ASSERT_NE(coinPicture, 0);
    ASSERT_NE(helmPicture, 0);

    rig.PlaceAt(kPileX, kPileY + 1, kNorth);
    std::vector<u16> pile = rig.PileOf(kPileX, kPileY);
    std::sort(pile.begin(), pile.end());
    std::vector<u16> expected = {coinPicture, helmPicture};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(pile, expected);
    // The view can read both pictures: they are drawn, not left out.
    for (u16 id : expected) EXPECT_NE(view->viewState.pictures->GetViewPicture(id), nullptr) << id;
    const testing_support::Rgb565Image withPile = rig.FreshFrame();
    EXPECT_TRUE(testing_support::MatchesGolden("app_gameview_cellar_pile", withPile));

    // On the pile, a tap low in the view looks into the bag; both items are taken.
    rig.PlaceAt(kPileX, kPileY, kNorth);
    rig.TapLowInView();
    CPanelScreen* panel = rig.Panel();
    ASSERT_EQ(rig.Current(), panel);
    ASSERT_NE(panel->container, nullptr);
    for (int guard = 0; guard < 4 && panel->container->GetItemCount() > 0; ++guard) {
        rig.TapEntry(0);
        rig.TapWidget(panel->inventory.takeButton);
    }
    EXPECT_EQ(panel->container->GetItemCount(), 0);
    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), view);
    EXPECT_TRUE(rig.PileOf(kPileX, kPileY).empty());

    rig.PlaceAt(kPileX, kPileY + 1, kNorth);
    EXPECT_TRUE(rig.PileOf(kPileX, kPileY).empty());
    const testing_support::Rgb565Image bare = rig.FreshFrame();
    EXPECT_FALSE(bare.pixels == withPile.pixels) << "the pile's pictures are gone from the frame";
    EXPECT_TRUE(testing_support::MatchesGolden("app_gameview_cellar_pile_taken", bare));
}

// Something dropped where no bag lay makes a bag there; the view draws it as soon as the panel
// closes, without a step, and again from the next cell.
TEST(ItemPilesInPlay, AnItemDroppedOnABareFloorShowsWhenThePanelCloses) {
    PileRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    const i32 x = view->playerX, y = view->playerY;
    const CMapCell* cell = view->window.Cell(x, y);
    ASSERT_NE(cell, nullptr);
    ASSERT_EQ(cell->bag, 0);
    const CItemType* helm = rig.Type("base_helm_iron");
    ASSERT_NE(helm, nullptr);
    ASSERT_NE(rig.Player().AddItemCopies(1, *helm), nullptr);

    rig.Key('I');
    rig.Tick(30);
    CPanelScreen* panel = rig.Panel();
    ASSERT_EQ(rig.Current(), panel);
    int entry = -1;
    const auto& entries = panel->inventory.lists.GetEntries();
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].item && entries[i].item->type == helm) entry = static_cast<int>(i);
    ASSERT_GE(entry, 0);
    rig.TapEntry(entry);
    rig.TapWidget(panel->inventory.dropButton);
    ASSERT_NE(panel->container, nullptr);
    ASSERT_EQ(panel->container->GetItemCount(), 1);
    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), view);
    ASSERT_NE(cell->bag, 0);

    const std::vector<u16> expected = {rig.PictureOf(*helm)};
    EXPECT_EQ(rig.PileOf(x, y), expected);
    rig.PlaceAt(x, y + 1, kNorth);
    EXPECT_EQ(rig.PileOf(x, y), expected);
}

// On the surface a window cell is not its section's cell: the bag looked into in the town is the one
// whose pile goes when it is emptied.
TEST(ItemPilesInPlay, ABagEmptiedInTheTownLeavesItsCellBare) {
    PileRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGameScreen* view = rig.View();
    ASSERT_TRUE(view->section->IsSurface());
    const i32 x = view->playerX, y = view->playerY;
    CMapSection* at = nullptr;
    i32 sx = 0, sy = 0;
    ASSERT_TRUE(view->window.WindowToSectionCell(x, y, at, sx, sy));
    ASSERT_TRUE(sx != x || sy != y);
    ASSERT_EQ(view->window.Cell(x, y)->bag, 0);
    const CItemType* helm = rig.Type("base_helm_iron");
    ASSERT_NE(helm, nullptr);
    CItemBag* bag = at->bags.CreateBag(0);
    ASSERT_NE(bag, nullptr);
    ASSERT_EQ(view->window.PutBagInCell(at, sx, sy, *bag), 1);
    auto* item = new CItemInstance;
    item->type = helm;
    item->count = 1;
    bag->AddItem(item);
    view->RebuildViewCaches();
    ASSERT_EQ(rig.PileOf(x, y), std::vector<u16>{rig.PictureOf(*helm)});

    rig.TapLowInView();
    CPanelScreen* panel = rig.Panel();
    ASSERT_EQ(rig.Current(), panel);
    ASSERT_EQ(panel->container, bag);
    rig.TapEntry(0);
    rig.TapWidget(panel->inventory.takeButton);
    ASSERT_EQ(bag->GetItemCount(), 0);
    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), view);
    EXPECT_TRUE(rig.PileOf(x, y).empty());
}

// Looking into the bag of the player's cell keeps a small picture of the view as it was, as opening
// a container does.
TEST(ItemPilesInPlay, LookingIntoTheBagOfTheCellKeepsAPictureOfTheView) {
    PileRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    rig.PlaceAt(kPileX, kPileY, kNorth);
    std::fill(view->viewThumbnail.begin(), view->viewThumbnail.end(), u16(0));
    rig.TapLowInView();
    ASSERT_EQ(rig.Current(), rig.Panel());
    EXPECT_TRUE(std::any_of(view->viewThumbnail.begin(), view->viewThumbnail.end(), [](u16 p) { return p != 0; }));
}

}  // namespace
