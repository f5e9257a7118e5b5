// The per-cell dispatch, ground, ceiling, pits, cells outside the map, the sides of solid blocks and
// the projection of upright pictures.
#include "view3d/CellEmitters.h"

#include <algorithm>

namespace {

const CCellView kNoCell{};
const CCellOverlayView kNoOverlay{};

// The grid corners of a cell edge, first and second end as seen from outside a block (clockwise on
// the screen): north (x+1, y) -> (x, y), west (x, y) -> (x, y+1), south (x, y+1) -> (x+1, y+1),
// east (x+1, y+1) -> (x+1, y).
constexpr i32 kSideEnds[4][4] = {{1, 0, 0, 0}, {0, 0, 0, 1}, {0, 1, 1, 1}, {1, 1, 1, 0}};
constexpr i32 kNeighbour[4][2] = {{0, -1}, {-1, 0}, {0, 1}, {1, 0}};

}  // namespace

const CCellView& CViewEmitters::Cell(i32 x, i32 y) const {
    if (x < 0 || y < 0 || x >= kWindowCells || y >= kWindowCells) return kNoCell;
    return V().cellViews[static_cast<size_t>(y * kWindowCells + x)];
}

const CCellOverlayView& CViewEmitters::Overlay(i32 x, i32 y) const {
    if (x < 0 || y < 0 || x >= kWindowCells || y >= kWindowCells) return kNoOverlay;
    return V().overlayViews[static_cast<size_t>(y * kWindowCells + x)];
}

void CViewEmitters::EmitCell(CRenderer3D& r, i32 x, i32 y) {
    renderer = &r;
    EmitCellGround(x, y);
    EmitCellCeiling(x, y);
    EmitBlockSides(x, y);
    EmitBlockModel(x, y);
    EmitBlockByKind(x, y);
    EmitTallPanel(x, y);
    EmitWallPictures(x, y, 0);
    EmitWallPictures(x, y, 1);
    EmitCellObjects(x, y);
    EmitGroundPictures(x, y);
    EmitCellCentrePicture(x, y);
}

void CViewEmitters::EmitOutsideCell(CRenderer3D& r, i32 x, i32 y) {
    renderer = &r;
    const i32 dx = x - r.eyeCellX, dy = y - r.eyeCellY;
    const i32 ox[4] = {0, 1, 1, 0}, oy[4] = {0, 0, 1, 1};
    auto flat = [&](i32 height, i32 layer) {
        for (i32 i = 0; i < 4; ++i) {
            const CMapPoint c = r.GetGridCorner(dx + ox[i], dy + oy[i]);
            r.clip.input[i] = {c.x, height, c.y};
        }
        i32 n = r.clip.ClipFlatQuad();
        if (n >= 3) r.EmitFlatPolygon(n, layer);
    };
    flat(r.groundHeight, 2);
    if (!(V().flags & kViewFlagSky)) flat(r.ceilingHeight, 6);
}

bool CViewEmitters::PictureSize(u16 picture, i32& width, i32& height) const {
    if (picture == 0 || !V().pictures) return false;
    const CPictureData* p = V().pictures->GetViewPicture(picture);
    if (!p || !p->data || p->width <= 0 || p->height <= 0) return false;
    width = p->width;
    height = p->height;
    return true;
}

void CViewEmitters::HorizontalQuad(i32 x, i32 y, i32 height, bool ceiling, i32 w16, i32 h16) {
    CRenderer3D& r = R();
    const i32 dx = x - r.eyeCellX, dy = y - r.eyeCellY;
    static constexpr i32 kGround[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    static constexpr i32 kCeiling[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    const CUVPair ground[4] = {{0, 0}, {w16, 0}, {w16, h16}, {0, h16}};
    const CUVPair ceilingUV[4] = {{0, 0}, {0, h16}, {w16, h16}, {w16, 0}};
    for (i32 i = 0; i < 4; ++i) {
        const i32* o = ceiling ? kCeiling[i] : kGround[i];
        const CMapPoint c = r.GetGridCorner(dx + o[0], dy + o[1]);
        r.clip.input[i] = {c.x, height, c.y};
        r.clip.uv[i] = ceiling ? ceilingUV[i] : ground[i];
    }
}

bool CViewEmitters::EmitFace(i32 count, i32 type, u16 texture, u16 palette, u16 light, i32 layer,
                             bool frontOnly, u16 texture2, u16 palette2) {
    if (count < 3) return false;
    if (frontOnly && !R().IsFrontFacing()) return false;
    CPolygon& p = R().NextPolygon();
    p = CPolygon{};
    p.texture[0] = texture;
    p.palette[0] = palette;
    p.texture[1] = texture2;
    p.palette[1] = palette2;
    R().EmitPolygon(count, type, light, layer);
    return true;
}

void CViewEmitters::EmitCellGround(i32 x, i32 y) {
    CRenderer3D& r = R();
    const u32 kinds = r.CellBlockKinds(x, y);
    if (kinds & 1) return;
    const CCellView& c = Cell(x, y);
    if (c.ground == 0) return;
    const CBlockCacheEntry* lower = c.lowerBlock ? &V().blockCache[c.lowerBlock] : nullptr;
    if (lower && lower->kind == 11) return;
    const CGroundCacheEntry& g = V().groundCache[c.ground];
    i32 w = 0, h = 0;
    if (!PictureSize(g.texture[0], w, h)) return;

    if (!(g.flags & 1)) {
        HorizontalQuad(x, y, r.groundHeight, false, w * 16, h * 16);
        const i32 n = r.clip.ClipTexturedPolygon(4);
        if (n < 3) return;
        CPolygon& p = r.NextPolygon();
        p = CPolygon{};
        p.texture[0] = g.texture[0];
        p.palette[0] = g.palette[0];
        const bool decal = lower && lower->kind == 6;
        i32 type = 1;
        if (g.texture[2]) {
            type = 3;
            p.texture[1] = g.texture[1], p.palette[1] = g.palette[1];
            p.texture[2] = g.texture[2], p.palette[2] = g.palette[2];
            p.maskA = g.maskA, p.maskB = g.maskB;
        } else if (g.texture[1]) {
            type = decal ? 5 : 2;
            p.texture[1] = g.texture[1], p.palette[1] = g.palette[1];
            p.maskA = g.maskA;
            if (decal) p.texture[2] = lower->picture[0], p.palette[2] = lower->palette[0];
        } else if (decal) {
            type = 4;
            p.texture[1] = lower->picture[0], p.palette[1] = lower->palette[0];
        }
        r.EmitPolygon(n, type, c.light, 2);
        return;
    }

    // A pit: its sides towards every neighbour that is not a pit and towards the map's edges, then
    // its bottom in the flat colour.
    const i32 mw = V().mapWidth, mh = V().mapHeight;
    for (i32 side = 0; side < 4; ++side) {
        const i32 nx = x + kNeighbour[side][0], ny = y + kNeighbour[side][1];
        const bool edge = nx < 0 || ny < 0 || nx >= mw || ny >= mh;
        if (!edge && IsPitCell(nx, ny)) continue;
        for (i32 face = 0; face < (r.deepPit ? 2 : 1); ++face) {
            BuildPitSide(x, y, side, face);
            const i32 n = r.clip.ClipLitQuad();
            if (n < 3 || !r.IsFrontFacing()) continue;
            CPolygon& p = r.NextPolygon();
            p = CPolygon{};
            p.texture[0] = g.texture[0];
            p.palette[0] = g.palette[0];
            r.EmitLitPolygon(n, c.light);
        }
    }
    const i32 dx = x - r.eyeCellX, dy = y - r.eyeCellY;
    const i32 bottom = r.deepPit ? r.lowerPitLevel : r.pitLevel;
    static constexpr i32 kOrder[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (i32 i = 0; i < 4; ++i) {
        const CMapPoint p = r.GetGridCorner(dx + kOrder[i][0], dy + kOrder[i][1]);
        r.clip.input[i] = {p.x, bottom, p.y};
    }
    const i32 n = r.clip.ClipFlatQuad();
    if (n >= 3) r.EmitFlatPolygon(n, 1);
}

bool CViewEmitters::IsPitCell(i32 x, i32 y) const {
    const CCellView& c = Cell(x, y);
    return c.ground != 0 && (V().groundCache[c.ground].flags & 1);
}

void CViewEmitters::BuildPitSide(i32 x, i32 y, i32 side, i32 face) {
    CRenderer3D& r = R();
    // Seen from inside the pit the ends run the other way round than a block's side.
    const i32* e = kSideEnds[side];
    const CMapPoint a = r.GetGridCorner(x + e[2] - r.eyeCellX, y + e[3] - r.eyeCellY);
    const CMapPoint b = r.GetGridCorner(x + e[0] - r.eyeCellX, y + e[1] - r.eyeCellY);
    const i32 top = face == 0 ? r.groundHeight : r.pitLevel;
    const i32 low = face == 0 ? r.pitLevel : r.lowerPitLevel;
    r.clip.input[0] = {a.x, top, a.y};
    r.clip.input[1] = {b.x, top, b.y};
    r.clip.input[2] = {b.x, low, b.y};
    r.clip.input[3] = {a.x, low, a.y};
    i32 w = 0, h = 0;
    const CGroundCacheEntry& g = V().groundCache[Cell(x, y).ground];
    PictureSize(g.texture[0], w, h);
    r.clip.uv[0] = {0, 0};
    r.clip.uv[1] = {0, h * 16};
    r.clip.uv[2] = {w * 16, h * 16};
    r.clip.uv[3] = {w * 16, 0};
    // The side darkens towards the bottom.
    i32 upperLight = 0x10000, lowerLight = 0;
    if (r.deepPit) {
        upperLight = face == 0 ? 0x10000 : 50000;
        lowerLight = face == 0 ? 50000 : 0;
    }
    r.clip.light[0] = r.clip.light[1] = upperLight;
    r.clip.light[2] = r.clip.light[3] = lowerLight;
}

void CViewEmitters::EmitCellCeiling(i32 x, i32 y) {
    CRenderer3D& r = R();
    const u32 kinds = r.CellBlockKinds(x, y);
    const CCellView& c = Cell(x, y);
    const CCellOverlayView& o = Overlay(x, y);
    if (kinds != 3) {
        u16 texture = 0, palette = 0;
        bool low = false;
        if (kinds == 2) {
            const CBlockCacheEntry& up = V().blockCache[o.upperBlock];
            // The underside: its own field when the describe operation set it, else picture 3.
            texture = up.undersideTexture ? up.undersideTexture : up.picture[2];
            palette = up.undersideTexture ? up.undersidePalette : up.palette[2];
            low = true;
        } else if (!(V().flags & kViewFlagSky)) {
            texture = V().skyTexture, palette = V().skyPalette;
        }
        i32 w = 0, h = 0;
        if (texture && PictureSize(texture, w, h)) {
            HorizontalQuad(x, y, low ? r.blockTopHeight : r.ceilingHeight, true, w * 16, h * 16);
            const i32 n = r.clip.ClipTexturedPolygon(4);
            if (low)
                EmitFace(n, 6, texture, palette, c.light, 3, false);
            else
                EmitFace(n, 6, texture, palette, o.upperLight, 6, false);
        }
    }
    if (o.upperBlock && V().blockCache[o.upperBlock].kind == 11) {
        const CBlockCacheEntry& up = V().blockCache[o.upperBlock];
        i32 w = 0, h = 0;
        if (!PictureSize(up.picture[0], w, h)) return;
        HorizontalQuad(x, y, r.blockTopHeight, true, w * 16, h * 16);
        EmitFace(r.clip.ClipTexturedPolygon(4), 6, up.picture[0], up.palette[0], c.light, 3, false);
    }
}

void CViewEmitters::BuildSide(i32 x, i32 y, i32 side, i32 lower, i32 upper, i32 w16, i32 h16) {
    CRenderer3D& r = R();
    const i32* e = kSideEnds[side];
    const CMapPoint a = r.GetGridCorner(x + e[0] - r.eyeCellX, y + e[1] - r.eyeCellY);
    const CMapPoint b = r.GetGridCorner(x + e[2] - r.eyeCellX, y + e[3] - r.eyeCellY);
    r.clip.input[0] = {a.x, upper, a.y};
    r.clip.input[1] = {b.x, upper, b.y};
    r.clip.input[2] = {b.x, lower, b.y};
    r.clip.input[3] = {a.x, lower, a.y};
    r.clip.uv[0] = {0, 0};
    r.clip.uv[1] = {0, h16};
    r.clip.uv[2] = {w16, h16};
    r.clip.uv[3] = {w16, 0};
}

void CViewEmitters::EmitBlockSides(i32 x, i32 y) {
    CRenderer3D& r = R();
    const u32 kinds = r.CellBlockKinds(x, y);
    if (!(kinds & 3)) return;
    const i32 mw = V().mapWidth, mh = V().mapHeight;
    const CCellView& c = Cell(x, y);
    const CCellOverlayView& o = Overlay(x, y);
    for (i32 part = 0; part < 2; ++part) {
        const u32 bit = 1u << part;
        if (!(kinds & bit)) continue;
        const CBlockCacheEntry& b = V().blockCache[part == 0 ? c.lowerBlock : o.upperBlock];
        i32 w = 0, h = 0;
        if (!PictureSize(b.picture[0], w, h)) continue;
        // The side decal: upright slot 7 of the part's wall entry when its position has bit 15 set.
        u16 decal = 0, decalPalette = 0;
        const u16 wall = part == 0 ? c.lowerWall : o.upperWall;
        if (wall) {
            const CWallCacheEntry& e = V().wallCache[wall];
            if (e.words[16 + 2] & 0x8000) decal = e.words[20 + 2], decalPalette = e.words[24 + 2];
        }
        const i32 low = part == 0 ? r.groundHeight : r.blockTopHeight;
        const i32 high = part == 0 ? r.blockTopHeight : r.ceilingHeight;
        const u16 light = part == 0 ? c.light : o.upperLight;
        for (i32 side = 0; side < 4; ++side) {
            const i32 nx = x + kNeighbour[side][0], ny = y + kNeighbour[side][1];
            const bool edge = nx < 0 || ny < 0 || nx >= mw || ny >= mh;
            if (!edge && (r.CellBlockKinds(nx, ny) & bit)) continue;
            BuildSide(x, y, side, low, high, w * 16, h * 16);
            const i32 n = r.clip.ClipTexturedPolygon(4);
            EmitFace(n, decal ? 9 : 7, b.picture[0], b.palette[0], light, part == 0 ? 3 : 5, true, decal,
                     decalPalette);
        }
    }
}

i32 CViewEmitters::RowOfHeight(i32 height, i32 depth) const {
    const i64 k = depth > 0 ? R().projectionScale / depth : 0;
    return static_cast<i32>(((-(height * k)) >> 15) - R().horizon);
}

void CViewEmitters::EmitPictureQuad(i32 left, i32 top, i32 right, i32 bottom, i32 depth, i32 u0, i32 u1,
                                    i32 v0, i32 v1, u16 picture, u16 palette, u16 light, CPictureSplit split,
                                    u8 flags) {
    CRenderer3D& r = R();
    auto piece = [&](i32 t, i32 b, i32 va, i32 vb, i32 layer) {
        r.clip.screen[0] = {left, t, depth};
        r.clip.screen[1] = {right, t, depth};
        r.clip.screen[2] = {right, b, depth};
        r.clip.screen[3] = {left, b, depth};
        r.clip.uv[0] = {u0, va};
        r.clip.uv[1] = {u1, va};
        r.clip.uv[2] = {u1, vb};
        r.clip.uv[3] = {u0, vb};
        const i32 n = r.clip.ClipScreenQuad();
        if (n < 3) return;
        CPolygon& p = r.NextPolygon();
        p = CPolygon{};
        p.texture[0] = picture;
        p.palette[0] = palette;
        p.flags = flags;
        r.EmitPolygon(n, 11, light, layer);
    };
    if (bottom <= top || right <= left) return;
    const i32 level = RowOfHeight(r.blockTopHeight, depth);
    if (split == CPictureSplit::kSplit && top < level && level < bottom) {
        const i32 vCut = v0 + static_cast<i32>((static_cast<i64>(level - top) * (v1 - v0)) / (bottom - top));
        piece(level, bottom, vCut, v1, 3);
        piece(top, level, v0, vCut, 5);
        return;
    }
    i32 layer = 3;
    if (split == CPictureSplit::kUpper || (split == CPictureSplit::kSplit && bottom <= level)) layer = 5;
    piece(top, bottom, v0, v1, layer);
}

bool CViewEmitters::EmitBillboard(i32 x, i32 y, i32 px, i32 height, i32 py, i32 sizeFactor, bool hanging,
                                  CPictureSplit split, u16 picture, u16 palette, u16 light, CBillboard& out,
                                  bool mirrored, bool small, u8 flags, bool cutAtGround) {
    CRenderer3D& r = R();
    const CMapPoint p = r.TransformCellPoint(x - r.eyeCellX, y - r.eyeCellY, px, 0, py);
    const i32 d = p.y;
    if (d <= r.nearDepth || d >= r.farDepth) return false;
    i32 w = 0, h = 0;
    if (flags & (kPolygonSpecial1 | kPolygonSpecial2)) {
        const u8* special = V().specialPictures[(flags & kPolygonSpecial1) ? 0 : 1];
        if (!special) return false;
        CPictureData s;
        ReadPictureHeader(special, s);
        w = s.width, h = s.height;
    } else if (!PictureSize(picture, w, h)) {
        return false;
    }
    const i64 size = small ? 0 : static_cast<i64>(r.cellSize) * sizeFactor;
    const i64 s = ((size + static_cast<i64>(r.focalDistance) * 1024) / d) * r.viewWidth / r.referenceWidth;
    const i64 k = r.projectionScale / d;
    const i64 foot = ((-(k * height)) >> 15) - r.horizon;
    const i64 centre = ((k * p.x) >> 15) - r.centreColumn;
    const i32 anchor = V().pictures ? V().pictures->GetPictureAnchor(picture) : 0;
    out.depth = d;
    out.scale = static_cast<i32>(s);
    out.left = static_cast<i32>(centre - ((w * s) >> 7));
    out.right = static_cast<i32>(out.left + ((w * s) >> 6));
    if (!hanging) {
        out.top = static_cast<i32>(foot - (((h - anchor) * s) >> 6));
        out.bottom = static_cast<i32>(foot + ((anchor * s) >> 6));
    } else {
        out.top = static_cast<i32>(foot - ((anchor * s) >> 6));
        out.bottom = static_cast<i32>(foot + (((h - anchor) * s) >> 6));
    }
    const i32 u0 = mirrored ? w * 16 - 1 : 0, u1 = mirrored ? -1 : w * 16;
    i32 bottom = out.bottom, v1 = h * 16;
    if (cutAtGround && height < r.groundHeight) {
        const i32 groundRow = static_cast<i32>(((-(k * r.groundHeight)) >> 15) - r.horizon);
        if (out.top >= groundRow) return true;
        if (bottom > groundRow) {
            v1 = static_cast<i32>(static_cast<i64>(groundRow - out.top) * h * 16 / (bottom - out.top));
            bottom = groundRow;
        }
    }
    EmitPictureQuad(out.left, out.top, out.right, bottom, d, u0, u1, 0, v1, picture, palette, light, split,
                    flags);
    return true;
}
