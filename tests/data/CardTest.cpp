// Card records and their effect texts.
#include <gtest/gtest.h>

#include "data/CardRecord.h"

namespace {

TEST(Cards, ConstructionAndText) {
    CResourceRefEntry card;
    EXPECT_EQ(card.group, 0u);
    EXPECT_EQ(card.values[2], 0u);
    ASSERT_NE(card.picture, nullptr);
    EXPECT_FALSE(card.picture->IsLoaded());
    card.values[0] = 3, card.values[1] = 4, card.values[2] = 5;
    const struct {
        const char* text;
        u32 flags;
        u32 value;
        const char* expected;
    } rows[] = {
        {"Heals you.", 0, 9, "Heals you."},
        {"Heals you.", 0x01, kCardNoValue, "Heals you."},
        {"Inflicts %u damage to the enemy.", 0, 9, "Inflicts 9 damage to the enemy."},
        {"Inflicts %u damage to the enemy.", 0, kCardNoValue, "Inflicts 5 damage to the enemy."},
        {"Inflicts %u damage to the enemy.", 0x10, 9, "Inflicts 3 damage to the enemy."},
        {"%u and %u", 0, kCardNoValue, "3 and 5"},
        {"%u and %u", 0x01, 9, "3 and 4"},
        {"%u, %u, %u", 0, 9, "3, 4, 9"},
        {"%u, %u, %u", 0x11, 9, ""},
        {"%u%u%u%u", 0, 9, ""},
        // Stored texts are data, not formats: nothing but "%u" and "%%" is filled.
        {"%s deals %u (%n) 100%%", 0, 9, "%s deals 9 (%n) 100%"},
        {nullptr, 0, 9, ""},
    };
    for (const auto& r : rows) {
        card.effectText = r.text;
        card.kindFlags = r.flags;
        CStr out;
        FormatCardText(card, out, r.value);
        EXPECT_STREQ(out.GetText(), r.expected) << (r.text ? r.text : "(null)") << " flags " << r.flags;
    }
    CStr appended("Card: ");
    card.effectText = "%u";
    card.kindFlags = 0;
    FormatCardText(card, appended, 7);
    EXPECT_STREQ(appended.GetText(), "Card: 7");
}

TEST(Cards, ARecordWithoutAPictureHolderIsDestroyedQuietly) {
    auto card = std::make_unique<CResourceRefEntry>();
    card->picture.reset();
    card.reset();
    std::vector<std::unique_ptr<CResourceRefEntry>> table;
    for (int i = 0; i < kCardRecordCount; ++i) table.push_back(std::make_unique<CResourceRefEntry>());
    EXPECT_EQ(table.size(), 75u);
}

}  // namespace
