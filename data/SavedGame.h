// The records of a saved game and a whole saved game read into memory. A load reads and checks every
// record first into a CSavedGame; only a saved game that read whole is put into the running game.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/Types.h"

class CPdbFile;
class CStream;
class CWorld;
class CWorldList;
class CMapSection;
class CItemCatalogue;
class CCreatureCatalogue;

namespace savegame {

constexpr u16 kHeaderRecord = 3000;
constexpr u16 kWorldListRecord = 3001;
constexpr u16 kGlobalsRecord = 3002;
constexpr u16 kPlayerRecord = 3003;
constexpr u16 kGameViewRecord = 3004;
constexpr u16 kPanelsRecord = 3005;
constexpr u16 kStringTableRecord = 3006;
constexpr u16 kFirstMapStateRecord = 3010;
constexpr u8 kSaveVersion = 122;
constexpr u16 kThumbnailWidth = 80;
constexpr u16 kThumbnailHeight = 50;
constexpr u32 kThumbnailPixels = u32(kThumbnailWidth) * kThumbnailHeight;
constexpr u16 kThumbnailBytes = kThumbnailPixels * 2;

}  // namespace savegame

// The names that saved records refer to by index: item types, monster types and spells. Index 0 of
// every table is "none"; the tables are emptied at the start of every save and rebuilt at every load,
// so the indices of one saved game mean nothing in another.
class CSaveStringTable {
public:
    enum Table { kItemTypes, kMonsterTypes, kSpells, kTableCount };

    CSaveStringTable() { Reset(); }
    void Reset();
    // The name's index in the table, added when new; 0 for a null or empty name (and when the table is
    // full, which the u16 count cannot exceed).
    u16 Intern(Table table, const char* name);
    u16 InternObjectName(const char* name) { return Intern(kItemTypes, name); }
    u16 InternMapStateName(const char* name) { return Intern(kMonsterTypes, name); }
    u16 InternContainerName(const char* name) { return Intern(kSpells, name); }
    // The name at an index; null for 0 and for an index outside the table, which readers treat as none.
    const char* NameAt(Table table, u32 index) const;
    u32 Count(Table table) const { return static_cast<u32>(names_[table].size()); }
    // Record 3006 in either direction; false when the stream failed or the tag is wrong.
    bool Serialize(CStream& stream);

private:
    std::vector<std::string> names_[kTableCount];
};

// The saved state of one section: its record as stored, checked when the saved game was read and read
// again into the running section when the load goes ahead.
struct CSavedSectionState {
    std::string name;
    u16 recordId = 0;
    bool known = false;  // whether the running world has this section (else its record is skipped)
    std::vector<u8> record;
};

// The map states of one listed world.
struct CSavedWorldState {
    std::string shortName;
    u32 firstRecord = 0;
    u32 words[3] = {};
    std::vector<CSavedSectionState> sections;
};

// A whole saved game as read from its database.
struct CSavedGame {
    u32 version = 0;
    std::vector<u16> thumbnail;
    std::string mapName;
    std::string dayAndTime;
    std::string currentWorld;
    std::string currentSection;
    u8 expansion = 3;
    std::vector<CSavedWorldState> worlds;
    CSaveStringTable strings;
    // Records 3002..3005 as stored, for their owners to read.
    std::map<u16, std::vector<u8>> parts;
};

// Where a saved section's explored map gets its size: the section of that name in the world of that
// short name, or null when the running game has none.
using CSectionLookup = std::function<const CMapSection*(const char* worldShortName, const char* sectionName)>;

namespace savegame {

// The worlds a saved game lists: the open worlds except the resource, music and sound databases.
bool IsListedWorld(const CWorld& world);

// Record 3000. Writing stores the given texts and thumbnail (kThumbnailPixels values).
bool WriteHeader(CStream& stream, const u16* thumbnail, const char* mapName, const char* dayAndTime);
// Reading checks the three opening bytes and the thumbnail length; false when anything is off.
bool ReadHeader(CStream& stream, CSavedGame& game);

// Record 3001 from the open worlds; the listed worlds and their first record ids in `firsts`.
// False when the ids would not fit the record-id range.
bool WriteWorldList(CStream& stream, const CWorldList& worlds, std::vector<const CWorld*>& listed,
                    std::vector<u16>& firsts);
bool ReadWorldList(CStream& stream, CSavedGame& game);

// Record F of one world ('V'), and one section's state record.
bool WriteWorldStates(CStream& stream, const CWorld& world, u16 first);
bool ReadWorldStates(CStream& stream, u32 version, CSavedWorldState& state);
// The section's state in either direction (its item entries name the catalogue's item types); false
// when the record is damaged.
bool WriteSectionState(CStream& stream, CMapSection& section, CSaveStringTable& strings);
bool ReadSectionState(CStream& stream, u32 version, CMapSection& section, CSaveStringTable& strings,
                      const CItemCatalogue* catalogue, const CCreatureCatalogue* creatures = nullptr);

// Reads and checks every record of an open saved-game database: each known section's state is read
// into a copy of the running section. `why` names the first fault.
bool ReadSavedGame(CPdbFile& db, const CSectionLookup& lookup, CSavedGame& game, std::string& why,
                   const CItemCatalogue* catalogue = nullptr, const CCreatureCatalogue* creatures = nullptr);

// Puts the map states into the open worlds (sections and worlds not found are skipped).
void ApplyMapStates(CSavedGame& game, CWorldList& worlds, const CItemCatalogue* catalogue,
                    const CCreatureCatalogue* creatures = nullptr);

}  // namespace savegame
