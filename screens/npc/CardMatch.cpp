#include "screens/npc/CardMatch.h"

#include "screens/npc/BetRules.h"

#include <cstddef>

namespace {

// The money sign of the game's fonts.
constexpr char kMoneySign = '\x09';

}  // namespace

CCardMatch::CCardMatch(const CCardTable& table, CRandom& random) : duel_(table, random) {}

void CCardMatch::SetView(ICardMatchView* view) {
    view_ = view;
    duel_.SetListener(view);
}

bool CCardMatch::Begin(i32 bet, u32& gold, u32 now) {
    bet_ = bet;
    selection_ = -1;
    settled_ = false;
    flights_.clear();
    wait_.Stop();
    if (!TakeCardBet(gold, bet)) {
        over_ = true;
        return false;
    }
    over_ = false;
    duel_.Start();
    AddDeal(duel_.Deal());
    return true;
}

std::string CCardMatch::OpeningText() const {
    return std::string("You play as a ") + CardClassName(duel_.Side(kCardPlayer).cls) +
           ", while your opponent plays as a " + CardClassName(duel_.Side(kCardOpponent).cls) + ".";
}

void CCardMatch::AddFlight(CCardPoint from, CCardPoint to, const CCardDraw& draw, bool play) {
    CCardFlight flight;
    flight.posX = from.x * 256;
    flight.posY = from.y * 256;
    flight.targetX = to.x;
    flight.targetY = to.y;
    flight.stepX = (to.x - from.x) * 256 / static_cast<i32>(kFlightSteps);
    flight.stepY = (to.y - from.y) * 256 / static_cast<i32>(kFlightSteps);
    flight.stepsLeft = kFlightSteps;
    flight.delay = draw.delayTicks;
    flight.card = draw.card;
    flight.owner = draw.side;
    flight.slot = draw.slot;
    flight.play = play;
    flights_.push_back(flight);
}

void CCardMatch::AddDeal(const std::vector<CCardDraw>& draws) {
    for (const CCardDraw& draw : draws) {
        CCardPoint from = view_ ? view_->DrawPilePosition(draw.side) : CCardPoint{};
        CCardPoint to = view_ ? view_->HandSlotPosition(draw.side, draw.slot) : CCardPoint{};
        AddFlight(from, to, draw, false);
    }
}

CCardMatch::TapResult CCardMatch::TapHandSlot(u32 slot) {
    if (IsOver() || IsBusy() || slot >= kCardHandSize || !duel_.CanPlayerPlay()) return kTapIgnored;
    const CCardDef* card = duel_.Side(kCardPlayer).hand[slot];
    // A slot emptied by a combo's first card holds nothing to select or play.
    if (!card) return kTapIgnored;
    if (selection_ != static_cast<i32>(slot)) {
        selection_ = static_cast<i32>(slot);
        return kTapSelected;
    }
    selection_ = -1;
    CCardPoint from = view_ ? view_->HandSlotPosition(kCardPlayer, slot) : CCardPoint{};
    CCardPoint to = view_ ? view_->TablePosition() : CCardPoint{};
    AddFlight(from, to, CCardDraw{kCardPlayer, slot, card, 0}, true);
    return kTapPlayed;
}

bool CCardMatch::Tick(u32 now) {
    if (IsOver()) return false;
    if (wait_.IsRunning()) {
        if (!wait_.IsOver(now)) return false;
        wait_.Stop();
        EndWait();
        return true;
    }
    if (flights_.empty()) return false;
    RunFlights(now);
    return true;
}

void CCardMatch::RunFlights(u32 now) {
    for (size_t i = 0; i < flights_.size();) {
        CCardFlight& flight = flights_[i];
        if (flight.delay > 0) {
            if (--flight.delay == 0 && view_) view_->OnFlightStarted(flight);
            ++i;
            continue;
        }
        if (flight.stepsLeft > 0) {
            flight.posX += flight.stepX;
            flight.posY += flight.stepY;
            --flight.stepsLeft;
            if (view_) view_->OnFlightMoved(flight);
            ++i;
            continue;
        }
        CCardFlight done = flight;
        done.posX = done.targetX * 256;
        done.posY = done.targetY * 256;
        flights_.erase(flights_.begin() + static_cast<std::ptrdiff_t>(i));
        if (done.play) {
            duel_.PlayCard(done.owner, done.slot);
            wait_.Start(now);
        }
        if (view_) view_->OnFlightEnded(done);
    }
}

void CCardMatch::EndWait() {
    CCardNext next = duel_.EndOfWait();
    if (view_) view_->OnWaitEnded();
    switch (next.kind) {
    case CCardNext::kOpponentPlays: {
        const u32 slot = static_cast<u32>(next.slot);
        const CCardDef* card = duel_.Side(kCardOpponent).hand[slot];
        if (view_) view_->OnOpponentChose(slot);
        CCardPoint from = view_ ? view_->HandSlotPosition(kCardOpponent, slot) : CCardPoint{};
        CCardPoint to = view_ ? view_->TablePosition() : CCardPoint{};
        AddFlight(from, to, CCardDraw{kCardOpponent, slot, card, 0}, true);
        break;
    }
    case CCardNext::kPlayerTurn:
        selection_ = -1;
        AddDeal(next.draws);
        break;
    case CCardNext::kPlayerPlays:
    case CCardNext::kGameOver: break;
    }
}

std::string CCardMatch::Settle(u32& gold) {
    if (!duel_.IsOver()) return over_ ? "You don't have enough money." : "";
    const bool won = duel_.Winner() == kCardPlayer;
    if (won && !settled_) PayCardWin(gold, bet_);
    settled_ = true;
    const u64 amount = won ? 2 * static_cast<u64>(bet_) : static_cast<u64>(bet_);
    std::string text = won ? "You win! The bet is yours, " : "You lost your bet, ";
    return text + std::to_string(amount) + kMoneySign + ".";
}
