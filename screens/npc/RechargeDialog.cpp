#include "screens/npc/RechargeDialog.h"

#include "core/LayoutTable.h"
#include "core/Str.h"
#include "data/ItemText.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "screens/npc/CraftRules.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr u32 kGoldCap = 1000000000u;

void FillPair(CWidgetHost* game, CRecordHolder* (&set)[3], u16 first) {
    set[0] = game ? game->GetInterfacePicture(first) : nullptr;
    set[1] = game ? game->GetInterfacePicture(static_cast<u16>(first + 1)) : nullptr;
    set[2] = nullptr;
}

void FormatMoney(u32 value, CStr& out) {
    if (value >= kGoldCap)
        out.Format("%luB", static_cast<unsigned long>(value / kGoldCap));
    else
        FormatCompactNumber(value, out);
}

}  // namespace

void CRechargeDialog::Place(CWidget& widget, u32 element) {
    widget.Attach(this);
    widget.SetLayoutRect(FindLayoutRect(game, kLayoutGroup, element));
    if (widget.state & kWidgetEnabled)
        AddWidget(&widget);
}

void CRechargeDialog::Open(const CNpc* npc, CItemInstance* target) {
    RemoveAllWidgets();
    messageBar.Attach(game);
    GetLayoutSize(game, kLayoutGroup, width, height);
    i32 screenWidth = 0, screenHeight = 0;
    GameFrameBufferSize(game, screenWidth, screenHeight);
    x = static_cast<u32>(std::max(0, (screenWidth - static_cast<i32>(width)) / 2));
    y = static_cast<u32>(std::max(0, (screenHeight - static_cast<i32>(height)) / 2));
    const bool small = IsSmallLayoutMode(game ? game->GetLayoutMode() : 0);
    background = game ? game->GetInterfacePicture(kPictureDialogBackground) : nullptr;
    drawBackground = 1;

    Place(frame, 19);
    frame.frameSet = InterfacePictureSet(game, small ? kPictureCompactFrameSet : kPictureLargeFrameSet, 9);
    frame.transparent = 1;
    frame.sides = 0x0F;
    Place(title, 16);
    title.font = 1;
    title.textColour = 0xFFFFFF;
    title.backgroundColour = 0x161616;
    title.outline = 1;
    title.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
    title.SetText("Recharge wand");
    Place(wandText, 277);
    wandText.Setup(1, 0xFFFFFF, 0xFFFFFF, 0xC8C8C8, 0x161616, 0, 1, 1, 0xFFFFFF);
    Place(priceText, 287);
    priceText.font = 1;
    priceText.textColour = 0xC8C8C8;
    priceText.backgroundColour = 0x161616;
    priceText.alignment = CTextLabel::kAlignLeft;
    FillPair(game, rechargePictures, kPictureOk);
    Place(rechargeButton, kRecharge);
    rechargeButton.SetPictures(rechargePictures, kRecharge, 3006);
    FillPair(game, closePictures, kPictureCancel);
    Place(closeButton, kClose);
    closeButton.SetPictures(closePictures, kClose, 3007);

    state = kShown;
    enchanter = npc;
    wand = target;
    price = 0;
    if (host && wand && wand->type) {
        const CRuleContext& rules = host->GetRules();
        CStr name;
        FormatItemName(*wand->type, wand, false, rules, name);
        CStr charges;
        charges.Format("%u/%u charges", static_cast<unsigned>(wand->count),
                       static_cast<unsigned>(std::max(0, craft::WandMaximum(*wand))));
        wandText.SetText(name.GetText(), charges.GetText(), 0, 0);
        price = craft::ComputeRechargePrice(*wand, rules, enchanter ? host->GetPriceLevel(*enchanter) : 10);
        CStr priceWord, goldWord, text;
        FormatMoney(static_cast<u32>(price), priceWord);
        FormatMoney(host->GetGold(), goldWord);
        text.Format("Recharge cost: %s%c\rYour gold: %s%c", priceWord.GetText(), 9, goldWord.GetText(), 9);
        priceText.SetText(text.GetText());
    }
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CRechargeDialog::ShowMessage(const char* text, State next) {
    ShowMessageText(game, &messageText, text, CButtonBar::kOk, &messageBar, this);
    OpenModal(&messageBar);
    state = next;
}

u32 CRechargeDialog::OnCommand(u32 command) {
    if (state != kShown) {
        const bool done = state == kDone;
        PlayInterfaceSound(game, 1, 10);
        CloseModal();
        ResetInputGuard();
        flags |= kFormRedrawAll;
        state = kShown;
        if (done && parent)
            parent->OnCommand(kRecharge);
        return 0;
    }
    if (command == kClose) {
        PlayInterfaceSound(game, 1, 10);
        if (parent)
            parent->OnCommand(kClose);
        return 0;
    }
    if (command != kRecharge || !host || !wand)
        return 0;
    PlayInterfaceSound(game, 0, 10);
    if (static_cast<i64>(price) > static_cast<i64>(host->GetGold())) {
        ShowMessage("You don't have enough gold.", kNoGold);
        return 0;
    }
    if (craft::IsWandRechargeable(*wand, host->GetRules().spells)) {
        wand->count = static_cast<u16>(std::max(0, craft::WandMaximum(*wand)));
        host->SetGold(craft::PayPrice(host->GetGold(), price));
        CStr text;
        text.Format("The wand has been recharged.\rYou pay %u%c.", static_cast<unsigned>(price), 9);
        ShowMessage(text.GetText(), kDone);
    } else {
        ShowMessage("The wand cannot be recharged.", kDone);
    }
    return 0;
}
