// The item bags of a map section: bags lying in a cell or carried by a creature, each with an id that
// is unique in its section. The section's loaders read them through the container section of the
// saved-state serialisers, which they pass in.
#pragma once

#include "core/PointerArray.h"
#include "core/Types.h"
#include "data/ItemType.h"

#include <functional>

class CStream;

class CItemBag : public IItemReceiver {
public:
    static constexpr u8 kNoPosition = 255;

    CItemBag() = default;
    ~CItemBag() override { RemoveAllItems(); }
    CItemBag(const CItemBag&) = delete;
    CItemBag& operator=(const CItemBag&) = delete;

    void AddItem(CItemInstance* item) override;
    void RemoveAllItems() { items.FreeAll<CItemInstance>(); }
    int GetItemCount() const { return items.GetCount(); }
    CItemInstance* GetItem(int i) const { return items.At<CItemInstance>(i); }

    CPointerArray items;  // CItemInstance, owned
    u16 serial = 0;
    u8 id = 0;
    u8 flags = 0;  // bit 0: removed by RemoveFlaggedBags
    u8 x = kNoPosition;
    u8 y = kNoPosition;
};

// Reads one bag as a container section (the caller's serialiser); false when it failed.
using BagSectionReader = std::function<bool(CStream&, CItemBag&)>;

class CSectionBags {
public:
    CSectionBags() = default;
    ~CSectionBags() { RemoveAllBags(); }
    CSectionBags(const CSectionBags&) = delete;
    CSectionBags& operator=(const CSectionBags&) = delete;

    int Count() const { return bags_.GetCount(); }
    CItemBag* At(int i) const { return bags_.At<CItemBag>(i); }
    CItemBag* FindBagById(u8 id) const;
    // A new bag with the next free id, no position and the given serial; null when all 255 ids are
    // taken.
    CItemBag* CreateBag(u16 serial);
    u8 NewBagId();
    void RemoveBag(CItemBag* bag);
    // Takes a bag read from a saved game; false (and the bag freed) when the list is full.
    bool Adopt(CItemBag* bag);
    void RemoveAllBags() { bags_.DeleteAll<CItemBag>(); }
    void RemoveFlaggedBags();

    // Empties the bags, then a 2-aligned u16 count, the next bag id and count bags.
    bool ReadBags(CStream& stream, const BagSectionReader& read);
    // A 2-aligned u16 count and an unused byte, then count bags; one whose id the section already has
    // is destroyed, the others are appended.
    bool MergeBags(CStream& stream, const BagSectionReader& read);

    u8 nextBagId = 1;

private:
    CPointerArray bags_;
};
