// The game's one random-number generator: MT19937, seeded from the clock once at start-up the way
// the generator's 1998 reference code seeds it (each state word is the previous one times 69069).
// That seeding differs from std::mt19937's, and stored behaviour depends on the exact sequence.
#pragma once

#include "core/Types.h"

class CGame;

class CRandom {
public:
    static constexpr u32 kStateSize = 624;
    static constexpr u32 kZeroSeedReplacement = 4357;

    CRandom() = default;

    // Seeds from the current time in seconds; the owner calls this once, before any draw.
    void Seed(CGame* owner);
    // A number from 0 to n-1; 0 without drawing for n below 1.
    u32 Next(i32 n);

    CGame* GetOwner() const { return owner_; }
    u32 StateWord(u32 i) const { return i < kStateSize ? state_[i] : 0; }
    u32 GetIndex() const { return index_; }
    // The clock reading Seed took (before a zero is replaced): a replay that sets its clock to it
    // draws what this run drew.
    u32 ClockSeed() const { return clockSeed_; }

private:
    void SeedWith(u32 seed);
    void Regenerate();

    CGame* owner_ = nullptr;
    u32 clockSeed_ = 0;
    u32 state_[kStateSize] = {};
    u32 index_ = kStateSize;
    u32 matrix_[2] = {0, 0x9908B0DFu};
};
