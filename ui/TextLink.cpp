#include "ui/TextLink.h"

#include "ui/WidgetHost.h"
#include "display/FontSet.h"
#include "ui/WidgetHelpers.h"
#include "ui/LayoutMath.h"

namespace {
i32 CurrentGlyphWidth(const CFontSet* fonts, u8 code) {
    const CBitmapFont* font = fonts != nullptr ? fonts->CurrentFont() : nullptr;
    return font != nullptr ? font->Width(code) : 0;
}
}  // namespace

i32 CTextLink::ModeMargin() const {
    return IsSmallLayoutMode(game != nullptr ? game->GetLayoutMode() : 0) ? 2 : 4;
}

void CTextLink::Size(i32 margin) {
    glyph[0] = kGlyph;
    glyph[1] = 0;
    if (fonts == nullptr) return;
    fonts->Select(1, normalColour, backgroundColour);
    indent = CurrentGlyphWidth(fonts, static_cast<u8>(kGlyph)) + margin;
    fonts->MeasureText(text.GetText(), static_cast<i32>(w) - indent, textWidth, lineCount);
    h = static_cast<u16>(lineCount * (CurrentLineHeight(fonts) + 1));
}

void CTextLink::Setup(const char* newText, u32 command, u32 normal, u32 pressed, u32 background) {
    text.Assign(newText != nullptr ? newText : "");
    commandId = command;
    normalColour = normal;
    pressedColour = pressed;
    backgroundColour = background;
    font = 1;
    shortcutKey = 0;
    Size(ModeMargin());
}

void CTextLink::SetupAt(const char* newText, u32 command, u16 nx, u16 ny, u16 nw, u16 nh, u32 normal, u16 key,
                        u32 background) {
    SetRect(nx, ny, nw, nh);
    text.Assign(newText != nullptr ? newText : "");
    commandId = command;
    normalColour = normal;
    pressedColour = 0x00FFFF;
    backgroundColour = background;
    shortcutKey = key;
    font = 1;
    Size(ModeMargin());
}

void CTextLink::SetText(const char* newText) {
    text.Assign(newText != nullptr ? newText : "");
    Size(4);
}

u32 CTextLink::OnKey(u32 key) {
    if ((state & kWidgetPenEnabled) == 0 || shortcutKey == 0 || key != shortcutKey) return 0;
    return commandId;
}

u32 CTextLink::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if ((state & kWidgetPenEnabled) == 0) return 0;
    return TrackPress(px, py, down, commandId);
}

void CTextLink::Draw() {
    if (fonts == nullptr) return;
    const bool held = (state & kWidgetPenEnabled) != 0 && (state & (kWidgetPressed | kWidgetLatched)) != 0;
    fonts->Select(1, held ? pressedColour : normalColour, backgroundColour);
    fonts->DrawTextBox(x, y, x + indent + 1, y + h, glyph, 0);
    fonts->DrawTextBox(x + indent, y, x + w, y + h, text.GetText(), 0);
}
