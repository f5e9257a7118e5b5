// Blocks dressed by their kind (composite pictures, doors, turning pictures and panels, picture groups,
// paired pictures, large pictures), the tall panels of upper blocks and the block models.
#include "view3d/BlockModels.h"
#include "view3d/CellEmitters.h"

#include <algorithm>
#include <cstdlib>

void CViewEmitters::EmitBlockByKind(i32 x, i32 y) {
    const CCellView& c = Cell(x, y);
    if (c.lowerBlock == 0) return;
    const CBlockCacheEntry& b = V().blockCache[c.lowerBlock];
    CRenderer3D& r = R();
    switch (b.kind) {
    case 1:
    case 7: EmitCompositePicture(x, y, b); break;
    case 3: EmitDoorBlock(x, y, b); break;
    case 4: EmitTurningPicture(x, y, b); break;
    case 5: EmitPictureGroupBlock(x, y, b, r.groundHeight); break;
    case 9: EmitPairedPictures(x, y, b); break;
    case 10: EmitTurningPanel(x, y, b); break;
    case 12: {
        CBillboard out;
        const i32 h =
            r.groundHeight + static_cast<i32>((static_cast<i64>(b.heightFraction) * r.levelHeight) >> 16);
        EmitBillboard(x, y, CellPosition(b.x[0]), h, CellPosition(b.y[0]), 1024, false, CPictureSplit::kSplit,
                      b.picture[0], b.palette[0], c.light, out);
        break;
    }
    case 13:
        // Raised pictures may also be sunk: the height is signed, and what lies below the floor is
        // not drawn (a trap's blades wait half a level down and spring up through the floor).
        EmitPictureGroupBlock(
            x, y, b,
            r.groundHeight +
                static_cast<i32>((static_cast<i64>(static_cast<i16>(b.heightFraction)) * r.levelHeight) >> 16));
        break;
    default: break;
    }
}

void CViewEmitters::EmitCompositePicture(i32 x, i32 y, const CBlockCacheEntry& b) {
    CRenderer3D& r = R();
    const CCellView& c = Cell(x, y);
    const u32 kinds = r.CellBlockKinds(x, y);
    const CCellOverlayView& o = Overlay(x, y);
    const bool upperLow = o.upperBlock && V().blockCache[o.upperBlock].kind == 11;
    const CPictureSplit split = (kinds == 2 || upperLow) ? CPictureSplit::kLower : CPictureSplit::kSplit;
    const bool hanging = b.kind == 7;
    const i32 fraction = static_cast<i32>((static_cast<i64>(b.heightFraction) * r.levelHeight) >> 16);
    const i32 height =
        hanging ? (kinds == 2 ? r.blockTopHeight : r.ceilingHeight) : r.groundHeight + fraction;
    CBillboard main;
    if (!EmitBillboard(x, y, CellPosition(b.x[0]), height, CellPosition(b.y[0]), 512, hanging, split,
                       b.picture[0], b.palette[0], c.light, main))
        return;
    // The attached pictures at texel offsets from the main picture's top-left corner, at its scale.
    for (i32 k = 1; k < 6; ++k) {
        i32 w = 0, h = 0;
        if (b.picture[k] == 0 || !PictureSize(b.picture[k], w, h)) continue;
        const i64 s = main.scale;
        const i32 left = main.left + static_cast<i32>((b.x[k] * s) >> 6);
        const i32 right = main.left + static_cast<i32>(((b.x[k] + w) * s) >> 6);
        const i32 top = main.top + static_cast<i32>((b.y[k] * s) >> 6);
        const i32 bottom = main.top + static_cast<i32>(((b.y[k] + h) * s) >> 6);
        EmitPictureQuad(left, top, right, bottom, main.depth, 0, w * 16, 0, h * 16, b.picture[k],
                        b.palette[k], c.light, split);
    }
}

void CViewEmitters::EmitPictureGroupBlock(i32 x, i32 y, const CBlockCacheEntry& b, i32 height) {
    const CCellView& c = Cell(x, y);
    for (i32 k = 0; k < 6; ++k) {
        if (b.picture[k] == 0) continue;
        CBillboard out;
        EmitBillboard(x, y, CellPosition(b.x[k]), height, CellPosition(b.y[k]), 512, false,
                      CPictureSplit::kSplit, b.picture[k], b.palette[k], c.light, out, false, false, 0, true);
    }
}

void CViewEmitters::EmitTurningPicture(i32 x, i32 y, const CBlockCacheEntry& b) {
    CRenderer3D& r = R();
    const CCellView& c = Cell(x, y);
    i32 w = 0, h = 0;
    if (!PictureSize(b.picture[0], w, h)) return;
    const i32 angle = WrapAngle(V().viewAngle);
    const i32 dx = x - (V().viewPosX >> 16), dy = y - (V().viewPosY >> 16);
    // Which copies are mirrored, by the angle's range and the cell's offset from the eye's cell.
    i32 offset;
    u8 pair;
    if (angle >= kAngle315 || angle < kAngle45)
        offset = -dx, pair = 0x9;
    else if (angle < kAngle135)
        offset = dy, pair = 0xC;
    else if (angle < kAngle225)
        offset = dx, pair = 0x6;
    else
        offset = -dy, pair = 0x3;
    u8 mirrored = offset > 0 ? 0xF : (offset < 0 ? 0 : pair);
    // Positions: the angle inside its quadrant moves the copies along their axes.
    const i32 inQuadrant = angle % (90 << 16);
    const i32 half = w * 512 / 336;
    const i32 a = static_cast<i32>((static_cast<i64>(inQuadrant >> 8) * w * 512) / (336LL * (90 << 8)));
    const i32 bb =
        static_cast<i32>((static_cast<i64>(((90 << 16) - inQuadrant) >> 8) * w * 512) / (336LL * (90 << 8)));
    const i32 along[4] = {half + a, 1024 + a - half, 1024 + bb - half, half + bb};
    for (i32 k = 0; k < 4; ++k) {
        // Copies 1 and 2 stand on the west-east axis through the centre, 3 and 4 on the north-south one.
        const i32 px = k < 2 ? along[k] : 512, py = k < 2 ? 512 : along[k];
        CBillboard out;
        EmitBillboard(x, y, px, r.groundHeight, py, 512, false, CPictureSplit::kLower, b.picture[0],
                      b.palette[0], c.light, out, (mirrored >> k) & 1);
    }
}

// The quad of a door frame or tall panel: across the cell at the inset the picture's width gives, on
// the side of the cell nearer the eye.
void CViewEmitters::EmitUprightFrame(i32 x, i32 y, u16 picture, u16 palette, i32 base, bool northSouth,
                                     u16 light, i32 layer, bool splitAtLevel, i32& top, i32& lower,
                                     i32& upper, i32& plane) {
    CRenderer3D& r = R();
    lower = upper = -1;
    i32 w = 0, h = 0;
    if (!PictureSize(picture, w, h)) return;
    const i32 f = r.focalDistance;
    const i32 inset = std::clamp((336 * f) / w - f, 0, 511);
    top = base + static_cast<i32>((static_cast<i64>(h) * 336 * r.levelHeight) / (static_cast<i64>(w) * 240));
    const i32 eye = northSouth ? (V().viewPosX >> 6) - x * 1024 : (V().viewPosY >> 6) - y * 1024;
    plane = eye < 512 ? inset : 1024 - inset;
    auto quad = [&](i32 low, i32 high, i32 v0, i32 v1, i32 l) {
        if (northSouth)
            VerticalQuad(x, y, plane, 0, plane, 1024, low, high, 0, w * 16, v0, v1);
        else
            VerticalQuad(x, y, 0, plane, 1024, plane, low, high, 0, w * 16, v0, v1);
        const i32 n = r.clip.ClipTexturedPolygon(4);
        FaceTheEye(n);
        const i32 before = r.polygonCount;
        EmitFace(n, 14, picture, palette, light, l, false);
        return r.polygonCount > before ? before : -1;
    };
    if (splitAtLevel && top > r.blockTopHeight) {
        const i32 vCut = static_cast<i32>((static_cast<i64>(top - r.blockTopHeight) * h * 16) / (top - base));
        lower = quad(base, r.blockTopHeight, vCut, h * 16, 3);
        upper = quad(r.blockTopHeight, top, 0, vCut, 5);
    } else {
        lower = quad(base, top, 0, h * 16, layer);
    }
}

void CViewEmitters::EmitDoorBlock(i32 x, i32 y, const CBlockCacheEntry& b) {
    CRenderer3D& r = R();
    const CCellView& c = Cell(x, y);
    const i32 mh = V().mapHeight;
    const bool northSouth =
        y > 0 && y + 1 < mh && (r.CellBlockKinds(x, y - 1) & 1) && (r.CellBlockKinds(x, y + 1) & 1);
    i32 top = 0, lower = -1, upper = -1, plane = 0;
    EmitUprightFrame(x, y, b.picture[3], b.palette[3], r.groundHeight, northSouth, c.light, 3, true, top,
                     lower, upper, plane);
    if (lower >= 0) {
        CDrawEntry& e = r.entries[static_cast<size_t>(lower)];
        e.maxDepth -= 4;
        if (upper >= 0) r.entries[static_cast<size_t>(upper)].maxDepth = e.maxDepth;
    }
    i32 fw = 0, fh = 0;
    if (!PictureSize(b.picture[3], fw, fh) || top <= r.groundHeight) return;
    // The decal and the leaf lie on the frame, a hair nearer the eye so they sort in front of it.
    const i32 eye = northSouth ? (V().viewPosX >> 6) - x * 1024 : (V().viewPosY >> 6) - y * 1024;
    const i32 face = plane + (eye < plane ? -2 : 2);
    const i32 frameHeight = top - r.groundHeight;
    auto piece = [&](u16 picture, u16 palette, i32 along0, i32 along1, i32 high, i32 low, i32 u0, i32 u1,
                     i32 v0, i32 v1) {
        if (along1 <= along0 || high <= low) return;
        if (northSouth)
            VerticalQuad(x, y, face, along0, face, along1, low, high, u0, u1, v0, v1);
        else
            VerticalQuad(x, y, along0, face, along1, face, low, high, u0, u1, v0, v1);
        const i32 n = r.clip.ClipTexturedPolygon(4);
        FaceTheEye(n);
        EmitFace(n, 14, picture, palette, c.light, 3, false);
    };
    // A picture at texel offsets (ox, oy) on the frame: 1024 / fw units per texel along, frameHeight /
    // fh down from the frame's top.
    auto place = [&](u16 picture, u16 palette, i32 ox, i32 oy, i32 cutTop, i32 cutBottom, i32 cutLeft,
                     i32 cutRight, i32 shift) {
        i32 w = 0, h = 0;
        if (!PictureSize(picture, w, h)) return;
        const i32 a0 = ox * 1024 / fw + shift, a1 = (ox + w) * 1024 / fw + shift;
        const i32 hi = top - oy * frameHeight / fh, lo = top - (oy + h) * frameHeight / fh;
        // The visible part after the leaf moved: cut in texels from each side.
        const i32 span = a1 - a0, tall = hi - lo;
        piece(picture, palette, a0 + span * cutLeft / std::max(1, w), a1 - span * cutRight / std::max(1, w),
              hi - tall * cutTop / std::max(1, h), lo + tall * cutBottom / std::max(1, h), cutLeft * 16,
              (w - cutRight) * 16, cutTop * 16, (h - cutBottom) * 16);
    };
    if (b.picture[0]) place(b.picture[0], b.palette[0], b.x[0], b.y[0], 0, 0, 0, 0, 0);

    const i32 amount = b.model >> 2, style = b.model & 3;
    if (b.picture[1] == 0 || amount >= 63) return;
    i32 lw = 0, lh = 0;
    if (!PictureSize(b.picture[1], lw, lh)) return;
    const bool twoLeaves = b.picture[2] != 0;
    const i32 lx = b.x[1], ly = b.y[1];
    switch (style) {
    case 0:  // slides upward: the lower edge rises, the texture is cut from below
        place(b.picture[1], b.palette[1], lx, ly, 0, lh * amount / 63, 0, 0, 0);
        break;
    case 1:  // slides downward
        place(b.picture[1], b.palette[1], lx, ly, lh * amount / 63, 0, 0, 0, 0);
        break;
    case 2:
    case 3: {
        i32 move = lw * 1024 / fw;
        if (style == 2 || twoLeaves) {
            // Two halves (or two leaves) part outward.
            const i32 halfTexels = lw / 2;
            const i32 slide = (style == 2 && !twoLeaves ? move / 2 : move / 2) * amount / 63;
            const i32 cut = halfTexels * amount / 63;
            if (twoLeaves) {
                place(b.picture[1], b.palette[1], lx, ly, 0, 0, cut, halfTexels, -slide);
                place(b.picture[2], b.palette[2], lx, ly, 0, 0, halfTexels, cut, slide);
            } else {
                place(b.picture[1], b.palette[1], lx, ly, 0, 0, cut, halfTexels, -slide);
                place(b.picture[1], b.palette[1], lx, ly, 0, 0, halfTexels, cut, slide);
            }
        } else {
            const i32 cut = lw * amount / 63;
            place(b.picture[1], b.palette[1], lx, ly, 0, 0, cut, 0, -move * amount / 63);
        }
        break;
    }
    default: break;
    }
}

void CViewEmitters::EmitPairedPictures(i32 x, i32 y, const CBlockCacheEntry& b) {
    CRenderer3D& r = R();
    const CCellView& c = Cell(x, y);
    i32 w = 0, h = 0;
    if (!PictureSize(b.picture[0], w, h)) return;
    const i32 mh = V().mapHeight;
    const bool northSouthEdges =
        y > 0 && y + 1 < mh && (r.CellBlockKinds(x, y - 1) & 1) && (r.CellBlockKinds(x, y + 1) & 1);
    const i32 anchor = V().pictures ? V().pictures->GetPictureAnchor(b.picture[0]) : 0;
    const i32 low = r.groundHeight - anchor * r.levelHeight / 240;
    const i32 high = r.groundHeight + (h - anchor) * r.levelHeight / 240;
    const i32 length = w * 1024 / 336;
    const i32 start = 512 - length / 2;
    auto quad = [&](u16 picture, u16 palette, i32 edge, i32 a0, i32 a1, i32 hi, i32 lo, i32 pw, i32 ph) {
        if (northSouthEdges)
            VerticalQuad(x, y, a0, edge, a1, edge, lo, hi, 0, pw * 16, 0, ph * 16);
        else
            VerticalQuad(x, y, edge, a0, edge, a1, lo, hi, 0, pw * 16, 0, ph * 16);
        const i32 n = r.clip.ClipTexturedPolygon(4);
        FaceTheEye(n);
        return EmitFace(n, 14, picture, palette, c.light, 3, false);
    };
    for (i32 side = 0; side < 2; ++side) {
        const i32 edge = side == 0 ? 0 : 1024;
        const i32 before = r.polygonCount;
        if (quad(b.picture[0], b.palette[0], edge, start, start + length, high, low, w, h) && side == 0)
            ShiftLastDepth(before, 4, 4);
        for (i32 k = 1; k < 3; ++k) {
            i32 dw = 0, dh = 0;
            if (b.picture[k] == 0 || !PictureSize(b.picture[k], dw, dh)) continue;
            i32 a0 = start + b.x[k] * 1024 / 336, a1 = start + (b.x[k] + dw) * 1024 / 336;
            if (side == 1) {
                const i32 m0 = 1024 - a1, m1 = 1024 - a0;
                a0 = m0, a1 = m1;
            }
            const i32 hi = high - b.y[k] * (high - low) / h, lo = high - (b.y[k] + dh) * (high - low) / h;
            quad(b.picture[k], b.palette[k], edge + (side == 0 ? 2 : -2), a0, a1, hi, lo, dw, dh);
        }
    }
}

void CViewEmitters::EmitTurningPanel(i32 x, i32 y, const CBlockCacheEntry& b) {
    CRenderer3D& r = R();
    const CCellView& c = Cell(x, y);
    i32 w = 0, h = 0;
    const u16 picture = b.picture[3] ? b.picture[3] : b.picture[0];
    const u16 palette = b.picture[3] ? b.palette[3] : b.palette[0];
    if (!PictureSize(picture, w, h)) return;
    const bool northSouth = (b.model & 1) != 0;
    const i32 top = r.groundHeight + static_cast<i32>((static_cast<i64>(h) * 336 * r.levelHeight) /
                                                      (static_cast<i64>(w) * 240));
    if (northSouth) {
        const i32 px = 512 + ((r.headingC * 312) >> 10);
        VerticalQuad(x, y, px, 1, px, 1023, r.groundHeight, top, 0, w * 16, 0, h * 16);
    } else {
        const i32 py = 512 - ((r.headingS * 312) >> 10);
        VerticalQuad(x, y, 1, py, 1023, py, r.groundHeight, top, 0, w * 16, 0, h * 16);
    }
    const i32 n = r.clip.ClipTexturedPolygon(4);
    FaceTheEye(n);
    const i32 before = r.polygonCount;
    if (EmitFace(n, 14, picture, palette, c.light, 3, false)) ShiftLastDepth(before, 10, 0);
}

void CViewEmitters::EmitTallPanel(i32 x, i32 y) {
    CRenderer3D& r = R();
    const CCellOverlayView& o = Overlay(x, y);
    if (o.upperBlock == 0) return;
    const CBlockCacheEntry& b = V().blockCache[o.upperBlock];
    if (b.kind != 8) return;
    const i32 mh = V().mapHeight;
    const bool northSouth =
        y > 0 && y + 1 < mh && (r.CellBlockKinds(x, y - 1) & 2) && (r.CellBlockKinds(x, y + 1) & 2);
    i32 top = 0, lower = -1, upper = -1, plane = 0;
    EmitUprightFrame(x, y, b.picture[0], b.palette[0], r.blockTopHeight, northSouth, o.upperLight, 5, false,
                     top, lower, upper, plane);
}

void CViewEmitters::EmitBlockModel(i32 x, i32 y) {
    CRenderer3D& r = R();
    const CCellView& c = Cell(x, y);
    const CCellOverlayView& o = Overlay(x, y);
    const u32 kinds = r.CellBlockKinds(x, y);
    const CBlockCacheEntry* lower = c.lowerBlock ? &V().blockCache[c.lowerBlock] : nullptr;
    const CBlockCacheEntry* upper = o.upperBlock ? &V().blockCache[o.upperBlock] : nullptr;
    if (kinds == 1 && lower && lower->picture[1])
        EmitModelFaces(x, y, *lower, lower->picture[1], lower->palette[1], r.blockTopHeight, c.light, 5);
    else if (upper && upper->kind == 11)
        EmitModelFaces(x, y, *upper, upper->picture[1], upper->palette[1], r.blockTopHeight, c.light, 5);
    else if ((kinds == 2 || kinds == 3) && upper && upper->picture[1])
        EmitModelFaces(x, y, *upper, upper->picture[1], upper->palette[1], r.ceilingHeight, o.upperLight, 5);
    else if (lower && lower->kind == 11)
        EmitModelFaces(x, y, *lower, lower->picture[0], lower->palette[0], r.groundHeight, c.light, 4);
}

void CViewEmitters::EmitModelFaces(i32 x, i32 y, const CBlockCacheEntry& b, u16 texture, u16 palette,
                                   i32 base, u16 light, i32 layer) {
    CRenderer3D& r = R();
    const CBlockModelTable& t = BlockModels();
    if (b.model >= kModelRows) return;
    const CModelRow& row = t.rows[b.model];
    const i32 dx = x - r.eyeCellX, dy = y - r.eyeCellY;
    for (i32 f = 0; f < row.faceCount; ++f) {
        const CModelFace& face = t.faces[static_cast<size_t>(row.firstFace + f)];
        const i32 n = std::min<i32>(face.cornerCount, 4);
        for (i32 k = 0; k < n; ++k) {
            const CModelCorner& corner = t.corners[static_cast<size_t>(face.firstCorner + k)];
            const CModelVertex& v = t.vertices[static_cast<size_t>(row.firstVertex + corner.vertex)];
            const CMapPoint p = r.TransformCellPoint(dx, dy, v.x, 0, v.y);
            r.clip.input[k] = {p.x, base + v.height, p.y};
            r.clip.uv[k] = {corner.u, corner.v};
        }
        EmitFace(r.clip.ClipTexturedPolygon(n), 10, texture, palette, light, layer, false);
    }
}
