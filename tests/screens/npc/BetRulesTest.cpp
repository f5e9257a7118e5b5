#include "screens/npc/BetRules.h"

#include <gtest/gtest.h>

namespace {

TEST(BetModel, StepAndOpeningBetByMaximum) {
    struct Row {
        i32 maximum, step, bet;
        bool canRaise, canLower;
    };
    const Row rows[] = {
        {100, 10, 10, true, false},
        {101, 50, 50, true, false},
        {300, 50, 50, true, false},
        {301, 100, 100, true, false},
        {1000, 100, 100, true, false},
        {1001, 1000, 1000, true, false},
        {65535, 1000, 1000, true, false},
        {10, 10, 10, false, false},
        // Below the step the bet still opens at one step, above the maximum, and no button moves it.
        {7, 10, 10, false, false},
        {1, 10, 10, false, false},
        {0, 10, 10, false, false},
        {-5, 10, 10, false, false},
    };
    for (const Row& row : rows) {
        CBetModel bet;
        bet.Open(row.maximum);
        EXPECT_EQ(bet.Step(), row.step) << row.maximum;
        EXPECT_EQ(bet.Bet(), row.bet) << row.maximum;
        EXPECT_EQ(bet.CanRaise(), row.canRaise) << row.maximum;
        EXPECT_EQ(bet.CanLower(), row.canLower) << row.maximum;
    }
}

TEST(BetModel, RaisingAndLoweringStayInRange) {
    CBetModel bet;
    bet.Open(250);  // step 50
    bet.Raise();
    EXPECT_EQ(bet.Bet(), 100);
    EXPECT_TRUE(bet.CanLower());
    bet.Raise();
    bet.Raise();
    bet.Raise();
    EXPECT_EQ(bet.Bet(), 250);  // the last step stops at the maximum
    EXPECT_FALSE(bet.CanRaise());
    bet.Raise();
    EXPECT_EQ(bet.Bet(), 250);
    bet.Lower();
    EXPECT_EQ(bet.Bet(), 200);
    bet.ToMinimum();
    EXPECT_EQ(bet.Bet(), 50);
    bet.Lower();
    EXPECT_EQ(bet.Bet(), 50);
    bet.ToMaximum();
    EXPECT_EQ(bet.Bet(), 250);

    // A raise past a maximum below the step stops at the maximum; a lowering never goes below the
    // step.
    bet.Open(5);
    bet.Raise();
    EXPECT_EQ(bet.Bet(), 5);
    bet.Lower();
    EXPECT_EQ(bet.Bet(), 10);
}

TEST(CardMoney, TheBetIsTakenOnlyWhenTheGoldCoversIt) {
    u32 gold = 100;
    EXPECT_TRUE(TakeCardBet(gold, 100));
    EXPECT_EQ(gold, 0u);
    // Spent elsewhere since the dialog: nothing is taken, nothing wraps.
    EXPECT_FALSE(TakeCardBet(gold, 10));
    EXPECT_EQ(gold, 0u);
    gold = 50;
    EXPECT_FALSE(TakeCardBet(gold, 0));
    EXPECT_FALSE(TakeCardBet(gold, -10));
    EXPECT_EQ(gold, 50u);
}

TEST(CardMoney, AWinPaysTwiceTheBetUpToTheCap) {
    u32 gold = 90;
    PayCardWin(gold, 10);
    EXPECT_EQ(gold, 110u);
    gold = kMaxPlayerGold - 5;
    PayCardWin(gold, 1000);
    EXPECT_EQ(gold, kMaxPlayerGold);
    gold = 0xFFFFFFF0u;  // every payment clamps the gold, even gold that was above the cap
    PayCardWin(gold, 65535);
    EXPECT_EQ(gold, kMaxPlayerGold);
}

}  // namespace
