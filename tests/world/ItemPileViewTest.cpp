// The items lying in a cell as the game view hands them to the 3D view: the bag of the cell numbered
// among the window's piles and its group filled with the pictures its items name, on the built
// cellar whose bag (coins and an iron helm) lies at (20, 16).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/TextureSet.h"
#include "tests/world/BuiltViewFixture.h"
#include "world/GameScreen.h"

namespace {

constexpr i32 kPileX = 20, kPileY = 16;

class ItemPileViewTest : public builtview::BuiltViewTest {
protected:
    void SetUp() override {
        builtview::BuiltViewTest::SetUp();
        if (HasFatalFailure()) return;
        cellar = view->section;
        ASSERT_STREQ(cellar->GetName(), "base_cellar");
        const CMapCell* cell = view->window.Cell(kPileX, kPileY);
        ASSERT_NE(cell, nullptr);
        bag = cellar->bags.FindBagById(static_cast<u8>(cell->bag));
        ASSERT_NE(bag, nullptr);
        helm = built.lists.items.FindItemType("base_helm_iron");
        coins = built.lists.items.FindItemType("base_money_100");
        ASSERT_TRUE(helm && coins);
    }
    u16 PictureOf(const CItemType& type) const { return built.textures.FindPictureIndex(type.texts[1]); }
    u16 GroupOf(i32 x, i32 y) const {
        return view->viewState.cellViews[static_cast<size_t>(y * kWindowCells + x)].pictureGroup;
    }
    // The group of a cell's pile as the view keeps it, all ten entries.
    std::vector<u16> PileOf(i32 x, i32 y) const {
        const u16 group = GroupOf(x, y);
        if (group == 0) return {};
        const CPictureGroup& g = view->viewState.pictureGroups[group];
        return std::vector<u16>(std::begin(g.pictures), std::end(g.pictures));
    }
    void Put(CItemBag& into, const CItemType& type) {
        auto* item = new CItemInstance;
        item->type = &type;
        item->count = 1;
        into.AddItem(item);
    }

    CMapSection* cellar = nullptr;
    CItemBag* bag = nullptr;
    const CItemType* helm = nullptr;
    const CItemType* coins = nullptr;
};

TEST_F(ItemPileViewTest, ABagShowsThePicturesOfItsFirstTenItemsThatHaveOne) {
    const u16 h = PictureOf(*helm), c = PictureOf(*coins);
    ASSERT_NE(h, 0);
    ASSERT_NE(c, 0);
    ASSERT_NE(h, c);
    EXPECT_EQ(PileOf(kPileX, kPileY), (std::vector<u16>{c, h, 0, 0, 0, 0, 0, 0, 0, 0}));

    // An item whose type names no picture takes no place among the ten; past ten nothing more shows.
    CItemType unseen;
    const struct {
        const char* what;
        std::vector<const CItemType*> items;
        std::vector<u16> pile;
    } cases[] = {
        {"empty", {}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"no picture between", {helm, &unseen, coins}, {h, c, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"twelve", std::vector<const CItemType*>(12, helm), {h, h, h, h, h, h, h, h, h, h}},
        {"eleven after one unseen", [&] {
             std::vector<const CItemType*> v{&unseen};
             for (int i = 0; i < 10; ++i) v.push_back(i == 9 ? coins : helm);
             v.push_back(coins);
             return v;
         }(),
         {h, h, h, h, h, h, h, h, h, c}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        bag->RemoveAllItems();
        for (const CItemType* t : k.items) Put(*bag, *t);
        view->RebuildCell(kPileX, kPileY);
        ASSERT_NE(GroupOf(kPileX, kPileY), 0) << "the bag is numbered while it lies there";
        EXPECT_EQ(PileOf(kPileX, kPileY), k.pile);
    }
    bag->RemoveAllItems();
}

TEST_F(ItemPileViewTest, PilesAreNumberedApartAndABagPutDownLaterTakesANumber) {
    const u16 first = GroupOf(kPileX, kPileY);
    ASSERT_NE(first, 0);
    EXPECT_FALSE(view->window.HasUnnumberedPile());

    // A second bag in a bare cell: not drawn until the piles are numbered again, then apart.
    const i32 x = kPileX - 2, y = kPileY;
    ASSERT_EQ(view->window.Cell(x, y)->bag, 0);
    CItemBag* dropped = cellar->bags.CreateBag(0);
    ASSERT_NE(dropped, nullptr);
    ASSERT_EQ(view->window.PutBagInCell(cellar, x, y, *dropped), 1);
    Put(*dropped, *helm);
    view->RebuildCell(x, y);
    EXPECT_EQ(GroupOf(x, y), 0);
    EXPECT_TRUE(view->window.HasUnnumberedPile());
    view->RebuildViewCaches();
    EXPECT_FALSE(view->window.HasUnnumberedPile());
    const u16 second = GroupOf(x, y);
    ASSERT_NE(second, 0);
    EXPECT_NE(second, GroupOf(kPileX, kPileY));
    EXPECT_EQ(PileOf(x, y)[0], PictureOf(*helm));
    EXPECT_EQ(PileOf(kPileX, kPileY)[0], PictureOf(*coins));

    // The cellar's bag taken away and another one put in its cell: the old number is not the new
    // bag's, so the new one is drawn only once numbered and never with the old bag's pictures.
    const u8 oldId = bag->id;
    view->window.Cell(kPileX, kPileY)->bag = 0;
    cellar->bags.RemoveBag(bag);
    bag = nullptr;
    CItemBag* other = cellar->bags.CreateBag(0);
    ASSERT_NE(other, nullptr);
    ASSERT_NE(other->id, oldId);
    ASSERT_EQ(view->window.PutBagInCell(cellar, kPileX, kPileY, *other), 1);
    Put(*other, *helm);
    EXPECT_EQ(view->window.PictureGroupIndex(kPileX, kPileY), 0);
    EXPECT_TRUE(view->window.HasUnnumberedPile());
    view->RebuildViewCaches();
    EXPECT_EQ(PileOf(kPileX, kPileY)[0], PictureOf(*helm));
    EXPECT_EQ(PileOf(kPileX, kPileY)[1], 0);

    // A cell whose bag is gone shows nothing.
    view->window.Cell(x, y)->bag = 0;
    cellar->bags.RemoveBag(dropped);
    view->RebuildCell(x, y);
    EXPECT_EQ(GroupOf(x, y), 0);
}

}  // namespace
