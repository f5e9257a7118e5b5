// Start-up checks the layout table whole before a screen relies on it: a table that runs past its
// record, or lacks an element a screen needs, is refused with what is wrong.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/TestRecords.h"
#include "core/LayoutTable.h"

namespace {

using testing_support::PutWord;

u16 Word(const std::vector<u8>& t, size_t at) { return static_cast<u16>(t.at(at) | t.at(at + 1) << 8); }

std::vector<u8> SoundTable() {
    return testing_support::BuildLayoutGroups({
        {2, {{15, 800, 584, {{8, 1, 2, 3, 4}, {9, 5, 6, 7, 8}}}, {6, 320, 240, {{8, 1, 1, 1, 1}}}}},
        {3, {{15, 800, 584, {{12, 10, 20, 30, 40}}}}},
    });
}

constexpr CLayoutNeed kNeeds[] = {{2, 8}, {2, 9}, {3, 12}};

std::string Check(const std::vector<u8>& t, u32 mode = 15) {
    return CheckLayoutTable(t.data(), t.size(), mode, kNeeds, std::size(kNeeds));
}

}  // namespace

TEST(LayoutCheck, ASoundTableWithEveryNeededElementPasses) {
    EXPECT_EQ(Check(SoundTable()), "");
    // The needs are looked up in the layout mode given: mode 6 lacks element 9 of group 2.
    EXPECT_EQ(Check(SoundTable(), 6), "no element 9 of group 2 in layout mode 6");
}

TEST(LayoutCheck, DamageIsNamed) {
    const std::vector<u8> sound = SoundTable();
    // Where the second group's mode list and its one layout start, read from the table itself.
    const size_t secondGroup = Word(sound, 6);
    const size_t secondLayout = Word(sound, secondGroup + 2);
    struct Case {
        const char* what;
        std::function<void(std::vector<u8>&)> damage;
        const char* problem;
    } cases[] = {
        {"empty", [](std::vector<u8>& t) { t.clear(); }, "shorter than its group count"},
        {"one byte", [](std::vector<u8>& t) { t.resize(1); }, "shorter than its group count"},
        {"more groups than the record holds", [](std::vector<u8>& t) { PutWord(t, 0, 4000); },
         "the group directory runs past the record's end"},
        {"a group offset past the end",
         [&](std::vector<u8>& t) { PutWord(t, 6, static_cast<u16>(t.size())); },
         "the mode list of group 3 runs past the record's end"},
        {"a mode count past the end", [&](std::vector<u8>& t) { PutWord(t, secondGroup, 900); },
         "the mode list of group 3 runs past the record's end"},
        {"a layout offset past the end",
         [&](std::vector<u8>& t) { PutWord(t, secondGroup + 2, static_cast<u16>(t.size() - 4)); },
         "the layout of group 3 in layout mode 15 runs past the record's end"},
        {"an element count past the end", [&](std::vector<u8>& t) { PutWord(t, secondLayout + 4, 2); },
         "the layout of group 3 in layout mode 15 runs past the record's end"},
        {"the last element cut short", [](std::vector<u8>& t) { t.resize(t.size() - 1); },
         "the layout of group 3 in layout mode 15 runs past the record's end"},
        {"a needed element renumbered", [&](std::vector<u8>& t) { PutWord(t, secondLayout + 6, 13); },
         "no element 12 of group 3 in layout mode 15"},
        {"a needed group renumbered", [](std::vector<u8>& t) { PutWord(t, 8, 4); },
         "no element 12 of group 3 in layout mode 15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<u8> t = sound;
        c.damage(t);
        EXPECT_EQ(Check(t), c.problem);
    }
}
