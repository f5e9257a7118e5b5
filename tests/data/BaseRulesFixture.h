// The base world's rule records as the content builder writes them, read back into the game's lists
// and tables by the game's loaders.
#pragma once

#include "data/Dialogue.h"
#include "data/Npc.h"
#include "tests/data/RuleFixture.h"
#include "tools/content/rules/BaseRules.h"

struct LoadedBase {
    explicit LoadedBase(int version) {
        BaseRuleRecords r = BuildBaseRuleRecords(version);
        auto one = [](const RuleRecord& record) { return CMemoryRecordReader({record}); };
        {
            CMemoryRecordReader reader = one(r.abilities);
            ok &= abilities.Load(reader, version);
        }
        {
            CMemoryRecordReader reader = one(r.recipes);
            ok &= recipes.Load(reader, version);
        }
        {
            CMemoryRecordReader reader = one(r.diseases);
            ok &= diseases.Load(reader, version);
        }
        {
            CMemoryRecordReader reader(r.items);
            ok &= items.Load(reader, version);
            ok &= reader.Consumed() == r.items.size();
        }
        {
            CMemoryRecordReader reader({r.creatureKinds, r.monsterTypes});
            ok &= creatures.Load(reader, version);
        }
        {
            CMemoryRecordReader reader = one(r.dialogue);
            ok &= dialogue.Load(reader, version);
        }
        {
            CMemoryRecordReader reader = one(r.portraits);
            ok &= portraits.Load(reader, version);
        }
        {
            CMemoryRecordReader reader(r.npcs);
            ok &= npcs.Load(reader, version);
        }
        {
            CMemoryRecordReader reader(r.spells);
            ok &= spells.Load(reader, version);
        }
        {
            CMemoryRecordReader reader = one(r.races);
            ok &= races.Load(reader, version);
        }
        {
            CMemoryRecordReader reader = one(r.skills);
            ok &= skills.Load(reader, version);
        }
        {
            CMemoryRecordReader reader = one(r.attributes);
            ok &= attributes.Load(reader, version);
        }
        items.BuildRandomTables("base", "base");
    }
    bool ok = true;
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
};
