#include "screens/npc/ServiceListDialog.h"

#include "display/FontSet.h"
#include "screens/npc/LayoutPlacing.h"
#include "screens/npc/ListPaging.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/ScreenIds.h"
#include "ui/WidgetHelpers.h"

void SetupServiceList(CListBox& list, i32 columnWidth, u32 textColour) {
    list.font = 1;
    const CBitmapFont* font = list.fonts ? list.fonts->Font(1) : nullptr;
    list.rowHeight = (font ? font->LineHeight() : 0) + 2;
    list.visibleRows = RowsPerPage(list.h, list.rowHeight);
    list.rightColumn = 1;
    list.columnWidth = columnWidth;
    list.background = 1;
    list.backgroundColour = 0x101418;
    list.textColour = textColour;
    list.highlight = 1;
    list.highlightBarColour = 0x2A6A9A;
    list.highlightTextColour = 0xE8F8FF;
}

void CServiceListDialog::PlaceListParts(u16 group, i32 columnWidth, const char* action) {
    PlaceWidget(*this, list, group, kList);
    SetupServiceList(list, columnWidth, 0xC8C8C8);
    FillButtonPictures(game, pagePictures_[0], kPictureListPageUp);
    FillButtonPictures(game, pagePictures_[1], kPictureListPageDown);
    PlaceWidget(*this, pageUp, group, kPageUp);
    pageUp.SetPictures(pagePictures_[0], kPageUp, 0);
    pageUp.transparent = 1;
    PlaceWidget(*this, pageDown, group, kPageDown);
    pageDown.SetPictures(pagePictures_[1], kPageDown, 0);
    pageDown.transparent = 1;
    CRecordHolder* const* pressed = StandardButtonFrames(game, true);
    CRecordHolder* const* normal = StandardButtonFrames(game, false);
    PlaceWidget(*this, actionButton, group, kAction);
    actionButton.SetFramedText(pressed, normal, action, kAction, 2, 0xFFFFFF, 0x202020, 0x00FFFF, 0x202020,
                               kCommandUse);
    PlaceWidget(*this, cancelButton, group, kCancel);
    cancelButton.SetFramedText(pressed, normal, "Cancel", kCancel, 2, 0xFFFFFF, 0x202020, 0x00FFFF, 0x202020,
                               kCommandCancel);
}

void CServiceListDialog::UpdateListButtons() { UpdatePageButtons(list, pageUp, pageDown); }

u32 CServiceListDialog::OnCommand(u32 command) {
    switch (command) {
    case kList:
        PlayInterfaceSound(game, 0, 10);
        UpdateListButtons();
        return 0;
    case kAction: OnAction(); return 0;
    case kCancel: PlayInterfaceSound(game, 1, 10); return parent ? parent->OnCommand(kCancel) : 0;
    case kPageUp:
    case kPageDown:
        PlayInterfaceSound(game, 0, 10);
        TurnListPage(list, command == kPageUp ? -1 : 1);
        UpdateListButtons();
        return 0;
    default: OnOtherCommand(command); return 0;
    }
}
