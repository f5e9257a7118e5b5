// The 2D drawing kit of the renderer. Each blit clips its destination rectangle to the 2D target and its
// source rectangle to the picture once, then walks the remaining spans by the target's step along a
// line, with one span loop per encoding chosen once per blit.
#include "display/Renderer.h"

#include "display/FixedMath.h"
#include "display/FontSet.h"
#include "display/ViewState.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

// Texel fetch for one encoding. SetRow once per line, then Colour / Solid per pixel. `Checked` tests
// every colour index against the table the record holds; a table that every index of the encoding
// reaches (256 entries, or 1,024 for encoding 1) needs no test.
template <int Enc, bool Checked = true>
struct Fetch {
    const u8* data;
    const u16* table;
    u32 count;
    i32 stride;  // texels per row (blocks per row for encodings 1 and 2)
    const u8* row = nullptr;
    u32 sub = 0;  // 2 x (row & 1): the block's lower pair of colours

    Fetch(const CPictureData& p, i32 textureStride)
        : data(p.data), table(p.table), count(p.tableCount),
          stride(Enc == 0 ? textureStride : textureStride >> 1) {}

    void SetRow(i32 r) {
        if (Enc == 0) {
            row = data + static_cast<size_t>(r) * stride;
        } else {
            row = data + static_cast<size_t>(r >> 1) * stride * Enc;
            sub = 2 * (r & 1);
        }
    }
    u32 Block(i32 c) const {
        if (Enc == 1) return row[c >> 1];
        const u8* b = row + 2 * (c >> 1);
        return static_cast<u32>(b[0] | (b[1] << 8));
    }
    u16 Entry(u64 index) const {
        if constexpr (Checked) return index < count ? table[index] : 0;
        return table[index];
    }
    u16 Colour(i32 c) const {
        if (Enc == 0) return Entry(row[c]);
        return Entry(4ull * Block(c) + sub + (c & 1));
    }
    // Fetches the colour; false for a see-through texel.
    bool Solid(i32 c, u16& colour) const {
        if (Enc == 0) {
            colour = Entry(row[c]);
            return colour != kTransparentPixel;
        }
        u32 k = Block(c);
        if (k == 0) return false;
        colour = Entry(4ull * k + sub + (c & 1));
        return colour != kTransparentPixel;
    }
};

enum class Kind { Opaque, Transparent, Half };

struct Clip {
    i32 x, y, w, h;    // destination, inside the target
    i32 skipX, skipY;  // destination columns and lines cut at the left and top
};

// Cuts the rectangle to the target; false when nothing is left.
inline bool ClipToTarget(const CFrameTarget& t, i32 x, i32 y, i32 w, i32 h, Clip& clip) {
    if (w <= 0 || h <= 0 || !t.pixels) return false;
    i64 x0 = std::max<i64>(x, 0), y0 = std::max<i64>(y, 0);
    i64 x1 = std::min<i64>(static_cast<i64>(x) + w, t.width);
    i64 y1 = std::min<i64>(static_cast<i64>(y) + h, t.height);
    if (x1 <= x0 || y1 <= y0) return false;
    clip = {static_cast<i32>(x0),      static_cast<i32>(y0),     static_cast<i32>(x1 - x0),
            static_cast<i32>(y1 - y0), static_cast<i32>(x0 - x), static_cast<i32>(y0 - y)};
    return true;
}

// The columns and rows of a picture that a blit may read with this stride.
void SourceExtent(const CPictureData& p, i32 stride, i32& columns, i32& rows) {
    columns = rows = 0;
    if (!p.data || stride <= 0 || p.width <= 0 || p.height <= 0) return;
    if (p.encoding != 0 && (stride & 1)) return;
    i64 texels = static_cast<i64>(p.width) * p.height;
    columns = std::min<i32>(stride, p.width);
    rows = static_cast<i32>(std::min<i64>(p.height, texels / stride));
    if (p.encoding != 0) rows &= ~1;
}

// Cuts a source rectangle (sx, sy, w, h) drawn at (x, y) to the picture's extent.
bool ClipSource(i32 columns, i32 rows, i32& x, i32& y, i32& sx, i32& sy, i32& w, i32& h) {
    if (sx < 0) {
        x -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        y -= sy;
        h += sy;
        sy = 0;
    }
    w = static_cast<i32>(std::min<i64>(w, static_cast<i64>(columns) - sx));
    h = static_cast<i32>(std::min<i64>(h, static_cast<i64>(rows) - sy));
    return w > 0 && h > 0;
}

// Any turn of the screen and either column direction: one pixel per step.
template <int Enc, Kind K, bool Checked>
void BlitSpans(const CFrameTarget& t, const Clip& c, const CPictureData& p, i32 stride, i32 column0,
               i32 columnStep, i32 row0) {
    Fetch<Enc, Checked> f(p, stride);
    const i32 step = t.xStep;
    for (i32 i = 0; i < c.h; ++i) {
        f.SetRow(row0 + i);
        CSpan span;
        GetSpanAddresses(t, c.y + i, c.x, c.x + c.w, span);
        u16* d = span.start;
        i32 col = column0;
        for (i32 j = 0; j < c.w; ++j, d += step, col += columnStep) {
            if constexpr (K == Kind::Opaque) {
                *d = f.Colour(col);
            } else if constexpr (K == Kind::Half) {
                *d = BlendHalf(f.Colour(col), *d);
            } else {
                u16 colour;
                if (f.Solid(col, colour)) *d = colour;
            }
        }
    }
}

// One line of an opaque blit on an unturned screen, left to right. Encoding 0 looks up four texels per
// round; the block encodings copy a block's pair of colours for this line at once.
template <int Enc, bool Checked>
void OpaqueLine(const Fetch<Enc, Checked>& f, u16* d, i32 col, i32 w) {
    if constexpr (Enc == 0) {
        const u8* src = f.row + col;
        i32 j = 0;
        for (; j + 4 <= w; j += 4) {
            const u16 a = f.Entry(src[j]), b = f.Entry(src[j + 1]), c = f.Entry(src[j + 2]),
                      e = f.Entry(src[j + 3]);
            d[j] = a;
            d[j + 1] = b;
            d[j + 2] = c;
            d[j + 3] = e;
        }
        for (; j < w; ++j) d[j] = f.Entry(src[j]);
    } else if constexpr (Checked) {
        for (i32 j = 0; j < w; ++j) d[j] = f.Colour(col + j);
    } else {
        i32 j = 0;
        if (col & 1) d[j++] = f.Colour(col);
        const u16* pairs = f.table + f.sub;
        const u8* block = f.row + static_cast<size_t>((col + j) >> 1) * Enc;
        auto index = [](const u8* b) -> size_t {
            if constexpr (Enc == 1) return b[0];
            u16 v;
            std::memcpy(&v, b, 2);  // little-endian, as the records are
            return v;
        };
        for (; j + 4 <= w; j += 4, block += 2 * Enc) {
            const size_t a = index(block), b = index(block + Enc);
            std::memcpy(d + j, pairs + 4 * a, 4);
            std::memcpy(d + j + 2, pairs + 4 * b, 4);
        }
        for (; j + 2 <= w; j += 2, block += Enc) std::memcpy(d + j, pairs + 4 * index(block), 4);
        if (j < w) d[j] = f.Colour(col + j);
    }
}

// Writes `colour` unless the texel is see-through, with masks rather than a branch: see-through
// texels are scattered.
inline void PutUnlessClear(u16& d, u16 colour, bool clear) {
    const u16 keep = static_cast<u16>(-static_cast<i32>(clear));
    d = static_cast<u16>((d & keep) | (colour & ~keep));
}

// Four neighbouring pixels at once: the four colours and the target's four pixels merged in one
// 64-bit word, so that a see-through texel costs neither a branch nor a store of its own.
inline void PutFourUnlessClear(u16* d, u16 a, u16 b, u16 c, u16 e, bool ca, bool cb, bool cc, bool ce) {
    static_assert(std::endian::native == std::endian::little, "pixel lanes are laid out little-endian");
    const u64 colours = u64{a} | (u64{b} << 16) | (u64{c} << 32) | (u64{e} << 48);
    const u64 keep = (ca ? 0xFFFFull : 0) | (cb ? 0xFFFFull << 16 : 0) | (cc ? 0xFFFFull << 32 : 0) |
                     (ce ? 0xFFFFull << 48 : 0);
    u64 old;
    std::memcpy(&old, d, 8);
    const u64 out = (old & keep) | (colours & ~keep);
    std::memcpy(d, &out, 8);
}

// One line of a transparent blit on an unturned screen, left to right, four pixels a round; the
// block encodings take a block's pair of colours for this line together.
template <int Enc, bool Checked>
void TransparentLine(const Fetch<Enc, Checked>& f, u16* d, i32 col, i32 w) {
    if constexpr (Enc == 0) {
        const u8* src = f.row + col;
        i32 j = 0;
        for (; j + 4 <= w; j += 4) {
            const u16 a = f.Entry(src[j]), b = f.Entry(src[j + 1]), c = f.Entry(src[j + 2]),
                      e = f.Entry(src[j + 3]);
            PutFourUnlessClear(d + j, a, b, c, e, a == kTransparentPixel, b == kTransparentPixel,
                               c == kTransparentPixel, e == kTransparentPixel);
        }
        for (; j < w; ++j) {
            const u16 colour = f.Entry(src[j]);
            PutUnlessClear(d[j], colour, colour == kTransparentPixel);
        }
    } else {
        auto single = [&](i32 j) {
            const u32 k = f.Block(col + j);
            const u16 colour = f.Entry(4ull * k + f.sub + ((col + j) & 1));
            PutUnlessClear(d[j], colour, (colour == kTransparentPixel) | (k == 0));
        };
        i32 j = 0;
        if (col & 1) single(j++);
        for (; j + 4 <= w; j += 4) {
            const u32 k0 = f.Block(col + j), k1 = f.Block(col + j + 2);
            const u64 at0 = 4ull * k0 + f.sub, at1 = 4ull * k1 + f.sub;
            const u16 a = f.Entry(at0), b = f.Entry(at0 + 1), c = f.Entry(at1), e = f.Entry(at1 + 1);
            PutFourUnlessClear(d + j, a, b, c, e, (a == kTransparentPixel) | (k0 == 0),
                               (b == kTransparentPixel) | (k0 == 0), (c == kTransparentPixel) | (k1 == 0),
                               (e == kTransparentPixel) | (k1 == 0));
        }
        for (; j + 2 <= w; j += 2) {
            const u32 k = f.Block(col + j);
            const u64 at = 4ull * k + f.sub;
            const u16 a = f.Entry(at), b = f.Entry(at + 1);
            PutUnlessClear(d[j], a, (a == kTransparentPixel) | (k == 0));
            PutUnlessClear(d[j + 1], b, (b == kTransparentPixel) | (k == 0));
        }
        if (j < w) single(j);
    }
}

// Left to right on an unturned screen: the step is known, so the loops unroll.
template <int Enc, Kind K, bool Checked>
void BlitSpansUnit(const CFrameTarget& t, const Clip& c, const CPictureData& p, i32 stride, i32 column0,
                   i32 row0) {
    Fetch<Enc, Checked> f(p, stride);
    u16* line = t.pixels + FrameOffset(t, c.x, c.y);
    for (i32 i = 0; i < c.h; ++i, line += t.yStep) {
        f.SetRow(row0 + i);
        if constexpr (K == Kind::Opaque)
            OpaqueLine(f, line, column0, c.w);
        else if constexpr (K == Kind::Transparent)
            TransparentLine(f, line, column0, c.w);
        else
            for (i32 j = 0; j < c.w; ++j) line[j] = BlendHalf(f.Colour(column0 + j), line[j]);
    }
}

template <int Enc, Kind K, bool Checked>
void BlitEncoding(const CFrameTarget& t, const Clip& c, const CPictureData& p, i32 stride, i32 column0,
                  i32 columnStep, i32 row0) {
    if (t.xStep == 1 && t.orientation == 0 && columnStep == 1)
        BlitSpansUnit<Enc, K, Checked>(t, c, p, stride, column0, row0);
    else
        BlitSpans<Enc, K, Checked>(t, c, p, stride, column0, columnStep, row0);
}

// A table that covers every index the texels hold needs no check per texel.
template <int Enc, Kind K>
void BlitEncodingOf(const CFrameTarget& t, const Clip& c, const CPictureData& p, i32 stride, i32 column0,
                    i32 columnStep, i32 row0) {
    if (PictureTableCoversData(p))
        BlitEncoding<Enc, K, false>(t, c, p, stride, column0, columnStep, row0);
    else
        BlitEncoding<Enc, K, true>(t, c, p, stride, column0, columnStep, row0);
}

template <Kind K>
void Blit(const CFrameTarget& t, const Clip& c, const CPictureData& p, i32 stride, i32 column0,
          i32 columnStep, i32 row0) {
    switch (p.encoding) {
    case 0: BlitEncodingOf<0, K>(t, c, p, stride, column0, columnStep, row0); break;
    case 1: BlitEncodingOf<1, K>(t, c, p, stride, column0, columnStep, row0); break;
    case 2: BlitEncodingOf<2, K>(t, c, p, stride, column0, columnStep, row0); break;
    default: break;  // no span writer for an unknown encoding: nothing is drawn
    }
}

template <int Enc>
void StretchSpans(const CFrameTarget& t, const Clip& c, const CPictureData& p, i32 stride, i32 xStep,
                  i32 yStep) {
    Fetch<Enc> f(p, stride);
    for (i32 i = 0; i < c.h; ++i) {
        i32 row = (yStep >> 1) + (c.skipY + i) * yStep;
        f.SetRow(row >> 16);
        CSpan span;
        GetSpanAddresses(t, c.y + i, c.x, c.x + c.w, span);
        u16* d = span.start;
        i32 col = (xStep >> 1) + c.skipX * xStep;
        for (i32 j = 0; j < c.w; ++j, d += t.xStep, col += xStep) *d = f.Colour(col >> 16);
    }
}

void PutPixel(const CFrameTarget& t, i32 x, i32 y, u16 colour) {
    if (x < 0 || y < 0 || x >= t.width || y >= t.height || !t.pixels) return;
    t.pixels[FrameOffset(t, x, y)] = colour;
}

}  // namespace

void CRenderer::Init() {
    viewState = nullptr;
    target2D = CFrameTarget{};
}

void CRenderer::SetupView() {
    if (!viewState) return;
    const CFrameBufferDesc& fb = viewState->frameBuffer;
    target2D.pixels = fb.pixels;
    target2D.pitch = fb.pitch;
    target2D.orientation = fb.orientation;
    target2D.width = fb.pixels ? fb.width : 0;
    target2D.height = fb.pixels ? fb.height : 0;
    SetFrameTargetSteps(target2D);
}

void CRenderer::Mark() {
    if (viewState) viewState->flags |= kViewFlagDrawn2D;
}

void CRenderer::FillRect(i32 x, i32 y, i32 width, i32 height, u16 colour) {
    Mark();
    Clip c;
    if (!ClipToTarget(target2D, x, y, width, height, c)) return;
    if (target2D.xStep == 1 && target2D.orientation == 0) {
        // One line filled, the others copied from it: a copy of known bytes beats a fill loop of a
        // length known only at run time.
        u16* first = target2D.pixels + FrameOffset(target2D, c.x, c.y);
        std::fill_n(first, c.w, colour);
        u16* line = first;
        for (i32 i = 1; i < c.h; ++i) {
            line += target2D.yStep;
            std::memcpy(line, first, static_cast<size_t>(c.w) * 2);
        }
        return;
    }
    for (i32 i = 0; i < c.h; ++i) {
        CSpan span;
        GetSpanAddresses(target2D, c.y + i, c.x, c.x + c.w, span);
        u16* d = span.start;
        for (i32 j = 0; j < c.w; ++j, d += target2D.xStep) *d = colour;
    }
}

void CRenderer::DrawPicture(i32 x, i32 y, const CPictureData& picture, i32 stride, i32 sourceX, i32 sourceY,
                            i32 width, i32 height) {
    Mark();
    i32 columns, rows;
    SourceExtent(picture, stride, columns, rows);
    if (!ClipSource(columns, rows, x, y, sourceX, sourceY, width, height)) return;
    Clip c;
    if (!ClipToTarget(target2D, x, y, width, height, c)) return;
    Blit<Kind::Opaque>(target2D, c, picture, stride, sourceX + c.skipX, 1, sourceY + c.skipY);
}

void CRenderer::DrawPictureHalfTransparent(i32 x, i32 y, const CPictureData& picture, i32 stride, i32 sourceY,
                                           i32 width, i32 height) {
    Mark();
    i32 columns, rows, sourceX = 0;
    SourceExtent(picture, stride, columns, rows);
    if (!ClipSource(columns, rows, x, y, sourceX, sourceY, width, height)) return;
    Clip c;
    if (!ClipToTarget(target2D, x, y, width, height, c)) return;
    Blit<Kind::Half>(target2D, c, picture, stride, c.skipX, 1, sourceY + c.skipY);
}

void CRenderer::DrawPictureTransparent(i32 x, i32 y, const CPictureData& picture, i32 stride, i32 sourceX,
                                       i32 sourceY, i32 width, i32 height) {
    Mark();
    i32 columns, rows;
    SourceExtent(picture, stride, columns, rows);
    if (!ClipSource(columns, rows, x, y, sourceX, sourceY, width, height)) return;
    Clip c;
    if (!ClipToTarget(target2D, x, y, width, height, c)) return;
    Blit<Kind::Transparent>(target2D, c, picture, stride, sourceX + c.skipX, 1, sourceY + c.skipY);
}

void CRenderer::DrawPictureTransparentMirrored(i32 x, i32 y, const CPictureData& picture, i32 stride,
                                               i32 width, i32 height) {
    Mark();
    i32 columns, rows;
    SourceExtent(picture, stride, columns, rows);
    // Column width - 1 lands at x, so the drawn columns are width - 1 down to 0.
    if (width > columns || height <= 0) {
        // A width beyond the picture would read columns that do not exist: draw what there is, from the
        // same right edge.
        x += width - columns;
        width = columns;
    }
    height = std::min(height, rows);
    Clip c;
    if (!ClipToTarget(target2D, x, y, width, height, c)) return;
    Blit<Kind::Transparent>(target2D, c, picture, stride, width - 1 - c.skipX, -1, c.skipY);
}

void CRenderer::DrawPictureStretched(i32 x, i32 y, const CPictureData& picture, i32 stride, i32 sourceWidth,
                                     i32 sourceHeight, i32 destWidth, i32 destHeight) {
    Mark();
    if (destWidth <= 0 || destHeight <= 0) return;
    i32 columns, rows;
    SourceExtent(picture, stride, columns, rows);
    sourceWidth = std::min(sourceWidth, columns);
    sourceHeight = std::min(sourceHeight, rows);
    if (sourceWidth <= 0 || sourceHeight <= 0) return;
    i32 xStep = static_cast<i32>((static_cast<i64>(sourceWidth) << 16) / destWidth);
    i32 yStep = static_cast<i32>((static_cast<i64>(sourceHeight) << 16) / destHeight);
    Clip c;
    if (!ClipToTarget(target2D, x, y, destWidth, destHeight, c)) return;
    switch (picture.encoding) {
    case 0: StretchSpans<0>(target2D, c, picture, stride, xStep, yStep); break;
    case 1: StretchSpans<1>(target2D, c, picture, stride, xStep, yStep); break;
    case 2: StretchSpans<2>(target2D, c, picture, stride, xStep, yStep); break;
    default: break;
    }
}

namespace {

template <class Draw>
void Tile(i32 x, i32 y, i32 pw, i32 ph, i32 areaWidth, i32 areaHeight, Draw draw) {
    if (pw <= 0 || ph <= 0 || areaWidth <= 0 || areaHeight <= 0) return;
    i32 nx = areaWidth / pw, rx = areaWidth - nx * pw;
    i32 ny = areaHeight / ph, ry = areaHeight - ny * ph;
    for (i32 c = 0; c < nx; ++c)
        for (i32 r = 0; r < ny; ++r) draw(x + c * pw, y + r * ph, pw, ph);
    if (rx > 0 && ny > 0)
        for (i32 r = 0; r < ny; ++r) draw(x + areaWidth - rx, y + r * ph, rx, ph);
    if (ry > 0 && nx > 0)
        for (i32 c = 0; c < nx; ++c) draw(x + c * pw, y + areaHeight - ry, pw, ry);
    if (rx > 0 && ry > 0) draw(x + areaWidth - rx, y + areaHeight - ry, rx, ry);
}

}  // namespace

void CRenderer::DrawPictureTiled(i32 x, i32 y, const CPictureData& picture, i32 pictureWidth,
                                 i32 pictureHeight, i32 areaWidth, i32 areaHeight) {
    Mark();
    Tile(x, y, pictureWidth, pictureHeight, areaWidth, areaHeight,
         [&](i32 tx, i32 ty, i32 w, i32 h) { DrawPicture(tx, ty, picture, pictureWidth, 0, 0, w, h); });
}

void CRenderer::DrawPictureTiledTransparent(i32 x, i32 y, const CPictureData& picture, i32 pictureWidth,
                                            i32 pictureHeight, i32 areaWidth, i32 areaHeight) {
    Mark();
    Tile(x, y, pictureWidth, pictureHeight, areaWidth, areaHeight, [&](i32 tx, i32 ty, i32 w, i32 h) {
        DrawPictureTransparent(tx, ty, picture, pictureWidth, 0, 0, w, h);
    });
}

namespace {

// Weights of output pixel i along one axis over the 5 texels of a block, per output size.
constexpr u8 kShrinkWeights2[2][5] = {{2, 2, 1, 0, 0}, {0, 0, 1, 2, 2}};
constexpr u8 kShrinkWeights3[3][5] = {{3, 2, 0, 0, 0}, {0, 1, 3, 1, 0}, {0, 0, 0, 2, 3}};
constexpr u8 kShrinkWeights4[4][5] = {{4, 1, 0, 0, 0}, {0, 3, 2, 0, 0}, {0, 0, 2, 3, 0}, {0, 0, 0, 1, 4}};

const u8 (*ShrinkWeights(int n))[5] {
    return n == 2 ? kShrinkWeights2 : n == 3 ? kShrinkWeights3 : kShrinkWeights4;
}

}  // namespace

void CRenderer::Shrink(i32 x, i32 y, const CPictureData& picture, int n) {
    Mark();
    if (picture.width != 50 || picture.height != 50 || !picture.data) {
        // The block filter reads a 50 x 50 source; any other picture is scaled plainly to the same size.
        DrawPictureStretched(x, y, picture, picture.width, picture.width, picture.height, 10 * n, 10 * n);
        return;
    }
    const u8(*weights)[5] = ShrinkWeights(n);
    u16 block[5][5];
    for (i32 by = 0; by < 10; ++by) {
        for (i32 bx = 0; bx < 10; ++bx) {
            for (i32 v = 0; v < 5; ++v)
                for (i32 u = 0; u < 5; ++u) block[v][u] = PictureTexel(picture, bx * 5 + u, by * 5 + v);
            for (int j = 0; j < n; ++j) {
                for (int i = 0; i < n; ++i) {
                    // See-through texels take no part: a pixel mostly over them is left as it
                    // was, the others average their solid texels only, so an item picture with
                    // see-through corners shrinks onto its cell without a white rim.
                    u32 r = 0, g = 0, b = 0, solid = 0;
                    for (int v = 0; v < 5; ++v) {
                        for (int u = 0; u < 5; ++u) {
                            u32 w = weights[i][u] * weights[j][v];
                            if (!w) continue;
                            u16 colour = block[v][u];
                            if (colour == kTransparentPixel) continue;
                            solid += w;
                            r += w * (colour >> 11);
                            g += w * ((colour >> 5) & 63);
                            b += w * (colour & 31);
                        }
                    }
                    if (solid * 2 < 25) continue;
                    PutPixel(target2D, x + n * bx + i, y + n * by + j,
                             static_cast<u16>(((r / solid) << 11) | ((g / solid) << 5) | (b / solid)));
                }
            }
        }
    }
}

void CRenderer::DrawPictureShrunk20(i32 x, i32 y, const CPictureData& picture) { Shrink(x, y, picture, 2); }
void CRenderer::DrawPictureShrunk30(i32 x, i32 y, const CPictureData& picture) { Shrink(x, y, picture, 3); }
void CRenderer::DrawPictureShrunk40(i32 x, i32 y, const CPictureData& picture) { Shrink(x, y, picture, 4); }

void CRenderer::DrawPictureRotated(i32 centreX, i32 centreY, const CPictureData& picture, i32 width,
                                   i32 height, i32 angle) {
    i32 a = 360 * 65536 - angle;
    if (a == 360 * 65536) a = 0;
    i32 r = DegreesToFixedRadians(a);
    i64 s = SinFixed(r) >> 3;
    i64 c = CosFixed(r) >> 3;
    i64 W = 8 * static_cast<i64>(width), H = 8 * static_cast<i64>(height);
    i64 X = 16 * static_cast<i64>(centreX), Y = 16 * static_cast<i64>(centreY);
    CScreenCorner corners[4];
    auto set = [&](int k, i64 cx, i64 cy) {
        corners[k].x = static_cast<i32>(X + (cx >> 13));
        corners[k].y = static_cast<i32>(Y + (cy >> 13));
        corners[k].w = 1;
    };
    set(0, H * s - W * c, -(W * s + H * c));
    set(1, H * s + W * c, W * s - H * c);
    set(2, W * c - H * s, W * s + H * c);
    set(3, -(H * s + W * c), H * c - W * s);
    const CTexCoord texture[4] = {{0, 0}, {16 * width, 0}, {16 * width, 16 * height}, {0, 16 * height}};
    CPictureData drawn = picture;
    drawn.width = static_cast<i16>(width);
    drawn.height = static_cast<i16>(height);
    if (width > picture.width || height > picture.height) return;  // would read past the texels
    FillRotatedPolygon(drawn, texture, target2D, corners);
}

void CRenderer::FillRotatedPolygon(const CPictureData& picture, const CTexCoord texture[4],
                                   const CFrameTarget& target, const CScreenCorner corners[4]) {
    if (!target.pixels || picture.width <= 0 || picture.height <= 0 || !picture.data) return;
    // The picture's rectangle turned is a parallelogram: each pixel centre is mapped back through the
    // edges from corner 0 to corners 1 and 3 and takes the texel under it.
    i64 ex = corners[1].x - corners[0].x, ey = corners[1].y - corners[0].y;
    i64 fx = corners[3].x - corners[0].x, fy = corners[3].y - corners[0].y;
    i64 det = ex * fy - ey * fx;
    if (det == 0) return;
    i64 du = texture[1].u - texture[0].u, dv = texture[3].v - texture[0].v;
    i32 minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (int k = 1; k < 4; ++k) {
        minX = std::min(minX, corners[k].x);
        maxX = std::max(maxX, corners[k].x);
        minY = std::min(minY, corners[k].y);
        maxY = std::max(maxY, corners[k].y);
    }
    i32 x0 = std::max(0, (minX - 8 + 15) >> 4), x1 = std::min(target.width, ((maxX - 8) >> 4) + 1);
    i32 y0 = std::max(0, (minY - 8 + 15) >> 4), y1 = std::min(target.height, ((maxY - 8) >> 4) + 1);
    auto floorDiv = [](i64 a, i64 b) {
        i64 q = a / b;
        return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
    };
    for (i32 py = y0; py < y1; ++py) {
        for (i32 px = x0; px < x1; ++px) {
            i64 dx = 16 * static_cast<i64>(px) + 8 - corners[0].x;
            i64 dy = 16 * static_cast<i64>(py) + 8 - corners[0].y;
            i64 a = dx * fy - dy * fx;  // share of edge 0-1, times det
            i64 b = ex * dy - ey * dx;  // share of edge 0-3, times det
            i64 u = texture[0].u + floorDiv(a * du, det);
            i64 v = texture[0].v + floorDiv(b * dv, det);
            i64 col = u >> 4, row = v >> 4;
            if (col < 0 || row < 0 || col >= picture.width || row >= picture.height) continue;
            if (PictureTexelIsClear(picture, static_cast<i32>(col), static_cast<i32>(row))) continue;
            target.pixels[FrameOffset(target, px, py)] =
                PictureTexel(picture, static_cast<i32>(col), static_cast<i32>(row));
        }
    }
}

void CRenderer::CopyPicture16(i32 x, i32 y, const u16* pixels, i32 stride, i32 sourceX, i32 sourceY,
                              i32 width, i32 height, size_t count) {
    Mark();
    if (!pixels || stride <= 0) return;
    i64 rows = static_cast<i64>(count / static_cast<size_t>(stride));
    i32 columns = stride;
    i32 availableRows = static_cast<i32>(std::min<i64>(rows, 0x7FFFFFFF));
    if (!ClipSource(columns, availableRows, x, y, sourceX, sourceY, width, height)) return;
    Clip c;
    if (!ClipToTarget(target2D, x, y, width, height, c)) return;
    for (i32 i = 0; i < c.h; ++i) {
        const u16* src = pixels + static_cast<size_t>(sourceY + c.skipY + i) * stride + sourceX + c.skipX;
        CSpan span;
        GetSpanAddresses(target2D, c.y + i, c.x, c.x + c.w, span);
        u16* d = span.start;
        if (target2D.xStep == 1) {
            std::memcpy(d, src, static_cast<size_t>(c.w) * 2);
        } else {
            for (i32 j = 0; j < c.w; ++j, d += target2D.xStep) *d = src[j];
        }
    }
}

namespace {

// The colour of each strip value for one run of text: 1..3 are the run's shades, the others the strip's
// own table (black past it). Value 0 is see-through and never written.
struct GlyphColours {
    u16 colour[256];
    GlyphColours(const CPictureData& strip, u16 colour1, u16 colour2, u16 colour3) {
        colour[0] = 0;
        colour[1] = colour1;
        colour[2] = colour2;
        colour[3] = colour3;
        for (u32 v = 4; v < 256; ++v) colour[v] = v < strip.tableCount ? strip.table[v] : 0;
    }
};

inline u16 GlyphTexel(const GlyphColours& colours, u8 v, u16 under) {
    const u16 c = colours.colour[v];
    return v != 0 ? c : under;
}

// One line of a glyph on an unturned screen. The frame never overlaps the colours or the strip; said so,
// the texels need not wait for each other's stores.
void GlyphLine(const u16* __restrict colours, const u8* __restrict src, u16* __restrict d, i32 w) {
    i32 j = 0;
    for (; j + 4 <= w; j += 4) {
        const u8 a = src[j], b = src[j + 1], c = src[j + 2], e = src[j + 3];
        d[j] = a != 0 ? colours[a] : d[j];
        d[j + 1] = b != 0 ? colours[b] : d[j + 1];
        d[j + 2] = c != 0 ? colours[c] : d[j + 2];
        d[j + 3] = e != 0 ? colours[e] : d[j + 3];
    }
    for (; j < w; ++j) d[j] = src[j] != 0 ? colours[src[j]] : d[j];
}

void DrawGlyphSpans(const CFrameTarget& t, i32 x, i32 y, const CPictureData& strip, i32 firstColumn,
                    i32 glyphWidth, const GlyphColours& colours) {
    if (!strip.data || strip.width <= 0 || strip.height <= 0) return;
    // The glyph's columns that the strip really has.
    i32 first = firstColumn, w = glyphWidth;
    if (first < 0) {
        x -= first;
        w += first;
        first = 0;
    }
    w = std::min(w, strip.width - first);
    // A strip read as one byte per texel must hold width x height bytes; fewer rows if it does not.
    i32 rows = strip.height;
    if (strip.encoding != 0)
        rows = static_cast<i32>(PictureDataBytes(strip.encoding, strip.width, strip.height) / strip.width);
    Clip c;
    if (!ClipToTarget(t, x, y, w, rows, c)) return;
    const u8* src = strip.data + static_cast<size_t>(c.skipY) * strip.width + first + c.skipX;
    u16* line = t.pixels + FrameOffset(t, c.x, c.y);
    // Every texel is written, see-through ones with what was there: a select, not a branch per texel.
    if (t.xStep == 1) {
        for (i32 i = 0; i < c.h; ++i, src += strip.width, line += t.yStep)
            GlyphLine(colours.colour, src, line, c.w);
        return;
    }
    for (i32 i = 0; i < c.h; ++i, src += strip.width, line += t.yStep) {
        u16* d = line;
        for (i32 j = 0; j < c.w; ++j, d += t.xStep) *d = GlyphTexel(colours, src[j], *d);
    }
}

}  // namespace

void CRenderer::DrawText(const CTextRun& run) {
    Mark();
    if (!run.font || !run.text || !run.font->HasStrip()) return;
    const CBitmapFont& font = *run.font;
    const GlyphColours colours(font.Strip(), run.colour1, run.colour2, run.colour3);
    i32 x = run.x;
    for (const u8* p = reinterpret_cast<const u8*>(run.text); *p; ++p) {
        DrawGlyphSpans(target2D, x, run.y, font.Strip(), font.FirstColumn(*p), font.Width(*p), colours);
        x += font.Width(*p) + 1;
        if (x >= target2D.width) break;  // everything further lies right of the target
    }
}

void CRenderer::DrawGlyph(i32 x, i32 y, const CPictureData& strip, i32 firstColumn, i32 glyphWidth,
                          u16 colour1, u16 colour2, u16 colour3) {
    if (!strip.data || strip.width <= 0 || strip.height <= 0) return;
    DrawGlyphSpans(target2D, x, y, strip, firstColumn, glyphWidth,
                   GlyphColours(strip, colour1, colour2, colour3));
}
