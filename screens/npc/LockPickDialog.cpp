#include "screens/npc/LockPickDialog.h"

#include "screens/npc/CraftWidgets.h"

#include "core/LayoutTable.h"
#include "core/Str.h"
#include "data/ItemType.h"
#include "platform/Clock.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetGameData.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

CLockPickDialog::CLockPickDialog() = default;

CLockPickDialog::~CLockPickDialog() = default;

void CLockPickDialog::Place(CWidget& widget, u32 element) {
    craft::PlaceWidget(*this, widget, kLayoutGroup, element);
}

void CLockPickDialog::Open(ILockPicker* newPicker, ILockTarget* newTarget, CRandom* newRandom) {
    picker = newPicker;
    target = newTarget;
    random = newRandom;
    opened = false;
    failed = {};
    brokenShown = false;
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    const CViewRect view = GameViewRect(game);
    x = static_cast<u32>(std::max(0, view.x + (view.width - static_cast<i32>(width)) / 2));
    y = static_cast<u32>(std::max(0, view.y + (view.height - static_cast<i32>(height)) / 2));
    craft::SetupDialogBackdrop(*this, frame, kLayoutGroup, kPictureDialogBackground);
    Place(title, 16);
    craft::SetupTitle(title, "Picking a lock", 0x585858);
    Place(pickPicture, 100);
    Place(pickText, 105);
    craft::SetupDetailBox(pickText);
    pickText.SetText("", "", 0, 0);
    craft::PlaceButton(*this, previousButton, previousPictures, kLayoutGroup, kPrevious,
                       kPictureArrowButtons + 4, 1000);
    craft::PlaceButton(*this, nextButton, nextPictures, kLayoutGroup, kNext, kPictureArrowButtons + 6, 1002);
    Place(result, 106);
    result.font = 1;
    result.textColour = 0xC8C8C8;
    result.backgroundColour = 0x161616;
    result.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
    result.SetText("");
    craft::FillButtonPictures(game, pickPictures, kPictureTextButton);
    Place(pickButton, kPick);
    pickButton.SetPicturesAndText(pickPictures, "Pick", kPick, 3006);
    craft::PlaceButton(*this, closeButton, closePictures, kLayoutGroup, kClose, kPictureCancel, 3007);

    selection = 0;
    CollectLockPicks();
    ShowPickCondition();
    ShowChance();
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CLockPickDialog::CollectLockPicks() {
    picks.clear();
    if (!picker) return;
    for (CItemInstance* item : picker->GetCarriedItems())
        if (item && craft::IsUsablePick(*item))
            picks.push_back({item, item->type->name ? item->type->name : ""});
    if (selection >= PickCount()) selection = PickCount() - 1;
}

void CLockPickDialog::ShowPickCondition() {
    ShowPick(selection >= 0 && selection < PickCount() ? &picks[static_cast<size_t>(selection)] : nullptr);
    previousButton.EnablePen(selection >= 1 ? 1 : 0);
    nextButton.EnablePen(selection < PickCount() - 1 ? 1 : 0);
}

void CLockPickDialog::ShowPick(const PickEntry* shown) {
    if (!shown) {
        pickText.SetText("", "", 0, 0);
        pickPicture.SetPicture(nullptr, 1, 0, 0);
    } else {
        const PickEntry& entry = *shown;
        CStr body;
        body.Format("Condition: %s", craft::ConditionWord(entry.item->count, entry.item->type->maxCondition));
        pickText.SetText(entry.name.c_str(), body.GetText(), 0, 0);
        const char* pictureName = entry.item->type->texts[1];
        pickPicture.SetPicture(game && pictureName ? game->FindTexturePicture(pictureName) : nullptr, 1, 0,
                               0);
    }
    pickText.state |= kWidgetRedraw;
    pickPicture.state |= kWidgetRedraw;
}

int CLockPickDialog::SkillWith(const CItemInstance* pick) const {
    return craft::PickSkill(picker ? picker->GetLockpickSkill() : 0, pick ? pick->count : 0);
}

void CLockPickDialog::ShowChance() {
    const bool have = selection >= 0 && selection < PickCount();
    const CItemInstance* pick = have ? picks[static_cast<size_t>(selection)].item : nullptr;
    const int difficulty = target ? craft::LockDifficulty(target->GetLockWord()) : 0;
    CStr text;
    text.Format("Chance: %s", craft::LockChanceWord(have, SkillWith(pick), difficulty));
    result.SetText(text.GetText());
}

u32 CLockPickDialog::Pick() {
    if (selection < 0 || selection >= PickCount() || !picker || !target || !random) return 0;
    const PickEntry tried = picks[static_cast<size_t>(selection)];
    CItemInstance* pick = tried.item;
    const u16 word = target->GetLockWord();
    craft::CPickAttempt attempt = craft::AttemptLockPick(*random, *pick, picker->GetLockpickSkill(), word,
                                                         picker->LockpickUseCounter());
    if (attempt.pickLeft) {
        picks.erase(picks.begin() + selection);
        if (selection >= PickCount()) selection = PickCount() - 1;
    }
    ShowPickCondition();
    switch (attempt.result) {
    case craft::PickResult::Opened:
        opened = true;
        picker->ShowGameMessage("You have successfully picked the lock.");
        WidgetGameData().PlaySound("bsnd_lockout", 10);
        target->SetLockWord(craft::ClearLockLevel(word));
        return parent ? parent->OnCommand(kClose) : 0;
    case craft::PickResult::Trapped:
        WidgetGameData().PlaySound("bsnd_lockpicktry", 10);
        return parent ? parent->OnCommand(kPick) : 0;
    case craft::PickResult::Failed:
        WidgetGameData().PlaySound("bsnd_lockpicktry", 10);
        result.SetText("Failed");
        // A pick that broke in the attempt has left the list at once, but the player sees it as
        // "broken" while "Failed" shows; the next pick shows after.
        brokenShown = attempt.pickLeft;
        if (brokenShown) ShowPick(&tried);
        failed.Show(plat::TickCount());
        return 0;
    }
    return 0;
}

u32 CLockPickDialog::OnCommand(u32 command) {
    switch (command) {
    case kPrevious:
    case kNext:
        PlayInterfaceSound(game, 0, 10);
        if (command == kPrevious && selection > 0) --selection;
        if (command == kNext && selection < PickCount() - 1) ++selection;
        ShowPickCondition();
        return 0;
    case kPick: return Pick();
    case kClose: PlayInterfaceSound(game, 1, 10); return parent ? parent->OnCommand(kClose) : 0;
    default: return 0;
    }
}

u32 CLockPickDialog::OnTick(u32 tick) {
    if (failed.Expire(plat::TickCount())) {
        ShowChance();
        if (brokenShown) ShowPickCondition();
        brokenShown = false;
    }
    return CForm::OnTick(tick);
}
