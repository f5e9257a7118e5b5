// One card duel for a bet, as the card screen runs it: the bet taken and paid, the cards in flight
// between the draw piles, the hands and the table, the player's selection, the wait after each play
// and the turns. Plain logic: the screen tells it where its widgets stand and moves, shows and sounds
// what the view callbacks report.
#pragma once

#include "screens/npc/CardRules.h"

#include <string>
#include <vector>

struct CCardPoint {
    i32 x = 0;
    i32 y = 0;
};

// A card moving across the board: positions and steps in 8.8 fixed point per tick.
struct CCardFlight {
    i32 stepX = 0;
    i32 stepY = 0;
    i32 targetX = 0;
    i32 targetY = 0;
    i32 posX = 0;
    i32 posY = 0;
    u32 stepsLeft = 0;
    u32 delay = 0;  // ticks before it starts
    const CCardDef* card = nullptr;
    u32 owner = 0;      // kCardPlayer or kCardOpponent
    u32 slot = 0;       // the hand slot it leaves (a play) or fills (a deal)
    bool play = false;  // true: flying to the table; false: being dealt

    CCardPoint Position() const { return {posX >> 8, posY >> 8}; }
};

// What the match asks of the screen: where things stand, and what to show.
class ICardMatchView : public ICardDuelListener {
public:
    virtual CCardPoint DrawPilePosition(u32 side) = 0;
    virtual CCardPoint HandSlotPosition(u32 side, u32 slot) = 0;
    virtual CCardPoint TablePosition() = 0;

    // A dealt card starts to move after its delay (the dealing sound).
    virtual void OnFlightStarted(const CCardFlight& flight) {}
    virtual void OnFlightMoved(const CCardFlight& flight) {}
    // The flight reached its target; a played card has taken effect by then.
    virtual void OnFlightEnded(const CCardFlight& flight) {}
    // The opponent has chosen the card in the slot: turn it face up and show its text.
    virtual void OnOpponentChose(u32 slot) {}
    // The wait ended: the flashes end and spent markers have left.
    virtual void OnWaitEnded() {}
};

class CCardMatch {
public:
    static constexpr u32 kFlightSteps = 6;

    CCardMatch(const CCardTable& table, CRandom& random);

    void SetView(ICardMatchView* view);

    // Takes the bet from the gold and deals the first hands. When the gold no longer covers the bet
    // (it may have been spent since the bet was set) nothing is taken, the match is over at once and
    // the answer is false.
    bool Begin(i32 bet, u32& gold, u32 now);

    // "You play as a warrior, while your opponent plays as a sorcerer."
    std::string OpeningText() const;

    // A tap on the player's hand slot. The first tap selects the card; a tap on the selected card
    // plays it. Taps count only on the player's turn with no card in flight, and only with both hands
    // full or a combo on.
    enum TapResult { kTapIgnored, kTapSelected, kTapPlayed };
    TapResult TapHandSlot(u32 slot);
    i32 Selection() const { return selection_; }
    void ClearSelection() { selection_ = -1; }

    // Runs one tick: the flights when no wait runs, or the end of the wait when its time has come.
    // Answers whether anything ran (the screen then redraws and ticks its widgets); a tick during a
    // wait, or after the end, does nothing.
    bool Tick(u32 now);

    // Commands do nothing while a card flies.
    bool IsBusy() const { return !flights_.empty(); }

    void GiveUp() { duel_.GiveUp(); }
    bool IsOver() const { return over_ || duel_.IsOver(); }
    bool PlayerWon() const { return duel_.IsOver() && duel_.Winner() == kCardPlayer; }

    // Once the duel is over: pays a win into the gold (once) and gives the closing message, with the
    // money sign of the game's fonts after the amount.
    std::string Settle(u32& gold);

    i32 Bet() const { return bet_; }
    const CCardDuel& Duel() const { return duel_; }
    CCardDuel& Duel() { return duel_; }
    const std::vector<CCardFlight>& Flights() const { return flights_; }

private:
    void AddFlight(CCardPoint from, CCardPoint to, const CCardDraw& draw, bool play);
    void AddDeal(const std::vector<CCardDraw>& draws);
    void RunFlights(u32 now);
    void EndWait();

    CCardDuel duel_;
    ICardMatchView* view_ = nullptr;
    CCardWait wait_;
    std::vector<CCardFlight> flights_;
    i32 selection_ = -1;
    i32 bet_ = 0;
    bool over_ = false;
    bool settled_ = false;
};
