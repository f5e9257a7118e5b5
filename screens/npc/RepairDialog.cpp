#include "screens/npc/RepairDialog.h"

#include <algorithm>

#include "core/Str.h"
#include "data/ItemType.h"
#include "screens/frontend/DialogKit.h"
#include "screens/npc/LayoutPlacing.h"
#include "screens/npc/ListPaging.h"
#include "screens/npc/TradeWorld.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/ScreenIds.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr int kSkillRepair = 14;

const char* ConditionWordOf(const CItemInstance& item) {
    return GetConditionWord(GetConditionPercent(item.count, item.type->maxCondition));
}

void SetupCaption(CTextLabel& label, u32 font, const char* text, u32 alignment) {
    label.font = font;
    label.textColour = 0xFFFFFF;
    label.backgroundColour = 0x161616;
    label.alignment = alignment;
    label.outline = font == 2 ? 1 : 0;
    label.SetText(text);
    label.Layout();
}

}  // namespace

void CRepairDialog::Open(ITradeWorld* world, CItemInstance* hammer, RandomDraw random) {
    world_ = world;
    random_ = std::move(random);
    RemoveAllWidgets();
    CentreDialog(*this, kLayoutGroup);
    background = game ? game->GetInterfacePicture(kPictureDialogBackground) : nullptr;
    PlaceDialogFrame(*this, backgroundFrame, kLayoutGroup);
    PlaceWidget(*this, title, kLayoutGroup, 0x17);
    SetupCaption(title, 2, "Repair", CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle);
    PlaceWidget(*this, hammerPrompt, kLayoutGroup, 0x1f);
    SetupCaption(hammerPrompt, 1,
                 "Select a repair hammer to use:", CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle);
    PlaceWidget(*this, hammerSlot, kLayoutGroup, 0x1b);
    hammerSlot.fillColour = 0x101418;
    PlaceWidget(*this, hammerText, kLayoutGroup, 0x1c);
    hammerText.Setup(1, 0xFFFFFF, 0xFFFFFF, 0xC8C8C8, 0x101418, 1, 3, 2, 0xFFFFFF);
    PlaceWidget(*this, itemPrompt, kLayoutGroup, 0x20);
    SetupCaption(itemPrompt, 1,
                 "Select the item to be repaired:", CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle);
    const u32 mode = game ? game->GetLayoutMode() : 15;
    PlaceListParts(kLayoutGroup, IsLargeLayoutMode(mode) ? 100 : 80, "Repair");
    FillButtonPictures(game, arrowPictures_[0], kPictureArrowButtons + 4);  // left
    FillButtonPictures(game, arrowPictures_[1], kPictureArrowButtons + 6);  // right
    PlaceWidget(*this, previousHammer, kLayoutGroup, kPreviousHammer);
    previousHammer.SetPictures(arrowPictures_[0], kPreviousHammer, 0);
    previousHammer.transparent = 1;
    PlaceWidget(*this, nextHammer, kLayoutGroup, kNextHammer);
    nextHammer.SetPictures(arrowPictures_[1], kNextHammer, 0);
    nextHammer.transparent = 1;

    IServicePlayer* player = world_ ? world_->GetServicePlayer() : nullptr;
    repairSkill = player ? player->GetSkillWithFortify(kSkillRepair) : 0;
    CollectEntries();
    auto at = std::find(hammers.begin(), hammers.end(), hammer);
    hammerIndex = at == hammers.end() ? -1 : static_cast<i32>(at - hammers.begin());
    ShowHammer();
    FillItemList();
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CRepairDialog::CollectEntries() {
    hammers.clear();
    items.clear();
    IServicePlayer* player = world_ ? world_->GetServicePlayer() : nullptr;
    if (!player) return;
    for (int i = 0; i < player->GetItemCount(); ++i) {
        CItemInstance* item = player->GetItem(i);
        if (!item || !item->type) continue;
        const CItemType& type = *item->type;
        if (type.itemClass == kItemRepair && !(type.flags & 0x10)) {
            if (GetConditionPercent(item->count, type.maxCondition) >= 10) hammers.push_back(item);
        } else if (NeedsRepair(*item)) {
            items.push_back(item);
        }
    }
}

void CRepairDialog::ShowHammer() {
    const bool has = hammerIndex >= 0 && hammerIndex < static_cast<i32>(hammers.size());
    if (has) {
        const CItemInstance& hammer = *hammers[hammerIndex];
        const char* picture = hammer.type->texts[1];
        hammerSlot.SetBitmap(picture && game ? game->FindTexturePicture(picture) : nullptr);
        CStr text;
        text.Format("Condition: %s", ConditionWordOf(hammer));
        hammerText.SetText(hammer.type->name ? hammer.type->name : "", text.GetText(), 0, 0);
    } else {
        hammerSlot.SetBitmap(nullptr);
        hammerText.SetText("", "", 0, 0);
    }
    hammerSlot.state |= kWidgetRedraw;
    previousHammer.EnablePen(has && hammerIndex > 0 ? 1 : 0);
    nextHammer.EnablePen(has && hammerIndex < static_cast<i32>(hammers.size()) - 1 ? 1 : 0);
    previousHammer.state |= kWidgetRedraw;
    nextHammer.state |= kWidgetRedraw;
}

void CRepairDialog::FillItemList() {
    list.ResetItems();
    CStr key;
    for (size_t i = 0; i < items.size(); ++i) {
        key.Format("%u", static_cast<unsigned>(i));
        list.AddItemColumns(items[i]->type->name ? items[i]->type->name : "", key.GetText(),
                            ConditionWordOf(*items[i]));
    }
    list.selection = list.GetCount() > 0 ? 0 : -1;
    list.topRow = PageStartOf(list.selection, list.visibleRows);
    list.state |= kWidgetRedraw;
    UpdateListButtons();
}

void CRepairDialog::UpdateItemRow(i32 row) {
    CStr key;
    key.Format("%u", static_cast<unsigned>(row));
    list.SetItemTexts(row, items[row]->type->name ? items[row]->type->name : "", key.GetText(),
                      ConditionWordOf(*items[row]));
    list.state |= kWidgetRedraw;
}

void CRepairDialog::TryRepair() {
    const i32 row = list.ValidSelection();
    if (hammerIndex < 0 || hammerIndex >= static_cast<i32>(hammers.size()) || row < 0 ||
        row >= static_cast<i32>(items.size()) || !random_)
        return;
    CItemInstance& hammer = *hammers[hammerIndex];
    CItemInstance& item = *items[row];
    lastAttempt = TryHammerRepair(repairSkill, hammer.count, item.count, item.type->maxCondition, random_);
    if (GetConditionPercent(hammer.count, hammer.type->maxCondition) < 10) {
        // Worn out: it stays in the pack but is no longer offered.
        hammers.erase(hammers.begin() + hammerIndex);
        if (hammerIndex >= static_cast<i32>(hammers.size()))
            hammerIndex = static_cast<i32>(hammers.size()) - 1;
    }
    ShowHammer();
    if (IServicePlayer* player = world_ ? world_->GetServicePlayer() : nullptr)
        RaiseUseCounter(player->GetSkillUseCounter(kSkillRepair));
    if (world_) world_->PlayNamedSound(lastAttempt.success ? "bsnd_repairok" : "bsnd_repairfail");
    if (item.count >= item.type->maxCondition) {
        items.erase(items.begin() + row);
        FillItemList();
    } else {
        UpdateItemRow(row);
    }
    flags |= kFormRedrawAll;
}

void CRepairDialog::OnOtherCommand(u32 command) {
    if (command != kPreviousHammer && command != kNextHammer) return;
    PlayInterfaceSound(game, 0, 10);
    if (!hammers.empty())
        hammerIndex = std::clamp(hammerIndex + (command == kNextHammer ? 1 : -1), 0,
                                 static_cast<i32>(hammers.size()) - 1);
    ShowHammer();
}
