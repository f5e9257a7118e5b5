// The fixed tables of tracker playback: the period table by finetune, the vibrato sine, and the
// per-period step and note tables that the mixer builds once.
#pragma once

#include "core/Types.h"

#include <array>

constexpr u32 kMinPeriod = 13;
constexpr u32 kMaxPeriod = 1712;
constexpr u32 kNotesPerRow = 84;
// The step table also covers the lowest notes of the negative finetune rows (up to 1813).
constexpr u32 kStepTableSize = 2048;

// 16 rows by finetune (0..7, then 8..15 for -8..-1), 84 notes each.
const std::array<u16, 16 * kNotesPerRow>& PeriodTable();
const std::array<u8, 32>& VibratoSine();
// The note index 0..83 of the finetune-0 row nearest to `period` (first of equals).
u16 FindNearestNote(u32 period);
// The 20.12 advance per output sample of a note of `period` at `outputRate` (0 for period 0).
u32 StepForPeriod(u32 period, u32 outputRate);

// The per-period tables of one output rate, built once when the mixer opens and read by its music
// channels while they play.
struct RateTables {
    u32 outputRate = 44100;
    std::array<u32, kStepTableSize> steps{};  // StepForPeriod of each period (0 for period 0)
    std::array<u16, kMaxPeriod + 1> notes{};  // FindNearestNote of each period
};
void BuildRateTables(RateTables& tables, u32 outputRate);
