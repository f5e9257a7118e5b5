// How the game view opens the panel screen (screen 4) on the player's items: it hands over the bag
// that the panel works with, then switches to screen 4 keeping itself on the stack. A bag cannot
// travel in a screen's 32-bit entry words, so it goes through this call first.
#pragma once

#include "core/Types.h"

class CItemBag;

class IPanelEntry {
public:
    virtual ~IPanelEntry() = default;
    // The player's items, beside the bag on the player's cell (null when the cell takes no bag: then
    // nothing can be dropped). `target` is the reference the game view searches for when the panel
    // closes.
    virtual void PrepareInventory(CItemBag* cellBag, u32 target) = 0;
    // A bag or pile the player looks into, and the game event that opened it (0 for none).
    virtual void PrepareContainer(CItemBag* container, u32 openingEvent, u32 target) = 0;
};

// What the panel asks of the game view when it closes after the player looked into a container: the
// view then looks again at what lies in front of the player (the pile may be gone or changed).
class IPanelReturn {
public:
    virtual ~IPanelReturn() = default;
    // Whether the player's cell holds an item holder: the map object the cell names has type 4 and the
    // cell's object byte is set.
    virtual bool CellHoldsItems() const = 0;
    // Runs the view's target search for the reference.
    virtual void FindTargetInFront(u32 reference) = 0;
};
