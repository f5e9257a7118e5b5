// The picture records of the game as data: the 8-byte header {u8 encoding, -, i16 width, i16 height,
// -, -}, the texel data from byte 8 and the RGB565 colour table after it (at an even offset). Reading
// a record checks it once and learns the largest index its texels hold, so that the holders of the
// records (core/RecordHolder.h) keep the result and no draw reads the record again.
#pragma once

#include "core/Types.h"

#include <cstddef>

// 0xFFFF is the see-through colour of the transparent, mirrored and rotated blits.
inline constexpr u16 kTransparentPixel = 0xFFFF;

struct CPictureData {
    u8 encoding = 0;
    i16 width = 0;
    i16 height = 0;
    const u8* data = nullptr;    // record byte 8
    const u16* table = nullptr;  // the colour table
    // Entries of the colour table that lie inside the record. Texels that index past it are drawn
    // black; a header-only read (ReadPictureHeader) cannot know it and leaves the largest count.
    u32 tableCount = 0;
    // The largest colour index (encoding 0) or block index (1 and 2) in the texel data, recorded when
    // ReadPicture had to look because the table does not cover every index the encoding can hold; the
    // blits skip their per-texel table check when the table covers it. kUnknownIndex otherwise.
    u32 maxIndex = kUnknownIndex;
    static constexpr u32 kUnknownIndex = 0xFFFFFFFF;
};

// Whether every index that the picture's texel data holds lies inside its colour table.
bool PictureTableCoversData(const CPictureData& picture);

// Bytes of texel data of a picture: width x height for encoding 0, a half of it for encoding 2 and a
// quarter for the others (the product taken without sign).
u32 PictureDataBytes(u8 encoding, i16 width, i16 height);

// Reads the header as the 3D view does, trusting the record (its size is not known here).
void ReadPictureHeader(const u8* record, CPictureData& picture);

// Reads and checks a picture record of `size` bytes: the encoding is 0, 1 or 2, width and height are
// not negative (and even for encodings 1 and 2), and the texel data lies inside the record. The colour
// table gets the entries that the record holds after the data. False for a record that fails; the
// blits then draw nothing.
bool ReadPicture(const u8* record, size_t size, CPictureData& picture);

