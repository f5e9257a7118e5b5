#include "data/SavedGame.h"

#include <cstring>

#include "core/PdbFile.h"
#include "core/Str.h"
#include "core/Stream.h"
#include "data/MapSection.h"
#include "data/SavedState.h"
#include "data/World.h"
#include "data/WorldList.h"

// ---- CSaveStringTable ----

void CSaveStringTable::Reset() {
    for (auto& table : names_) {
        table.clear();
        table.emplace_back();
    }
}

u16 CSaveStringTable::Intern(Table table, const char* name) {
    if (!name || !*name) return 0;
    std::vector<std::string>& names = names_[table];
    for (size_t i = 1; i < names.size(); ++i)
        if (names[i] == name) return static_cast<u16>(i);
    if (names.size() > 0xFFFF) return 0;
    names.emplace_back(name);
    return static_cast<u16>(names.size() - 1);
}

const char* CSaveStringTable::NameAt(Table table, u32 index) const {
    const std::vector<std::string>& names = names_[table];
    return index > 0 && index < names.size() ? names[index].c_str() : nullptr;
}

bool CSaveStringTable::Serialize(CStream& stream) {
    if (!stream.MatchByte('U')) return false;
    for (auto& names : names_) {
        u16 count = static_cast<u16>(names.size());
        stream.Align(2);
        stream.SerializeU16(count);
        if (stream.IsWriting()) {
            for (std::string& name : names) {
                CStr text(name.c_str());
                stream.SerializeStr(text);
            }
            continue;
        }
        names.clear();
        names.emplace_back();
        for (u32 i = 0; i < count && !stream.HasError(); ++i) {
            CStr text;
            stream.SerializeStr(text);
            // Entry 0 is "none" whatever it holds.
            if (i > 0) names.emplace_back(text.GetText() ? text.GetText() : "");
        }
    }
    return !stream.HasError();
}

namespace savegame {
namespace {

std::string Text(const CStr& text) { return text.GetText() ? text.GetText() : ""; }

}  // namespace

bool IsListedWorld(const CWorld& world) {
    const char* name = world.shortName.GetText();
    if (!name) return true;
    return std::strcmp(name, "bres") != 0 && std::strcmp(name, "bmus") != 0 && std::strcmp(name, "bsnd") != 0;
}

// ---- record 3000 ----

bool WriteHeader(CStream& stream, const u16* thumbnail, const char* mapName, const char* dayAndTime) {
    stream.MatchByte(0x02);
    stream.MatchByte(0x03);
    stream.MatchByte(0xFF);
    u8 version = kSaveVersion;
    stream.SerializeU8(version);
    u16 length = kThumbnailBytes;
    stream.SerializeU16(length);
    for (u32 i = 0; i < kThumbnailPixels; ++i) {
        u16 pixel = thumbnail ? thumbnail[i] : 0;
        stream.SerializeU16(pixel);
    }
    CStr name(mapName ? mapName : "");
    CStr when(dayAndTime ? dayAndTime : "");
    stream.SerializeStr(name);
    stream.SerializeStr(when);
    return !stream.HasError();
}

bool ReadHeader(CStream& stream, CSavedGame& game) {
    if (!stream.MatchByte(0x02) || !stream.MatchByte(0x03) || !stream.MatchByte(0xFF)) return false;
    u8 version = 0;
    stream.SerializeU8(version);
    u16 length = 0;
    stream.SerializeU16(length);
    if (stream.HasError() || length != kThumbnailBytes) return false;
    game.version = version;
    game.thumbnail.assign(kThumbnailPixels, 0);
    for (u16& pixel : game.thumbnail) stream.SerializeU16(pixel);
    CStr name, when;
    stream.SerializeStr(name);
    stream.SerializeStr(when);
    game.mapName = Text(name);
    game.dayAndTime = Text(when);
    return !stream.HasError();
}

// ---- record 3001 ----

bool WriteWorldList(CStream& stream, const CWorldList& worlds, std::vector<const CWorld*>& listed,
                    std::vector<u16>& firsts) {
    listed.clear();
    firsts.clear();
    u32 first = kFirstMapStateRecord;
    for (u32 i = 0; i < worlds.Count(); ++i) {
        const CWorld* world = worlds.At(i);
        if (!world || !IsListedWorld(*world)) continue;
        // The last record of this world (F + S) must still be a record id.
        if (first + world->SectionCount() > 0xFFFF) return false;
        listed.push_back(world);
        firsts.push_back(static_cast<u16>(first));
        first += world->SectionCount() + 1;
    }
    const CWorld* current = worlds.Current();
    CStr worldName(current ? current->shortName.GetText() : "");
    const CMapSection* section = current ? current->currentSection : nullptr;
    CStr sectionName(section && section->GetName() ? section->GetName() : "");
    u8 expansion = current ? current->expansion : 1;

    u32 count = static_cast<u32>(listed.size());
    stream.Align(4);
    stream.SerializeU32(count);
    stream.SerializeStr(worldName);
    stream.SerializeStr(sectionName);
    stream.SerializeU8(expansion);
    for (size_t i = 0; i < listed.size(); ++i) {
        CStr name(listed[i]->shortName.GetText() ? listed[i]->shortName.GetText() : "");
        u32 id = firsts[i];
        stream.SerializeStr(name);
        stream.Align(4);
        stream.SerializeU32(id);
    }
    return !stream.HasError();
}

bool ReadWorldList(CStream& stream, CSavedGame& game) {
    u32 count = 0;
    stream.Align(4);
    stream.SerializeU32(count);
    CStr worldName, sectionName;
    stream.SerializeStr(worldName);
    stream.SerializeStr(sectionName);
    game.currentWorld = Text(worldName);
    game.currentSection = Text(sectionName);
    game.expansion = 3;
    if (game.version > 120) stream.SerializeU8(game.expansion);
    game.worlds.clear();
    // Each entry takes at least 5 bytes: a count past what the record can hold is damage.
    if (stream.HasError() || count > stream.GetCapacity() / 5) return false;
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        CSavedWorldState state;
        CStr name;
        stream.SerializeStr(name);
        stream.Align(4);
        stream.SerializeU32(state.firstRecord);
        state.shortName = Text(name);
        if (state.firstRecord < kFirstMapStateRecord || state.firstRecord > 0xFFFF) return false;
        game.worlds.push_back(std::move(state));
    }
    return !stream.HasError();
}

// ---- map states ----

bool WriteWorldStates(CStream& stream, const CWorld& world, u16 first) {
    stream.MatchByte('V');
    u32 words[3] = {world.worldX, world.worldY, world.worldZ};
    for (u32& word : words) {
        stream.Align(4);
        stream.SerializeU32(word);
    }
    u16 count = static_cast<u16>(world.SectionCount());
    stream.Align(2);
    stream.SerializeU16(count);
    for (u32 i = 0; i < world.SectionCount(); ++i) {
        const CMapSection* section = world.SectionAt(i);
        CStr name(section && section->GetName() ? section->GetName() : "");
        u16 id = static_cast<u16>(first + 1 + i);
        stream.SerializeStr(name);
        stream.Align(2);
        stream.SerializeU16(id);
    }
    return !stream.HasError();
}

bool ReadWorldStates(CStream& stream, u32 version, CSavedWorldState& state) {
    stream.MatchByte('V');
    for (u32 i = 0; i < 3; ++i) {
        if ((i < 2 && version > 90) || (i == 2 && version > 99)) {
            stream.Align(4);
            stream.SerializeU32(state.words[i]);
        }
    }
    u16 count = 0;
    stream.Align(2);
    stream.SerializeU16(count);
    state.sections.clear();
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        CSavedSectionState section;
        CStr name;
        stream.SerializeStr(name);
        stream.Align(2);
        stream.SerializeU16(section.recordId);
        section.name = Text(name);
        state.sections.push_back(std::move(section));
    }
    return !stream.HasError();
}

bool WriteSectionState(CStream& stream, CMapSection& section, CSaveStringTable& strings) {
    return savestate::SerializeSectionState(stream, section, strings, kSaveVersion, nullptr);
}

bool ReadSectionState(CStream& stream, u32 version, CMapSection& section, CSaveStringTable& strings,
                      const CItemCatalogue* catalogue, const CCreatureCatalogue* creatures) {
    return savestate::SerializeSectionState(stream, section, strings, version, catalogue, creatures);
}

// ---- the whole saved game ----

namespace {

// The database writer follows every record with two zero bytes (and the gap up to the next record's
// place): a record's own bytes end at least two before the size read back. Readers get the record without
// them, so that a record cut short cannot borrow the padding as fields: a one-byte globals record would
// otherwise read as an empty list.
constexpr u32 kRecordTail = 2;

// A record of the database read into a vector, without the writer's closing bytes; false when it is
// missing.
bool FetchRecord(CPdbFile& db, u32 id, std::vector<u8>& bytes) {
    CRecordDataPtr record(db.ReadRecord(id));
    if (!record) return false;
    const u32 size = record->size > kRecordTail ? record->size - kRecordTail : 0;
    bytes.assign(record->data, record->data + size);
    return true;
}

template <typename Fn>
bool ReadRecordWith(CPdbFile& db, u32 id, std::string& why, Fn&& read) {
    std::vector<u8> bytes;
    if (!FetchRecord(db, id, bytes)) {
        why = "record " + std::to_string(id) + " is missing";
        return false;
    }
    CStream stream;
    stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    if (!read(stream) || stream.HasError()) {
        why = "record " + std::to_string(id) + " is damaged";
        return false;
    }
    return true;
}

}  // namespace

bool ReadSavedGame(CPdbFile& db, const CSectionLookup& lookup, CSavedGame& game, std::string& why,
                   const CItemCatalogue* catalogue, const CCreatureCatalogue* creatures) {
    if (!db.HasType("VnTS") || !db.HasCreator("VnTS")) {
        why = "not a saved game";
        return false;
    }
    if (!ReadRecordWith(db, kHeaderRecord, why, [&](CStream& s) { return ReadHeader(s, game); }))
        return false;
    if (!ReadRecordWith(db, kStringTableRecord, why, [&](CStream& s) { return game.strings.Serialize(s); }))
        return false;
    if (!ReadRecordWith(db, kWorldListRecord, why, [&](CStream& s) { return ReadWorldList(s, game); }))
        return false;
    for (CSavedWorldState& world : game.worlds) {
        if (!ReadRecordWith(db, world.firstRecord, why,
                            [&](CStream& s) { return ReadWorldStates(s, game.version, world); }))
            return false;
        for (CSavedSectionState& section : world.sections) {
            const CMapSection* running =
                lookup ? lookup(world.shortName.c_str(), section.name.c_str()) : nullptr;
            section.known = running != nullptr;
            if (!FetchRecord(db, section.recordId, section.record)) {
                why = "record " + std::to_string(section.recordId) + " is missing";
                return false;
            }
            // The state of a section the running game lacks is skipped, but must be there.
            if (!section.known) continue;
            // Read into a copy shaped like the running section, which stays untouched.
            CMapSection copy(running->world);
            copy.width = running->width;
            copy.height = running->height;
            copy.explored.assign(running->explored.size(), 0);
            copy.exploredRowLength = running->exploredRowLength;
            copy.rules = running->rules;
            copy.placements = running->placements;
            CStream stream;
            stream.InitForReading(section.record.data(), static_cast<u32>(section.record.size()));
            if (!ReadSectionState(stream, game.version, copy, game.strings, catalogue, creatures) ||
                stream.HasError()) {
                why = "record " + std::to_string(section.recordId) + " is damaged";
                return false;
            }
        }
    }
    for (u16 id : {kGlobalsRecord, kPlayerRecord, kGameViewRecord, kPanelsRecord}) {
        if (!FetchRecord(db, id, game.parts[id])) {
            why = "record " + std::to_string(id) + " is missing";
            return false;
        }
    }
    return true;
}

void ApplyMapStates(CSavedGame& game, CWorldList& worlds, const CItemCatalogue* catalogue,
                    const CCreatureCatalogue* creatures) {
    for (const CSavedWorldState& state : game.worlds) {
        CWorld* world = worlds.FindWorldByShortName(state.shortName.c_str());
        if (!world) continue;
        if (game.version > 90) {
            world->worldX = state.words[0];
            world->worldY = state.words[1];
        }
        if (game.version > 99) world->worldZ = state.words[2];
        for (const CSavedSectionState& saved : state.sections) {
            CMapSection* section = saved.known ? world->FindSectionByName(saved.name.c_str()) : nullptr;
            if (!section) continue;
            std::vector<u8> bytes = saved.record;
            CStream stream;
            stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
            // Checked whole when the saved game was read: the same bytes read the same way again.
            ReadSectionState(stream, game.version, *section, game.strings, catalogue, creatures);
        }
    }
}

}  // namespace savegame
