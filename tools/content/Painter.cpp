#include "tools/content/Painter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

using namespace palette;

namespace {

constexpr float kPi = 3.14159265f;

std::string g_fontFolder = "/usr/share/fonts/truetype/dejavu";

// Draws a frame box of size w x h in the given style.
Canvas FrameBox(FrameStyle style, int w, int h, int e, bool transparentCentre) {
    Canvas c(w, h);
    switch (style) {
    case FrameStyle::Dialog: {
        c.Fill(0, 0, w, h, kWoodDark);
        c.Grain(0, 0, w, h, 0.10f, 7);
        c.Frame(0, 0, w, h, kBlack, 1);
        c.Bevel(1, 1, w - 2, h - 2, kGoldLight, kGoldDark, 2);
        c.Frame(3, 3, w - 6, h - 6, kGold, std::max(1, e / 5));
        c.Bevel(e - 3, e - 3, w - 2 * (e - 3), h - 2 * (e - 3), kGoldDark, kGoldLight, 2);
        c.Frame(e - 1, e - 1, w - 2 * (e - 1), h - 2 * (e - 1), kBlack, 1);
        // Gold studs in the corners.
        for (Pt p : {Pt{e / 2.0f, e / 2.0f}, Pt{w - e / 2.0f, e / 2.0f}, Pt{e / 2.0f, h - e / 2.0f},
                     Pt{w - e / 2.0f, h - e / 2.0f}}) {
            c.Disc(p.x, p.y, e * 0.34f, kGoldDark);
            c.Disc(p.x - 0.5f, p.y - 0.5f, e * 0.26f, kGold);
            c.Disc(p.x - e * 0.1f, p.y - e * 0.1f, e * 0.1f, kGoldLight);
        }
        if (!transparentCentre) {
            c.Fill(e, e, w - 2 * e, h - 2 * e, kWood);
            c.Grain(e, e, w - 2 * e, h - 2 * e, 0.08f, 11);
        }
        break;
    }
    case FrameStyle::Message:
    case FrameStyle::Book: {
        Rgba rim = style == FrameStyle::Book ? kLeather : Rgb(0x6A4A22);
        c.Fill(0, 0, w, h, rim);
        c.Grain(0, 0, w, h, 0.10f, 5);
        c.Frame(0, 0, w, h, kBlack, 1);
        c.Bevel(1, 1, w - 2, h - 2, Shade(rim, 1.5f), Shade(rim, 0.6f), 1);
        if (style == FrameStyle::Book) {
            // Gold stitching halfway along the rim.
            int m = e / 2;
            for (int x = m; x < w - m; x += 4) c.Fill(x, m, 2, 1, kGold), c.Fill(x, h - m - 1, 2, 1, kGold);
            for (int y = m; y < h - m; y += 4) c.Fill(m, y, 1, 2, kGold), c.Fill(w - m - 1, y, 1, 2, kGold);
        } else {
            c.Frame(e / 2 - 1, e / 2 - 1, w - e + 2, h - e + 2, kGold, 1);
        }
        c.Bevel(e - 2, e - 2, w - 2 * (e - 2), h - 2 * (e - 2), Shade(rim, 0.5f), kGoldLight, 2);
        if (!transparentCentre) {
            c.Fill(e, e, w - 2 * e, h - 2 * e, kParchment);
            c.Grain(e, e, w - 2 * e, h - 2 * e, 0.035f, 3);
        }
        break;
    }
    case FrameStyle::Dark: {
        c.Fill(0, 0, w, h, kWood);
        c.Grain(0, 0, w, h, 0.10f, 9);
        c.Frame(0, 0, w, h, kBlack, 1);
        c.Bevel(1, 1, w - 2, h - 2, kWoodLight, kWoodDark, 1);
        c.Frame(e - 2, e - 2, w - 2 * (e - 2), h - 2 * (e - 2), kGoldDark, 1);
        c.Frame(e - 1, e - 1, w - 2 * (e - 1), h - 2 * (e - 1), kBlack, 1);
        if (!transparentCentre) {
            c.Fill(e, e, w - 2 * e, h - 2 * e, Rgb(0x1E140C));
            c.Grain(e, e, w - 2 * e, h - 2 * e, 0.08f, 13);
        }
        break;
    }
    case FrameStyle::List:
    case FrameStyle::Thin: {
        if (style == FrameStyle::List) {
            c.Frame(0, 0, w, h, kGoldDark, 1);
            if (e > 1) c.Frame(1, 1, w - 2, h - 2, kGold, 1);
            if (e > 2) c.Frame(2, 2, w - 4, h - 4, kWoodDark, e - 2);
        } else {
            c.Frame(0, 0, w, h, kBlack, 1);
            if (e > 1) c.Bevel(1, 1, w - 2, h - 2, kGoldLight, kGoldDark, 1);
            if (e > 2) c.Frame(2, 2, w - 4, h - 4, kGold, e - 3 > 0 ? e - 3 : 1);
            if (e > 3) c.Frame(e - 1, e - 1, w - 2 * (e - 1), h - 2 * (e - 1), kBlack, 1);
        }
        if (!transparentCentre) c.Fill(e, e, w - 2 * e, h - 2 * e, kParchment);
        break;
    }
    }
    return c;
}

Pt Rot(Pt p, float a) {
    return Pt{p.x * std::cos(a) - p.y * std::sin(a), p.x * std::sin(a) + p.y * std::cos(a)};
}

// Polygon in unit coordinates (-1..1) placed into the square, with an outline pass behind it.
void Shape(Canvas& c, std::vector<Pt> unit, int x, int y, int s, Rgba col, float angle = 0) {
    std::vector<Pt> pts;
    float h = s / 2.0f;
    for (Pt p : unit) {
        Pt r = Rot(p, angle);
        pts.push_back(Pt{x + h + r.x * h * 0.8f, y + h + r.y * h * 0.8f});
    }
    std::vector<Pt> shadow;
    for (Pt p : pts) shadow.push_back(Pt{p.x + 1, p.y + 1});
    c.Polygon(shadow, Rgba{0, 0, 0, 170});
    c.Polygon(pts, col);
}

void Stroke(Canvas& c, Pt a, Pt b, int x, int y, int s, float t, Rgba col) {
    float h = s / 2.0f;
    Pt pa{x + h + a.x * h * 0.8f, y + h + a.y * h * 0.8f}, pb{x + h + b.x * h * 0.8f, y + h + b.y * h * 0.8f};
    float w = std::max(1.0f, t * s);
    c.Line(Pt{pa.x + 1, pa.y + 1}, Pt{pb.x + 1, pb.y + 1}, w, Rgba{0, 0, 0, 170});
    c.Line(pa, pb, w, col);
}

void Round(Canvas& c, float ux, float uy, float ur, int x, int y, int s, Rgba col, bool ring = false,
           float t = 0.12f) {
    float h = s / 2.0f;
    float cx = x + h + ux * h * 0.8f, cy = y + h + uy * h * 0.8f, r = ur * h * 0.8f;
    if (ring) {
        c.Ring(cx + 1, cy + 1, r, std::max(1.0f, t * s), Rgba{0, 0, 0, 170});
        c.Ring(cx, cy, r, std::max(1.0f, t * s), col);
    } else {
        c.Disc(cx + 1, cy + 1, r, Rgba{0, 0, 0, 170});
        c.Disc(cx, cy, r, col);
    }
}

const std::vector<Pt> kArrow = {{0, -1},        {0.9f, 0.1f},   {0.35f, 0.1f}, {0.35f, 0.9f},
                                {-0.35f, 0.9f}, {-0.35f, 0.1f}, {-0.9f, 0.1f}};

class Face {
public:
    Face(const std::string& file, int pixels) {
        if (FT_Init_FreeType(&lib_) != 0) throw std::runtime_error("FreeType did not start");
        if (FT_New_Face(lib_, file.c_str(), 0, &face_) != 0) {
            FT_Done_FreeType(lib_);
            throw std::runtime_error("cannot load font " + file);
        }
        FT_Set_Pixel_Sizes(face_, 0, pixels);
    }
    ~Face() {
        FT_Done_Face(face_);
        FT_Done_FreeType(lib_);
    }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    FT_Face face_ = nullptr;

private:
    FT_Library lib_ = nullptr;
};

}  // namespace

void SetFontFolder(const std::string& folder) { g_fontFolder = folder; }
const std::string& FontFolder() { return g_fontFolder; }

std::vector<Canvas> PaintFrame(FrameStyle style, int e, int tile, bool transparentCentre) {
    int w = 2 * e + tile, h = 2 * e + tile;
    Canvas box = FrameBox(style, w, h, e, transparentCentre);
    std::vector<Canvas> pieces;
    pieces.push_back(box.Crop(0, 0, e, e));                // 0 top-left
    pieces.push_back(box.Crop(0, e, e, tile));             // 1 left
    pieces.push_back(box.Crop(0, e + tile, e, e));         // 2 bottom-left
    pieces.push_back(box.Crop(e, 0, tile, e));             // 3 top
    pieces.push_back(box.Crop(e, e, tile, tile));          // 4 centre
    pieces.push_back(box.Crop(e, e + tile, tile, e));      // 5 bottom
    pieces.push_back(box.Crop(e + tile, 0, e, e));         // 6 top-right
    pieces.push_back(box.Crop(e + tile, e, e, tile));      // 7 right
    pieces.push_back(box.Crop(e + tile, e + tile, e, e));  // 8 bottom-right
    return pieces;
}

void PaintIcon(Canvas& c, Icon icon, int x, int y, int s, Rgba col) {
    Rgba dark = Shade(col, 0.55f);
    switch (icon) {
    case Icon::None: break;
    case Icon::ArrowUp: Shape(c, kArrow, x, y, s, col, 0); break;
    case Icon::ArrowRight: Shape(c, kArrow, x, y, s, col, kPi / 2); break;
    case Icon::ArrowDown: Shape(c, kArrow, x, y, s, col, kPi); break;
    case Icon::ArrowLeft: Shape(c, kArrow, x, y, s, col, -kPi / 2); break;
    case Icon::DoubleUp:
    case Icon::DoubleDown: {
        float a = icon == Icon::DoubleUp ? 0 : kPi;
        Shape(c, {{0, -1}, {0.9f, -0.1f}, {-0.9f, -0.1f}}, x, y, s, col, a);
        Shape(c, {{0, -0.1f}, {0.9f, 0.8f}, {-0.9f, 0.8f}}, x, y, s, col, a);
        break;
    }
    case Icon::Check:
        Stroke(c, {-0.8f, 0.0f}, {-0.25f, 0.6f}, x, y, s, 0.16f, col);
        Stroke(c, {-0.25f, 0.6f}, {0.85f, -0.7f}, x, y, s, 0.16f, col);
        break;
    case Icon::Cross:
        Stroke(c, {-0.7f, -0.7f}, {0.7f, 0.7f}, x, y, s, 0.16f, col);
        Stroke(c, {0.7f, -0.7f}, {-0.7f, 0.7f}, x, y, s, 0.16f, col);
        break;
    case Icon::Plus:
        Stroke(c, {-0.8f, 0}, {0.8f, 0}, x, y, s, 0.18f, col);
        Stroke(c, {0, -0.8f}, {0, 0.8f}, x, y, s, 0.18f, col);
        break;
    case Icon::Minus: Stroke(c, {-0.8f, 0}, {0.8f, 0}, x, y, s, 0.18f, col); break;
    case Icon::Sword:
        Shape(c, {{0.9f, -0.9f}, {0.75f, -0.55f}, {-0.35f, 0.55f}, {-0.55f, 0.35f}, {0.55f, -0.75f}}, x, y, s,
              Rgb(0xD8DCE4));
        Stroke(c, {-0.7f, 0.2f}, {-0.2f, 0.7f}, x, y, s, 0.1f, col);
        Stroke(c, {-0.45f, 0.45f}, {-0.85f, 0.85f}, x, y, s, 0.1f, Shade(col, 0.7f));
        break;
    case Icon::Shield:
        Shape(c, {{-0.8f, -0.8f}, {0.8f, -0.8f}, {0.75f, 0.1f}, {0, 0.95f}, {-0.75f, 0.1f}}, x, y, s, col);
        Shape(c, {{-0.5f, -0.55f}, {0.5f, -0.55f}, {0.45f, 0.05f}, {0, 0.6f}, {-0.45f, 0.05f}}, x, y, s,
              dark);
        Stroke(c, {0, -0.5f}, {0, 0.5f}, x, y, s, 0.08f, col);
        break;
    case Icon::Helmet:
        Shape(c,
              {{-0.75f, 0.8f},
               {-0.75f, -0.1f},
               {-0.5f, -0.65f},
               {0, -0.85f},
               {0.5f, -0.65f},
               {0.75f, -0.1f},
               {0.75f, 0.8f},
               {0.2f, 0.8f},
               {0.2f, 0.0f},
               {-0.2f, 0.0f},
               {-0.2f, 0.8f}},
              x, y, s, Rgb(0xB8BCC8));
        Stroke(c, {-0.75f, -0.1f}, {0.75f, -0.1f}, x, y, s, 0.08f, col);
        break;
    case Icon::Ring:
        Round(c, 0, 0.15f, 0.6f, x, y, s, col, true, 0.12f);
        Shape(c, {{0, -0.95f}, {0.25f, -0.6f}, {0, -0.35f}, {-0.25f, -0.6f}}, x, y, s, Rgb(0x60C0F0));
        break;
    case Icon::Book:
        Shape(c, {{-0.8f, -0.7f}, {0.7f, -0.7f}, {0.7f, 0.8f}, {-0.8f, 0.8f}}, x, y, s, Rgb(0x7A2A1A));
        Stroke(c, {-0.55f, -0.7f}, {-0.55f, 0.8f}, x, y, s, 0.06f, col);
        Stroke(c, {-0.2f, -0.3f}, {0.45f, -0.3f}, x, y, s, 0.06f, col);
        Stroke(c, {-0.2f, 0.0f}, {0.45f, 0.0f}, x, y, s, 0.06f, col);
        break;
    case Icon::Potion:
        Round(c, 0, 0.3f, 0.6f, x, y, s, Rgb(0xC03040));
        Shape(c, {{-0.18f, -0.9f}, {0.18f, -0.9f}, {0.18f, -0.25f}, {-0.18f, -0.25f}}, x, y, s,
              Rgb(0xA0C8D0));
        Round(c, -0.2f, 0.15f, 0.15f, x, y, s, Rgb(0xF09090));
        break;
    case Icon::Flask:
        Shape(c,
              {{-0.2f, -0.9f}, {0.2f, -0.9f}, {0.2f, -0.2f}, {0.75f, 0.8f}, {-0.75f, 0.8f}, {-0.2f, -0.2f}},
              x, y, s, Rgb(0xA0C8D0));
        Shape(c, {{-0.45f, 0.3f}, {0.45f, 0.3f}, {0.72f, 0.78f}, {-0.72f, 0.78f}}, x, y, s, Rgb(0x40B060));
        break;
    case Icon::Leaf:
        Shape(c, {{0.8f, -0.8f}, {0.5f, 0.3f}, {-0.3f, 0.6f}, {-0.6f, 0.3f}, {-0.3f, -0.4f}}, x, y, s,
              Rgb(0x4CA040));
        Stroke(c, {0.7f, -0.7f}, {-0.8f, 0.8f}, x, y, s, 0.06f, Rgb(0x2A6020));
        break;
    case Icon::Scroll:
        Shape(c, {{-0.6f, -0.7f}, {0.7f, -0.7f}, {0.6f, 0.7f}, {-0.7f, 0.7f}}, x, y, s, kParchment);
        Stroke(c, {-0.75f, -0.7f}, {0.8f, -0.7f}, x, y, s, 0.14f, kParchmentDark);
        Stroke(c, {-0.8f, 0.7f}, {0.75f, 0.7f}, x, y, s, 0.14f, kParchmentDark);
        Stroke(c, {-0.35f, -0.25f}, {0.35f, -0.25f}, x, y, s, 0.05f, kInk);
        Stroke(c, {-0.35f, 0.15f}, {0.3f, 0.15f}, x, y, s, 0.05f, kInk);
        break;
    case Icon::Gem:
        Shape(c, {{-0.5f, -0.6f}, {0.5f, -0.6f}, {0.9f, -0.15f}, {0, 0.85f}, {-0.9f, -0.15f}}, x, y, s, col);
        Shape(c, {{-0.3f, -0.45f}, {0.3f, -0.45f}, {0.5f, -0.15f}, {-0.5f, -0.15f}}, x, y, s,
              Mix(col, Rgb(0xFFFFFF), 0.5f));
        break;
    case Icon::Star: {
        std::vector<Pt> pts;
        for (int i = 0; i < 10; ++i) {
            float r = i % 2 ? 0.4f : 1.0f, a = -kPi / 2 + i * kPi / 5;
            pts.push_back(Pt{r * std::cos(a), r * std::sin(a)});
        }
        Shape(c, pts, x, y, s, col);
        break;
    }
    case Icon::Coin:
        Round(c, 0, 0, 0.85f, x, y, s, kGoldDark);
        Round(c, -0.05f, -0.05f, 0.7f, x, y, s, kGold);
        Round(c, -0.05f, -0.05f, 0.45f, x, y, s, kGoldLight, true, 0.06f);
        break;
    case Icon::Hand:
        Shape(c,
              {{-0.6f, 0.9f},
               {-0.7f, 0},
               {-0.55f, -0.5f},
               {-0.35f, -0.5f},
               {-0.3f, -0.9f},
               {-0.1f, -0.9f},
               {0, -0.5f},
               {0.1f, -0.95f},
               {0.3f, -0.95f},
               {0.35f, -0.45f},
               {0.5f, -0.8f},
               {0.7f, -0.75f},
               {0.6f, 0.1f},
               {0.4f, 0.9f}},
              x, y, s, Rgb(0xE0B890));
        break;
    case Icon::Map:
        Shape(c,
              {{-0.9f, -0.6f},
               {-0.3f, -0.8f},
               {0.3f, -0.6f},
               {0.9f, -0.8f},
               {0.9f, 0.6f},
               {0.3f, 0.8f},
               {-0.3f, 0.6f},
               {-0.9f, 0.8f}},
              x, y, s, kParchment);
        Stroke(c, {-0.3f, -0.8f}, {-0.3f, 0.6f}, x, y, s, 0.05f, kParchmentDark);
        Stroke(c, {0.3f, -0.6f}, {0.3f, 0.8f}, x, y, s, 0.05f, kParchmentDark);
        Stroke(c, {-0.6f, 0.3f}, {0.1f, -0.2f}, x, y, s, 0.06f, kRed);
        Stroke(c, {0.1f, -0.2f}, {0.6f, -0.3f}, x, y, s, 0.06f, kRed);
        break;
    case Icon::Globe:
        Round(c, 0, 0, 0.9f, x, y, s, Rgb(0x3A70C0));
        Shape(c, {{-0.5f, -0.5f}, {0.1f, -0.6f}, {0.2f, -0.1f}, {-0.2f, 0.3f}, {-0.6f, 0.1f}}, x, y, s,
              Rgb(0x50A050));
        Shape(c, {{0.3f, 0.2f}, {0.7f, 0.1f}, {0.6f, 0.6f}, {0.3f, 0.6f}}, x, y, s, Rgb(0x50A050));
        break;
    case Icon::Gear:
        for (int i = 0; i < 8; ++i) {
            float a = i * kPi / 4;
            Stroke(c, {0.5f * std::cos(a), 0.5f * std::sin(a)}, {0.95f * std::cos(a), 0.95f * std::sin(a)}, x,
                   y, s, 0.16f, col);
        }
        Round(c, 0, 0, 0.65f, x, y, s, col);
        Round(c, 0, 0, 0.25f, x, y, s, kWoodDark);
        break;
    case Icon::Door:
        Shape(c, {{-0.6f, 0.9f}, {-0.6f, -0.5f}, {0, -0.9f}, {0.6f, -0.5f}, {0.6f, 0.9f}}, x, y, s,
              kWoodLight);
        Stroke(c, {0, -0.8f}, {0, 0.9f}, x, y, s, 0.05f, kWoodDark);
        Round(c, 0.35f, 0.2f, 0.1f, x, y, s, col);
        break;
    case Icon::Key:
        Round(c, -0.45f, -0.45f, 0.4f, x, y, s, col, true, 0.12f);
        Stroke(c, {-0.2f, -0.2f}, {0.8f, 0.8f}, x, y, s, 0.12f, col);
        Stroke(c, {0.45f, 0.45f}, {0.7f, 0.2f}, x, y, s, 0.1f, col);
        Stroke(c, {0.65f, 0.65f}, {0.85f, 0.45f}, x, y, s, 0.1f, col);
        break;
    case Icon::Lock:
        Round(c, 0, -0.3f, 0.45f, x, y, s, Rgb(0xA0A4B0), true, 0.12f);
        Shape(c, {{-0.7f, -0.2f}, {0.7f, -0.2f}, {0.7f, 0.85f}, {-0.7f, 0.85f}}, x, y, s, col);
        Round(c, 0, 0.25f, 0.15f, x, y, s, kWoodDark);
        break;
    case Icon::Skull:
        Round(c, 0, -0.2f, 0.7f, x, y, s, Rgb(0xE8E0D0));
        Shape(c, {{-0.4f, 0.3f}, {0.4f, 0.3f}, {0.35f, 0.85f}, {-0.35f, 0.85f}}, x, y, s, Rgb(0xE8E0D0));
        Round(c, -0.28f, -0.2f, 0.18f, x, y, s, kInk);
        Round(c, 0.28f, -0.2f, 0.18f, x, y, s, kInk);
        break;
    case Icon::Moon:
        Round(c, 0, 0, 0.8f, x, y, s, Rgb(0xE8E4C0));
        Round(c, 0.35f, -0.25f, 0.62f, x, y, s, kWoodDark);
        break;
    case Icon::Sun:
        for (int i = 0; i < 12; ++i) {
            float a = i * kPi / 6;
            Stroke(c, {0.55f * std::cos(a), 0.55f * std::sin(a)}, {0.95f * std::cos(a), 0.95f * std::sin(a)},
                   x, y, s, 0.07f, Rgb(0xF0C040));
        }
        Round(c, 0, 0, 0.5f, x, y, s, Rgb(0xF8D850));
        break;
    case Icon::Flame:
        Shape(c,
              {{0, -0.95f},
               {0.5f, -0.2f},
               {0.6f, 0.4f},
               {0.3f, 0.85f},
               {-0.3f, 0.85f},
               {-0.6f, 0.4f},
               {-0.45f, -0.1f},
               {-0.2f, 0.1f}},
              x, y, s, Rgb(0xE86020));
        Shape(c, {{0, -0.3f}, {0.3f, 0.3f}, {0.15f, 0.8f}, {-0.15f, 0.8f}, {-0.3f, 0.35f}}, x, y, s,
              Rgb(0xF8D040));
        break;
    case Icon::Bag:
        Shape(c, {{-0.3f, -0.6f}, {0.3f, -0.6f}, {0.8f, 0.3f}, {0.6f, 0.85f}, {-0.6f, 0.85f}, {-0.8f, 0.3f}},
              x, y, s, Rgb(0x9A6A3A));
        Stroke(c, {-0.35f, -0.6f}, {0.35f, -0.6f}, x, y, s, 0.1f, col);
        Shape(c, {{-0.2f, -0.6f}, {0, -0.95f}, {0.2f, -0.6f}}, x, y, s, Rgb(0x9A6A3A));
        break;
    case Icon::Eye:
        Shape(c, {{-0.95f, 0}, {-0.4f, -0.5f}, {0.4f, -0.5f}, {0.95f, 0}, {0.4f, 0.5f}, {-0.4f, 0.5f}}, x, y,
              s, Rgb(0xF0ECE0));
        Round(c, 0, 0, 0.35f, x, y, s, Rgb(0x3A6AB0));
        Round(c, 0, 0, 0.15f, x, y, s, kInk);
        break;
    case Icon::Person:
        Round(c, 0, -0.5f, 0.35f, x, y, s, col);
        Shape(c, {{-0.7f, 0.9f}, {-0.6f, 0.1f}, {-0.3f, -0.1f}, {0.3f, -0.1f}, {0.6f, 0.1f}, {0.7f, 0.9f}}, x,
              y, s, col);
        break;
    case Icon::Quill:
    case Icon::Feather:
        Shape(c, {{0.85f, -0.9f}, {0.4f, 0.1f}, {-0.5f, 0.7f}, {-0.2f, -0.1f}}, x, y, s, Rgb(0xF0ECE0));
        Stroke(c, {0.8f, -0.85f}, {-0.8f, 0.9f}, x, y, s, 0.05f, kInk);
        break;
    case Icon::Undo:
        Round(c, 0.1f, 0.1f, 0.6f, x, y, s, col, true, 0.14f);
        Shape(c, {{-0.95f, -0.15f}, {-0.2f, -0.15f}, {-0.55f, 0.35f}}, x, y, s, col);
        break;
    case Icon::Pause:
        Shape(c, {{-0.55f, -0.75f}, {-0.15f, -0.75f}, {-0.15f, 0.75f}, {-0.55f, 0.75f}}, x, y, s,
              Rgb(0xE0C890));
        Shape(c, {{0.15f, -0.75f}, {0.55f, -0.75f}, {0.55f, 0.75f}, {0.15f, 0.75f}}, x, y, s, Rgb(0xE0C890));
        break;
    case Icon::Hourglass:
        Shape(c, {{-0.6f, -0.85f}, {0.6f, -0.85f}, {0.1f, 0}, {0.6f, 0.85f}, {-0.6f, 0.85f}, {-0.1f, 0}}, x,
              y, s, Rgb(0xE0C890));
        Stroke(c, {-0.7f, -0.9f}, {0.7f, -0.9f}, x, y, s, 0.1f, kWoodLight);
        Stroke(c, {-0.7f, 0.9f}, {0.7f, 0.9f}, x, y, s, 0.1f, kWoodLight);
        break;
    case Icon::Anvil:
    case Icon::Hammer:
        if (icon == Icon::Anvil) {
            Shape(c,
                  {{-0.9f, -0.4f},
                   {0.8f, -0.4f},
                   {0.5f, 0},
                   {0.3f, 0},
                   {0.4f, 0.8f},
                   {-0.4f, 0.8f},
                   {-0.3f, 0},
                   {-0.6f, -0.1f}},
                  x, y, s, Rgb(0x70747E));
        } else {
            Stroke(c, {-0.7f, 0.8f}, {0.3f, -0.2f}, x, y, s, 0.12f, kWoodLight);
            Shape(c, {{0.0f, -0.7f}, {0.4f, -0.9f}, {0.9f, -0.4f}, {0.7f, 0.0f}}, x, y, s, Rgb(0x90949E));
        }
        break;
    case Icon::Wand:
        Stroke(c, {-0.8f, 0.8f}, {0.5f, -0.5f}, x, y, s, 0.1f, kWoodLight);
        Round(c, 0.6f, -0.6f, 0.22f, x, y, s, Rgb(0x90D0FF));
        break;
    case Icon::Heart:
        Round(c, -0.35f, -0.25f, 0.42f, x, y, s, kRed);
        Round(c, 0.35f, -0.25f, 0.42f, x, y, s, kRed);
        Shape(c, {{-0.75f, -0.05f}, {0.75f, -0.05f}, {0, 0.85f}}, x, y, s, kRed);
        break;
    case Icon::Bolt:
        Shape(c, {{0.2f, -0.95f}, {-0.5f, 0.1f}, {0, 0.1f}, {-0.2f, 0.95f}, {0.5f, -0.15f}, {0, -0.15f}}, x,
              y, s, Rgb(0xF8E060));
        break;
    case Icon::Shift:
        Shape(c, {{0, -0.9f}, {0.8f, 0}, {0.35f, 0}, {0.35f, 0.8f}, {-0.35f, 0.8f}, {-0.35f, 0}, {-0.8f, 0}},
              x, y, s, col);
        break;
    case Icon::Back:
        Shape(c, {{-0.9f, 0}, {-0.4f, -0.6f}, {0.9f, -0.6f}, {0.9f, 0.6f}, {-0.4f, 0.6f}}, x, y, s, col);
        break;
    case Icon::Enter:
        Stroke(c, {0.6f, -0.7f}, {0.6f, 0.2f}, x, y, s, 0.14f, col);
        Stroke(c, {0.6f, 0.2f}, {-0.4f, 0.2f}, x, y, s, 0.14f, col);
        Shape(c, {{-0.9f, 0.2f}, {-0.35f, -0.25f}, {-0.35f, 0.65f}}, x, y, s, col);
        break;
    case Icon::Dot: Round(c, 0, 0, 0.45f, x, y, s, col); break;
    case Icon::Pin:
        Round(c, 0, -0.4f, 0.45f, x, y, s, kRed);
        Shape(c, {{-0.2f, -0.2f}, {0.2f, -0.2f}, {0, 0.95f}}, x, y, s, Rgb(0xB0B4C0));
        break;
    case Icon::Area: Round(c, 0, 0, 0.85f, x, y, s, col, true, 0.1f); break;
    case Icon::TurnLeft:
    case Icon::TurnRight: {
        float sx = icon == Icon::TurnLeft ? -1.0f : 1.0f;
        Stroke(c, {-0.5f * sx, 0.8f}, {-0.5f * sx, -0.2f}, x, y, s, 0.18f, col);
        Stroke(c, {-0.5f * sx, -0.2f}, {0.2f * sx, -0.2f}, x, y, s, 0.18f, col);
        Shape(c, {{0.9f * sx, -0.2f}, {0.2f * sx, -0.75f}, {0.2f * sx, 0.35f}}, x, y, s, col);
        break;
    }
    case Icon::StrafeLeft:
    case Icon::StrafeRight: {
        float a = icon == Icon::StrafeLeft ? -kPi / 2 : kPi / 2;
        Shape(c, kArrow, x, y, s, col, a);
        Stroke(c, {-0.9f, 0.85f}, {0.9f, 0.85f}, x, y, s, 0.08f, col);
        break;
    }
    case Icon::Cards:
        Shape(c, {{-0.7f, -0.6f}, {0.1f, -0.8f}, {0.4f, 0.6f}, {-0.4f, 0.8f}}, x, y, s, Rgb(0xF0ECE0));
        Shape(c, {{-0.2f, -0.7f}, {0.6f, -0.7f}, {0.6f, 0.8f}, {-0.2f, 0.8f}}, x, y, s, Rgb(0xF8F4E8));
        Round(c, 0.2f, 0.05f, 0.2f, x, y, s, kRed);
        break;
    }
}

namespace {

// A rounded button with a gold rim whose face runs from `top` to `bottom`.
Canvas ButtonBody(int w, int h, bool pressed, Rgba top, Rgba bottom) {
    Canvas c(w, h);
    float r = std::min(w, h) * 0.18f;
    c.RoundRect(0, 0, w, h, r, kBlack);
    c.RoundRect(1, 1, w - 2, h - 2, r - 1, pressed ? kGoldDark : kGold);
    Canvas face(w - 4, h - 4);
    face.RoundRect(0, 0, w - 4, h - 4, std::max(1.0f, r - 2), Rgba{255, 255, 255, 255});
    for (int y = 0; y < h - 4; ++y)
        for (int x = 0; x < w - 4; ++x) {
            Rgba m = face.Get(x, y);
            if (m.a == 0) continue;
            Rgba col = Mix(top, bottom, static_cast<float>(y) / std::max(1, h - 5));
            col.a = m.a;
            c.Blend(2 + x, 2 + y, col);
        }
    c.Grain(2, 2, w - 4, h - 4, 0.06f, static_cast<uint32_t>(w * 31 + h));
    // A highlight along the top of a raised button, a shadow along the top of a pressed one.
    c.Fill(static_cast<int>(r), 2, w - 2 * static_cast<int>(r), 1,
           pressed ? Rgba{0, 0, 0, 120} : Rgba{255, 240, 200, 90});
    return c;
}

}  // namespace

Canvas PaintButton(int w, int h, Icon icon, bool pressed, Rgba iconColour) {
    Canvas c = ButtonBody(w, h, pressed, pressed ? kWoodDark : kWoodLight, pressed ? kWood : kWoodDark);
    int size = std::min(w, h) - std::max(8, std::min(w, h) / 4);
    int off = pressed ? 1 : 0;
    PaintIcon(c, icon, (w - size) / 2 + off, (h - size) / 2 + off, size,
              pressed ? Shade(iconColour, 0.8f) : iconColour);
    // Several screens draw these buttons opaque (the game view's arrows and its icon row among them),
    // where see-through corners would show the key colour: they take the dark of the button's rim.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (c.Get(x, y).a < 128) c.Set(x, y, Rgb(0x1A120A));
    return c;
}

Canvas PaintLabelButton(int w, int h, bool pressed) {
    // Some screens write near-black labels with a light rim on this face, others light labels with a
    // dark rim (the shop, the services menu, training), so the face is a middle tone both read on.
    // The game draws it opaque: its corners are filled with the dark of the frames round it.
    const Rgba top = Rgb(0xD0A868), bottom = Rgb(0xB8904F);
    Canvas c = pressed ? ButtonBody(w, h, true, bottom, top) : ButtonBody(w, h, false, top, bottom);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (c.Get(x, y).a < 128) c.Set(x, y, Rgb(0x24180C));
    return c;
}

Canvas PaintTextButton(int w, int h, const std::string& caption, bool pressed) {
    Canvas c = PaintButton(w, h, Icon::None, pressed);
    int off = pressed ? 1 : 0;
    PaintText(c, caption, off, off, w, h, std::max(9, h * 9 / 16),
              pressed ? Shade(kGoldLight, 0.85f) : kGoldLight);
    return c;
}

void PaintText(Canvas& c, const std::string& text, int x, int y, int w, int h, int pixelSize, Rgba colour,
               bool bold, bool serif, bool shadow) {
    std::string file = g_fontFolder + "/DejaVu" + (serif ? "Serif" : "Sans") + (bold ? "-Bold" : "") + ".ttf";
    Face f(file, pixelSize);
    FT_Face face = f.face_;
    // Measure the pen advance first to centre the line.
    int width = 0;
    for (unsigned char ch : text) {
        if (FT_Load_Char(face, ch, FT_LOAD_DEFAULT) == 0)
            width += static_cast<int>(face->glyph->advance.x >> 6);
    }
    int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    int descent = static_cast<int>(-face->size->metrics.descender >> 6);
    int penX = x + (w - width) / 2;
    int base = y + (h - ascent - descent) / 2 + ascent;
    for (int pass = shadow ? 0 : 1; pass < 2; ++pass) {
        int px = penX + (pass == 0 ? 1 : 0);
        int dy = pass == 0 ? 1 : 0;
        Rgba col = pass == 0 ? Rgba{0, 0, 0, 200} : colour;
        for (unsigned char ch : text) {
            if (FT_Load_Char(face, ch, FT_LOAD_RENDER) != 0) continue;
            const FT_Bitmap& bm = face->glyph->bitmap;
            for (unsigned r = 0; r < bm.rows; ++r)
                for (unsigned k = 0; k < bm.width; ++k)
                    c.Blend(px + face->glyph->bitmap_left + static_cast<int>(k),
                            base + dy - face->glyph->bitmap_top + static_cast<int>(r), col,
                            bm.buffer[r * bm.pitch + k] / 255.0f);
            px += static_cast<int>(face->glyph->advance.x >> 6);
        }
    }
}

Canvas PaintWood(int w, int h, uint32_t seed, float grain) {
    Canvas c(w, h, kWood);
    // Fibres along x that repeat every w columns, so that the tile has no seam when repeated.
    for (int y = 0; y < h; ++y) {
        float band = 0.5f + 0.5f * std::sin(y * 0.7f + 2.0f * std::sin(y * 0.13f + seed));
        for (int x = 0; x < w; ++x) {
            float wave = std::sin(2 * kPi * x / w + y * 0.31f + seed) * 0.3f;
            c.Set(x, y, Shade(Mix(kWoodDark, kWoodLight, 0.35f + 0.3f * band + 0.1f * wave), 1.0f));
        }
    }
    c.Grain(0, 0, w, h, grain, seed);
    return c;
}

Canvas PaintParchment(int w, int h, uint32_t seed) {
    Canvas c(w, h, kParchment);
    c.Grain(0, 0, w, h, 0.04f, seed);
    return c;
}

Canvas PaintStone(int w, int h, uint32_t seed) {
    Canvas c(w, h, kStone);
    c.Grain(0, 0, w, h, 0.12f, seed);
    // Mortar lines of a brick course that repeats within the tile.
    int course = std::max(4, h / 4);
    for (int y = 0; y < h; y += course) {
        c.Fill(0, y, w, 1, Shade(kStone, 0.6f));
        int shift = (y / course) % 2 ? w / 2 : 0;
        for (int x = shift % w; x < w; x += std::max(8, w / 2)) c.Fill(x, y, 1, course, Shade(kStone, 0.6f));
    }
    return c;
}
