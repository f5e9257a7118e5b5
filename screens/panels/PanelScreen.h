// The in-game panel screen (screen 4): four page sets behind a row of tabs -- the inventory, the
// character pages, the quests and the spells -- with the gold and load line, a main-menu and a close
// button. Each page is a form of its own that the screen hosts inside its frame: the frame's widgets
// take input first, the page gets what they leave. While a page has opened one of the screen's dialogs
// (book reader, alchemy, repair, face, name, the hand question) the dialog is the screen's modal child
// and the page mode says which one it is.
//
// The game view opens the panel through IPanelEntry, then switches to screen 4 keeping itself on the
// stack; the entry words are then a = 1 for the player's items, 0 for a container looked into.
#pragma once

#include <memory>

#include "core/Types.h"
#include "screens/panels/BundlePage.h"
#include "screens/panels/CharacterPoints.h"
#include "screens/panels/CharacterSheetPage.h"
#include "screens/panels/EffectsPage.h"
#include "screens/panels/InventoryPage.h"
#include "screens/panels/JournalPages.h"
#include "screens/panels/SkillsPage.h"
#include "ui/BookDialog.h"
#include "ui/ButtonBar.h"
#include "ui/Buttons.h"
#include "ui/Panel.h"
#include "ui/PictureWidgets.h"
#include "ui/Screen.h"
#include "ui/TextLabel.h"
#include "ui/TextLink.h"
#include "ui/TextView.h"
#include "world/PanelEntry.h"

class CAlchemyDialog;
class CFaceDialog;
class CItemBag;
class CPlayerCrafts;
class CRepairDialog;
class CScreenHost;
class CStream;
class CTextEntryDialog;
struct CRuleContext;

// What the panel keeps in a saved game.
struct CPanelState {
    u32 page = 0;
    u32 savedPage = 0;
    u32 characterPage = 0;
    u32 detailMode = 1;
    u32 itemFilter = 0;
    u32 effectsFilter = 0;
    u32 questFilter = 0;
    u32 spellPage = 1;
};
// The panel's section of the saved game: a marker 'X', then the eight words, each 4-aligned. A section
// without the marker is read from its first byte.
void SerializePanelState(CStream& stream, CPanelState& state);

// The warning posted to the game view when the panel closes with too much carried (weights and the
// capacity in hundredths); null when the load is within the capacity.
const char* CarryWarning(i32 weight, i32 capacity);

class CPanelScreen : public CScreen, public IPanelEntry {
public:
    enum Page : u32 {
        kInventory = 0,
        kCharacter = 1,
        kQuests = 2,
        kSpells = 3,
        kFaceDialog = 4,
        kNameEntry = 5,
        kReader = 6,
        kAlchemy = 7,
        kRepair = 8,
        kHandQuestion = 9,
    };
    enum : u32 {
        kTabInventory = 325,
        kTabCharacter = 326,
        kTabQuests = 327,
        kTabSpells = 328,
        kMainMenu = 329,
        kClose = 330,
        kRename = 355,
        kChangeFace = 356,
        kCharacterMain = 360,
        kCharacterSkills = 361,
        kCharacterEffects = 362,
        kCharacterAbilities = 363,
        kCharacterDiseases = 364,
    };

    explicit CPanelScreen(CScreenHost& host);
    ~CPanelScreen() override;

    // IPanelEntry
    void PrepareInventory(CItemBag* cellBag, u32 target) override;
    void PrepareContainer(CItemBag* container, u32 openingEvent, u32 target) override;

    void Attach(CWidgetHost* game) override;
    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    void Resume() override;
    u32 OnCommand(u32 command) override;
    u32 OnTick(u32 tick) override;
    u32 OnKey(u32 key) override;
    u32 OnPen(i32 x, i32 y, u32 down, u32 moving) override;
    void Draw() override;

    void Serialize(CStream& stream) { SerializePanelState(stream, state); }
    // Commits spent points, builds the frame and the current page, and marks the current tab.
    void RebuildPage();
    void UpdateGoldAndLoad();
    // The page the frame's widgets leave input to; null in a page mode without one.
    CForm* HostedPage() const { return hosted_; }

    // What the pages use of the screen.
    CPlayer& Player();
    const CRuleContext& Rules() const;
    CScreenHost& Host() { return host_; }
    bool InDanger() const;
    void PlayNamedSound(const char* name);
    // Opens the book reader on an item type (1 book, 2 spellbook, 3 letter or map) and gives it the
    // notice of what it taught, if any.
    void OpenReader(const CItemType& type, u32 kind, const char* notice);
    void AskHand();
    void OpenAlchemy(const CItemInstance* mortar);
    void OpenRepair(CItemInstance* hammer);

    CPanelState state;
    u32 showContainer = 0;
    CItemBag* container = nullptr;
    u32 containerFromEvent = 0;
    u32 containerTarget = 0;

    // The frame of every page.
    CPicture pageBackground, framePicture, sidePicture, edgePicture;
    CTextLabel goldLine;
    CBitmapButton tabs[4];
    CBitmapButton menuButton, closeButton;
    // The character pages' frame.
    CPicture faceFrame, areaFrame, innerFrame;
    CPanel face;
    CTextLabel nameLabel;
    CBitmapButton renameButton, faceButton;
    CTextLink characterTabs[5];  // by sub-page

    // The pages.
    CInventoryPage inventory;
    std::unique_ptr<CCharacterPoints> points;
    CCharacterSheetPage sheet;
    CSkillsPage skills;
    CBundlePage bundle;
    CEffectsPage effects;
    CQuestPage quests;
    CSpellsPage spells;

    // The dialogs.
    CBookDialog reader;
    CTextView handText;
    CButtonBar handBar;
    std::unique_ptr<CFaceDialog> faceDialog;
    std::unique_ptr<CTextEntryDialog> nameDialog;
    std::unique_ptr<CAlchemyDialog> alchemy;
    std::unique_ptr<CRepairDialog> repair;
    std::unique_ptr<CPlayerCrafts> crafts;

private:
    void BuildFrame();
    void SetupCharacterFrame();
    void BuildPage();
    void Host(CForm& page);
    u32 OnCharacterCommand(u32 command);
    void OpenFaceDialog();
    void OpenNameEntry();
    void CloseDialog(u32 backTo);
    u32 Close();
    u32 AfterCommand(u32 command);

    // Pictures bigger than their elements drawn into them (after every page change of the buttons).
    void FitButtons();
    void AfterPageInput();

    CScreenHost& host_;
    CForm* hosted_ = nullptr;
    u16 group_ = 33;
    bool prepared_ = false;
    CItemBag* pendingContainer_ = nullptr;
    u32 pendingEvent_ = 0;
    u32 pendingTarget_ = 0;
};
