#include "ui/Form.h"

#include "ui/WidgetHost.h"
#include "ui/Draw.h"
#include "ui/Screen.h"
#include "ui/Widget.h"

// The widgets are members of the form or of the screen around it: the list only points at them.
CForm::CForm() { widgets.SetOwnsElements(0); }

CForm::~CForm() = default;

void CForm::Attach(CWidgetHost* g) {
    game = g;
    video = g ? g->GetVideo() : nullptr;
    fonts = g ? g->GetFonts() : nullptr;
    dataDb = g ? g->GetDataDb() : nullptr;
}

void CForm::AddWidget(CWidget* widget) {
    if (widget == nullptr) return;
    bool present = false;
    for (int i = 0; i < widgets.GetCount(); ++i) present = present || widgets.GetAt(i) == widget;
    if (!present) widgets.Add(widget);
    widget->state |= kWidgetPlaced;
}

void CForm::RemoveWidget(CWidget* widget) {
    if (widget == nullptr) return;
    widgets.Remove(widget);
    widget->state &= static_cast<u16>(~kWidgetVisible);
    if (widget->owner) widget->owner->flags |= kFormRedrawAll;
    flags |= kFormRedrawAll;
}

void CForm::RemoveAllWidgets() {
    for (int i = 0; i < widgets.GetCount(); ++i) {
        auto* widget = widgets.At<CWidget>(i);
        if (widget == nullptr) continue;
        widget->state &= static_cast<u16>(~kWidgetVisible);
        if (widget->owner) widget->owner->flags |= kFormRedrawAll;
    }
    widgets.RemoveAll();
    flags |= kFormRedrawAll;
}

void CForm::DrawWidgets() {
    bool full = (flags & kFormRedrawAll) != 0;
    if (full && drawBackground) DrawFormBackground(*this);
    for (int i = 0; i < widgets.GetCount(); ++i) {
        auto* widget = widgets.At<CWidget>(i);
        if (widget == nullptr || !widget->IsShown()) continue;
        if (full || (widget->state & kWidgetRedraw)) {
            widget->Draw();
            widget->state &= static_cast<u16>(~kWidgetRedraw);
        }
    }
    flags &= static_cast<u8>(~kFormRedrawAll);
}

void CForm::Draw() {
    if (modalChild) {
        if (flags & kFormRedrawAll) {
            DrawWidgets();
            modalChild->flags |= kFormRedrawAll;
        }
        modalChild->Draw();
        return;
    }
    DrawWidgets();
}

bool CForm::IsCurrentScreen() const {
    return game != nullptr && game->GetCurrentScreen() != nullptr &&
           static_cast<const CForm*>(game->GetCurrentScreen()) == this;
}

bool CForm::IsShownForm() const {
    if (IsCurrentScreen()) return true;
    return parent != nullptr && parent->modalChild == this && parent->IsShownForm();
}

u32 CForm::AfterCommand(u32 command, bool redrawAgain) {
    Draw();
    if (command == 0) return 0;
    u32 code = OnCommand(command);
    // The command may have closed this form (a message box answered by a tap): drawing it again
    // would paint a dead box over its owner.
    if (redrawAgain && IsShownForm()) Draw();
    return code;
}

u32 CForm::OnKey(u32 key) {
    if (modalChild) return modalChild->OnKey(key);
    u32 command = 0;
    for (int i = widgets.GetCount(); i-- > 0 && command == 0;) {
        auto* widget = widgets.At<CWidget>(i);
        if (widget && (widget->capabilities & kWidgetTakesKeys) && widget->IsShown())
            command = widget->OnKey(key);
    }
    return AfterCommand(command, true);
}

u32 CForm::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    u32 tick = game ? game->GetTickCounter() : 0;
    if (tick - guardTick < 1) return 0;
    if (down != 0 && moving == 0) penDownSeen = 1;
    if (penDownSeen == 0) return 0;
    if (modalChild) return modalChild->OnPen(px, py, down, moving);
    u32 command = 0;
    for (int i = widgets.GetCount(); i-- > 0 && command == 0;) {
        auto* widget = widgets.At<CWidget>(i);
        if (widget && (widget->capabilities & kWidgetTakesPen) && widget->IsShown() &&
            (widget->state & kWidgetPenEnabled))
            command = widget->OnPen(px, py, down, moving);
    }
    return AfterCommand(command, true);
}

u32 CForm::OnTick(u32 tick) {
    if (modalChild) return modalChild->OnTick(tick);
    u32 command = 0;
    for (int i = widgets.GetCount(); i-- > 0 && command == 0;) {
        auto* widget = widgets.At<CWidget>(i);
        if (widget && (widget->capabilities & kWidgetTakesTicks) && widget->IsShown())
            command = widget->OnTick(tick);
    }
    return AfterCommand(command, false);
}

void CForm::ResetInputGuard() {
    guardTick = game ? game->GetTickCounter() : 0;
    penDownSeen = 0;
}

void CForm::OpenModal(CForm* dialog) {
    if (dialog == nullptr) return;
    dialog->flags |= kFormRedrawAll;
    dialog->ResetInputGuard();
    dialog->modalChild = nullptr;
    dialog->parent = this;
    modalChild = dialog;
}

void CForm::CloseModal() {
    modalChild = nullptr;
    flags |= kFormRedrawAll;
    ResetInputGuard();
}
