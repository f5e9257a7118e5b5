// The automap's view of the cell window: explored cells only, each shown by the map pictures of its
// ground, its centre object (walls and doors) and the player's place.
#pragma once

#include "ui/MapView.h"
#include "world/CellWindow.h"

class CAutomapSource : public IMapViewSource {
public:
    // Map pictures of the builder's set.
    static constexpr u16 kStoneFloor = 1, kWater = 5, kGrass = 3, kWall = 32, kDoor = 43, kClosedDoor = 44;

    CAutomapSource(const CCellWindow& window, const ICellObjects& objects)
        : window_(window), objects_(objects) {}

    bool MappingForbidden() const override;
    bool IsSurfaceMap() const override { return window_.IsSurface(); }
    void GetPlayer(i32& x, i32& y, u32& fractionX, u32& fractionY, u32& facing) const override;
    bool GetMapSquare(i32 x, i32 y, CMapSquareView& square) const override;

    i32 playerX = 17, playerY = 17;
    u32 fractionX = 0x8000, fractionY = 0x8000, facing = 0;

private:
    const CCellWindow& window_;
    const ICellObjects& objects_;
};
