#include "ui/TimedText.h"

#include <cstring>

#include "ui/WidgetHost.h"
#include "display/FontSet.h"
#include "ui/WidgetHelpers.h"
#include "platform/Clock.h"
#include "ui/Form.h"

u32 CTimedText::FontIndex() const { return game != nullptr && game->GetLayoutMode() == 2 ? 2 : 1; }

void CTimedText::SelectFont(u32 colour) {
    if (fonts != nullptr) fonts->Select(FontIndex(), colour, backgroundColour);
}

void CTimedText::Start(const char* text) {
    backgroundColour = game != nullptr ? game->GetTextColor() : 0;
    textColour = 0x161616;
    finished = 0;
    atEnd = 0;
    endTime = 0;
    lines.Clear();
    SelectFont(textColour);
    linePitch = fonts != nullptr ? CurrentLineHeight(fonts) + 1 : 1;
    SetText(text);
    position = linePitch / 2;
    endPosition = static_cast<i32>(lines.GetCount()) * linePitch;
    lastStepTime = plat::TickCount();
    state |= kWidgetRedraw;
}

static bool IsRollSpace(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

void CTimedText::SetText(const char* text) {
    if (text != nullptr && fonts != nullptr) {
        // Wrapped with the roll's own font, whoever selected what before.
        SelectFont(textColour);
        const i32 length = static_cast<i32>(std::strlen(text));
        i32 i = 0;
        while (i < length && IsRollSpace(text[i])) ++i;
        while (i < length) {
            i32 width = 0, endsAtLf = 0;
            i32 end = fonts->FindLineBreak(text, i, static_cast<i32>(w), 1, width, endsAtLf);
            if (end <= i) end = i + 1;  // always make progress, even on a glyph wider than the roll
            if (end > length) end = length;
            lines.Append(CStr(text + i).Left(end - i));
            i = end;
            while (i < length && IsRollSpace(text[i])) ++i;
        }
    }
    endPosition = static_cast<i32>(lines.GetCount()) * linePitch;
}

u32 CTimedText::Blend(i32 t) const {
    const i32 pitch = linePitch > 0 ? linePitch : 1;
    u32 result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const i32 b = static_cast<i32>((backgroundColour >> shift) & 0xFF);
        const i32 c = static_cast<i32>((textColour >> shift) & 0xFF);
        const i32 v = b + (c - b) * t / pitch;
        result |= static_cast<u32>(v & 0xFF) << shift;
    }
    return result;
}

u32 CTimedText::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    return (down != 0 && moving == 0 && Contains(px, py)) ? id : 0;
}

u32 CTimedText::OnTick(u32 tick) {
    if (running == 0) return 0;
    const u32 now = plat::TickCount();
    if (atEnd == 0 && position == endPosition) {
        atEnd = 1;
        endTime = now;
    }
    if (atEnd != 0) {
        if (now - endTime >= kHoldMs) finished = 1;
        return 0;
    }
    if (now - lastStepTime < stepInterval) return 0;
    lastStepTime = now;
    if (owner != nullptr) {
        owner->flags |= kFormRedrawAll;
        owner->Draw();
    }
    ++position;
    if (fonts == nullptr || linePitch <= 0) return 0;
    const i32 height = h;
    i32 y0 = position;
    u32 i = 0;
    while (y0 > height) {
        y0 -= linePitch;
        ++i;
    }
    while (y0 > 0) {
        u32 colour = textColour;
        if (y0 > height - linePitch)
            colour = Blend(height - y0);
        else if (y0 < linePitch)
            colour = Blend(y0);
        SelectFont(colour);
        if (i < lines.GetCount())
            fonts->DrawTextBox(x, y + height - y0, x + w, y + height, lines.GetText(i), 4);
        y0 -= linePitch;
        ++i;
    }
    return 0;
}
