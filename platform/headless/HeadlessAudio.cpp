#include "platform/headless/HeadlessAudio.h"

namespace plat {

namespace {
class SharedHeadlessAudio final : public AudioBackend {
public:
    explicit SharedHeadlessAudio(HeadlessAudio& shared) : shared_(shared) {}
    uint32_t DeviceCount() override { return shared_.DeviceCount(); }
    bool Open(uint32_t index, const AudioFormat& format, DoneFn done) override {
        return shared_.Open(index, format, std::move(done));
    }
    void Pause() override { shared_.Pause(); }
    void Resume() override { shared_.Resume(); }
    void Queue(const uint8_t* data, size_t bytes) override { shared_.Queue(data, bytes); }
    void Reset() override { shared_.Reset(); }
    void Close() override { shared_.Close(); }

private:
    HeadlessAudio& shared_;
};
}  // namespace

AudioBackendFactory HeadlessAudio::SharedFactory(HeadlessAudio& shared) {
    return [&shared] { return std::make_unique<SharedHeadlessAudio>(shared); };
}

bool HeadlessAudio::Open(uint32_t index, const AudioFormat& format, DoneFn done) {
    std::lock_guard lock(mutex_);
    if (open_ || index >= deviceCount_ || index < refuseBelow_) return false;
    format_ = format;
    done_ = std::move(done);
    opened_ = index;
    open_ = true;
    paused_ = true;
    queue_.clear();
    return true;
}

void HeadlessAudio::Pause() {
    std::lock_guard lock(mutex_);
    paused_ = true;
}

void HeadlessAudio::Resume() {
    std::lock_guard lock(mutex_);
    paused_ = false;
}

void HeadlessAudio::Queue(const uint8_t* data, size_t bytes) {
    {
        std::lock_guard lock(mutex_);
        if (!open_) return;
        queue_.push_back({data, bytes});
    }
    queuedChanged_.notify_all();
}

void HeadlessAudio::Reset() {
    std::lock_guard lock(mutex_);
    queue_.clear();
}

void HeadlessAudio::Close() {
    std::lock_guard lock(mutex_);
    queue_.clear();
    open_ = false;
    done_ = nullptr;
}

size_t HeadlessAudio::Advance(size_t count) {
    size_t played = 0;
    for (; played < count; ++played) {
        DoneFn done;
        {
            std::lock_guard lock(mutex_);
            if (!open_ || paused_ || queue_.empty()) break;
            const Pending p = queue_.front();
            queue_.pop_front();
            played_.insert(played_.end(), p.data, p.data + p.bytes);
            done = done_;
        }
        if (done) done();
    }
    return played;
}

bool HeadlessAudio::WaitForQueued(size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return queuedChanged_.wait_for(lock, timeout, [&] { return queue_.size() >= count; });
}

size_t HeadlessAudio::QueuedCount() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

std::vector<size_t> HeadlessAudio::QueuedSizes() const {
    std::lock_guard lock(mutex_);
    std::vector<size_t> sizes;
    for (const Pending& p : queue_) sizes.push_back(p.bytes);
    return sizes;
}

std::vector<uint8_t> HeadlessAudio::Played() const {
    std::lock_guard lock(mutex_);
    return played_;
}

bool HeadlessAudio::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

bool HeadlessAudio::IsPaused() const {
    std::lock_guard lock(mutex_);
    return paused_;
}

AudioFormat HeadlessAudio::Format() const {
    std::lock_guard lock(mutex_);
    return format_;
}

uint32_t HeadlessAudio::OpenedDevice() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

}  // namespace plat
