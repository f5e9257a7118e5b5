// Putting a spell on a wand or a scroll, over a small world whose spells the player knows: the rows
// show the names, the entry keeps the spell's id, and the wand casts what it was given.
#include <gtest/gtest.h>

#include <vector>

#include "data/ItemType.h"
#include "data/Npc.h"
#include "screens/npc/EnchantDialog.h"
#include "screens/npc/EnchantSpellEntryDialog.h"
#include "tests/data/RuleFixture.h"
#include "tests/screens/npc/CraftTestSupport.h"
#include "tests/support/FrameRig.h"

namespace {

using Host = craft_testing::FakeCraftHost;
using SelectionStandIn = craft_testing::OwnerStandIn;

struct Blank {
    Blank(int subclass, const char* name) {
        type.SetName("m_blank");
        type.name = name;
        type.itemClass = kItemMagic;
        type.subclass = static_cast<u8>(subclass);
        type.enchantCapacity = 5000;
        item.type = &type;
    }
    CItemType type;
    CItemInstance item;
};

class SpellEntry : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.StartOnBuiltDatabase());
        world.player.known = {"base_spellfire", "base_spellheal"};
        host.gold = 1000000;
        selection.Attach(rig.Game());
        screen.Attach(rig.Game());
        entries.Attach(rig.Game(), &host);
        screen.SetHost(&host, &entries);
        npc.SetName("n_enchanter");
    }
    CEnchantSpellEntryDialog& Entry() { return entries.spellEntry; }

    testing_support::FrameRig rig;
    RuleWorld world;
    Host host{world.game};
    CEnchantEntryDialogs entries;
    SelectionStandIn selection;
    CEnchantDialog screen;
    CNpc npc;
};

}  // namespace

TEST_F(SpellEntry, AWandGetsTheChosenSpellByIdWithItsCharges) {
    Blank wand(4, "Blank wand");
    selection.OpenModal(&screen);
    screen.Open(&npc, &wand.item, 5000);
    screen.OnCommand(CEnchantDialog::kAdd);
    ASSERT_EQ(screen.modalChild, &Entry());
    ASSERT_EQ(Entry().spells.GetCount(), 2);
    EXPECT_STREQ(Entry().spells.GetItem(0)->label.GetText(), "Heal");
    EXPECT_STREQ(Entry().spells.GetItem(1)->label.GetText(), "Fire Bolt");
    EXPECT_EQ(Entry().spells.selection, -1);  // a new entry has no spell yet
    EXPECT_TRUE(Entry().chargesValue.IsShown());
    Entry().spells.selection = 1;
    Entry().OnCommand(CEnchantSpellEntryDialog::kSpells);
    EXPECT_STREQ(Entry().Entry().id, "base_spellfire");
    EXPECT_GT(Entry().NeededStorage(), 0);  // found by id: it costs storage
    for (int i = 0; i < 150; ++i) Entry().OnCommand(CEnchantSpellEntryDialog::kChargesUp);
    EXPECT_EQ(Entry().Entry().amount, 100);
    for (int i = 0; i < 90; ++i) Entry().OnCommand(CEnchantSpellEntryDialog::kChargesDown);
    EXPECT_EQ(Entry().Entry().amount, 10);
    Entry().OnCommand(CEnchantSpellEntryDialog::kOk);
    ASSERT_EQ(screen.Count(), 1);
    screen.OnCommand(CEnchantDialog::kOk);
    ASSERT_EQ(screen.GetState(), CEnchantDialog::kSucceeded);
    ASSERT_NE(wand.item.effects, nullptr);
    EXPECT_STREQ(wand.item.effects->At(0)->id, "base_spellfire");
    EXPECT_EQ(wand.item.effects->At(0)->kind, kEffectCastSpell);
    EXPECT_EQ(wand.item.count, 10);
    EXPECT_LT(host.gold, 1000000u);
}

TEST_F(SpellEntry, OkWithoutASpellIsCancelAndScrollsHaveNoCharges) {
    Blank scroll(1, "Blank scroll");
    selection.OpenModal(&screen);
    screen.Open(nullptr, &scroll.item, 5000);
    screen.OnCommand(CEnchantDialog::kAdd);
    ASSERT_EQ(screen.modalChild, &Entry());
    EXPECT_FALSE(Entry().chargesValue.IsShown());
    EXPECT_FALSE(Entry().skillValue.IsShown());  // no spell chosen yet
    Entry().OnCommand(CEnchantSpellEntryDialog::kOk);
    EXPECT_EQ(screen.Count(), 0);
    EXPECT_EQ(screen.GetState(), CEnchantDialog::kEditing);

    screen.OnCommand(CEnchantDialog::kAdd);
    Entry().spells.selection = 0;
    Entry().OnCommand(CEnchantSpellEntryDialog::kSpells);
    EXPECT_TRUE(Entry().skillValue.IsShown());  // healing is more than a utility
    Entry().OnCommand(CEnchantSpellEntryDialog::kSkillUpTen);
    Entry().OnCommand(CEnchantSpellEntryDialog::kSkillDownTen);
    Entry().OnCommand(CEnchantSpellEntryDialog::kSkillDownTen);
    EXPECT_EQ(Entry().Entry().amountPerLevel, 1);
    Entry().OnCommand(CEnchantSpellEntryDialog::kOk);
    ASSERT_EQ(screen.Count(), 1);
    EXPECT_STREQ(screen.List()->At(0)->id, "base_spellheal");
    // Modifying opens on the stored spell.
    screen.entriesList.selection = 0;
    screen.OnCommand(CEnchantDialog::kModify);
    EXPECT_EQ(Entry().spells.selection, 0);
    Entry().OnCommand(CEnchantSpellEntryDialog::kCancel);
    EXPECT_EQ(screen.Count(), 1);
}
