// An audio backend without real time: queued buffers are played only when a test advances it, and
// everything played is kept for inspection.
#pragma once

#include "platform/Audio.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace plat {

class HeadlessAudio final : public AudioBackend {
public:
    explicit HeadlessAudio(uint32_t deviceCount = 1) : deviceCount_(deviceCount) {}

    uint32_t DeviceCount() override { return deviceCount_; }
    bool Open(uint32_t index, const AudioFormat& format, DoneFn done) override;
    void Pause() override;
    void Resume() override;
    void Queue(const uint8_t* data, size_t bytes) override;
    void Reset() override;
    void Close() override;

    // Plays up to `count` of the oldest queued buffers (none while paused or closed), appends their
    // bytes to Played() and sends their finished notices. Returns how many were played.
    size_t Advance(size_t count);
    // Blocks until at least `count` buffers are queued, or the timeout passes; true when they are.
    bool WaitForQueued(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5));

    size_t QueuedCount() const;
    std::vector<size_t> QueuedSizes() const;
    std::vector<uint8_t> Played() const;
    bool IsOpen() const;
    bool IsPaused() const;
    AudioFormat Format() const;
    uint32_t OpenedDevice() const;
    // A factory whose backends all drive `shared`, so that a test can watch it across opens and closes.
    static AudioBackendFactory SharedFactory(HeadlessAudio& shared);

    // Devices below this index refuse to open, as a busy or unsuitable device would.
    void RefuseDevicesBelow(uint32_t index) { refuseBelow_ = index; }

private:
    struct Pending {
        const uint8_t* data;
        size_t bytes;
    };
    mutable std::mutex mutex_;
    std::condition_variable queuedChanged_;
    std::deque<Pending> queue_;
    std::vector<uint8_t> played_;
    DoneFn done_;
    AudioFormat format_;
    uint32_t deviceCount_;
    uint32_t refuseBelow_ = 0;
    uint32_t opened_ = 0;
    bool open_ = false;
    bool paused_ = true;
};

}  // namespace plat
