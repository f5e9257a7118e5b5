// The shop screen on the started game: entering on a merchant, buying and selling through its
// commands, the deal offer's Yes and No, messages that give way to the description, and leaving.
#include <gtest/gtest.h>

#include <string>

#include "app/Game.h"
#include "screens/npc/ShopScreen.h"
#include "tests/screens/TradeWorldFake.h"
#include "tests/support/FrameRig.h"

namespace {

using trade_testing::FakeTradeWorld;

// A started game at the main menu that enters the shop on the fake world's merchant.
struct ShopRig : testing_support::FrameRig {
    bool Open(u32 creature = 1) {
        if (!StartOnBuiltDatabase()) return false;
        Key(27);
        Game()->tradeWorld = &world;
        CScreen* below = Current();
        below->entryA = 0;
        below->entryB = 1;
        below->entryC = creature;
        below->entryD = 1;
        below->keepOnStack = 1;
        Game()->SwitchScreen(kScreenShop);
        shop = static_cast<CShopScreen*>(Game()->GetScreen(kScreenShop));
        Tick();
        return Current() == shop;
    }
    std::string Text() const {
        std::string out;
        for (u32 i = 0; i < shop->description.pages.GetCount(); ++i)
            out += shop->description.pages.GetText(i);
        // The box ends its lines with CR: read them as one sentence.
        for (char& c : out)
            if (c == '\r') c = ' ';
        while (!out.empty() && out.back() == ' ') out.pop_back();
        return out;
    }
    ~ShopRig() {
        if (Game()) Game()->tradeWorld = nullptr;
    }

    FakeTradeWorld world;
    CShopScreen* shop = nullptr;
};

void Stock(FakeTradeWorld& world) {
    world.bag.AddItem(FakeTradeWorld::Item(world.sword, 200));
    world.bag.AddItem(FakeTradeWorld::Item(world.sword, 200));
    world.bag.AddItem(FakeTradeWorld::Item(world.axe, 150));
    world.bag.AddItem(FakeTradeWorld::Item(world.helmet, 200));
    world.bag.AddItem(FakeTradeWorld::Item(world.potion, 0));
    world.player.items.Add(FakeTradeWorld::Item(world.helmet, 100));
    world.player.items.Add(FakeTradeWorld::Item(world.potion, 0));
    world.player.gold = 500;
}

TEST(ShopScreen, EntersOnTheMerchantsStockAndDrawsIt) {
    ShopRig rig;
    Stock(rig.world);
    ASSERT_TRUE(rig.Open());
    EXPECT_TRUE(rig.shop->trade.IsShowingShop());
    EXPECT_EQ(rig.shop->nameLabel.text.GetText(), std::string("Orla"));
    ASSERT_EQ(rig.shop->trade.GetEntries().size(), 4u);
    EXPECT_EQ(rig.shop->trade.GetEntries()[0].count, 2);
    EXPECT_EQ(rig.shop->trade.GetEntries()[0].price, 144u);  // 120 x 12 / 10
    EXPECT_EQ(rig.Text().find("Short sword") != std::string::npos ||
                  rig.shop->description.title.Equals("Short sword"),
              true);
    EXPECT_TRUE(testing_support::MatchesGolden("screens/shop_stock", rig.Capture()));
}

TEST(ShopScreen, BuyingAndSellingThroughTheButtonsChangeTheGoldAsThePricesSay) {
    ShopRig rig;
    Stock(rig.world);
    rig.world.player.bonus = 10;
    ASSERT_TRUE(rig.Open());
    const u32 price = rig.shop->trade.GetEntries()[0].price;
    EXPECT_EQ(price, 130u);  // 144 less 10 %
    EXPECT_EQ(rig.shop->OnCommand(CShopScreen::kBuy), kScreenStay);
    EXPECT_EQ(rig.world.player.gold, 500u - price);
    EXPECT_EQ(rig.world.sounds, std::vector<std::string>{"bsnd_pickup"});
    EXPECT_EQ(rig.shop->trade.GetEntries()[0].count, 1);
    EXPECT_EQ(rig.shop->messageActive, 1u);

    // The first Sell only switches to the player's items.
    rig.shop->OnCommand(CShopScreen::kSell);
    EXPECT_FALSE(rig.shop->trade.IsShowingShop());
    EXPECT_EQ(rig.world.player.gold, 500u - price);
    // Helmet at half condition: 60 x 100 / 200 = 30, half of it 15, plus 10 %: 16. The potion is not
    // a class this merchant buys: only the helmet and the bought sword are listed.
    ASSERT_EQ(rig.shop->trade.GetEntries().size(), 2u);
    rig.shop->trade.Select(1);
    ASSERT_EQ(rig.shop->trade.GetSelectedEntry()->item->type, &rig.world.helmet);
    rig.shop->OnCommand(CShopScreen::kSell);
    EXPECT_EQ(rig.world.player.gold, 500u - price + 16u);
    EXPECT_EQ(rig.world.bag.GetItemCount(), 5);
    EXPECT_EQ(rig.world.sounds.back(), "bsnd_drop");
    rig.Tick();
    EXPECT_TRUE(testing_support::MatchesGolden("screens/shop_player_items", rig.Capture()));

    // Leaving goes back to the screen underneath.
    EXPECT_EQ(rig.shop->OnCommand(CShopScreen::kLeave), kScreenBack);
}

TEST(ShopScreen, TheDealOfferStandsUntilYesOrNo) {
    ShopRig rig;
    rig.world.player.items.Add(FakeTradeWorld::Item(rig.world.axe, 150));
    rig.world.axe.value = 1000;  // sells for 1000 x 150 / 200 / 2 = 375 against a cap of 300
    ASSERT_TRUE(rig.Open());
    rig.shop->OnCommand(CShopScreen::kSell);
    rig.shop->OnCommand(CShopScreen::kSell);
    EXPECT_EQ(rig.shop->asking, 1u);
    EXPECT_EQ(rig.Text(), "I can't pay you more than 300. Do we have a deal?");
    EXPECT_TRUE(rig.shop->yesButton.IsShown());
    rig.Tick();
    EXPECT_TRUE(testing_support::MatchesGolden("screens/shop_deal_offer", rig.Capture()));
    rig.shop->OnCommand(CShopScreen::kNo);
    EXPECT_EQ(rig.shop->asking, 0u);
    EXPECT_EQ(rig.world.player.gold, 0u);
    EXPECT_EQ(rig.shop->description.title.GetText(), std::string("Axe"));
    rig.shop->OnCommand(CShopScreen::kSell);
    rig.shop->OnCommand(CShopScreen::kYes);
    EXPECT_EQ(rig.world.player.gold, 300u);
    EXPECT_EQ(rig.world.merchant.maxPayment, 300u);
    // Yes outside the offer does nothing.
    rig.shop->OnCommand(CShopScreen::kYes);
    EXPECT_EQ(rig.world.player.gold, 300u);
}

TEST(ShopScreen, AMessageGivesWayToTheDescriptionWhenItsTimeIsUp) {
    ShopRig rig;
    Stock(rig.world);
    rig.world.player.gold = 10;
    ASSERT_TRUE(rig.Open());
    rig.shop->OnCommand(CShopScreen::kBuy);
    EXPECT_EQ(rig.Text(), "You don't have enough gold.");
    for (int i = 0; i < 90; ++i) rig.Tick(30);
    EXPECT_EQ(rig.Text(), "You don't have enough gold.");
    for (int i = 0; i < 20; ++i) rig.Tick(30);
    EXPECT_EQ(rig.shop->messageActive, 0u);
    EXPECT_EQ(rig.shop->description.title.GetText(), std::string("Short sword"));
}

TEST(ShopScreen, WithoutACreatureTheShopNeitherStocksNorLooksUpABag) {
    ShopRig rig;
    Stock(rig.world);
    ASSERT_TRUE(rig.Open(0));
    EXPECT_EQ(rig.world.bagLookUps, 0);
    EXPECT_TRUE(rig.shop->trade.GetEntries().empty());
    rig.shop->OnCommand(CShopScreen::kSell);
    rig.shop->OnCommand(CShopScreen::kSell);
    EXPECT_EQ(rig.Text(), "Orla doesn't purchase anything.");
    EXPECT_EQ(rig.world.player.GetItemCount(), 2);
    EXPECT_EQ(rig.world.player.gold, 500u);
}

// On the game's own world: the game's player sells to an NPC that has no bag yet.
TEST(ShopScreen, OnTheGamesOwnWorldThePlayerTradesThroughTheGame) {
    ShopRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    rig.Key(27);
    CGame& game = *rig.Game();
    game.player.gold = 1234;
    ASSERT_NE(game.GetTradeWorld(), nullptr);
    EXPECT_EQ(game.GetTradeWorld()->GetServicePlayer()->GetGold(), 1234u);
    EXPECT_EQ(game.GetTradeWorld()->GetNpc(0), nullptr);
    game.SwitchScreen(kScreenShop);
    auto* shop = static_cast<CShopScreen*>(game.GetScreen(kScreenShop));
    ASSERT_EQ(rig.Current(), shop);
    EXPECT_TRUE(shop->trade.GetEntries().empty());
    EXPECT_EQ(shop->merchantBag, nullptr);
    EXPECT_NE(std::string(shop->goldLabel.text.GetText()).find("Gold:"), std::string::npos);
    EXPECT_EQ(shop->OnCommand(CShopScreen::kLeave), kScreenBack);
}

}  // namespace
