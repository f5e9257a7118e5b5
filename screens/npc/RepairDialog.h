// Repairing with a hammer from the inventory: the player picks a hammer (the one used is chosen
// first) and a worn weapon or armour piece, and each press of Repair is one attempt: the hammer
// wears, and the item gains condition when the Repair skill's roll succeeds. Hammers below a tenth of
// their condition are not offered; repaired items leave the list. A modal child of the panel screen,
// which closes it on its Cancel (26).
#pragma once

#include <vector>

#include "core/Types.h"
#include "screens/npc/ServiceListDialog.h"
#include "ui/Panel.h"
#include "ui/PictureWidgets.h"
#include "ui/TextBox.h"
#include "ui/TextLabel.h"
#include "screens/npc/TradeRules.h"

class ITradeWorld;
struct CItemInstance;

class CRepairDialog : public CServiceListDialog {
public:
    static constexpr u16 kLayoutGroup = 5;
    enum : u32 { kRepair = kAction, kPreviousHammer = 29, kNextHammer = 30 };

    // `hammer` is the hammer the player used; `random` draws the wear and the rolls.
    void Open(ITradeWorld* world, CItemInstance* hammer, RandomDraw random);

    void CollectEntries();
    void ShowHammer();
    void FillItemList();
    void TryRepair();

    CPicture backgroundFrame;
    CTextLabel title, hammerPrompt, itemPrompt;
    CPanel hammerSlot;
    CBitmapButton previousHammer, nextHammer;
    CTextBox hammerText;

    int repairSkill = 0;
    i32 hammerIndex = -1;
    std::vector<CItemInstance*> hammers;  // borrowed from the player
    std::vector<CItemInstance*> items;
    CRepairAttempt lastAttempt;

protected:
    void OnAction() override { TryRepair(); }
    void OnOtherCommand(u32 command) override;

private:
    void UpdateItemRow(i32 row);

    ITradeWorld* world_ = nullptr;
    RandomDraw random_;
    CRecordHolder* arrowPictures_[2][3] = {};
};
