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
    // Adds the next `count` output samples, each the channel's value times its effective volume, to
    // `out`; stops the channel where its data ends.
    void Mix(i32* out, u32 count, u32 outputRate);
    const u8* Data() const { return data_; }

private:
    template <bool Is8Bit, bool Stereo>
    void MixRun(i32* out, u32 count, i32 volume);

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
