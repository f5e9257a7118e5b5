// The free-heading filler of polygon type 1, which also draws the ceilings (type 6) under every
// heading: both texture coordinates change along a span, perspective-correct at the span's ends and
// linear in between.
#include "view3d/FreeFillers.h"

#include <algorithm>
#include <climits>

namespace {

inline i32 Clamp32(i64 v) { return static_cast<i32>(std::clamp<i64>(v, INT32_MIN, INT32_MAX)); }

// The steppers of one side: the walker's x, and u * z, v * z, the depth and 8 * fog * z, weighted so
// that their quotients are the perspective-correct values at the edge.
struct SideSteppers {
    CEdgeStepper U, V, W, F;
    bool fog = false;

    void SetUp(const CEdgeWalker& w, const CUVPair* uv, const i16* fogWeights) {
        const CScreenVertex& a = w.vertices[w.from];
        const CScreenVertex& b = w.vertices[w.to];
        const CUVPair& ta = uv[w.from];
        const CUVPair& tb = uv[w.to];
        SetUpEdgeStepper(U, a.y, b.y, Clamp32(static_cast<i64>(ta.u) * b.z), Clamp32(static_cast<i64>(tb.u) * a.z));
        SetUpEdgeStepper(V, a.y, b.y, Clamp32(static_cast<i64>(ta.v) * b.z), Clamp32(static_cast<i64>(tb.v) * a.z));
        SetUpEdgeStepper(W, a.y, b.y, b.z, a.z);
        if (fog) {
            i64 fa = 8 * static_cast<i64>(fogWeights[w.from]), fb = 8 * static_cast<i64>(fogWeights[w.to]);
            SetUpEdgeStepper(F, a.y, b.y, Clamp32(fa * b.z), Clamp32(fb * a.z));
        }
    }
    void Step() {
        U.Step();
        V.Step();
        W.Step();
        if (fog) F.Step();
    }
};

inline i32 Quotient(const CEdgeStepper& q, const CEdgeStepper& w) { return w.value != 0 ? q.value / w.value : 0; }

}  // namespace

u32 FillFreePolygon1(const CFillArgs& args) {
    const CTextureDesc* t = args.textures[0];
    // Ground and ceiling textures are addressed with rows of 256 texels; another width would read
    // outside the picture.
    if (!t || t->width != 256 || t->height <= 0 || args.count < 3) return 0;
    const CScreenVertex* v = args.vertices;
    CEdgeWalker left, right;
    InitEdgeWalkers(v, args.count, false, left, right);
    SideSteppers ls, rs;
    ls.fog = true;
    const i32 bottom = v[left.end].y;
    const i32 uMax = t->width * 16 - 1, vMax = t->height * 16 - 1;
    const i32 texelMaxU = t->width - 1, texelMaxV = t->height - 1;
    u32 written = 0;
    for (i32 y = FirstCentre(v[left.start].y); y < bottom; y += 16) {
        if (y >= v[left.to].y) {
            if (!StepEdgeBackward(left, y)) break;
            ls.SetUp(left, args.texCoords, args.fog);
        } else {
            left.x.Step();
            ls.Step();
        }
        if (y >= v[right.to].y) {
            if (!StepEdgeForward(right, y)) break;
            rs.SetUp(right, args.texCoords, args.fog);
        } else {
            right.x.Step();
            rs.Step();
        }
        const i32 first = SpanFirst(left.x), last1 = SpanEnd(right.x);
        if (first >= last1) continue;
        const i32 xL = left.x.value, xR = right.x.value;
        const i32 uL = std::clamp(Quotient(ls.U, ls.W), 0, uMax), vL = std::clamp(Quotient(ls.V, ls.W), 0, vMax);
        const i32 uR = std::clamp(Quotient(rs.U, rs.W), 0, uMax), vR = std::clamp(Quotient(rs.V, rs.W), 0, vMax);
        const i32 f = FogFactor(ls.F.value, ls.W.value);
        const i32 du = SpanCoordinateStep(uL, uR, xL, xR), dv = SpanCoordinateStep(vL, vR, xL, xR);
        i32 u = SpanCoordinateStart(uL, first, xL, du), w = SpanCoordinateStart(vL, first, xL, dv);
        CSpan span;
        GetSpanAddresses(*args.target, y >> 4, first, last1, span);
        const i32 step = args.target->xStep;
        // The stepped coordinates are not clamped by the set-up; the texel index is, so the far end of
        // a span never reads a texel outside the picture.
        if (f == 32) {
            for (u16* p = span.start; p != span.end; p += step, u += du, w += dv)
                *p = GroundTexel(*t, std::clamp(u >> 12, 0, texelMaxU), std::clamp(w >> 12, 0, texelMaxV));
        } else {
            for (u16* p = span.start; p != span.end; p += step, u += du, w += dv)
                *p = FogBlend(GroundTexel(*t, std::clamp(u >> 12, 0, texelMaxU), std::clamp(w >> 12, 0, texelMaxV)),
                              args.fogColour, f);
        }
        written += static_cast<u32>(last1 - first);
    }
    return written;
}
