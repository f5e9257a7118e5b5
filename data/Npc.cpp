#include "data/Npc.h"

#include <algorithm>

#include "core/Random.h"
#include "core/Stream.h"
#include "data/CreatureCatalogue.h"
#include "data/ItemType.h"
#include "data/MapObjectRecords.h"
#include "data/RuleContext.h"

void CNpc::Release() {
    if (items) {
        items->FreeAll<CNpcItem>();
        delete items;
        items = nullptr;
    }
    delete dialogue;
    dialogue = nullptr;
    SetName(nullptr);
}

namespace {

bool ReadNpc(CStream& stream, CNpc& n, u32 version) {
    stream.MatchByte(0x2A);
    n.SerializeName(stream, 0);
    for (int i = 0; i < 3; ++i) stream.SerializeStringRef(n.texts[i]);
    if (version > 48) stream.SerializeStringRef(n.texts[3]);
    if (version > 55) stream.SerializeStringRef(n.texts[4]);
    if (version > 80) stream.SerializeStringRef(n.texts[5]);
    stream.Align(4);
    stream.SerializeU32(n.maxPayment);
    if (version > 68) stream.SerializeU8(n.merchantLevel);
    stream.SerializeU16(n.classMask);
    for (u8& b : n.bytes) stream.SerializeU8(b);
    stream.SerializeU8(n.trainerSkill);
    if (version > 103) stream.SerializeU16(n.maxBet);
    u8 hasItems = 0;
    stream.SerializeU8(hasItems);
    if (hasItems) {
        n.items = new CPointerArray;
        u16 count = 0;
        stream.SerializeU16(count);
        n.items->Reserve(count);
        for (u32 i = 0; i < count && !stream.HasError(); ++i) {
            auto* item = new CNpcItem;
            stream.MatchByte(0x29);
            // The second text read is the pair's first field.
            stream.SerializeStringRef(item->second);
            stream.SerializeStringRef(item->first);
            if (stream.HasError() || !n.items->Add(item)) delete item;
        }
    }
    u8 hasDialogue = 0;
    stream.SerializeU8(hasDialogue);
    if (hasDialogue) {
        n.dialogue = new CDialogue;
        n.dialogue->Read(stream, version, false);
    }
    if (version > 56) stream.SerializeU8(n.hours);
    if (version > 66) stream.SerializeU8(n.markByte);
    return !stream.HasError();
}

}  // namespace

bool CNpcList::Load(CRecordReader& reader, u32 version) {
    u16 count = 0;
    if (!ReadCountRecord(reader, 0x2B, count)) return false;
    return ReadElementRecords<CNpc>(reader, count, npcs_, buffers_,
                                    [version](CStream& stream, CNpc& npc) { ReadNpc(stream, npc, version); });
}

void CNpcList::Clear() {
    npcs_.DeleteAll<CNpc>();
    buffers_.Clear();
}

bool CPortraitList::Load(CRecordReader& reader, u32 version) {
    return LoadRecord(reader.NextRecord(), version);
}

bool CPortraitList::LoadRecord(CRecordData* record, u32 version) {
    if (!record) return false;
    CStream stream;
    stream.InitForReading(*record);
    stream.MatchByte(0x25);
    u16 count = 0;
    stream.SerializeU16(count);
    portraits_.Reserve(count);
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        auto* p = new CPortrait;
        stream.MatchByte(0x26);
        p->SerializeName(stream, 0);
        if (version > 10) stream.SerializeU8(p->selectable);
        if (stream.HasError() || !portraits_.Add(p)) delete p;
    }
    buffers_.Keep(record);
    return !stream.HasError();
}

void CPortraitList::Clear() {
    portraits_.DeleteAll<CPortrait>();
    buffers_.Clear();
}

void UpdateNpcWillingness(const IRulePlayer& player, CNpc& npc, bool night) {
    npc.talkFlag = 1;
    int fame = player.GetFame();
    int personality = player.GetBaseAttributeValue(5);
    if (fame >= 50 || personality >= 40) return;
    if (fame >= 0 && player.GetCrime() == 0) {
        bool undead = player.GetRace() == 1;
        u8 npcRace = npc.GetRace();
        if ((undead && npcRace != 1) || (!undead && npcRace == 1)) {
            npc.talkFlag = 0;
            return;
        }
        if ((npcRace == 1 || !night) && personality >= 10) return;
    }
    npc.talkFlag = 0;
}

u16 GetStockCondition(const CItemType& type, CRandom& random) {
    if (type.IsCountedWeapon()) return static_cast<u16>(random.Next(10) + 10);
    int c = type.itemClass;
    if (c == kItemWeapon || c == kItemHeavyArmour || c == kItemLightArmour || c == kItemAlchemy ||
        c == kItemKey || c == kItemRepair)
        return type.maxCondition;
    if (c == kItemMagic && type.subclass == 4)
        return type.effects && type.effects->Count() > 0
                   ? static_cast<u16>(std::max<int>(type.effects->At(0)->amount, 0))
                   : 0;
    return 0;
}

void CreateShopStock(const CNpc& merchant, const CItemCatalogue& catalogue, CRandom& random,
                     IShopStock& stock) {
    u8& flags = stock.StockFlags();
    if (flags & 0x80) return;
    flags |= 0x80;
    stock.RemoveAllItems();
    const int G = merchant.merchantLevel;
    if (G == 0 || G > kMaxItemGroup) return;
    const u16 mask = merchant.classMask;
    for (int c = 1; c <= kMaxItemClass; ++c) {
        const CItemClassFlag& flag = CItemCatalogue::GetClassFlag(c);
        if (!(mask & flag.bit)) continue;
        const std::vector<u16>& items = catalogue.GetGroupClassList(G, c);
        static const std::vector<u16> kNone;
        const std::vector<u16>& more = G < 5 ? catalogue.GetGroupClassList(G + 1, c) : kNone;
        if (mask & 0x80) {
            for (u16 index : items) {
                const CItemType* type = catalogue.GetItemType(index);
                if (type && (!stock.HoldsItemType(*type) || random.Next(100) > 50))
                    stock.AddItem(CreateItemInstance(*type, -1, &random));
            }
            for (u16 index : more) {
                const CItemType* type = catalogue.GetItemType(index);
                if (type && (!stock.HoldsItemType(*type) || random.Next(100) > 60))
                    stock.AddStockEntry(*type, 0, GetStockCondition(*type, random));
            }
            continue;
        }
        const int b = flag.weight;
        const int B = G == 5 ? b : b / 3;
        const int picks = 1 + B + static_cast<int>(random.Next(B));
        for (int i = 0; i < picks && !items.empty(); ++i) {
            const CItemType* type = catalogue.GetItemType(items[random.Next(static_cast<i32>(items.size()))]);
            if (type) stock.AddItem(CreateItemInstance(*type, -1, &random));
        }
        if (G < 5) {
            const int B2 = 2 * b / 3;
            const int picks2 = 1 + B2 + static_cast<int>(random.Next(B2));
            for (int i = 0; i < picks2 && !more.empty(); ++i) {
                const CItemType* type =
                    catalogue.GetItemType(more[random.Next(static_cast<i32>(more.size()))]);
                if (type) stock.AddStockEntry(*type, 0, GetStockCondition(*type, random));
            }
        }
    }
}

const char* GetPortraitName(const CMapObjectRecord* object, const CMonsterType* creature) {
    const char* name = nullptr;
    if (object != nullptr) {
        if (object->typeCode == 12 && object->frames.size() >= 2) name = object->frames[1];
    } else if (creature != nullptr) {
        if (creature->kind == kCreaturePeople)
            name = creature->pictureName;
        else if (creature->creatureKind != nullptr)
            name = creature->creatureKind->secondLook;
    }
    // The portrait panel always needs a picture: a partner that names none shows the unknown head.
    return name != nullptr && name[0] != 0 ? name : kUnknownPortrait;
}
