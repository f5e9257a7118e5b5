// The dialog of the mark and recall spells, over the game view: in mark mode the player stores where
// they stand in one of their mark slots, in recall mode they travel back to a stored place. The
// dialog lists the slots the player holds; OK acts on the selected slot and both buttons hand 232 to
// the owner, which takes the dialog down.
#pragma once

#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"

class CRecordHolder;
class IGameViewDialogHost;

class CMarkRecallDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 22;
    enum : u32 { kOk = 231, kCancel = 232, kSlots = 233, kPageUp = 234, kPageDown = 235 };
    enum : u32 { kRecallMode = 0, kMarkMode = 1 };

    void SetHost(IGameViewDialogHost* dialogHost) { host = dialogHost; }
    // Builds the dialog in the middle of the game view's 3D view. In mark mode the player's slots are
    // first grown to the number the player may have.
    void Open(u32 mode);
    // Lists the player's slots; keeps the selection when asked, else selects the first.
    void FillList(bool keepSelection);

    u32 OnCommand(u32 command) override;

    u32 markMode = kRecallMode;
    CPicture frame;
    CTextLabel title;
    CListBox slots;
    CBitmapButton pageUp, pageDown, okButton, cancelButton;

private:
    void MarkSelected();
    void RecallSelected();
    void UpdatePageButtons();

    IGameViewDialogHost* host = nullptr;
    CRecordHolder* upPictures[3] = {};
    CRecordHolder* downPictures[3] = {};
    CRecordHolder* okPictures[3] = {};
    CRecordHolder* cancelPictures[3] = {};
};
