#include "CardTestUtil.h"
#include "screens/npc/BetRules.h"
#include "screens/npc/CardMatch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A board with the draw piles on the left and right, the hands along the top and bottom and the
// table in the middle; it records what the match reports.
class FakeBoard : public ICardMatchView {
public:
    CCardPoint DrawPilePosition(u32 side) override { return {side == kCardPlayer ? 0 : 600, 200}; }
    CCardPoint HandSlotPosition(u32 side, u32 slot) override {
        return {100 + 60 * static_cast<i32>(slot), side == kCardPlayer ? 400 : 0};
    }
    CCardPoint TablePosition() override { return {300, 200}; }

    void OnFlightStarted(const CCardFlight&) override { ++started; }
    void OnFlightMoved(const CCardFlight& flight) override { moves.push_back(flight.Position()); }
    void OnFlightEnded(const CCardFlight& flight) override { ended.push_back(flight); }
    void OnOpponentChose(u32 slot) override { chosen.push_back(slot); }
    void OnCardGameOver(u32 winner) override { winners.push_back(winner); }

    int started = 0;
    std::vector<CCardPoint> moves;
    std::vector<CCardFlight> ended;
    std::vector<u32> chosen;
    std::vector<u32> winners;
};

class CardMatchTest : public ::testing::Test {
protected:
    void SetUp() override { match.SetView(&board); }

    // Ticks every 20 ms until no card flies; answers the ticks taken.
    int Fly() {
        int ticks = 0;
        while (match.IsBusy() && ticks < 1000) {
            now += 20;
            match.Tick(now);
            ++ticks;
        }
        return ticks;
    }

    CCardTable table;
    CRandom random = SeededRandom(7);
    CCardMatch match{table, random};
    FakeBoard board;
    u32 now = 0xFFFFF000u;  // close to the wrap of the tick counter
    u32 gold = 500;
};

TEST_F(CardMatchTest, BeginTakesTheBetAndDeals) {
    ASSERT_TRUE(match.Begin(100, gold, now));
    EXPECT_EQ(gold, 400u);
    EXPECT_EQ(match.Flights().size(), 10u);
    EXPECT_TRUE(match.IsBusy());
    EXPECT_EQ(match.TapHandSlot(0), CCardMatch::kTapIgnored);  // cards in flight
    // The last card waits 54 ticks, flies 6 and lands on the next.
    EXPECT_EQ(Fly(), 61);
    EXPECT_EQ(board.started, 9);  // the first card has no delay to run out
    ASSERT_EQ(board.ended.size(), 10u);
    EXPECT_EQ(board.ended[0].owner, kCardPlayer);
    EXPECT_EQ(board.ended[0].Position().x, 100);
    EXPECT_EQ(board.ended[0].Position().y, 400);
    EXPECT_EQ(match.Duel().Side(kCardPlayer).CardsInHand(), 5u);
    const std::string opening = match.OpeningText();
    EXPECT_EQ(opening.rfind("You play as a ", 0), 0u);
    EXPECT_NE(opening.find(", while your opponent plays as a "), std::string::npos);
}

TEST_F(CardMatchTest, ABetTheGoldNoLongerCoversTakesNothing) {
    gold = 40;
    EXPECT_FALSE(match.Begin(50, gold, now));
    EXPECT_EQ(gold, 40u);
    EXPECT_TRUE(match.IsOver());
    EXPECT_FALSE(match.Tick(now + 20));
    EXPECT_EQ(match.TapHandSlot(0), CCardMatch::kTapIgnored);
    EXPECT_EQ(match.Settle(gold), "You don't have enough money.");
    EXPECT_EQ(gold, 40u);
}

TEST_F(CardMatchTest, FlightsMoveInSixEqualSteps) {
    ASSERT_TRUE(match.Begin(10, gold, now));
    Fly();
    board.moves.clear();
    ASSERT_EQ(match.TapHandSlot(2), CCardMatch::kTapSelected);
    EXPECT_EQ(match.Selection(), 2);
    ASSERT_EQ(match.TapHandSlot(4), CCardMatch::kTapSelected);
    ASSERT_EQ(match.TapHandSlot(4), CCardMatch::kTapPlayed);
    EXPECT_EQ(match.Selection(), -1);
    // From (340, 400) to (300, 200): -40 and -200 pixels in steps of 8.8 fixed point.
    EXPECT_EQ(Fly(), 7);
    ASSERT_EQ(board.moves.size(), 6u);
    const CCardPoint expected[] = {{333, 366}, {326, 333}, {320, 300}, {313, 266}, {306, 233}, {300, 200}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(board.moves[i].x, expected[i].x) << i;
        EXPECT_EQ(board.moves[i].y, expected[i].y) << i;
    }
    EXPECT_EQ(board.ended.back().Position().x, 300);
    EXPECT_TRUE(board.ended.back().play);
    EXPECT_EQ(match.Duel().Side(kCardPlayer).hand[4], nullptr);  // the card has landed
}

TEST_F(CardMatchTest, TheWaitEndsAfterASecondAcrossTheWrap) {
    ASSERT_TRUE(match.Begin(10, gold, now));
    Fly();
    match.TapHandSlot(0);
    match.TapHandSlot(0);
    Fly();
    const u32 landed = now;
    EXPECT_FALSE(match.Tick(landed + 999));
    EXPECT_TRUE(board.chosen.empty());
    ASSERT_FALSE(match.IsOver());
    EXPECT_TRUE(match.Tick(landed + 1000));
    // The opponent has chosen, and its card flies to the table.
    ASSERT_EQ(board.chosen.size(), 1u);
    ASSERT_EQ(match.Flights().size(), 1u);
    EXPECT_EQ(match.Flights()[0].owner, kCardOpponent);
    EXPECT_EQ(match.Flights()[0].slot, board.chosen[0]);
    EXPECT_EQ(match.TapHandSlot(1), CCardMatch::kTapIgnored);
}

// Plays a whole match through taps and ticks, the player taking the card the rules would choose.
TEST_F(CardMatchTest, AWholeMatchPaysOrKeepsTheBet) {
    for (u32 seed : {3u, 8u, 21u, 42u}) {
        random = SeededRandom(seed);
        board = FakeBoard{};
        gold = 500;
        ASSERT_TRUE(match.Begin(100, gold, now));
        int guard = 0;
        while (!match.IsOver() && ++guard < 100000) {
            now += 20;
            match.Tick(now);
            if (!match.IsBusy() && match.Duel().CanPlayerPlay()) {
                i32 slot = match.Duel().ChooseCard(kCardPlayer);
                ASSERT_GE(slot, 0);
                match.TapHandSlot(static_cast<u32>(slot));
                ASSERT_EQ(match.TapHandSlot(static_cast<u32>(slot)), CCardMatch::kTapPlayed);
            }
        }
        ASSERT_TRUE(match.IsOver()) << seed;
        ASSERT_EQ(board.winners.size(), 1u);
        const std::string text = match.Settle(gold);
        if (match.PlayerWon()) {
            EXPECT_EQ(gold, 600u);
            EXPECT_EQ(text, "You win! The bet is yours, 200\x09.");
        } else {
            EXPECT_EQ(gold, 400u);
            EXPECT_EQ(text, "You lost your bet, 100\x09.");
        }
        // Settling again pays nothing more; the ended match ticks no further.
        match.Settle(gold);
        EXPECT_EQ(gold, match.PlayerWon() ? 600u : 400u);
        EXPECT_FALSE(match.Tick(now + 5000));
    }
}

TEST_F(CardMatchTest, GivingUpLosesTheBet) {
    ASSERT_TRUE(match.Begin(30, gold, now));
    Fly();
    match.GiveUp();
    EXPECT_TRUE(match.IsOver());
    EXPECT_FALSE(match.PlayerWon());
    EXPECT_EQ(match.Settle(gold), "You lost your bet, 30\x09.");
    EXPECT_EQ(gold, 470u);
}

}  // namespace
