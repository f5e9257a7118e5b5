#include "ui/Widget.h"

#include "ui/WidgetHost.h"
#include "ui/Form.h"
#include "ui/Layout.h"

void CWidget::Attach(CForm* form) {
    owner = form;
    game = form ? form->game : nullptr;
    fonts = game ? game->GetFonts() : nullptr;
    video = game ? game->GetVideo() : nullptr;
}

void CWidget::SetLayoutRect(const u8* element) {
    if (element == nullptr) {
        state = 0;
        return;
    }
    CLayoutElement e = ReadLayoutElement(element);
    u32 left = owner ? owner->x : 0;
    u32 top = owner ? owner->y : 0;
    id = e.id;
    x = static_cast<u16>(left + e.x);
    y = static_cast<u16>(top + e.y);
    w = e.w;
    h = e.h;
    state = kWidgetPlaced;
}

void CWidget::SetRect(u16 nx, u16 ny, u16 nw, u16 nh) {
    x = nx;
    y = ny;
    w = nw;
    h = nh;
}

void CWidget::EnablePen(u32 on) {
    if (on)
        state |= kWidgetPenEnabled;
    else
        state &= static_cast<u16>(~kWidgetPenEnabled);
    state |= kWidgetRedraw;
}

void CWidget::Show(u32 on) {
    if (on) {
        state |= kWidgetVisible | kWidgetRedraw;
        return;
    }
    state &= static_cast<u16>(~kWidgetVisible);
    if (owner) owner->flags |= kFormRedrawAll;
}

bool CWidget::Contains(i32 px, i32 py) const {
    return px >= x && px < static_cast<i32>(x) + w && py >= y && py < static_cast<i32>(y) + h;
}

u32 CWidget::HitTestTap(i32 px, i32 py, u32 down, u32 moving) const {
    return (down != 0 && moving == 0 && Contains(px, py)) ? id : 0;
}

u32 CWidget::TrackPress(i32 px, i32 py, u32 down, u32 command) {
    bool pressed = (state & kWidgetPressed) != 0;
    if (!Contains(px, py)) {
        if (pressed) state = static_cast<u16>((state & ~kWidgetPressed) | kWidgetRedraw);
        return 0;
    }
    if (!pressed) {
        if (down) state |= kWidgetPressed | kWidgetRedraw;
        return 0;
    }
    if (down) return 0;
    state = static_cast<u16>((state & ~kWidgetPressed) | kWidgetRedraw);
    return command;
}
