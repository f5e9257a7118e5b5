#include "sound/SoundEntry.h"

#include "sound/SampleData.h"

CSoundEntry::CSoundEntry() = default;

CSoundEntry::CSoundEntry(const u8* image, size_t size) : image_(image), size_(size) {}

CSoundEntry::~CSoundEntry() = default;

void CSoundEntry::SetImage(const u8* image, size_t size) {
    DeleteVoices();
    image_ = image;
    size_ = size;
}

SampleData* CSoundEntry::Voice(u32 level) const { return level < kLevels ? voices_[level].get() : nullptr; }

SampleData* CSoundEntry::CreateVoice(u32 level) {
    if (level >= kLevels) return nullptr;
    voices_[level].reset();
    auto voice = std::make_unique<SampleData>();
    const std::span<const u8> image = WavImage();
    if (voice->ParseWav(image.data(), image.size()) != 0) return nullptr;
    voices_[level] = std::move(voice);
    return voices_[level].get();
}

void CSoundEntry::DeleteVoices() {
    for (auto& v : voices_) v.reset();
}
