#include "platform/Audio.h"

#include <mutex>

namespace plat {

namespace {
std::mutex g_factoryMutex;
AudioBackendFactory& Factory() {
    static AudioBackendFactory factory;
    return factory;
}
}  // namespace

std::unique_ptr<AudioBackend> CreateAudioBackend() {
    AudioBackendFactory factory;
    {
        std::lock_guard lock(g_factoryMutex);
        factory = Factory();
    }
    return factory ? factory() : nullptr;
}

void SetAudioBackendFactory(AudioBackendFactory factory) {
    std::lock_guard lock(g_factoryMutex);
    Factory() = std::move(factory);
}

ScopedAudioBackend::ScopedAudioBackend(AudioBackendFactory factory) {
    std::lock_guard lock(g_factoryMutex);
    previous_ = std::move(Factory());
    Factory() = std::move(factory);
}

ScopedAudioBackend::~ScopedAudioBackend() {
    std::lock_guard lock(g_factoryMutex);
    Factory() = std::move(previous_);
}

}  // namespace plat
