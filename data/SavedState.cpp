#include "data/SavedState.h"

#include <algorithm>
#include <cstring>

#include "core/Str.h"
#include "core/Stream.h"
#include "data/CreatureCatalogue.h"
#include "data/Effect.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/SectionEffects.h"
#include "data/World.h"

namespace savestate {
namespace {

// The monster types a section's creatures name are those of its world's 'E' table.
const char* MonsterTypeName(const CMapSection& section, const CMonster& monster) {
    if (section.world && monster.typeIndex != 0 && monster.typeIndex < section.world->tableE.names.size())
        return section.world->tableE.names[monster.typeIndex];
    return monster.type ? static_cast<const CMonsterType*>(monster.type)->GetName() : nullptr;
}

// The table index of a monster type name, or 0 when the world has none that resolved.
u16 FindMonsterTypeIndex(const CMapSection& section, const char* name) {
    if (!section.world || !name) return 0;
    const CIndexTable& table = section.world->tableE;
    for (u32 i = 1; i < table.Count() && i < table.names.size(); ++i)
        if (table.entries[i] && table.names[i] && std::strcmp(table.names[i], name) == 0)
            return static_cast<u16>(i);
    return 0;
}

// A count that cannot be right: more entries than bytes left in the record (every entry takes one).
bool CountTooLarge(const CStream& stream, u32 count) {
    return !stream.IsWriting() &&
           count > stream.GetCapacity() - std::min(stream.GetOffset(), stream.GetCapacity());
}

}  // namespace

void SerializeItemBody(CStream& s, CItemInstance& item) {
    u8 flags = s.IsWriting() ? static_cast<u8>((item.count != 0 ? 1 : 0) | (item.effects ? 4 : 0)) : 0;
    s.SerializeU8(flags);
    if (!s.IsWriting()) {
        item.count = 0;
        delete item.effects;
        item.effects = nullptr;
    }
    if (flags & 1) s.SerializeU16(item.count);
    if (flags & 4) {
        if (s.IsWriting()) {
            SaveEffectList(s, *item.effects);
        } else {
            item.effects = new CEffectList;
            LoadEffectList(s, *item.effects);
        }
    }
}

void WriteItemEntry(CStream& s, CSaveStringTable& strings, CItemInstance& item) {
    u16 ref = strings.InternObjectName(item.type ? item.type->GetName() : nullptr);
    s.SerializeU16(ref);
    SerializeItemBody(s, item);
}

void WriteContainer(CStream& s, CSaveStringTable& strings, const CContainerHead& head,
                    const std::vector<CItemInstance*>& items) {
    CContainerHead h = head;
    s.SerializeU8(h.id);
    u8 flags = static_cast<u8>((h.extra != 0 ? 1 : 0) | (h.x != kNoPosition || h.y != kNoPosition ? 2 : 0) |
                               (items.empty() ? 0 : 4));
    s.SerializeU8(flags);
    if (flags & 1) s.SerializeU8(h.extra);
    if (flags & 2) {
        s.SerializeU8(h.x);
        s.SerializeU8(h.y);
    }
    if (flags & 4) {
        u16 count = static_cast<u16>(std::min<size_t>(items.size(), 0xFFFF));
        s.SerializeU16(count);
        for (u16 i = 0; i < count; ++i) WriteItemEntry(s, strings, *items[i]);
    }
}

bool ReadContainer(CStream& s, const CSaveStringTable& strings, const CItemCatalogue* catalogue,
                   CContainerHead& head, const ItemTaker& take) {
    u8 flags = 0;
    s.SerializeU8(flags);
    head.extra = 0;
    head.x = head.y = kNoPosition;
    if (flags & 1) s.SerializeU8(head.extra);
    if (flags & 2) {
        s.SerializeU8(head.x);
        s.SerializeU8(head.y);
    }
    if (!(flags & 4)) return !s.HasError();
    u16 count = 0;
    s.SerializeU16(count);
    if (CountTooLarge(s, count)) return false;
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        u16 ref = 0;
        s.SerializeU16(ref);
        const char* name = strings.NameAt(CSaveStringTable::kItemTypes, ref);
        auto item = std::make_unique<CItemInstance>();
        item->type = catalogue && name ? catalogue->FindItemType(name) : nullptr;
        SerializeItemBody(s, *item);
        if (s.HasError()) break;
        if (!item->type) item.reset();
        take(std::move(item));
    }
    return !s.HasError();
}

void SerializePlacementState(CStream& s, CPlacement& p) {
    u8 flags = s.IsWriting() ? static_cast<u8>((p.bagId != 0 ? 1 : 0) | (p.level != 0 ? 2 : 0) |
                                               (p.flags != 0 ? 4 : 0) | (p.state != 0 ? 8 : 0))
                             : 0;
    s.SerializeU8(flags);
    if (!s.IsWriting()) {
        p.bagId = 0;
        p.level = 0;
        p.flags = 0;
        p.state = 0;
    }
    if (flags & 1) s.SerializeU8(p.bagId);
    if (flags & 2) s.SerializeU16(p.level);
    if (flags & 4) s.SerializeU8(p.flags);
    // The state byte that scripts set (setstate) and read back (getstate).
    if (flags & 8) s.SerializeU8(p.state);
}

void SerializeMonsterBody(CStream& s, CMonster& m) {
    u8 flags = s.IsWriting() ? static_cast<u8>((m.hp != 0 ? 1 : 0) | (m.flags != 0 ? 2 : 0) |
                                               (m.objectId != 0 ? 4 : 0) | (m.bagId != 0 ? 8 : 0) |
                                               (m.x != 0 || m.y != 0 ? 16 : 0))
                             : 0;
    s.SerializeU8(flags);
    if (!s.IsWriting()) {
        m.hp = 0;
        m.flags = m.objectId = m.bagId = m.x = m.y = 0;
    }
    if (flags & 1) s.SerializeU16(m.hp);
    if (flags & 2) s.SerializeU8(m.flags);
    if (flags & 4) s.SerializeU8(m.objectId);
    if (flags & 8) s.SerializeU8(m.bagId);
    if (flags & 16) {
        s.SerializeU8(m.x);
        s.SerializeU8(m.y);
    }
}

bool SerializeEffectHolder(CStream& s, CEffectHolder& holder) {
    s.SerializeU8(holder.creatureId);
    u16 count = static_cast<u16>(std::min(holder.Count(), 0xFFFF));
    s.SerializeU16(count);
    if (CountTooLarge(s, count)) return false;
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        CActiveEffectEntry* entry = s.IsWriting() ? holder.At(static_cast<int>(i)) : new CActiveEffectEntry;
        u8 turns = static_cast<u8>(entry->turns), kind = static_cast<u8>(entry->kind);
        u16 amount = static_cast<u16>(entry->amount);
        s.SerializeU8(entry->effectClass);
        s.SerializeU8(kind);
        s.SerializeOwnedString(entry->id);
        s.SerializeU16(amount);
        s.SerializeU8(turns);
        s.SerializeU8(entry->target);
        if (s.IsWriting()) continue;
        entry->turns = static_cast<i8>(turns);
        entry->kind = static_cast<i8>(kind);
        entry->amount = static_cast<i16>(amount);
        if (s.HasError() || !holder.entries.Add(entry)) delete entry;
    }
    return !s.HasError();
}

bool SerializeRecordRef(CStream& s, CSaveStringTable& strings, CSaveStringTable::Table table, CRecordRef& ref,
                        u32 version, const RecordFinder& find) {
    if (!s.MatchByte(24)) return false;
    u16 index = s.IsWriting() ? strings.Intern(table, ref.name.c_str()) : 0;
    s.SerializeU16(index);
    for (int i = 0; i < 3; ++i) s.SerializeU8(ref.bytes[i]);
    if (version > 27) s.SerializeU8(ref.bytes[3]);
    if (!s.IsWriting()) {
        const char* name = strings.NameAt(table, index);
        ref.name = name ? name : "";
        ref.record = name && find ? find(name) : nullptr;
    }
    return !s.HasError();
}

namespace {

// Every cell of the section's square explored; the bits past a row's last cell do not count.
bool AllCellsExplored(const CMapSection& section) {
    if (section.explored.empty()) return false;
    for (i32 y = 0; y < section.height; ++y)
        for (i32 x = 0; x < section.width; ++x)
            if (!section.IsExplored(x, y)) return false;
    return true;
}

bool SerializeExplored(CStream& s, CMapSection& section) {
    bool any = false;
    for (u8 byte : section.explored) any = any || byte != 0;
    const bool all = any && AllCellsExplored(section);
    u8 mode = section.lastVisit == 0 || !any ? 0 : all ? 1 : 2;
    s.SerializeU8(mode);
    if (s.IsWriting()) {
        if (mode == 2)
            for (u8 byte : section.explored) s.SerializeU8(byte);
        return !s.HasError();
    }
    if (mode > 2) return false;
    if (mode == 2) {
        // The map is as large as the running section's: a record too short for it is damaged.
        if (CountTooLarge(s, static_cast<u32>(section.explored.size()))) return false;
        for (u8& byte : section.explored) s.SerializeU8(byte);
    } else {
        std::fill(section.explored.begin(), section.explored.end(), mode == 1 ? 0xFF : 0);
    }
    return !s.HasError();
}

bool ReadMonsters(CStream& s, CMapSection& section, const CSaveStringTable& strings,
                  const CCreatureCatalogue* creatures) {
    section.monsters.clear();
    u16 count = 0;
    s.SerializeU16(count);
    if (CountTooLarge(s, count)) return false;
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        CMonster m;
        u16 ref = 0;
        s.SerializeU8(m.id);
        s.SerializeU16(ref);
        SerializeMonsterBody(s, m);
        if (s.HasError()) break;
        const char* name = strings.NameAt(CSaveStringTable::kMonsterTypes, ref);
        m.typeIndex = FindMonsterTypeIndex(section, name);
        if (m.typeIndex != 0)
            m.type = section.world->MonsterTypeAt(m.typeIndex);
        else if (creatures && name)
            m.type = creatures->FindMonsterType(name);
        // A creature whose type is gone, or that stands outside the section, has nothing to be.
        if (!m.type || m.id == 0 || m.x >= section.width || m.y >= section.height || section.FindMonster(m.id))
            continue;
        const auto* type = static_cast<const CMonsterType*>(m.type);
        const u16 maxHp = section.rules.maxHp ? section.rules.maxHp(m.type) : type->values[3];
        if (static_cast<i16>(m.hp) > static_cast<i32>(maxHp)) m.hp = maxHp;
        if (type->kind != 4) m.flags &= 0x07;
        section.monsters.push_back(m);
    }
    return !s.HasError();
}

bool ReadBags(CStream& s, CMapSection& section, const CSaveStringTable& strings,
              const CItemCatalogue* catalogue) {
    section.bags.RemoveAllBags();
    u16 count = 0;
    s.SerializeU16(count);
    if (CountTooLarge(s, count)) return false;
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        CContainerHead head;
        s.SerializeU8(head.id);
        auto bag = std::make_unique<CItemBag>();
        if (!ReadContainer(s, strings, catalogue, head, [&bag](std::unique_ptr<CItemInstance> item) {
                if (item) bag->AddItem(item.release());
            }))
            break;
        if (head.id == 0 || section.bags.FindBagById(head.id)) continue;
        bag->id = head.id;
        bag->flags = head.extra;
        // A place outside the section would index past its cells: such a bag lies nowhere.
        const bool inside = head.x < section.width && head.y < section.height;
        bag->x = inside ? head.x : kNoPosition;
        bag->y = inside ? head.y : kNoPosition;
        // The bag holds what it held when saved: its stored list has been given out already.
        if (head.id <= section.bagLists.size() && section.bagLists[head.id - 1u])
            section.bagLists[head.id - 1u]->filled = true;
        section.bags.Adopt(bag.release());
    }
    return !s.HasError();
}

bool ReadHolders(CStream& s, CMapSection& section) {
    section.effects.Clear();
    u16 count = 0;
    s.SerializeU16(count);
    if (CountTooLarge(s, count)) return false;
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        auto holder = std::make_unique<CEffectHolder>();
        if (!SerializeEffectHolder(s, *holder)) return false;
        if (section.effects.AttachHolder(holder.get())) holder.release();
    }
    return !s.HasError();
}

}  // namespace

bool SerializeSectionState(CStream& s, CMapSection& section, CSaveStringTable& strings, u32 version,
                           const CItemCatalogue* catalogue, const CCreatureCatalogue* creatures) {
    const bool writing = s.IsWriting();
    s.MatchByte(0x02);
    s.SerializeU32(section.lastVisit);
    if (writing || version > 92) {
        s.SerializeU8(section.nextMonsterId);
        s.SerializeU8(section.bags.nextBagId);
    }
    u16 objects = static_cast<u16>(std::min<size_t>(section.placements.size(), 0xFFFF));
    s.SerializeU16(objects);
    if (CountTooLarge(s, objects)) return false;
    for (u32 i = 0; i < objects && !s.HasError(); ++i) {
        if (writing) {
            CPlacement& p = section.placements[i];
            s.SerializeU8(p.id);
            SerializePlacementState(s, p);
            continue;
        }
        // A saved object the section does not place any more is read and dropped.
        u8 id = 0;
        s.SerializeU8(id);
        CPlacement scratch;
        CPlacement* placement = section.FindPlacement(id);
        SerializePlacementState(s, placement ? *placement : scratch);
    }
    if (!SerializeExplored(s, section)) return false;
    if (section.lastVisit == 0) return true;

    if (!writing) {
        return ReadMonsters(s, section, strings, creatures) && ReadBags(s, section, strings, catalogue) &&
               (version <= 91 || ReadHolders(s, section));
    }
    u16 monsters = static_cast<u16>(std::min<size_t>(section.monsters.size(), 0xFFFF));
    s.SerializeU16(monsters);
    for (u32 i = 0; i < monsters; ++i) {
        CMonster& m = section.monsters[i];
        u16 ref = strings.InternMapStateName(MonsterTypeName(section, m));
        s.SerializeU8(m.id);
        s.SerializeU16(ref);
        SerializeMonsterBody(s, m);
    }
    u16 bags = static_cast<u16>(section.bags.Count());
    s.SerializeU16(bags);
    for (int i = 0; i < bags; ++i) {
        CItemBag& bag = *section.bags.At(i);
        std::vector<CItemInstance*> items;
        for (int k = 0; k < bag.GetItemCount(); ++k) items.push_back(bag.GetItem(k));
        WriteContainer(s, strings, {bag.id, bag.flags, bag.x, bag.y}, items);
    }
    u16 holders = static_cast<u16>(section.effects.GetHolderCount());
    s.SerializeU16(holders);
    for (int i = 0; i < holders; ++i) SerializeEffectHolder(s, *section.effects.HolderAt(i));
    return !s.HasError();
}

}  // namespace savestate
