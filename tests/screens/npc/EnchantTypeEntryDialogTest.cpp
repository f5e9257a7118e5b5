// An enchantment entry by type on the started game over the base world's skills, attributes, diseases
// and creatures: the types each kind of item offers, the datum and value each type takes, the storage
// beside it, the way to the enchanting screen, and its frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Str.h"
#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "screens/npc/EnchantDialog.h"
#include "screens/npc/EnchantSpellEntryDialog.h"
#include "tests/screens/npc/CraftTestSupport.h"
#include "tests/support/FrameRig.h"
#include "tests/world/PlayerFixture.h"
#include "ui/Draw.h"

namespace {

using Owner = craft_testing::OwnerStandIn;
using Dialog = CEnchantTypeEntryDialog;

std::string Glyphs(int value) {
    CStr text;
    text.Format("%d", value);
    ToNumberGlyphs(text);
    return text.GetText();
}

CEffect NewEntry(int source) {
    CEffect entry;
    InitEffectForKind(entry, source);
    return entry;
}

class TypeEntry : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.StartOnBuiltDatabase());
        owner.Attach(rig.Game());
        dialog.Attach(rig.Game());
        dialog.SetHost(&host);
    }
    void Open(const CEffect& entry, int source, int available = 900) {
        owner.OpenModal(&dialog);
        dialog.Open(entry, available, source);
    }
    // Selects the type row with that name as a tap on the list does.
    void ChooseType(const char* name) {
        const std::vector<std::string> rows = craft_testing::ListLabels(dialog.types);
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i] == name) dialog.types.selection = static_cast<i32>(i);
        dialog.OnCommand(Dialog::kTypes);
        ASSERT_STREQ(GetEffectKindName(dialog.Entry().kind), name);
    }

    testing_support::FrameRig rig;
    PlayerWorld world;
    craft_testing::FakeCraftHost host{world.rules};
    Owner owner;
    Dialog dialog;
};

TEST_F(TypeEntry, WeaponsChooseTheModeAndEachModeOffersItsTypes) {
    Open(NewEntry(kSourceWeapon), kSourceWeapon);
    EXPECT_TRUE(dialog.constantLink.IsShown());
    EXPECT_TRUE(dialog.constantLink.state & kWidgetLatched);
    EXPECT_FALSE(dialog.strikeLink.state & kWidgetLatched);
    EXPECT_EQ(craft_testing::ListLabels(dialog.types), (std::vector<std::string>{"Fortify skill", "Fortify attribute", "Fortify hp",
                                                             "Fortify unholy", "Fortify mana", "Fortify ac",
                                                             "Fortify outfit"}));
    EXPECT_EQ(dialog.types.selection, 0) << "a new entry starts as Fortify skill";
    EXPECT_EQ(dialog.data.GetCount(), 20);
    EXPECT_TRUE(dialog.data.IsShown());

    dialog.OnCommand(Dialog::kStrike);
    EXPECT_EQ(dialog.Entry().mode, kModeStrike);
    EXPECT_TRUE(dialog.strikeLink.state & kWidgetLatched);
    EXPECT_EQ(craft_testing::ListLabels(dialog.types), (std::vector<std::string>{"Damage base", "Damage type", "Damage all", "Poison",
                                                             "Curse", "Drain hp", "Drain sp", "Infect disease"}));
    EXPECT_EQ(dialog.Entry().kind, 0) << "Strike does not offer Fortify skill";
    EXPECT_EQ(dialog.types.selection, -1);

    // Armour keeps the mode it was made with and shows no Type row.
    Open(NewEntry(kSourceArmour), kSourceArmour);
    EXPECT_FALSE(dialog.constantLink.IsShown());
    EXPECT_FALSE(dialog.strikeLink.IsShown());
    EXPECT_EQ(dialog.Entry().mode, kModeConstant);
    EXPECT_EQ(dialog.types.GetCount(), 13);
    // Missiles strike only: nothing is chosen for a new entry.
    Open(NewEntry(kSourceMissile), kSourceMissile);
    EXPECT_EQ(dialog.Entry().kind, 0);
    EXPECT_EQ(dialog.types.GetCount(), 7);
}

TEST_F(TypeEntry, ValuesStayWithinTheirTypesRange) {
    const struct {
        int source;
        const char* type;
        int top;
        bool percent;
    } cases[] = {
        {kSourceWeapon, "Fortify ac", 10, false},
        {kSourceWeapon, "Fortify attribute", 20, false},
        {kSourceWeapon, "Fortify skill", 50, false},
        {kSourceArmour, "Resist poison", 100, true},
        {kSourceMissile, "Damage all", 50, false},
        {kSourceMissile, "Damage base", 50, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Open(NewEntry(c.source), c.source);
        ChooseType(c.type);
        EXPECT_TRUE(dialog.valueText.IsShown());
        EXPECT_EQ(dialog.ShownValue(), 1);
        EXPECT_FALSE(dialog.minusOne.state & kWidgetPenEnabled);
        for (int i = 0; i < 30; ++i) dialog.OnCommand(Dialog::kPlusTen);
        EXPECT_EQ(dialog.ShownValue(), c.top);
        EXPECT_EQ(dialog.Entry().amount, c.percent ? c.top + 100 : c.top);
        EXPECT_FALSE(dialog.plusOne.state & kWidgetPenEnabled);
        EXPECT_STREQ(dialog.valueText.text.GetText(), std::to_string(c.top).c_str());
        dialog.OnCommand(Dialog::kMinusOne);
        EXPECT_EQ(dialog.ShownValue(), c.top - 1);
        for (int i = 0; i < 30; ++i) dialog.OnCommand(Dialog::kMinusTen);
        EXPECT_EQ(dialog.ShownValue(), 1);
    }
}

TEST_F(TypeEntry, StoredAmountsAreBroughtIntoRange) {
    CEffect resist = NewEntry(kSourceArmour);
    resist.kind = 15;  // Resist poison, stored as 100 + value
    resist.amount = 0;
    Open(resist, kSourceArmour);
    EXPECT_EQ(dialog.ShownValue(), 1);
    EXPECT_EQ(dialog.Entry().amount, 101);
    EXPECT_STREQ(dialog.valueText.text.GetText(), "1");

    CEffect armour = NewEntry(kSourceArmour);
    armour.kind = 11;  // Fortify ac: at most 10
    armour.amount = 140;
    Open(armour, kSourceArmour);
    EXPECT_EQ(dialog.Entry().amount, 10);
}

TEST_F(TypeEntry, TypesWithoutAValueOrDatumHideThem) {
    Open(NewEntry(kSourceWeapon), kSourceWeapon);
    dialog.OnCommand(Dialog::kStrike);
    ChooseType("Poison");
    EXPECT_FALSE(dialog.valueText.IsShown());
    EXPECT_FALSE(dialog.plusOne.IsShown());
    EXPECT_FALSE(dialog.data.IsShown());
    EXPECT_EQ(dialog.Entry().amount, 1);
    EXPECT_EQ(dialog.Entry().id, nullptr);

    ChooseType("Damage type");
    EXPECT_EQ(craft_testing::ListLabels(dialog.data), (std::vector<std::string>{"Humanoids", "Creatures", "Undeads"}));
    dialog.data.selection = 2;
    dialog.OnCommand(Dialog::kData);
    EXPECT_EQ(dialog.Entry().target, 3);

    ChooseType("Infect disease");
    ASSERT_GT(dialog.data.GetCount(), 0);
    EXPECT_FALSE(dialog.valueText.IsShown());
    EXPECT_EQ(dialog.Entry().target, 0);
    dialog.data.selection = 0;
    dialog.OnCommand(Dialog::kData);
    ASSERT_NE(dialog.Entry().id, nullptr);
    EXPECT_STREQ(dialog.Entry().id, world.base.diseases.At(0)->GetName()) << "the disease's id, not its name";
}

TEST_F(TypeEntry, TheNeededStorageFollowsTheEntryAndTheAvailableStaysPut) {
    Open(NewEntry(kSourceArmour), kSourceArmour, 750);
    EXPECT_EQ(dialog.availableValue.text.GetText(), Glyphs(750));
    ChooseType("Fortify hp");
    const i32 one = dialog.NeededStorage();
    EXPECT_EQ(dialog.neededValue.text.GetText(), Glyphs(one));
    dialog.OnCommand(Dialog::kPlusTen);
    EXPECT_GT(dialog.NeededStorage(), one);
    EXPECT_EQ(dialog.neededValue.text.GetText(), Glyphs(dialog.NeededStorage()));
    EXPECT_EQ(dialog.availableValue.text.GetText(), Glyphs(750));
}

TEST_F(TypeEntry, OkAndCancelGoToTheOwner) {
    Open(NewEntry(kSourceArmour), kSourceArmour);
    dialog.OnCommand(Dialog::kCancel);
    Open(NewEntry(kSourceArmour), kSourceArmour);
    dialog.OnCommand(Dialog::kOk);
    EXPECT_EQ(owner.commands, (std::vector<u32>{Dialog::kCancel, Dialog::kOk}));
}

TEST_F(TypeEntry, TheEnchantingScreenStoresTheEntryOnASword) {
    CEnchantEntryDialogs entries;
    entries.Attach(rig.Game(), &host);
    CEnchantDialog screen;
    screen.Attach(rig.Game());
    screen.SetHost(&host, &entries);
    CItemType sword;
    sword.SetName("t_sword");
    sword.name = "Sword";
    sword.itemClass = kItemWeapon;
    sword.subclass = 1;
    sword.enchantCapacity = 5000;
    CItemInstance item;
    item.type = &sword;
    host.gold = 1000000;
    owner.OpenModal(&screen);
    screen.Open(nullptr, &item, 5000);
    screen.OnCommand(CEnchantDialog::kAdd);
    ASSERT_EQ(screen.modalChild, &entries.typeEntry);
    CEnchantTypeEntryDialog& entry = entries.typeEntry;
    entry.types.selection = 1;  // Fortify attribute
    entry.OnCommand(Dialog::kTypes);
    entry.data.selection = 0;
    entry.OnCommand(Dialog::kData);
    for (int i = 0; i < 4; ++i) entry.OnCommand(Dialog::kPlusOne);
    entry.OnCommand(Dialog::kOk);
    ASSERT_EQ(screen.Count(), 1);
    const CEffect& stored = *screen.List()->At(0);
    EXPECT_EQ(stored.kind, 2);
    EXPECT_EQ(stored.target, 1);
    EXPECT_EQ(stored.amount, 5);
    EXPECT_EQ(stored.mode, kModeConstant);

    // An entry without its datum would do nothing: Ok keeps nothing.
    screen.OnCommand(CEnchantDialog::kAdd);
    entry.OnCommand(Dialog::kOk);
    EXPECT_EQ(screen.Count(), 1);
}

TEST_F(TypeEntry, Frame) {
    Open(NewEntry(kSourceWeapon), kSourceWeapon);
    ChooseType("Fortify attribute");
    dialog.data.selection = 0;
    dialog.OnCommand(Dialog::kData);
    for (int i = 0; i < 6; ++i) dialog.OnCommand(Dialog::kPlusOne);
    dialog.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("screens/enchant_type_entry", rig.Capture()));
}

}  // namespace
