#include "tools/content/art3d/WorldArt.h"

#include <algorithm>
#include <cmath>

#include "tools/content/ByteWriter.h"
#include "tools/content/PictureEncoder.h"

namespace art3d {

namespace {

float Noise01(int x, int y, uint32_t seed) {
    return (Hash(x * 7919 + y * 104729 + seed * 31337) % 1000) / 1000.0f;
}

// Smooth value noise with a period of `cell` texels that tiles over 256.
float Smooth(int x, int y, int cell, uint32_t seed) {
    const int n = std::max(1, 256 / cell);
    const int cx = x / cell, cy = y / cell;
    const float fx = (x % cell) / static_cast<float>(cell), fy = (y % cell) / static_cast<float>(cell);
    auto at = [&](int i, int j) { return Noise01((i % n + n) % n, (j % n + n) % n, seed); };
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float a = at(cx, cy) + (at(cx + 1, cy) - at(cx, cy)) * sx;
    const float b = at(cx, cy + 1) + (at(cx + 1, cy + 1) - at(cx, cy + 1)) * sx;
    return a + (b - a) * sy;
}

// Stone blocks laid in courses along x (rows of `course` texels, blocks `length` long, every other
// course shifted by half a block); `transposed` turns the courses to run along the columns, as the
// walls want.
Canvas Masonry(Rgba stone, Rgba mortar, int course, int length, uint32_t seed, bool transposed) {
    Canvas c(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const int a = transposed ? y : x, b = transposed ? x : y;
            const int row = b / course;
            const int shifted = a + ((row & 1) ? length / 2 : 0);
            const int block = shifted / length;
            const bool joint = (b % course) < 2 || (shifted % length) < 2;
            const float tone =
                0.82f + 0.3f * Noise01(block, row, seed) + 0.12f * (Smooth(x, y, 16, seed) - 0.5f);
            Rgba colour = joint ? mortar : Shade(stone, tone);
            // Light on the upper edge of each block, shadow below it.
            if (!joint && (b % course) == 2) colour = Shade(colour, 1.15f);
            if (!joint && (b % course) == course - 1) colour = Shade(colour, 0.8f);
            c.Set(x, y, colour);
        }
    c.Grain(0, 0, 256, 256, 0.05f, seed);
    return c;
}

}  // namespace

Canvas FlagstoneFloor(uint32_t seed) { return Masonry(Rgb(0x6E6A5E), Rgb(0x2C2A26), 64, 64, seed, false); }

Canvas GrassGround(uint32_t seed) {
    Canvas c(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const float t = Smooth(x, y, 32, seed) * 0.6f + Smooth(x, y, 8, seed + 1) * 0.4f;
            c.Set(x, y, Mix(Rgb(0x2F5A22), Rgb(0x5E8F3A), t));
        }
    c.Grain(0, 0, 256, 256, 0.08f, seed);
    return c;
}

Canvas DirtPath(uint32_t seed) {
    Canvas c(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const float t = Smooth(x, y, 16, seed);
            Rgba colour = Mix(Rgb(0x6B4F32), Rgb(0x8E7150), t);
            if (Noise01(x / 3, y / 3, seed) > 0.93f) colour = Rgb(0x9A948A);  // pebbles
            c.Set(x, y, colour);
        }
    c.Grain(0, 0, 256, 256, 0.06f, seed);
    return c;
}

Canvas MossPatches(uint32_t seed) {
    Canvas c(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) c.Set(x, y, Mix(Rgb(0x2E4A1C), Rgb(0x4F7A2C), Smooth(x, y, 8, seed)));
    c.Grain(0, 0, 256, 256, 0.1f, seed);
    return c;
}

Canvas CeilingBoards(uint32_t seed) {
    Canvas c(256, 256, Rgb(0x4A3522));
    for (int x = 0; x < 256; x += 32) {
        c.Fill(x, 0, 2, 256, Rgb(0x1E140C));
        c.Grain(x + 2, 0, 30, 256, 0.12f, seed + static_cast<uint32_t>(x), true);
    }
    return c;
}

Canvas StoneWall(uint32_t seed) { return Masonry(Rgb(0x77726A), Rgb(0x34322E), 32, 64, seed, true); }
Canvas BrickWall(uint32_t seed) { return Masonry(Rgb(0x94432C), Rgb(0xC8C2B4), 24, 48, seed, true); }

Canvas TorchDecal() {
    Canvas c(32, 64);
    c.Fill(13, 24, 6, 36, Rgb(0x3A2A1A));
    c.Fill(10, 56, 12, 4, Rgb(0x555555));
    c.Disc(16, 16, 9, Rgb(0xF08020));
    c.Disc(16, 14, 5, Rgb(0xFFE070));
    return c;
}

Canvas BannerPicture() {
    Canvas c(48, 96);
    c.Fill(2, 0, 44, 4, Rgb(0x6E4A2A));
    c.Polygon({{6, 4}, {42, 4}, {42, 88}, {24, 76}, {6, 88}}, Rgb(0x8A1E1E));
    c.Ring(24, 36, 10, 3, Rgb(0xC9A040));
    return c;
}

Canvas DoorFrame() {
    Canvas c(256, 256);
    const Rgba wood = Rgb(0x5A3A22);
    c.Fill(0, 0, 24, 256, wood);
    c.Fill(232, 0, 24, 256, wood);
    c.Fill(0, 0, 256, 24, wood);
    c.Grain(0, 0, 256, 24, 0.15f, 7, true);
    c.Grain(0, 24, 24, 232, 0.15f, 8, true);
    c.Grain(232, 24, 24, 232, 0.15f, 9, true);
    return c;
}

Canvas DoorLeaf(int style) {
    Canvas c(208, 232, Rgb(0x7A5230));
    const int plank = style == 2 ? 26 : (style == 3 ? 52 : 34);
    for (int x = 0; x < 208; x += plank) {
        c.Fill(x, 0, 2, 232, Rgb(0x3A2414));
        c.Grain(x + 2, 0, plank - 2, 232, 0.12f, static_cast<uint32_t>(x + style), true);
    }
    c.Fill(0, 40, 208, 8, Rgb(0x444448));
    c.Fill(0, 184, 208, 8, Rgb(0x444448));
    c.Disc(style == 1 ? 104 : 176, 116, 6, Rgb(0xC9A040));
    return c;
}

Canvas RoofTiles(uint32_t seed) {
    Canvas c(256, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x) {
            const int row = y / 16, shifted = x + ((row & 1) ? 8 : 0);
            const bool edge = (y % 16) >= 14 || (shifted % 16) == 0;
            const float tone = 0.85f + 0.25f * Noise01(shifted / 16, row, seed);
            c.Set(x, y, edge ? Rgb(0x3A1410) : Shade(Rgb(0x8E3A28), tone));
        }
    return c;
}

Canvas BarrelSprite() {
    Canvas c(40, 56);
    c.RoundRect(4, 2, 32, 52, 10, Rgb(0x6E4424));
    c.Grain(4, 2, 32, 52, 0.12f, 3, true);
    for (int y : {10, 27, 44}) c.Fill(4, y, 32, 3, Rgb(0x3C3C40));
    return c;
}

Canvas TreeSprite() {
    Canvas c(96, 160);
    c.Fill(42, 90, 12, 70, Rgb(0x4A3020));
    c.Disc(48, 60, 40, Rgb(0x2E5A22));
    c.Disc(32, 74, 24, Rgb(0x3A6E2A));
    c.Disc(64, 70, 26, Rgb(0x26501E));
    c.Grain(0, 0, 96, 110, 0.1f, 11);
    return c;
}

Canvas Sky(SkyKind kind) {
    Rgba top, bottom, fog;
    switch (kind) {
    case SkyKind::Day: top = Rgb(0x3A6FC8), bottom = Rgb(0xA8CCF0), fog = Rgb(0xB8C8D8); break;
    case SkyKind::Night: top = Rgb(0x04060E), bottom = Rgb(0x141C34), fog = Rgb(0x10141C); break;
    case SkyKind::Dawn: top = Rgb(0x3A3C78), bottom = Rgb(0xF0A060), fog = Rgb(0xC09080); break;
    default: top = Rgb(0x24262C), bottom = Rgb(0x5A5C64), fog = Rgb(0x484A50); break;
    }
    Canvas c(kSkyWidth, kSkyHeight);
    c.VGradient(0, 0, kSkyWidth, 100, top, bottom);
    c.VGradient(0, 100, kSkyWidth, 10, bottom, fog);
    // Clouds (or stars at night) that wrap round the panorama's seam.
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < kSkyWidth; ++x) {
            if (kind == SkyKind::Night) {
                if (Hash(static_cast<uint32_t>(x * 131 + y * 977)) % 600 == 0) c.Set(x, y, Rgb(0xE8E8FF));
                continue;
            }
            const float u = static_cast<float>(x) / kSkyWidth;
            const float cloud = 0.5f + 0.5f * std::sin(u * 6.2831853f * 5 + std::sin(y * 0.11f) * 1.5f) *
                                           std::sin(u * 6.2831853f * 3 + y * 0.05f);
            const float amount = std::clamp((cloud - 0.62f) * 2.5f, 0.0f, 1.0f) * (1.0f - y / 120.0f);
            const Rgba white = kind == SkyKind::Thunder ? Rgb(0x7A7C84) : Rgb(0xF4F4F8);
            c.Set(x, y, Mix(c.Get(x, y), white, amount));
        }
    if (kind == SkyKind::Thunder) {
        c.Line({300, 10}, {312, 40}, 2, Rgb(0xFFFFE0));
        c.Line({312, 40}, {304, 44}, 2, Rgb(0xFFFFE0));
        c.Line({304, 44}, {318, 80}, 2, Rgb(0xFFFFE0));
    }
    return c;
}

Canvas PatchCoverage(int height, int size, uint32_t seed) {
    Canvas c(kGroundWidth, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < kGroundWidth; ++x)
            if (Smooth(x, y % 256, size, seed) > 0.55f) c.Set(x, y, Rgb(0xFFFFFF));
    return c;
}

std::vector<uint8_t> EncodeMask(const Canvas& coverage) {
    const int w = kGroundWidth, h = coverage.Height() & ~1;
    ByteWriter out;
    // Header of an encoding-1 picture of the texture's size: the smallest layout whose texel data the
    // reader accepts holds the mask's 16 bytes per two rows.
    out.U8(1);
    out.U8(0);
    out.I16(w);
    out.I16(h);
    out.U16(0);
    std::vector<uint8_t> data(static_cast<size_t>(w) * h / 4, 0);
    for (int y = 0; y < h; y += 2)
        for (int x = 0; x < w; x += 2)
            if (coverage.Get(x, y).a >= 128)
                data[static_cast<size_t>(16 * (y / 2) + x / 16)] |= static_cast<uint8_t>(1 << ((x / 2) & 7));
    out.Bytes(data.data(), data.size());
    out.U16(0);
    out.U16(0);
    out.U16(0);
    out.U16(0);
    return out.Take();
}

std::vector<ArtRecord> PaintWorldArt() {
    std::vector<ArtRecord> art;
    auto ground = [&](const char* name, const Canvas& c) {
        art.push_back({name, EncodePicture(c, Encoding::Palette)});
    };
    auto picture = [&](const char* name, const Canvas& c) { art.push_back({name, EncodePicture(c)}); };
    ground("floor.flagstone", FlagstoneFloor(1));
    ground("ground.grass", GrassGround(2));
    ground("ground.dirt", DirtPath(3));
    ground("ground.moss", MossPatches(4));
    ground("ceiling.boards", CeilingBoards(5));
    art.push_back({"mask.patches", EncodeMask(PatchCoverage(256, 32, 6))});
    art.push_back({"mask.spots", EncodeMask(PatchCoverage(256, 16, 7))});
    picture("wall.stone", StoneWall(8));
    picture("wall.brick", BrickWall(9));
    picture("decal.torch", TorchDecal());
    picture("picture.banner", BannerPicture());
    picture("door.frame", DoorFrame());
    for (int style = 0; style < 4; ++style)
        art.push_back({"door.leaf" + std::to_string(style), EncodePicture(DoorLeaf(style))});
    picture("roof.tiles", RoofTiles(10));
    picture("sprite.barrel", BarrelSprite());
    picture("sprite.tree", TreeSprite());
    picture("sky.day", Sky(SkyKind::Day));
    picture("sky.night", Sky(SkyKind::Night));
    picture("sky.dawn", Sky(SkyKind::Dawn));
    picture("sky.thunder", Sky(SkyKind::Thunder));
    return art;
}

}  // namespace art3d
