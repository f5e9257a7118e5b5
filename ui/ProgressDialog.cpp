#include "ui/ProgressDialog.h"

#include "ui/WidgetHost.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "ui/Layout.h"
#include "ui/WidgetHelpers.h"

CProgressDialog::CProgressDialog() {
    bar.maximum = 1;
    bar.value = 0;
}

void CProgressDialog::Open() {
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    drawBackground = 1;
    background = nullptr;
    fillRed = fillGreen = fillBlue = 0;

    struct {
        CPictureView* view;
        u32 element;
        u32 transparent;
    } const pictures[4] = {{&picture1, 10, 0}, {&picture2, 13, 0}, {&picture3, 14, 0}, {&picture4, 11, 1}};
    for (u32 i = 0; i < 4; ++i) {
        CPictureView& view = *pictures[i].view;
        view.Attach(this);
        view.SetLayoutRect(FindLayoutRect(game, kLayoutGroup, pictures[i].element));
        if ((view.state & kWidgetEnabled) != 0) AddWidget(&view);
        view.fill = 1;
        view.backgroundColour = 0;
        view.SetPicture(game->GetLoadingPicture(i), pictures[i].transparent, 0, 1);
    }

    const u8* element = FindLayoutRect(game, kLayoutGroup, 12);
    const CLayoutElement strip = ReadLayoutElement(element);
    const i32 left = static_cast<i32>(x) + strip.x;
    const i32 top = static_cast<i32>(y) + strip.y;

    textLine.Attach(this);
    textLine.SetLayoutRect(element);
    if ((textLine.state & kWidgetEnabled) != 0) AddWidget(&textLine);
    fonts->Select(1, 0x00FFFF, 0);
    const i32 lineHeight = CurrentLineHeight(fonts);
    textLine.SetRect(static_cast<u16>(left), static_cast<u16>(top + strip.h / 2), strip.w,
                     static_cast<u16>(lineHeight + 1));
    textLine.text.Assign("");
    textLine.state |= kWidgetRedraw;
    textLine.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
    textLine.font = 2;
    textLine.textColour = 0x00FFFF;
    textLine.backgroundColour = 0;
    textLine.Layout();
    textLine.outline = 1;

    barFrame.Attach(this);
    barFrame.SetLayoutRect(element);
    if ((barFrame.state & kWidgetEnabled) != 0) AddWidget(&barFrame);
    const i32 f = CurrentLineHeight(fonts);
    barFrame.SetRect(static_cast<u16>(left + (strip.w - 5 * f) / 2), static_cast<u16>(textLine.y + f + 10),
                     static_cast<u16>(5 * f), static_cast<u16>(f));
    for (int piece = 0, picture = 0; piece < 9; ++piece)
        barFrameSet[piece] =
            piece == 4 ? nullptr
                       : game->GetInterfacePicture(static_cast<u16>(kProgressFrameFirst + picture++));
    barFrame.frameSet = barFrameSet;
    barFrame.fill = 0;
    barFrame.colour = 0;
    barFrame.sides = 0x0F;

    bar.Attach(this);
    bar.SetLayoutRect(element);
    if ((bar.state & kWidgetEnabled) != 0) AddWidget(&bar);
    bar.SetRect(static_cast<u16>(barFrame.x + 4), static_cast<u16>(barFrame.y + 4),
                static_cast<u16>(barFrame.w - 8), static_cast<u16>(barFrame.h - 8));
    bar.restColour = 0;
    bar.barColour = 0x64C8C8;
    bar.maximum = 1;
    bar.value = 0;

    flags |= kFormRedrawAll;
}

void CProgressDialog::ShowStep() {
    bar.state |= kWidgetRedraw;
    Draw();
    video->Present();
}

void CProgressDialog::Begin(u32 steps) {
    bar.maximum = steps == 0 ? 1 : static_cast<i32>(steps);
    bar.value = 0;
    ShowStep();
}

void CProgressDialog::Advance() {
    ++bar.value;
    if (bar.value > bar.maximum) bar.value = bar.maximum;
    ShowStep();
}
