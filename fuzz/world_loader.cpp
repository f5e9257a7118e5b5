// Arbitrary bytes as a world database: the game's own entry (CWorld::Load into the shared lists, the
// rule records' lists among them), then everything a loaded world hands out: every picture read on
// demand with its size, every sound's record and WAV voice, every song's patterns with its bank
// checked by the module player, the item and monster types its tables name, the rule texts. Nothing
// may crash, leak or read outside a record; a world that fails leaves the lists as they were.
#include "core/PdbFile.h"
#include "data/ResourceCatalogue.h"
#include "data/RuleContext.h"
#include "data/TextureSet.h"
#include "data/World.h"
#include "data/WorldLists.h"
#include "sound/ModuleData.h"
#include "fuzz/ScratchFile.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

using fuzz_support::ScratchFile;

namespace {

volatile u8 g_sink;

void Touch(const u8* data, u32 size) {
    if (data && size) g_sink = static_cast<u8>(data[0] ^ data[size - 1]);
}

void Exercise(CWorld& world, CWorldLists& lists) {
    CTextureSet& t = lists.textures;
    for (u32 i = 1; i < t.PictureCount(); ++i) {
        CRecordHolder* p = t.PictureAt(i);
        if (!t.EnsureLoaded(p)) continue;
        Touch(p->data, p->Size());
        u16 w = 0, h = 0;
        GetPictureSize(p, w, h);
        t.UnloadEntry(p);
    }
    for (const auto& sound : lists.resources.Sounds()) {
        CSoundEntry* entry = lists.resources.FindSound(sound->name);
        if (entry) entry->CreateVoice(10);
        sound->Unload(nullptr);
    }
    for (const auto& song : lists.resources.Songs()) {
        CMusicSource source;
        if (!song->LoadMusic(source)) continue;
        ModuleData module;
        module.Set(source.header, source.patterns, source.samples, source.samples2);
    }
    for (u32 i = 0; i < world.tableC.Count(); ++i) g_sink = world.MapObjectAt(i) != nullptr;
    for (u32 i = 0; i < world.tableD.Count(); ++i)
        if (const auto* type = static_cast<const CItemType*>(world.ItemTypeAt(i)))
            Touch(reinterpret_cast<const u8*>(type->GetName()), 1);
    for (u32 i = 0; i < world.tableE.Count(); ++i)
        if (const auto* type = static_cast<const CMonsterType*>(world.MonsterTypeAt(i)))
            g_sink = type->creatureKind != nullptr;
    for (int i = 0; i < kRaceCount; ++i) {
        const CRaceEntry* race = lists.races.GetEntry(i);
        if (race->text1) Touch(reinterpret_cast<const u8*>(race->text1), 1);
        if (race->GetName()) Touch(reinterpret_cast<const u8*>(race->GetName()), 1);
    }
    CRuleContext rules;
    lists.BindRuleContext(rules);
    for (int i = 0; i < lists.recipes.Count(); ++i) delete ScaleRecipeEffect(*lists.recipes.At(i), 50, rules);
    for (u32 i = 0; i < world.SectionCount(); ++i) Touch(world.SectionAt(i)->explored.data(), 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = ScratchFile();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    CTextureSet textures;
    CWorldLists lists(textures);
    auto db = std::make_unique<CPdbFile>();
    if (!db->OpenPath(path)) return 0;
    CWorld world;
    const CWorldLists::Mark before = lists.GetMark();
    if (world.Load(std::move(db), lists) == 1) {
        lists.AfterLoad();
        Exercise(world, lists);
    } else if (lists.resources.Sounds().size() != before.resources.sounds ||
               textures.PictureCount() != before.textures.first || lists.items.GetItemTypeCount() != 0 ||
               lists.spells.Count() != 0 || lists.npcs.Count() != 0 || lists.creatures.GetTypeCount() != 0 ||
               lists.dialogue.greetings.GetCount() != 0 || lists.races.GetEntry(1)->text1 != nullptr) {
        __builtin_trap();
    }
    lists.Clear();
    return 0;
}
