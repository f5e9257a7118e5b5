// The smith's repair service: the player picks one of their worn weapons or armour pieces and pays to
// have it restored to its maximum condition at once. The price is the missing condition at the NPC's
// rate, after the trade bonus. A modal child of the talk or services screen, which closes it on its
// Cancel (26).
#pragma once

#include <vector>

#include "core/Types.h"
#include "screens/npc/ServiceListDialog.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"

class ITradeWorld;
struct CItemInstance;

class CSmithRepairDialog : public CServiceListDialog {
public:
    static constexpr u16 kLayoutGroup = 29;
    enum : u32 { kRepair = kAction };

    // `rate` is the NPC's price level in tenths, as the shop uses it.
    void Open(ITradeWorld* world, u32 rate);

    void CollectItems();
    void FillList(i32 select);
    void UpdateGoldLabel();
    void RepairSelected();
    // The price of an item after the trade bonus.
    u32 PriceOf(const CItemInstance& item) const;

    CPicture backgroundFrame, goldBack;
    CTextLabel title, prompt, goldLabel;
    u32 rate = 10;
    std::vector<CItemInstance*> items;  // borrowed from the player

protected:
    void OnAction() override { RepairSelected(); }

private:
    ITradeWorld* world_ = nullptr;
};
