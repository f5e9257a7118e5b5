#include "screens/npc/SmithRepairDialog.h"

#include <algorithm>

#include "core/Str.h"
#include "data/ItemType.h"
#include "display/FontSet.h"
#include "screens/frontend/DialogKit.h"
#include "screens/npc/LayoutPlacing.h"
#include "screens/npc/ListPaging.h"
#include "screens/npc/TradeRules.h"
#include "screens/npc/TradeWorld.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/ScreenIds.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

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
    PlaceListParts(kLayoutGroup, 80, "Repair");
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
    if (!player) return;
    for (int i = 0; i < player->GetItemCount(); ++i)
        if (CItemInstance* item = player->GetItem(i); item && NeedsRepair(*item)) items.push_back(item);
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
    if (!player || selected < 0 || selected >= static_cast<i32>(items.size())) return;
    CItemInstance* item = items[selected];
    const u32 price = PriceOf(*item);
    if (player->GetGold() < price) return;
    if (world_) world_->PlayNamedSound("bsnd_repairok");
    item->count = item->type->maxCondition;
    player->SetGold(std::min(player->GetGold() - price, kGoldLimit));
    items.erase(items.begin() + selected);
    FillList(selected);
    UpdateGoldLabel();
}
