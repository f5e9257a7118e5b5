// The night's sleep: the title "Resting...", an hour count from 1 to 8 at one hour per second and,
// at hour 8, the wake-up text and the close button. The owner advances the clock before the count;
// at an inn the dialog gives the inn's benefits itself when the count ends, in the open the owner has
// restored the player and the dialog only reports it.
#pragma once

#include "core/Types.h"
#include "screens/npc/NpcServiceRules.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"

class CNpc;

class CRestDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 1;
    static constexpr u32 kCloseCommand = 5;

    // host: the innkeeper, or null in the open. customer: whom the inn's benefits go to (may be null).
    void Open(const CNpc* host, INpcCustomer* customer);
    void Close();
    // Set by the owner after Open when it rained while the player slept.
    void SetRained(bool rained) { rained_ = rained; }

    u32 OnCommand(u32 command) override;
    u32 OnTick(u32 tick) override;

    u32 GetHour() const { return counter_.GetHour(); }
    const char* GetWakeText() const { return wakeText.text.GetText(); }

    CPicture frame;
    CTextLabel title;
    CTextLabel hourNumber;
    CTextLabel hoursLabel;
    CTextLabel wakeText;
    CBitmapButton closeButton;

private:
    void Finish();

    const CNpc* host_ = nullptr;
    INpcCustomer* customer_ = nullptr;
    bool rained_ = false;
    CRestCounter counter_;
};
