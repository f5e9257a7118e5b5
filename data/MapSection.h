// One section of a world's map: a whole underground map of 35 x 35 cells or a 21 x 21 piece of a
// surface map. The world loader makes the sections from the section directory and reads each one's
// 'G' fields. The meaning of the stored bytes, as the game reads them:
//   byte E         the weather byte (255: random);
//   colour C, D    the day and night colours of weather particles;
//   the four bytes in order: visibility (the underground view distance), the sky picture set index,
//                  the sky palette index, and a spare byte;
//   light B        its colour word is the fog colour;
//   the prison     the map object named after the section id with "_jail" appended.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Types.h"
#include "data/ItemBag.h"
#include "data/MapCells.h"
#include "data/RecordBuffer.h"
#include "data/SectionEffects.h"

class CStream;
class CWorld;
struct CMapObjectRecord;
class CSecondPicture;
class CPdbFile;
class CItemCatalogue;
class CRandom;
struct CRecordData;

class CMonsterType;

// One creature standing in a section, as its monster entry holds it.
struct CMonster {
    const void* type = nullptr;  // the monster type of the world's 'E' table
    u16 typeIndex = 0;           // its index in that table (1-based)
    u16 viewIndex = 0;           // its sprite entry in the game view
    u16 hp = 0;
    u8 id = 0;  // 1..255, unique in the section
    // bit 0 removable, bit 1 aggression from the type, bit 2 aggressive, 3..4 facing quarter, 5..6
    // animation (both: moving, 5 alone: winding up an attack, 6 alone: striking), bit 7 hurt
    u8 flags = 0;
    u8 objectId = 0;  // the placement it belongs to, 0 = none
    u8 bagId = 0;
    u8 hurtTicks = 0;  // display counter of the hurt, attack and step animations
    u8 x = 0, y = 0;   // its position in the section
    const CMonsterType* Type() const { return static_cast<const CMonsterType*>(type); }
};

// The state of one placed map object of a section (the objects themselves live in the map-object
// table; cells name the placement by its id).
struct CPlacement {
    static constexpr u8 kVisible = 0x01;
    static constexpr u8 kClosed = 0x02;
    u16 level = 0;               // bits 0..2 transition kind, 6..9 lock level, 10..13 trap level
    const char* name = nullptr;  // texts point into the kept objects record
    const char* text = nullptr;
    const char* third = nullptr;
    u8 id = 0;
    u8 bagId = 0;
    u8 x = 255, y = 255;
    u8 flags = kVisible;  // the bits are named in world/MapObject.h
    u8 state = 0;         // the script commands getstate and setstate
    bool Hidden() const { return (flags & kClosed) != 0; }
};

// A bag's stored item list (CModifierEntry records): the bag is filled from it when it first enters
// the window.
struct CBagItemList {
    CBagItemList() = default;
    ~CBagItemList() { FreeModifierList(entries); }
    CBagItemList(const CBagItemList&) = delete;
    CBagItemList& operator=(const CBagItemList&) = delete;
    CPointerArray entries;
    bool filled = false;
};

// What a section needs of the rules while it reads its creatures: the maximum hp of a monster type.
struct CSectionRules {
    u16 (*maxHp)(const void* type) = nullptr;
};

class CMapSection {
public:
    static constexpr u16 kSurfaceFlag = 0x80;

    explicit CMapSection(CWorld* world = nullptr) : world(world) {}

    // The 'G' fields of the section directory. Indices that lie outside the world's tables are none.
    bool SerializeFields(CStream& stream, u8 version);
    bool IsSurface() const { return (flags & kSurfaceFlag) != 0; }
    const char* GetName() const { return id; }

    CWorld* world;
    const char* id = nullptr;  // points into the world's directory record
    const char* displayName = nullptr;
    u16 baseRecord = 0;
    u32 lastVisit = 0;  // game minutes of the player's last visit; 0: never visited
    const CMapObjectRecord* groundObject = nullptr;
    const CSecondPicture* groundPicture = nullptr;
    const CMapObjectRecord* ceilingObject = nullptr;
    const CSecondPicture* ceilingPicture = nullptr;
    u8 width = 35;
    u8 height = 35;
    u8 bytes[4] = {};
    u16 flags = 0;
    u16 lightAColour = 0;
    u8 lightALevel = 100;
    u16 lightBColour = 0;
    u8 lightBLevel = 100;
    u16 colourC = 0xA534;  // grey 165
    u16 colourD = 0x6B4D;  // grey 105
    u8 byteE = 255;
    // The view distance (bytes[0]) and the fog colour (light B's colour) as the world stored them:
    // scripts may change both for a while and put them back.
    u8 storedViewDistance = 0;
    u16 storedFogColour = 0;
    void SetFog(u8 viewDistance, u16 fogColour) {
        bytes[0] = viewDistance;
        lightBColour = fogColour;
    }
    void ResetFog() { SetFog(storedViewDistance, storedFogColour); }
    // The stored indices, checked against the tables ('C', 'F', 'C', 'F'); 0 = none.
    u16 indices[4] = {};
    std::vector<u8> explored;  // one bit per cell
    u16 exploredRowLength = 0;

    // The section's own records (base .. base + 4), read after the whole directory: the cells are
    // checked, the surface bit map, the placements, the monsters and the bags are read. False when the
    // cells are missing or damaged or a present record is damaged; the first such record and what it
    // holds go to the out-parameters.
    bool LoadRecords(CPdbFile* database, u8 version, const CSectionRules& rules = {}, u32* failedRecord = nullptr,
                     const char** failedKind = nullptr);
    // Whether the stored cells of an underground map decode whole (the references are not looked up):
    // a section whose cells do not would be drawn without its walls. A surface piece's cells are
    // checked one by one as they are drawn.
    bool CellsDecode(const CRecordData& record) const;
    bool LoadObjects(CStream& stream, u8 version);
    bool LoadMonsters(CStream& stream, u8 version);
    bool LoadBags(CStream& stream);
    // The one-week reset: the monsters again from the database, the removable bags dropped and the
    // stored bags that the section no longer holds read again.
    void ResetFromDatabase();
    // Resets the section when it was visited more than a week (10,080 minutes) before `clock`; the
    // last visit becomes `clock`. True when it was reset.
    bool ResetIfStale(u32 clock);

    // Bit x of row y of the surface bit map (0 outside or without one).
    bool TestMapBit(i32 x, i32 y) const;
    bool IsExplored(i32 x, i32 y) const;
    void MarkExplored(i32 x, i32 y);
    // The placement of that id (the section's FindObject); null for 0 or none.
    CPlacement* FindPlacement(u8 id);
    const CPlacement* FindPlacementByName(const char* name) const;
    CMonster* FindMonster(u8 id);
    // Removes a killed creature with its bag and its effects.
    void DeleteMonster(u8 id);
    // A new creature of the type at x, y with a new id, full hp and flags 2; a person also gets a new
    // bag. Null when the section has no id left (or no bag id for a person).
    CMonster* CreateMonster(const CMonsterType* type, i32 x, i32 y);
    // Removes every removable creature (flag bit 0) of the type with its effects; how many went.
    int RemoveMonstersOfType(const CMonsterType* type, std::vector<u8>* removedIds = nullptr);
    // The creature bound to the placement id; null for 0 or none.
    CMonster* FindMonsterOfObject(u8 objectId);
    // Fills every bag not filled yet from its stored item list, once.
    void FillBags(const CItemCatalogue& catalogue, CRandom& random);
    const CBagItemList* BagList(u8 bagId) const;

    // The cells: the whole underground map, or the rectangle (x, y, w, h) of a surface piece into the
    // window at (wx, wy). Both reset the section first when it is stale. A missing 'H' record leaves
    // the cells reset. Cell references go through `refs`.
    void LoadIntoCellWindow(CMapCell* cells, CStoredCell* stored, const CCellRefs& refs, u32 clock);
    void LoadPartIntoCellWindow(i32 x, i32 y, i32 w, i32 h, i32 wx, i32 wy, CMapCell* cells,
                                CStoredCell* stored, const CCellRefs& refs, u32 clock);

    // The decoding of an 'H' record itself: the whole map, or a rectangle of a surface piece (cells
    // outside the stored rectangle are left as they are).
    void DecodeCells(const CRecordData& record, CMapCell* cells, CStoredCell* stored,
                     const CCellRefs& refs) const;
    void DecodeCellsPart(const CRecordData& record, i32 x, i32 y, i32 w, i32 h, i32 wx, i32 wy,
                         CMapCell* cells, CStoredCell* stored, const CCellRefs& refs) const;

    CPdbFile* database = nullptr;
    u8 dataVersion = 0;
    CSectionRules rules;
    CRecordPtr surfaceRecord;  // base + 1, kept
    CRecordPtr objectsRecord;  // base + 3, kept: the placements' texts point into it
    std::vector<CPlacement> placements;
    u8 nextObjectId = 1;
    // Creatures by value: a pointer to one lasts only until the next creature is made or removed, so
    // whatever keeps a creature across turns keeps its id.
    std::vector<CMonster> monsters;
    u8 nextMonsterId = 1;     // the ids the section hands out next, kept with its saved state
    CSectionEffects effects;  // what spells, weapons and diseases do to its creatures, by id
    CSectionBags bags;
    std::vector<std::unique_ptr<CBagItemList>> bagLists;  // by bag id - 1 (255 entries when any)
};
