#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "data/MapObjectRecords.h"
#include "tests/support/TempDir.h"

using testing_support::TempDir;

namespace {

// Loads one map-object record (record 4000) of a world of that version.
struct OneRecord {
    explicit OneRecord(const std::vector<u8>& bytes) {
        finder.SetFolder(dir.Path());
        CPdbFile out(nullptr, &finder);
        out.InitSavedGameHeader("objects");
        std::memcpy(out.Header().creator, "VnTl", 4);
        out.AddRecord(4000, bytes.data(), static_cast<u32>(bytes.size()));
        EXPECT_EQ(out.Save("objects"), 1);
        db = std::make_unique<CPdbFile>(nullptr, &finder);
        EXPECT_EQ(db->Open("objects"), 1);
    }
    bool Load(u8 version) {
        key = 4000;
        return list.Load(db.get(), key, version);
    }
    TempDir dir;
    CFileFinder finder;
    std::unique_ptr<CPdbFile> db;
    CMapObjectRecords list;
    u16 key = 4000;
};

// One sign "sg" (type 19), text 1 "a", no text 2, P0..P5 = 1..6, text 3 "t", no sounds, cell view
// bits 5, view flags 0x4001, one frame "fr", no ids; written by hand for each version gate.
const std::vector<u8> kVersion122 = {
    0x19, 0,                    // tag, pad
    1,    0,                    // count
    19,   's', 'g', 0,          // type, name
    'a',  0,                    // text 1
    19,   0,                    // type again, text 2
    1,    0,    2,   0, 3, 0, 4, 0, 5, 0, 6, 0,  // P0..P5
    't',  0,                    // text 3 (above 7)
    0,                          // sound 1 (above 9)
    0,                          // sound 2 (above 105)
    0,                          // sound 3 (above 107)
    5,                          // cell view bits (above 58)
    0x01, 0x40,                 // view flags (11 and above)
    1,    0,    'f', 'r', 0, 0,  // frames: count, "fr", pad
    0,    0,                    // ids
    0,    0,                    // id-reference block (above 41)
};

const std::vector<u8> kVersion10 = {
    0x19, 0, 1, 0, 19, 's', 'g', 0, 'a', 0, 19, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0,
    't',  0,                 // text 3
    0,                       // sound 1
    0,                       // pad
    1,    0, 'f', 'r', 0, 0,  // frames
    0,    0,                 // ids
};

const std::vector<u8> kVersion7 = {
    0x19, 0, 1, 0, 19, 's', 'g', 0, 'a', 0, 19, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0,
    1,    0, 'f', 'r', 0, 0,  // frames
    0,    0,                 // ids
};

}  // namespace

TEST(MapObjectRecord, FieldsByVersionGate) {
    struct {
        u8 version;
        const std::vector<u8>* bytes;
        bool text3, viewFlags, cellBits;
    } cases[] = {{122, &kVersion122, true, true, true}, {10, &kVersion10, true, false, false},
                 {7, &kVersion7, false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        OneRecord r(*c.bytes);
        ASSERT_TRUE(r.Load(c.version));
        EXPECT_EQ(r.key, 4001);
        ASSERT_EQ(r.list.Count(), 1u);
        const CMapObjectRecord& o = *r.list.At(0);
        EXPECT_EQ(o.typeCode, 19);
        EXPECT_STREQ(o.id, "sg");
        EXPECT_STREQ(o.text1, "a");
        EXPECT_EQ(o.text2, nullptr);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(o.params[i], i + 1);
        if (c.text3)
            EXPECT_STREQ(o.text3, "t");
        else
            EXPECT_EQ(o.text3, nullptr);
        EXPECT_EQ(o.hasViewFlags, c.viewFlags);
        EXPECT_EQ(o.viewFlags, c.viewFlags ? 0x4001 : 0);
        EXPECT_EQ(o.cellViewBits, c.cellBits ? 5 : 0);
        ASSERT_EQ(o.frames.size(), 1u);
        EXPECT_STREQ(o.frames[0], "fr");
        EXPECT_TRUE(o.idList.empty());
        EXPECT_EQ(r.list.FirstOfType(19), &o);
    }
}

TEST(MapObjectRecord, ARecordCutShortFailsAndKeepsNothing) {
    // (The database keeps two zero bytes after each record, so the cuts stop short of the end.)
    for (size_t cut : {1u, 3u, 9u, 20u, 30u, 36u}) {
        std::vector<u8> bytes(kVersion122.begin(), kVersion122.begin() + static_cast<long>(cut));
        OneRecord r(bytes);
        EXPECT_FALSE(r.Load(122)) << cut;
        EXPECT_EQ(r.list.Count(), 0u) << cut;
        EXPECT_EQ(r.key, 4000) << cut;
    }
}

TEST(MapObjectRecord, TypeCodesWithoutAClassAreLeftOut) {
    // Three objects: type 44, a sign, and one whose second type code disagrees with its first.
    std::vector<u8> bytes = {0x19, 0, 3, 0};
    auto object = [&](u8 type, u8 again, char name) {
        const size_t start = bytes.size();
        bytes.insert(bytes.end(), {type, static_cast<u8>(name), 0, 0, again, 0});
        if (bytes.size() % 2) bytes.push_back(0);
        bytes.insert(bytes.end(), 12, 0);
        bytes.insert(bytes.end(), {0, 0, 0, 0, 7});  // text 3, sounds, cell view bits
        if (bytes.size() % 2) bytes.push_back(0);
        bytes.insert(bytes.end(), {2, 0, 0, 0, 0, 0});  // view flags, no frames, no ids
        return start;
    };
    object(44, 44, 'x');
    object(19, 19, 's');
    object(20, 22, 'd');
    // The id-reference block: ids for the sign and for the object left out.
    bytes.insert(bytes.end(), {2, 0, 's', 0, 1, 0, 'a', 0, 'x', 0, 0, 0});
    OneRecord r(bytes);
    ASSERT_TRUE(r.Load(122)) << "the world still loads";
    ASSERT_EQ(r.list.Count(), 1u);
    EXPECT_STREQ(r.list.At(0)->id, "s");
    EXPECT_EQ(r.list.At(0)->viewFlags, 2);
    ASSERT_EQ(r.list.At(0)->idList.size(), 1u);
    EXPECT_STREQ(r.list.At(0)->idList[0], "a");
    EXPECT_EQ(r.list.skipped, 2u);

    // An entry naming no object at all is still damage.
    bytes.resize(bytes.size() - 12);
    bytes.insert(bytes.end(), {1, 0, 'q', 0, 0, 0});
    OneRecord damaged(bytes);
    EXPECT_FALSE(damaged.Load(122));
    EXPECT_EQ(damaged.list.Count(), 0u);
}
