#include "sound/Mixer.h"

#include "sound/ModuleData.h"
#include "sound/SampleData.h"
#include "sound/SoundDevice.h"

#include <cstring>
#include <new>

namespace {
constexpr u32 kMusicChannels = 3;
constexpr u32 kSampleChannels = 64;
}  // namespace

Mixer::Mixer() = default;

Mixer::~Mixer() { Close(); }

i32 Mixer::Open() {
    if (open_) return -2;
    device_.reset(new (std::nothrow) SoundDevice());
    if (!device_) return -5;
    const SoundFormat format{44100, 0x12, 1};
    const i32 r = device_->Open(&format, latencyMs_ * 44100 / 1000, &Mixer::FillCallback, this);
    if (r != 0) {
        device_.reset();
        return r;
    }
    outputRate_ = 44100;
    stereo_ = format.channels - 1;
    is16Bit_ = (format.format >> 1) & 1;
    const i32 c = OpenChannels();
    if (c != 0) {
        device_->Close();
        device_.reset();
        return c;
    }
    device_->Resume();
    open_ = true;
    return 0;
}

i32 Mixer::OpenForRendering() {
    if (open_) return -2;
    outputRate_ = 44100;
    stereo_ = 0;
    is16Bit_ = 1;
    const i32 c = OpenChannels();
    if (c != 0) return c;
    open_ = true;
    return 0;
}

i32 Mixer::OpenChannels() {
    try {
        BuildRateTables(tables_, outputRate_);
        music_.clear();
        samples_.clear();
        for (u32 i = 0; i < kMusicChannels; ++i) music_.push_back(std::make_unique<ModuleChannel>());
        for (u32 i = 0; i < kSampleChannels; ++i) samples_.push_back(std::make_unique<SampleChannel>());
        activeMusic_.reserve(kMusicChannels);
        activeSamples_.reserve(kSampleChannels);
    } catch (const std::bad_alloc&) {
        music_.clear();
        samples_.clear();
        return -10;
    }
    musicVolume_ = 64;
    sampleVolume_ = 64;
    for (auto& c : music_) {
        c->SetMixer(this);
        c->SetTables(&tables_);
    }
    for (auto& c : samples_) c->SetMixer(this);
    return 0;
}

void Mixer::Close() {
    if (device_) {
        device_->Close();
        device_.reset();
    }
    open_ = false;
    music_.clear();
    samples_.clear();
    activeMusic_.clear();
    activeSamples_.clear();
}

SoundChannel* Mixer::Channel(i32 index) {
    if (index < 0) return nullptr;
    const u32 i = static_cast<u32>(index);
    if (i < music_.size()) return music_[i].get();
    if (i < music_.size() + samples_.size()) return samples_[i - music_.size()].get();
    return nullptr;
}

i32 Mixer::PlaySample(const SampleData& sample) {
    if (!open_ || sample.data == nullptr) return kNoChannel;
    SoundDeviceLock lock(device_.get());
    i32 chosen = -1;
    if (sample.instanceLimit == -1) {
        for (u32 i = 0; i < samples_.size() && chosen < 0; ++i)
            if (samples_[i]->IsFree()) chosen = static_cast<i32>(i);
    } else {
        i32 playing = 0;
        for (u32 i = 0; i < samples_.size(); ++i) {
            if (samples_[i]->IsFree())
                chosen = static_cast<i32>(i);
            else if (samples_[i]->Data() == sample.data)
                ++playing;
        }
        if (playing >= sample.instanceLimit) chosen = -1;
    }
    if (chosen < 0) return kNoChannel;
    samples_[chosen]->Start(sample);
    return static_cast<i32>(music_.size()) + chosen;
}

i32 Mixer::PlayModule(const ModuleData& module) {
    if (!open_ || module.header == nullptr || module.trackCount == 0 || module.trackCount > 32)
        return kNoChannel;
    SoundDeviceLock lock(device_.get());
    for (u32 i = 0; i < music_.size(); ++i) {
        if (music_[i]->IsFree()) {
            music_[i]->Start(module);
            return static_cast<i32>(i);
        }
    }
    return kNoChannel;
}

void Mixer::StopAllSamples() {
    if (!open_) return;
    SoundDeviceLock lock(device_.get());
    for (auto& c : samples_) c->Stop();
}

void Mixer::StopAllMusic() {
    if (!open_) return;
    SoundDeviceLock lock(device_.get());
    for (auto& c : music_) c->Stop();
}

void Mixer::StopModule(const ModuleData* module) {
    if (!open_ || module == nullptr) return;
    SoundDeviceLock lock(device_.get());
    for (auto& c : music_)
        if (c->Module() == module) c->Stop();
}

void Mixer::StopSamplesWithin(const u8* data, size_t size) {
    if (!open_ || data == nullptr) return;
    const auto begin = reinterpret_cast<uintptr_t>(data);
    SoundDeviceLock lock(device_.get());
    for (auto& c : samples_) {
        const auto at = reinterpret_cast<uintptr_t>(c->Data());
        if (!c->IsStopped() && at >= begin && at - begin < size) c->Stop();
    }
}

void Mixer::SetSampleVolume(u32 v) {
    sampleVolume_ = std::min<u32>(v, 64);
    for (auto& c : samples_) c->SetVolume(c->Volume());
}

void Mixer::SetMusicVolume(u32 v) {
    musicVolume_ = std::min<u32>(v, 64);
    for (auto& c : music_) c->SetVolume(c->Volume());
}

void Mixer::FillCallback(void* user, u8* buffer, u32 bytes) {
    if (user != nullptr) static_cast<Mixer*>(user)->Mix(buffer, bytes);
}

// Music and effects are summed apart in 32-bit accumulators, a block of output at a time, and the
// effects scaled down and the sum clamped once per output sample.
void Mixer::Mix(u8* buffer, u32 bytes) {
    activeMusic_.clear();
    activeSamples_.clear();
    for (auto& c : music_)
        if (c->IsActive()) activeMusic_.push_back(c.get());
    for (auto& c : samples_)
        if (c->IsActive()) activeSamples_.push_back(c.get());
    if (activeMusic_.empty() && activeSamples_.empty()) {
        std::memset(buffer, 0, bytes);
        return;
    }
    constexpr u32 kBlock = 1024;
    i32 music[kBlock];
    i32 effects[kBlock];
    const u32 count = bytes / 2;
    for (u32 done = 0; done < count;) {
        const u32 n = std::min(kBlock, count - done);
        std::fill_n(music, n, 0);
        std::fill_n(effects, n, 0);
        for (ModuleChannel* c : activeMusic_)
            if (c->IsActive()) c->Mix(music, n);
        for (SampleChannel* c : activeSamples_)
            if (c->IsActive()) c->Mix(effects, n, outputRate_);
        u8* out = buffer + done * 2;
        for (u32 i = 0; i < n; ++i) {
            const i32 v = std::clamp(music[i] + (effects[i] >> 7), -32768, 32767);
            out[i * 2] = static_cast<u8>(v & 0xFF);
            out[i * 2 + 1] = static_cast<u8>((v >> 8) & 0xFF);
        }
        done += n;
    }
    if (bytes & 1) buffer[bytes - 1] = 0;
}
