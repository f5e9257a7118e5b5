#include <gtest/gtest.h>

#include <vector>

#include "tests/support/TestRecords.h"
#include "core/LayoutTable.h"

namespace {

// Tables are written entry by entry (a directory of groups, each with a list of modes, each with a
// size and element records), so that a group may be listed twice.
using testing_support::BuildLayoutGroups;
using testing_support::PutWord;

std::vector<u8> SampleTable() {
    return BuildLayoutGroups({
        {8,
         {{9, 640, 480, {{44, 1, 2, 3, 4}}},
          {15, 800, 584, {{44, 10, 20, 30, 40}, {45, 5, 6, 7, 8}, {44, 99, 99, 99, 99}}}}},
        {31, {{2, 320, 320, {{19, 1, 1, 1, 1}}}}},
        // A second entry for group 43: the first lacks mode 15, so the walk must go on to this one.
        {43, {{9, 100, 100, {{550, 1, 1, 1, 1}}}}},
        {43, {{15, 800, 584, {{550, 0, 0, 480, 320}}}}},
    });
}

CLayoutElement Find(const std::vector<u8>& t, u32 mode, u16 group, u32 element, bool* found = nullptr) {
    const u8* p = FindLayoutRectIn(t.data(), t.size(), mode, group, element);
    if (found) *found = p != nullptr;
    return ReadLayoutElement(p);
}

}  // namespace

TEST(LayoutTable, FindsElementsOfTheCurrentModeAndTheFirstOfDuplicates) {
    auto t = SampleTable();
    struct Case {
        u32 mode;
        u16 group;
        u32 element;
        bool found;
        u16 x, y, w, h;
    } cases[] = {
        {15, 8, 44, true, 10, 20, 30, 40},  // the first of two records with id 44
        {15, 8, 45, true, 5, 6, 7, 8},
        {9, 8, 44, true, 1, 2, 3, 4},
        {15, 8, 46, false, 0, 0, 0, 0},   // no such element
        {15, 31, 19, false, 0, 0, 0, 0},  // group without the mode
        {2, 31, 19, true, 1, 1, 1, 1},
        {15, 43, 550, true, 0, 0, 480, 320},       // found in the second entry for the group
        {15, 7, 44, false, 0, 0, 0, 0},            // no such group
        {15, 8, 44 + 0x10000, false, 0, 0, 0, 0},  // an id beyond 16 bits never matches
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "mode " << c.mode << " group " << c.group << " element " << c.element);
        bool found = false;
        CLayoutElement e = Find(t, c.mode, c.group, c.element, &found);
        EXPECT_EQ(found, c.found);
        if (!c.found) continue;
        EXPECT_EQ(e.id, static_cast<u16>(c.element));
        EXPECT_EQ(e.x, c.x);
        EXPECT_EQ(e.y, c.y);
        EXPECT_EQ(e.w, c.w);
        EXPECT_EQ(e.h, c.h);
    }
}

TEST(LayoutTable, SizeIsStoredOnlyWhenTheLayoutExists) {
    auto t = SampleTable();
    u32 w = 7, h = 9;
    EXPECT_TRUE(GetLayoutSizeIn(t.data(), t.size(), 15, 8, w, h));
    EXPECT_EQ(w, 800u);
    EXPECT_EQ(h, 584u);

    w = 7, h = 9;
    EXPECT_FALSE(GetLayoutSizeIn(t.data(), t.size(), 15, 31, w, h));
    EXPECT_FALSE(GetLayoutSizeIn(t.data(), t.size(), 15, 99, w, h));
    EXPECT_EQ(w, 7u);
    EXPECT_EQ(h, 9u);
}

TEST(LayoutTable, EmptyAndDamagedTablesFindNothing) {
    std::vector<u8> empty = BuildLayoutGroups({});
    EXPECT_EQ(FindLayoutRectIn(empty.data(), empty.size(), 15, 8, 44), nullptr);
    EXPECT_EQ(FindLayoutRectIn(nullptr, 0, 15, 8, 44), nullptr);
    u32 w = 1, h = 2;
    EXPECT_FALSE(GetLayoutSizeIn(nullptr, 0, 15, 8, w, h));

    // Every cut of a valid table, and tables whose counts or offsets point past the end, must be
    // refused without reading outside the record.
    auto good = BuildLayoutGroups({{8, {{15, 800, 584, {{44, 10, 20, 30, 40}, {45, 1, 2, 3, 4}}}}}});
    for (size_t len = 0; len < good.size(); ++len) {
        std::vector<u8> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(len));
        const u8* e = FindLayoutRectIn(cut.data(), cut.size(), 15, 8, 45);
        EXPECT_EQ(e, nullptr) << "length " << len;
    }
    auto bigGroupCount = good;
    PutWord(bigGroupCount, 0, 0xFFFF);  // the directory runs past the end after the real group
    EXPECT_EQ(ReadLayoutElement(FindLayoutRectIn(bigGroupCount.data(), bigGroupCount.size(), 15, 8, 45)).x,
              1);
    EXPECT_EQ(FindLayoutRectIn(bigGroupCount.data(), bigGroupCount.size(), 15, 9, 45), nullptr);

    auto farGroup = good;
    PutWord(farGroup, 2, 0xFFF0);  // the group's mode list lies outside the record
    EXPECT_EQ(FindLayoutRectIn(farGroup.data(), farGroup.size(), 15, 8, 44), nullptr);

    auto manyElements = good;
    size_t layoutAt = 2 + 4 + 2 + 4;
    PutWord(manyElements, layoutAt + 4, 0xFFFF);  // more element records than the record holds
    EXPECT_NE(FindLayoutRectIn(manyElements.data(), manyElements.size(), 15, 8, 45), nullptr);
    EXPECT_EQ(FindLayoutRectIn(manyElements.data(), manyElements.size(), 15, 8, 46), nullptr);
}

TEST(LayoutTable, OddOffsetsAreRoundedDownToEven) {
    auto t = BuildLayoutGroups({{8, {{15, 800, 584, {{44, 10, 20, 30, 40}}}}}});
    PutWord(t, 2, static_cast<u16>(t[2] + 1));  // group offset 6 -> 7
    size_t groupAt = 6;
    PutWord(t, groupAt + 2, static_cast<u16>(t[groupAt + 2] + 1));  // layout offset made odd
    CLayoutElement e = Find(t, 15, 8, 44);
    EXPECT_EQ(e.w, 30);
    u32 w = 0, h = 0;
    EXPECT_TRUE(GetLayoutSizeIn(t.data(), t.size(), 15, 8, w, h));
    EXPECT_EQ(w, 800u);
}
