// The automap: the cells of the current map around the player as small map pictures (interface
// pictures 3400 + i), with marks on cell sides, the border of the active surface area and the player's
// arrow. It reads the game view through IMapViewSource.
#pragma once

#include <vector>

#include "core/Types.h"
#include "ui/Widget.h"

class CRecordHolder;

// One cell as the automap draws it: its floor map picture, the map picture of its cell type (0 none),
// the overlay map picture of each side (0 none) and up to two mark pictures per side.
struct CMapSquareView {
    u16 floor = 0;
    u16 type = 0;
    u16 sideOverlay[4] = {};
    const CRecordHolder* sideMarks[4][2] = {};
};

class IMapViewSource {
public:
    virtual ~IMapViewSource() = default;
    // Bit 0 of the current map's flags: the map cannot be mapped.
    virtual bool MappingForbidden() const = 0;
    virtual bool IsSurfaceMap() const = 0;
    // The player's window cell, the position in it (16.16 fractions) and the facing in degrees.
    virtual void GetPlayer(i32& x, i32& y, u32& fractionX, u32& fractionY, u32& facing) const = 0;
    // The map square under a window cell; false where there is none.
    virtual bool GetMapSquare(i32 x, i32 y, CMapSquareView& square) const = 0;
};

class CMapView : public CWidget {
public:
    static constexpr u16 kFirstMapPicture = 3400;
    static constexpr i32 kMarkSize = 10;

    CMapView() : CWidget(kWidgetTakesPen) {}

    // Cell size from the layout mode, half columns and rows from the size, the side mark offsets; the
    // origin becomes the centre cell.
    void Setup();
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    IMapViewSource* source = nullptr;
    i32 cellSize = 10;
    i32 halfColumns = 0, halfRows = 0;
    i32 originX = 0, originY = 0;
    u32 wholeMap = 0;
    i32 markX[4] = {}, markY[4] = {};
    u32 dragging = 0;
    i32 lastPenX = 0, lastPenY = 0;

private:
    struct Mark {
        i32 x, y;
        const CRecordHolder* picture;
    };
    // A picture drawn transparent (or opaque) at (px, py), cut to the drawing area.
    void DrawClipped(const CRecordHolder* picture, i32 px, i32 py, bool transparent) const;
    const CRecordHolder* MapPicture(u16 i) const;

    std::vector<Mark> marks_;
    i32 areaRight_ = 0, areaBottom_ = 0;
};

// The world's overview picture with a pin at the player's world position and the selected 21 x 21
// pixel area; the pen drags it, and a pen down on it goes straight to the owner's OnCommand.
class CWorldGrid : public CWidget {
public:
    static constexpr u16 kPinPicture = 3478;
    static constexpr u16 kAreaPicture = 3479;

    CWorldGrid() : CWidget(kWidgetTakesPen) {}

    // Takes the overview picture, the pin and the area mark; the pin stands at the world position
    // less 2 in each direction; the offsets centre a small picture or bring the pin into view.
    void Setup(const CRecordHolder* world, i32 worldX, i32 worldY);
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    i32 offsetX = 0, offsetY = 0;
    const CRecordHolder* worldPicture = nullptr;
    i32 worldWidth = 0, worldHeight = 0;
    const CRecordHolder* pin = nullptr;
    i32 pinWidth = 0, pinHeight = 0;
    const CRecordHolder* area = nullptr;
    i32 areaWidth = 0, areaHeight = 0;
    u32 dragging = 0;
    i32 lastPenX = 0, lastPenY = 0;
    i32 areaX = -1, areaY = -1;
    i32 playerX = 0, playerY = 0;

private:
    void DrawClipped(const CRecordHolder* picture, i32 px, i32 py, bool transparent) const;
};

// The world map dialog's selection: the grid cell (21 x 21 pixels of the overview) under the grid's
// last pen position. False, with (-1, -1), left of or above the picture or beyond the world's grid.
bool SelectWorldGridCell(const CWorldGrid& grid, u32 gridWidth, u32 gridHeight, i32& column, i32& row);
