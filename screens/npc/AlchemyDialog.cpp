#include "screens/npc/AlchemyDialog.h"

#include "screens/frontend/DialogKit.h"
#include "screens/npc/CraftWidgets.h"

#include "core/LayoutTable.h"
#include "core/Random.h"
#include "core/Str.h"
#include "data/EffectText.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "display/FontSet.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetGameData.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr u32 kWhite = 0xFFFFFF;
constexpr u32 kDark = 0x161616;
constexpr u8 kTypeLeftOut = 0x10;

u32 SlotCommand(int slot, bool next) { return static_cast<u32>(482 + 4 * slot + (next ? 1 : 0)); }

}  // namespace

CAlchemyDialog::CAlchemyDialog() = default;

CAlchemyDialog::~CAlchemyDialog() = default;

void CAlchemyDialog::Place(CWidget& widget, u32 element) {
    craft::PlaceWidget(*this, widget, kLayoutGroup, element);
}

void CAlchemyDialog::PlaceHeading(CTextLabel& label, u32 element, const char* text) {
    Place(label, element);
    label.font = element == 476 ? 1 : 2;
    label.textColour = kWhite;
    label.backgroundColour = kDark;
    label.outline = 1;
    label.alignment =
        (element == 476 ? CTextLabel::kAlignCentre : CTextLabel::kAlignLeft) | CTextLabel::kAlignMiddle;
    label.SetText(text);
}

CRecordHolder* CAlchemyDialog::PictureOf(const CItemType* type) const {
    const char* name = type ? type->texts[1] : nullptr;
    return game && name ? game->FindTexturePicture(name) : nullptr;
}

// The picture view centres a smaller see-through picture itself; one too big for its box is scaled
// down on its own ground rather than cut.
void CAlchemyDialog::ShowItemPicture(CPictureView& view, const CItemType* type) {
    view.SetPicture(PictureOf(type), 1, 0, 0);
    if (view.picture && view.stretched) view.transparent = 0;
}

void CAlchemyDialog::Open(const CItemInstance* mortar) {
    RemoveAllWidgets();
    messageBar.Attach(game);
    CentreDialog(*this, kLayoutGroup);
    const bool small = IsSmallLayoutMode(game ? game->GetLayoutMode() : 0);
    background = game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    drawBackground = 1;

    CRecordHolder* const* frames =
        InterfacePictureSet(game, small ? kPictureCompactFrameSet : kPictureLargeFrameSet, 9);
    for (auto [picture, element] : {std::pair{&frame, 19u}, std::pair{&mortarFrame, 497u},
                                    std::pair{&ingredientFrame, 496u}, std::pair{&potionFrame, 495u}}) {
        Place(*picture, element);
        picture->frameSet = element == 19 ? frames : InterfacePictureSet(game, kPictureCompactFrameSet, 9);
        picture->transparent = 1;
        picture->sides = 0x0F;
    }
    PlaceHeading(title, 476, "Alchemy");
    PlaceHeading(mortarHeading, 492, "1. Select the mortar/pestle");
    PlaceHeading(ingredientHeading, 493,
                 small ? "2. Select the ingredients" : "2. Select the alchemy ingredients");
    PlaceHeading(potionHeading, 494, small ? "3. Select the potion" : "3. Select the potion to be created");

    craft::FillButtonPictures(game, arrowLeft, kPictureArrowButtons + 4);
    craft::FillButtonPictures(game, arrowRight, kPictureArrowButtons + 6);
    Place(mortarPicture, 475);
    Place(mortarPrevious, kMortarPrevious);
    mortarPrevious.SetPictures(arrowLeft, kMortarPrevious, 0);
    Place(mortarNext, kMortarNext);
    mortarNext.SetPictures(arrowRight, kMortarNext, 0);
    Place(mortarText, 477);
    craft::SetupDetailBox(mortarText);
    // The names stand on one line: the boxes are low, and the condition or the effects need the
    // lines below them.
    mortarText.oneLineTitle = 1;
    for (int i = 0; i < 3; ++i) {
        Place(slotPicture[i], static_cast<u32>(480 + 4 * i));
        Place(slotText[i], static_cast<u32>(481 + 4 * i));
        craft::SetupDetailBox(slotText[i]);
        slotText[i].oneLineTitle = 1;
        Place(slotPrevious[i], SlotCommand(i, false));
        slotPrevious[i].SetPictures(arrowLeft, SlotCommand(i, false), 0);
        Place(slotNext[i], SlotCommand(i, true));
        slotNext[i].SetPictures(arrowRight, SlotCommand(i, true), 0);
    }
    Place(potionList, kPotions);
    craft::SetupCraftList(potionList);
    craft::PlaceButton(*this, brewButton, brewPictures, kLayoutGroup, kBrew, kPictureOk, 3006);
    craft::PlaceButton(*this, closeButton, closePictures, kLayoutGroup, kClose, kPictureClose, 3007);

    state = kChoosing;
    skill = alchemist ? alchemist->GetAlchemySkill() : 0;
    BuildLists();
    mortarIndex = -1;
    for (size_t i = 0; i < mortars.size() && mortar; ++i)
        if (mortars[i].type == mortar->type) {
            mortarIndex = static_cast<int>(i);
            break;
        }
    for (int& slot : slots) slot = -1;
    ShowMortar();
    for (int i = 0; i < 3; ++i) ShowSlot(i);
    ShowPotions();
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CAlchemyDialog::BuildLists() {
    mortars.clear();
    ingredients.clear();
    if (!alchemist) return;
    for (CItemInstance* item : alchemist->GetCarriedItems()) {
        const CItemType* type = item ? item->type : nullptr;
        if (!type || (type->flags & kTypeLeftOut)) continue;
        if (type->itemClass == kItemAlchemy) {
            mortars.push_back({type, item, 1, type->name ? type->name : ""});
        } else if (type->itemClass == kItemIngredient) {
            auto same = std::find_if(ingredients.begin(), ingredients.end(),
                                     [&](const Entry& e) { return e.type == type; });
            if (same != ingredients.end())
                ++same->count;
            else
                ingredients.push_back({type, item, 1, type->name ? type->name : ""});
        }
    }
}

void CAlchemyDialog::ShowMortar() {
    const bool have = mortarIndex >= 0 && mortarIndex < static_cast<int>(mortars.size());
    if (have) {
        const Entry& e = mortars[static_cast<size_t>(mortarIndex)];
        CStr body;
        body.Format("Condition: %s", craft::ConditionWord(e.item->count, e.type->maxCondition));
        mortarText.SetText(e.name.c_str(), body.GetText(), 0, 0);
        ShowItemPicture(mortarPicture, e.type);
    } else {
        mortarText.SetText("", "", 0, 0);
        mortarPicture.SetPicture(nullptr, 1, 0, 0);
    }
    flags |= kFormRedrawAll;  // as for the ingredient slots: the text has no ground of its own
    mortarText.state |= kWidgetRedraw;
    mortarPicture.state |= kWidgetRedraw;
    mortarPrevious.EnablePen(mortarIndex > 0 ? 1 : 0);
    mortarNext.EnablePen(mortarIndex < static_cast<int>(mortars.size()) - 1 ? 1 : 0);
}

void CAlchemyDialog::ShowSlot(int slot) {
    const int index = slots[slot];
    const bool have = index >= 0 && index < static_cast<int>(ingredients.size());
    if (have && alchemist) {
        const Entry& e = ingredients[static_cast<size_t>(index)];
        CStr effects;
        if (e.type->effects)
            FormatEffectListText(effects, *e.type->effects, alchemist->GetRules(), kSourceIngredient, skill,
                                 false);
        effects.Replace("\r", ", ");
        effects.Replace("Unknown effect", "?");
        CStr name;
        name.Format(e.count > 1 ? "%s (%u)" : "%s", e.name.c_str(), static_cast<unsigned>(e.count));
        slotText[slot].SetText(name.GetText(), effects.GetText(), 0, 0);
        ShowItemPicture(slotPicture[slot], e.type);
    } else {
        slotText[slot].SetText("", "", 0, 0);
        slotPicture[slot].SetPicture(nullptr, 1, 0, 0);
    }
    // The text box draws no ground of its own: the dialog's background goes under the new text,
    // or it lands on the old one.
    flags |= kFormRedrawAll;
    slotText[slot].state |= kWidgetRedraw;
    slotPicture[slot].state |= kWidgetRedraw;
    slotPrevious[slot].EnablePen(index > -1 ? 1 : 0);
    slotNext[slot].EnablePen(index < static_cast<int>(ingredients.size()) - 1 ? 1 : 0);
}

void CAlchemyDialog::ShowPotions() {
    potionList.ResetItems();
    potionList.selection = -1;
    potionList.topRow = 0;
    const CItemType* types[3] = {};
    for (int i = 0; i < 3; ++i)
        if (slots[i] >= 0 && slots[i] < static_cast<int>(ingredients.size()))
            types[i] = ingredients[static_cast<size_t>(slots[i])].type;
    craft::DistinctSlotTypes(types);
    potions.clear();
    if (alchemist) {
        IAlchemist* player = alchemist;
        potions = craft::FindMatchingRecipes(
            alchemist->GetRecipes(), [player](const char* id) { return player->FindItemType(id); }, skill,
            types);
    }
    for (size_t i = 0; i < potions.size(); ++i)
        potionList.AddItemWithValue(potions[i].label.c_str(), static_cast<u32>(i));
    if (!potions.empty()) potionList.selection = 0;
    potionList.topRow = craft::FirstRowOfPage(potionList.selection, potionList.visibleRows);
    potionList.state |= kWidgetRedraw;
    UpdateMarks();
}

void CAlchemyDialog::UpdateMarks() {
    const int row = potionList.ValidSelection();
    const craft::CPotionChoice* choice =
        row >= 0 && row < static_cast<int>(potions.size()) ? &potions[static_cast<size_t>(row)] : nullptr;
    const bool show = choice && choice->recipe && choice->recipe->value <= skill && !choice->unidentified;
    for (int i = 0; i < 3; ++i) {
        marked[i] = false;
        const int index = slots[i];
        if (show && index >= 0 && index < static_cast<int>(ingredients.size())) {
            const CItemType* type = ingredients[static_cast<size_t>(index)].type;
            for (const CItemType* used : choice->ingredients) marked[i] = marked[i] || (used && used == type);
        }
        slotPicture[i].frame = marked[i] ? 1 : 0;
        slotPicture[i].frameSet = marked[i] ? InterfacePictureSet(game, kPictureListFrame, 9) : nullptr;
        slotPicture[i].state |= kWidgetRedraw;
    }
}

void CAlchemyDialog::ShowMessage(const char* text, u32 buttons, State next) {
    ShowMessageText(game, &messageText, text, buttons, &messageBar, this);
    OpenModal(&messageBar);
    state = next;
}

void CAlchemyDialog::Brew(bool confirmed) {
    const int row = potionList.ValidSelection();
    if (!alchemist || row < 0 || row >= static_cast<int>(potions.size())) return;
    const craft::CPotionChoice choice = potions[static_cast<size_t>(row)];
    if (!confirmed && craft::BrewNeedsConfirmation(choice, skill)) {
        PlayInterfaceSound(game, 1, 10);
        ShowMessage("Your alchemy skill seems too low to create this potion. Do you want to try it anyway?",
                    CButtonBar::kYes | CButtonBar::kNo, kQuery);
        return;
    }
    const CItemType* remembered[3] = {};
    for (int i = 0; i < 3; ++i)
        if (slots[i] >= 0 && slots[i] < static_cast<int>(ingredients.size()))
            remembered[i] = ingredients[static_cast<size_t>(slots[i])].type;
    // The ingredients go before the roll: a failed brew costs them too.
    for (const CItemType* used : choice.ingredients)
        if (used) alchemist->ConsumeItemOfType(*used);
    alchemist->AlchemyUseCounter() = craft::RaiseUseCounter(alchemist->AlchemyUseCounter());
    const CRuleContext& rules = alchemist->GetRules();
    CItemInstance* made = nullptr;
    if (rules.random && craft::RollAlchemy(*rules.random, skill, choice.recipe->value))
        made = ScaleRecipeEffect(*choice.recipe, *choice.potion, skill, rules.random);
    if (!made) {
        WidgetGameData().PlaySound("bsnd_alchemyfailed", 10);
        ShowMessage("You have failed to create the potion.", CButtonBar::kOk, kResult);
    } else {
        CStr text;
        text.Format("You have successfully created a potion of %s.",
                    made->type->name ? made->type->name : "");
        alchemist->ReceiveItem(made);
        ShowMessage(text.GetText(), CButtonBar::kOk, kResult);
        WidgetGameData().PlaySound("bsnd_fillpotion", 10);
    }
    flags |= kFormRedrawAll;
    BuildLists();
    for (int i = 0; i < 3; ++i) {
        slots[i] = -1;
        for (size_t k = 0; k < ingredients.size() && remembered[i]; ++k)
            if (ingredients[k].type == remembered[i]) slots[i] = static_cast<int>(k);
        ShowSlot(i);
    }
    ShowPotions();
    for (size_t i = 0; i < potions.size(); ++i)
        if (potions[i].recipe == choice.recipe) {
            potionList.selection = static_cast<i32>(i);
            potionList.topRow = craft::FirstRowOfPage(potionList.selection, potionList.visibleRows);
            break;
        }
    UpdateMarks();
}

u32 CAlchemyDialog::OnCommand(u32 command) {
    if (state != kChoosing) {
        const bool confirmed = state == kQuery && command == CButtonBar::kYes;
        state = kChoosing;
        CloseModal();
        ResetInputGuard();
        flags |= kFormRedrawAll;
        if (confirmed) Brew(true);
        return 0;
    }
    switch (command) {
    case kBrew: Brew(false); return 0;
    case kClose:
        PlayInterfaceSound(game, 1, 10);
        if (parent) parent->OnCommand(kClose);
        return 0;
    case kPotions:
        PlayInterfaceSound(game, 0, 10);
        UpdateMarks();
        return 0;
    case kMortarPrevious:
    case kMortarNext:
        PlayInterfaceSound(game, 0, 10);
        if (command == kMortarPrevious && mortarIndex > 0) --mortarIndex;
        if (command == kMortarNext && mortarIndex < static_cast<int>(mortars.size()) - 1) ++mortarIndex;
        ShowMortar();
        return 0;
    default: break;
    }
    for (int i = 0; i < 3; ++i) {
        const bool previous = command == SlotCommand(i, false);
        if (!previous && command != SlotCommand(i, true)) continue;
        PlayInterfaceSound(game, 0, 10);
        if (previous && slots[i] > -1) --slots[i];
        if (!previous && slots[i] < static_cast<int>(ingredients.size()) - 1) ++slots[i];
        ShowSlot(i);
        ShowPotions();
        return 0;
    }
    return 0;
}
