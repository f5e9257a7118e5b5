// One playable sample: PCM data inside a WAV image (not copied) and how to play it.
#pragma once

#include "core/Types.h"

#include <cstddef>

class SampleData {
public:
    SampleData() = default;
    virtual ~SampleData();
    SampleData(const SampleData&) = delete;
    SampleData& operator=(const SampleData&) = delete;

    // Points this sample at the PCM data of a WAV image of `size` bytes. 0, or -10 (no image), -300
    // (not a WAV image: no "fmt " chunk at byte 12, a short format chunk or no "data" chunk), -100
    // (not 8/16-bit PCM in one or two channels). On failure the data pointer stays null.
    i32 ParseWav(const u8* image, size_t size);

    const u8* data = nullptr;
    bool is8Bit = true;
    bool stereo = false;
    u32 sampleRate = 0;
    u32 length = 0;  // frames
    u32 volume = 64;
    bool loop = false;
    u32 pan = 128;
    i32 instanceLimit = -1;  // -1: any number of channels at once
    u32 playbackRate = 0;
    bool ownsData = false;
};
