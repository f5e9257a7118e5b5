// The record lists that every open world adds to: the world loader reads each database's record kinds
// into these, so a later database extends the lists of the earlier ones. The game object owns one set;
// its texture set lives in the game object, beside the lists.
#pragma once

#include <functional>

#include "data/CharacterTables.h"
#include "data/CreatureCatalogue.h"
#include "data/Dialogue.h"
#include "data/ItemType.h"
#include "data/MapObjectRecords.h"
#include "data/Npc.h"
#include "data/ResourceCatalogue.h"
#include "data/Spells.h"
#include "data/TextureSet.h"
#include "data/WorldRecords.h"

struct CRuleContext;

class CWorldLists {
public:
    explicit CWorldLists(CTextureSet& textures);
    CWorldLists(const CWorldLists&) = delete;
    CWorldLists& operator=(const CWorldLists&) = delete;

    // Empties every list and the texture set (resetting the world); the race, skill and attribute
    // tables go back to their built-in names, so none of their texts points into a freed record.
    void Clear();
    // How far every list reaches, and back to such a mark: a world that fails to load leaves nothing
    // of itself in the lists.
    struct Mark;
    Mark GetMark() const;
    void RollBack(const Mark& mark);

    // After a world is loaded: dense texture indices, the picture sets' indices, the shared sounds.
    void AfterLoad();

    // Points the rule records' context at these lists' tables (the layout, player, generator and
    // world codes are the caller's).
    void BindRuleContext(CRuleContext& context) const;

    CTextureSet& textures;
    CResourceCatalogue resources;
    CGlobalVarList globals;
    CNpcProfileList talkProfiles;
    CQuestList quests;
    CScriptList scripts;
    CPageSequenceList pageSequences;
    CSkyList skies;
    CPictureSetList pictureSets;
    CMapObjectRecords mapObjects;

    // The rule records.
    CAbilityList abilities;
    CRecipeList recipes;
    CDiseaseList diseases;
    CItemCatalogue items;
    CCreatureCatalogue creatures;
    CDialogue dialogue;
    CPortraitList portraits;
    CNpcList npcs;
    CSpellList spells;
    CRaceTable races;
    CSkillTable skills;
    CAttributeTable attributes;

    // The look-ups of the index tables 'D' (item types) and 'E' (monster types): the item catalogue
    // and the creature catalogue above unless a caller installs others; without them the entries
    // are none.
    std::function<const void*(const char* id)> findItemType;
    std::function<const void*(const char* id)> findMonsterType;
    // The maximum hp of a monster type of the 'E' table (the creatures' Part installs it): every
    // creature of a section starts with it.
    u16 (*monsterMaxHp)(const void* type) = nullptr;
    // The sound names of the creature kinds and map-object types (what is not shared).
    std::function<std::vector<const char*>()> namedSounds;
};

struct CWorldLists::Mark {
    CTextureSet::Mark textures;
    CResourceCatalogue::Mark resources;
    size_t lists[9][2] = {};
    size_t pageIds = 0;
    CListMark abilities, recipes, diseases, portraits, npcs, spells;
    CItemCatalogue::Mark items;
    CCreatureCatalogue::Mark creatures;
    CDialogue::Mark dialogue;
    CRaceTable::Mark races;
    CSkillTable::Mark skills;
    CAttributeTable::Mark attributes;
};
