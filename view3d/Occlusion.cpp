// The occlusion pass: from the nearest polygon to the farthest, the opaque side faces (types 7 and 9)
// are entered per pixel column with the rows they cover; a polygon wholly inside such covered bands is
// left unmarked and the draw loop skips it. It only hides what side faces certainly cover.
#include "view3d/Renderer3D.h"

#include <algorithm>

namespace {

inline i32 Pixel(i32 v) { return (v + 7) >> 4; }

struct Box {
    i32 x0, y0, x1, y1;
};

Box BoxOf(const CScreenVertex* v, i32 n) {
    Box b{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (i32 i = 0; i < n; ++i) {
        b.x0 = std::min(b.x0, v[i].x);
        b.x1 = std::max(b.x1, v[i].x);
        b.y0 = std::min(b.y0, v[i].y);
        b.y1 = std::max(b.y1, v[i].y);
    }
    return {Pixel(b.x0), Pixel(b.y0), Pixel(b.x1), Pixel(b.y1)};
}

// The leftmost and rightmost vertex x with the smallest and largest y at each.
COccluder ExtentOf(const CScreenVertex* v, i32 n) {
    i32 left = INT32_MAX, right = INT32_MIN;
    for (i32 i = 0; i < n; ++i) {
        left = std::min(left, v[i].x);
        right = std::max(right, v[i].x);
    }
    COccluder o{Pixel(left), Pixel(right), INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (i32 i = 0; i < n; ++i) {
        if (v[i].x == left) {
            o.topLeft = std::min(o.topLeft, Pixel(v[i].y));
            o.bottomLeft = std::max(o.bottomLeft, Pixel(v[i].y));
        }
        if (v[i].x == right) {
            o.topRight = std::min(o.topRight, Pixel(v[i].y));
            o.bottomRight = std::max(o.bottomRight, Pixel(v[i].y));
        }
    }
    return o;
}

inline i32 BandTop(const COccluder& o) { return std::max(o.topLeft, o.topRight); }
inline i32 BandBottom(const COccluder& o) { return std::min(o.bottomLeft, o.bottomRight); }

// Whether a polygon's band reaches above or below the band of occluder k.
inline bool ReachesBeyond(const COccluder& p, const COccluder& k) {
    return std::min(p.topLeft, p.topRight) < BandTop(k) ||
           std::max(p.bottomLeft, p.bottomRight) > BandBottom(k);
}

}  // namespace

void CRenderer3D::CullOccluded() {
    occluderCount_ = 0;
    const size_t columns = std::min(lowerColumns_.size(), static_cast<size_t>(std::max(0, viewWidth)));
    std::fill_n(lowerColumns_.begin(), columns, static_cast<i16>(-1));
    std::fill_n(upperColumns_.begin(), columns, static_cast<i16>(-1));
    for (i32 i = polygonCount - 1; i >= 0; --i) {
        CDrawEntry& e = entries[static_cast<size_t>(i)];
        CPolygon& p = polygons[static_cast<size_t>(e.polygon)];
        if (!occlusionEnabled) {
            p.flags |= kPolygonVisible;
            continue;
        }
        const bool side = p.type == 7 || p.type == 9;
        switch (e.layer) {
        case 0:
        case 6:
            TestOccluded(p, upperColumns_);
            if (p.flags & kPolygonVisible) TestOccluded(p, lowerColumns_);
            break;
        case 1:
        case 2: TestOccluded(p, lowerColumns_); break;
        case 3:
        case 4:
            if (side)
                AddLowerOccluder(p);
            else
                TestOccluded(p, lowerColumns_);
            break;
        case 5:
            if (side) {
                if (!AddUpperOccluder(p) && (p.flags & kPolygonVisible)) TestOccluded(p, lowerColumns_);
            } else {
                TestOccluded(p, upperColumns_);
                if (p.flags & kPolygonVisible) TestOccluded(p, lowerColumns_);
            }
            break;
        default: p.flags |= kPolygonVisible; break;
        }
        if (p.flags & kPolygonVisible) ++stats.polygonsVisible;
    }
}

void CRenderer3D::TestOccluded(CPolygon& p, const std::vector<i16>& columns) {
    const Box b = BoxOf(&vertexPool[static_cast<size_t>(p.firstVertex)], p.vertexCount);
    p.flags &= static_cast<u8>(~kPolygonVisible);
    const i32 x1 = std::min(b.x1, static_cast<i32>(columns.size()));
    for (i32 x = std::max(0, b.x0); x < x1;) {
        const i16 owner = columns[static_cast<size_t>(x)];
        i32 end = x + 1;
        while (end < x1 && columns[static_cast<size_t>(end)] == owner) ++end;
        if (owner < 0) {
            p.flags |= kPolygonVisible;
        } else {
            const COccluder& k = occluders_[static_cast<size_t>(owner)];
            if (b.y0 < BandTop(k) || b.y1 > BandBottom(k)) {
                p.flags |= kPolygonVisible;
            } else if (k.left <= b.x0 && b.x1 <= k.right) {
                p.flags &= static_cast<u8>(~kPolygonVisible);
                return;
            }
        }
        x = end;
    }
}

void CRenderer3D::AddLowerOccluder(CPolygon& p) { AddOccluder(p, lowerColumns_, false); }

bool CRenderer3D::AddUpperOccluder(CPolygon& p) { return AddOccluder(p, upperColumns_, true); }

bool CRenderer3D::AddOccluder(CPolygon& p, std::vector<i16>& columns, bool upper) {
    if (occluderCount_ >= kMaxOccluders) {
        // No room to enter it: it stays visible and hides nothing.
        ++stats.occludersDropped;
        p.flags |= kPolygonVisible;
        return false;
    }
    const i32 slot = occluderCount_;
    const COccluder o = ExtentOf(&vertexPool[static_cast<size_t>(p.firstVertex)], p.vertexCount);
    occluders_[static_cast<size_t>(slot)] = o;
    bool started = false, merged = false;
    const i32 R = std::min(o.right, static_cast<i32>(columns.size()));
    for (i32 x = std::max(0, o.left); x < R;) {
        const i16 owner = columns[static_cast<size_t>(x)];
        i32 end = x + 1;
        while (end < R && columns[static_cast<size_t>(end)] == owner) ++end;
        if (owner < 0) {
            i16 index = static_cast<i16>(slot);
            // An upper face standing exactly on a lower face of the same width extends it upward.
            const i16 below = upper ? lowerColumns_[static_cast<size_t>(x)] : -1;
            COccluder* m = below >= 0 ? &occluders_[static_cast<size_t>(below)] : nullptr;
            if (m && m->left == o.left && m->right == o.right && m->topLeft == o.bottomLeft &&
                m->topRight == o.bottomRight) {
                m->topLeft = o.topLeft;
                m->topRight = o.topRight;
                index = below;
                merged = true;
            } else {
                started = true;
            }
            std::fill(columns.begin() + x, columns.begin() + end, index);
        } else if (!started && ReachesBeyond(o, occluders_[static_cast<size_t>(owner)])) {
            started = true;
        }
        x = end;
    }
    if (started) occluderCount_ = slot + 1;
    if (started || merged) p.flags |= kPolygonVisible;
    return merged;
}
