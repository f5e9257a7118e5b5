// The main menu (screen 9), the hub of the front end: the menu's artwork, the list of entries, the
// version label, the prompts with Yes and No, and the progress screen for starting or continuing a
// game. It offers the automatic save when no game runs, and leads to a new game, the load and save
// screen, the settings, the additional worlds, the credits and back into a running game.
#pragma once

#include "core/Types.h"
#include "ui/ButtonBar.h"
#include "ui/ListBox.h"
#include "ui/PictureView.h"
#include "ui/ProgressDialog.h"
#include "ui/Screen.h"
#include "ui/TextLabel.h"
#include "ui/TextView.h"

// The command values of the menu's entries.
enum : u32 {
    kMenuNewGame = 1,
    kMenuLoadGame = 2,
    kMenuSaveGame = 3,
    kMenuExit = 5,
    kMenuContinue = 6,
    kMenuSettings = 7,
    kMenuWorlds = 8,
    kMenuCredits = 9,
};

// The question a shown prompt asks; its answer comes back as the button bar's command.
enum : u32 {
    kPromptNone = 0,
    kPromptLoadAutoSave = 1,
    kPromptNewGame = 2,
    kPromptNotice = 3,  // a notice with OK only: any answer just closes it
    kPromptExit = 4,
};

// The record of the fourth menu picture in a layout mode: 4036 in the small layouts, 4081 in the large
// ones, 3083 in the others.
u16 MainMenuFourthPicture(u32 layoutMode);

class CScreenHost;

class CMainMenuScreen : public CScreen {
public:
    static constexpr u16 kLayoutGroup = 3;
    static constexpr u32 kListId = 12;
    static constexpr const char* kVersion = "1.04";
    // The page sequences of a new game's intro and of the credits.
    static constexpr const char* kIntroSequence = "bres_intro";
    static constexpr const char* kCreditsSequence = "bmus_credits";

    explicit CMainMenuScreen(CScreenHost& shell) : shell_(shell) {}

    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    void Resume() override;
    u32 OnKey(u32 key) override;
    u32 OnCommand(u32 command) override;

    void BuildLayout();
    void ShowPrompt(const char* text);
    // Whether a game runs that can be continued or saved: the game view is in a game and the player
    // lives.
    bool GameInProgress() const;

    CPictureView pictures[4];
    CListBox list;
    CTextLabel version;
    CTextView promptView;
    CButtonBar promptBar;
    CProgressDialog progress;
    u32 pendingPrompt = kPromptNone;

private:
    void LoadPictures();
    void FillList();
    void ShowMessage(const char* text, u32 buttons);
    void ClosePrompt();
    void OpenProgress();
    u32 AnswerPrompt(u32 prompt, bool yes);
    u32 ActOn(u32 value);
    u32 StartNewGame();
    u32 LoadAutoSave();
    void Exit();
    u32 Push(u32 screen, u32 a);
    void Redraw();

    CScreenHost& shell_;
};
