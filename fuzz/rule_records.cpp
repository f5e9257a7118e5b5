// Arbitrary bytes as the records of a rule kind: the first byte picks the loader, the second is the
// world version, then records follow as {u16 length, bytes}. Whatever loads is then looked up and
// described (effect costs and texts, item names and descriptions, active effects, dialogue), so that
// hostile counts, kinds, classes and texts reach every rule that indexes a table with them.
#include "core/Random.h"
#include "core/Stream.h"
#include "data/CardRecord.h"
#include "data/CharacterTables.h"
#include "data/CreatureCatalogue.h"
#include "data/Dialogue.h"
#include "data/EffectText.h"
#include "data/ItemText.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "data/RecordReader.h"
#include "data/RuleContext.h"
#include "data/SectionEffects.h"
#include "data/Spells.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

struct AnyCondition : IConditionEvaluator {
    bool Holds(const CConditionRef& c) const override {
        StoredCondition fields;
        return DecodeStoredCondition(c, fields) && fields.value % 2 == 0;
    }
};

struct Sink : IItemReceiver, IShopStock {
    ~Sink() override { RemoveAllItems(); }
    void AddItem(CItemInstance* item) override { items.push_back(item); }
    u8& StockFlags() override { return flags; }
    void RemoveAllItems() override {
        for (CItemInstance* i : items) delete i;
        items.clear();
    }
    bool HoldsItemType(const CItemType& type) const override {
        for (CItemInstance* i : items)
            if (i->type == &type) return true;
        return false;
    }
    void AddStockEntry(const CItemType&, u32, u16) override {}
    u8 flags = 0;
    std::vector<CItemInstance*> items;
};

void Describe(const CEffectList& list, const CRuleContext& game) {
    CStr text;
    for (int source = 0; source <= kMaxEffectSource + 1; ++source) {
        for (int i = 0; i < list.Count(); ++i) {
            FormatEffectText(*list.At(i), game, source, 0xFFFF, text, source & 1, source & 2);
            i32 storage = 0, price = 0;
            ComputeEffectCost(*list.At(i), game, source, storage, price);
        }
        text = "";
        FormatEffectListText(text, list, game, source, 50, source & 1);
    }
    GetWandValue(list, game, 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int which = data[0] % 13;
    const u32 version = data[1];
    std::vector<std::vector<u8>> records;
    size_t at = 2;
    while (at + 2 <= size && records.size() < 64) {
        size_t length = data[at] | data[at + 1] << 8;
        at += 2;
        length = std::min(length, size - at);
        records.emplace_back(data + at, data + at + length);
        at += length;
    }
    CMemoryRecordReader reader(records);

    CAttributeTable attributes;
    CSkillTable skills;
    CRaceTable races;
    CSpellList spells;
    CAbilityList abilities;
    CDiseaseList diseases;
    CRecipeList recipes;
    CItemCatalogue items;
    CCreatureCatalogue creatures;
    CDialogue dialogue;
    CNpcList npcs;
    CPortraitList portraits;
    CRandom random;
    CRuleContext game;
    game.attributes = &attributes, game.skills = &skills, game.races = &races, game.spells = &spells;
    game.diseases = &diseases, game.abilities = &abilities, game.creatures = &creatures, game.items = &items;
    game.random = &random, game.currentWorldCode = "base", game.layoutMode = data[1] % 17;
    AnyCondition condition;

    switch (which) {
    case 0: attributes.Load(reader, version); break;
    case 1: skills.Load(reader, version); break;
    case 2: races.Load(reader, version); break;
    case 3: spells.Load(reader, version); break;
    case 4: abilities.Load(reader, version); break;
    case 5: diseases.Load(reader, version); break;
    case 6: recipes.Load(reader, version); break;
    case 7: items.Load(reader, version); break;
    case 8: creatures.Load(reader, version); break;
    case 9: dialogue.Load(reader, version); break;
    case 10: npcs.Load(reader, version); break;
    case 11: portraits.Load(reader, version); break;
    default: {
        // The effect forms on their own, world and saved.
        for (const std::vector<u8>& r : records) {
            std::vector<u8> copy = r;
            CStream stream;
            stream.InitForReading(copy.data(), static_cast<u32>(copy.size()));
            CEffectList list;
            SerializeEffectListRecord(stream, list, version);
            Describe(list, game);
            stream.InitForReading(copy.data(), static_cast<u32>(copy.size()));
            CEffectList saved;
            LoadEffectList(stream, saved);
            Describe(saved, game);
        }
        break;
    }
    }

    for (int i = 0; i < spells.Count(); ++i) {
        Describe(spells.At(i)->effects, game);
        spells.At(i)->GetSkillScaledValue(game);
    }
    for (int i = 0; i < abilities.Count(); ++i) {
        CStr text;
        FormatAbilityEffects(*abilities.At(i), game, text);
    }
    for (int i = 0; i < diseases.Count(); ++i) {
        CStr text;
        FormatDiseaseEffects(*diseases.At(i), game, text);
    }
    for (int i = 0; i < recipes.Count(); ++i) {
        CEffect e;
        e.kind = static_cast<u8>(i % 60);
        ApplyRecipeScaling(*recipes.At(i), 50, e);
    }
    items.BuildRandomTables("base", "bres");
    for (int i = 0; i < items.GetItemTypeCount(); ++i) {
        const CItemType& type = *items.GetItemType(i);
        CItemInstance* instance = CreateItemInstance(type, 50, &random);
        CStr text;
        FormatItemName(type, instance, false, game, text);
        FormatItemDescription(type, instance, game, text, true);
        type.GetValue(instance, game);
        if (type.effects) Describe(*type.effects, game);
        delete instance;
    }
    for (int i = 0; i < creatures.GetTypeCount(); ++i) {
        Sink sink;
        CreateItemsFromList(creatures.GetType(i)->items, items, random, sink);
        Describe(creatures.GetType(i)->effects, game);
    }
    for (int i = 0; i < npcs.Count(); ++i) {
        Sink sink;
        CreateShopStock(*npcs.At(i), items, random, sink);
        if (npcs.At(i)->dialogue) npcs.At(i)->dialogue->CollectTopics(condition);
    }
    dialogue.CollectTopics(condition);
    dialogue.FindEntryByName("bres_monster", "base_");
    CSectionEffects fx;
    for (size_t i = 0; i + 3 < size; i += 4)
        fx.AddMonsterEffect(data[i], static_cast<i8>(data[i + 1]) * 3, data[i + 2] % 8, data[i + 3] % 60,
                            data[i] % 7, nullptr);
    CStr text;
    for (int id = 0; id < 256; id += 37) fx.FormatActiveEffectsText(static_cast<u8>(id), game, text);
    return 0;
}
