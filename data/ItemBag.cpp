#include "data/ItemBag.h"

#include "core/Stream.h"
#include "data/SectionEffects.h"

void CItemBag::AddItem(CItemInstance* item) {
    if (item && !items.Add(item)) delete item;
}

CItemBag* CSectionBags::FindBagById(u8 id) const {
    for (int i = 0; i < bags_.GetCount(); ++i)
        if (At(i)->id == id) return At(i);
    return nullptr;
}

u8 CSectionBags::NewBagId() {
    return static_cast<u8>(NewSectionId(nextBagId, [this](u8 id) { return FindBagById(id) != nullptr; }));
}

CItemBag* CSectionBags::CreateBag(u16 serial) {
    u8 id = NewBagId();
    if (id == 0) return nullptr;
    auto* bag = new CItemBag;
    bag->id = id;
    bag->serial = serial;
    if (!bags_.Add(bag)) {
        delete bag;
        return nullptr;
    }
    return bag;
}

bool CSectionBags::Adopt(CItemBag* bag) {
    if (!bag) return false;
    if (bags_.Add(bag)) return true;
    delete bag;
    return false;
}

void CSectionBags::RemoveBag(CItemBag* bag) {
    if (!bag) return;
    for (int i = 0; i < bags_.GetCount(); ++i)
        if (At(i) == bag) delete static_cast<CItemBag*>(bags_.RemoveAt(i));
}

void CSectionBags::RemoveFlaggedBags() {
    for (int i = bags_.GetCount() - 1; i >= 0; --i)
        if (At(i)->flags & 1) delete static_cast<CItemBag*>(bags_.RemoveAt(i));
}

bool CSectionBags::ReadBags(CStream& stream, const BagSectionReader& read) {
    RemoveAllBags();
    u16 count = 0;
    stream.SerializeU16(count);
    stream.SerializeU8(nextBagId);
    bags_.Reserve(count);
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        auto* bag = new CItemBag;
        if (!read(stream, *bag) || stream.HasError() || !bags_.Add(bag)) delete bag;
    }
    return !stream.HasError();
}

bool CSectionBags::MergeBags(CStream& stream, const BagSectionReader& read) {
    u16 count = 0;
    u8 unused = 0;
    stream.SerializeU16(count);
    stream.SerializeU8(unused);
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        auto* bag = new CItemBag;
        if (!read(stream, *bag) || stream.HasError() || FindBagById(bag->id) || !bags_.Add(bag)) delete bag;
    }
    return !stream.HasError();
}
