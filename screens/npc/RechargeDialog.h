// An enchanter refills a wand for gold: the wand and its charges, the price and the gold; the
// recharge fills it to its maximum in one step. It tells the item selection 25 after a recharge
// attempt and 26 when closed.
#pragma once

#include "core/Types.h"
#include "screens/npc/CraftHost.h"
#include "ui/ButtonBar.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/PictureWidgets.h"
#include "ui/TextBox.h"
#include "ui/TextLabel.h"
#include "ui/TextView.h"

class CNpc;
class CRecordHolder;
struct CItemInstance;

class CRechargeDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 27;
    enum : u32 { kRecharge = 25, kClose = 26 };
    enum State : u32 { kShown = 0, kNoGold = 1, kDone = 2 };

    void SetHost(ICraftHost* craftHost) { host = craftHost; }
    void Open(const CNpc* enchanter, CItemInstance* wand);
    u32 OnCommand(u32 command) override;

    i32 Price() const { return price; }
    State GetState() const { return state; }

    CPicture frame;
    CTextLabel title, priceText;
    CTextBox wandText;
    CBitmapButton rechargeButton, closeButton;
    CTextView messageText;
    CButtonBar messageBar;

private:
    void Place(CWidget& widget, u32 element);
    void ShowMessage(const char* text, State next);

    ICraftHost* host = nullptr;
    State state = kShown;
    i32 price = 0;
    const CNpc* enchanter = nullptr;
    CItemInstance* wand = nullptr;
    CRecordHolder* rechargePictures[3] = {};
    CRecordHolder* closePictures[3] = {};
};
