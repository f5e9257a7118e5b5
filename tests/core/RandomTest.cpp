#include "core/Random.h"

#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Reference values of MT19937 with the 1998 seeding (x * 69069), produced by an independent model of
// the generator, not by this code.
TEST(Random, SeedsFromTheClockLikeTheReferenceCode) {
    plat::ManualClock clock;
    clock.SetTime(5489);
    plat::ScopedClock scoped(clock);
    CRandom random;
    random.Seed(nullptr);
    EXPECT_EQ(random.StateWord(0), 5489u);
    EXPECT_EQ(random.StateWord(1), 379119741u);
    EXPECT_EQ(random.GetIndex(), CRandom::kStateSize);

    // The first draw regenerates the whole state and returns the tempered new first word.
    EXPECT_EQ(random.Next(2147483647), 876359936u);
    EXPECT_EQ(random.GetIndex(), 1u);
    EXPECT_EQ(random.Next(2147483647), 1965004871u);
    EXPECT_EQ(random.Next(2147483647), 1393879085u);
    EXPECT_EQ(random.Next(2147483647), 653892275u);
    EXPECT_EQ(random.Next(1000), 579u);  // 2860206579 mod 1000
}

TEST(Random, SequenceAcrossRegenerationsAndSmallRanges) {
    plat::ManualClock clock;
    clock.SetTime(5489);
    plat::ScopedClock scoped(clock);
    CRandom random;
    random.Seed(nullptr);
    std::vector<u32> firstTen;
    for (int i = 0; i < 10; ++i) firstTen.push_back(random.Next(1000));
    EXPECT_EQ(firstTen, (std::vector<u32>{936, 871, 85, 275, 579, 103, 170, 805, 508, 142}));

    // Draws 623, 624 and 625 straddle the second regeneration; 699 is well into it.
    for (int i = 10; i < 623; ++i) random.Next(7);
    EXPECT_EQ(random.Next(2147483647), 998983728u % 2147483647u);
    EXPECT_EQ(random.Next(2147483647), 2714958349u % 2147483647u);
    EXPECT_EQ(random.GetIndex(), 1u);
    EXPECT_EQ(random.Next(2147483647), 2323573434u % 2147483647u);
    for (int i = 626; i < 699; ++i) random.Next(3);
    EXPECT_EQ(random.Next(2147483647), 1363367273u % 2147483647u);

    clock.SetTime(1765432100);
    random.Seed(nullptr);
    std::vector<u32> dice;
    for (int i = 0; i < 10; ++i) dice.push_back(random.Next(6));
    EXPECT_EQ(dice, (std::vector<u32>{0, 4, 0, 1, 4, 3, 0, 4, 2, 4}));
}

// A clock that reads 0 would leave the whole state 0 and every draw 0; the seed is replaced instead.
TEST(Random, AClockAtZeroStillGivesARealSequence) {
    plat::ManualClock clock;
    plat::ScopedClock scoped(clock);
    CRandom atZero, replaced;
    clock.SetTime(0);
    atZero.Seed(nullptr);
    clock.SetTime(CRandom::kZeroSeedReplacement);
    replaced.Seed(nullptr);
    EXPECT_EQ(atZero.StateWord(0), CRandom::kZeroSeedReplacement);
    std::vector<u32> dice, same;
    for (int i = 0; i < 20; ++i) {
        dice.push_back(atZero.Next(6));
        same.push_back(replaced.Next(6));
    }
    EXPECT_EQ(dice, same);
    EXPECT_NE(std::count(dice.begin(), dice.end(), 0u), 20);
}

TEST(Random, RangesBelowOneReturnZeroWithoutDrawingAndOneStillDraws) {
    plat::ManualClock clock;
    clock.SetTime(5489);
    plat::ScopedClock scoped(clock);
    CRandom random;
    random.Seed(nullptr);
    EXPECT_EQ(random.Next(0), 0u);
    EXPECT_EQ(random.Next(-5), 0u);
    EXPECT_EQ(random.GetIndex(), CRandom::kStateSize);  // nothing drawn, nothing regenerated
    EXPECT_EQ(random.Next(1), 0u);
    EXPECT_EQ(random.GetIndex(), 1u);
    EXPECT_EQ(random.Next(1), 0u);
    EXPECT_EQ(random.Next(2147483647), 1393879085u);  // the third draw of the sequence
}

}  // namespace
