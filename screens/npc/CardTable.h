// The card table of the card duel: the 75 cards in their three classes, the decks built from them,
// and the formatting of a card's effect text. Plain data and arithmetic with no screen behind it: the
// card screen fills the table (from the built-in list or from the world's card records) and the rules
// in CardRules.h read it.
#pragma once

#include "core/Types.h"

#include <array>
#include <string>
#include <vector>

class CRandom;
class CResourceRefEntry;

// Card classes; a side plays one of them for the whole duel.
enum CardClass : u32 { kCardWarrior = 0, kCardSorcerer = 1, kCardNecromancer = 2 };

// What a card does once it lies on the table.
enum CardKind : u32 {
    kCardInstant = 1,    // takes effect once
    kCardHitPoints = 2,  // marker whose count is hit points (shields, walls, minions)
    kCardAttacks = 4,    // marker whose count is a number of attacks
    kCardTurns = 8,      // marker that lasts a number of turns
    kCardCombo = 16,     // lets its side table another card at once
};

constexpr u32 kCardClasses = 3;
constexpr u32 kCardsPerClass = 25;
constexpr u32 kCardCount = kCardClasses * kCardsPerClass;
// The largest card value the rules take: doubled and taken as a percentage it stays far inside 32 bits.
constexpr u32 kMaxCardValue = 9999;
constexpr u32 kMaxCardCopies = 3;

// The line break of the card text view, kept inside the effect texts.
constexpr char kCardTextBreak = '\x0B';

// One card as the rules use it. `name` and `text` point at text owned by whoever filled the table
// (the built-in list's literals, or the world's records while they are loaded).
struct CCardDef {
    u32 cls = 0;     // CardClass
    u32 index = 0;   // 0..24 within the class
    u32 copies = 0;  // copies in a deck of its class
    const char* name = nullptr;
    const char* text = nullptr;  // effect text with up to three "%u" and "%%"
    u32 value1 = 0;
    u32 value2 = 0;
    u32 value3 = 0;   // the card's count as a marker (turns, attacks or hit points)
    u32 kind = 0;     // CardKind
    u16 picture = 0;  // picture record id in the interface database

    // Position of the card in the table: class * 25 + index.
    u32 Key() const { return cls * kCardsPerClass + index; }
    bool IsMarker() const { return kind == kCardHitPoints || kind == kCardAttacks || kind == kCardTurns; }
};

// The 75 cards, ordered by class and then by index.
class CCardTable {
public:
    // Picture ids: the small layout modes number the 75 pictures in one run from this base; the other
    // modes give each class a run of 30 from the second base.
    static constexpr u16 kSmallPictureBase = 3952;
    static constexpr u16 kPictureBase = 3570;
    static constexpr u16 kPicturesPerClass = 30;

    CCardTable();

    // Fills the 75 cards from the built-in list and numbers their pictures for the layout mode.
    void BuildCardTable(u32 layoutMode);

    // The picture record id of a card in a layout mode.
    static u16 PictureId(u32 layoutMode, u32 cls, u32 index);

    const CCardDef& Card(u32 cls, u32 index) const { return cards_[cls * kCardsPerClass + index]; }
    const CCardDef& CardAt(u32 key) const { return cards_[key]; }
    CCardDef& MutableCardAt(u32 key) { return cards_[key]; }

    // Takes the card at `key` from a stored card record, keeping the picture id of the layout mode.
    // A record the rules cannot play safely (no name or text, a kind they do not know, more than
    // three copies, or a value past kMaxCardValue) is refused: the answer is false and the card keeps
    // what it had. The table then borrows the record's texts, which must outlive its use.
    bool FillFromRecord(u32 key, const CResourceRefEntry& record);

    // The number of cards in a deck of the class (the copies of its 25 cards).
    u32 DeckSize(u32 cls) const;

private:
    std::array<CCardDef, kCardCount> cards_{};
};

// A side's draw pile: card indices 0..24 within the deck's class, item 0 on top.
class CCardDeck {
public:
    // Every index of the class `copies` times in index order, then 100 rounds of swapping two places
    // drawn from the generator (a place swaps only with a different one).
    void BuildDeck(const CCardTable& table, u32 cls, CRandom& random);

    // Takes the top card off the pile; -1 when the pile is empty.
    i32 DrawTop();

    u32 Count() const { return static_cast<u32>(items_.size()); }
    const std::vector<i32>& Items() const { return items_; }
    void Clear() { items_.clear(); }

private:
    std::vector<i32> items_;
};

// The value meaning "no value given": the card's third value stands in for it.
constexpr u32 kNoCardValue = 0xFFFFFFFFu;

// The card's effect text with its "%u" places filled. Instants and combos take their first and second
// values; markers take the first values and, for their last place, `value` (the marker's current
// count) or the third value when `value` is kNoCardValue. A text with more places than its kind fills
// yields nothing. Only "%u" and "%%" are understood: the text may come from a stored record, so it is
// never handed to a printf-like formatter.
std::string FormatCardText(const CCardDef& card, u32 value = kNoCardValue);

// "warrior", "sorcerer" or "necromancer"; "" outside the three classes.
const char* CardClassName(u32 cls);
