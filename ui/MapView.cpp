#include "ui/MapView.h"

#include <algorithm>

#include "data/RecordHolder.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "ui/Draw.h"
#include "ui/Form.h"
#include "ui/WidgetHost.h"

namespace {

bool IsLargeLayout(u32 mode) { return mode == 9 || mode == 10 || mode == 11 || mode == 14 || mode == 15; }
bool IsSmallLayout(u32 mode) {
    switch (mode) {
    case 2:
    case 5:
    case 6:
    case 7:
    case 8:
    case 12:
    case 13:
    case 16: return true;
    default: return false;
    }
}

// Draws the part of a picture at (px, py) that lies inside (left, top) .. (right, bottom).
void DrawPictureClipped(CVideo* video, const CRecordHolder* picture, i32 px, i32 py, i32 left, i32 top,
                        i32 right, i32 bottom, bool transparent) {
    CPictureData data;
    if (!video || !GetHolderPicture(picture, data)) return;
    const i32 x0 = px < left ? left : px, y0 = py < top ? top : py;
    const i32 x1 = px + data.width > right ? right : px + data.width;
    const i32 y1 = py + data.height > bottom ? bottom : py + data.height;
    if (x1 <= x0 || y1 <= y0) return;
    if (transparent)
        video->DrawPicturePartTransparent(picture, x0, y0, x0 - px, y0 - py, x1 - x0, y1 - y0);
    else
        video->DrawPicturePart(picture, x0, y0, x0 - px, y0 - py, x1 - x0, y1 - y0);
}

i32 PictureWidth(const CRecordHolder* picture) {
    CPictureData data;
    return GetHolderPicture(picture, data) ? data.width : 0;
}
i32 PictureHeight(const CRecordHolder* picture) {
    CPictureData data;
    return GetHolderPicture(picture, data) ? data.height : 0;
}

}  // namespace

void CMapView::Setup() {
    const u32 mode = game ? game->GetLayoutMode() : 15;
    cellSize = IsLargeLayout(mode) ? 16 : (IsSmallLayout(mode) ? 8 : 10);
    halfColumns = (w / cellSize - 1) / 2;
    halfRows = (h / cellSize - 1) / 2;
    const i32 a = (cellSize - 10) / 2;
    const i32 xs[4] = {a, a + cellSize, a, a - cellSize};
    const i32 ys[4] = {a - cellSize, a, a + cellSize, a};
    for (int s = 0; s < 4; ++s) {
        markX[s] = xs[s];
        markY[s] = ys[s];
    }
    originX = x + halfColumns * cellSize;
    originY = y + halfRows * cellSize;
}

u32 CMapView::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    const bool inside = Contains(px, py);
    if (!wholeMap) return inside && !down && !moving ? id : 0;
    if (!inside) {
        dragging = 0;
        return 0;
    }
    if (down && !moving && !dragging) {
        dragging = 1;
    } else if (down && dragging) {
        originX += px - lastPenX;
        originY += py - lastPenY;
        state |= kWidgetRedraw;
    } else if (!down) {
        dragging = 0;
    }
    lastPenX = px;
    lastPenY = py;
    return 0;
}

const CRecordHolder* CMapView::MapPicture(u16 i) const {
    return game ? game->GetInterfacePicture(static_cast<u16>(kFirstMapPicture + i)) : nullptr;
}

void CMapView::DrawClipped(const CRecordHolder* picture, i32 px, i32 py, bool transparent) const {
    DrawPictureClipped(video, picture, px, py, x, y, areaRight_, areaBottom_, transparent);
}

void CMapView::Draw() {
    if (!video) return;
    marks_.clear();
    video->DrawPictureTiled(MapPicture(0), x, y, w, h);
    const u32 mode = game ? game->GetLayoutMode() : 15;
    if (!source || source->MappingForbidden()) {
        if (fonts) {
            fonts->Select(1, 0x151C34, 0x336FAB);
            if (IsSmallLayout(mode))
                fonts->DrawTextBox(x + 2, y + 2, x + w, y + h, "Denied", 0);
            else
                fonts->DrawTextBox(x + 10, y + 10, x + w, y + h, "Denied by strong magic.", 0);
        }
        return;
    }
    const i32 c = cellSize;
    i32 px = 0, py = 0;
    u32 fx = 0, fy = 0, facing = 0;
    source->GetPlayer(px, py, fx, fy, facing);
    const i64 cc = static_cast<i64>(c) * c;
    const i32 sx0 = static_cast<i32>((cc - static_cast<i64>(fx) * c * c / 65536) / c - c / 2);
    const i32 sy0 = static_cast<i32>((cc - static_cast<i64>(fy) * c * c / 65536) / c - c / 2);
    areaRight_ = x + (2 * halfColumns + 1) * c;
    areaBottom_ = y + (2 * halfRows + 1) * c;
    i32 xFrom = 0, xTo = 34, yFrom = 0, yTo = 34;
    if (!wholeMap) {
        xFrom = px - halfColumns - 1;
        xTo = px + halfColumns + 1;
        yFrom = py - halfRows - 1;
        yTo = py + halfRows + 1;
    }
    const bool surface = source->IsSurfaceMap();
    for (i32 cy = yFrom; cy <= yTo; ++cy)
        for (i32 cx = xFrom; cx <= xTo; ++cx) {
            const i32 sx = originX + sx0 - (px - cx) * c;
            const i32 sy = originY + sy0 - (py - cy) * c;
            if (sx >= areaRight_ || sy >= areaBottom_ || sx + c <= x || sy + c <= y) continue;
            CMapSquareView square;
            const bool inside = cx >= 0 && cy >= 0 && cx <= 34 && cy <= 34;
            if (!inside || !source->GetMapSquare(cx, cy, square)) {
                DrawClipped(MapPicture(0), sx, sy, true);
                if (!inside) continue;
            } else {
                DrawClipped(MapPicture(square.floor), sx, sy, false);
                if (square.type) DrawClipped(MapPicture(square.type), sx, sy, true);
                for (int s = 0; s < 4; ++s) {
                    for (const CRecordHolder* mark : square.sideMarks[s])
                        if (mark) marks_.push_back({sx + markX[s], sy + markY[s], mark});
                    if (square.sideOverlay[s]) DrawClipped(MapPicture(square.sideOverlay[s]), sx, sy, true);
                }
                if (surface && cx >= 7 && cx <= 27 && cy >= 7 && cy <= 27) {
                    u16 border = 0;
                    if (cx == 7)
                        border = cy == 7 ? 68 : (cy == 27 ? 66 : 67);
                    else if (cx == 27)
                        border = cy == 7 ? 62 : (cy == 27 ? 64 : 63);
                    else if (cy == 7)
                        border = 61;
                    else if (cy == 27)
                        border = 65;
                    if (border) DrawClipped(MapPicture(border), sx, sy, true);
                }
            }
            // The player's arrow, on the small map too: without it the map does not show where the
            // player stands or looks.
            if (cx == px && cy == py)
                DrawClipped(MapPicture(static_cast<u16>(55 + (facing % 360) / 90)), sx, sy, true);
        }
    // A mark is 10 x 10 pixels, whatever the size of the picture it shows.
    for (const Mark& m : marks_)
        DrawPictureClipped(video, m.picture, m.x, m.y, x, y, std::min(areaRight_, m.x + kMarkSize),
                           std::min(areaBottom_, m.y + kMarkSize), true);
    marks_.clear();
}

void CWorldGrid::Setup(const CRecordHolder* world, i32 worldX, i32 worldY) {
    worldPicture = world;
    worldWidth = PictureWidth(world);
    worldHeight = PictureHeight(world);
    pin = game ? game->GetInterfacePicture(kPinPicture) : nullptr;
    pinWidth = PictureWidth(pin);
    pinHeight = PictureHeight(pin);
    area = game ? game->GetInterfacePicture(kAreaPicture) : nullptr;
    areaWidth = PictureWidth(area);
    areaHeight = PictureHeight(area);
    playerX = worldX - 2;
    playerY = worldY - 2;
    if (w > worldWidth)
        offsetX = (w - worldWidth) / 2;
    else
        offsetX = playerX > w / 2 ? -(w / 2) : 20;
    if (h > worldHeight)
        offsetY = (h - worldHeight) / 2;
    else
        offsetY = playerY > h / 2 ? -(h / 2) : 20;
}

u32 CWorldGrid::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if (!Contains(px, py)) {
        dragging = 0;
        return 0;
    }
    if (!dragging) {
        if (down) {
            lastPenX = px;
            lastPenY = py;
            if (owner) owner->OnCommand(id);
            if (!moving) dragging = 1;
        }
        return 0;
    }
    if (down) {
        offsetX += px - lastPenX;
        offsetY += py - lastPenY;
        lastPenX = px;
        lastPenY = py;
        state |= kWidgetRedraw;
    } else {
        dragging = 0;
    }
    return 0;
}

void CWorldGrid::DrawClipped(const CRecordHolder* picture, i32 px, i32 py, bool transparent) const {
    DrawPictureClipped(video, picture, px, py, x, y, x + w, y + h, transparent);
}

void CWorldGrid::Draw() {
    if (!video) return;
    video->DrawPictureTiled(game ? game->GetInterfacePicture(CMapView::kFirstMapPicture) : nullptr, x, y, w,
                            h);
    DrawClipped(worldPicture, x + offsetX, y + offsetY, false);
    DrawClipped(pin, x + offsetX + playerX - 2, y + offsetY + playerY - pinHeight + 2, true);
    if (areaX >= 0 && areaY >= 0) DrawClipped(area, x + offsetX + 21 * areaX, y + offsetY + 21 * areaY, true);
}

bool SelectWorldGridCell(const CWorldGrid& grid, u32 gridWidth, u32 gridHeight, i32& column, i32& row) {
    column = row = -1;
    const i32 dx = grid.lastPenX - grid.x - grid.offsetX;
    const i32 dy = grid.lastPenY - grid.y - grid.offsetY;
    if (dx < 0 || dy < 0) return false;
    if (static_cast<u32>(dx / 21) >= gridWidth || static_cast<u32>(dy / 21) >= gridHeight) return false;
    column = dx / 21;
    row = dy / 21;
    return true;
}
