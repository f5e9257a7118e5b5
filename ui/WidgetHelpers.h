// Small helpers of the widgets: the current font's line height, colour words packed to pixels and
// the size of a held picture.
#pragma once

#include "app/Types.h"

class CFontSet;
class CRecordHolder;

// The line height of the font selected last; 0 before any font is selected.
i32 CurrentLineHeight(const CFontSet* fonts);

// A colour word 0x00BBGGRR (red in the low byte) as an RGB565 pixel.
u16 PackColourWord(u32 colour);

// The width and height of a held picture (its i16 header words); 0 x 0 when the holder is null, holds
// nothing, or holds a record too short for a picture header.
void PictureSizeOf(const CRecordHolder* picture, i32& width, i32& height);
