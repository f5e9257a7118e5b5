// The shop (screen 5): buying from and selling to a merchant one item at a time. It shows the
// merchant's name and portrait, one grid that holds either the merchant's stock or what the player may
// sell, a description box that also carries the shop's messages, the gold and the pack, and Buy, Sell
// and Leave; Yes and No stand only while the merchant offers a capped price. The trading itself is
// CShopTrade's; the screen shows it.
//
// Entry words: 0 unused, 1 the merchant's NPC (as the trade world names NPCs), 2 the creature that
// stands for it or 0, 3 the current section.
#pragma once

#include "core/Types.h"
#include "screens/npc/ShopItemGrid.h"
#include "screens/npc/ShopTrade.h"
#include "ui/Buttons.h"
#include "ui/Panel.h"
#include "ui/PictureWidgets.h"
#include "ui/Screen.h"
#include "ui/TextBox.h"
#include "ui/TextLabel.h"

class CScreenHost;
class ITradeWorld;

class CShopScreen : public CScreen {
public:
    static constexpr u16 kLayoutGroup = 42;
    enum : u32 {
        kItemList = 274,
        kPageDown = 319,
        kPageUp = 320,
        kLineUp = 331,
        kLineDown = 332,
        kBuy = 529,
        kSell = 530,
        kLeave = 531,
        kYes = 532,
        kNo = 533,
    };

    explicit CShopScreen(CScreenHost& host) : host_(host) {}

    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    u32 OnCommand(u32 command) override;
    u32 OnTick(u32 tick) override;

    void Layout();
    void FillList();
    void ShowDescription();
    void UpdateGoldLabel();
    void UpdateListButtons();
    void UpdateTextButtons();
    void Buy();
    void Sell(bool confirmed);
    void ShowMessage(const char* text, u32 ms);
    void AskDeal(const char* text);

    CShopTrade trade;
    const CNpc* merchant = nullptr;
    CItemBag* merchantBag = nullptr;
    u32 asking = 0;
    u32 messageActive = 0;
    u32 messageStart = 0;
    u32 messageMs = 0;

    CPicture decorations[5];
    CPanel portrait;
    CTextLabel nameLabel;
    CShopItemGrid grid;
    CTextBox description;
    CBitmapButton lineUp, lineDown, pageUp, pageDown, buyButton, sellButton, leaveButton;
    CTextButton yesButton, noButton;
    CTextLabel goldLabel;
    CPicture goldBack;

private:
    // Applies what a buy or a sell came to: sounds, message, labels.
    void ShowOutcome(const CTradeOutcome& outcome);
    void RedrawAll();
    u32 Now() const;

    CScreenHost& host_;
    ITradeWorld* world_ = nullptr;
    CRecordHolder* linePictures_[2][3] = {};
    CRecordHolder* pagePictures_[2][3] = {};
};
