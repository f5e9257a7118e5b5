// The saved forms of a saved game's small objects, byte for byte from their field lists, and what
// reading does with things the world no longer has: item entries and containers, placed objects,
// creatures, effect holders, record references and a whole section's state.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Stream.h"
#include "data/CreatureCatalogue.h"
#include "data/ItemBag.h"
#include "data/MapSection.h"
#include "data/SavedState.h"
#include "data/SectionEffects.h"
#include "data/World.h"
#include "tests/data/BaseRulesFixture.h"
#include "tools/content/ByteWriter.h"

namespace {

std::vector<u8> Written(const std::function<void(CStream&)>& write) {
    CStream stream;
    stream.InitForWriting();
    write(stream);
    EXPECT_FALSE(stream.HasError());
    return std::vector<u8>(stream.GetBuffer(), stream.GetBuffer() + stream.GetOffset());
}

// Reads `bytes` with `read`; the stream's error state and offset afterwards.
struct ReadResult {
    bool ok;
    u32 offset;
};
ReadResult ReadWith(std::vector<u8> bytes, const std::function<bool(CStream&)>& read) {
    CStream stream;
    stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    const bool ok = read(stream) && !stream.HasError();
    return {ok, stream.GetOffset()};
}

class SavedStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(base.ok);
        mace = base.items.FindItemType("base_weap_mace");
        ASSERT_NE(mace, nullptr);
        rat.SetName("rat");
        rat.values[3] = 20;
        guard.SetName("guard");
        guard.values[3] = 50;
        guard.kind = 4;  // people keep every flag bit
        world.tableE.names = {nullptr, "rat", "guard", "ghost"};
        world.tableE.entries = {nullptr, &rat, &guard, nullptr};
        section.world = &world;
        section.width = section.height = 35;
        section.exploredRowLength = 5;
        section.explored.assign(35 * 5, 0);
    }

    LoadedBase base{122};
    const CItemType* mace = nullptr;
    CMonsterType rat, guard;
    CWorld world;
    CMapSection section;
    CSaveStringTable strings;
};

TEST_F(SavedStateTest, ItemEntriesAndContainersAreByteExact) {
    CItemInstance plain, counted, enchanted;
    plain.type = counted.type = enchanted.type = mace;
    counted.count = 321;
    enchanted.effects = new CEffectList;
    enchanted.effects->value = 99;

    // A container with no spare byte, no place and no entries: its id and a flags byte of 0.
    EXPECT_EQ(Written([&](CStream& s) { savestate::WriteContainer(s, strings, {7}, {}); }),
              (std::vector<u8>{7, 0}));

    const std::vector<u8> written = Written([&](CStream& s) {
        savestate::WriteContainer(s, strings, {3, 1, 4, 5}, {&plain, &counted, &enchanted});
    });
    ByteWriter w;
    w.U8(3);
    w.U8(1 | 2 | 4);
    w.U8(1);
    w.U8(4);
    w.U8(5);
    w.Align(2);
    w.U16(3);
    w.U16(1);  // the mace: entry 1 of the item-type table
    w.U8(0);   // value 0, no effects: the reference and a flags byte alone
    w.Align(2);
    w.U16(1);
    w.U8(1);
    w.Align(2);
    w.U16(321);
    w.U16(1);
    w.U8(4);
    w.Align(4);
    w.U32(99);
    w.U16(0);
    EXPECT_EQ(written, w.Take());
    EXPECT_STREQ(strings.NameAt(CSaveStringTable::kItemTypes, 1), "base_weap_mace");

    // Read back: the caller reads the id; an entry whose type the catalogue lacks comes as null, in its
    // place, and the rest still reads.
    CSaveStringTable other;
    other.InternObjectName("base_gone");
    std::vector<u8> renamed = written;
    savestate::CContainerHead head;
    std::vector<std::unique_ptr<CItemInstance>> taken;
    for (const CSaveStringTable* table : {&strings, &other}) {
        taken.clear();
        const ReadResult r = ReadWith(renamed, [&](CStream& s) {
            s.SerializeU8(head.id);
            return savestate::ReadContainer(
                s, *table, &base.items, head,
                [&](std::unique_ptr<CItemInstance> item) { taken.push_back(std::move(item)); });
        });
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.offset, written.size());
        ASSERT_EQ(taken.size(), 3u);
        EXPECT_EQ(head.id, 3);
        EXPECT_EQ(head.extra, 1);
        EXPECT_EQ(head.x, 4);
        EXPECT_EQ(head.y, 5);
    }
    for (const auto& item : taken) EXPECT_EQ(item, nullptr);
    taken.clear();
    ReadWith(written, [&](CStream& s) {
        s.SerializeU8(head.id);
        return savestate::ReadContainer(
            s, strings, &base.items, head,
            [&](std::unique_ptr<CItemInstance> item) { taken.push_back(std::move(item)); });
    });
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[1]->count, 321);
    ASSERT_NE(taken[2]->effects, nullptr);
    EXPECT_EQ(taken[2]->effects->value, 99u);
    EXPECT_EQ(taken[0]->effects, nullptr);

    // Without a position the reader leaves the cell at 255, 255.
    head = {9, 9, 9, 9};
    ReadWith({7, 0}, [&](CStream& s) {
        s.SerializeU8(head.id);
        return savestate::ReadContainer(s, strings, &base.items, head, [](std::unique_ptr<CItemInstance>) {});
    });
    EXPECT_EQ(head.x, 255);
    EXPECT_EQ(head.y, 255);
    EXPECT_EQ(head.extra, 0);
    // A count past what the record holds is damage.
    EXPECT_FALSE(ReadWith({7, 4, 0xFF, 0x7F, 0, 0}, [&](CStream& s) {
                     s.SerializeU8(head.id);
                     return savestate::ReadContainer(s, strings, &base.items, head,
                                                     [](std::unique_ptr<CItemInstance>) {});
                 }).ok);
}

TEST_F(SavedStateTest, PlacedObjectsCreaturesAndHoldersAreByteExact) {
    struct PlacementCase {
        CPlacement placement;
        std::vector<u8> bytes;  // after the id
    } placements[] = {
        {[] {
             CPlacement p;
             p.flags = 0;
             return p;
         }(),
         {0}},
        {[] {
             CPlacement p;
             p.bagId = 4;
             p.level = 0x0345;
             p.flags = CPlacement::kVisible | CPlacement::kClosed;
             return p;
         }(),
         {1 | 2 | 4, 4, 0x45, 0x03, 3}},
        // The state byte a script set with setstate: flag bit 3, written last.
        {[] {
             CPlacement p;
             p.state = 0xC7;
             return p;
         }(),
         {4 | 8, 1, 0xC7}},
    };
    for (PlacementCase& c : placements) {
        EXPECT_EQ(Written([&](CStream& s) { savestate::SerializePlacementState(s, c.placement); }), c.bytes);
        CPlacement read;
        read.bagId = 9;
        ASSERT_TRUE(ReadWith(c.bytes, [&](CStream& s) {
                        savestate::SerializePlacementState(s, read);
                        return true;
                    }).ok);
        EXPECT_EQ(read.bagId, c.placement.bagId);
        EXPECT_EQ(read.level, c.placement.level);
        EXPECT_EQ(read.flags, c.placement.flags);
        EXPECT_EQ(read.state, c.placement.state);
    }

    // A creature with nothing set: its id, the padded type reference and a flags byte of 0.
    CMonster idle;
    idle.id = 5;
    const std::vector<u8> idleBytes = Written([&](CStream& s) {
        s.SerializeU8(idle.id);
        u16 ref = 2;
        s.SerializeU16(ref);
        savestate::SerializeMonsterBody(s, idle);
    });
    EXPECT_EQ(idleBytes, (std::vector<u8>{5, 0, 2, 0, 0}));
    CMonster busy;
    busy.hp = 300;
    busy.flags = 0x1A;
    busy.objectId = 3;
    busy.bagId = 2;
    busy.x = 0;
    busy.y = 9;
    EXPECT_EQ(Written([&](CStream& s) { savestate::SerializeMonsterBody(s, busy); }),
              (std::vector<u8>{0x1F, 0, 44, 1, 0x1A, 3, 2, 0, 9}));

    CEffectHolder holder;
    holder.creatureId = 6;
    auto* entry = new CActiveEffectEntry;
    entry->id = new char[4]{'f', 'i', 'r', 0};
    entry->amount = -5;
    entry->turns = 3;
    entry->kind = 26;
    entry->effectClass = kActiveEffect;
    entry->target = 1;
    holder.entries.Add(entry);
    const std::vector<u8> holderBytes =
        Written([&](CStream& s) { savestate::SerializeEffectHolder(s, holder); });
    EXPECT_EQ(holderBytes, (std::vector<u8>{6, 0, 1, 0, 2, 26, 'f', 'i', 'r', 0, 0xFB, 0xFF, 3, 1}));
    CEffectHolder read;
    ASSERT_TRUE(
        ReadWith(holderBytes, [&](CStream& s) { return savestate::SerializeEffectHolder(s, read); }).ok);
    ASSERT_EQ(read.Count(), 1);
    EXPECT_EQ(read.creatureId, 6);
    EXPECT_STREQ(read.At(0)->id, "fir");
    EXPECT_EQ(read.At(0)->amount, -5);
    EXPECT_EQ(read.At(0)->turns, 3);
    EXPECT_EQ(read.At(0)->kind, 26);
    EXPECT_EQ(read.At(0)->target, 1);
}

TEST_F(SavedStateTest, RecordReferenceHasAFourthByteAfterVersion27) {
    savestate::CRecordRef ref;
    ref.name = "base_weap_mace";
    ref.bytes[0] = 1;
    ref.bytes[1] = 2;
    ref.bytes[2] = 3;
    ref.bytes[3] = 4;
    auto find = [&](const char* name) -> const void* { return base.items.FindItemType(name); };
    for (u32 version : {27u, 28u}) {
        CSaveStringTable table;
        const std::vector<u8> bytes = Written([&](CStream& s) {
            savestate::SerializeRecordRef(s, table, CSaveStringTable::kItemTypes, ref, version, find);
        });
        std::vector<u8> expected = {24, 0, 1, 0, 1, 2, 3};
        if (version > 27) expected.push_back(4);
        EXPECT_EQ(bytes, expected) << version;
        savestate::CRecordRef back;
        ASSERT_TRUE(ReadWith(bytes, [&](CStream& s) {
                        return savestate::SerializeRecordRef(s, table, CSaveStringTable::kItemTypes, back,
                                                             version, find);
                    }).ok);
        EXPECT_EQ(back.record, mace);
        EXPECT_EQ(back.bytes[2], 3);
        EXPECT_EQ(back.bytes[3], version > 27 ? 4 : 0);
    }
    // An index outside the table is none, and no marker is no reference.
    CSaveStringTable empty;
    savestate::CRecordRef none;
    ASSERT_TRUE(ReadWith({24, 0, 9, 0, 0, 0, 0, 0}, [&](CStream& s) {
                    return savestate::SerializeRecordRef(s, empty, CSaveStringTable::kItemTypes, none, 122,
                                                         find);
                }).ok);
    EXPECT_EQ(none.record, nullptr);
    EXPECT_FALSE(ReadWith({25, 0, 0, 0}, [&](CStream& s) {
                     return savestate::SerializeRecordRef(s, empty, CSaveStringTable::kItemTypes, none, 122,
                                                          find);
                 }).ok);
}

TEST_F(SavedStateTest, VisitedSectionComesBackAndWhatIsGoneIsDropped) {
    section.lastVisit = 900;
    section.nextMonsterId = 12;
    section.bags.nextBagId = 3;
    CPlacement door;
    door.id = 4;
    door.flags = CPlacement::kVisible | CPlacement::kClosed;
    section.placements.push_back(door);
    section.explored[7] = 0x18;
    CMonster a, b;
    a.id = 1;
    a.typeIndex = 1;
    a.type = &rat;
    a.hp = 15;
    a.flags = 0x1F;
    a.x = 3;
    a.y = 4;
    b = a;
    b.id = 2;
    b.typeIndex = 2;
    b.type = &guard;
    b.hp = 40;
    section.monsters = {a, b};
    CItemBag* bag = section.bags.CreateBag(0);
    ASSERT_NE(bag, nullptr);
    bag->x = 8;
    bag->y = 9;
    bag->AddItem(CreateItemInstance(*mace, 50, nullptr));
    section.effects.AddMonsterEffect(1, -4, 3, 26, 0, nullptr);

    std::vector<u8> bytes = Written([&](CStream& s) {
        ASSERT_TRUE(savestate::SerializeSectionState(s, section, strings, savegame::kSaveVersion, nullptr));
    });

    CMapSection copy(&world);
    copy.width = copy.height = 35;
    copy.exploredRowLength = 5;
    copy.explored.assign(35 * 5, 0);
    copy.placements.push_back(door);
    copy.placements.back().flags = CPlacement::kVisible;
    CMonster stale;
    stale.id = 30;
    copy.monsters.push_back(stale);
    ASSERT_TRUE(ReadWith(bytes, [&](CStream& s) {
                    return savestate::SerializeSectionState(s, copy, strings, savegame::kSaveVersion,
                                                            &base.items);
                }).ok);
    EXPECT_EQ(copy.lastVisit, 900u);
    EXPECT_EQ(copy.nextMonsterId, 12);
    EXPECT_EQ(copy.bags.nextBagId, section.bags.nextBagId);
    EXPECT_EQ(copy.placements[0].flags, CPlacement::kVisible | CPlacement::kClosed);
    EXPECT_EQ(copy.explored, section.explored);
    ASSERT_EQ(copy.monsters.size(), 2u);
    EXPECT_EQ(copy.monsters[0].type, &rat);
    // Not people: only the flag bits 0..2 stay. People keep them all.
    EXPECT_EQ(copy.monsters[0].flags, 0x07);
    EXPECT_EQ(copy.monsters[1].flags, 0x1F);
    EXPECT_EQ(copy.monsters[1].hp, 40);
    ASSERT_EQ(copy.bags.Count(), 1);
    EXPECT_EQ(copy.bags.At(0)->x, 8);
    ASSERT_EQ(copy.bags.At(0)->GetItemCount(), 1);
    EXPECT_EQ(copy.bags.At(0)->GetItem(0)->type, mace);
    ASSERT_NE(copy.effects.FindHolder(1), nullptr);
    EXPECT_EQ(copy.effects.FindHolder(1)->Count(), 1);

    // The rat's type is gone from the world; the guard's hp is above what its type allows now; a
    // creature stands outside the section; one comes twice.
    world.tableE.entries[1] = nullptr;
    guard.values[3] = 30;
    section.monsters[1].hp = 40;
    CItemBag* astray = section.bags.CreateBag(0);
    ASSERT_NE(astray, nullptr);
    astray->x = 40;
    astray->y = 2;
    CMonster outside = b, twice = b;
    outside.id = 3;
    outside.x = 35;
    section.monsters.push_back(outside);
    section.monsters.push_back(twice);
    world.tableE.entries[1] = &rat;
    CSaveStringTable table;
    bytes = Written([&](CStream& s) {
        ASSERT_TRUE(savestate::SerializeSectionState(s, section, table, savegame::kSaveVersion, nullptr));
    });
    world.tableE.entries[1] = nullptr;
    CMapSection again(&world);
    again.width = again.height = 35;
    again.explored.assign(35 * 5, 0);
    ASSERT_TRUE(ReadWith(bytes, [&](CStream& s) {
                    return savestate::SerializeSectionState(s, again, table, savegame::kSaveVersion,
                                                            &base.items);
                }).ok);
    ASSERT_EQ(again.bags.Count(), 2);
    EXPECT_EQ(again.bags.At(0)->x, 8);
    EXPECT_EQ(again.bags.At(1)->x, 255);
    EXPECT_EQ(again.bags.At(1)->y, 255);
    ASSERT_EQ(again.monsters.size(), 1u);
    EXPECT_EQ(again.monsters[0].id, 2);
    EXPECT_EQ(again.monsters[0].hp, 30);

    // Every cut of the record fails, never reads past it.
    for (size_t keep = 0; keep < bytes.size(); ++keep) {
        CMapSection cut(&world);
        cut.explored.assign(35 * 5, 0);
        std::vector<u8> part(bytes.begin(), bytes.begin() + static_cast<long>(keep));
        EXPECT_FALSE(ReadWith(part,
                              [&](CStream& s) {
                                  return savestate::SerializeSectionState(
                                      s, cut, table, savegame::kSaveVersion, &base.items);
                              })
                         .ok)
            << keep;
    }
}

}  // namespace

namespace {

// A creature a script made in this section from a monster type of another open world: the section's
// world has no entry for it, the creature catalogue has, and finds it again by name.
TEST_F(SavedStateTest, CreatureOfAnotherWorldsTypeComesBack) {
    const CMonsterType* wolf = base.creatures.FindMonsterType("base_wolf_grey");
    ASSERT_NE(wolf, nullptr);
    section.lastVisit = 60;
    CMonster* made = section.CreateMonster(wolf, 6, 7);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->typeIndex, 0);  // not one of this world's types
    made->hp = 11;
    const u8 id = made->id;
    const std::vector<u8> bytes = Written([&](CStream& s) {
        ASSERT_TRUE(savestate::SerializeSectionState(s, section, strings, savegame::kSaveVersion, nullptr));
    });

    CMapSection copy(&world);
    copy.width = copy.height = 35;
    copy.exploredRowLength = 5;
    copy.explored.assign(35 * 5, 0);
    ASSERT_TRUE(ReadWith(bytes, [&](CStream& s) {
                    return savestate::SerializeSectionState(s, copy, strings, savegame::kSaveVersion,
                                                            &base.items, &base.creatures);
                }).ok);
    ASSERT_EQ(copy.monsters.size(), 1u);
    EXPECT_EQ(copy.monsters[0].type, wolf);
    EXPECT_EQ(copy.monsters[0].id, id);
    EXPECT_EQ(copy.monsters[0].hp, 11);
    EXPECT_EQ(copy.monsters[0].x, 6);
    EXPECT_EQ(copy.monsters[0].y, 7);
}

}  // namespace

namespace {

// A section whose every cell is explored is saved as mode 1, whatever the bits past the row's end hold:
// 35 and 21 cells leave 5 and 3 bits of padding in each row's last byte.
TEST_F(SavedStateTest, AllCellsExploredIsModeOneForEveryWidth) {
    for (u8 size : {35, 21, 8}) {
        SCOPED_TRACE(int(size));
        CMapSection square(&world);
        square.width = square.height = size;
        square.exploredRowLength = static_cast<u16>((size + 7) / 8);
        square.explored.assign(size_t(size) * square.exploredRowLength, 0);
        square.lastVisit = 5;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) square.MarkExplored(x, y);
        const std::vector<u8> bytes = Written([&](CStream& s) {
            ASSERT_TRUE(savestate::SerializeSectionState(s, square, strings, savegame::kSaveVersion, nullptr));
        });
        // Tag, padding, last visit, the two next ids, no placed objects: the mode follows at 12.
        ASSERT_GT(bytes.size(), 12u);
        EXPECT_EQ(bytes[12], 1);

        CMapSection back(&world);
        back.width = back.height = size;
        back.exploredRowLength = square.exploredRowLength;
        back.explored.assign(square.explored.size(), 0);
        ASSERT_TRUE(ReadWith(bytes, [&](CStream& s) {
                        return savestate::SerializeSectionState(s, back, strings, savegame::kSaveVersion,
                                                                &base.items);
                    }).ok);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) EXPECT_TRUE(back.IsExplored(x, y)) << x << "," << y;
        // One cell short of all is the map itself.
        square.explored[0] = 0xFE;
        const std::vector<u8> partly = Written([&](CStream& s) {
            ASSERT_TRUE(savestate::SerializeSectionState(s, square, strings, savegame::kSaveVersion, nullptr));
        });
        EXPECT_EQ(partly[12], 2);
    }
}

}  // namespace
