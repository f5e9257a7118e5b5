// The town's people in one painted manner: each shape is a coverage mask whose blurred edge is read as
// height, so it rounds off in the light from the upper left and drops a soft shadow down and right on
// what lies under it. The grounds are dark, so the faces carry the picture. Clothes keep the colours of
// the person's sprite in the street (the women's wine dresses, the men's blue tunics) where the trade
// allows.
#include "tools/content/rules/NpcPortraits.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

// Named, not anonymous: the tests compile the builder's sources into one unit.
namespace npc_portraits {

constexpr int kSize = kNpcPortraitSize;
const Rgba kWhite = Rgb(0xFFFFFF);
const Rgba kLash = Rgb(0x2A1810);

// ---- Masks: white where the shape is, clear elsewhere, the edge anti-aliased. ----

Canvas Blank() { return Canvas(kSize, kSize, Rgba{255, 255, 255, 0}); }

float Cover(const Canvas& m, int x, int y) { return static_cast<float>(m.Get(x, y).a) / 255.0f; }

void SetCover(Canvas& m, int x, int y, float a) {
    m.Set(x, y, Rgba{255, 255, 255, static_cast<uint8_t>(std::lround(std::clamp(a, 0.0f, 1.0f) * 255.0f))});
}

// An ellipse sampled four times a row, so thin ones keep their ends.
void FillEllipse(Canvas& c, float cx, float cy, float rx, float ry, Rgba colour) {
    for (int y = static_cast<int>(cy - ry - 1); y <= static_cast<int>(cy + ry + 1); ++y)
        for (int x = static_cast<int>(cx - rx - 1); x <= static_cast<int>(cx + rx + 1); ++x) {
            float cov = 0;
            for (int s = 0; s < 4; ++s) {
                const float dy = (static_cast<float>(y) + 0.125f + 0.25f * static_cast<float>(s) - cy) / ry;
                if (std::fabs(dy) >= 1) continue;
                const float half = rx * std::sqrt(1 - dy * dy);
                cov += std::clamp(half - std::fabs(static_cast<float>(x) + 0.5f - cx) + 0.5f, 0.0f, 1.0f) / 4;
            }
            c.Blend(x, y, colour, cov);
        }
}

Canvas Ellipse(float cx, float cy, float rx, float ry) {
    Canvas m = Blank();
    FillEllipse(m, cx, cy, rx, ry, kWhite);
    return m;
}

Canvas Poly(const std::vector<Pt>& pts) {
    Canvas m = Blank();
    m.Polygon(pts, kWhite);
    return m;
}

Canvas Stroke(Pt a, Pt b, float thickness) {
    Canvas m = Blank();
    m.Line(a, b, thickness, kWhite);
    return m;
}

Canvas Plus(Canvas a, const Canvas& b) {
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) SetCover(a, x, y, std::max(Cover(a, x, y), Cover(b, x, y)));
    return a;
}

Canvas Minus(Canvas a, const Canvas& b) {
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) SetCover(a, x, y, Cover(a, x, y) * (1 - Cover(b, x, y)));
    return a;
}

Canvas Within(Canvas a, const Canvas& b) {
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) SetCover(a, x, y, Cover(a, x, y) * Cover(b, x, y));
    return a;
}

// Above (or below) a level: the half of the picture a shape is cut to.
Canvas Above(float y) { return Poly({{-1, -1}, {kSize + 1.0f, -1}, {kSize + 1.0f, y}, {-1, y}}); }
Canvas Below(float y) { return Poly({{-1, y}, {kSize + 1.0f, y}, {kSize + 1.0f, kSize + 1.0f}, {-1, kSize + 1.0f}}); }

// Two passes of a box blur each way, the edges of the picture held.
std::vector<float> Blur(const Canvas& m, int r) {
    std::vector<float> a(kSize * kSize), t(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) a[y * kSize + x] = Cover(m, x, y);
    if (r <= 0) return a;
    auto at = [](int v) { return std::clamp(v, 0, kSize - 1); };
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                float s = 0;
                for (int k = -r; k <= r; ++k) s += a[y * kSize + at(x + k)];
                t[y * kSize + x] = s / static_cast<float>(2 * r + 1);
            }
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                float s = 0;
                for (int k = -r; k <= r; ++k) s += t[at(y + k) * kSize + x];
                a[y * kSize + x] = s / static_cast<float>(2 * r + 1);
            }
    }
    return a;
}

// ---- The portrait being painted. ----

class Portrait {
public:
    // The ground: lighter towards the upper left where the light comes from, falling into the dark.
    explicit Portrait(Rgba ground) : c_(kSize, kSize, ground) {
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const float d = std::hypot(static_cast<float>(x) - 30.0f, static_cast<float>(y) - 24.0f) / 110.0f;
                Rgba p = Shade(ground, 1.35f - 0.85f * std::min(d, 1.0f));
                c_.Set(x, y, Grained(p, x, y, 0.05f));
            }
    }

    // A shape in a colour, rounded by its own edge (round: how far in the rounding reaches) and casting
    // its shadow down and right (shadow: how dark, 0 for none).
    void Lay(const Canvas& m, Rgba colour, int round = 4, float shadow = 0.35f) {
        if (shadow > 0) {
            const std::vector<float> s = Blur(m, 2);
            for (int y = 0; y < kSize; ++y)
                for (int x = 0; x < kSize; ++x) {
                    const float v = s[std::clamp(y - 3, 0, kSize - 1) * kSize + std::clamp(x - 2, 0, kSize - 1)];
                    if (v > 0.01f) c_.Set(x, y, Shade(c_.Get(x, y), 1 - shadow * v));
                }
        }
        const std::vector<float> h = Blur(m, round);
        const float k = 0.8f * static_cast<float>(2 * round + 1);
        const float lx = -0.45f, ly = -0.6f, lz = 0.66f;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const float cov = Cover(m, x, y);
                if (cov <= 0) continue;
                auto H = [&](int i, int j) { return h[std::clamp(j, 0, kSize - 1) * kSize + std::clamp(i, 0, kSize - 1)]; };
                const float gx = (H(x + 1, y) - H(x - 1, y)) * 0.5f * k, gy = (H(x, y + 1) - H(x, y - 1)) * 0.5f * k;
                const float n = std::sqrt(gx * gx + gy * gy + 1);
                const float lit = std::max(0.0f, (-gx * lx - gy * ly + lz) / n);
                const float lean = 1.06f - 0.12f * static_cast<float>(x + y) / (2.0f * kSize);
                c_.Blend(x, y, Grained(Lit(colour, (0.45f + 0.8f * lit) * lean), x, y, 0.035f), cov);
            }
    }

    // Fine lines of hair (or wool, or grain) inside a shape, fanning from a point.
    void Strands(const Canvas& within, Pt from, float angle0, float angle1, float length, int count, Rgba colour,
                 float alpha, uint32_t seed, float thickness = 0.8f) {
        Canvas lines = Blank();
        for (int i = 0; i < count; ++i) {
            const float j1 = static_cast<float>(Hash(seed + 17 * i) % 1000) / 1000.0f;
            const float j2 = static_cast<float>(Hash(seed * 7 + 31 * i) % 1000) / 1000.0f;
            const float a = angle0 + (angle1 - angle0) * (static_cast<float>(i) + j1) / static_cast<float>(count);
            const float start = length * 0.25f * j2, end = length * (0.75f + 0.4f * j1);
            lines.Line({from.x + std::cos(a) * start, from.y + std::sin(a) * start},
                       {from.x + std::cos(a) * end, from.y + std::sin(a) * end}, thickness, kWhite);
        }
        lines = Within(lines, within);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) c_.Blend(x, y, colour, Cover(lines, x, y) * alpha);
    }

    // A colour washed over a shape (blush, soot, a glow), its edge softened.
    void Wash(const Canvas& m, Rgba colour, float alpha, int soften = 2) {
        const std::vector<float> s = Blur(m, soften);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) c_.Blend(x, y, colour, s[y * kSize + x] * alpha);
    }

    Canvas& Paper() { return c_; }

    // A dark rim inside the picture's edge: the vignette of a painted portrait, and a line that keeps
    // it apart from the panel's own frame.
    Canvas Finish() {
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const int edge = std::min(std::min(x, y), std::min(kSize - 1 - x, kSize - 1 - y));
                if (edge < 6) c_.Set(x, y, Shade(c_.Get(x, y), 0.62f + 0.38f * static_cast<float>(edge) / 6.0f));
            }
        c_.Frame(0, 0, kSize, kSize, Rgb(0x0E0A06), 1);
        return c_;
    }

private:
    static Rgba Lit(Rgba colour, float f) {
        if (f <= 1) return Shade(colour, f);
        return Mix(colour, Rgb(0xFFF6E6), std::min(0.35f, (f - 1) * 0.9f));
    }
    static Rgba Grained(Rgba p, int x, int y, float amount) {
        const float g = static_cast<float>(Hash(static_cast<uint32_t>(x * 733 + y * 4211 + 99)) % 1000) / 1000.0f;
        Rgba out = Shade(p, 1 + amount * (2 * g - 1));
        out.a = p.a;
        return out;
    }
    Canvas c_;
};

// ---- The face and its features. ----

struct Face {
    float cx = 50, cy = 41, rx = 16, ry = 21;
    float jaw = 0.25f;  // how much the face narrows to the chin
    Rgba skin = Rgb(0xD8A880);
    float EyeY() const { return cy + 0.5f; }
    float EyeX(int side) const { return cx + static_cast<float>(side) * 0.42f * rx; }
    float MouthY() const { return cy + 0.7f * ry; }
};

Canvas FaceMask(const Face& f) {
    Canvas m = Blank();
    for (int y = static_cast<int>(f.cy - f.ry - 1); y <= static_cast<int>(f.cy + f.ry + 1); ++y)
        for (int x = static_cast<int>(f.cx - f.rx - 1); x <= static_cast<int>(f.cx + f.rx + 1); ++x) {
            float cov = 0;
            for (int s = 0; s < 4; ++s) {
                const float t = (static_cast<float>(y) + 0.125f + 0.25f * static_cast<float>(s) - f.cy) / f.ry;
                if (std::fabs(t) >= 1) continue;
                const float half = f.rx * std::sqrt(1 - t * t) * (t > 0 ? 1 - f.jaw * t * t : 1.0f);
                cov += std::clamp(half - std::fabs(static_cast<float>(x) + 0.5f - f.cx) + 0.5f, 0.0f, 1.0f) / 4;
            }
            SetCover(m, x, y, cov);
        }
    return m;
}

// The neck, the ears and the face, the features left to the callers.
void Head(Portrait& p, const Face& f, bool ears = true) {
    p.Lay(Poly({{f.cx - 7.5f, f.cy + 8}, {f.cx + 7.5f, f.cy + 8}, {f.cx + 8.5f, f.cy + 34}, {f.cx - 8.5f, f.cy + 34}}),
          Shade(f.skin, 0.82f), 3, 0.2f);
    if (ears)
        for (int side : {-1, 1}) p.Lay(Ellipse(f.cx + static_cast<float>(side) * f.rx, f.cy + 2, 3.2f, 5.5f), f.skin, 2, 0.2f);
    p.Lay(FaceMask(f), f.skin, 10, 0.4f);
}

struct EyeStyle {
    Rgba iris = Rgb(0x5A4028);
    bool lashes = false;  // a heavier upper lid
    float lid = 0;        // how far the upper lid droops (0 open, 1 half shut)
};

void Eyes(Portrait& p, const Face& f, EyeStyle e) {
    Canvas& c = p.Paper();
    for (int side : {-1, 1}) {
        const float x = f.EyeX(side), y = f.EyeY();
        c.Disc(x + 0.6f, y - 0.4f, 4.4f, Rgba{60, 30, 20, 40});  // the socket's shade
        FillEllipse(c, x, y, 3.0f, 1.7f - 0.6f * e.lid, Rgb(0xECE2D6));
        c.Disc(x + 0.3f, y + 0.1f, 1.45f, e.iris);
        c.Disc(x + 0.3f, y + 0.1f, 0.7f, Rgb(0x120C08));
        c.Disc(x - 0.3f, y - 0.5f, 0.45f, Rgb(0xFFFFFF));
        const float top = y - 1.9f + 0.8f * e.lid;
        const float lidW = e.lashes ? 1.3f : 0.95f;
        c.Line({x - 3.4f, y - 0.2f}, {x - 0.5f, top}, lidW, kLash);
        c.Line({x - 0.5f, top}, {x + 3.3f, y - 0.5f}, lidW, kLash);
        if (e.lashes) c.Line({x + static_cast<float>(side) * 3.0f, y - 0.7f}, {x + static_cast<float>(side) * 4.3f, y - 1.6f}, 0.8f, kLash);
        c.Line({x - 2.6f, y + 1.7f}, {x + 2.6f, y + 1.6f}, 0.7f, Rgba{90, 50, 35, 90});
    }
}

void Brows(Portrait& p, const Face& f, Rgba colour, float thickness, float lift = 0) {
    for (int side : {-1, 1}) {
        const float x = f.EyeX(side), y = f.EyeY() - 4.6f - lift;
        const float s = static_cast<float>(side);
        p.Paper().Line({x - 3.6f * s, y + 0.8f}, {x, y - 0.5f}, thickness, colour);
        p.Paper().Line({x, y - 0.5f}, {x + 3.8f * s, y + 0.6f}, thickness * 0.8f, colour);
    }
}

void Nose(Portrait& p, const Face& f, float length = 1) {
    Canvas& c = p.Paper();
    const Rgba shade = Shade(f.skin, 0.72f), light = Mix(f.skin, Rgb(0xFFF0E0), 0.35f);
    const float top = f.EyeY() + 1, tip = f.cy + 0.46f * f.ry * length;
    c.Line({f.cx + 1.6f, top + 2}, {f.cx + 2.2f, tip - 1}, 1.2f, Rgba{shade.r, shade.g, shade.b, 90});
    c.Line({f.cx - 0.6f, top + 2}, {f.cx - 0.4f, tip - 2}, 1.0f, Rgba{light.r, light.g, light.b, 110});
    c.Disc(f.cx - 2.0f, tip + 0.6f, 0.9f, shade);
    c.Disc(f.cx + 2.2f, tip + 0.6f, 1.0f, shade);
    c.Line({f.cx - 2.2f, tip + 1.6f}, {f.cx + 2.6f, tip + 1.6f}, 1.0f, Rgba{shade.r, shade.g, shade.b, 170});
}

// smile > 0 lifts the corners, < 0 draws them down; a crooked one lifts only the right.
void Mouth(Portrait& p, const Face& f, Rgba lip, float width, float smile, bool full, bool crooked = false) {
    Canvas& c = p.Paper();
    const float y = f.MouthY();
    if (full) {
        FillEllipse(c, f.cx, y + 0.6f, width * 0.85f, 1.9f, lip);
        FillEllipse(c, f.cx - 0.6f, y + 1.0f, width * 0.45f, 0.7f, Mix(lip, Rgb(0xFFE0D0), 0.35f));
    } else {
        c.Line({f.cx - width * 0.6f, y + 1.3f}, {f.cx + width * 0.6f, y + 1.3f}, 1.4f, Rgba{lip.r, lip.g, lip.b, 150});
    }
    const float left = crooked ? 0 : smile, right = smile;
    const Rgba line = Shade(lip, 0.55f);
    c.Line({f.cx - width, y - left}, {f.cx, y + 0.2f}, 1.0f, line);
    c.Line({f.cx, y + 0.2f}, {f.cx + width, y - right}, 1.0f, line);
}

void Blush(Portrait& p, const Face& f, Rgba colour, float alpha) {
    for (int side : {-1, 1})
        p.Wash(Ellipse(f.EyeX(side) + static_cast<float>(side) * 0.5f, f.cy + 8, 4, 3), colour, alpha, 2);
}

// ---- Shoulders and clothes. ----

Canvas Shoulders(float width = 1, float top = 72) {
    const float w = 44 * width;
    return Poly({{50 - w - 8, 101}, {50 - w, top + 12}, {50 - w * 0.55f, top + 1}, {50 - 10, top - 2},
                 {50 + 10, top - 2}, {50 + w * 0.55f, top + 1}, {50 + w, top + 12}, {50 + w + 8, 101}});
}

// ---- The people. ----

// Maren, the innkeeper: auburn hair gathered into a bun, a wine dress over a white chemise, an apron's
// straps, a warm smile; the ground is the brown of the inn's hearth-side.
Canvas Maren() {
    Portrait p(Rgb(0x3A2416));
    Face f;
    f.skin = Rgb(0xE4B494);
    f.rx = 15.5f;
    const Rgba hair = Rgb(0x7A4420), dress = Rgb(0x8A3444), linen = Rgb(0xE8DEC8);
    p.Lay(Ellipse(50, 17, 10, 8), hair, 4);  // the bun, high at the back
    p.Strands(Ellipse(50, 17, 10, 8), {50, 17}, 0, 6.28f, 10, 18, Mix(hair, Rgb(0xE09050), 0.5f), 0.5f, 11);
    const Canvas body = Shoulders(0.95f);
    p.Lay(body, dress, 5, 0.3f);
    p.Lay(Within(Poly({{35, 70}, {65, 70}, {61, 88}, {39, 88}}), body), linen, 3, 0.25f);  // the chemise
    p.Lay(Within(Poly({{30, 86}, {70, 86}, {74, 101}, {26, 101}}), body), dress, 3, 0.3f);  // the bodice
    for (int side : {-1, 1}) {
        const float s = static_cast<float>(side);
        p.Lay(Poly({{50 + 13 * s, 70}, {50 + 19 * s, 70}, {50 + 17 * s, 101}, {50 + 11 * s, 101}}), linen, 2, 0.3f);
    }
    p.Paper().Line({40, 91}, {60, 91}, 1.2f, Rgb(0xD8C090));  // the lacing
    Head(p, f);
    // Hair drawn back from a centre parting over the ears into the bun.
    const Canvas cap = Minus(Ellipse(50, 37, 18, 18.5f), Ellipse(50, 47, 15.5f, 21));
    p.Lay(cap, hair, 4, 0.45f);
    p.Strands(cap, {50, 19}, 1.7f, 3.3f, 26, 16, Mix(hair, Rgb(0xE09050), 0.45f), 0.45f, 12);
    p.Strands(cap, {50, 19}, -0.2f, 1.45f, 26, 16, Mix(hair, Rgb(0xE09050), 0.45f), 0.45f, 13);
    Eyes(p, f, {Rgb(0x5A7A3A), true, 0.1f});
    Brows(p, f, Shade(hair, 0.8f), 1.2f, 0.5f);
    Nose(p, f, 0.95f);
    Mouth(p, f, Rgb(0xB8585A), 4.5f, 1.3f, true);
    Blush(p, f, Rgb(0xE07060), 0.22f);
    return p.Finish();
}

// Tamsin, the shepherd: young, freckled, a green headscarf knotted under her chin over a fringe of
// light brown hair, a brown woollen shawl over her dress; the ground the grey-green of the downs at
// dusk.
Canvas Tamsin() {
    Portrait p(Rgb(0x26302A));
    Face f;
    f.skin = Rgb(0xDCA47C);
    f.rx = 15;
    f.ry = 20;
    f.cy = 42;
    const Rgba scarf = Rgb(0x5E7A3A), wool = Rgb(0x7A5A3A), dress = Rgb(0x8A3444), hair = Rgb(0x9A6A3A);
    // The scarf's fall behind the neck and over the shoulders.
    p.Lay(Poly({{30, 40}, {70, 40}, {74, 78}, {26, 78}}), Shade(scarf, 0.8f), 4, 0.3f);
    const Canvas body = Shoulders(0.95f);
    p.Lay(body, dress, 5, 0.3f);
    const Canvas shawl = Within(Plus(Poly({{0, 80}, {30, 72}, {50, 95}, {70, 72}, {100, 80}, {100, 101}, {0, 101}}),
                                     Poly({{20, 74}, {42, 70}, {50, 92}, {58, 70}, {80, 74}, {58, 96}, {42, 96}})),
                                body);
    p.Lay(shawl, wool, 4, 0.35f);
    p.Strands(shawl, {50, 60}, 0.3f, 2.8f, 60, 40, Shade(wool, 0.7f), 0.45f, 21, 0.9f);
    Head(p, f, false);
    const Canvas fringe = Within(Minus(Ellipse(50, 36, 16, 16), Ellipse(50, 45, 15, 18.5f)), Below(24));
    p.Lay(fringe, hair, 3, 0.35f);
    p.Strands(fringe, {50, 20}, 0.4f, 2.7f, 16, 16, Mix(hair, Rgb(0xF0C080), 0.5f), 0.5f, 22);
    // The scarf framing the face, and its knot under the chin.
    const Canvas hood = Minus(Plus(Ellipse(50, 38, 21, 22), Poly({{31, 44}, {69, 44}, {62, 64}, {38, 64}})),
                              Plus(Ellipse(50, 44.5f, 15.2f, 19.5f), Below(64)));
    p.Lay(hood, scarf, 5, 0.45f);
    p.Strands(hood, {50, 70}, 3.5f, 5.9f, 50, 16, Mix(scarf, Rgb(0xD8E0A0), 0.3f), 0.35f, 23, 1.0f);
    p.Lay(Ellipse(50, 66, 5, 3.5f), scarf, 2, 0.4f);
    p.Lay(Poly({{47, 67}, {53, 67}, {56, 76}, {50, 74}, {45, 77}}), Shade(scarf, 0.9f), 2, 0.3f);
    Eyes(p, f, {Rgb(0x4A6A8A), true, 0});
    Brows(p, f, Shade(hair, 0.7f), 1.0f, 1.0f);
    Nose(p, f, 0.9f);
    Mouth(p, f, Rgb(0xC0605A), 4, 0.8f, true);
    Blush(p, f, Rgb(0xE06050), 0.3f);
    for (int i = 0; i < 14; ++i) {  // freckles over the nose and cheeks
        const float x = 40 + static_cast<float>(Hash(300 + i) % 200) / 10.0f, y = 45 + static_cast<float>(Hash(400 + i) % 50) / 10.0f;
        if (std::fabs(x - 50) > 2.5f) p.Paper().Disc(x, y, 0.55f, Rgba{140, 80, 40, 110});
    }
    return p.Finish();
}

// Ysolde, the enchanter: long black hair under a silver circlet with a blue stone, a plum robe with a
// gold-trimmed neckline and a softly glowing pendant; the ground a deep indigo.
Canvas Ysolde() {
    Portrait p(Rgb(0x1E1A34));
    Face f;
    f.skin = Rgb(0xE8C8B0);
    f.rx = 15;
    f.jaw = 0.3f;
    const Rgba hair = Rgb(0x1E1822), robe = Rgb(0x5A2A62), gold = Rgb(0xC9A040);
    const Rgba sheen = Rgb(0x6A6080);
    const Canvas back = Plus(Ellipse(50, 40, 21, 24), Poly({{29, 40}, {71, 40}, {78, 96}, {22, 96}}));
    p.Lay(back, hair, 5, 0.3f);
    p.Strands(back, {50, -30}, 1.25f, 1.9f, 130, 30, sheen, 0.4f, 31);
    const Canvas body = Shoulders(0.9f);
    p.Lay(body, robe, 5, 0.3f);
    const Canvas neckline = Poly({{40, 70}, {60, 70}, {50, 92}});
    p.Lay(Within(Stroke({38, 69}, {50, 93}, 3), body), gold, 1, 0.25f);
    p.Lay(Within(Stroke({62, 69}, {50, 93}, 3), body), gold, 1, 0.25f);
    Head(p, f, false);
    p.Lay(Within(neckline, Below(62)), Shade(f.skin, 0.92f), 3, 0);
    p.Paper().Line({43, 70}, {50, 82}, 0.8f, Rgb(0xB0A080));  // the pendant's chain
    p.Paper().Line({57, 70}, {50, 82}, 0.8f, Rgb(0xB0A080));
    p.Wash(Ellipse(50, 84, 5, 5), Rgb(0x90C8FF), 0.45f, 3);
    p.Lay(Ellipse(50, 84, 2.4f, 2.8f), Rgb(0x70A8F0), 1, 0.3f);
    p.Paper().Disc(49.3f, 83.2f, 0.8f, Rgb(0xF0F8FF));
    // The hair parted in the middle, falling in two locks over the shoulders.
    const Canvas crown = Minus(Ellipse(50, 38, 17.5f, 19), Ellipse(50, 46, 14.5f, 19.5f));
    const Canvas locks = Plus(Poly({{33, 34}, {38, 44}, {37, 66}, {33, 92}, {25, 90}, {30, 60}}),
                              Poly({{67, 34}, {62, 44}, {63, 66}, {67, 92}, {75, 90}, {70, 60}}));
    const Canvas front = Plus(crown, locks);
    p.Lay(front, hair, 4, 0.45f);
    p.Strands(front, {50, 20}, 0.1f, 3.0f, 80, 34, sheen, 0.45f, 32);
    // The circlet across the brow, its stone in the middle.
    p.Lay(Within(Minus(Ellipse(50, 40, 16.5f, 16), Ellipse(50, 41.5f, 16, 16)), Above(30)), Rgb(0xC8CCD8), 1, 0.3f);
    p.Lay(Ellipse(50, 24.5f, 1.8f, 2.2f), Rgb(0x3A6AD8), 1, 0.3f);
    Eyes(p, f, {Rgb(0x6A5AA0), true, 0.35f});
    Brows(p, f, hair, 1.0f, 1.2f);
    Nose(p, f, 1.0f);
    Mouth(p, f, Rgb(0x9A4A5A), 3.8f, 0.3f, true);
    Blush(p, f, Rgb(0xD07080), 0.12f);
    return p.Finish();
}

// Hesper, the merchant: honey-fair hair in a thick braid over her shoulder, gold at her ears and throat,
// a dark green shawl pinned with a brooch over her wine dress; the ground a dark teal.
Canvas Hesper() {
    Portrait p(Rgb(0x18302E));
    Face f;
    f.skin = Rgb(0xDCAA84);
    f.rx = 15.5f;
    const Rgba hair = Rgb(0xB08A48), dress = Rgb(0x8A3444), shawl = Rgb(0x2E4A32), gold = Rgb(0xD8B048);
    const Rgba light = Mix(hair, Rgb(0xFFF0C0), 0.45f);
    p.Lay(Ellipse(50, 40, 19.5f, 22), hair, 5, 0.3f);  // the hair behind the head
    const Canvas body = Shoulders(0.95f);
    p.Lay(body, dress, 5, 0.3f);
    const Canvas wrap = Within(Plus(Poly({{0, 82}, {28, 72}, {44, 101}, {0, 101}}), Poly({{100, 82}, {72, 72}, {56, 101}, {100, 101}})), body);
    p.Lay(wrap, shawl, 4, 0.4f);
    p.Strands(wrap, {50, 40}, 0.6f, 2.6f, 80, 24, Mix(shawl, Rgb(0xA0C090), 0.3f), 0.35f, 41);
    Head(p, f);
    for (int side : {-1, 1}) {  // the earrings
        const float x = f.cx + static_cast<float>(side) * (f.rx + 0.5f);
        p.Lay(Ellipse(x, f.cy + 9, 1.4f, 1.8f), gold, 1, 0.3f);
    }
    const Canvas chain = Within(Minus(Ellipse(50, 64, 11, 11), Ellipse(50, 64, 10, 10)), Below(66));
    p.Lay(chain, gold, 1, 0.3f);
    p.Lay(Ellipse(50, 75, 2.2f, 2.6f), Rgb(0xA02A3A), 1, 0.35f);  // a garnet on the chain
    p.Lay(Ellipse(34, 84, 4, 3.5f), gold, 2, 0.4f);                  // the brooch
    p.Lay(Ellipse(34, 84, 1.7f, 1.5f), Rgb(0x3A8A5A), 1, 0);
    // The hair swept from the parting; the braid over her right shoulder (the picture's left).
    const Canvas cap = Minus(Ellipse(50, 37, 18, 18.5f), Ellipse(52, 46, 15.5f, 20.5f));
    p.Lay(cap, hair, 4, 0.45f);
    p.Strands(cap, {44, 19}, 1.6f, 3.3f, 24, 14, light, 0.5f, 42);
    p.Strands(cap, {44, 19}, -0.2f, 1.5f, 30, 16, light, 0.5f, 43);
    const Canvas braid = Plus(Stroke({36, 50}, {31, 92}, 9), Ellipse(36, 50, 5, 5));
    p.Lay(braid, hair, 3, 0.4f);
    for (int k = 0; k < 7; ++k) {  // the crossings of the plait
        const float y = 52 + 6.0f * static_cast<float>(k), x = 35.5f - 0.65f * static_cast<float>(k) * 1.0f;
        const float s = k % 2 ? 1.0f : -1.0f;
        p.Paper().Line({x - 4.2f * s, y - 2.5f}, {x + 4.2f * s, y + 2.5f}, 1.0f, Rgba{90, 60, 24, 170});
        p.Paper().Line({x - 3 * s, y - 3}, {x + 2 * s, y}, 0.8f, Rgba{255, 236, 180, 110});
    }
    p.Lay(Ellipse(28.5f, 97, 2.5f, 2), Rgb(0x6A2A2A), 1, 0.3f);  // the ribbon at its end
    Eyes(p, f, {Rgb(0x4A6A5A), true, 0.15f});
    Brows(p, f, Shade(hair, 0.6f), 1.1f, 0.8f);
    Nose(p, f, 1.0f);
    Mouth(p, f, Rgb(0xB0484A), 4.2f, 0.9f, true);
    Blush(p, f, Rgb(0xE07060), 0.18f);
    return p.Finish();
}

// Aldo, the trainer: cropped dark hair, stubble and a scar over his cheekbone, a strong jaw, a leather
// jerkin buckled over his blue tunic; the ground a cool slate.
Canvas Aldo() {
    Portrait p(Rgb(0x242A32));
    Face f;
    f.skin = Rgb(0xC89068);
    f.rx = 16.5f;
    f.jaw = 0.12f;
    const Rgba hair = Rgb(0x2E2018), tunic = Rgb(0x3A5A9A), leather = Rgb(0x8A5A32);
    const Canvas body = Shoulders(1.05f, 71);
    p.Lay(body, tunic, 5, 0.3f);
    const Canvas jerkin = Within(Minus(Shoulders(1.05f, 73), Poly({{38, 60}, {62, 60}, {54, 101}, {46, 101}})), body);
    p.Lay(jerkin, leather, 4, 0.4f);
    p.Strands(jerkin, {50, 30}, 1.0f, 2.1f, 80, 12, Shade(leather, 0.75f), 0.35f, 51);
    for (int side : {-1, 1}) {  // the stitched seams at the shoulders and a buckled strap
        const float s = static_cast<float>(side);
        p.Paper().Line({50 + 22 * s, 76}, {50 + 30 * s, 101}, 0.8f, Rgba{60, 36, 18, 160});
    }
    for (int k = 0; k < 3; ++k) {  // the lacing across the opening
        const float y = 80 + 6.5f * static_cast<float>(k);
        p.Paper().Line({44.5f + 0.5f * k, y}, {55.5f - 0.5f * k, y + 4}, 1.1f, Rgb(0x4A2E18));
        p.Paper().Line({55.5f - 0.5f * k, y}, {44.5f + 0.5f * k, y + 4}, 1.1f, Rgb(0x5A3A20));
    }
    Head(p, f);
    const Canvas cap = Minus(Ellipse(50, 36, 18, 17), Ellipse(50, 44, 16.8f, 19.5f));
    p.Lay(cap, hair, 3, 0.4f);
    p.Strands(cap, {50, 40}, 3.5f, 5.9f, 30, 30, Rgb(0x5A4232), 0.45f, 52, 0.7f);
    p.Wash(Within(Minus(FaceMask(f), Ellipse(50, 38, 14, 13.5f)), Below(40)), Rgb(0x3A2A22), 0.15f, 1);
    for (int i = 0; i < 90; ++i) {  // stubble over the jaw and the lip
        const float x = 36 + static_cast<float>(Hash(500 + i) % 280) / 10.0f, y = 48 + static_cast<float>(Hash(700 + i) % 150) / 10.0f;
        if (Cover(FaceMask(f), static_cast<int>(x), static_cast<int>(y)) > 0.5f && std::fabs(y - f.MouthY()) > 1.2f)
            p.Paper().Disc(x, y, 0.4f, Rgba{50, 34, 26, 45});
    }
    Eyes(p, f, {Rgb(0x4A3A28), false, 0.3f});
    Brows(p, f, hair, 1.8f, -0.3f);
    Nose(p, f, 1.05f);
    Mouth(p, f, Rgb(0x9A5A48), 4.5f, -0.2f, false);
    p.Paper().Line({58, 44}, {63, 50}, 1.0f, Rgba{232, 190, 160, 150});  // the scar
    p.Paper().Line({58.6f, 44.8f}, {63.4f, 50.6f}, 0.5f, Rgba{140, 70, 50, 120});
    return p.Finish();
}

// Corwen, the smith: bald and broad, a full dark beard, heavy brows, soot on his brow, a leather apron
// over his blue shirt; the ground glows faintly with the forge.
Canvas Corwen() {
    Portrait p(Rgb(0x3A1E14));
    Face f;
    f.skin = Rgb(0xD09070);
    f.rx = 16.5f;
    f.ry = 20.5f;
    f.cy = 40;
    f.jaw = 0.1f;
    const Rgba beard = Rgb(0x2A1A12), shirt = Rgb(0x3A5A9A), apron = Rgb(0x5A3A22);
    p.Wash(Ellipse(86, 90, 20, 16), Rgb(0xE07020), 0.25f, 6);  // the forge's glow behind him
    const Canvas body = Shoulders(1.1f, 70);
    p.Lay(body, shirt, 5, 0.3f);
    p.Strands(body, {50, 10}, 1.2f, 1.95f, 95, 10, Shade(shirt, 0.75f), 0.3f, 61);  // the shirt's folds
    const Canvas bib = Within(Poly({{33, 80}, {67, 80}, {70, 101}, {30, 101}}), body);
    p.Lay(bib, apron, 4, 0.45f);
    p.Strands(bib, {50, 20}, 1.3f, 1.85f, 90, 8, Shade(apron, 0.7f), 0.4f, 62);
    for (int side : {-1, 1}) {  // the apron's strap round his neck, riveted to the bib
        const float s = static_cast<float>(side);
        p.Lay(Stroke({50 + 16 * s, 81}, {50 + 10 * s, 64}, 3.5f), apron, 1, 0.35f);
        p.Lay(Ellipse(50 + 15.5f * s, 82.5f, 1.2f, 1.2f), Rgb(0xB8C0C8), 1, 0);
    }
    Head(p, f);
    p.Wash(Ellipse(44, 27, 6, 2.5f), Rgb(0x2A2018), 0.25f, 2);  // soot on the brow
    // A fringe of close hair round the back of the head, and the beard from ear to ear.
    const Canvas fringe = Within(Minus(Ellipse(50, 40, 17.2f, 19), Ellipse(50, 37, 15.8f, 21)), Below(34));
    p.Lay(fringe, beard, 2, 0.3f);
    const Canvas full = Within(Minus(Plus(Ellipse(50, 52, 17, 18), Poly({{33.5f, 40}, {37, 40}, {38, 50}, {33.5f, 50}})),
                                     Ellipse(50, 40, 13.5f, 12.5f)),
                               Below(39));
    const Canvas beardAll = Plus(full, Minus(Poly({{35, 50}, {65, 50}, {63, 72}, {50, 76}, {37, 72}}),
                                             Ellipse(50, 39, 13.5f, 12.5f)));
    p.Lay(beardAll, beard, 4, 0.45f);
    p.Strands(beardAll, {50, 30}, 0.6f, 2.55f, 48, 40, Rgb(0x5A3E2A), 0.5f, 63);
    p.Lay(Plus(Ellipse(46, 53, 5, 2.2f), Ellipse(54, 53, 5, 2.2f)), Shade(beard, 1.2f), 2, 0.4f);  // moustache
    p.Paper().Line({47, 56.6f}, {53, 56.6f}, 1.3f, Rgb(0x5A2A22));
    Eyes(p, f, {Rgb(0x3A2A20), false, 0.35f});
    Brows(p, f, beard, 2.4f, -0.5f);
    Nose(p, f, 1.1f);
    return p.Finish();
}

// Fenn, the card player: a dark green hat with a feather and a card tucked in its band, a thin
// moustache and a sly half smile, a red waistcoat over his blue tunic; the ground the amber dark of
// the inn's corner table.
Canvas Fenn() {
    Portrait p(Rgb(0x32281A));
    Face f;
    f.skin = Rgb(0xD4A078);
    f.rx = 15;
    f.cy = 43;
    f.ry = 20;
    f.jaw = 0.3f;
    const Rgba hair = Rgb(0x3A2A1C), tunic = Rgb(0x3A5A9A), vest = Rgb(0x8A2A2A), felt = Rgb(0x2E4A36);
    const Canvas body = Shoulders(0.95f, 73);
    p.Lay(body, tunic, 5, 0.3f);
    const Canvas waistcoat = Within(Plus(Poly({{10, 101}, {18, 82}, {38, 74}, {47, 101}}), Poly({{90, 101}, {82, 82}, {62, 74}, {53, 101}})), body);
    p.Lay(waistcoat, vest, 4, 0.4f);
    for (int k = 0; k < 3; ++k) p.Lay(Ellipse(45, 84 + 6.0f * static_cast<float>(k), 1.3f, 1.3f), Rgb(0xD8B048), 1, 0.3f);
    p.Lay(Poly({{42, 70}, {58, 70}, {56, 78}, {50, 82}, {44, 78}}), Rgb(0xE0D8C8), 2, 0.3f);  // the shirt's collar
    Head(p, f);
    p.Lay(Within(Minus(Ellipse(50, 41, 17, 17), Ellipse(50, 44, 15.2f, 19)), Below(30)), hair, 2, 0.3f);
    // The hat: a crown with its band, the brim tilted, a feather and a card in the band.
    p.Lay(Poly({{22, 31}, {36, 24}, {66, 22}, {80, 26}, {74, 32}, {50, 31}}), felt, 3, 0.5f);
    p.Lay(Poly({{34, 26}, {37, 9}, {50, 6}, {63, 8}, {66, 25}}), felt, 5, 0.3f);
    p.Lay(Poly({{34.5f, 20}, {65.5f, 19}, {66, 25}, {34, 26}}), Rgb(0x5A3A1E), 1, 0.2f);
    p.Lay(Poly({{57, 20}, {64, 18}, {66, 10}, {59, 11}}), Rgb(0xF0ECE0), 1, 0.35f);
    p.Paper().Disc(62, 14, 1.3f, Rgb(0xB02222));
    const Canvas feather = Poly({{36, 22}, {26, 6}, {21, 2}, {27, 10}, {33, 22}});
    p.Lay(feather, Rgb(0xB84A2A), 2, 0.35f);
    p.Strands(feather, {34, 22}, 3.9f, 4.3f, 24, 8, Rgb(0xF0C060), 0.5f, 71);
    Eyes(p, f, {Rgb(0x3A6A4A), false, 0.45f});
    Brows(p, f, hair, 1.4f, 0.4f);
    p.Paper().Line({f.EyeX(1) - 3, f.EyeY() - 6.5f}, {f.EyeX(1) + 3, f.EyeY() - 6.8f}, 1.2f, hair);  // one brow cocked
    Nose(p, f, 1.05f);
    Mouth(p, f, Rgb(0x9A5A48), 4.5f, 1.6f, false, true);
    p.Paper().Line({44, f.MouthY() - 2.2f}, {50, f.MouthY() - 1.6f}, 1.2f, hair);  // the moustache
    p.Paper().Line({50, f.MouthY() - 1.6f}, {56.5f, f.MouthY() - 2.6f}, 1.2f, hair);
    p.Paper().Line({50, f.MouthY() + 3.8f}, {50, f.MouthY() + 5.6f}, 1.4f, hair);  // and the tuft below the lip
    return p.Finish();
}

// Bram, the elder: white hair thinning over a high brow, a long white beard to his chest, lined and
// kind, a brown cloak over a grey-blue robe; the ground the dark olive of his garden.
Canvas Bram() {
    Portrait p(Rgb(0x2A2E1C));
    Face f;
    f.skin = Rgb(0xE0B498);
    f.rx = 15.5f;
    f.cy = 40;
    const Rgba white = Rgb(0xE4E0D8), robe = Rgb(0x4A5A7A), cloak = Rgb(0x6A4A2E);
    const Rgba silver = Rgb(0xA8A49C);
    const Canvas body = Shoulders(0.95f, 73);
    p.Lay(body, robe, 5, 0.3f);
    const Canvas mantle = Within(Plus(Poly({{0, 82}, {26, 72}, {40, 101}, {0, 101}}), Poly({{100, 82}, {74, 72}, {60, 101}, {100, 101}})), body);
    p.Lay(mantle, cloak, 4, 0.4f);
    p.Strands(mantle, {50, 30}, 0.7f, 2.45f, 90, 16, Shade(cloak, 0.7f), 0.4f, 81);
    Head(p, f);
    // Wisps of hair at the temples and behind the ears; the crown bare.
    const Canvas sides = Within(Minus(Ellipse(50, 40, 18.5f, 20), Ellipse(50, 39, 15.2f, 21)), Below(30));
    p.Lay(sides, white, 3, 0.35f);
    p.Strands(sides, {50, 30}, 0.0f, 3.14f, 30, 24, silver, 0.5f, 82);
    for (int k = 0; k < 3; ++k) {  // lines on the brow
        const float y = 27.5f + 2.6f * static_cast<float>(k);
        p.Paper().Line({43, y}, {57, y - 0.4f}, 0.7f, Rgba{150, 90, 70, 90});
    }
    for (int side : {-1, 1}) {  // crow's feet
        const float x = f.EyeX(side) + static_cast<float>(side) * 4, y = f.EyeY();
        for (int k = -1; k <= 1; ++k)
            p.Paper().Line({x, y}, {x + static_cast<float>(side) * 2.5f, y + 1.5f * static_cast<float>(k)}, 0.6f, Rgba{150, 90, 70, 110});
    }
    const Canvas beard = Minus(Plus(Within(Ellipse(50, 50, 16.5f, 16), Below(47)),
                                    Poly({{36, 54}, {64, 54}, {60, 80}, {54, 94}, {50, 97}, {46, 94}, {40, 80}})),
                               Ellipse(50, 49, 6, 3.5f));
    const Canvas beardAll = Plus(beard, Within(Poly({{33, 40}, {37, 40}, {38, 52}, {34, 54}}), Below(40)));
    p.Lay(beardAll, white, 4, 0.45f);
    p.Strands(beardAll, {50, 30}, 1.15f, 2.0f, 70, 40, silver, 0.55f, 83);
    p.Lay(Plus(Ellipse(45.5f, 54, 5.5f, 2.2f), Ellipse(54.5f, 54, 5.5f, 2.2f)), white, 2, 0.4f);  // moustache
    p.Paper().Line({47.5f, 57}, {52.5f, 57}, 1.1f, Rgb(0x8A5A4A));
    Eyes(p, f, {Rgb(0x5A7A9A), false, 0.45f});
    Brows(p, f, white, 2.2f, 0);
    Nose(p, f, 1.15f);
    return p.Finish();
}

const std::map<std::string, std::function<Canvas()>>& People() {
    static const std::map<std::string, std::function<Canvas()>> people = {
        {"bres_npc_aldo", Aldo},     {"bres_npc_bram", Bram},     {"bres_npc_corwen", Corwen},
        {"bres_npc_fenn", Fenn},     {"bres_npc_hesper", Hesper}, {"bres_npc_maren", Maren},
        {"bres_npc_tamsin", Tamsin}, {"bres_npc_ysolde", Ysolde}};
    return people;
}

}  // namespace npc_portraits

std::vector<std::string> NpcPortraitNames() {
    std::vector<std::string> names;
    for (const auto& [name, paint] : npc_portraits::People()) names.push_back(name);
    return names;
}

Canvas PaintNpcPortrait(const std::string& name) {
    const auto& people = npc_portraits::People();
    const auto it = people.find(name);
    return it == people.end() ? Canvas() : it->second();
}
