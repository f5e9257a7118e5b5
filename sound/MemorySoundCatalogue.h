// A sound catalogue over data held in memory: WAV images and whole module files by name. It stands
// in for the world's resource catalogue where that is not loaded (tests, tools).
#pragma once

#include "sound/SoundEntry.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CMemorySoundCatalogue : public CSoundCatalogue {
public:
    // The data stays the caller's.
    void AddSound(const std::string& name, const u8* image, size_t size) {
        sounds_[name] = std::make_unique<CSoundEntry>(image, size);
    }
    // False when the file is not a usable module.
    bool AddMusic(const std::string& name, const u8* file, size_t size) {
        auto entry = std::make_unique<MusicFile>();
        if (!SplitModuleImage(file, size, entry->image)) return false;
        music_[name] = std::move(entry);
        return true;
    }
    CSoundEntry* FindSound(std::string_view name) override {
        auto it = sounds_.find(std::string(name));
        return it == sounds_.end() ? nullptr : it->second.get();
    }
    CMusicEntry* FindMusic(std::string_view name) override {
        auto it = music_.find(std::string(name));
        return it == music_.end() ? nullptr : it->second.get();
    }

private:
    struct MusicFile : CMusicEntry {
        ModuleImage image;
        bool LoadMusic(CMusicSource& out) override {
            out.header = image.header;
            out.patterns = image.patterns;
            out.samples = image.samples;
            out.samples2 = image.samples2;
            return true;
        }
    };
    std::map<std::string, std::unique_ptr<CSoundEntry>> sounds_;
    std::map<std::string, std::unique_ptr<MusicFile>> music_;
};
