// The two button widgets: the picture button (pictures for its normal, pressed and disabled looks,
// or a three-piece frame with a caption) and the framed text button that the message box is built
// from. Both follow the press protocol: press inside, release inside to fire, slide off to cancel.
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "ui/Widget.h"

class CRecordHolder;

class CBitmapButton : public CWidget {
public:
    CBitmapButton();

    // pictures: normal, pressed, disabled.
    void SetPictures(CRecordHolder* const* pictureSet, u32 commandId, u16 shortcutKey);
    void SetPicturesAndText(CRecordHolder* const* pictureSet, const char* text, u32 commandId,
                            u16 shortcutKey);
    void SetFramedText(CRecordHolder* const* pressedFrames, CRecordHolder* const* normalFrames,
                       const char* text, u32 commandId, u32 fontIndex, u32 normal1, u32 normal2, u32 pressed1,
                       u32 pressed2, u16 shortcutKey);

    u32 OnKey(u32 key) override;
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    CRecordHolder* const* pressedFrames = nullptr;
    CRecordHolder* const* normalFrames = nullptr;
    CRecordHolder* pictures[3] = {nullptr, nullptr, nullptr};
    CStr text;
    u32 hasText = 0;
    u32 hasPictures = 0;
    u32 transparent = 0;
    u32 hasDisabledPicture = 0;
    u32 firesOnPress = 0;
    // Draws the pictures scaled to the button's rectangle instead of at their own size.
    u32 fitToRect = 0;
    u32 commandId = 0;
    u16 shortcutKey = 0;
    u32 fontIndex = 0;
    u32 normalColours[2] = {0, 0};
    u32 pressedColours[2] = {0, 0};
};

class CTextButton : public CWidget {
public:
    CTextButton();

    // Sizes the button to its label with the game's standard button frames; the owner places it.
    void SetLabel(const char* label, u32 commandId);
    void SetLabelFrames(const char* label, u32 commandId, CRecordHolder* const* pressed,
                        CRecordHolder* const* normal);

    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    CRecordHolder* const* pressedFrames = nullptr;
    CRecordHolder* const* normalFrames = nullptr;
    CStr label;
    u32 commandId = 0;

private:
    void SizeToLabel(i32 sideMargin);
};
