#include "ui/Boxes.h"

#include "ui/WidgetHost.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "ui/WidgetHelpers.h"
#include "ui/Draw.h"

void CFramedBox::Draw() {
    if (video == nullptr) return;
    if (pictureMode != 0) {
        if (picture == nullptr) return;
        if (transparent != 0)
            video->DrawPictureTiledTransparent(picture, x, y, w, h);
        else
            video->DrawPictureTiled(picture, x, y, w, h);
        return;
    }
    if (frameSet != nullptr) DrawLayoutFrame(game, frameSet, transparent, x, y, w, h);
}

u32 CColorBox::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if (down == 0 || moving != 0) return 0;
    const bool inside = px >= static_cast<i32>(x) - 1 && px < static_cast<i32>(x) + w && py >= y &&
                        py < static_cast<i32>(y) + h;
    return inside ? id : 0;
}

void CColorBox::Draw() {
    if (video != nullptr) video->FillRect(x, y, w, h, PackColourWord(colour));
}

u32 InterpolateColourWord(u32 from, u32 to, i32 i, i32 n) {
    if (n == 0) return from;
    u32 result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const i32 a = static_cast<i32>((from >> shift) & 0xFF);
        const i32 b = static_cast<i32>((to >> shift) & 0xFF);
        result |= static_cast<u32>((a + (b - a) * i / n) & 0xFF) << shift;
    }
    return result;
}

i32 CEquipmentView::MarkerX() const {
    const i32 half = w / 2;
    if (value <= lowValue) return x;
    if (value < middleValue) return x + half - 2 - (half - 3) * value / (lowValue - middleValue);
    if (value == middleValue) return x + half - 2;
    if (value < highValue) return x + half - 2 + (half - 3) * value / (highValue - middleValue);
    return x + w - 4;
}

void CEquipmentView::Draw() {
    if ((flags & 1) == 0 || video == nullptr) return;
    const i32 ww = w, wh = h;
    video->DrawFrame(x + 2, y + 2, ww - 4, wh - 4);
    const i32 n = (ww - 4) / 2;
    for (i32 i = 0; i < n; ++i)
        video->FillRect(x + 2 + i, y + 3, 1, wh - 6,
                        PackColourWord(InterpolateColourWord(lowColour, middleColour, i, n)));
    for (i32 i = 0; i < n; ++i)
        video->FillRect(x + 2 + n + i, y + 3, 1, wh - 6,
                        PackColourWord(InterpolateColourWord(middleColour, highColour, i, n)));
    const i32 m = MarkerX();
    const u16 marker = PackColourWord(markerColour);
    video->FillRect(m, y, 4, 1, marker);
    video->FillRect(m + 1, y + 1, 2, wh - 2, marker);
    video->FillRect(m, y + wh - 2, 4, 1, marker);
}

void CCardView::Draw() {
    if (fonts == nullptr) return;
    fonts->Select(font, labelColour, backgroundColour);
    i32 labelWidth = 0, valueWidth = 0, lines = 0;
    fonts->MeasureText(label.GetText(), w, labelWidth, lines);
    fonts->MeasureText(valueText.GetText(), w - labelWidth - 10, valueWidth, lines);
    const i32 left = x + (static_cast<i32>(w) - valueWidth - labelWidth - 10) / 2;
    fonts->DrawTextBox(left, y, left + labelWidth + 10, y + h, label.GetText(), 0);
    fonts->Select(font, valueColour, backgroundColour);
    fonts->DrawTextBox(left + labelWidth + 10, y, x + w, y + h, valueText.GetText(), 0);
}
