#include "screens/panels/SkillsPage.h"

#include "data/CharacterTables.h"
#include "data/RuleContext.h"
#include "screens/frontend/FrontendWidgets.h"
#include "screens/panels/CharacterList.h"
#include "screens/panels/CharacterPageTexts.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr u32 kNameColour = 0x64C8C8;
constexpr u32 kValueColour = 0xC8C8C8;
constexpr u32 kLeft = CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle;

// The label elements of slot i: primary slots first, then the other skills.
u32 NameElement(int i) { return i < kPrimarySkillSlots ? 412 + 2 * i : 424 + 2 * (i - kPrimarySkillSlots); }
u32 ButtonCommand(int i) {
    return i < kPrimarySkillSlots ? kRaisePrimarySkillCommand + i
                                  : kRaiseOtherSkillCommand + (i - kPrimarySkillSlots);
}

const char* SkillLabelName(const CSkillEntry* entry, u32 mode) {
    if (!entry) return "";
    const char* name = mode == 14                                                         ? entry->fullName
                       : (mode == 3 || mode == 5 || mode == 7 || mode == 8 || mode == 10) ? entry->shortName
                                                                                          : entry->mediumName;
    return name ? name : "";
}

}  // namespace

void CSkillsPage::Open(CPlayer& player, const CRuleContext& rules, CCharacterPoints& points) {
    player_ = &player;
    rules_ = &rules;
    points_ = &points;
    messageShown_ = false;
    RemoveAllWidgets();
    messageBar.Attach(game);
    PlacePanelPage(*this, kLayoutGroup);
    background = game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    drawBackground = 1;
    const u32 mode = rules.layoutMode;

    PlaceLabel(*this, primaryTitle, kLayoutGroup, 566, "Primary skills:", kLeft, 1, 0xFFFFFF);
    PlaceLabel(*this, otherTitle, kLayoutGroup, 567, "Other skills:", kLeft, 1, 0xFFFFFF);
    CStr text;
    for (int i = 0; i < kPlayerSkillCount; ++i) {
        const bool primary = i < kPrimarySkillSlots;
        const int skill = primary ? points.PrimarySkill(i) : points.OtherSkill(i - kPrimarySkillSlots);
        const CSkillEntry* entry = rules.skills && skill ? rules.skills->GetEntry(skill) : nullptr;
        text.Format("%s:", SkillLabelName(entry, mode));
        PlaceLabel(*this, names[i], kLayoutGroup, NameElement(i), entry ? text.GetText() : "", kLeft, 1,
                   kNameColour);
        PlaceLabel(*this, values[i], kLayoutGroup, NameElement(i) + 1, "", kLeft, 1, kValueColour);
        PlacePictureButton(*this, raiseButtons[i], kLayoutGroup, ButtonCommand(i), kPictureSkillButtons,
                           kPictureSkillButtons + 1, true);
    }
    PlaceLabel(*this, pointsCaption, kLayoutGroup, 452,
               IsSmallLayout(mode) ? "Available pts:" : "Available points:", kLeft, 1, kNameColour);
    PlaceLabel(*this, pointsValue, kLayoutGroup, 453, "", kLeft, 1, kValueColour);
    if (PlaceWidget(*this, undo, kLayoutGroup, kUndoSkillsCommand))
        undo.Setup("Undo", kUndoSkillsCommand, 0x64C8C8, 0x00FFFF, 0x161616);
    ShowUndo();
    Refresh();
    ResetInputGuard();
}

void CSkillsPage::SetButtonPictures(CBitmapButton& button, bool ruleBars) {
    // The barred look is the raise button sunk: the raise cannot be had, the button only explains why.
    CRecordHolder* pictures[3] = {
        game ? game->GetInterfacePicture(ruleBars ? kPictureSkillButtons + 1 : kPictureSkillButtons)
             : nullptr,
        game ? game->GetInterfacePicture(kPictureSkillButtons + 1) : nullptr, nullptr};
    button.SetPictures(pictures, button.commandId, 0);
}

void CSkillsPage::Refresh() {
    if (!player_ || !points_) return;
    CSkillRows rows;
    ComputeSkillRows(*player_, *points_, rows);
    for (int i = 0; i < kPlayerSkillCount; ++i) {
        const CSkillRow& row = i < kPrimarySkillSlots ? rows.primary[i] : rows.other[i - kPrimarySkillSlots];
        values[i].SetText(row.value.GetText());
        const bool shown = row.button != CCharacterPoints::SkillButton::kHidden;
        if (shown) SetButtonPictures(raiseButtons[i], row.button == CCharacterPoints::SkillButton::kRuleBars);
        raiseButtons[i].Show(shown ? 1 : 0);
        raiseButtons[i].EnablePen(shown ? 1 : 0);
    }
    pointsValue.SetText(rows.availablePoints.GetText());
    flags |= kFormRedrawAll;
}

void CSkillsPage::ShowUndo() {
    const bool shown = points_ && points_->SkillPointsSpent() > 0;
    undo.Show(shown ? 1 : 0);
    undo.EnablePen(shown ? 1 : 0);
    flags |= kFormRedrawAll;
}

void CSkillsPage::Raise(int slot) {
    const bool primary = slot < kPrimarySkillSlots;
    const int skill = primary ? points_->PrimarySkill(slot) : points_->OtherSkill(slot - kPrimarySkillSlots);
    switch (points_->RaiseSkill(skill, primary)) {
    case CCharacterPoints::SkillRaise::kRaised:
        Refresh();
        ShowUndo();
        break;
    case CCharacterPoints::SkillRaise::kRuleBars: {
        CStr text;
        FormatSkillRuleMessage(*rules_, skill, text);
        ShowMessageText(game, &messageText, text.GetText(), CButtonBar::kOk, &messageBar, this);
        OpenModal(&messageBar);
        messageShown_ = true;
        flags |= kFormRedrawAll;
        break;
    }
    case CCharacterPoints::SkillRaise::kRefused:
        // A button drawn before the last raise: show the page as it now stands.
        Refresh();
        break;
    }
}

u32 CSkillsPage::OnCommand(u32 command) {
    if (!points_) return 0;
    if (command == kCloseMessage) {
        if (messageShown_) {
            PlayInterfaceSound(game, 0, 10);
            CloseModal();
            messageShown_ = false;
            ResetInputGuard();
            flags |= kFormRedrawAll;
        }
        return 0;
    }
    if (messageShown_) return 0;
    if (command >= kRaisePrimarySkillCommand && command < kRaisePrimarySkillCommand + kPlayerSkillCount) {
        PlayInterfaceSound(game, 1, 10);
        Raise(static_cast<int>(command - kRaisePrimarySkillCommand));
        return 0;
    }
    if (command == kUndoSkillsCommand) {
        points_->UndoSkillPoints();
        Refresh();
        ShowUndo();
    }
    return 0;
}
