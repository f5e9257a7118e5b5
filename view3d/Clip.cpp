#include "view3d/Clip.h"

namespace {

enum class Texture { kNone, kPerspective, kLinear };

// A corner passed on unchanged with its attributes.
template <typename Corner>
void Keep(Corner* out, i32 m, const Corner* in, i32 a, const CUVPair* uvIn, CUVPair* uvOut,
          const i32* lightIn, i32* lightOut) {
    out[m] = in[a];
    if (uvIn) uvOut[m] = uvIn[a];
    if (lightIn) lightOut[m] = lightIn[a];
}

inline i32 Lerp(i32 s, i32 o, i64 d, i64 D) {
    return static_cast<i32>(s + ((static_cast<i64>(o) - s) * d) / D);
}

// One view plane (near: inside z > P; far: inside z < P); crossings from the outside corner,
// everything linear in view space.
i32 ClipViewPlane(bool far, i32 P, const CViewCorner* in, i32 n, CViewCorner* out, const CUVPair* uvIn,
                  CUVPair* uvOut, const i32* lightIn, i32* lightOut) {
    auto inside = [&](i32 c) { return far ? c < P : c > P; };
    i32 m = 0;
    auto cross = [&](i32 s, i32 o) {
        const CViewCorner& S = in[s];
        const CViewCorner& O = in[o];
        i64 d = static_cast<i64>(P) - S.z, D = static_cast<i64>(O.z) - S.z;
        out[m] = {Lerp(S.x, O.x, d, D), Lerp(S.y, O.y, d, D), P};
        if (uvIn) uvOut[m] = {Lerp(uvIn[s].u, uvIn[o].u, d, D), Lerp(uvIn[s].v, uvIn[o].v, d, D)};
        if (lightIn) lightOut[m] = Lerp(lightIn[s], lightIn[o], d, D);
        ++m;
    };
    auto keep = [&](i32 a) { Keep(out, m++, in, a, uvIn, uvOut, lightIn, lightOut); };
    for (i32 a = 0; a < n; ++a) {
        i32 b = a + 1 == n ? 0 : a + 1;
        i32 ca = in[a].z, cb = in[b].z;
        if (ca == P) {
            keep(a);
        } else if (inside(ca)) {
            keep(a);
            if (cb != P && !inside(cb)) cross(b, a);
        } else if (inside(cb)) {
            cross(a, b);
        }
    }
    return m;
}

// One edge of the view on the screen: `onY` picks the row (top, bottom) or the column (left, right);
// `lower` means inside is c > P (left, top: crossings from the outside corner), else c < P (right,
// bottom: crossings from the inside corner). The depth follows 1/z; u and v follow it too
// (perspective) or the screen (linear); the light follows the screen.
i32 ClipScreenEdge(bool onY, bool lower, i32 P, Texture texture, const CScreenVertex* in, i32 n,
                   CScreenVertex* out, const CUVPair* uvIn, CUVPair* uvOut, const i32* lightIn,
                   i32* lightOut) {
    auto coord = [&](const CScreenVertex& v) { return onY ? v.y : v.x; };
    auto inside = [&](i32 c) { return lower ? c > P : c < P; };
    i32 m = 0;
    auto cross = [&](i32 s, i32 o) {
        const CScreenVertex& S = in[s];
        const CScreenVertex& O = in[o];
        i64 d = static_cast<i64>(P) - coord(S), D = static_cast<i64>(coord(O)) - coord(S);
        i64 w = O.z + ((static_cast<i64>(S.z) - O.z) * d) / D;
        if (w == 0) w = 1;  // depths are positive after the near plane; keep the division defined
        CScreenVertex r;
        if (onY) {
            r.y = P;
            r.x = Lerp(S.x, O.x, d, D);
        } else {
            r.x = P;
            r.y = Lerp(S.y, O.y, d, D);
        }
        r.z = static_cast<i32>((static_cast<i64>(S.z) * O.z) / w);
        out[m] = r;
        if (uvIn) {
            auto persp = [&](i32 us, i32 uo) {
                i64 a = (static_cast<i64>(S.z) * uo - static_cast<i64>(O.z) * us) >> 9;
                i64 t = (a * (d >> 1)) / D;
                return static_cast<i32>((t * 1024 + static_cast<i64>(O.z) * us) / w);
            };
            if (texture == Texture::kPerspective)
                uvOut[m] = {persp(uvIn[s].u, uvIn[o].u), persp(uvIn[s].v, uvIn[o].v)};
            else
                uvOut[m] = {Lerp(uvIn[s].u, uvIn[o].u, d, D), Lerp(uvIn[s].v, uvIn[o].v, d, D)};
        }
        if (lightIn) lightOut[m] = Lerp(lightIn[s], lightIn[o], d, D);
        ++m;
    };
    auto keep = [&](i32 a) { Keep(out, m++, in, a, uvIn, uvOut, lightIn, lightOut); };
    for (i32 a = 0; a < n; ++a) {
        i32 b = a + 1 == n ? 0 : a + 1;
        i32 ca = coord(in[a]), cb = coord(in[b]);
        if (ca == P) {
            keep(a);
        } else if (inside(ca)) {
            keep(a);
            if (cb != P && !inside(cb)) lower ? cross(b, a) : cross(a, b);
        } else if (inside(cb)) {
            lower ? cross(a, b) : cross(b, a);
        }
    }
    return m;
}

}  // namespace

CScreenVertex CClipper::Project(const CViewCorner& c) const {
    i64 q = c.z != 0 ? projectionScale / c.z : 0;
    CScreenVertex s;
    s.x = static_cast<i32>(((c.x * q) >> 15) - centreColumn);
    s.y = static_cast<i32>(((-(c.y * q)) >> 15) - horizon);
    s.z = c.z;
    return s;
}

namespace {

struct Stages {
    CClipper& c;
    Texture texture;
    bool carryUV;
    bool carryLight;

    // Stages 1 to 7 from the input corners; stops as soon as fewer than 3 corners remain.
    i32 Run(i32 n) {
        n = ClipViewPlane(false, c.nearDepth, c.input, n, c.nearStage, carryUV ? c.uv : nullptr, c.uvScratch,
                          carryLight ? c.light : nullptr, c.lightScratch);
        if (n < 3) return n;
        n = ClipViewPlane(true, c.farDepth, c.nearStage, n, c.farStage, carryUV ? c.uvScratch : nullptr, c.uv,
                          carryLight ? c.lightScratch : nullptr, c.light);
        if (n < 3) return n;
        for (i32 i = 0; i < n; ++i) c.screen[i] = c.Project(c.farStage[i]);
        return Edges(n);
    }

    // Stages 4 to 7 from the screen corners.
    i32 Edges(i32 n) {
        const CUVPair* uv = carryUV ? c.uv : nullptr;
        const CUVPair* uvS = carryUV ? c.uvScratch : nullptr;
        const i32* l = carryLight ? c.light : nullptr;
        const i32* lS = carryLight ? c.lightScratch : nullptr;
        n = ClipScreenEdge(false, true, 0, texture, c.screen, n, c.screenScratch, uv, c.uvScratch, l,
                           c.lightScratch);
        if (n < 3) return n;
        n = ClipScreenEdge(false, false, c.xMax, texture, c.screenScratch, n, c.screen, uvS, c.uv, lS,
                           c.light);
        if (n < 3) return n;
        n = ClipScreenEdge(true, true, 0, texture, c.screen, n, c.screenScratch, uv, c.uvScratch, l,
                           c.lightScratch);
        if (n < 3) return n;
        return ClipScreenEdge(true, false, c.yMax, texture, c.screenScratch, n, c.screen, uvS, c.uv, lS,
                              c.light);
    }
};

}  // namespace

i32 CClipper::ClipFlatQuad() {
    inputCount = 4;
    return Stages{*this, Texture::kNone, false, false}.Run(4);
}

i32 CClipper::ClipTexturedPolygon(i32 count) {
    inputCount = count;
    if (count <= 0 || count > 4) return 0;
    return Stages{*this, Texture::kPerspective, true, false}.Run(count);
}

i32 CClipper::ClipTexturedQuadLinear() {
    inputCount = 4;
    return Stages{*this, Texture::kLinear, true, false}.Run(4);
}

i32 CClipper::ClipScreenQuad() {
    inputCount = -1;
    return Stages{*this, Texture::kLinear, true, false}.Edges(4);
}

i32 CClipper::ClipLitQuad() {
    inputCount = 4;
    return Stages{*this, Texture::kPerspective, true, true}.Run(4);
}
