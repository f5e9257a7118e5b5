// The sky, the fog and the ceiling of the current map for the time of day and the weather.
#include "data/WorldLists.h"
#include "view3d/ViewRecord.h"
#include "world/GameScreen.h"

void CGameScreen::UpdateSkyPicture() {
    if (!section || !skySource || !host_ || !host_->GetWorldLists()) return;
    ::UpdateSkyPicture(viewState, *skySource, skyName, section, host_->GetWorldLists()->pictureSets,
                       gameClock.minutes, weather, sheltered);
    movingSky = skySource->movingSky;
    // The sky's picture may have been read again into the same place (a lightning flash ends).
    renderer.ForgetKeptFrame();
}

void CGameScreen::UpdateShelter() {
    sheltered = window.IsSheltered();
    // The sky keeps its weather flag on the surface; under cover no rain or snow is drawn.
    if (!section || !section->IsSurface()) return;
    if (sheltered)
        viewState.flags &= static_cast<u16>(~kViewFlagWeather);
    else if (viewState.flags & kViewFlagSky)
        viewState.flags |= kViewFlagWeather;
}
