// Turns a canvas into a picture record: the header {u8 encoding, u8 0, i16 width, i16 height,
// u16 0}, the texel data from byte 8 and the colour table after it (at an even offset).
//   encoding 0: one byte per texel into a table of up to 256 RGB565 colours;
//   encoding 1: one byte per 2 x 2 block into a table of up to 256 four-colour entries;
//   encoding 2: one u16 per 2 x 2 block into a table of up to 65536 four-colour entries.
// 0xFFFF is the transparent colour, so opaque white is stored as 0xFFDF; in encodings 1 and 2 the
// entry 0 is kept for wholly transparent blocks, which the transparent blits skip by index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/content/Canvas.h"

constexpr uint16_t kTransparent565 = 0xFFFF;

// RGB565 of an opaque colour, rounded to nearest; never the transparent value.
uint16_t To565(Rgba c);
// Every texel of the canvas as RGB565; alpha below one half becomes the transparent colour.
std::vector<uint16_t> ToPixels565(const Canvas& canvas);

enum class Encoding { Auto = -1, Palette = 0, Blocks8 = 1, Blocks16 = 2 };

// Auto picks the smallest lossless encoding (0 when the picture has at most 256 colours, 1 or 2 when
// its sizes are even), else encoding 0 after reducing the colours.
// A forced block encoding needs even sizes; a forced encoding 0 reduces colours when it must.
std::vector<uint8_t> EncodePicture(const Canvas& canvas, Encoding encoding = Encoding::Auto);
std::vector<uint8_t> EncodePicture565(const std::vector<uint16_t>& pixels, int width, int height,
                                      Encoding encoding = Encoding::Auto);

// Reduces a set of RGB565 pixels to at most maxColours colours (median cut over the used colours,
// weighted by use); the transparent colour is kept as it is.
std::vector<uint16_t> ReduceColours(const std::vector<uint16_t>& pixels, size_t maxColours);
