// Skill training: a trainer NPC teaches one skill, one point at a time for gold, up to a level of its
// own. The dialog shows the player's base value of the skill, the price of the next point or why
// there is none, and the gold; Train is shown only while a point can be bought. A modal child of the
// talk or services screen, which closes it on its Cancel (18).
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"

class CNpc;
class ITradeWorld;

class CTrainingDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 4;
    enum : u32 { kTrain = 17, kCancel = 18 };

    void Open(ITradeWorld* world, const CNpc& trainer);
    u32 OnCommand(u32 command) override;

    void Refresh();
    void Train();

    CPicture backgroundFrame;
    CTextLabel title, levelLabel, messageLabel, goldLabel;
    CBitmapButton trainButton, cancelButton;

    const CNpc* trainer = nullptr;
    u32 skill = 0;
    CStr skillName;
    u32 maxLevel = 0;
    u32 price = 0;

private:
    ITradeWorld* world_ = nullptr;
};
