// The enchant and recharge item selection on the interface database that the build writes: what it
// lists, the storage limit, and where the chosen item goes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "data/RuleContext.h"
#include "screens/npc/EnchantSelectDialog.h"
#include "tests/screens/npc/CraftTestSupport.h"
#include "tests/support/FrameRig.h"

namespace {

using Host = craft_testing::FakeCraftHost;
using craft_testing::OwnerStandIn;

class Entries : public IEnchantEntryEditor {
public:
    CForm* OpenEntry(const CEffect& entry, int, int) override {
        CopyEffect(edited, entry);
        return &form;
    }
    const CEffect& GetEditedEntry() const override { return edited; }
    CForm form;
    CEffect edited;
};

class EnchantSelect : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.StartOnBuiltDatabase());
        owner.Attach(rig.Game());
        dialog.Attach(rig.Game());
        dialog.SetHost(&host, &entries);
        Define(sword, "w_sword", "Sword", kItemWeapon, 1, 40);
        Define(club, "w_club", "Club", kItemWeapon, 1, 0);
        Define(blank, "m_blank", "Blank scroll", kItemMagic, 1, 60);
        Define(wand, "m_wand", "Wand", kItemMagic, 4, 0);
        wand.effects = new CEffectList;
        auto* cast = new CEffect;
        cast->kind = kEffectCastSpell;
        cast->amount = 10;
        cast->SetId("s_unknown");
        wand.effects->Add(cast);
        npc.SetName("Ilsabet");
        npc.bytes[3] = 5;  // enchant level
    }
    static void Define(CItemType& t, const char* id, const char* name, int itemClass, int subclass,
                       int storage) {
        t.SetName(id);
        t.name = name;
        t.itemClass = static_cast<u8>(itemClass);
        t.subclass = static_cast<u8>(subclass);
        t.enchantCapacity = static_cast<u16>(storage);
    }
    void Open(const CNpc* enchanter, int level, bool recharge) {
        owner.OpenModal(&dialog);
        dialog.Open(enchanter, level, recharge);
    }

    testing_support::FrameRig rig;
    Host host;
    Entries entries;
    OwnerStandIn owner;
    CEnchantSelectDialog dialog;
    CItemType sword, club, blank, wand;
    CNpc npc;
};

}  // namespace

TEST_F(EnchantSelect, ListsWhatCanBeEnchantedAndTheEnchantersLimit) {
    host.Carry(club);
    host.Carry(sword);
    host.Carry(wand, 10);  // full
    host.Carry(wand, 9);   // one short
    Open(&npc, 15, false);
    EXPECT_EQ(dialog.Limit(), 15);
    EXPECT_STREQ(dialog.limitText.text.GetText(), "Ilsabet can enchant items up to 15 storage.");
    ASSERT_EQ(dialog.items.GetCount(), 2);
    EXPECT_EQ(dialog.ItemOfRow(0), host.items[1].get());
    EXPECT_EQ(dialog.ItemOfRow(1), host.items[3].get());
    EXPECT_EQ(dialog.items.selection, -1);
    EXPECT_EQ(dialog.ItemOfRow(2), nullptr);

    Open(nullptr, 4, false);
    EXPECT_EQ(dialog.Limit(), 12);
    EXPECT_STREQ(dialog.limitText.text.GetText(), "You can enchant items up to 12 storage.");
    Open(nullptr, 0, true);
    EXPECT_STREQ(dialog.title.text.GetText(), "Select the item to be recharged");
    EXPECT_EQ(dialog.items.GetCount(), 1);
}

TEST_F(EnchantSelect, AnEnchantedItemLeavesTheListAtTheEnchanter) {
    host.Carry(sword);
    host.Carry(sword);
    Open(&npc, 15, false);
    dialog.items.selection = 1;
    dialog.OnCommand(CEnchantSelectDialog::kUse);
    ASSERT_EQ(dialog.GetState(), CEnchantSelectDialog::kFollowUp);
    ASSERT_EQ(dialog.modalChild, &dialog.enchanting);
    EXPECT_EQ(dialog.enchanting.Capacity(), 15);
    // One entry through the entry dialog, then Ok and the success message.
    dialog.enchanting.OnCommand(CEnchantDialog::kAdd);
    entries.edited.kind = 1;  // fortify skill 1 by 1: 15 storage, the whole limit
    entries.edited.amount = 1;
    entries.edited.target = 1;
    dialog.enchanting.OnCommand(CEnchantDialog::kOk);
    dialog.enchanting.OnCommand(CEnchantDialog::kOk);
    EXPECT_EQ(dialog.enchanting.GetState(), CEnchantDialog::kSucceeded);
    dialog.enchanting.OnCommand(1);
    EXPECT_EQ(dialog.GetState(), CEnchantSelectDialog::kChoosing);
    EXPECT_NE(host.items[1]->effects, nullptr);
    EXPECT_EQ(dialog.items.GetCount(), 1);
    EXPECT_EQ(dialog.items.selection, 0);  // the last row
    EXPECT_GE(host.reapplied, 1);
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(EnchantSelect, ThroughASpellAWandIsRechargedOnTheSpotOrRefused) {
    host.Carry(wand, 3);
    Open(nullptr, 0, true);
    dialog.items.selection = 0;
    dialog.OnCommand(CEnchantSelectDialog::kUse);
    EXPECT_EQ(dialog.GetState(), CEnchantSelectDialog::kSpellRecharged);
    EXPECT_EQ(host.items[0]->count, 3);  // its spell is unknown to the world
    dialog.OnCommand(1);
    EXPECT_EQ(owner.commands, std::vector<u32>{CEnchantSelectDialog::kClose});
}

TEST_F(EnchantSelect, AMagicItemWithoutEffectsNeedsAKnownSpell) {
    host.Carry(blank);
    Open(&npc, 15, false);
    dialog.items.selection = 0;
    dialog.OnCommand(CEnchantSelectDialog::kUse);
    EXPECT_EQ(dialog.GetState(), CEnchantSelectDialog::kMessage);
    dialog.OnCommand(1);
    EXPECT_EQ(dialog.GetState(), CEnchantSelectDialog::kChoosing);
    host.knowsSpells = true;
    dialog.OnCommand(CEnchantSelectDialog::kUse);
    EXPECT_EQ(dialog.modalChild, &dialog.enchanting);
}
