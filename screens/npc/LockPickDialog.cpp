#include "screens/npc/LockPickDialog.h"

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

namespace {

void FillPair(CWidgetHost* game, CRecordHolder* (&set)[3], u16 first) {
    set[0] = game ? game->GetInterfacePicture(first) : nullptr;
    set[1] = game ? game->GetInterfacePicture(static_cast<u16>(first + 1)) : nullptr;
    set[2] = nullptr;
}

}  // namespace

CLockPickDialog::CLockPickDialog() = default;

CLockPickDialog::~CLockPickDialog() = default;

void CLockPickDialog::Place(CWidget& widget, u32 element) {
    widget.Attach(this);
    widget.SetLayoutRect(FindLayoutRect(game, kLayoutGroup, element));
    if (widget.state & kWidgetEnabled)
        AddWidget(&widget);
}

void CLockPickDialog::Open(ILockPicker* newPicker, ILockTarget* newTarget, CRandom* newRandom) {
    picker = newPicker;
    target = newTarget;
    random = newRandom;
    opened = false;
    failed = {};
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    const CViewRect view = GameViewRect(game);
    x = static_cast<u32>(std::max(0, view.x + (view.width - static_cast<i32>(width)) / 2));
    y = static_cast<u32>(std::max(0, view.y + (view.height - static_cast<i32>(height)) / 2));
    const bool small = IsSmallLayoutMode(game ? game->GetLayoutMode() : 0);
    background = game ? game->GetInterfacePicture(kPictureDialogBackground) : nullptr;
    drawBackground = 1;

    Place(frame, 19);
    frame.frameSet = InterfacePictureSet(game, small ? kPictureCompactFrameSet : kPictureLargeFrameSet, 9);
    frame.transparent = 1;
    frame.sides = 0x0F;
    Place(title, 16);
    title.font = 1;
    title.textColour = 0xFFFFFF;
    title.backgroundColour = 0x585858;
    title.outline = 1;
    title.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
    title.SetText("Picking a lock");
    Place(pickPicture, 100);
    Place(pickText, 105);
    pickText.Setup(1, 0xFFFFFF, 0xFFFFFF, 0xC8C8C8, 0x161616, 0, 1, 1, 0xFFFFFF);
    pickText.SetText("", "", 0, 0);
    FillPair(game, previousPictures, kPictureArrowButtons + 4);
    Place(previousButton, kPrevious);
    previousButton.SetPictures(previousPictures, kPrevious, 1000);
    FillPair(game, nextPictures, kPictureArrowButtons + 6);
    Place(nextButton, kNext);
    nextButton.SetPictures(nextPictures, kNext, 1002);
    Place(result, 106);
    result.font = 1;
    result.textColour = 0xC8C8C8;
    result.backgroundColour = 0x161616;
    result.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
    result.SetText("");
    FillPair(game, pickPictures, kPictureTextButton);
    Place(pickButton, kPick);
    pickButton.SetPicturesAndText(pickPictures, "Pick", kPick, 3006);
    FillPair(game, closePictures, kPictureCancel);
    Place(closeButton, kClose);
    closeButton.SetPictures(closePictures, kClose, 3007);

    selection = 0;
    CollectLockPicks();
    ShowPickCondition();
    ShowChance();
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CLockPickDialog::CollectLockPicks() {
    picks.clear();
    if (!picker)
        return;
    for (CItemInstance* item : picker->GetCarriedItems())
        if (item && craft::IsUsablePick(*item))
            picks.push_back({item, item->type->name ? item->type->name : ""});
    if (selection >= PickCount())
        selection = PickCount() - 1;
}

void CLockPickDialog::ShowPickCondition() {
    if (selection < 0 || selection >= PickCount()) {
        pickText.SetText("", "", 0, 0);
        pickPicture.SetPicture(nullptr, 1, 0, 0);
    } else {
        const PickEntry& entry = picks[static_cast<size_t>(selection)];
        CStr body;
        body.Format("Condition: %s", craft::ConditionWord(entry.item->count, entry.item->type->maxCondition));
        pickText.SetText(entry.name.c_str(), body.GetText(), 0, 0);
        const char* pictureName = entry.item->type->texts[1];
        pickPicture.SetPicture(game && pictureName ? game->FindTexturePicture(pictureName) : nullptr, 1, 0, 0);
    }
    pickText.state |= kWidgetRedraw;
    pickPicture.state |= kWidgetRedraw;
    previousButton.EnablePen(selection >= 1 ? 1 : 0);
    nextButton.EnablePen(selection < PickCount() - 1 ? 1 : 0);
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
    if (selection < 0 || selection >= PickCount() || !picker || !target || !random)
        return 0;
    CItemInstance* pick = picks[static_cast<size_t>(selection)].item;
    const u16 word = target->GetLockWord();
    craft::CPickAttempt attempt =
        craft::AttemptLockPick(*random, *pick, picker->GetLockpickSkill(), word, picker->LockpickUseCounter());
    if (attempt.pickLeft) {
        picks.erase(picks.begin() + selection);
        if (selection >= PickCount())
            selection = PickCount() - 1;
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
        if (command == kPrevious && selection > 0)
            --selection;
        if (command == kNext && selection < PickCount() - 1)
            ++selection;
        ShowPickCondition();
        return 0;
    case kPick:
        return Pick();
    case kClose:
        PlayInterfaceSound(game, 1, 10);
        return parent ? parent->OnCommand(kClose) : 0;
    default:
        return 0;
    }
}

u32 CLockPickDialog::OnTick(u32 tick) {
    if (failed.Expire(plat::TickCount()))
        ShowChance();
    return CForm::OnTick(tick);
}
