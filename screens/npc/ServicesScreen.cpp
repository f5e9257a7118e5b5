#include "screens/npc/ServicesScreen.h"

#include <cstdio>

#include "data/Npc.h"
#include "data/WorldRecords.h"
#include "screens/ScreenHost.h"
#include "screens/npc/NpcHeader.h"
#include "screens/frontend/FrontendWidgets.h"
#include "script/ScriptContext.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "display/Video.h"
#include "ui/WidgetHelpers.h"

namespace {

constexpr u32 kWelcome = 110, kLeave = 301;
constexpr u32 kPlaces[kServicePlaces] = {296, 297, 298, 299, 300};
constexpr u32 kButtonText = 0xc8c8c8;

bool LargeFontMode(u32 mode) { return mode == 9 || mode == 10 || mode == 11 || mode == 14 || mode == 15; }

}  // namespace

void CMenuButton::Draw() {
    const bool pressed = (state & kWidgetPressed) != 0;
    const u16 colour = PackColourWord(pressed ? 0xffffff : 0x585858);
    video->FillRect(x, y, w, 1, colour);
    video->FillRect(x, y + h - 1, w, 1, colour);
    video->FillRect(x, y, 1, h, colour);
    video->FillRect(x + w - 1, y, 1, h, colour);
    CBitmapButton::Draw();
}

void CServicesScreen::Attach(CWidgetHost* owner) {
    CScreen::Attach(owner);
    doorFlag = 0;
}

u32 CServicesScreen::GetPriceLevel() const { return npc_ ? GetNpcPriceLevel(host_, *npc_) : 0; }

void CServicesScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    screenState = kMenu;
    musicName.Assign("");
    sleptFlag = 0;
    messageBar.Attach(game);
    restDialog.Attach(game);
    repairDialog.Attach(game);
    trainingDialog.Attach(game);
    betDialog.Attach(game);
    npc_ = host_.GetNpcForEntry(b);
    // A missing profile leaves the screen without animation and own music; the menu still works.
    profile_ = npc_ ? host_.FindTalkProfile(npc_->GetTalkProfileId()) : nullptr;

    PlaceNpcHeader(*this, kLayoutGroup, {&columnFrame, &menuFrame, &headerFrame, 555}, portrait, nameLabel, npc_);
    // The box round the welcome text, in the frames' set.
    if (PlaceWidget(*this, welcomeFrame, kLayoutGroup, 132)) {
        welcomeFrame.frameSet = headerFrame.frameSet;
        welcomeFrame.transparent = 1;
        welcomeFrame.sides = 0x0F;
    }
    const char* welcome =
        npc_ && npc_->GetWelcomeText() ? npc_->GetWelcomeText() : "- welcome message not found -";
    PlaceLabel(*this, welcomeLabel, kLayoutGroup, kWelcome, welcome,
               CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle, 1, 0xc8c8c8);

    const u32 font = LargeFontMode(host_.GetLayoutMode()) ? 2 : 1;
    buttons = GetServiceButtons(npc_ ? npc_->GetServiceFlags() : 0);
    CRecordHolder* const* pressed = nullptr;  // the buttons draw their own frame
    CRecordHolder* const* normal = nullptr;
    for (size_t i = 0; i < buttons.size(); ++i) {
        CBitmapButton& button = menuButtons[i];
        if (!PlaceWidget(*this, button, kLayoutGroup, kPlaces[i])) continue;
        button.SetFramedText(pressed, normal, buttons[i].caption, static_cast<u32>(buttons[i].command), font,
                             kButtonText, 0x161616, 0xffffff, 0x161616, 0);
    }
    if (PlaceWidget(*this, leaveButton, kLayoutGroup, kLeave))
        leaveButton.SetFramedText(pressed, normal, "Leave", kServicesLeave, font, kButtonText, 0x161616,
                                  0xffffff, 0x161616, static_cast<u16>(kCommandBack));
    flags |= kFormRedrawAll;
    Draw();
    ResetInputGuard();
}

void CServicesScreen::Leave() {
    profile_ = nullptr;
    keepOnStack = 0;
    RemoveAllWidgets();
}

void CServicesScreen::ShowMessage(const char* text, u32 flagsOfButtons) {
    ShowMessageText(game, &messageView, text, flagsOfButtons, &messageBar, this);
    OpenModal(&messageBar);
}

void CServicesScreen::DropModal() {
    CloseModal();
    flags |= kFormRedrawAll;
    Draw();
    ResetInputGuard();
}

void CServicesScreen::OpenDialog(CForm& dialog, u32 state) {
    screenState = state;
    OpenModal(&dialog);
}

void CServicesScreen::OfferRoom() {
    screenState = kInnMessage;
    roomOffered_ = false;
    INpcCustomer* customer = host_.GetCustomer();
    const u32 gold = customer ? customer->GetGold() : 0;
    const u32 rent = customer ? GetInnRent(GetPriceLevel(), *customer) : 5 * GetPriceLevel();
    char text[160];
    if (customer && customer->HasSeriousDisease()) {
        ShowMessage("You're seriously diseased - resting would be lethal.", CButtonBar::kOk);
        return;
    }
    if (customer && gold >= rent) {
        std::snprintf(text, sizeof text, "Do you want to rent a room for %u%c?", rent, 9);
        roomOffered_ = true;
        ShowMessage(text, CButtonBar::kYes | CButtonBar::kNo);
        return;
    }
    std::snprintf(text, sizeof text, "You don't have enough money to rent a room (%u%c).", rent, 9);
    ShowMessage(text, CButtonBar::kOk);
}

void CServicesScreen::RentRoom() {
    INpcCustomer* customer = host_.GetCustomer();
    const u32 rent = customer ? GetInnRent(GetPriceLevel(), *customer) : 0;
    // The offer was made earlier; the disease and the gold are checked again at the moment of taking.
    if (!customer || customer->HasSeriousDisease() || !TakeGold(*customer, rent)) {
        CloseModal();
        OfferRoom();
        return;
    }
    CloseModal();
    screenState = kResting;
    restDialog.parent = this;
    restDialog.Open(npc_, customer);
    OpenModal(&restDialog);
    restDialog.parent = this;
    if (CScriptContext* context = host_.GetScriptContext())
        if (IScriptWorld* world = context->GetWorld()) world->AdvanceClock(0, 8, 0);
    sleptFlag = 1;
}

u32 CServicesScreen::OnCommand(u32 command) {
    switch (screenState) {
    case kMenu:
        if (command == 1) {
            DropModal();
            return 0;
        }
        if (command >= kServicesTalk && command <= kServicesCards && command != kServicesLeave)
            PlayInterfaceSound(game, 0, 10);
        switch (command) {
        case kServicesTalk:
        case kServicesBuySell:
            // The words go on as (0, the NPC, the creature, the section).
            entryA = 0;
            keepOnStack = 1;
            return command == kServicesTalk ? kScreenTalk : kScreenShop;
        case kServicesSleep: OfferRoom(); return 0;
        case kServicesRepair:
            repairDialog.Open(host_.GetTradeWorld(), GetPriceLevel());
            OpenDialog(repairDialog, kRepairOpen);
            return 0;
        case kServicesEnchant:
            if (!npc_) return 0;
            if (!CNpcEnchanting::HasCandidates(host_)) {
                screenState = kEnchantOpen;
                ShowMessage("You don't have anything to enchant.", CButtonBar::kOk);
                return 0;
            }
            OpenDialog(enchanting.Open(host_, *npc_, 0), kEnchantOpen);
            return 0;
        case kServicesTraining:
            if (!npc_) return 0;
            trainingDialog.Open(host_.GetTradeWorld(), *npc_);
            OpenDialog(trainingDialog, kTrainingOpen);
            return 0;
        case kServicesCards:
            screenState = kBetOpen;
            betDialog.Open(npc_ ? npc_->maxBet : 0);
            OpenModal(&betDialog);
            Draw();
            return 0;
        case kServicesLeave:
            PlayInterfaceSound(game, 1, 10);
            doorFlag = 0;
            return kScreenBack;
        default: return 0;
        }
    case kRepairOpen:
    case kEnchantOpen:
    case kTrainingOpen:
        screenState = kMenu;
        DropModal();
        return 0;
    case kInnMessage:
        // Only the offer takes Yes: a refusal shows Ok alone, and a stray Yes must not rent.
        if (command == CButtonBar::kYes && roomOffered_) {
            RentRoom();
        } else if (command == CButtonBar::kOk || command == CButtonBar::kNo) {
            screenState = kMenu;
            DropModal();
        }
        return 0;
    case kResting:
        restDialog.Close();
        screenState = kMenu;
        DropModal();
        return 0;
    case kBetOpen: {
        screenState = kMenu;
        const i32 bet = betDialog.Bet();
        DropModal();
        if (command != CBetDialog::kOk) return 0;
        return StartCardGame(*this, host_.GetCustomer(), bet, [this](const char* text) {
            ShowMessage(text, CButtonBar::kOk);
            Draw();
        });
    }
    default: return 0;
    }
}
