// The message box of the whole game: a small form that frames a message (a text view) and closes it
// with one row of up to ten text buttons chosen by a flag set. While the message still has lines to
// roll in, a lone "Continue" pages it on. Whoever shows a message makes the bar its modal child; the
// chosen button's flag comes back as a command to the bar's parent.
#pragma once

#include <memory>

#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/Form.h"

class CWidgetHost;
class CTextView;

class CButtonBar : public CForm {
public:
    // Button i has flag 1 << i; the flag is also the command the button answers with.
    static constexpr u32 kOk = 1, kCancel = 2, kYes = 4, kNo = 8, kContinue = 16, kLeft = 32, kRight = 64,
                         kOpen = 128, kDisarm = 256, kPick = 512;
    static constexpr u32 kButtonCount = 10;

    CButtonBar();
    ~CButtonBar() override;

    void Attach(CWidgetHost* game) override;
    void Draw() override;
    u32 OnCommand(u32 command) override;
    u32 OnKey(u32 key) override;
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    // The buttons are never offered ticks, and a tick draws nothing.
    u32 OnTick(u32 tick) override { return 0; }

    // placement non-zero: centred on the whole frame buffer; 0: centred on the 3D view.
    void Layout(CTextView* view, u32 buttonFlags, u32 placement);
    void ShowButton(u32 flag);
    i32 MeasureButtons();
    void PlaceButtons(i32 xOffset, i32 yOffset);

    u32 flagTable[kButtonCount] = {};
    CTextView* servedView = nullptr;
    // The served view when the bar owns it (a message built for the bar alone); it goes with the bar.
    std::unique_ptr<CTextView> ownedView;
    u32 flags = 0;
    u32 flagCount = 0;
    CTextButton buttons[kButtonCount];

private:
    bool IsShown(u32 index);
    bool IsOwnButton(const CWidget* widget) const;
    void DrawFrameAndView();
    i32 Gap() const;
};

// Lays a message out in a view with its buttons: the view centred, without bullet, on the owner's
// background, the bar sized and centred on the frame buffer.
void ShowMessageText(CWidgetHost* game, CTextView* view, const char* text, u32 buttonFlags, CButtonBar* bar,
                     CForm* owner);
