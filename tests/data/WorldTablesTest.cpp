// The texture set, the sky choice and the open-worlds list.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "core/Settings.h"
#include "data/TextureSet.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "tests/data/WorldFixtures.h"
#include "tests/support/TempDir.h"
#include "tools/content/ByteWriter.h"

namespace {

using testing_support::TempDir;

CRecordPtr MakeRecord(const std::vector<uint8_t>& bytes) {
    auto* r = new CRecordData;
    r->size = static_cast<u32>(bytes.size());
    r->data = new u8[bytes.size() ? bytes.size() : 1];
    if (!bytes.empty()) std::memcpy(r->data, bytes.data(), bytes.size());
    return CRecordPtr(r);
}

// A '<' record of n pictures named "p0", "p1", ... at records 100 + i.
std::vector<uint8_t> FirstTable(u32 n) {
    ByteWriter w;
    w.U8('<');
    w.Align(2);
    w.U16(n);
    for (u32 i = 0; i < n; ++i) {
        w.Text("p" + std::to_string(i));
        w.U8(0);
        w.Align(4);
        w.U32(0xDEADBEEF);
        w.Align(2);
        w.U16(100 + i);
    }
    return w.Take();
}

TEST(TextureSetTest, EntryZeroIsNeverFoundAndTheTableGrowsByAHundred) {
    CTextureSet set;
    ASSERT_TRUE(set.LoadFirstTable(nullptr, MakeRecord(FirstTable(0))));
    EXPECT_EQ(set.FindPicture("p0"), nullptr);
    ASSERT_TRUE(set.LoadFirstTable(nullptr, MakeRecord(FirstTable(99))));
    // Entry 0 is the reserved "no picture" slot: every named picture has an index of 1 or more.
    EXPECT_EQ(set.PictureCount(), 100u);
    EXPECT_EQ(set.FirstCapacity(), 200u);
    ASSERT_NE(set.FindPicture("p0"), nullptr);
    EXPECT_EQ(set.FindPictureIndex("p0"), 1);
    EXPECT_EQ(set.FindPicture("p98")->recordId, 198);
    EXPECT_EQ(set.FindPicture(nullptr), nullptr);
    EXPECT_EQ(set.PictureAt(0)->name, nullptr);

    // A count that runs past the record adds nothing.
    std::vector<uint8_t> cut = FirstTable(3);
    cut[2] = 40;
    EXPECT_FALSE(set.LoadFirstTable(nullptr, MakeRecord(cut)));
    EXPECT_EQ(set.PictureCount(), 100u);
}

TEST(TextureSetTest, SecondTableIsSearchedFromIndexZero) {
    ByteWriter w;
    w.U8('=');
    w.Align(2);
    w.U16(2);
    for (const char* name : {"tex_a", "tex_b"}) {
        w.Text(name);
        w.U8(0);
        w.Text("second");
        w.U8(0);
        w.Align(2);
        w.U16(3);
        w.Align(2);
        w.U16(500);
    }
    CTextureSet set;
    ASSERT_TRUE(set.LoadSecondTable(nullptr, MakeRecord(w.Take())));
    ASSERT_NE(set.FindSecondByName("tex_a"), nullptr);
    EXPECT_EQ(set.FindSecondIndex("tex_a"), 0);
    EXPECT_EQ(set.FindSecondIndex("tex_b"), 1);
    EXPECT_EQ(set.FindSecondIndex(nullptr), 0);
    EXPECT_EQ(set.IndexOfSecond(set.FindSecondByName("tex_b")), 1);
    EXPECT_EQ(set.IndexOfSecond(nullptr), 65535);
    EXPECT_EQ(set.FindSecondByName("tex_b")->value, 3);
}

TEST(TextureSetTest, PicturesLoadOnDemandFourBytesIntoTheirRecords) {
    TempDir dir;
    CFileFinder finder;
    finder.SetFolder(dir.Path());
    fixtures::Write(dir.Path(), fixtures::ResourceWorld());
    CTextureSet textures;
    CWorldLists lists(textures);
    CWorldList worlds(lists, &finder, nullptr);
    ASSERT_EQ(worlds.OpenWorldByName("VantrelRes"), 1) << worlds.LastError();
    CRecordHolder* floor = textures.FindPicture("bres_floorstone");
    ASSERT_NE(floor, nullptr);
    EXPECT_FALSE(floor->IsLoaded());
    EXPECT_EQ(textures.DataAt(floor->tableIndex), nullptr);
    ASSERT_TRUE(textures.EnsureLoaded(floor));
    EXPECT_EQ(floor->data, floor->record->data + 4);
    EXPECT_EQ(textures.WidthAt(floor->tableIndex), 256);
    EXPECT_EQ(textures.HeightAt(floor->tableIndex), 128);
    textures.UnloadEntry(floor);
    EXPECT_EQ(textures.DataAt(floor->tableIndex), nullptr);
    EXPECT_EQ(textures.WidthAt(floor->tableIndex), 0);

    // Picture sets resolve their names to texture indices; talk profiles load their pictures once.
    const CPictureSet* skies = lists.pictureSets.FindById("bres_skyset");
    ASSERT_NE(skies, nullptr);
    ASSERT_EQ(skies->pictureIndices.size(), 3u);
    EXPECT_EQ(skies->pictureIndices[0], textures.FindPictureIndex("bres_skyday"));
}

TEST(SkyTest, TimeClassesAndTheNearestWeatherLevel) {
    const struct {
        u32 hour;
        u8 timeClass;
    } hours[] = {{0, 2}, {5, 2}, {6, 4}, {7, 4}, {8, 1}, {19, 1}, {20, 4}, {21, 4}, {22, 2}, {23, 2}};
    for (const auto& h : hours) EXPECT_EQ(SkyTimeClassOfHour(h.hour), h.timeClass) << h.hour;

    CSkyList skies;
    auto add = [&skies](const char* id, u8 timeClass, u8 level) {
        auto s = std::make_unique<CSkyRecord>();
        s->id = id;
        s->timeClass = timeClass;
        s->weatherLevel = level;
        skies.items.push_back(std::move(s));
    };
    add("clear", 1, 0);
    add("rain", 1, 4);
    add("rain2", 1, 4);
    add("night", 2, 0);
    EXPECT_STREQ(skies.ChooseSky(12, 0)->id, "clear");
    EXPECT_STREQ(skies.ChooseSky(12, 3)->id, "rain");
    EXPECT_STREQ(skies.ChooseSky(12, 2)->id, "clear");  // equal distances: the first wins
    EXPECT_STREQ(skies.ChooseSky(23, 9)->id, "night");
    EXPECT_EQ(skies.ChooseSky(7, 0), nullptr);
    EXPECT_EQ(skies.ChooseSky(12, 5000), nullptr);  // a distance of 1000 or more is never chosen
}

class WorldListTest : public ::testing::Test {
protected:
    void SetUp() override {
        finder.SetFolder(dir.Path());
        SetDefaultSettings(settings);
        std::memset(settings.Worlds, 0, sizeof settings.Worlds);
    }

    void AddWorld(const std::string& file, const std::string& shortName, u8 expansion = 1, u32 date = 1000,
                  const char* type = "VnTW", const char* creator = "VnTl") {
        world::Content c = fixtures::SmallWorld(file, shortName);
        c.title = "Land of " + shortName;
        c.expansion = expansion;
        c.type = type;
        std::vector<world::Record> records = fixtures::Build(c);
        CPdbFile db(nullptr, &finder);
        db.InitSavedGameHeader(file.c_str());
        std::memcpy(db.Header().type, type, 4);
        std::memcpy(db.Header().creator, creator, 4);
        db.Header().modificationDate = date;
        for (const world::Record& r : records)
            db.AddRecord(r.id, r.data.data(), static_cast<u32>(r.data.size()));
        ASSERT_EQ(db.Save(file.c_str()), 1);
    }

    TempDir dir;
    CFileFinder finder;
    CGameSettings settings{};
    CTextureSet textures;
    CWorldLists lists{textures};
};

TEST_F(WorldListTest, TheGameDatabasesOpenInOrderAndLookUpsUseFourCharacters) {
    for (const world::Content& c :
         {fixtures::MusicWorld(), fixtures::SoundWorld(), fixtures::ResourceWorld(), fixtures::BaseWorld()})
        fixtures::Write(dir.Path(), c);
    CWorldList worlds(lists, &finder, &settings);
    int steps = 0;
    EXPECT_EQ(worlds.OpenGameDatabases([&steps] { ++steps; }), 1);
    EXPECT_EQ(steps, 4);
    ASSERT_EQ(worlds.Count(), 4u);
    EXPECT_STREQ(worlds.At(0)->shortName.GetText(), "bmus");
    EXPECT_STREQ(worlds.At(3)->shortName.GetText(), "base");
    EXPECT_EQ(worlds.Current(), worlds.At(3));
    EXPECT_EQ(worlds.FindWorldByShortName("basex"), worlds.At(3));
    EXPECT_EQ(worlds.FindWorldByShortName("bas"), nullptr);
    EXPECT_EQ(worlds.FindWorldByShortName(nullptr), nullptr);
    EXPECT_NE(worlds.FindSectionInAllWorlds("base_cellar"), nullptr);
    EXPECT_EQ(lists.resources.Songs().size(), 3u);
    EXPECT_NE(lists.resources.FindResourceByName("bsnd_click"), nullptr);
    worlds.CloseAllWorlds();
    EXPECT_EQ(worlds.Count(), 0u);
    EXPECT_EQ(textures.PictureCount(), 0u);
    EXPECT_EQ(lists.resources.Songs().size(), 0u);
}

TEST_F(WorldListTest, WithoutTheBaseWorldOpeningFailsAndACutBaseNamesFileAndRecord) {
    fixtures::Write(dir.Path(), fixtures::MusicWorld());
    CWorldList worlds(lists, &finder, &settings);
    EXPECT_EQ(worlds.OpenGameDatabases(), 0);
    EXPECT_EQ(worlds.Count(), 1u);
    EXPECT_TRUE(worlds.LastError().empty());

    world::Content base = fixtures::BaseWorld();
    std::vector<world::Record> records = fixtures::Build(base);
    const world::Record* objects = fixtures::FindRecordWith(records, 0x19, "base_wallstone");
    ASSERT_NE(objects, nullptr);
    const u16 objectsId = objects->id;
    fixtures::RemoveRecord(records, objectsId);
    fixtures::Write(dir.Path(), base, records);
    worlds.CloseAllWorlds();
    EXPECT_EQ(worlds.OpenGameDatabases(), 0);
    EXPECT_EQ(worlds.FindWorldByShortName("base"), nullptr);
    EXPECT_EQ(worlds.LastError(), "VantrelBase.pdb: record " + std::to_string(objectsId) +
                                      " (map objects) is missing or damaged.");
}

TEST_F(WorldListTest, InstalledWorldsAreFoundSkippedAndRemembered) {
    AddWorld("Isles", "isle", 2);
    AddWorld("IslesOld", "isle", 2, 500);
    AddWorld("Foreign", "frgn", 1, 1000, "VnTW", "XXXX");
    AddWorld("NotAWorld", "note", 1, 1000, "data");
    AddWorld("Peaks", "peak", 3);
    AddWorld("Base2", "base", 1);
    std::strcpy(settings.Worlds[0].Name, "peak");
    settings.Worlds[0].Active = 0;
    CWorldList worlds(lists, &finder, &settings);
    worlds.UpdateInstalledWorlds();
    CWorldEntryArray& list = worlds.Installed();
    ASSERT_EQ(list.GetCount(), 2u);
    for (u32 i = 0; i < list.GetCount(); ++i) {
        if (list[i].shortName.Equals("isle")) {
            EXPECT_STREQ(list[i].fileName.GetText(), "Isles");
            EXPECT_EQ(list[i].enabled, 1);
        } else {
            EXPECT_STREQ(list[i].shortName.GetText(), "peak");
            EXPECT_EQ(list[i].enabled, 0);
        }
    }
    EXPECT_STREQ(settings.Worlds[1].Name, "isle");
    EXPECT_EQ(settings.Worlds[1].Active, 1);

    std::vector<std::pair<std::string, std::string>> offered;
    worlds.AddWorldStartEntries(
        2, [&offered](const char* label, const char* id) { offered.emplace_back(label, id); });
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].first, "Land of isle (100\t)");
    EXPECT_EQ(offered[0].second, "isle_STARTGAME");
    offered.clear();
    worlds.AddWorldStartEntries(
        3, [&offered](const char* label, const char* id) { offered.emplace_back(label, id); });
    EXPECT_TRUE(offered.empty());  // the disabled world is not offered

    worlds.OpenInstalledWorlds();
    ASSERT_EQ(worlds.Count(), 1u);
    EXPECT_STREQ(worlds.At(0)->shortName.GetText(), "isle");
    worlds.RemoveInstalledWorldEntry("isle");
    EXPECT_EQ(list.GetCount(), 1u);
}

TEST_F(WorldListTest, ATwentyFirstWorldIsListedButNotRemembered) {
    for (int i = 0; i < 21; ++i) {
        char name[5];
        std::snprintf(name, sizeof name, "w%03d", i);
        AddWorld(std::string("World") + name, name);
    }
    CWorldList worlds(lists, &finder, &settings);
    worlds.UpdateInstalledWorlds();
    ASSERT_EQ(worlds.Installed().GetCount(), 21u);
    int remembered = 0;
    for (const CWorldSetting& s : settings.Worlds) remembered += s.Name[0] != 0;
    EXPECT_EQ(remembered, 20);
    for (u32 i = 0; i < 21; ++i) EXPECT_EQ(worlds.Installed()[i].enabled, 1);
}

}  // namespace
