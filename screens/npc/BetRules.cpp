#include "screens/npc/BetRules.h"

i32 CBetModel::StepFor(i32 maximum) {
    if (maximum <= 100) return 10;
    if (maximum <= 300) return 50;
    if (maximum <= 1000) return 100;
    return 1000;
}

void CBetModel::Open(i32 maximum) {
    maximum_ = maximum > 0 ? maximum : 0;
    step_ = StepFor(maximum_);
    bet_ = step_;
}

void CBetModel::Raise() {
    if (maximum_ - bet_ < step_)
        bet_ = maximum_;
    else
        bet_ += step_;
}

void CBetModel::Lower() {
    bet_ -= step_;
    if (bet_ < step_) bet_ = step_;
}

void CBetModel::ToMaximum() { bet_ = maximum_; }

void CBetModel::ToMinimum() { bet_ = step_; }

bool TakeCardBet(u32& gold, i32 bet) {
    if (bet <= 0 || gold < static_cast<u32>(bet)) return false;
    gold -= static_cast<u32>(bet);
    return true;
}

void PayCardWin(u32& gold, i32 bet) {
    if (bet <= 0) return;
    u64 total = static_cast<u64>(gold) + 2 * static_cast<u64>(bet);
    gold = total > kMaxPlayerGold ? kMaxPlayerGold : static_cast<u32>(total);
}
