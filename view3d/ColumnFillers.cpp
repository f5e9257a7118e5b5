// The column fillers: upright faces drawn one screen column at a time, so that a wall's texture row
// (or an edge picture's column) stays constant down a column and only one coordinate is stepped.
// Walker A follows the upper side of the polygon from its leftmost to its rightmost vertex, walker B
// the lower side.
#include "view3d/FreeFillers.h"

#include <algorithm>
#include <climits>

namespace {

// The quantities of one side along the major axis x: perspective-weighted (u * z, v * z, z, 8 f z)
// or, for the flat pictures of type 13, linear in screen space.
template <bool Perspective>
struct ColumnSide {
    CEdgeStepper U, V, W, F;

    void SetUp(const CEdgeWalker& w, const CUVPair* uv, const i16* fog) {
        const CScreenVertex& a = w.vertices[w.from];
        const CScreenVertex& b = w.vertices[w.to];
        const CUVPair& ta = uv[w.from];
        const CUVPair& tb = uv[w.to];
        const i64 fa = 8 * static_cast<i64>(fog[w.from]), fb = 8 * static_cast<i64>(fog[w.to]);
        if constexpr (Perspective) {
            SetUpEdgeStepper(U, a.x, b.x, SaturateI32(static_cast<i64>(ta.u) * b.z),
                             SaturateI32(static_cast<i64>(tb.u) * a.z));
            SetUpEdgeStepper(V, a.x, b.x, SaturateI32(static_cast<i64>(ta.v) * b.z),
                             SaturateI32(static_cast<i64>(tb.v) * a.z));
            SetUpEdgeStepper(W, a.x, b.x, b.z, a.z);
            SetUpEdgeStepper(F, a.x, b.x, SaturateI32(fa * b.z), SaturateI32(fb * a.z));
        } else {
            SetUpEdgeStepper(U, a.x, b.x, ta.u, tb.u);
            SetUpEdgeStepper(V, a.x, b.x, ta.v, tb.v);
            SetUpEdgeStepper(F, a.x, b.x, SaturateI32(fa), SaturateI32(fb));
        }
    }
    void Step() {
        U.Step();
        V.Step();
        if constexpr (Perspective) W.Step();
        F.Step();
    }
};

// Coverage of a column: rows from top to bottom - 1.
inline i32 ColumnTop(const CEdgeStepper& a) {
    i32 y = a.value;
    return (y + 7 + (((y & 15) == 8 && a.rising) ? 1 : 0)) >> 4;
}
inline i32 ColumnBottom(const CEdgeStepper& b) {
    i32 y = b.value, k = 0;
    if ((y & 15) == 8) k = b.rising ? 1 : (b.error != 0 ? -1 : 0);
    return (y + 7 + k) >> 4;
}

template <bool Perspective, typename Column>
u32 ColumnLoop(const CFillArgs& args, Column&& column) {
    const CScreenVertex* v = args.vertices;
    CEdgeWalker A, B;
    InitEdgeWalkers(v, args.count, true, A, B);
    ColumnSide<Perspective> sa, sb;
    const i32 right = v[A.end].x;
    u32 written = 0;
    for (i32 x = FirstCentre(v[A.start].x); x < right; x += 16) {
        if (x >= v[A.to].x) {
            if (!StepColumnEdgeForward(A, x)) break;
            sa.SetUp(A, args.texCoords, args.fog);
        } else {
            A.x.Step();
            sa.Step();
        }
        if (x >= v[B.to].x) {
            if (!StepColumnEdgeBackward(B, x)) break;
            sb.SetUp(B, args.texCoords, args.fog);
        } else {
            B.x.Step();
            sb.Step();
        }
        const i32 top = ColumnTop(A.x), bottom = ColumnBottom(B.x);
        if (top >= bottom) continue;
        CSpan span;
        GetColumnSpanAddresses(*args.target, x >> 4, top, bottom, span);
        column(span, top, A.x.value, B.x.value, sa, sb);
        written += static_cast<u32>(bottom - top);
    }
    return written;
}

// Wall faces: one texture row per column (v at the upper edge), u perspective-correct at both ends
// and linear between them. Type 7 plain, 9 with a decal whose see-through texels show the wall, 8 the
// pit sides with their fog changing down the column.
template <int Type>
u32 FillWall(const CFillArgs& args) {
    if (!UsableTexture(args.textures[0]) || args.count < 3) return 0;
    if (Type == 9 && !UsableTexture(args.textures[1])) return 0;
    const CTextureDesc& t = *args.textures[0];
    const i32 uMax = t.width * 16 - 1, vMax = t.height * 16 - 1;
    const i32 step = args.target->yStep;
    return ColumnLoop<true>(args, [&](const CSpan& span, i32 top, i32 yA, i32 yB, const ColumnSide<true>& a,
                                      const ColumnSide<true>& b) {
        const i32 uA = std::clamp(StepperQuotient(a.U, a.W), 0, uMax),
                  uB = std::clamp(StepperQuotient(b.U, b.W), 0, uMax);
        const i32 row = std::clamp(StepperQuotient(a.V, a.W), 0, vMax) >> 4;
        const i32 du = SpanCoordinateStep(uA, uB, yA, yB);
        i32 u = SpanCoordinateStart(uA, top, yA, du);
        if constexpr (Type == 8) {
            const i32 fA = std::clamp(StepperQuotient(a.F, a.W), 0, 1024),
                      fB = std::clamp(StepperQuotient(b.F, b.W), 0, 1024);
            const i32 df = yB != yA ? static_cast<i32>((static_cast<i64>(fB - fA) << 4) / (yB - yA)) : 0;
            i32 f = fA;
            for (u16* p = span.start; p != span.end; p += step, u += du, f += df)
                *p = FogBlend(ClampedTexel(t, u >> 12, row), args.fogColour, std::clamp(f >> 5, 0, 32));
            return;
        }
        const i32 f = FogFactor(a.F.value, a.W.value);
        for (u16* p = span.start; p != span.end; p += step, u += du) {
            u16 c;
            if constexpr (Type == 9) {
                c = ClampedTexel(*args.textures[1], u >> 12, row);
                if (c == kTransparentPixel) c = ClampedTexel(t, u >> 12, row);
            } else {
                c = ClampedTexel(t, u >> 12, row);
            }
            *p = f == 32 ? c : FogBlend(c, args.fogColour, f);
        }
    });
}

// Flat pictures on a cell edge seen at a slant: one picture column per screen column, v stepped down
// it; see-through texels (0xFFFF, block index 0, and texel index 0 of encoding 0) leave the pixel.
template <bool Perspective>
u32 FillEdgePicture(const CFillArgs& args) {
    if (!UsableTexture(args.textures[0]) || args.count < 3) return 0;
    const CTextureDesc& t = *args.textures[0];
    const i32 uMax = t.width * 16 - 1, vMax = t.height * 16 - 1;
    const i32 step = args.target->yStep;
    return ColumnLoop<Perspective>(
        args, [&](const CSpan& span, i32 top, i32 yA, i32 yB, const ColumnSide<Perspective>& a,
                  const ColumnSide<Perspective>& b) {
            i32 column, vA, vB, f;
            if constexpr (Perspective) {
                column = std::clamp(StepperQuotient(a.U, a.W), 0, uMax) >> 4;
                vA = std::clamp(StepperQuotient(a.V, a.W), 0, vMax);
                vB = std::clamp(StepperQuotient(b.V, b.W), 0, vMax);
                f = FogFactor(a.F.value, a.W.value);
            } else {
                column = a.U.value >> 4;
                vA = a.V.value;
                vB = b.V.value;
                f = a.F.value >> 5;
                if (static_cast<u32>(f) > 32) f = 32;
            }
            const i32 dv = SpanCoordinateStep(vA, vB, yA, yB);
            i32 v = SpanCoordinateStart(vA, top, yA, dv);
            for (u16* p = span.start; p != span.end; p += step, v += dv) {
                u16 c;
                if (!PictureTexelAt(t, column, v >> 12, true, c)) continue;
                *p = f == 32 ? c : FogBlend(c, args.fogColour, f);
            }
        });
}

}  // namespace

u32 FillColumnPolygon7(const CFillArgs& a) { return FillWall<7>(a); }
u32 FillColumnPolygon8(const CFillArgs& a) { return FillWall<8>(a); }
u32 FillColumnPolygon9(const CFillArgs& a) { return FillWall<9>(a); }
u32 FillColumnPolygon13(const CFillArgs& a) { return FillEdgePicture<false>(a); }
u32 FillColumnPolygon14(const CFillArgs& a) { return FillEdgePicture<true>(a); }
