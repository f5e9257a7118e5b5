// Record writers of the world's rule records (one source file per group of kinds): effects, items, the character tables, spells and the
// other effect-list kinds, creature kinds and monster types, dialogue, portraits and NPCs. Each takes
// plain definitions and returns the bytes of the record (or records, for kinds that span several)
// at a world version, written field by field with the builder's own byte writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/content/ByteWriter.h"

using RuleRecord = std::vector<uint8_t>;
using RuleRecords = std::vector<RuleRecord>;

struct EffectDef {
    std::string id;
    int amount = 0;
    int amountPerLevel = 0;
    int duration = 0;
    int durationPerLevel = 0;
    int radius = 0;
    int target = 0;
    int mode = 0;
    int kind = 0;
};

// World form of one effect and of a counted list.
void PutEffect(ByteWriter& w, const EffectDef& e, int version);
void PutEffectList(ByteWriter& w, const std::vector<EffectDef>& effects, int version);
// A text and its NUL; an empty text is one NUL.
void PutText(ByteWriter& w, const std::string& text);
// A record's tag and a 2-aligned present flag or count; a 2-aligned counted text array.
void PutPresent(ByteWriter& w, uint8_t tag, bool present);
void PutCount(ByteWriter& w, uint8_t tag, size_t count);
void PutTextArray(ByteWriter& w, const std::vector<std::string>& texts);

// Character tables. An empty list writes the present flag 0 (the built-in table stays).
struct AttributeDef {
    std::string id, display, shortName;
};
struct SkillDef {
    std::string id, full, medium, shortName, text;
    int attribute = 0;
    int group = 0;
};
struct RaceDef {
    std::string id, display, text1, text2, text3;
};
RuleRecord WriteAttributeRecord(const std::vector<AttributeDef>& attributes, int version);
RuleRecord WriteSkillRecord(const std::vector<SkillDef>& skills, int version);
RuleRecord WriteRaceRecord(const std::vector<RaceDef>& races, int version);

// Spells: a count record, then one record per spell. texts[0] is the name.
struct SpellDef {
    std::string id;
    std::string texts[9];
    int value = 0, base = 0, factor = 0;
    std::vector<EffectDef> effects;
    int school = 3, value2 = 3, value3 = 0, value4 = 0;
};
RuleRecords WriteSpellRecords(const std::vector<SpellDef>& spells, int version);

// Abilities and diseases share a shape; diseases carry two bytes.
struct BundleDef {
    std::string id, text;
    std::vector<EffectDef> effects;
    int value1 = 0, value2 = 0;
};
RuleRecord WriteAbilityRecord(const std::vector<BundleDef>& abilities, int version);
RuleRecord WriteDiseaseRecord(const std::vector<BundleDef>& diseases, int version);

struct RecipeDef {
    std::string id;
    struct Ingredient {
        int value1 = 0, value2 = 0;
        std::string itemId;
    } ingredients[3];
    std::string resultId;
    int baseAmount = 0, amountPerSkill = 0, baseDuration = 0, durationPerSkill = 0;
    int value = 0;
};
RuleRecord WriteRecipeRecord(const std::vector<RecipeDef>& recipes, int version);

// The item catalogue: picture lists (0x16), first-person animations (0x38), use styles (0x12), and
// the item types (0x14; from version 48 a count record and one record per type).
struct ItemPictureListDef {
    std::string id;
    int flag = 1;
    std::vector<std::string> pictures;
};
struct FpsAnimationDef {
    std::string id;
    int byte0 = 1;
    std::string text;
    int words[2] = {0, 0};
    int bytes[5] = {0, 0, 0, 0, 0};
    std::string text2, sound;
    std::vector<std::string> frames, frames2;
};
struct UseStyleDef {
    std::string id;
    std::string texts[3];
    uint32_t value = 100;
    int words[6] = {10, 100, 5, 10, 5, 1000};
    int bytes[2] = {2, 3};
};
struct ItemDef {
    std::string id, text1, useStyle, name;
    std::string texts[4];  // texts 4..7; text 5 names the item's picture
    bool hasEffects = false;
    uint32_t listValue = 0;
    std::vector<EffectDef> effects;
    uint32_t value = 0;
    int weight = 0, damageLow = 0, damageHigh = 0, armourClass = 0, enchantCapacity = 0, maxCondition = 1000;
    int group = 0, itemClass = 0, subclass = 0, alignment = 0, flags = 0, outfit = 0, rarity = 1;
};
struct ItemCatalogueDef {
    std::vector<ItemPictureListDef> pictureLists;
    std::vector<FpsAnimationDef> animations;
    std::vector<UseStyleDef> useStyles;
    std::vector<ItemDef> items;
};
void PutItemType(ByteWriter& w, const ItemDef& item, int version);
RuleRecords WriteItemRecords(const ItemCatalogueDef& catalogue, int version);

// Creature kinds (0x1C) and monster types (0x1E).
struct CreatureKindDef {
    std::string id, firstName, displayName;
    std::vector<std::string> frames;  // 7, or 10 for people
    std::string secondLook;
    std::string sounds[4];
    int values[10] = {300, 600, 200, 2000, 10000, 200, 300, 300, 300, 300};
    int kind = 1, pictureClass = 0, scale = 1, extra[2] = {0, 0};
    std::vector<std::string> ids;
    int attackStyle = 1;
    std::string text;
};
struct ItemListEntryDef {
    std::string itemId;  // empty: a random item of the group
    int count = 1, group = 1, chance = 100, condition = 100;
};
struct MonsterTypeDef {
    std::string id, kindId, displayName, pictureName, npcId;
    std::vector<EffectDef> effects;
    std::vector<ItemListEntryDef> items;
    int values[10] = {3, 6, 2, 20, 100, 2, 3, 3, 3, 3};
    int kind = 1, level = 1, flags = 12, attackStyle = 1;
    std::string text;
    int bytes[3] = {0, 0, 0};
};
RuleRecord WriteCreatureKindRecord(const std::vector<CreatureKindDef>& kinds, int version);
RuleRecord WriteMonsterTypeRecord(const std::vector<MonsterTypeDef>& types, int version);
void PutItemList(ByteWriter& w, const std::vector<ItemListEntryDef>& items);

// Dialogue (0x24), portraits (0x25) and NPCs (0x2B).
struct ConditionDef {
    std::string name;
    int word = 0;
    int bytes[3] = {0, 0, 0};
};
struct ChoiceDef {
    bool present = false;
    bool hasCondition = false;
    ConditionDef condition;
    std::string text;
};
struct LineDef {
    bool conditionPresent[5] = {};
    ConditionDef conditions[5];
    std::string text;
    ChoiceDef choices[4];
    std::vector<uint8_t> script;
};
struct DialogueEntryDef {
    uint32_t shared = 0;
    std::string name, textA, textB;
    bool hasCondition = false;
    ConditionDef condition;
    std::vector<LineDef> lines;
};
struct DialogueDef {
    std::vector<DialogueEntryDef> topics, greetings;
};
// fullRead: whether the reader reads every entry whole (the shared dialogue) or only the names of
// shared entries (an NPC's own dialogue).
void PutDialogue(ByteWriter& w, const DialogueDef& dialogue, bool fullRead, int version);
RuleRecord WriteSharedDialogueRecord(const DialogueDef& dialogue, int version);

struct PortraitDef {
    std::string id;
    int selectable = 1;
};
RuleRecord WritePortraitRecord(const std::vector<PortraitDef>& portraits, int version);

struct NpcDef {
    std::string id;
    std::string texts[6];  // portrait, talk profile, welcome text, price variable, spare, spare
    uint32_t maxPayment = 0;
    int merchantLevel = 0;
    int classMask = 0;
    int bytes[5] = {1, 10, 16, 10, 10};  // race, price level, services, enchant level, trainer level
    int trainerSkill = 0;
    int maxBet = 10;
    std::vector<std::pair<std::string, std::string>> items;
    bool hasItems = false;
    bool hasDialogue = false;
    DialogueDef dialogue;
    int hours = 1;
    int markByte = 1;
};
RuleRecords WriteNpcRecords(const std::vector<NpcDef>& npcs, int version);
