// Character creation (screen 10): the new character's name (typed in the text entry dialog), gender,
// race (race dialog), face (arrows through the selectable faces) and six primary skills, all at once
// from a pre-defined class (class dialog) or one slot at a time (skill dialog). OK sets the new game
// up from these choices and enters the game view; Cancel goes back to the main menu.
#pragma once

#include <vector>

#include "core/Str.h"
#include "core/Types.h"
#include "screens/frontend/CreationDialogs.h"
#include "screens/frontend/TextEntryDialog.h"
#include "ui/Buttons.h"
#include "ui/Panel.h"
#include "ui/PictureWidgets.h"
#include "ui/ProgressDialog.h"
#include "ui/Screen.h"
#include "ui/TextLabel.h"
#include "ui/TextLink.h"
#include "world/Player.h"

class CScreenHost;

class CCreatePlayerScreen : public CScreen {
public:
    static constexpr u16 kLayoutGroup = 16;
    enum : u32 { kNoDialog = 0, kTextDialog = 1, kRaceDialog = 2, kClassDialog = 3, kSkillDialog = 4 };
    enum : u32 {
        kRename = 141,
        kChangeRace = 144,
        kFemale = 146,
        kMale = 147,
        kSelectClass = 151,
        kPreviousFace = 153,
        kNextFace = 154,
        kFirstSkillSlot = 57,
    };

    explicit CCreatePlayerScreen(CScreenHost& host);

    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    u32 OnCommand(u32 command) override;

    void ApplyClass(u32 classId);
    void FixSkillsForRace();
    void ApplySkillChoice();
    void UpdateSkillLinks();

    // The choices, read by the new-game set-up.
    CStr name;
    CStr raceName;
    u32 gender = 1;  // 0 female, 1 male
    u32 race = 2;
    u32 skills[6] = {};
    CStr faceName;
    i32 faceIndex = -1;
    std::vector<const char*> faceNames;
    u32 skillSlot = 0;
    u32 mode = kNoDialog;

    CProgressDialog progress;
    CTextEntryDialog textDialog;
    CRaceDialog raceDialog;
    CClassDialog classDialog;
    CSkillDialog skillDialog;

    CPicture frames[6];
    CTextLabel title, nameCaption, nameLabel, genderCaption, raceCaption, raceLabel, faceCaption,
        skillsCaption, classHint, skillsHint;
    CPicture nameBox;
    CBitmapButton renameButton, changeRaceButton, selectClassButton, previousFace, nextFace, okButton,
        cancelButton;
    CPanel facePanel;
    CTextLink femaleLink, maleLink;
    CTextLink skillLinks[6];

private:
    void BuildPage();
    void ShowFace();
    void StepFace(bool next);
    void ShowGender();
    u32 CloseDialog(u32 command);
    u32 StartGame();
    // The name entry over the page, holding `text` (Rename, and OK with a blank name).
    void OpenNameEntry(const char* text);
    // A name of nothing but spaces names no one.
    static bool IsBlankName(const char* text);
    void Redraw();

    CScreenHost& host_;
};
