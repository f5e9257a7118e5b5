// A generator seeded the way the game seeds it (from the clock), with the clock pinned.
#pragma once

#include "core/Random.h"
#include "platform/Clock.h"

inline CRandom SeededRandom(u32 seed) {
    plat::ManualClock clock;
    clock.SetTime(seed);
    plat::ScopedClock scoped(clock);
    CRandom random;
    random.Seed(nullptr);
    return random;
}
