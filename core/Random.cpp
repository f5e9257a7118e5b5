#include "core/Random.h"

#include "platform/Clock.h"

namespace {

constexpr u32 kMiddle = 397;
constexpr u32 kUpperMask = 0x80000000u;
constexpr u32 kLowerMask = 0x7FFFFFFFu;

}  // namespace

void CRandom::Seed(CGame* owner) {
    owner_ = owner;
    clockSeed_ = static_cast<u32>(plat::Time());
    SeedWith(clockSeed_);
}

void CRandom::SeedWith(u32 seed) {
    // Every state word of a zero seed is zero, and such a generator draws nothing but zeros: a clock
    // that reads 0 seeds with the reference code's default instead.
    if (seed == 0) seed = kZeroSeedReplacement;
    state_[0] = seed;
    for (u32 i = 1; i < kStateSize; ++i) state_[i] = state_[i - 1] * 69069u;
    index_ = kStateSize;
}

void CRandom::Regenerate() {
    for (u32 k = 0; k < kStateSize; ++k) {
        u32 next = state_[(k + 1) % kStateSize];
        u32 y = (state_[k] & kUpperMask) | (next & kLowerMask);
        state_[k] = state_[(k + kMiddle) % kStateSize] ^ (y >> 1) ^ matrix_[y & 1];
    }
    index_ = 0;
}

u32 CRandom::Next(i32 n) {
    if (n < 1) return 0;
    if (index_ >= kStateSize) Regenerate();
    u32 y = state_[index_++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y % static_cast<u32>(n);
}
