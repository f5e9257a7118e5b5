// Drawing and text helpers that every form shares: the form background, the framed boxes built from
// picture sets, the compact number text and the number-glyph converters.
#pragma once

#include "app/Types.h"

class CForm;
class CStr;

// Tiles the form's background picture over its rectangle, or fills the rectangle with its fill
// colour when it has none.
void DrawFormBackground(CForm& form);

// "%luM" from a million up, "%luK" from 10,000 up, else the number itself.
void FormatCompactNumber(u32 value, CStr& out);
// Rewrite a number text in place into the character codes of the fonts' number glyphs.
void ToNumberGlyphs(CStr& text);
void ToAltNumberGlyphs(CStr& text);
