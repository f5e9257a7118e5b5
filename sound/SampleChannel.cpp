#include "sound/SampleChannel.h"

#include "sound/Mixer.h"
#include "sound/SampleData.h"

void SampleChannel::SetVolume(u32 v) {
    const u32 volume = std::min<u32>(v, 64);
    volume_.store(volume, std::memory_order_relaxed);
    const u32 mixerVolume = mixer_ ? mixer_->SampleVolume() : 64;
    effective_.store((mixerVolume * volume) >> 6, std::memory_order_relaxed);
}

u32 SampleChannel::GetPosition() { return position_ >> 8; }

u32 SampleChannel::GetLength() { return length_ >> 8; }

void SampleChannel::SetPosition(u32 p) {
    if (mixer_) mixer_->LockDevice();
    position_ = std::min<u32>(p, 0xFFFFFF) << 8;
    if (mixer_) mixer_->UnlockDevice();
}

void SampleChannel::Start(const SampleData& sample) {
    data_ = sample.data;
    sampleRate_ = sample.sampleRate;
    playbackRate_ = sample.playbackRate;
    recompute_ = true;
    position_ = 0;
    length_ = std::min<u32>(sample.length, 0xFFFFFF) << 8;
    loop_ = sample.loop;
    SetPan(sample.pan);
    is8Bit_ = sample.is8Bit;
    stereo_ = sample.stereo;
    SetVolume(sample.volume);
    SetPaused(false);
    SetStopped(false);
}

i32 SampleChannel::MixOne(u32 outputRate) {
    if (recompute_) {
        step_ = outputRate ? static_cast<u32>((static_cast<u64>(playbackRate_) * 65536) / (static_cast<u64>(outputRate) * 256)) : 0;
        if (step_ == 0) step_ = 1;  // very low rates still move on and end
        recompute_ = false;
    }
    if (loop_ && position_ >= length_ && length_ > 0) position_ -= length_;
    if (position_ >= length_) {
        Stop();
        return 0;
    }
    const u32 frame = position_ >> 8;
    i32 value;
    if (is8Bit_) {
        if (stereo_)
            value = (data_[frame * 2] - 128) * 256 + (data_[frame * 2 + 1] - 128) * 256;
        else
            value = (data_[frame] - 128) * 256;
    } else {
        auto s16 = [&](u32 i) { return static_cast<i32>(static_cast<i16>(data_[i * 2] | (data_[i * 2 + 1] << 8))); };
        value = stereo_ ? s16(frame * 2) + s16(frame * 2 + 1) : s16(frame);
    }
    position_ += step_;
    return value * static_cast<i32>(EffectiveVolume());
}
