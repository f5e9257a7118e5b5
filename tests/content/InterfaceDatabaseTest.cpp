// The interface database that the build writes beside the game: read back with the game's own
// database reader, every record the game asks for must be there and parse.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/InterfacePictures.h"
#include "core/PdbFile.h"
#include "display/Picture.h"
#include "core/LayoutTable.h"

namespace {

const std::string kDatabase = std::string(VANTREL_BINARY_DIR) + "/VantrelData.pdb";

u16 U16(const std::vector<u8>& d, size_t at) { return static_cast<u16>(d.at(at) | d.at(at + 1) << 8); }

class InterfaceDatabase : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db_ = new CPdbFile();
        ASSERT_EQ(db_->Open(kDatabase.c_str()), 1) << kDatabase << " (the build writes it)";
    }
    static void TearDownTestSuite() {
        delete db_;
        db_ = nullptr;
    }

    // The record's bytes, or an empty vector when the database lacks it.
    static std::vector<u8> Record(u32 id) {
        CRecordData* r = db_->ReadRecord(id);
        if (r == nullptr) return {};
        std::vector<u8> out(r->data, r->data + r->size);
        FreeDataBlock(r);
        return out;
    }

    static CPdbFile* db_;
};

CPdbFile* InterfaceDatabase::db_ = nullptr;

struct Picture {
    int encoding = -1, width = 0, height = 0;
    std::string error;  // empty when the record is a well-formed picture
};

// Checks a picture record the way the blits will read it: a known encoding, positive sizes (even for
// the block encodings), the texel data inside the record and every colour-table entry that the data
// indexes inside the record as well.
Picture ParsePicture(const std::vector<u8>& d) {
    Picture p;
    if (d.size() < 8) return p.error = "shorter than the header", p;
    p.encoding = d[0];
    p.width = static_cast<i16>(U16(d, 2));
    p.height = static_cast<i16>(U16(d, 4));
    if (p.encoding > 2) return p.error = "encoding " + std::to_string(p.encoding), p;
    if (p.width <= 0 || p.height <= 0) return p.error = "empty", p;
    if (p.encoding != 0 && (p.width % 2 || p.height % 2)) return p.error = "odd size in a block encoding", p;
    size_t n = static_cast<size_t>(p.width) * p.height;
    size_t dataLen = p.encoding == 0 ? n : p.encoding == 1 ? n / 4 : n / 2;
    size_t table = 8 + dataLen + dataLen % 2;
    if (table > d.size()) return p.error = "texel data past the end", p;
    size_t maxIndex = 0;
    size_t count = p.encoding == 0 ? n : n / 4;
    for (size_t i = 0; i < count; ++i) {
        size_t index = p.encoding == 2 ? U16(d, 8 + 2 * i) : d[8 + i];
        maxIndex = std::max(maxIndex, index);
    }
    size_t entryBytes = p.encoding == 0 ? 2 : 8;
    if (table + (maxIndex + 1) * entryBytes > d.size()) return p.error = "colour table past the end", p;
    // And the display's own reading agrees: it accepts the record and its table holds every colour
    // the texels index (texels past the table would be drawn black).
    CPictureData read;
    if (!ReadPicture(d.data(), d.size(), read)) return p.error = "refused by the display", p;
    if (read.width != p.width || read.height != p.height || read.encoding != p.encoding)
        return p.error = "read differently", p;
    u32 entries = p.encoding == 0 ? static_cast<u32>(maxIndex + 1) : static_cast<u32>(4 * (maxIndex + 1));
    if (read.tableCount < entries) return p.error = "texels index past the display's table", p;
    return p;
}

TEST_F(InterfaceDatabase, IsTheGamesDataDatabaseAndNoWorld) {
    EXPECT_EQ(db_->HasCreator("VnTl"), 1);
    EXPECT_EQ(db_->HasType("VnTW"), 0) << "the world scan must not take it for an additional world";
    EXPECT_EQ(std::string(db_->Header().name), "VantrelData");
}

TEST_F(InterfaceDatabase, EveryInterfacePictureOfEveryLayoutModeParses) {
    // Start-up loads the large layouts' column (layout mode 15); the other modes, which tests and the
    // mode switch use, have their own columns and exceptions.
    for (u32 mode = 1; mode <= 16; ++mode) {
        std::set<u16> records;
        for (int i = 0; i < kInterfacePictureCount; ++i) {
            u16 base = InterfacePictureBase(i);
            u16 record = InterfacePictureRecord(base, mode);
            records.insert(record);
            Picture p = ParsePicture(Record(record));
            EXPECT_EQ(p.error, "") << "interface picture " << base << " (record " << record << ") in mode "
                                   << mode;
        }
        EXPECT_EQ(records.size(), static_cast<size_t>(kInterfacePictureCount)) << "mode " << mode;
    }
}

TEST_F(InterfaceDatabase, SmallLayoutPicturesAreSmallerThanTheirLargeCounterparts) {
    for (u16 base : {3015, 3291, 3400, 3488}) {
        Picture large = ParsePicture(Record(InterfacePictureRecord(base, 15)));
        Picture small = ParsePicture(Record(InterfacePictureRecord(base, 2)));
        ASSERT_EQ(small.error, "") << base;
        EXPECT_LT(small.width, large.width) << base;
        EXPECT_LT(small.height, large.height) << base;
    }
}

TEST_F(InterfaceDatabase, PicturesHaveTheSizesTheirWidgetsDrawThemAt) {
    struct Case {
        u16 base;
        int width, height;  // 0: any
    } cases[] = {
        {3400, 16, 16}, {3455, 16, 16}, {3468, 16, 16},  // map pictures
        {3385, 10, 10}, {3386, 10, 10}, {3387, 10, 10},  // wear marks drawn in an item cell
        {3349, 50, 50}, {3530, 50, 50},                  // empty slot and placeholder: item-sized
        {3532, 50, 50}, {3533, 50, 50}, {3534, 50, 50},  // drawn over equipment slots 7, 8, 9
        {3478, 0, 0},   {3479, 21, 21},                  // world map pin and the 21 x 21 area mark
    };
    for (const Case& c : cases) {
        Picture p = ParsePicture(Record(InterfacePictureRecord(c.base, 15)));
        ASSERT_EQ(p.error, "") << c.base;
        if (c.width) {
            EXPECT_EQ(p.width, c.width) << c.base;
        }
        if (c.height) {
            EXPECT_EQ(p.height, c.height) << c.base;
        }
    }
    // The list frame lies 3 pixels outside the list, so its corner is 3 x 3.
    Picture corner = ParsePicture(Record(InterfacePictureRecord(3140, 15)));
    EXPECT_EQ(corner.width, 3);
    EXPECT_EQ(corner.height, 3);
    // The paper doll holds every equipment square of the large layouts (50 x 50 at offsets up to
    // (164, 198)).
    Picture doll = ParsePicture(Record(InterfacePictureRecord(3488, 15)));
    EXPECT_GE(doll.width, 164 + 50);
    EXPECT_GE(doll.height, 198 + 50);
}

TEST_F(InterfaceDatabase, NinePieceFramesFitTogether) {
    // Corners share the edge widths and heights; the tiled edges match the corners they join.
    for (u16 first : {3015, 3030, 3039, 3140, 3291}) {
        Picture p[9];
        for (int k = 0; k < 9; ++k) {
            p[k] = ParsePicture(Record(InterfacePictureRecord(static_cast<u16>(first + k), 15)));
            ASSERT_EQ(p[k].error, "") << first + k;
        }
        EXPECT_EQ(p[0].width, p[1].width) << first;
        EXPECT_EQ(p[0].width, p[2].width) << first;
        EXPECT_EQ(p[6].width, p[7].width) << first;
        EXPECT_EQ(p[0].height, p[3].height) << first;
        EXPECT_EQ(p[2].height, p[5].height) << first;
        EXPECT_EQ(p[3].width, p[4].width) << first;
        EXPECT_EQ(p[1].height, p[4].height) << first;
    }
}

TEST_F(InterfaceDatabase, GaugeFillsCoverTheGaugesOfTheGameView) {
    // A gauge draws the first `length` columns (rows) of its fill picture, so the fill must be at
    // least as long as the widget's inner length.
    std::vector<u8> table = Record(3003);
    for (u32 element : {544u, 545u}) {
        const u8* rect = FindLayoutRectIn(table.data(), table.size(), 15, 43, element);
        ASSERT_NE(rect, nullptr) << element;
        CLayoutElement e = ReadLayoutElement(rect);
        bool horizontal = e.w >= e.h;
        u16 first = horizontal ? 3823 : 3378;
        for (u16 set : {first, static_cast<u16>(first + 3)}) {
            Picture cap1 = ParsePicture(Record(set)), fill = ParsePicture(Record(set + 1)),
                    cap2 = ParsePicture(Record(set + 2));
            if (horizontal) {
                EXPECT_GE(fill.width, e.w - cap1.width - cap2.width) << set;
            } else {
                EXPECT_GE(fill.height, e.h - cap1.height - cap2.height) << set;
            }
        }
    }
}

TEST_F(InterfaceDatabase, PicturesThatScreensReadByNumberParse) {
    // Loading pictures, splash, death screen, page frames and buttons, race pictures, the card game,
    // the inn's fire and the realm-travel picture.
    std::vector<u16> records = {3080, 3081, 3082, 3083, 4036, 4081, 3521, 3522,
                                3523, 4033, 4034, 4035, 3518, 3519, 3520};
    for (u16 r = 3524; r <= 3527; ++r) records.push_back(r);
    for (u16 r = 3540; r <= 3548; ++r) records.push_back(r);
    for (u16 r = 3560; r <= 3567; ++r) records.push_back(r);
    for (u16 r = 3847; r <= 3854; ++r) records.push_back(r);
    for (u16 r = 3070; r <= 3074; ++r) records.push_back(r);
    // Card game: board, give-up, card back, class and board pieces (and their small forms), cards.
    for (u16 r : {3051, 3655, 3656, 3657}) records.push_back(r);
    for (u16 r = 3048; r <= 3057; ++r) {
        if (r == 3051) continue;
        records.push_back(r);
        records.push_back(static_cast<u16>(r + 894));
    }
    for (u16 c = 0; c < 3; ++c)
        for (u16 i = 0; i < 25; ++i) records.push_back(static_cast<u16>(3570 + 30 * c + i));
    for (u16 r = 3952; r <= 4026; ++r) records.push_back(r);
    for (u16 r = 3062; r <= 3069; ++r) records.push_back(r);  // the inn's fire
    for (u16 r : records) EXPECT_EQ(ParsePicture(Record(r)).error, "") << "record " << r;
    // The backdrop fills the 800 x 584 window.
    Picture backdrop = ParsePicture(Record(3081));
    EXPECT_EQ(backdrop.width, 800);
    EXPECT_EQ(backdrop.height, 584);
}

}  // namespace
