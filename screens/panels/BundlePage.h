// The abilities page and the diseases page of the character pages, one form for both: the player's
// abilities or diseases in a list, and the chosen one's effects below it.
#pragma once

#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PictureWidgets.h"
#include "ui/TextBox.h"
#include "ui/TextLabel.h"

class CPlayer;
struct CRuleContext;

class CBundlePage : public CForm {
public:
    enum Kind { kAbilities, kDiseases };

    void Open(const CPlayer& player, const CRuleContext& rules, Kind kind);
    u32 OnCommand(u32 command) override;
    void Fill();
    void ShowSelected();
    // The list's element, which is also the command of a choice in it.
    u32 ListCommand() const { return kind_ == kAbilities ? 522 : 512; }

    CTextLabel title;
    CPicture listFrame, textFrame;
    CListBox list;
    CTextBox description;
    CBitmapButton pageUp, pageDown, lineUp, lineDown;

private:
    const CPlayer* player_ = nullptr;
    const CRuleContext* rules_ = nullptr;
    Kind kind_ = kAbilities;
};
