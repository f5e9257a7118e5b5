#include "screens/panels/EffectsPage.h"

#include "core/Str.h"
#include "data/RuleContext.h"
#include "screens/frontend/FrontendWidgets.h"
#include "screens/panels/CharacterList.h"
#include "screens/panels/CharacterPageTexts.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"
#include "world/Player.h"

namespace {

constexpr u32 kFilterElements[3] = {CEffectsPage::kFilterDynamic, CEffectsPage::kFilterConstant,
                                    CEffectsPage::kFilterAll};
const char* const kLongNames[3] = {"Dynamic only", "Constant only", "All effects"};
const char* const kShortNames[3] = {"Dynamic", "Constant", "All"};

}  // namespace

void CEffectsPage::Open(const CPlayer& player, const CRuleContext& rules, u32 filter) {
    player_ = &player;
    rules_ = &rules;
    RemoveAllWidgets();
    PlacePanelPage(*this, kLayoutGroup);
    background = game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    drawBackground = 1;
    const u32 mode = rules.layoutMode;
    const u32 left = CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle;
    PlaceLabel(*this, title, kLayoutGroup, 502, "Active effects:", left, 1, 0xC8C8C8);
    PlaceLabel(*this, showLabel, kLayoutGroup, 510, "Show:", left, 1, 0xC8C8C8);
    for (int f = 0; f < 3; ++f) {
        if (PlaceWidget(*this, filterLinks[f], kLayoutGroup, kFilterElements[f]))
            filterLinks[f].Setup(mode == 1 || mode == 4 ? kLongNames[f] : kShortNames[f], kFilterElements[f],
                                 0xFFFFFF, 0x96FFFF, 0x585858);
    }
    PlaceListFrame(*this, listFrame, kLayoutGroup, 500);
    PlaceListFrame(*this, textFrame, kLayoutGroup, 498);
    if (PlaceWidget(*this, list, kLayoutGroup, kShowSelected)) SetupCharacterList(list, game);
    if (PlaceWidget(*this, description, kLayoutGroup, 499))
        description.Setup(1, 0xFFFFFF, 0xFFFFFF, 0xC8C8C8, 0x161616, 0, 3, 2, 0xFFFFFF);
    PlaceArrowPair(*this, kLayoutGroup, pageUp, kPageUp, pageDown, kPageDown, kPictureListPageUp,
                   kPictureListPageDown);
    PlaceArrowPair(*this, kLayoutGroup, lineUp, kLineUp, lineDown, kLineDown, kPictureArrowButtons,
                   kPictureArrowButtons + 2);
    SetFilter(filter);
    ResetInputGuard();
}

void CEffectsPage::SetFilter(u32 filter) {
    filter_ = filter > 2 ? 2 : filter;
    for (u32 f = 0; f < 3; ++f) SetLatched(filterLinks[f], f == filter_);
    list.ResetItems();
    list.selection = -1;
    if (player_) {
        CStr key;
        for (int kind : ListEffectKinds(*player_, filter_)) {
            key.Format("%u", static_cast<unsigned>(kind));
            const char* name = player_->effectListNames[kind];
            list.AddItem(name ? name : "", key.GetText(), 0);
        }
    }
    SelectFirstRow(list);
    CListScrolling::UpdateList(list, pageUp, pageDown);
    ShowSelected();
}

void CEffectsPage::ShowSelected() {
    CStr body;
    const char* heading = "";
    const CListBoxItem* item = list.selection >= 0 ? list.GetItem(list.selection) : nullptr;
    if (item && player_ && rules_) {
        const int kind = ParseInt(item->key.GetText());
        DescribeEffectKind(*player_, kind, filter_, *rules_, body);
        if (!IsSmallLayout(rules_->layoutMode) && kind >= 1 && kind <= kEffectListCount &&
            player_->effectListNames[kind])
            heading = player_->effectListNames[kind];
    }
    description.SetText(heading, body.GetText(), 0, 0);
    description.state |= kWidgetRedraw;
    CListScrolling::UpdateText(description, lineUp, lineDown);
    flags |= kFormRedrawAll;
}

u32 CEffectsPage::OnCommand(u32 command) {
    if (OnListPageCommand(game, command, {kShowSelected, kPageUp, kPageDown, kLineUp, kLineDown},
                          {list, description, pageUp, pageDown, lineUp, lineDown}, [this] { ShowSelected(); }))
        return 0;
    if (command == kFilterDynamic || command == kFilterConstant || command == kFilterAll) {
        PlayInterfaceSound(game, 1, 10);
        SetFilter(command == kFilterDynamic ? 0 : command == kFilterConstant ? 1 : 2);
    }
    return 0;
}
