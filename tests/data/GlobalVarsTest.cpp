// Script globals in the saved game, the sky record look-up by id and the picture sets' id block.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "core/Stream.h"
#include "data/TextureSet.h"
#include "data/WorldRecords.h"
#include "tests/support/TempDir.h"
#include "tools/content/ByteWriter.h"

namespace {

CGlobalVarList Globals(std::initializer_list<const char*> names) {
    CGlobalVarList list;
    for (const char* name : names) {
        auto var = std::make_unique<CGlobalVar>();
        var->id = name;
        list.items.push_back(std::move(var));
    }
    return list;
}

std::vector<u8> Saved(const CGlobalVarList& list) {
    CStream s;
    s.InitForWriting();
    EXPECT_TRUE(list.Save(s));
    return std::vector<u8>(s.GetBuffer(), s.GetBuffer() + s.GetOffset());
}

TEST(GlobalVars, TheSavedFormByteForByte) {
    CGlobalVarList list = Globals({"base_x", "base_t"});
    list.items[0]->number = 5;
    list.items[0]->text = "5";
    list.items[1]->type = 1;
    list.items[1]->text = "hi";
    const std::vector<u8> expected = {0x10, 0x00, 0x02, 0x00, 'b',  'a',  's',  'e', '_',
                                      'x',  0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 'b', 'a',
                                      's',  'e',  '_',  't',  0x00, 0x01, 'h',  'i', 0x00};
    EXPECT_EQ(Saved(list), expected);
}

TEST(GlobalVars, RestoreSkipsNamesTheWorldLacksAndKeepsTheRest) {
    CGlobalVarList saved = Globals({"base_a", "base_gone", "base_c"});
    saved.items[0]->number = 11;
    saved.items[1]->number = 22;
    saved.items[2]->type = 1;
    saved.items[2]->text = "-33";
    std::vector<u8> bytes = Saved(saved);

    CGlobalVarList world = Globals({"base_c", "base_a", "base_new"});
    CStream s;
    s.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    ASSERT_TRUE(world.Restore(s));
    EXPECT_EQ(world.FindById("base_a")->number, 11);
    EXPECT_EQ(world.FindById("base_a")->text, "11");
    EXPECT_EQ(world.FindById("base_c")->number, -33);
    EXPECT_EQ(world.FindById("base_c")->text, "-33");
    EXPECT_EQ(world.FindById("base_new")->number, 0);
    EXPECT_EQ(world.FindById("base_new")->text, "0");

    // A record cut short is refused.
    bytes.resize(bytes.size() - 6);
    CStream cut;
    cut.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    EXPECT_FALSE(world.Restore(cut));
}

TEST(Sky, PrepareSkyPictureByIdGivesItsValuesAndPicture) {
    CTextureSet textures;
    auto picture = std::make_unique<CRecordHolder>();
    textures.Add("bres_skyday", std::move(picture));
    CSkyList skies;
    auto sky = std::make_unique<CSkyRecord>();
    sky->id = "bres_sky1";
    sky->picture = "bres_skyday";
    sky->value = 3;
    sky->word = 400;
    sky->last = 9;
    skies.items.push_back(std::move(sky));
    u8 value = 0, last = 0;
    u16 word = 0, index = 0;
    ASSERT_TRUE(skies.PrepareSkyPicture(textures, "bres_sky1", value, word, last, index));
    EXPECT_EQ(value, 3);
    EXPECT_EQ(word, 400);
    EXPECT_EQ(last, 9);
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(skies.PrepareSkyPicture(textures, "bres_none", value, word, last, index));
}

}  // namespace

namespace {

// A picture-set record written field by field: one set "s1" with one picture, then the id-reference
// block naming `target` with the ids "x" and "y".
std::vector<u8> PictureSetRecord(const char* target, u8 version) {
    ByteWriter w;
    w.U8(0x30);
    w.Align(2);
    w.U16(1);
    w.U8(0x31);
    w.Text("s1");
    w.U8(0);
    w.U8(1);
    if (version <= 108) w.U8(0);  // a dropped text, empty
    w.Align(2);
    w.U16(1);
    w.Text("bres_p");
    w.U8(0);
    w.Align(2);
    w.U16(0);
    if (version > 41) {
        w.Align(2);
        w.U16(1);
        w.Text(target);
        w.U8(0);
        w.Align(2);
        w.U16(2);
        w.Text("x");
        w.U8(0);
        w.Text("y");
        w.U8(0);
    }
    return w.Take();
}

TEST(PictureSets, TheIdReferenceBlockAddsIdsAndAnUnknownIdFailsTheRecord) {
    testing_support::TempDir dir;
    CFileFinder finder;
    finder.SetFolder(dir.Path());
    struct Case {
        const char* target;
        u8 version;
        bool loads;
        size_t ids;
    } cases[] = {{"s1", 122, true, 2}, {"s1", 100, true, 2}, {"s1", 41, true, 0}, {"nobody", 122, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.target << " " << int(c.version));
        const std::vector<u8> record = PictureSetRecord(c.target, c.version);
        CPdbFile writer(nullptr, &finder);
        writer.InitSavedGameHeader("Sets");
        writer.AddRecord(4000, record.data(), static_cast<u32>(record.size()));
        ASSERT_EQ(writer.Save("Sets"), 1);
        CPdbFile db(nullptr, &finder);
        ASSERT_EQ(db.Open("Sets", "VnTS"), 1);
        CPictureSetList sets;
        u16 key = 4000;
        EXPECT_EQ(sets.Load(&db, key, c.version), c.loads);
        EXPECT_EQ(key, c.loads ? 4001 : 4000);
        if (!c.loads) {
            EXPECT_EQ(sets.Count(), 0u);
            continue;
        }
        const CPictureSet* set = sets.FindById("s1");
        ASSERT_NE(set, nullptr);
        ASSERT_EQ(set->pictures.size(), 1u);
        EXPECT_STREQ(set->pictures[0], "bres_p");
        EXPECT_EQ(set->idList.size(), c.ids);
    }
}

}  // namespace
