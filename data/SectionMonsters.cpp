// The creatures of a section as scripts and the world's searches change them: made from a monster
// type, removed by type, found by the map object they are bound to or by that object's name.
#include <cstring>

#include "data/CreatureCatalogue.h"
#include "data/MapSection.h"
#include "data/World.h"

namespace {

u16 TypeIndexIn(const CWorld* world, const CMonsterType* type) {
    if (!world) return 0;
    for (u32 i = 1; i < world->tableE.Count(); ++i)
        if (world->tableE.entries[i] == type) return static_cast<u16>(i);
    return 0;
}

}  // namespace

CMonster* CMapSection::CreateMonster(const CMonsterType* type, i32 x, i32 y) {
    if (!type) return nullptr;
    int id = NewSectionId(nextMonsterId, [this](u8 used) { return FindMonster(used) != nullptr; });
    if (id == 0) return nullptr;
    CMonster m;
    m.type = type;
    m.typeIndex = TypeIndexIn(world, type);
    m.id = static_cast<u8>(id);
    m.hp = type->values[3];
    m.flags = 2;
    // Positions keep their low eight bits as the stored form does; off the map they read as none.
    m.x = static_cast<u8>(x);
    m.y = static_cast<u8>(y);
    if (type->kind == kCreaturePeople) {
        CItemBag* bag = bags.CreateBag(0);
        if (!bag) return nullptr;
        m.bagId = bag->id;
    }
    monsters.push_back(m);
    return &monsters.back();
}

int CMapSection::RemoveMonstersOfType(const CMonsterType* type, std::vector<u8>* removedIds) {
    int removed = 0;
    for (size_t i = monsters.size(); i-- > 0;) {
        const CMonster& m = monsters[i];
        if (m.type != type || !(m.flags & 0x01)) continue;
        delete effects.DetachMonsterEffects(m.id);
        if (removedIds) removedIds->push_back(m.id);
        monsters.erase(monsters.begin() + static_cast<std::ptrdiff_t>(i));
        ++removed;
    }
    return removed;
}

CMonster* CMapSection::FindMonsterOfObject(u8 objectId) {
    if (objectId == 0) return nullptr;
    for (CMonster& m : monsters)
        if (m.objectId == objectId) return &m;
    return nullptr;
}

bool CWorld::FindMonsterByName(const char* name, CMapSection*& section, CMonster*& monster) const {
    section = nullptr;
    monster = nullptr;
    if (!name || !*name) return false;
    for (const auto& s : sections) {
        const CPlacement* placement = s->FindPlacementByName(name);
        if (!placement) continue;
        section = s.get();
        monster = s->FindMonsterOfObject(placement->id);
        return true;
    }
    return false;
}
