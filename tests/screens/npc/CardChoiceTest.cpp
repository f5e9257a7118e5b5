#include "CardDuelFixture.h"

#include <vector>

namespace {

// The opponent's score for each card: plainly, with its owner low on hit points (below 20), and with
// its owner's marker row full (for Starfall, the other side's).
struct ScoreRow {
    const char* card;
    i32 plain, low, full;
};

const ScoreRow kScores[] = {
    {"Slash", 80, 80, 80},          {"Crush", 80, 80, 80},
    {"Rapid stab", 80, 80, 80},     {"Bleeding", 60, 60, 40},
    {"Assault", 70, 70, 70},        {"Dual strike", 80, 80, 80},
    {"Backstab", 80, 80, 80},       {"Block", 60, 60, 40},
    {"War cry", 80, 80, 80},        {"Tower shield", 60, 60, 40},
    {"Long sword", 60, 60, 40},     {"Kite shield", 60, 60, 40},
    {"Battle axe", 60, 60, 40},     {"Plate mail", 60, 60, 40},
    {"Mourner", 60, 60, 40},        {"Remedy", 30, 90, 30},
    {"Healing potion", 30, 90, 30}, {"Rejuvenate", 30, 90, 30},
    {"Heroic Remedy", 70, 70, 70},  {"Arrow storm", 60, 60, 40},
    {"Fosse", 60, 60, 60},          {"Raid", 60, 60, 40},
    {"Marksman", 60, 60, 40},       {"Bloodlust", 45, 95, 45},
    {"Berzerk", 75, 75, 40},

    {"Life node", 70, 70, 40},      {"Aura of air", 70, 70, 40},
    {"Death node", 70, 70, 40},     {"Aura of water", 70, 70, 40},
    {"Moon node", 70, 70, 40},      {"Aura of fire", 70, 70, 40},
    {"Sun node", 70, 70, 40},       {"Aura of earth", 70, 70, 40},
    {"Ice bolt", 80, 80, 80},       {"Chain lightning", 80, 80, 80},
    {"Earthquake", 80, 80, 80},     {"Whirlwind", 80, 80, 80},
    {"Firewall", 80, 80, 80},       {"Starfall", 50, 50, 90},
    {"Sandstorm", 70, 70, 40},      {"Blizzard", 70, 70, 40},
    {"Blade storm", 70, 70, 40},    {"Will-o'-the-wisp", 70, 70, 40},
    {"Wildfire", 70, 70, 40},       {"Rage of nature", 70, 70, 40},
    {"Healing shower", 45, 85, 45}, {"Healing scroll", 45, 85, 45},
    {"Bless", 45, 85, 45},          {"Mana explosion", 45, 85, 45},
    {"Mana storm", 75, 75, 75},

    {"Blood chant", 80, 20, 80},    {"Fang", 80, 20, 80},
    {"Atrophy", 80, 80, 80},        {"Sacrifice", 80, 20, 80},
    {"Dark touch", 85, 85, 85},     {"Poison cloud", 80, 80, 80},
    {"Blood filch", 80, 80, 80},    {"Vampire bite", 85, 85, 85},
    {"Soul crush", 80, 80, 80},     {"Black out", 80, 80, 80},
    {"Bone wall", 75, 75, 40},      {"Blood golem", 75, 75, 40},
    {"Blood moat", 75, 75, 40},     {"Ghoul", 75, 75, 40},
    {"Graveyard", 75, 75, 40},      {"Skeleton", 75, 75, 40},
    {"Vampire", 75, 75, 40},        {"Acid rain", 75, 75, 40},
    {"Parasite", 75, 75, 40},       {"Corpse army", 75, 75, 40},
    {"Vampire bats", 75, 75, 40},   {"Unholy seal", 75, 75, 40},
    {"Blood boil", 75, 75, 40},     {"Heart pile", 55, 90, 55},
    {"Soul pile", 75, 75, 75},
};

TEST_F(CardDuelTest, ScoresOfEveryCard) {
    ASSERT_EQ(std::size(kScores), kCardCount);
    for (const ScoreRow& row : kScores) {
        const CCardDef& card = Card(row.card);
        SetUp();
        EXPECT_EQ(duel.Score(card, kCardOpponent), row.plain) << row.card;
        SetHp(kCardOpponent, 19, 40);
        EXPECT_EQ(duel.Score(card, kCardOpponent), row.low) << row.card << " low";
        SetHp(kCardOpponent, 20, 40);  // 20 is not low
        EXPECT_EQ(duel.Score(card, kCardOpponent), row.plain) << row.card << " at 20";
        const u32 fullSide = std::string(row.card) == "Starfall" ? kCardPlayer : kCardOpponent;
        for (u32 slot = 0; slot < 3; ++slot) SetMarker(fullSide, slot, "Block", 2);
        EXPECT_EQ(duel.Score(card, kCardOpponent), row.full) << row.card << " full";
        // The score reads the owner's side: the player at full health with an empty row (or, for
        // Starfall, facing a row that is not full) gets the plain score.
        if (fullSide == kCardOpponent) {
            SetHp(kCardOpponent, 10, 40);
            EXPECT_EQ(duel.Score(card, kCardPlayer), row.plain) << row.card << " for the player";
        }
    }
}

TEST_F(CardDuelTest, TheChoiceDrawsAroundEachScore) {
    // An independent replay of the choice: v = Random(2s/10) + 9s/10 per card in slot order; the first
    // slot with the highest v wins.
    const char* hands[][5] = {
        {"Slash", "Remedy", "Fang", "Block", "Bloodlust"},
        {"Slash", "Slash", "Slash", "Slash", "Slash"},
        {"Remedy", "Dark touch", "Heart pile", "Starfall", "War cry"},
        {"Life node", "Berzerk", "Ghoul", "Mana storm", "Soul pile"},
    };
    for (u32 seed = 1; seed <= 25; ++seed) {
        for (const auto& hand : hands) {
            SetUp();
            for (u32 slot = 0; slot < 5; ++slot) duel.Side(kCardOpponent).hand[slot] = &Card(hand[slot]);
            random = SeededRandom(seed);
            CRandom replay = SeededRandom(seed);
            i32 expected = -1;
            i32 best = 0;
            for (u32 slot = 0; slot < 5; ++slot) {
                i32 s = duel.Score(Card(hand[slot]), kCardOpponent);
                i32 v = static_cast<i32>(replay.Next(2 * s / 10)) + 9 * s / 10;
                if (expected < 0 || v > best) {
                    expected = static_cast<i32>(slot);
                    best = v;
                }
            }
            EXPECT_EQ(duel.ChooseCard(kCardOpponent), expected) << seed << " " << hand[0];
        }
    }
}

TEST_F(CardDuelTest, ChoicesThatTheScoresDecide) {
    // 80 draws into 72..87, 30 into 27..32: the attack always wins over a needless heal.
    for (u32 seed = 1; seed <= 25; ++seed) {
        random = SeededRandom(seed);
        duel.Side(kCardOpponent).hand = {&Card("Remedy"), &Card("Remedy"), nullptr, &Card("Slash"), nullptr};
        EXPECT_EQ(duel.ChooseCard(kCardOpponent), 3);
        // Low on hit points the heal (81..98) beats a chant that would hurt its player (18..21).
        SetHp(kCardOpponent, 10, 40);
        duel.Side(kCardOpponent).hand = {&Card("Blood chant"), nullptr, nullptr, nullptr, &Card("Remedy")};
        EXPECT_EQ(duel.ChooseCard(kCardOpponent), 4);
        SetHp(kCardOpponent, 40, 40);
    }
    duel.Side(kCardOpponent).hand.fill(nullptr);
    EXPECT_EQ(duel.ChooseCard(kCardOpponent), -1);
}

}  // namespace
