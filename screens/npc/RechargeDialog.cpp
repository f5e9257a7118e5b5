#include "screens/npc/RechargeDialog.h"

#include "screens/frontend/DialogKit.h"
#include "screens/npc/CraftWidgets.h"

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

void CRechargeDialog::Place(CWidget& widget, u32 element) {
    craft::PlaceWidget(*this, widget, kLayoutGroup, element);
}

void CRechargeDialog::Open(const CNpc* npc, CItemInstance* target) {
    RemoveAllWidgets();
    messageBar.Attach(game);
    CentreDialog(*this, kLayoutGroup);
    craft::SetupDialogBackdrop(*this, frame, kLayoutGroup, kPictureDialogBackground);
    Place(title, 16);
    craft::SetupTitle(title, "Recharge wand", 0x161616);
    Place(wandText, 277);
    craft::SetupDetailBox(wandText);
    Place(priceText, 287);
    priceText.font = 1;
    priceText.textColour = 0xC8C8C8;
    priceText.backgroundColour = 0x161616;
    priceText.alignment = CTextLabel::kAlignLeft;
    craft::PlaceButton(*this, rechargeButton, rechargePictures, kLayoutGroup, kRecharge, kPictureOk, 3006);
    craft::PlaceButton(*this, closeButton, closePictures, kLayoutGroup, kClose, kPictureCancel, 3007);

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
        craft::FormatMoneyText(static_cast<u32>(price), priceWord);
        craft::FormatMoneyText(host->GetGold(), goldWord);
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
        if (done && parent) parent->OnCommand(kRecharge);
        return 0;
    }
    if (command == kClose) {
        PlayInterfaceSound(game, 1, 10);
        if (parent) parent->OnCommand(kClose);
        return 0;
    }
    if (command != kRecharge || !host || !wand) return 0;
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
