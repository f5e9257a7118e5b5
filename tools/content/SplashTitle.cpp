#include "tools/content/SplashTitle.h"

#include <algorithm>
#include <cmath>

#include "screens/frontend/SplashStrokes.h"
#include "tools/content/Painter.h"

namespace {

using namespace palette;

constexpr int kTitleWidth = 250, kTitleHeight = 66;

// The strokes as lines through the centres of their 3 x 3 blocks.
std::vector<std::vector<Pt>> StrokeLines() {
    std::vector<std::vector<Pt>> out;
    for (int i = 0; i < kSplashStrokeCount; ++i) {
        std::vector<Pt> line;
        const i16* list = SplashStrokeList(i);
        for (int k = 0; list && k < kSplashStrokeMaxPoints && list[2 * k] != 0; ++k)
            line.push_back(Pt{list[2 * k] + kSplashBlock / 2.0f, list[2 * k + 1] + kSplashBlock / 2.0f});
        out.push_back(line);
    }
    return out;
}

void StrokeAll(Canvas& c, const std::vector<std::vector<Pt>>& lines, float x, float y, float scale, float dx,
               float dy, float thickness, Rgba colour) {
    auto at = [&](Pt p) { return Pt{x + (p.x + dx) * scale, y + (p.y + dy) * scale}; };
    for (const std::vector<Pt>& line : lines)
        for (size_t k = 1; k < line.size(); ++k)
            c.Line(at(line[k - 1]), at(line[k]), thickness * scale, colour);
}

}  // namespace

// The lettering: a warm halo, a dark rim, a body shaded from top to bottom and a thin highlight. The
// hidden form glows hotter, so the stroke looks like fresh ink of light that cools into gold when the
// finished title replaces it.
void PaintTitleLettering(Canvas& c, float x, float y, float scale, bool hot) {
    std::vector<std::vector<Pt>> lines = StrokeLines();
    StrokeAll(c, lines, x, y, scale, 0, 0, 11.0f, hot ? Rgba{255, 150, 60, 40} : Rgba{200, 110, 40, 45});
    StrokeAll(c, lines, x, y, scale, 1.5f, 1.5f, 7.0f, Rgba{0, 0, 0, 200});
    StrokeAll(c, lines, x, y, scale, 0, 0, 7.0f, hot ? Rgb(0x6A4010) : Rgb(0x3A2606));
    Canvas body(c.Width(), c.Height());
    StrokeAll(body, lines, x, y, scale, 0, 0, 4.6f, Rgba{255, 255, 255, 255});
    Rgba top = hot ? Rgb(0xFFFBE8) : Rgb(0xFFF0B0);
    Rgba bottom = hot ? Rgb(0xF8C860) : Rgb(0xB8842C);
    for (int py = 0; py < c.Height(); ++py)
        for (int px = 0; px < c.Width(); ++px) {
            Rgba m = body.Get(px, py);
            if (m.a == 0) continue;
            float t = std::clamp((py - y) / (kTitleHeight * scale), 0.0f, 1.0f);
            c.Blend(px, py, Mix(top, bottom, t), m.a / 255.0f);
        }
    StrokeAll(c, lines, x, y, scale, -0.8f, -0.8f, 1.2f,
              hot ? Rgba{255, 255, 255, 200} : Rgba{255, 250, 225, 150});
}

namespace {

Canvas PaintTitle(bool hot) {
    Canvas c(kTitleWidth, kTitleHeight, kBlack);
    PaintTitleLettering(c, 0, 0, 1, hot);
    return c;
}

// Shown under the title once it is written: a sword between two gilt rules.
Canvas PaintSecond(int w, int h) {
    Canvas c(w, h, kBlack);
    float mid = h / 2.0f;
    int icon = h * 9 / 20;
    for (int side = -1; side <= 1; side += 2) {
        float inner = w / 2.0f + side * (icon * 0.7f), outer = w / 2.0f + side * (w / 2.0f - w / 20.0f);
        c.Line(Pt{inner, mid}, Pt{outer, mid}, std::max(1.0f, h / 40.0f), kGoldDark);
        c.Line(Pt{inner, mid - 1}, Pt{outer, mid - 1}, std::max(1.0f, h / 80.0f), kGold);
        float d = h / 14.0f;
        c.Polygon({{outer, mid - d}, {outer + side * d, mid}, {outer, mid + d}, {outer - side * d, mid}},
                  kGoldLight);
    }
    PaintIcon(c, Icon::Sword, (w - icon) / 2, (h - icon) / 2, icon, kGoldLight);
    return c;
}

// A spark no larger than 5 x 5, clear round its shape; the splash draws it with its top-left corner
// on the stroke's newest point.
Canvas PaintSpark(int kind) {
    Canvas c(5, 5);
    Rgba hot = Rgb(0xFFFFF0), warm = Rgb(0xFFE890), ember = Rgb(0xF0A040);
    auto put = [&c](int x, int y, Rgba colour) { c.Set(x, y, colour); };
    switch (kind) {
    case 0:  // plus
        for (int k = 0; k < 5; ++k) put(k, 2, warm), put(2, k, warm);
        break;
    case 1:  // cross
        for (int k = 0; k < 5; ++k) put(k, k, ember), put(4 - k, k, ember);
        break;
    case 2:  // diamond
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x)
                if (std::abs(x - 2) + std::abs(y - 2) <= 2)
                    put(x, y, std::abs(x - 2) + std::abs(y - 2) == 2 ? ember : warm);
        break;
    default:  // a small star
        for (int k = 1; k < 4; ++k) put(k, 2, warm), put(2, k, warm);
        put(0, 0, ember), put(4, 0, ember), put(0, 4, ember), put(4, 4, ember);
        break;
    }
    put(2, 2, hot);
    return c;
}

// Box-filtered reduction of an opaque picture.
Canvas Reduce(const Canvas& src, int w, int h) {
    Canvas out(w, h, kBlack);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int x0 = x * src.Width() / w, x1 = std::max(x0 + 1, (x + 1) * src.Width() / w);
            int y0 = y * src.Height() / h, y1 = std::max(y0 + 1, (y + 1) * src.Height() / h);
            float r = 0, g = 0, b = 0, n = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx) {
                    Rgba p = src.Get(sx, sy);
                    r += p.r, g += p.g, b += p.b, n += 1;
                }
            out.Set(x, y,
                    Rgba{static_cast<uint8_t>(r / n), static_cast<uint8_t>(g / n),
                         static_cast<uint8_t>(b / n), 255});
        }
    return out;
}

}  // namespace

std::vector<PictureRecord> PaintSplashPictures() {
    std::vector<PictureRecord> out;
    Canvas finished = PaintTitle(false), hidden = PaintTitle(true);
    out.push_back({3521, "splash: finished title", finished});
    out.push_back({3522, "splash: title that the strokes reveal", hidden});
    out.push_back({3523, "splash: sword under the title", PaintSecond(200, 80)});
    for (int k = 0; k < 4; ++k)
        out.push_back({static_cast<uint16_t>(3524 + k), "splash: pen spark", PaintSpark(k)});
    // The small layouts store every stroke point at two thirds, so their titles are two thirds too.
    int w = kTitleWidth * 2 / 3, h = kTitleHeight * 2 / 3;
    out.push_back({4033, "splash (small): finished title", Reduce(finished, w, h)});
    out.push_back({4034, "splash (small): title that the strokes reveal", Reduce(hidden, w, h)});
    out.push_back({4035, "splash (small): sword under the title", PaintSecond(100, 40)});
    return out;
}
