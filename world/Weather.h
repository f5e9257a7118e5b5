// The weather of the game view: an intensity 0..999 (0 clear) that drifts by one step a few hundred
// game minutes apart towards a random target, lightning and thunder on stormy surface maps, the rain
// loop, and the numbers the renderer's rain or snow particles are given. Maps with flag 0x800 are
// snowy: flakes instead of rain, no lightning and no rain sound.
#pragma once

#include "core/Random.h"
#include "core/Types.h"
#include "view3d/Renderer3D.h"
#include "world/WorldAudio.h"

class CMapSection;

// What the weather asks of the game view.
class IWeatherHost {
public:
    virtual ~IWeatherHost() = default;
    // Loads the sky picture for the current light and weather (the lightning variant while a flash is on).
    virtual void ReloadSky() = 0;
};

// The renderer's particle set; CRendererParticles passes the calls on to the 3D view.
class IWeatherParticles {
public:
    virtual ~IWeatherParticles() = default;
    virtual void StartWeatherParticles(i32 count, const CWeatherParameters& parameters) = 0;
    virtual void ChangeWeatherParticles(i32 count, const CWeatherParameters& parameters) = 0;
};

class CRendererParticles : public IWeatherParticles {
public:
    explicit CRendererParticles(CRenderer3D& renderer) : renderer_(renderer) {}
    void StartWeatherParticles(i32 count, const CWeatherParameters& p) override {
        renderer_.StartWeatherParticles(count, p);
    }
    void ChangeWeatherParticles(i32 count, const CWeatherParameters& p) override {
        renderer_.ChangeWeatherParticles(count, p);
    }

private:
    CRenderer3D& renderer_;
};

// The particles' numbers for a map at a time of day: colour by day or night (the map's own colours,
// grey without a map), snow flakes on snowy maps, else rain. `count` is the number of particles.
CWeatherParameters WeatherParticleParameters(const CMapSection* section, u32 clockMinutes);

// The time the particles move by after a drawn frame, in 16.16 seconds, from the milliseconds since
// they last moved; a pause of more than 200 ms (a dialog, a slow frame) counts as 50 ms.
inline i32 ParticleElapsed(u32 ms) {
    if (ms > 200) ms = 50;
    return static_cast<i32>(((ms / 1000) << 16) + ((ms % 1000) << 16) / 1000);
}

class CWeather {
public:
    static constexpr u16 kSnowyMap = 0x0800;
    static constexpr i32 kClearTimer = 0xFFFF;
    static constexpr i32 kHeavy = 500;       // heavy rain and lightning from this intensity on
    static constexpr i64 kFlashSpacing = 10;  // wall-clock seconds between two flashes, at least

    CWeather(CRandom& random, IWorldAudio& audio) : random_(random), audio_(audio) {}
    void SetHost(IWeatherHost* host) { host_ = host; }
    void SetParticles(IWeatherParticles* particles) { particles_ = particles; }

    // Clear weather, the rain loop stopped (a new map is entered, a game reset).
    void Clear();
    // `fresh`: a new weather from the map's weather byte (255: random); else one game minute of drift
    // with its chance of lightning. The map is the player's current section (null: none).
    void Update(bool fresh, const CMapSection* section, u32 clockMinutes);
    // A script's rain, clamped to 0..999: the weather holds there (0 is clear weather) until it
    // drifts on; the rain loop and the particles follow at once.
    void SetIntensity(i32 value, const CMapSection* section, u32 clockMinutes);
    // From the game view's tick: a flash whose time has passed ends, with its far thunder when it was
    // put off.
    void Tick();
    // Starts, swaps or stops the looped rain sound for the map.
    void UpdateRainSound(const CMapSection* section);
    void StopRainSound();
    // Gives the renderer's particles their colour and numbers; `reset` spawns them afresh.
    void UpdateParticles(bool reset, const CMapSection* section, u32 clockMinutes);

    bool IsFlashOn() const { return flashOn; }
    i32 Intensity() const { return intensity; }

    // The state, open to the game view's saved state and to tests.
    i32 intensity = 0;
    i32 target = 0;
    i32 timer = kClearTimer;
    i32 direction = 0;
    i32 value = 0;  // the last weather value drawn, 0..99, or the map's
    bool flashOn = false;
    bool delayedThunder = false;
    i64 flashTime = 0;      // wall-clock seconds of the last flash
    bool flashedOnce = false;  // no flash yet: the spacing does not apply
    i32 rainChannel = kNoChannel;
    bool rainHeavy = false;

private:
    void DrawTarget(i32 low);
    void EndFlash();

    CRandom& random_;
    IWorldAudio& audio_;
    IWeatherHost* host_ = nullptr;
    IWeatherParticles* particles_ = nullptr;
};
