#include "screens/npc/EnchantSelectDialog.h"

#include "screens/frontend/DialogKit.h"
#include "screens/npc/CraftWidgets.h"

#include "core/LayoutTable.h"
#include "core/Str.h"
#include "data/ItemText.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "data/RuleContext.h"
#include "display/FontSet.h"
#include "screens/npc/CraftRules.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr u32 kWhite = 0xFFFFFF;
constexpr u32 kDark = 0x161616;
constexpr u32 kGrey = 0xC8C8C8;

}  // namespace

void CEnchantSelectDialog::Place(CWidget& widget, u32 element) {
    craft::PlaceWidget(*this, widget, kLayoutGroup, element);
}

void CEnchantSelectDialog::Open(const CNpc* npc, int newLevel, bool recharging) {
    RemoveAllWidgets();
    messageBar.Attach(game);
    enchanting.Attach(game);
    recharge.Attach(game);
    CentreDialog(*this, kLayoutGroup);
    const bool small = IsSmallLayoutMode(game ? game->GetLayoutMode() : 0);
    background = game ? game->GetInterfacePicture(kPictureDialogBackground) : nullptr;
    drawBackground = 1;

    Place(frame, 19);
    frame.frameSet = InterfacePictureSet(game, small ? kPictureCompactFrameSet : kPictureLargeFrameSet, 9);
    frame.transparent = 1;
    frame.sides = 0x0F;
    Place(picture, 570);
    picture.frameSet = InterfacePictureSet(game, kPictureCompactFrameSet, 9);
    picture.transparent = 1;
    picture.sides = 0x0F;
    for (auto [label, element] :
         {std::pair{&title, 16u}, std::pair{&itemsLabel, 273u}, std::pair{&limitText, 278u}}) {
        Place(*label, element);
        label->font = 1;
        label->textColour = element == 16 ? kWhite : kGrey;
        label->backgroundColour = kDark;
        label->outline = element == 16 ? 1 : 0;
        label->alignment =
            (element == 16 ? CTextLabel::kAlignCentre : CTextLabel::kAlignLeft) | CTextLabel::kAlignMiddle;
    }
    title.SetText(recharging ? "Select the item to be recharged" : "Select the item to be enchanted");
    itemsLabel.SetText("Items:");
    limitText.SetText("");
    Place(items, kList);
    craft::SetupCraftList(items);
    items.selection = -1;
    Place(details, 277);
    craft::SetupDetailBox(details);
    craft::PlaceButton(*this, pageUp, upPictures, kLayoutGroup, kPageUp, kPictureListPageUp, 1004);
    craft::PlaceButton(*this, pageDown, downPictures, kLayoutGroup, kPageDown, kPictureListPageDown, 1006);
    craft::PlaceButton(*this, useButton, usePictures, kLayoutGroup, kUse, kPictureOk, 3006);
    craft::PlaceButton(*this, closeButton, closePictures, kLayoutGroup, kClose, kPictureClose, 3007);

    enchanter = npc;
    level = newLevel;
    rechargeMode = recharging;
    shownLast = nullptr;
    state = kChoosing;
    BuildList();
    ShowDetails();

    CStr text;
    if (enchanter) {
        limit = craft::EnchantStorageLimit(enchanter->GetEnchantLevel());
        text.Format("%s can enchant items up to %u storage.",
                    enchanter->GetName() ? enchanter->GetName() : "", static_cast<unsigned>(limit));
    } else if (!rechargeMode) {
        limit = craft::EnchantStorageLimit(level);
        text.Format("You can enchant items up to %u storage.", static_cast<unsigned>(limit));
    }
    limitText.SetText(text.GetText());
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CEnchantSelectDialog::BuildList() {
    const int before = items.selection;
    items.ResetItems();
    carried = host ? host->GetCarriedItems() : std::vector<CItemInstance*>{};
    for (size_t i = 0; i < carried.size(); ++i) {
        CItemInstance* item = carried[i];
        if (!item || !craft::IsListedForSelection(*item, rechargeMode)) continue;
        CStr name;
        if (host) FormatItemName(*item->type, item, false, host->GetRules(), name);
        items.AddItemWithValue(name.GetText(), static_cast<u32>(i));
    }
    items.visibleRows = craft::RowsPerPage(items.h, items.rowHeight);
    items.selection = before < 0 ? -1 : std::min(before, items.GetCount() - 1);
    items.topRow = craft::FirstRowOfPage(items.selection, items.visibleRows);
    items.state |= kWidgetRedraw;
    UpdatePageButtons();
}

CItemInstance* CEnchantSelectDialog::ItemOfRow(int row) const {
    if (row < 0 || row >= items.GetCount()) return nullptr;
    const u32 index = items.GetItem(row)->value;
    CItemInstance* item = index < carried.size() ? carried[index] : nullptr;
    // A row that no longer names a listed item names nothing.
    return item && craft::IsListedForSelection(*item, rechargeMode) ? item : nullptr;
}

void CEnchantSelectDialog::UpdatePageButtons() {
    pageUp.EnablePen(items.topRow != 0 ? 1 : 0);
    pageDown.EnablePen(items.topRow + items.visibleRows < items.GetCount() ? 1 : 0);
}

void CEnchantSelectDialog::ShowDetails() {
    CItemInstance* item = ItemOfRow(items.ValidSelection());
    if (!item || !host) {
        details.SetText("", "", 0, 0);
        details.state |= kWidgetRedraw;
        return;
    }
    if (item != shownLast) {
        shownLast = item;
        PlayInterfaceSound(game, 0, 10);
    }
    CStr name, body;
    FormatItemName(*item->type, item, false, host->GetRules(), name);
    if (craft::IsWandItem(*item)) {
        if (craft::WandNeedsCharges(*item))
            body.Format(" (%u/%u charges)", static_cast<unsigned>(item->count),
                        static_cast<unsigned>(craft::WandMaximum(*item)));
    } else {
        body.Format("Enchant storage: %u\r\r", static_cast<unsigned>(item->type->enchantCapacity));
    }
    details.SetText(name.GetText(), body.GetText(), 0, 0);
    details.state |= kWidgetRedraw;
}

void CEnchantSelectDialog::ShowMessage(const char* text, State next) {
    ShowMessageText(game, &messageText, text, CButtonBar::kOk, &messageBar, this);
    OpenModal(&messageBar);
    state = next;
}

void CEnchantSelectDialog::UseSelected() {
    CItemInstance* item = ItemOfRow(items.ValidSelection());
    if (!item || !host) return;
    if (craft::IsWandItem(*item)) {
        if (enchanter) {
            OpenModal(&recharge);
            recharge.Open(enchanter, item);
            state = kFollowUp;
            return;
        }
        const bool rechargeable = craft::IsWandRechargeable(*item, host->GetRules().spells);
        if (rechargeable) item->count = static_cast<u16>(std::max(0, craft::WandMaximum(*item)));
        ShowMessage(rechargeable ? "The wand has been recharged." : "The wand cannot be recharged",
                    kSpellRecharged);
        return;
    }
    const CEffectList* effects = item->GetEffects();
    if (item->type->itemClass == kItemMagic && (!effects || effects->Count() == 0) &&
        !host->KnowsAnySpell()) {
        ShowMessage("You don't know any spells - this item cannot be enchanted.", kMessage);
        return;
    }
    OpenModal(&enchanting);
    enchanting.Open(enchanter, item, limit);
    state = kFollowUp;
}

u32 CEnchantSelectDialog::OnCommand(u32 command) {
    switch (state) {
    case kFollowUp:
        state = kChoosing;
        CloseModal();
        ResetInputGuard();
        if (host) host->ReapplyEquipmentEffects();
        if (enchanter) {
            BuildList();
            ShowDetails();
            flags |= kFormRedrawAll;
            return 0;
        }
        // Through a spell, one enchantment ends the whole choice.
        if (command == kUse && parent) return parent->OnCommand(kClose);
        flags |= kFormRedrawAll;
        return 0;
    case kMessage:
    case kSpellRecharged: {
        const bool close = state == kSpellRecharged;
        state = kChoosing;
        CloseModal();
        ResetInputGuard();
        flags |= kFormRedrawAll;
        if (close) {
            if (host) host->ReapplyEquipmentEffects();
            return parent ? parent->OnCommand(kClose) : 0;
        }
        return 0;
    }
    case kChoosing: break;
    }
    switch (command) {
    case kUse:
        PlayInterfaceSound(game, 1, 10);
        UseSelected();
        return 0;
    case kList: ShowDetails(); return 0;
    case kPageUp:
    case kPageDown: {
        PlayInterfaceSound(game, 0, 10);
        craft::PageList(items, command == kPageUp ? -1 : 1);
        UpdatePageButtons();
        return 0;
    }
    case kClose:
        PlayInterfaceSound(game, 1, 10);
        if (host) host->ReapplyEquipmentEffects();
        return parent ? parent->OnCommand(kClose) : 0;
    default: return 0;
    }
}
