// Drawing and text helpers that every form shares: the form background, the framed boxes built from
// picture sets, the compact number text and the number-glyph converters.
#pragma once

#include "core/Types.h"

class CForm;
class CWidgetHost;
class CRecordHolder;
class CRenderer;
class CStr;
struct CPictureData;

// The picture a holder carries, checked; false (and nothing to draw) for an empty holder or a bad
// record.
bool GetHolderPicture(const CRecordHolder* holder, CPictureData& picture);

// Tiles the form's background picture over its rectangle, or fills the rectangle with its fill
// colour when it has none.
void DrawFormBackground(CForm& form);

// Flags of DrawFramedPicture.
enum : u32 {
    kFrameTop = 0x01,
    kFrameLeft = 0x02,
    kFrameBottom = 0x04,
    kFrameRight = 0x08,
    kFrameFill = 0x80,
};

// A nine-piece frame set, in the order top-left, left, bottom-left, top, centre, bottom, top-right,
// right, bottom-right; a three-piece set: left cap, middle, right cap. Corners are drawn whole, edges
// and the centre tiled; transparent blits throughout when `transparent` is set.
void DrawLayoutFrame(CRenderer& renderer, CRecordHolder* const* set, u32 transparent, i32 x, i32 y, i32 w,
                     i32 h);
void DrawFramedPicture(CRenderer& renderer, CRecordHolder* const* set, u32 transparent, i32 x, i32 y,
                       u32 flags, i32 w, i32 h, u32 colour);
void DrawButtonFrame(CRenderer& renderer, CRecordHolder* const* set, u32 transparent, i32 x, i32 y, i32 w,
                     i32 h);

// The same through the game's video output (nothing without one).
void DrawLayoutFrame(CWidgetHost* game, CRecordHolder* const* set, u32 transparent, i32 x, i32 y, i32 w,
                     i32 h);
void DrawFramedPicture(CWidgetHost* game, CRecordHolder* const* set, u32 transparent, i32 x, i32 y, u32 flags,
                       i32 w, i32 h, u32 colour);
void DrawButtonFrame(CWidgetHost* game, CRecordHolder* const* set, u32 transparent, i32 x, i32 y, i32 w,
                     i32 h);

// "%luM" from a million up, "%luK" from 10,000 up, else the number itself.
void FormatCompactNumber(u32 value, CStr& out);
// Rewrite a number text in place into the character codes of the fonts' number glyphs.
void ToNumberGlyphs(CStr& text);
void ToAltNumberGlyphs(CStr& text);
