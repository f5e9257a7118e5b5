// The trade, repair and training arithmetic as tables, without a screen.
#include <gtest/gtest.h>

#include <deque>

#include "core/Str.h"
#include "data/CharacterTables.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "screens/npc/TradeRules.h"

namespace {

TEST(TradeRules, TradeBonusFromSkillsPersonalityAndDrink) {
    struct Case {
        CTradeSkills skills;
        int bonus;
    } cases[] = {
        {{0, 0, 0, 0, false}, 0},          // personality counts at least 1: 1 / 14
        {{20, 30, 10, 0, false}, 4},       // (10 + 30 + 20) / 14
        {{40, 50, 50, 0, false}, 12},      // (20 + 50 + 100) / 14
        {{40, 50, 50, 30, true}, 11},      // drunk: penalty 30 / 5 + 1 = 7 -> (20 + 43 + 100) / 14
        {{40, 50, 50, 30, false}, 11},     // tipsy: penalty 30 / 10 + 1 = 4 -> (20 + 46 + 100) / 14
        {{0, 5, 0, 90, true}, 0},          // the penalty cannot take personality below 1
        {{400, 400, 600, 0, false}, 100},  // stacked Fortify effects: held at 100 %
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComputeTradeBonus(c.skills), c.bonus) << c.skills.persuade << " " << c.skills.personality;
}

TEST(TradeRules, AdjustPriceLowersWhatThePlayerPaysAndRaisesWhatItIsPaid) {
    struct Case {
        u32 price;
        int bonus;
        u32 buys, sells;
    } cases[] = {
        {100, 0, 100, 100},
        {100, 12, 88, 112},
        {99, 12, 88, 110},  // 99 x 12 / 100 = 11, truncated
        {7, 10, 7, 7},      // a change below one piece is lost
        {1000, 100, 0, 2000},
        {1000, 250, 0, 2000},  // above 100 % is held at 100 %: no wrap to a huge price
        {1000, -30, 1000, 1000},
        {0xFFFFFFF0u, 50, 0x7FFFFFF8u, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AdjustPrice(c.price, c.bonus, TradeSide::PlayerBuys), c.buys) << c.price << " " << c.bonus;
        EXPECT_EQ(AdjustPrice(c.price, c.bonus, TradeSide::PlayerSells), c.sells)
            << c.price << " " << c.bonus;
    }
}

TEST(TradeRules, ShopPricesByValueLevelAndClass) {
    EXPECT_EQ(GetShopBuyPrice(100, 10), 100u);
    EXPECT_EQ(GetShopBuyPrice(100, 15), 150u);
    EXPECT_EQ(GetShopBuyPrice(33, 7), 23u);  // 231 / 10
    EXPECT_EQ(GetShopBuyPrice(0xFFFFFFFFu, 20), 0xFFFFFFFFu);
    struct Case {
        int itemClass, subclass;
        u32 value, price;
    } sells[] = {
        {kItemBook, 1, 101, 25}, {kItemMagic, 2, 101, 25},  // books and spellbooks: a quarter
        {kItemBook, 2, 101, 50}, {kItemMagic, 1, 101, 50}, {kItemWeapon, 1, 101, 50}, {kItemPotion, 0, 1, 0},
    };
    for (const Case& c : sells)
        EXPECT_EQ(GetShopSellPrice(c.value, c.itemClass, c.subclass), c.price)
            << c.itemClass << "/" << c.subclass;

    CItemType arrows;
    arrows.itemClass = kItemWeapon;
    arrows.subclass = 11;
    CItemType sword;
    sword.itemClass = kItemWeapon;
    sword.subclass = 1;
    EXPECT_EQ(GetEntryValue(arrows, 30, 18), 45u);  // by the dozen: 18 x 30 / 12
    EXPECT_EQ(GetEntryValue(arrows, 5, 1), 0u);
    EXPECT_EQ(GetEntryValue(sword, 30, 18), 30u);
}

TEST(TradeRules, PriceLevelFromTheNamedVariableWhenItIsSetAndPositive) {
    CNpc npc;
    npc.bytes[1] = 12;
    const i32 five = 5, zero = 0, negative = -3;
    EXPECT_EQ(GetNpcPriceLevel(npc, &five), 12u);  // no variable named: the record's level
    char name[] = "base_prices";
    npc.texts[3] = name;
    EXPECT_EQ(GetNpcPriceLevel(npc, nullptr), 12u);  // named but missing
    EXPECT_EQ(GetNpcPriceLevel(npc, &zero), 12u);
    EXPECT_EQ(GetNpcPriceLevel(npc, &negative), 12u);
    EXPECT_EQ(GetNpcPriceLevel(npc, &five), 5u);
    npc.texts[3] = nullptr;
}

TEST(TradeRules, MoneyTextsAndPaymentsStopAtTheGoldLimit) {
    struct Case {
        u32 amount;
        const char* text;
    } cases[] = {
        {0, "0"},        {9999, "9999"},      {10000, "10K"},     {999999, "999K"},
        {1000000, "1M"}, {999999999, "999M"}, {1000000000, "1B"}, {4000000000u, "4B"},
    };
    for (const Case& c : cases) {
        CStr text;
        FormatMoney(c.amount, text);
        EXPECT_STREQ(text.GetText(), c.text) << c.amount;
    }
    EXPECT_EQ(PayToPlayer(10, 5), 15u);
    EXPECT_EQ(PayToPlayer(999999990, 300), kGoldLimit);
    EXPECT_EQ(PayToPlayer(kGoldLimit, 0xFFFFFFFFull), kGoldLimit);

    u16 counter = 253;
    for (int i = 0; i < 5; ++i) RaiseUseCounter(counter);
    EXPECT_EQ(counter, 255);
}

TEST(TradeRules, ConditionWords) {
    struct Case {
        u32 condition, maximum;
        const char* word;
    } cases[] = {
        {0, 200, "broken"},    {19, 200, "broken"},   {20, 200, "poor"},  {59, 200, "poor"},
        {60, 200, "average"},  {139, 200, "average"}, {140, 200, "good"}, {199, 200, "good"},
        {200, 200, "perfect"}, {0, 0, "broken"},      {5, 0, "perfect"},  // a maximum of 0 counts as 1
    };
    for (const Case& c : cases)
        EXPECT_STREQ(GetConditionWord(GetConditionPercent(c.condition, c.maximum)), c.word)
            << c.condition << "/" << c.maximum;
}

TEST(TradeRules, RepairableClasses) {
    CItemType type;
    struct Case {
        u8 itemClass, subclass;
        bool repairable;
    } cases[] = {
        {kItemWeapon, 1, true},      {kItemWeapon, 8, false},    {kItemWeapon, 11, false},
        {kItemWeapon, 13, false},    {kItemWeapon, 12, true},    {kItemHeavyArmour, 1, true},
        {kItemLightArmour, 2, true}, {kItemAccessory, 1, false}, {kItemRepair, 0, false},
    };
    for (const Case& c : cases) {
        type.itemClass = c.itemClass;
        type.subclass = c.subclass;
        EXPECT_EQ(IsRepairable(type), c.repairable) << int(c.itemClass) << "/" << int(c.subclass);
    }
}

// Draws answered from a script, and every n asked for remembered.
struct ScriptedDraws {
    std::deque<u32> answers;
    std::vector<i32> asked;
    RandomDraw Draw() {
        return [this](i32 n) -> u32 {
            asked.push_back(n);
            if (n < 1) return 0;
            u32 v = answers.empty() ? 0 : answers.front();
            if (!answers.empty()) answers.pop_front();
            return v % static_cast<u32>(n);
        };
    }
};

TEST(TradeRules, HammerRepairWearsRollsAndGainsInThatOrder) {
    struct Case {
        int skill;
        std::vector<u32> draws;  // wear draw (none below 1), roll, gain draw
        u16 hammerBefore, itemBefore, itemMax;
        u16 hammerAfter, itemAfter;
        bool success;
        std::vector<i32> asked;
    } cases[] = {
        // Skill 0: wear 60 + random(60); only a roll of 0 succeeds; a success adds 75 + random(75).
        {0, {10, 0, 20}, 500, 100, 1000, 430, 195, true, {60, 100, 75}},
        {0, {10, 1}, 500, 100, 1000, 430, 100, false, {60, 100}},
        // Skill 50: every roll (at most 99) succeeds; wear 35 + random(35); gain 100 + random(100).
        {50, {0, 99, 0}, 500, 100, 1000, 465, 200, true, {35, 100, 100}},
        // Skill 120 and above: the hammer does not wear (no wear draw is possible).
        {120, {99, 0}, 500, 100, 1000, 500, 235, true, {0, 100, 135}},
        {140, {50, 5}, 500, 100, 1000, 500, 250, true, {-10, 100, 145}},
        // The gain stops at the maximum; the wear at 0.
        {10, {54, 3, 0}, 40, 950, 1000, 0, 1000, true, {55, 100, 80}},
    };
    for (const Case& c : cases) {
        ScriptedDraws draws;
        draws.answers.assign(c.draws.begin(), c.draws.end());
        u16 hammer = c.hammerBefore, item = c.itemBefore;
        const CRepairAttempt attempt = TryHammerRepair(c.skill, hammer, item, c.itemMax, draws.Draw());
        EXPECT_EQ(hammer, c.hammerAfter) << "skill " << c.skill;
        EXPECT_EQ(item, c.itemAfter) << "skill " << c.skill;
        EXPECT_EQ(attempt.success, c.success) << "skill " << c.skill;
        EXPECT_EQ(draws.asked, c.asked) << "skill " << c.skill;
    }
}

TEST(TradeRules, SmithCostIsTheMissingConditionAtTheRateAndAtLeastOne) {
    struct Case {
        u32 condition, maximum, rate, cost;
    } cases[] = {
        {0, 200, 10, 20},  {199, 200, 10, 1}, {0, 200, 25, 50},
        {150, 200, 15, 7}, {200, 200, 10, 1}, {0, 65535, 255, 167114},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetSmithRepairCost(c.condition, c.maximum, c.rate), c.cost)
            << c.condition << "/" << c.maximum;
    // Shown and charged after the trade bonus.
    EXPECT_EQ(AdjustPrice(GetSmithRepairCost(0, 200, 10), 10, TradeSide::PlayerBuys), 18u);
}

TEST(TradeRules, TrainingRefusalsInTheirOrder) {
    using R = TrainingRefusal;
    struct Case {
        int skill, race;
        u32 base, maximum;
        bool canRaise;
        R refusal;
    } cases[] = {
        {2, 2, 10, 30, true, R::kTrainOk},
        {8, 1, 10, 30, true, R::kTrainCannotLearn},   // heal magic for the undead race
        {12, 3, 10, 30, true, R::kTrainCannotLearn},  // undead magic for the others
        {8, 3, 10, 30, true, R::kTrainOk},
        {12, 1, 10, 30, true, R::kTrainOk},
        {2, 2, 30, 30, true, R::kTrainTrainerLimit},   // even with gold to spare
        {8, 1, 30, 30, false, R::kTrainCannotLearn},   // the race bar first
        {2, 2, 30, 30, false, R::kTrainTrainerLimit},  // then the trainer's level
        {2, 2, 20, 30, false, R::kTrainNeedAttribute},
        {0, 2, 0, 30, true, R::kTrainUnknownSkill},  // skill bytes outside 1..20 name no skill
        {21, 2, 0, 30, true, R::kTrainUnknownSkill},
        {255, 2, 0, 255, true, R::kTrainUnknownSkill},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckTraining(c.skill, c.race, c.base, c.maximum, c.canRaise), c.refusal)
            << "skill " << c.skill << " race " << c.race << " base " << c.base;
}

TEST(TradeRules, TrainingPriceInterpolatesTheCostPointsAndEndsAtTheLast) {
    CSkillTable skills;  // built-in points 50, 100, 200, 300, 450, 600, 800, 1100, 1500, 2000, 3000
    struct Case {
        u32 base;
        int bonus;
        u32 price;
    } cases[] = {
        {0, 0, 50},     {5, 0, 75},     {10, 0, 100},   {25, 0, 250},     {99, 0, 2900},
        {100, 0, 3000}, {101, 0, 3000}, {200, 0, 3000}, {65535, 0, 3000},  // past the table: its last cost
        {25, 10, 225},
    };
    for (const Case& c : cases) EXPECT_EQ(GetTrainingPrice(skills, c.base, c.bonus), c.price) << c.base;
}

}  // namespace
