// The active-effects page of the character pages as a form of its own: the kinds of effect acting on
// the player, filtered to the dynamic, the constant or all entries, and for the chosen kind one line
// per entry with its amount, the rounds left and where it came from.
#pragma once

#include <vector>

#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PictureWidgets.h"
#include "ui/TextBox.h"
#include "ui/TextLabel.h"
#include "ui/TextLink.h"

class CPlayer;
struct CRuleContext;

class CEffectsPage : public CForm {
public:
    static constexpr u16 kLayoutGroup = 39;
    enum : u32 {
        kShowSelected = 501,
        kPageUp = 503,
        kPageDown = 504,
        kLineUp = 505,
        kLineDown = 506,
        kFilterConstant = 507,
        kFilterDynamic = 508,
        kFilterAll = 509,
    };

    void Open(const CPlayer& player, const CRuleContext& rules, u32 filter);
    u32 OnCommand(u32 command) override;
    // 0 dynamic, 1 constant, 2 all: marks its link and fills the list again.
    void SetFilter(u32 filter);
    void ShowSelected();
    u32 Filter() const { return filter_; }

    CTextLabel title, showLabel;
    CTextLink filterLinks[3];  // by filter value
    CPicture listFrame, textFrame;
    CListBox list;
    CTextBox description;
    CBitmapButton pageUp, pageDown, lineUp, lineDown;

private:
    const CPlayer* player_ = nullptr;
    const CRuleContext* rules_ = nullptr;
    u32 filter_ = 0;
};
