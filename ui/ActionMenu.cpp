#include "ui/ActionMenu.h"

#include <algorithm>

#include "ui/WidgetHost.h"
#include "display/FontSet.h"
#include "ui/WidgetHelpers.h"
#include "ui/Draw.h"
#include "ui/LayoutMath.h"
#include "ui/ListBox.h"
#include "ui/PictureSets.h"

namespace {
constexpr const char* kTitle = "What do you want?";
constexpr u32 kTitleColour = 0x161616;
constexpr u32 kTitleBackground = 0x94D6E7;
constexpr u16 kPageUpPicture = 3160;
constexpr u16 kPageDownPicture = 3162;
// The menu is placed in this area at the top-left of the frame buffer in every layout mode.
constexpr i32 kAreaWidth = 380, kAreaHeight = 320;
}  // namespace

void CActionMenu::Open(CListBox* l) {
    list = l;
    okButton.Attach(this);
    okButton.SetLabel("Ok", kOk);
    cancelButton.Attach(this);
    cancelButton.SetLabel("Cancel", kCancel);
    pageUpPictures[0] = game != nullptr ? game->GetInterfacePicture(kPageUpPicture) : nullptr;
    pageUpPictures[1] = game != nullptr ? game->GetInterfacePicture(kPageUpPicture + 1) : nullptr;
    pageDownPictures[0] = game != nullptr ? game->GetInterfacePicture(kPageDownPicture) : nullptr;
    pageDownPictures[1] = game != nullptr ? game->GetInterfacePicture(kPageDownPicture + 1) : nullptr;
    pageUpButton.Attach(this);
    pageUpButton.SetPictures(pageUpPictures, kPageUp, 0);
    pageUpButton.transparent = 1;
    pageDownButton.Attach(this);
    pageDownButton.SetPictures(pageDownPictures, kPageDown, 0);
    pageDownButton.transparent = 1;

    auto setTitle = [this] {
        title.text.Assign(kTitle);
        title.state |= kWidgetRedraw;
        title.alignment = 9;
        title.font = 1;
        title.textColour = kTitleColour;
        title.backgroundColour = kTitleBackground;
        title.Layout();
    };
    title.Attach(this);
    setTitle();

    i32 width = list != nullptr ? list->w : 0;
    i32 lines = 0, lineHeight = 0;
    if (fonts != nullptr) {
        fonts->Select(1, kTitleColour, kTitleBackground);
        i32 widest = 0;
        fonts->MeasureText(kTitle, width, widest, lines);
        if (lines > 1 && width < 340) {
            i32 oneLine = 0, endsAtLf = 0;
            fonts->FindLineBreak(kTitle, 0, 1000, 0, oneLine, endsAtLf);
            width = oneLine > 340 ? 340 : oneLine + 1;
            fonts->MeasureText(kTitle, width, widest, lines);
            width = std::max(width, widest);
        }
        lineHeight = CurrentLineHeight(fonts);
    }
    if (list != nullptr) list->w = static_cast<u16>(width);
    const i32 titleHeight = lineHeight * lines + lineHeight / 2;
    const i32 listHeight = list != nullptr ? list->h : 0;
    const i32 menuWidth = std::max(width + 100, 180);
    const i32 menuHeight = std::max<i32>(listHeight + okButton.h + titleHeight + 102, 154);
    // A list wider than the area would put the menu left of the frame buffer, where the unclipped
    // blits must never go: such a menu starts at the edge instead.
    const i32 menuX = std::max((kAreaWidth - menuWidth) / 2, 0);
    const i32 menuY = std::max((kAreaHeight - menuHeight) / 3, 0);
    x = static_cast<u32>(menuX);
    y = static_cast<u32>(menuY);
    this->width = static_cast<u32>(menuWidth);
    height = static_cast<u32>(menuHeight);

    if (list != nullptr) {
        list->x = static_cast<u16>(menuX + 50);
        list->y = static_cast<u16>(menuY + titleHeight + 41);
        list->w = static_cast<u16>(menuWidth - 100);
    }
    title.SetRect(static_cast<u16>(menuX + 50), static_cast<u16>(menuY + 41), static_cast<u16>(width),
                  static_cast<u16>(titleHeight));
    setTitle();

    const i32 gap = IsSmallLayoutMode(game != nullptr ? game->GetLayoutMode() : 0) ? 3 : 5;
    const i32 okX = menuX + (menuWidth - cancelButton.w - okButton.w - gap) / 2;
    const i32 rowY = menuY + menuHeight - 70;
    okButton.SetRect(static_cast<u16>(okX), static_cast<u16>(rowY), okButton.w, okButton.h);
    cancelButton.SetRect(static_cast<u16>(okX + okButton.w + gap), static_cast<u16>(rowY), cancelButton.w,
                         cancelButton.h);

    if (list != nullptr) AddWidget(list);
    AddWidget(&title);
    AddWidget(&okButton);
    AddWidget(&cancelButton);
    if (list != nullptr && list->GetCount() > 8) {
        paging = 1;
        const u16 px = static_cast<u16>(list->x + list->w + 5);
        pageUpButton.SetRect(px, list->y, 20, 12);
        pageDownButton.SetRect(px, static_cast<u16>(list->y + list->h - 12), 20, 12);
        AddWidget(&pageUpButton);
        AddWidget(&pageDownButton);
    }
}

void CActionMenu::Draw() {
    if (CRecordHolder* const* border = InterfacePictureSet(game, kMessageFrameFirstPicture, 9))
        DrawLayoutFrame(game, border, 1, x, y, width, height);
    title.Draw();
    if (list != nullptr) list->Draw();
    okButton.Draw();
    cancelButton.Draw();
    if (paging == 1) {
        pageUpButton.Draw();
        pageDownButton.Draw();
    }
}

u32 CActionMenu::OnCommand(u32 command) {
    if (paging == 1 && list != nullptr && (command == kPageUp || command == kPageDown)) {
        const bool moves =
            command == kPageUp ? list->topRow > 0 : list->topRow + list->visibleRows < list->GetCount();
        if (moves) {
            list->topRow += command == kPageUp ? -list->visibleRows : list->visibleRows;
            list->state |= kWidgetRedraw;
            list->selection = list->topRow;
            Draw();
        }
        return 0;
    }
    if (command == kOk && list != nullptr && list->ValidSelection() >= 0) {
        answer.Assign(list->GetSelectedText());
        return kOk;
    }
    answer.Assign("");
    return command;
}
