#include "ui/ButtonBar.h"

#include <bit>

#include "ui/ScreenIds.h"
#include "ui/WidgetHost.h"
#include "ui/InterfacePictureRoles.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "ui/Draw.h"
#include "ui/PictureSets.h"
#include "ui/LayoutMath.h"
#include "ui/Screen.h"
#include "ui/WidgetHelpers.h"
#include "ui/TextView.h"

namespace {

const char* const kLabels[CButtonBar::kButtonCount] = {"Ok",   "Cancel", "Yes",  "No",     "Continue",
                                                       "Left", "Right",  "Open", "Disarm", "Pick"};
constexpr u32 kContinueIndex = 4;

// The constants of the message box by layout-mode group.
struct BarMetrics {
    i32 rowAllowance, gap, sideMargin, extraWidth, topMargin, minimumHeight, rowDrop, rowStart, mostLines;
};

BarMetrics MetricsFor(u32 mode) {
    if (IsSmallLayoutMode(mode)) return {10, 3, 20, 0, 34, 100, 4, 5, (mode == 5 || mode == 8) ? 6 : 8};
    if (IsLargeLayoutMode(mode)) return {30, 5, 24, 20, 50, 154, 0, 15, 10};
    return {30, 5, 24, 0, 41, 154, 0, 15, 10};
}

}  // namespace

CButtonBar::CButtonBar() = default;

CButtonBar::~CButtonBar() = default;

void CButtonBar::Attach(CWidgetHost* g) {
    CForm::Attach(g);
    for (u32 i = 0; i < kButtonCount; ++i) {
        flagTable[i] = 1u << i;
        buttons[i].Attach(this);
    }
}

i32 CButtonBar::Gap() const { return MetricsFor(game->GetLayoutMode()).gap; }

bool CButtonBar::IsOwnButton(const CWidget* widget) const {
    return widget >= &buttons[0] && widget < &buttons[kButtonCount];
}

bool CButtonBar::IsShown(u32 index) { return buttons[index].IsShown(); }

void CButtonBar::ShowButton(u32 flag) {
    for (u32 i = 0; i < kButtonCount; ++i) {
        if (flagTable[i] != flag) continue;
        buttons[i].SetLabel(kLabels[i], flag);
        AddWidget(&buttons[i]);
        return;
    }
}

i32 CButtonBar::MeasureButtons() {
    const i32 gap = Gap();
    i32 total = 0;
    for (u32 i = 0; i < static_cast<u32>(widgets.GetCount()); ++i) {
        CWidget* widget = widgets.At<CWidget>(static_cast<int>(i));
        if (!IsOwnButton(widget)) continue;
        total += widget->w;
        if (i != 0) total += gap;
    }
    return total;
}

void CButtonBar::PlaceButtons(i32 xOffset, i32 yOffset) {
    const i32 gap = Gap();
    i32 running = xOffset;
    for (u32 i = 0; i < static_cast<u32>(widgets.GetCount()); ++i) {
        CWidget* widget = widgets.At<CWidget>(static_cast<int>(i));
        if (!IsOwnButton(widget)) continue;
        if (widget == &buttons[kContinueIndex]) {
            // "Continue" is centred on its own and does not move the row.
            widget->x = static_cast<u16>(x + (static_cast<i32>(width) - widget->w) / 2);
            widget->y = static_cast<u16>(y + yOffset);
            continue;
        }
        widget->x = static_cast<u16>(x + running);
        widget->y = static_cast<u16>(y + yOffset);
        running += widget->w + gap;
    }
}

void CButtonBar::Layout(CTextView* view, u32 buttonFlags, u32 placement) {
    const BarMetrics m = MetricsFor(game->GetLayoutMode());
    servedView = view;
    flags = buttonFlags;
    RemoveAllWidgets();
    flagCount = static_cast<u32>(std::popcount(buttonFlags & 0xFFFFu));
    for (u32 i = 0; i < kButtonCount; ++i)
        if ((buttonFlags & flagTable[i]) != 0) ShowButton(flagTable[i]);

    const i32 rowWidth = MeasureButtons() + m.rowAllowance;
    const CViewRect viewRect = GameViewRect(game);
    i32 widest = 0, lines = 0;
    if (view != nullptr) lines = view->MeasurePending(viewRect.width * 4 / 5, widest);
    if (lines > m.mostLines) lines = m.mostLines;

    i32 barWidth = (widest > rowWidth ? widest : rowWidth) + 2 * m.sideMargin + m.extraWidth;
    if (barWidth < 180) barWidth = 180;
    const i32 innerWidth = barWidth - 2 * m.sideMargin;

    const i32 pitch = CurrentLineHeight(fonts) + 1;
    const i32 rowLine = flagCount != 0 ? 1 : 0;
    i32 barHeight = pitch * (lines + rowLine) + 2 * m.topMargin + 5;
    i32 textTop = m.topMargin;
    if (barHeight < m.minimumHeight) {
        textTop = m.topMargin + (m.minimumHeight - barHeight) / (2 * rowLine + 2);
        if (lines == 1) textTop += 10;
        barHeight = m.minimumHeight;
    }
    const i32 textHeight = barHeight - (2 * m.topMargin + 20);

    i32 left, top;
    if (placement != 0) {
        i32 fbWidth = 0, fbHeight = 0;
        GameFrameBufferSize(game, fbWidth, fbHeight);
        left = (fbWidth - barWidth) / 2;
        top = (fbHeight - barHeight) / 2;
        if (game->GetLayoutMode() == 16 && game->GetCurrentScreen() != nullptr &&
            game->GetCurrentScreen() == game->GetScreen(kScreenMainMenu))
            left += fbWidth / 4;
    } else {
        left = viewRect.x + (viewRect.width - barWidth) / 2;
        top = viewRect.y + (viewRect.height - barHeight) / 2;
    }
    x = static_cast<u32>(left);
    y = static_cast<u32>(top);
    width = static_cast<u32>(barWidth);
    height = static_cast<u32>(barHeight);

    PlaceButtons((barWidth - rowWidth) / 2 + m.rowStart, m.rowDrop + textHeight + m.topMargin);
    if (view != nullptr) {
        view->SetRect(static_cast<u16>(left + m.sideMargin), static_cast<u16>(top + textTop),
                      static_cast<u16>(innerWidth), static_cast<u16>(textHeight < 0 ? 0 : textHeight));
        view->noPauses = 1;
    }
    guardTick = game->GetTickCounter();
    penDownSeen = 0;
}

void CButtonBar::DrawFrameAndView() {
    CRecordHolder* const* frame = InterfacePictureSet(game, kMessageFrameFirstPicture, 9);
    DrawLayoutFrame(game, frame, 1, x, y, width, height);
    if (servedView == nullptr) return;
    servedView->Draw();
    // The view has no background of its own in a message box: rows that it scrolled up were drawn
    // over the lines below them. Paint the box again under the final rows.
    DrawLayoutFrame(game, frame, 1, x, y, width, height);
    servedView->DrawLines();
}

void CButtonBar::Draw() {
    DrawFrameAndView();
    const i32 rowTop = (servedView != nullptr ? servedView->h : 0) + 41;
    if (servedView != nullptr && servedView->HasPending()) {
        if (!IsShown(kContinueIndex)) {
            for (u32 i = 0; i < kButtonCount; ++i) RemoveWidget(&buttons[i]);
            ShowButton(kContinue);
            PlaceButtons(0, rowTop);
            DrawFrameAndView();
        }
        buttons[kContinueIndex].Draw();
        return;
    }
    if (IsShown(kContinueIndex)) {
        RemoveWidget(&buttons[kContinueIndex]);
        for (u32 i = 0; i < kButtonCount; ++i)
            if ((flags & flagTable[i]) != 0) ShowButton(flagTable[i]);
        PlaceButtons((static_cast<i32>(width) - MeasureButtons()) / 2, rowTop);
        DrawFrameAndView();
    }
    for (u32 i = 0; i < static_cast<u32>(widgets.GetCount()); ++i)
        widgets.At<CWidget>(static_cast<int>(i))->Draw();
}

u32 CButtonBar::OnCommand(u32 command) {
    if (command == kContinue) {
        PlayInterfaceSound(game, 0, 10);
        if (servedView != nullptr) servedView->scrolled = 0;
        Draw();
        return 0;
    }
    PlayInterfaceSound(game, 1, 10);
    if (parent != nullptr) return parent->OnCommand(command);
    return command != 0 ? command : 1;
}

u32 CButtonBar::OnKey(u32 key) {
    // No key is taken in the tick of the layout.
    if (game->GetTickCounter() == guardTick) return 0;
    if (static_cast<u32>(widgets.GetCount()) == 0) return OnCommand(0);
    u32 k = key & 0xFFFFu;
    // Where Enter strikes (the wide layouts) it reaches a message as the attack command. A message
    // with nothing to refuse takes it as its answer, so a player who fought with Enter can go on;
    // a question still wants its answer chosen.
    if (k == kCommandAttack && !IsShown(1) && !IsShown(3)) k = kCommandUse;
    if (k == kCommandUse) {
        for (u32 index : {0u, 2u, 4u})
            if (IsShown(index)) return OnCommand(flagTable[index]);
        return 0;
    }
    if (k == kCommandCancel) {
        for (u32 index : {1u, 3u})
            if (IsShown(index)) return OnCommand(flagTable[index]);
        return 0;
    }
    return 0;
}

u32 CButtonBar::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if (game->GetTickCounter() == guardTick) return 0;
    if (down != 0 && moving == 0) penDownSeen = 1;
    if (penDownSeen == 0) return 0;
    if (static_cast<u32>(widgets.GetCount()) != 0) return CForm::OnPen(px, py, down, moving);
    const bool inside = px >= static_cast<i32>(x) && px < static_cast<i32>(x + width) &&
                        py >= static_cast<i32>(y) && py < static_cast<i32>(y + height);
    if (down == 0 && moving == 0 && inside) return OnCommand(0);
    return 0;
}

void ShowMessageText(CWidgetHost* game, CTextView* view, const char* text, u32 buttonFlags, CButtonBar* bar,
                     CForm* owner) {
    const CViewRect viewRect = GameViewRect(game);
    view->w = static_cast<u16>(4 * viewRect.width / 5);
    view->Attach(owner);
    view->Clear();
    view->AddText(text, 1, 0);
    auto setColours = [&] {
        view->SetColors(0x161616, 0x161616, 0x285050, 0x94D6E7,
                        game->GetInterfacePicture(kPictureMessageBackground));
        view->backgroundOn = 0;
        view->centred = 1;
        view->margin = 0;
    };
    setColours();
    bar->Layout(view, buttonFlags, 1);
    // The bar's layout gave the view its height: the rows follow it.
    setColours();
}
