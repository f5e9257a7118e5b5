#include "sound/PitchTables.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr std::array<u16, kNotesPerRow> kRow0 = {
    1712, 1616, 1525, 1440, 1357, 1281, 1209, 1141, 1077, 1017, 961, 907, 856, 808, 762, 720, 678,
    640,  604,  570,  538,  508,  480,  453,  428,  404,  381,  360, 339, 320, 302, 285, 269, 254,
    240,  226,  214,  202,  190,  180,  170,  160,  151,  143,  135, 127, 120, 113, 107, 101, 95,
    90,   85,   80,   76,   71,   67,   64,   60,   57,   53,   50,  47,  45,  42,  40,  37,  35,
    33,   31,   30,   28,   26,   25,   23,   22,   20,   19,   18,  17,  16,  15,  14,  13};

// The first octaves of three rows are fixed values that music written for these tables relies on;
// they differ from the rule below in two places of the -8 row.
constexpr std::array<u16, 12> kRow1Octave = {1699, 1604, 1514, 1429, 1347, 1271,
                                             1200, 1132, 1069, 1009, 954,  900};
constexpr std::array<u16, 12> kRow8Octave = {1813, 1711, 1615, 1525, 1437, 1357,
                                             1280, 1208, 1140, 1077, 1018, 960};
constexpr std::array<u16, 12> kRow15Octave = {1724, 1627, 1536, 1450, 1366, 1290,
                                              1217, 1149, 1084, 1024, 967,  913};

std::array<u16, 16 * kNotesPerRow> BuildPeriodTable() {
    std::array<u16, 16 * kNotesPerRow> t{};
    for (u32 row = 0; row < 16; ++row) {
        // A finetune step is 1/8 of a semitone: row 0 scaled by 2^(-finetune/96), truncated.
        const int finetune = row < 8 ? static_cast<int>(row) : static_cast<int>(row) - 16;
        const double scale = std::pow(2.0, -finetune / 96.0);
        for (u32 n = 0; n < kNotesPerRow; ++n)
            t[row * kNotesPerRow + n] = row == 0 ? kRow0[n] : static_cast<u16>(kRow0[n] * scale);
    }
    for (u32 n = 0; n < 12; ++n) {
        t[1 * kNotesPerRow + n] = kRow1Octave[n];
        t[8 * kNotesPerRow + n] = kRow8Octave[n];
        t[15 * kNotesPerRow + n] = kRow15Octave[n];
    }
    return t;
}

}  // namespace

const std::array<u16, 16 * kNotesPerRow>& PeriodTable() {
    static const std::array<u16, 16 * kNotesPerRow> table = BuildPeriodTable();
    return table;
}

const std::array<u8, 32>& VibratoSine() {
    static constexpr std::array<u8, 32> sine = {0,   24,  49,  74,  97,  120, 141, 161, 180, 197, 212,
                                                224, 235, 244, 250, 253, 255, 253, 250, 244, 235, 224,
                                                212, 197, 180, 161, 141, 120, 97,  74,  49,  24};
    return sine;
}

u16 FindNearestNote(u32 period) {
    u16 best = 0;
    u32 bestDiff = ~0u;
    for (u16 i = 0; i < kNotesPerRow; ++i) {
        const u32 diff = static_cast<u32>(std::abs(static_cast<int>(kRow0[i]) - static_cast<int>(period)));
        if (diff == 0) return i;
        if (diff < bestDiff) {
            bestDiff = diff;
            best = i;
        }
    }
    return best;
}

u32 StepForPeriod(u32 period, u32 outputRate) {
    if (period == 0 || outputRate == 0) return 0;
    // From the 3,579,545 Hz clock; worked in 64 bits, since the shortest periods overflow 32.
    const u64 step = ((static_cast<u64>(7159090) / (2 * period)) << 12) / outputRate;
    return step > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<u32>(step);
}

void BuildRateTables(RateTables& tables, u32 outputRate) {
    tables.outputRate = outputRate;
    tables.steps[0] = 0;
    for (u32 p = 1; p < kStepTableSize; ++p) tables.steps[p] = StepForPeriod(p, outputRate);
    for (u32 p = 0; p <= kMaxPeriod; ++p) tables.notes[p] = FindNearestNote(p);
}
