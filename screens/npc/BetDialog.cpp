#include "screens/npc/BetDialog.h"

#include "core/Str.h"
#include "screens/npc/NpcServiceRules.h"
#include "ui/Screen.h"
#include "ui/ScreenIds.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/LayoutMath.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr u32 kTitleColour = 0xFFFFFF;
constexpr u32 kTitleShade = 0x585858;
constexpr u32 kNormalFont = 1, kLargeFont = 2;
// The money sign of the game's fonts.
constexpr char kMoneySign = '\x09';

}  // namespace

void CBetDialog::Place(CWidget& widget, u32 element) {
    widget.Attach(this);
    widget.SetLayoutRect(FindLayoutRect(game, kLayoutGroup, element));
    if ((widget.state & kWidgetEnabled) != 0) AddWidget(&widget);
}

void CBetDialog::PlaceButton(CBitmapButton& button, u32 element, CRecordHolder* (&pictures)[3], u16 first) {
    Place(button, element);
    pictures[0] = game != nullptr ? game->GetInterfacePicture(first) : nullptr;
    pictures[1] = game != nullptr ? game->GetInterfacePicture(static_cast<u16>(first + 1)) : nullptr;
    pictures[2] = nullptr;
    button.SetPictures(pictures, element, 0);
}

void CBetDialog::Open(i32 maximumBet) {
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    i32 screenWidth = 0, screenHeight = 0;
    GameFrameBufferSize(game, screenWidth, screenHeight);
    x = static_cast<u32>((screenWidth - static_cast<i32>(width)) / 2);
    y = static_cast<u32>((screenHeight - static_cast<i32>(height)) / 2);
    const bool small = IsSmallLayoutMode(game != nullptr ? game->GetLayoutMode() : 0);
    background = game != nullptr ? game->GetInterfacePicture(kPictureDialogBackground) : nullptr;
    drawBackground = 1;

    Place(frame, 19);
    frame.frameSet = InterfacePictureSet(game, small ? kPictureCompactFrameSet : kPictureLargeFrameSet, 9);
    frame.pictureMode = 0;
    frame.picture = nullptr;
    frame.transparent = 1;

    Place(title, 16);
    title.font = small ? kLargeFont : kNormalFont;
    title.textColour = kTitleColour;
    title.backgroundColour = kTitleShade;
    title.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
    title.outline = 1;
    title.SetText("Bet?");

    const u32 betButtons[4] = {kRaise, kLower, kMaximum, kMinimum};
    CBitmapButton* buttons[4] = {&raiseButton, &lowerButton, &maximumButton, &minimumButton};
    for (int i = 0; i < 4; ++i)
        PlaceButton(*buttons[i], betButtons[i], buttonPictures[i],
                    static_cast<u16>(kPictureBetButtons + 2 * i));

    Place(betLabel, 138);
    betLabel.font = title.font;
    betLabel.textColour = kTitleColour;
    betLabel.backgroundColour = kTitleShade;
    betLabel.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;

    PlaceButton(okButton, kOk, buttonPictures[4], kPictureOk);
    PlaceButton(cancelButton, kCancel, buttonPictures[5], kPictureCancel);

    model.Open(maximumBet);
    Refresh();
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CBetDialog::Refresh() {
    raiseButton.EnablePen(model.CanRaise() ? 1 : 0);
    maximumButton.EnablePen(model.CanRaise() ? 1 : 0);
    lowerButton.EnablePen(model.CanLower() ? 1 : 0);
    minimumButton.EnablePen(model.CanLower() ? 1 : 0);
    for (CBitmapButton* button : {&raiseButton, &lowerButton, &maximumButton, &minimumButton})
        button->state |= kWidgetRedraw;

    CStr text;
    text.Format("%u%c", static_cast<u32>(model.Bet()), kMoneySign);
    ToNumberGlyphs(text);
    betLabel.SetText(text.GetText());
}

u32 CBetDialog::OnCommand(u32 command) {
    switch (command) {
    case kOk:
    case kCancel:
        PlayInterfaceSound(game, 1, 10);
        return parent != nullptr ? parent->OnCommand(command) : 0;
    case kRaise:
    case kLower:
    case kMaximum:
    case kMinimum:
        PlayInterfaceSound(game, 0, 10);
        if (command == kRaise) model.Raise();
        if (command == kLower) model.Lower();
        if (command == kMaximum) model.ToMaximum();
        if (command == kMinimum) model.ToMinimum();
        Refresh();
        flags |= kFormRedrawAll;
        return 0;
    default: return 0;
    }
}

u32 StartCardGame(CScreen& owner, const INpcCustomer* customer, i32 bet,
                  const std::function<void(const char*)>& refuse) {
    if (customer == nullptr || bet <= 0 || customer->GetGold() < static_cast<u32>(bet)) {
        refuse("You don't have enough money.");
        return 0;
    }
    owner.entryA = static_cast<u32>(bet);
    owner.entryC = 0;
    owner.keepOnStack = 1;
    return kScreenCardGame;
}
