// The skills page of the character pages as a form of its own: the six primary and fourteen other
// skills with their values and raise buttons, the skill points left and Undo. A raise the
// double-attribute rule bars explains itself in a message that OK (command 1) closes.
#pragma once

#include "core/Types.h"
#include "screens/panels/CharacterPoints.h"
#include "ui/ButtonBar.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/TextLabel.h"
#include "ui/TextLink.h"
#include "ui/TextView.h"

struct CRuleContext;

class CSkillsPage : public CForm {
public:
    static constexpr u16 kLayoutGroup = 37;
    static constexpr u32 kCloseMessage = 1;

    // `points` keeps the undo record across rebuilds and must outlive the page.
    void Open(CPlayer& player, const CRuleContext& rules, CCharacterPoints& points);
    u32 OnCommand(u32 command) override;
    void Refresh();
    bool ShowsMessage() const { return messageShown_; }

    CTextLabel primaryTitle, otherTitle;
    CTextLabel names[kPlayerSkillCount], values[kPlayerSkillCount];  // primary slots first
    CBitmapButton raiseButtons[kPlayerSkillCount];
    CTextLabel pointsCaption, pointsValue;
    CTextLink undo;
    CTextView messageText;
    CButtonBar messageBar;

private:
    void Raise(int slot);
    void ShowUndo();
    void SetButtonPictures(CBitmapButton& button, bool ruleBars);

    CPlayer* player_ = nullptr;
    const CRuleContext* rules_ = nullptr;
    CCharacterPoints* points_ = nullptr;
    bool messageShown_ = false;
};
