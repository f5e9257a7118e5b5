#include "screens/panels/BundlePage.h"

#include "core/Str.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "screens/frontend/FrontendWidgets.h"
#include "screens/panels/CharacterList.h"
#include "screens/panels/CharacterPageTexts.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"
#include "world/Player.h"

namespace {

struct PageElements {
    u16 group;
    u32 title, list, text, listFrame, textFrame, pageUp, pageDown, lineUp, lineDown;
    const char* caption;
};
const PageElements kPages[2] = {{41, 523, 522, 520, 521, 528, 524, 525, 526, 527, "Abilities:"},
                                {40, 513, 512, 515, 511, 514, 516, 517, 518, 519, "Diseases:"}};

}  // namespace

void CBundlePage::Open(const CPlayer& player, const CRuleContext& rules, Kind kind) {
    player_ = &player;
    rules_ = &rules;
    kind_ = kind;
    const PageElements& e = kPages[kind];
    RemoveAllWidgets();
    PlacePanelPage(*this, e.group);
    background = game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    drawBackground = 1;
    PlaceLabel(*this, title, e.group, e.title, e.caption, CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle,
               1, 0xC8C8C8);
    PlaceListFrame(*this, listFrame, e.group, e.listFrame);
    PlaceListFrame(*this, textFrame, e.group, e.textFrame);
    if (PlaceWidget(*this, list, e.group, e.list)) SetupCharacterList(list, game);
    if (PlaceWidget(*this, description, e.group, e.text))
        description.Setup(1, 0xFFFFFF, 0xFFFFFF, 0xC8C8C8, 0x161616, 0, 3, 2, 0xFFFFFF);
    PlaceArrowPair(*this, e.group, pageUp, e.pageUp, pageDown, e.pageDown, kPictureListPageUp,
                   kPictureListPageDown);
    PlaceArrowPair(*this, e.group, lineUp, e.lineUp, lineDown, e.lineDown, kPictureArrowButtons,
                   kPictureArrowButtons + 2);
    Fill();
    ResetInputGuard();
}

void CBundlePage::Fill() {
    list.ResetItems();
    list.selection = -1;
    if (player_) {
        const auto& held = kind_ == kAbilities ? player_->abilities : player_->diseases;
        for (const CEffectBundle* bundle : held)
            if (bundle) list.AddItem(bundle->GetDisplayName(), bundle->GetName(), 0);
    }
    SelectFirstRow(list);
    CListScrolling::UpdateList(list, pageUp, pageDown);
    ShowSelected();
}

void CBundlePage::ShowSelected() {
    CStr body;
    const char* heading = "";
    const CListBoxItem* item = list.selection >= 0 ? list.GetItem(list.selection) : nullptr;
    const CEffectBundleList* records = nullptr;
    if (rules_)
        records =
            kind_ == kAbilities ? static_cast<const CEffectBundleList*>(rules_->abilities) : rules_->diseases;
    const CEffectBundle* record = item && records ? records->FindById(item->key.GetText()) : nullptr;
    if (record) {
        if (kind_ == kAbilities)
            FormatAbilityEffects(*record, *rules_, body);
        else
            FormatDiseaseEffects(*record, *rules_, body);
        if (!IsSmallLayout(rules_->layoutMode)) heading = record->GetDisplayName();
    }
    description.SetText(heading, body.GetText(), 0, 0);
    description.state |= kWidgetRedraw;
    CListScrolling::UpdateText(description, lineUp, lineDown);
    flags |= kFormRedrawAll;
}

u32 CBundlePage::OnCommand(u32 command) {
    const PageElements& e = kPages[kind_];
    OnListPageCommand(game, command, {e.list, e.pageUp, e.pageDown, e.lineUp, e.lineDown},
                      {list, description, pageUp, pageDown, lineUp, lineDown}, [this] { ShowSelected(); });
    return 0;
}
