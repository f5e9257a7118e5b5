// The rows of the enchantment entry lists over a small world: they show the records' names and give
// the entry the records' ids, which the cost rules and casting look up.
#include <gtest/gtest.h>

#include "screens/npc/CraftRules.h"
#include "tests/data/RuleFixture.h"

using namespace craft;

TEST(EnchantRows, RecordRowsShowNamesAndStoreIds) {
    RuleWorld world;
    struct Row {
        EnchantDatum datum;
        const char* id;
        const char* name;
    } rows[] = {{EnchantDatum::Disease, "base_plague", "Plague"},
                {EnchantDatum::Creature, "base_rat", "Giant Rat"}};
    for (const Row& r : rows) {
        std::vector<CDatumRow> list = EnchantDatumRows(r.datum, world.game);
        ASSERT_EQ(list.size(), 1u) << r.id;
        EXPECT_EQ(list[0].id, r.id);
        EXPECT_EQ(list[0].name, r.name);
        CEffect entry;
        entry.kind = r.datum == EnchantDatum::Disease ? kEffectResistDisease : kEffectDamageBase;
        entry.amount = r.datum == EnchantDatum::Disease ? 120 : 10;
        EXPECT_EQ(FindDatumRow(list, r.datum, entry), -1);
        StoreDatum(entry, r.datum, &list[0]);
        EXPECT_STREQ(entry.id, r.id);
        EXPECT_EQ(FindDatumRow(list, r.datum, entry), 0);
        EXPECT_TRUE(IsEnchantEntryComplete(entry));
        // Stored by id, the entry costs what its record says; stored by name it would cost nothing.
        i32 storage = 0, gold = 0;
        ComputeEffectCost(entry, world.game, kSourceWeapon, storage, gold);
        EXPECT_GT(gold, 0) << r.id;
        CEffect byName;
        byName.kind = entry.kind;
        byName.amount = entry.amount;
        byName.SetId(r.name);
        i32 storage2 = 0, gold2 = 0;
        ComputeEffectCost(byName, world.game, kSourceWeapon, storage2, gold2);
        EXPECT_EQ(gold2, 0) << r.name;
        StoreDatum(entry, r.datum, nullptr);
        EXPECT_FALSE(IsEnchantEntryComplete(entry));
    }
}

TEST(EnchantRows, NumberRowsAndKnownSpells) {
    RuleWorld world;
    std::vector<CDatumRow> targets = EnchantDatumRows(EnchantDatum::Target, world.game);
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets[2].name, "Undeads");
    CEffect entry;
    entry.kind = kEffectDamageType;
    entry.target = 2;
    EXPECT_EQ(FindDatumRow(targets, EnchantDatum::Target, entry), 1);
    StoreDatum(entry, EnchantDatum::Target, &targets[2]);
    EXPECT_EQ(entry.target, 3);
    EXPECT_EQ(entry.id, nullptr);
    EXPECT_EQ(EnchantDatumRows(EnchantDatum::Skill, world.game).size(), 20u);
    EXPECT_EQ(EnchantDatumRows(EnchantDatum::Attribute, world.game).size(), 5u);

    world.player.known = {"base_spellfire", "base_spellheal"};
    std::vector<CDatumRow> spells = KnownSpellRows(world.game);
    ASSERT_EQ(spells.size(), 2u);
    EXPECT_EQ(spells[0].id, "base_spellheal");  // school 1 before school 3
    EXPECT_EQ(spells[0].name, "Heal");
    EXPECT_EQ(spells[1].id, "base_spellfire");
    EXPECT_EQ(spells[1].name, "Fire Bolt");
}
