// A section's own records (base + 1 .. base + 4) and its cells ('H', base + 0).
#include <cstring>

#include "core/PdbFile.h"
#include "core/Stream.h"
#include "data/MapSection.h"
#include "data/World.h"

namespace {

constexpr u32 kOneWeek = 10080;  // minutes

// A bag's container section: ['K'], id, flags, x, y, then its stored item list.
bool ReadBagSection(CStream& s, CItemBag& bag, CBagItemList& list) {
    s.MatchByte('K');
    s.SerializeU8(bag.id);
    s.SerializeU8(bag.flags);
    s.SerializeU8(bag.x);
    s.SerializeU8(bag.y);
    SerializeModifierList(s, list.entries);
    return !s.HasError() && bag.id != 0;
}

}  // namespace

bool CMapSection::LoadRecords(CPdbFile* db, u8 version, const CSectionRules& sectionRules, u32* failedRecord,
                              const char** failedKind) {
    database = db;
    dataVersion = version;
    rules = sectionRules;
    bool ok = true;
    auto fail = [&](u32 record, const char* kind) {
        if (ok && failedRecord) *failedRecord = record;
        if (ok && failedKind) *failedKind = kind;
        ok = false;
    };
    // The cells are read again at every entry; a section without them would be entered as an empty,
    // wall-less place, so a database that lacks them is refused here, where the file can be named.
    {
        CRecordPtr cells = ReadRecordPtr(db, baseRecord);
        if (!cells || !CellsDecode(*cells)) fail(baseRecord, "map section");
    }
    if (IsSurface()) surfaceRecord = ReadRecordPtr(db, baseRecord + 1u);
    placements.clear();
    if ((objectsRecord = ReadRecordPtr(db, baseRecord + 3u))) {
        CStream s;
        s.InitForReading(*objectsRecord);
        if (!LoadObjects(s, version)) fail(baseRecord + 3u, "map objects");
    }
    if (CRecordPtr record = ReadRecordPtr(db, baseRecord + 2u)) {
        CStream s;
        s.InitForReading(*record);
        if (!LoadMonsters(s, version)) fail(baseRecord + 2u, "monsters");
    } else {
        monsters.clear();
    }
    if (CRecordPtr record = ReadRecordPtr(db, baseRecord + 4u)) {
        CStream s;
        s.InitForReading(*record);
        if (!LoadBags(s)) fail(baseRecord + 4u, "item bags");
    } else {
        bags.RemoveAllBags();
    }
    return ok;
}

bool CMapSection::CellsDecode(const CRecordData& record) const {
    CStream s;
    s.InitForReading(record);
    s.MatchByte('H');
    const CCellRefs none;
    CMapCell cell;
    CStoredCell stored;
    // A surface piece draws only the cells its offset table leads to, each checked as it is drawn:
    // its record must be there, as for every section.
    if (IsSurface()) return true;
    const i32 w = width < kWindowSize ? width : kWindowSize;
    const i32 h = height < kWindowSize ? height : kWindowSize;
    for (i32 i = 0; i < w * h; ++i)
        if (!DecodeCell(s, dataVersion, none, cell, stored)) return false;
    return true;
}

bool CMapSection::LoadObjects(CStream& s, u8 version) {
    placements.clear();
    s.MatchByte('I');
    s.SerializeU8(nextObjectId);
    u16 count = 0;
    s.SerializeU16(count);
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        CPlacement p;
        if (version > 52) {
            s.SerializeU16(p.level);
            s.SerializeStringRef(p.name);
            s.SerializeStringRef(p.text);
            s.SerializeStringRef(p.third);
        } else {
            s.SerializeU16(p.level);
        }
        s.SerializeU8(p.id);
        s.SerializeU8(p.bagId);
        if (version > 53) {
            s.SerializeU8(p.x);
            s.SerializeU8(p.y);
        }
        s.SerializeU8(p.flags);
        // An id of 0 can never be named by a cell, and a second placement of an id would hide the first.
        if (!s.HasError() && p.id != 0 && !FindPlacement(p.id)) placements.push_back(p);
    }
    return !s.HasError();
}

bool CMapSection::LoadMonsters(CStream& s, u8 version) {
    monsters.clear();
    u32 count = 0;
    s.SerializeU32(count);
    s.SerializeU8(nextMonsterId);
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        CMonster m;
        s.SerializeU16(m.typeIndex);
        if (version < 71) s.SerializeU16(m.hp);
        s.SerializeU8(m.id);
        s.SerializeU8(m.flags);
        s.SerializeU8(m.objectId);
        if (version >= 65 && version <= 69) {
            u8 ignored = 0;
            s.SerializeU8(ignored);
        }
        if (version < 70) m.flags = static_cast<u8>(m.flags & ~0x18);
        s.SerializeU8(m.x);
        s.SerializeU8(m.y);
        if (version > 88) s.SerializeU8(m.bagId);
        if (s.HasError()) break;
        // A type index beyond the world's table, a position outside the section or a second creature
        // of an id would all be read past their bounds later: such entries are dropped.
        if (world) {
            if (m.typeIndex == 0 || m.typeIndex >= world->tableE.Count()) continue;
            m.type = world->MonsterTypeAt(m.typeIndex);
            // A table entry whose name matched no monster type: every rule reads the type.
            if (!m.type) continue;
        }
        if (m.x >= width || m.y >= height || m.id == 0 || FindMonster(m.id)) continue;
        if (m.objectId != 0) {
            const CPlacement* p = FindPlacement(m.objectId);
            if (p && p->Hidden()) continue;
        }
        if (rules.maxHp && m.type) m.hp = rules.maxHp(m.type);
        monsters.push_back(m);
    }
    return !s.HasError();
}

bool CMapSection::LoadBags(CStream& s) {
    bagLists.clear();
    bagLists.resize(255);
    return bags.ReadBags(s, [this](CStream& st, CItemBag& bag) {
        auto list = std::make_unique<CBagItemList>();
        if (!ReadBagSection(st, bag, *list)) return false;
        bagLists[bag.id - 1u] = std::move(list);
        return true;
    });
}

void CMapSection::FillBags(const CItemCatalogue& catalogue, CRandom& random) {
    for (i32 i = 0; i < bags.Count(); ++i) {
        CItemBag* bag = bags.At(i);
        if (bag->id == 0 || bag->id > bagLists.size() || !bagLists[bag->id - 1u]) continue;
        CBagItemList& list = *bagLists[bag->id - 1u];
        if (list.filled) continue;
        CreateItemsFromList(list.entries, catalogue, random, *bag);
        list.filled = true;
    }
}

const CBagItemList* CMapSection::BagList(u8 bagId) const {
    return bagId != 0 && bagId <= bagLists.size() ? bagLists[bagId - 1u].get() : nullptr;
}

void CMapSection::ResetFromDatabase() {
    monsters.clear();
    // The ids are handed out again from the stored record: old holders would fall to new creatures.
    effects.Clear();
    bags.RemoveFlaggedBags();
    if (CRecordPtr record = ReadRecordPtr(database, baseRecord + 2u)) {
        CStream s;
        s.InitForReading(*record);
        LoadMonsters(s, dataVersion);
    }
    if (CRecordPtr record = ReadRecordPtr(database, baseRecord + 4u)) {
        if (bagLists.size() != 255) bagLists.resize(255);
        CStream s;
        s.InitForReading(*record);
        bags.MergeBags(s, [this](CStream& st, CItemBag& bag) {
            auto list = std::make_unique<CBagItemList>();
            if (!ReadBagSection(st, bag, *list)) return false;
            if (!bags.FindBagById(bag.id)) bagLists[bag.id - 1u] = std::move(list);
            return true;
        });
    }
}

bool CMapSection::ResetIfStale(u32 clock) {
    const bool stale = lastVisit != 0 && clock > lastVisit && clock - lastVisit > kOneWeek;
    if (stale) ResetFromDatabase();
    lastVisit = clock;
    return stale;
}

bool CMapSection::TestMapBit(i32 x, i32 y) const {
    if (!surfaceRecord || x < 0 || y < 0 || x >= width || y >= height) return false;
    const u32 rowLength = (width + 7u) / 8u;
    const u32 at = 2u + static_cast<u32>(y) * rowLength + static_cast<u32>(x) / 8u;
    if (at >= surfaceRecord->size) return false;
    return (surfaceRecord->data[at] >> (x % 8)) & 1;
}

bool CMapSection::IsExplored(i32 x, i32 y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    const size_t at = static_cast<size_t>(y) * exploredRowLength + static_cast<size_t>(x) / 8;
    return at < explored.size() && ((explored[at] >> (x % 8)) & 1);
}

void CMapSection::MarkExplored(i32 x, i32 y) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    const size_t at = static_cast<size_t>(y) * exploredRowLength + static_cast<size_t>(x) / 8;
    if (at < explored.size()) explored[at] = static_cast<u8>(explored[at] | (1u << (x % 8)));
}

CPlacement* CMapSection::FindPlacement(u8 id) {
    if (id == 0) return nullptr;
    for (CPlacement& p : placements)
        if (p.id == id) return &p;
    return nullptr;
}

const CPlacement* CMapSection::FindPlacementByName(const char* name) const {
    if (!name) return nullptr;
    for (const CPlacement& p : placements)
        if (p.name && std::strcmp(p.name, name) == 0) return &p;
    return nullptr;
}

CMonster* CMapSection::FindMonster(u8 id) {
    if (id == 0) return nullptr;
    for (CMonster& m : monsters)
        if (m.id == id) return &m;
    return nullptr;
}

void CMapSection::DeleteMonster(u8 id) {
    for (size_t i = 0; i < monsters.size(); ++i)
        if (monsters[i].id == id) {
            if (CItemBag* bag = bags.FindBagById(monsters[i].bagId)) bags.RemoveBag(bag);
            delete effects.DetachMonsterEffects(id);
            monsters.erase(monsters.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}

void CMapSection::LoadIntoCellWindow(CMapCell* cells, CStoredCell* stored, const CCellRefs& refs, u32 clock) {
    ResetIfStale(clock);
    for (i32 i = 0; i < kMapWindowCells; ++i) {
        cells[i].Reset();
        stored[i].Reset();
    }
    if (CRecordPtr record = ReadRecordPtr(database, baseRecord)) DecodeCells(*record, cells, stored, refs);
}

void CMapSection::DecodeCells(const CRecordData& record, CMapCell* cells, CStoredCell* stored,
                              const CCellRefs& refs) const {
    CStream s;
    s.InitForReading(record);
    s.MatchByte('H');
    const i32 w = width < kWindowSize ? width : kWindowSize;
    const i32 h = height < kWindowSize ? height : kWindowSize;
    for (i32 y = 0; y < h; ++y)
        for (i32 x = 0; x < w; ++x)
            if (!DecodeCell(s, dataVersion, refs, cells[y * kWindowSize + x], stored[y * kWindowSize + x]))
                return;
}

void CMapSection::LoadPartIntoCellWindow(i32 x, i32 y, i32 w, i32 h, i32 wx, i32 wy, CMapCell* cells,
                                         CStoredCell* stored, const CCellRefs& refs, u32 clock) {
    ResetIfStale(clock);
    auto resetAll = [&] {
        for (i32 j = 0; j < h; ++j)
            for (i32 i = 0; i < w; ++i) {
                const i32 cx = wx + i, cy = wy + j;
                if (cx < 0 || cy < 0 || cx >= kWindowSize || cy >= kWindowSize) continue;
                cells[cy * kWindowSize + cx].Reset();
                stored[cy * kWindowSize + cx].Reset();
            }
    };
    resetAll();
    if (CRecordPtr record = ReadRecordPtr(database, baseRecord))
        DecodeCellsPart(*record, x, y, w, h, wx, wy, cells, stored, refs);
}

void CMapSection::DecodeCellsPart(const CRecordData& rec, i32 x, i32 y, i32 w, i32 h, i32 wx, i32 wy,
                                  CMapCell* cells, CStoredCell* stored, const CCellRefs& refs) const {
    const CRecordData* record = &rec;
    CStream s;
    s.InitForReading(rec);
    s.MatchByte('H');
    u16 rx = 0, ry = 0, rw = 0, rh = 0;
    s.SerializeU16(rx);
    s.SerializeU16(ry);
    s.SerializeU16(rw);
    s.SerializeU16(rh);
    // A stored rectangle that reaches beyond the piece would write past the window: refused whole.
    if (s.HasError() || rx + rw > width || ry + rh > height) return;
    const u32 table = s.GetOffset();
    for (i32 j = 0; j < h; ++j)
        for (i32 i = 0; i < w; ++i) {
            const i32 px = x + i, py = y + j;
            const i32 cx = wx + i, cy = wy + j;
            if (cx < 0 || cy < 0 || cx >= kWindowSize || cy >= kWindowSize) continue;
            if (px < rx || py < ry || px >= rx + rw || py >= ry + rh) continue;
            const u32 entry = table + 2u * static_cast<u32>((py - ry) * rw + (px - rx));
            if (entry + 2 > record->size) continue;
            const u32 offset = record->data[entry] | (record->data[entry + 1] << 8);
            if (offset == 0 || (offset & 1) || offset >= record->size) continue;
            CStream cell;
            cell.InitForReading(record->data + offset, record->size - offset);
            CMapCell& c = cells[cy * kWindowSize + cx];
            DecodeCell(cell, dataVersion, refs, c, stored[cy * kWindowSize + cx]);
            c.ClearRuntime();
        }
}

bool CWorld::LoadSectionRecords(u8 dataVersion, const CSectionRules& rules, u32* failedRecord,
                                const char** failedKind) {
    bool ok = true;
    for (auto& section : sections) {
        // The first failure is the one named.
        if (ok) ok = section->LoadRecords(database.get(), dataVersion, rules, failedRecord, failedKind);
        else section->LoadRecords(database.get(), dataVersion, rules);
    }
    return ok;
}

bool CWorld::ParseSectionGridPosition(const CMapSection* section, u32& column, u32& row) const {
    if (!section || !section->id || sectionPrefix.IsEmpty()) return false;
    const char* prefix = sectionPrefix.GetText();
    const size_t n = std::strlen(prefix);
    if (std::strncmp(section->id, prefix, n) != 0) return false;
    const char* digits = section->id + n;
    for (int i = 0; i < 4; ++i)
        if (digits[i] < '0' || digits[i] > '9') return false;
    column = static_cast<u32>((digits[0] - '0') * 10 + (digits[1] - '0'));
    row = static_cast<u32>((digits[2] - '0') * 10 + (digits[3] - '0'));
    return true;
}

CMapSection* CWorld::FindNeighbourSection(const CMapSection* section, i32 dx, i32 dy) const {
    u32 column = 0, row = 0;
    if (!ParseSectionGridPosition(section, column, row)) return nullptr;
    const i64 c = static_cast<i64>(column) + dx, r = static_cast<i64>(row) + dy;
    if (c < 0 || r < 0) return nullptr;
    return FindSectionAt(static_cast<u32>(c), static_cast<u32>(r));
}

void CWorld::SetWorldPositionFromSection(const CMapSection* section, i32 x, i32 y, u32 third) {
    u32 column = 0, row = 0;
    if (!ParseSectionGridPosition(section, column, row)) return;
    worldX = static_cast<u32>(static_cast<i32>(column) * 21 + x - 28);
    worldY = static_cast<u32>(static_cast<i32>(row) * 21 + y - 28);
    worldZ = third;
}
