#include "screens/panels/JournalPages.h"

#include "core/LayoutTable.h"
#include "core/Str.h"
#include "data/Effect.h"
#include "data/EffectText.h"
#include "data/ItemText.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "data/WorldRecords.h"
#include "screens/frontend/FrontendWidgets.h"
#include "screens/panels/CharacterList.h"
#include "screens/panels/SpellBookRules.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"
#include "world/Player.h"

namespace {

constexpr u32 kLeft = CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle;

void SetupText(CTextBox& text) { text.Setup(1, 0xFFFFFF, 0xFFFFFF, 0xC8C8C8, 0x161616, 0, 3, 2, 0x64C8C8); }

}  // namespace

u8 QuestMark(const CPlayerQuest& quest) { return quest.state == 1 ? 0 : quest.state == 2 ? 1 : 2; }

bool QuestFilterShows(u32 filter, u8 mark) {
    switch (filter) {
    case 0: return true;
    case 1: return mark == 2;
    case 2: return mark == 0;
    case 3: return mark == 1;
    default: return false;
    }
}

u32 SpellCost(u32 base, u32 perPoint, int skill) {
    return base + (skill > 0 ? perPoint * static_cast<u32>(skill) / 100 : 0);
}

// ---- quests ----

void CQuestPage::Open(const CPlayer& player, const CQuestList* quests, u32& filter) {
    player_ = &player;
    quests_ = quests;
    filter_ = &filter;
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    drawBackground = 0;
    PlaceWidget(*this, backdrop, kLayoutGroup, 348);
    PlaceLabel(*this, title, kLayoutGroup, 333, "Quests", kLeft, 1, 0xC8C8C8);
    PlaceListFrame(*this, listFrame, kLayoutGroup, 334);
    if (PlaceWidget(*this, list, kLayoutGroup, kList)) SetupCharacterList(list, game);
    PlaceArrowPair(*this, kLayoutGroup, listUp, kListUp, listDown, kListDown, kPictureListPageUp,
                kPictureListPageDown);
    PlaceLabel(*this, descriptionTitle, kLayoutGroup, 336, "Description:", kLeft, 1, 0xC8C8C8);
    PlaceListFrame(*this, textFrame, kLayoutGroup, 337);
    if (PlaceWidget(*this, text, kLayoutGroup, 338)) SetupText(text);
    PlaceArrowPair(*this, kLayoutGroup, textUp, kTextUp, textDown, kTextDown, kPictureArrowButtons,
                kPictureArrowButtons + 2);
    PlaceLabel(*this, showLabel, kLayoutGroup, 343, "Show:", kLeft, 1, 0xC8C8C8);
    static const char* const kNames[4] = {"All", "Active", "Solved", "Failed"};
    for (u32 f = 0; f < 4; ++f)
        if (PlaceWidget(*this, filterLinks[f], kLayoutGroup, kFilterAll + f))
            filterLinks[f].Setup(kNames[f], kFilterAll + f, 0x96F0FF, 0xFFFFFF, 0x161616);
    UpdateFilterLinks();
    Fill();
    ResetInputGuard();
}

void CQuestPage::UpdateFilterLinks() {
    for (u32 f = 0; f < 4; ++f) SetLatched(filterLinks[f], filter_ && *filter_ == f);
}

void CQuestPage::Fill() {
    list.ResetItems();
    list.selection = -1;
    if (player_ && quests_ && filter_) {
        for (const CPlayerQuest& quest : player_->quests) {
            const CQuest* record = quests_->FindById(quest.id.c_str());
            if (!record) continue;
            const u8 mark = QuestMark(quest);
            if (!QuestFilterShows(*filter_, mark)) continue;
            list.AddItem(record->title ? record->title : "", quest.id.c_str(), mark);
        }
    }
    SelectFirstRow(list);
    CListScrolling::UpdateList(list, listUp, listDown);
    ShowDescription();
}

void CQuestPage::ShowDescription() {
    const CListBoxItem* item = list.selection >= 0 ? list.GetItem(list.selection) : nullptr;
    const CQuest* record = item && quests_ ? quests_->FindById(item->key.GetText()) : nullptr;
    if (record)
        text.SetText(record->title ? record->title : "", record->description ? record->description : "", 0, 0);
    else
        text.SetText("", "", 0, 0);
    text.state |= kWidgetRedraw;
    CListScrolling::UpdateText(text, textUp, textDown);
    flags |= kFormRedrawAll;
}

u32 CQuestPage::OnCommand(u32 command) {
    if (OnListPageCommand(game, command, {kList, kListUp, kListDown, kTextUp, kTextDown},
                          {list, text, listUp, listDown, textUp, textDown}, [this] { ShowDescription(); }))
        return 0;
    if (command >= kFilterAll && command < kFilterAll + 4 && filter_) {
        PlayInterfaceSound(game, 1, 10);
        *filter_ = command - kFilterAll;
        UpdateFilterLinks();
        Fill();
    }
    return 0;
}

// ---- spells ----

void CSpellsPage::Open(const CPlayer& player, const CRuleContext& rules, u32& page) {
    player_ = &player;
    rules_ = &rules;
    page_ = &page;
    page = 1;
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    drawBackground = 0;
    PlaceListFrame(*this, frame, kLayoutGroup, 207);
    PlaceLabel(*this, title, kLayoutGroup, 349, "Spells", kLeft, 1, 0xC8C8C8);
    PlaceListFrame(*this, listFrame, kLayoutGroup, 350);
    if (PlaceWidget(*this, list, kLayoutGroup, kList)) SetupCharacterList(list, game);
    PlaceArrowPair(*this, kLayoutGroup, listUp, kListUp, listDown, kListDown, kPictureListPageUp,
                kPictureListPageDown);
    PlaceLabel(*this, descriptionTitle, kLayoutGroup, 568, "Description:", kLeft, 1, 0xC8C8C8);
    PlaceListFrame(*this, textFrame, kLayoutGroup, 351);
    if (PlaceWidget(*this, text, kLayoutGroup, 352)) SetupText(text);
    PlaceArrowPair(*this, kLayoutGroup, textUp, kTextUp, textDown, kTextDown, kPictureArrowButtons,
                kPictureArrowButtons + 2);
    for (u32 t = 0; t < 7; ++t)
        PlacePictureButton(*this, tabs[t], kLayoutGroup, kFirstTab + t,
                           static_cast<u16>(kPictureSpellSchoolTabs + 2 * t),
                           static_cast<u16>(kPictureSpellSchoolTabs + 2 * t + 1), true);
    PlaceLabel(*this, schoolLabel, kLayoutGroup, 353, "", kLeft, 1, 0xC8C8C8);
    Fill();
    ResetInputGuard();
}

void CSpellsPage::Fill() {
    const u32 page = page_ ? *page_ : 1;
    for (u32 t = 0; t < 7; ++t) SetLatched(tabs[t], t + 1 == page);
    const CSpellSchool* school =
        rules_ && rules_->spells && page >= 1 && page <= 7 ? rules_->spells->GetSchool(static_cast<int>(page))
                                                           : nullptr;
    schoolLabel.SetText(school && school->name ? school->name : "?");
    list.ResetItems();
    list.selection = -1;
    if (player_ && page == kMagicItemsPage) {
        CStr key;
        for (const CMagicItemLine& line : BuildMagicItemLines(*player_, rules_)) {
            key.Format("%u", static_cast<unsigned>(line.index));
            list.AddItem(line.text.GetText(), key.GetText(), 0);
        }
    } else if (player_ && page >= 1 && page < kMagicItemsPage) {
        for (const CSpell* spell : player_->spellsBySchool[page])
            if (spell) list.AddItem(spell->GetDisplayName(), spell->GetName(), 0);
    }
    SelectFirstRow(list);
    CListScrolling::UpdateList(list, listUp, listDown);
    ShowDescription();
}

void CSpellsPage::ShowDescription() {
    const CListBoxItem* item = list.selection >= 0 ? list.GetItem(list.selection) : nullptr;
    CStr heading, body, line;
    const u32 page = page_ ? *page_ : 1;
    if (item && player_ && rules_ && rules_->spells) {
        auto appendSpell = [&](const CSpell& spell, int percent) {
            for (int i = 0; i < spell.effects.Count(); ++i) {
                FormatEffectText(*spell.effects.At(i), *rules_, 5, percent, line, false, false);
                body.Append("\r- ");
                body.Append(line.GetText());
            }
        };
        if (page == kMagicItemsPage) {
            if (const CItemInstance* carried = ItemForEntryKey(*player_, item->key.GetText())) {
                const CItemType& type = *carried->type;
                FormatItemName(type, carried, false, *rules_, heading);
                const CEffectList* own = type.subclass == 3 || type.subclass == 5 ? carried->effects : type.effects;
                if (own && own->Count() > 0) {
                    FormatEffectListText(body, *own, *rules_, type.GetEffectSource(), carried->count, false);
                    const CEffect& first = *own->At(0);
                    if (const CSpell* spell = rules_->spells->FindById(first.id)) appendSpell(*spell, first.amountPerLevel);
                }
            }
        } else if (const CSpell* spell = rules_->spells->FindById(item->key.GetText())) {
            const int schoolSkill = rules_->spells->GetSchoolSkill(spell->school);
            const int skill = schoolSkill >= 1 ? player_->GetSkillValue(schoolSkill) : 0;
            heading = spell->GetDisplayName();
            body = spell->texts[1] ? spell->texts[1] : "";
            appendSpell(*spell, skill);
            line.Format("\rCosts %u sp", static_cast<unsigned>(SpellCost(spell->base, spell->factor, skill)));
            body.Append(line.GetText());
        }
    }
    ToNumberGlyphs(body);
    text.SetText(heading.GetText(), body.GetText(), 0, 0);
    text.state |= kWidgetRedraw;
    CListScrolling::UpdateText(text, textUp, textDown);
    flags |= kFormRedrawAll;
}

u32 CSpellsPage::OnCommand(u32 command) {
    if (OnListPageCommand(game, command, {kList, kListUp, kListDown, kTextUp, kTextDown},
                          {list, text, listUp, listDown, textUp, textDown}, [this] { ShowDescription(); }))
        return 0;
    if (command >= kFirstTab && command < kFirstTab + 7 && page_) {
        PlayInterfaceSound(game, 1, 10);
        *page_ = command - kFirstTab + 1;
        Fill();
    }
    return 0;
}
