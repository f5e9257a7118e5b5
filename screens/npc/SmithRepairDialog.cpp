#include "screens/npc/SmithRepairDialog.h"

#include <algorithm>

#include "core/Str.h"
#include "data/ItemType.h"
#include "display/FontSet.h"
#include "screens/npc/LayoutPlacing.h"
#include "screens/npc/ListPaging.h"
#include "screens/npc/TradeRules.h"
#include "screens/npc/TradeWorld.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/ScreenIds.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

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

void CSmithRepairDialog::Open(ITradeWorld* world, u32 priceRate) {
    world_ = world;
    RemoveAllWidgets();
    CentreDialog(*this, kLayoutGroup);
    background = game ? game->GetInterfacePicture(kPictureDialogBackground) : nullptr;
    PlaceDialogFrame(*this, backgroundFrame, kLayoutGroup);
    PlaceWidget(*this, title, kLayoutGroup, 0x17);
    title.font = 2;
    title.textColour = 0xFFFFFF;
    title.outline = 1;
    title.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
    title.SetText("Repair");
    title.Layout();
    PlaceWidget(*this, prompt, kLayoutGroup, 0x20);
    prompt.font = 1;
    prompt.textColour = 0xFFFFFF;
    prompt.alignment = CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle;
    prompt.SetText("Select the item to be repaired:");
    prompt.Layout();
    PlaceWidget(*this, list, kLayoutGroup, kList);
    SetupServiceList(list, 80, 0xC8C8C8);

    FillButtonPictures(game, pagePictures_[0], kPictureListPageUp);
    FillButtonPictures(game, pagePictures_[1], kPictureListPageDown);
    PlaceWidget(*this, pageUp, kLayoutGroup, kPageUp);
    pageUp.SetPictures(pagePictures_[0], kPageUp, 0);
    pageUp.transparent = 1;
    PlaceWidget(*this, pageDown, kLayoutGroup, kPageDown);
    pageDown.SetPictures(pagePictures_[1], kPageDown, 0);
    pageDown.transparent = 1;
    CRecordHolder* const* pressed = StandardButtonFrames(game, true);
    CRecordHolder* const* normal = StandardButtonFrames(game, false);
    PlaceWidget(*this, repairButton, kLayoutGroup, kRepair);
    repairButton.SetFramedText(pressed, normal, "Repair", kRepair, 2, 0xFFFFFF, 0x202020, 0x00FFFF, 0x202020,
                               kCommandUse);
    PlaceWidget(*this, cancelButton, kLayoutGroup, kCancel);
    cancelButton.SetFramedText(pressed, normal, "Cancel", kCancel, 2, 0xFFFFFF, 0x202020, 0x00FFFF, 0x202020,
                               kCommandCancel);
    PlaceWidget(*this, goldBack, kLayoutGroup, 0x126);
    goldBack.frameSet = backgroundFrame.frameSet;
    goldBack.transparent = 1;
    goldBack.sides = 0x0F;
    PlaceWidget(*this, goldLabel, kLayoutGroup, 0x16);
    goldLabel.font = 0x12;
    goldLabel.textColour = 0xC8C8C8;
    goldLabel.outline = 1;
    // Two lines: from the top, so that the second is not cut off as centring a single line would.
    goldLabel.alignment = CTextLabel::kAlignCentre;

    rate = priceRate;
    CollectItems();
    FillList(-1);
    UpdateGoldLabel();
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CSmithRepairDialog::CollectItems() {
    items.clear();
    IServicePlayer* player = world_ ? world_->GetServicePlayer() : nullptr;
    if (!player)
        return;
    for (int i = 0; i < player->GetItemCount(); ++i) {
        CItemInstance* item = player->GetItem(i);
        if (!item || !item->type || (item->type->flags & 0x10))
            continue;
        if (IsRepairable(*item->type) && item->count < item->type->maxCondition)
            items.push_back(item);
    }
}

u32 CSmithRepairDialog::PriceOf(const CItemInstance& item) const {
    const IServicePlayer* player = world_ ? world_->GetServicePlayer() : nullptr;
    const u32 cost = GetSmithRepairCost(item.count, item.type->maxCondition, rate);
    return AdjustPrice(cost, player ? player->GetTradeBonus() : 0, TradeSide::PlayerBuys);
}

void CSmithRepairDialog::FillList(i32 select) {
    list.ResetItems();
    CStr key, price;
    for (size_t i = 0; i < items.size(); ++i) {
        key.Format("%u", static_cast<unsigned>(i));
        price.Format("%u%c", PriceOf(*items[i]), 9);
        ToNumberGlyphs(price);
        list.AddItemColumns(items[i]->type->name ? items[i]->type->name : "", key.GetText(), price.GetText());
    }
    const i32 count = list.GetCount();
    list.selection = select < 0 ? (count > 0 ? 0 : -1) : ClampSelection(select, count);
    list.topRow = PageStartOf(list.selection, list.visibleRows);
    list.state |= kWidgetRedraw;
    UpdateListButtons();
}

void CSmithRepairDialog::UpdateListButtons() { UpdatePageButtons(list, pageUp, pageDown); }

void CSmithRepairDialog::UpdateGoldLabel() {
    IServicePlayer* player = world_ ? world_->GetServicePlayer() : nullptr;
    CStr money, text;
    FormatMoney(player ? player->GetGold() : 0, money);
    text.Format("Player gold:\r%s%c", money.GetText(), 9);
    ToNumberGlyphs(text);
    goldLabel.SetText(text.GetText());
    goldLabel.Layout();
    goldLabel.state |= kWidgetRedraw;
    goldBack.state |= kWidgetRedraw;
}

void CSmithRepairDialog::RepairSelected() {
    IServicePlayer* player = world_ ? world_->GetServicePlayer() : nullptr;
    const i32 selected = list.ValidSelection();
    if (!player || selected < 0 || selected >= static_cast<i32>(items.size()))
        return;
    CItemInstance* item = items[selected];
    const u32 price = PriceOf(*item);
    if (player->GetGold() < price)
        return;
    if (world_)
        world_->PlayNamedSound("bsnd_repairok");
    item->count = item->type->maxCondition;
    player->SetGold(std::min(player->GetGold() - price, kGoldLimit));
    items.erase(items.begin() + selected);
    FillList(selected);
    UpdateGoldLabel();
}

void CSmithRepairDialog::Page(i32 direction) {
    PlayInterfaceSound(game, 0, 10);
    TurnListPage(list, direction);
    UpdateListButtons();
}

u32 CSmithRepairDialog::OnCommand(u32 command) {
    switch (command) {
    case kList:
        PlayInterfaceSound(game, 0, 10);
        UpdateListButtons();
        return 0;
    case kRepair:
        RepairSelected();
        return 0;
    case kCancel:
        PlayInterfaceSound(game, 1, 10);
        return parent ? parent->OnCommand(kCancel) : 0;
    case kPageUp:
        Page(-1);
        return 0;
    case kPageDown:
        Page(1);
        return 0;
    default:
        return 0;
    }
}
