#include "screens/frontend/CreatePlayerScreen.h"

#include <string>

#include "data/RuleContext.h"
#include "display/Video.h"
#include "screens/ScreenHost.h"
#include "screens/frontend/DialogKit.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "world/GameScreen.h"

namespace {

constexpr u32 kCaptionColour = 0xC8C8C8, kShade = 0x161616, kHighlight = 0x00FFFF;
constexpr u32 kSkillLinkColour = 0x64C8C8;
// Captions of the text buttons: dark on the light button face, lighter while pressed.
constexpr u32 kButtonText = 0x141414, kButtonShade = 0x8A8A8A, kButtonPressedText = 0x3A3A3A,
              kButtonPressedShade = 0xB0B0B0;
constexpr u32 kDefaultSkills[6] = {2, 5, 1, 8, 15, 14};
constexpr const char* kDefaultFace = "bres_head00_raceetherim";
constexpr u32 kHealMagic = kSkillHealMagic, kUndeadMagic = kSkillUndeadMagic;

// The frame pieces of the page: element, compact set or not, piece word.
struct FramePieceDef {
    u32 id;
    bool dialogSet;
    u32 pieceWord;
};
// The thin pieces are rules under a part of the page: only their top edge is drawn.
constexpr FramePieceDef kFramePieces[6] = {{19, true, 15},  {551, false, 15}, {552, false, 15},
                                           {560, false, 1}, {561, false, 1},  {553, false, 1}};

}  // namespace

CCreatePlayerScreen::CCreatePlayerScreen(CScreenHost& host)
    : raceDialog(host), classDialog(host), skillDialog(host), host_(host) {}

void CCreatePlayerScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    progress.Attach(game);
    name.Assign("Player");
    raceName.Assign("Etherim");
    faceName.Assign(kDefaultFace);
    race = 2;
    gender = 1;
    for (int i = 0; i < 6; ++i) skills[i] = kDefaultSkills[i];
    textDialog.Attach(game);
    raceDialog.Attach(game);
    classDialog.Attach(game);
    skillDialog.Attach(game);
    BuildPage();
    CollectSelectableFaces(host_, faceNames);
    faceIndex = FindFace(faceNames, faceName.GetText());
    ShowFace();
    mode = kNoDialog;
    UpdateSkillLinks();
    flags |= kFormRedrawAll;
    Draw();
    if (video != nullptr) video->Present();
    ResetInputGuard();
}

void CCreatePlayerScreen::BuildPage() {
    RemoveAllWidgets();
    CentreDialog(*this, kLayoutGroup);
    x = y = 0;
    const u32 layoutMode = game != nullptr ? game->GetLayoutMode() : 15;
    for (int i = 0; i < 6; ++i) {
        const FramePieceDef& def = kFramePieces[i];
        if (!PlaceInLayout(*this, frames[i], kLayoutGroup, def.id)) continue;
        SetupFramePiece(frames[i], def.dialogSet ? DialogFrameSet(game) : CompactFrameSet(game),
                        def.pieceWord);
    }
    if (PlaceInLayout(*this, title, kLayoutGroup, 16))
        SetupLabel(title, "Create new player", 2, CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle,
                   0xFFFFFF, kShade);
    auto caption = [&](CTextLabel& label, u32 id, const char* text) {
        if (PlaceInLayout(*this, label, kLayoutGroup, id))
            SetupLabel(label, text, 4, CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle, kCaptionColour,
                       kShade);
    };
    caption(nameCaption, 139, "Name:");
    if (PlaceInLayout(*this, nameBox, kLayoutGroup, 155))
        SetupFramePiece(nameBox, CompactFrameSet(game), 0x80 | 1);
    if (PlaceInLayout(*this, nameLabel, kLayoutGroup, 140))
        SetupLabel(nameLabel, name.GetText(), 1, CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle,
                   kCaptionColour, 0);
    CRecordHolder* const* normal = StandardButtonFrames(game, false);
    CRecordHolder* const* pressed = StandardButtonFrames(game, true);
    auto textButton = [&](CBitmapButton& button, u32 id, const char* text) {
        if (PlaceInLayout(*this, button, kLayoutGroup, id))
            button.SetFramedText(pressed, normal, text, id, 1, kButtonText, kButtonShade, kButtonPressedText,
                                 kButtonPressedShade, 0);
    };
    textButton(renameButton, kRename, "Rename");
    caption(genderCaption, 145, "Gender:");
    if (PlaceInLayout(*this, femaleLink, kLayoutGroup, kFemale))
        femaleLink.Setup("Female", kFemale, kCaptionColour, kHighlight, kShade);
    if (PlaceInLayout(*this, maleLink, kLayoutGroup, kMale))
        maleLink.Setup("Male", kMale, kCaptionColour, kHighlight, kShade);
    ShowGender();
    caption(raceCaption, 142, "Race:");
    if (PlaceInLayout(*this, raceLabel, kLayoutGroup, 143))
        SetupLabel(raceLabel, raceName.GetText(), 2, CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle,
                   kHighlight, 0);
    textButton(changeRaceButton, kChangeRace, "Change");
    caption(faceCaption, 148, "Face:");
    PlaceInLayout(*this, facePanel, kLayoutGroup, 149);
    facePanel.EnablePen(0);
    if (PlaceInLayout(*this, previousFace, kLayoutGroup, kPreviousFace)) {
        SetupPicturePair(previousFace, game, kPictureFaceArrows, kPreviousFace);
    }
    if (PlaceInLayout(*this, nextFace, kLayoutGroup, kNextFace)) {
        SetupPicturePair(nextFace, game, kPictureFaceArrows + 2, kNextFace);
    }
    caption(skillsCaption, 150, "Skills:");
    if (PlaceInLayout(*this, classHint, kLayoutGroup, 152)) {
        const bool compact = layoutMode != 2 && IsCompactLayout(layoutMode);
        SetupLabel(classHint, compact ? "a pre-defined class," : "select a pre-defined class:", 1,
                   CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle, kCaptionColour, kShade);
    }
    textButton(selectClassButton, kSelectClass, "Select");
    if (PlaceInLayout(*this, skillsHint, kLayoutGroup, 156))
        SetupLabel(skillsHint, "and/or modify the primary skills:", 1,
                   CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle, kCaptionColour, kShade);
    for (u32 i = 0; i < 6; ++i)
        if (PlaceInLayout(*this, skillLinks[i], kLayoutGroup, kFirstSkillSlot + i))
            skillLinks[i].Setup("", kFirstSkillSlot + i, kSkillLinkColour, kHighlight, kShade);
    if (PlaceInLayout(*this, okButton, kLayoutGroup, 25)) SetupOkButton(okButton, game);
    if (PlaceInLayout(*this, cancelButton, kLayoutGroup, 26)) SetupCancelButton(cancelButton, game);
}

void CCreatePlayerScreen::ShowGender() {
    auto latch = [](CTextLink& link, bool on) {
        link.state = static_cast<u16>((on ? link.state | kWidgetLatched : link.state & ~kWidgetLatched) |
                                      kWidgetRedraw);
    };
    latch(femaleLink, gender == 0);
    latch(maleLink, gender == 1);
}

void CCreatePlayerScreen::ShowFace() {
    // The faces are pictures of the world's texture set by the face's name.
    CRecordHolder* face = host_.LoadTexturePicture(faceName.GetText());
    if (face == nullptr && game != nullptr) face = game->GetInterfacePicture(kPictureFallbackFace);
    facePanel.SetBitmap(face);
    facePanel.state |= kWidgetRedraw;
}

void CCreatePlayerScreen::StepFace(bool next) {
    const i32 count = static_cast<i32>(faceNames.size());
    if (!next && faceIndex > 0) --faceIndex;
    if (next && faceIndex < count - 1) ++faceIndex;
    if (faceIndex >= 0 && faceIndex < count) {
        faceName.Assign(faceNames[static_cast<size_t>(faceIndex)]);
        ShowFace();
    }
    previousFace.EnablePen(faceIndex > 0 ? 1 : 0);
    nextFace.EnablePen(faceIndex < count - 1 ? 1 : 0);
    previousFace.state |= kWidgetRedraw;
    nextFace.state |= kWidgetRedraw;
}

void CCreatePlayerScreen::FixSkillsForRace() {
    // The undead use Undead Magic in place of healing, the others healing in place of Undead Magic.
    for (u32& s : skills) {
        if (s == kHealMagic && race == 1)
            s = kUndeadMagic;
        else if (s == kUndeadMagic && race != 1)
            s = kHealMagic;
    }
}

void CCreatePlayerScreen::ApplyClass(u32 classId) {
    if (classId < 1 || classId > static_cast<u32>(kClassCount)) return;
    for (int i = 0; i < 6; ++i) skills[i] = classDialog.classes.entries[classId].skills[i];
    FixSkillsForRace();
    UpdateSkillLinks();
}

void CCreatePlayerScreen::ApplySkillChoice() {
    u32 chosen = skillDialog.skill;
    if (chosen == kHealMagic && race == 1)
        chosen = kUndeadMagic;
    else if (chosen == kUndeadMagic && race != 1)
        chosen = kHealMagic;
    for (u32 j = 0; j < 6; ++j)
        if (j != skillSlot && skills[j] == chosen) skills[j] = skills[skillSlot];
    skills[skillSlot] = chosen;
    UpdateSkillLinks();
}

void CCreatePlayerScreen::UpdateSkillLinks() {
    const CSkillTable* table = host_.GetRules().skills;
    for (u32 i = 0; i < 6; ++i) {
        const char* text = table != nullptr ? table->GetName(static_cast<int>(skills[i]), true) : nullptr;
        skillLinks[i].SetText(text != nullptr ? text : "");
        skillLinks[i].state |= kWidgetRedraw;
    }
}

void CCreatePlayerScreen::Redraw() {
    flags |= kFormRedrawAll;
    Draw();
    if (video) video->Present();
}

bool CCreatePlayerScreen::IsBlankName(const char* text) {
    for (const char* p = text; p && *p; ++p)
        if (*p != ' ') return false;
    return true;
}

void CCreatePlayerScreen::OpenNameEntry(const char* text) {
    PlayInterfaceSound(game, 0, 10);
    mode = kTextDialog;
    textDialog.Open();
    OpenModal(&textDialog);
    textDialog.SetText(text);
}

u32 CCreatePlayerScreen::OnCommand(u32 command) {
    if (mode != kNoDialog) return CloseDialog(command);
    switch (command) {
    case 25:
        // A hero needs a name: a blank one (empty or spaces only) starts nothing and the name entry
        // asks for it.
        if (IsBlankName(name.GetText())) {
            OpenNameEntry("");
            return kScreenStay;
        }
        return StartGame();
    case 26:
        PlayInterfaceSound(game, 1, 10);
        entryA = 1;
        entryB = entryC = entryD = 0;
        keepOnStack = 0;
        return kScreenMainMenu;
    case kRename: OpenNameEntry(name.GetText()); return kScreenStay;
    case kChangeRace:
        PlayInterfaceSound(game, 0, 10);
        mode = kRaceDialog;
        raceDialog.Open(race);
        OpenModal(&raceDialog);
        return kScreenStay;
    case kFemale:
    case kMale:
        PlayInterfaceSound(game, 0, 10);
        gender = command == kMale ? 1 : 0;
        ShowGender();
        return kScreenStay;
    case kSelectClass:
        PlayInterfaceSound(game, 0, 10);
        mode = kClassDialog;
        classDialog.Open();
        OpenModal(&classDialog);
        return kScreenStay;
    case kPreviousFace:
    case kNextFace:
        PlayInterfaceSound(game, 0, 10);
        StepFace(command == kNextFace);
        return kScreenStay;
    default: break;
    }
    if (command >= kFirstSkillSlot && command < kFirstSkillSlot + 6) {
        skillSlot = command - kFirstSkillSlot;
        PlayInterfaceSound(game, 0, 10);
        mode = kSkillDialog;
        skillDialog.Open(skills[skillSlot]);
        OpenModal(&skillDialog);
    }
    return kScreenStay;
}

u32 CCreatePlayerScreen::CloseDialog(u32 command) {
    const u32 closing = mode;
    mode = kNoDialog;
    if (closing == kRaceDialog) raceDialog.Close();
    CloseModal();
    ResetInputGuard();
    if (command == 25) {
        switch (closing) {
        case kTextDialog:
            name.Assign(textDialog.GetText());
            nameLabel.SetText(name.GetText());
            nameLabel.Layout();
            break;
        case kRaceDialog: {
            race = raceDialog.race;
            const CRaceTable* races = host_.GetRules().races;
            const char* display = races != nullptr ? races->GetName(static_cast<int>(race)) : nullptr;
            raceName.Assign(display != nullptr ? display : "");
            raceLabel.SetText(raceName.GetText());
            raceLabel.Layout();
            std::string face = "bres_head00_race";
            for (const char* p = race == 1 ? "undead" : raceName.GetText(); *p != 0; ++p)
                face += *p >= 'A' && *p <= 'Z' ? static_cast<char>(*p - 'A' + 'a') : *p;
            faceName.Assign(face.c_str());
            ShowFace();
            FixSkillsForRace();
            UpdateSkillLinks();
            break;
        }
        case kClassDialog: ApplyClass(classDialog.classId); break;
        case kSkillDialog: ApplySkillChoice(); break;
        default: break;
        }
    }
    flags |= kFormRedrawAll;
    return kScreenStay;
}

u32 CCreatePlayerScreen::StartGame() {
    PlayInterfaceSound(game, 1, 10);
    CGameScreen* view = host_.GetGameScreen();
    if (view != nullptr) view->StopMusic();
    // The new game closes the worlds and with them the texture set the face picture lives in; the page
    // is drawn once more after this command, so it must no longer point at the face.
    facePanel.picture = nullptr;  // SetBitmap keeps the picture it has when given none
    facePanel.state |= kWidgetRedraw;
    progress.Open();
    OpenModal(&progress);
    const bool started = host_.NewGame(&progress);
    if (view != nullptr) view->keepOnStack = 0;
    CloseModal();
    ResetInputGuard();
    entryA = started ? 1 : 0;
    entryB = entryC = entryD = 0;
    keepOnStack = 0;
    // A game that could not be set up must not be entered half made: back to the menu.
    return started ? kScreenGame : kScreenMainMenu;
}
