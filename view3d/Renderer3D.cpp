#include "view3d/Renderer3D.h"

#include "display/FixedMath.h"
#include "view3d/FreeFillers.h"

#include <algorithm>
#include <climits>

namespace {

constexpr i32 kFullCircle = 360 << 16;

i32 ClampToI32(i64 v) { return static_cast<i32>(std::clamp<i64>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

void CRenderer3D::Init() {
    *this = CRenderer3D{};
    lowerColumns_.assign(kOcclusionColumns, -1);
    upperColumns_.assign(kOcclusionColumns, -1);
    RegisterPolygonFillers(*this);
}

void CRenderer3D::SetupView() {
    if (!viewState) return;
    const CViewState3D& vs = *viewState;

    // Half the field of view in 16.16 radians, and the focal distance at which the view spans 1158
    // units: about 1002 for 60 degrees.
    i32 h = (fieldOfView * 8) * 12867 / 180;
    i32 s = SinFixed(h), c = CosFixed(h);
    focalDistance = ((c >> 3) * (viewWidthUnits >> 1)) / std::max(1, s >> 3);
    eyeDistance = focalDistance - (cellSize >> 1);

    // The visible distance is kept within what the grid-corner cache covers.
    i32 visible = std::clamp(vs.visibleDistance, 0, kMaxVisibleCells * kFogStep);
    farDepth = (visible * cellSize) / kFogStep + focalDistance - 1;
    fogStartDepth = (vs.fogStart * cellSize) / kFogStep + focalDistance;

    // The view rectangle, kept inside the frame buffer so that nothing is drawn beyond it.
    i32 x = static_cast<i32>(vs.viewX), y = static_cast<i32>(vs.viewY);
    i32 W = static_cast<i32>(vs.viewWidth), H = static_cast<i32>(vs.viewHeight);
    if (vs.frameBuffer.width > 0 || vs.frameBuffer.height > 0) {
        x = std::clamp(x, 0, std::max(0, vs.frameBuffer.width));
        y = std::clamp(y, 0, std::max(0, vs.frameBuffer.height));
        W = std::clamp(W, 0, vs.frameBuffer.width - x);
        H = std::clamp(H, 0, vs.frameBuffer.height - y);
    }
    viewWidth = W;
    viewHeight = H;

    target2D.pixels = vs.frameBuffer.pixels;
    target2D.pitch = vs.frameBuffer.pitch;
    target2D.orientation = vs.frameBuffer.orientation;
    target2D.width = vs.frameBuffer.width;
    target2D.height = vs.frameBuffer.height;
    SetFrameTargetSteps(target2D);
    target3D = target2D;
    target3D.pixels = target2D.pixels ? target2D.pixels + FrameOffset(target2D, x, y) : nullptr;
    target3D.width = W;
    target3D.height = H;

    if (W <= 0 || H <= 0) return;
    centreColumn = -((referenceWidth >> 1) * W * 16) / referenceWidth;
    horizon = (W * horizonLift * 16) / referenceWidth - 8 * H;
    viewWidth16 = W * 16;
    viewHeight16 = H * 16;

    // The height, in view units at the focal distance, from the eye's row down to the view's bottom edge.
    i64 t = ((((static_cast<i64>(H) * levelHeight * referenceWidth) / W) >> 1) + levelHeight * horizonLift) /
            pictureUnitsPerLevel;
    nearestGroundDistance = t > 0 ? static_cast<i32>(((t + groundHeight) * focalDistance) / t) : 0;

    projectionScale = ClampToI32(((static_cast<i64>(W) * focalDistance * 1024) / viewWidthUnits) * 512);

    clip.nearDepth = nearDepth;
    clip.farDepth = farDepth;
    clip.projectionScale = projectionScale;
    clip.centreColumn = centreColumn;
    clip.horizon = horizon;
    clip.xMax = viewWidth16;
    clip.yMax = viewHeight16;

    SetupFarRows();
    viewFogColour = SpreadColour(vs.fogColour);

    // The occlusion columns cover the view however wide the layout makes it; they grow only when the
    // view does, so a frame never allocates.
    size_t columns = std::max<size_t>(kOcclusionColumns, static_cast<size_t>(W));
    if (lowerColumns_.size() < columns) {
        lowerColumns_.assign(columns, -1);
        upperColumns_.assign(columns, -1);
    }
}

void CRenderer3D::SetupHeading() {
    const CViewState3D& vs = *viewState;
    i32 angle = vs.viewAngle % kFullCircle;
    if (angle < 0) angle += kFullCircle;
    headingClass = 4;
    if ((angle & 0xFFFF) == 0) {
        i32 degrees = angle >> 16;
        if (degrees % 90 == 0) headingClass = degrees / 90;
    }
    i32 px = vs.viewPosX >> 6, py = vs.viewPosY >> 6;
    switch (headingClass) {
    case 0:
        headingC = 1024, headingS = 0;
        eyeOffset = (py & 1023) - 512;
        break;
    case 1:
        headingC = 0, headingS = -1024;
        eyeOffset = (px & 1023) - 512;
        break;
    case 2:
        headingC = -1024, headingS = 0;
        eyeOffset = 512 - (py & 1023);
        break;
    case 3:
        headingC = 0, headingS = 1024;
        eyeOffset = 512 - (px & 1023);
        break;
    default: {
        i32 turned = angle + (90 << 16);
        if (turned >= kFullCircle) turned -= kFullCircle;
        i32 radians = DegreesToFixedRadians(turned);
        headingC = SinFixed(radians) >> 6;
        headingS = CosFixed(radians) >> 6;
        eyeOffset = 0;
        break;
    }
    }
    const i64 C = headingC, S = headingS;
    eyeX = static_cast<i32>(px - ((eyeDistance * S) >> 10));
    eyeY = static_cast<i32>(py + ((eyeDistance * C) >> 10));
    eyeCellX = eyeX >> 10;
    eyeCellY = eyeY >> 10;

    // The scan triangle: the eye and the two far corners of a field 2 degrees wider than the view's.
    i32 half = ((fieldOfView + scanMargin) * 8) * 12867 / 180;
    const i64 far = farDepth;
    i64 w = ((SinFixed(half) >> 3) * far) / std::max(1, CosFixed(half) >> 3);
    i64 fx = eyeX + ((far * S) >> 10), fy = eyeY - ((far * C) >> 10);
    scanTriangle[0] = {eyeX, eyeY};
    scanTriangle[1] = {static_cast<i32>(fx - ((C * w) >> 10)), static_cast<i32>(fy - ((S * w) >> 10))};
    scanTriangle[2] = {static_cast<i32>(fx + ((C * w) >> 10)), static_cast<i32>(fy + ((S * w) >> 10))};

    corners_.fill(CMapPoint{});
    UpdateSkyOffset();
}

void CRenderer3D::RenderFrame() {
    if (!viewState) return;
    SetupView();
    if (viewWidth <= 0 || viewHeight <= 0 || !target3D.pixels) return;
    SetupHeading();
    viewState->flags |= kViewFlagDrawn;
    vertexCursor = texCoordCursor = fogCursor = 0;
    polygonCount = 0;
    stats = CFrameStats{};

    if (viewState->flags & kViewFlagSky) {
        EmitSkyQuad();
        EmitSkyFadeQuad();
        EmitSkyFloorQuad();
        if (splitColumn < viewWidth16) {
            EmitSkyWrapQuad();
            EmitSkyFadeWrapQuad();
        }
    } else {
        EmitUndergroundQuad();
    }
    ScanVisibleCells(scanTriangle);
    SortPolygons();
    CullOccluded();
    // The filled polygons are kept; the weather and the overlays go over them on every frame.
    frameReused = false;
    if (reuseUnchangedFrame) {
        const u64 key = FrameKey();
        if (keptValid_ && key == keptKey_ && RestoreKeptFrame()) {
            frameReused = true;
        } else {
            keptKey_ = key;
            DrawPolygons();
            KeepFrame();
        }
    } else {
        keptValid_ = false;
        DrawPolygons();
    }
    // Weather: nine tenths of the particles under the overlays, the rest over them unless the view
    // asks for all of them under.
    const bool weather = (viewState->flags & kViewFlagWeather) != 0;
    if (weather) DrawWeatherParticles(true);
    if (weather && (viewState->flags & kViewFlagWeatherUnder)) DrawWeatherParticles(false);
    DrawViewOverlays();
    if (weather && !(viewState->flags & kViewFlagWeatherUnder)) DrawWeatherParticles(false);
}

namespace {

// FNV-1a over the bytes of plain values.
struct CKeyHash {
    u64 value = 0xCBF29CE484222325ull;
    void Bytes(const void* data, size_t size) {
        const u8* p = static_cast<const u8*>(data);
        for (size_t i = 0; i < size; ++i) value = (value ^ p[i]) * 0x100000001B3ull;
    }
    template <typename T>
    void Add(const T& v) {
        Bytes(&v, sizeof v);
    }
};

}  // namespace

u64 CRenderer3D::FrameKey() const {
    CKeyHash h;
    const CViewState3D& vs = *viewState;
    auto picture = [&](u16 id) {
        const CPictureData* p = id != 0 && vs.pictures ? vs.pictures->GetViewPicture(id) : nullptr;
        h.Add(p ? p->data : nullptr);
        h.Add(p ? p->table : nullptr);
    };
    auto palette = [&](u16 id) {
        const CViewPalette pal = id != 0 && vs.pictures ? vs.pictures->GetViewPalette(id) : CViewPalette{};
        h.Add(pal.colours);
    };
    h.Add(target3D.pixels);
    h.Add(target3D.pitch);
    h.Add(target3D.orientation);
    h.Add(viewWidth);
    h.Add(viewHeight);
    h.Add(headingClass);
    h.Add(viewFogColour);
    h.Add(fixedFogColour);
    h.Add(vs.flags & kViewFlagSky);
    h.Add(vs.specialPictures[0]);
    h.Add(vs.specialPictures[1]);
    h.Add(polygonCount);
    for (i32 i = 0; i < polygonCount; ++i) {
        const CDrawEntry& e = entries[static_cast<size_t>(i)];
        const CPolygon& p = polygons[static_cast<size_t>(e.polygon)];
        if (!(p.flags & kPolygonVisible)) continue;
        h.Add(e.polygon);
        h.Add(e.layer);
        h.Add(p.flags), h.Add(p.type), h.Add(p.vertexCount);
        for (int t = 0; t < 3; ++t) picture(p.texture[t]), palette(p.palette[t]);
        picture(p.maskA), picture(p.maskB);
        const size_t n = static_cast<size_t>(std::max<i16>(p.vertexCount, 0));
        if (p.firstVertex >= 0 && p.firstVertex + n <= vertexPool.size())
            h.Bytes(&vertexPool[static_cast<size_t>(p.firstVertex)], n * sizeof(CScreenVertex));
        if (p.firstTexCoord >= 0 && p.firstTexCoord + n <= texCoordPool.size())
            h.Bytes(&texCoordPool[static_cast<size_t>(p.firstTexCoord)], n * sizeof(CUVPair));
        if (p.firstFog >= 0 && p.firstFog + n <= fogPool.size())
            h.Bytes(&fogPool[static_cast<size_t>(p.firstFog)], n * sizeof(i16));
    }
    return h.value;
}

void CRenderer3D::KeepFrame() {
    const size_t w = static_cast<size_t>(viewWidth);
    kept_.resize(w * static_cast<size_t>(viewHeight));
    for (i32 y = 0; y < viewHeight; ++y) {
        u16* row = &kept_[static_cast<size_t>(y) * w];
        if (target3D.orientation == 0) {
            std::copy_n(target3D.pixels + FrameOffset(target3D, 0, y), w, row);
        } else {
            for (i32 x = 0; x < viewWidth; ++x) row[x] = target3D.pixels[FrameOffset(target3D, x, y)];
        }
    }
    keptValid_ = true;
}

bool CRenderer3D::RestoreKeptFrame() const {
    const size_t w = static_cast<size_t>(viewWidth);
    if (kept_.size() != w * static_cast<size_t>(viewHeight)) return false;
    for (i32 y = 0; y < viewHeight; ++y) {
        const u16* row = &kept_[static_cast<size_t>(y) * w];
        if (target3D.orientation == 0) {
            std::copy_n(row, w, target3D.pixels + FrameOffset(target3D, 0, y));
        } else {
            for (i32 x = 0; x < viewWidth; ++x) target3D.pixels[FrameOffset(target3D, x, y)] = row[x];
        }
    }
    return true;
}

namespace {

// x of an edge a -> b at y (a.y <= y <= b.y), its fraction dropped towards a, and the column the scan
// takes there: the cell of x, moved one cell on when the exact x lies a hair beyond a cell boundary
// in the edge's direction.
i32 ChainColumn(const CMapPoint& a, const CMapPoint& b, i32 y) {
    i64 dy = static_cast<i64>(b.y) - a.y;
    if (dy <= 0) return (y == a.y ? a.x : b.x) >> 10;
    i64 num = (static_cast<i64>(y) - a.y) * (static_cast<i64>(b.x) - a.x);
    i32 x = static_cast<i32>(a.x + num / dy);
    bool remainder = num % dy != 0;
    if (remainder && b.x >= a.x && (x & 1023) == 1023) return (x + 1) >> 10;
    if (remainder && b.x < a.x && (x & 1023) == 0) return (x - 1) >> 10;
    return x >> 10;
}

}  // namespace

void CRenderer3D::ScanVisibleCells(const CMapPoint tri[3]) {
    // The top vertex starts a left and a right chain (ties: the left one at the smaller x); the bottom
    // vertex ends both (the same tie rule). The left chain walks the vertex list backwards, the right
    // one forwards.
    i32 tl = 0, tr = 0, bl = 0, br = 0;
    for (i32 i = 1; i < 3; ++i) {
        const CMapPoint& p = tri[i];
        if (p.y < tri[tl].y || (p.y == tri[tl].y && p.x < tri[tl].x)) tl = i;
        if (p.y < tri[tr].y || (p.y == tri[tr].y && p.x > tri[tr].x)) tr = i;
        if (p.y > tri[bl].y || (p.y == tri[bl].y && p.x < tri[bl].x)) bl = i;
        if (p.y > tri[br].y || (p.y == tri[br].y && p.x > tri[br].x)) br = i;
    }
    // The chains as vertex lists from top to bottom.
    i32 left[4], right[4], nl = 0, nr = 0;
    for (i32 i = tl;; i = (i + 2) % 3) {
        left[nl++] = i;
        if (i == bl || nl == 4) break;
    }
    for (i32 i = tr;; i = (i + 1) % 3) {
        right[nr++] = i;
        if (i == br || nr == 4) break;
    }
    const i32 top = tri[tl].y, bottom = tri[bl].y;
    auto chainColumn = [&](const i32* chain, i32 n, i32 y, bool takeMin) {
        i32 best = takeMin ? INT32_MAX : INT32_MIN;
        for (i32 k = 0; k + 1 < n; ++k) {
            const CMapPoint& a = tri[chain[k]];
            const CMapPoint& b = tri[chain[k + 1]];
            if (y < a.y || y > b.y) continue;
            i32 c = ChainColumn(a, b, y);
            best = takeMin ? std::min(best, c) : std::max(best, c);
        }
        if (n == 1) best = tri[chain[0]].x >> 10;
        return best;
    };
    auto rowColumns = [&](i32 yLo, i32 yHi, i32& first, i32& last) {
        first = std::min(chainColumn(left, nl, yLo, true), chainColumn(left, nl, yHi, true));
        last = std::max(chainColumn(right, nr, yLo, false), chainColumn(right, nr, yHi, false));
        // A vertex inside the row reaches farther than the row's two boundaries.
        for (i32 k = 0; k < nl; ++k) {
            const CMapPoint& p = tri[left[k]];
            if (p.y > yLo && p.y < yHi) first = std::min(first, p.x >> 10);
        }
        for (i32 k = 0; k < nr; ++k) {
            const CMapPoint& p = tri[right[k]];
            if (p.y > yLo && p.y < yHi) last = std::max(last, p.x >> 10);
        }
    };
    auto emitRow = [&](i32 row, i32 first, i32 last) {
        // No row of a scan reaches beyond the largest visible distance; a bound keeps a bad pose from
        // running long.
        if (last - first > 4 * kCornerCacheSide) last = first + 4 * kCornerCacheSide;
        for (i32 x = first; x <= last; ++x) EmitCell(x, row);
    };

    i32 Y = static_cast<i32>((static_cast<i64>(top) + 1023) & ~static_cast<i64>(1023));
    i32 prev = top;
    for (; Y < bottom; Y += 1024) {
        i32 first, last;
        rowColumns(prev, Y, first, last);
        emitRow((Y >> 10) - 1, first, last);
        prev = Y;
    }
    i32 first, last;
    rowColumns(prev, bottom, first, last);
    emitRow(prev >> 10, first, last);
}

void CRenderer3D::EmitCell(i32 x, i32 y) {
    ++stats.cellsScanned;
    if (!emitters) return;
    if (x >= 0 && y >= 0 && x < viewState->mapWidth && y < viewState->mapHeight)
        emitters->EmitCell(*this, x, y);
    else
        emitters->EmitOutsideCell(*this, x, y);
}

CMapPoint CRenderer3D::GetGridCorner(i32 dx, i32 dy) {
    if (dx < -kCornerCacheHalf || dx >= kCornerCacheHalf || dy < -kCornerCacheHalf ||
        dy >= kCornerCacheHalf) {
        // Outside the cache (only a scan past the largest visible distance asks): computed, not kept.
        ++stats.cornerCacheMisses;
        return ProjectGridCorner(dx, dy);
    }
    CMapPoint& c =
        corners_[static_cast<size_t>((dx + kCornerCacheHalf) * kCornerCacheSide + dy + kCornerCacheHalf)];
    if (c.x == 0 && c.y == 0) c = ProjectGridCorner(dx, dy);
    return c;
}

CMapPoint CRenderer3D::ProjectGridCorner(i32 dx, i32 dy) const {
    i32 X = dx * 1024 - (eyeX & 1023);
    i32 Y = dy * 1024 - (eyeY & 1023);
    switch (headingClass) {
    case 0: return {X, -Y};
    case 1: return {-Y, -X};
    case 2: return {-X, Y};
    case 3: return {Y, X};
    default: {
        const i64 c = headingC, s = headingS;
        return {static_cast<i32>((c * X + s * Y) >> 10), static_cast<i32>((s * X - c * Y) >> 10)};
    }
    }
}

CMapPoint CRenderer3D::TransformCellPoint(i32 dx, i32 dy, i32 px, i32 py, i32 pz) {
    const CMapPoint C = GetGridCorner(dx, dy);
    switch (headingClass) {
    case 0: return {C.x + px, C.y - pz};
    case 1: return {C.x - pz, C.y - px};
    case 2: return {C.x - px, C.y + pz};
    case 3: return {C.x + pz, C.y + px};
    default: {
        const i64 c = headingC, s = headingS;
        i64 X = static_cast<i64>(dx) * 1024 - (eyeX & 1023) + px;
        i64 Y = static_cast<i64>(dy) * 1024 - (eyeY & 1023) + pz;
        return {static_cast<i32>((c * X + s * Y) >> 10), static_cast<i32>((s * X - c * Y) >> 10)};
    }
    }
}
