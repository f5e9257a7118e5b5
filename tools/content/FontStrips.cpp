#include "tools/content/FontStrips.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "tools/content/ByteWriter.h"

namespace {

// Strip colour table: 0..3 are never read from the table (the run's shades take those values);
// 4..7 are a gold ramp for the coin and the highlighted digits, 8 their dark outline.
constexpr uint16_t kStripColours[] = {0x0000, 0x0000, 0x0000, 0x0000, 0xFF2E, 0xF6A8, 0xCD23, 0x9B80, 0x2080};
constexpr uint8_t kGoldLight = 4, kGold = 5, kGoldDark = 7, kOutline = 8;

// Windows-1252 code points of the codes 128..159; the codes 160..255 are Latin-1 itself.
constexpr uint16_t kCp1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

enum class Style { Text, Small, Gold };

struct Choice {
    uint32_t codepoint = 0;  // 0: drawn by hand
    Style style = Style::Text;
};

// What a code shows; see the summary at the top of display/GlyphTables.h.
Choice ChooseGlyph(int code) {
    static const char kSmallMarks[] = "KMB%-+";
    if (code >= 14 && code <= 23) return {static_cast<uint32_t>('0' + code - 14), Style::Small};
    if (code >= 24 && code <= 29) return {static_cast<uint32_t>(kSmallMarks[code - 24]), Style::Small};
    if (code >= 130 && code <= 135) return {static_cast<uint32_t>(kSmallMarks[code - 130]), Style::Gold};
    if (code >= 160 && code <= 169) return {static_cast<uint32_t>('0' + code - 160), Style::Gold};
    if (code >= 32 && code < 127) return {static_cast<uint32_t>(code), Style::Text};
    if (code == 128) return {0x2726, Style::Text};  // a four-pointed star, the symbol of strip 3011
    if (code == 145) return {0x2190, Style::Text};  // delete (back)
    if (code == 146) return {0x21E7, Style::Text};  // a capital next
    if (code == 147) return {0x21EA, Style::Text};  // caps lock
    if (code == 9 || code == 11 || code == 12 || code == 148 || code == 181 || code == 182)
        return {0, Style::Text};
    if (code > 128 && code < 160) return {kCp1252[code - 128] ? kCp1252[code - 128] : 0x00B7u, Style::Text};
    if (code >= 160) return {static_cast<uint32_t>(code), Style::Text};
    return {0x00B7, Style::Text};
}

// Coverage 0..255 to the strip's text values: the core in the text colour, the rim in the two shades
// that fade towards the background.
uint8_t CoverageToShade(int cov) {
    if (cov >= 170) return 1;
    if (cov >= 100) return 2;
    if (cov >= 40) return 3;
    return 0;
}

uint8_t CoverageToGold(int cov, int row, int height) {
    if (cov < 60) return 0;
    float t = static_cast<float>(row) / std::max(1, height - 1);
    return t < 0.35f ? kGoldLight : t < 0.7f ? kGold : kGoldDark;
}

class Rasteriser {
public:
    explicit Rasteriser(const std::string& file) {
        if (FT_Init_FreeType(&lib_) != 0) throw std::runtime_error("FreeType did not start");
        if (FT_New_Face(lib_, file.c_str(), 0, &face_) != 0) {
            FT_Done_FreeType(lib_);
            throw std::runtime_error("cannot load font " + file);
        }
    }
    ~Rasteriser() {
        FT_Done_Face(face_);
        FT_Done_FreeType(lib_);
    }
    Rasteriser(const Rasteriser&) = delete;
    Rasteriser& operator=(const Rasteriser&) = delete;

    // Sizes the face so that ascender plus descender fill scale times the strip height; returns the
    // baseline row.
    int SetHeight(int height, float scale) {
        float em = static_cast<float>(face_->units_per_EM);
        float extent = (face_->ascender - face_->descender) / em;
        int pixels = std::max(6, static_cast<int>(std::lround(height * scale / extent)));
        FT_Set_Pixel_Sizes(face_, 0, pixels);
        int ascent = static_cast<int>(std::lround(face_->ascender / em * pixels));
        int descent = static_cast<int>(std::lround(-face_->descender / em * pixels));
        // Descenders keep their room; when the face is scaled past the strip, the tops of accents
        // above capitals are what gets cut.
        (void)ascent;
        return height - descent;
    }

    // Renders the code point centred in columns [x0, x0 + w) of the strip, baseline at row base.
    bool Draw(FontStrip& s, uint32_t cp, int x0, int w, int base, Style style) {
        FT_UInt index = FT_Get_Char_Index(face_, cp);
        if (index == 0 || FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT) != 0) return false;
        // The tables give glyphs somewhat wider columns than the face's own advances; widening the
        // glyph a little (never narrowing it much) keeps the spacing of a line even.
        float advance = face_->glyph->advance.x / 64.0f;
        float stretch = advance > 0 ? std::clamp((w + 1) / advance, 0.92f, 1.3f) : 1.0f;
        FT_Matrix matrix{static_cast<FT_Fixed>(stretch * 0x10000), 0, 0, 0x10000};
        FT_Set_Transform(face_, &matrix, nullptr);
        bool loaded = FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) == 0;
        FT_Set_Transform(face_, nullptr, nullptr);
        if (!loaded) return false;
        const FT_Bitmap& bm = face_->glyph->bitmap;
        int left = x0 + (w - static_cast<int>(bm.width)) / 2;
        int top = base - face_->glyph->bitmap_top;
        // A mark that hangs below the strip (the underscore in the short strips) moves up into it.
        if (top + static_cast<int>(bm.rows) > s.height && static_cast<int>(bm.rows) <= s.height)
            top = s.height - static_cast<int>(bm.rows);
        for (unsigned r = 0; r < bm.rows; ++r)
            for (unsigned c = 0; c < bm.width; ++c) {
                int x = left + static_cast<int>(c), y = top + static_cast<int>(r);
                // A glyph never spills into its neighbours' columns.
                if (x < x0 || x >= x0 + w || y < 0 || y >= s.height) continue;
                int cov = bm.buffer[r * bm.pitch + c];
                uint8_t v = style == Style::Gold ? CoverageToGold(cov, y, s.height) : CoverageToShade(cov);
                if (v != 0) s.texels[static_cast<size_t>(y) * s.width + x] = v;
            }
        return true;
    }

private:
    FT_Library lib_ = nullptr;
    FT_Face face_ = nullptr;
};

void Put(FontStrip& s, int x, int y, uint8_t v) {
    if (x >= 0 && y >= 0 && x < s.width && y < s.height) s.texels[static_cast<size_t>(y) * s.width + x] = v;
}

// The coin: a gold disc with a dark rim and a light spot, as wide as its columns allow.
void DrawCoin(FontStrip& s, int x0, int w, int base) {
    float r = std::min(w, base) / 2.0f - 0.5f;
    float cx = x0 + w / 2.0f, cy = base - r - 0.5f;
    for (int y = 0; y < s.height; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            if (d > r + 0.3f) continue;
            uint8_t v = d > r - 1.0f ? kOutline : (x + y < cx + cy - r * 0.3f ? kGoldLight : kGold);
            if (d < r * 0.45f) v = kGoldDark;
            Put(s, x, y, v);
        }
}

// The link mark: a small right-pointing triangle on the middle of the x-height.
void DrawLinkMark(FontStrip& s, int x0, int w, int base) {
    int h = std::max(3, base / 2);
    int top = base - h - h / 3;
    int tw = std::min(w - 2, h);
    for (int i = 0; i < tw; ++i) {
        int half = (h * (tw - i)) / (2 * tw);
        for (int y = top + h / 2 - half; y <= top + h / 2 + half; ++y) Put(s, x0 + 1 + i, y, 1);
    }
}

// The stack mark (181): three stacked bars; the charge mark (182): a zigzag bolt. Both take the text's
// colour, so they read on the light lists of the spell book as on dark ones.
void DrawStackMark(FontStrip& s, int x0, int w, int base) {
    int step = std::max(2, base / 5);
    for (int k = 0; k < 3; ++k)
        for (int x = x0 + 1 + k; x < x0 + w - 1 - (2 - k); ++x)
            Put(s, x, base - 1 - k * step, k == 1 ? 2 : 1);
}

void DrawChargeMark(FontStrip& s, int x0, int w, int base) {
    int h = std::max(4, base * 2 / 3);
    int top = base - h;
    for (int y = 0; y < h; ++y) {
        int x =
            y < h / 2 ? x0 + w - 2 - y * (w - 3) / h : x0 + w - 2 - (y - h / 2) * (w - 3) / h - (w - 3) / 3;
        Put(s, x, top + y, 1);
        Put(s, x + 1, top + y, 2);
    }
}

// The wide symbol (12): a horizontal ornament of a line with a diamond in the middle.
void DrawWideSymbol(FontStrip& s, int x0, int w, int base) {
    int mid = base - base / 3;
    for (int x = x0 + 1; x < x0 + w - 1; ++x) Put(s, x, mid, 2);
    int cx = x0 + w / 2, r = std::max(2, base / 4);
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -(r - std::abs(dy)); dx <= r - std::abs(dy); ++dx) Put(s, cx + dx, mid + dy, 1);
}

}  // namespace

FontStrip RasteriseStrip(const GlyphTable& table, const std::string& fontFile) {
    FontStrip s;
    s.height = table.stripHeight;
    for (const GlyphRecord& g : table.glyphs) s.width = std::max<int>(s.width, g.end);
    // The columns 0..4 are what an unlisted code shows; keep at least those.
    s.width = std::max(s.width, static_cast<int>(kMissingGlyphWidth));
    s.texels.assign(static_cast<size_t>(s.width) * s.height, 0);
    s.colours.assign(std::begin(kStripColours), std::end(kStripColours));

    Rasteriser text(fontFile);
    int base = text.SetHeight(s.height, 1.04f);
    Rasteriser small(fontFile);
    small.SetHeight(s.height, 0.9f);
    for (const GlyphRecord& g : table.glyphs) {
        int w = g.end - g.first;
        if (w <= 0) continue;
        Choice choice = ChooseGlyph(g.code);
        switch (g.code) {
        case 9: DrawCoin(s, g.first, w, base); continue;
        case 11: continue;  // the narrow blank
        case 12: DrawWideSymbol(s, g.first, w, base); continue;
        case 148: DrawLinkMark(s, g.first, w, base); continue;
        case 181: DrawStackMark(s, g.first, w, base); continue;
        case 182: DrawChargeMark(s, g.first, w, base); continue;
        default: break;
        }
        if (choice.style == Style::Small) {
            // The small number glyphs: the same digits a size down, standing on the baseline.
            small.Draw(s, choice.codepoint, g.first, w, base, Style::Text);
            continue;
        }
        if (!text.Draw(s, choice.codepoint, g.first, w, base, choice.style))
            text.Draw(s, '?', g.first, w, base, choice.style);
    }
    return s;
}

std::vector<uint8_t> EncodeStrip(const FontStrip& s) {
    ByteWriter out;
    out.U8(0);
    out.U8(0);
    out.I16(s.width);
    out.I16(s.height);
    out.U16(0);
    out.Bytes(s.texels.data(), s.texels.size());
    out.Align(2);
    for (uint16_t c : s.colours) out.U16(c);
    return out.Take();
}
