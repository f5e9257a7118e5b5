// What the craft dialogs need of the game beyond their widgets: the rule tables, the player's gold
// and an NPC's price level. The game implements it; tests hand in their own.
#pragma once

#include <vector>

#include "core/Types.h"

class CNpc;
struct CEffect;
struct CItemInstance;
class CForm;
struct CRuleContext;

class ICraftHost {
public:
    virtual ~ICraftHost() = default;
    virtual const CRuleContext& GetRules() const = 0;
    virtual u32 GetGold() const = 0;
    virtual void SetGold(u32 gold) = 0;
    // The NPC's price level (its price variable when it names one above 0, else its own byte).
    virtual int GetPriceLevel(const CNpc& npc) const = 0;
    // The player's items in their order.
    virtual std::vector<CItemInstance*> GetCarriedItems() { return {}; }
    // Whether the player knows a spell of schools 1..6 (a magic item without effects needs one).
    virtual bool KnowsAnySpell() const { return false; }
    // Called whenever an enchanting or recharge step ends.
    virtual void ReapplyEquipmentEffects() {}
};

// The two entry dialogs of the enchanting screen, as it sees them: one opens on a copy of the entry
// for the item's source kind and passes 25 or 26 to the screen when it closes; the screen then reads
// the edited copy.
class IEnchantEntryEditor {
public:
    virtual ~IEnchantEntryEditor() = default;
    // The form now showing the entry, or null when the source kind has no entry dialog.
    virtual CForm* OpenEntry(const CEffect& entry, int available, int source) = 0;
    virtual const CEffect& GetEditedEntry() const = 0;
};
