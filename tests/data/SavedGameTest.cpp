// Saved games: the header and world-list records byte for byte, the whole save and load through the
// open worlds, the checks that keep a damaged saved game from touching the running game, the fallback
// for a world that is gone, and a save that fails leaving the old one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "core/Settings.h"
#include "core/Stream.h"
#include "data/CreatureCatalogue.h"
#include "data/Effect.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/SectionEffects.h"
#include "data/SaveGameManager.h"
#include "data/SavedGame.h"
#include "data/TextureSet.h"
#include "tests/support/KillWhileSaving.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "tests/data/WorldFixtures.h"
#include "tests/support/SavedGameFiles.h"
#include "tests/support/TempDir.h"
#include "tools/content/ByteWriter.h"

namespace {

using testing_support::TempDir;

std::vector<u8> Compose(const std::function<bool(CStream&)>& write) {
    CStream stream;
    stream.InitForWriting();
    EXPECT_TRUE(write(stream));
    return std::vector<u8>(stream.GetBuffer(), stream.GetBuffer() + stream.GetOffset());
}

std::vector<u8> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<u8>(std::istreambuf_iterator<char>(in), {});
}

// The game's side of a saved game: one number in the player's record, which the load only makes live
// after every check; the other parts are a tag and their record id.
class FakeParts : public ISavedGameParts {
public:
    void MakeThumbnail(u16* pixels) override {
        for (u32 i = 0; i < savegame::kThumbnailPixels; ++i) pixels[i] = static_cast<u16>(i * 7);
    }
    std::string DayAndTimeText() override { return "Day 3, 7:05 am"; }
    bool WritePart(u16 id, CStream& stream, CSaveStringTable& strings) override {
        if (failWrites) return false;
        if (id != savegame::kPlayerRecord) {
            u32 marker = id;
            stream.MatchByte(Tag(id));
            stream.Align(4);
            stream.SerializeU32(marker);
        } else {
            stream.MatchByte('Y');
            stream.Align(4);
            stream.SerializeU32(value);
            u16 item = strings.InternObjectName("sword");
            stream.SerializeU16(item);
        }
        return true;
    }
    bool ReadPart(u16 id, CStream& stream, const CSaveStringTable& strings, u32) override {
        if (id != savegame::kPlayerRecord) {
            u32 marker = 0;
            if (!stream.MatchByte(Tag(id))) return false;
            stream.Align(4);
            stream.SerializeU32(marker);
            return !stream.HasError() && marker == id;
        }
        if (!stream.MatchByte('Y')) return false;
        stream.Align(4);
        stream.SerializeU32(waiting);
        u16 item = 0;
        stream.SerializeU16(item);
        waitingItem = strings.NameAt(CSaveStringTable::kItemTypes, item)
                          ? strings.NameAt(CSaveStringTable::kItemTypes, item)
                          : "";
        return !stream.HasError();
    }
    void DiscardParts() override { ++discards; }
    bool ResetForLoad() override {
        ++resets;
        return true;
    }
    void CommitParts() override {
        value = waiting;
        item = waitingItem;
    }
    void PlacePlayer(u32 x, u32 y) override {
        placedX = x;
        placedY = y;
    }
    void EnterSavedPlace(CWorld&, CMapSection& section) override { enteredSection = section.GetName(); }

    static u8 Tag(u16 id) {
        return id == savegame::kGlobalsRecord ? 'G' : id == savegame::kGameViewRecord ? 'W' : 'X';
    }

    u32 value = 0, waiting = 0;
    std::string item, waitingItem;
    bool failWrites = false;
    int resets = 0, discards = 0;
    u32 placedX = 0, placedY = 0;
    std::string enteredSection;
};

class SavedGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        finder.SetFolder(worldsDir.Path());
        for (const world::Content& c : {fixtures::MusicWorld(), fixtures::SoundWorld(),
                                        fixtures::ResourceWorld(), fixtures::BaseWorld()})
            fixtures::Write(worldsDir.Path(), c);
        worlds = std::make_unique<CWorldList>(lists, &finder, &settings);
        ASSERT_EQ(worlds->OpenGameDatabases(), 1);
        base = worlds->FindWorldByShortName("base");
        ASSERT_NE(base, nullptr);
        ASSERT_GE(base->SectionCount(), 2u);
        base->currentSection = base->SectionAt(0);
        manager.finder = &finder;
        manager.worlds = worlds.get();
        manager.parts = &parts;
        manager.folder = saveDir.Path();
    }

    // The saved database rebuilt with one record replaced by `bytes` (or left out when `drop`).
    void Rewrite(u32 slot, u16 id, const std::vector<u8>* bytes, bool drop = false) {
        const std::string path = manager.SlotPath(slot);
        ASSERT_TRUE(testing_support::RewriteSavedGame(&finder, path, path, id, drop ? nullptr : bytes));
    }
    std::vector<u8> RecordOf(u32 slot, u16 id) {
        CPdbFile db(nullptr, &finder);
        EXPECT_EQ(db.Open(manager.SlotPath(slot).c_str(), "VnTS"), 1);
        CRecordDataPtr record(db.ReadRecord(id));
        return record ? std::vector<u8>(record->data, record->data + record->size) : std::vector<u8>{};
    }

    TempDir worldsDir, saveDir;
    CFileFinder finder;
    CGameSettings settings{};
    CTextureSet textures;
    CWorldLists lists{textures};
    std::unique_ptr<CWorldList> worlds;
    CWorld* base = nullptr;
    FakeParts parts;
    CSaveGameManager manager;
};

TEST(SavedGameRecordTest, HeaderIsByteExact) {
    std::vector<u16> thumbnail(savegame::kThumbnailPixels);
    for (u32 i = 0; i < thumbnail.size(); ++i) thumbnail[i] = static_cast<u16>(0xF800 ^ i);
    ByteWriter w;
    w.U8(0x02);
    w.U8(0x03);
    w.U8(0xFF);
    w.U8(122);
    w.U16(8000);
    for (u16 pixel : thumbnail) w.U16(pixel);
    w.Text("Old Cellar");
    w.U8(0);
    w.Text("Day 3, 7:05 am");
    w.U8(0);
    const std::vector<u8> expected = w.Take();
    const std::vector<u8> written = Compose([&](CStream& s) {
        return savegame::WriteHeader(s, thumbnail.data(), "Old Cellar", "Day 3, 7:05 am");
    });
    ASSERT_EQ(written.size(), 8006u + 11 + 15);
    EXPECT_EQ(written, expected);

    CSavedGame game;
    CStream stream;
    std::vector<u8> bytes = written;
    stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    ASSERT_TRUE(savegame::ReadHeader(stream, game));
    EXPECT_EQ(game.version, 122u);
    EXPECT_EQ(game.thumbnail, thumbnail);
    EXPECT_EQ(game.mapName, "Old Cellar");
    EXPECT_EQ(game.dayAndTime, "Day 3, 7:05 am");

    // A thumbnail length other than 8000, a wrong opening byte and a cut header are all refused.
    for (auto damage : {+[](std::vector<u8>& b) { b[4] = 0x3F; }, +[](std::vector<u8>& b) { b[2] = 0xFE; },
                        +[](std::vector<u8>& b) { b.resize(5000); }}) {
        std::vector<u8> bad = written;
        damage(bad);
        CSavedGame g;
        CStream s;
        s.InitForReading(bad.data(), static_cast<u32>(bad.size()));
        EXPECT_FALSE(savegame::ReadHeader(s, g));
    }
}

TEST_F(SavedGameTest, WorldListIsByteExactAndSkipsTheResourceDatabases) {
    base->expansion = 2;
    std::vector<const CWorld*> listed;
    std::vector<u16> firsts;
    const std::vector<u8> written =
        Compose([&](CStream& s) { return savegame::WriteWorldList(s, *worlds, listed, firsts); });
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0], base);
    EXPECT_EQ(firsts[0], 3010u);

    ByteWriter w;
    w.U32(1);
    w.Text("base");
    w.U8(0);
    w.Text(base->SectionAt(0)->GetName());
    w.U8(0);
    w.U8(2);
    w.Text("base");
    w.U8(0);
    w.Align(4);
    w.U32(3010);
    EXPECT_EQ(written, w.Take());

    // Version 120 has no expansion byte: the missing world's player goes by expansion 3.
    CSavedGame game;
    game.version = 120;
    ByteWriter old;
    old.U32(0);
    old.Text("gone");
    old.U8(0);
    old.Text("gone_s1");
    old.U8(0);
    std::vector<u8> bytes = old.Take();
    CStream stream;
    stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    ASSERT_TRUE(savegame::ReadWorldList(stream, game));
    EXPECT_EQ(game.expansion, 3);
    EXPECT_EQ(game.currentWorld, "gone");
}

TEST(SavedGameRecordTest, OlderVersionsReadFewerFields) {
    // The world record: no state words up to 90, two up to 99, three after.
    struct WordsCase {
        u32 version, words;
    } wordCases[] = {{90, 0}, {91, 2}, {99, 2}, {100, 3}, {122, 3}};
    for (const WordsCase& c : wordCases) {
        ByteWriter w;
        w.U8('V');
        for (u32 i = 0; i < c.words; ++i) {
            w.Align(4);
            w.U32(10 + i);
        }
        w.Align(2);
        w.U16(1);
        w.Text("s1");
        w.U8(0);
        w.Align(2);
        w.U16(3011);
        std::vector<u8> bytes = w.Take();
        CStream stream;
        stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
        CSavedWorldState state;
        ASSERT_TRUE(savegame::ReadWorldStates(stream, c.version, state)) << c.version;
        ASSERT_EQ(state.sections.size(), 1u) << c.version;
        EXPECT_EQ(state.sections[0].recordId, 3011) << c.version;
        for (u32 i = 0; i < 3; ++i) EXPECT_EQ(state.words[i], i < c.words ? 10 + i : 0) << c.version;
    }
    // A visited section: the next ids only after 92, the effect holders' count only after 91.
    struct SectionCase {
        u32 version;
        bool ids, holders;
    } sectionCases[] = {{91, false, false}, {92, false, true}, {93, true, true}};
    for (const SectionCase& c : sectionCases) {
        ByteWriter w;
        w.U8(0x02);
        w.Align(4);
        w.U32(500);
        if (c.ids) {
            w.U8(7);
            w.U8(8);
        }
        w.Align(2);
        w.U16(0);
        w.U8(2);
        w.U8(0x0F);
        w.U8(0xF0);
        for (int list = 0; list < (c.holders ? 3 : 2); ++list) {
            w.Align(2);
            w.U16(0);
        }
        std::vector<u8> bytes = w.Take();
        CStream stream;
        stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
        CMapSection section;
        section.explored.assign(2, 0);
        CSaveStringTable strings;
        ASSERT_TRUE(savegame::ReadSectionState(stream, c.version, section, strings, nullptr)) << c.version;
        EXPECT_EQ(stream.GetOffset(), bytes.size()) << c.version;
        EXPECT_EQ(section.lastVisit, 500u);
        EXPECT_EQ(section.nextMonsterId, c.ids ? 7 : 1);
        EXPECT_EQ(section.explored, (std::vector<u8>{0x0F, 0xF0}));
    }
    // An explored map longer than the record, or a mode past 2, is damage.
    for (u8 mode : {u8(2), u8(3)}) {
        std::vector<u8> bytes = {0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, mode, 1, 2};
        CStream stream;
        stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
        CMapSection section;
        section.explored.assign(175, 0);
        CSaveStringTable strings;
        EXPECT_FALSE(savegame::ReadSectionState(stream, 122, section, strings, nullptr)) << int(mode);
    }
}

TEST_F(SavedGameTest, SecondWorldStartsAfterTheFirstWorldsSections) {
    const world::Content extra = fixtures::SmallWorld("VantrelExtra", "xtra");
    fixtures::Write(worldsDir.Path(), extra);
    ASSERT_EQ(worlds->OpenWorldByName("VantrelExtra"), 1);
    std::vector<const CWorld*> listed;
    std::vector<u16> firsts;
    Compose([&](CStream& s) { return savegame::WriteWorldList(s, *worlds, listed, firsts); });
    ASSERT_EQ(firsts.size(), 2u);
    EXPECT_EQ(firsts[1], 3010 + base->SectionCount() + 1);
}

TEST_F(SavedGameTest, RoundTripRestoresMapStatesAndParts) {
    CMapSection* visited = base->SectionAt(0);
    CMapSection* all = base->SectionAt(1);
    visited->lastVisit = 1234;
    visited->nextMonsterId = 9;
    visited->bags.nextBagId = 4;
    ASSERT_FALSE(visited->explored.empty());
    visited->explored[0] = 0x81;
    all->lastVisit = 77;
    std::fill(all->explored.begin(), all->explored.end(), 0xFF);
    base->worldX = 5;
    base->worldY = 6;
    base->worldZ = 7;
    parts.value = 0xCAFEF00D;
    ASSERT_EQ(manager.Save(1), 1) << manager.LastError();

    const std::vector<u8> explored = visited->explored;
    const std::string currentName = visited->GetName();
    visited->lastVisit = 0;
    visited->explored.assign(visited->explored.size(), 0);
    all->lastVisit = 0;
    std::fill(all->explored.begin(), all->explored.end(), 0);
    base->worldX = base->worldY = base->worldZ = 0;
    base->currentSection = all;
    parts.value = 0;

    ASSERT_EQ(manager.Load(1, nullptr), 1) << manager.LastError();
    EXPECT_EQ(parts.resets, 1);
    EXPECT_EQ(visited->lastVisit, 1234u);
    EXPECT_EQ(visited->nextMonsterId, 9);
    EXPECT_EQ(visited->bags.nextBagId, 4);
    EXPECT_EQ(visited->explored, explored);
    EXPECT_EQ(all->lastVisit, 77u);
    EXPECT_TRUE(std::all_of(all->explored.begin(), all->explored.end(), [](u8 b) { return b == 0xFF; }));
    EXPECT_EQ(base->worldX, 5u);
    EXPECT_EQ(base->worldZ, 7u);
    EXPECT_EQ(parts.value, 0xCAFEF00Du);
    EXPECT_EQ(parts.item, "sword");
    ASSERT_NE(base->currentSection, nullptr);
    EXPECT_EQ(std::string(base->currentSection->GetName()), currentName);

    std::unique_ptr<CSavedGameInfo> info = manager.List(1);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->version, 122u);
    EXPECT_EQ(info->dayAndTime, "Day 3, 7:05 am");
    ASSERT_EQ(info->thumbnail.size(), 4000u);
    EXPECT_EQ(info->thumbnail[3], 21);
    EXPECT_FALSE(manager.List(2));
    EXPECT_FALSE(manager.List(CSaveGameManager::kSlotCount));
}

TEST_F(SavedGameTest, DamagedRecordsFailTheLoadAndLeaveTheGameAlone) {
    base->SectionAt(0)->lastVisit = 50;
    ASSERT_EQ(manager.Save(1), 1);
    const std::vector<u8> original = ReadFile(manager.SlotPath(1) + ".pdb");
    std::vector<u16> ids = {savegame::kHeaderRecord,
                            savegame::kWorldListRecord,
                            savegame::kGlobalsRecord,
                            savegame::kPlayerRecord,
                            savegame::kGameViewRecord,
                            savegame::kPanelsRecord,
                            savegame::kStringTableRecord,
                            savegame::kFirstMapStateRecord,
                            static_cast<u16>(savegame::kFirstMapStateRecord + 1)};
    parts.value = 99;
    base->SectionAt(0)->lastVisit = 51;
    for (u16 id : ids) {
        const std::vector<u8> full = RecordOf(1, id);
        // Missing, and cut short. A database pads its
        // records with zeros, so a cut of the closing NUL alone cannot be told from the padding.
        std::vector<std::vector<u8>> cuts;
        // A world's record cut before its section count reads as a world of no sections, which is a
        // record of its own right: only its total loss is damage.
        for (size_t keep : {size_t(0), full.size() / 3})
            if (keep < full.size() && (keep == 0 || id != savegame::kFirstMapStateRecord))
                cuts.emplace_back(full.begin(), full.begin() + static_cast<long>(keep));
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
        for (size_t c = 0; c <= cuts.size(); ++c) {
            if (c == cuts.size())
                Rewrite(1, id, nullptr, true);
            else
                Rewrite(1, id, &cuts[c]);
            EXPECT_EQ(manager.Load(1, nullptr), 0) << "record " << id << " cut " << c;
            EXPECT_FALSE(manager.LastError().empty());
            EXPECT_EQ(parts.resets, 0);
            EXPECT_EQ(parts.value, 99u);
            EXPECT_EQ(base->SectionAt(0)->lastVisit, 51u);
            std::ofstream(manager.SlotPath(1) + ".pdb", std::ios::binary)
                .write(reinterpret_cast<const char*>(original.data()), static_cast<long>(original.size()));
        }
    }
    // More map objects than the record holds is damage, not a list to skip over.
    std::vector<u8> section = RecordOf(1, savegame::kFirstMapStateRecord + 1);
    section[11] = 0x40;
    Rewrite(1, savegame::kFirstMapStateRecord + 1, &section);
    EXPECT_EQ(manager.Load(1, nullptr), 0);
    EXPECT_EQ(parts.resets, 0);
}

TEST_F(SavedGameTest, RemovedWorldOrSectionFallsBackToTheBaseWorldByExpansion) {
    struct Case {
        const char* world;
        const char* section;
        u8 expansion;
        u32 x, y;
    } cases[] = {
        {"gone", "gone_s1", 2, 20, 17}, {"base", "base_nowhere", 1, 14, 19}, {"gone", "", 7, 18, 24}};
    ASSERT_EQ(manager.Save(1), 1);
    for (const Case& c : cases) {
        ByteWriter w;
        w.U32(1);
        w.Text(c.world);
        w.U8(0);
        w.Text(c.section);
        w.U8(0);
        w.U8(c.expansion);
        w.Text("base");
        w.U8(0);
        w.Align(4);
        w.U32(3010);
        std::vector<u8> list = w.Take();
        Rewrite(1, savegame::kWorldListRecord, &list);
        base->currentSection = nullptr;
        parts.placedX = parts.placedY = 0;
        ASSERT_EQ(manager.Load(1, nullptr), 1) << manager.LastError();
        EXPECT_EQ(worlds->Current(), base) << c.section;
        // The fixture's base world has none of the fallback sections: its first section stands in.
        ASSERT_NE(base->currentSection, nullptr) << c.section;
        EXPECT_EQ(parts.enteredSection, base->currentSection->GetName()) << "the game goes on there";
        EXPECT_EQ(parts.placedX, c.x) << c.section;
        EXPECT_EQ(parts.placedY, c.y) << c.section;
    }
}

TEST_F(SavedGameTest, FailedSaveKeepsTheOldSavedGame) {
    parts.value = 1;
    ASSERT_EQ(manager.Save(2), 1);
    const std::vector<u8> before = ReadFile(manager.SlotPath(2) + ".pdb");
    parts.failWrites = true;
    EXPECT_EQ(manager.Save(2), 0);
    EXPECT_FALSE(manager.LastError().empty());
    EXPECT_EQ(ReadFile(manager.SlotPath(2) + ".pdb"), before);

    parts.failWrites = false;
    manager.folder = saveDir.File("not-a-folder/");
    std::ofstream(saveDir.File("not-a-folder")) << "x";
    EXPECT_EQ(manager.Save(2), 0);
    manager.folder = saveDir.Path();
    EXPECT_EQ(manager.Delete(2), 1);
    EXPECT_FALSE(manager.List(2));
    EXPECT_EQ(manager.Delete(2), 0);
}

// A process that dies at any moment of a save leaves the slot holding the last saved game or the one
// being written, whole and loadable, never a mixture or nothing. The child saves in a loop and reports
// each finished save down a pipe; the parent kills it after a random number of reports, which puts the
// kill at a random point of the next save.
TEST_F(SavedGameTest, KilledWhileSavingLeavesTheOldOrTheNewGame) {
    parts.value = 0;
    ASSERT_EQ(manager.Save(3), 1);
    std::mt19937 random(1234);
    u32 acknowledged = 0;
    constexpr int kKills = 200;
    int killedMidSave = 0, killedWhileWriting = 0;
    for (int round = 0; round < kKills; ++round) {
        auto save = [this](u32 generation) {
            parts.value = generation;
            return manager.Save(3) == 1;
        };
        ASSERT_TRUE(testing_support::KillWhileSaving(random, acknowledged, save, acknowledged)) << round;
        // A temporary file left behind shows that the kill came in the middle of writing.
        if (std::ifstream(manager.SlotPath(3) + ".pdb.tmp").good()) ++killedWhileWriting;

        ASSERT_TRUE(manager.List(3)) << "kill " << round;
        ASSERT_EQ(manager.Load(3, nullptr), 1) << "kill " << round << ": " << manager.LastError();
        // The save that was running when the kill came may or may not have reached its rename.
        ASSERT_TRUE(parts.value == acknowledged || parts.value == acknowledged + 1)
            << "kill " << round << ": " << parts.value << " after " << acknowledged;
        if (parts.value == acknowledged + 1) ++killedMidSave;
        acknowledged = parts.value;
    }
    RecordProperty("kills", kKills);
    RecordProperty("killedAfterRename", killedMidSave);
    RecordProperty("killedWhileWriting", killedWhileWriting);
    // The pipe's reports come right after each save, so most kills land inside the next one.
    EXPECT_GT(killedWhileWriting, 0);
}

TEST(SaveStringTableTest, IndicesOutsideTheTableAreNone) {
    CSaveStringTable table;
    EXPECT_EQ(table.InternObjectName("a"), 1);
    EXPECT_EQ(table.InternObjectName("b"), 2);
    EXPECT_EQ(table.InternObjectName("a"), 1);
    EXPECT_EQ(table.InternObjectName(""), 0);
    EXPECT_EQ(table.InternContainerName("fire"), 1);
    const std::vector<u8> bytes = Compose([&](CStream& s) { return table.Serialize(s); });
    ByteWriter w;
    w.U8('U');
    w.Align(2);
    w.U16(3);
    w.U8(0);
    w.Text("a");
    w.U8(0);
    w.Text("b");
    w.U8(0);
    w.Align(2);
    w.U16(1);
    w.U8(0);
    w.Align(2);
    w.U16(2);
    w.U8(0);
    w.Text("fire");
    w.U8(0);
    EXPECT_EQ(bytes, w.Take());

    CSaveStringTable read;
    std::vector<u8> copy = bytes;
    CStream stream;
    stream.InitForReading(copy.data(), static_cast<u32>(copy.size()));
    ASSERT_TRUE(read.Serialize(stream));
    EXPECT_STREQ(read.NameAt(CSaveStringTable::kItemTypes, 2), "b");
    EXPECT_EQ(read.NameAt(CSaveStringTable::kItemTypes, 0), nullptr);
    EXPECT_EQ(read.NameAt(CSaveStringTable::kItemTypes, 3), nullptr);
    EXPECT_EQ(read.NameAt(CSaveStringTable::kMonsterTypes, 1), nullptr);
    EXPECT_STREQ(read.NameAt(CSaveStringTable::kSpells, 1), "fire");
}

}  // namespace

namespace {

// Every field a section's saved state keeps, set away from its default before the first save, and
// compared after the load with what was set (a second save could not show a field the writer leaves
// out). The creature of the additional world's cave is of a base-world type.
TEST_F(SavedGameTest, EveryMapStateFieldSetBeforeSavingComesBackAsSet) {
    const world::Content extra = fixtures::SmallWorld("VantrelExtra", "xtra");
    fixtures::Write(worldsDir.Path(), extra);
    ASSERT_EQ(worlds->OpenWorldByName("VantrelExtra"), 1);
    CWorld* xtra = worlds->FindWorldByShortName("xtra");
    ASSERT_NE(xtra, nullptr);
    ASSERT_GE(xtra->SectionCount(), 1u);
    CMapSection& cave = *xtra->SectionAt(0);
    ASSERT_FALSE(cave.placements.empty());
    ASSERT_GT(lists.creatures.GetTypeCount(), 0);
    ASSERT_GT(lists.items.GetItemTypeCount(), 0);
    const CMonsterType* wolf = nullptr;
    for (int i = 0; i < lists.creatures.GetTypeCount() && !wolf; ++i)
        if (std::strncmp(lists.creatures.GetType(i)->GetName(), "base_", 5) == 0) wolf = lists.creatures.GetType(i);
    ASSERT_NE(wolf, nullptr);
    const CItemType* item = lists.items.GetItemType(0);

    base->worldX = 11;
    base->worldY = 12;
    base->worldZ = 13;
    xtra->worldX = 21;
    xtra->worldY = 22;
    xtra->worldZ = 23;
    cave.lastVisit = 4321;
    CPlacement& placed = cave.placements[0];
    placed.bagId = 7;
    placed.level = 0x2A45;
    placed.flags = CPlacement::kVisible | CPlacement::kClosed | 0x80;
    placed.state = 0x9C;
    for (size_t i = 0; i < cave.explored.size(); ++i) cave.explored[i] = static_cast<u8>(i * 37 + 1);
    cave.monsters.clear();
    cave.bags.RemoveAllBags();
    CMonster* made = cave.CreateMonster(wolf, 3, 4);
    ASSERT_NE(made, nullptr);
    made->hp = 5;
    made->flags = 0x07;
    made->objectId = placed.id;
    made->bagId = 9;
    const CMonster set = *made;
    CItemBag* bag = cave.bags.CreateBag(0);
    ASSERT_NE(bag, nullptr);
    bag->flags = 1;
    bag->x = 5;
    bag->y = 6;
    CItemInstance* carried = CreateItemInstance(*item, 100, nullptr);
    carried->count = 77;
    carried->effects = new CEffectList;
    carried->effects->value = 1234;
    bag->AddItem(carried);
    const u8 bagId = bag->id;
    cave.effects.AddMonsterEffect(set.id, -6, 4, 23, 2, "base_spellcurse");
    cave.nextMonsterId = 40;
    cave.bags.nextBagId = 30;

    base->currentSection = base->SectionAt(0);
    worlds->SetCurrent(base);
    ASSERT_EQ(manager.Save(2), 1) << manager.LastError();

    // Everything away from what was set.
    base->worldX = base->worldY = base->worldZ = 0;
    xtra->worldX = xtra->worldY = xtra->worldZ = 0;
    cave.lastVisit = 0;
    cave.nextMonsterId = 1;
    cave.bags.nextBagId = 1;
    placed.bagId = 0;
    placed.level = 0;
    placed.flags = CPlacement::kVisible;
    placed.state = 0;
    const std::vector<u8> explored = cave.explored;
    std::fill(cave.explored.begin(), cave.explored.end(), 0);
    cave.monsters.clear();
    cave.bags.RemoveAllBags();
    cave.effects.Clear();

    ASSERT_EQ(manager.Load(2, nullptr), 1) << manager.LastError();
    EXPECT_EQ(base->worldX, 11u);
    EXPECT_EQ(base->worldY, 12u);
    EXPECT_EQ(base->worldZ, 13u);
    EXPECT_EQ(xtra->worldX, 21u);
    EXPECT_EQ(xtra->worldY, 22u);
    EXPECT_EQ(xtra->worldZ, 23u);
    EXPECT_EQ(cave.lastVisit, 4321u);
    EXPECT_EQ(cave.nextMonsterId, 40);
    EXPECT_EQ(cave.bags.nextBagId, 30);
    EXPECT_EQ(placed.bagId, 7);
    EXPECT_EQ(placed.level, 0x2A45);
    EXPECT_EQ(placed.flags, CPlacement::kVisible | CPlacement::kClosed | 0x80);
    EXPECT_EQ(placed.state, 0x9C);
    EXPECT_EQ(cave.explored, explored);
    ASSERT_EQ(cave.monsters.size(), 1u);
    const CMonster& m = cave.monsters[0];
    EXPECT_EQ(m.type, wolf);
    EXPECT_EQ(m.id, set.id);
    EXPECT_EQ(m.hp, 5);
    EXPECT_EQ(m.flags, 0x07);
    EXPECT_EQ(m.objectId, placed.id);
    EXPECT_EQ(m.bagId, 9);
    EXPECT_EQ(m.x, 3);
    EXPECT_EQ(m.y, 4);
    ASSERT_EQ(cave.bags.Count(), 1);
    const CItemBag& back = *cave.bags.At(0);
    EXPECT_EQ(back.id, bagId);
    EXPECT_EQ(back.flags, 1);
    EXPECT_EQ(back.x, 5);
    EXPECT_EQ(back.y, 6);
    ASSERT_EQ(back.GetItemCount(), 1);
    EXPECT_EQ(back.GetItem(0)->type, item);
    EXPECT_EQ(back.GetItem(0)->count, 77);
    ASSERT_NE(back.GetItem(0)->effects, nullptr);
    EXPECT_EQ(back.GetItem(0)->effects->value, 1234u);
    const CEffectHolder* holder = cave.effects.FindHolder(set.id);
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(holder->Count(), 1);
    const CActiveEffectEntry& e = *holder->At(0);
    EXPECT_STREQ(e.id, "base_spellcurse");
    EXPECT_EQ(e.amount, -6);
    EXPECT_EQ(e.turns, 4);
    EXPECT_EQ(e.kind, 23);
    EXPECT_EQ(e.target, 2);
}

}  // namespace
