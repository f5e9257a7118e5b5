// An RGBA drawing surface for the builder's procedural pictures, with the few painting operations
// that the interface needs: fills, gradients, bevels, anti-aliased shapes and grain.
#pragma once

#include <cstdint>
#include <vector>

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

constexpr Rgba Rgb(uint32_t rgb, uint8_t a = 255) {
    return Rgba{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb),
                a};
}

// A well-mixed 32-bit hash: the deterministic noise of grain and procedural textures.
uint32_t Hash(uint32_t x);

Rgba Mix(Rgba a, Rgba b, float t);  // a towards b by t (0..1), alpha included
Rgba Shade(Rgba c, float f);        // brightness times f, clamped

struct Pt {
    float x, y;
};

class Canvas {
public:
    Canvas() = default;
    Canvas(int w, int h, Rgba fill = Rgba{});

    int Width() const { return w_; }
    int Height() const { return h_; }
    Rgba Get(int x, int y) const;
    void Set(int x, int y, Rgba c);
    // Source-over blend of c with coverage cov (0..1).
    void Blend(int x, int y, Rgba c, float cov = 1.0f);

    void Fill(int x, int y, int w, int h, Rgba c);
    void VGradient(int x, int y, int w, int h, Rgba top, Rgba bottom);
    void HGradient(int x, int y, int w, int h, Rgba left, Rgba right);
    void Frame(int x, int y, int w, int h, Rgba c, int thickness = 1);
    // Light top-left edges and dark bottom-right edges; inset swaps them (a pressed look).
    void Bevel(int x, int y, int w, int h, Rgba light, Rgba dark, int thickness, bool inset = false);
    // Deterministic grain: each pixel's brightness varies by up to +-amount (wood and stone).
    void Grain(int x, int y, int w, int h, float amount, uint32_t seed, bool streaks = false);
    void Disc(float cx, float cy, float r, Rgba c);
    void Ring(float cx, float cy, float r, float thickness, Rgba c);
    void Line(Pt a, Pt b, float thickness, Rgba c);
    void Polygon(const std::vector<Pt>& pts, Rgba c);
    void RoundRect(int x, int y, int w, int h, float radius, Rgba c);
    // Copies another canvas at (x, y), blending by its alpha.
    void Draw(const Canvas& src, int x, int y);
    Canvas Crop(int x, int y, int w, int h) const;

private:
    int w_ = 0, h_ = 0;
    std::vector<Rgba> px_;
};
