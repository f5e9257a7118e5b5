// The journal pages of the panel screen: the quests the player has met, filtered by their state, with
// the chosen quest's description; and the spells the player knows by school, or the magic items the
// player carries, with the chosen entry's effects and cost. They only show what they find.
#pragma once

#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PictureWidgets.h"
#include "ui/TextBox.h"
#include "ui/TextLabel.h"
#include "ui/TextLink.h"

class CPlayer;
class CQuestList;
struct CPlayerQuest;
struct CRuleContext;

// The state mark of a quest entry (0 solved, 1 failed, 2 active) and whether filter 0 all, 1 active,
// 2 solved or 3 failed lists it.
u8 QuestMark(const CPlayerQuest& quest);
bool QuestFilterShows(u32 filter, u8 mark);
// A spell's cost line: base + per-point cost x skill / 100.
u32 SpellCost(u32 base, u32 perPoint, int skill);

class CQuestPage : public CForm {
public:
    static constexpr u16 kLayoutGroup = 34;
    enum : u32 {
        kList = 335,
        kListUp = 339,
        kListDown = 340,
        kTextUp = 341,
        kTextDown = 342,
        kFilterAll = 344,  // .. 347
    };

    // `filter` is the panel's word, kept across visits and saved games.
    void Open(const CPlayer& player, const CQuestList* quests, u32& filter);
    u32 OnCommand(u32 command) override;
    void Fill();
    void ShowDescription();

    CPicture backdrop, listFrame, textFrame;
    CTextLabel title, descriptionTitle, showLabel;
    CListBox list;
    CBitmapButton listUp, listDown, textUp, textDown;
    CTextBox text;
    CTextLink filterLinks[4];

private:
    void UpdateFilterLinks();

    const CPlayer* player_ = nullptr;
    const CQuestList* quests_ = nullptr;
    u32* filter_ = nullptr;
};

class CSpellsPage : public CForm {
public:
    static constexpr u16 kLayoutGroup = 35;
    static constexpr u32 kMagicItemsPage = 7;
    enum : u32 {
        kFirstTab = 208,  // .. 214
        kList = 215,
        kListUp = 216,
        kListDown = 217,
        kTextUp = 241,
        kTextDown = 242,
    };

    // Starts on the first school; `page` is the panel's word.
    void Open(const CPlayer& player, const CRuleContext& rules, u32& page);
    u32 OnCommand(u32 command) override;
    void Fill();
    void ShowDescription();

    CPicture frame, listFrame, textFrame;
    CTextLabel title, descriptionTitle, schoolLabel;
    CListBox list;
    CBitmapButton listUp, listDown, textUp, textDown;
    CTextBox text;
    CBitmapButton tabs[7];

private:
    const CPlayer* player_ = nullptr;
    const CRuleContext* rules_ = nullptr;
    u32* page_ = nullptr;
};
