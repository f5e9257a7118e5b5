#include "data/WorldLists.h"

#include "data/RuleContext.h"
#include "data/TextureSet.h"

CWorldLists::CWorldLists(CTextureSet& textures) : textures(textures) {
    findItemType = [this](const char* id) -> const void* { return items.FindItemType(id); };
    findMonsterType = [this](const char* id) -> const void* { return creatures.FindMonsterType(id); };
    monsterMaxHp = [](const void* type) -> u16 { return static_cast<const CMonsterType*>(type)->values[3]; };
    namedSounds = [this] {
        std::vector<const char*> names;
        for (int i = 0; i < creatures.GetKindCount(); ++i)
            for (const char* sound : creatures.GetKind(i)->sounds)
                if (sound) names.push_back(sound);
        for (size_t i = 0; i < mapObjects.Count(); ++i)
            for (const char* sound : mapObjects.At(i)->sounds)
                if (sound) names.push_back(sound);
        return names;
    };
}

void CWorldLists::Clear() {
    resources.Clear();
    globals.Clear();
    talkProfiles.Clear();
    quests.Clear();
    scripts.Clear();
    pageSequences.Clear();
    pageSequences.ids.clear();
    skies.Clear();
    pictureSets.Clear();
    mapObjects.Clear();
    // The NPCs' own dialogues and the monster types name the shared lists' entries: they go first.
    npcs.Clear();
    portraits.Clear();
    dialogue.Clear();
    creatures.Free();
    items.Free();
    spells.Clear();
    abilities.Free();
    recipes.Free();
    diseases.Free();
    races.Fill();
    skills.Fill();
    attributes.Fill();
    textures.ReleaseAll();
}

void CWorldLists::BindRuleContext(CRuleContext& context) const {
    context.attributes = &attributes;
    context.skills = &skills;
    context.races = &races;
    context.spells = &spells;
    context.diseases = &diseases;
    context.abilities = &abilities;
    context.creatures = &creatures;
    context.items = &items;
}

void CWorldLists::AfterLoad() {
    textures.RebuildIndex();
    pictureSets.ResolvePictureIndices(textures);
    resources.MarkSharedSounds(namedSounds ? namedSounds() : std::vector<const char*>{});
}

namespace {

template <class F>
void ForEachList(CWorldLists& l, F&& f) {
    f(0, l.globals);
    f(1, l.talkProfiles);
    f(2, l.quests);
    f(3, l.scripts);
    f(4, l.pageSequences);
    f(5, l.skies);
    f(6, l.pictureSets);
    f(7, l.mapObjects);
}

}  // namespace

CWorldLists::Mark CWorldLists::GetMark() const {
    Mark m;
    m.textures = textures.GetMark();
    m.resources = resources.GetMark();
    ForEachList(const_cast<CWorldLists&>(*this), [&m](int i, auto& list) {
        m.lists[i][0] = list.items.size();
        m.lists[i][1] = list.records.size();
    });
    m.pageIds = pageSequences.ids.size();
    m.abilities = abilities.GetMark();
    m.recipes = recipes.GetMark();
    m.diseases = diseases.GetMark();
    m.portraits = portraits.GetMark();
    m.npcs = npcs.GetMark();
    m.spells = spells.GetMark();
    m.items = items.GetMark();
    m.creatures = creatures.GetMark();
    m.dialogue = dialogue.GetMark();
    m.races = races.GetMark();
    m.skills = skills.GetMark();
    m.attributes = attributes.GetMark();
    return m;
}

void CWorldLists::RollBack(const Mark& m) {
    npcs.RollBack(m.npcs);
    portraits.RollBack(m.portraits);
    dialogue.RollBack(m.dialogue);
    creatures.RollBack(m.creatures);
    items.RollBack(m.items);
    spells.RollBack(m.spells);
    abilities.RollBack(m.abilities);
    recipes.RollBack(m.recipes);
    diseases.RollBack(m.diseases);
    races.RollBack(m.races);
    skills.RollBack(m.skills);
    attributes.RollBack(m.attributes);
    ForEachList(*this, [&m](int i, auto& list) {
        if (list.items.size() > m.lists[i][0]) list.items.resize(m.lists[i][0]);
        if (list.records.size() > m.lists[i][1]) list.records.resize(m.lists[i][1]);
    });
    if (pageSequences.ids.size() > m.pageIds) pageSequences.ids.resize(m.pageIds);
    resources.TruncateTo(m.resources);
    textures.TruncateTo(m.textures);
}
