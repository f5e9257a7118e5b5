// The picture records of the game: an 8-byte header {u8 encoding, -, i16 width, i16 height, -, -}, the
// texel data from byte 8 and the record's RGB565 colour table after it (at an even offset).
//   encoding 0: one byte per texel, row by row, indexing the table;
//   encoding 1: one byte per 2 x 2 block, encoding 2 one little-endian u16 per block; block entry k of
//   the table is four colours (top-left, top-right, bottom-left, bottom-right); block index 0 is the
//   see-through block of the transparent blits.
#pragma once

#include "core/PictureRecord.h"
#include "core/Types.h"

#include <cstddef>

// The colour of texel (column, row) of a read picture; no bounds check of column and row.
u16 PictureTexel(const CPictureData& picture, i32 column, i32 row);
// Whether that texel is left out by the transparent blits (colour 0xFFFF, or block index 0).
bool PictureTexelIsClear(const CPictureData& picture, i32 column, i32 row);

// The texture descriptor through which the 3D fillers see a picture: its encoding and size, its texel
// data and the colour table it is drawn with (the record's own or a replacement of the view's palette
// table). `tableCount` bounds the table so that a texel indexing past it is drawn black, not read from
// beyond the record.
struct CTextureDesc {
    u8 encoding = 0;
    i16 width = 0;
    i16 height = 0;
    const u8* data = nullptr;
    const u16* table = nullptr;
    u32 tableCount = 0;
};

// A one-bit mask picture: from record byte 8 one bit per 2 x 2 texels of a 256-texel-wide texture, a
// row of 128 bits (16 bytes) per two texture rows. The fillers use only `bits`.
struct CMaskDesc {
    u16 width = 0;
    u16 height = 0;
    const u8* bits = nullptr;
};

// The descriptor of a picture record: encoding, width and height copied, data at byte 8, colour table
// after the data at an even offset. Like the header read above it trusts the record.
void ReadPictureHeader(const u8* record, CTextureDesc& texture);
// The descriptor of a read (checked) picture, with its own colour table or, when `table` is given,
// that one (`count` entries): a replacement table of an encoding-1 or encoding-2 picture is a block
// table like the record's own.
CTextureDesc TextureDescOf(const CPictureData& picture, const u16* table = nullptr, u32 count = 0);
CMaskDesc MaskDescOf(const CPictureData& picture);

// Bit of texel (x, y) of a mask: bit (x / 2) mod 8 of byte 16 * (y / 2) + x / 16, which is bit
// (x / 2) mod 32 of the little-endian word 4 * (y / 2) + x / 64 that the fillers read.
inline bool MaskBit(const CMaskDesc& mask, i32 x, i32 y) {
    return (mask.bits[16 * (y >> 1) + (x >> 4)] >> ((x >> 1) & 7)) & 1;
}

// Colour of texel (x, y) of a ground or ceiling texture, whose rows are addressed with the fixed row
// length of 256 texels (256 bytes for encoding 0, 128 blocks for encodings 1 and 2).
inline u16 GroundTexel(const CTextureDesc& t, i32 x, i32 y) {
    u32 index;
    if (t.encoding == 0) {
        index = t.data[static_cast<u32>(y) * 256 + static_cast<u32>(x)];
    } else {
        u32 k = static_cast<u32>(y >> 1) * 128 + static_cast<u32>(x >> 1);
        u32 b = t.encoding == 1 ? t.data[k] : static_cast<u32>(t.data[2 * k] | (t.data[2 * k + 1] << 8));
        index = 4 * b + 2 * static_cast<u32>(y & 1) + static_cast<u32>(x & 1);
    }
    return index < t.tableCount ? t.table[index] : 0;
}

// TextureTexel with the encoding known to the caller (0, 1, or 2 for the two-byte blocks), so that a
// span filler can choose it once per polygon instead of once per pixel.
template <int Encoding>
inline u16 TextureTexelOf(const CTextureDesc& t, i32 x, i32 y) {
    u32 index;
    if constexpr (Encoding == 0) {
        index = t.data[static_cast<u32>(y) * static_cast<u32>(t.width) + static_cast<u32>(x)];
    } else {
        u32 k = static_cast<u32>(y >> 1) * static_cast<u32>(t.width >> 1) + static_cast<u32>(x >> 1);
        u32 b = Encoding == 1 ? t.data[k] : static_cast<u32>(t.data[2 * k] | (t.data[2 * k + 1] << 8));
        index = 4 * b + 2 * static_cast<u32>(y & 1) + static_cast<u32>(x & 1);
    }
    return index < t.tableCount ? t.table[index] : 0;
}

// Colour of texel (x, y) of a texture addressed with its own width as the row length.
inline u16 TextureTexel(const CTextureDesc& t, i32 x, i32 y) {
    u32 index;
    if (t.encoding == 0) {
        index = t.data[static_cast<u32>(y) * static_cast<u32>(t.width) + static_cast<u32>(x)];
    } else {
        u32 k = static_cast<u32>(y >> 1) * static_cast<u32>(t.width >> 1) + static_cast<u32>(x >> 1);
        u32 b = t.encoding == 1 ? t.data[k] : static_cast<u32>(t.data[2 * k] | (t.data[2 * k + 1] << 8));
        index = 4 * b + 2 * static_cast<u32>(y & 1) + static_cast<u32>(x & 1);
    }
    return index < t.tableCount ? t.table[index] : 0;
}
