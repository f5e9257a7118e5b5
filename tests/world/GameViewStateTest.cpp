#include <gtest/gtest.h>

#include <vector>

#include "core/Stream.h"
#include "world/GameViewState.h"

namespace {

// Section 'W' as a save of version 122 holds it, written by hand from the field list: the tag, each
// u32 at a multiple of 4 (zero padding), texts with their NUL.
const std::vector<u8> kSection122 = {
    'W',  0,    0,    0,                          // tag, padding
    0x5A, 0,    0,    0,                          // facing 90
    17,   0,    0,    0,    16,   0,    0,    0,  // cell 17, 16
    1,    0,    0,    0,    2,    0,    0,    0,    3, 0, 0, 0,  // three view words
    0x70, 0x03, 0,    0,                          // clock 880
    7,    0,    0,    0,                          // view word
    'a',  'b',  0,                                // view text
    0,                                            // padding
    8,    0,    0,    0,                          // view word 2
    9,    0,    0,    0,    10,   0,    0,    0,    11, 0, 0, 0,  // further words (version 99 on)
    1,    0,    0,    0,                          // screen mode
    12,   0,    0,    0,    13,   0,    0,    0,  // two view words
    'z',  0,                                      // view text 2
};

// The same state in a save of version 98: no further words, a facing of 135 and a dialog's mode.
const std::vector<u8> kSection98 = {
    'W',  0, 0, 0, 135, 0, 0, 0, 17, 0, 0, 0, 16, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0,
    0x70, 3, 0, 0, 7,   0, 0, 0, 'a', 'b', 0, 0, 8, 0, 0, 0,
    9,    0, 0, 0,                                // screen mode 9 (a door prompt)
    12,   0, 0, 0, 13,  0, 0, 0, 'z', 0,
};

CGameViewState Filled() {
    CGameViewState s;
    s.facing = 90;
    s.cellX = 17;
    s.cellY = 16;
    s.viewWords[0] = 1;
    s.viewWords[1] = 2;
    s.viewWords[2] = 3;
    s.clock = 880;
    s.viewWord = 7;
    s.viewText = "ab";
    s.viewWord2 = 8;
    s.furtherWords[0] = 9;
    s.furtherWords[1] = 10;
    s.furtherWords[2] = 11;
    s.screenMode = 1;
    s.modeWords[0] = 12;
    s.modeWords[1] = 13;
    s.viewText2 = "z";
    return s;
}

bool Read(std::vector<u8> bytes, CGameViewState& state, u8 version) {
    CStream stream;
    stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    return state.Serialize(stream, version);
}

void ExpectSame(const CGameViewState& a, const CGameViewState& b) {
    EXPECT_EQ(a.facing, b.facing);
    EXPECT_EQ(a.cellX, b.cellX);
    EXPECT_EQ(a.cellY, b.cellY);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(a.viewWords[i], b.viewWords[i]);
        EXPECT_EQ(a.furtherWords[i], b.furtherWords[i]);
    }
    EXPECT_EQ(a.clock, b.clock);
    EXPECT_EQ(a.viewWord, b.viewWord);
    EXPECT_STREQ(a.viewText.GetText(), b.viewText.GetText());
    EXPECT_EQ(a.viewWord2, b.viewWord2);
    EXPECT_EQ(a.screenMode, b.screenMode);
    EXPECT_EQ(a.modeWords[0], b.modeWords[0]);
    EXPECT_EQ(a.modeWords[1], b.modeWords[1]);
    EXPECT_STREQ(a.viewText2.GetText(), b.viewText2.GetText());
}

TEST(GameViewState, WritesTheSectionByteForByteAndReadsItBack) {
    CGameViewState state = Filled();
    CStream out;
    out.InitForWriting();
    ASSERT_TRUE(state.Serialize(out, 122));
    const std::vector<u8> written(out.GetBuffer(), out.GetBuffer() + out.GetOffset());
    EXPECT_EQ(written, kSection122);
    CGameViewState back;
    ASSERT_TRUE(Read(written, back, 122));
    ExpectSame(back, state);
}

TEST(GameViewState, AnOlderSaveHasNoFurtherWordsAndLoadsFacingAndModeTidied) {
    CGameViewState state;
    state.furtherWords[1] = 55;
    ASSERT_TRUE(Read(kSection98, state, 98));
    CGameViewState expected = Filled();
    expected.furtherWords[0] = expected.furtherWords[1] = expected.furtherWords[2] = 0;
    ExpectSame(state, expected);
    // Version 98 bytes read as a later save run out before the last text.
    EXPECT_FALSE(Read(kSection98, state, 99));
}

TEST(GameViewState, ReadingTurnsTheFacingDownToItsQuarterAndTheModeToOne) {
    const struct {
        u32 stored, loaded;
    } cases[] = {{0, 0}, {89, 0}, {90, 90}, {135, 90}, {359, 270}, {360, 0}, {725, 0}, {0xFFFFFFFF, 180}};
    for (const auto& c : cases) {
        std::vector<u8> bytes = kSection122;
        for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<u8>(c.stored >> (8 * i));
        bytes[56] = 14;  // a mark dialog's mode
        CGameViewState state;
        ASSERT_TRUE(Read(bytes, state, 122));
        EXPECT_EQ(state.facing, c.loaded) << c.stored;
        EXPECT_EQ(state.screenMode, 1u);
    }
}

TEST(GameViewState, TheTagIsOptionalButADamagedRecordIsRefused) {
    CGameViewState state;
    // Without its tag (and so without the padding after it) the section reads the same.
    const std::vector<u8> untagged(kSection122.begin() + 4, kSection122.end());
    ASSERT_TRUE(Read(untagged, state, 122));
    EXPECT_EQ(state.cellX, 17u);
    // Cut anywhere, or with a cell outside the window, it is refused and the state stays reset.
    for (size_t cut = 0; cut < kSection122.size(); ++cut) {
        std::vector<u8> bytes(kSection122.begin(), kSection122.begin() + static_cast<long>(cut));
        state = Filled();
        EXPECT_FALSE(Read(bytes, state, 122)) << cut;
        EXPECT_EQ(state.clock, 0u) << cut;
    }
    for (size_t at : {8u, 12u}) {
        std::vector<u8> bytes = kSection122;
        bytes[at] = 35;
        EXPECT_FALSE(Read(bytes, state, 122)) << at;
        bytes[at] = 34;
        EXPECT_TRUE(Read(bytes, state, 122)) << at;
    }
}

}  // namespace
