#include "sound/SampleChannel.h"

#include "sound/Mixer.h"
#include "sound/SampleData.h"
#include "sound/SoundDevice.h"

void SampleChannel::SetVolume(u32 v) {
    const u32 volume = std::min<u32>(v, 64);
    volume_.store(volume, std::memory_order_relaxed);
    const u32 mixerVolume = mixer_ ? mixer_->SampleVolume() : 64;
    effective_.store((mixerVolume * volume) >> 6, std::memory_order_relaxed);
}

u32 SampleChannel::GetPosition() { return position_ >> 8; }

u32 SampleChannel::GetLength() { return length_ >> 8; }

void SampleChannel::SetPosition(u32 p) {
    SoundDeviceLock lock(mixer_ ? mixer_->Device() : nullptr);
    position_ = std::min<u32>(p, 0xFFFFFF) << 8;
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

// A run of output samples that all read inside the data, so the loop has nothing to test.
template <bool Is8Bit, bool Stereo>
void SampleChannel::MixRun(i32* out, u32 count, i32 volume) {
    const u8* d = data_;
    u32 position = position_;
    const u32 step = step_;
    for (u32 i = 0; i < count; ++i, position += step) {
        const u32 frame = position >> 8;
        i32 value;
        if constexpr (Is8Bit) {
            if constexpr (Stereo)
                value = (d[frame * 2] - 128) * 256 + (d[frame * 2 + 1] - 128) * 256;
            else
                value = (d[frame] - 128) * 256;
        } else {
            auto s16 = [d](u32 k) {
                return static_cast<i32>(static_cast<i16>(d[k * 2] | (d[k * 2 + 1] << 8)));
            };
            if constexpr (Stereo)
                value = s16(frame * 2) + s16(frame * 2 + 1);
            else
                value = s16(frame);
        }
        out[i] += value * volume;
    }
    position_ = position;
}

void SampleChannel::Mix(i32* out, u32 count, u32 outputRate) {
    if (recompute_) {
        step_ = outputRate ? static_cast<u32>((static_cast<u64>(playbackRate_) * 65536) /
                                              (static_cast<u64>(outputRate) * 256))
                           : 0;
        if (step_ == 0) step_ = 1;  // very low rates still move on and end
        recompute_ = false;
    }
    const i32 volume = static_cast<i32>(EffectiveVolume());
    for (u32 done = 0; done < count;) {
        if (loop_ && position_ >= length_ && length_ > 0) position_ -= length_;
        if (position_ >= length_) {
            Stop();
            return;
        }
        // Every sample up to the one that reaches the end reads inside the data.
        const u64 inside = (static_cast<u64>(length_ - position_) + step_ - 1) / step_;
        const u32 n = static_cast<u32>(std::min<u64>(count - done, inside));
        if (is8Bit_)
            stereo_ ? MixRun<true, true>(out + done, n, volume) : MixRun<true, false>(out + done, n, volume);
        else
            stereo_ ? MixRun<false, true>(out + done, n, volume)
                    : MixRun<false, false>(out + done, n, volume);
        done += n;
    }
}
