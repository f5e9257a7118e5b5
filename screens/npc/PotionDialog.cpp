#include "screens/npc/PotionDialog.h"

#include "screens/npc/CraftWidgets.h"

#include <string>

#include "display/FontSet.h"
#include "screens/npc/CraftRules.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

void CPotionDialog::Place(CWidget& widget, u32 element) {
    craft::PlaceWidget(*this, widget, kLayoutGroup, element);
}

int CPotionDialog::Open(const std::vector<CItemInstance*>& carried) {
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    const CViewRect view = GameViewRect(game);
    x = static_cast<u32>(std::max(0, view.x + view.width - static_cast<i32>(width)));
    y = static_cast<u32>(std::max(0, view.y + view.height - static_cast<i32>(height)));
    // Only the widgets are drawn over the view.
    flags &= static_cast<u8>(~kFormRedrawAll);
    drawBackground = 0;

    Place(frame, 221);
    frame.frameSet = InterfacePictureSet(game, kMessageFrameFirstPicture, 9);
    frame.fill = 1;
    frame.colour = 0x94D6E7;
    frame.sides = 0x0F;
    Place(title, 16);
    title.font = 1;
    title.textColour = 0x141E;
    title.backgroundColour = 0x585858;
    title.alignment = CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle;
    title.SetText("Select a potion:");
    Place(potions, kList);
    potions.font = 1;
    potions.textColour = 0x141E;
    potions.backgroundColour = 0x94D6E7;
    potions.highlight = 1;
    potions.highlightBarColour = 0x6496C8;
    potions.highlightTextColour = 0xFFFFFF;
    if (fonts) {
        fonts->Select(1, 0, 0);
        potions.rowHeight = CurrentLineHeight(fonts);
    }
    potions.visibleRows = craft::RowsPerPage(potions.h, potions.rowHeight);
    craft::PlaceButton(*this, pageUp, upPictures, kLayoutGroup, kPageUp, kPictureListPageUp, 1004);
    craft::PlaceButton(*this, pageDown, downPictures, kLayoutGroup, kPageDown, kPictureListPageDown, 1006);
    craft::PlaceButton(*this, drinkButton, drinkPictures, kLayoutGroup, kDrink, kPictureOk, 3006);
    craft::PlaceButton(*this, cancelButton, cancelPictures, kLayoutGroup, kCancel, kPictureCancel, 3007);

    potions.ResetItems();
    potions.selection = -1;
    std::vector<const CItemInstance*> items(carried.begin(), carried.end());
    for (const craft::CPotionGroup& group : craft::GroupPotions(items))
        potions.AddItem(craft::PotionRowText(group).c_str(), std::to_string(group.firstIndex).c_str(), 0);
    if (potions.GetCount() > 0) potions.selection = 0;
    potions.topRow = craft::FirstRowOfPage(potions.selection, potions.visibleRows);
    UpdatePageButtons();
    ResetInputGuard();
    return potions.GetCount();
}

CItemInstance* CPotionDialog::GetSelectedPotion(const std::vector<CItemInstance*>& carried) const {
    const int index = craft::ItemIndexFromKey(potions.GetSelectedText(), static_cast<int>(carried.size()));
    return index < 0 ? nullptr : carried[static_cast<size_t>(index)];
}

void CPotionDialog::UpdatePageButtons() {
    pageUp.EnablePen(potions.topRow != 0 ? 1 : 0);
    pageDown.EnablePen(potions.topRow + potions.visibleRows < potions.GetCount() ? 1 : 0);
}

u32 CPotionDialog::OnCommand(u32 command) {
    switch (command) {
    case kPageUp:
    case kPageDown:
        PlayInterfaceSound(game, 0, 10);
        craft::PageList(potions, command == kPageUp ? -1 : 1);
        UpdatePageButtons();
        return 0;
    case kDrink: return parent ? parent->OnCommand(kDrink) : 0;
    case kCancel: PlayInterfaceSound(game, 1, 10); return parent ? parent->OnCommand(kCancel) : 0;
    case kList: PlayInterfaceSound(game, 1, 10); return 0;
    default: return 0;
    }
}

u32 CPotionDialog::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    const bool outside = px < static_cast<i32>(x) || px >= static_cast<i32>(x + width) ||
                         py < static_cast<i32>(y) || py >= static_cast<i32>(y + height);
    if (down && outside) return OnCommand(kCancel);
    return CForm::OnPen(px, py, down, moving);
}
