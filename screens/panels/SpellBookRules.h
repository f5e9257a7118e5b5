// The spell book's and the mark and recall dialog's rules without their widgets: the magic-item lines
// with their counts and charges, the entry keys that name a carried item, the mark slot lines and
// where a recall leads.
#pragma once

#include <string>
#include <vector>

#include "core/Str.h"
#include "core/Types.h"

class CPlayer;
struct CItemInstance;
struct CMarkedPosition;

struct CRuleContext;

// One line of the magic-items page: key = the index of the item in the player's items ("%u").
struct CMagicItemLine {
    int index = 0;
    CStr text;
};

// The magic-items page: scrolls first, grouped by type with their count, then each usable wand with
// its charges; hidden types, magic the player's race may not use and empty wands are left out.
std::vector<CMagicItemLine> BuildMagicItemLines(const CPlayer& player, const CRuleContext* rules);

// The message under a spell page (1..6 schools, 7 magic items); empty when the page has entries.
void FormatSpellPageMessage(int page, int race, bool empty, const char* schoolName, CStr& out);

// The index of the carried item a magic-items entry key names ("%u"); -1 when the key is no decimal
// number or past the items.
int ParseItemEntryKey(const char* key, int itemCount);
// The item an entry key names; null when the key does not name one.
CItemInstance* ItemForEntryKey(const CPlayer& player, const char* key);

// A wand's line: its name, then " (%u ch)" when full or " (%u/%u ch)". A wand whose effect list is
// empty has no maximum and shows no charges.
void FormatWandLine(const CItemInstance& wand, const char* name, CStr& out);
// A scroll group's line: the name, then " (%u)" when more than one.
void FormatScrollLine(const char* name, u32 count, CStr& out);

// The first visible row of the spell book's and the mark dialog's lists: the page of the selection,
// with at least one row per page even when the list's layout element is missing (no height).
i32 FirstVisibleRow(i32 selection, i32 listHeight, i32 rowHeight);

// The line of mark slot `index` (from 0).
void FormatMarkSlotLine(int index, const CMarkedPosition& slot, CStr& out);
// Stores the current place in mark slot `slot` (the player's slots, grown by UpdateMarkSlots): the
// world's id and name, the map's id and name, the cell and the facing quarter. False for a slot the
// player does not have.
struct CMarkPlace {
    const char* worldId = "";
    const char* worldName = "";
    const char* mapId = "";
    const char* mapName = "";
    int x = 0, y = 0, facingDegrees = 0;
};
bool MarkPosition(CPlayer& player, int slot, const CMarkPlace& place);

// The direction 0..3 stored for a facing angle in degrees.
u8 FacingToDirection(int degrees);

// What recall needs of the open worlds: the world by its id (first four characters) and whether it
// has the map.
class IRecallWorlds {
public:
    virtual ~IRecallWorlds() = default;
    virtual bool HasWorld(const char* worldId) const = 0;
    virtual bool HasMap(const char* worldId, const char* mapId) const = 0;
};

struct CRecallOutcome {
    bool travel = false;  // post the map transition to the slot's place
    CStr message;         // "Teleport failed." when it cannot
};

CRecallOutcome RecallSlot(const CMarkedPosition& slot, const IRecallWorlds& worlds);
