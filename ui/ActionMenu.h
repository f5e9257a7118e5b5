// The choice box "What do you want?" that the game view shows when a script asks the player to pick
// one entry of a list. It frames the caller's filled list with a title, "Ok" and "Cancel" and, for
// more than eight entries, two page buttons, and hands back the hidden key text of the chosen row.
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/TextLabel.h"

class CListBox;
class CRecordHolder;

class CActionMenu : public CForm {
public:
    static constexpr u32 kOk = 1, kCancel = 2, kPageUp = 256, kPageDown = 257;

    CActionMenu() = default;

    // The list must be filled and set up by the caller, and the menu attached to the game.
    void Open(CListBox* list);

    void Draw() override;
    // A non-zero result ends the menu: 1 for "Ok" with a selection (the answer holds its key text),
    // else the command itself with an empty answer. Paging answers 0.
    u32 OnCommand(u32 command) override;
    u32 OnTick(u32 tick) override { return 0; }

    CStr answer;
    CListBox* list = nullptr;  // the caller's; not owned
    u32 paging = 0;
    CTextLabel title;
    CTextButton okButton;
    CTextButton cancelButton;
    CBitmapButton pageUpButton;
    CBitmapButton pageDownButton;

private:
    CRecordHolder* pageUpPictures[3] = {};
    CRecordHolder* pageDownPictures[3] = {};
};
