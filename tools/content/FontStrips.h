// Font strips: one picture row of glyphs per font, rasterised at build time from a DejaVu font so
// that each glyph fills exactly the columns its glyph table gives it. The game reads only the strips.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "display/GlyphTables.h"

// Strip texel values: 0 transparent, 1 the text colour, 2 and 3 the shades towards the background;
// values from 4 up are the strip's own colours (gold for the coin and the highlighted digits).
struct FontStrip {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> texels;    // width x height, row by row
    std::vector<uint16_t> colours;  // RGB565 table indexed by texel value
};

// fontFile: a TrueType file. Throws std::runtime_error when FreeType cannot load it.
FontStrip RasteriseStrip(const GlyphTable& table, const std::string& fontFile);
// The strip as an encoding-0 picture record.
std::vector<uint8_t> EncodeStrip(const FontStrip& strip);
