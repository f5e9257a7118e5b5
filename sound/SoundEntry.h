// What the sound front-end needs of the game's sounds and music, kept apart from how the game stores
// them: a sound is a WAV image with one voice per volume level, a piece of music yields the parts of a
// tracker module, and a catalogue finds both by name.
#pragma once

#include "core/Types.h"
#include "sound/ModuleData.h"

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string_view>

class SampleData;

// One sound: its WAV image (not owned) and a voice per volume level 0..10, made on first use.
class CSoundEntry {
public:
    static constexpr u32 kLevels = 11;

    CSoundEntry();
    CSoundEntry(const u8* image, size_t size);
    virtual ~CSoundEntry();
    CSoundEntry(const CSoundEntry&) = delete;
    CSoundEntry& operator=(const CSoundEntry&) = delete;

    void SetImage(const u8* image, size_t size);
    // The voice of a level, or null when it has not been made (or the level is outside 0..10).
    SampleData* Voice(u32 level) const;
    // Makes the voice of a level afresh from the image; null when the image is no usable WAV.
    virtual SampleData* CreateVoice(u32 level);
    void DeleteVoices();
    std::span<const u8> Image() const { return WavImage(); }

protected:
    // The WAV image the voices are made from; an entry that loads its data on demand overrides it.
    virtual std::span<const u8> WavImage() const { return {image_, size_}; }

    const u8* image_ = nullptr;
    size_t size_ = 0;
    std::array<std::unique_ptr<SampleData>, kLevels> voices_;
};

// The parts of a loaded piece of music, as ModuleData::Set takes them.
struct CMusicSource {
    const u8* header = nullptr;
    std::span<const ModuleBlock> patterns;
    std::span<const ModuleBlock> samples;
    std::span<const ModuleBlock> samples2;
};

class CMusicEntry {
public:
    virtual ~CMusicEntry() = default;
    // Loads the piece when needed and describes it; false when it cannot be loaded.
    virtual bool LoadMusic(CMusicSource& out) = 0;
};

class CSoundCatalogue {
public:
    virtual ~CSoundCatalogue() = default;
    // Exact, case-sensitive names; null when there is no such entry.
    virtual CSoundEntry* FindSound(std::string_view name) = 0;
    virtual CMusicEntry* FindMusic(std::string_view name) = 0;
};
