// The output device of the sound library: a ring of equal buffers queued on the platform's audio
// backend, and a mixing thread that refills each buffer the backend has finished with.
#pragma once

#include "core/Types.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace plat {
class AudioBackend;
}

// The format asked of the device. Format word bits: 0x01 8-bit, 0x02 16-bit (0x10 and 0x20 are
// their other-variant twins; a word naming both sizes of one pair is refused).
struct SoundFormat {
    u32 rate = 44100;
    u32 format = 0x12;
    u32 channels = 1;
};

using SoundFillCallback = void (*)(void* user, u8* buffer, u32 bytes);

class SoundDevice {
public:
    SoundDevice();
    virtual ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    virtual i32 Open(const SoundFormat* format, u32 latencySamples, SoundFillCallback callback, void* user);
    virtual i32 Close();
    virtual void Lock();
    virtual void Unlock();
    virtual void Pause();
    virtual void Resume();

    bool IsOpen() const { return open_.load(); }
    bool IsPaused() const { return paused_.load(); }
    u32 BufferCount() const { return bufferCount_; }
    u32 BufferBytes() const { return bufferBytes_; }

    // Blocks until the mixing thread has refilled `count` buffers since open, or the timeout passes;
    // true when it has (tests and tools that watch real output).
    bool WaitForRefills(u64 count, u32 timeoutMs);

    // Buffer count and size for a request, as Open computes them (exposed for the tests).
    static u32 BufferCountFor(u32 latencySamples, u32 rate);
    static u32 BufferBytesFor(u32 rate, u32 frameBytes);

private:
    void ThreadProc();
    void BufferDone();

    std::unique_ptr<plat::AudioBackend> backend_;
    std::vector<u8> block_;
    u32 bufferCount_ = 0;
    u32 bufferBytes_ = 0;
    u32 frameBytes_ = 0;
    u32 next_ = 0;
    SoundFormat format_;
    SoundFillCallback callback_ = nullptr;
    void* user_ = nullptr;

    std::mutex lock_;  // the device lock: held for every refill and by the game's starts and stops

    // The returned-buffer count works as a counting semaphore (at most count + 1); the same mutex and
    // condition park the thread while the device is paused and wake it to stop.
    std::mutex stateMutex_;
    std::condition_variable stateChanged_;
    u32 returned_ = 0;
    u64 refills_ = 0;
    bool parked_ = true;
    bool stop_ = false;
    std::thread thread_;

    std::atomic<bool> open_{false};
    std::atomic<bool> paused_{true};
};

// Holds the device lock for its scope, so that every return between taking and giving it back gives it
// back. No device (the mixer renders offline) holds nothing.
class SoundDeviceLock {
public:
    explicit SoundDeviceLock(SoundDevice* device) : device_(device) {
        if (device_) device_->Lock();
    }
    ~SoundDeviceLock() {
        if (device_) device_->Unlock();
    }
    SoundDeviceLock(const SoundDeviceLock&) = delete;
    SoundDeviceLock& operator=(const SoundDeviceLock&) = delete;

private:
    SoundDevice* device_;
};
