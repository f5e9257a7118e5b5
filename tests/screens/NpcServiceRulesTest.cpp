#include <gtest/gtest.h>

#include "data/Npc.h"
#include "screens/npc/NpcServiceRules.h"
#include "tests/screens/FakeCustomer.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> Captions(const std::vector<ServiceButton>& buttons) {
    std::vector<std::string> out;
    for (const ServiceButton& b : buttons) out.push_back(b.caption);
    return out;
}

using Customer = FakeCustomer;

}  // namespace

TEST(NpcServiceRules, ServiceButtonsByFlagsAtMostFiveBeforeLeave) {
    struct Case {
        u8 flags;
        std::vector<std::string> captions;
        bool overflow;
    } cases[] = {
        {0, {"Talk"}, false},
        {kServiceSleep, {"Talk", "Sleep"}, false},
        {kServiceBuySell | kServiceCards, {"Talk", "Buy/sell", "Cards"}, false},
        {kServiceBuySell | kServiceTraining | kServiceRepair | kServiceEnchant | kServiceCards,
         {"Talk", "Buy/sell", "Training", "Repair", "Enchant"},
         true},
        // Five services and Talk would be six buttons for five places.
        {kServiceBuySell | kServiceTraining | kServiceRepair | kServiceEnchant | kServiceSleep,
         {"Talk", "Buy/sell", "Training", "Repair", "Enchant"},
         true},
        {0xff, {"Talk", "Buy/sell", "Training", "Repair", "Enchant"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.flags));
        const auto buttons = GetServiceButtons(c.flags);
        EXPECT_EQ(Captions(buttons), c.captions);
        EXPECT_LE(static_cast<int>(buttons.size()), kServicePlaces);
        EXPECT_EQ(ServiceFlagsOverflow(c.flags), c.overflow);
    }
    const auto all = GetServiceButtons(kServiceBuySell | kServiceTraining | kServiceRepair | kServiceEnchant);
    EXPECT_EQ(all[0].command, kServicesTalk);
    EXPECT_EQ(all[1].command, kServicesBuySell);
    EXPECT_EQ(all[2].command, kServicesTraining);
    EXPECT_EQ(all[3].command, kServicesRepair);
    EXPECT_EQ(all[4].command, kServicesEnchant);
}

TEST(NpcServiceRules, TalkServiceLinksOnlyWithoutAProfile) {
    const u8 flags = 0xff;
    EXPECT_TRUE(GetTalkServiceLinks(flags, true).empty());
    const auto links = GetTalkServiceLinks(flags, false);
    EXPECT_EQ(Captions(links),
              (std::vector<std::string>{"Buy/sell", "Training", "Repair", "Enchant", "Cards"}));
    EXPECT_EQ(links[3].command, kTalkEnchant);
    EXPECT_TRUE(GetTalkServiceLinks(0, false).empty());
}

TEST(NpcServiceRules, PriceLevelFromTheGlobalVariableOnlyWhenAboveZero) {
    CNpc npc;
    npc.bytes[1] = 12;
    const i32 positive = 30, zero = 0, negative = -4;
    EXPECT_EQ(GetNpcPriceLevel(npc, &positive), 12u);  // names no variable
    npc.texts[3] = "base_innprice";
    EXPECT_EQ(GetNpcPriceLevel(npc, &positive), 30u);
    EXPECT_EQ(GetNpcPriceLevel(npc, &zero), 12u);
    EXPECT_EQ(GetNpcPriceLevel(npc, &negative), 12u);
    EXPECT_EQ(GetNpcPriceLevel(npc, nullptr), 12u);
    npc.texts[3] = nullptr;
}

TEST(NpcServiceRules, InnRentIsFiveTimesThePriceLevelLowered) {
    Customer c;
    EXPECT_EQ(GetInnRent(10, c), 45u);
    EXPECT_EQ(GetInnRent(0, c), 0u);
}

TEST(NpcServiceRules, TakingGoldRechecksAndNeverWraps) {
    struct Case {
        u32 gold, amount;
        bool taken;
        u32 after;
    } cases[] = {
        {100, 45, true, 55},
        {45, 45, true, 0},
        {44, 45, false, 44},
        {0, 1, false, 0},
        {0xffffffffu, 1, true, kGoldLimit},
    };
    for (const Case& k : cases) {
        Customer c;
        c.gold = k.gold;
        EXPECT_EQ(TakeGold(c, k.amount), k.taken);
        EXPECT_EQ(c.gold, k.after);
    }
}

TEST(NpcServiceRules, InnRestRaisesToFiveQuartersAndNeverLowers) {
    struct Case {
        i32 hp, mana;
        bool poisoned;
        i32 hpAfter, manaAfter;
    } cases[] = {
        {10, 5, false, 50, 25},
        {40, 20, true, 50, 25},   // full before: still five quarters
        {70, 30, false, 70, 30},  // already above: kept
    };
    for (const Case& k : cases) {
        Customer c;
        c.hp = k.hp;
        c.mana = k.mana;
        c.poisoned = k.poisoned;
        EXPECT_EQ(ApplyInnRest(c), k.poisoned);
        EXPECT_EQ(c.hp, k.hpAfter);
        EXPECT_EQ(c.mana, k.manaAfter);
        EXPECT_FALSE(c.poisoned);
    }
}

TEST(NpcServiceRules, RestInTheOpenNeverLowers) {
    struct Case {
        i32 value, maximum;
        bool rain;
        i32 after;
    } cases[] = {
        {10, 40, false, 40}, {10, 40, true, 25},  {11, 40, true, 25},
        {40, 40, true, 40},  {60, 40, false, 60}, {60, 40, true, 60},
    };
    for (const Case& k : cases) EXPECT_EQ(RestoreInOpen(k.value, k.maximum, k.rain), k.after);
}

TEST(NpcServiceRules, RestCounterStepsOncePerTickAfterMoreThanASecond) {
    for (u32 start : {5000u, 0xffffffffu - 1500u}) {
        SCOPED_TRACE(start);
        CRestCounter counter;
        counter.Start(start);
        EXPECT_EQ(counter.GetHour(), 1u);
        EXPECT_FALSE(counter.Tick(start + 1000));  // not strictly more
        EXPECT_TRUE(counter.Tick(start + 1001));   // across the counter's wrap in the second case
        EXPECT_EQ(counter.GetHour(), 2u);
        EXPECT_TRUE(counter.Tick(start + 60000));  // a long pause: one hour only
        EXPECT_EQ(counter.GetHour(), 3u);
        u32 now = start + 60000;
        while (!counter.IsFinished()) {
            now += 1001;
            counter.Tick(now);
        }
        EXPECT_EQ(counter.GetHour(), 8u);
        EXPECT_FALSE(counter.Tick(now + 5000));
        counter.Start(now);
        EXPECT_EQ(counter.GetHour(), 1u);
    }
}
