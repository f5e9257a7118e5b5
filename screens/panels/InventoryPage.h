// The inventory page of the panel screen: the player's or the open container's items as a grid of
// stacks with a class filter, the paper doll, a description box that also carries the page's short
// messages, and take, drop and use. The lists and the moving of items are CInventoryLists'; using and
// equipping are the item-use rules'; the page shows them and asks the panel for the dialogs they open.
#pragma once

#include "core/Types.h"
#include "screens/panels/InventoryRules.h"
#include "ui/Buttons.h"
#include "ui/EquipmentSlots.h"
#include "ui/Form.h"
#include "ui/ItemList.h"
#include "ui/PictureWidgets.h"
#include "ui/TextBox.h"

class CPanelScreen;
class CItemType;

class CInventoryPage : public CForm {
public:
    static constexpr u16 kLayoutGroup = 33;
    enum : u32 {
        kList = 274,
        kTake = 306,
        kDrop = 307,
        kPaperDoll = 308,
        kUse = 309,
        kFilterAll = 310,  // .. 318
        kPageDown = 319,
        kPageUp = 320,
        kDetailOff = 321,
        kDetailOn = 323,
        kTextUp = 331,
        kTextDown = 332,
    };

    // Places the page's widgets for the current layout and fills the list from the panel's state.
    void Open(CPanelScreen& panel);
    u32 OnCommand(u32 command) override;
    // Brings the description back when a message has been shown for three seconds.
    void ExpireMessage();

    // Refills the list; keep holds the selection and the page.
    void Refresh(bool keep);
    void ShowDescription();
    // A short message in the description box; the description comes back after three seconds.
    void ShowMessage(const char* text);
    void ApplyDetailMode();
    void UpdateFilterButtons();
    void UpdateListButtons();
    void UpdateTextButtons();
    void UpdateUseButton();

    void Take();
    void Drop();
    void Use();
    void ToggleEquip();
    // The answer to "On left or right hand?".
    void WieldInHand(bool left);

    CInventoryLists lists;
    int lastTapIndex = -1;
    u32 lastTapTime = 0;
    u32 messageShown = 0;
    u32 messageUntil = 0;

    CPicture frames[3];
    CItemList list;
    CEquipmentSlots paperDoll;
    CTextBox description;
    CBitmapButton detailOn, detailOff, textUp, textDown, pageUp, pageDown;
    CBitmapButton takeButton, dropButton, useButton;
    CBitmapButton filters[kInventoryFilterCount];

private:
    void OnListTap();
    void OnPaperDollTap();
    void SetFilter(int filter);
    // What a take or a drop came to: the other list, or an item that changed hands.
    void ShowTransfer(const CInventoryOutcome& outcome);
    // Shows the list as the lists model stands.
    void ShowList();
    // After an item changed hands or places: message, sound, gold and load line.
    void AfterChange(const CStr& message, const char* sound);
    bool ShowsPlayerItems() const { return !lists.IsShowingContainer(); }
    u32 Now() const;

    CPanelScreen* panel_ = nullptr;
};
