#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/PdbFile.h"
#include "core/Random.h"
#include "core/Stream.h"
#include "data/CreatureCatalogue.h"
#include "data/ItemType.h"
#include "data/ActionSprite.h"
#include "data/MapCells.h"
#include "data/MapSection.h"
#include "data/Npc.h"
#include "data/TextureSet.h"
#include "data/World.h"
#include "data/WorldLists.h"
#include "tests/data/BuiltWorld.h"
#include "tests/data/WorldFixtures.h"
#include "tools/content/world/Sections.h"

namespace {

// References r -> 100 + r for objects and 200 + r for pictures, over tables of 10.
CCellRefs TestRefs() {
    CCellRefs refs;
    refs.objects.assign(10, kNoCellIndex);
    refs.pictures.assign(10, kNoCellIndex);
    for (u16 i = 1; i < 10; ++i) {
        refs.objects[i] = static_cast<u16>(100 + i);
        refs.pictures[i] = static_cast<u16>(200 + i);
    }
    return refs;
}

bool Decode(std::vector<u8> bytes, u8 version, CMapCell& cell, CStoredCell& stored, u32* used = nullptr) {
    CStream s;
    s.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    const bool ok = DecodeCell(s, version, TestRefs(), cell, stored);
    if (used) *used = s.GetOffset();
    return ok;
}

TEST(MapCells, AnEmptyMaskTakesTwoBytesAndLeavesTheCellReset) {
    CMapCell cell;
    cell.centre = 3;
    cell.creature[0] = 9;
    CStoredCell stored;
    u32 used = 0;
    ASSERT_TRUE(Decode({0, 0, 0x55}, 122, cell, stored, &used));
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(cell.centre, kNoCellIndex);
    EXPECT_EQ(cell.creature[0], 0);
    EXPECT_TRUE(stored.IsEmpty());
}

// Each mask bit with its fields, written by hand; the layout of the picture words depends on the
// version (before 34 the pictures of layers 1, 2 and the centre are always there) and the door-mode
// byte exists from 43 on.
TEST(MapCells, EveryMaskBitReadsItsFields) {
    struct Case {
        const char* what;
        u8 version;
        std::vector<u8> bytes;
        u32 size;
        std::function<void(const CMapCell&, const CStoredCell&)> check;
    };
    const std::vector<Case> cases = {
        {"layer 1 without picture",
         34,
         {0x01, 0x00, 1, 0, 2, 0},
         6,
         [](const CMapCell& c, const CStoredCell&) {
             EXPECT_EQ(c.layer1, 101);
             EXPECT_EQ(c.layer1Picture, kNoCellIndex);
             EXPECT_EQ(c.layer1Second, 102);
         }},
        {"layer 1 at 33 has its picture",
         33,
         {0x01, 0x00, 1, 0, 3, 0, 2, 0},
         8,
         [](const CMapCell& c, const CStoredCell&) { EXPECT_EQ(c.layer1Picture, 203); }},
        {"layer 1 with picture bit",
         34,
         {0x01, 0x10, 1, 0, 3, 0, 2, 0},
         8,
         [](const CMapCell& c, const CStoredCell&) { EXPECT_EQ(c.layer1Picture, 203); }},
        {"layer 2 with picture bit",
         122,
         {0x02, 0x20, 4, 0, 5, 0, 6, 0},
         8,
         [](const CMapCell& c, const CStoredCell&) {
             EXPECT_EQ(c.layer2, 104);
             EXPECT_EQ(c.layer2Picture, 205);
             EXPECT_EQ(c.layer2Second, 106);
         }},
        {"layer 2 at 33",
         33,
         {0x02, 0x00, 4, 0, 5, 0, 6, 0},
         8,
         [](const CMapCell& c, const CStoredCell&) { EXPECT_EQ(c.layer2Picture, 205); }},
        {"centre at 42: no door byte",
         42,
         {0x04, 0x40, 7, 0, 8, 0, 9, 0},
         8,
         [](const CMapCell& c, const CStoredCell&) {
             EXPECT_EQ(c.centre, 107);
             EXPECT_EQ(c.centrePicture, 208);
             EXPECT_EQ(c.centreId, 9);
             EXPECT_EQ(c.doorMode, 0);
         }},
        {"centre at 43: door byte",
         43,
         {0x04, 0x40, 7, 0, 8, 0, 9, 0x88},
         8,
         [](const CMapCell& c, const CStoredCell&) { EXPECT_EQ(c.doorMode, 0x88); }},
        {"centre without picture",
         122,
         {0x04, 0x00, 7, 0, 9, 0x08},
         6,
         [](const CMapCell& c, const CStoredCell&) {
             EXPECT_EQ(c.centrePicture, kNoCellIndex);
             EXPECT_EQ(c.doorMode, 8);
         }},
        {"layer 4",
         122,
         {0x08, 0x00, 1, 0, 2, 0},
         6,
         [](const CMapCell& c, const CStoredCell&) {
             EXPECT_EQ(c.layer4, 101);
             EXPECT_EQ(c.layer4Picture, 202);
         }},
        {"sides 0 and 3, padded",
         122,
         {0x90, 0x00, 1, 0, 2, 0, 5, 0, 3, 0, 4, 0, 6, 0},
         14,
         [](const CMapCell& c, const CStoredCell&) {
             EXPECT_EQ(c.side[0], 101);
             EXPECT_EQ(c.sidePicture[0], 202);
             EXPECT_EQ(c.sideId[0], 5);
             EXPECT_EQ(c.side[3], 103);
             EXPECT_EQ(c.sideId[3], 6);
             EXPECT_EQ(c.side[1], kNoCellIndex);
         }},
        {"sides 1 and 2",
         122,
         {0x60, 0x00, 1, 0, 2, 0, 7, 0, 3, 0, 4, 0, 8, 0},
         14,
         [](const CMapCell& c, const CStoredCell&) {
             EXPECT_EQ(c.sideId[1], 7);
             EXPECT_EQ(c.side[2], 103);
         }},
        {"second sides 0..3",
         122,
         {0x00, 0x0F, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0},
         18,
         [](const CMapCell& c, const CStoredCell&) {
             EXPECT_EQ(c.secondSide[0], 101);
             EXPECT_EQ(c.secondSidePicture[3], 208);
         }},
        {"stored block, every bit",
         122,
         {0x00, 0x80,              // cell mask: only the stored block
          0xDD, 0xD1,              // stored: layer 1, centre, layer 4 (+pictures), sides 0, 2, 3, second 0
          1,    0,    2, 0,        // layer 1 and its picture
          3,    0,    4, 0, 5, 0,  // centre, picture, id 5, pad
          6,    0,    7, 0,        // layer 4 and its picture
          1,    0,    1, 0, 1, 0,  // side 0
          2,    0,    2, 0, 2, 0,  // side 2
          3,    0,    3, 0, 3, 0,  // side 3
          9,    0,    9, 0},       // second side 0
         40,
         [](const CMapCell& c, const CStoredCell& s) {
             EXPECT_EQ(c.layer1, kNoCellIndex);
             EXPECT_EQ(s.layer1, 101);
             EXPECT_EQ(s.layer1Picture, 202);
             EXPECT_EQ(s.centre, 103);
             EXPECT_EQ(s.centrePicture, 204);
             EXPECT_EQ(s.centreId, 5);
             EXPECT_EQ(s.layer4, 106);
             EXPECT_EQ(s.layer4Picture, 207);
             EXPECT_EQ(s.sideId[0], 1);
             EXPECT_EQ(s.side[1], kNoCellIndex);
             EXPECT_EQ(s.sideId[3], 3);
             EXPECT_EQ(s.secondSide[0], 109);
         }},
        {"stored layer 4 without its picture bit",
         122,
         {0x00, 0x80, 0x08, 0x00, 6, 0},
         6,
         [](const CMapCell&, const CStoredCell& s) {
             EXPECT_EQ(s.layer4, 106);
             EXPECT_EQ(s.layer4Picture, kNoCellIndex);
         }},
        {"empty stored block",
         122,
         {0x00, 0x80, 0, 0},
         4,
         [](const CMapCell&, const CStoredCell& s) { EXPECT_TRUE(s.IsEmpty()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CMapCell cell;
        CStoredCell stored;
        u32 used = 0;
        ASSERT_TRUE(Decode(c.bytes, c.version, cell, stored, &used));
        EXPECT_EQ(used, c.size);
        c.check(cell, stored);
    }
}

TEST(MapCells, ReferencesOutsideTheirTablesAndCutCellsLoadAsNone) {
    CMapCell cell;
    CStoredCell stored;
    ASSERT_TRUE(Decode({0x01, 0x10, 0xFF, 0x7F, 40, 0, 0, 0}, 122, cell, stored));
    EXPECT_EQ(cell.layer1, kNoCellIndex);
    EXPECT_EQ(cell.layer1Picture, kNoCellIndex);
    EXPECT_FALSE(Decode({0x0F, 0x00, 1, 0}, 122, cell, stored));
    EXPECT_EQ(cell.layer1, kNoCellIndex);
}

// The builder's own encoder agrees with the hand-written bytes above.
TEST(MapCells, TheBuilderEncodesTheSameBytes) {
    world::CellSpec c;
    c.centre = 7;
    c.centrePicture = 8;
    c.centreId = 9;
    c.doorMode = 0x88;
    ByteWriter w43, w42;
    world::EncodeCell(w43, c, 43);
    world::EncodeCell(w42, c, 42);
    EXPECT_EQ(w43.Data(), (std::vector<uint8_t>{0x04, 0x40, 7, 0, 8, 0, 9, 0x88}));
    EXPECT_EQ(w42.Data(), (std::vector<uint8_t>{0x04, 0x40, 7, 0, 8, 0, 9, 0}));
}

// The stored-block mask bits that a decoded second layer shows.
u16 StoredMaskOf(const CStoredCell& s) {
    u16 m = 0;
    if (s.layer1 != kNoCellIndex) m |= 0x0001;
    if (s.layer1Picture != kNoCellIndex) m |= 0x1000;
    if (s.centre != kNoCellIndex) m |= 0x0004;
    if (s.centrePicture != kNoCellIndex) m |= 0x4000;
    if (s.layer4 != kNoCellIndex) m |= 0x0008;
    if (s.layer4Picture != kNoCellIndex) m |= 0x8000;
    for (int i = 0; i < 4; ++i) {
        if (s.side[i] != kNoCellIndex) m |= static_cast<u16>(0x0010 << i);
        if (s.secondSide[i] != kNoCellIndex) m |= static_cast<u16>(0x0100 << i);
    }
    return m;
}

class BuiltSections : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(built.Loaded()); }

    fixtures::BuiltWorld built;
    std::unique_ptr<CWorld>& base = built.base;
    CCellRefs& refs = built.refs;
};

// Walks every cell of every built section and names each reference that resolves to nothing.
TEST_F(BuiltSections, EveryCellOfEverySectionResolvesAndEveryMaskBitOccurs) {
    u16 masks = 0, storedMasks = 0;
    std::string unresolved;
    for (u32 i = 0; i < base->SectionCount(); ++i) {
        CMapSection* section = base->SectionAt(i);
        CRecordPtr record = ReadRecordPtr(base->GetDatabase(), section->baseRecord);
        ASSERT_TRUE(record) << section->id;
        const u8* d = record->data;
        std::vector<u32> offsets;
        if (section->IsSurface()) {
            ASSERT_EQ(d[2] | d[4], 0) << "the stored rectangle starts at 0, 0";
            ASSERT_EQ(d[6], 21);
            ASSERT_EQ(d[8], 21);
            for (u32 k = 0; k < 21 * 21; ++k) offsets.push_back(d[10 + 2 * k] | (d[11 + 2 * k] << 8));
        }
        CStream s;
        s.InitForReading(*record);
        s.MatchByte('H');
        const u32 count = section->IsSurface() ? 21 * 21 : 35 * 35;
        for (u32 k = 0; k < count; ++k) {
            CStream one;
            CStream* at = &s;
            if (section->IsSurface()) {
                if (offsets[k] == 0) continue;
                one.InitForReading(record->data + offsets[k], record->size - offsets[k]);
                at = &one;
            }
            // The mask is the cell's first (aligned) word.
            const u32 from = at == &s ? (s.GetOffset() + 1) & ~1u : offsets[k];
            const u16 mask = static_cast<u16>(record->data[from] | (record->data[from + 1] << 8));
            masks |= mask;
            CMapCell cell;
            CStoredCell stored;
            CCellRefMisses misses;
            ASSERT_TRUE(DecodeCellCounting(*at, base->version, refs, cell, stored, misses));
            if (misses.objects || misses.pictures)
                unresolved += std::string(section->id) + " cell " + std::to_string(k) + "; ";
            storedMasks |= StoredMaskOf(stored);
        }
        for (const CMonster& m : section->monsters)
            if (m.type == nullptr)
                unresolved += std::string(section->id) + " monster " + std::to_string(m.id) + "; ";
        for (const CPlacement& p : section->placements)
            if (p.x >= section->width || p.y >= section->height)
                unresolved += std::string(section->id) + " placement " + std::to_string(p.id) + "; ";
    }
    EXPECT_EQ(unresolved, "");
    EXPECT_EQ(masks, 0xFFFF) << std::hex << masks;
    EXPECT_EQ(storedMasks, 0xDFFD) << std::hex << storedMasks;  // 0x0002 and 0x2000 mean nothing there
}

// The town house keeps a card player: a townsman whose NPC record plays cards for bets.
TEST_F(BuiltSections, TheTownHouseHasACardPlayer) {
    CMapSection* town = base->FindSectionAt(2, 2);
    ASSERT_NE(town, nullptr);
    const CNpc* player = nullptr;
    for (const CMonster& m : town->monsters) {
        const auto* type = static_cast<const CMonsterType*>(m.type);
        const CNpc* npc = type && type->npcId ? built.lists.npcs.FindById(type->npcId) : nullptr;
        // Cards on the talk screen: the flag, and no talk profile (whose services menu the innkeeper has).
        const char* profile = npc ? npc->GetTalkProfileId() : nullptr;
        if (npc == nullptr || (npc->GetServiceFlags() & 0x40) == 0 || (profile && *profile)) continue;
        EXPECT_TRUE(m.x > 7 && m.x < 13 && m.y > 7 && m.y < 13) << "inside the house's walls";
        player = npc;
    }
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->maxBet, 200);
}

TEST_F(BuiltSections, TheCellarHoldsItsPlacementsMonstersAndBags) {
    CMapSection* cellar = base->FindSectionByName("base_cellar");
    ASSERT_NE(cellar, nullptr);
    const CPlacement* start = cellar->FindPlacementByName("base_start");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->x, 17);
    EXPECT_EQ(start->y, 17);
    // The rat bound to the hidden nest is not placed; the other rat, the wolf and the two restless
    // bones are.
    ASSERT_EQ(cellar->monsters.size(), 4u);
    EXPECT_EQ(cellar->monsters[0].id, 1);
    EXPECT_EQ(cellar->FindMonster(2), nullptr);
    for (u8 id : {3, 4, 5}) EXPECT_NE(cellar->FindMonster(id), nullptr) << int(id);
    // It starts with its type's maximum hp.
    ASSERT_NE(cellar->monsters[0].type, nullptr);
    EXPECT_EQ(cellar->monsters[0].hp, static_cast<const CMonsterType*>(cellar->monsters[0].type)->values[3]);
    EXPECT_GT(cellar->monsters[0].hp, 0);
    // The bag on the floor, the creature's, and the gallery's two containers.
    EXPECT_EQ(cellar->bags.Count(), 4);
    ASSERT_NE(cellar->bags.FindBagById(1), nullptr);
    EXPECT_EQ(cellar->bags.FindBagById(1)->x, 20);
    ASSERT_NE(cellar->BagList(1), nullptr);
    ASSERT_EQ(cellar->BagList(1)->entries.GetCount(), 2);
    EXPECT_STREQ(cellar->BagList(1)->entries.At<CModifierEntry>(0)->itemId, "base_money_100");
    EXPECT_STREQ(cellar->BagList(1)->entries.At<CModifierEntry>(1)->itemId, "base_helm_iron");
    EXPECT_FALSE(cellar->BagList(1)->filled);
    // The town's bit map.
    CMapSection* town = base->FindSectionAt(2, 2);
    ASSERT_NE(town, nullptr);
    EXPECT_TRUE(town->TestMapBit(10, 0));
    EXPECT_FALSE(town->TestMapBit(0, 0));
    EXPECT_FALSE(town->TestMapBit(-1, 0));
    EXPECT_EQ(base->FindNeighbourSection(town, -1, -1), base->FindSectionAt(1, 1));
    EXPECT_EQ(base->FindNeighbourSection(base->FindSectionAt(1, 1), -1, 0), nullptr);
    base->SetWorldPositionFromSection(town, 3, 4, 9);
    EXPECT_EQ(base->worldX, 2u * 21 + 3 - 28);
    EXPECT_EQ(base->worldY, 2u * 21 + 4 - 28);
}

// Bags are filled from their lists once: a second fill (the next visit) adds nothing.
TEST_F(BuiltSections, BagsAreFilledOnce) {
    CMapSection* cellar = base->FindSectionByName("base_cellar");
    CItemCatalogue catalogue;
    CRandom random;
    cellar->FillBags(catalogue, random);
    ASSERT_NE(cellar->BagList(1), nullptr);
    EXPECT_TRUE(cellar->BagList(1)->filled);
    EXPECT_TRUE(cellar->BagList(2)->filled);
    const int items = cellar->bags.FindBagById(1)->GetItemCount();
    cellar->FillBags(catalogue, random);
    EXPECT_EQ(cellar->bags.FindBagById(1)->GetItemCount(), items);
    EXPECT_TRUE(cellar->BagList(3)->filled);
    EXPECT_EQ(cellar->BagList(5), nullptr);
    EXPECT_EQ(cellar->BagList(0), nullptr);
}

TEST_F(BuiltSections, AWeekOfAbsenceResetsTheMonstersAndBags) {
    CMapSection* cellar = base->FindSectionByName("base_cellar");
    ASSERT_NE(cellar, nullptr);
    std::vector<CMapCell> cells(kMapWindowCells);
    std::vector<CStoredCell> stored(kMapWindowCells);
    for (const u32 gap : {10080u, 10081u}) {
        SCOPED_TRACE(gap);
        cellar->monsters.clear();
        cellar->bags.RemoveAllBags();
        cellar->effects.Clear();
        cellar->effects.AddMonsterEffect(1, 5, 0, 26, 0, nullptr);  // a poison on the old rat 1
        cellar->lastVisit = 1000;
        cellar->LoadIntoCellWindow(cells.data(), stored.data(), refs, 1000 + gap);
        EXPECT_EQ(cellar->lastVisit, 1000 + gap);
        // The creatures read again get the stored ids anew: the old holders would fall to them.
        EXPECT_EQ(cellar->effects.SumMonsterEffect(1, 26), gap > 10080 ? 0 : 5);
        EXPECT_EQ(cellar->monsters.size(), gap > 10080 ? 4u : 0u);
        EXPECT_EQ(cellar->bags.Count(), gap > 10080 ? 4 : 0);
    }
    // The cells of the cellar: its walls and doors.
    EXPECT_NE(cells[0].centre, kNoCellIndex);
    EXPECT_EQ(cells[12 * 35 + 17].centreId, 2);
    EXPECT_EQ(cells[17 * 35 + 17].centre, kNoCellIndex);
    EXPECT_NE(cells[17 * 35 + 17].layer1, kNoCellIndex);
}

TEST(MapSections, DamagedMonsterEntriesAreDropped) {
    CWorld world;
    world.tableE.names = {nullptr, "base_rat", "base_gone"};
    world.tableE.entries = {nullptr, &world, nullptr};
    CMapSection section(&world);
    section.placements.push_back({0, nullptr, nullptr, nullptr, 4, 0, 1, 1, 0x03});
    ByteWriter w;
    w.U32(5);
    w.U8(9);
    auto entry = [&](u16 type, u8 id, u8 object, u8 x, u8 y) {
        w.Align(2);
        w.U16(type);
        w.U8(id);
        w.U8(0);
        w.U8(object);
        w.U8(x);
        w.U8(y);
        w.U8(0);
    };
    entry(1, 1, 0, 3, 3);   // kept
    entry(3, 2, 0, 3, 3);   // type beyond the table
    entry(2, 4, 0, 3, 3);   // a name that matched no monster type
    entry(1, 3, 0, 35, 3);  // outside the 35 x 35 map
    entry(1, 5, 4, 3, 3);   // bound to a hidden placement
    std::vector<u8> bytes = w.Take();
    CStream s;
    s.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    ASSERT_TRUE(section.LoadMonsters(s, 122));
    ASSERT_EQ(section.monsters.size(), 1u);
    EXPECT_EQ(section.monsters[0].id, 1);
    EXPECT_EQ(section.nextMonsterId, 9);
}

}  // namespace

namespace {

TEST(ActionSprite, SmallViewsShrinkTheSpritesLessThanInProportion) {
    const struct {
        u16 w, h;
        bool fixed;
        u16 refW, refH, outW, outH;
    } cases[] = {
        {380, 320, false, 150, 150, 150, 150},  // full size keeps even references above 100
        {480, 400, false, 90, 80, 90, 80},
        {240, 320, false, 100, 100, 84, 100},  // 100 * (240 + 81) / 380
        {240, 320, false, 150, 100, 84, 100},  // 150 is used as 100
        {240, 200, true, 150, 100, 150, 81},   // fixed width; 100 * (200 + 60) / 320
    };
    for (const auto& c : cases) {
        CActionSpriteSize s;
        s.viewWidth = c.w;
        s.viewHeight = c.h;
        s.fixedSize = c.fixed;
        s.referenceWidth[0] = s.referenceWidth[1] = c.refW;
        s.referenceHeight[0] = s.referenceHeight[1] = c.refH;
        ScaleActionSpriteToView(s);
        EXPECT_EQ(s.width[1], c.outW) << c.w << "x" << c.h;
        EXPECT_EQ(s.height[1], c.outH) << c.w << "x" << c.h;
    }
}

// A surface piece whose stored rectangle reaches past the piece is refused whole; cells outside the
// stored rectangle and at odd or out-of-record offsets stay as they were.
TEST(MapSections, ASurfaceRectangleBeyondThePieceIsRefused) {
    CMapSection piece;
    piece.flags = CMapSection::kSurfaceFlag;
    piece.width = piece.height = 21;
    piece.dataVersion = 122;
    CCellRefs refs;
    refs.objects = {kNoCellIndex, 40};
    std::vector<CMapCell> cells(kMapWindowCells);
    std::vector<CStoredCell> stored(kMapWindowCells);
    auto record = [](u16 x, u16 w, std::vector<u16> offsets) {
        ByteWriter b;
        b.U8('H');
        for (u16 v : {x, u16(0), w, u16(1)}) world::A2U16(b, v);
        for (u16 o : offsets) world::A2U16(b, o);
        const size_t cell = b.Size();
        b.U16(0x0001);
        b.U16(1);
        b.U16(0);
        std::vector<u8> bytes = b.Take();
        for (size_t i = 0; i < offsets.size(); ++i)
            if (offsets[i] == 1) bytes[10 + 2 * i] = static_cast<u8>(cell);
        return bytes;
    };
    std::vector<u8> fits = record(19, 2, {1, 1});
    CRecordData r{fits.data(), static_cast<u32>(fits.size())};
    piece.DecodeCellsPart(r, 0, 0, 21, 21, 7, 7, cells.data(), stored.data(), refs);
    EXPECT_EQ(cells[7 * 35 + 7 + 19].layer1, 40);
    EXPECT_EQ(cells[7 * 35 + 7 + 20].layer1, 40);
    EXPECT_EQ(cells[7 * 35 + 7 + 18].layer1, kNoCellIndex);

    cells.assign(kMapWindowCells, CMapCell{});
    std::vector<u8> beyond = record(20, 2, {1, 1});
    CRecordData b{beyond.data(), static_cast<u32>(beyond.size())};
    piece.DecodeCellsPart(b, 0, 0, 21, 21, 7, 7, cells.data(), stored.data(), refs);
    EXPECT_EQ(cells[7 * 35 + 7 + 20].layer1, kNoCellIndex);

    std::vector<u8> odd = record(0, 2, {13, 999});
    CRecordData o{odd.data(), static_cast<u32>(odd.size())};
    piece.DecodeCellsPart(o, 0, 0, 21, 21, 7, 7, cells.data(), stored.data(), refs);
    EXPECT_EQ(cells[7 * 35 + 7].layer1, kNoCellIndex);
    EXPECT_EQ(cells[7 * 35 + 8].layer1, kNoCellIndex);
}

}  // namespace
