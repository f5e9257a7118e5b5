// The polygon fillers of the 3D view, by the polygon types the draw loop hands them (see
// CRenderer3D::ChooseFiller). Each returns the pixels it wrote.
//
// Row fillers: the ground types 1..5 under an axis-aligned heading (one coordinate constant along a
// span: the "U" members for headings 0 and 180 degrees keep the texture row, the "V" members for 90 and
// 270 keep the texture column), the same types under the free heading (both coordinates change along a
// span), the ceilings (type 6, the type-1 free filler under every heading), the block models (type 10,
// coordinates on a parabola through three perspective-correct values), the upright pictures (type 11,
// and flat edge pictures that lie level on the screen) and the background quads (type 12).
// Column fillers: wall sides (7), pit sides (8), walls with a decal (9) and flat edge pictures (13, 14).
//
// Every texel index is kept inside its picture, whatever the stepped coordinates do at the ends of a
// span or a mirrored picture's coordinate reaching -1.
#pragma once

#include "view3d/Renderer3D.h"

u32 FillFreePolygon1(const CFillArgs& args);
u32 FillFreePolygon2(const CFillArgs& args);
u32 FillFreePolygon3(const CFillArgs& args);
u32 FillFreePolygon4(const CFillArgs& args);
u32 FillFreePolygon5(const CFillArgs& args);
u32 FillFreePolygon10(const CFillArgs& args);

u32 FillAxisPolygonU1(const CFillArgs& args);
u32 FillAxisPolygonU2(const CFillArgs& args);
u32 FillAxisPolygonU3(const CFillArgs& args);
u32 FillAxisPolygonU4(const CFillArgs& args);
u32 FillAxisPolygonU5(const CFillArgs& args);
u32 FillAxisPolygonV1(const CFillArgs& args);
u32 FillAxisPolygonV2(const CFillArgs& args);
u32 FillAxisPolygonV3(const CFillArgs& args);
u32 FillAxisPolygonV4(const CFillArgs& args);
u32 FillAxisPolygonV5(const CFillArgs& args);

u32 FillLevelPolygon(const CFillArgs& args);
u32 FillBackgroundPolygon(const CFillArgs& args);

u32 FillColumnPolygon7(const CFillArgs& args);
u32 FillColumnPolygon8(const CFillArgs& args);
u32 FillColumnPolygon9(const CFillArgs& args);
u32 FillColumnPolygon13(const CFillArgs& args);
u32 FillColumnPolygon14(const CFillArgs& args);

// Whether a texture can be drawn at all: texels, a colour table and a size.
inline bool UsableTexture(const CTextureDesc* t) {
    return t && t->data && t->table && t->width > 0 && t->height > 0;
}

// Registers every filler above with the renderer.
void RegisterPolygonFillers(CRenderer3D& renderer);

// Texel (x, y) of a picture addressed with its own width as the row length, the indices clamped to
// the picture; false for a see-through texel (colour 0xFFFF, block index 0 of encodings 1 and 2, and
// with `indexZeroClear` texel index 0 of encoding 0).
inline bool PictureTexelAt(const CTextureDesc& t, i32 x, i32 y, bool indexZeroClear, u16& colour) {
    x = x < 0 ? 0 : (x >= t.width ? t.width - 1 : x);
    y = y < 0 ? 0 : (y >= t.height ? t.height - 1 : y);
    u32 index;
    if (t.encoding == 0) {
        index = t.data[static_cast<u32>(y) * static_cast<u32>(t.width) + static_cast<u32>(x)];
        if (indexZeroClear && index == 0) return false;
    } else {
        u32 k = static_cast<u32>(y >> 1) * static_cast<u32>(t.width >> 1) + static_cast<u32>(x >> 1);
        u32 b = t.encoding == 1 ? t.data[k] : static_cast<u32>(t.data[2 * k] | (t.data[2 * k + 1] << 8));
        if (b == 0) return false;
        index = 4 * b + 2 * static_cast<u32>(y & 1) + static_cast<u32>(x & 1);
    }
    colour = index < t.tableCount ? t.table[index] : 0;
    return colour != kTransparentPixel;
}

// The same texel drawn opaque (0xFFFF and index 0 drawn as they are), indices clamped.
inline u16 ClampedTexel(const CTextureDesc& t, i32 x, i32 y) {
    x = x < 0 ? 0 : (x >= t.width ? t.width - 1 : x);
    y = y < 0 ? 0 : (y >= t.height ? t.height - 1 : y);
    return TextureTexel(t, x, y);
}
