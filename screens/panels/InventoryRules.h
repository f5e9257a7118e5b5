// The inventory page without its widgets: the entries of the player's or a container's items under a
// class filter, the double tap, and taking and dropping one item at a time. Every instance is in
// exactly one container at any moment: an item moves only after it left its source.
#pragma once

#include <vector>

#include "core/Str.h"
#include "core/Types.h"

class CItemBag;
class CItemType;
class CPlayer;
struct CItemInstance;

// The entry flags the page and the item actions read.
inline constexpr u8 kInvEntryEquippable = 0x08;
inline constexpr u8 kInvEntryEquipped = 0x10;
inline constexpr u8 kInvEntryForbidden = 0x20;
inline constexpr u8 kInvEntryUnusable = 0x40;

inline constexpr int kInventoryFilterCount = 9;
inline constexpr u32 kDoubleTapMs = 400;
inline constexpr u32 kInventoryMessageMs = 3000;

// Whether filter 0..8 lists an item of this class and subclass (filter 4 also lists spellbooks).
bool FilterListsItem(int filter, int itemClass, int subclass);
// The filter 1..8 whose button an item of this class enables; 0 for none.
int FilterEnabledByClass(int itemClass);
// The filter a tap on the paper doll selects for the tapped item's class.
int PaperDollFilter(int itemClass);
// A second tap on the same entry 1..400 ms after the first.
bool IsDoubleTap(int lastIndex, u32 lastTime, int index, u32 now);

// What a tap on the list does: in the player's list an equip request equips or removes; a double tap
// takes (container) or uses (player); otherwise the entry is selected and, in the player's list with a
// use request while the use button shows, used as well.
enum class InventoryTap { kEquip, kTake, kUse, kSelect, kSelectAndUse };
InventoryTap DecideListTap(bool containerShown, bool equipRequest, bool doubleTap, bool useRequest,
                           bool useButtonShown);

// One entry: a stack of items with equal type, own effects and per-item word; a worn item is an entry
// of its own.
struct CInventoryEntry {
    CItemInstance* item = nullptr;  // the first item of the stack
    u16 count = 1;
    u8 flags = 0;
};

struct CInventoryOutcome {
    enum Kind {
        kNothing,       // nothing selected, or nowhere to put it
        kSwitchedList,  // the other list is shown now
        kDone,          // one item changed hands
    };
    Kind kind = kNothing;
    CStr message;
    const char* sound = nullptr;
};

class CInventoryLists {
public:
    // The player and the container looked into (null when the cell takes no bag).
    void Begin(CPlayer* player, CItemBag* container);

    bool IsShowingContainer() const { return showContainer_; }
    void ShowContainer(bool show);
    int GetFilter() const { return filter_; }
    void SetFilter(int filter);
    const std::vector<CInventoryEntry>& GetEntries() const { return entries_; }
    int GetSelection() const { return selection_; }
    void Select(int index);
    const CInventoryEntry* GetSelectedEntry() const;

    // Refills the list from its source; keep holds the selection index (clamped). A missing source
    // leaves the list as it was.
    void Refresh(bool keep);
    // Whether the filter button 1..8 takes pen input (filter 0 always does).
    bool IsFilterEnabled(int filter) const;

    CInventoryOutcome Take();
    CInventoryOutcome Drop();

private:
    // Take with the player's items shown, or drop with the container's, only shows the other list.
    CInventoryOutcome SwitchList(bool container);
    std::vector<CItemInstance*> CollectItems(bool fromContainer) const;
    bool IsEquipped(const CItemInstance& item) const;
    u8 FlagsOf(const CItemInstance& item) const;
    // The selected entry lost its first item: count down and point it at the next item of its stack
    // still in the source, or drop the entry.
    void AfterTransfer(const CItemInstance* gone);

    CPlayer* player_ = nullptr;
    CItemBag* container_ = nullptr;
    bool showContainer_ = false;
    int filter_ = 0;
    std::vector<CInventoryEntry> entries_;
    int selection_ = -1;
};

// The gold and load line of the panel's frame for a layout mode: gold in the compact money form, load
// and capacity (hundredths) as whole part and first decimal.
void FormatGoldAndLoad(int layoutMode, u32 gold, u32 load, u32 capacity, CStr& out);
// The same line for a label of fewer rows than the text has: the gold on one row and the pack on the
// next when two rows fit, else both on one row; compact leaves out the space after each caption.
void FitGoldAndLoadRows(CStr& text, int rows, bool compact);

// "You have taken 50 gold." and the gold after a coin of `value`: never past the gold limit, while the
// message still names the coin's value.
u32 AddCoinToGold(u32 gold, u32 value);
