// The smith's repair service: the player picks one of their worn weapons or armour pieces and pays to
// have it restored to its maximum condition at once. The price is the missing condition at the NPC's
// rate, after the trade bonus. A modal child of the talk or services screen, which closes it on its
// Cancel (26).
#pragma once

#include <vector>

#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"

class ITradeWorld;
struct CItemInstance;

class CSmithRepairDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 29;
    enum : u32 { kList = 24, kRepair = 25, kCancel = 26, kPageUp = 33, kPageDown = 34 };

    // `rate` is the NPC's price level in tenths, as the shop uses it.
    void Open(ITradeWorld* world, u32 rate);
    u32 OnCommand(u32 command) override;

    void CollectItems();
    void FillList(i32 select);
    void UpdateListButtons();
    void UpdateGoldLabel();
    void RepairSelected();
    // The price of an item after the trade bonus.
    u32 PriceOf(const CItemInstance& item) const;

    CPicture backgroundFrame, goldBack;
    CTextLabel title, prompt, goldLabel;
    CListBox list;
    CBitmapButton pageUp, pageDown, repairButton, cancelButton;
    u32 rate = 10;
    std::vector<CItemInstance*> items;  // borrowed from the player

private:
    void Page(i32 direction);

    ITradeWorld* world_ = nullptr;
    CRecordHolder* pagePictures_[2][3] = {};
};

// Sets up a service dialog's list of items: font 1, rows of its line height, a right column.
void SetupServiceList(CListBox& list, i32 columnWidth, u32 textColour);
