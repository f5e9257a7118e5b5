#include "CardDuelFixture.h"

#include <vector>

namespace {

class Recorder : public ICardDuelListener {
public:
    void OnCardHit(u32 side) override { ++hits[side]; }
    void OnCardGameOver(u32 winner) override { winners.push_back(winner); }
    int hits[2] = {};
    std::vector<u32> winners;
};

TEST(CardDuelStart, ClassesDifferAndHandsAreDealtInTurn) {
    CCardTable table;
    // Seed 0 leaves the generator giving 0 for ever: the duel must still start, with two classes.
    for (u32 seed = 0; seed <= 40; ++seed) {
        CRandom random = SeededRandom(seed);
        CCardDuel duel(table, random);
        duel.Start();
        const CCardSide& player = duel.Side(kCardPlayer);
        const CCardSide& opponent = duel.Side(kCardOpponent);
        ASSERT_NE(player.cls, opponent.cls) << seed;
        EXPECT_EQ(player.hp, 40);
        EXPECT_EQ(opponent.maxHp, 40);
        EXPECT_EQ(duel.GetTurn(), CCardDuel::kPlayerTurn);
        EXPECT_FALSE(duel.CanPlayerPlay());  // nothing dealt yet

        std::vector<CCardDraw> draws = duel.Deal();
        ASSERT_EQ(draws.size(), 10u);
        for (u32 i = 0; i < draws.size(); ++i) {
            EXPECT_EQ(draws[i].slot, i / 2);
            EXPECT_EQ(draws[i].side, i % 2 == 0 ? kCardPlayer : kCardOpponent);
            EXPECT_EQ(draws[i].delayTicks, 6 * i);
            EXPECT_EQ(draws[i].card->cls, duel.Side(draws[i].side).cls);
        }
        EXPECT_EQ(player.deck.Count(), table.DeckSize(player.cls) - 5);
        EXPECT_EQ(opponent.deck.Count(), table.DeckSize(opponent.cls) - 5);
        EXPECT_TRUE(duel.CanPlayerPlay());
    }
}

TEST(CardDuelStart, ClassesFollowTheGenerator) {
    // The opponent's class is the first draw; the player's the next draw that differs.
    CCardTable table;
    for (u32 seed = 1; seed <= 20; ++seed) {
        CRandom replay = SeededRandom(seed);
        u32 opponent = replay.Next(3);
        u32 player;
        do {
            player = replay.Next(3);
        } while (player == opponent);
        CRandom random = SeededRandom(seed);
        CCardDuel duel(table, random);
        duel.Start();
        EXPECT_EQ(duel.Side(kCardOpponent).cls, opponent);
        EXPECT_EQ(duel.Side(kCardPlayer).cls, player);
    }
}

TEST_F(CardDuelTest, AnEmptyDrawPileIsShuffledAgain) {
    CCardSide& player = duel.Side(kCardPlayer);
    while (player.deck.Count() > 2) player.deck.DrawTop();
    duel.Deal();
    // Two from the old pile, then a fresh deck of the class gives the other three.
    EXPECT_EQ(player.deck.Count(), table.DeckSize(player.cls) - 3);
    EXPECT_EQ(player.CardsInHand(), 5u);
}

TEST_F(CardDuelTest, ATurnPassesToTheOpponentAndBack) {
    duel.Deal();
    ASSERT_TRUE(duel.CanPlayerPlay());
    duel.Side(kCardPlayer).hand[3] = &Card("Slash");
    duel.PlayCard(kCardPlayer, 3);
    EXPECT_FALSE(duel.CanPlayerPlay());  // the hand is no longer full
    EXPECT_EQ(Hp(kCardOpponent), 38);

    CCardNext next = duel.EndOfWait();
    ASSERT_EQ(next.kind, CCardNext::kOpponentPlays);
    EXPECT_EQ(duel.GetTurn(), CCardDuel::kOpponentTurn);
    ASSERT_GE(next.slot, 0);
    EXPECT_NE(duel.Side(kCardOpponent).hand[next.slot], nullptr);
    EXPECT_FALSE(duel.CanPlayerPlay());
    const u32 opponentSlot = static_cast<u32>(next.slot);
    duel.PlayCard(kCardOpponent, opponentSlot);

    next = duel.EndOfWait();
    ASSERT_EQ(next.kind, CCardNext::kPlayerTurn);
    EXPECT_EQ(duel.GetTurn(), CCardDuel::kPlayerTurn);
    // Slot by slot, the player's before the opponent's in the same slot.
    ASSERT_EQ(next.draws.size(), 2u);
    const bool playerFirst = 3 <= opponentSlot;
    const CCardDraw& first = next.draws[0];
    const CCardDraw& second = next.draws[1];
    EXPECT_EQ(first.side, playerFirst ? kCardPlayer : kCardOpponent);
    EXPECT_EQ(first.slot, playerFirst ? 3u : opponentSlot);
    EXPECT_EQ(second.side, playerFirst ? kCardOpponent : kCardPlayer);
    EXPECT_EQ(second.slot, playerFirst ? opponentSlot : 3u);
    EXPECT_EQ(first.delayTicks, 0u);
    EXPECT_EQ(second.delayTicks, 6u);
    EXPECT_TRUE(duel.CanPlayerPlay());
}

TEST_F(CardDuelTest, APlayersComboPlaysAgainDoubled) {
    duel.Deal();
    duel.Side(kCardPlayer).hand[0] = &Card("War cry");
    duel.Side(kCardPlayer).hand[1] = &Card("Slash");
    duel.PlayCard(kCardPlayer, 0);
    ASSERT_EQ(duel.EndOfWait().kind, CCardNext::kPlayerPlays);
    EXPECT_TRUE(duel.CanPlayerPlay());  // though the hand is short of a card
    duel.PlayCard(kCardPlayer, 1);
    EXPECT_EQ(Hp(kCardOpponent), 36);
    EXPECT_FALSE(duel.IsCombo());
    EXPECT_EQ(duel.EndOfWait().kind, CCardNext::kOpponentPlays);
}

TEST_F(CardDuelTest, APlainComboGivesTheNextCardItsOwnMultiplier) {
    duel.Deal();
    duel.Side(kCardPlayer).hand[0] = &Card("Bloodlust");
    duel.Side(kCardPlayer).hand[1] = &Card("Slash");
    duel.PlayCard(kCardPlayer, 0);
    ASSERT_EQ(duel.EndOfWait().kind, CCardNext::kPlayerPlays);
    duel.PlayCard(kCardPlayer, 1);
    EXPECT_EQ(Hp(kCardOpponent), 38);
}

TEST_F(CardDuelTest, AnOpponentsComboGivesASecondPlainCard) {
    duel.Deal();
    for (u32 slot = 0; slot < 5; ++slot) duel.Side(kCardOpponent).hand[slot] = &Card("Slash");
    duel.Side(kCardOpponent).hand[4] = &Card("Soul pile");
    duel.Side(kCardPlayer).hand[0] = &Card("Fosse");
    duel.PlayCard(kCardPlayer, 0);
    CCardNext next = duel.EndOfWait();
    ASSERT_EQ(next.kind, CCardNext::kOpponentPlays);
    duel.PlayCard(kCardOpponent, 4);  // the screen plays the slot chosen; here the combo card
    ASSERT_TRUE(duel.IsCombo());
    next = duel.EndOfWait();
    ASSERT_EQ(next.kind, CCardNext::kOpponentPlays);
    EXPECT_FALSE(duel.IsCombo());
    EXPECT_EQ(std::string(duel.Side(kCardOpponent).hand[next.slot]->name), "Slash");
    duel.PlayCard(kCardOpponent, static_cast<u32>(next.slot));
    EXPECT_EQ(Hp(kCardPlayer), 38);  // multiplier 1
    EXPECT_EQ(duel.EndOfWait().kind, CCardNext::kPlayerTurn);
}

TEST_F(CardDuelTest, AHandOfCombosEndsTheComboWhenEmpty) {
    duel.Deal();
    for (u32 slot = 0; slot < 5; ++slot)
        duel.Side(kCardPlayer).hand[slot] = &Card(slot % 2 ? "War cry" : "Bloodlust");
    for (u32 slot = 0; slot < 5; ++slot) {
        ASSERT_TRUE(duel.CanPlayerPlay());
        duel.PlayCard(kCardPlayer, slot);
        CCardNext next = duel.EndOfWait();
        if (slot < 4) {
            EXPECT_EQ(next.kind, CCardNext::kPlayerPlays);
        } else {
            // Still a combo, but nothing left to table: the turn passes.
            EXPECT_EQ(next.kind, CCardNext::kOpponentPlays);
            EXPECT_FALSE(duel.IsCombo());
        }
    }
}

TEST_F(CardDuelTest, AnOpponentsHandOfCombosPassesTheTurn) {
    duel.Deal();
    for (u32 slot = 0; slot < 5; ++slot) duel.Side(kCardOpponent).hand[slot] = &Card("Heart pile");
    duel.Side(kCardPlayer).hand[0] = &Card("Fosse");
    duel.PlayCard(kCardPlayer, 0);
    CCardNext next = duel.EndOfWait();
    int played = 0;
    while (next.kind == CCardNext::kOpponentPlays && played < 10) {
        duel.PlayCard(kCardOpponent, static_cast<u32>(next.slot));
        ++played;
        next = duel.EndOfWait();
    }
    EXPECT_EQ(played, 5);
    ASSERT_EQ(next.kind, CCardNext::kPlayerTurn);
    EXPECT_EQ(next.draws.size(), 6u);  // the player's slot 0 and all five of the opponent's
    EXPECT_FALSE(duel.IsCombo());
    EXPECT_TRUE(duel.CanPlayerPlay());
}

TEST_F(CardDuelTest, GivingUpLosesAtOnce) {
    Recorder recorder;
    duel.SetListener(&recorder);
    duel.Deal();
    duel.GiveUp();
    EXPECT_TRUE(duel.IsOver());
    EXPECT_EQ(duel.Winner(), kCardOpponent);
    EXPECT_FALSE(duel.CanPlayerPlay());
    duel.GiveUp();
    ASSERT_EQ(recorder.winners.size(), 1u);
    EXPECT_EQ(recorder.winners[0], kCardOpponent);
}

TEST_F(CardDuelTest, EachHitIsReported) {
    Recorder recorder;
    duel.SetListener(&recorder);
    SetMarker(kCardOpponent, 0, "Tower shield", 8);
    duel.InflictDamage(3, kCardPlayer);  // absorbed whole: no hit
    EXPECT_EQ(recorder.hits[kCardOpponent], 0);
    duel.InflictDamage(10, kCardPlayer);
    EXPECT_EQ(recorder.hits[kCardOpponent], 1);
    EXPECT_TRUE(duel.Side(kCardOpponent).hitFlash);
    duel.EndOfWait();
    EXPECT_FALSE(duel.Side(kCardOpponent).hitFlash);
}

TEST(CardWait, EndsByTheDifferenceOfTicks) {
    CCardWait wait;
    EXPECT_FALSE(wait.IsOver(5000));
    wait.Start(0xFFFFFE00u);  // just before the counter wraps
    EXPECT_TRUE(wait.IsRunning());
    EXPECT_FALSE(wait.IsOver(0xFFFFFFFFu));
    EXPECT_FALSE(wait.IsOver(0x000001E7u));  // 999 ms later, past the wrap
    EXPECT_TRUE(wait.IsOver(0x000001E8u));   // 1000 ms later
    wait.Stop();
    EXPECT_FALSE(wait.IsOver(0x000001E8u));
}

}  // namespace
