#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "core/Str.h"
#include "core/Stream.h"
#include "core/WorldEntry.h"
#include "data/World.h"
#include "data/WorldScan.h"
#include "platform/Files.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using testing_support::TempDir;

struct WorldDb {
    std::string file;  // the name Save gets; a name that carries ".pdb" is saved as it stands
    std::string shortName;
    std::string title = "A World";
    u8 version = 122;
    u8 expansion = 2;
    u8 flagByte = 7;
    u32 date = 1000;
    const char* creator = "VnTl";
    const char* type = "VnTW";
    bool markers = true;
    bool headerRecord = true;
};

std::vector<u8> HeaderRecord(const WorldDb& w) {
    CWorld world;
    world.headerWord = 0x01020304;
    world.version = w.version;
    world.title.Assign(w.title.c_str());
    world.shortName.Assign(w.shortName.c_str());
    world.stringC.Assign("c");
    world.expansion = w.expansion;
    world.flagByte = w.flagByte;
    world.gridWidth = 3;
    world.gridHeight = 2;
    world.sectionPrefix.Assign("map");
    CStream s;
    s.InitForWriting();
    world.SerializeHeader(s);
    EXPECT_FALSE(s.HasError());
    std::vector<u8> bytes(s.GetBuffer(), s.GetBuffer() + s.GetOffset());
    if (!w.markers) bytes.erase(bytes.begin() + 4, bytes.begin() + 7);
    return bytes;
}

void MakeWorld(CFileFinder& finder, const WorldDb& w) {
    CPdbFile db(nullptr, &finder);
    db.InitSavedGameHeader(w.shortName.c_str());
    std::memcpy(db.Header().creator, w.creator, 4);
    std::memcpy(db.Header().type, w.type, 4);
    db.Header().modificationDate = w.date;
    if (w.headerRecord) {
        std::vector<u8> header = HeaderRecord(w);
        db.AddRecord(CWorld::kHeaderRecord, header.data(), static_cast<u32>(header.size()));
    }
    const u8 other[4] = {'<', 0, 0, 0};
    db.AddRecord(4000, other, 4);
    ASSERT_EQ(db.Save(w.file.c_str()), 1);
}

class WorldScanTest : public ::testing::Test {
protected:
    void SetUp() override { finder.SetFolder(dir.Path()); }

    void Scan() {
        CPdbFile db(nullptr, &finder);
        ScanWorldDatabases(db, list);
        EXPECT_FALSE(db.IsOpen());
    }

    TempDir dir;
    CFileFinder finder;
    CWorldEntryArray list{4};
};

TEST_F(WorldScanTest, ListsAdditionalWorldsWithTheirHeaderFields) {
    MakeWorld(finder, {.file = "Isles", .shortName = "isle", .title = "The Isles", .date = 77});
    MakeWorld(finder, {.file = "Old", .shortName = "old", .version = 118, .markers = false});
    MakeWorld(finder, {.file = "Mid", .shortName = "mid", .version = 121, .expansion = 3});
    Scan();
    ASSERT_EQ(list.GetCount(), 3u);
    // The search yields names in sorted order.
    const CWorldEntry& isle = list[0];
    EXPECT_STREQ(isle.fileName.GetText(), "Isles");
    EXPECT_STREQ(isle.title.GetText(), "The Isles");
    EXPECT_STREQ(isle.shortName.GetText(), "isle");
    EXPECT_EQ(isle.modificationDate, 77u);
    EXPECT_EQ(isle.enabled, 1);
    EXPECT_EQ(isle.expansion, 2);
    EXPECT_EQ(isle.flagByte, 7);

    const CWorldEntry& mid = list[1];
    EXPECT_STREQ(mid.shortName.GetText(), "mid");
    EXPECT_EQ(mid.expansion, 3) << "read from version 119 on";
    EXPECT_EQ(mid.flagByte, 0) << "read from version 122 on";

    const CWorldEntry& old = list[2];
    EXPECT_STREQ(old.shortName.GetText(), "old") << "a header without markers reads the same";
    EXPECT_EQ(old.expansion, 1);
    EXPECT_EQ(old.flagByte, 0);
}

TEST_F(WorldScanTest, SkipsWhatIsNotAnAdditionalWorld) {
    MakeWorld(finder, {.file = "VantrelSound", .shortName = "bsnd"});
    MakeWorld(finder, {.file = "VantrelBase", .shortName = "base"});
    MakeWorld(finder, {.file = "VantrelSave1", .shortName = "save", .creator = "VnTS", .type = "VnTW"});
    MakeWorld(finder, {.file = "VantrelData", .shortName = "data", .type = "data"});
    MakeWorld(finder, {.file = "NoHeader", .shortName = "none", .headerRecord = false});
    MakeWorld(finder, {.file = "Good", .shortName = "good"});
    // A header record that ends before its last field, and a file that is not a database at all.
    {
        CPdbFile db(nullptr, &finder);
        db.InitSavedGameHeader("cut");
        std::memcpy(db.Header().creator, "VnTl", 4);
        std::memcpy(db.Header().type, "VnTW", 4);
        std::vector<u8> header = HeaderRecord({.file = "Cut", .shortName = "cut"});
        db.AddRecord(CWorld::kHeaderRecord, header.data(), 12);
        ASSERT_EQ(db.Save("Cut"), 1);
        auto junk = plat::CreateFileForWriting(dir.File("Junk.pdb"));
        ASSERT_TRUE(junk->Write("not a database", 14));
    }
    Scan();
    ASSERT_EQ(list.GetCount(), 1u);
    EXPECT_STREQ(list[0].shortName.GetText(), "good");
}

TEST_F(WorldScanTest, SameShortNameKeepsOneEntryAndTheNewerDatabase) {
    MakeWorld(finder, {.file = "A1", .shortName = "same", .title = "first", .expansion = 1, .date = 100});
    MakeWorld(finder, {.file = "A2", .shortName = "same", .title = "newer", .expansion = 3, .date = 200});
    MakeWorld(finder, {.file = "A3", .shortName = "same", .title = "older", .date = 150});
    MakeWorld(finder, {.file = "A4", .shortName = "same", .title = "equal", .date = 200});
    Scan();
    ASSERT_EQ(list.GetCount(), 1u);
    EXPECT_STREQ(list[0].fileName.GetText(), "A2");
    EXPECT_STREQ(list[0].title.GetText(), "newer");
    EXPECT_EQ(list[0].modificationDate, 200u);
    EXPECT_EQ(list[0].expansion, 3);
    EXPECT_EQ(list[0].enabled, 1);
}

TEST_F(WorldScanTest, DoubleExtensionIsDroppedAndTheListIsRebuilt) {
    MakeWorld(finder, {.file = "Twice.pdb.pdb", .shortName = "twic"});
    CWorldEntry stale;
    stale.shortName.Assign("gone");
    AppendWorldEntry(list, stale);
    Scan();
    ASSERT_EQ(list.GetCount(), 1u);
    EXPECT_STREQ(list[0].fileName.GetText(), "Twice");
    EXPECT_STREQ(list[0].shortName.GetText(), "twic");
}

TEST_F(WorldScanTest, EmptyFolderGivesAnEmptyList) {
    AppendWorldEntry(list, CWorldEntry());
    Scan();
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.GetCapacity(), 4u);
    CStr name;
    EXPECT_EQ(finder.FindFirst(name), 0);
    EXPECT_TRUE(name.IsEmpty());
}

TEST(WorldEntryArray, GrowsByItsStepAndCopiesEntries) {
    CWorldEntryArray list(2);
    for (int i = 0; i < 5; ++i) {
        CWorldEntry e;
        e.shortName.Assign(std::to_string(i).c_str());
        e.expansion = static_cast<u8>(i);
        AppendWorldEntry(list, e);
    }
    EXPECT_EQ(list.GetCount(), 5u);
    EXPECT_EQ(list.GetCapacity(), 6u);
    EXPECT_STREQ(list[4].shortName.GetText(), "4");

    CWorldEntry replacement;
    replacement.title.Assign("replaced");
    replacement.enabled = 0;
    SetWorldEntry(list, 1, replacement);
    SetWorldEntry(list, 9, replacement);  // past the count: nothing
    EXPECT_STREQ(list[1].title.GetText(), "replaced");
    EXPECT_EQ(list[1].enabled, 0);

    RemoveWorldEntryAt(list, 0);
    EXPECT_EQ(list.GetCount(), 4u);
    EXPECT_STREQ(list[0].title.GetText(), "replaced");
    EXPECT_STREQ(list[3].shortName.GetText(), "4");

    ResetWorldEntries(list);
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.GetCapacity(), 2u);
}

TEST(FileFinder, EnumeratesDatabasesInOrderOfName) {
    TempDir dir;
    for (const char* name : {"b.pdb", "a.PDB", "c.txt", "d.pdb"})
        ASSERT_TRUE(plat::CreateFileForWriting(dir.File(name)));
    CFileFinder finder;
    finder.SetFolder(dir.Path());
    CStr name;
    std::vector<std::string> seen;
    for (int found = finder.FindFirst(name); found && !name.IsEmpty(); finder.FindNext(name))
        seen.push_back(name.GetText());
    EXPECT_EQ(seen, (std::vector<std::string>{"a.PDB", "b.pdb", "d.pdb"}));
    finder.FindNext(name);
    EXPECT_TRUE(name.IsEmpty());
}

}  // namespace

TEST_F(WorldScanTest, EachEntryOpensTheFileThatWasFound) {
    // Listed under the names the lists show ("x" twice, the upper-case extension kept), each entry
    // still opens its own file.
    MakeWorld(finder, {.file = "x.pdb.pdb", .shortName = "dbl"});
    MakeWorld(finder, {.file = "x", .shortName = "one"});
    MakeWorld(finder, {.file = "Upper", .shortName = "upc"});
    ASSERT_TRUE(plat::RenameFile(dir.File("Upper.pdb"), dir.File("Upper.PDB")));
    Scan();
    ASSERT_EQ(list.GetCount(), 3u);
    struct Case {
        const char* fileName;
        const char* shortName;
    } cases[] = {{"Upper.PDB", "upc"}, {"x", "one"}, {"x", "dbl"}};
    for (u32 i = 0; i < 3; ++i) {
        SCOPED_TRACE(cases[i].shortName);
        EXPECT_STREQ(list[i].fileName.GetText(), cases[i].fileName);
        EXPECT_STREQ(list[i].shortName.GetText(), cases[i].shortName);
        CPdbFile db(nullptr, &finder);
        ASSERT_EQ(OpenWorldEntry(db, list[i]), 1);
        CWorld world;
        ASSERT_TRUE(world.ReadHeader(db));
        EXPECT_STREQ(world.shortName.GetText(), cases[i].shortName);
    }
}
