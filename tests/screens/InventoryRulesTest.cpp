// The inventory page's rules without a screen: filters, the double tap, stacks, taking and dropping
// with every instance in exactly one container, gold from coins, and the item use and equip actions.
#include <gtest/gtest.h>

#include <memory>

#include "data/CharacterTables.h"
#include "data/Effect.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "screens/panels/InventoryRules.h"
#include "screens/panels/ItemUse.h"
#include "world/Player.h"

namespace {

CItemInstance* NewItem(const CItemType& type, u16 count) {
    auto* item = new CItemInstance;
    item->type = &type;
    item->count = count;
    return item;
}

std::unique_ptr<CItemType> MakeType(const char* name, u8 itemClass, u8 subclass) {
    auto type = std::make_unique<CItemType>();
    type->name = name;
    type->SetName(name);
    type->itemClass = itemClass;
    type->subclass = subclass;
    type->maxCondition = 100;
    return type;
}

class InventoryTest : public ::testing::Test {
protected:
    // 1 = the bag, 2 = the player, 3 = both, 0 = neither.
    int Where(const CItemInstance* item) const {
        int at = 0;
        for (int i = 0; i < bag.GetItemCount(); ++i)
            if (bag.GetItem(i) == item) at |= 1;
        for (const auto& held : player.items)
            if (held.get() == item) at |= 2;
        return at;
    }

    std::unique_ptr<CItemType> swordOwned = MakeType("Sword", kItemWeapon, 1);
    CItemType& sword = *swordOwned;
    std::unique_ptr<CItemType> coinOwned = MakeType("Coins", kItemMoney, 0);
    CItemType& coin = *coinOwned;
    std::unique_ptr<CItemType> tomeOwned = MakeType("Tome", kItemMagic, 2);
    CItemType& tome = *tomeOwned;
    std::unique_ptr<CItemType> potionOwned = MakeType("Healing", kItemPotion, 0);
    CItemType& potion = *potionOwned;
    CItemBag bag;
    CPlayer player;
    CInventoryLists lists;
};

TEST(InventoryFilters, ListAndEnableByClass) {
    struct Case {
        int filter, itemClass, subclass;
        bool listed;
    };
    const Case cases[] = {
        {0, kItemCard, 0, true},    {1, kItemWeapon, 3, true},    {2, kItemLightArmour, 1, true},
        {2, kItemWeapon, 1, false}, {3, kItemAccessory, 2, true}, {4, kItemBook, 1, true},
        {4, kItemMagic, 2, true},   {4, kItemMagic, 1, false},    {5, kItemIngredient, 0, true},
        {6, kItemPotion, 0, true},  {7, kItemMagic, 4, true},     {8, kItemMoney, 0, true},
        {8, kItemCard, 0, true},    {8, kItemPotion, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilterListsItem(c.filter, c.itemClass, c.subclass), c.listed)
            << c.filter << " " << c.itemClass;
    // A spellbook is listed by filter 4 but enables the button of filter 7 only.
    EXPECT_EQ(FilterEnabledByClass(kItemMagic), 7);
    EXPECT_EQ(FilterEnabledByClass(kItemBook), 4);
    EXPECT_EQ(FilterEnabledByClass(kItemGem), 8);
    EXPECT_EQ(PaperDollFilter(kItemLightArmour), 2);
    EXPECT_EQ(PaperDollFilter(kItemPotion), 0);
}

TEST(InventoryDoubleTap, FourHundredMillisecondsOnTheSameEntry) {
    EXPECT_TRUE(IsDoubleTap(2, 1000, 2, 1400));
    EXPECT_FALSE(IsDoubleTap(2, 1000, 2, 1401));
    EXPECT_FALSE(IsDoubleTap(2, 1000, 2, 1000));
    EXPECT_FALSE(IsDoubleTap(2, 1000, 3, 1100));
    EXPECT_FALSE(IsDoubleTap(-1, 1000, 0, 1100));
    EXPECT_TRUE(IsDoubleTap(0, 0xFFFFFF00u, 0, 0x40u));  // the tick counter wrapped
}

TEST(InventoryListTap, DecisionTable) {
    struct Case {
        bool container, equip, doubleTap, use, useShown;
        InventoryTap tap;
    };
    const Case cases[] = {
        {false, true, true, false, false, InventoryTap::kEquip},
        {true, true, false, false, false, InventoryTap::kSelect},  // requests only count in the player's list
        {true, false, true, false, false, InventoryTap::kTake},
        {false, false, true, true, true, InventoryTap::kUse},
        {false, false, false, true, true, InventoryTap::kSelectAndUse},
        {false, false, false, true, false, InventoryTap::kSelect},
        {true, false, false, true, true, InventoryTap::kSelect},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideListTap(c.container, c.equip, c.doubleTap, c.use, c.useShown), c.tap);
}

TEST(InventoryGoldAndLoad, LineByLayoutMode) {
    struct Case {
        int mode;
        u32 gold, load, capacity;
        const char* text;
    };
    const Case cases[] = {
        {2, 950, 1234, 20000, "Gold: 950\t\rPack: 12.3/200.0"},
        {6, 25000, 5, 999, "Gold:\r25K\rPack:\r0.0/\r9.9"},
        {16, 3000000, 0, 100, "Gold:\r3M\t\r\rPack:\r0.0/\r1.0"},
        {9, 2000000000, 100, 100, "Gold:\r2B\t\rPack:\r1.0/\r1.0"},
    };
    for (const Case& c : cases) {
        CStr text;
        FormatGoldAndLoad(c.mode, c.gold, c.load, c.capacity, text);
        EXPECT_STREQ(text.GetText(), c.text) << c.mode;
    }
}

TEST_F(InventoryTest, TakeAllOfMixedStackPutsEveryInstanceInExactlyOneContainer) {
    CItemInstance* worn[3];
    for (CItemInstance*& item : worn) {
        item = NewItem(sword, 50);
        bag.AddItem(item);
    }
    CItemInstance* fresh = NewItem(sword, 100);
    bag.AddItem(fresh);
    lists.Begin(&player, &bag);
    EXPECT_EQ(lists.Take().kind, CInventoryOutcome::kSwitchedList);
    ASSERT_EQ(lists.GetEntries().size(), 2u);
    EXPECT_EQ(lists.GetEntries()[0].count, 3);
    int taken = 0;
    while (lists.GetSelectedEntry()) {
        ASSERT_EQ(lists.Take().kind, CInventoryOutcome::kDone);
        ASSERT_LE(++taken, 4);
    }
    EXPECT_EQ(taken, 4);
    for (CItemInstance* item : worn) EXPECT_EQ(Where(item), 2);
    EXPECT_EQ(Where(fresh), 2);
    EXPECT_EQ(bag.GetItemCount(), 0);
}

TEST_F(InventoryTest, DropSkipsTheWornInstanceOfAStack) {
    CItemInstance* a = NewItem(sword, 50);
    CItemInstance* b = NewItem(sword, 50);
    player.TakeItem(a);
    player.TakeItem(b);
    player.EquipItem(a, false);
    lists.Begin(&player, &bag);
    ASSERT_EQ(lists.GetEntries().size(), 2u);  // the worn one is an entry of its own
    lists.Select(lists.GetEntries()[0].flags & kInvEntryEquipped ? 1 : 0);
    EXPECT_EQ(lists.Drop().kind, CInventoryOutcome::kDone);
    EXPECT_EQ(Where(b), 1);
    EXPECT_EQ(Where(a), 2);
    EXPECT_EQ(player.equipment[5], a);
}

TEST_F(InventoryTest, DropWithoutContainerLeavesTheItem) {
    CItemInstance* item = NewItem(sword, 80);
    player.TakeItem(item);
    lists.Begin(&player, nullptr);
    ASSERT_NE(lists.GetSelectedEntry(), nullptr);
    EXPECT_EQ(lists.Drop().kind, CInventoryOutcome::kNothing);
    ASSERT_EQ(player.items.size(), 1u);
    EXPECT_EQ(player.items[0].get(), item);
}

TEST_F(InventoryTest, DroppedWornItemIsUnequippedAndMessaged) {
    CItemInstance* item = NewItem(sword, 80);
    player.TakeItem(item);
    player.EquipItem(item, false);
    lists.Begin(&player, &bag);
    const CInventoryOutcome outcome = lists.Drop();
    EXPECT_EQ(outcome.kind, CInventoryOutcome::kDone);
    EXPECT_STREQ(outcome.sound, "bsnd_drop");
    EXPECT_EQ(player.equipment[5], nullptr);
    EXPECT_EQ(Where(item), 1);
    EXPECT_EQ(lists.GetSelectedEntry(), nullptr);
}

TEST_F(InventoryTest, CoinsAreCappedAndTheMessageNamesTheCoin) {
    coin.value = 50;
    bag.AddItem(NewItem(coin, 0));
    player.gold = 999999990;
    lists.Begin(&player, &bag);
    lists.ShowContainer(true);
    const CInventoryOutcome outcome = lists.Take();
    EXPECT_EQ(player.gold, 1000000000u);
    EXPECT_STREQ(outcome.message.GetText(), "You have taken 50 gold.");
    EXPECT_STREQ(outcome.sound, "bsnd_money");
    EXPECT_TRUE(player.items.empty());
    EXPECT_EQ(bag.GetItemCount(), 0);
}

TEST_F(InventoryTest, TakingTheLastOfAStackSelectsTheEntryAtItsIndex) {
    bag.AddItem(NewItem(sword, 10));
    bag.AddItem(NewItem(potion, 0));
    lists.Begin(&player, &bag);
    lists.ShowContainer(true);
    lists.Select(1);
    lists.Take();
    EXPECT_EQ(lists.GetSelection(), 0);
    lists.Take();
    EXPECT_EQ(lists.GetSelection(), -1);
    EXPECT_EQ(player.items.size(), 2u);
}

TEST_F(InventoryTest, SpellbooksOnlyListedUnderBooksWithoutEnablingIt) {
    player.TakeItem(NewItem(tome, 0));
    lists.Begin(&player, &bag);
    lists.SetFilter(4);
    EXPECT_EQ(lists.GetEntries().size(), 1u);
    EXPECT_FALSE(lists.IsFilterEnabled(4));
    EXPECT_TRUE(lists.IsFilterEnabled(7));
}

TEST(ItemUse, UseOutcomeByClass) {
    struct Case {
        u8 itemClass, subclass, flags;
        bool danger;
        CItemUseOutcome::Kind kind;
        const char* message;
    };
    const Case cases[] = {
        {kItemBook, 1, 0, false, CItemUseOutcome::kOpenReader, ""},
        {kItemBook, 2, 0, true, CItemUseOutcome::kRefusedDanger,
         "You cannot read letters when there might be immediate threat."},
        {kItemBook, 3, 0x10, false, CItemUseOutcome::kRefusedUnusable, "You cannot read this map."},
        {kItemAlchemy, 0, 0, false, CItemUseOutcome::kOpenAlchemy, ""},
        {kItemIngredient, 0, 0x10, false, CItemUseOutcome::kRefusedUnusable,
         "You cannot eat this ingredient."},
        {kItemPotion, 0, 0, false, CItemUseOutcome::kNothing, ""},
        {kItemMagic, 2, 0, true, CItemUseOutcome::kRefusedDanger,
         "You cannot read spellbooks when there might be immediate threat."},
        {kItemMagic, 2, 0, false, CItemUseOutcome::kOpenReader, ""},
        {kItemMagic, 4, 0, false, CItemUseOutcome::kNothing, ""},
        {kItemRepair, 0, 0x10, false, CItemUseOutcome::kRefusedUnusable, "You cannot use this item."},
        {kItemRepair, 0, 0, false, CItemUseOutcome::kOpenRepair, ""},
        {kItemKey, 0, 0, false, CItemUseOutcome::kNothing, ""},
        {kItemCard, 0, 0, true, CItemUseOutcome::kNothing, ""},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CItemType> typeOwned = MakeType("X", c.itemClass, c.subclass);
        CItemType& type = *typeOwned;
        type.flags = c.flags;
        const CItemUseOutcome outcome = UseItem(type, c.danger);
        EXPECT_EQ(outcome.kind, c.kind) << int(c.itemClass) << "/" << int(c.subclass);
        EXPECT_STREQ(outcome.message.GetText(), c.message);
    }
    EXPECT_FALSE(ShowsUseButton(*MakeType("P", kItemPotion, 0)));
    EXPECT_FALSE(ShowsUseButton(*MakeType("I", kItemIngredient, 0)));
    EXPECT_TRUE(ShowsUseButton(*MakeType("S", kItemMagic, 2)));
}

TEST(ItemUse, BrokenBelowATenthByIntegerPercent) {
    EXPECT_TRUE(IsItemBroken(9, 100));
    EXPECT_FALSE(IsItemBroken(10, 100));
    EXPECT_TRUE(IsItemBroken(19, 200));
    EXPECT_TRUE(IsItemBroken(0, 0));
}

class BookTest : public ::testing::Test {
protected:
    void SetUp() override {
        rules.skills = &skills;
        rules.attributes = &attributes;
        player.SetWorld(&rules);
        for (u16& a : player.attributes) a = 30;
        player.race = 2;
    }
    std::unique_ptr<CItemType> Book(const char* id, int skill, int amount) {
        auto book = MakeType(id, kItemBook, 1);
        book->effects = new CEffectList;
        auto* effect = new CEffect;
        effect->target = static_cast<u8>(skill);
        effect->amount = static_cast<i16>(amount);
        book->effects->Add(effect);
        return book;
    }
    CSkillTable skills;
    CAttributeTable attributes;
    CRuleContext rules;
    CPlayer player;
};

TEST_F(BookTest, SkillBookTeachesOnce) {
    auto book = Book("tome_block", kSkillBlock, 3);
    player.skills[kSkillBlock] = 10;
    const CStr first = LearnFromBook(player, *book, rules);
    EXPECT_NE(std::string(first.GetText()).find("has been increased by 3."), std::string::npos);
    EXPECT_EQ(player.skills[kSkillBlock], 13);
    EXPECT_STREQ(LearnFromBook(player, *book, rules).GetText(), "");
    EXPECT_EQ(player.skills[kSkillBlock], 13);
}

TEST_F(BookTest, InvalidSkillCannotBeLearnt) {
    for (int skill : {0, 21, 200}) {
        auto book = Book("tome_bad", skill, 3);
        EXPECT_STREQ(LearnFromBook(player, *book, rules).GetText(), "You can't learn from this book.");
        EXPECT_FALSE(player.HasReadBook("tome_bad"));
    }
}

TEST_F(BookTest, UndeadCannotLearnHealMagicAndBookStaysUnread) {
    player.race = 1;
    auto book = Book("tome_heal", kSkillHealMagic, 2);
    EXPECT_STREQ(LearnFromBook(player, *book, rules).GetText(),
                 "You can't learn Heal Magic, because you're undead.");
    EXPECT_FALSE(player.HasReadBook("tome_heal"));
}

class EquipTest : public ::testing::Test {
protected:
    CItemInstance* Give(const CItemType& type, u16 condition = 100) {
        CItemInstance* item = NewItem(type, condition);
        player.TakeItem(item);
        return item;
    }
    std::unique_ptr<CItemType> daggerOwned = MakeType("Dagger", kItemWeapon, 1);
    CItemType& dagger = *daggerOwned;
    std::unique_ptr<CItemType> greatswordOwned = MakeType("Greatsword", kItemWeapon, 9);
    CItemType& greatsword = *greatswordOwned;
    std::unique_ptr<CItemType> halberdOwned = MakeType("Halberd", kItemWeapon, 10);
    CItemType& halberd = *halberdOwned;
    std::unique_ptr<CItemType> shieldOwned = MakeType("Buckler", kItemHeavyArmour, 1);
    CItemType& shield = *shieldOwned;
    std::unique_ptr<CItemType> helmetOwned = MakeType("Helmet", kItemHeavyArmour, 2);
    CItemType& helmet = *helmetOwned;
    std::unique_ptr<CItemType> ringOwned = MakeType("Ring", kItemAccessory, 2);
    CItemType& ring = *ringOwned;
    CPlayer player;
};

TEST_F(EquipTest, HandsAndTheHandQuestion) {
    CItemInstance* first = Give(dagger);
    CItemInstance* second = Give(dagger);
    CItemInstance* third = Give(dagger);
    EXPECT_EQ(ToggleEquip(player, first, false, false, false).kind, CEquipOutcome::kDone);
    EXPECT_EQ(player.equipment[5], first);
    EXPECT_EQ(ToggleEquip(player, second, false, false, false).kind, CEquipOutcome::kDone);
    EXPECT_EQ(player.equipment[6], second);
    EXPECT_EQ(ToggleEquip(player, third, false, false, false).kind, CEquipOutcome::kAskHand);
    const CEquipOutcome left = WieldInHand(player, third, true);
    EXPECT_EQ(player.equipment[6], third);
    EXPECT_NE(std::string(left.message.GetText()).find(" in your left hand."), std::string::npos);
}

TEST_F(EquipTest, TwoHandedAndShields) {
    CItemInstance* offHand = Give(dagger);
    player.equipment[6] = offHand;
    CItemInstance* big = Give(greatsword);
    ToggleEquip(player, big, false, false, false);
    EXPECT_EQ(player.equipment[5], big);
    EXPECT_EQ(player.equipment[6], nullptr);
    CItemInstance* buckler = Give(shield);
    ToggleEquip(player, buckler, false, false, false);
    EXPECT_EQ(player.equipment[5], nullptr);  // a subclass-9 weapon leaves for the shield
    EXPECT_EQ(player.equipment[6], buckler);
    CItemInstance* pole = Give(halberd);
    player.equipment[5] = pole;
    player.equipment[6] = nullptr;
    ToggleEquip(player, buckler, false, false, false);
    EXPECT_EQ(player.equipment[5], pole);  // subclass 10 stays
}

TEST_F(EquipTest, RefusalsAndMessages) {
    CItemInstance* helm = Give(helmet);
    CItemInstance* buckler = Give(shield);
    CEquipOutcome fight = ToggleEquip(player, helm, false, true, false);
    EXPECT_EQ(fight.kind, CEquipOutcome::kRefused);
    EXPECT_EQ(ToggleEquip(player, buckler, false, true, false).kind, CEquipOutcome::kDone);
    CItemInstance* broken = Give(helmet, 9);
    EXPECT_STREQ(ToggleEquip(player, broken, false, false, false).message.GetText(),
                 "This item is broken - you cannot equip it.");
    EXPECT_EQ(ToggleEquip(player, helm, true, false, false).kind, CEquipOutcome::kNothing);
    EXPECT_STREQ(ToggleEquip(player, helm, false, false, false).message.GetText(), "Equipped: Helmet.");
    EXPECT_EQ(ToggleEquip(player, helm, false, false, true).kind, CEquipOutcome::kDone);
    EXPECT_EQ(player.equipment[CPlayer::SlotFor(helmet, false)], nullptr);
    CItemInstance* r1 = Give(ring);
    CItemInstance* r2 = Give(ring);
    ToggleEquip(player, r1, false, false, false);
    ToggleEquip(player, r2, false, false, false);
    EXPECT_EQ(player.equipment[8], r1);
    EXPECT_EQ(player.equipment[9], r2);
    EXPECT_EQ(ToggleEquip(player, Give(ring), false, false, false).kind, CEquipOutcome::kAskHand);
}

}  // namespace

namespace {

TEST(InventoryStaleEntry, TakeAndDropMoveNothingTheSourceNoLongerHolds) {
    auto sword = MakeType("Sword", kItemWeapon, 1);
    CItemBag bag;
    CPlayer player;
    CInventoryLists lists;
    CItemInstance* item = NewItem(*sword, 40);
    bag.AddItem(item);
    lists.Begin(&player, &bag);
    lists.ShowContainer(true);
    // Something else took the item out of the bag while the list still shows it.
    bag.items.RemoveAt(0);
    player.TakeItem(item);
    EXPECT_EQ(lists.Take().kind, CInventoryOutcome::kNothing);
    EXPECT_EQ(player.items.size(), 1u);
    EXPECT_EQ(lists.GetSelectedEntry(), nullptr);

    CItemInstance* other = NewItem(*sword, 70);
    player.TakeItem(other);
    lists.ShowContainer(false);
    ASSERT_EQ(lists.GetEntries().size(), 2u);
    std::unique_ptr<CItemInstance> gone = player.RemoveItem(other);
    lists.Select(1);
    EXPECT_EQ(lists.Drop().kind, CInventoryOutcome::kNothing);
    EXPECT_EQ(bag.GetItemCount(), 0);
    EXPECT_EQ(lists.GetEntries().size(), 1u);
}

}  // namespace
