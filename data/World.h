// An open world database: its header values (record 3999), its index tables, its world-map picture
// and its map sections. CWorld::Load reads one whole
// database through the world loader (WorldLoader.h) into the world and the shared record lists.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Str.h"
#include "core/Types.h"
#include "data/MapSection.h"
#include "data/RecordBuffer.h"

class CGame;
class CPdbFile;
class CStream;
class CRecordHolder;
class CWorldLists;
struct CMapObjectRecord;
class CSecondPicture;

// One of the tables 'C', 'D', 'E', 'F' of a world: the names as stored, and what each resolved to.
// Entry 0 is "none"; map data refers to the entries by 1-based index.
struct CIndexTable {
    std::vector<const char*> names;    // names[0] is null
    std::vector<const void*> entries;  // entries[0] is null; null for a name that matched nothing
    u32 Count() const { return static_cast<u32>(entries.size()); }
    const void* At(u32 index) const { return index < entries.size() ? entries[index] : nullptr; }
    // The index when it lies inside the table, else 0 (none): stored indices are checked this way.
    u16 Checked(u32 index) const { return index < entries.size() ? static_cast<u16>(index) : 0; }
};

// Why a world failed to load: the record the loader could not read (missing or damaged) and its kind.
struct CWorldLoadError {
    u32 record = 0;
    std::string kind;
    bool IsSet() const { return !kind.empty(); }
};

// The folded key of a name: the XOR of its first five characters (each sign-extended), the i-th
// shifted left by i bits.
u16 ShortNameHash(const char* text);

class CWorld {
public:
    static constexpr u16 kHeaderRecord = 3999;
    static constexpr u16 kFirstKindRecord = 4000;

    explicit CWorld(CGame* game = nullptr);
    virtual ~CWorld();
    CWorld(const CWorld&) = delete;
    CWorld& operator=(const CWorld&) = delete;

    // Reads record 3999 of the open database into this world. Returns 1, or 0 when the record is
    // missing or ends before its last field.
    int ReadHeader(CPdbFile& db);
    // The header's fields through a stream in either direction; false when the stream failed.
    bool SerializeHeader(CStream& stream);

    // Reads the whole database: the header, every record kind from record 4000 in the fixed order into
    // this world and the shared lists, and the section directory. The world takes the database. 1 on
    // success; 0 when a record the order reaches is missing or damaged, with the record in `error`.
    int Load(std::unique_ptr<CPdbFile> db, CWorldLists& lists, CWorldLoadError* error = nullptr);
    // Frees the sections, tables, kept records and the database, and empties the strings.
    void Release();

    // Look-ups of the index tables by the 1-based indices of map data; null for 0 or outside.
    const CMapObjectRecord* MapObjectAt(u32 index) const;
    const void* ItemTypeAt(u32 index) const { return tableD.At(index); }
    const void* MonsterTypeAt(u32 index) const { return tableE.At(index); }
    const CSecondPicture* PictureAt(u32 index) const;

    // Each section's own records (base .. base + 4), after the whole directory; false when one is
    // missing or damaged, with the first such record and what it holds in the out-parameters.
    bool LoadSectionRecords(u8 dataVersion, const CSectionRules& rules, u32* failedRecord = nullptr,
                            const char** failedKind = nullptr);
    // The 1-based cell references of this world's 'C' and 'F' tables translated into indices of the
    // map-object list and the picture list by the two look-ups (65535: none).
    template <class ObjectIndex, class PictureIndex>
    CCellRefs MakeCellRefs(ObjectIndex objectIndex, PictureIndex pictureIndex) const {
        CCellRefs refs;
        refs.objects.assign(tableC.Count(), kNoCellIndex);
        refs.pictures.assign(tableF.Count(), kNoCellIndex);
        for (u32 i = 1; i < tableC.Count(); ++i)
            if (tableC.entries[i]) refs.objects[i] = objectIndex(MapObjectAt(i));
        for (u32 i = 1; i < tableF.Count(); ++i)
            if (tableF.entries[i]) refs.pictures[i] = pictureIndex(PictureAt(i));
        return refs;
    }
    // The surface piece at an offset from a piece on the grid; null when none or off the grid.
    CMapSection* FindNeighbourSection(const CMapSection* section, i32 dx, i32 dy) const;
    // The grid column and row (from 1) in a surface piece's name; false when it has none.
    bool ParseSectionGridPosition(const CMapSection* section, u32& column, u32& row) const;
    // The world position of a cell of a surface piece into the world's three position words.
    void SetWorldPositionFromSection(const CMapSection* section, i32 x, i32 y, u32 third);

    CMapSection* FindSectionByName(const char* name) const;
    // The placed map object of that name in the sections in order, with its section (both null when
    // none).
    CPlacement* FindMapObjectByName(const char* name, CMapSection*& section) const;
    // The map object of that name in the sections in order: its section and the creature bound to it
    // (null when none). False, with both null, when no section has an object of that name.
    bool FindMonsterByName(const char* name, CMapSection*& section, CMonster*& monster) const;
    // The surface piece at a grid column and row (both from 1); null when none.
    CMapSection* FindSectionAt(u32 column, u32 row) const;
    CPdbFile* GetDatabase() const { return database.get(); }
    u32 SectionCount() const { return static_cast<u32>(sections.size()); }
    CMapSection* SectionAt(u32 i) const { return i < sections.size() ? sections[i].get() : nullptr; }

    CGame* game;
    u32 headerWord = 0;
    u8 version = 0;
    u8 byteA = 1;
    u8 byteB = 4;
    CStr title;
    CStr shortName;
    CStr recordIdPrefix;  // short name + "_"
    u16 prefixKey = 0;    // ShortNameHash of the prefix
    CStr stringC;
    u8 expansion = 1;
    u8 flagByte = 0;  // byte G of the header
    u16 gridWidth = 0;
    u16 gridHeight = 0;
    CStr sectionPrefix;

    std::unique_ptr<CPdbFile> database;
    std::vector<std::unique_ptr<CMapSection>> sections;
    CRecordBuffers recordBuffers;  // the section directory (the sections' names point into it)
    CMapSection* currentSection = nullptr;
    u32 worldX = 0, worldY = 0, worldZ = 0;  // the player's world position, kept with the map states
    std::unique_ptr<CRecordHolder> worldMapPicture;
    const CMapObjectRecord* defaultGround = nullptr;
    const CSecondPicture* defaultGroundPicture = nullptr;
    CIndexTable tableC, tableD, tableE, tableF;
};
