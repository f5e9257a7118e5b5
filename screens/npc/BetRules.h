// The bet of a card duel: the amounts the bet dialog offers, and the money that changes hands. Plain
// arithmetic, so that the dialog and the card screen only show and forward it.
#pragma once

#include "core/Types.h"

// Every payment to the player stops at this much gold.
constexpr u32 kMaxPlayerGold = 1000000000u;

// The amount the bet dialog shows and changes in steps, up to the NPC's maximum bet.
class CBetModel {
public:
    // The step by the NPC's maximum: 10 up to 100, 50 up to 300, 100 up to 1000, else 1000.
    static i32 StepFor(i32 maximum);

    // Opens at one step, the smallest bet: an NPC whose maximum is below the step still plays for
    // one step, and then no button moves the bet.
    void Open(i32 maximum);

    void Raise();  // one step up, not past the maximum
    void Lower();  // one step down, not below the smallest bet
    void ToMaximum();
    void ToMinimum();

    bool CanRaise() const { return bet_ < maximum_; }
    bool CanLower() const { return bet_ > step_; }

    i32 Bet() const { return bet_; }
    i32 Step() const { return step_; }
    i32 Maximum() const { return maximum_; }

private:
    i32 bet_ = 0;
    i32 maximum_ = 0;
    i32 step_ = 10;
};

// Takes the bet from the player's gold when the gold still covers it; otherwise (or for a bet of
// nothing) takes nothing and answers false, and the duel does not begin.
bool TakeCardBet(u32& gold, i32 bet);
// A won duel pays back twice the bet, the gold capped at kMaxPlayerGold.
void PayCardWin(u32& gold, i32 bet);
