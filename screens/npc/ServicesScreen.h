// The services menu (screen 3): the menu an NPC with a talk profile shows when addressed. Its portrait,
// name and welcome text, one framed button per service the NPC offers ("Talk" first, "Leave" apart)
// and the inn: renting a room for the night, then the rest dialog.
#pragma once

#include <vector>

#include "core/Types.h"
#include "screens/npc/BetDialog.h"
#include "screens/npc/NpcEnchanting.h"
#include "screens/npc/NpcServiceRules.h"
#include "screens/npc/RestDialog.h"
#include "screens/npc/SmithRepairDialog.h"
#include "screens/npc/TrainingDialog.h"
#include "ui/ButtonBar.h"
#include "ui/Buttons.h"
#include "ui/PictureWidgets.h"
#include "ui/Panel.h"
#include "ui/Screen.h"
#include "ui/TextLabel.h"
#include "ui/TextView.h"

class CNpc;
class CScreenHost;
struct CNpcProfile;

// A menu button: its caption inside a thin frame, dark grey, white while pressed.
class CMenuButton : public CBitmapButton {
public:
    void Draw() override;
};

class CServicesScreen : public CScreen {
public:
    static constexpr u16 kLayoutGroup = 30;

    enum State : u32 {
        kMenu = 1,
        kRepairOpen = 2,
        kEnchantOpen = 3,
        kTrainingOpen = 4,
        kInnMessage = 5,
        kResting = 6,
        kBetOpen = 8,
    };

    explicit CServicesScreen(CScreenHost& host) : host_(host) {}

    void Attach(CWidgetHost* game) override;
    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    void Leave() override;
    u32 OnCommand(u32 command) override;

    void ShowMessage(const char* text, u32 buttons);
    // The inn's offer ("Sleep") and the rent taken on "Yes".
    void OfferRoom();
    void RentRoom();

    const CNpc* GetNpc() const { return npc_; }
    const CNpcProfile* GetProfile() const { return profile_; }
    // The NPC's price level (its price variable when it holds more than 0).
    u32 GetPriceLevel() const;

    CPicture columnFrame, menuFrame, headerFrame, welcomeFrame;
    CPanel portrait;
    CTextLabel nameLabel;
    CTextLabel welcomeLabel;
    CMenuButton menuButtons[kServicePlaces];
    CMenuButton leaveButton;
    CTextView messageView;
    CButtonBar messageBar;
    CRestDialog restDialog;
    CSmithRepairDialog repairDialog;
    CTrainingDialog trainingDialog;
    CNpcEnchanting enchanting;
    CBetDialog betDialog;

    std::vector<ServiceButton> buttons;  // the services placed before "Leave"
    u32 doorFlag = 0;
    u32 sleptFlag = 0;
    CStr musicName;

private:
    void DropModal();
    // Opens a member dialog as the modal child in a state of its own.
    void OpenDialog(CForm& dialog, u32 state);

    CScreenHost& host_;
    CNpc* npc_ = nullptr;
    bool roomOffered_ = false;  // the inn message is the Yes/No offer, not a refusal
    const CNpcProfile* profile_ = nullptr;
};
