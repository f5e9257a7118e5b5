// The choice of the item to enchant or the wand to recharge, at an enchanter or through a spell. An
// enchantable item goes on to the enchanting screen, a wand at an enchanter to the recharge dialog;
// a wand chosen through a spell is recharged at once, free of charge.
#pragma once

#include <vector>

#include "core/Types.h"
#include "screens/npc/CraftHost.h"
#include "screens/npc/EnchantDialog.h"
#include "screens/npc/RechargeDialog.h"
#include "ui/ButtonBar.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PictureWidgets.h"
#include "ui/TextBox.h"
#include "ui/TextLabel.h"
#include "ui/TextView.h"

class CNpc;
class CRecordHolder;
struct CItemInstance;

class CEnchantSelectDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 25;
    enum : u32 { kUse = 25, kList = 274, kPageUp = 275, kPageDown = 276, kClose = 279 };
    enum State : u32 { kChoosing = 0, kFollowUp = 1, kMessage = 2, kSpellRecharged = 3 };

    void SetHost(ICraftHost* craftHost, IEnchantEntryEditor* entries) {
        host = craftHost;
        enchanting.SetHost(craftHost, entries);
        recharge.SetHost(craftHost);
    }
    // enchanter null: a spell of `level` enchants, or recharges when `recharge` is set.
    void Open(const CNpc* enchanter, int level, bool recharge);
    u32 OnCommand(u32 command) override;

    int Limit() const { return limit; }
    State GetState() const { return state; }
    // The item of a list row, checked against the player's items as they are now.
    CItemInstance* ItemOfRow(int row) const;

    CEnchantDialog enchanting;
    CRechargeDialog recharge;
    CPicture frame, picture;
    CTextLabel title, itemsLabel, limitText;
    CListBox items;
    CBitmapButton pageUp, pageDown, useButton, closeButton;
    CTextBox details;
    CTextView messageText;
    CButtonBar messageBar;

private:
    void Place(CWidget& widget, u32 element);
    void BuildList();
    void UpdatePageButtons();
    void ShowDetails();
    void UseSelected();
    void ShowMessage(const char* text, State next);

    ICraftHost* host = nullptr;
    const CNpc* enchanter = nullptr;
    int limit = 0;
    int level = 0;
    bool rechargeMode = false;
    const CItemInstance* shownLast = nullptr;
    State state = kChoosing;
    std::vector<CItemInstance*> carried;
    CRecordHolder* upPictures[3] = {};
    CRecordHolder* downPictures[3] = {};
    CRecordHolder* usePictures[3] = {};
    CRecordHolder* closePictures[3] = {};
};
