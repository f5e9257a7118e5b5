// The point bookkeeping of the character pages as plain tables: what a level grants, what raising and
// Undo do, and which raises are refused, together with the sheet's numbers and the lines of the
// active-effects page.
#include <gtest/gtest.h>

#include <string>

#include "data/CharacterTables.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "screens/panels/CharacterPoints.h"
#include "tests/screens/CharacterTesting.h"
#include "world/Player.h"

namespace {

using character_testing::MakeEffect;
using character_testing::PrepareCharacter;

struct Tables {
    CAttributeTable attributes;
    CSkillTable skills;
    CRuleContext rules;
    Tables() {
        rules.attributes = &attributes;
        rules.skills = &skills;
    }
};

TEST(CharacterPoints, ALevelGainedGrantsPointsAndAllowances) {
    Tables t;
    CPlayer player;
    PrepareCharacter(player, t.rules);
    player.BuildXpTable();
    player.xpForNextLevel = player.xpTable[2];
    player.xp = player.xpTable[2];
    player.CheckLevel();
    ASSERT_EQ(player.level, 2);
    EXPECT_EQ(player.attributePoints, 5);
    EXPECT_EQ(player.skillPoints, 10);
    for (int a = 1; a <= kPlayerAttributeCount; ++a) EXPECT_EQ(player.attributeRaises[a], 2) << a;
    EXPECT_EQ(player.skillRaises[1], 2);
    EXPECT_EQ(player.skillRaises[kSkillUndeadMagic], 0);  // barred for race 2

    // The sheet now offers every attribute; spending them raises the value the pages show.
    CCharacterPoints points(player);
    for (int a = 1; a <= kPlayerAttributeCount; ++a) EXPECT_TRUE(points.ShowsAttributeRaise(a)) << a;
    EXPECT_TRUE(points.RaiseAttribute(kStrength));
    EXPECT_EQ(player.GetAttribute(kStrength), 21);
    EXPECT_EQ(points.RaiseSkill(points.PrimarySkill(0), true), CCharacterPoints::SkillRaise::kRaised);
    EXPECT_EQ(player.GetSkillValue(1), 11);
}

TEST(CharacterPoints, AttributeRaisesAndUndo) {
    Tables t;
    CPlayer player;
    PrepareCharacter(player, t.rules);
    player.attributePoints = 3;
    player.attributeRaises[kDexterity] = 2;
    CCharacterPoints points(player);

    struct Step {
        int command;
        bool raised;
        u16 points, allowance, base;
    };
    const Step steps[] = {
        {374, true, 2, 1, 21},
        {374, true, 1, 0, 22},
        {374, false, 1, 0, 22},  // allowance used up: a stale button changes nothing
        {373, false, 1, 0, 22},  // strength has no allowance at all
    };
    for (const Step& s : steps) {
        int a = AttributeOfRaiseCommand(s.command);
        EXPECT_EQ(points.RaiseAttribute(a), s.raised) << s.command;
        EXPECT_EQ(player.attributePoints, s.points) << s.command;
        EXPECT_EQ(player.attributeRaises[kDexterity], s.allowance) << s.command;
        EXPECT_EQ(player.attributes[kDexterity], s.base) << s.command;
    }
    EXPECT_EQ(points.AttributePointsSpent(), 2u);
    EXPECT_EQ(points.AttributeRaises(kDexterity), 2u);
    EXPECT_FALSE(points.ShowsAttributeRaise(kDexterity));

    points.UndoAttributePoints();
    EXPECT_EQ(player.attributePoints, 3);
    EXPECT_EQ(player.attributeRaises[kDexterity], 2);
    EXPECT_EQ(player.attributes[kDexterity], 20);
    EXPECT_EQ(points.AttributePointsSpent(), 0u);

    // Committed raises stay when Undo comes later.
    EXPECT_TRUE(points.RaiseAttribute(kDexterity));
    points.CommitAll();
    points.UndoAttributePoints();
    EXPECT_EQ(player.attributes[kDexterity], 21);
    EXPECT_EQ(player.attributePoints, 2);
}

TEST(CharacterPoints, NoPointsNeverWrap) {
    Tables t;
    CPlayer player;
    PrepareCharacter(player, t.rules);
    player.attributeRaises[kStrength] = 2;
    player.skillRaises[1] = 2;
    player.skillRaises[7] = 2;
    CCharacterPoints points(player);
    EXPECT_FALSE(points.ShowsAttributeRaise(kStrength));
    EXPECT_FALSE(points.RaiseAttribute(kStrength));
    EXPECT_EQ(player.attributePoints, 0);
    EXPECT_EQ(player.attributes[kStrength], 20);
    EXPECT_EQ(points.RaiseSkill(1, true), CCharacterPoints::SkillRaise::kRefused);
    EXPECT_EQ(player.skillPoints, 0);
    EXPECT_FALSE(points.RaiseAttribute(0));
    EXPECT_FALSE(points.RaiseAttribute(6));

    // One point left: primary skills go up, other skills (cost 2) show nothing and refuse.
    player.skillPoints = 1;
    EXPECT_EQ(points.SkillButtonOf(7, false), CCharacterPoints::SkillButton::kHidden);
    EXPECT_EQ(points.RaiseSkill(7, false), CCharacterPoints::SkillRaise::kRefused);
    EXPECT_EQ(player.skillPoints, 1);
    EXPECT_EQ(points.SkillButtonOf(1, true), CCharacterPoints::SkillButton::kRaise);
    EXPECT_EQ(points.RaiseSkill(1, true), CCharacterPoints::SkillRaise::kRaised);
    EXPECT_EQ(player.skillPoints, 0);
    EXPECT_EQ(points.RaiseSkill(1, true), CCharacterPoints::SkillRaise::kRefused);
    EXPECT_EQ(player.skillPoints, 0);
}

TEST(CharacterPoints, SkillButtonsAndRefusals) {
    Tables t;
    CPlayer player;
    PrepareCharacter(player, t.rules);
    player.skillPoints = 10;
    for (int s = 1; s <= kPlayerSkillCount; ++s) player.skillRaises[s] = 2;
    player.skills[3] = 40;   // heavy weapon, governed by strength 20: at twice it
    player.skills[9] = 100;  // at the ceiling
    player.skillRaises[10] = 0;
    CCharacterPoints points(player);

    using B = CCharacterPoints::SkillButton;
    using R = CCharacterPoints::SkillRaise;
    struct Case {
        int skill;
        bool primary;
        B button;
        R raise;
    };
    const Case cases[] = {
        {1, true, B::kRaise, R::kRaised},
        {3, true, B::kRuleBars, R::kRuleBars},
        {9, false, B::kHidden, R::kRefused},
        {10, false, B::kHidden, R::kRefused},
        {kSkillUndeadMagic, false, B::kHidden, R::kRefused},  // barred for race 2
        {kSkillHealMagic, false, B::kRaise, R::kRaised},
        {0, false, B::kHidden, R::kRefused},
        {21, false, B::kHidden, R::kRefused},
    };
    for (const Case& c : cases) {
        u16 before = player.skillPoints;
        EXPECT_EQ(points.SkillButtonOf(c.skill, c.primary), c.button) << c.skill;
        EXPECT_EQ(points.RaiseSkill(c.skill, c.primary), c.raise) << c.skill;
        if (c.raise != R::kRaised) {
            EXPECT_EQ(player.skillPoints, before) << c.skill;
        }
    }
    EXPECT_EQ(player.skills[3], 40);
    EXPECT_EQ(player.skillPoints, 10 - 1 - 2);

    // The undead race has heal magic barred instead.
    player.race = 1;
    EXPECT_TRUE(points.IsBarred(kSkillHealMagic));
    EXPECT_FALSE(points.IsBarred(kSkillUndeadMagic));
    EXPECT_EQ(points.RaiseSkill(kSkillHealMagic, false), R::kRefused);
}

TEST(CharacterPoints, OtherSkillRaisedTwiceThenUndone) {
    Tables t;
    CPlayer player;
    PrepareCharacter(player, t.rules);
    player.skillPoints = 5;
    player.skillRaises[14] = 3;
    CCharacterPoints points(player);
    int repair = points.OtherSkill(14 - 7);
    ASSERT_EQ(repair, 14);
    EXPECT_EQ(points.RaiseSkill(repair, false), CCharacterPoints::SkillRaise::kRaised);
    EXPECT_EQ(points.RaiseSkill(repair, false), CCharacterPoints::SkillRaise::kRaised);
    EXPECT_EQ(player.skillPoints, 1);
    EXPECT_EQ(player.skills[14], 12);
    EXPECT_EQ(player.skillRaises[14], 1);
    EXPECT_EQ(points.SkillPointsSpent(), 4u);
    EXPECT_EQ(points.SkillRaises(14), 2u);
    points.UndoSkillPoints();
    EXPECT_EQ(player.skillPoints, 5);
    EXPECT_EQ(player.skills[14], 10);
    EXPECT_EQ(player.skillRaises[14], 3);
    EXPECT_EQ(points.SkillPointsSpent(), 0u);
}

TEST(CharacterPoints, SkillRuleMessageNamesSkillAndAttribute) {
    Tables t;
    CStr text;
    FormatSkillRuleMessage(t.rules, 3, text);
    EXPECT_STREQ(text.GetText(),
                 "You can't improve this skill.\rThe Heavy Weapon skill's base value cannot be higher "
                 "than the double of its governing attribute's base value (Strength).");
    FormatSkillRuleMessage(t.rules, 30, text);
    EXPECT_NE(std::string(text.GetText()).find("The unknown skill's"), std::string::npos);
}

TEST(CharacterPoints, TrainingCostAtOneHundredOrMoreTakesTheLastEntry) {
    CSkillTable skills;
    EXPECT_EQ(skills.GetTrainingCost(100), 3000u);
    EXPECT_EQ(skills.GetTrainingCost(250), 3000u);
    EXPECT_LT(skills.GetTrainingCost(99), 3000u);
}

TEST(CharacterPoints, CompactNumbersAndTheExperienceLine) {
    struct Case {
        u32 value;
        const char* text;
    };
    const Case numbers[] = {{0, "0"},           {9999, "9999"},      {12345, "12K"},
                            {1500000, "1M"},    {999999999, "999M"}, {1000000000, "1B"},
                            {3000000000u, "3B"}};
    CStr out;
    for (const Case& c : numbers) {
        FormatCharacterNumber(c.value, out);
        EXPECT_STREQ(out.GetText(), c.text) << c.value;
    }
    struct Line {
        u32 mode;
        const char* text;
    };
    const Line lines[] = {{5, "4, xp: 12K (next lvl: 1M)"}, {7, "4, xp: 12K (next lvl: 1M)"},
                          {16, "12K\r(next lvl: 1M)"},      {2, "12K (next lvl: 1M)"},
                          {13, "12K (next lvl: 1M)"},       {15, "12K (next level: 1M)"},
                          {1, "12K (next level: 1M)"}};
    for (const Line& l : lines) {
        FormatExperienceLine(l.mode, 4, 12345, 1500000, out);
        EXPECT_STREQ(out.GetText(), l.text) << l.mode;
    }
}

TEST(CharacterPoints, ActiveEffectLinesBySourceAndKind) {
    Tables t;
    character_testing::EffectOrigins o;
    CItemInstance& worn = o.worn;
    CItemType& potion = o.potion;
    CSpell& spell = o.spell;
    CEffectBundle& disease = o.disease;
    CEffectBundle& ability = o.ability;

    struct Case {
        CActiveEffect entry;
        int kind;
        const char* line;
    };
    const Case cases[] = {
        {MakeEffect(1, 5, 0, kFromEquipment, &worn, 2), 1, "+5 Light Weapon, (Copper Ring)\r"},
        {MakeEffect(1, 5, 0, kFromEquipment, &worn, 40), 1, "+5 unknown skill, (Copper Ring)\r"},
        {MakeEffect(2, 4, 12, kFromDrink, &potion, 1), 2, "+4 Strength, 12 rounds, (Bear potion)\r"},
        {MakeEffect(2, -3, 1, kFromSpell, &spell, 9), 2,
         "-3 unknown attribute, 1 round, (Stoneskin spell)\r"},
        {MakeEffect(6, 7, 3, kFromSpell, &spell), 6, "+7, 3 rounds, (Stoneskin spell)\r"},
        {MakeEffect(7, 130, 0, kFromAbility, &ability), 7, "+30%, (Darksight ability)\r"},
        {MakeEffect(11, -125, 0, kFromDisease, &disease), 11, "-25%, (Grey Cough disease)\r"},
        {MakeEffect(11, 40, 0, kFromDisease, &disease), 11, "+40%, (Grey Cough disease)\r"},
        {MakeEffect(9, 20, 0, kFromAbility, &ability, 0, "di_nothing"), 9,
         "+20% unknown disease, (Darksight ability)\r"},
        {MakeEffect(13, 20, 0, kFromAbility, &ability, 0, "sp_none"), 13,
         "+20% unknown spell, (Darksight ability)\r"},
        {MakeEffect(17, 0, 4, kFromHit, nullptr), 17, "Immunity, 4 rounds, \r"},
        {MakeEffect(19, 115, 5, kFromDrink, &potion), 19, "15%, 5 rounds, (Bear potion)\r"},
        {MakeEffect(23, -6, 2, kFromHit, nullptr), 23, "-6 hp/turn, 2 rounds, \r"},
        {MakeEffect(24, 6, 0, kFromDisease, &disease), 24, "-6 hp/turn, (Grey Cough disease)\r"},
        // Constant sources show no rounds even with a time on them.
        {MakeEffect(3, 10, 9, kFromEquipment, &worn), 3, "+10, (Copper Ring)\r"},
    };
    for (const Case& c : cases) {
        CStr out;
        AppendActiveEffectLine(c.entry, c.kind, t.rules, out);
        EXPECT_STREQ(out.GetText(), c.line) << c.line;
    }
}

TEST(CharacterPoints, EffectsFilter) {
    struct Case {
        u8 source;
        bool dynamicOnly, constantOnly;
    };
    const Case cases[] = {{kFromEquipment, false, true}, {kFromDrink, true, false},
                          {kFromSpell, true, false},     {kFromDisease, false, true},
                          {kFromAbility, false, true},   {kFromHit, true, false}};
    for (const Case& c : cases) {
        CActiveEffect e;
        e.source = c.source;
        EXPECT_EQ(PassesEffectsFilter(e, 0), c.dynamicOnly) << int(c.source);
        EXPECT_EQ(PassesEffectsFilter(e, 1), c.constantOnly) << int(c.source);
        EXPECT_TRUE(PassesEffectsFilter(e, 2)) << int(c.source);
    }
}

}  // namespace
