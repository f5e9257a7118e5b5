#include "sound/SoundDevice.h"

#include "platform/Audio.h"

#include <algorithm>
#include <chrono>

SoundDevice::SoundDevice() = default;

SoundDevice::~SoundDevice() {
    if (open_) Close();
}

u32 SoundDevice::BufferCountFor(u32 latencySamples, u32 rate) {
    if (rate == 0) return 4;
    const u64 ms = static_cast<u64>(latencySamples) * 1000 / rate;
    return static_cast<u32>(std::clamp<u64>(ms / 30, 4, 32));
}

u32 SoundDevice::BufferBytesFor(u32 rate, u32 frameBytes) {
    // 30 ms, rounded up to a multiple of 8 bytes.
    const u64 bytes = static_cast<u64>(rate) * frameBytes * 15 * 2 / 1000 + 7;
    return static_cast<u32>(bytes & ~u64{7});
}

i32 SoundDevice::Open(const SoundFormat* format, u32 latencySamples, SoundFillCallback callback, void* user) {
    if (open_) return -2;
    if (format == nullptr || callback == nullptr) return -1;
    const u32 word = format->format;
    if (word == 0 || ((word & 0x01) && (word & 0x10)) || ((word & 0x02) && (word & 0x20))) return -1;
    if (format->channels != 1 && format->channels != 2) return -1;
    if (format->rate == 0) return -1;
    format_ = *format;
    callback_ = callback;
    user_ = user;

    bufferCount_ = BufferCountFor(latencySamples, format_.rate);
    const u32 sampleBytes = (word & 0x02) ? 2 : 1;
    frameBytes_ = sampleBytes * format_.channels;
    bufferBytes_ = BufferBytesFor(format_.rate, frameBytes_);
    try {
        block_.assign(static_cast<size_t>(bufferCount_) * bufferBytes_, sampleBytes == 2 ? 0 : 128);
    } catch (const std::bad_alloc&) {
        return -10;
    }

    backend_ = plat::CreateAudioBackend();
    bool opened = false;
    if (backend_) {
        plat::AudioFormat af{format_.rate, format_.channels, sampleBytes * 8};
        const u32 devices = backend_->DeviceCount();
        for (u32 i = 0; i < devices && !opened; ++i) opened = backend_->Open(i, af, [this] { BufferDone(); });
    }
    if (!opened) {
        backend_.reset();
        std::vector<u8>().swap(block_);
        return -1;
    }

    {
        std::lock_guard lock(stateMutex_);
        returned_ = 0;
        refills_ = 0;
        parked_ = true;
        stop_ = false;
    }
    try {
        thread_ = std::thread(&SoundDevice::ThreadProc, this);
    } catch (const std::system_error&) {
        backend_->Close();
        backend_.reset();
        std::vector<u8>().swap(block_);
        return -4;
    }

    // Everything is queued while the output is paused; Resume starts the sound.
    backend_->Pause();
    next_ = 0;
    for (u32 i = 0; i < bufferCount_; ++i)
        backend_->Queue(block_.data() + static_cast<size_t>(i) * bufferBytes_, bufferBytes_);
    paused_ = true;
    open_ = true;
    return 0;
}

void SoundDevice::BufferDone() {
    {
        std::lock_guard lock(stateMutex_);
        // A semaphore with a maximum: releases beyond it are lost, as they would be on the handheld.
        if (returned_ < bufferCount_ + 1) ++returned_;
    }
    stateChanged_.notify_all();
}

void SoundDevice::ThreadProc() {
    std::unique_lock state(stateMutex_);
    for (;;) {
        stateChanged_.wait(state, [&] { return stop_ || (!parked_ && returned_ > 0); });
        if (stop_) return;
        --returned_;
        state.unlock();
        {
            std::lock_guard device(lock_);
            u8* buffer = block_.data() + static_cast<size_t>(next_) * bufferBytes_;
            callback_(user_, buffer, bufferBytes_);
            backend_->Queue(buffer, bufferBytes_);
            next_ = (next_ + 1) % bufferCount_;
        }
        state.lock();
        ++refills_;
        stateChanged_.notify_all();
    }
}

i32 SoundDevice::Close() {
    if (!open_) return -3;
    {
        // A paused thread is woken too, so closing never waits on a parked thread.
        std::lock_guard device(lock_);
        std::lock_guard state(stateMutex_);
        stop_ = true;
    }
    stateChanged_.notify_all();
    if (thread_.joinable()) thread_.join();
    backend_->Reset();
    backend_->Close();
    backend_.reset();
    std::vector<u8>().swap(block_);
    open_ = false;
    paused_ = true;
    return 0;
}

bool SoundDevice::WaitForRefills(u64 count, u32 timeoutMs) {
    std::unique_lock state(stateMutex_);
    return stateChanged_.wait_for(state, std::chrono::milliseconds(timeoutMs),
                                  [&] { return refills_ >= count; });
}

void SoundDevice::Lock() {
    if (open_) lock_.lock();
}

void SoundDevice::Unlock() {
    if (open_) lock_.unlock();
}

void SoundDevice::Pause() {
    if (!open_ || paused_) return;
    std::lock_guard device(lock_);
    backend_->Pause();
    {
        std::lock_guard state(stateMutex_);
        parked_ = true;
    }
    paused_ = true;
}

void SoundDevice::Resume() {
    if (!open_ || !paused_) return;
    {
        std::lock_guard device(lock_);
        {
            std::lock_guard state(stateMutex_);
            parked_ = false;
        }
        stateChanged_.notify_all();
        backend_->Resume();
        paused_ = false;
    }
}
