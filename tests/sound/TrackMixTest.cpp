#include "sound/TrackMix.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The run against the one-sample-at-a-time loop, over steps on both sides of the wide loop's limit,
// runs that end at the last readable byte, and data held in a buffer of exactly the readable size (so
// that the sanitizer build sees any read past it).
TEST(TrackMixTest, RunsMatchThePlainLoop) {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 3000; ++trial) {
        const u32 readable = 1 + rng() % (trial % 3 == 0 ? 40 : 3000);
        std::vector<i8> data(readable);
        for (i8& v : data) v = static_cast<i8>(rng());
        const u32 step = 1 + rng() % (trial % 2 == 0 ? 9000 : 30000);
        const u32 at = rng() % (readable << 12);
        // As many samples as stay inside, or fewer.
        const u32 inside = static_cast<u32>(((static_cast<u64>(readable) << 12) - at + step - 1) / step);
        const u32 count = rng() % 4 == 0 ? inside : rng() % (inside + 1);
        const i32 volume = static_cast<i32>(rng() % 65);
        std::vector<i32> want(count + 3), got(count + 3);
        for (u32 i = 0; i < want.size(); ++i) want[i] = got[i] = static_cast<i32>(rng() % 1000);
        u32 position = at;
        for (u32 i = 0; i < count; ++i, position += step) want[i] += data[position >> 12] * volume;
        ASSERT_EQ(MixTrackRun(got.data(), count, data.data(), readable, at, step, volume), position) << trial;
        ASSERT_EQ(got, want) << "trial " << trial << " step " << step << " count " << count;
    }
}

}  // namespace
