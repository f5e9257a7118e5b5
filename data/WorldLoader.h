// The world loader's fixed order: the record kinds of a world database from record 4000 on, each a
// row of (tag, loader). A kind loader reads its records from the running record id and advances it
// past every record it consumed; it fails (false) when a record is missing or damaged, and the world
// then fails to load with that record named.
// The rule records' kinds (abilities, recipes, diseases, items, creatures, dialogue, portraits, NPCs,
// spells, races, skills, attributes) are read by their own lists' loaders into CWorldLists.
#pragma once

#include <functional>
#include <span>

#include "core/Types.h"

class CPdbFile;
class CWorld;
class CWorldLists;
struct CWorldLoadError;

struct CWorldLoadContext {
    CWorld& world;
    CWorldLists& lists;
    CPdbFile* database;
    u16 key;     // the running record id
    u8 version;  // the world's data version
    // Told of each kind read: its row and the record ids [first, end) it used (the inspector lists them).
    std::function<void(const struct CWorldKind& kind, u16 first, u16 end)> trace = {};
    // A kind whose failure lies in another record than the running one names it here (a section's own
    // records, which the directory leads to): record and what it holds.
    u32 failedRecord = 0;
    const char* failedKind = nullptr;
};

using CWorldKindLoader = bool (*)(CWorldLoadContext& context);

struct CWorldKind {
    enum When : u8 { kAlways, kAbove71, kUpTo71 };
    const char* name;  // for the message that names a failed record
    u8 tag;
    When when;
    CWorldKindLoader load;
};

// The 27 rows in file order (the last is the section directory).
std::span<const CWorldKind> WorldKinds();

// Runs every row that the version selects, from record 4000 on; false with the failed record and
// kind in `error` (when given).
bool LoadWorldKinds(CWorldLoadContext& context, CWorldLoadError* error);
