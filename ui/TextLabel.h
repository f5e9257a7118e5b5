// The text label: a caption, title or value line in a layout rectangle, laid out once when its text
// changes and drawn with its alignment and an optional black outline. It takes no input.
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "ui/Widget.h"

class CTextLabel : public CWidget {
public:
    // Alignment bits; with neither 0x01 nor 0x02 the text is right-aligned.
    static constexpr u32 kAlignLeft = 0x01;  // left-aligned, and never outlined
    static constexpr u32 kAlignCentre = 0x02;
    static constexpr u32 kAlignMiddle = 0x10;  // centred vertically
    static constexpr u32 kAlignBottom = 0x20;

    CTextLabel();

    void SetText(const char* text);
    void Layout();
    void Draw() override;

    CStr text;
    u32 alignment = 0;
    u32 font = 0;
    i32 textX = 0;
    i32 textY = 0;
    u32 outline = 0;
    u32 textColour = 0;
    u32 backgroundColour = 0;
};
