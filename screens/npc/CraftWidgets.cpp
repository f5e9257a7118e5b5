#include "screens/npc/CraftWidgets.h"

#include <algorithm>

#include "core/LayoutTable.h"
#include "core/Str.h"
#include "display/FontSet.h"
#include "screens/npc/CraftRules.h"
#include "ui/Buttons.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/ListBox.h"
#include "ui/PictureSets.h"
#include "ui/PictureWidgets.h"
#include "ui/TextBox.h"
#include "ui/TextLabel.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace craft {

void PlaceWidget(CForm& form, CWidget& widget, u16 group, u32 element) {
    widget.Attach(&form);
    widget.SetLayoutRect(FindLayoutRect(form.game, group, element));
    if (widget.state & kWidgetEnabled) form.AddWidget(&widget);
}

void FillButtonPictures(CWidgetHost* game, CRecordHolder* (&set)[3], u16 first) {
    set[0] = game ? game->GetInterfacePicture(first) : nullptr;
    set[1] = game ? game->GetInterfacePicture(static_cast<u16>(first + 1)) : nullptr;
    set[2] = nullptr;
}

void PlaceButton(CForm& form, CBitmapButton& button, CRecordHolder* (&set)[3], u16 group, u32 command,
                 u16 firstPicture, u16 key) {
    FillButtonPictures(form.game, set, firstPicture);
    PlaceWidget(form, button, group, command);
    button.SetPictures(set, command, key);
}

void SetupDialogBackdrop(CForm& form, CPicture& frame, u16 group, u16 backgroundPicture) {
    CWidgetHost* game = form.game;
    form.background = game ? game->GetInterfacePicture(backgroundPicture) : nullptr;
    form.drawBackground = 1;
    PlaceWidget(form, frame, group, 19);
    const bool small = IsSmallLayoutMode(game ? game->GetLayoutMode() : 0);
    SetupFrame(frame, game, small ? kPictureCompactFrameSet : kPictureLargeFrameSet);
}

void SetupTitle(CTextLabel& title, const char* text, u32 backgroundColour) {
    title.font = 1;
    title.textColour = 0xFFFFFF;
    title.backgroundColour = backgroundColour;
    title.outline = 1;
    title.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
    title.SetText(text);
}

void PlaceEntryLabel(CForm& form, CTextLabel& label, u16 group, u32 element, const char* text) {
    constexpr u32 kTitleElement = 16;
    const bool title = element == kTitleElement;
    PlaceWidget(form, label, group, element);
    label.font = 1;
    label.textColour = title ? 0xFFFFFF : 0xC8C8C8;
    label.backgroundColour = 0x161616;
    label.outline = title ? 1 : 0;
    label.alignment = (title ? CTextLabel::kAlignCentre : CTextLabel::kAlignLeft) | CTextLabel::kAlignMiddle;
    label.SetText(text);
}

void SetupDetailBox(CTextBox& box) {
    box.Setup(1, 0xFFFFFF, 0xFFFFFF, 0xC8C8C8, 0x161616, 0, 1, 1, 0xFFFFFF);
}

void SetupFrame(CPicture& picture, CWidgetHost* game, u16 firstPicture) {
    picture.frameSet = InterfacePictureSet(game, firstPicture, 9);
    picture.transparent = 1;
    picture.sides = 0x0F;
}

void SetupCraftList(CListBox& list) {
    list.font = 1;
    list.textColour = 0xC8C8C8;
    list.backgroundColour = 0x161616;
    list.highlight = 1;
    list.highlightBarColour = 0x585858;
    list.highlightTextColour = 0xFFFFFF;
    if (list.fonts) {
        list.fonts->Select(1, 0, 0);
        list.rowHeight = CurrentLineHeight(list.fonts);
    }
    list.visibleRows = RowsPerPage(list.h, list.rowHeight);
}

void PageList(CListBox& list, int direction) {
    const int rows = RowsPerPage(list.h, list.rowHeight);
    const int top = std::max(0, std::min(list.topRow + direction * rows, list.GetCount() - 1));
    list.topRow = top;
    list.selection = list.GetCount() > 0 ? top : -1;
    list.state |= kWidgetRedraw;
}

void FormatMoneyText(i64 value, CStr& out) {
    constexpr i64 kBillion = 1000000000;
    if (value < 0) value = 0;
    if (value >= kBillion)
        out.Format("%luB", static_cast<unsigned long>(value / kBillion));
    else
        FormatCompactNumber(static_cast<u32>(value), out);
}

}  // namespace craft
