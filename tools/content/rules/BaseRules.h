// The rule content of the base world: its character tables, spells, abilities, diseases, recipes,
// items with their first-person animations and use styles, creatures, portraits, dialogue and an NPC.
// Everything the new-game start kit names is here, and the random-item groups hold enough food and
// drink that the kit's random draw finishes for every race.
#pragma once

#include <string>
#include <vector>

#include "tools/content/Canvas.h"
#include "tools/content/rules/RuleRecords.h"

struct BaseRuleContent {
    std::vector<AttributeDef> attributes;
    std::vector<SkillDef> skills;
    std::vector<RaceDef> races;
    std::vector<SpellDef> spells;
    std::vector<BundleDef> abilities;
    std::vector<BundleDef> diseases;
    std::vector<RecipeDef> recipes;
    ItemCatalogueDef items;
    std::vector<CreatureKindDef> creatureKinds;
    std::vector<MonsterTypeDef> monsterTypes;
    DialogueDef dialogue;
    std::vector<PortraitDef> portraits;
    std::vector<NpcDef> npcs;
};

const BaseRuleContent& BaseRules();

// The visual effect record the potions name: a picture set of the resource world, its frames played
// over the player's portrait as a potion acts.
inline constexpr const char* kDrinkEffect = "bres_fx_drink";
inline constexpr int kDrinkEffectFrames = 4;
// The hurt display over the portrait when a blow lands: one frame per step of the display.
inline constexpr const char* kHitEffect = "bres_fx_hit";
inline constexpr int kHitEffectFrames = 6;
// Frame i of the drink effect: light rising in bubbles over the portrait (the rest clear).
Canvas PaintDrinkEffect(int frame);
Canvas PaintHitEffect(int frame);

// The records of each rule kind at a world version, in the order the world loader reads each kind.
struct BaseRuleRecords {
    RuleRecord abilities;      // 0x0A
    RuleRecord recipes;        // 0x0E
    RuleRecord diseases;       // 0x0C
    RuleRecords items;         // 0x16, 0x38, 0x12, 0x14 (+ one per item type from version 48)
    RuleRecord creatureKinds;  // 0x1C
    RuleRecord monsterTypes;   // 0x1E
    RuleRecord dialogue;       // 0x24
    RuleRecord portraits;      // 0x25
    RuleRecords npcs;          // 0x2B and one per NPC
    RuleRecords spells;        // 0x03 and one per spell
    RuleRecord races;          // 'N'
    RuleRecord skills;         // 'P'
    RuleRecord attributes;     // 'R'
};
BaseRuleRecords BuildBaseRuleRecords(int version);

// The pictures the rule records name (items, creature frames, first-person hands, portraits), drawn
// by the builder. The world writer stores them in the picture database under these names.
struct RulePicture {
    std::string name;
    Canvas picture;
};
std::vector<RulePicture> PaintRulePictures();
// Every picture name the rule content refers to (for checks that each one is painted).
std::vector<std::string> RulePictureNames(const BaseRuleContent& content);
