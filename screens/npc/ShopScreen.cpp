#include "screens/npc/ShopScreen.h"

#include "core/Str.h"
#include "data/ItemText.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "data/RuleContext.h"
#include "platform/Clock.h"
#include "screens/ScreenHost.h"
#include "screens/npc/LayoutPlacing.h"
#include "screens/npc/TradeWorld.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/LayoutMath.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"

namespace {

constexpr u32 kPictureElements[5] = {0x13, 0x125, 0x131, 0x234, 0x124};
constexpr u32 kPortraitElement = 0x120;
constexpr u32 kNameElement = 0x121;
constexpr u32 kGoldElement = 0x16;
constexpr u32 kGoldBackElement = 0x126;

constexpr u32 kNameColour = 0xBEC8D2;
constexpr u32 kGoldColour = 0xC8C8C8;
constexpr u32 kCaptionColour = 0xFFFFFF;
constexpr u32 kCaptionShade = 0x202020;
constexpr u32 kCaptionPressed = 0x00FFFF;

bool WornInHand(const CItemType& type) {
    return type.itemClass == kItemWeapon || (type.itemClass == kItemHeavyArmour && type.subclass == 1) ||
           (type.itemClass == kItemLightArmour && type.subclass == 1);
}

}  // namespace

u32 CShopScreen::Now() const { return plat::TickCount(); }

void CShopScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    asking = 0;
    messageActive = 0;
    world_ = host_.GetTradeWorld();
    merchant = world_ ? world_->GetNpc(b) : nullptr;
    GetLayoutSize(game, kLayoutGroup, width, height);
    // Without a creature there is neither stock to create nor a bag to look up.
    merchantBag = world_ && merchant && c != 0 ? world_->OpenMerchantBag(*merchant, c, d) : nullptr;
    u32 priceLevel = 10;
    if (merchant) {
        const char* variable = merchant->GetPriceVariable();
        priceLevel =
            GetNpcPriceLevel(*merchant, world_ && variable ? world_->FindGlobalVariable(variable) : nullptr);
    }
    IServicePlayer* player = world_ ? world_->GetServicePlayer() : nullptr;
    trade.Begin(merchant, merchantBag, player, priceLevel, world_ ? world_->GetRuleContext() : nullptr);
    Layout();
    UpdateGoldLabel();
    FillList();
    RedrawAll();
    ResetInputGuard();
}

void CShopScreen::RedrawAll() {
    flags |= kFormRedrawAll;
    Draw();
}

void CShopScreen::Layout() {
    RemoveAllWidgets();
    background = game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    const u32 mode = game ? game->GetLayoutMode() : 15;
    const bool large = IsLargeLayoutMode(mode);
    CRecordHolder* const* frames =
        InterfacePictureSet(game, large ? kPictureLargeFrameSet : kPictureCompactFrameSet, 9);
    for (int i = 0; i < 5; ++i) {
        PlaceWidget(*this, decorations[i], kLayoutGroup, kPictureElements[i]);
        decorations[i].frameSet = i == 0 ? nullptr : frames;
        decorations[i].transparent = 1;
        decorations[i].sides = 0x0F;
    }

    PlaceWidget(*this, portrait, kLayoutGroup, kPortraitElement);
    portrait.fillColour = 0x101010;
    const char* portraitId = merchant ? merchant->GetPortraitId() : nullptr;
    if (portraitId && *portraitId)
        portrait.SetPortrait(portraitId);
    else
        portrait.SetPicture("bres_headunknown");

    PlaceWidget(*this, nameLabel, kLayoutGroup, kNameElement);
    nameLabel.font = 0x12;
    nameLabel.textColour = kNameColour;
    nameLabel.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
    nameLabel.outline = 1;
    nameLabel.SetText(trade.GetMerchantName());
    nameLabel.Layout();

    PlaceWidget(*this, grid, kLayoutGroup, kItemList);
    const CShopGridGeometry geometry = ShopGridGeometry(mode);
    grid.trade = &trade;
    grid.SetEntryLayout(
        InterfacePictureSet(game, geometry.largeFrame ? kPictureLargeFrameSet : kPictureCompactFrameSet, 9),
        geometry.entryWidth, geometry.entryHeight, geometry.columns, geometry.rows);

    PlaceWidget(*this, description, kLayoutGroup, 0x142);
    description.Setup(2, 0xFFFFFF, 0xFF6464, 0xC8C8C8, 0x101418, 1, large ? 6 : 3, large ? 4 : 2, 0x64C8C8);

    FillButtonPictures(game, linePictures_[0], kPictureArrowButtons);
    FillButtonPictures(game, linePictures_[1], kPictureArrowButtons + 2);
    FillButtonPictures(game, pagePictures_[0], kPictureListPageUp);
    FillButtonPictures(game, pagePictures_[1], kPictureListPageDown);
    PlaceWidget(*this, lineUp, kLayoutGroup, kLineUp);
    lineUp.SetPictures(linePictures_[0], kLineUp, 0);
    lineUp.transparent = 1;
    PlaceWidget(*this, lineDown, kLayoutGroup, kLineDown);
    lineDown.SetPictures(linePictures_[1], kLineDown, 0);
    lineDown.transparent = 1;
    PlaceWidget(*this, pageUp, kLayoutGroup, kPageUp);
    pageUp.SetPictures(pagePictures_[0], kPageUp, 0);
    pageUp.transparent = 1;
    PlaceWidget(*this, pageDown, kLayoutGroup, kPageDown);
    pageDown.SetPictures(pagePictures_[1], kPageDown, 0);
    pageDown.transparent = 1;

    CRecordHolder* const* pressed = StandardButtonFrames(game, true);
    CRecordHolder* const* normal = StandardButtonFrames(game, false);
    struct {
        CBitmapButton* button;
        const char* caption;
        u32 command;
    } actions[] = {{&buyButton, "Buy", kBuy}, {&sellButton, "Sell", kSell}, {&leaveButton, "Leave", kLeave}};
    for (auto& action : actions) {
        PlaceWidget(*this, *action.button, kLayoutGroup, action.command);
        action.button->SetFramedText(pressed, normal, action.caption, action.command, 2, kCaptionColour,
                                     kCaptionShade, kCaptionPressed, kCaptionShade,
                                     action.command == kLeave ? static_cast<u32>(kCommandCancel) : 0u);
    }

    // Yes and No are placed now but join the form only while the merchant asks.
    for (CTextButton* button : {&yesButton, &noButton}) {
        button->Attach(this);
        button->SetLabel(button == &yesButton ? "Yes" : "No", button == &yesButton ? kYes : kNo);
        button->SetLayoutRect(FindLayoutRect(game, kLayoutGroup, button == &yesButton ? kYes : kNo));
    }
    // Centred on the description box as a pair.
    const i32 gap = 16;
    const i32 pairWidth = yesButton.w + gap + noButton.w;
    const i32 left = description.x + (static_cast<i32>(description.w) - pairWidth) / 2;
    yesButton.x = static_cast<u16>(std::max(0, left));
    noButton.x = static_cast<u16>(std::max(0, left + yesButton.w + gap));

    PlaceWidget(*this, goldBack, kLayoutGroup, kGoldBackElement);
    goldBack.frameSet = frames;
    goldBack.transparent = 1;
    goldBack.sides = 0x0F;
    PlaceWidget(*this, goldLabel, kLayoutGroup, kGoldElement);
    goldLabel.font = mode == 5 || mode == 8 ? 0x12 : 0x11;
    goldLabel.textColour = kGoldColour;
    goldLabel.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
    goldLabel.outline = 1;
}

void CShopScreen::FillList() {
    trade.FillList();
    grid.ShowSelection();
    UpdateListButtons();
    ShowDescription();
}

void CShopScreen::ShowDescription() {
    const CShopEntry* entry = trade.GetSelectedEntry();
    const CRuleContext* rules = world_ ? world_->GetRuleContext() : nullptr;
    if (!entry || !entry->item || !entry->item->type) {
        description.SetText("", "", 0, 0);
        UpdateTextButtons();
        return;
    }
    const CItemType& type = *entry->item->type;
    CStr title, body;
    static const CRuleContext kNoTables;
    const CRuleContext& context = rules ? *rules : kNoTables;
    FormatItemName(type, entry->item, false, context, title);
    if (entry->flags & kShopEntryEquipped) body = WornInHand(type) ? "(wielded)\r" : "(equipped)\r";
    FormatItemDescription(type, entry->item, context, body, true);
    ToNumberGlyphs(body);
    description.SetText(title.GetText(), body.GetText(), (entry->flags & kShopEntryNoSale) ? 1 : 0,
                        (entry->flags & kShopEntryEnchanted) ? 1 : 0);
    UpdateTextButtons();
}

void CShopScreen::UpdateGoldLabel() {
    IServicePlayer* player = world_ ? world_->GetServicePlayer() : nullptr;
    const u32 gold = player ? player->GetGold() : 0;
    const i32 carried = player ? std::max(0, player->GetCarriedWeight()) : 0;
    const i32 capacity = player ? std::max(0, player->GetCarryCapacity()) : 0;
    CStr money;
    FormatMoney(gold, money);
    const unsigned cw = static_cast<unsigned>(carried / 100), ct = static_cast<unsigned>(carried % 100 / 10);
    const unsigned pw = static_cast<unsigned>(capacity / 100),
                   pt = static_cast<unsigned>(capacity % 100 / 10);
    const u32 mode = game ? game->GetLayoutMode() : 15;
    CStr text;
    if (mode == 7)
        text.Format("Gold:%s\rPack:\r%u.%u/%u.%u", money.GetText(), cw, ct, pw, pt);
    else if (mode == 5 || mode == 8)
        text.Format("Gold:\r%s\rPack:\r%u.%u/%u.%u", money.GetText(), cw, ct, pw, pt);
    else if (mode == 2 || mode == 6 || mode == 12 || mode == 13)
        text.Format("Gold:%s, Pack:%u.%u/%u.%u", money.GetText(), cw, ct, pw, pt);
    else
        text.Format("Gold: %s%c     Pack: %u.%u/%u.%u", money.GetText(), 9, cw, ct, pw, pt);
    ToNumberGlyphs(text);
    goldLabel.SetText(text.GetText());
    goldLabel.Layout();
    goldBack.state |= kWidgetRedraw;
    goldLabel.state |= kWidgetRedraw;
}

void CShopScreen::UpdateListButtons() {
    const i32 count = static_cast<i32>(trade.GetEntries().size());
    pageUp.EnablePen(grid.firstVisible > 0 ? 1 : 0);
    pageDown.EnablePen(count > grid.firstVisible + grid.PageSize() ? 1 : 0);
    pageUp.state |= kWidgetRedraw;
    pageDown.state |= kWidgetRedraw;
}

void CShopScreen::UpdateTextButtons() {
    const u32 pages = description.GetPageCount();
    if (description.currentPage == 0 && pages <= 1) {
        lineUp.Show(0);
        lineDown.Show(0);
        return;
    }
    lineUp.Show(1);
    lineDown.Show(1);
    lineUp.EnablePen(description.currentPage > 0 ? 1 : 0);
    lineDown.EnablePen(description.currentPage + 1 < pages ? 1 : 0);
}

void CShopScreen::ShowMessage(const char* text, u32 ms) {
    description.SetText("", text, 0, 0);
    UpdateTextButtons();
    messageActive = ms > 0 ? 1 : 0;
    messageStart = Now();
    messageMs = ms;
}

void CShopScreen::AskDeal(const char* text) {
    ShowMessage(text, 0);
    asking = 1;
    AddWidget(&yesButton);
    AddWidget(&noButton);
    yesButton.state |= kWidgetRedraw;
    noButton.state |= kWidgetRedraw;
}

void CShopScreen::ShowOutcome(const CTradeOutcome& outcome) {
    switch (outcome.kind) {
    case CTradeOutcome::kNothing:
        grid.ShowSelection();
        UpdateListButtons();
        ShowDescription();
        return;
    case CTradeOutcome::kSwitchedList:
        PlayInterfaceSound(game, 1, 10);
        grid.ShowSelection();
        UpdateListButtons();
        ShowMessage(outcome.message.GetText(), outcome.messageMs);
        return;
    case CTradeOutcome::kRefused:
        PlayInterfaceSound(game, 1, 10);
        ShowMessage(outcome.message.GetText(), outcome.messageMs);
        return;
    case CTradeOutcome::kAskDeal:
        PlayInterfaceSound(game, 1, 10);
        AskDeal(outcome.message.GetText());
        return;
    case CTradeOutcome::kDone: {
        if (world_) world_->PlayNamedSound(trade.IsShowingShop() ? "bsnd_pickup" : "bsnd_drop");
        CStr text(outcome.message);
        ToNumberGlyphs(text);
        // The grid keeps its page unless the selection left it.
        if (trade.GetSelection() < grid.firstVisible ||
            trade.GetSelection() >= grid.firstVisible + grid.PageSize())
            grid.ShowSelection();
        grid.state |= kWidgetRedraw;
        ShowMessage(text.GetText(), outcome.messageMs);
        UpdateGoldLabel();
        UpdateListButtons();
        return;
    }
    }
}

void CShopScreen::Buy() { ShowOutcome(trade.Buy()); }

void CShopScreen::Sell(bool confirmed) { ShowOutcome(trade.Sell(confirmed)); }

u32 CShopScreen::OnCommand(u32 command) {
    // Yes and No stand only while the merchant asks; any command takes them down.
    if (asking) {
        RemoveWidget(&yesButton);
        RemoveWidget(&noButton);
        flags |= kFormRedrawAll;
        asking = 0;
        if (command == kYes) {
            Sell(true);
            return kScreenStay;
        }
        if (command == kNo) {
            ShowDescription();
            return kScreenStay;
        }
    }
    switch (command) {
    case kItemList:
        PlayInterfaceSound(game, 0, 10);
        ShowDescription();
        break;
    case kPageDown:
    case kPageUp:
        PlayInterfaceSound(game, 0, 10);
        if (command == kPageDown)
            grid.PageDown();
        else
            grid.PageUp();
        UpdateListButtons();
        ShowDescription();
        break;
    case kLineUp:
    case kLineDown:
        PlayInterfaceSound(game, 0, 10);
        if (command == kLineUp && description.currentPage > 0)
            --description.currentPage;
        else if (command == kLineDown && description.currentPage + 1 < description.GetPageCount())
            ++description.currentPage;
        description.state |= kWidgetRedraw;
        UpdateTextButtons();
        break;
    case kBuy: Buy(); break;
    case kSell: Sell(false); break;
    case kLeave: PlayInterfaceSound(game, 1, 10); return kScreenBack;
    default: break;
    }
    return kScreenStay;
}

u32 CShopScreen::OnTick(u32 tick) {
    // Unsigned differences, so a wrapping millisecond counter ends a message as it should.
    if (messageActive && Now() - messageStart > messageMs) {
        messageActive = 0;
        ShowDescription();
    }
    return CForm::OnTick(tick);
}
