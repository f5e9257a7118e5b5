#include "view3d/Fillers.h"

#include <cstdlib>

namespace {

void SetUp(CEdgeStepper& s, i32 d, i32 y0, i32 y1, i32 q0, i32 q1, i64 unit, bool rising) {
    i64 dy = static_cast<i64>(y1) - y0;
    i64 dq = static_cast<i64>(q1) - q0;
    if (dy <= 0) dy = 1;  // callers never pass an empty edge; keep a division by zero out regardless
    i64 adq = dq < 0 ? -dq : dq;
    s.value = static_cast<i32>(q0 + (d * dq) / dy);
    s.step = static_cast<i32>((dq * unit) / dy);
    s.denominator = static_cast<i32>(dy);
    s.rising = rising ? 1 : 0;
    s.sign = rising ? 1 : -1;
    s.error = static_cast<i32>((adq * d) % dy);
    s.errorIncrement = static_cast<i32>((adq * unit) % dy);
}

inline i32 Major(const CScreenVertex& v, bool columns) { return columns ? v.x : v.y; }
inline i32 Minor(const CScreenVertex& v, bool columns) { return columns ? v.y : v.x; }

// Walks w to the edge that holds `at` on the major axis; `forward` picks the direction, `endTest`
// whether reaching the end vertex stops the walk.
bool Walk(CEdgeWalker& w, i32 at, bool forward, bool endTest, bool columns) {
    const CScreenVertex* v = w.vertices;
    i32 guard = 0;
    while (at >= Major(v[w.to], columns)) {
        if (endTest && w.from == w.end) break;
        w.from = w.to;
        w.to = forward ? (w.to + 1 == w.count ? 0 : w.to + 1) : (w.to == 0 ? w.count - 1 : w.to - 1);
        // A walk without the end test finds a vertex below `at` for every polygon the loops hand it; a
        // degenerate one must still not walk for ever.
        if (++guard > w.count) {
            w.spanBound = kWalkerDone;
            return false;
        }
    }
    if (endTest && w.from == w.end) {
        w.spanBound = kWalkerDone;
        return false;
    }
    const CScreenVertex& a = v[w.from];
    const CScreenVertex& b = v[w.to];
    SetUpEdgeStepper(w.x, Major(a, columns), Major(b, columns), Minor(a, columns), Minor(b, columns));
    return true;
}

}  // namespace

void SetUpEdgeStepper(CEdgeStepper& s, i32 y0, i32 y1, i32 q0, i32 q1) {
    i32 d = ((y0 + 7) & ~15) + 8 - y0;
    SetUp(s, d, y0, y1, q0, q1, 16, static_cast<i64>(q1) - q0 > 0);
}

void SetUpCellEdgeStepper(CEdgeStepper& s, i32 y0, i32 y1, i32 q0, i32 q1) {
    i32 d = ((y0 + 1023) & ~1023) - y0;
    SetUp(s, d, y0, y1, q0, q1, 1024, static_cast<i64>(q1) - q0 >= 0);
}

void InitEdgeWalkers(const CScreenVertex* v, i32 n, bool columns, CEdgeWalker& a, CEdgeWalker& b) {
    i32 tl = 0, tr = 0, bl = 0, br = 0;
    for (i32 i = 1; i < n; ++i) {
        i32 M = Major(v[i], columns), m = Minor(v[i], columns);
        auto M_ = [&](i32 k) { return Major(v[k], columns); };
        auto m_ = [&](i32 k) { return Minor(v[k], columns); };
        if (M < M_(tl) || (M == M_(tl) && m < m_(tl))) tl = i;
        if (M < M_(tr) || (M == M_(tr) && m > m_(tr))) tr = i;
        if (M > M_(bl) || (M == M_(bl) && m < m_(bl))) bl = i;
        if (M > M_(br) || (M == M_(br) && m > m_(br))) br = i;
    }
    a = CEdgeWalker{};
    b = CEdgeWalker{};
    a.count = b.count = n;
    a.vertices = b.vertices = v;
    a.start = tl;
    a.end = bl;
    b.start = tr;
    b.end = br;
    a.from = a.to = tl;
    b.from = b.to = tr;
}

bool StepEdgeBackward(CEdgeWalker& w, i32 y) { return Walk(w, y, false, true, false); }
bool StepEdgeForward(CEdgeWalker& w, i32 y) { return Walk(w, y, true, false, false); }
bool StepColumnEdgeForward(CEdgeWalker& w, i32 x) { return Walk(w, x, true, true, true); }
bool StepColumnEdgeBackward(CEdgeWalker& w, i32 x) { return Walk(w, x, false, false, true); }

i32 SpanCoordinateStep(i32 cL, i32 cR, i32 xL, i32 xR) {
    if (xR == xL) return 0;
    return static_cast<i32>(((static_cast<i64>(cR) - cL) * 4096) / (static_cast<i64>(xR) - xL));
}

i32 SpanCoordinateStart(i32 cL, i32 first, i32 xL, i32 step) {
    i64 offset = static_cast<i64>(first) * 16 + 8 - xL;
    return static_cast<i32>(static_cast<i64>(cL) * 256 + ((offset * step) >> 4));
}

i32 FogFactor(i32 f8z, i32 w) {
    if (w == 0) return 32;
    i32 f = static_cast<i32>(static_cast<i64>(f8z) / w) >> 5;
    return static_cast<u32>(f) > 32 ? 32 : f;
}

u32 FillFlatPolygon(const CFrameTarget& target, i32 n, const CScreenVertex* v, u16 colour) {
    if (n < 3) return 0;
    CEdgeWalker left, right;
    InitEdgeWalkers(v, n, false, left, right);
    const i32 bottom = v[left.end].y;
    i32 y = FirstCentre(v[left.start].y);
    u32 written = 0;
    for (; y < bottom; y += 16) {
        if (y >= v[left.to].y) {
            if (!StepEdgeBackward(left, y)) break;
        } else {
            left.x.Step();
        }
        if (y >= v[right.to].y) {
            if (!StepEdgeForward(right, y)) break;
        } else {
            right.x.Step();
        }
        i32 first = SpanFirst(left.x);
        i32 last1 = SpanEnd(right.x);
        if (first >= last1) continue;
        CSpan span;
        GetSpanAddresses(target, y >> 4, first, last1, span);
        for (u16* p = span.start; p != span.end; p += target.xStep) *p = colour;
        written += static_cast<u32>(last1 - first);
    }
    return written;
}
