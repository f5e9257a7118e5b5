// Audio output of the platform layer: a device that plays whole buffers in the order they were queued
// and reports each finished buffer. The sound library's device class drives it from its own thread;
// a backend never calls back into the game except through the finished-buffer notice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace plat {

struct AudioFormat {
    uint32_t rate = 44100;
    uint32_t channels = 1;        // 1 or 2, interleaved
    uint32_t bitsPerSample = 16;  // 8 (unsigned) or 16 (signed little-endian)
};

class AudioBackend {
public:
    // Called exactly once per finished buffer, from any thread. It must only signal: no locks held by
    // the caller of Queue may be taken inside it.
    using DoneFn = std::function<void()>;

    virtual ~AudioBackend() = default;
    // Number of output devices that Open may be tried with (0 = none).
    virtual uint32_t DeviceCount() = 0;
    // Opens device `index` for `format`. The device starts paused, with nothing queued.
    virtual bool Open(uint32_t index, const AudioFormat& format, DoneFn done) = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Appends a buffer to the play queue. The memory stays the caller's and must stay untouched until
    // its finished notice.
    virtual void Queue(const uint8_t* data, size_t bytes) = 0;
    // Drops every queued buffer; no finished notice arrives after it returns.
    virtual void Reset() = 0;
    virtual void Close() = 0;
};

using AudioBackendFactory = std::function<std::unique_ptr<AudioBackend>()>;

// The backend that the sound device opens; null when none is installed, which means "no device": the
// game then runs silent.
std::unique_ptr<AudioBackend> CreateAudioBackend();
void SetAudioBackendFactory(AudioBackendFactory factory);

// Installs a backend factory for the lifetime of a scope (tests).
class ScopedAudioBackend {
public:
    explicit ScopedAudioBackend(AudioBackendFactory factory);
    ~ScopedAudioBackend();
    ScopedAudioBackend(const ScopedAudioBackend&) = delete;
    ScopedAudioBackend& operator=(const ScopedAudioBackend&) = delete;

private:
    AudioBackendFactory previous_;
};

}  // namespace plat
