#include <gtest/gtest.h>

#include "app/PlayerCustomer.h"

TEST(PlayerCustomer, InnTakesThePlayersGoldOnlyWhenItCoversTheRentAndNeverLowers) {
    CPlayer player;
    CPlayerCustomer customer(player);
    player.gold = 30;
    EXPECT_FALSE(TakeGold(customer, 31));
    EXPECT_EQ(player.gold, 30u);
    EXPECT_TRUE(TakeGold(customer, 30));
    EXPECT_EQ(player.gold, 0u);

    const i32 hp = customer.GetMaxHitPoints() * 5 / 4;
    player.hp = 1;
    ApplyInnRest(customer);
    EXPECT_EQ(customer.GetHitPoints(), hp);
    player.hp = static_cast<u16>(hp + 7);
    ApplyInnRest(customer);
    EXPECT_EQ(customer.GetHitPoints(), hp + 7);
}
