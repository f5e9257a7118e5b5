// The texts the character pages show, computed from a player: the sheet's values with their glyphs,
// the skill rows with their buttons, and the active-effects kinds and lines for a player with several
// effects of each source.
#include <gtest/gtest.h>

#include <string>

#include "data/CharacterTables.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "screens/panels/CharacterPageTexts.h"
#include "tests/screens/CharacterTesting.h"
#include "ui/Draw.h"
#include "world/Player.h"

namespace {

std::string Plain(const char* text) {
    CStr s(text);
    ToNumberGlyphs(s);
    return s.GetText();
}

std::string Highlighted(const char* text) {
    CStr s(text);
    ToAltNumberGlyphs(s);
    return s.GetText();
}

struct Fixture {
    CAttributeTable attributes;
    CSkillTable skills;
    CRuleContext rules;
    CPlayer player;
    Fixture() {
        rules.attributes = &attributes;
        rules.skills = &skills;
        character_testing::PrepareCharacter(player, rules);
    }
    void AddEffect(int kind, int strength, int duration, int source, const void* origin, int target = 0) {
        player.effects[kind].push_back(
            character_testing::MakeEffect(kind, strength, duration, source, origin, target));
    }
};

TEST(CharacterPageTexts, SheetValuesHighlightWhatEffectsChange) {
    Fixture f;
    character_testing::EffectOrigins o;
    f.AddEffect(kListFortifyAttribute, 5, 0, kFromEquipment, &o.worn, kStrength);
    f.player.attributePoints = 2;
    f.player.attributeRaises[kDexterity] = 1;
    f.player.hp = 500;  // above any maximum this character has
    f.player.mana = 1;
    CCharacterPoints points(f.player);
    CSheetValues v;
    ComputeSheetValues(f.player, points, v);
    EXPECT_EQ(std::string(v.attributes[kStrength].GetText()), Highlighted("25") + '\x0B' + Plain("(20)"));
    EXPECT_EQ(std::string(v.attributes[kDexterity].GetText()), Plain("20") + '\x0B' + Plain("(20)"));
    EXPECT_FALSE(v.raiseShown[kStrength]);
    EXPECT_TRUE(v.raiseShown[kDexterity]);
    EXPECT_EQ(std::string(v.availablePoints.GetText()), Plain("2"));
    // Current hit points above the maximum are highlighted; spell points at or below it are not.
    std::string hp = v.hp.GetText();
    EXPECT_EQ(hp.substr(0, hp.find('/') + 1), Highlighted("500/"));
    std::string sp = v.sp.GetText();
    EXPECT_EQ(sp.substr(0, sp.find('/') + 1), Plain("1/"));

    // Spending the points shows at once; with none left no button stays.
    ASSERT_TRUE(points.RaiseAttribute(kDexterity));
    ComputeSheetValues(f.player, points, v);
    EXPECT_EQ(std::string(v.attributes[kDexterity].GetText()), Plain("21") + '\x0B' + Plain("(21)"));
    EXPECT_FALSE(v.raiseShown[kDexterity]);
    EXPECT_EQ(std::string(v.availablePoints.GetText()), Plain("1"));
}

TEST(CharacterPageTexts, SkillRowsShowBarredSkillsAsZero) {
    Fixture f;
    f.player.skillPoints = 1;
    for (int s = 1; s <= kPlayerSkillCount; ++s) f.player.skillRaises[s] = 2;
    CCharacterPoints points(f.player);
    CSkillRows rows;
    ComputeSkillRows(f.player, points, rows);
    EXPECT_EQ(rows.primary[0].skill, 1);
    EXPECT_EQ(std::string(rows.primary[0].value.GetText()), Plain("10"));
    EXPECT_EQ(rows.primary[0].button, CCharacterPoints::SkillButton::kRaise);
    // One point: other skills cost two.
    EXPECT_EQ(rows.other[0].button, CCharacterPoints::SkillButton::kHidden);
    const CSkillRow& barred = rows.other[kSkillUndeadMagic - 7];
    ASSERT_EQ(barred.skill, kSkillUndeadMagic);
    EXPECT_EQ(std::string(barred.value.GetText()), Highlighted("0"));
    EXPECT_EQ(std::string(rows.availablePoints.GetText()), Plain("1"));

    f.player.race = 1;
    ComputeSkillRows(f.player, points, rows);
    EXPECT_EQ(std::string(rows.other[kSkillHealMagic - 7].value.GetText()), Highlighted("0"));
    EXPECT_EQ(std::string(rows.other[kSkillUndeadMagic - 7].value.GetText()), Plain("10"));
}

TEST(CharacterPageTexts, ActiveEffectsOfEverySourceByFilter) {
    Fixture f;
    character_testing::EffectOrigins o;
    f.AddEffect(kListFortifyAc, 3, 0, kFromEquipment, &o.worn);
    f.AddEffect(kListFortifyAc, 4, 6, kFromDrink, &o.potion);
    f.AddEffect(kListFortifyAc, 2, 1, kFromSpell, &o.spell);
    f.AddEffect(kListResistMagic, 110, 0, kFromAbility, &o.ability);
    f.AddEffect(kListDamage, -2, 0, kFromDisease, &o.disease);
    f.AddEffect(kListPoison, 3, 5, kFromHit, nullptr);

    EXPECT_EQ(ListEffectKinds(f.player, 0), (std::vector<int>{kListFortifyAc, kListPoison}));
    EXPECT_EQ(ListEffectKinds(f.player, 1),
              (std::vector<int>{kListFortifyAc, kListResistMagic, kListDamage}));
    EXPECT_EQ(ListEffectKinds(f.player, 2),
              (std::vector<int>{kListFortifyAc, kListResistMagic, kListPoison, kListDamage}));

    CStr body;
    DescribeEffectKind(f.player, kListFortifyAc, 2, f.rules, body);
    EXPECT_EQ(std::string(body.GetText()),
              Plain("+3, (Copper Ring)\r+4, 6 rounds, (Bear potion)\r+2, 1 round, (Stoneskin spell)\r"));
    DescribeEffectKind(f.player, kListFortifyAc, 0, f.rules, body);
    EXPECT_EQ(std::string(body.GetText()),
              Plain("+4, 6 rounds, (Bear potion)\r+2, 1 round, (Stoneskin spell)\r"));
    DescribeEffectKind(f.player, kListFortifyAc, 1, f.rules, body);
    EXPECT_EQ(std::string(body.GetText()), Plain("+3, (Copper Ring)\r"));
    DescribeEffectKind(f.player, kListPoison, 2, f.rules, body);
    EXPECT_EQ(std::string(body.GetText()), Plain("-3 hp/turn, 5 rounds, \r"));
    DescribeEffectKind(f.player, 0, 2, f.rules, body);
    EXPECT_STREQ(body.GetText(), "");
    DescribeEffectKind(f.player, 25, 2, f.rules, body);
    EXPECT_STREQ(body.GetText(), "");
}

TEST(CharacterPageTexts, ListRowsNeverDivideByZero) {
    struct Case {
        int height, rowHeight, rows;
    };
    const Case cases[] = {{200, 20, 10}, {199, 20, 9}, {0, 20, 1}, {10, 20, 1}, {200, 0, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(RowsPerPage(c.height, c.rowHeight), c.rows) << c.height << "/" << c.rowHeight;
    EXPECT_EQ(FirstRowFor(-1, 10), 0);
    EXPECT_EQ(FirstRowFor(23, 10), 20);
    EXPECT_EQ(FirstRowFor(3, 0), 3);
}

}  // namespace
