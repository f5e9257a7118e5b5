// The row fillers: ground types 1..5 under every heading, ceilings, block models, upright pictures and
// the background. They share the row loop of Fillers.h; what differs is which edge quantities they
// step and how a pixel picks its texel.
#include "view3d/FreeFillers.h"

#include <algorithm>
#include <climits>
#include <type_traits>

namespace {

// The steppers of one side: u * z, v * z, the depth and 8 * fog * z, weighted so that their quotients
// are the perspective-correct values at the edge.
struct PerspectiveSide {
    CEdgeStepper U, V, W, F;
    bool fog = false;

    void SetUp(const CEdgeWalker& w, const CUVPair* uv, const i16* fogWeights) {
        const CScreenVertex& a = w.vertices[w.from];
        const CScreenVertex& b = w.vertices[w.to];
        const CUVPair& ta = uv[w.from];
        const CUVPair& tb = uv[w.to];
        SetUpEdgeStepper(U, a.y, b.y, SaturateI32(static_cast<i64>(ta.u) * b.z),
                         SaturateI32(static_cast<i64>(tb.u) * a.z));
        SetUpEdgeStepper(V, a.y, b.y, SaturateI32(static_cast<i64>(ta.v) * b.z),
                         SaturateI32(static_cast<i64>(tb.v) * a.z));
        SetUpEdgeStepper(W, a.y, b.y, b.z, a.z);
        if (fog) {
            i64 fa = 8 * static_cast<i64>(fogWeights[w.from]), fb = 8 * static_cast<i64>(fogWeights[w.to]);
            SetUpEdgeStepper(F, a.y, b.y, SaturateI32(fa * b.z), SaturateI32(fb * a.z));
        }
    }
    void Step() {
        U.Step();
        V.Step();
        W.Step();
        if (fog) F.Step();
    }
};

// The same quantities stepped linearly in screen space (the pictures and the background).
struct LinearSide {
    CEdgeStepper U, V, F;
    bool fog = false;

    void SetUp(const CEdgeWalker& w, const CUVPair* uv, const i16* fogWeights) {
        const CScreenVertex& a = w.vertices[w.from];
        const CScreenVertex& b = w.vertices[w.to];
        SetUpEdgeStepper(U, a.y, b.y, uv[w.from].u, uv[w.to].u);
        SetUpEdgeStepper(V, a.y, b.y, uv[w.from].v, uv[w.to].v);
        if (fog) SetUpEdgeStepper(F, a.y, b.y, 8 * fogWeights[w.from], 8 * fogWeights[w.to]);
    }
    void Step() {
        U.Step();
        V.Step();
        if (fog) F.Step();
    }
};

// The row loop of every row filler: walks both sides, keeps their steppers, and hands each non-empty
// span (row, first, last + 1) to `span`, which returns false to stop the polygon. With
// `StopWhenReversed` a row whose span is reversed (its right side left of its left side) ends the
// polygon: a face seen from behind draws nothing from there on.
template <typename Side, bool StopWhenReversed = false, typename Span>
u32 RowLoop(const CFillArgs& args, Span&& span) {
    const CScreenVertex* v = args.vertices;
    CEdgeWalker left, right;
    InitEdgeWalkers(v, args.count, false, left, right);
    Side ls, rs;
    ls.fog = true;
    const i32 bottom = v[left.end].y;
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
        if (first >= last1) {
            if (StopWhenReversed && first > last1) break;
            continue;
        }
        if (!span(y, first, last1, left, right, ls, rs)) break;
        written += static_cast<u32>(last1 - first);
    }
    return written;
}

// Ground texel choice of polygon types 1..5 at texel (x, y) of texture 1's layout.
inline bool MaskAt(const CMaskDesc* m, i32 x, i32 y) { return m && m->bits && MaskBit(*m, x, y); }

// Enc is the first texture's encoding when the filler chose it per polygon, -1 when not.
template <int Type, int Enc = -1>
inline u16 GroundColour(const CFillArgs& a, i32 x, i32 y) {
    const CTextureDesc& t1 = *a.textures[0];
    if constexpr (Type == 1 && Enc >= 0) {
        return TextureTexelOf<Enc>(t1, x, y);
    } else if constexpr (Type == 1) {
        return TextureTexel(t1, x, y);
    } else if constexpr (Type == 2) {
        return MaskAt(a.masks[0], x, y) ? TextureTexel(*a.textures[1], x, y) : TextureTexel(t1, x, y);
    } else if constexpr (Type == 3) {
        if (MaskAt(a.masks[1], x, y)) return TextureTexel(*a.textures[2], x, y);
        return MaskAt(a.masks[0], x, y) ? TextureTexel(*a.textures[1], x, y) : TextureTexel(t1, x, y);
    } else if constexpr (Type == 4) {
        u16 c = TextureTexel(*a.textures[1], x, y);
        return c != kTransparentPixel ? c : TextureTexel(t1, x, y);
    } else {
        u16 c = TextureTexel(*a.textures[2], x, y);
        if (c != kTransparentPixel) return c;
        return MaskAt(a.masks[0], x, y) ? TextureTexel(*a.textures[1], x, y) : TextureTexel(t1, x, y);
    }
}

template <int Type>
bool GroundUsable(const CFillArgs& a) {
    constexpr int kTextures = Type == 1 ? 1 : (Type == 2 || Type == 4 ? 2 : 3);
    for (int k = 0; k < kTextures; ++k)
        if (!UsableTexture(a.textures[k])) return false;
    return a.count >= 3;
}

enum class Axis { kFree, kRowConstant, kColumnConstant };

// Ground types 1..5. kFree: both coordinates stepped along the span; kColumnConstant (headings 90 and
// 270 degrees): the texture column u taken at the left edge, v stepped; kRowConstant (0 and 180): the
// row v at the left edge, u stepped.
template <int Type, Axis Mode, int Enc>
u32 FillGroundOf(const CFillArgs& args);

// One ground texture: its encoding is chosen here once, not per pixel.
template <int Type, Axis Mode>
u32 FillGround(const CFillArgs& args) {
    if (!GroundUsable<Type>(args)) return 0;
    if constexpr (Type == 1) {
        switch (args.textures[0]->encoding) {
        case 0: return FillGroundOf<Type, Mode, 0>(args);
        case 1: return FillGroundOf<Type, Mode, 1>(args);
        default: return FillGroundOf<Type, Mode, 2>(args);
        }
    }
    return FillGroundOf<Type, Mode, -1>(args);
}

template <int Type, Axis Mode, int Enc>
u32 FillGroundOf(const CFillArgs& args) {
    const CTextureDesc& t = *args.textures[0];
    const i32 uMax = t.width * 16 - 1, vMax = t.height * 16 - 1;
    const i32 xMax = t.width - 1, yMax = t.height - 1;
    const i32 step = args.target->xStep;
    return RowLoop<PerspectiveSide>(
        args, [&](i32 y, i32 first, i32 last1, const CEdgeWalker& left, const CEdgeWalker& right,
                  const PerspectiveSide& ls, const PerspectiveSide& rs) {
            const i32 xL = left.x.value, xR = right.x.value;
            const i32 uL = std::clamp(StepperQuotient(ls.U, ls.W), 0, uMax),
                      vL = std::clamp(StepperQuotient(ls.V, ls.W), 0, vMax);
            const i32 uR = std::clamp(StepperQuotient(rs.U, rs.W), 0, uMax),
                      vR = std::clamp(StepperQuotient(rs.V, rs.W), 0, vMax);
            const i32 f = FogFactor(ls.F.value, ls.W.value);
            CSpan span;
            GetSpanAddresses(*args.target, y >> 4, first, last1, span);
            i32 du = 0, dv = 0, u = 0, w = 0, constant = 0;
            if constexpr (Mode != Axis::kColumnConstant) {
                du = SpanCoordinateStep(uL, uR, xL, xR);
                u = SpanCoordinateStart(uL, first, xL, du);
            } else {
                constant = uL >> 4;
            }
            if constexpr (Mode != Axis::kRowConstant) {
                dv = SpanCoordinateStep(vL, vR, xL, xR);
                w = SpanCoordinateStart(vL, first, xL, dv);
            } else {
                constant = vL >> 4;
            }
            // Unfogged spans (the near ground) skip the blend altogether.
            auto fill = [&](auto fogged) {
                for (u16* p = span.start; p != span.end; p += step, u += du, w += dv) {
                    i32 tx = Mode == Axis::kColumnConstant ? constant : std::clamp(u >> 12, 0, xMax);
                    i32 ty = Mode == Axis::kRowConstant ? constant : std::clamp(w >> 12, 0, yMax);
                    u16 c = GroundColour<Type, Enc>(args, tx, ty);
                    *p = decltype(fogged)::value ? FogBlend(c, args.fogColour, f) : c;
                }
            };
            if (f == 32)
                fill(std::false_type{});
            else
                fill(std::true_type{});
            return true;
        });
}

// The pictures (type 11 and level edge pictures) and the background: coordinates stepped linearly in
// screen space, the texture row taken at the left edge, fog per span from the left edge's weight.
template <bool SeeThrough>
u32 FillLinear(const CFillArgs& args) {
    if (!UsableTexture(args.textures[0]) || args.count < 3) return 0;
    const CTextureDesc& t = *args.textures[0];
    const i32 step = args.target->xStep;
    return RowLoop<LinearSide>(
        args, [&](i32 y, i32 first, i32 last1, const CEdgeWalker& left, const CEdgeWalker& right,
                  const LinearSide& ls, const LinearSide& rs) {
            const i32 xL = left.x.value, xR = right.x.value;
            const i32 row = ls.V.value >> 4;
            i32 f = ls.F.value >> 5;
            if (static_cast<u32>(f) > 32) f = 32;
            const i32 du = SpanCoordinateStep(ls.U.value, rs.U.value, xL, xR);
            i32 u = SpanCoordinateStart(ls.U.value, first, xL, du);
            CSpan span;
            GetSpanAddresses(*args.target, y >> 4, first, last1, span);
            for (u16* p = span.start; p != span.end; p += step, u += du) {
                u16 c;
                if constexpr (SeeThrough) {
                    if (!PictureTexelAt(t, u >> 12, row, false, c)) continue;
                } else {
                    c = ClampedTexel(t, u >> 12, row);
                }
                *p = f == 32 ? c : FogBlend(c, args.fogColour, f);
            }
            return true;
        });
}

// Linear edge quantities of the block models: 2^25 / z and u, v scaled by 2^18 / z (and the plain fog).
struct ReciprocalSide {
    CEdgeStepper U, V, W, F;
    bool fog = false;

    void SetUp(const CEdgeWalker& w, const CUVPair* uv, const i16* fogWeights) {
        const CScreenVertex& a = w.vertices[w.from];
        const CScreenVertex& b = w.vertices[w.to];
        const i64 za = std::max(1, a.z), zb = std::max(1, b.z);
        SetUpEdgeStepper(W, a.y, b.y, SaturateI32(33554432 / za), SaturateI32(33554432 / zb));
        SetUpEdgeStepper(U, a.y, b.y, SaturateI32((static_cast<i64>(uv[w.from].u) << 18) / za),
                         SaturateI32((static_cast<i64>(uv[w.to].u) << 18) / zb));
        SetUpEdgeStepper(V, a.y, b.y, SaturateI32((static_cast<i64>(uv[w.from].v) << 18) / za),
                         SaturateI32((static_cast<i64>(uv[w.to].v) << 18) / zb));
        if (fog) SetUpEdgeStepper(F, a.y, b.y, 8 * fogWeights[w.from], 8 * fogWeights[w.to]);
    }
    void Step() {
        U.Step();
        V.Step();
        W.Step();
        if (fog) F.Step();
    }
};

}  // namespace

u32 FillFreePolygon1(const CFillArgs& a) { return FillGround<1, Axis::kFree>(a); }
u32 FillFreePolygon2(const CFillArgs& a) { return FillGround<2, Axis::kFree>(a); }
u32 FillFreePolygon3(const CFillArgs& a) { return FillGround<3, Axis::kFree>(a); }
u32 FillFreePolygon4(const CFillArgs& a) { return FillGround<4, Axis::kFree>(a); }
u32 FillFreePolygon5(const CFillArgs& a) { return FillGround<5, Axis::kFree>(a); }
u32 FillAxisPolygonU1(const CFillArgs& a) { return FillGround<1, Axis::kRowConstant>(a); }
u32 FillAxisPolygonU2(const CFillArgs& a) { return FillGround<2, Axis::kRowConstant>(a); }
u32 FillAxisPolygonU3(const CFillArgs& a) { return FillGround<3, Axis::kRowConstant>(a); }
u32 FillAxisPolygonU4(const CFillArgs& a) { return FillGround<4, Axis::kRowConstant>(a); }
u32 FillAxisPolygonU5(const CFillArgs& a) { return FillGround<5, Axis::kRowConstant>(a); }
u32 FillAxisPolygonV1(const CFillArgs& a) { return FillGround<1, Axis::kColumnConstant>(a); }
u32 FillAxisPolygonV2(const CFillArgs& a) { return FillGround<2, Axis::kColumnConstant>(a); }
u32 FillAxisPolygonV3(const CFillArgs& a) { return FillGround<3, Axis::kColumnConstant>(a); }
u32 FillAxisPolygonV4(const CFillArgs& a) { return FillGround<4, Axis::kColumnConstant>(a); }
u32 FillAxisPolygonV5(const CFillArgs& a) { return FillGround<5, Axis::kColumnConstant>(a); }
u32 FillLevelPolygon(const CFillArgs& a) { return FillLinear<true>(a); }
u32 FillBackgroundPolygon(const CFillArgs& a) { return FillLinear<false>(a); }

// The block models' filler: per span the perspective-correct coordinates at the first pixel, at the
// middle of the edges and at the last pixel, and a parabola through them (20 fraction bits).
u32 FillFreePolygon10(const CFillArgs& args) {
    if (!UsableTexture(args.textures[0]) || args.count < 3) return 0;
    const CTextureDesc& t = *args.textures[0];
    const i64 uLimit = (static_cast<i64>(t.width) << 20) - 1, vLimit = (static_cast<i64>(t.height) << 20) - 1;
    const i32 step = args.target->xStep;
    return RowLoop<ReciprocalSide, true>(
        args, [&](i32 y, i32 first, i32 last1, const CEdgeWalker& left, const CEdgeWalker& right,
                  const ReciprocalSide& ls, const ReciprocalSide& rs) {
            const i64 xL = left.x.value, xR = right.x.value;
            const i64 n = last1 - first;
            const i64 UL = ls.U.value, UR = rs.U.value, VL = ls.V.value, VR = rs.V.value;
            const i64 WL = ls.W.value, WR = rs.W.value;
            i64 sU = 0, sV = 0, sW = 0;
            if (xR != xL) {
                sU = ((UR - UL) << 4) / (xR - xL);
                sV = ((VR - VL) << 4) / (xR - xL);
                sW = ((WR - WL) << 4) / (xR - xL);
            }
            const i64 o0 = static_cast<i64>(first) * 16 + 8 - xL;
            const i64 o1 = xR - static_cast<i64>(last1) * 16 + 8;
            i64 W0 = WL + ((o0 * sW) >> 4), W1 = WR - ((o1 * sW) >> 4), Wm = (WL + WR) >> 1;
            if (W0 <= 0) W0 = 1;
            if (W1 <= 0) W1 = 1;
            if (Wm <= 0) Wm = 1;
            auto clampTo = [](i64 value, i64 limit) { return std::clamp<i64>(value, 0, limit); };
            const i64 uS = clampTo(((((UL << 4) + sU * o0) << 4) / W0) << 15, uLimit);
            const i64 vS = clampTo(((((VL << 4) + sV * o0) << 4) / W0) << 15, vLimit);
            const i64 uE = clampTo(((((UR << 4) - sU * o1) << 4) / W1) << 15, uLimit);
            const i64 vE = clampTo(((((VR << 4) - sV * o1) << 4) / W1) << 15, vLimit);
            const i64 uM = clampTo((((UL + UR) << 7) / Wm) << 15, uLimit);
            const i64 vM = clampTo((((VL + VR) << 7) / Wm) << 15, vLimit);
            const i64 a2u = ((uE - 2 * uM + uS) * 4) / (n * n), a2v = ((vE - 2 * vM + vS) * 4) / (n * n);
            i64 a1u = (a2u >> 1) - (3 * uS - 4 * uM + uE) / n, a1v = (a2v >> 1) - (3 * vS - 4 * vM + vE) / n;
            u32 f = static_cast<u32>(ls.F.value >> 5);
            if (f > 32) f = 32;
            i64 u = uS, v = vS;
            CSpan span;
            GetSpanAddresses(*args.target, y >> 4, first, last1, span);
            for (u16* p = span.start; p != span.end; p += step) {
                u16 c = ClampedTexel(t, static_cast<i32>(std::clamp<i64>(u >> 20, 0, t.width - 1)),
                                     static_cast<i32>(std::clamp<i64>(v >> 20, 0, t.height - 1)));
                *p = f == 32 ? c : FogBlend(c, args.fogColour, static_cast<i32>(f));
                u += a1u, v += a1v, a1u += a2u, a1v += a2v;
            }
            return true;
        });
}

void RegisterPolygonFillers(CRenderer3D& r) {
    using F = CFillerId;
    r.SetFiller(F::kFree1, &FillFreePolygon1);
    r.SetFiller(F::kFree2, &FillFreePolygon2);
    r.SetFiller(F::kFree3, &FillFreePolygon3);
    r.SetFiller(F::kFree4, &FillFreePolygon4);
    r.SetFiller(F::kFree5, &FillFreePolygon5);
    r.SetFiller(F::kFree10, &FillFreePolygon10);
    r.SetFiller(F::kAxisU1, &FillAxisPolygonU1);
    r.SetFiller(F::kAxisU2, &FillAxisPolygonU2);
    r.SetFiller(F::kAxisU3, &FillAxisPolygonU3);
    r.SetFiller(F::kAxisU4, &FillAxisPolygonU4);
    r.SetFiller(F::kAxisU5, &FillAxisPolygonU5);
    r.SetFiller(F::kAxisV1, &FillAxisPolygonV1);
    r.SetFiller(F::kAxisV2, &FillAxisPolygonV2);
    r.SetFiller(F::kAxisV3, &FillAxisPolygonV3);
    r.SetFiller(F::kAxisV4, &FillAxisPolygonV4);
    r.SetFiller(F::kAxisV5, &FillAxisPolygonV5);
    r.SetFiller(F::kLevel, &FillLevelPolygon);
    r.SetFiller(F::kBackground, &FillBackgroundPolygon);
    r.SetFiller(F::kColumn7, &FillColumnPolygon7);
    r.SetFiller(F::kColumn8, &FillColumnPolygon8);
    r.SetFiller(F::kColumn9, &FillColumnPolygon9);
    r.SetFiller(F::kColumn13, &FillColumnPolygon13);
    r.SetFiller(F::kColumn14, &FillColumnPolygon14);
}
