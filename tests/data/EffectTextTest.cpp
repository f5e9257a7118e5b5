// Effect texts: every kind in the sources that word it, in the long, short and shorter forms.
#include <gtest/gtest.h>

#include "data/EffectText.h"
#include "tests/data/RuleFixture.h"

namespace {

struct TextCase {
    int kind;
    int source;
    int amount;
    const char* expected;
    int perLevel = 0;
    int duration = 0;
    int durationPerLevel = 0;
    int radius = 0;
    int target = 0;
    const char* id = "";
    int percent = 0;
    bool shortForm = false;
    bool shorterForm = false;
};

TextCase C(int kind, int source, int amount, const char* expected) {
    return {kind, source, amount, expected};
}
TextCase Dur(TextCase c, int duration, int perLevel = 0, int durationPerLevel = 0, int percent = 0) {
    c.duration = duration;
    c.perLevel = perLevel;
    c.durationPerLevel = durationPerLevel;
    c.percent = percent;
    return c;
}
TextCase Tgt(TextCase c, int target) {
    c.target = target;
    return c;
}
TextCase Ref(TextCase c, const char* id) {
    c.id = id;
    return c;
}
TextCase Rad(TextCase c, int radius) {
    c.radius = radius;
    return c;
}
TextCase Pct(TextCase c, int percent) {
    c.percent = percent;
    return c;
}
TextCase Short(TextCase c, bool shorter = false) {
    c.shortForm = !shorter;
    c.shorterForm = shorter;
    return c;
}

TEST(EffectText, EveryKindInItsSources) {
    RuleWorld world;
    const TextCase cases[] = {
        Tgt(C(1, 4, 5, "+5 Light Weapon"), 2),
        Short(Tgt(C(1, 8, 2, "+2 Heavy Weap"), 3)),
        Short(Tgt(C(1, 8, 2, "+2 Heavy W"), 3), true),
        Tgt(C(1, 2, 2, "+2 Heavy Weapon"), 3),
        Tgt(Dur(C(1, 5, 10, "Fortifies Light Weapon by 20, for 5 turns"), 5, 20, 0, 50), 2),
        Tgt(C(1, 13, 5, "Teaches Light Weapon (+5)"), 2),
        Tgt(C(1, 6, 5, ""), 2),
        Tgt(C(1, 4, 5, ""), 99),
        Tgt(C(2, 2, -2, "-2 Strength"), 1),
        Tgt(Dur(C(2, 6, 3, "Fortifies Strength by 3 for 1 turn"), 1), 1),
        Tgt(C(2, 7, 3, "Fortify Strength"), 1),
        Dur(C(3, 5, 10, "Heals 20 hp"), 0, 10, 0, 100),
        C(3, 6, 25, "Heals 25 hp"),
        C(3, 7, 25, "Restore health"),
        C(4, 5, 0, "Restoress full health"),
        C(4, 6, 0, "Restores full health"),
        Dur(C(5, 5, 10, "Fortifies hp by 20, for 1 turn"), 1, 20, 0, 50),
        Dur(C(5, 6, -4, "Weakens hp by 4 for 3 turns"), 3),
        C(5, 2, 5, "+5 HP"),
        C(5, 7, 5, "Fortify health"),
        C(6, 5, 7, "Restores unholy 7 hp"),
        C(6, 6, 7, "Restores 7 unholy hp"),
        C(6, 7, 7, "Restore unholy HP"),
        C(7, 6, 0, "Restores full unholy hp"),
        C(8, 3, 4, "+4 unholy HP"),
        Dur(C(8, 5, 4, "Fortifies unholy hp by 4, for 2 turns"), 2),
        C(8, 7, 4, "Fortify unholy HP"),
        C(9, 6, 15, "Restores 15 mana"),
        C(9, 7, 15, "Restore mana"),
        C(10, 16, 6, "+6 SP"),
        Dur(C(10, 6, 6, "Fortifies mana by 6, for 2 turns"), 2),
        C(11, 2, 3, "+3 AC"),
        Dur(C(11, 5, 3, "Fortfies AC by 3, for 2 turns"), 2),
        Dur(C(11, 5, -3, "Weakens AC by 3, for 2 turns"), 2),
        C(12, 6, 0, "Cures poison"),
        C(13, 5, 0, "Cures paralysis"),
        Ref(C(14, 5, 0, "Cures Plague disease"), "base_plague"),
        Ref(C(14, 5, 0, ""), "base_nothing"),
        Dur(C(15, 6, 130, "Fortifies poison resistance by 30% for 5 turns"), 5),
        Dur(C(15, 6, -120, "Weakens poison resistance by 20% for 5 turns"), 5),
        C(15, 2, 120, "+20% Poison resistance"),
        Short(C(15, 2, 120, "+20% Poison res.")),
        Dur(C(15, 5, 20, "Fortifies poison resistance by 20%, for 3 turns."), 3),
        C(15, 7, 20, "Resist poison"),
        Dur(C(16, 5, 20, "Fortifies paralysis resistance by 20%, for 3 turns"), 3),
        Dur(C(16, 6, 110, "Fortifies paralysis resistance by 10% for 3 turns"), 3),
        C(16, 1, 110, "+10% Paralysis resistance"),
        Ref(C(17, 2, 125, "+25% Plague resistance"), "base_plague"),
        Ref(Dur(C(17, 5, 20, "Fortifies Plague resistance by 20%, for 11 turn"), 1, 0, 10, 100),
            "base_plague"),
        Ref(Dur(C(17, 6, 120, "Fortifies Plague resistance by 20% for 2 turns"), 2), "base_plague"),
        Ref(C(17, 7, 0, "Resist Plague"), "base_plague"),
        C(18, 1, 115, "+15% normal weapon resistance"),
        C(19, 6, 0, "Dispels magic effects"),
        C(19, 7, 0, "Dispel"),
        C(20, 2, 5, "Feather +5"),
        Dur(C(20, 5, 1, "Lightens encumbrances by 1 pt, for 2 turns"), 2),
        Dur(C(20, 6, -10, "Burdens encumbrances by 10 pts for 1 turn"), 1),
        C(20, 7, 0, "Feather"),
        C(21, 5, 0, "Removes curse"),
        C(22, 4, 110, "+10% Magic resistance"),
        Dur(C(22, 5, 10, "Fortifies magic resistance by 10%, for 2 turns"), 2),
        Dur(C(22, 6, 110, "Fortifies magic resistance by 10% for 2 turns"), 2),
        C(22, 7, 0, "Resist magic"),
        Ref(C(23, 3, 120, "+20% damage to Giant Rat"), "base_rat"),
        Ref(C(23, 3, 7, "+7 damage to Giant Rat"), "base_rat"),
        Rad(Ref(C(23, 5, 5, "Damages Giant Rat by 5, in 2 radius"), "base_rat"), 2),
        Ref(C(23, 3, 7, ""), "base_nothing"),
        Tgt(C(24, 15, 4, "+4 damage to undead"), 3),
        C(25, 3, -5, "-5 damage"),
        C(25, 5, 12, "Applies 12 damage"),
        C(25, 9, -2, "-2 hp (each turn)"),
        C(26, 1, 3, "Poisons opponents"),
        Rad(C(26, 5, 3, "Poisons by 3 hp, in 1 radius"), 1),
        C(26, 6, 3, "Poisons 3 hp"),
        C(26, 7, 3, "Poison"),
        Dur(C(27, 5, 0, "Curses for 1 turn"), 1),
        C(27, 15, 0, "Curses opponents"),
        Dur(C(28, 5, 0, "Paralyzes for 4 turns"), 4),
        C(28, 3, 0, "Paralyzes opponents"),
        C(29, 14, 0, "Drains hp"),
        C(29, 5, 6, "Drains 6 hp"),
        C(30, 1, 0, "Drains sp"),
        C(30, 5, 6, "Drains 6 mana"),
        Ref(C(32, 1, 25, "Infects Plague disease at 25% chance"), "base_plague"),
        Rad(Ref(C(32, 5, 25, "Infects Plague disease, in 1 radius"), "base_plague"), 1),
        Ref(C(32, 15, 25, "Infects Plague disease"), "base_plague"),
        C(33, 1, 110, "+10% diseases resistance"),
        C(33, 4, 110, "+10% Disease resistance"),
        Dur(C(33, 6, 110, "Fortifies diseases resistance by 10% for 2 turns"), 2),
        C(33, 7, 0, "Resist diseases"),
        Ref(C(34, 1, 140, "resist Fire Bolt +40%"), "base_spellfire"),
        Ref(C(34, 4, 140, "+40% Fire Bolt resistance"), "base_spellfire"),
        Ref(C(35, 9, 130, "Fortify Fire Bolt +30%"), "base_spellfire"),
        C(36, 4, 120, "Fortify Magic +20%"),
        Dur(C(36, 6, 120, "Fortifies magic by 20% for 2 turns"), 2),
        C(36, 7, 0, "Fortify Magic"),
        C(38, 1, 110, "Fortify Melee +10%"),
        Dur(C(38, 5, 15, "Fortifies melee 15%, for 2 turns"), 2),
        Dur(C(38, 6, 115, "Fortifies melee by 15% for 2 turns"), 2),
        C(38, 7, 0, "Fortify Melee"),
        Dur(C(39, 5, 0, "Magic immunity for 3 turns"), 3),
        C(40, 5, 9, "Crushes by 9 damage"),
        Rad(C(41, 5, 30, "Calms at chance 30%, in 2 radius"), 2),
        C(43, 5, 0, "Detects mind"),
        C(44, 5, 1, "Disarms traps by 1 pt"),
        C(45, 5, 20, "Unlocks things by 20 pts"),
        C(46, 5, 0, "Marks location"),
        C(47, 5, 0, "Recalls location"),
        C(48, 5, 0, "Town portal"),
        Pct(C(49, 5, 0, "Recharges a wand up to 90 storage."), 30),
        Pct(C(50, 5, 0, "Enchants an item up to 30 storage."), 10),
        C(52, 5, 0, "Creates food"),
        C(53, 1, 5, "Level drop at 5% chance"),
        C(53, 5, 5, "Level drop"),
        C(55, 6, 0, "Restores full mana"),
        Tgt(C(56, 6, 2, "Permanently fortifies Strength by +2"), 1),
        Tgt(C(56, 6, 2, ""), 9),
        C(57, 6, 115, "Alcoholic 15%"),
        C(57, 7, 0, "Alcoholic"),
        C(58, 2, 2, "+2 outfit pts"),
        C(37, 5, 5, ""),
        C(42, 5, 5, ""),
        C(54, 5, 5, ""),
    };
    for (const TextCase& c : cases) {
        EffectDef d = Fx(c.kind, c.amount, c.id);
        d.amountPerLevel = c.perLevel;
        d.duration = c.duration;
        d.durationPerLevel = c.durationPerLevel;
        d.radius = c.radius;
        d.target = c.target;
        CEffect e = ReadEffect(d);
        CStr out("left over");
        FormatEffectText(e, world.game, c.source, c.percent, out, c.shortForm, c.shorterForm);
        EXPECT_STREQ(out.GetText(), c.expected) << "kind " << c.kind << " source " << c.source;
    }
}

TEST(EffectText, CastSpellOnWandsScrollsAndOthers) {
    RuleWorld world;
    struct Row {
        const char* spell;
        int source, maxCharges, charges;
        bool shortForm, shorter;
        const char* expected;
    } rows[] = {
        {"base_spellfire", 10, 10, 3, false, false,
         "Casts Fire Bolt at skill level 40 (3 out of 10 charges)"},
        {"base_spellfire", 10, 10, 1, false, false, "Casts Fire Bolt at skill level 40 (1 out of 10 charge)"},
        {"base_spellfire", 10, 1, 0xFFFF, false, false, "Casts Fire Bolt at skill level 40 (1 charge)"},
        {"base_spellfire", 10, 10, 10, false, false, "Casts Fire Bolt at skill level 40 (10 charges)"},
        {"base_spellfire", 10, 10, 3, true, false, "Fire Bolt (skill: 40) (3/10 charges)"},
        {"base_spellfire", 10, 10, 0xFFFF, true, false, "Fire Bolt (skill: 40) (10 charges)"},
        {"base_spellmark", 10, 5, 2, false, false, "Casts Mark (2 out of 5 charges)"},
        {"base_spellmark", 10, 5, 2, true, false, "Mark (2/5 charges)"},
        {"base_spellmark", 10, 5, 5, false, false, "Casts Mark (5 charges)"},
        {"base_spellmark", 10, 5, 5, true, false, "Mark (5 charges)"},
        {"base_spellfire", 11, 1, 0, false, false, "Casts Fire Bolt at skill level 40"},
        {"base_spellfire", 11, 1, 0, true, false, "Casts Fire Bolt (skill: 40)"},
        {"base_spellfire", 11, 1, 0, false, true, "Fire Bolt (sk: 40)"},
        {"base_spellmark", 11, 1, 0, false, false, "Casts Mark"},
        {"base_spellmark", 11, 1, 0, false, true, "Mark"},
        {"base_spellfire", 1, 1, 0, false, false, "Fire Bolt knowledge"},
        {"base_spellfire", 8, 1, 0, false, false, "Fire Bolt spell"},
        {"base_spellfire", 8, 1, 0, true, false, "Fire Bolt"},
        {"base_spellfire", 12, 1, 0, false, false, "Teaches Fire Bolt"},
        {"base_nothing", 12, 1, 0, false, false, ""},
        {"base_nothing", 10, 1, 0, false, false, ""},
        {"base_spellfire", 5, 1, 0, false, false, ""},
    };
    for (const Row& r : rows) {
        EffectDef d = Fx(31, r.maxCharges, r.spell, kModeCast);
        d.amountPerLevel = 40;
        CEffect e = ReadEffect(d);
        CStr out;
        FormatEffectText(e, world.game, r.source, r.charges, out, r.shortForm, r.shorter);
        EXPECT_STREQ(out.GetText(), r.expected) << r.spell << " " << r.source << " " << r.charges;
    }
}

TEST(EffectText, ListsJoinByLayoutAndIngredientsHideWhatTheSkillCannotTell) {
    RuleWorld world;
    CEffectList list;
    for (const EffectDef& d : {Fx(3, 5), Fx(10, 5), Fx(26, 5), Fx(9, 5)})
        list.Add(new CEffect(ReadEffect(d)));
    CStr out;
    FormatEffectListText(out, list, world.game, kSourcePotion, 0, false);
    EXPECT_STREQ(out.GetText(),
                 "Heals 5 hp\rFortifies mana by 5, for 0 turns\rPoisons 5 hp\rRestores 5 mana");
    world.game.layoutMode = 5;
    out = "Effects: ";
    FormatEffectListText(out, list, world.game, kSourcePotion, 0, false);
    EXPECT_STREQ(out.GetText(),
                 "Effects: Heals 5 hp, Fortifies mana by 5, for 0 turns, Poisons 5 hp, Restores 5 mana");

    world.game.layoutMode = 15;
    const struct {
        int skill;
        bool shortForm;
        const char* expected;
    } rows[] = {
        {45, false, "Restore health\rFortify mana\rUnknown effect"},
        {60, false, "Restore health\rFortify mana\rPoison"},
        {10, false, "Restore health\rUnknown effect\rUnknown effect"},
        {10, true, "Restore health\rUnknown effect, Unknown effect"},
    };
    for (const auto& r : rows) {
        world.player.skills[kSkillAlchemy] = r.skill;
        out = "";
        FormatEffectListText(out, list, world.game, kSourceIngredient, 0, r.shortForm);
        EXPECT_STREQ(out.GetText(), r.expected) << r.skill;
    }
}

}  // namespace
