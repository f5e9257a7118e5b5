// The quick-drink dialog on the interface database that the build writes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "data/ItemType.h"
#include "screens/npc/PotionDialog.h"
#include "tests/screens/npc/CraftTestSupport.h"
#include "tests/support/FrameRig.h"

namespace {

using GameViewStandIn = craft_testing::OwnerStandIn;

class PotionDialogTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.StartOnBuiltDatabase());
        view.Attach(rig.Game());
        dialog.Attach(rig.Game());
        red.SetName("p_red");
        red.name = "Healing";
        red.itemClass = kItemPotion;
        blue.SetName("p_blue");
        blue.name = "Mana";
        blue.itemClass = kItemPotion;
        blue.rarity = 2;
        bread.SetName("f_bread");
        bread.name = "Bread";
        bread.itemClass = kItemComestible;
    }
    void Carry(const CItemType& type) {
        auto item = std::make_unique<CItemInstance>();
        item->type = &type;
        owned.push_back(std::move(item));
        carried.push_back(owned.back().get());
    }
    int Open() {
        view.OpenModal(&dialog);
        return dialog.Open(carried);
    }

    testing_support::FrameRig rig;
    GameViewStandIn view;
    CPotionDialog dialog;
    CItemType red, blue, bread;
    std::vector<std::unique_ptr<CItemInstance>> owned;
    std::vector<CItemInstance*> carried;
};

}  // namespace

TEST_F(PotionDialogTest, OneRowPerTypeWithItsCount) {
    Carry(bread);
    Carry(red);
    Carry(red);
    Carry(red);
    Carry(blue);
    EXPECT_EQ(Open(), 2);
    EXPECT_STREQ(dialog.potions.GetItem(0)->label.GetText(), "Mana");  // rarer first
    EXPECT_STREQ(dialog.potions.GetItem(1)->label.GetText(), "Healing (3)");
    EXPECT_EQ(dialog.potions.selection, 0);
    EXPECT_EQ(dialog.GetSelectedPotion(carried), carried[4]);
    dialog.potions.selection = 1;
    EXPECT_EQ(dialog.GetSelectedPotion(carried), carried[1]);  // the first of the three
    // The items changed under the dialog: an index past them gives nothing.
    std::vector<CItemInstance*> fewer(carried.begin(), carried.begin() + 1);
    EXPECT_EQ(dialog.GetSelectedPotion(fewer), nullptr);
    dialog.OnCommand(CPotionDialog::kDrink);
    EXPECT_EQ(view.commands, std::vector<u32>{CPotionDialog::kDrink});
}

TEST_F(PotionDialogTest, NoPotionsNoSelectionAndATapOutsideCancels) {
    Carry(bread);
    EXPECT_EQ(Open(), 0);
    EXPECT_EQ(dialog.potions.selection, -1);
    EXPECT_EQ(dialog.GetSelectedPotion(carried), nullptr);
    EXPECT_EQ(dialog.pageUp.state & kWidgetPenEnabled, 0);
    EXPECT_EQ(dialog.pageDown.state & kWidgetPenEnabled, 0);
    dialog.OnCommand(CPotionDialog::kPageDown);  // nothing to page
    EXPECT_EQ(dialog.potions.topRow, 0);
    rig.Game()->tickCounter++;
    dialog.OnPen(static_cast<i32>(dialog.x) - 5, static_cast<i32>(dialog.y) + 5, 1, 0);
    EXPECT_EQ(view.commands, std::vector<u32>{CPotionDialog::kCancel});
}
