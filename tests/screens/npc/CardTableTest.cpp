#include "screens/npc/CardTable.h"

#include "CardTestUtil.h"
#include "data/CardRecord.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(CardTable, SeventyFiveCardsByClassAndIndex) {
    CCardTable table;
    for (u32 key = 0; key < kCardCount; ++key) {
        const CCardDef& card = table.CardAt(key);
        EXPECT_EQ(card.cls, key / 25);
        EXPECT_EQ(card.index, key % 25);
        EXPECT_GE(card.copies, 1u);
        EXPECT_LE(card.copies, 3u);
        ASSERT_NE(card.name, nullptr);
        ASSERT_NE(card.text, nullptr);
        // A marker without a count would leave the table the moment it is laid.
        if (card.IsMarker()) {
            EXPECT_GT(card.value3, 0u) << card.name;
        }
    }
    EXPECT_EQ(table.DeckSize(kCardWarrior), 55u);
    EXPECT_EQ(table.DeckSize(kCardSorcerer), 54u);
    EXPECT_EQ(table.DeckSize(kCardNecromancer), 56u);
}

TEST(CardTable, RowsAsListed) {
    struct Row {
        u32 cls, index;
        const char* name;
        u32 copies, kind, v1, v2, v3;
        const char* text;
    };
    const Row rows[] = {
        {0, 0, "Slash", 3, 1, 2, 0, 0, "Inflicts %u damage to the enemy."},
        {0, 3, "Bleeding", 3, 8, 1, 3, 3, "Inflicts %u damage and enemy loses %u Hp per turn. Turns:\x0B%u."},
        {0, 9, "Tower shield", 2, 2, 20, 0, 8, "%u%% damage reduction per turn. Durability:\x0B%u\x0BHp."},
        {0, 14, "Mourner", 1, 8, 50, 0, 2, "%u%% damage bonus per turn. Turns:\x0B%u."},
        {0, 23, "Bloodlust", 2, 16, 0, 0, 0, "Combo card, and heals half of the missing Hp."},
        {0, 24, "Berzerk", 1, 8, 50, 30, 2,
         "%u%% damage bonus but %u%% more damage taken per turn. Turns:\x0B%u."},
        {1, 4, "Moon node", 3, 8, 25, 0, 4,
         "Increases the damage infilcted, by %u%% per turn. Turns:\x0B%u."},
        {1, 6, "Sun node", 1, 8, 50, 0, 4,
         "Increases the infilicted damage, by %u%% per turn. Turns:\x0B%u."},
        {1, 17, "Will-o'-the-wisp", 2, 8, 2, 0, 3, "Reduces enemy attack by %u per turn. Turns:\x0B%u."},
        {1, 24, "Mana storm", 1, 16, 0, 0, 0,
         "Combo card, you can table another card which effect's doubled."},
        {2, 8, "Soul crush", 1, 1, 15, 5, 0, "Inflicts %u damage for suffering %u damage."},
        {2, 15, "Skeleton", 1, 2, 3, 0, 4,
         "Minion, inflicts %u damage to the enemy in each turn. Hp:\x0B%u."},
        {2, 22, "Blood boil", 1, 8, 10, 0, 2, "Inflicts %u Hp damage per turn. Turns:\x0B%u."},
        {2, 24, "Soul pile", 1, 16, 0, 0, 0,
         "Combo card, you can table another card which effect's doubled."},
    };
    CCardTable table;
    for (const Row& row : rows) {
        const CCardDef& card = table.Card(row.cls, row.index);
        EXPECT_STREQ(card.name, row.name);
        EXPECT_EQ(card.copies, row.copies) << row.name;
        EXPECT_EQ(card.kind, row.kind) << row.name;
        EXPECT_EQ(card.value1, row.v1) << row.name;
        EXPECT_EQ(card.value2, row.v2) << row.name;
        EXPECT_EQ(card.value3, row.v3) << row.name;
        EXPECT_STREQ(card.text, row.text) << row.name;
    }
}

TEST(CardTable, PictureIdsByLayoutMode) {
    CCardTable table;
    table.BuildCardTable(5);  // a small layout: one run of 75
    EXPECT_EQ(table.Card(0, 0).picture, 3952);
    EXPECT_EQ(table.Card(1, 0).picture, 3977);
    EXPECT_EQ(table.Card(2, 24).picture, 4026);
    table.BuildCardTable(9);  // a wide layout: a run of 30 per class
    EXPECT_EQ(table.Card(0, 0).picture, 3570);
    EXPECT_EQ(table.Card(0, 24).picture, 3594);
    EXPECT_EQ(table.Card(1, 0).picture, 3600);
    EXPECT_EQ(table.Card(2, 24).picture, 3654);
}

TEST(CardDeck, HoldsEveryCopyShuffledReproducibly) {
    CCardTable table;
    for (u32 cls = 0; cls < kCardClasses; ++cls) {
        CRandom random = SeededRandom(1234);
        CCardDeck deck;
        deck.BuildDeck(table, cls, random);
        ASSERT_EQ(deck.Count(), table.DeckSize(cls));
        u32 counts[kCardsPerClass] = {};
        for (i32 index : deck.Items()) {
            ASSERT_GE(index, 0);
            ASSERT_LT(index, 25);
            ++counts[index];
        }
        for (u32 i = 0; i < kCardsPerClass; ++i) EXPECT_EQ(counts[i], table.Card(cls, i).copies);

        // The same seed gives the same order; the order is not the plain index order.
        CRandom again = SeededRandom(1234);
        CCardDeck second;
        second.BuildDeck(table, cls, again);
        EXPECT_EQ(second.Items(), deck.Items());
        EXPECT_FALSE(std::is_sorted(deck.Items().begin(), deck.Items().end()));
    }
}

TEST(CardDeck, ShuffleSwapsThePlacesTheGeneratorDraws) {
    // An independent replay of the shuffle: 100 rounds of two draws over the unshuffled deck.
    CCardTable table;
    std::vector<i32> expected;
    for (u32 i = 0; i < kCardsPerClass; ++i)
        for (u32 c = 0; c < table.Card(kCardSorcerer, i).copies; ++c) expected.push_back(static_cast<i32>(i));
    CRandom replay = SeededRandom(77);
    for (int round = 0; round < 100; ++round) {
        u32 a = replay.Next(static_cast<i32>(expected.size()));
        u32 b = replay.Next(static_cast<i32>(expected.size()));
        std::swap(expected[a], expected[b]);
    }
    CRandom random = SeededRandom(77);
    CCardDeck deck;
    deck.BuildDeck(table, kCardSorcerer, random);
    EXPECT_EQ(deck.Items(), expected);
    EXPECT_EQ(deck.DrawTop(), expected[0]);
    EXPECT_EQ(deck.Count(), expected.size() - 1);
}

TEST(CardText, FillsPlacesByKind) {
    CCardTable table;
    struct Row {
        u32 cls, index, value;
        const char* expected;
    };
    const Row rows[] = {
        // Instants take their first two values whatever value is given.
        {0, 0, kNoCardValue, "Inflicts 2 damage to the enemy."},
        {0, 0, 99, "Inflicts 2 damage to the enemy."},
        {2, 0, kNoCardValue, "Inflicts 4 damage for suffering 2 damage."},
        // Combos and instants without places keep their text.
        {0, 23, 7, "Combo card, and heals half of the missing Hp."},
        {1, 13, kNoCardValue, "Destroys all of the enemy's markers."},
        // Markers: the last place is the count given, or the third value.
        {0, 7, kNoCardValue,
         "50% damage resistance. Turns:\x0B"
         "2."},
        {0, 7, 1,
         "50% damage resistance. Turns:\x0B"
         "1."},
        {0, 3, kNoCardValue,
         "Inflicts 1 damage and enemy loses 3 Hp per turn. Turns:\x0B"
         "3."},
        {0, 3, 2,
         "Inflicts 1 damage and enemy loses 3 Hp per turn. Turns:\x0B"
         "2."},
        {2, 10, kNoCardValue,
         "Defensive bone wall. Hp:\x0B"
         "6."},
        {2, 10, 4,
         "Defensive bone wall. Hp:\x0B"
         "4."},
        {0, 9, 5,
         "20% damage reduction per turn. Durability:\x0B"
         "5\x0BHp."},
        {0, 24, kNoCardValue,
         "50% damage bonus but 30% more damage taken per turn. Turns:\x0B"
         "2."},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FormatCardText(table.Card(row.cls, row.index), row.value), row.expected)
            << table.Card(row.cls, row.index).name;
}

TEST(CardText, TooManyPlacesOrNoTextYieldNothing) {
    CCardDef card;
    card.kind = kCardInstant;
    card.text = "%u %u %u";
    EXPECT_EQ(FormatCardText(card), "");  // an instant fills at most two
    card.kind = kCardTurns;
    card.value1 = 1;
    card.value2 = 2;
    card.value3 = 3;
    EXPECT_EQ(FormatCardText(card), "1 2 3");
    card.text = "%u %u %u %u";
    EXPECT_EQ(FormatCardText(card), "");
    card.text = nullptr;
    EXPECT_EQ(FormatCardText(card), "");
    // Anything but "%u" and "%%" is text: a stored record cannot steer a formatter.
    card.text = "%s %n %d%";
    EXPECT_EQ(FormatCardText(card), "%s %n %d%");
}

TEST(CardText, ClassNames) {
    EXPECT_STREQ(CardClassName(0), "warrior");
    EXPECT_STREQ(CardClassName(1), "sorcerer");
    EXPECT_STREQ(CardClassName(2), "necromancer");
    EXPECT_STREQ(CardClassName(3), "");
}

}  // namespace

namespace {

TEST(CardTable, FilledFromStoredRecords) {
    CCardTable table;
    table.BuildCardTable(9);
    CResourceRefEntry record;
    record.name = "Hammer blow";
    record.effectText = "Inflicts %u damage to the enemy.";
    record.copies = 2;
    record.values[0] = 6;
    record.kindFlags = kCardInstant;
    ASSERT_TRUE(table.FillFromRecord(1, record));
    const CCardDef& card = table.CardAt(1);
    EXPECT_STREQ(card.name, "Hammer blow");
    EXPECT_EQ(card.value1, 6u);
    EXPECT_EQ(card.copies, 2u);
    EXPECT_EQ(card.picture, 3571);  // the layout's picture stays
    EXPECT_EQ(FormatCardText(card), "Inflicts 6 damage to the enemy.");
    EXPECT_EQ(table.DeckSize(kCardWarrior), 54u);

    // Records the rules could not play safely leave the card as it was.
    struct Bad {
        const char* why;
        u32 kind, copies, value;
        const char* name;
    };
    const Bad bad[] = {
        {"unknown kind", 3, 1, 1, "x"},
        {"no kind", 0, 1, 1, "x"},
        {"a deck of millions", kCardInstant, 4000000, 1, "x"},
        {"a value past the limit", kCardInstant, 1, 10000, "x"},
        {"no name", kCardInstant, 1, 1, nullptr},
    };
    for (const Bad& b : bad) {
        CResourceRefEntry r;
        r.name = b.name;
        r.effectText = "%u";
        r.kindFlags = b.kind;
        r.copies = b.copies;
        r.values[1] = b.value;
        EXPECT_FALSE(table.FillFromRecord(2, r)) << b.why;
        EXPECT_STREQ(table.CardAt(2).name, "Rapid stab") << b.why;
    }
    EXPECT_FALSE(table.FillFromRecord(kCardCount, record));
}

}  // namespace
