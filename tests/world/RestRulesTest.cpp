#include <gtest/gtest.h>

#include "world/RestRules.h"

namespace {

TEST(RestRules, RefusalsComeInTheirOrder) {
    const char* kFood = "You need food and water to rest.\rRotten food and contaminated water don't apply.";
    const char* kUndeadFood =
        "You need food and water to rest.\rAs an undead, you can eat rotten food and drink even contaminated "
        "water.";
    const struct {
        CRestSituation situation;
        const char* refusal;
    } cases[] = {
        {{}, nullptr},
        // Each reason alone.
        {{true, false, false, false, true, false}, "You cannot rest here."},
        {{false, true, false, false, true, false}, "There are monsters around - you cannot rest here."},
        {{false, false, true, false, true, false}, "You're poisoned - resting would be lethal."},
        {{false, false, false, true, true, false}, "You're seriously diseased - resting would be lethal."},
        {{false, false, false, false, false, false}, kFood},
        {{false, false, false, false, false, true}, kUndeadFood},
        // With every reason at once the map speaks first; then monsters before poison, poison before
        // disease, disease before food.
        {{true, true, true, true, false, true}, "You cannot rest here."},
        {{false, true, true, true, false, false}, "There are monsters around - you cannot rest here."},
        {{false, false, true, true, false, false}, "You're poisoned - resting would be lethal."},
        {{false, false, false, true, false, true}, "You're seriously diseased - resting would be lethal."},
    };
    for (const auto& c : cases) {
        const char* refusal = RestRefusal(c.situation);
        if (!c.refusal) {
            EXPECT_EQ(refusal, nullptr);
        } else {
            ASSERT_NE(refusal, nullptr) << c.refusal;
            EXPECT_STREQ(refusal, c.refusal);
        }
    }
}

TEST(RestRules, ExposureGivesBackHalfOfWhatIsLacking) {
    const struct {
        int value, maximum;
        bool exposed;
        int rested;
    } cases[] = {
        {10, 30, false, 30}, {10, 30, true, 20}, {30, 30, false, 30}, {30, 30, true, 30},
        {29, 30, true, 29},  // half of one point is nothing
        {0, 7, true, 3},     {0, 0, false, 0},
        {45, 30, false, 45},  // a value above its maximum (a fortified maximum ran out) stays
        {45, 30, true, 45},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RestedValue(c.value, c.maximum, c.exposed), c.rested)
            << c.value << "/" << c.maximum << (c.exposed ? " exposed" : "");
}

}  // namespace
