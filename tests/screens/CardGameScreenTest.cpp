#include <gtest/gtest.h>

#include <string>

#include "app/Game.h"
#include "data/Npc.h"
#include "data/WorldLists.h"
#include "screens/npc/CardGameScreen.h"
#include "screens/npc/ServicesScreen.h"
#include "screens/npc/TalkScreen.h"
#include "script/ScriptContext.h"
#include "script/ScriptTargets.h"
#include "tests/screens/FakeCustomer.h"
#include "tests/screens/NpcEntry.h"
#include "tests/support/FrameRig.h"
#include "core/LayoutTable.h"
#include "ui/Layout.h"
#include "ui/ScreenIds.h"

namespace {

// The world as the scripts see it: only the hours the clock is moved on.
struct ClockWorld : IScriptWorld {
    void AdvanceClock(i32 minutes, i32 hours, i32 days) override { hoursPassed += hours + 24 * days; }
    i32 hoursPassed = 0;
};

// The game with a card player handed to a talk or services screen, as the game view's talk event does.
struct CardRig : testing_support::FrameRig {
    CNpc npc;
    CDialogue dialogue;
    FakeCustomer customer;
    ClockWorld world;

    CardRig() {
        npc.SetName("Tobin Ashgrove");
        npc.texts[2] = "Fancy a hand of cards?";
        npc.maxBet = 200;
        npc.dialogue = &dialogue;
        customer.gold = 500;
        env.clock.SetTime(1700000000);  // the game's generator is seeded from it
    }
    ~CardRig() {
        npc.dialogue = nullptr;
        if (Game() && Game()->GetScriptContext()) Game()->GetScriptContext()->SetWorld(nullptr);
    }

    bool Open(u32 id, const char* profile, u32 mode = 15) {
        npc.bytes[2] = kServiceCards;
        npc.texts[1] = profile;
        if (!StartOnBuiltDatabase()) return false;
        Key(27);  // past the splash
        if (Game()->GetScriptContext()) Game()->GetScriptContext()->SetWorld(&world);
        if (mode != Game()->layoutMode && !UseLayoutMode(mode)) return false;
        return EnterNpcScreen(*this, npc, customer, id);
    }
    // A command as the current screen (or a dialog of it) answers it, the screen code carried out.
    u32 Send(CForm& form, u32 command) {
        const u32 code = form.OnCommand(command);
        if (code) Game()->SwitchScreen(code);
        Tick();
        return code;
    }
    CServicesScreen* Services() const {
        return static_cast<CServicesScreen*>(Game()->GetScreen(kScreenServices));
    }
    CTalkScreen* Talk() const { return static_cast<CTalkScreen*>(Game()->GetScreen(kScreenTalk)); }
    CCardGameScreen* Cards() const { return static_cast<CCardGameScreen*>(Game()->GetScreen(kScreenCardGame)); }

    // From the services menu through the bet dialog (opened at one step) onto the board.
    bool BetFromServices(u32 raises, u32 mode = 15) {
        if (!Open(kScreenServices, "base_npc_elder", mode)) return false;
        CServicesScreen& s = *Services();
        Send(s, kServicesCards);
        if (s.screenState != CServicesScreen::kBetOpen) return false;
        for (u32 i = 0; i < raises; ++i) s.betDialog.OnCommand(CBetDialog::kRaise);
        Send(s.betDialog, CBetDialog::kOk);
        return Current() == Cards();
    }

    // Ticks until the player may table a card (or the game has ended); false when that never comes.
    bool TickUntilPlayerMayPlay(CCardGameScreen& board) {
        for (int i = 0; i < 2000; ++i) {
            const CCardMatch* match = board.Match();
            if (board.IsFinished()) return true;
            if (match && !match->IsBusy() && match->Duel().CanPlayerPlay()) return true;
            Tick(30);
        }
        return false;
    }
};

}  // namespace

TEST(CardGameScreen, TheBetIsTakenAndTheBoardDealtWithTwoDifferentClasses) {
    CardRig rig;
    ASSERT_TRUE(rig.BetFromServices(2));  // the step of 200 is 50: 150 bet
    CCardGameScreen& board = *rig.Cards();
    const CCardMatch& match = *board.Match();
    EXPECT_EQ(match.Bet(), 150);
    EXPECT_EQ(rig.customer.gold, 350u);
    EXPECT_NE(match.Duel().Side(kCardPlayer).cls, match.Duel().Side(kCardOpponent).cls);
    EXPECT_EQ(std::string(board.cardText.body.GetText()).rfind("You play as a ", 0), 0u);
    EXPECT_NE(std::string(board.decoration.body.GetText()).find("150"), std::string::npos);
    ASSERT_TRUE(rig.TickUntilPlayerMayPlay(board));
    for (u32 i = 0; i < kCardHandSize; ++i) {
        EXPECT_NE(board.playerHand[i].card, nullptr);
        EXPECT_FALSE(board.playerHand[i].faceDown);
        EXPECT_TRUE(board.opponentHand[i].faceDown);
        // Every dealt card has come to rest in its own slot.
        const u8* rect = FindLayoutRect(rig.Game(), CCardGameScreen::kLayoutGroup, CCardGameScreen::kPlayerHand[i]);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(board.playerHand[i].x, ReadLayoutElement(rect).x);
    }
    EXPECT_STREQ(board.playerHp.text.GetText(), board.opponentHp.text.GetText());  // 40 of 40 each
}

TEST(CardGameScreen, AWholeGameIsPlayedWithTapsAndTheBetSettled) {
    CardRig rig;
    ASSERT_TRUE(rig.BetFromServices(0));  // 50
    CCardGameScreen& board = *rig.Cards();
    ASSERT_EQ(rig.customer.gold, 450u);
    int plays = 0;
    while (!board.IsFinished() && plays < 200) {
        ASSERT_TRUE(rig.TickUntilPlayerMayPlay(board));
        if (board.IsFinished()) break;
        const CCardSide& me = board.Match()->Duel().Side(kCardPlayer);
        u32 slot = 0;
        while (slot < kCardHandSize && me.hand[slot] == nullptr) ++slot;
        ASSERT_LT(slot, kCardHandSize);
        const CCardDef* card = me.hand[slot];
        // The first tap selects and shows the card; the second tables it.
        ASSERT_TRUE(rig.TapLayoutElement(CCardGameScreen::kLayoutGroup, CCardGameScreen::kPlayerHand[slot]));
        EXPECT_EQ(board.Match()->Selection(), static_cast<i32>(slot));
        EXPECT_STREQ(board.cardText.heading.GetText(), card->name);
        ASSERT_TRUE(rig.TapLayoutElement(CCardGameScreen::kLayoutGroup, CCardGameScreen::kPlayerHand[slot]));
        ASSERT_TRUE(board.Match()->IsBusy());
        // While the card flies, taps on the hand do nothing.
        rig.TapLayoutElement(CCardGameScreen::kLayoutGroup, CCardGameScreen::kPlayerHand[(slot + 1) % 5]);
        EXPECT_EQ(board.Match()->Selection(), -1);
        ++plays;
        rig.Tick(30);
    }
    ASSERT_TRUE(board.IsFinished());
    const bool won = board.Match()->PlayerWon();
    EXPECT_STREQ(board.EndText(), won ? "You win! The bet is yours, 100\x09." : "You lost your bet, 50\x09.");
    EXPECT_EQ(rig.customer.gold, won ? 550u : 450u);
    // The end stops play: more ticks and taps change nothing.
    const u32 gold = rig.customer.gold;
    rig.Tick(3000);
    rig.TapLayoutElement(CCardGameScreen::kLayoutGroup, CCardGameScreen::kPlayerHand[0]);
    EXPECT_EQ(rig.customer.gold, gold);
    EXPECT_EQ(rig.Send(board, CCardGameScreen::kEndOk), kScreenBack);
    EXPECT_EQ(rig.Current(), rig.Services());
}

TEST(CardGameScreen, GivingUpLosesTheBetAtOnce) {
    CardRig rig;
    ASSERT_TRUE(rig.BetFromServices(1));  // 100
    CCardGameScreen& board = *rig.Cards();
    ASSERT_TRUE(rig.TickUntilPlayerMayPlay(board));
    ASSERT_TRUE(rig.TapLayoutElement(CCardGameScreen::kLayoutGroup, CCardGameScreen::kGiveUp));
    ASSERT_EQ(board.modalChild, &board.messageBar);
    // No: the game goes on.
    rig.Send(board, CCardGameScreen::kGiveUpNo);
    EXPECT_EQ(board.modalChild, nullptr);
    EXPECT_FALSE(board.IsFinished());
    // The cancel key presses the give-up button too; Yes loses.
    rig.Tick();
    board.OnKey(kCommandCancel);
    ASSERT_EQ(board.modalChild, &board.messageBar);
    rig.Send(board, CCardGameScreen::kGiveUpYes);
    EXPECT_TRUE(board.IsFinished());
    EXPECT_STREQ(board.EndText(), "You lost your bet, 100\x09.");
    EXPECT_EQ(rig.customer.gold, 400u);
    EXPECT_EQ(rig.world.hoursPassed, 1);  // a game takes an hour
    EXPECT_EQ(rig.Send(board, CCardGameScreen::kEndOk), kScreenBack);
}

TEST(CardGameScreen, AWinPaysTwiceTheBetUpToTheGoldCap) {
    struct Case {
        u32 gold;
        u32 after;
    } cases[] = {{500, 600}, {999999995u, 1000000000u}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gold);
        CardRig rig;
        rig.customer.gold = c.gold;
        ASSERT_TRUE(rig.BetFromServices(1));  // 100
        CCardGameScreen& board = *rig.Cards();
        ASSERT_TRUE(rig.TickUntilPlayerMayPlay(board));
        // The opponent is brought down (as the last of the player's hits would) and the tick settles.
        board.Match()->Duel().InflictDirectDamage(40, kCardOpponent, false);
        rig.Tick(30);
        ASSERT_TRUE(board.IsFinished());
        EXPECT_STREQ(board.EndText(), "You win! The bet is yours, 200\x09.");
        EXPECT_EQ(rig.customer.gold, c.after);
    }
}

TEST(CardGameScreen, GoldSpentAfterTheBetTakesNothingAndEndsAtOnce) {
    CardRig rig;
    ASSERT_TRUE(rig.Open(kScreenServices, "base_npc_elder"));
    CServicesScreen& s = *rig.Services();
    // Not enough gold when the bet is confirmed: the menu stays with the refusal.
    rig.customer.gold = 40;
    rig.Send(s, kServicesCards);
    rig.Send(s.betDialog, CBetDialog::kOk);  // 50
    EXPECT_EQ(rig.Current(), &s);
    EXPECT_EQ(s.modalChild, &s.messageBar);
    EXPECT_EQ(rig.customer.gold, 40u);
    rig.Send(s, 1);
    EXPECT_EQ(s.modalChild, nullptr);

    // Enough at the confirmation, spent before the board takes it: nothing is taken, the game ends.
    rig.customer.gold = 60;
    rig.Send(s, kServicesCards);
    const u32 code = s.betDialog.OnCommand(CBetDialog::kOk);
    ASSERT_EQ(code, static_cast<u32>(kScreenCardGame));
    rig.customer.gold = 30;
    rig.Game()->SwitchScreen(code);
    CCardGameScreen& board = *rig.Cards();
    ASSERT_EQ(rig.Current(), &board);
    EXPECT_TRUE(board.IsFinished());
    EXPECT_STREQ(board.EndText(), "You don't have enough money.");
    EXPECT_EQ(rig.customer.gold, 30u);
    EXPECT_EQ(rig.world.hoursPassed, 0);
    rig.Tick(3000);
    EXPECT_TRUE(board.Match()->Flights().empty());
    EXPECT_EQ(rig.Send(board, CCardGameScreen::kEndOk), kScreenBack);
    EXPECT_EQ(rig.Current(), &s);
}

TEST(CardGameScreen, TheTalkScreensCardsLinkOpensTheBetAndCancelTalksOn) {
    CardRig rig;
    ASSERT_TRUE(rig.Open(kScreenTalk, nullptr));
    CTalkScreen& t = *rig.Talk();
    rig.Send(t, kTalkCards);
    ASSERT_EQ(t.screenState, CTalkScreen::kBetOpen);
    EXPECT_EQ(t.modalChild, &t.betDialog);
    EXPECT_EQ(t.betDialog.Bet(), 50);
    rig.Send(t.betDialog, CBetDialog::kCancel);
    EXPECT_EQ(t.screenState, 1u);
    EXPECT_EQ(t.modalChild, nullptr);
    rig.Send(t, kTalkCards);
    t.betDialog.OnCommand(CBetDialog::kMaximum);
    rig.Send(t.betDialog, CBetDialog::kOk);
    ASSERT_EQ(rig.Current(), rig.Cards());
    EXPECT_EQ(rig.customer.gold, 300u);
    ASSERT_TRUE(rig.TickUntilPlayerMayPlay(*rig.Cards()));
    rig.Send(*rig.Cards(), CCardGameScreen::kGiveUp);
    rig.Send(*rig.Cards(), CCardGameScreen::kGiveUpYes);
    EXPECT_EQ(rig.Send(*rig.Cards(), CCardGameScreen::kEndOk), kScreenBack);
    EXPECT_EQ(rig.Current(), &t);
}

TEST(CardGameScreen, GoldenBoardsInAWideAndANarrowLayout) {
    for (const testing_support::GoldenLayout& c : testing_support::kGoldenLayouts) {
        SCOPED_TRACE(c.mode);
        CardRig rig;
        ASSERT_TRUE(rig.BetFromServices(1, c.mode));
        CCardGameScreen& board = *rig.Cards();
        // Two turns in, a card of the hand chosen and its text shown.
        for (int turn = 0; turn < 2; ++turn) {
            ASSERT_TRUE(rig.TickUntilPlayerMayPlay(board));
            ASSERT_FALSE(board.IsFinished());
            board.OnCommand(CCardGameScreen::kPlayerHand[turn]);
            board.OnCommand(CCardGameScreen::kPlayerHand[turn]);
        }
        ASSERT_TRUE(rig.TickUntilPlayerMayPlay(board));
        board.OnCommand(CCardGameScreen::kPlayerHand[2]);
        EXPECT_TRUE(testing_support::MatchesGolden(std::string("screens/card_board_") + c.name,
                                                   testing_support::Crop(rig.Capture(), 0, 0, c.width, c.height)));
    }
}

namespace {

void TapWidget(testing_support::FrameRig& rig, const CWidget& widget) {
    rig.Tap(widget.x + widget.w / 2, widget.y + widget.h / 2);
    rig.Tick();
}

}  // namespace

// As a new user plays: the built world's card player, the Cards link of the talk screen, the bet set
// and confirmed, and the whole game played to its end with the mouse alone, the player's own gold
// taken and paid.
TEST(CardGameScreen, TheBuiltWorldsCardPlayerIsPlayedWithTheMouse) {
    testing_support::FrameRig rig;
    rig.env.clock.SetTime(1700000000);
    ASSERT_TRUE(rig.StartWithWorld());
    CGame& game = *rig.Game();
    CNpc* gambler = game.worldLists->npcs.FindById("Fenn");
    ASSERT_NE(gambler, nullptr);
    game.player.gold = 300;
    ASSERT_TRUE(EnterNpcScreen(rig, *gambler, *game.GetCustomer(), kScreenTalk));
    CTalkScreen& talk = *static_cast<CTalkScreen*>(game.GetScreen(kScreenTalk));
    rig.Tick();

    const CWidget* cards = nullptr;
    for (const auto& link : talk.links)
        if (std::string(link->text.GetText()) == "Cards") cards = link.get();
    ASSERT_NE(cards, nullptr);
    TapWidget(rig, *cards);
    ASSERT_EQ(talk.modalChild, &talk.betDialog);
    TapWidget(rig, talk.betDialog.raiseButton);
    EXPECT_EQ(talk.betDialog.Bet(), 100);
    TapWidget(rig, talk.betDialog.okButton);
    auto* board = static_cast<CCardGameScreen*>(game.GetScreen(kScreenCardGame));
    ASSERT_EQ(rig.Current(), board);
    EXPECT_EQ(game.player.gold, 200u);

    for (int plays = 0; plays < 200 && !board->IsFinished(); ++plays) {
        for (int i = 0; i < 2000 && !board->IsFinished(); ++i) {
            if (!board->Match()->IsBusy() && board->Match()->Duel().CanPlayerPlay()) break;
            rig.Tick(30);
        }
        if (board->IsFinished()) break;
        const CCardSide& me = board->Match()->Duel().Side(kCardPlayer);
        u32 slot = 0;
        while (slot < kCardHandSize && me.hand[slot] == nullptr) ++slot;
        ASSERT_LT(slot, kCardHandSize);
        TapWidget(rig, board->playerHand[slot]);
        TapWidget(rig, board->playerHand[slot]);
    }
    ASSERT_TRUE(board->IsFinished());
    EXPECT_EQ(game.player.gold, board->Match()->PlayerWon() ? 400u : 200u);
    const CWidget* ok = nullptr;
    for (const CTextButton& button : board->messageBar.buttons)
        if (button.IsShown()) ok = &button;
    ASSERT_NE(ok, nullptr);
    rig.Tick();  // the message takes no tap before the next tick
    TapWidget(rig, *ok);
    EXPECT_EQ(rig.Current(), &talk);
}
