// The sky, the fog and the ceiling of the current map for the time of day: an underground map takes
// its visibility byte and fog colour with the ceiling's texture; the surface the world's sky for the
// hour.
#include "data/MapSection.h"
#include "view3d/Sky.h"
#include "world/GameScreen.h"

void CGameScreen::UpdateSkyPicture() {
    if (!section || !viewWorld) return;
    if (!section->IsSurface()) {
        u16 ceiling = 0, palette = 0;
        viewWorld->CeilingOf(*section, ceiling, palette);
        ApplyUndergroundSky(viewState, section->bytes[0], section->lightBColour, ceiling, palette);
        movingSky = false;
        return;
    }
    u16 picture = 0, fog = 0;
    i32 percent = 0;
    viewWorld->ChooseSurfaceSky(static_cast<u32>(GetHour()), 0, picture, percent, fog);
    const CViewFog f = SurfaceFog(percent < 0 ? 0 : (percent > 100 ? 100 : percent), ::IsDaytime(static_cast<i32>(clock)));
    viewState.fogStart = f.fogStart * kFogStep;
    viewState.visibleDistance = f.visibleDistance * kFogStep;
    viewState.fogColour = fog;
    viewState.flags |= kViewFlagSky;
    viewState.skyTexture = picture;
    viewState.skyPalette = 0;
    movingSky = true;
}
