// The grid of item pictures of the inventory and the shop: one entry per kind of item of a container
// (equal items stacked with a count), filtered by item class, sorted, and shown a page of columns x
// rows cells at a time with a selection frame, counts, prices and wear marks. Keys and taps move the
// selection; a tap on a wear mark or the confirm key raises the equip or use signal that the owner
// reads after the command id.
#pragma once

#include <memory>
#include <vector>

#include "core/Types.h"
#include "ui/Widget.h"

class CItemType;
class CRecordHolder;
struct CItemInstance;

// What the list asks of the game about the items it shows.
class IItemListQueries {
public:
    virtual ~IItemListQueries() = default;
    virtual bool IsEquipped(const CItemInstance* item) const = 0;
    // The player's alignment value: negative, zero or positive.
    virtual int GetAlignment() const = 0;
    virtual u32 AdjustPrice(u32 price, bool buying) const = 0;
    virtual u32 GetValue(const CItemInstance& item) const = 0;
};

enum ItemEntryFlag : u8 {
    kEntryNotStacked = 0x01,
    kEntryMagic = 0x02,
    kEntryTypeFlag4 = 0x04,
    kEntryWearable = 0x08,
    kEntryWorn = 0x10,
    kEntryUnusable = 0x20,
    kEntryTypeFlag10 = 0x40,
};

struct CItemListEntry {
    const CItemType* type = nullptr;
    const CItemInstance* item = nullptr;
    u32 value = 0;
    CRecordHolder* picture = nullptr;
    u32 nameKey = 0;
    u16 count = 0;
    u8 itemClass = 0;
    u8 subclass = 0;
    u8 flags = 0;
};

// Items of one type in one state, already stacked by their owner, with the entry flags the owner
// worked out (wearable, worn, forbidden by alignment).
struct CItemListStack {
    const CItemInstance* item = nullptr;
    u16 count = 1;
    u8 flags = 0;
};

// The order of the lists: by class (potions before ingredients), subclass, the first four letters of
// the name, then the whole name.
bool ItemTypeSortsBefore(const CItemType& a, const CItemType& b);

class CItemList : public CWidget {
public:
    static constexpr u16 kWornMark = 3385;
    static constexpr u16 kWearableMark = 3386;
    static constexpr u16 kUnusableMark = 3387;

    CItemList();

    void SetEntryLayout(CRecordHolder* const* selectionFrame, i32 cellWidth, i32 cellHeight, i32 columns,
                        i32 rows, u32 pricePercent, u32 shop, CRecordHolder* const* framePictures,
                        u32 frameSides);
    // merchantMask < 0: no merchant; else only items whose class flag shares a bit with it.
    void Fill(const std::vector<const CItemInstance*>& items, int classFilter, int merchantMask,
              const IItemListQueries& queries);
    // Shows stacks its owner made, in the owner's order; the selection and page stay where they were
    // (clamped).
    void ShowStacks(const std::vector<CItemListStack>& stacks);
    void Select(int index);
    void SelectItem(const CItemInstance* item);
    void PageUp();
    void PageDown();
    void DrawEntryAt(int index);

    u32 OnKey(u32 key) override;
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    int Count() const { return static_cast<int>(entries.size()); }
    int PageSize() const { return columns * rows; }
    const CItemListEntry* EntryAt(int index) const {
        return index >= 0 && index < Count() ? entries[static_cast<size_t>(index)].get() : nullptr;
    }

    u32 background = 0;
    u32 font = 1;
    CRecordHolder* const* selectionFrame = nullptr;
    CRecordHolder* const* framePictures = nullptr;
    i32 separatorWidth = 0;
    i32 separatorHeight = 0;
    i32 columns = 1;
    i32 rows = 1;
    i32 cellWidth = 0;
    i32 cellHeight = 0;
    u32 frameSides = 0;
    u32 pricePercent = 10;
    u32 shop = 0;
    i32 markSize = 16;
    u32 equipSignal = 0;
    u32 useSignal = 0;
    u32 buying = 0;
    i32 gridX = 0;
    i32 gridY = 0;
    i32 first = 0;
    i32 selected = -1;
    const CItemListEntry* selectedEntry = nullptr;
    std::vector<std::unique_ptr<CItemListEntry>> entries;

    // The top-left corner of an entry's cell on the page shown; false when it is on another page.
    bool CellOf(int index, i32& cx, i32& cy) const;

private:
    std::unique_ptr<CItemListEntry> MakeEntry(const CItemInstance& item, u16 count) const;
    void DrawCell(int index, i32 cx, i32 cy);
    void ResetOwnerGuard();
};
