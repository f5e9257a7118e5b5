// One clickable line (or a few wrapped lines) of text with a leading glyph: topics of the talk
// screen, entries of list pages, choices of character creation. It answers its command id when it
// is tapped (press and release inside) or when its shortcut key comes.
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "ui/Widget.h"

class CTextLink : public CWidget {
public:
    static constexpr char kGlyph = static_cast<char>(148);

    CTextLink() : CWidget(kWidgetTakesKeys | kWidgetTakesPen) {}

    // x, y and w must be placed before; the height follows from the wrapped text.
    void Setup(const char* text, u32 commandId, u32 normalColour, u32 pressedColour, u32 backgroundColour);
    void SetupAt(const char* text, u32 commandId, u16 x, u16 y, u16 w, u16 h, u32 normalColour,
                 u16 shortcutKey, u32 backgroundColour);
    void SetText(const char* text);

    u32 OnKey(u32 key) override;
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    u32 reserved = 0;
    CStr text;
    u32 commandId = 0;
    i32 textWidth = 0;
    i32 lineCount = 0;
    char glyph[2] = {kGlyph, 0};
    i32 indent = 0;
    u16 shortcutKey = 0;
    u32 font = 0;
    u32 normalColour = 0;
    u32 pressedColour = 0;
    u32 backgroundColour = 0;

private:
    void Size(i32 margin);
    i32 ModeMargin() const;
};
