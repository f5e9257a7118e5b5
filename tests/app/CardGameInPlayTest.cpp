// The card player of the town as a new player meets him: walked up to and used from the game view,
// his services' "Cards", a bet set in the bet dialog, the game played with the mouse alone, the gold
// settled, and his services left for the view again.
#include <gtest/gtest.h>

#include <string>

#include "app/Game.h"
#include "data/Npc.h"
#include "screens/npc/CardGameScreen.h"
#include "screens/npc/ServicesScreen.h"
#include "tests/app/PlayRig.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

namespace {

using testing_support::kSouth;

struct CardRig : testing_support::PlayRig {
    // The player before the card player in the town's house, the use key pressed: his services (he
    // has one, the cards).
    CServicesScreen* AddressTheCardPlayer() {
        if (!View()->ChangeMap("base_town_arrive", 0)) return nullptr;
        SettleView();
        PlaceAt(9, 10, kSouth);  // he sits at (9, 11)
        Use();
        for (int i = 0; i < 10 && Current() == View(); ++i) Tick(30);
        if (Current() != Game()->GetScreen(kScreenServices)) return nullptr;
        Tick(30);  // the menu takes taps from the tick after its entry
        return static_cast<CServicesScreen*>(Current());
    }
    CCardGameScreen* Board() { return static_cast<CCardGameScreen*>(Game()->GetScreen(kScreenCardGame)); }
    // Waits until the player may lay a card down (or the game is over); false when neither comes.
    bool AwaitPlayersTurn(CCardGameScreen& board) {
        for (int i = 0; i < 2000 && !board.IsFinished(); ++i) {
            if (!board.Match()->IsBusy() && board.Match()->Duel().CanPlayerPlay()) return true;
            Tick(30);
        }
        return board.IsFinished();
    }
    // The shown button of a message bar that answers with the command (any shown one for 0), tapped
    // once the message takes taps: not on the tick that opened it.
    void TapBarButton(CButtonBar& bar, u32 command = 0) {
        const CWidget* button = nullptr;
        for (const CTextButton& b : bar.buttons)
            if (b.IsShown() && (command == 0 || b.commandId == command)) button = &b;
        ASSERT_NE(button, nullptr) << command;
        Tick(30);
        TapWidget(*button);
    }
};

// One visit to the card player from the view and back, the game played with the mouse by a player
// who lays down the card that scores best by the opponent's own rules; the clock's start time seeds
// the game's generator, and with it the decks. The outcome goes to `won`.
void PlayAGameForABetOf100(u32 startTime, bool& won) {
    CardRig rig;
    rig.env.clock.SetTime(startTime);
    ASSERT_TRUE(rig.Start());
    CGame& game = *rig.Game();
    CGameScreen* view = rig.View();
    CServicesScreen* menu = rig.AddressTheCardPlayer();
    ASSERT_NE(menu, nullptr);
    const CNpc* npc = game.GetNpcForEntry(view->entryB);
    ASSERT_NE(npc, nullptr);
    EXPECT_STREQ(npc->GetName(), "Fenn");

    // What a new player carries covers a bet of 100.
    const u32 gold = game.player.gold;
    ASSERT_GE(gold, 100u);
    const u32 minutes = view->gameClock.Minutes();

    ASSERT_TRUE(rig.TapService(*menu, kServicesCards));
    ASSERT_EQ(menu->modalChild, &menu->betDialog);
    // He bets up to 200: steps of 50, the bet opening at one step.
    EXPECT_EQ(menu->betDialog.Bet(), 50);
    rig.TapWidget(menu->betDialog.raiseButton);
    ASSERT_EQ(menu->betDialog.Bet(), 100);
    rig.TapWidget(menu->betDialog.okButton);
    CCardGameScreen* board = rig.Board();
    ASSERT_EQ(rig.Current(), board);
    EXPECT_EQ(game.player.gold, gold - 100) << "the bet is taken as the game begins";

    // Each turn: a tap on the first card in hand shows it, a second tap lays it down.
    for (int plays = 0; plays < 200 && !board->IsFinished(); ++plays) {
        ASSERT_TRUE(rig.AwaitPlayersTurn(*board));
        if (board->IsFinished()) break;
        CCardDuel& duel = board->Match()->Duel();
        const CCardSide& me = duel.Side(kCardPlayer);
        u32 slot = kCardHandSize;
        i32 best = 0;
        for (u32 i = 0; i < kCardHandSize; ++i)
            if (me.hand[i] && (slot == kCardHandSize || duel.Score(*me.hand[i], kCardPlayer) > best))
                slot = i, best = duel.Score(*me.hand[i], kCardPlayer);
        ASSERT_LT(slot, kCardHandSize);
        rig.TapWidget(board->playerHand[slot]);
        rig.TapWidget(board->playerHand[slot]);
    }
    ASSERT_TRUE(board->IsFinished());
    won = board->Match()->PlayerWon();
    const std::string end = board->EndText();
    EXPECT_EQ(end.rfind(won ? "You win! The bet is yours, 200" : "You lost your bet, 100", 0), 0u) << end;
    EXPECT_EQ(game.player.gold, won ? gold + 100 : gold - 100);
    EXPECT_EQ(view->gameClock.Minutes(), minutes + 60) << "a game of cards takes an hour";

    rig.TapBarButton(board->messageBar);
    ASSERT_EQ(rig.Current(), menu);
    ASSERT_TRUE(menu->leaveButton.IsShown());
    rig.TapWidget(menu->leaveButton);
    rig.SettleView();
    EXPECT_EQ(rig.Current(), view);
    EXPECT_EQ(game.player.gold, won ? gold + 100 : gold - 100);
}

TEST(CardGameInPlay, TheTownsCardPlayerIsBetAndPlayedWithTheMouseToAWinAndALoss) {
    bool wins = false, losses = false;
    for (u32 t = 1700000000; t < 1700000016 && !(wins && losses); ++t) {
        SCOPED_TRACE(t);
        bool won = false;
        PlayAGameForABetOf100(t, won);
        if (HasFatalFailure()) return;
        (won ? wins : losses) = true;
    }
    EXPECT_TRUE(wins);
    EXPECT_TRUE(losses);
}

// Giving up asks first, by Escape or by the give-up button; No plays on, Yes loses the bet at once. A bet that the gold no longer
// covers is refused by the menu, and nothing is taken.
TEST(CardGameInPlay, GivingUpLosesTheBetAndAnUncoveredBetIsRefused) {
    CardRig rig;
    ASSERT_TRUE(rig.Start());
    CGame& game = *rig.Game();
    CServicesScreen* menu = rig.AddressTheCardPlayer();
    ASSERT_NE(menu, nullptr);
    game.player.gold = 120;

    ASSERT_TRUE(rig.TapService(*menu, kServicesCards));
    ASSERT_EQ(menu->modalChild, &menu->betDialog);
    rig.TapWidget(menu->betDialog.maximumButton);
    ASSERT_EQ(menu->betDialog.Bet(), 200);
    rig.TapWidget(menu->betDialog.okButton);
    EXPECT_EQ(rig.Current(), menu) << "200 is more than the 120 carried";
    EXPECT_EQ(game.player.gold, 120u);
    ASSERT_NE(menu->modalChild, nullptr);
    EXPECT_NE(menu->modalChild, &menu->betDialog);
    rig.TapBarButton(menu->messageBar);
    ASSERT_EQ(menu->modalChild, nullptr);

    rig.Tick(30);
    ASSERT_TRUE(rig.TapService(*menu, kServicesCards));
    rig.TapWidget(menu->betDialog.okButton);  // the opening bet, 50
    CCardGameScreen* board = rig.Board();
    ASSERT_EQ(rig.Current(), board);
    EXPECT_EQ(game.player.gold, 70u);
    ASSERT_TRUE(rig.AwaitPlayersTurn(*board));

    // Escape asks as the give-up button does.
    for (u32 answer : {CCardGameScreen::kGiveUpNo, CCardGameScreen::kGiveUpYes}) {
        if (answer == CCardGameScreen::kGiveUpNo) {
            rig.Key(27);
            rig.Tick(30);
        } else {
            rig.TapWidget(board->giveUpButton);
        }
        ASSERT_EQ(rig.Current(), board) << answer;
        ASSERT_NE(board->modalChild, nullptr) << answer;
        rig.TapBarButton(board->messageBar, answer);
        EXPECT_EQ(board->IsFinished(), answer == CCardGameScreen::kGiveUpYes) << answer;
    }
    EXPECT_EQ(std::string(board->EndText()).rfind("You lost your bet, 50", 0), 0u) << board->EndText();
    EXPECT_EQ(game.player.gold, 70u);
    rig.TapBarButton(board->messageBar);
    EXPECT_EQ(rig.Current(), menu);
}

}  // namespace
