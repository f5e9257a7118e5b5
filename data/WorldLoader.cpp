#include "data/WorldLoader.h"

#include "core/PdbFile.h"
#include "core/Stream.h"
#include "data/RecordReader.h"
#include "data/TextureSet.h"
#include "data/World.h"
#include "data/WorldLists.h"

namespace {

// The records of a rule kind, one after the other from the running id. The rule lists stop at the
// first record at fault, so when one fails the last id handed out names it. No id past the last one
// is read: the record ids do not wrap round to 0.
class CKindRecordReader : public CRecordReader {
public:
    CKindRecordReader(CPdbFile& db, u16 first) : db_(db), next_(first), last_(first) {}
    CRecordData* NextRecord() override {
        last_ = next_++;
        return last_ <= 0xFFFF ? db_.ReadRecord(static_cast<u16>(last_)) : nullptr;
    }
    u32 Next() const { return next_; }
    u32 Last() const { return last_; }

private:
    CPdbFile& db_;
    u32 next_;
    u32 last_;
};

// Runs a rule list's loader from the running id: on success the id moves past every record it read,
// on failure it stays on the record at fault.
template <class Load>
bool LoadRule(CWorldLoadContext& c, Load&& load) {
    if (!c.database) return false;
    CKindRecordReader reader(*c.database, c.key);
    if (!load(reader)) {
        c.key = static_cast<u16>(reader.Last());
        return false;
    }
    // After the last id of all the running id is 0, at which the next kind stops.
    c.key = static_cast<u16>(reader.Next());
    return true;
}

bool LoadAbilities(CWorldLoadContext& c) {
    return LoadRule(c, [&c](CRecordReader& r) { return c.lists.abilities.Load(r, c.version); });
}
bool LoadRecipes(CWorldLoadContext& c) {
    return LoadRule(c, [&c](CRecordReader& r) { return c.lists.recipes.Load(r, c.version); });
}
bool LoadDiseases(CWorldLoadContext& c) {
    return LoadRule(c, [&c](CRecordReader& r) { return c.lists.diseases.Load(r, c.version); });
}

// The four item records and the item types; then the random-item tables of this world and the base.
bool LoadItems(CWorldLoadContext& c) {
    if (!LoadRule(c, [&c](CRecordReader& r) { return c.lists.items.Load(r, c.version); })) return false;
    c.lists.items.BuildRandomTables(c.world.shortName.GetText(), "base");
    return true;
}

// Creature kinds, then monster types; each type belongs to the world that brought it.
bool LoadCreatures(CWorldLoadContext& c) {
    return LoadRule(c, [&c](CRecordReader& r) { return c.lists.creatures.Load(r, c.version, &c.world); });
}
bool LoadDialogue(CWorldLoadContext& c) {
    return LoadRule(c, [&c](CRecordReader& r) { return c.lists.dialogue.Load(r, c.version); });
}
bool LoadPortraits(CWorldLoadContext& c) {
    return LoadRule(c, [&c](CRecordReader& r) { return c.lists.portraits.Load(r, c.version); });
}
bool LoadNpcs(CWorldLoadContext& c) {
    return LoadRule(c, [&c](CRecordReader& r) { return c.lists.npcs.Load(r, c.version); });
}
bool LoadSpells(CWorldLoadContext& c) {
    return LoadRule(c, [&c](CRecordReader& r) { return c.lists.spells.Load(r, c.version); });
}
bool LoadRaces(CWorldLoadContext& c) {
    return LoadRule(c, [&c](CRecordReader& r) { return c.lists.races.Load(r, c.version); });
}
bool LoadSkills(CWorldLoadContext& c) {
    return LoadRule(c, [&c](CRecordReader& r) { return c.lists.skills.Load(r, c.version); });
}
bool LoadAttributes(CWorldLoadContext& c) {
    return LoadRule(c, [&c](CRecordReader& r) { return c.lists.attributes.Load(r, c.version); });
}

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
bool LoadPageSequences(CWorldLoadContext& c) {
    return c.lists.pageSequences.Load(c.database, c.key, c.version);
}
bool LoadSkies(CWorldLoadContext& c) { return c.lists.skies.Load(c.database, c.key, c.version); }
bool LoadScripts(CWorldLoadContext& c) { return c.lists.scripts.Load(c.database, c.key, c.version); }
bool LoadResources(CWorldLoadContext& c) { return c.lists.resources.Load(c.database, c.key, c.version); }
bool LoadPictureSets(CWorldLoadContext& c) { return c.lists.pictureSets.Load(c.database, c.key, c.version); }
bool LoadTalkProfiles(CWorldLoadContext& c) {
    return c.lists.talkProfiles.Load(c.database, c.key, c.version);
}

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
    if (!w.LoadSectionRecords(c.version, CSectionRules{c.lists.monsterMaxHp}, &c.failedRecord, &c.failedKind))
        return false;
    ++c.key;
    return true;
}

constexpr CWorldKind kKinds[] = {
    {"pictures", '<', CWorldKind::kAlways, LoadTextures},
    {"world map", 'L', CWorldKind::kAlways, LoadWorldMap},
    {"abilities", 0x0A, CWorldKind::kAlways, LoadAbilities},
    {"recipes", 0x0E, CWorldKind::kAlways, LoadRecipes},
    {"diseases", 0x0C, CWorldKind::kAlways, LoadDiseases},
    {"global variables", 0x10, CWorldKind::kAlways, LoadGlobals},
    {"items", 0x16, CWorldKind::kAlways, LoadItems},
    {"map objects", 0x19, CWorldKind::kAlways, LoadMapObjects},
    {"index tables", 'C', CWorldKind::kAbove71, LoadIndexTables},
    {"creatures", 0x1C, CWorldKind::kAlways, LoadCreatures},
    {"monster-type table", 'E', CWorldKind::kAbove71, LoadMonsterTable},
    {"dialogue", 0x24, CWorldKind::kAlways, LoadDialogue},
    {"portraits", 0x25, CWorldKind::kAlways, LoadPortraits},
    {"NPCs", 0x2B, CWorldKind::kAlways, LoadNpcs},
    {"quests", 0x08, CWorldKind::kAlways, LoadQuests},
    {"page sequences", '5', CWorldKind::kAlways, LoadPageSequences},
    {"sky pictures", 'B', CWorldKind::kAlways, LoadSkies},
    {"scripts", 0x27, CWorldKind::kAlways, LoadScripts},
    {"resources", 0x2C, CWorldKind::kAlways, LoadResources},
    {"picture sets", '0', CWorldKind::kAlways, LoadPictureSets},
    {"spells", 0x03, CWorldKind::kAlways, LoadSpells},
    {"talk profiles", 0x3B, CWorldKind::kAlways, LoadTalkProfiles},
    {"races", 'N', CWorldKind::kAlways, LoadRaces},
    {"skills", 'P', CWorldKind::kAlways, LoadSkills},
    {"attributes", 'R', CWorldKind::kAlways, LoadAttributes},
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
                error->record = c.failedKind ? c.failedRecord : c.key >= start ? c.key : start;
                error->kind = c.failedKind ? c.failedKind : kind.name;
            }
            return false;
        }
        if (c.trace) c.trace(kind, start, c.key);
    }
    return true;
}
