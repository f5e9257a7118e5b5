#include "ui/TextLabel.h"

#include "ui/WidgetHost.h"
#include "display/FontSet.h"
#include "ui/LayoutMath.h"
#include "ui/WidgetHelpers.h"

CTextLabel::CTextLabel() : CWidget(0) {}

void CTextLabel::SetText(const char* newText) {
    text.Assign(newText);
    state |= kWidgetRedraw;
    Layout();
}

void CTextLabel::Layout() {
    fonts->Select(font, textColour, backgroundColour);
    i32 widest = 0, lines = 0;
    fonts->MeasureText(text.GetText(), w, widest, lines);
    textX = x;
    textY = y;
    const i32 pitch = CurrentLineHeight(fonts) + 1;
    const i32 height = h;
    if ((alignment & kAlignMiddle) != 0 && lines * pitch < height) {
        textY = y + (height - lines * pitch) / 2;
    } else if ((alignment & kAlignBottom) != 0) {
        textY = y + height - lines * pitch;
    }
    // Text taller than the rectangle is cut at the bottom, never at the top.
    if (textY < y) textY = y;
}

void CTextLabel::Draw() {
    const i32 d = IsLargeLayoutMode(game->GetLayoutMode()) ? 2 : 1;
    fonts->Select(font, textColour, backgroundColour);
    const i32 bottom = y + h;
    if ((alignment & kAlignLeft) != 0) {
        fonts->DrawTextBox(textX, textY, textX + w, bottom, text.GetText(), 0);
        return;
    }
    const u32 flags = (alignment & kAlignCentre) != 0 ? 4 : 2;
    if (outline != 0) {
        fonts->Select(font, 0, 0);
        const i32 dx[4] = {d, -d, 0, 0};
        const i32 dy[4] = {0, 0, -d, d};
        for (int i = 0; i < 4; ++i) {
            const i32 left = textX + dx[i], top = textY + dy[i];
            fonts->DrawTextBox(left, top, left + w, top + h, text.GetText(), flags);
        }
        fonts->Select(font, textColour, backgroundColour);
    }
    fonts->DrawTextBox(textX, textY, textX + w, bottom, text.GetText(), flags);
}
