// The sky, the fog and the ceiling of the current map for the time of day and the weather.
#include "data/WorldLists.h"
#include "world/GameScreen.h"

void CGameScreen::UpdateSkyPicture() {
    if (!section || !skySource || !host_ || !host_->GetWorldLists()) return;
    ::UpdateSkyPicture(viewState, *skySource, skyName, section, host_->GetWorldLists()->pictureSets,
                       gameClock.minutes, weather, false);
    movingSky = skySource->movingSky;
    // The sky's picture may have been read again into the same place (a lightning flash ends).
    renderer.ForgetKeptFrame();
}
