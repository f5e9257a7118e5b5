#include "world/Weather.h"

#include <algorithm>

#include "data/MapSection.h"
#include "display/FontSet.h"
#include "platform/Clock.h"

namespace {

constexpr i32 kFixed = 0x10000;
constexpr const char* kRain = "bsnd_rain";
constexpr const char* kRainHeavy = "bsnd_rainheavy";

bool IsNightAt(u32 clockMinutes) { return clockMinutes % 1440 / 60 - 6 > 15; }

}  // namespace

CWeatherParameters WeatherParticleParameters(const CMapSection* section, u32 clockMinutes) {
    const bool night = IsNightAt(clockMinutes);
    CWeatherParameters p;
    if (section)
        p.colour = night ? section->colourD : section->colourC;
    else
        p.colour = night ? PackRGB565(105, 105, 105) : PackRGB565(165, 165, 165);
    // The particles' numbers in the renderer's order, in whole units: slant, streak length bounds,
    // speed bounds; the value it keeps for the caller is the flake flag.
    struct Numbers {
        i32 angle, a, b, d, e;
    };
    static constexpr Numbers kSnow = {5, 2, 50, 3, 100}, kRain = {10, 8, 400, 20, 600};
    const bool snow = section && (section->flags & CWeather::kSnowyMap);
    const Numbers& n = snow ? kSnow : kRain;
    p.angle = n.angle * kFixed;
    p.value = snow ? 1 : 0;
    p.a = n.a * kFixed;
    p.b = n.b * kFixed;
    p.d = n.d * kFixed;
    p.e = n.e * kFixed;
    return p;
}

void CWeather::Clear() {
    intensity = target = direction = 0;
    timer = kClearTimer;
    flashOn = delayedThunder = false;
    // A loop that is only forgotten would play on for ever.
    StopRainSound();
    rainHeavy = false;
}

void CWeather::DrawTarget(i32 low) {
    target = std::clamp(intensity + static_cast<i32>(random_.Next(200)) - 100, low, 999);
    timer = static_cast<i32>(random_.Next(300)) + 300;
    direction = intensity < target ? 1 : -1;
}

void CWeather::Update(bool fresh, const CMapSection* section, u32 clockMinutes) {
    if (fresh) {
        value = section && section->byteE != 255 ? section->byteE : static_cast<i32>(random_.Next(100));
        if (value < 71) {
            intensity = target = direction = 0;
            timer = kClearTimer;
        } else {
            intensity = std::clamp((value - 60) * 25, 0, 999);
            DrawTarget(0);
        }
        UpdateParticles(false, section, clockMinutes);
        return;
    }
    if (timer == 0) {
        // The intensity moves towards its target and a new target is drawn once it is there. A target
        // drawn equal to the intensity is reached at once, so the intensity never drifts away from
        // 0..999 in the stored direction.
        if (intensity != target) intensity += target > intensity ? 1 : -1;
        if (intensity == target) DrawTarget(300);
    } else {
        --timer;
    }
    const bool surface = section && section->IsSurface();
    if (!surface) {
        if (flashOn) EndFlash();
    } else if (!(section->flags & kSnowyMap) && intensity >= kHeavy) {
        const i64 now = plat::Time();
        if ((!flashedOnce || now - flashTime > kFlashSpacing) && random_.Next(100) > 80) {
            flashOn = true;
            flashedOnce = true;
            delayedThunder = random_.Next(100) >= 51;
            if (!delayedThunder) audio_.PlaySound("bsnd_thunderclose", 10);
            flashTime = now;
            if (host_) host_->ReloadSky();
        }
    }
    UpdateParticles(false, section, clockMinutes);
}

void CWeather::SetIntensity(i32 v, const CMapSection* section, u32 clockMinutes) {
    intensity = target = std::clamp(v, 0, 999);
    direction = 0;
    if (intensity == 0) timer = kClearTimer;
    UpdateRainSound(section);
    UpdateParticles(false, section, clockMinutes);
}

void CWeather::EndFlash() {
    flashOn = false;
    delayedThunder = false;
    if (host_) host_->ReloadSky();
}

void CWeather::Tick() {
    if (!flashOn || plat::Time() <= flashTime) return;
    if (delayedThunder) audio_.PlaySound("bsnd_thunderfar", 10);
    EndFlash();
}

void CWeather::UpdateRainSound(const CMapSection* section) {
    const bool rain =
        section && section->IsSurface() && intensity != 0 && !(section->flags & kSnowyMap);
    const bool heavy = intensity >= kHeavy;
    if (rainChannel != kNoChannel && (!rain || heavy != rainHeavy)) StopRainSound();
    if (rain && rainChannel == kNoChannel) {
        rainChannel = audio_.PlaySoundLooped(heavy ? kRainHeavy : kRain, 10);
        rainHeavy = heavy;
    }
}

void CWeather::StopRainSound() {
    if (rainChannel != kNoChannel) audio_.StopChannel(rainChannel);
    rainChannel = kNoChannel;
}

void CWeather::UpdateParticles(bool reset, const CMapSection* section, u32 clockMinutes) {
    if (!particles_) return;
    const CWeatherParameters p = WeatherParticleParameters(section, clockMinutes);
    const i32 count = std::clamp(intensity, 0, kMaxWeatherParticles);
    if (reset)
        particles_->StartWeatherParticles(count, p);
    else
        particles_->ChangeWeatherParticles(count, p);
}
