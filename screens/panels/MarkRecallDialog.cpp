#include "screens/panels/MarkRecallDialog.h"

#include <string>

#include "core/Str.h"
#include "display/FontSet.h"
#include "screens/npc/CraftWidgets.h"
#include "screens/npc/ListPaging.h"
#include "screens/panels/GameViewDialogHost.h"
#include "screens/panels/SpellBookRules.h"
#include "screens/panels/ViewDialogPlacing.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"
#include "world/Player.h"

namespace {

constexpr u32 kTitleElement = 16;
constexpr u32 kInk = 0x161616;
constexpr u32 kParchment = 0x94D6E7;

}  // namespace

void CMarkRecallDialog::Open(u32 mode) {
    RemoveAllWidgets();
    CentreInGameView(*this, kLayoutGroup);
    craft::SetupDialogBackdrop(*this, frame, kLayoutGroup, kPictureDialogBackground);
    craft::PlaceWidget(*this, title, kLayoutGroup, kTitleElement);
    // Light and outlined: a dark title would vanish on the dialog's wood.
    craft::SetupTitle(title, "", kInk);
    craft::PlaceWidget(*this, slots, kLayoutGroup, kSlots);
    slots.font = 1;
    slots.textColour = kInk;
    slots.backgroundColour = kParchment;
    slots.background = 1;
    if (fonts) {
        fonts->Select(1, 0, 0);
        slots.rowHeight = CurrentLineHeight(fonts);
    }
    slots.selection = -1;
    craft::PlaceButton(*this, pageUp, upPictures, kLayoutGroup, kPageUp, kPictureListPageUp, 0);
    craft::PlaceButton(*this, pageDown, downPictures, kLayoutGroup, kPageDown, kPictureListPageDown, 0);
    craft::PlaceButton(*this, okButton, okPictures, kLayoutGroup, kOk, kPictureOk, 0);
    craft::PlaceButton(*this, cancelButton, cancelPictures, kLayoutGroup, kCancel, kPictureCancel, 0);

    markMode = mode == kMarkMode ? kMarkMode : kRecallMode;
    CPlayer* player = host ? host->GetPlayer() : nullptr;
    if (markMode == kMarkMode) {
        title.SetText("Mark a position");
        if (player) player->UpdateMarkSlots();
    } else {
        title.SetText("Recall a position");
    }
    FillList(false);
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CMarkRecallDialog::FillList(bool keepSelection) {
    const i32 kept = slots.selection;
    slots.ResetItems();
    const CPlayer* player = host ? host->GetPlayer() : nullptr;
    if (player) {
        for (size_t i = 0; i < player->marks.size(); ++i) {
            CStr line;
            FormatMarkSlotLine(static_cast<int>(i), player->marks[i], line);
            slots.AddItem(line.GetText(), std::to_string(i).c_str(), 0);
        }
    }
    slots.visibleRows = RowsPerPage(slots.h, slots.rowHeight);
    slots.selection = ClampSelection(keepSelection ? kept : 0, slots.GetCount());
    slots.topRow = PageStartOf(slots.selection, slots.visibleRows);
    slots.state |= kWidgetRedraw;
    UpdatePageButtons();
}

void CMarkRecallDialog::UpdatePageButtons() { ::UpdatePageButtons(slots, pageUp, pageDown); }

void CMarkRecallDialog::MarkSelected() {
    CPlayer* player = host ? host->GetPlayer() : nullptr;
    CMarkPlace place;
    if (!player || !host->GetCurrentPlace(place) || !MarkPosition(*player, slots.selection, place)) return;
    FillList(true);
    host->ShowGameMessage("Position has been marked.");
}

void CMarkRecallDialog::RecallSelected() {
    CPlayer* player = host ? host->GetPlayer() : nullptr;
    if (!player || slots.selection < 0 || static_cast<size_t>(slots.selection) >= player->marks.size()) return;
    const CMarkedPosition& slot = player->marks[static_cast<size_t>(slots.selection)];
    const CRecallOutcome outcome = RecallSlot(slot, *host);
    if (outcome.travel)
        host->TravelToMark(slot);
    else if (!outcome.message.IsEmpty())
        host->ShowGameMessage(outcome.message.GetText());
}

u32 CMarkRecallDialog::OnCommand(u32 command) {
    switch (command) {
    case kOk:
        if (markMode == kMarkMode)
            MarkSelected();
        else
            RecallSelected();
        [[fallthrough]];
    case kCancel: PlayInterfaceSound(game, 1, 10); return parent ? parent->OnCommand(kCancel) : 0;
    case kSlots: PlayInterfaceSound(game, 0, 10); return 0;
    case kPageUp:
    case kPageDown:
        PlayInterfaceSound(game, 0, 10);
        TurnListPage(slots, pageUp, pageDown, command == kPageUp ? -1 : 1);
        return 0;
    default: return 0;
    }
}
