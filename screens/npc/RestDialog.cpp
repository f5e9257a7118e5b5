#include "screens/npc/RestDialog.h"

#include <string>

#include "data/Npc.h"
#include "platform/Clock.h"
#include "screens/frontend/DialogKit.h"
#include "screens/frontend/FrontendWidgets.h"
#include "screens/npc/LayoutPlacing.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr u32 kTitle = 2, kHour = 3, kHours = 4, kClose = 5, kWake = 7;

const char* HoursWord(u32 hour) { return hour == 1 ? "hour" : "hours"; }

}  // namespace

void CRestDialog::Open(const CNpc* host, INpcCustomer* customer) {
    RemoveAllWidgets();
    // Centred and framed like the other dialogs; the owner's screen is drawn again beneath it so
    // that nothing of a message it closed just before stays in view.
    CentreDialog(*this, kLayoutGroup);
    PlaceDialogFrame(*this, frame, kLayoutGroup);
    if (parent) parent->flags |= kFormRedrawAll;
    PlaceLabel(*this, title, kLayoutGroup, kTitle, "Resting...", CTextLabel::kAlignCentre, 2, 0xffffff);
    PlaceLabel(*this, hourNumber, kLayoutGroup, kHour, "1",
               CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle, 2, 0x64c8c8);
    // The count starts at one: "1 hour", and "hours" from the second on.
    PlaceLabel(*this, hoursLabel, kLayoutGroup, kHours, HoursWord(1),
               CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle, 1, 0xc8c8c8);
    PlaceLabel(*this, wakeText, kLayoutGroup, kWake, "", CTextLabel::kAlignCentre, 1, 0xc8c8c8);
    PlacePictureButton(*this, closeButton, kLayoutGroup, kClose, kPictureClose,
                       static_cast<u16>(kPictureClose + 1), true);
    closeButton.Show(0);
    host_ = host;
    customer_ = customer;
    rained_ = false;
    counter_.Start(plat::TickCount());
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CRestDialog::Close() { RemoveAllWidgets(); }

u32 CRestDialog::OnCommand(u32 command) {
    if (command != kCloseCommand) return 0;
    PlayInterfaceSound(game, 1, 10);
    return parent ? parent->OnCommand(kCloseCommand) : 0;
}

u32 CRestDialog::OnTick(u32 tick) {
    if (counter_.Tick(plat::TickCount())) {
        hourNumber.SetText(std::to_string(counter_.GetHour()).c_str());
        hoursLabel.SetText(HoursWord(counter_.GetHour()));
        if (counter_.IsFinished()) Finish();
        flags |= kFormRedrawAll;
        Draw();
    }
    return CForm::OnTick(tick);
}

void CRestDialog::Finish() {
    std::string text;
    if (host_) {
        text = std::string("As you wake up, ") + (host_->GetName() ? host_->GetName() : "") +
               " serves delicious food and water.\r" +
               "You feel you're fully rested.\r(hp and sp are increased for a while).\r";
        if (customer_ && ApplyInnRest(*customer_)) text += "You're no longer poisoned.\r";
    } else {
        text = "You eat and drink as you wake up.\r";
        text += rained_
                    ? "Because it was raining while you slept, your hp and sp may not have recovered fully."
                    : "Your hp and sp have been restored.";
    }
    wakeText.SetText(text.c_str());
    closeButton.Show(1);
}
