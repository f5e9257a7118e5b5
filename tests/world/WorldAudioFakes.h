// A recording stand-in for the world's sounds and the renderer's particles, and a seeded generator.
#pragma once

#include <string>
#include <vector>

#include "core/Random.h"
#include "platform/Clock.h"
#include "world/Weather.h"
#include "world/WorldAudio.h"

namespace testing_world {

class FakeWorldAudio : public IWorldAudio {
public:
    struct Played {
        std::string name;
        i32 volume;
        bool looped;
        i32 channel;
    };
    bool HasSound(const char* name) override {
        for (const std::string& m : missing)
            if (m == name) return false;
        return true;
    }
    bool HasMusic(const char* name) override { return HasSound(name); }
    i32 PlaySound(const char* name, i32 volume) override { return Play(name, volume, false); }
    i32 PlaySoundLooped(const char* name, i32 volume) override { return Play(name, volume, true); }
    i32 PlayMusic(const char* name) override {
        music.push_back(name);
        for (const std::string& m : missing)
            if (m == name) return kNoChannel;
        return musicChannel;
    }
    void StopChannel(i32 channel) override { stopped.push_back(channel); }
    void PauseChannel(i32 channel, bool paused) override { pauses.push_back({channel, paused}); }

    i32 Play(const char* name, i32 volume, bool looped) {
        played.push_back({name, volume, looped, nextChannel});
        return nextChannel++;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const Played& p : played) names.push_back(p.name);
        return names;
    }

    std::vector<std::string> missing;  // names the world lacks
    std::vector<Played> played;
    std::vector<std::string> music;
    std::vector<i32> stopped;
    std::vector<std::pair<i32, bool>> pauses;
    i32 nextChannel = 10;
    i32 musicChannel = 1;
};

class FakeParticles : public IWeatherParticles {
public:
    void StartWeatherParticles(i32 count, const CWeatherParameters& p) override {
        ++starts;
        last = p;
        lastCount = count;
    }
    void ChangeWeatherParticles(i32 count, const CWeatherParameters& p) override {
        ++changes;
        last = p;
        lastCount = count;
    }
    int starts = 0, changes = 0;
    i32 lastCount = -1;
    CWeatherParameters last;
};

// A generator seeded from a fixed time, so that its draws are the same on every run.
inline void SeedRandom(CRandom& random, i64 seed) {
    plat::ManualClock clock;
    clock.SetTime(seed);
    plat::ScopedClock scoped(clock);
    random.Seed(nullptr);
}

}  // namespace testing_world
