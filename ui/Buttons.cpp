#include "ui/Buttons.h"

#include "ui/WidgetHost.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "ui/LayoutMath.h"
#include "ui/WidgetHelpers.h"
#include "ui/Draw.h"

CBitmapButton::CBitmapButton() : CWidget(kWidgetTakesKeys | kWidgetTakesPen) {}

void CBitmapButton::SetPictures(CRecordHolder* const* pictureSet, u32 command, u16 key) {
    for (int i = 0; i < 3; ++i) pictures[i] = pictureSet ? pictureSet[i] : nullptr;
    hasPictures = 1;
    i32 pw = 0, ph = 0;
    PictureSizeOf(pictures[0], pw, ph);
    w = static_cast<u16>(pw);
    h = static_cast<u16>(ph);
    hasText = 0;
    transparent = 0;
    hasDisabledPicture = 0;
    firesOnPress = 0;
    fitToRect = 0;
    commandId = command;
    shortcutKey = key;
    state |= kWidgetRedraw;
}

void CBitmapButton::SetPicturesAndText(CRecordHolder* const* pictureSet, const char* caption, u32 command,
                                       u16 key) {
    SetPictures(pictureSet, command, key);
    if (caption != nullptr) text.Assign(caption);
    hasText = 1;
    fontIndex = 1;
    normalColours[0] = 0xC8C8C8;
    normalColours[1] = 0x585858;
    pressedColours[0] = 0xFFFFFF;
    pressedColours[1] = 0x585858;
}

void CBitmapButton::SetFramedText(CRecordHolder* const* pressed, CRecordHolder* const* normal,
                                  const char* caption, u32 command, u32 font, u32 normal1, u32 normal2,
                                  u32 pressed1, u32 pressed2, u16 key) {
    pressedFrames = pressed;
    normalFrames = normal;
    hasPictures = 0;
    if (caption != nullptr) text.Assign(caption);
    hasText = 1;
    transparent = 0;
    hasDisabledPicture = 0;
    firesOnPress = 0;
    commandId = command;
    fontIndex = font;
    normalColours[0] = normal1;
    normalColours[1] = normal2;
    pressedColours[0] = pressed1;
    pressedColours[1] = pressed2;
    shortcutKey = key;
    state |= kWidgetRedraw;
}

u32 CBitmapButton::OnKey(u32 key) {
    if ((state & kWidgetPenEnabled) != 0 && shortcutKey != 0 && key == shortcutKey) return commandId;
    return 0;
}

u32 CBitmapButton::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if ((state & kWidgetPenEnabled) == 0) return 0;
    const bool inside = Contains(px, py);
    const bool pressed = (state & kWidgetPressed) != 0;
    if (!inside) {
        if (pressed) {
            state &= ~kWidgetPressed;
            state |= kWidgetRedraw;
        }
        return 0;
    }
    if (!pressed) {
        if (down == 0) return 0;
        state |= kWidgetPressed | kWidgetRedraw;
        return firesOnPress != 0 ? commandId : 0;
    }
    if (down != 0) return firesOnPress != 0 ? commandId : 0;
    state &= ~kWidgetPressed;
    state |= kWidgetRedraw;
    if (firesOnPress != 0) {
        // An auto-repeat button has fired already; it only shows itself released.
        Draw();
        return 0;
    }
    return commandId;
}

void CBitmapButton::Draw() {
    const bool penEnabled = (state & kWidgetPenEnabled) != 0;
    const bool pressedLook = (state & (kWidgetPressed | kWidgetLatched)) != 0 || !penEnabled;
    if (hasPictures != 0) {
        CRecordHolder* picture;
        if (!penEnabled && hasDisabledPicture != 0)
            picture = pictures[2];
        else
            picture = pressedLook ? pictures[1] : pictures[0];
        if (picture != nullptr) {
            if (fitToRect != 0)
                video->DrawPictureStretched(picture, x, y, w, h);
            else if (transparent != 0)
                video->DrawPictureTransparent(picture, x, y);
            else
                video->DrawPicture(picture, x, y);
        }
    } else {
        CRecordHolder* const* frames = pressedLook ? pressedFrames : normalFrames;
        if (frames != nullptr) DrawButtonFrame(game, frames, transparent, x, y, w, h);
    }
    if (hasText == 0) return;
    const bool pressed = (state & kWidgetPressed) != 0;
    const u32* colours = (pressed || !penEnabled) ? pressedColours : normalColours;
    fonts->Select(fontIndex, colours[0], colours[1]);
    const i32 p = pressed ? 1 : 0;
    const i32 ty = y + 2 + (static_cast<i32>(h) - CurrentLineHeight(fonts)) / 2;
    fonts->DrawTextBox(x + 2 * p, ty + p, x + w, ty + h, text.GetText(), 4);
}

CTextButton::CTextButton() : CWidget(kWidgetTakesKeys | kWidgetTakesPen) {}

void CTextButton::SizeToLabel(i32 sideMargin) {
    // The label is measured as one line. Measured with word wrap at 100 pixels, as the handheld did,
    // a one-word label of 100 pixels or more counts only its first letter, and the frame would be
    // far narrower than its label; for every shorter label both give the same width.
    i32 lineWidth = 0, endsAtLf = 0;
    fonts->FindLineBreak(label.GetText(), 0, 0x7FFF, false, lineWidth, endsAtLf);
    const i32 widest = label.IsEmpty() ? 0 : lineWidth + 1;
    w = static_cast<u16>(widest + sideMargin);
    i32 pw = 0, ph = 0;
    if (pressedFrames != nullptr) PictureSizeOf(pressedFrames[0], pw, ph);
    h = static_cast<u16>(ph);
    state = kWidgetVisible | kWidgetEnabled;
}

void CTextButton::SetLabel(const char* text, u32 command) {
    label.Assign(text);
    commandId = command;
    x = 0;
    y = 0;
    pressedFrames = StandardButtonFrames(game, true);
    normalFrames = StandardButtonFrames(game, false);
    SizeToLabel(IsSmallLayoutMode(game->GetLayoutMode()) ? 26 : 40);
}

void CTextButton::SetLabelFrames(const char* text, u32 command, CRecordHolder* const* pressed,
                                 CRecordHolder* const* normal) {
    label.Assign(text);
    commandId = command;
    pressedFrames = pressed;
    normalFrames = normal;
    SizeToLabel(40);
}

u32 CTextButton::OnPen(i32 px, i32 py, u32 down, u32 moving) { return TrackPress(px, py, down, commandId); }

void CTextButton::Draw() {
    const bool pressed = (state & kWidgetPressed) != 0;
    CRecordHolder* const* frames = pressed ? pressedFrames : normalFrames;
    if (frames != nullptr) DrawButtonFrame(game, frames, 1, x, y, w, h);
    fonts->Select(1, 0x161616, pressed ? game->GetPressedTextColor() : game->GetTextColor());
    const i32 top = y + 1 + (static_cast<i32>(h) - CurrentLineHeight(fonts)) / 2;
    fonts->DrawTextBox(x + 8, top, x + w - 8, y + 24, label.GetText(), 4);
}
