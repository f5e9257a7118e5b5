#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "core/RecordHolder.h"
#include "core/Str.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using testing_support::TempDir;
using Bytes = std::vector<u8>;

Bytes ReadAll(const std::string& path) {
    auto file = plat::OpenFileForReading(path);
    if (!file) return {};
    Bytes bytes(file->Size());
    if (!bytes.empty() && !file->ReadAt(0, bytes.data(), bytes.size())) return {};
    return bytes;
}

void WriteAll(const std::string& path, const Bytes& bytes) {
    auto file = plat::CreateFileForWriting(path);
    ASSERT_TRUE(file);
    if (!bytes.empty()) {
        ASSERT_TRUE(file->Write(bytes.data(), bytes.size()));
    }
}

// Records 3000, 3001 and 3002 of 10, 0 and 7 bytes in a saved-game database.
void BuildExample(CPdbFile& db) {
    const u8 ten[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const u8 seven[7] = {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7};
    db.InitSavedGameHeader("VantrelSave1");
    db.AddRecord(3000, ten, 10);
    db.AddRecord(3001, nullptr, 0);
    db.AddRecord(3002, seven, 7);
}

// The example database, byte for byte, as the format lays it out; the dates are those of a clock
// standing at 1,700,000,000 seconds after 1970 (0xE179A180 after 1904).
const Bytes kExampleFile = {
    // name, 32 bytes
    'V', 'a', 'n', 't', 'r', 'e', 'l', 'S', 'a', 'v', 'e', '1', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0x00, 0x09,  // attributes: backup and resource bits
    0x00, 0x01,                 // version
    0xE1, 0x79, 0xA1, 0x80,     // created
    0xE1, 0x79, 0xA1, 0x80,     // modified
    0, 0, 0, 0,                 // last backup
    0, 0, 0, 0,                 // modification number
    0, 0, 0, 0,                 // application info
    0, 0, 0, 0,                 // sort info
    'V', 'n', 'T', 'S',         // type
    'V', 'n', 'T', 'S',         // creator
    0, 0, 0, 0,                 // unique-id seed
    0, 0, 0, 0,                 // next record list
    0x00, 0x03,                 // record count
    // record list at 78: offset, attributes, unique id
    0x00, 0x00, 0x00, 104, 0x00, 0x00, 0x0B, 0xB8, 0x00, 0x00, 0x00, 116, 0x00, 0x00, 0x0B, 0xB9, 0x00, 0x00,
    0x00, 120, 0x00, 0x00, 0x0B, 0xBA, 0, 0,         // 102: two zero bytes after the list
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 0,             // 104: record 3000 and its two zeros
    0, 0, 0, 0,                                      // 116: record 3001's two zeros, then the gap
    0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0, 0,  // 120: record 3002 and its two zeros
};

class PdbFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock.SetTime(1700000000);
        finder.SetFolder(dir.Path());
    }

    TempDir dir;
    plat::ManualClock clock;
    plat::ScopedClock scoped{clock};
    CFileFinder finder;
};

TEST_F(PdbFileTest, WriterLaysOutHeaderRecordListAndPaddedRecords) {
    CPdbFile db(nullptr, &finder);
    BuildExample(db);
    ASSERT_EQ(db.Save("VantrelSave1"), 1);
    EXPECT_EQ(ReadAll(dir.File("VantrelSave1.pdb")), kExampleFile);
    EXPECT_FALSE(plat::FileExists(dir.File("VantrelSave1.pdb.tmp")));
    EXPECT_EQ(db.Header().recordCount, 3);

    DeleteRecordEntries(db.PendingRecords());
    EXPECT_EQ(db.PendingRecords().GetCount(), 0u);
}

TEST_F(PdbFileTest, ReaderGivesPaddedSizesAndFindsRecordsByKey) {
    WriteAll(dir.File("VantrelSave1.pdb"), kExampleFile);
    CPdbFile db(nullptr, &finder);
    ASSERT_EQ(db.Open("VantrelSave1", "VnTS"), 1);
    EXPECT_EQ(db.HasType("VnTS"), 1);
    EXPECT_EQ(db.HasType("VnTW"), 0);
    EXPECT_EQ(db.Header().attributes, 0x0009);
    EXPECT_EQ(db.Header().modificationDate, 0xE179A180u);
    ASSERT_EQ(db.GetRecordCount(), 3u);

    const struct {
        u32 key;
        Bytes bytes;
    } expected[] = {
        {3000, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 0}},
        {3001, {0, 0, 0, 0}},
        {3002, {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0, 0}},
    };
    for (const auto& e : expected) {
        CRecordData* rec = db.ReadRecord(e.key);
        ASSERT_NE(rec, nullptr) << e.key;
        EXPECT_EQ(Bytes(rec->data, rec->data + rec->size), e.bytes) << e.key;
        FreeDataBlock(rec);
    }
    EXPECT_EQ(db.ReadRecord(3003), nullptr);
    // Only the low 16 bits of a unique id are keys: a larger id names no record.
    EXPECT_EQ(db.ReadRecord(0x10000u + 3000), nullptr);

    db.Close();
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.ReadRecord(3000), nullptr);
}

TEST_F(PdbFileTest, EmptyDatabaseIsTheHeaderAlone) {
    CPdbFile writer(nullptr, &finder);
    writer.InitSavedGameHeader("empty");
    ASSERT_EQ(writer.Save("empty"), 1);
    EXPECT_EQ(ReadAll(dir.File("empty.pdb")).size(), 78u);

    CPdbFile reader(nullptr, &finder);
    ASSERT_EQ(reader.Open("empty", "VnTS"), 1);
    EXPECT_EQ(reader.GetRecordCount(), 0u);
    EXPECT_EQ(reader.ReadRecord(0), nullptr);
}

TEST_F(PdbFileTest, DuplicateKeysYieldTheFirstRecord) {
    CPdbFile writer(nullptr, &finder);
    writer.InitSavedGameHeader("dup");
    const u8 first[4] = {1, 1, 1, 1}, second[4] = {2, 2, 2, 2};
    writer.AddRecord(7, first, 4);
    writer.AddRecord(7, second, 4);
    ASSERT_EQ(writer.Save("dup"), 1);

    CPdbFile reader(nullptr, &finder);
    ASSERT_EQ(reader.Open("dup", "VnTS"), 1);
    CRecordData* rec = reader.ReadRecord(7);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->data[0], 1);
    FreeDataBlock(rec);
}

TEST_F(PdbFileTest, NamesFollowTheExtensionAndPathRules) {
    CPdbFile writer(nullptr, &finder);
    writer.InitSavedGameHeader("x");
    std::memcpy(writer.Header().creator, "VnTl", 4);
    ASSERT_EQ(writer.Save("VantrelData"), 1);
    std::filesystem::create_directory(dir.File("sub"));
    ASSERT_EQ(writer.Save((dir.File("sub") + "/Other.pdb").c_str()), 1);

    CPdbFile db(nullptr, &finder);
    EXPECT_EQ(db.Open("VantrelData"), 1) << "the default creator is VnTl";
    EXPECT_EQ(db.Open("VantrelData.pdb"), 1);
    EXPECT_EQ(db.Open("VantrelData", "VnTS"), 0);
    db.Close();
    EXPECT_EQ(db.Open("Other"), 0) << "a plain name lives in the program folder";
    EXPECT_EQ(db.Open((dir.File("sub") + "/Other").c_str()), 1) << "a name with '/' is a path";
    EXPECT_EQ(db.Open("missing"), 0);
    EXPECT_FALSE(db.IsOpen());

    CStr found;
    found.Assign("VantrelData");
    EXPECT_EQ(db.OpenFound(found), 1);
    found.Assign("VantrelData.pdb");
    EXPECT_EQ(db.OpenFound(found), 0) << "OpenFound always appends the extension";

    EXPECT_EQ(db.Delete("VantrelData"), 1);
    EXPECT_FALSE(plat::FileExists(dir.File("VantrelData.pdb")));
    EXPECT_EQ(db.Delete("VantrelData"), 0);
}

TEST_F(PdbFileTest, WrongCreatorFailsButKeepsTheHeaderUntilClose) {
    WriteAll(dir.File("save.pdb"), kExampleFile);
    CPdbFile db(nullptr, &finder);
    EXPECT_EQ(db.Open("save"), 0);
    EXPECT_EQ(db.HasCreator("VnTS"), 1);
    EXPECT_EQ(db.GetRecordCount(), 0u);
    EXPECT_EQ(db.ReadRecord(3000), nullptr);
    db.Close();
    EXPECT_FALSE(db.IsOpen());
}

Bytes WithByte(Bytes bytes, size_t at, u8 value) {
    bytes[at] = value;
    return bytes;
}

TEST_F(PdbFileTest, MalformedFilesAreRefused) {
    const Bytes& good = kExampleFile;
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty file", {}},
        {"shorter than the header", Bytes(good.begin(), good.begin() + 77)},
        {"ends inside the record list", Bytes(good.begin(), good.begin() + 78 + 8 * 3 - 1)},
        {"count larger than the file", WithByte(Bytes(good.begin(), good.begin() + 78), 77, 1)},
        {"offset inside the record list", WithByte(good, 78 + 3, 90)},
        {"offset inside the header", WithByte(good, 78 + 3, 4)},
        {"offsets out of order", WithByte(good, 78 + 8 + 3, 100)},
        {"offset past the end", WithByte(good, 78 + 16 + 3, 130)},
        {"huge offset", WithByte(good, 78 + 16, 0xFF)},
    };
    for (const auto& c : cases) {
        WriteAll(dir.File("bad.pdb"), c.bytes);
        CPdbFile db(nullptr, &finder);
        EXPECT_EQ(db.Open("bad", "VnTS"), 0) << c.what;
        EXPECT_FALSE(db.IsOpen()) << c.what;
        EXPECT_EQ(db.GetRecordCount(), 0u) << c.what;
        EXPECT_EQ(db.ReadRecord(3000), nullptr) << c.what;
    }

    // The limits themselves are fine: a last record that starts right at the end of the file is empty.
    WriteAll(dir.File("edge.pdb"), WithByte(good, 78 + 16 + 3, 129));
    CPdbFile db(nullptr, &finder);
    ASSERT_EQ(db.Open("edge", "VnTS"), 1);
    CRecordData* rec = db.ReadRecord(3002);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->size, 0u);
    FreeDataBlock(rec);
}

TEST_F(PdbFileTest, ShortReadAfterTheFileShrankGivesNoRecord) {
    WriteAll(dir.File("save.pdb"), kExampleFile);
    CPdbFile db(nullptr, &finder);
    ASSERT_EQ(db.Open("save", "VnTS"), 1);
    WriteAll(dir.File("save.pdb"), Bytes(kExampleFile.begin(), kExampleFile.begin() + 110));
    EXPECT_EQ(db.ReadRecord(3002), nullptr);
    EXPECT_EQ(db.ReadRecord(3000), nullptr);
}

TEST_F(PdbFileTest, FailedSaveKeepsTheOldFile) {
    WriteAll(dir.File("save.pdb"), kExampleFile);
    CPdbFile db(nullptr, &finder);
    db.InitSavedGameHeader("save");
    db.AddRecord(1, "new", 3);

    // The temporary file cannot be created.
    std::filesystem::create_directory(dir.File("save.pdb.tmp"));
    EXPECT_EQ(db.Save("save"), 0);
    EXPECT_EQ(ReadAll(dir.File("save.pdb")), kExampleFile);
    std::filesystem::remove(dir.File("save.pdb.tmp"));

    // The target cannot be replaced: nothing half-written is left behind.
    std::filesystem::create_directory(dir.File("folder.pdb"));
    EXPECT_EQ(db.Save("folder"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.pdb")));
    EXPECT_FALSE(plat::FileExists(dir.File("folder.pdb.tmp")));

    EXPECT_EQ(db.Save((dir.File("no-such-folder") + "/save").c_str()), 0);

    // A successful save replaces the old file whole.
    ASSERT_EQ(db.Save("save"), 1);
    CPdbFile reader(nullptr, &finder);
    ASSERT_EQ(reader.Open("save", "VnTS"), 1);
    EXPECT_EQ(reader.GetRecordCount(), 1u);
}

TEST(PdbHeader, SwapIsItsOwnInverseAndEncodingRoundTrips) {
    CPdbHeader h;
    CPdbFile::InitHeader(h, true, false);
    EXPECT_EQ(h.attributes, 0x0008);
    h.recordCount = 0x0102;
    h.sortInfoId = 0x01020304;
    CPdbHeader swapped = h;
    CPdbFile::SwapHeader(swapped);
    EXPECT_EQ(swapped.recordCount, 0x0201);
    CPdbFile::SwapHeader(swapped);
    EXPECT_EQ(swapped.recordCount, 0x0102);
    EXPECT_EQ(swapped.sortInfoId, 0x01020304u);
    EXPECT_EQ(swapped.version, 1);

    u8 raw[kPdbHeaderSize];
    CPdbFile::EncodeHeader(h, raw);
    EXPECT_EQ(raw[56], 0x01);
    EXPECT_EQ(raw[59], 0x04);
    EXPECT_EQ(raw[76], 0x01);
    EXPECT_EQ(raw[77], 0x02);
    CPdbHeader back;
    CPdbFile::DecodeHeader(raw, back);
    EXPECT_EQ(back.recordCount, 0x0102);
    EXPECT_EQ(back.sortInfoId, 0x01020304u);
    EXPECT_EQ(std::string(back.name), "db");
}

TEST(CopyBytes, CopiesForwardAndReturnsTheEnd) {
    u8 src[7] = {1, 2, 3, 4, 5, 6, 7};
    u8 dst[8] = {};
    EXPECT_EQ(CopyBytes(dst, src, 7), dst + 7);
    EXPECT_EQ(Bytes(dst, dst + 8), (Bytes{1, 2, 3, 4, 5, 6, 7, 0}));
    EXPECT_EQ(CopyBytes(dst, src, 0), dst);
}

// A holder reads its record as a picture when it loads it: the header checked and the largest colour
// index of its texels known from then on, and nothing kept once the record is released. A record that
// is no picture gives none.
TEST_F(PdbFileTest, AHolderReadsItsPictureWhenItLoadsTheRecord) {
    CPdbFile writer(nullptr, &finder);
    writer.InitSavedGameHeader("pictures");
    // Encoding 0, 2 x 2 texels of indices 0, 2, 1, 2 into a table of three colours.
    const u8 picture[] = {0, 0, 2, 0, 2, 0, 0, 0, 0, 2, 1, 2, 0x11, 0x11, 0x22, 0x22, 0x33, 0x33};
    const u8 other[] = {9, 9, 9};
    writer.AddRecord(1, picture, sizeof picture);
    writer.AddRecord(2, other, sizeof other);
    ASSERT_EQ(writer.Save("pictures"), 1);
    DeleteRecordEntries(writer.PendingRecords());

    CPdbFile db(nullptr, &finder);
    ASSERT_EQ(db.Open("pictures", "VnTS"), 1);
    CRecordHolder holder;
    ASSERT_TRUE(holder.Load(&db, 1));
    const CPictureData* read = holder.Picture();
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->width, 2);
    EXPECT_EQ(read->height, 2);
    EXPECT_EQ(read->tableCount, 4u) << "three colours and the record's two padding bytes";
    EXPECT_EQ(read->maxIndex, 2u);
    EXPECT_TRUE(PictureTableCoversData(*read));
    holder.record->data[0] = 7;  // the read stands; the record is not read again
    EXPECT_EQ(holder.Picture(), read);
    holder.Release();
    EXPECT_EQ(holder.Picture(), nullptr);

    ASSERT_TRUE(holder.Load(&db, 2));
    EXPECT_EQ(holder.Picture(), nullptr);
}

}  // namespace
