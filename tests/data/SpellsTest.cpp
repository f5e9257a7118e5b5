// Spells, abilities, diseases and recipes.
#include <gtest/gtest.h>

#include <memory>

#include "tests/data/RuleFixture.h"

namespace {

TEST(Spells, LoadedWithTheirSchoolsAndLookUps) {
    RuleWorld world;
    ASSERT_EQ(world.spells.Count(), 4);
    const CSpell* fire = world.spells.FindById("base_spellfire");
    ASSERT_NE(fire, nullptr);
    EXPECT_STREQ(fire->GetDisplayName(), "Fire Bolt");
    EXPECT_EQ(fire->school, 3);
    EXPECT_STREQ(world.spells.GetSchool(1)->name, "Heal spells");
    EXPECT_EQ(world.spells.GetSchoolSkill(5), 12);
    EXPECT_EQ(world.spells.GetSchoolSkill(7), 0);
    EXPECT_EQ(world.spells.GetSchool(8), nullptr);
    EXPECT_EQ(IsHarmfulSpellById(world.spells, "base_spellfire"), 1);
    EXPECT_EQ(IsHarmfulSpellById(world.spells, "base_spellheal"), 0);
    EXPECT_EQ(IsHarmfulSpellById(world.spells, "base_unknown"), 0);
    EXPECT_EQ(world.spells.FindById("base_spellmark")->HasEffectOutsideKindSet(), 0);
    EXPECT_EQ(fire->HasEffectOutsideKindSet(), 1);
    EXPECT_EQ(fire->HasEffectKind49(), 0);
}

TEST(Spells, SkillScaledValueIsSignedAndNeverBelowZero) {
    RuleWorld world;
    const CSpell* fire = world.spells.FindById("base_spellfire");  // base 10, factor 50, school 3 (skill 10)
    world.player.skills[10] = 40;
    EXPECT_EQ(fire->GetSkillScaledValue(world.game), 30u);
    world.player.skills[10] = -10;
    EXPECT_EQ(fire->GetSkillScaledValue(world.game), 5u);
    world.player.skills[10] = -100;
    EXPECT_EQ(fire->GetSkillScaledValue(world.game), 0u);
    SpellDef magic;
    magic.id = "base_item";
    magic.school = 7;
    magic.base = 12;
    magic.factor = 90;
    CMemoryRecordReader reader(WriteSpellRecords({magic}, kTestVersion));
    CSpellList list;
    ASSERT_TRUE(list.Load(reader, kTestVersion));
    world.player.skills[0] = 50;
    EXPECT_EQ(list.At(0)->GetSkillScaledValue(world.game), 12u);
}

TEST(Spells, RecordTextsOrderAndVersions) {
    SpellDef s;
    s.id = "base_s";
    for (int i = 0; i < 9; ++i) s.texts[i] = "t" + std::to_string(i + 1);
    s.effects = {Fx(3, 4, "", 4)};
    for (int version : {26, 27, 50, 51, 52, kTestVersion}) {
        CMemoryRecordReader reader(WriteSpellRecords({s}, version));
        CSpellList list;
        ASSERT_TRUE(list.Load(reader, version)) << version;
        const CSpell* spell = list.At(0);
        EXPECT_STREQ(spell->texts[3], "t4");
        EXPECT_STREQ(spell->texts[4], "t5");
        EXPECT_STREQ(spell->texts[6], version > 26 ? "t7" : nullptr);
        EXPECT_STREQ(spell->texts[8], version > 51 ? "t9" : nullptr);
        EXPECT_EQ(spell->effects.Count(), 1);
    }
    RuleRecords records = WriteSpellRecords({s, s}, kTestVersion);
    records.pop_back();
    CMemoryRecordReader reader(records);
    CSpellList list;
    EXPECT_FALSE(list.Load(reader, kTestVersion));
    EXPECT_EQ(list.Count(), 1);
}

TEST(Abilities, TeachSpellsByRaceAndApplyTheRest) {
    RuleWorld world;
    BundleDef a;
    a.id = "base_ability";
    a.text = "Gifted";
    a.effects = {Fx(31, 0, "base_spellheal", 2), Fx(31, 0, "base_spelldrain", 2),
                 Fx(31, 0, "base_spellfire", 2), Fx(11, 2, "", 3)};
    CMemoryRecordReader reader({WriteAbilityRecord({a}, kTestVersion)});
    CAbilityList abilities;
    ASSERT_TRUE(abilities.Load(reader, kTestVersion));
    const CAbility* ability = abilities.FindById("base_ability");
    ASSERT_NE(ability, nullptr);
    world.player.race = 2;
    world.player.known = {"base_spellfire"};
    ApplyAbility(*ability, world.game, world.player);
    EXPECT_EQ(world.player.known, (std::vector<std::string>{"base_spellfire", "base_spellheal"}));
    ASSERT_EQ(world.player.applied.size(), 1u);
    EXPECT_EQ(world.player.applied[0].kind, 11);
    EXPECT_EQ(world.player.applied[0].source, 5);

    FakePlayer undead;
    undead.race = 1;
    ApplyAbility(*ability, world.game, undead);
    EXPECT_EQ(undead.known, (std::vector<std::string>{"base_spelldrain", "base_spellfire"}));

    CStr text;
    world.game.layoutMode = 15;
    FormatAbilityEffects(*ability, world.game, text);
    EXPECT_STREQ(text.GetText(), "Heal spell\rDrain spell\rFire Bolt spell\r+2 AC");
    FormatAbilityEffectsRange(*ability, world.game, 5, text, 1, 3);
    EXPECT_STREQ(text.GetText(), "Drain\rFire Bolt");
}

TEST(Diseases, SecondByteFromVersion121AndEffects) {
    RuleWorld world;
    BundleDef d;
    d.id = "base_cough";
    d.text = "Cough";
    d.value1 = 7;
    d.value2 = 9;
    d.effects = {Fx(25, -2)};
    for (int version : {120, 121}) {
        CMemoryRecordReader reader({WriteDiseaseRecord({d}, version)});
        CDiseaseList list;
        ASSERT_TRUE(list.Load(reader, version));
        EXPECT_EQ(list.At(0)->value1, 7);
        EXPECT_EQ(list.At(0)->value2, version > 120 ? 9 : 0);
        CStr text;
        FormatDiseaseEffects(*list.At(0), world.game, text);
        EXPECT_STREQ(text.GetText(), "-2 hp (each turn)");
        FakePlayer p;
        ApplyDisease(*list.At(0), p);
        ASSERT_EQ(p.applied.size(), 1u);
        EXPECT_EQ(p.applied[0].source, 4);
    }
}

TEST(Recipes, ScalingByEffectKind) {
    RecipeDef r;
    r.baseAmount = 10, r.amountPerSkill = 50, r.baseDuration = 3, r.durationPerSkill = 25;
    const struct {
        int kind;
        int amount, duration;
        bool changed;
    } rows[] = {{5, 35, 15, true},   {20, 35, 15, true},  {3, 35, 0, true}, {57, 35, 0, true},
                {15, 135, 15, true}, {38, 135, 15, true}, {4, 0, 0, true},  {55, 0, 0, true},
                {1, 77, 66, false},  {31, 77, 66, false}};
    CMemoryRecordReader reader({WriteRecipeRecord({r}, kTestVersion)});
    CRecipeList list;
    ASSERT_TRUE(list.Load(reader, kTestVersion));
    for (const auto& row : rows) {
        CEffect e;
        e.kind = static_cast<u8>(row.kind);
        e.amount = 77;
        e.duration = 66;
        EXPECT_EQ(ApplyRecipeScaling(*list.At(0), 50, e), row.changed ? 1 : 0) << row.kind;
        EXPECT_EQ(e.amount, row.amount) << row.kind;
        EXPECT_EQ(e.duration, row.duration) << row.kind;
    }
    RecipeDef big;
    big.baseAmount = 30000, big.amountPerSkill = 30000;
    CEffect e;
    e.kind = 5;
    CMemoryRecordReader bigReader({WriteRecipeRecord({big}, kTestVersion)});
    CRecipeList bigList;
    ASSERT_TRUE(bigList.Load(bigReader, kTestVersion));
    ApplyRecipeScaling(*bigList.At(0), 200, e);
    EXPECT_EQ(e.amount, 32767);  // 90,000 clamped where it is stored
}

TEST(Recipes, ResultItemsGetTheirOwnScaledEffect) {
    RuleWorld world;
    ItemDef potion;
    potion.id = "base_pheal";
    potion.name = "Healing";
    potion.itemClass = 8, potion.subclass = 1;
    potion.hasEffects = true, potion.effects = {Fx(3, 5, "", 4)};
    ItemDef plain;
    plain.id = "base_water";
    plain.itemClass = 14, plain.subclass = 2;
    world.LoadItems({{}, {}, {}, {potion, plain}});
    RecipeDef r;
    r.id = "base_recipe";
    r.resultId = "base_pheal";
    r.baseAmount = 10, r.amountPerSkill = 20;
    r.ingredients[0].itemId = "base_herb";
    RecipeDef water = r;
    water.id = "base_waterrecipe";
    water.resultId = "base_water";
    RecipeDef nothing = r;
    nothing.id = "base_nothing";
    nothing.resultId = "base_gone";
    CMemoryRecordReader reader({WriteRecipeRecord({r, water, nothing}, kTestVersion)});
    CRecipeList list;
    ASSERT_TRUE(list.Load(reader, kTestVersion));
    EXPECT_STREQ(list.FindById("base_recipe")->ingredients[0].itemId, "base_herb");
    std::unique_ptr<CItemInstance> made(ScaleRecipeEffect(*list.FindById("base_recipe"), 50, world.game));
    ASSERT_NE(made, nullptr);
    ASSERT_NE(made->effects, nullptr);
    EXPECT_EQ(made->effects->At(0)->amount, 20);
    EXPECT_EQ(world.items.FindItemType("base_pheal")->effects->At(0)->amount, 5);  // the type keeps its own
    std::unique_ptr<CItemInstance> plainItem(
        ScaleRecipeEffect(*list.FindById("base_waterrecipe"), 50, world.game));
    ASSERT_NE(plainItem, nullptr);
    EXPECT_EQ(plainItem->effects, nullptr);
    EXPECT_EQ(ScaleRecipeEffect(*list.FindById("base_nothing"), 50, world.game), nullptr);
}

}  // namespace
