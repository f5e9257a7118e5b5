#include "data/WorldLoader.h"

#include "core/PdbFile.h"
#include "core/Stream.h"
#include "data/TextureSet.h"
#include "data/World.h"
#include "data/WorldLists.h"

namespace {

// Keeps one record of a kind read past, raw, in the world; false when it is missing.
bool KeepRaw(CWorldLoadContext& c, u8 tag, u16* count = nullptr) {
    CRecordPtr record = ReadRecordPtr(c.database, c.key);
    if (!record) return false;
    if (count) {
        // The record's list count says how many records follow it.
        CStream s;
        s.InitForReading(*record);
        s.MatchByte(tag);
        s.SerializeU16(*count);
        if (s.HasError()) return false;
    }
    CRawKindRecord raw;
    raw.tag = tag;
    raw.recordId = c.key;
    raw.bytes.assign(record->data, record->data + record->size);
    c.world.pendingKinds.push_back(std::move(raw));
    ++c.key;
    return c.key != 0;
}

template <u8 Tag>
bool LoadRawRecord(CWorldLoadContext& c) {
    return KeepRaw(c, Tag);
}

// A head record with a count, then one record per element (NPCs, spells).
template <u8 Tag, u8 ElementTag>
bool LoadRawCounted(CWorldLoadContext& c) {
    u16 count = 0;
    if (!KeepRaw(c, Tag, &count)) return false;
    for (u32 i = 0; i < count; ++i)
        if (!KeepRaw(c, ElementTag)) return false;
    return true;
}

// Item records and item types: four records; from version 48 on one record per item type follows.
bool LoadRawItems(CWorldLoadContext& c) {
    if (!KeepRaw(c, 0x16) || !KeepRaw(c, 0x38) || !KeepRaw(c, 0x12)) return false;
    u16 types = 0;
    if (!KeepRaw(c, 0x14, &types)) return false;
    if (c.version >= 48)
        for (u32 i = 0; i < types; ++i)
            if (!KeepRaw(c, 0x15)) return false;
    return true;
}

// Creature kinds, then monster types.
bool LoadRawCreatures(CWorldLoadContext& c) { return KeepRaw(c, 0x1C) && KeepRaw(c, 0x1E); }

bool LoadTextures(CWorldLoadContext& c) {
    if (!c.lists.textures.LoadFirstTable(c.database, ReadRecordPtr(c.database, c.key))) return false;
    ++c.key;
    if (!c.lists.textures.LoadSecondTable(c.database, ReadRecordPtr(c.database, c.key))) return false;
    ++c.key;
    return true;
}

bool LoadWorldMap(CWorldLoadContext& c) {
    // A world without a world map still uses up the two record ids.
    if (c.world.sectionPrefix.IsEmpty()) {
        c.key = static_cast<u16>(c.key + 2);
        return true;
    }
    {
        CRecordPtr record = ReadRecordPtr(c.database, c.key);
        if (!record) return false;
        CStream s;
        s.InitForReading(*record);
        s.MatchByte('L');
        u16 skipped = 0;
        s.SerializeU16(skipped);
        if (s.HasError()) return false;
    }
    ++c.key;
    auto holder = std::make_unique<CRecordHolder>();
    holder->prefix = 4;
    if (!holder->Load(c.database, c.key)) return false;
    c.world.worldMapPicture = std::move(holder);
    ++c.key;
    return true;
}

bool LoadIndexTable(CWorldLoadContext& c, u8 tag, CIndexTable& table) {
    CRecordPtr record = ReadRecordPtr(c.database, c.key);
    if (!record) return false;
    CStream s;
    s.InitForReading(*record);
    s.MatchByte(tag);
    CIndexTable read;
    u16 count = 0;
    s.SerializeU16(count);
    read.names.push_back(nullptr);
    read.entries.push_back(nullptr);
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        const char* name = nullptr;
        s.SerializeStringRef(name);
        const void* entry = nullptr;
        if (name) {
            switch (tag) {
            case 'C': entry = c.lists.mapObjects.FindById(name); break;
            case 'D': entry = c.lists.findItemType ? c.lists.findItemType(name) : nullptr; break;
            case 'E': entry = c.lists.findMonsterType ? c.lists.findMonsterType(name) : nullptr; break;
            default: entry = c.lists.textures.FindSecondByName(name); break;
            }
        }
        read.names.push_back(name);
        read.entries.push_back(entry);
    }
    if (s.HasError()) return false;
    table = std::move(read);
    c.world.recordBuffers.push_back(std::move(record));
    ++c.key;
    return true;
}

bool LoadIndexTables(CWorldLoadContext& c) {
    return LoadIndexTable(c, 'C', c.world.tableC) && LoadIndexTable(c, 'D', c.world.tableD) &&
           LoadIndexTable(c, 'E', c.world.tableE) && LoadIndexTable(c, 'F', c.world.tableF);
}

// Read after the creature records, so that this time its names find their monster types.
bool LoadMonsterTable(CWorldLoadContext& c) { return LoadIndexTable(c, 'E', c.world.tableE); }

bool LoadGlobals(CWorldLoadContext& c) { return c.lists.globals.Load(c.database, c.key, c.version); }
bool LoadMapObjects(CWorldLoadContext& c) { return c.lists.mapObjects.Load(c.database, c.key, c.version); }
bool LoadQuests(CWorldLoadContext& c) { return c.lists.quests.Load(c.database, c.key, c.version); }
bool LoadPageSequences(CWorldLoadContext& c) { return c.lists.pageSequences.Load(c.database, c.key, c.version); }
bool LoadSkies(CWorldLoadContext& c) { return c.lists.skies.Load(c.database, c.key, c.version); }
bool LoadScripts(CWorldLoadContext& c) { return c.lists.scripts.Load(c.database, c.key, c.version); }
bool LoadResources(CWorldLoadContext& c) { return c.lists.resources.Load(c.database, c.key, c.version); }
bool LoadPictureSets(CWorldLoadContext& c) { return c.lists.pictureSets.Load(c.database, c.key, c.version); }
bool LoadTalkProfiles(CWorldLoadContext& c) { return c.lists.talkProfiles.Load(c.database, c.key, c.version); }

bool LoadSectionDirectory(CWorldLoadContext& c) {
    CRecordPtr record = ReadRecordPtr(c.database, c.key);
    if (!record) return false;
    CWorld& w = c.world;
    CStream s;
    s.InitForReading(*record);
    s.MatchByte(1);
    u16 ground = 0, groundPicture = 0;
    u8 count = 0;
    s.SerializeU16(ground);
    s.SerializeU16(groundPicture);
    s.SerializeU8(count);
    std::vector<std::unique_ptr<CMapSection>> read;
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        auto section = std::make_unique<CMapSection>(&w);
        s.SerializeU16(section->baseRecord);
        section->SerializeFields(s, c.version);
        // Sections without ground (or, underground, ceiling) take the first map object of type 1.
        if (section->groundObject == nullptr) section->groundObject = c.lists.mapObjects.FirstOfType(1);
        if (section->ceilingObject == nullptr && !section->IsSurface())
            section->ceilingObject = c.lists.mapObjects.FirstOfType(1);
        read.push_back(std::move(section));
    }
    if (s.HasError()) return false;
    w.defaultGround = w.MapObjectAt(w.tableC.Checked(ground));
    if (w.defaultGround == nullptr) w.defaultGround = c.lists.mapObjects.FindById("base_water");
    w.defaultGroundPicture = w.PictureAt(w.tableF.Checked(groundPicture));
    w.sections = std::move(read);
    w.recordBuffers.push_back(std::move(record));
    if (!w.LoadSectionRecords(c.version, CSectionRules{c.lists.monsterMaxHp})) return false;
    ++c.key;
    return true;
}

constexpr CWorldKind kKinds[] = {
    {"pictures", '<', CWorldKind::kAlways, LoadTextures},
    {"world map", 'L', CWorldKind::kAlways, LoadWorldMap},
    // Read past until their own loaders take these rows.
    {"abilities", 0x0A, CWorldKind::kAlways, LoadRawRecord<0x0A>},
    {"recipes", 0x0E, CWorldKind::kAlways, LoadRawRecord<0x0E>},
    {"diseases", 0x0C, CWorldKind::kAlways, LoadRawRecord<0x0C>},
    {"global variables", 0x10, CWorldKind::kAlways, LoadGlobals},
    {"items", 0x16, CWorldKind::kAlways, LoadRawItems},
    {"map objects", 0x19, CWorldKind::kAlways, LoadMapObjects},
    {"index tables", 'C', CWorldKind::kAbove71, LoadIndexTables},
    {"creatures", 0x1C, CWorldKind::kAlways, LoadRawCreatures},
    {"monster-type table", 'E', CWorldKind::kAbove71, LoadMonsterTable},
    {"dialogue", 0x24, CWorldKind::kAlways, LoadRawRecord<0x24>},
    {"portraits", 0x25, CWorldKind::kAlways, LoadRawRecord<0x25>},
    {"NPCs", 0x2B, CWorldKind::kAlways, LoadRawCounted<0x2B, 0x2A>},
    {"quests", 0x08, CWorldKind::kAlways, LoadQuests},
    {"page sequences", '5', CWorldKind::kAlways, LoadPageSequences},
    {"sky pictures", 'B', CWorldKind::kAlways, LoadSkies},
    {"scripts", 0x27, CWorldKind::kAlways, LoadScripts},
    {"resources", 0x2C, CWorldKind::kAlways, LoadResources},
    {"picture sets", '0', CWorldKind::kAlways, LoadPictureSets},
    {"spells", 0x03, CWorldKind::kAlways, LoadRawCounted<0x03, 0x04>},
    {"talk profiles", 0x3B, CWorldKind::kAlways, LoadTalkProfiles},
    {"races", 'N', CWorldKind::kAlways, LoadRawRecord<'N'>},
    {"skills", 'P', CWorldKind::kAlways, LoadRawRecord<'P'>},
    {"attributes", 'R', CWorldKind::kAlways, LoadRawRecord<'R'>},
    {"index tables", 'C', CWorldKind::kUpTo71, LoadIndexTables},
    {"section directory", 1, CWorldKind::kAlways, LoadSectionDirectory},
};

}  // namespace

std::span<const CWorldKind> WorldKinds() { return kKinds; }

bool LoadWorldKinds(CWorldLoadContext& c, CWorldLoadError* error) {
    for (const CWorldKind& kind : kKinds) {
        if (kind.when == CWorldKind::kAbove71 && c.version <= 71) continue;
        if (kind.when == CWorldKind::kUpTo71 && c.version > 71) continue;
        const u16 start = c.key;
        // Record ids are 16 bits: a kind that would run past the last one cannot be complete.
        if (start == 0 || !kind.load(c)) {
            if (error) {
                error->record = c.key >= start ? c.key : start;
                error->kind = kind.name;
            }
            return false;
        }
        if (c.trace) c.trace(kind, start, c.key);
    }
    return true;
}
