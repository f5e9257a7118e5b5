// Creature kinds and monster types: record versions, frame tables, id lists, look-ups, pictures.
#include <gtest/gtest.h>

#include <map>

#include "tests/data/RuleFixture.h"

namespace {

CreatureKindDef Kind(const std::string& id, int kind, int frames) {
    CreatureKindDef k;
    k.id = id;
    k.firstName = "first";
    k.displayName = "Name of " + id;
    k.kind = kind;
    for (int i = 0; i < frames; ++i) k.frames.push_back(id + "_f" + std::to_string(i));
    k.secondLook = id + "_still";
    k.sounds[0] = "bsnd_a", k.sounds[1] = "bsnd_hurt", k.sounds[2] = "bsnd_die", k.sounds[3] = "bsnd_d";
    return k;
}

bool Load(CCreatureCatalogue& c, const std::vector<CreatureKindDef>& kinds,
          const std::vector<MonsterTypeDef>& types, int version) {
    CMemoryRecordReader reader(
        {WriteCreatureKindRecord(kinds, version), WriteMonsterTypeRecord(types, version)});
    return c.Load(reader, version);
}

TEST(CreatureKinds, AHandWrittenRecordWithAndWithoutMarkers) {
    // One kind at version 122, field by field: tag, count, marker, id, two names, 7 frames, second look,
    // four sounds, ten values, kind, picture class, scale, two bytes, id list, attack style, text; then
    // the empty extension block.
    ByteWriter w;
    w.U8(0x1C), w.U8(0), w.U16(1), w.U8(0x1D);
    for (const char* t : {"base_bat", "Bat", "Cave bat"}) w.Text(t), w.U8(0);
    w.U8(0), w.U16(7);
    for (int i = 0; i < 7; ++i) w.Text("bres_bat" + std::to_string(i)), w.U8(0);
    for (const char* t : {"bres_batstill", "bsnd_a", "bsnd_b", "bsnd_c", "bsnd_d"}) w.Text(t), w.U8(0);
    w.Align(2);
    for (int v : {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}) w.U16(v);
    w.U8(1), w.U8(2), w.U8(3), w.U8(4), w.U8(5);
    w.Align(2), w.U16(1), w.Text("base_flyer"), w.U8(0);
    w.U8(2), w.Text("more"), w.U8(0);
    w.Align(2), w.U16(0);
    std::vector<u8> handMade = w.Take();

    CreatureKindDef bat;
    bat.id = "base_bat", bat.firstName = "Bat", bat.displayName = "Cave bat";
    for (int i = 0; i < 7; ++i) bat.frames.push_back("bres_bat" + std::to_string(i));
    bat.secondLook = "bres_batstill";
    bat.sounds[0] = "bsnd_a", bat.sounds[1] = "bsnd_b", bat.sounds[2] = "bsnd_c", bat.sounds[3] = "bsnd_d";
    int values[10] = {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000};
    std::copy(values, values + 10, bat.values);
    bat.kind = 1, bat.pictureClass = 2, bat.scale = 3, bat.extra[0] = 4, bat.extra[1] = 5;
    bat.ids = {"base_flyer"};
    bat.attackStyle = 2, bat.text = "more";
    EXPECT_EQ(WriteCreatureKindRecord({bat}, 122), handMade);

    std::vector<u8> unmarked = handMade;
    unmarked.erase(unmarked.begin() + 4);  // the 0x1D marker
    // Removing one byte moves the later aligned fields: the hand-made copy pads them again.
    ByteWriter again;
    again.U8(0x1C), again.U8(0), again.U16(1);
    for (const char* t : {"base_bat", "Bat", "Cave bat"}) again.Text(t), again.U8(0);
    again.Align(2), again.U16(7);
    for (int i = 0; i < 7; ++i) again.Text("bres_bat" + std::to_string(i)), again.U8(0);
    for (const char* t : {"bres_batstill", "bsnd_a", "bsnd_b", "bsnd_c", "bsnd_d"})
        again.Text(t), again.U8(0);
    again.Align(2);
    for (int v : values) again.U16(v);
    again.U8(1), again.U8(2), again.U8(3), again.U8(4), again.U8(5);
    again.Align(2), again.U16(1), again.Text("base_flyer"), again.U8(0);
    again.U8(2), again.Text("more"), again.U8(0);
    again.Align(2), again.U16(0);
    for (const std::vector<u8>& record : {handMade, again.Take()}) {
        CCreatureCatalogue c;
        CMemoryRecordReader reader({record, WriteMonsterTypeRecord({}, 122)});
        ASSERT_TRUE(c.Load(reader, 122));
        const CCreatureKind* k = c.FindCreatureKind("base_bat");
        ASSERT_NE(k, nullptr);
        EXPECT_STREQ(k->GetDisplayName(), "Cave bat");
        EXPECT_STREQ(k->frames[6], "bres_bat6");
        EXPECT_STREQ(k->sounds[2], "bsnd_c");
        EXPECT_EQ(k->values[9], 1000);
        EXPECT_EQ(k->scale, 3);
        EXPECT_EQ(k->extra[1], 5);
        EXPECT_EQ(k->attackStyle, 2);
        EXPECT_STREQ(k->text, "more");
    }
}

TEST(CreatureKinds, SoundVersionsFramesAndIdLists) {
    CreatureKindDef k = Kind("base_orc", 1, 7);
    for (int version : {21, 22, 104, 105}) {
        CCreatureCatalogue c;
        ASSERT_TRUE(Load(c, {k}, {}, version)) << version;
        const CCreatureKind* orc = c.FindCreatureKind("base_orc");
        EXPECT_STREQ(orc->sounds[0], version > 21 ? "bsnd_a" : nullptr);
        EXPECT_STREQ(orc->sounds[2], version > 104 ? "bsnd_die" : nullptr);
        EXPECT_STREQ(orc->sounds[3], version > 21 ? "bsnd_d" : nullptr);
    }
    // Frame counts that do not match the kind's table are cut or left unnamed.
    CreatureKindDef many = Kind("base_many", 1, 9);
    CreatureKindDef person = Kind("base_person", 4, 7);
    CreatureKindDef ids = Kind("base_ids", 1, 7);
    ids.ids = {"", "base_a", "", "base_b", ""};
    CCreatureCatalogue c;
    ASSERT_TRUE(Load(c, {many, person, ids}, {}, kTestVersion));
    EXPECT_STREQ(c.FindCreatureKind("base_many")->frames[6], "base_many_f6");
    EXPECT_EQ(c.FindCreatureKind("base_many")->frames[7], nullptr);
    EXPECT_EQ(c.FindCreatureKind("base_person")->GetFrameCount(), 10);
    EXPECT_STREQ(c.FindCreatureKind("base_person")->frames[6], "base_person_f6");
    EXPECT_EQ(c.FindCreatureKind("base_person")->frames[7], nullptr);
    const CPointerArray& list = c.FindCreatureKind("base_ids")->ids;
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetAt(0), nullptr);
    EXPECT_STREQ(list.At<const char>(1), "base_a");
    EXPECT_STREQ(list.At<const char>(2), "base_b");
    EXPECT_EQ(c.FindCreatureKind("base_nothing"), nullptr);
    EXPECT_EQ(c.FindCreatureKind(nullptr), nullptr);
}

TEST(CreatureKinds, TheExtensionBlockAddsIds) {
    RuleRecord record = WriteCreatureKindRecord({Kind("base_orc", 1, 7)}, kTestVersion);
    record.resize(record.size() - 2);  // replace the empty block by one with two entries
    ByteWriter block;
    block.Bytes(record.data(), record.size());
    block.Align(2), block.U16(2);
    block.Text("base_orc"), block.U8(0), block.Align(2), block.U16(1), block.Text("base_grunt"), block.U8(0);
    block.Text("base_ghost"), block.U8(0), block.Align(2), block.U16(1), block.Text("base_x"), block.U8(0);
    CCreatureCatalogue c;
    CMemoryRecordReader reader({block.Take(), WriteMonsterTypeRecord({}, kTestVersion)});
    ASSERT_TRUE(c.Load(reader, kTestVersion));
    EXPECT_GE(c.FindCreatureKind("base_orc")->ids.FindString("base_grunt"), 0);
    EXPECT_EQ(c.FindCreatureKind("base_ghost"), nullptr);
}

TEST(MonsterTypes, StoredFormVersionsKindsAndPictures) {
    CreatureKindDef orc = Kind("base_orc", 1, 7);
    MonsterTypeDef t;
    t.id = "base_orc_grunt", t.kindId = "base_orc", t.displayName = "Orc grunt",
    t.pictureName = "bres_orcpic";
    t.npcId = "base_npc";
    t.effects = {Fx(26, 3, "", 1), Fx(99, 1)};
    t.items = {{"base_sword", 1, 1, 50, 80}, {"", 2, 3, 100, 100}};
    for (int i = 0; i < 10; ++i) t.values[i] = 10 * (i + 1);
    t.kind = 1, t.level = 4, t.flags = 12, t.attackStyle = 3, t.text = "bres_missile";
    t.bytes[0] = 1, t.bytes[1] = 2, t.bytes[2] = 3;
    MonsterTypeDef lost = t;
    lost.id = "base_lost", lost.kindId = "base_gone";
    for (int version : {20, 22, 93, 94, 104, 105, kTestVersion}) {
        CCreatureCatalogue c;
        ASSERT_TRUE(Load(c, {orc}, {t, lost}, version)) << version;
        const CMonsterType* m = c.FindMonsterType("base_orc_grunt");
        ASSERT_NE(m, nullptr) << version;
        EXPECT_EQ(m->creatureKind, c.FindCreatureKind("base_orc"));
        EXPECT_STREQ(m->npcId, version > 20 ? "base_npc" : nullptr);
        EXPECT_EQ(m->effects.Count(), 1);  // the unknown kind is left out
        ASSERT_EQ(m->items.GetCount(), 2);
        EXPECT_STREQ(m->items.At<CModifierEntry>(0)->itemId, "base_sword");
        EXPECT_EQ(m->items.At<CModifierEntry>(0)->condition, 80);
        EXPECT_EQ(m->items.At<CModifierEntry>(1)->itemId, nullptr);
        EXPECT_EQ(m->items.At<CModifierEntry>(1)->group, 3);
        EXPECT_EQ(m->values[9], 100);
        EXPECT_EQ(m->level, 4);
        EXPECT_EQ(m->attackStyle, version > 78 ? 3 : 1);
        EXPECT_EQ(m->bytes[2], version > 96 ? 3 : 0);
        EXPECT_EQ(c.FindMonsterType("base_lost")->creatureKind, nullptr);
    }
    EXPECT_EQ(CCreatureCatalogue().FindMonsterType("base_orc_grunt"), nullptr);

    struct Finder : IPictureFinder {
        u16 FindPictureIndex(const char* name) const override {
            std::string n = name ? name : "";
            return n == "bres_orcpic"              ? 40
                   : n == "base_orc_still"         ? 41
                   : n.rfind("base_orc_f", 0) == 0 ? 10 + (n.back() - '0')
                                                   : 0;
        }
    } finder;
    CCreatureCatalogue c;
    ASSERT_TRUE(Load(c, {orc}, {t, lost}, kTestVersion));
    c.FindCreatureKind("base_orc")->pictureClass = 7;
    u8 classes[64] = {};
    c.ResolvePictures(finder, classes, 64);
    EXPECT_EQ(c.FindCreatureKind("base_orc")->frameIndices[3], 13);
    EXPECT_EQ(classes[13], 7);
    EXPECT_EQ(c.FindMonsterType("base_orc_grunt")->normalPicture, 40);
    EXPECT_EQ(c.FindMonsterType("base_orc_grunt")->paralysedPicture, 41);
    EXPECT_EQ(c.FindMonsterType("base_lost")->paralysedPicture, 0);

    struct Sounds : ISoundMarker {
        void MarkSoundNeeded(const char* name) override { marked.push_back(name); }
        std::vector<std::string> marked;
    } sounds;
    MarkCreatureKindUsed(*c.FindCreatureKind("base_orc"), &sounds);
    EXPECT_EQ(c.FindCreatureKind("base_orc")->inUse, 1u);
    EXPECT_EQ(sounds.marked.size(), 4u);

    CMonsterType made;
    made.SetKind(c.FindCreatureKind("base_orc"));
    EXPECT_EQ(made.values[3], 20);
    EXPECT_EQ(made.level, 1);
    EXPECT_EQ(made.flags, 12);
    EXPECT_STREQ(made.pictureName, "base_orc_f0");
}

TEST(MonsterTypes, HealthPercentWithAMaximumOfZero) {
    EXPECT_EQ(GetHealthPercent(5, 20), 25);
    EXPECT_EQ(GetHealthPercent(20, 20), 100);
    EXPECT_EQ(GetHealthPercent(7, 0), 0);
    EXPECT_EQ(GetHealthPercent(65535, 65535), 100);
}

}  // namespace
