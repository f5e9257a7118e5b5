#include "tools/content/Canvas.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t Clamp8(float v) { return static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f); }

// Distance from p to the segment ab.
float SegmentDistance(Pt p, Pt a, Pt b) {
    float dx = b.x - a.x, dy = b.y - a.y;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    float ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

uint32_t Hash(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

Rgba Mix(Rgba a, Rgba b, float t) {
    return Rgba{Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t), Clamp8(a.b + (b.b - a.b) * t),
                Clamp8(a.a + (b.a - a.a) * t)};
}

Rgba Shade(Rgba c, float f) { return Rgba{Clamp8(c.r * f), Clamp8(c.g * f), Clamp8(c.b * f), c.a}; }

Canvas::Canvas(int w, int h, Rgba fill) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, fill) {}

Rgba Canvas::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return Rgba{};
    return px_[static_cast<size_t>(y) * w_ + x];
}

void Canvas::Set(int x, int y, Rgba c) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    px_[static_cast<size_t>(y) * w_ + x] = c;
}

void Canvas::Blend(int x, int y, Rgba c, float cov) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    float a = c.a / 255.0f * std::clamp(cov, 0.0f, 1.0f);
    if (a <= 0) return;
    Rgba& d = px_[static_cast<size_t>(y) * w_ + x];
    float da = d.a / 255.0f;
    float oa = a + da * (1 - a);
    auto ch = [&](uint8_t s, uint8_t t) { return Clamp8((s * a + t * da * (1 - a)) / oa); };
    d = Rgba{ch(c.r, d.r), ch(c.g, d.g), ch(c.b, d.b), Clamp8(oa * 255)};
}

void Canvas::Fill(int x, int y, int w, int h, Rgba c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Blend(i, j, c);
}

void Canvas::VGradient(int x, int y, int w, int h, Rgba top, Rgba bottom) {
    for (int j = 0; j < h; ++j) {
        Rgba c = Mix(top, bottom, h > 1 ? static_cast<float>(j) / (h - 1) : 0.0f);
        for (int i = 0; i < w; ++i) Blend(x + i, y + j, c);
    }
}

void Canvas::HGradient(int x, int y, int w, int h, Rgba left, Rgba right) {
    for (int i = 0; i < w; ++i) {
        Rgba c = Mix(left, right, w > 1 ? static_cast<float>(i) / (w - 1) : 0.0f);
        for (int j = 0; j < h; ++j) Blend(x + i, y + j, c);
    }
}

void Canvas::Frame(int x, int y, int w, int h, Rgba c, int t) {
    Fill(x, y, w, t, c);
    Fill(x, y + h - t, w, t, c);
    Fill(x, y + t, t, h - 2 * t, c);
    Fill(x + w - t, y + t, t, h - 2 * t, c);
}

void Canvas::Bevel(int x, int y, int w, int h, Rgba light, Rgba dark, int t, bool inset) {
    if (inset) std::swap(light, dark);
    for (int k = 0; k < t; ++k) {
        Fill(x + k, y + k, w - 2 * k, 1, light);
        Fill(x + k, y + k + 1, 1, h - 2 * k - 1, light);
        Fill(x + k + 1, y + h - 1 - k, w - 2 * k - 1, 1, dark);
        Fill(x + w - 1 - k, y + k + 1, 1, h - 2 * k - 2, dark);
    }
}

void Canvas::Grain(int x, int y, int w, int h, float amount, uint32_t seed, bool streaks) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            if (i < 0 || j < 0 || i >= w_ || j >= h_) continue;
            Rgba& p = px_[static_cast<size_t>(j) * w_ + i];
            float n;
            if (streaks) {
                // Wood: long horizontal fibres that wander slowly, plus fine noise.
                float wave = std::sin((j + 3.0f * std::sin(i * 0.05f + seed)) * 0.9f + (Hash(j + seed) % 7));
                n = 0.6f * wave + 0.4f * ((Hash(i * 7919 + j * 104729 + seed) % 1000) / 500.0f - 1.0f);
            } else {
                n = (Hash(i * 7919 + j * 104729 + seed) % 1000) / 500.0f - 1.0f;
            }
            p = Shade(p, 1.0f + amount * n);
        }
}

void Canvas::Disc(float cx, float cy, float r, Rgba c) {
    for (int j = static_cast<int>(cy - r - 1); j <= static_cast<int>(cy + r + 1); ++j)
        for (int i = static_cast<int>(cx - r - 1); i <= static_cast<int>(cx + r + 1); ++i) {
            float d = std::hypot(i + 0.5f - cx, j + 0.5f - cy);
            Blend(i, j, c, r + 0.5f - d);
        }
}

void Canvas::Ring(float cx, float cy, float r, float t, Rgba c) {
    for (int j = static_cast<int>(cy - r - 1); j <= static_cast<int>(cy + r + 1); ++j)
        for (int i = static_cast<int>(cx - r - 1); i <= static_cast<int>(cx + r + 1); ++i) {
            float d = std::fabs(std::hypot(i + 0.5f - cx, j + 0.5f - cy) - (r - t / 2));
            Blend(i, j, c, t / 2 + 0.5f - d);
        }
}

void Canvas::Line(Pt a, Pt b, float t, Rgba c) {
    int x0 = static_cast<int>(std::min(a.x, b.x) - t - 1), x1 = static_cast<int>(std::max(a.x, b.x) + t + 1);
    int y0 = static_cast<int>(std::min(a.y, b.y) - t - 1), y1 = static_cast<int>(std::max(a.y, b.y) + t + 1);
    for (int j = y0; j <= y1; ++j)
        for (int i = x0; i <= x1; ++i) {
            float d = SegmentDistance(Pt{i + 0.5f, j + 0.5f}, a, b);
            Blend(i, j, c, t / 2 + 0.5f - d);
        }
}

void Canvas::Polygon(const std::vector<Pt>& pts, Rgba c) {
    if (pts.size() < 3) return;
    // Even-odd scanline fill at 4 x 4 samples per pixel: smooth edges at the cost of one crossing
    // list per sample row.
    constexpr int kSub = 4;
    float minY = pts[0].y, maxY = pts[0].y;
    for (const Pt& p : pts) minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    int y0 = std::max(0, static_cast<int>(std::floor(minY))),
        y1 = std::min(h_ - 1, static_cast<int>(std::ceil(maxY)));
    std::vector<float> cover(static_cast<size_t>(w_) + 1);
    std::vector<float> xs;
    for (int j = y0; j <= y1; ++j) {
        std::fill(cover.begin(), cover.end(), 0.0f);
        bool any = false;
        for (int sy = 0; sy < kSub; ++sy) {
            float py = j + (sy + 0.5f) / kSub;
            xs.clear();
            for (size_t k = 0, l = pts.size() - 1; k < pts.size(); l = k++) {
                const Pt& p = pts[k];
                const Pt& q = pts[l];
                if ((p.y > py) != (q.y > py)) xs.push_back((q.x - p.x) * (py - p.y) / (q.y - p.y) + p.x);
            }
            std::sort(xs.begin(), xs.end());
            for (size_t k = 0; k + 1 < xs.size(); k += 2) {
                // Samples at x = i + (sx + 0.5) / 4 inside [xs[k], xs[k+1]).
                for (int sx = 0; sx < kSub; ++sx) {
                    float off = (sx + 0.5f) / kSub;
                    int a = std::max(0, static_cast<int>(std::ceil(xs[k] - off)));
                    int b = std::min(w_ - 1, static_cast<int>(std::ceil(xs[k + 1] - off)) - 1);
                    for (int i = a; i <= b; ++i) cover[i] += 1.0f / (kSub * kSub);
                    any = any || a <= b;
                }
            }
        }
        if (!any) continue;
        for (int i = 0; i < w_; ++i)
            if (cover[i] > 0) Blend(i, j, c, cover[i]);
    }
}

void Canvas::RoundRect(int x, int y, int w, int h, float r, Rgba c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            float px = i + 0.5f, py = j + 0.5f;
            float cx = std::clamp(px, x + r, x + w - r), cy = std::clamp(py, y + r, y + h - r);
            float d = std::hypot(px - cx, py - cy);
            Blend(i, j, c, r + 0.5f - d);
        }
}

void Canvas::Draw(const Canvas& src, int x, int y) {
    for (int j = 0; j < src.h_; ++j)
        for (int i = 0; i < src.w_; ++i) Blend(x + i, y + j, src.Get(i, j));
}

Canvas Canvas::Crop(int x, int y, int w, int h) const {
    Canvas out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) out.Set(i, j, Get(x + i, y + j));
    return out;
}
