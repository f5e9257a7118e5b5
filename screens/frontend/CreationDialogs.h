// The dialogs of character creation: the race (list, picture, description and the race's ability),
// the pre-defined class (list and its six primary skills) and the skill of one slot (all twenty
// skills as links with a description); and the face dialog that steps through the selectable faces.
// Each is a modal child form whose OK (25) and Cancel (26) go to its parent after the confirm sound.
#pragma once

#include <memory>
#include <vector>

#include "core/Types.h"
#include "data/CharacterTables.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/Panel.h"
#include "ui/PictureView.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"
#include "ui/TextLink.h"

#include "core/RecordHolder.h"
class CScreenHost;

// The first of the race pictures in the interface database (race n is this plus n).
constexpr u16 kRacePictureBase = 3069;

class CRaceDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 18;
    static constexpr u32 kListId = 200;

    explicit CRaceDialog(CScreenHost& host) : host_(host) {}
    ~CRaceDialog() override;

    void Open(u32 race);
    // Frees the race pictures; the next Open reads them again.
    void Close();
    void ShowRace();
    u32 OnCommand(u32 command) override;

    std::unique_ptr<CRecordHolder> pictures[6];
    CPicture frame;
    CTextLabel title;
    CPicture separator;
    CPicture box;
    CListBox list;
    CPictureView picture;
    CTextLabel description;
    CTextLabel effectsFirst;
    CTextLabel effectsSecond;
    CBitmapButton okButton;
    CBitmapButton cancelButton;
    u32 race = 2;

private:
    CScreenHost& host_;
};

class CClassDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 9;
    static constexpr u32 kListId = 53;
    static constexpr u32 kFirstSkillLabel = 57;

    explicit CClassDialog(CScreenHost& host);

    void Open();
    void ShowClassSkills();
    u32 OnCommand(u32 command) override;

    CPicture frame;
    CTextLabel title;
    CPicture separator;
    CPicture box;
    CListBox list;
    CTextLabel heading;
    CTextLabel skillLabels[6];
    CBitmapButton okButton;
    CBitmapButton cancelButton;
    u32 skills[6] = {};
    u32 classId = 1;
    CCharacterClassTable classes;

private:
    CScreenHost& host_;
};

class CSkillDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 10;
    static constexpr u32 kFirstLinkId = 63;

    explicit CSkillDialog(CScreenHost& host) : host_(host) {}

    void Open(u32 skill);
    void SelectSkill(u32 id);
    u32 OnCommand(u32 command) override;
    static u32 LinkIdOf(u32 skill) { return skill >= 1 && skill <= 20 ? 62 + skill : 0; }

    CPicture frame;
    CTextLabel title;
    CPicture box;
    CTextLink links[21];  // link i shows skill i; link 0 is never placed
    CTextLabel heading;
    CTextLabel description;
    CBitmapButton okButton;
    CBitmapButton cancelButton;
    u32 skill = 1;

private:
    CScreenHost& host_;
};

// The selectable faces of the open world's portrait list, sorted by name (byte-wise); the names are
// borrowed from the list.
void CollectSelectableFaces(const CScreenHost& host, std::vector<const char*>& faceNames);
// The position of a face name in such a list, -1 when it is not there.
i32 FindFace(const std::vector<const char*>& faceNames, const char* name);

class CFaceDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 6;
    static constexpr u32 kLeftArrow = 37, kRightArrow = 38;

    explicit CFaceDialog(CScreenHost& host) : host_(host) {}

    // Opens on the given face (the player's).
    void Open(const char* currentFace);
    void UpdateArrows();
    void ShowFace();
    u32 OnCommand(u32 command) override;
    // The chosen face after OK; null when the face shown is not in the list.
    const char* ChosenFace() const;

    CPicture frame;
    CTextLabel title;
    CPanel face;
    CBitmapButton leftArrow;
    CBitmapButton rightArrow;
    CBitmapButton okButton;
    CBitmapButton cancelButton;
    std::vector<const char*> faceNames;
    i32 faceIndex = -1;

private:
    CScreenHost& host_;
};

// The arrow picture pairs (left, then right) that the face choosers step with.
constexpr u16 kPictureFaceArrows = 4154;
