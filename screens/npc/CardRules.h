// The rules of the card duel between the player and an NPC: the two sides, every card's effect in each
// phase of play, the damage pipeline, markers and combos, the opponent's choice and the order of turns.
// No screen, window or database: the card screen animates what this model decides (the cards dealt,
// the card the opponent chooses) and calls back in when a flight lands or a wait ends.
#pragma once

#include "screens/npc/CardTable.h"

#include <array>
#include <vector>

class CRandom;

// The two sides of the duel.
constexpr u32 kCardOpponent = 0;
constexpr u32 kCardPlayer = 1;

constexpr u32 kCardHandSize = 5;
constexpr u32 kCardMarkerSlots = 3;
constexpr i32 kCardStartHp = 40;

// The phases in which a card takes effect (see CCardDuel::CardEffect).
enum CardPhase : u32 {
    kPhasePlayed = 1,    // the card lands on the table
    kPhaseTick = 2,      // per-turn tick of a marker
    kPhaseOutgoing = 3,  // damage dealt by the marker's owner
    kPhaseIncoming = 4,  // damage taken by the marker's owner
    kPhaseScore = 5,     // the score for choosing the card
};

struct CCardMarker {
    const CCardDef* card = nullptr;
    i32 count = 0;
    bool flash = false;
};

struct CCardSide {
    u32 cls = 0;
    CCardDeck deck;
    i32 hp = 0;
    i32 maxHp = 0;
    std::array<const CCardDef*, kCardHandSize> hand{};
    std::array<CCardMarker, kCardMarkerSlots> markers{};
    bool hitFlash = false;

    void Clear();
    u32 CardsInHand() const;
};

// One card dealt into a hand; the screen flies it from the draw pile after `delayTicks`.
struct CCardDraw {
    u32 side = 0;
    u32 slot = 0;
    const CCardDef* card = nullptr;
    u32 delayTicks = 0;
};

// What follows the end of a wait.
struct CCardNext {
    enum Kind {
        kGameOver,       // the duel has ended; nothing more is played
        kPlayerPlays,    // the player's combo goes on: the player tables another card
        kOpponentPlays,  // the opponent has chosen the card in `slot`; it flies to the table
        kPlayerTurn,     // a new turn of the player: `draws` refill the hands
    };
    Kind kind = kGameOver;
    i32 slot = -1;
    std::vector<CCardDraw> draws;
};

// What the screen shows and sounds as the rules act.
class ICardDuelListener {
public:
    virtual ~ICardDuelListener() = default;
    // A side was hit (its hit points dropped, possibly by nothing): the damage sound and a flash.
    virtual void OnCardHit(u32 side) {}
    virtual void OnCardHpChanged(u32 side) {}
    virtual void OnCardMarkersChanged(u32 side) {}
    // The first side to reach 0 hit points (or the player's giving up) decides the duel.
    virtual void OnCardGameOver(u32 winner) {}
};

// The wait between two plays. Ticks are compared by their difference, so the wait ends on time even
// when the millisecond counter wraps around.
class CCardWait {
public:
    static constexpr u32 kLengthMs = 1000;

    void Start(u32 now, u32 lengthMs = kLengthMs) {
        running_ = true;
        start_ = now;
        length_ = lengthMs;
    }
    void Stop() { running_ = false; }
    bool IsRunning() const { return running_; }
    bool IsOver(u32 now) const { return running_ && now - start_ >= length_; }

private:
    bool running_ = false;
    u32 start_ = 0;
    u32 length_ = kLengthMs;
};

class CCardDuel {
public:
    enum Turn : u32 { kPlayerTurn = 1, kOpponentTurn = 2 };

    CCardDuel(const CCardTable& table, CRandom& random);

    void SetListener(ICardDuelListener* listener) { listener_ = listener; }

    // A new duel: the opponent's class, then the player's (drawn again until it differs), a deck for
    // each, 40 hit points each; the player begins. Deal() then fills the hands.
    void Start();
    // Fills the empty hand slots, slot by slot, the player's before the opponent's.
    std::vector<CCardDraw> Deal();

    // The player may table a card: the player's turn, no end yet, and both hands full or a combo on.
    bool CanPlayerPlay() const;
    // The opponent's choice (or any side's, for a side played by the rules): each card's score s drawn
    // into Random(2s/10) + 9s/10; the first slot with the highest value. -1 when the hand is empty.
    i32 ChooseCard(u32 side);
    // A played card lands on the table: its effect with the combo multiplier, then the side's marker
    // tick. The screen starts the wait afterwards.
    void PlayCard(u32 side, u32 slot);
    // The wait has ended: flashes end, spent markers leave, and the turn goes on.
    CCardNext EndOfWait();
    // The player gives up: the opponent wins at once.
    void GiveUp();

    // The effect of `card` owned by `side` in `phase`; `value` and `marker` point at the damage and at
    // the owner's marker slot in the damage phases. Only the score phase returns a value.
    i32 CardEffect(const CCardDef& card, u32 side, u32 phase, i32* value, CCardMarker* marker,
                   i32 multiplier);
    i32 Score(const CCardDef& card, u32 side) {
        return CardEffect(card, side, kPhaseScore, nullptr, nullptr, 1);
    }

    // Side operations of the effects.
    void InflictDamage(i32 amount, u32 attacker);
    void InflictDirectDamage(i32 amount, u32 target, bool applyBonuses);
    void HealSide(u32 side, i32 amount);
    void RaiseMaxHp(u32 side, i32 amount);
    void AddMarker(u32 side, const CCardDef& card, i32 extra);
    void RemoveRandomMarker(u32 side);
    void RemoveAllMarkers(u32 side);
    i32 AbsorbByDefense(u32 side, i32 amount);
    bool IsLowHp(u32 side) const { return sides_[side].hp < 20; }
    bool MarkersFull(u32 side) const;
    // Each marker of kind 8 or 2 of the side takes its per-turn effect; kind 8 counts down.
    void MarkerTick(u32 side);
    // Markers whose count has run out leave both sides.
    void ExpireMarkers();

    CCardSide& Side(u32 side) { return sides_[side]; }
    const CCardSide& Side(u32 side) const { return sides_[side]; }
    const CCardTable& Table() const { return table_; }
    Turn GetTurn() const { return turn_; }
    bool IsCombo() const { return combo_; }
    i32 ComboMultiplier() const { return comboMultiplier_; }
    void SetCombo(bool on, i32 multiplier) {
        combo_ = on;
        comboMultiplier_ = multiplier;
    }
    bool IsOver() const { return over_; }
    // The side that won; meaningful once the duel is over.
    u32 Winner() const { return winner_; }
    // The card played last, or null.
    const CCardDef* TableCard() const { return tableCard_; }

private:
    static u32 Other(u32 side) { return side ^ 1u; }
    void DrawCard(u32 side, u32 slot);
    void LoseHp(u32 target, i32 damage);
    void EndDuel(u32 winner);
    CCardNext OpponentPlays();
    CCardNext PlayerTurn();

    const CCardTable& table_;
    CRandom& random_;
    ICardDuelListener* listener_ = nullptr;
    std::array<CCardSide, 2> sides_{};
    Turn turn_ = kPlayerTurn;
    bool combo_ = false;
    i32 comboMultiplier_ = 1;
    bool over_ = false;
    u32 winner_ = kCardOpponent;
    const CCardDef* tableCard_ = nullptr;
    // Set while reflected damage is being dealt, so that it is not reflected back again.
    bool reflecting_ = false;
};
