// Pictures placed in a cell: the decorations of its wall entries (upright pictures, flat pictures on
// a cell edge, stacks), its two cell objects with their glows, the items of its pile on the ground
// and its centre picture.
#include "view3d/CellEmitters.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// The ten points of an item pile's layout (x, y inside the cell).
constexpr i32 kPileLayout[10][2] = {{512, 512}, {438, 500}, {578, 520}, {496, 438}, {528, 578},
                                    {444, 469}, {469, 570}, {560, 453}, {594, 547}, {475, 531}};

// Whether an upright wall picture at (px, py) is drawn mirrored: those on the viewer's left half of
// the cell are.
bool MirroredByAngle(i32 angle, i32 px, i32 py) {
    if (angle >= kAngle315 || angle < kAngle45) return px < 512;
    if (angle < kAngle135) return py > 512;
    if (angle < kAngle225) return px > 512;
    return py < 512;
}

// Whether the eye sees an edge picture from the far side of its edge (west edge: a view angle below 90
// or above 270 degrees; east edge: between them; north edge: above 180; south edge: below 180).
bool EdgeSeenFromBehind(i32 angle, bool westEast, bool nearEdge) {
    if (westEast)
        return nearEdge ? (angle < (90 << 16) || angle > (270 << 16))
                        : (angle > (90 << 16) && angle < (270 << 16));
    return nearEdge ? angle > (180 << 16) : angle < (180 << 16);
}

struct Packed {
    i32 x, y, height;
};

Packed Unpack(u16 word, i32 across, i32 level) {
    auto part = [](i32 v, i32 full) { return (std::max(v, 1) - 1) * full / 30; };
    return {part(word & 31, across), part((word >> 5) & 31, across), part((word >> 10) & 31, level)};
}

}  // namespace

i32 CViewEmitters::VerticalQuad(i32 x, i32 y, i32 ax, i32 ay, i32 bx, i32 by, i32 low, i32 high, i32 u0,
                                i32 u1, i32 v0, i32 v1) {
    CRenderer3D& r = R();
    const i32 dx = x - r.eyeCellX, dy = y - r.eyeCellY;
    const CMapPoint a = r.TransformCellPoint(dx, dy, ax, 0, ay);
    const CMapPoint b = r.TransformCellPoint(dx, dy, bx, 0, by);
    r.clip.input[0] = {a.x, high, a.y};
    r.clip.input[1] = {b.x, high, b.y};
    r.clip.input[2] = {b.x, low, b.y};
    r.clip.input[3] = {a.x, low, a.y};
    r.clip.uv[0] = {u0, v0};
    r.clip.uv[1] = {u1, v0};
    r.clip.uv[2] = {u1, v1};
    r.clip.uv[3] = {u0, v1};
    return 4;
}

void CViewEmitters::FaceTheEye(i32 n) {
    CRenderer3D& r = R();
    if (n < 3 || r.IsFrontFacing()) return;
    std::reverse(r.clip.screen, r.clip.screen + n);
    std::reverse(r.clip.uv, r.clip.uv + n);
}

void CViewEmitters::FixLastFog(i32 before) {
    CRenderer3D& r = R();
    for (i32 k = std::max(before, 0); k < r.polygonCount; ++k) {
        CPolygon& p = r.polygons[static_cast<size_t>(k)];
        p.flags |= kPolygonFixedFog;
        for (i32 i = 0; i < p.vertexCount; ++i) r.fogPool[static_cast<size_t>(p.firstFog + i)] = 0;
    }
}

void CViewEmitters::ShiftLastDepth(i32 before, i32 maxBy, i32 minBy) {
    CRenderer3D& r = R();
    if (r.polygonCount <= before) return;
    CDrawEntry& e = r.entries[static_cast<size_t>(r.polygonCount - 1)];
    e.maxDepth -= maxBy;
    e.minDepth -= minBy;
}

void CViewEmitters::EmitWallPictures(i32 x, i32 y, i32 part) {
    CRenderer3D& r = R();
    const CCellView& c = Cell(x, y);
    const CCellOverlayView& o = Overlay(x, y);
    const u16 index = part == 0 ? c.lowerWall : o.upperWall;
    if (index == 0) return;
    const CWallCacheEntry& e = V().wallCache[index];
    const i32 base = part == 0 ? r.groundHeight : r.blockTopHeight;
    const u16 light = part == 0 ? c.light : o.upperLight;
    const i32 layer = part == 0 ? 3 : 5;
    const CPictureSplit split = part == 0 ? CPictureSplit::kSplit : CPictureSplit::kUpper;
    const bool fixedFog = (e.words[28] & 0x8000) != 0;
    const i32 angle = WrapAngle(V().viewAngle);
    const i32 level = r.levelHeight;
    const i32 eyeX = V().viewPosX >> 6, eyeY = V().viewPosY >> 6;

    for (i32 slot = 0; slot < 4; ++slot) {
        const u16 position = e.words[slot], front = e.words[4 + slot], sidePicture = e.words[8 + slot];
        const u16 palette = e.words[12 + slot];
        const u16 stack = e.words[28 + slot] & 0x7FFF;
        if (front == 0) continue;
        const Packed at = Unpack(position, 1024, level);
        const i32 height = base + at.height;
        const i32 before = r.polygonCount;
        if (sidePicture == 0) {
            CBillboard b;
            const bool mirrored = MirroredByAngle(angle, at.x, at.y);
            EmitBillboard(x, y, at.x, height, at.y, 512, false, split, front, palette, light, b, mirrored,
                          true);
            if (fixedFog) FixLastFog(before);
            if (stack) {
                const i32 raise = V().pictures ? V().pictures->GetPictureAnchor(front) * level / 240 : 0;
                EmitPictureStack(stack, at.x, height + raise, at.y, x, y, light, layer);
            }
            continue;
        }
        // A flat picture on the edge its x or y names.
        const i32 xv = position & 31, yv = (position >> 5) & 31;
        const bool westEast = xv == 1 || xv == 31;
        if (!westEast && yv != 1 && yv != 31) continue;
        const i32 normalAngle = westEast ? (90 << 16) : 0;
        i32 off = std::abs(angle - normalAngle) % (180 << 16);
        if (off > (90 << 16)) off = (180 << 16) - off;
        const bool sideView = off > kAngle60;
        const bool secondForm = sideView && (position & 0x8000);
        const u16 drawn = sideView ? sidePicture : front;
        i32 w = 0, h = 0;
        if (!PictureSize(drawn, w, h)) continue;
        const i32 anchor = V().pictures ? V().pictures->GetPictureAnchor(drawn) : 0;
        const i32 length = w * 1024 / 336;
        i32 low = stack ? height : height - anchor * level / 240;
        i32 high = stack ? height + h * level / 240 : height + (h - anchor) * level / 240;
        const i32 nudge = part == 0 ? 5 : 6;
        // The plane's coordinate inside the cell and the eye's side of it.
        const i32 plane = westEast ? (xv == 1 ? 0 : 1024) : (yv == 1 ? 0 : 1024);
        const i32 eyeAcross = westEast ? eyeX - x * 1024 : eyeY - y * 1024;
        const i32 toEye = eyeAcross < plane ? -nudge : nudge;
        const i32 centre = westEast ? at.y : at.x;
        i32 n;
        if (!secondForm) {
            const i32 p = plane + toEye;
            // Read from inside the cell: a viewer facing the western or the southern edge has the
            // edge's far end (south, east) on their left, so the picture runs back along it.
            const bool backwards = westEast ? plane == 0 : plane == 1024;
            const i32 u0 = backwards ? w * 16 - 1 : 0, u1 = backwards ? -1 : w * 16;
            if (westEast)
                VerticalQuad(x, y, p, centre - length / 2, p, centre + length / 2, low, high, u0, u1, 0,
                             h * 16);
            else
                VerticalQuad(x, y, centre - length / 2, p, centre + length / 2, p, low, high, u0, u1, 0,
                             h * 16);
            // The side picture in this form is drawn without perspective, the front one with it.
            n = sideView ? r.clip.ClipTexturedQuadLinear() : r.clip.ClipTexturedPolygon(4);
        } else {
            // Perpendicular to the edge at the end of the flat form that faces the eye's side.
            const i32 along =
                centre + ((westEast ? eyeY - y * 1024 : eyeX - x * 1024) < centre ? -length / 2 : length / 2);
            const i32 inward = plane == 0 ? length : 1024 - length;
            high = height + h * level / 240;
            low = height;
            if (westEast)
                VerticalQuad(x, y, plane, along, inward, along, low, high, 0, w * 16, 0, h * 16);
            else
                VerticalQuad(x, y, along, plane, along, inward, low, high, 0, w * 16, 0, h * 16);
            n = r.clip.ClipTexturedPolygon(4);
            // With a stack it shows only while it reaches the screen's centre column from the side the
            // eye sees it from.
            if (stack && n >= 3) {
                i32 lo = r.clip.screen[0].x, hi = lo;
                for (i32 k = 1; k < n; ++k) {
                    lo = std::min(lo, r.clip.screen[k].x);
                    hi = std::max(hi, r.clip.screen[k].x);
                }
                const i32 middle = r.viewWidth16 / 2;
                if (EdgeSeenFromBehind(angle, westEast, plane == 0) ? lo > middle : hi < middle) n = 0;
            }
        }
        FaceTheEye(n);
        EmitFace(n, (sideView && !secondForm) ? 13 : 14, drawn, palette, light, layer, false);
        if (fixedFog) FixLastFog(before);
        if (stack && !sideView) {
            const i32 raise = anchor * level / 240;
            EmitPictureStack(stack, westEast ? plane + toEye : centre, height + raise,
                             westEast ? centre : plane + toEye, x, y, light, layer);
        }
    }

    for (i32 slot = 0; slot < 4; ++slot) {
        const u16 position = e.words[16 + slot], picture = e.words[20 + slot], palette = e.words[24 + slot];
        if (picture == 0 || (position & 0x8000)) continue;
        const Packed at = Unpack(position, 1023, level - 1);
        CBillboard b;
        EmitBillboard(x, y, at.x, base + at.height, at.y, 512, false, split, picture, palette, light, b,
                      MirroredByAngle(angle, at.x, at.y), true);
    }
}

void CViewEmitters::EmitPictureStack(u16 group, i32 px, i32 height, i32 py, i32 x, i32 y, u16 light,
                                     i32 layer) {
    if (group == 0 || group >= V().pictureGroups.size()) return;
    const CPictureGroup& g = V().pictureGroups[group];
    const CPictureSplit split = layer == 5 ? CPictureSplit::kUpper : CPictureSplit::kLower;
    for (u16 id : g.pictures) {
        if (id == 0) continue;
        CBillboard b;
        if (!EmitBillboard(x, y, px, height, py, 512, false, split, id, 0, light, b, false, true)) return;
    }
}

void CViewEmitters::EmitCellObjects(i32 x, i32 y) {
    CRenderer3D& r = R();
    const CCellView& c = Cell(x, y);
    for (u16 index : c.cellObject) {
        if (index == 0 || index >= V().cellObjects.size()) continue;
        const CCellObject& o = V().cellObjects[index];
        if (o.picture == 0) continue;
        const i32 height =
            r.groundHeight + static_cast<i32>((static_cast<i64>(o.heightFraction) * r.levelHeight) >> 16);
        CBillboard b;
        if (!EmitBillboard(x, y, CellPosition(o.x), height, CellPosition(o.y), 512, false,
                           CPictureSplit::kSplit, o.picture, o.palette, c.light, b, (o.flags & 1) != 0, true))
            continue;
        if (o.glowPercent == 0) continue;
        const u8 flags = (o.flags & 2) ? kPolygonSpecial2 : kPolygonSpecial1;
        const u8* special = V().specialPictures[(flags & kPolygonSpecial1) ? 0 : 1];
        if (!special) continue;
        CPictureData s;
        ReadPictureHeader(special, s);
        const i64 scale = static_cast<i64>(o.glowPercent) * b.scale / 100;
        const i32 cx = (b.left + b.right) / 2, cy = (b.bottom + 2 * b.top) / 3;
        const i32 halfW = static_cast<i32>((s.width * scale) >> 7),
                  halfH = static_cast<i32>((s.height * scale) >> 7);
        EmitPictureQuad(cx - halfW, cy - halfH, cx + halfW, cy + halfH, b.depth - 1, 0, s.width * 16, 0,
                        s.height * 16, 0, 0, c.light, CPictureSplit::kSplit, flags);
    }
}

void CViewEmitters::EmitGroundPictures(i32 x, i32 y) {
    CRenderer3D& r = R();
    const CCellView& c = Cell(x, y);
    if (c.pictureGroup == 0 || c.pictureGroup >= V().pictureGroups.size()) return;
    const CPictureGroup& g = V().pictureGroups[c.pictureGroup];
    // The layout, squeezed where the nearest visible ground lies closer than its extent.
    i32 scaleX = 0x10000, scaleY = 0x10000;
    i32 extentX = 156, extentY = 141, nearX = 438, nearY = 438;
    const i32 nearest = r.nearestGroundDistance;
    if (nearest < 156) {
        scaleX = (nearest - 2) * 65536 / 156;
        extentX = nearest - 2;
        nearX = 516 - ((78 * scaleX) >> 16);
    }
    if (nearest < 141) {
        scaleY = (nearest - 2) * 65536 / 141;
        extentY = nearest - 2;
        nearY = 508 - ((70 * scaleY) >> 16);
    }
    // Pulled 156 units towards the eye along the view direction, but never nearer than the nearest
    // visible ground.
    i32 shiftX = 0, shiftY = 0;
    const i32 hc = r.headingClass;
    if (hc < 4) {
        static constexpr i32 kToEye[4][2] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};
        const i32 ex = kToEye[hc][0], ey = kToEye[hc][1];
        const i32 playerX = V().viewPosX >> 16, playerY = V().viewPosY >> 16;
        const i32 cells = std::abs(ex ? x - playerX : y - playerY);
        i32 reference = nearest + 1024 * cells;
        if (cells == 0 && r.eyeOffset > 0) reference += r.eyeOffset;
        const i32 nearEdge = ex ? nearX : nearY, extent = ex ? extentX : extentY;
        const i32 extreme = (ex + ey) > 0 ? nearEdge + extent : 1024 - nearEdge;
        i32 shift = 156;
        if (extreme + 156 > reference) shift = reference - extreme;
        shiftX = ex * shift;
        shiftY = ey * shift;
    } else {
        // Towards the eye is (-sine, cosine) of the heading pair. In the player's own cell the same limit
        // holds along that direction: the layout's corner nearest the eye, measured from the cell's far
        // side, against the nearest visible ground plus the player's offset from the centre.
        const i64 ux = -r.headingS, uy = r.headingC;
        i32 shift = 156;
        if (x == (V().viewPosX >> 16) && y == (V().viewPosY >> 16)) {
            i64 extreme = INT64_MIN;
            for (i32 cx : {nearX, nearX + extentX})
                for (i32 cy : {nearY, nearY + extentY})
                    extreme = std::max(extreme, (((cx - 512) * ux + (cy - 512) * uy) >> 10) + 512);
            const i64 offset =
                ((((V().viewPosX >> 6) & 1023) - 512) * ux + (((V().viewPosY >> 6) & 1023) - 512) * uy) >> 10;
            const i64 reference = nearest + std::max<i64>(0, offset);
            if (extreme + 156 > reference) shift = static_cast<i32>(reference - extreme);
        }
        shiftX = static_cast<i32>((shift * ux) >> 10);
        shiftY = static_cast<i32>((shift * uy) >> 10);
    }
    for (i32 k = 0; k < 10; ++k) {
        const u16 id = g.pictures[k];
        if (id == 0) continue;
        const i32 px = (((kPileLayout[k][0] - 516) * scaleX) >> 16) + 516 + shiftX;
        const i32 py = (((kPileLayout[k][1] - 508) * scaleY) >> 16) + 508 + shiftY;
        CBillboard b;
        EmitBillboard(x, y, px, r.groundHeight, py, 512, false, CPictureSplit::kLower, id, 0, c.light, b,
                      false, true);
    }
}

void CViewEmitters::EmitCellCentrePicture(i32 x, i32 y) {
    CRenderer3D& r = R();
    const CCellView& c = Cell(x, y);
    if (c.centrePicture == 0) return;
    const i32 height =
        r.groundHeight + static_cast<i32>((static_cast<i64>(c.centreHeight) * r.levelHeight) >> 16);
    CBillboard b;
    EmitBillboard(x, y, c.centreX >> 6, height, c.centreY >> 6, 512, false, CPictureSplit::kSplit,
                  c.centrePicture, c.centrePalette, c.light, b);
}
