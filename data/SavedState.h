// The saved forms of the small objects that a saved game holds: item entries and the containers that
// hold them (the player's inventory, the bags of a section), the creatures and placed map objects of a
// section, the creatures' effect holders, and a reference to a named record. Each object has one body
// that reads or writes by the stream's mode. The larger objects write a flags byte of the fields that
// differ from zero and then only those fields; reading sets the others to zero, which is what made the
// writer leave them out.
//
// Things are referred to by their index in one of the saved game's name tables (CSaveStringTable): the
// writer adds the name, the reader takes the name at the index and finds the thing again in the open
// world. A thing the world no longer has is read and dropped.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "core/Types.h"
#include "data/SavedGame.h"

class CStream;
class CItemCatalogue;
class CCreatureCatalogue;
class CItemType;
class CMapSection;
struct CItemInstance;
struct CMonster;
struct CPlacement;
struct CEffectHolder;
class CItemBag;

namespace savestate {

// The position bytes of a container without a place (the player's inventory).
constexpr u8 kNoPosition = 255;

// An item entry after its type reference, which the caller reads first to make the entry: a flags byte
// (1 count, 4 own effect list), the count, the effect list.
void SerializeItemBody(CStream& stream, CItemInstance& item);
// A whole entry: the type reference (the type's id in the item-type table), then the body.
void WriteItemEntry(CStream& stream, CSaveStringTable& strings, CItemInstance& item);

// The head of a container: its id, a spare byte and its cell (255, 255 for none).
struct CContainerHead {
    u8 id = 0;
    u8 extra = 0;
    u8 x = kNoPosition;
    u8 y = kNoPosition;
};

// A container: id, flags (1 spare byte, 2 position, 4 entries), [spare], [x, y], [count, entries].
void WriteContainer(CStream& stream, CSaveStringTable& strings, const CContainerHead& head,
                    const std::vector<CItemInstance*>& items);
// Reads a container after its id (which the caller has read into `head`). Each entry read goes to
// `take` in stream order; an entry whose item type the catalogue lacks is read and given as null, so
// that a caller counting entries (equipment positions) keeps its count. False when the stream failed.
using ItemTaker = std::function<void(std::unique_ptr<CItemInstance>)>;
bool ReadContainer(CStream& stream, const CSaveStringTable& strings, const CItemCatalogue* catalogue,
                   CContainerHead& head, const ItemTaker& take);

// A section's placed map object after its id: flags (1 bag id, 2 level word, 4 state flags, 8 state
// byte), then those fields. Its texts and cell come from the world data.
void SerializePlacementState(CStream& stream, CPlacement& placement);
// A section's creature after its id and type reference: flags (1 hp, 2 flags, 4 map object, 8 bag,
// 16 cell), then those fields.
void SerializeMonsterBody(CStream& stream, CMonster& monster);
// A creature's effect holder: its creature id, a count and the entries (each: class, kind, id text,
// amount, turns, target).
// False when the stream failed or the count cannot be right.
bool SerializeEffectHolder(CStream& stream, CEffectHolder& holder);

// A reference to a named record: marker 24, the name's index in one table, three bytes and, for save
// versions above 27, a fourth.
struct CRecordRef {
    const void* record = nullptr;  // what the name was found as on reading; null when it is gone
    std::string name;
    u8 bytes[4] = {};
};
using RecordFinder = std::function<const void*(const char* name)>;
// False when the marker is missing or the stream failed.
bool SerializeRecordRef(CStream& stream, CSaveStringTable& strings, CSaveStringTable::Table table,
                        CRecordRef& ref, u32 version, const RecordFinder& find);

// One section's saved state in either direction: the last visit, the next ids, the placed objects,
// the explored map and, for a visited section, its creatures, bags and effect holders. Reading empties
// the section's creatures and bags first. A creature's type is found by name among the section's world's
// types and then in the creature catalogue, which holds the types of every open world (a script may make
// a creature of another world's type); creatures whose type is gone, creatures outside the section, and
// things with an id the section has already are dropped. False when the record is damaged.
bool SerializeSectionState(CStream& stream, CMapSection& section, CSaveStringTable& strings, u32 version,
                           const CItemCatalogue* catalogue, const CCreatureCatalogue* creatures = nullptr);

}  // namespace savestate
