#include "tools/content/world/Scenery.h"

#include <algorithm>
#include <cmath>

#include "tools/content/art3d/WorldArt.h"

namespace world {

// Named, not anonymous: the tests compile the builder's sources into one unit.
namespace scenery_paint {

constexpr Rgba kClear = Rgba{0, 0, 0, 0};

float Noise(int x, int y, uint32_t seed) {
    return static_cast<float>(Hash(static_cast<uint32_t>(x) * 7919u + static_cast<uint32_t>(y) * 104729u +
                                   seed * 31337u) %
                              1000) /
           1000.0f;
}

// Smooth value noise with a period of `cell` texels that tiles over a w x h texture.
float Soft(int x, int y, int cell, int w, int h, uint32_t seed) {
    const int nx = std::max(1, w / cell), ny = std::max(1, h / cell);
    const int cx = x / cell, cy = y / cell;
    const float fx = static_cast<float>(x % cell) / static_cast<float>(cell);
    const float fy = static_cast<float>(y % cell) / static_cast<float>(cell);
    auto at = [&](int i, int j) { return Noise((i % nx + nx) % nx, (j % ny + ny) % ny, seed); };
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float a = at(cx, cy) + (at(cx + 1, cy) - at(cx, cy)) * sx;
    const float b = at(cx, cy + 1) + (at(cx + 1, cy + 1) - at(cx, cy + 1)) * sx;
    return a + (b - a) * sy;
}

// Fills and discs blend, so clearing needs its own: these make texels see-through.
void EraseRect(Canvas& c, int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) c.Set(x, y, kClear);
}
void EraseDisc(Canvas& c, float cx, float cy, float r) {
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (std::hypot(x + 0.5f - cx, y + 0.5f - cy) < r) c.Set(x, y, kClear);
}

// Shades every opaque texel of a sprite by its place: lighter towards the upper left, darker towards
// the lower right and near its foot, with a little grain.
void LightFromUpperLeft(Canvas& c, uint32_t seed) {
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const Rgba p = c.Get(x, y);
            if (p.a == 0) continue;
            const float lean = 1.12f - 0.25f * (static_cast<float>(x) / w) - 0.2f * (static_cast<float>(y) / h);
            const float grain = 0.92f + 0.16f * Noise(x, y, seed);
            Rgba shaded = Shade(p, lean * grain);
            shaded.a = p.a;
            c.Set(x, y, shaded);
        }
}

// Stone blocks inside a shape: courses `course` texels high, blocks `length` long.
void StoneBlocks(Canvas& c, const Canvas& shape, Rgba stone, Rgba mortar, int course, int length,
                 uint32_t seed) {
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            if (shape.Get(x, y).a == 0) continue;
            const int row = y / course;
            const int shifted = x + ((row & 1) ? length / 2 : 0);
            const bool joint = (y % course) < 2 || (shifted % length) < 2;
            const float tone = 0.85f + 0.3f * Noise(shifted / length, row, seed);
            c.Set(x, y, joint ? mortar : Shade(stone, tone));
        }
}

// An arch of dressed stone round a stair that climbs into the dark: the way between the town and
// the cellar, seen from either end.
Canvas Stairs() {
    Canvas c(128, 128, kClear);
    Canvas outer(128, 128, kClear);
    outer.Disc(64, 58, 56, Rgb(0xFFFFFF));
    outer.Fill(8, 58, 112, 70, Rgb(0xFFFFFF));
    StoneBlocks(c, outer, Rgb(0x7A746A), Rgb(0x34322E), 14, 28, 41);
    // The opening, black at its top where the stair turns away.
    Canvas inner(128, 128, kClear);
    inner.Disc(64, 62, 34, Rgb(0xFFFFFF));
    inner.Fill(30, 62, 68, 66, Rgb(0xFFFFFF));
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            if (inner.Get(x, y).a) c.Set(x, y, Mix(Rgb(0x050404), Rgb(0x2A241E), static_cast<float>(y) / 128));
    // Seven steps, the nearest widest and lightest.
    for (int i = 0; i < 7; ++i) {
        const int top = 116 - i * 9, inset = 30 + i * 3;
        const float light = 1.0f - 0.12f * static_cast<float>(i);
        const Rgba riser = Shade(Rgb(0x6A645A), light * 0.7f), tread = Shade(Rgb(0x8E877A), light);
        c.Fill(inset, top, 128 - 2 * inset, 12, riser);
        c.Fill(inset, top, 128 - 2 * inset, 3, tread);
    }
    // The keystone.
    c.Polygon({{56, 2}, {72, 2}, {69, 16}, {59, 16}}, Rgb(0x8E877A));
    LightFromUpperLeft(c, 42);
    return c;
}

// A dark fir: three tiers of needles over a short trunk.
Canvas Fir() {
    Canvas c(80, 160, kClear);
    c.Fill(36, 126, 8, 34, Rgb(0x4A3020));
    const Rgba needles[3] = {Rgb(0x1E4A26), Rgb(0x245A2C), Rgb(0x2A6632)};
    for (int tier = 0; tier < 3; ++tier) {
        const float top = 4.0f + 38 * tier, bottom = 64.0f + 32 * tier, half = 20.0f + 9 * tier;
        c.Polygon({{40, top}, {40 + half, bottom}, {40 - half, bottom}}, needles[tier]);
    }
    for (int y = 0; y < 130; ++y)
        for (int x = 0; x < 80; ++x)
            if (c.Get(x, y).a && Noise(x / 2, y / 3, 51) > 0.8f) c.Set(x, y, Rgb(0x163A1C));
    LightFromUpperLeft(c, 52);
    return c;
}

// A low round bush with a few red berries.
Canvas Bush() {
    Canvas c(80, 52, kClear);
    c.Disc(24, 32, 20, Rgb(0x2E5A22));
    c.Disc(50, 28, 24, Rgb(0x3A6E2A));
    c.Disc(40, 38, 18, Rgb(0x26501E));
    EraseRect(c, 0, 50, 80, 2);
    for (int y = 0; y < 52; ++y)
        for (int x = 0; x < 80; ++x)
            if (c.Get(x, y).a && Noise(x / 2, y / 2, 61) > 0.75f) c.Set(x, y, Rgb(0x4F7A2C));
    for (int i = 0; i < 6; ++i) {
        const float bx = 14.0f + 10 * i, by = 22.0f + static_cast<float>(Hash(60u + i) % 20);
        c.Disc(bx, by, 2.2f, Rgb(0xA02020));
    }
    LightFromUpperLeft(c, 62);
    return c;
}

// A weathered boulder, flat at its foot, with a patch of moss.
Canvas Rock() {
    Canvas c(84, 56, kClear);
    c.Polygon({{6, 55}, {2, 38}, {14, 16}, {34, 6}, {58, 8}, {76, 22}, {82, 42}, {78, 55}}, Rgb(0x84807A));
    for (int y = 0; y < 56; ++y)
        for (int x = 0; x < 84; ++x) {
            if (!c.Get(x, y).a) continue;
            const float t = Soft(x, y, 8, 84, 56, 71);
            Rgba p = Shade(Rgb(0x84807A), 0.8f + 0.4f * t);
            if (y < 24 && Soft(x, y, 6, 84, 56, 72) > 0.6f) p = Mix(p, Rgb(0x4F7A2C), 0.7f);
            c.Set(x, y, p);
        }
    c.Line({30, 20}, {44, 40}, 1.2f, Rgb(0x4A4640));  // a crack
    LightFromUpperLeft(c, 73);
    return c;
}

// What is left of a watch house on the rise: a broken wall with a window, its top fallen away.
Canvas Ruin() {
    Canvas c(160, 120, kClear);
    Canvas shape(160, 120, kClear);
    // The wall's top, block by block, lower towards the right where it fell.
    for (int b = 0; b < 10; ++b) {
        const int top = b < 3 ? 6 + 6 * b : 24 + static_cast<int>(Hash(80u + b) % 40) + 4 * b;
        shape.Fill(b * 16, std::min(top, 100), 16, 120 - std::min(top, 100), Rgb(0xFFFFFF));
    }
    StoneBlocks(c, shape, Rgb(0x8A8478), Rgb(0x3A3630), 16, 32, 81);
    // The window, and the fallen stones at the wall's foot.
    EraseRect(c, 34, 40, 22, 34);
    EraseDisc(c, 45, 40, 11);
    for (int i = 0; i < 5; ++i) {
        const float x = 90.0f + 14 * i, y = 112.0f - static_cast<float>(Hash(90u + i) % 6);
        c.Disc(x, y, 6.0f + static_cast<float>(Hash(95u + i) % 3), Rgb(0x7A746A));
    }
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            if (c.Get(x, y).a && y > 70 && Soft(x, y, 8, 160, 120, 82) > 0.68f) c.Set(x, y, Rgb(0x3E6A2A));
    LightFromUpperLeft(c, 83);
    return c;
}

// A round stone well under a little roof, a bucket on its rim.
Canvas Well() {
    Canvas c(96, 112, kClear);
    // The roof on two posts.
    c.Polygon({{8, 30}, {48, 4}, {88, 30}}, Rgb(0x8E3A28));
    for (int i = 0; i < 5; ++i) {
        const float y = 10.0f + 5 * i;
        c.Line({48 - (y - 4) * 1.5f, y}, {48 + (y - 4) * 1.5f, y}, 1, Rgb(0x5A2418));
    }
    c.Fill(16, 30, 6, 46, Rgb(0x5A3A22));
    c.Fill(74, 30, 6, 46, Rgb(0x5A3A22));
    c.Fill(16, 40, 64, 3, Rgb(0x4A3020));  // the winch
    c.Line({48, 42}, {48, 62}, 1, Rgb(0xB8A888));
    // The well's round wall of stones, its dark mouth seen over the near rim.
    Canvas ring(96, 112, kClear);
    ring.Fill(6, 70, 84, 36, Rgb(0xFFFFFF));
    ring.Disc(48, 106, 42, Rgb(0xFFFFFF));
    EraseRect(ring, 0, 108, 96, 4);
    Canvas stones(96, 112, kClear);
    StoneBlocks(stones, ring, Rgb(0x8A8478), Rgb(0x3A3630), 9, 18, 91);
    c.Draw(stones, 0, 0);
    EraseRect(c, 6, 108, 84, 4);
    c.RoundRect(10, 64, 76, 12, 6, Rgb(0x9A9488));
    c.RoundRect(16, 66, 64, 7, 3, Rgb(0x0A0A0C));
    c.RoundRect(54, 54, 12, 12, 2, Rgb(0x6E4424));  // the bucket
    c.Fill(54, 58, 12, 2, Rgb(0x3C3C40));
    LightFromUpperLeft(c, 92);
    return c;
}

// A doorway in a wall, a whole cell wide and two levels high: dressed stone round an arched
// opening that stays clear, so that an open door shows the room behind it. The door's leaf (wood or
// an iron gate) is painted in the opening's shape and lies on it at kDoorwayLeft, kDoorwayTop.
Canvas DoorwayShape() {
    Canvas shape(kDoorwayWidth, kDoorwayHeight, kClear);
    const float r = static_cast<float>(kDoorwayWidth) / 2;
    shape.Disc(r, r, r, Rgb(0xFFFFFF));
    shape.Fill(0, static_cast<int>(r), kDoorwayWidth, kDoorwayHeight - static_cast<int>(r), Rgb(0xFFFFFF));
    return shape;
}

Canvas Doorway() {
    Canvas c(128, 183, kClear);
    Canvas all(128, 183, Rgb(0xFFFFFF));
    StoneBlocks(c, all, Rgb(0x77726A), Rgb(0x34322E), 16, 32, 61);
    // The arch's voussoirs, lighter than the wall, then the opening cleared inside them.
    const Canvas shape = DoorwayShape();
    const float r = static_cast<float>(kDoorwayWidth) / 2;
    const float cx = kDoorwayLeft + r, cy = kDoorwayTop + r;
    c.Ring(cx, cy, r + 5, 10, Rgb(0x8E877A));
    c.Fill(kDoorwayLeft - 10, static_cast<int>(cy), 10, 183 - static_cast<int>(cy), Rgb(0x857E72));
    c.Fill(kDoorwayLeft + kDoorwayWidth, static_cast<int>(cy), 10, 183 - static_cast<int>(cy), Rgb(0x857E72));
    for (int i = 1; i < 8; ++i) {
        const float a = 3.14159265f * static_cast<float>(i) / 8;
        c.Line({cx - std::cos(a) * r, cy - std::sin(a) * r}, {cx - std::cos(a) * (r + 10), cy - std::sin(a) * (r + 10)},
               1.5f, Rgb(0x34322E));
    }
    for (int y = static_cast<int>(cy) + 16; y < 183; y += 16) {
        c.Fill(kDoorwayLeft - 10, y, 10, 2, Rgb(0x34322E));
        c.Fill(kDoorwayLeft + kDoorwayWidth, y, 10, 2, Rgb(0x34322E));
    }
    c.Polygon({{cx - 6, kDoorwayTop - 11}, {cx + 6, kDoorwayTop - 11}, {cx + 4, kDoorwayTop + 2}, {cx - 4, kDoorwayTop + 2}},
              Rgb(0x9A9284));
    LightFromUpperLeft(c, 62);
    for (int y = 0; y < kDoorwayHeight; ++y)
        for (int x = 0; x < kDoorwayWidth; ++x)
            if (shape.Get(x, y).a) c.Set(kDoorwayLeft + x, kDoorwayTop + y, kClear);
    return c;
}

// Oak planks bound with iron, a ring to pull it by.
Canvas DoorLeaf() {
    const Canvas shape = DoorwayShape();
    Canvas c(kDoorwayWidth, kDoorwayHeight, kClear);
    for (int y = 0; y < kDoorwayHeight; ++y)
        for (int x = 0; x < kDoorwayWidth; ++x) {
            if (!shape.Get(x, y).a) continue;
            const int plank = x / 12;
            const bool seam = x % 12 == 0;
            const float grain = 0.8f + 0.25f * Soft(x * 4, y, 12, 288, kDoorwayHeight, 71 + plank);
            c.Set(x, y, seam ? Rgb(0x2E1C10) : Shade(Rgb(0x7A5230), grain * (0.92f + 0.04f * (plank & 1))));
        }
    for (int band : {56, 118}) {
        c.Fill(2, band, kDoorwayWidth - 4, 6, Rgb(0x3C3C40));
        for (int x = 6; x < kDoorwayWidth - 4; x += 14) c.Disc(static_cast<float>(x), band + 3.0f, 1.6f, Rgb(0x8A8A90));
    }
    c.Ring(56, 92, 5, 2, Rgb(0xB08A38));
    c.Disc(56, 86, 2.5f, Rgb(0x3C3C40));
    LightFromUpperLeft(c, 72);
    return c;
}

// An iron gate: bars and cross bars with the room showing between them.
Canvas IronGate() {
    const Canvas shape = DoorwayShape();
    Canvas c(kDoorwayWidth, kDoorwayHeight, kClear);
    const Rgba iron = Rgb(0x4A4A50), rust = Rgb(0x6A4A38);
    for (int y = 0; y < kDoorwayHeight; ++y)
        for (int x = 0; x < kDoorwayWidth; ++x) {
            if (!shape.Get(x, y).a) continue;
            const bool bar = (x + 3) % 12 < 4, cross = y % 34 > 27 || y > kDoorwayHeight - 7;
            if (!bar && !cross) continue;
            const float t = Noise(x, y, 83);
            c.Set(x, y, Mix(Shade(iron, bar && (x + 3) % 12 == 0 ? 1.35f : 1.0f), rust, t > 0.85f ? 0.6f : 0.0f));
        }
    // Spikes along the foot, where the gate meets the floor.
    for (int x = 3; x < kDoorwayWidth; x += 12)
        c.Polygon({{static_cast<float>(x) - 1, kDoorwayHeight - 7.0f}, {static_cast<float>(x) + 3, kDoorwayHeight - 7.0f},
                   {static_cast<float>(x) + 1, static_cast<float>(kDoorwayHeight)}},
                  iron);
    LightFromUpperLeft(c, 84);
    return c;
}

// A signpost: a board of planks on a post, its letters burnt in.
Canvas Signpost() {
    Canvas c(64, 96, kClear);
    c.Fill(29, 30, 7, 66, Rgb(0x5A3A22));
    c.Fill(29, 30, 2, 66, Rgb(0x7A5232));
    Canvas board(64, 96, kClear);
    board.RoundRect(4, 8, 56, 28, 3, Rgb(0xFFFFFF));
    for (int y = 8; y < 36; ++y)
        for (int x = 4; x < 60; ++x)
            if (board.Get(x, y).a) {
                const bool seam = (y - 8) % 9 == 0;
                c.Set(x, y, seam ? Rgb(0x4A2E18) : Shade(Rgb(0x9A6A3E), 0.85f + 0.3f * Soft(x * 3, y, 8, 192, 96, 141)));
            }
    c.Frame(4, 8, 56, 28, Rgb(0x3A2414), 1);
    // Burnt letters: short strokes in two lines.
    for (int i = 0; i < 7; ++i) c.Fill(10 + 6 * i, 14, 4, 5, Rgb(0x2A1A0E));
    for (int i = 0; i < 5; ++i) c.Fill(14 + 7 * i, 25, 5, 5, Rgb(0x2A1A0E));
    LightFromUpperLeft(c, 142);
    return c;
}

// A ladder through a hatch in the floor: two rails and their rungs rising from the dark of the shaft
// to the ceiling, where it leans on the hatch above. Drawn see-through, so that what stands in the
// ladder's cell shows between the rungs.
Canvas Ladder() {
    // A cell is some 336 texels across and a level some 260 high: the ladder reaches the ceiling.
    constexpr int kW = 112, kH = 264, kFoot = 246;
    Canvas c(kW, kH, kClear);
    // The hatch: a dark opening with a rim of worn boards, seen from above at a slant.
    for (int y = kFoot - 12; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float dx = (static_cast<float>(x) - 55.5f) / 55.0f, dy = (static_cast<float>(y) - kFoot - 5.0f) / 12.0f;
            const float r = dx * dx + dy * dy;
            if (r <= 1.0f) c.Set(x, y, r > 0.72f ? Rgb(0x5A4028) : Rgb(0x0C0A08));
        }
    const Rgba wood = Rgb(0x8A6038), dark = Rgb(0x4A3018);
    for (int y = 0; y < kFoot + 4; ++y) {
        const float grain = 0.85f + 0.3f * Soft(0, y, 8, kW, kH, 171);
        for (int x = 20; x < 32; ++x) c.Set(x, y, x == 20 ? dark : Shade(wood, grain));
        for (int x = 80; x < 92; ++x) c.Set(x, y, x == 91 ? dark : Shade(wood, grain * 0.92f));
    }
    for (int y = 14; y < kFoot; y += 28) {
        c.Fill(32, y, 48, 8, Shade(wood, 1.1f));
        c.Fill(32, y + 7, 48, 2, dark);
    }
    LightFromUpperLeft(c, 172);
    return c;
}

// A trap's blades: a row of iron spikes on a bar, which wait under the floor until the trap springs.
Canvas TrapBlades() {
    Canvas c(96, 72, kClear);
    for (int i = 0; i < 6; ++i) {
        const float x = 8.0f + 16.0f * static_cast<float>(i), top = (i % 2) ? 4.0f : 12.0f;
        c.Polygon({{x - 5, 60}, {x + 5, 60}, {x, top}}, Rgb(0x6A6E74));
        c.Line({x, top + 4}, {x, 58}, 1.2f, Rgb(0xA8B0B8));
    }
    c.Fill(0, 58, 96, 14, Rgb(0x3A3A40));
    LightFromUpperLeft(c, 152);
    return c;
}

// ---- things hung on a wall's face ----
// They lie flat on the face of the wall and cast a little shadow on it along their lower and
// right-hand edges (the light comes from the upper left).

// A shadow on the wall below and right of every opaque texel, `reach` texels deep, where the
// picture is clear: the wall's stone in shade (a picture is either opaque or see-through per texel).
void DropShadow(Canvas& c, int reach) {
    const Canvas shape = c;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            if (shape.Get(x, y).a) continue;
            for (int d = 1; d <= reach; ++d)
                if (x - d >= 0 && y - d >= 0 && shape.Get(x - d, y - d).a) {
                    c.Set(x, y, Shade(Rgb(0x4A4238), 0.8f + 0.1f * static_cast<float>(d)));
                    break;
                }
        }
}

// A cloth banner on a pole: a long field in `cloth` with a pointed foot, a border in `trim` and an
// emblem, a tower under a star, in `trim`.
Canvas Banner(Rgba cloth, Rgba trim, uint32_t seed) {
    Canvas c(96, 180, kClear);
    // The pole and its knobs, and the cords it hangs by.
    c.Line({6, 10}, {48, 2}, 1.2f, Rgb(0x3A2A1A));
    c.Line({90, 10}, {48, 2}, 1.2f, Rgb(0x3A2A1A));
    c.Disc(48, 3, 3, Rgb(0x5A5A60));
    c.Fill(4, 10, 88, 6, Rgb(0x6A4A2A));
    c.Fill(4, 10, 88, 2, Rgb(0x8A6A42));
    c.Disc(4, 13, 4, Rgb(0xB08A38));
    c.Disc(92, 13, 4, Rgb(0xB08A38));
    const std::vector<Pt> field = {{12, 16}, {84, 16}, {84, 150}, {48, 174}, {12, 150}};
    c.Polygon(field, trim);
    c.Polygon({{16, 16}, {80, 16}, {80, 147}, {48, 168}, {16, 147}}, cloth);
    // Folds: the cloth darker in soft vertical bands.
    for (int y = 16; y < 172; ++y)
        for (int x = 12; x < 85; ++x) {
            const Rgba p = c.Get(x, y);
            if (!p.a) continue;
            const float fold = 0.86f + 0.2f * (0.5f + 0.5f * std::sin(static_cast<float>(x) * 0.23f)) +
                               0.06f * Soft(x, y, 16, 96, 192, seed);
            c.Set(x, y, Shade(p, fold));
        }
    // The emblem: a tower with a gate under a star.
    c.Fill(36, 70, 24, 48, trim);
    for (int i = 0; i < 4; ++i) c.Fill(34 + i * 8, 62, 5, 9, trim);
    c.Fill(44, 98, 8, 20, cloth);
    c.Disc(48, 98, 4, cloth);
    c.Polygon(
        {{48, 32}, {52, 44}, {64, 45}, {54, 52}, {58, 64}, {48, 57}, {38, 64}, {42, 52}, {32, 45}, {44, 44}},
        trim);
    // A fringe along the foot.
    for (int x = 14; x < 84; x += 4) {
        const float y0 = x < 48 ? 150 + (x - 12) * 24.0f / 36 : 150 + (84 - x) * 24.0f / 36;
        c.Line({static_cast<float>(x), y0}, {static_cast<float>(x), y0 + 5}, 1.0f, trim);
    }
    LightFromUpperLeft(c, seed + 1);
    DropShadow(c, 2);
    return c;
}

// Planks across a rectangle with seams, in `wood`.
void Planks(Canvas& c, int x0, int y0, int w, int h, Rgba wood, int plank, uint32_t seed) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const int row = (y - y0) / plank;
            const bool seam = (y - y0) % plank == 0;
            const float grain =
                0.8f + 0.28f * Soft(x, y * 4, 12, 512, 512, seed + static_cast<uint32_t>(row));
            c.Set(x, y, seam ? Shade(wood, 0.4f) : Shade(wood, grain * (0.94f + 0.05f * (row & 1))));
        }
}

// An iron band with rivets from (x0, y) over w texels.
void IronBand(Canvas& c, int x0, int y, int w, int thick) {
    c.Fill(x0, y, w, thick, Rgb(0x3C3C42));
    c.Fill(x0, y, w, 1, Rgb(0x6A6A72));
    for (int x = x0 + 4; x < x0 + w - 2; x += 12)
        c.Disc(static_cast<float>(x), y + thick / 2.0f, 1.5f, Rgb(0x9A9AA2));
}

// A chest built into the wall: a closed front of oak planks in a stone-grey frame, bound with iron,
// a lock plate in the middle of its lid's edge.
Canvas WallChest() {
    Canvas c(150, 112, kClear);
    c.Fill(0, 0, 150, 112, Rgb(0x3A3026));
    Planks(c, 5, 5, 140, 102, Rgb(0x7A5230), 17, 161);
    // The lid's edge: a darker beam across the top third.
    c.Fill(5, 36, 140, 4, Rgb(0x2E1C10));
    for (int x : {12, 130}) {
        c.Fill(x, 5, 8, 102, Rgb(0x3C3C42));
        c.Fill(x, 5, 1, 102, Rgb(0x6A6A72));
        for (int y = 10; y < 104; y += 14) c.Disc(x + 4.0f, static_cast<float>(y), 1.5f, Rgb(0x9A9AA2));
    }
    IronBand(c, 5, 12, 140, 6);
    IronBand(c, 5, 92, 140, 6);
    // The lock plate and its keyhole.
    c.RoundRect(63, 30, 24, 28, 3, Rgb(0x8A7030));
    c.Frame(63, 30, 24, 28, Rgb(0x4A3A18), 1);
    c.Disc(75, 42, 3, Rgb(0x1A120A));
    c.Fill(74, 42, 3, 8, Rgb(0x1A120A));
    LightFromUpperLeft(c, 162);
    DropShadow(c, 2);
    return c;
}

// A small cupboard hung on the wall: two doors, a cornice and iron hinges, a knob on each door.
Canvas WallCupboard() {
    Canvas c(112, 120, kClear);
    c.Fill(0, 0, 112, 14, Rgb(0x5A3A22));
    c.Fill(0, 0, 112, 3, Rgb(0x8A6A42));
    c.Fill(4, 14, 104, 100, Rgb(0x3A2414));
    for (int door = 0; door < 2; ++door) {
        const int x0 = 8 + door * 50;
        Planks(c, x0, 18, 46, 92, Rgb(0x8A5E36), 92, 171 + static_cast<uint32_t>(door));
        c.Frame(x0, 18, 46, 92, Rgb(0x2E1C10), 2);
        c.Frame(x0 + 6, 26, 34, 76, Rgb(0x5A3A22), 1);
        const int hx = door == 0 ? x0 : x0 + 40;
        for (int y : {30, 92}) c.Fill(hx, y, 6, 8, Rgb(0x3C3C42));
        c.Disc(door == 0 ? x0 + 40.0f : x0 + 6.0f, 64, 3, Rgb(0xB08A38));
    }
    c.Fill(0, 112, 112, 8, Rgb(0x5A3A22));
    LightFromUpperLeft(c, 172);
    DropShadow(c, 2);
    return c;
}

// A lever on an iron plate: up (off) or pulled down (on).
Canvas Lever(bool down) {
    Canvas c(56, 112, kClear);
    c.RoundRect(12, 38, 32, 40, 4, Rgb(0x4A4A52));
    c.Frame(12, 38, 32, 40, Rgb(0x2A2A30), 1);
    for (Pt p : {Pt{17, 43}, Pt{39, 43}, Pt{17, 73}, Pt{39, 73}}) c.Disc(p.x, p.y, 2, Rgb(0x8A8A92));
    c.Fill(24, 50, 8, 16, Rgb(0x1A1A1E));  // the slot
    const Pt pivot{28, 58};
    const Pt grip = down ? Pt{28, 104} : Pt{28, 10};
    c.Line(pivot, grip, 5, Rgb(0x5A5A62));
    c.Line({pivot.x - 1, pivot.y}, {grip.x - 1, grip.y}, 1.5f, Rgb(0x9A9AA2));
    c.RoundRect(static_cast<int>(grip.x) - 7, static_cast<int>(grip.y) - 7, 14, 14, 4, Rgb(0x6A3A1E));
    c.Disc(pivot.x, pivot.y, 5, Rgb(0x6A6A72));
    c.Disc(pivot.x - 1, pivot.y - 1, 2, Rgb(0xA8A8B0));
    LightFromUpperLeft(c, down ? 181 : 182);
    DropShadow(c, 2);
    return c;
}

// A plaque of pale stone set into the wall, lines of writing scratched into it.
Canvas ReadableWall() {
    Canvas c(128, 84, kClear);
    c.Fill(0, 0, 128, 84, Rgb(0x4A443C));
    for (int y = 3; y < 81; ++y)
        for (int x = 3; x < 125; ++x)
            c.Set(x, y, Shade(Rgb(0xA89C88), 0.88f + 0.2f * Soft(x, y, 8, 128, 88, 191)));
    c.Bevel(3, 3, 122, 78, Rgb(0xC8BCA8), Rgb(0x6A6050), 2);
    for (int line = 0; line < 5; ++line) {
        const float y = 16.0f + 13.0f * static_cast<float>(line);
        float x = 12;
        const float end = line == 4 ? 70.0f : 116.0f;
        for (int w = 0; x < end; ++w) {
            const float len = 4.0f + 10.0f * Noise(w, line, 192);
            const float stop = std::min(x + len, end);
            c.Line({x, y + Noise(w, line, 193) - 0.5f}, {stop, y}, 1.2f, Rgb(0x3A342C));
            x = stop + 3;
        }
    }
    LightFromUpperLeft(c, 194);
    DropShadow(c, 2);
    return c;
}

// A small picture in a gilt frame: hills under an evening sky, a tower on the nearer one.
Canvas WallPicture() {
    Canvas c(104, 84, kClear);
    c.Fill(0, 0, 104, 84, Rgb(0x8A6A28));
    c.Bevel(0, 0, 104, 84, Rgb(0xD8B060), Rgb(0x5A4418), 3);
    c.Frame(6, 6, 92, 72, Rgb(0x4A3414), 1);
    c.VGradient(8, 8, 88, 44, Rgb(0x3A4A7A), Rgb(0xE0A060));
    c.Polygon({{8, 56}, {30, 34}, {56, 50}, {80, 30}, {96, 44}, {96, 76}, {8, 76}}, Rgb(0x3A5A32));
    c.Polygon({{8, 76}, {8, 62}, {40, 50}, {76, 64}, {96, 58}, {96, 76}}, Rgb(0x2A4224));
    c.Fill(64, 36, 8, 20, Rgb(0x5A5450));
    c.Polygon({{62, 36}, {68, 28}, {74, 36}}, Rgb(0x6A3A2A));
    c.Disc(26, 20, 5, Rgb(0xF8E0A0));
    LightFromUpperLeft(c, 201);
    DropShadow(c, 2);
    return c;
}

// One of the wall's stones standing a little out of its course (a secret switch), or pushed in.
Canvas LooseStone(bool pushed, const Canvas& wall) {
    Canvas c(48, 36, kClear);
    // The stone takes its colour from the wall it sits in.
    const Rgba stone = wall.Get(40, 30);
    for (int y = 2; y < 34; ++y)
        for (int x = 2; x < 46; ++x)
            c.Set(x, y, Shade(stone, (pushed ? 0.7f : 1.05f) * (0.9f + 0.18f * Soft(x, y, 8, 48, 40, 211))));
    if (pushed) {
        c.Frame(2, 2, 44, 32, Rgb(0x14100C), 2);  // a dark gap all round
    } else {
        c.Fill(2, 2, 44, 2, Shade(stone, 1.3f));
        c.Fill(2, 2, 2, 32, Shade(stone, 1.2f));
        c.Fill(2, 32, 44, 2, Rgb(0x1A1612));
        c.Fill(44, 2, 2, 32, Rgb(0x1A1612));
    }
    LightFromUpperLeft(c, pushed ? 212 : 213);
    return c;
}

// A low dark gap broken through the foot of the wall: a way to crawl through, loose stones round it.
Canvas WallGap() {
    Canvas c(128, 104, kClear);
    Canvas hole(128, 104, kClear);
    hole.Disc(64, 58, 46, Rgb(0xFFFFFF));
    hole.Fill(18, 58, 92, 46, Rgb(0xFFFFFF));
    for (int y = 0; y < 104; ++y)
        for (int x = 0; x < 128; ++x) {
            if (!hole.Get(x, y).a) continue;
            const float r = std::hypot(x - 64.0f, (y - 80.0f) * 1.4f) / 70.0f;
            c.Set(x, y, Mix(Rgb(0x020202), Rgb(0x1E1812), std::min(1.0f, r * r)));
        }
    // Broken stones on its rim.
    for (int i = 0; i < 9; ++i) {
        const float a = 3.14159f * (0.05f + 0.9f * static_cast<float>(i) / 8);
        const float x = 64 - 48 * std::cos(a), y = 58 - 48 * std::sin(a);
        c.RoundRect(static_cast<int>(x) - 7, static_cast<int>(y) - 5, 14, 10, 2,
                    Shade(Rgb(0x7A6E5E), 0.8f + 0.3f * Noise(i, 0, 221)));
    }
    c.RoundRect(6, 92, 22, 12, 3, Rgb(0x6A6050));
    c.RoundRect(102, 94, 20, 10, 3, Rgb(0x6A6050));
    LightFromUpperLeft(c, 222);
    return c;
}

// An iron sconce holding a burning torch.
Canvas Sconce() {
    Canvas c(40, 96, kClear);
    c.Fill(14, 56, 12, 26, Rgb(0x3C3C42));  // the wall plate
    c.Line({20, 80}, {20, 54}, 3, Rgb(0x4A4A52));
    c.Polygon({{12, 50}, {28, 50}, {24, 60}, {16, 60}}, Rgb(0x5A5A62));
    c.Fill(17, 30, 6, 24, Rgb(0x6A4A2A));
    c.Disc(20, 22, 9, Rgb(0xE07A20));
    c.Polygon({{12, 24}, {20, 2}, {28, 24}}, Rgb(0xE07A20));
    c.Disc(20, 24, 5, Rgb(0xF8D060));
    c.Polygon({{16, 24}, {20, 10}, {24, 24}}, Rgb(0xF8D060));
    LightFromUpperLeft(c, 231);
    DropShadow(c, 2);
    return c;
}

// A shut door of planks in a stone frame, set into the wall: the door of a house that opens only
// for its people, with a painted sign over it when `sign`.
Canvas WallDoor(bool sign) {
    Canvas c(140, 236, kClear);
    c.Fill(0, 30, 140, 206, Rgb(0x5A5248));
    c.Bevel(0, 30, 140, 206, Rgb(0x8A8070), Rgb(0x3A342C), 3);
    Planks(c, 14, 44, 112, 192, Rgb(0x6A4428), 192, 241);
    for (int x = 14; x < 126; x += 14) c.Fill(x, 44, 1, 192, Rgb(0x2E1C10));
    IronBand(c, 14, 70, 112, 6);
    IronBand(c, 14, 190, 112, 6);
    c.Ring(108, 134, 6, 2, Rgb(0xB08A38));
    if (sign) {
        c.RoundRect(30, 2, 80, 24, 3, Rgb(0x9A6A3E));
        c.Frame(30, 2, 80, 24, Rgb(0x3A2414), 1);
        for (int i = 0; i < 6; ++i) c.Fill(38 + 11 * i, 10, 7, 7, Rgb(0x2A1A0E));
    }
    LightFromUpperLeft(c, sign ? 242 : 243);
    return c;
}

// A wall texture stands on its side (its width runs down the face); these turn it upright, so that
// x runs along the face and y down it, the floor at the bottom, and back again.
Canvas Upright(const Canvas& wall) {
    Canvas c(wall.Height(), wall.Width());
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) c.Set(x, y, wall.Get(y, x));
    return c;
}
Canvas OnItsSide(const Canvas& upright) { return Upright(upright); }

constexpr Rgba kDressedStone = Rgb(0x9A9080), kStoneShadow = Rgb(0x4A4238);
constexpr Rgba kShutterPaint = Rgb(0x3E5C3A), kShutterSeam = Rgb(0x24361F), kIron = Rgb(0x3C3C40);
constexpr Rgba kOak = Rgb(0x7A5230), kOakSeam = Rgb(0x2E1C10);

// Dressed stone round an opening: jambs, a lintel over it and a sill under it that casts a shadow.
void Surround(Canvas& c, int x0, int y0, int x1, int y1, bool sill) {
    c.Fill(x0 - 6, y0 - 4, x1 - x0 + 12, y1 - y0 + 4, kDressedStone);
    c.Fill(x0 - 10, y0 - 12, x1 - x0 + 20, 9, Shade(kDressedStone, 1.08f));
    c.Fill(x0 - 10, y0 - 3, x1 - x0 + 20, 2, kStoneShadow);
    if (sill) {
        c.Fill(x0 - 10, y1, x1 - x0 + 20, 7, Shade(kDressedStone, 1.08f));
        c.Fill(x0 - 8, y1 + 7, x1 - x0 + 16, 3, kStoneShadow);
    }
    c.Grain(x0 - 10, y0 - 12, x1 - x0 + 20, y1 - y0 + 22, 0.06f, static_cast<uint32_t>(x0 * 31 + y0));
}

// Dark panes that catch a little of the sky, in a frame with a cross of wood.
void Glazing(Canvas& c, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const float t = static_cast<float>(y - y0) / static_cast<float>(y1 - y0);
            Rgba p = Mix(Rgb(0x3A4A5C), Rgb(0x161C24), t);
            if ((x - x0) - (y - y0) / 2 > 4 && (x - x0) - (y - y0) / 2 < 9) p = Mix(p, Rgb(0x8AA0B8), 0.35f);
            c.Set(x, y, p);
        }
    const Rgba wood = Rgb(0x5A3A22);
    c.Frame(x0, y0, x1 - x0, y1 - y0, wood, 3);
    c.Fill((x0 + x1) / 2 - 2, y0, 4, y1 - y0, wood);
    c.Fill(x0, (y0 + y1) / 2 - 2, x1 - x0, 4, wood);
}

// A shutter of painted planks with two iron hinges on its hanging edge.
void Shutter(Canvas& c, int x0, int y0, int w, int h, bool hingeLeft) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const bool seam = (x - x0) % 7 == 0 && x != x0;
            const float grain = 0.88f + 0.2f * Soft(x * 3, y, 8, 384, 256, 171);
            c.Set(x, y, seam ? kShutterSeam : Shade(kShutterPaint, grain));
        }
    c.Frame(x0, y0, w, h, kShutterSeam, 1);
    for (int y : {y0 + h / 6, y0 + h - h / 6 - 3})
        c.Fill(hingeLeft ? x0 : x0 + w / 3, y, (w * 2) / 3, 3, kIron);
}

Canvas HouseWindow(const Canvas& stone) {
    Canvas c = Upright(stone);
    constexpr int x0 = 44, x1 = 84, y0 = 72, y1 = 148;
    Surround(c, x0, y0, x1, y1, true);
    Glazing(c, x0, y0, x1, y1);
    // The shutters stand open against the wall, a hand's breadth off the jambs.
    Shutter(c, x0 - 26, y0, 18, y1 - y0, false);
    Shutter(c, x1 + 8, y0, 18, y1 - y0, true);
    // A box of flowers on the sill.
    c.Fill(x0 - 2, y1 + 10, x1 - x0 + 4, 9, Rgb(0x6A4428));
    c.Fill(x0 - 2, y1 + 10, x1 - x0 + 4, 2, Rgb(0x8A5E38));
    for (int i = 0; i < 7; ++i) {
        const float fx = static_cast<float>(x0 + 2 + i * 6), fy = static_cast<float>(y1 + 7 + (i % 2));
        c.Disc(fx, fy + 2, 3.0f, Rgb(0x3A6E2A));
        c.Disc(fx, fy, 2.2f, i % 3 == 1 ? Rgb(0xE0C040) : Rgb(0xB8283A));
    }
    return OnItsSide(c);
}

Canvas HouseDoor(const Canvas& stone) {
    Canvas c = Upright(stone);
    constexpr int x0 = 38, x1 = 90, top = 92, floor = 248;
    constexpr float r = (x1 - x0) / 2.0f, cx = (x0 + x1) / 2.0f, cy = top + r;
    // The arch of dressed stone and its jambs, then the leaf of oak planks in the opening.
    c.Disc(cx, cy, r + 8, kDressedStone);
    c.Fill(x0 - 8, static_cast<int>(cy), x1 - x0 + 16, floor - static_cast<int>(cy), kDressedStone);
    c.Grain(x0 - 8, top - 8, x1 - x0 + 16, floor - top + 8, 0.06f, 181);
    for (int i = 1; i < 6; ++i) {
        const float a = 3.14159265f * static_cast<float>(i) / 6;
        const float ca = std::cos(a), sa = std::sin(a);
        c.Line({cx - ca * r, cy - sa * r}, {cx - ca * (r + 8), cy - sa * (r + 8)}, 1.2f, kStoneShadow);
    }
    Canvas leaf(c.Width(), c.Height(), kClear);
    leaf.Disc(cx, cy, r, Rgb(0xFFFFFF));
    leaf.Fill(x0, static_cast<int>(cy), x1 - x0, floor - static_cast<int>(cy), Rgb(0xFFFFFF));
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            if (!leaf.Get(x, y).a) continue;
            const int plank = (x - x0) / 13;
            const bool seam = (x - x0) % 13 == 0;
            const float grain = 0.8f + 0.25f * Soft(x * 4, y, 12, 512, 256, 183 + plank);
            const float tone = grain * (0.92f + 0.05f * static_cast<float>(plank & 1));
            c.Set(x, y, seam ? kOakSeam : Shade(kOak, tone));
        }
    for (int band : {132, 212}) {
        c.Fill(x0 + 2, band, x1 - x0 - 4, 5, kIron);
        for (int x = x0 + 6; x < x1 - 3; x += 12)
            c.Disc(static_cast<float>(x), static_cast<float>(band) + 2.5f, 1.5f, Rgb(0x8A8A90));
    }
    c.Ring(x1 - 11, 178, 4.5f, 1.8f, Rgb(0xB08A38));
    c.Disc(x1 - 11, 172, 2.2f, kIron);
    // The worn step before it.
    c.Fill(x0 - 12, floor, x1 - x0 + 24, 8, Shade(kDressedStone, 0.92f));
    c.Fill(x0 - 12, floor, x1 - x0 + 24, 2, Shade(kDressedStone, 1.12f));
    return OnItsSide(c);
}

Canvas HouseUpperWindow(const Canvas& stone) {
    Canvas c = Upright(stone);
    constexpr int x0 = 46, x1 = 82, y0 = 84, y1 = 160;
    Surround(c, x0, y0, x1, y1, true);
    // Shut for the day: two leaves meeting in the middle, each with a brace.
    Shutter(c, x0, y0, (x1 - x0) / 2, y1 - y0, true);
    Shutter(c, (x0 + x1) / 2, y0, (x1 - x0) / 2, y1 - y0, false);
    for (int leafX : {x0, (x0 + x1) / 2}) {
        const float left = static_cast<float>(leafX + 3), right = static_cast<float>(leafX + (x1 - x0) / 2 - 3);
        c.Line({left, static_cast<float>(y1 - 14)}, {right, static_cast<float>(y0 + 14)}, 2.0f, kShutterSeam);
    }
    return OnItsSide(c);
}

// ---- the gallery's free-standing things ----
// Billboards stand on the ground at the cell's middle; their sizes are in the view's scale, some
// 336 texels to a cell's width and 260 to a level's height.

// A way out: a freestanding arch of dressed stone, its opening black where the passage runs off
// into the dark, a worn step at its foot.
Canvas Archway() {
    constexpr int kW = 200, kH = 236;
    Canvas c(kW, kH, kClear);
    Canvas outer(kW, kH, kClear);
    outer.Disc(100, 96, 92, Rgb(0xFFFFFF));
    outer.Fill(8, 96, 184, kH - 96, Rgb(0xFFFFFF));
    StoneBlocks(c, outer, Rgb(0x7A746A), Rgb(0x34322E), 18, 36, 181);
    // The voussoirs round the opening, lighter than the wall.
    c.Ring(100, 104, 62, 14, Rgb(0x8E877A));
    for (int i = 1; i < 9; ++i) {
        const float a = 3.14159265f * static_cast<float>(i) / 9;
        c.Line({100 - std::cos(a) * 55, 104 - std::sin(a) * 55},
               {100 - std::cos(a) * 69, 104 - std::sin(a) * 69}, 1.5f, Rgb(0x34322E));
    }
    c.Polygon({{92, 28}, {108, 28}, {105, 46}, {95, 46}}, Rgb(0x9A9284));
    // The opening: black at the top and far in, the floor of the passage faintly catching the light.
    Canvas inner(kW, kH, kClear);
    inner.Disc(100, 104, 55, Rgb(0xFFFFFF));
    inner.Fill(45, 104, 110, kH - 104, Rgb(0xFFFFFF));
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (inner.Get(x, y).a) {
                const float down = std::max(0.0f, static_cast<float>(y - 170) / 80.0f);
                c.Set(x, y, Mix(Rgb(0x050404), Rgb(0x3A342C), down * down));
            }
    // The jambs' inner faces in shadow, and the step.
    c.Fill(45, 104, 5, kH - 104, Rgb(0x26231F));
    c.Fill(30, kH - 14, 140, 14, Rgb(0x6A645A));
    c.Fill(30, kH - 14, 140, 3, Rgb(0x8E877A));
    LightFromUpperLeft(c, 182);
    return c;
}

// A robed figure of pale stone on a square plinth, its hands folded, its head a little bowed.
Canvas Statue() {
    constexpr int kW = 110, kH = 236;
    Canvas c(kW, kH, kClear);
    const Rgba stone = Rgb(0xA8A296), deep = Rgb(0x6E695F);
    c.Fill(10, 196, 90, 40, Rgb(0x7E786C));  // the plinth
    c.Fill(4, 188, 102, 10, Rgb(0x8E887C));
    c.Fill(4, 226, 102, 10, Rgb(0x8E887C));
    c.Polygon({{34, 62}, {76, 62}, {88, 190}, {22, 190}}, stone);  // the robe
    c.Polygon({{30, 70}, {80, 70}, {82, 96}, {28, 96}}, stone);    // the shoulders
    for (int i = 0; i < 4; ++i) c.Line({44.0f + 8 * i, 110}, {38.0f + 11 * i, 188}, 2.0f, deep);  // folds
    c.RoundRect(40, 104, 30, 16, 6, Shade(stone, 1.08f));  // folded hands
    c.Disc(55, 44, 16, stone);                             // the head, a hood over it
    c.Polygon({{37, 40}, {55, 22}, {73, 40}, {72, 62}, {38, 62}}, Shade(stone, 0.92f));
    c.Disc(55, 47, 9, deep);  // the face in the hood's shadow
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (c.Get(x, y).a && Noise(x / 2, y / 2, 191) > 0.86f) c.Set(x, y, Shade(c.Get(x, y), 0.85f));
    LightFromUpperLeft(c, 192);
    return c;
}

// A tall clay urn with two handles and a painted band round its belly.
Canvas Urn() {
    constexpr int kW = 84, kH = 120;
    Canvas c(kW, kH, kClear);
    const Rgba clay = Rgb(0xA0583A);
    c.Polygon({{30, 116}, {54, 116}, {60, 108}, {24, 108}}, Shade(clay, 0.8f));  // the foot
    c.Disc(42, 72, 36, clay);                                                    // the belly
    c.Fill(28, 14, 28, 40, clay);                                                // the neck
    c.Fill(22, 8, 40, 8, Shade(clay, 1.1f));                                     // the lip
    c.Ring(16, 40, 9, 4, Shade(clay, 0.85f));
    c.Ring(68, 40, 9, 4, Shade(clay, 0.85f));
    c.Fill(6, 62, 72, 10, Rgb(0x2E2018));
    for (int i = 0; i < 6; ++i) c.Disc(12.0f + 12 * i, 67, 3, Rgb(0xC8A050));
    LightFromUpperLeft(c, 202);
    return c;
}

// Staves bound by iron hoops: a barrel stood on end.
Canvas Barrel() {
    constexpr int kW = 100, kH = 128;
    Canvas c(kW, kH, kClear);
    for (int y = 0; y < kH; ++y) {
        const float t = (static_cast<float>(y) - 64) / 64, half = 40 + 8 * (1 - t * t);
        for (int x = 0; x < kW; ++x) {
            const float dx = static_cast<float>(x) - 50;
            if (std::fabs(dx) > half) continue;
            const bool seam =
                static_cast<int>((dx / half + 1) * 5) != static_cast<int>((dx / half + 1) * 5 + 0.06f);
            c.Set(x, y, seam ? kOakSeam : Shade(kOak, 0.85f + 0.3f * Soft(x, y * 4, 8, kW, kH * 4, 211)));
        }
    }
    for (int y : {10, 40, 84, 112}) IronBand(c, 8, y, 84, 5);
    c.Fill(12, 0, 76, 4, Shade(kOak, 1.15f));
    LightFromUpperLeft(c, 212);
    return c;
}

// One side of a crate of rough planks, a frame of battens round it and a brace across.
Canvas CrateSide() {
    constexpr int kW = 168, kH = 150;
    Canvas c(kW, kH, kClear);
    Planks(c, 0, 0, kW, kH, Rgb(0x9A7448), 30, 221);
    const Rgba batten = Rgb(0x7A5A36);
    c.Fill(0, 0, kW, 14, batten);
    c.Fill(0, kH - 14, kW, 14, batten);
    c.Fill(0, 0, 14, kH, batten);
    c.Fill(kW - 14, 0, 14, kH, batten);
    c.Line({14, kH - 14.0f}, {kW - 14.0f, 14}, 12, batten);
    c.Frame(0, 0, kW, kH, kOakSeam, 2);
    for (int x : {6, kW - 8})
        for (int y : {6, kH - 8}) c.Disc(static_cast<float>(x), static_cast<float>(y), 2.5f, kIron);
    LightFromUpperLeft(c, 222);
    return c;
}

// A plate of dark stone set a finger high above the floor, seen from a little above.
Canvas PressurePlate() {
    constexpr int kW = 200, kH = 28;
    Canvas c(kW, kH, kClear);
    c.Polygon({{24, 2}, {176, 2}, {198, 20}, {2, 20}}, Rgb(0x7A7468));
    c.Fill(2, 20, 196, 8, Rgb(0x3E3A34));
    for (int y = 2; y < 20; ++y)
        for (int x = 0; x < kW; ++x)
            if (c.Get(x, y).a && Noise(x / 3, y, 231) > 0.8f) c.Set(x, y, Rgb(0x5E594F));
    LightFromUpperLeft(c, 232);
    return c;
}

// An altar: a block of dressed stone under a slab, a cloth over it and two candles on the slab.
Canvas Altar() {
    constexpr int kW = 200, kH = 150;
    Canvas c(kW, kH, kClear);
    Canvas body(kW, kH, kClear);
    body.Fill(20, 62, 160, 88, Rgb(0xFFFFFF));
    StoneBlocks(c, body, Rgb(0x8A8276), Rgb(0x3E3A34), 22, 40, 241);
    c.Fill(8, 50, 184, 14, Rgb(0x9E978A));  // the slab
    c.Fill(8, 62, 184, 3, Rgb(0x4A4640));
    c.Fill(70, 50, 60, 50, Rgb(0x7A1E22));  // the cloth hanging over its front
    c.Fill(70, 96, 60, 4, Rgb(0xC8A050));
    c.Polygon({{92, 66}, {108, 66}, {100, 84}}, Rgb(0xC8A050));
    for (int x : {34, 158}) {
        c.Fill(x, 22, 8, 28, Rgb(0xE8E0C8));
        c.Fill(x - 3, 46, 14, 4, Rgb(0x8A7040));
        c.Polygon({{x + 4.0f, 6}, {x + 8.0f, 18}, {x + 4.0f, 22}, {x + 0.0f, 18}}, Rgb(0xFFC850));
    }
    LightFromUpperLeft(c, 242);
    return c;
}

// A round stone basin on a short pedestal, water standing in it and spilling from a spout.
Canvas Fountain() {
    constexpr int kW = 200, kH = 170;
    Canvas c(kW, kH, kClear);
    const Rgba stone = Rgb(0x8E887C);
    c.Fill(70, 110, 60, 50, Shade(stone, 0.9f));  // the pedestal
    c.Fill(56, 156, 88, 14, Shade(stone, 0.8f));
    c.Polygon({{6, 72}, {194, 72}, {170, 114}, {30, 114}}, stone);  // the basin
    c.Fill(6, 66, 188, 10, Shade(stone, 1.1f));
    c.Fill(16, 68, 168, 5, Rgb(0x2E5A7A));        // the water at the rim
    c.Fill(94, 14, 12, 56, Shade(stone, 0.95f));  // the spout's column
    c.Disc(100, 14, 10, Shade(stone, 1.05f));
    for (int i = 0; i < 3; ++i) c.Line({100, 24}, {76.0f + 24 * i, 66}, 2.0f, Rgb(0x9CC8E0));
    LightFromUpperLeft(c, 252);
    return c;
}

// The shrine's old bell: a bronze bell, green with age in patches, hung by an iron strap from an oak
// beam between two pillars of dressed stone on a low step, a little shingled roof over the beam and
// a rope hanging from the clapper to ring it by. Open between the pillars, so the crypt shows
// through; a person's height, the bell at the eye of one who stands before it.
Canvas ShrineBell() {
    constexpr int kW = 176, kH = 236;
    Canvas c(kW, kH, kClear);
    const Rgba stone = Rgb(0x9A9080), mortar = Rgb(0x3A352E);
    // The step and the pillars, the pillars with a capital and a base a little wider than their shaft.
    Canvas pillars(kW, kH, kClear);
    pillars.Fill(20, 52, 24, 160, Rgb(0xFFFFFF));
    pillars.Fill(132, 52, 24, 160, Rgb(0xFFFFFF));
    StoneBlocks(c, pillars, stone, mortar, 20, 24, 271);
    for (int x : {16, 128}) {
        c.Fill(x, 46, 32, 8, Shade(stone, 1.12f));
        c.Fill(x, 52, 32, 2, mortar);
        c.Fill(x, 204, 32, 10, Shade(stone, 0.95f));
    }
    c.Fill(4, 212, 168, 24, Shade(stone, 0.88f));
    c.Fill(4, 212, 168, 4, Shade(stone, 1.15f));
    for (int x = 4; x < 172; x += 42) c.Fill(x, 216, 2, 20, mortar);
    for (int y = 216; y < kH; ++y)
        for (int x = 4; x < 172; ++x)
            if (Noise(x / 3, y / 2, 272) > 0.9f) c.Set(x, y, Shade(c.Get(x, y), 0.8f));
    // The roof: dark shingles in rows over the beam, overhanging the pillars.
    c.Polygon({{88, 0}, {176, 34}, {0, 34}}, Rgb(0x3A2A20));
    for (int row = 0; row < 4; ++row) {
        const float y = 8.0f + 7.0f * row, half = 88.0f * (y + 4) / 34.0f;
        c.Line({88 - half, y + 4}, {88 + half, y + 4}, 1.2f, Rgb(0x1E1510));
        for (float x = 88 - half + 6 * (row & 1); x < 88 + half; x += 12) c.Line({x, y}, {x, y + 4}, 1.0f, Rgb(0x1E1510));
    }
    // The beam, its end grain showing at either end.
    for (int y = 34; y < 48; ++y)
        for (int x = 6; x < 170; ++x)
            c.Set(x, y, (y == 34 || y == 47) ? kOakSeam : Shade(kOak, 0.85f + 0.3f * Soft(x, y * 6, 12, kW, kH * 6, 273)));
    for (int x : {6, 166}) c.Fill(x, 34, 4, 14, Shade(kOak, 0.7f));
    // The strap and the crown the bell hangs by.
    c.Fill(84, 46, 8, 18, kIron);
    c.Fill(78, 50, 20, 4, kIron);
    c.Disc(88, 50, 2, Rgb(0x6A6A70));
    // The bell: a domed crown, a slender waist that flares to a heavy lip.
    const Rgba bronze = Rgb(0xB07E3A), patina = Rgb(0x3E9A76);
    const float top = 60, height = 90, cx = 88;
    auto half = [&](float t) {
        if (t < 0.2f) return 23.0f * std::sqrt(std::max(0.0f, 1 - (0.2f - t) * (0.2f - t) / 0.04f));
        const float u = (t - 0.2f) / 0.8f;
        return 23.0f + 2.0f * u + 15.0f * u * u * u + (t > 0.86f && t < 0.95f ? 2.0f : 0.0f);
    };
    for (int y = static_cast<int>(top); y < static_cast<int>(top + height); ++y) {
        const float t = (static_cast<float>(y) + 0.5f - top) / height, h = half(t);
        for (int x = 0; x < kW; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - cx) / h;
            if (std::fabs(dx) > 1) continue;
            // Round: lit from the left, a bright streak where it turns towards the light.
            float tone = 1.05f - 0.55f * dx - 0.35f * dx * dx;
            if (dx > -0.62f && dx < -0.42f) tone += 0.45f;
            Rgba p = Shade(bronze, std::max(0.35f, tone));
            const bool band = std::fabs(t - 0.3f) < 0.012f || std::fabs(t - 0.84f) < 0.012f ||
                              std::fabs(t - 0.87f) < 0.008f;
            if (band) p = Shade(p, 0.6f);
            const float green = Soft(x, y, 10, kW, kH, 274);
            if (green > 0.68f) p = Mix(p, Shade(patina, std::max(0.5f, tone)), std::min(0.85f, (green - 0.68f) * 6));
            c.Set(x, y, p);
        }
    }
    // The mouth seen from a little below its lip, and the clapper's ball in it.
    const float lip = top + height;
    for (int y = static_cast<int>(lip - 5); y < static_cast<int>(lip + 5); ++y)
        for (int x = 0; x < kW; ++x) {
            const float dx = (x + 0.5f - cx) / 42.0f, dy = (y + 0.5f - lip) / 5.0f;
            if (dx * dx + dy * dy > 1) continue;
            const bool rim = dx * dx + dy * dy > 0.7f;
            c.Set(x, y, rim ? Shade(bronze, 0.75f - 0.3f * dx) : Rgb(0x140E08));
        }
    c.Disc(cx, lip + 4, 7, Shade(kIron, 1.2f));
    c.Disc(cx - 2, lip + 2, 2, Rgb(0x8A8A90));
    // The rope from the clapper, a knot at its end.
    c.Line({cx, lip + 10}, {cx + 3, 190}, 3.0f, Rgb(0x9A8458));
    for (float y = lip + 14; y < 188; y += 7) c.Line({cx - 1, y}, {cx + 2, y + 3}, 1.0f, Rgb(0x5E4E32));
    c.Disc(cx + 3, 192, 5, Rgb(0x8A7448));
    LightFromUpperLeft(c, 275);
    return c;
}

// A barricade of rough planks nailed across two posts, gaps between them.
Canvas Barricade() {
    constexpr int kW = 336, kH = 190;
    Canvas c(kW, kH, kClear);
    const Rgba post = Rgb(0x5A3A22);
    c.Fill(30, 0, 18, kH, post);
    c.Fill(288, 0, 18, kH, post);
    const int tops[] = {20, 62, 104, 146};
    for (int i = 0; i < 4; ++i) {
        const float tilt = (i % 2) ? 6.0f : -5.0f;
        c.Polygon({{4, tops[i] + tilt},
                   {332, tops[i] - tilt},
                   {332, tops[i] + 26 - tilt},
                   {4, tops[i] + 26 + tilt}},
                  Shade(Rgb(0x8A6038), 0.9f + 0.05f * i));
        c.Disc(39, tops[i] + 13.0f, 2.5f, kIron);
        c.Disc(297, tops[i] + 13.0f, 2.5f, kIron);
    }
    LightFromUpperLeft(c, 262);
    return c;
}

// The fire that a way through the flames shows: a sheet of flames a cell wide and a level high that
// stands across its cell in front of everything else there and flickers between two frames, clear
// above and between the tongues, the coals and a ring of blackened stones at its foot.
Canvas Flames(uint32_t seed) {
    constexpr int kW = 336, kH = 240, kCoals = kH - 20;
    Canvas c(kW, kH, kClear);
    for (int x = 0; x < kW; ++x) {
        // The height of the fire over each column: tongues of several widths.
        const float tongue = 0.55f * Soft(x, 0, 28, kW, 8, seed) + 0.45f * Soft(x, 0, 11, kW, 8, seed + 1);
        const float edge =
            std::min(1.0f, std::min(static_cast<float>(x), static_cast<float>(kW - 1 - x)) / 40.0f);
        const int top = kCoals - static_cast<int>((30 + 150 * tongue * tongue) * (0.35f + 0.65f * edge));
        for (int y = std::max(0, top); y < kCoals; ++y) {
            const float t = static_cast<float>(y - top) / static_cast<float>(kCoals - top + 1);
            const Rgba col = t < 0.25f
                                 ? Mix(Rgb(0xC8280C), Rgb(0xF07818), t * 4)
                                 : Mix(Rgb(0xF07818), Rgb(0xFFE070), std::min(1.0f, (t - 0.25f) * 1.6f));
            c.Set(x, y, col);
        }
    }
    // Sparks flying up above the tongues.
    for (int i = 0; i < 26; ++i) {
        const float x = 10 + Noise(i, 1, seed) * (kW - 20), y = 30 + Noise(i, 2, seed) * 110;
        c.Disc(x, y, 1.5f + 2 * Noise(i, 3, seed), Rgb(0xFFC040));
    }
    for (int x = 14; x < kW - 14; ++x)
        for (int y = kCoals - 4; y < kH - 6; ++y)
            c.Set(x, y, Noise(x / 3, y / 3, seed + 2) > 0.5f ? Rgb(0xFF8A20) : Rgb(0x8A2008));
    for (int i = 0; i < 11; ++i) {
        const float x = 10 + 29.0f * static_cast<float>(i) + 4 * Noise(i, 0, 282);
        c.RoundRect(static_cast<int>(x), kH - 14, 30, 14, 5,
                    Shade(Rgb(0x4A4440), 0.8f + 0.4f * Noise(i, 1, 282)));
    }
    return c;
}

// A few sparks, lying behind the flames a little in from their upper left corner.
Canvas Sparks() {
    Canvas c(248, 90, kClear);
    for (int i = 0; i < 20; ++i)
        c.Disc(4 + Noise(i, 1, 271) * 240, 4 + Noise(i, 2, 271) * 82, 1.5f + Noise(i, 3, 271), Rgb(0xFFD060));
    return c;
}

// What shows through the flames: the dark arch that the way through the fire leads into, in the
// sheet's size, so that it lies behind the flames across the cell.
Canvas FireArch(const Canvas& arch) {
    Canvas c(336, 240, kClear);
    c.Draw(arch, (336 - arch.Width()) / 2, 240 - arch.Height());
    return c;
}

// Old cobwebs spun across a cell from floor to ceiling: threads from the sides to a hub, sagging
// rings of thread round it, torn here and there.
Canvas Cobwebs() {
    constexpr int kW = 336, kH = 240;
    Canvas c(kW, kH, kClear);
    const Pt hub{150, 92};
    const Pt ends[] = {{0, 4},     {70, 0},    {180, 0},   {300, 0},  {335, 60},
                       {335, 170}, {290, 239}, {170, 239}, {40, 239}, {0, 150}};
    constexpr int kSpokes = static_cast<int>(std::size(ends));
    for (int i = 0; i < kSpokes; ++i) c.Line(hub, ends[i], 2.0f, Rgb(0xD8D8D0));
    for (int ring = 1; ring <= 7; ++ring) {
        const float f = 0.1f + 0.12f * static_cast<float>(ring);
        for (int i = 0; i < kSpokes; ++i) {
            if (Noise(ring, i, 301) < 0.18f) continue;  // torn
            const Pt& a = ends[i];
            const Pt& b = ends[(i + 1) % kSpokes];
            const Pt p{hub.x + (a.x - hub.x) * f, hub.y + (a.y - hub.y) * f};
            const Pt q{hub.x + (b.x - hub.x) * f, hub.y + (b.y - hub.y) * f};
            // Each thread sags between its spokes.
            const Pt m{(p.x + q.x) / 2 + (hub.x - (p.x + q.x) / 2) * 0.12f, (p.y + q.y) / 2 + 4 + 3 * f * 10};
            c.Line(p, m, 1.6f, Rgb(0xBEBEB6));
            c.Line(m, q, 1.6f, Rgb(0xBEBEB6));
        }
    }
    return c;
}

}  // namespace scenery_paint

Canvas HouseWall(const Canvas& stone, HouseFace face) {
    using namespace scenery_paint;
    switch (face) {
    case HouseFace::Door: return HouseDoor(stone);
    case HouseFace::UpperWindow: return HouseUpperWindow(stone);
    default: return HouseWindow(stone);
    }
}

Canvas WineRack(const Canvas& stone) {
    using namespace scenery_paint;
    Canvas c = Upright(stone);
    const int w = c.Width(), h = c.Height();
    const Rgba wood = Rgb(0x5A3A22), dark = Rgb(0x1A120C);
    c.Fill(0, 0, w, h, wood);
    // Ten bays across and ten shelves down; the face is stretched some 2.6 times across a cell and
    // squeezed a little into a level, so a bottle's round end is painted narrow and tall here.
    const int bays = 10, shelves = 10, bw = w / bays, sh = h / shelves;
    for (int j = 0; j < shelves; ++j)
        for (int i = 0; i < bays; ++i) {
            const int x0 = i * bw + 2, y0 = j * sh + 3;
            c.Fill(x0, y0, bw - 3, sh - 5, dark);
            if (Noise(i, j, 311) < 0.2f) continue;  // an empty place
            const float cx = static_cast<float>(x0) + (bw - 3) / 2.0f,
                        cy = static_cast<float>(y0) + (sh - 5) / 2.0f;
            const float ry = (sh - 8) / 2.0f, rx = ry * 0.36f;
            const Rgba glass = Noise(i, j, 312) < 0.7f ? Rgb(0x1E4A26) : Rgb(0x5A1A20);
            for (int y = y0; y < y0 + sh - 5; ++y)
                for (int x = x0; x < x0 + bw - 3; ++x) {
                    const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
                    if (dx * dx + dy * dy > 1) continue;
                    const bool glint = dx < -0.2f && dx > -0.6f && dy < -0.1f && dy > -0.6f;
                    c.Set(x, y, glint ? Shade(glass, 2.2f) : glass);
                }
        }
    for (int j = 0; j <= shelves; ++j) c.Fill(0, std::min(h - 3, j * sh), w, 3, Rgb(0x7A5232));
    for (int i = 0; i <= bays; ++i) c.Fill(std::min(w - 2, i * bw), 0, 2, h, Rgb(0x6A4428));
    scenery_paint::LightFromUpperLeft(c, 313);
    return OnItsSide(c);
}

std::vector<ScenerySprite> PaintScenery() {
    using namespace scenery_paint;
    return {{"bres_stairs", Stairs()},
            {"bres_tree", art3d::TreeSprite()},
            {"bres_fir", Fir()},
            {"bres_bush", Bush()},
            {"bres_rock", Rock()},
            {"bres_ruin", Ruin()},
            {"bres_well", Well()},
            {"bres_doorway", Doorway()},
            {"bres_doorleaf", DoorLeaf()},
            {"bres_gate", IronGate()},
            {"bres_signpost", Signpost()},
            {"bres_shrinebell", ShrineBell()},
            {"bres_trapblades", TrapBlades()},
            {"bres_ladder", Ladder()},
            {"bres_archway", Archway()},
            {"bres_statue", Statue()},
            {"bres_urn", Urn()},
            {"bres_barrel", Barrel()},
            {"bres_crateside", CrateSide()},
            {"bres_pressureplate", PressurePlate()},
            {"bres_altar", Altar()},
            {"bres_fountain", Fountain()},
            {"bres_barricade", Barricade()},
            {"bres_cobwebs", Cobwebs()},
            {"bres_flame1", Flames(291)},
            {"bres_flame2", Flames(292)},
            {"bres_sparks", Sparks()},
            {"bres_firearch", FireArch(Archway())}};
}

std::vector<ScenerySprite> PaintWallHangings(const Canvas& wallTexture) {
    using namespace scenery_paint;
    const Canvas wall = Upright(wallTexture);
    return {{"bres_banner", Banner(Rgb(0x8A1E1E), Rgb(0xD8B048), 151)},
            {"bres_bannerblue", Banner(Rgb(0x1E3A7A), Rgb(0xD8D8D0), 152)},
            {"bres_wallchest", WallChest()},
            {"bres_wallcupboard", WallCupboard()},
            {"bres_lever_on", Lever(true)},
            {"bres_lever_off", Lever(false)},
            {"bres_wallwriting", ReadableWall()},
            {"bres_wallpicture", WallPicture()},
            {"bres_loosestone", LooseStone(false, wall)},
            {"bres_loosestone_in", LooseStone(true, wall)},
            {"bres_wallgap", WallGap()},
            {"bres_sconce", Sconce()},
            {"bres_walldoor", WallDoor(false)},
            {"bres_walldoorsign", WallDoor(true)}};
}

Canvas ValeGrass() {
    using scenery_paint::Noise;
    using scenery_paint::Soft;
    Canvas c(256, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x) {
            const float t = Soft(x, y, 32, 256, 128, 101) * 0.6f + Soft(x, y, 8, 256, 128, 102) * 0.4f;
            Rgba p = Mix(Rgb(0x2F5A22), Rgb(0x5E8F3A), t);
            if (Noise(x, y, 103) > 0.97f) p = Rgb(0x7AA848);  // blades catching the light
            c.Set(x, y, p);
        }
    c.Grain(0, 0, 256, 128, 0.08f, 104);
    return c;
}

Canvas ValeWater() {
    using scenery_paint::Soft;
    Canvas c(256, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x) {
            const float t = Soft(x, y, 32, 256, 128, 121) * 0.7f + Soft(x, y, 8, 256, 128, 122) * 0.3f;
            Rgba p = Mix(Rgb(0x1E3E5A), Rgb(0x3A6A8A), t);
            if (Soft(x * 2, y, 4, 512, 128, 123) > 0.8f) p = Rgb(0x8AB0C8);  // ripples catching the sky
            c.Set(x, y, p);
        }
    return c;
}

}  // namespace world
