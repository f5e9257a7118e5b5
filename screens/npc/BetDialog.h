// The "Bet?" dialog: the player sets the bet of a card duel against an NPC in steps up to the NPC's
// maximum, then confirms or cancels. The talk and services screens hold one each and show it as their
// modal child; Ok and Cancel go on to the owning screen, which starts the duel or drops it.
#pragma once

#include <functional>

#include "core/Types.h"
#include "screens/npc/BetRules.h"
#include "ui/Boxes.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/TextLabel.h"

class CRecordHolder;
class CScreen;
class INpcCustomer;

class CBetDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 15;
    static constexpr u32 kOk = 25, kCancel = 26;
    static constexpr u32 kRaise = 134, kLower = 135, kMaximum = 136, kMinimum = 137;

    CBetDialog() = default;

    // Lays the dialog out centred on the screen and opens the bet at one step of the NPC's maximum
    // bet (the NPC record's field, which the owning screen passes).
    void Open(i32 maximumBet);

    // Ok and Cancel are passed on to the owning screen and its answer returned; the four bet buttons
    // change the bet. Ok does nothing while there is nothing to bet.
    u32 OnCommand(u32 command) override;
    u32 OnTick(u32 tick) override { return 0; }

    i32 Bet() const { return model.Bet(); }

    CBetModel model;
    CFramedBox frame;
    CTextLabel title;
    CBitmapButton raiseButton;
    CBitmapButton lowerButton;
    CBitmapButton maximumButton;
    CBitmapButton minimumButton;
    CTextLabel betLabel;
    CBitmapButton okButton;
    CBitmapButton cancelButton;

private:
    void Place(CWidget& widget, u32 element);
    void PlaceButton(CBitmapButton& button, u32 element, CRecordHolder* (&pictures)[3], u16 first);
    void Refresh();

    CRecordHolder* buttonPictures[6][3] = {};
};

// The owning screen's answer to the bet's Ok. When the player's gold covers the bet, the screen's entry
// words become (the bet, the NPC it was entered with, 0), it stays underneath, and the answer is the
// card game's screen id; otherwise `refuse` shows "You don't have enough money." and the answer is 0.
u32 StartCardGame(CScreen& owner, const INpcCustomer* customer, i32 bet,
                  const std::function<void(const char*)>& refuse);
