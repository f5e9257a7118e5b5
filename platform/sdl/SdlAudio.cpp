#include "platform/sdl/SdlAudio.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace plat {

namespace {

class SdlAudio final : public AudioBackend {
public:
    ~SdlAudio() override { Close(); }

    uint32_t DeviceCount() override {
        if (!EnsureInit()) return 0;
        // Index 0 is the system's default output; the named devices follow.
        const int named = SDL_GetNumAudioDevices(0);
        return 1 + static_cast<uint32_t>(named > 0 ? named : 0);
    }

    bool Open(uint32_t index, const AudioFormat& format, DoneFn done) override {
        if (device_ != 0 || !EnsureInit()) return false;
        std::string name;
        if (index > 0) {
            const char* n = SDL_GetAudioDeviceName(static_cast<int>(index - 1), 0);
            if (n == nullptr) return false;
            name = n;
        }
        SDL_AudioSpec want{};
        want.freq = static_cast<int>(format.rate);
        want.format = format.bitsPerSample == 16 ? AUDIO_S16LSB : AUDIO_U8;
        want.channels = static_cast<Uint8>(format.channels);
        want.samples = 1024;
        want.callback = &SdlAudio::Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        {
            std::lock_guard lock(queueMutex_);
            done_ = std::move(done);
            queue_.clear();
            silence_ = format.bitsPerSample == 16 ? 0 : 128;
        }
        device_ = SDL_OpenAudioDevice(index > 0 ? name.c_str() : nullptr, 0, &want, &have, 0);
        if (device_ == 0) {
            std::lock_guard lock(queueMutex_);
            done_ = nullptr;
            return false;
        }
        return true;  // SDL opens devices paused
    }

    void Pause() override {
        if (device_ != 0) SDL_PauseAudioDevice(device_, 1);
    }
    void Resume() override {
        if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
    }

    void Queue(const uint8_t* data, size_t bytes) override {
        std::lock_guard lock(queueMutex_);
        queue_.push_back({data, bytes, 0});
    }

    void Reset() override {
        // Holding SDL's device lock waits out a callback that is running now.
        if (device_ != 0) SDL_LockAudioDevice(device_);
        {
            std::lock_guard lock(queueMutex_);
            queue_.clear();
            done_ = nullptr;
        }
        if (device_ != 0) SDL_UnlockAudioDevice(device_);
    }

    void Close() override {
        if (device_ != 0) {
            Reset();
            SDL_CloseAudioDevice(device_);
            device_ = 0;
        }
        if (inited_) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            inited_ = false;
        }
    }

private:
    struct Pending {
        const uint8_t* data;
        size_t bytes;
        size_t offset;
    };

    bool EnsureInit() {
        if (!inited_) inited_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        return inited_;
    }

    static void SDLCALL Callback(void* user, Uint8* stream, int len) {
        static_cast<SdlAudio*>(user)->Fill(stream, static_cast<size_t>(len));
    }

    void Fill(uint8_t* out, size_t len) {
        size_t finished = 0;
        DoneFn done;
        {
            std::lock_guard lock(queueMutex_);
            while (len > 0 && !queue_.empty()) {
                Pending& p = queue_.front();
                const size_t n = std::min(len, p.bytes - p.offset);
                std::memcpy(out, p.data + p.offset, n);
                out += n;
                len -= n;
                p.offset += n;
                if (p.offset == p.bytes) {
                    queue_.pop_front();
                    ++finished;
                }
            }
            done = done_;
        }
        // An underrun plays silence and carries on.
        if (len > 0) std::memset(out, silence_, len);
        if (done)
            for (size_t i = 0; i < finished; ++i) done();
    }

    SDL_AudioDeviceID device_ = 0;
    bool inited_ = false;
    std::mutex queueMutex_;
    std::deque<Pending> queue_;
    DoneFn done_;
    uint8_t silence_ = 0;
};

}  // namespace

std::unique_ptr<AudioBackend> CreateSdlAudio() { return std::make_unique<SdlAudio>(); }

void InstallSdlAudio() { SetAudioBackendFactory(&CreateSdlAudio); }

}  // namespace plat
