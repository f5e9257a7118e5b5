// A small world of rule records for the rule tests: the records are written with the content
// builder's record writers and read back with the game's loaders, and a stand-in player answers the
// player queries.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/Random.h"
#include "core/Stream.h"
#include "data/CharacterTables.h"
#include "data/CreatureCatalogue.h"
#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/RecordReader.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "tools/content/rules/RuleRecords.h"

constexpr int kTestVersion = 122;

// The item types the new game's start kit names: the common kit and each race's book and start item.
inline std::vector<std::string> StartKitItemIds() {
    std::vector<std::string> items = {"base_punholysmall",
                                      "base_phealsmall",
                                      "base_pmanasmall",
                                      "base_boots_fur",
                                      "base_shield_smallwooden",
                                      "base_shield_woodenround",
                                      "base_weap_shortswordcheap",
                                      "base_weap_greatcudgel2",
                                      "base_weap_dirkcheap",
                                      "base_mail_frayedleather",
                                      "base_mail_scalecheap",
                                      "base_weap_shortbowcheap",
                                      "base_quiver_cheap",
                                      "base_spbookcurelightwounds",
                                      "base_spbookstoneskin",
                                      "base_spbookburninghand",
                                      "base_spbookcurse",
                                      "base_spbookdrainhealth",
                                      "base_spbookfeather",
                                      "base_repair_hammerapprentice",
                                      "base_money_100",
                                      "base_gem_amethyst",
                                      "base_alc_mortarbeginner",
                                      "base_alc_alkieberries",
                                      "base_alc_criminivulgaris",
                                      "base_alc_ladyslipper",
                                      "base_alc_moonshinemushies",
                                      "base_alc_powerberries",
                                      "base_alc_purplefairyring",
                                      "base_key_lockpickbeginner",
                                      "base_scrdisarm",
                                      "base_robe_clothcape"};
    for (const char* race : {"rasvim", "etherim", "seiry", "derth", "nogur"}) {
        items.push_back(std::string("base_race_") + race + "_book");
        items.push_back(std::string("base_race_") + race + "_start");
    }
    return items;
}

// The kit's spells, each in the school its skill teaches.
struct StartKitSpell {
    const char* id;
    int school;
};
inline constexpr StartKitSpell kStartKitSpells[] = {
    {"base_spellcurelightwounds", 1}, {"base_spellstoneskin", 2},   {"base_spellburninghand", 3},
    {"base_spellcurse", 4},           {"base_spelldrainhealth", 5}, {"base_spellfeather", 6}};

class FakePlayer : public IRulePlayer {
public:
    int GetSkillValue(int skill) const override { return Get(skills, skill); }
    int GetAttributeValue(int attribute) const override { return Get(attributes, attribute, 15); }
    int GetBaseAttributeValue(int attribute) const override { return Get(baseAttributes, attribute, 15); }
    int GetDrunkenness() const override { return drunkenness; }
    bool IsDrunk() const override { return drunk; }
    bool IsCursed() const override { return cursed; }
    int GetRace() const override { return race; }
    int GetFame() const override { return fame; }
    u32 GetCrime() const override { return crime; }
    void AddConditionEffect(int kind, int amount, int target, const char* id, const void*, int,
                            int source) override {
        conditions.push_back({kind, amount, target, id ? id : "", source});
    }
    void ApplyEffect(const CEffect& effect, int source) override {
        applied.push_back({effect.kind, effect.amount, effect.target, effect.id ? effect.id : "", source});
    }
    bool KnowsSpell(const CSpell& spell) const override {
        for (const std::string& s : known)
            if (s == spell.GetName()) return true;
        return false;
    }
    void LearnSpell(const CSpell& spell) override { known.push_back(spell.GetName()); }
    bool MayLearnSchool(int school) const override { return school != 5; }
    bool MayUseItemMagic() const override { return itemMagic; }
    bool CanUseWand(const CItemType&, const CItemInstance*) const override { return itemMagic; }
    bool CanRaiseSkill(int skill) const override { return skill != 0 && GetSkillValue(skill) < 100; }
    bool HasReadBook(const char* id) const override {
        for (const std::string& s : readBooks)
            if (id && s == id) return true;
        return false;
    }

    struct Applied {
        int kind, amount, target;
        std::string id;
        int source;
    };
    std::map<int, int> skills, attributes, baseAttributes;
    int drunkenness = 0;
    bool drunk = false, cursed = false, itemMagic = true;
    int race = 2, fame = 0;
    u32 crime = 0;
    std::vector<Applied> conditions, applied;
    std::vector<std::string> known, readBooks;

private:
    static int Get(const std::map<int, int>& m, int key, int otherwise = 0) {
        auto it = m.find(key);
        return it == m.end() ? otherwise : it->second;
    }
};

inline EffectDef Fx(int kind, int amount, const std::string& id = "", int mode = 0) {
    EffectDef e;
    e.kind = kind;
    e.amount = amount;
    e.id = id;
    e.mode = mode;
    return e;
}

inline ItemDef Item(const std::string& id, int itemClass, int subclass, const std::string& name = "Thing") {
    ItemDef d;
    d.id = id;
    d.name = name;
    d.itemClass = itemClass;
    d.subclass = subclass;
    d.weight = 100;
    return d;
}

// Reads one effect from its world form.
inline CEffect ReadEffect(const EffectDef& def, int version = kTestVersion) {
    ByteWriter w;
    PutEffect(w, def, version);
    std::vector<u8> bytes = w.Take();
    CStream stream;
    stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    CEffect e;
    SerializeEffect(stream, e, version);
    return e;
}

// Spells, diseases, creature kinds and items of a small world, loaded into the game's tables.
struct RuleWorld {
    RuleWorld() {
        SpellDef heal;
        heal.id = "base_spellheal";
        heal.texts[0] = "Heal";
        heal.value = 40;
        heal.school = 1;
        heal.effects = {Fx(3, 10, "", 4)};
        SpellDef fire;
        fire.id = "base_spellfire";
        fire.texts[0] = "Fire Bolt";
        fire.value = 100;
        fire.school = 3;
        fire.base = 10;
        fire.factor = 50;
        fire.effects = {Fx(25, 20, "", 4)};
        SpellDef light;
        light.id = "base_spellmark";
        light.texts[0] = "Mark";
        light.value = 30;
        light.school = 6;
        light.effects = {Fx(46, 0, "", 4)};
        SpellDef drain;
        drain.id = "base_spelldrain";
        drain.texts[0] = "Drain";
        drain.value = 50;
        drain.school = 5;
        drain.effects = {Fx(29, 5, "", 4)};
        CMemoryRecordReader spellReader(WriteSpellRecords({heal, fire, light, drain}, kTestVersion));
        spells.Load(spellReader, kTestVersion);

        BundleDef plague;
        plague.id = "base_plague";
        plague.text = "Plague";
        plague.value1 = 20;
        plague.effects = {Fx(2, -3), Fx(25, -2)};
        plague.effects[0].target = 1;
        CMemoryRecordReader diseaseReader({WriteDiseaseRecord({plague}, kTestVersion)});
        diseases.Load(diseaseReader, kTestVersion);

        CreatureKindDef rat;
        rat.id = "base_rat";
        rat.displayName = "Giant Rat";
        rat.frames = std::vector<std::string>(7, "bres_rat");
        MonsterTypeDef ratType;
        ratType.id = "base_rat_small";
        ratType.kindId = "base_rat";
        ratType.displayName = "Small rat";
        CMemoryRecordReader creatureReader(
            {WriteCreatureKindRecord({rat}, kTestVersion), WriteMonsterTypeRecord({ratType}, kTestVersion)});
        creatures.Load(creatureReader, kTestVersion);

        game.attributes = &attributes;
        game.skills = &skills;
        game.races = &races;
        game.spells = &spells;
        game.diseases = &diseases;
        game.creatures = &creatures;
        game.items = &items;
        game.player = &player;
        game.random = &random;
        game.currentWorldCode = "base";
    }

    void LoadItems(const ItemCatalogueDef& def) {
        CMemoryRecordReader reader(WriteItemRecords(def, kTestVersion));
        items.Load(reader, kTestVersion);
        items.BuildRandomTables("base", "base");
    }

    CAttributeTable attributes;
    CSkillTable skills;
    CRaceTable races;
    CSpellList spells;
    CDiseaseList diseases;
    CCreatureCatalogue creatures;
    CItemCatalogue items;
    FakePlayer player;
    CRandom random;
    CRuleContext game;
};
