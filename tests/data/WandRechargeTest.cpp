// Recharging a wand at an enchanter, over a small world whose spells the wands cast: the price from
// the wand's value, the gold check, the refill and the spells that cannot be recharged.
#include <gtest/gtest.h>

#include <vector>

#include "data/ItemType.h"
#include "data/Npc.h"
#include "screens/npc/CraftRules.h"
#include "screens/npc/RechargeDialog.h"
#include "tests/data/RuleFixture.h"
#include "tests/screens/npc/CraftTestSupport.h"
#include "tests/support/FrameRig.h"

namespace {

using Host = craft_testing::FakeCraftHost;
using SelectionStandIn = craft_testing::OwnerStandIn;

struct Wand {
    explicit Wand(const char* spell, int charges, int maximum) {
        type.SetName("m_wand");
        type.name = "Wand";
        type.itemClass = kItemMagic;
        type.subclass = 4;
        type.effects = new CEffectList;
        auto* e = new CEffect;
        e->kind = kEffectCastSpell;
        e->mode = kModeCast;
        e->amount = static_cast<i16>(maximum);
        e->SetId(spell);
        type.effects->Add(e);
        item.type = &type;
        item.count = static_cast<u16>(charges);
    }
    CItemType type;
    CItemInstance item;
};

}  // namespace

TEST(WandRecharge, PricesFollowTheValueOfTheMissingCharges) {
    RuleWorld world;
    struct Row {
        int charges, maximum, level;
    } rows[] = {{9, 10, 10}, {9, 10, 15}, {0, 10, 10}, {10, 10, 10}};
    for (const Row& r : rows) {
        Wand wand("base_spellfire", r.charges, r.maximum);
        wand.item.count = static_cast<u16>(r.charges);
        i32 now = static_cast<i32>(wand.type.GetValue(&wand.item, world.game));
        wand.item.count = static_cast<u16>(r.maximum);
        i32 full = static_cast<i32>(wand.type.GetValue(&wand.item, world.game));
        wand.item.count = static_cast<u16>(r.charges);
        i32 price = craft::ComputeRechargePrice(wand.item, world.game, r.level);
        EXPECT_EQ(price, (full - now) * r.level / 10) << r.charges << "/" << r.maximum;
        EXPECT_EQ(wand.item.count, r.charges);  // the charges are set back
        if (r.charges < r.maximum) {
            EXPECT_GT(price, 0);
        }
    }
}

TEST(WandRecharge, TheDialogRefillsForGoldOrRefuses) {
    RuleWorld world;
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    Host host(world.game);
    CNpc npc;
    npc.SetName("n_enchanter");
    SelectionStandIn selection;
    selection.Attach(rig.Game());
    CRechargeDialog dialog;
    dialog.Attach(rig.Game());
    dialog.SetHost(&host);

    Wand wand("base_spellfire", 3, 10);
    selection.OpenModal(&dialog);
    dialog.Open(&npc, &wand.item);
    const i32 price = dialog.Price();
    ASSERT_GT(price, 0);
    host.gold = static_cast<u32>(price - 1);
    dialog.OnCommand(CRechargeDialog::kRecharge);
    EXPECT_EQ(dialog.GetState(), CRechargeDialog::kNoGold);
    dialog.OnCommand(1);
    EXPECT_EQ(dialog.GetState(), CRechargeDialog::kShown);
    EXPECT_TRUE(selection.commands.empty());
    EXPECT_EQ(wand.item.count, 3);

    host.gold = static_cast<u32>(price);  // exactly the price
    dialog.OnCommand(CRechargeDialog::kRecharge);
    EXPECT_EQ(dialog.GetState(), CRechargeDialog::kDone);
    EXPECT_EQ(wand.item.count, 10);
    EXPECT_EQ(host.gold, 0u);
    dialog.OnCommand(1);
    EXPECT_EQ(selection.commands, std::vector<u32>{CRechargeDialog::kRecharge});

    // A wand whose spell the world does not know: no charge and no gold taken, and the price of a
    // value that does not grow is 0, never a payment to the player.
    Wand lost("base_spellgone", 1, 10);
    selection.commands.clear();
    selection.OpenModal(&dialog);
    dialog.Open(&npc, &lost.item);
    EXPECT_EQ(dialog.Price(), 0);
    host.gold = 50;
    dialog.OnCommand(CRechargeDialog::kRecharge);
    EXPECT_EQ(lost.item.count, 1);
    EXPECT_EQ(host.gold, 50u);
    dialog.OnCommand(1);
    EXPECT_EQ(selection.commands, std::vector<u32>{CRechargeDialog::kRecharge});
}
