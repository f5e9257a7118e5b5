// What the two repair dialogs share: a list of items (command 24) with its page buttons (33, 34), an
// action button (25) and Cancel (26), which closes the dialog through its owner's OnCommand.
#pragma once

#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"

class CServiceListDialog : public CForm {
public:
    enum : u32 { kList = 24, kAction = 25, kCancel = 26, kPageUp = 33, kPageDown = 34 };

    u32 OnCommand(u32 command) override;
    void UpdateListButtons();

    CListBox list;
    CBitmapButton pageUp, pageDown, actionButton, cancelButton;

protected:
    // Places the list (with a right column of `columnWidth`), its page buttons and the action and
    // Cancel buttons from the layout group.
    void PlaceListParts(u16 group, i32 columnWidth, const char* action);
    virtual void OnAction() = 0;
    virtual void OnOtherCommand(u32 command) {}

private:
    CRecordHolder* pagePictures_[2][3] = {};
};

// Sets up a service dialog's list of items: font 1, rows of its line height, a right column.
void SetupServiceList(CListBox& list, i32 columnWidth, u32 textColour);
