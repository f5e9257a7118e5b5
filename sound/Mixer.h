// The sound library's mixer: three music channels and sixty-four sample channels mixed into the
// 44,100 Hz 16-bit mono buffers of a SoundDevice on its mixing thread.
#pragma once

#include "core/Types.h"
#include "sound/ModuleChannel.h"
#include "sound/PitchTables.h"
#include "sound/SampleChannel.h"

#include <atomic>
#include <memory>
#include <vector>

class ModuleData;
class SampleData;
class SoundDevice;

// Play operations answer a channel index (music 0..2, samples 3..66) or this.
constexpr i32 kNoChannel = -1000;

class Mixer {
public:
    Mixer();
    virtual ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Opens the output device and starts it. 0, or the device's code (-1 no device, -4, -10), -2
    // when already open, -5 or -10 when out of memory. Without a device the mixer stays closed.
    i32 Open();
    // Opens the channels and tables without an output device: the caller pulls sound with Mix (offline
    // rendering, tests, benchmarks). Same codes as Open.
    i32 OpenForRendering();
    void Close();

    i32 PlaySample(const SampleData& sample);
    i32 PlayModule(const ModuleData& module);
    void StopAllSamples();
    void StopAllMusic();
    // Stops, under the device lock, every music channel that plays `module`; after it the module's
    // data may be freed.
    void StopModule(const ModuleData* module);
    // Stops, under the device lock, every sample channel that plays data inside [data, data + size);
    // after it that memory may be freed.
    void StopSamplesWithin(const u8* data, size_t size);

    void SetSampleVolume(u32 v);
    void SetMusicVolume(u32 v);
    u32 SampleVolume() const { return sampleVolume_.load(std::memory_order_relaxed); }
    u32 MusicVolume() const { return musicVolume_.load(std::memory_order_relaxed); }

    static void FillCallback(void* user, u8* buffer, u32 bytes);
    // Mixes bytes / 2 samples of 16-bit little-endian mono output.
    void Mix(u8* buffer, u32 bytes);

    bool IsOpen() const { return open_; }
    SoundDevice* Device() const { return device_.get(); }
    u32 MusicChannelCount() const { return static_cast<u32>(music_.size()); }
    u32 SampleChannelCount() const { return static_cast<u32>(samples_.size()); }
    // The channel of a mixer index, or null for any other number.
    SoundChannel* Channel(i32 index);
    ModuleChannel& Music(u32 i) { return *music_[i]; }
    SampleChannel& Sample(u32 i) { return *samples_[i]; }

    const u32* StepTable() const { return tables_.steps.data(); }
    const u16* NoteTable() const { return tables_.notes.data(); }
    u32 OutputRate() const { return outputRate_; }
    // The device latency asked for at the next Open; 180 ms gives six 30 ms buffers.
    void SetLatency(u32 ms) { latencyMs_ = ms; }
    u32 Latency() const { return latencyMs_; }

private:
    i32 OpenChannels();

    bool open_ = false;
    std::unique_ptr<SoundDevice> device_;
    std::vector<std::unique_ptr<ModuleChannel>> music_;
    std::vector<std::unique_ptr<SampleChannel>> samples_;
    std::vector<ModuleChannel*> activeMusic_;
    std::vector<SampleChannel*> activeSamples_;
    RateTables tables_;
    std::atomic<u32> musicVolume_{64};
    std::atomic<u32> sampleVolume_{64};
    u32 outputRate_ = 44100;
    u32 stereo_ = 0;
    u32 is16Bit_ = 1;
    u32 latencyMs_ = 180;
};
