// A mixer channel that plays one SampleData, resampled to the output rate without interpolation.
#pragma once

#include "sound/SoundChannel.h"

class SampleData;

class SampleChannel : public SoundChannel {
public:
    void SetVolume(u32 v) override;
    // Positions and lengths in frames.
    u32 GetPosition() override;
    void SetPosition(u32 p) override;
    u32 GetLength() override;

    // Set-up by the mixer, under the device lock.
    void Start(const SampleData& sample);
    // One output sample: the channel's value times its effective volume (0 when it has ended).
    i32 MixOne(u32 outputRate);
    const u8* Data() const { return data_; }

private:
    const u8* data_ = nullptr;
    u32 sampleRate_ = 0;
    u32 playbackRate_ = 0;
    bool recompute_ = false;
    u32 step_ = 0;      // frames per output sample, 8.8
    u32 position_ = 0;  // frames, 24.8
    u32 length_ = 0;    // frames, 24.8
    bool loop_ = false;
    bool is8Bit_ = true;
    bool stereo_ = false;
};
