// One piece of tracker music as the caller holds it in memory: the 1,084-byte header, the patterns
// and the instruments' signed 8-bit sample data. Nothing is copied; the caller keeps it alive while
// a channel plays it.
#pragma once

#include "core/Types.h"

#include <array>
#include <cstddef>
#include <span>
#include <vector>

struct ModuleBlock {
    const u8* data = nullptr;
    u32 size = 0;
};

constexpr u32 kModuleHeaderSize = 1084;
constexpr u32 kModuleInstruments = 31;
constexpr u32 kModuleRows = 64;
constexpr u32 kModuleFirstPart = 64000;  // sample bytes held by the first data block

// Track count from the 4-byte signature at header offset 1080 (0 when unknown).
u32 GetModuleTrackCount(const u8* signature);

class ModuleData {
public:
    ModuleData() = default;
    virtual ~ModuleData() = default;
    ModuleData(const ModuleData&) = delete;
    ModuleData& operator=(const ModuleData&) = delete;

    // Checks the piece against the data supplied and keeps it: 0; -100 for an unknown signature or a
    // track count above 32; -1 for a header that does not fit its data (song length 0 or above 128,
    // an order naming a missing or short pattern, an instrument longer than its sample data).
    // `samples` and `samples2` are indexed by instrument - 1; `samples2` holds the bytes from 64,000
    // on and may be empty.
    i32 Set(const u8* header, std::span<const ModuleBlock> patterns, std::span<const ModuleBlock> samples,
            std::span<const ModuleBlock> samples2);

    u32 volume = 64;
    bool loop = false;
    u32 pan = 255;
    u32 tempoBaseRate = 44100;

    const u8* header = nullptr;
    u32 trackCount = 0;
    u32 songLength = 0;
    std::vector<ModuleBlock> patterns;
    std::array<ModuleBlock, kModuleInstruments> samples{};
    std::array<ModuleBlock, kModuleInstruments> samples2{};
};

// A whole tracker-module file split into the parts that ModuleData::Set takes (pointers into the
// image). false when the image is too short for the header, the patterns its order list names or the
// sample data its instrument headers state.
struct ModuleImage {
    const u8* header = nullptr;
    std::vector<ModuleBlock> patterns;
    std::array<ModuleBlock, kModuleInstruments> samples{};
    std::array<ModuleBlock, kModuleInstruments> samples2{};
};
bool SplitModuleImage(const u8* image, size_t size, ModuleImage& out);
