// Attributes, skills, races and classes: built-ins, look-ups, training cost, and the world's records
// with their present flag and version gates.
#include <gtest/gtest.h>

#include "tests/data/RuleFixture.h"

namespace {

std::vector<SkillDef> TwentySkills() {
    std::vector<SkillDef> skills;
    for (int i = 1; i <= 20; ++i) {
        SkillDef s;
        s.id = "base_skill" + std::to_string(i);
        s.full = "Full " + std::to_string(i);
        s.medium = "Medium " + std::to_string(i);
        s.shortName = "Short " + std::to_string(i);
        s.attribute = 1 + i % 5;
        s.group = 8;
        skills.push_back(s);
    }
    return skills;
}

TEST(CharacterTables, BuiltInLookUps) {
    CAttributeTable attributes;
    EXPECT_EQ(attributes.FindId("Str"), 1);
    EXPECT_EQ(attributes.FindId("sTR"), 1);
    EXPECT_EQ(attributes.FindId("base_strength"), 1);
    EXPECT_EQ(attributes.FindId("BASE_STRENGTH"), 0);
    EXPECT_EQ(attributes.FindId("personality"), 5);
    EXPECT_EQ(attributes.FindId(nullptr), 0);
    EXPECT_STREQ(attributes.GetName(4), "Intelligence");
    EXPECT_EQ(attributes.GetName(0), nullptr);
    EXPECT_EQ(attributes.GetEntry(6), nullptr);

    CSkillTable skills;
    EXPECT_EQ(skills.FindId("base_stealth"), 20);
    EXPECT_EQ(skills.FindId("light weapon"), 2);
    EXPECT_EQ(skills.FindId("Light Weap"), 0);
    EXPECT_STREQ(skills.GetName(9, true), "Prot. Magic");
    EXPECT_STREQ(skills.GetName(3, false, true), "Heavy W");
    EXPECT_EQ(skills.GetName(21), nullptr);
    EXPECT_EQ(skills.GetEntry(16)->attribute, 4);
    EXPECT_EQ(skills.GetEntry(2)->group, 8);

    CRaceTable races;
    EXPECT_STREQ(races.GetName(0), "Creature");
    EXPECT_STREQ(races.GetName(3), "Seiry");
    EXPECT_EQ(races.GetName(6), nullptr);
    EXPECT_EQ(races.GetEntry(1)->text1, nullptr);

    CCharacterClassTable classes;
    FillCharacterClassTable(classes);
    EXPECT_STREQ(classes.entries[4].displayName, "Battlemage");
    EXPECT_EQ(classes.entries[5].skills[0], 7);
    EXPECT_EQ(classes.entries[6].skills[5], 17);
    EXPECT_EQ(classes.entries[1].flag, 1u);
    EXPECT_EQ(classes.entries[0].GetName(), nullptr);
}

TEST(CharacterTables, TrainingCostIncludingValuesPastTheTable) {
    CSkillTable skills;
    const struct {
        int value;
        u32 cost;
    } rows[] = {{0, 50},     {5, 75},     {10, 100},     {45, 525}, {99, 2900},
                {100, 3000}, {150, 3000}, {65535, 3000}, {-4, 50}};
    for (const auto& r : rows) EXPECT_EQ(skills.GetTrainingCost(r.value), r.cost) << r.value;
}

TEST(CharacterTables, RecordsReplaceTheNamesUnlessTheyAreAbsent) {
    CAttributeTable attributes;
    CMemoryRecordReader absent({WriteAttributeRecord({}, kTestVersion)});
    EXPECT_TRUE(attributes.Load(absent, kTestVersion));
    EXPECT_STREQ(attributes.GetName(1), "Strength");
    std::vector<AttributeDef> defs = {{"base_might", "Might", "Mig"},
                                      {"base_b", "B", "b"},
                                      {"base_c", "C", "c"},
                                      {"base_d", "D", "d"},
                                      {"base_e", "E", "e"}};
    CMemoryRecordReader present({WriteAttributeRecord(defs, kTestVersion)});
    EXPECT_TRUE(attributes.Load(present, kTestVersion));
    EXPECT_STREQ(attributes.GetName(1), "Might");
    EXPECT_EQ(attributes.FindId("mig"), 1);
    attributes.Fill();
    EXPECT_STREQ(attributes.GetName(1), "Strength");
    CMemoryRecordReader missing({});
    EXPECT_FALSE(attributes.Load(missing, kTestVersion));
    RuleRecord shortRecord = WriteAttributeRecord(defs, kTestVersion);
    shortRecord.resize(shortRecord.size() - 3);
    CMemoryRecordReader cut({shortRecord});
    EXPECT_FALSE(attributes.Load(cut, kTestVersion));
    EXPECT_STREQ(attributes.GetName(1), "Strength");

    for (int version : {73, 74, 110, kTestVersion}) {
        CSkillTable skills;
        CMemoryRecordReader reader({WriteSkillRecord(TwentySkills(), version)});
        ASSERT_TRUE(skills.Load(reader, version)) << version;
        EXPECT_STREQ(skills.GetName(3), "Full 3");
        // A record of version 73 keeps the built-in medium and short names.
        EXPECT_STREQ(skills.GetName(3, true), version > 73 ? "Medium 3" : "Heavy Weap") << version;
        EXPECT_STREQ(skills.GetName(3, false, true), version > 109 ? "Short 3" : "Heavy W") << version;
        EXPECT_EQ(skills.GetEntry(3)->attribute, 4);
        EXPECT_EQ(skills.GetEntry(2)->group, 8);
    }
}

TEST(CharacterTables, RacesAreBuiltInAgainAfterAReset) {
    std::vector<RaceDef> defs;
    for (int i = 0; i < 6; ++i)
        defs.push_back({"base_r" + std::to_string(i), "Race " + std::to_string(i),
                        "base_ability" + std::to_string(i), "", "third"});
    CRaceTable races;
    CMemoryRecordReader reader({WriteRaceRecord(defs, kTestVersion)});
    ASSERT_TRUE(races.Load(reader, kTestVersion));
    EXPECT_STREQ(races.GetName(2), "Race 2");
    EXPECT_STREQ(races.GetEntry(2)->text1, "base_ability2");
    EXPECT_STREQ(races.GetEntry(2)->text3, "third");
    // A world reset, then a world whose race record is absent: no text of the old record is left.
    races.Fill();
    CMemoryRecordReader absent({WriteRaceRecord({}, kTestVersion)});
    EXPECT_TRUE(races.Load(absent, kTestVersion));
    EXPECT_STREQ(races.GetName(2), "Etherim");
    EXPECT_EQ(races.GetEntry(2)->text1, nullptr);
    CMemoryRecordReader old({WriteRaceRecord(defs, 51)});
    ASSERT_TRUE(races.Load(old, 51));
    EXPECT_EQ(races.GetEntry(2)->text3, nullptr);
}

}  // namespace
