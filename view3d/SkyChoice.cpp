#include "view3d/Sky.h"

#include <algorithm>

CViewFog UndergroundFog(u8 visibility) {
    CViewFog f;
    f.fogStart = visibility / 100;
    f.visibleDistance = std::max(1, (visibility * 6) / 100);
    return f;
}

CViewFog SurfaceFog(i32 percent, bool daytime) {
    CViewFog f;
    f.fogStart = ((daytime ? 2 : 1) * percent) / 100;
    f.visibleDistance = std::max(1, ((((100 - percent) / 2) + percent) * 7) / 100);
    return f;
}

bool IsDaytime(i32 clockMinutes) {
    i32 minutes = clockMinutes % 1440;
    if (minutes < 0) minutes += 1440;
    return static_cast<u32>(minutes / 60 - 6) < 16;
}

namespace {

void StoreFog(CViewState3D& view, const CViewFog& fog, u16 colour) {
    view.fogStart = fog.fogStart * kFogStep;
    view.visibleDistance = fog.visibleDistance * kFogStep;
    view.fogColour = colour;
}

}  // namespace

void ApplyUndergroundSky(CViewState3D& view, u8 visibility, u16 fogColour, u16 ceilingTexture,
                         u16 ceilingPalette) {
    StoreFog(view, UndergroundFog(visibility), fogColour);
    view.flags &= static_cast<u16>(~(kViewFlagSky | kViewFlagWeather));
    view.skyTexture = ceilingTexture;
    view.skyPalette = ceilingPalette;
}

void ApplySurfaceSky(CViewState3D& view, CViewSkySource& skies, std::string& skyName, bool thunder,
                     i32 clockMinutes) {
    CViewSky sky;
    const std::string name = thunder ? std::string(kThunderSky) : skyName;
    if (name.empty()) {
        sky = skies.LoadSkyPictures();
    } else if (!skies.PrepareSkyPicture(name, sky)) {
        skyName.clear();
        sky = skies.LoadSkyPictures();
    }
    // A percent outside 0..100 would give negative or too long distances.
    const i32 percent = std::clamp(sky.visibilityPercent, 0, 100);
    StoreFog(view, SurfaceFog(percent, IsDaytime(clockMinutes)), sky.fogColour);
    view.flags |= kViewFlagSky | kViewFlagWeather;
    view.skyTexture = sky.pictureId;
    view.skyPalette = 0;
}
