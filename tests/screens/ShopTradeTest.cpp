// Buying and selling one item at a time: list switching, refusals, the deal offer, stacks, and every
// item ending in exactly one container with the gold changed once per item.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "core/PointerArray.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "screens/npc/ShopTrade.h"
#include "tests/screens/TradeWorldFake.h"

namespace {

using FakeTradePlayer = trade_testing::FakeServicePlayer;

CItemInstance* NewItem(const CItemType& type, u16 count) {
    auto* item = new CItemInstance;
    item->type = &type;
    item->count = count;
    return item;
}

class ShopTradeTest : public ::testing::Test {
protected:
    void SetUp() override {
        sword.name = "Sword";
        sword.itemClass = kItemWeapon;
        sword.subclass = 1;
        sword.value = 100;
        sword.maxCondition = 100;
        helmet.name = "Helmet";
        helmet.itemClass = kItemHeavyArmour;
        helmet.subclass = 2;
        helmet.value = 40;
        helmet.maxCondition = 100;
        relic.name = "Relic";
        relic.itemClass = kItemWeapon;
        relic.subclass = 0;
        relic.value = 500;
        relic.maxCondition = 100;
        relic.flags = 0x04;  // not for sale
        potion.name = "Potion";
        potion.itemClass = kItemPotion;
        potion.value = 10;
        npc.SetName("Orla");
        npc.bytes[1] = 10;
        npc.classMask = 1 | 2;  // weapons and heavy armour
        npc.maxPayment = 1000;
        bag = std::make_unique<CItemBag>();
    }
    void Begin() { trade.Begin(&npc, bag.get(), &player, 10, nullptr); }

    // Where each of the items is now: 1 = the bag, 2 = the player, 3 = both, 0 = neither.
    int Where(const CItemInstance* item) const {
        int at = 0;
        for (int i = 0; i < bag->GetItemCount(); ++i)
            if (bag->GetItem(i) == item) at |= 1;
        for (int i = 0; i < player.GetItemCount(); ++i)
            if (player.GetItem(i) == item) at |= 2;
        return at;
    }

    CItemType sword, helmet, relic, potion;
    CNpc npc;
    std::unique_ptr<CItemBag> bag;
    FakeTradePlayer player;
    CShopTrade trade;
};

TEST_F(ShopTradeTest, StockStacksByTypeConditionAndEffectsAndSortsByClass) {
    bag->AddItem(NewItem(sword, 50));
    bag->AddItem(NewItem(potion, 0));
    bag->AddItem(NewItem(sword, 50));
    bag->AddItem(NewItem(sword, 100));
    bag->AddItem(NewItem(helmet, 100));
    Begin();
    const auto& entries = trade.GetEntries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].item->type, &sword);
    EXPECT_EQ(entries[0].count, 2);
    EXPECT_EQ(entries[0].price, 50u);  // condition 50 of 100 halves the value
    EXPECT_EQ(entries[1].count, 1);
    EXPECT_EQ(entries[1].price, 100u);
    EXPECT_EQ(entries[2].item->type, &helmet);
    EXPECT_EQ(entries[3].item->type, &potion);
    EXPECT_EQ(trade.GetSelection(), 0);
}

TEST_F(ShopTradeTest, TheFirstBuyOrSellOnTheOtherListOnlySwitches) {
    bag->AddItem(NewItem(sword, 100));
    player.gold = 1000;
    player.items.Add(NewItem(helmet, 100));
    Begin();
    CTradeOutcome sold = trade.Sell(false);
    EXPECT_EQ(sold.kind, CTradeOutcome::kSwitchedList);
    EXPECT_STREQ(sold.message.GetText(), "Player items");
    EXPECT_EQ(sold.messageMs, 2000u);
    EXPECT_FALSE(trade.IsShowingShop());
    EXPECT_EQ(player.gold, 1000u);
    CTradeOutcome bought = trade.Buy();
    EXPECT_EQ(bought.kind, CTradeOutcome::kSwitchedList);
    EXPECT_STREQ(bought.message.GetText(), "Shop items");
    EXPECT_TRUE(trade.IsShowingShop());
    EXPECT_EQ(bag->GetItemCount(), 1);
    EXPECT_EQ(player.GetItemCount(), 1);
}

TEST_F(ShopTradeTest, BuyingTakesThePriceOnceAndMovesTheItem) {
    CItemInstance* item = NewItem(sword, 100);
    bag->AddItem(item);
    player.gold = 130;
    player.bonus = 12;
    Begin();
    CTradeOutcome outcome = trade.Buy();
    EXPECT_EQ(outcome.kind, CTradeOutcome::kDone);
    EXPECT_EQ(outcome.gold, 88u);
    EXPECT_STREQ(outcome.message.GetText(), "You have purchased a Sword for 88 gold.");
    EXPECT_EQ(player.gold, 42u);
    EXPECT_EQ(Where(item), 2);
    EXPECT_TRUE(trade.GetEntries().empty());
    EXPECT_EQ(trade.GetSelection(), -1);
    EXPECT_EQ(player.counters[kTradeSkillMercantile], 1);
    // Nothing selected now: nothing happens.
    EXPECT_EQ(trade.Buy().kind, CTradeOutcome::kNothing);
    EXPECT_EQ(player.gold, 42u);
}

TEST_F(ShopTradeTest, TooLittleGoldIsRefused) {
    bag->AddItem(NewItem(sword, 100));
    player.gold = 99;
    Begin();
    CTradeOutcome outcome = trade.Buy();
    EXPECT_EQ(outcome.kind, CTradeOutcome::kRefused);
    EXPECT_STREQ(outcome.message.GetText(), "You don't have enough gold.");
    EXPECT_EQ(player.gold, 99u);
    EXPECT_EQ(bag->GetItemCount(), 1);
}

// Three swords at condition 50 share one entry beside one at condition 100. Buying everything, and
// selling it all back, moves each instance once, and the gold changes once per item by its own price.
TEST_F(ShopTradeTest, StacksMoveEveryInstanceOnceAndChargeOncePerItem) {
    std::vector<CItemInstance*> all;
    for (u16 condition : {50, 100, 50, 50}) {
        all.push_back(NewItem(sword, condition));
        bag->AddItem(all.back());
    }
    player.gold = 1000;
    Begin();
    u32 spent = 0;
    for (int i = 0; i < 10 && !trade.GetEntries().empty(); ++i) {
        trade.Select(0);
        CTradeOutcome outcome = trade.Buy();
        ASSERT_EQ(outcome.kind, CTradeOutcome::kDone);
        spent += outcome.gold;
    }
    EXPECT_EQ(spent, 3 * 50u + 100u);
    EXPECT_EQ(player.gold, 1000u - spent);
    EXPECT_EQ(bag->GetItemCount(), 0);
    for (CItemInstance* item : all) EXPECT_EQ(Where(item), 2);

    trade.ShowList(false);
    u32 received = 0;
    for (int i = 0; i < 10 && !trade.GetEntries().empty(); ++i) {
        trade.Select(static_cast<int>(trade.GetEntries().size()) - 1);
        CTradeOutcome outcome = trade.Sell(false);
        ASSERT_EQ(outcome.kind, CTradeOutcome::kDone);
        received += outcome.gold;
    }
    EXPECT_EQ(received, 3 * 25u + 50u);
    EXPECT_EQ(player.gold, 1000u - spent + received);
    for (CItemInstance* item : all) EXPECT_EQ(Where(item), 1);
    EXPECT_EQ(player.counters[kTradeSkillMercantile], 8);
}

// An entry whose first item was taken out of the bag behind its back (a stale entry) charges nothing
// and moves nothing: the list is shown as the bag holds it.
TEST_F(ShopTradeTest, AStaleEntryNeitherChargesNorDuplicates) {
    CItemInstance* a = NewItem(sword, 50);
    CItemInstance* b = NewItem(sword, 50);
    bag->AddItem(a);
    bag->AddItem(b);
    player.gold = 1000;
    Begin();
    bag->items.Remove(a);
    player.TakeItem(a);
    CTradeOutcome outcome = trade.Buy();
    EXPECT_NE(outcome.kind, CTradeOutcome::kDone);
    EXPECT_EQ(player.gold, 1000u);
    EXPECT_EQ(Where(a), 2);
    ASSERT_EQ(trade.GetEntries().size(), 1u);
    EXPECT_EQ(trade.GetEntries()[0].item, b);
    EXPECT_EQ(trade.Buy().kind, CTradeOutcome::kDone);
    EXPECT_EQ(Where(b), 2);
    EXPECT_EQ(player.gold, 950u);
}

TEST_F(ShopTradeTest, SaleRefusalsInTheirOrder) {
    player.items.Add(NewItem(relic, 100));
    player.items.Add(NewItem(sword, 100));
    player.items.Add(NewItem(potion, 0));
    Begin();
    trade.ShowList(false);
    // The potion is a class the merchant does not deal in: not even listed.
    ASSERT_EQ(trade.GetEntries().size(), 2u);
    trade.Select(0);
    ASSERT_EQ(trade.GetSelectedEntry()->item->type, &relic);
    CTradeOutcome outcome = trade.Sell(false);
    EXPECT_EQ(outcome.kind, CTradeOutcome::kRefused);
    EXPECT_STREQ(outcome.message.GetText(), "You can't sell this item.");

    trade.Select(1);
    npc.maxPayment = 0;
    outcome = trade.Sell(true);
    EXPECT_STREQ(outcome.message.GetText(), "Orla doesn't purchase anything.");
    npc.maxPayment = 1000;
    npc.classMask = 2;
    outcome = trade.Sell(true);
    EXPECT_STREQ(outcome.message.GetText(), "Orla doesn't purchase such things.");
    EXPECT_EQ(player.gold, 0u);
    EXPECT_EQ(player.GetItemCount(), 3);
}

TEST_F(ShopTradeTest, ACappedPriceIsOfferedAndTheCapStays) {
    CItemInstance* item = NewItem(relic, 100);
    relic.flags = 0;
    relic.value = 1000;  // sells for 500
    player.items.Add(item);
    npc.maxPayment = 300;
    Begin();
    trade.ShowList(false);
    CTradeOutcome outcome = trade.Sell(false);
    EXPECT_EQ(outcome.kind, CTradeOutcome::kAskDeal);
    EXPECT_STREQ(outcome.message.GetText(), "I can't pay you more than 300. Do we have a deal?");
    EXPECT_EQ(Where(item), 2);
    outcome = trade.Sell(true);
    EXPECT_EQ(outcome.kind, CTradeOutcome::kDone);
    EXPECT_EQ(player.gold, 300u);
    EXPECT_EQ(npc.maxPayment, 300u);
    EXPECT_EQ(Where(item), 1);
}

TEST_F(ShopTradeTest, SellingUnequipsAndPaymentsStopAtTheLimit) {
    CItemInstance* worn = NewItem(sword, 100);
    player.items.Add(worn);
    player.equipped.insert(worn);
    player.gold = 999999990;
    Begin();
    trade.ShowList(false);
    ASSERT_EQ(trade.GetEntries().size(), 1u);
    EXPECT_TRUE(trade.GetEntries()[0].flags & kShopEntryEquipped);
    EXPECT_EQ(trade.Sell(false).kind, CTradeOutcome::kDone);
    EXPECT_EQ(player.gold, kGoldLimit);
    EXPECT_FALSE(player.IsEquipped(*worn));
    EXPECT_EQ(Where(worn), 1);
}

// Without a bag the merchant has no stock, and a sale has nowhere to go: refused, nothing lost.
TEST_F(ShopTradeTest, AMerchantWithoutABagShowsNoStockAndBuysNothing) {
    CItemInstance* item = NewItem(sword, 100);
    player.items.Add(item);
    player.gold = 5;
    trade.Begin(&npc, nullptr, &player, 10, nullptr);
    EXPECT_TRUE(trade.GetEntries().empty());
    EXPECT_EQ(trade.Buy().kind, CTradeOutcome::kNothing);
    trade.ShowList(false);
    CTradeOutcome outcome = trade.Sell(true);
    EXPECT_EQ(outcome.kind, CTradeOutcome::kRefused);
    EXPECT_STREQ(outcome.message.GetText(), "Orla doesn't purchase anything.");
    EXPECT_EQ(player.gold, 5u);
    EXPECT_EQ(Where(item), 2);
}

TEST_F(ShopTradeTest, BuyingTheLastOfAStackSelectsTheEntryThatTakesItsIndex) {
    bag->AddItem(NewItem(sword, 100));
    bag->AddItem(NewItem(helmet, 100));
    bag->AddItem(NewItem(potion, 0));
    player.gold = 1000;
    Begin();
    trade.Select(1);
    ASSERT_EQ(trade.Buy().kind, CTradeOutcome::kDone);
    EXPECT_EQ(trade.GetSelection(), 1);
    EXPECT_EQ(trade.GetSelectedEntry()->item->type, &potion);
    ASSERT_EQ(trade.Buy().kind, CTradeOutcome::kDone);
    EXPECT_EQ(trade.GetSelection(), 0);
    EXPECT_EQ(trade.GetSelectedEntry()->item->type, &sword);
}

}  // namespace
