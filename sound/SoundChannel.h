// The common base of the mixer's channels. The game's thread stops, resumes and sets volumes with
// single stores while the mixing thread reads them, so those fields are atomics.
#pragma once

#include "core/Types.h"

#include <algorithm>
#include <atomic>

class Mixer;

class SoundChannel {
public:
    virtual ~SoundChannel() = default;
    virtual void SetVolume(u32 v) { volume_.store(std::min<u32>(v, 64), std::memory_order_relaxed); }
    virtual void SetPan(u32 v) { pan_.store(std::min<u32>(v, 255), std::memory_order_relaxed); }
    virtual u32 GetPosition() { return 0; }
    virtual void SetPosition(u32) {}
    virtual u32 GetLength() { return 0; }

    void SetMixer(Mixer* mixer) { mixer_ = mixer; }
    u32 Volume() const { return volume_.load(std::memory_order_relaxed); }
    u32 EffectiveVolume() const { return effective_.load(std::memory_order_relaxed); }
    u32 Pan() const { return pan_.load(std::memory_order_relaxed); }

    bool IsStopped() const { return stopped_.load(std::memory_order_relaxed); }
    bool IsPaused() const { return paused_.load(std::memory_order_relaxed); }
    bool IsActive() const { return !IsStopped() && !IsPaused(); }
    bool IsFree() const { return IsStopped() && !IsPaused(); }
    void SetStopped(bool v) { stopped_.store(v, std::memory_order_relaxed); }
    void SetPaused(bool v) { paused_.store(v, std::memory_order_relaxed); }
    // The channel ends: stopped and not paused.
    void Stop() {
        stopped_.store(true, std::memory_order_relaxed);
        paused_.store(false, std::memory_order_relaxed);
    }

protected:
    Mixer* mixer_ = nullptr;
    std::atomic<u32> volume_{64};
    std::atomic<u32> effective_{64};
    std::atomic<u32> pan_{128};
    std::atomic<bool> paused_{false};
    std::atomic<bool> stopped_{true};
};
