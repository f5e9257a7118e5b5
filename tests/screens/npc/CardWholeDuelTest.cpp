#include "CardTestUtil.h"
#include "screens/npc/CardRules.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct DuelResult {
    u32 playerClass = 0;
    u32 opponentClass = 0;
    u32 winner = 0;
    i32 playerHp = 0;
    i32 opponentHp = 0;
    u32 plays = 0;
};

// Plays a whole duel, the player's side choosing its cards by the same rules as the opponent.
DuelResult PlayWholeDuel(u32 seed) {
    CCardTable table;
    CRandom random = SeededRandom(seed);
    CCardDuel duel(table, random);
    duel.Start();
    duel.Deal();
    DuelResult result;
    result.playerClass = duel.Side(kCardPlayer).cls;
    result.opponentClass = duel.Side(kCardOpponent).cls;
    CCardNext next;
    next.kind = CCardNext::kPlayerTurn;
    while (!duel.IsOver() && result.plays < 2000) {
        if (next.kind == CCardNext::kOpponentPlays) {
            EXPECT_FALSE(duel.CanPlayerPlay());
            duel.PlayCard(kCardOpponent, static_cast<u32>(next.slot));
        } else {
            EXPECT_TRUE(duel.CanPlayerPlay());
            i32 slot = duel.ChooseCard(kCardPlayer);
            EXPECT_GE(slot, 0);
            duel.PlayCard(kCardPlayer, static_cast<u32>(slot));
        }
        ++result.plays;
        for (u32 side = 0; side < 2; ++side) {
            EXPECT_GE(duel.Side(side).hp, 0);
            EXPECT_LE(duel.Side(side).hp, duel.Side(side).maxHp);
        }
        next = duel.EndOfWait();
    }
    EXPECT_TRUE(duel.IsOver()) << seed;
    EXPECT_EQ(next.kind, CCardNext::kGameOver);
    result.winner = duel.Winner();
    result.playerHp = duel.Side(kCardPlayer).hp;
    result.opponentHp = duel.Side(kCardOpponent).hp;
    EXPECT_EQ(result.winner == kCardPlayer ? result.opponentHp : result.playerHp, 0) << seed;
    return result;
}

// Whole duels under fixed seeds, pinned: a change to any rule, to the order of the draws from the
// generator or to the table shows here.
struct PinnedDuel {
    u32 seed;
    DuelResult result;
};

const PinnedDuel kPinned[] = {
    // seed, {player's class, opponent's class, winner, player's hp, opponent's hp, cards played}
    {1, {1, 2, 0, 0, 27, 20}},    {2, {0, 1, 1, 29, 0, 36}},    {3, {0, 1, 1, 30, 0, 53}},
    {5, {2, 0, 1, 20, 0, 31}},    {8, {0, 1, 0, 0, 20, 37}},    {13, {1, 0, 0, 0, 19, 60}},
    {21, {1, 0, 1, 20, 0, 17}},   {42, {0, 1, 1, 29, 0, 98}},   {100, {2, 0, 1, 35, 0, 40}},
    {1234, {0, 1, 1, 23, 0, 87}}, {2026, {0, 1, 1, 30, 0, 33}}, {99999, {0, 1, 1, 26, 0, 22}},
};

TEST(CardWholeDuel, SeededDuelsEndAsPinned) {
    for (const PinnedDuel& pinned : kPinned) {
        DuelResult r = PlayWholeDuel(pinned.seed);
        EXPECT_EQ(r.playerClass, pinned.result.playerClass) << pinned.seed;
        EXPECT_EQ(r.opponentClass, pinned.result.opponentClass) << pinned.seed;
        EXPECT_EQ(r.winner, pinned.result.winner) << pinned.seed;
        EXPECT_EQ(r.playerHp, pinned.result.playerHp) << pinned.seed;
        EXPECT_EQ(r.opponentHp, pinned.result.opponentHp) << pinned.seed;
        EXPECT_EQ(r.plays, pinned.result.plays) << pinned.seed;
    }
}

TEST(CardWholeDuel, ManyDuelsEndAndBothSidesWin) {
    u32 wins[2] = {};
    u32 longest = 0;
    for (u32 seed = 100; seed < 400; ++seed) {
        DuelResult r = PlayWholeDuel(seed);
        ++wins[r.winner];
        longest = std::max(longest, r.plays);
    }
    // The duel stays short: a hand cannot stall it and healing cannot outpace the damage for long.
    EXPECT_LT(longest, 400u);
    EXPECT_GT(wins[kCardPlayer], 0u);
    EXPECT_GT(wins[kCardOpponent], 0u);
}

}  // namespace
