// The game's player behind the shop and the services: gold, items in and out of a merchant's bag,
// skills, use counters and the trade bonus from its own values.
#include <gtest/gtest.h>

#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "screens/npc/PlayerServices.h"
#include "screens/npc/ShopTrade.h"
#include "world/Player.h"

namespace {

CItemInstance* NewItem(const CItemType& type, u16 count) {
    auto* item = new CItemInstance;
    item->type = &type;
    item->count = count;
    return item;
}

TEST(PlayerServices, TheShopTradesWithTheGamesPlayer) {
    CItemType sword;
    sword.name = "Sword";
    sword.itemClass = kItemWeapon;
    sword.subclass = 1;
    sword.value = 100;
    sword.maxCondition = 100;
    CNpc merchant;
    merchant.SetName("Orla");
    merchant.classMask = 1;
    merchant.maxPayment = 1000;
    CItemBag bag;
    CItemInstance* bought = NewItem(sword, 100);
    bag.AddItem(bought);

    CPlayer player;
    player.gold = 500;
    player.skills[17] = 40;
    player.skills[15] = 50;
    player.attributes[5] = 50;
    CPlayerServices services(player);
    EXPECT_EQ(services.GetTradeBonus(), 12);  // (20 + 50 + 100) / 14

    CShopTrade trade;
    trade.Begin(&merchant, &bag, &services, 10, nullptr);
    ASSERT_EQ(trade.Buy().kind, CTradeOutcome::kDone);
    EXPECT_EQ(player.gold, 412u);
    ASSERT_EQ(player.items.size(), 1u);
    EXPECT_EQ(player.items[0].get(), bought);
    EXPECT_EQ(player.skillUse[15], 1);
    EXPECT_EQ(bag.GetItemCount(), 0);

    player.EquipItem(bought, false);
    EXPECT_TRUE(services.IsEquipped(*bought));
    trade.ShowList(false);
    ASSERT_EQ(trade.Sell(false).kind, CTradeOutcome::kDone);
    EXPECT_EQ(player.gold, 412u + 56u);  // 50 and 12 %
    EXPECT_TRUE(player.items.empty());
    EXPECT_FALSE(services.IsEquipped(*bought));
    ASSERT_EQ(bag.GetItemCount(), 1);
    EXPECT_EQ(bag.GetItem(0), bought);

    EXPECT_FALSE(services.RemoveItem(bought));  // no longer the player's
    services.SetSkillBase(2, 31);
    EXPECT_EQ(services.GetSkillBase(2), 31u);
    EXPECT_EQ(services.GetSkillBase(0), 0u);
    EXPECT_EQ(services.GetSkillBase(21), 0u);
    services.GetSkillUseCounter(99) = 7;  // outside 1..20: a counter nobody reads
    EXPECT_EQ(player.skillUse[15], 2);
}

}  // namespace
