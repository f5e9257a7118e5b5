// The root of every control a form shows: a rectangle on the frame buffer with state bits, a
// capability byte that tells the owner form which input to offer, and six virtual operations.
#pragma once

#include "core/Types.h"

class CForm;
class CWidgetHost;
class CFontSet;
class CVideo;

// State bits of a widget.
enum : u16 {
    kWidgetPressed = 0x01,     // the pen went down inside and has not been released
    kWidgetRedraw = 0x02,      // drawn at the owner's next DrawWidgets, which then clears it
    kWidgetPenEnabled = 0x04,  // the owner offers pen events only when set
    kWidgetLatched = 0x08,     // drawn pressed although not pressed
    kWidgetVisible = 0x10,
    kWidgetEnabled = 0x20,  // placed on the screen
    kWidgetPlaced = 0x36,   // the state of a freshly placed widget
};

// Capability bits: which input the owner offers.
enum : u8 {
    kWidgetTakesKeys = 1,
    kWidgetTakesPen = 2,
    kWidgetTakesTicks = 4,
};

class CWidget {
public:
    explicit CWidget(u8 capabilities = 0) : capabilities(capabilities) {}
    virtual ~CWidget() = default;
    CWidget(const CWidget&) = delete;
    CWidget& operator=(const CWidget&) = delete;

    // Stores the owner and copies the owner's game with the game's fonts and video output.
    virtual void Attach(CForm* owner);
    virtual u32 OnKey(u32 key) { return 0; }
    virtual u32 OnPen(i32 x, i32 y, u32 down, u32 moving) { return 0; }
    virtual u32 OnTick(u32 tick) { return 0; }
    virtual void Draw() {}

    // Places the widget from a layout element record (FindLayoutRect's result): the element's x and
    // y are relative to the owner form. A null record sets the state to 0: not drawn, no input.
    void SetLayoutRect(const u8* element);
    void SetRect(u16 x, u16 y, u16 w, u16 h);
    void EnablePen(u32 on);
    void Show(u32 on);

    // Right and bottom edges excluded; a widget of width or height 0 contains no point.
    bool Contains(i32 px, i32 py) const;
    // The tap rule of tap widgets: a pen down inside gives the widget's id.
    u32 HitTestTap(i32 px, i32 py, u32 down, u32 moving) const;
    // The press protocol of button-like widgets; `command` is the result of a completed press.
    u32 TrackPress(i32 px, i32 py, u32 down, u32 command);

    bool IsShown() const {
        return (state & (kWidgetVisible | kWidgetEnabled)) == (kWidgetVisible | kWidgetEnabled);
    }

    CForm* owner = nullptr;
    u16 id = 0;
    u16 x = 0, y = 0, w = 0, h = 0;
    u16 state = 0;
    u8 capabilities = 0;
    CWidgetHost* game = nullptr;
    CFontSet* fonts = nullptr;
    CVideo* video = nullptr;
};
