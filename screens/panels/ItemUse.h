// Using and equipping the selected item of the player's list, without the dialogs they open: what a
// use opens or refuses, the lessons of books and spellbooks, and where a worn item goes.
#pragma once

#include "core/Str.h"
#include "core/Types.h"

class CItemType;
class CPlayer;
struct CItemInstance;
struct CRuleContext;

// Whether the use button shows for an item of this type (books, letters, maps, apparatus,
// spellbooks, repair hammers).
bool ShowsUseButton(const CItemType& type);

struct CItemUseOutcome {
    enum Kind {
        kNothing,
        kRefusedDanger,    // message; the click sound
        kRefusedUnusable,  // message; the list is refreshed keeping its place
        kOpenReader,       // readerKind 1 book, 2 spellbook, 3 letter or map
        kOpenAlchemy,
        kOpenRepair,
    };
    Kind kind = kNothing;
    int readerKind = 0;
    CStr message;
};

// danger: a fight is going on. unusable: the type is marked unusable.
CItemUseOutcome UseItem(const CItemType& type, bool danger);

// A book's lesson, given once per book type: the notice to show over the reader (empty when there is
// none). The book is remembered as read only when it taught.
CStr LearnFromBook(CPlayer& player, const CItemType& book, const CRuleContext& rules);
// A spellbook's lesson, given once per type; empty notice when the spell is missing from the world.
CStr LearnFromSpellbook(CPlayer& player, const CItemType& book, const CRuleContext& rules);

// Condition below a tenth of the maximum (integer percent); a maximum of 0 counts as 1.
bool IsItemBroken(u32 condition, u32 maxCondition);

struct CEquipOutcome {
    enum Kind {
        kNothing,  // no item, or its alignment forbids it
        kRefused,  // message; the click sound, nothing changed
        kAskHand,  // both places are taken: ask "On left or right hand?"
        kDone,     // worn or removed: message, "bsnd_wear"
    };
    Kind kind = kNothing;
    CStr message;
};

// Equips the item or removes it. forbidden: the entry's alignment flag; detail: the long messages.
CEquipOutcome ToggleEquip(CPlayer& player, CItemInstance* item, bool forbidden, bool danger, bool detail);
// Answers the hand question: the item goes to the left (second) or right place.
CEquipOutcome WieldInHand(CPlayer& player, CItemInstance* item, bool left);
