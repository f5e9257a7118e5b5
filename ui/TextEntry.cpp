#include "ui/TextEntry.h"

#include <algorithm>
#include <cstring>

#include "display/FontSet.h"
#include "display/Video.h"
#include "platform/Clock.h"
#include "ui/WidgetHelpers.h"

i32 CTextEntry::GetLength() const { return static_cast<i32>(strnlen(text, kCapacity - 1)); }

void CTextEntry::Reset() {
    text[0] = 0;
    font = 1;
    textColour = 0xC8C8C8;
    backgroundColour = 0;
    caretColour = PackRGB565(186, 186, 32);
    maximumLength = 50;
    blinkTime = 0;
    state |= kWidgetRedraw;
}

void CTextEntry::RestartCaret() {
    caretShown = 1;
    blinkTime = plat::TickCount();
    state |= kWidgetRedraw;
}

i32 CTextEntry::MeasureLine() {
    if (fonts == nullptr) return 0;
    fonts->Select(font, textColour, backgroundColour);
    i32 width = 0, endsAtLf = 0;
    fonts->FindLineBreak(text, 0, 1000, 0, width, endsAtLf);
    return width;
}

void CTextEntry::AppendChar(char c) {
    // The owner may ask for more than the text can hold; the buffer's own size is the last word.
    const i32 limit = std::min(maximumLength, kCapacity - 1);
    const i32 length = GetLength();
    if (length >= limit || c == 0) return;
    text[length] = c;
    text[length + 1] = 0;
    if (MeasureLine() + 2 >= static_cast<i32>(w)) text[length] = 0;
    RestartCaret();
}

void CTextEntry::DeleteLastChar() {
    const i32 length = GetLength();
    if (length == 0) return;
    text[length - 1] = 0;
    RestartCaret();
}

u32 CTextEntry::OnTick(u32 tick) {
    const u32 now = plat::TickCount();
    if (now - blinkTime < kBlinkMs) return 0;
    blinkTime = now;
    caretShown ^= 1;
    Draw();
    return 0;
}

void CTextEntry::Draw() {
    if (video == nullptr || fonts == nullptr) return;
    const u16 background = PackColourWord(backgroundColour);
    video->FillRect(x, y, w, h, background);
    fonts->Select(font, textColour, backgroundColour);
    fonts->DrawTextBox(x, y, x + w, y + h, text, 0);
    const i32 width = MeasureLine();
    video->FillRect(x + width, y, 2, h, caretShown != 0 ? caretColour : background);
}
