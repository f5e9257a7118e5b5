// The enchanting screen on the interface database that the build writes: its look, the entries it
// keeps, the checks of Ok and what the item and the gold hold afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "data/RuleContext.h"
#include "screens/npc/EnchantDialog.h"
#include "tests/screens/npc/CraftTestSupport.h"
#include "tests/support/FrameRig.h"
#include "ui/Form.h"

namespace {

using craft_testing::FakeCraftHost;
using SelectionStandIn = craft_testing::OwnerStandIn;

// The entry dialogs as the screen sees them: a form that the test closes with the entry it chose.
class FakeEntries : public IEnchantEntryEditor {
public:
    CForm* OpenEntry(const CEffect& entry, int available, int source) override {
        CopyEffect(edited, entry);
        opened.push_back({entry.kind, available, source});
        return &form;
    }
    const CEffect& GetEditedEntry() const override { return edited; }
    struct Opened {
        int kind, available, source;
    };
    CForm form;
    CEffect edited;
    std::vector<Opened> opened;
};

// The selection below the screen: it records what the screen passes on.
class EnchantScreen : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.StartOnBuiltDatabase());
        selection.Attach(rig.Game());
        screen.Attach(rig.Game());
        screen.SetHost(&host, &entries);
        sword.SetName("t_sword");
        sword.name = "Longsword";
        sword.itemClass = kItemWeapon;
        sword.subclass = 1;
        sword.enchantCapacity = 400;
        item.type = &sword;
        item.count = 1000;
        npc.SetName("n_enchanter");
        npc.bytes[1] = 12;  // price level
    }
    void Open(const CNpc* enchanter, int limit) {
        selection.OpenModal(&screen);
        screen.Open(enchanter, &item, limit);
    }
    // Add, then close the entry dialog with this entry and command.
    void AddEntry(int kind, int amount, int target, u32 close = CEnchantDialog::kOk,
                  const char* id = nullptr) {
        screen.OnCommand(CEnchantDialog::kAdd);
        ASSERT_EQ(screen.GetState(), CEnchantDialog::kEntryOpen);
        entries.edited.kind = static_cast<u8>(kind);
        entries.edited.amount = static_cast<i16>(amount);
        entries.edited.target = static_cast<u8>(target);
        entries.edited.SetId(id);
        screen.OnCommand(close);
    }

    testing_support::FrameRig rig;
    FakeCraftHost host;
    FakeEntries entries;
    SelectionStandIn selection;
    CEnchantDialog screen;
    CItemType sword;
    CItemInstance item;
    CNpc npc;
};

}  // namespace

TEST_F(EnchantScreen, LooksAsDrawnWithAnEnchanter) {
    Open(&npc, 300);
    AddEntry(5, 12, 0);  // Fortify hp
    AddEntry(11, 2, 0);  // Fortify ac
    AddEntry(29, 1, 0);  // Drain hp on strike
    screen.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("screens/enchanting_screen", rig.Capture()));
}

TEST_F(EnchantScreen, TotalsCapacityAndPriceFollowTheList) {
    Open(&npc, 300);
    EXPECT_EQ(screen.Capacity(), 300);  // the enchanter's limit below the type's storage
    EXPECT_EQ(screen.Totals().available, 300);
    EXPECT_STREQ(screen.itemName.text.GetText(), "Longsword");
    EXPECT_TRUE(screen.priceValue.IsShown());
    AddEntry(1, 5, 3);  // 75 storage, 500 gold
    EXPECT_EQ(screen.Count(), 1);
    EXPECT_EQ(screen.Totals().available, 225);
    EXPECT_EQ(screen.Totals().price, 600);  // level 12
    EXPECT_EQ(screen.List()->value, 500u);
    EXPECT_EQ(entries.opened.back().available, 300);
    EXPECT_EQ(entries.opened.back().source, kSourceWeapon);
}

TEST_F(EnchantScreen, IncompleteEntriesAreCancelled) {
    Open(&npc, 300);
    AddEntry(0, 5, 0);                            // no kind
    AddEntry(17, 120, 0);                         // resist disease without a disease
    AddEntry(1, 5, 0);                            // fortify skill without a skill
    AddEntry(5, 10, 0, CEnchantDialog::kCancel);  // cancelled
    EXPECT_EQ(screen.Count(), 0);
    AddEntry(17, 120, 0, CEnchantDialog::kOk, "d_plague");
    EXPECT_EQ(screen.Count(), 1);
    EXPECT_STREQ(screen.List()->At(0)->id, "d_plague");
}

TEST_F(EnchantScreen, ModifyThenCancelKeepsTheEntryInPlace) {
    Open(&npc, 300);
    AddEntry(1, 5, 3);
    AddEntry(11, 2, 0);
    screen.entriesList.selection = 0;
    screen.OnCommand(CEnchantDialog::kModify);
    EXPECT_EQ(entries.opened.back().kind, 1);
    EXPECT_EQ(entries.opened.back().available, 300 - 40);  // the modified entry's storage is free again
    screen.OnCommand(CEnchantDialog::kCancel);
    ASSERT_EQ(screen.Count(), 2);
    EXPECT_EQ(screen.List()->At(0)->kind, 1);
    EXPECT_EQ(screen.List()->At(1)->kind, 11);
    screen.entriesList.selection = 1;
    screen.OnCommand(CEnchantDialog::kRemove);
    ASSERT_EQ(screen.Count(), 1);
    screen.entriesList.selection = 7;  // a stale selection does nothing
    screen.OnCommand(CEnchantDialog::kRemove);
    EXPECT_EQ(screen.Count(), 1);
}

TEST_F(EnchantScreen, OkChecksGoldStorageAndTheForbiddenPair) {
    Open(&npc, 300);
    AddEntry(5, 20, 0);  // 200 storage, 1500 gold -> 1800 at level 12
    host.gold = 1799;
    screen.OnCommand(CEnchantDialog::kOk);
    EXPECT_EQ(screen.GetState(), CEnchantDialog::kMessage);
    EXPECT_EQ(screen.modalChild, &screen.messageBar);
    screen.OnCommand(1);
    EXPECT_EQ(screen.GetState(), CEnchantDialog::kEditing);
    AddEntry(8, 5, 0);  // fortify unholy beside fortify hp
    host.gold = 100000;
    screen.OnCommand(CEnchantDialog::kOk);
    EXPECT_EQ(screen.GetState(), CEnchantDialog::kMessage);
    screen.OnCommand(1);
    screen.entriesList.selection = 1;
    screen.OnCommand(CEnchantDialog::kRemove);
    AddEntry(11, 10, 0);  // 200 more: 400 of 300
    EXPECT_EQ(screen.Totals().available, -100);
    screen.OnCommand(CEnchantDialog::kOk);
    EXPECT_EQ(screen.GetState(), CEnchantDialog::kMessage);
    EXPECT_EQ(item.effects, nullptr);
    EXPECT_EQ(host.gold, 100000u);
    EXPECT_TRUE(selection.commands.empty());
}

TEST_F(EnchantScreen, ASuccessGivesTheItemTheListAndTakesThePrice) {
    Open(&npc, 300);
    AddEntry(5, 20, 0);
    host.gold = 1800;  // exactly the price
    screen.OnCommand(CEnchantDialog::kOk);
    EXPECT_EQ(screen.GetState(), CEnchantDialog::kSucceeded);
    ASSERT_NE(item.effects, nullptr);
    EXPECT_EQ(item.effects->Count(), 1);
    EXPECT_EQ(item.effects->value, 1500u);
    EXPECT_EQ(host.gold, 0u);
    EXPECT_EQ(screen.List(), nullptr);
    screen.OnCommand(1);
    EXPECT_EQ(selection.commands, std::vector<u32>{CEnchantDialog::kOk});
}

TEST_F(EnchantScreen, ASpellEnchantsFreeAndEmptyListsPassOnWithoutLeaking) {
    Open(nullptr, 300);
    EXPECT_FALSE(screen.priceValue.IsShown());
    EXPECT_FALSE(screen.goldLabel.IsShown());
    AddEntry(5, 20, 0);
    host.gold = 0;
    screen.OnCommand(CEnchantDialog::kOk);
    EXPECT_EQ(screen.GetState(), CEnchantDialog::kSucceeded);
    EXPECT_EQ(host.gold, 0u);

    // Each opening makes a list; an empty Ok and a Cancel free it (the sanitizer build sees leaks).
    CItemInstance other;
    other.type = &sword;
    for (u32 close : {CEnchantDialog::kOk, CEnchantDialog::kCancel}) {
        selection.commands.clear();
        selection.OpenModal(&screen);
        screen.Open(&npc, &other, 300);
        screen.OnCommand(close);
        EXPECT_EQ(selection.commands, std::vector<u32>{close});
        EXPECT_EQ(screen.List(), nullptr);
        EXPECT_EQ(other.effects, nullptr);
    }
    selection.OpenModal(&screen);
    screen.Open(&npc, &other, 300);  // left open: the screen frees its list when it goes
}

TEST_F(EnchantScreen, WandsAndScrollsTakeOneSpell) {
    CItemType wand;
    wand.SetName("t_wand");
    wand.name = "Blank wand";
    wand.itemClass = kItemMagic;
    wand.subclass = 4;
    wand.enchantCapacity = 500;
    item.type = &wand;
    Open(&npc, 500);
    AddEntry(kEffectCastSpell, 7, 0, CEnchantDialog::kOk, "s_fire");
    ASSERT_EQ(screen.Count(), 1);
    screen.OnCommand(CEnchantDialog::kAdd);
    EXPECT_EQ(screen.GetState(), CEnchantDialog::kMessage);
    EXPECT_EQ(entries.opened.size(), 1u);
}
