// Sky, fog and visibility of the current map as the view record holds them: the game view chooses the
// sky and hands the numbers over; the arithmetic of the fog distances lives here.
#pragma once

#include "core/Types.h"
#include "view3d/ViewRecord.h"

#include <string>

// Fog start and visible distance in whole cells.
struct CViewFog {
    i32 fogStart = 0;
    i32 visibleDistance = 1;
};

// Underground: from the map's visibility byte, fog from v / 100 cells and the view reaching
// max(1, 6 v / 100) cells (0 gives 0 and 1, 255 gives 2 and 15).
CViewFog UndergroundFog(u8 visibility);
// The surface: from the sky's visibility percent p, the view reaches max(1, 7 ((100 - p) / 2 + p) / 100)
// cells and the fog starts at p / 100 cells at night, twice that by day.
CViewFog SurfaceFog(i32 percent, bool daytime);
// Daytime is the hours 6..21 of the clock (minutes). The hour less 6 is compared without sign, so the
// small hours before 6 are night.
bool IsDaytime(i32 clockMinutes);

// What the world gives of a sky record: its fog colour, visibility percent and picture id.
struct CViewSky {
    u16 fogColour = 0;
    i32 visibilityPercent = 0;
    u16 pictureId = 0;
};

// The world's sky records. PrepareSkyPicture finds the named record and makes sure its picture is
// loaded (false when it cannot); LoadSkyPictures gives the values from the game's list of skies.
class CViewSkySource {
public:
    virtual ~CViewSkySource() = default;
    virtual bool PrepareSkyPicture(const std::string& name, CViewSky& sky) = 0;
    virtual CViewSky LoadSkyPictures() = 0;
};

inline constexpr const char* kThunderSky = "bres_sky-thunder";

// An underground map: fog from its visibility byte and fog colour, no sky and no weather, the sky
// picture set's first picture and the sky palette as the ceiling.
void ApplyUndergroundSky(CViewState3D& view, u8 visibility, u16 fogColour, u16 ceilingTexture,
                         u16 ceilingPalette);
// The surface: the thunder sky while thunder is on, else the named sky, else (no name, or a sky that
// cannot be prepared, whose name is then emptied) the game's list; sky and weather on.
void ApplySurfaceSky(CViewState3D& view, CViewSkySource& skies, std::string& skyName, bool thunder,
                     i32 clockMinutes);
