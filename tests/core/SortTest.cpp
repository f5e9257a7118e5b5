#include "core/PointerArray.h"
#include "core/Sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// An element whose key decides the order and whose tag shows where equal elements went.
struct Tagged {
    int key;
    char tag;
};

int CompareKeys(const void* a, const void* b) {
    return static_cast<const Tagged*>(a)->key - static_cast<const Tagged*>(b)->key;
}

std::string Tags(const std::vector<Tagged>& v) {
    std::string out;
    for (const auto& e : v) out += e.tag;
    return out;
}

std::vector<Tagged> EqualElements(int n) {
    std::vector<Tagged> v;
    for (int i = 0; i < n; ++i) v.push_back({1, static_cast<char>('a' + i)});
    return v;
}

TEST(Sort, OrderOfEqualElementsFollowsTheSteps) {
    auto three = EqualElements(3);
    ShortSort(&three[0], &three[2], sizeof(Tagged), CompareKeys);
    EXPECT_EQ(Tags(three), "bca");

    struct Case {
        int count;
        const char* order;
    };
    // Up to eight elements only the selection sort runs; nine take one partition step, which here
    // leaves nothing to sort on either side.
    for (Case c : {Case{2, "ba"}, {3, "bca"}, {8, "bcdefgha"}, {9, "ebcdafghi"}}) {
        auto v = EqualElements(c.count);
        SortArray(v.data(), static_cast<u32>(v.size()), sizeof(Tagged), CompareKeys);
        EXPECT_EQ(Tags(v), c.order) << c.count;
    }

    // The first of equal largest elements is the one moved to the end.
    std::vector<Tagged> mixed = {{2, 'a'}, {1, 'b'}, {2, 'c'}, {0, 'd'}};
    SortArray(mixed.data(), 4, sizeof(Tagged), CompareKeys);
    EXPECT_EQ(Tags(mixed), "dbca");
}

int g_calls = 0;
int CountingCompare(const void* a, const void* b) {
    ++g_calls;
    return CompareKeys(a, b);
}

TEST(Sort, FewerThanTwoElementsAreLeftAlone) {
    std::vector<Tagged> one = {{5, 'a'}};
    SortArray(one.data(), 1, sizeof(Tagged), CountingCompare);
    SortArray(one.data(), 0, sizeof(Tagged), CountingCompare);
    SortArray(nullptr, 5, sizeof(Tagged), CountingCompare);
    EXPECT_EQ(g_calls, 0);
    EXPECT_EQ(one[0].key, 5);
}

// Three-byte elements, so that element moves are whole byte swaps of an odd width.
struct Odd {
    u8 bytes[3];
};
int CompareOdd(const void* a, const void* b) {
    auto key = [](const void* p) {
        auto* e = static_cast<const Odd*>(p);
        return e->bytes[0] << 16 | e->bytes[1] << 8 | e->bytes[2];
    };
    return key(a) - key(b);
}

TEST(Sort, SortsAnyInputIntoAscendingOrder) {
    std::mt19937 gen(7);
    for (u32 n : {2u, 5u, 8u, 9u, 10u, 17u, 31u, 100u, 257u, 1000u}) {
        for (int range : {3, 1000000}) {
            std::vector<int> v(n);
            for (auto& x : v) x = static_cast<int>(gen() % static_cast<u32>(range)) - range / 2;
            std::vector<int> expected = v;
            std::sort(expected.begin(), expected.end());
            SortArray(v.data(), n, sizeof(int), [](const void* a, const void* b) {
                int x = *static_cast<const int*>(a), y = *static_cast<const int*>(b);
                return x < y ? -1 : x > y ? 1 : 0;
            });
            EXPECT_EQ(v, expected) << n << " " << range;
        }
        std::vector<Odd> odd(n);
        for (auto& e : odd) e = {{static_cast<u8>(gen()), static_cast<u8>(gen()), static_cast<u8>(gen())}};
        SortArray(odd.data(), n, sizeof(Odd), CompareOdd);
        EXPECT_TRUE(std::is_sorted(odd.begin(), odd.end(),
                                   [](const Odd& a, const Odd& b) { return CompareOdd(&a, &b) < 0; }));
    }

    // Presorted, reversed and all-equal inputs of some size finish and sort.
    for (int pattern = 0; pattern < 3; ++pattern) {
        std::vector<int> v(100000);
        for (int i = 0; i < 100000; ++i) v[i] = pattern == 0 ? i : pattern == 1 ? 100000 - i : 4;
        SortArray(v.data(), 100000, sizeof(int), [](const void* a, const void* b) {
            return *static_cast<const int*>(a) - *static_cast<const int*>(b);
        });
        EXPECT_TRUE(std::is_sorted(v.begin(), v.end())) << pattern;
    }
}

TEST(Sort, AnInconsistentComparisonStillEndsWithTheSameElements) {
    std::vector<int> v(2000);
    for (int i = 0; i < 2000; ++i) v[i] = i;
    static u32 state = 1;
    SortArray(v.data(), 2000, sizeof(int), [](const void*, const void*) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % 3) - 1;
    });
    std::sort(v.begin(), v.end());
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(v[i], i);
}

TEST(Sort, StringPointersSortWithNullsLast) {
    const char* texts[] = {"pear", nullptr, "apple", nullptr, "fig", "Zed"};
    SortArray(texts, 6, sizeof(const char*), CompareStringPointers);
    EXPECT_STREQ(texts[0], "Zed");
    EXPECT_STREQ(texts[1], "apple");
    EXPECT_STREQ(texts[2], "fig");
    EXPECT_STREQ(texts[3], "pear");
    EXPECT_EQ(texts[4], nullptr);
    EXPECT_EQ(texts[5], nullptr);
}

}  // namespace
