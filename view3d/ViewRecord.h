// The view record as the 3D view reads it: the display's part (frame buffer, view rectangle, flags)
// and the 3D part that the main game view keeps up to date before every frame: position and angles,
// fog, the sky, the per-cell view records of the 35 x 35 cell window and the caches they index.
#pragma once

#include "core/Types.h"
#include "view3d/ViewCaches.h"
#include "display/ViewState.h"
#include "view3d/ViewWorld.h"

#include <array>
#include <vector>

struct CPictureData;

// Flag bits of the view record.
inline constexpr u16 kViewFlagSky = 0x0001;           // a surface map: the sky panorama, no ceiling
inline constexpr u16 kViewFlagDrawn = 0x0002;         // a frame has been drawn
inline constexpr u16 kViewFlagWeather = 0x0004;       // weather particles on
inline constexpr u16 kViewFlagWeatherUnder = 0x0008;  // the last tenth of the particles not over the overlays

// Fog distances are whole cells in steps of 336 units.
inline constexpr i32 kFogStep = 336;

struct CViewState3D : CViewState {
    std::vector<CCellView> cellViews = std::vector<CCellView>(kWindowCellCount);
    std::vector<CCellOverlayView> overlayViews = std::vector<CCellOverlayView>(kWindowCellCount);
    // The picture, palette and anchor tables; the world's texture set implements them.
    const CViewPictureSource* pictures = nullptr;
    CGroundCache groundCache;
    CBlockCache blockCache;
    CWallCache wallCache;
    std::vector<CPictureGroup> pictureGroups = std::vector<CPictureGroup>(256);
    std::vector<CCellObject> cellObjects = std::vector<CCellObject>(256);

    u16 skyTexture = 0;
    u16 skyPalette = 0;
    // The player's position: 1024 units per cell with 6 more fraction bits.
    i32 viewPosX = 0;
    i32 viewPosY = 0;
    i32 viewAngle = 0;  // 16.16 degrees
    i32 skyAngle = 0;   // 16.16 degrees
    u16 mapWidth = 0;
    u16 mapHeight = 0;
    i32 fogStart = 0;         // fog steps of 336
    i32 visibleDistance = 0;  // fog steps of 336
    u16 fogColour = 0;
    // The pictures that type-11 polygons with flag bit 2 or 3 use.
    const u8* specialPictures[2] = {nullptr, nullptr};

    // The overlay pictures over the view's lower corners: A from the left, B from the right; how much of
    // each shows in percent (clamped to 0..100); with `overlayFollow` A is placed relative to B.
    u16 overlayA = 0, overlayAPalette = 0, overlayAHeight = 0, overlayAWidth = 0;
    u8 overlayAMirrored = 0;
    u16 overlayB = 0, overlayBPalette = 0, overlayBHeight = 0, overlayBWidth = 0;
    u8 overlayFollow = 0;
    u16 overlayARow = 0, overlayAColumn = 0;

    CCellView* CellView(i32 x, i32 y) {
        return x >= 0 && y >= 0 && x < kWindowCells && y < kWindowCells
                   ? &cellViews[static_cast<size_t>(y * kWindowCells + x)]
                   : nullptr;
    }
};
