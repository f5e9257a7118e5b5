#include "screens/panels/InventoryPage.h"

#include <algorithm>

#include "core/LayoutTable.h"
#include "core/Str.h"
#include "data/ItemText.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "platform/Clock.h"
#include "screens/frontend/FrontendWidgets.h"
#include "screens/panels/CharacterList.h"
#include "screens/panels/ItemUse.h"
#include "screens/panels/PanelScreen.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"
#include "world/Player.h"

namespace {

struct GridShape {
    u8 modes[2];
    i32 cellWidth, cellHeight, columns, rows;
};
const GridShape kGrids[] = {
    {{2, 2}, 40, 44, 4, 5},   {{3, 3}, 40, 40, 6, 4},   {{4, 4}, 50, 50, 4, 5},   {{5, 8}, 40, 40, 5, 2},
    {{6, 6}, 40, 40, 3, 5},   {{7, 7}, 40, 40, 5, 3},   {{9, 9}, 60, 57, 5, 7},   {{10, 10}, 60, 57, 6, 4},
    {{11, 11}, 60, 57, 6, 3}, {{14, 14}, 64, 57, 7, 7}, {{15, 15}, 64, 60, 7, 8}, {{16, 16}, 40, 40, 6, 5},
};

GridShape GridFor(u32 mode) {
    for (const GridShape& g : kGrids)
        if (g.modes[0] == mode || g.modes[1] == mode) return g;
    return {{0, 0}, 40, 40, 4, 4};
}

bool SmallestLayout(u32 mode) { return mode == 5 || mode == 7 || mode == 8; }

void SetButtonPictures(CForm& form, CBitmapButton& button, u32 element, u16 picture) {
    PlacePictureButton(form, button, CInventoryPage::kLayoutGroup, element, picture,
                       static_cast<u16>(picture + 1), true);
}

}  // namespace

u32 CInventoryPage::Now() const { return plat::TickCount(); }

void CInventoryPage::Open(CPanelScreen& panel) {
    panel_ = &panel;
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    drawBackground = 0;
    const u32 mode = game ? game->GetLayoutMode() : 15;
    const bool large = IsLargeLayoutMode(mode);
    CRecordHolder* const* frameSet =
        InterfacePictureSet(game, large ? kPictureLargeFrameSet : kPictureCompactFrameSet, 9);
    const u32 frameElements[3] = {557, 305, 564};
    for (int i = 0; i < 3; ++i) {
        if (!PlaceWidget(*this, frames[i], kLayoutGroup, frameElements[i])) continue;
        frames[i].frameSet = frameSet;
        frames[i].transparent = 1;
        frames[i].sides = 0x0F;
    }
    if (PlaceWidget(*this, list, kLayoutGroup, kList)) {
        // The grid never reaches past the list's own rectangle (onto the filter tabs beside it):
        // the cells stand apart by the width and height of the list frame's pieces.
        const GridShape grid = GridFor(mode);
        CRecordHolder* const* listFrame = InterfacePictureSet(game, kPictureListFrame, 9);
        i32 gapX = 0, gapY = 0;
        if (listFrame) PictureSizeOf(listFrame[0], gapX, gapY);
        const i32 columns =
            std::max<i32>(1, std::min<i32>(grid.columns, (list.w + gapX) / (grid.cellWidth + gapX)));
        const i32 rows = std::max<i32>(1, std::min<i32>(grid.rows, (list.h + gapY) / (grid.cellHeight + gapY)));
        list.SetEntryLayout(InterfacePictureSet(game, kPictureCompactFrameSet, 9), grid.cellWidth,
                            grid.cellHeight, columns, rows, 10, 0, listFrame, 0);
        list.background = 0x182028;
    }
    if (PlaceWidget(*this, paperDoll, kLayoutGroup, kPaperDoll)) paperDoll.Setup();
    PlaceWidget(*this, description, kLayoutGroup, 322);
    SetButtonPictures(*this, detailOn, kDetailOn, kPictureItemActions + 6);
    SetButtonPictures(*this, detailOff, kDetailOff, kPictureItemActions + 6);
    detailOff.pictures[0] = game ? game->GetInterfacePicture(kPictureItemActions + 7) : nullptr;
    SetButtonPictures(*this, textUp, kTextUp, kPictureArrowButtons);
    SetButtonPictures(*this, textDown, kTextDown, kPictureArrowButtons + 2);
    SetButtonPictures(*this, pageUp, kPageUp, kPictureListPageUp);
    SetButtonPictures(*this, pageDown, kPageDown, kPictureListPageDown);
    SetButtonPictures(*this, takeButton, kTake, kPictureItemActions);
    SetButtonPictures(*this, dropButton, kDrop, kPictureItemActions + 2);
    SetButtonPictures(*this, useButton, kUse, kPictureItemActions + 4);
    for (int f = 0; f < kInventoryFilterCount; ++f)
        SetButtonPictures(*this, filters[f], kFilterAll + f, static_cast<u16>(kPictureItemFilters + 2 * f));

    lists.ShowContainer(panel.showContainer != 0);
    lists.SetFilter(static_cast<int>(panel.state.itemFilter));
    ApplyDetailMode();
    Refresh(false);
    ResetInputGuard();
}

void CInventoryPage::ShowList() {
    std::vector<CItemListStack> stacks;
    for (const CInventoryEntry& entry : lists.GetEntries()) stacks.push_back({entry.item, entry.count, entry.flags});
    list.ShowStacks(stacks);
    list.Select(lists.GetSelection());
}

void CInventoryPage::Refresh(bool keep) {
    const i32 first = list.first;
    lists.Refresh(keep);
    if (!keep) list.first = 0;
    ShowList();
    if (keep && first < list.Count()) {
        list.first = first;
        list.Select(lists.GetSelection());
    }
    list.state |= kWidgetRedraw;
    lastTapIndex = -1;
    UpdateListButtons();
    UpdateFilterButtons();
    ShowDescription();
}

void CInventoryPage::UpdateListButtons() {
    pageUp.EnablePen(list.first > 0 ? 1 : 0);
    pageDown.EnablePen(list.first + list.PageSize() < list.Count() ? 1 : 0);
}

void CInventoryPage::UpdateFilterButtons() {
    const int current = lists.GetFilter();
    for (int f = 0; f < kInventoryFilterCount; ++f) {
        filters[f].EnablePen(lists.IsFilterEnabled(f) ? 1 : 0);
        SetLatched(filters[f], f == current);
    }
}

void CInventoryPage::UpdateTextButtons() {
    const bool hidden = (panel_ && panel_->state.detailMode == 0 && ShowsPlayerItems()) ||
                        (description.GetPageCount() <= 1 && description.currentPage == 0);
    textUp.Show(hidden ? 0 : 1);
    textDown.Show(hidden ? 0 : 1);
    textUp.EnablePen(!hidden && description.currentPage > 0 ? 1 : 0);
    textDown.EnablePen(!hidden && description.currentPage + 1 < description.GetPageCount() ? 1 : 0);
}

void CInventoryPage::UpdateUseButton() {
    const CInventoryEntry* entry = lists.GetSelectedEntry();
    const bool shown = ShowsPlayerItems() && entry && entry->item && entry->item->type &&
                       ShowsUseButton(*entry->item->type);
    useButton.Show(shown ? 1 : 0);
    useButton.EnablePen(shown ? 1 : 0);
}

void CInventoryPage::ShowDescription() {
    messageShown = 0;
    const CInventoryEntry* entry = lists.GetSelectedEntry();
    const u32 mode = game ? game->GetLayoutMode() : 15;
    if (!entry || !entry->item || !entry->item->type || !panel_) {
        description.SetText("", "", 0, 0);
    } else {
        const CItemType& type = *entry->item->type;
        const CRuleContext& rules = panel_->Rules();
        CStr heading, body;
        FormatItemName(type, entry->item, false, rules, heading);
        if (panel_->state.detailMode == 1 || mode == 9 || mode == 14 || mode == 15 || mode == 16) {
            FormatItemDescription(type, entry->item, rules, body, true);
            ToNumberGlyphs(body);
        }
        const bool enchanted = type.itemClass >= kItemWeapon && type.itemClass <= kItemAccessory &&
                               (entry->item->effects || type.effects);
        description.SetText(heading.GetText(), body.GetText(), (type.flags & 0x04) ? 1 : 0, enchanted ? 1 : 0);
    }
    description.state |= kWidgetRedraw;
    if (IsSmallLayoutMode(mode)) {
        detailOn.state |= kWidgetRedraw;
        detailOff.state |= kWidgetRedraw;
    }
    UpdateUseButton();
    UpdateTextButtons();
}

void CInventoryPage::ShowMessage(const char* text) {
    description.SetText("", text, 0, 0);
    description.state |= kWidgetRedraw;
    UpdateTextButtons();
    messageShown = 1;
    messageUntil = Now() + kInventoryMessageMs;
}

void CInventoryPage::ApplyDetailMode() {
    if (!panel_) return;
    const u32 mode = game ? game->GetLayoutMode() : 15;
    const bool detail = panel_->state.detailMode == 1 || !ShowsPlayerItems();
    description.SetLayoutRect(FindLayoutRect(game, kLayoutGroup, 322));
    if (detail) {
        // The box grows over the paper doll, down to its own bottom edge.
        const u8* doll = FindLayoutRect(game, kLayoutGroup, kPaperDoll);
        if (doll && (description.state & kWidgetEnabled) && !SmallestLayout(mode) && mode != 16 &&
            paperDoll.y <= description.y) {
            const u16 bottom = static_cast<u16>(description.y + description.h);
            description.SetRect(paperDoll.x, paperDoll.y, paperDoll.w, static_cast<u16>(bottom - paperDoll.y));
        }
        if (mode != 16) paperDoll.Show(0);
    } else {
        if (SmallestLayout(mode)) description.Show(0);
        paperDoll.Show(1);
    }
    detailOn.Show(detail ? 0 : 1);
    detailOff.Show(detail ? 1 : 0);
    const u32 titleFont = IsSmallLayoutMode(mode) ? 1 : 2;
    const i32 margin = mode == 5 || mode == 8 ? 0 : IsSmallLayoutMode(mode) ? 1 : 2;
    description.Setup(titleFont, 0xFFFFFF, 0xFF6464, 0xC8C8C8, 0x101418, 1, margin + 2, margin, 0x64C8C8);
    flags |= kFormRedrawAll;
    ShowDescription();
}

void CInventoryPage::SetFilter(int filter) {
    if (panel_) panel_->state.itemFilter = static_cast<u32>(filter);
    lists.SetFilter(filter);
    Refresh(false);
}

void CInventoryPage::AfterChange(const CStr& message, const char* sound) {
    CStr text(message);
    ToNumberGlyphs(text);
    ShowMessage(text.GetText());
    if (panel_) {
        if (sound) panel_->PlayNamedSound(sound);
        panel_->UpdateGoldAndLoad();
    }
    lastTapIndex = -1;
    UpdateFilterButtons();
    UpdateListButtons();
}

void CInventoryPage::Take() { ShowTransfer(lists.Take()); }

void CInventoryPage::Drop() { ShowTransfer(lists.Drop()); }

void CInventoryPage::ShowTransfer(const CInventoryOutcome& outcome) {
    switch (outcome.kind) {
    case CInventoryOutcome::kNothing: return;
    case CInventoryOutcome::kSwitchedList:
        if (panel_) panel_->showContainer = lists.IsShowingContainer() ? 1 : 0;
        PlayInterfaceSound(game, 1, 10);
        ApplyDetailMode();
        Refresh(false);
        return;
    case CInventoryOutcome::kDone:
        ShowList();
        list.state |= kWidgetRedraw;
        AfterChange(outcome.message, outcome.sound);
        return;
    }
}

void CInventoryPage::Use() {
    const CInventoryEntry* entry = lists.GetSelectedEntry();
    if (!panel_ || !ShowsPlayerItems() || !entry || !entry->item || !entry->item->type) {
        useButton.Show(0);
        return;
    }
    CItemInstance* item = entry->item;
    const CItemType& type = *item->type;
    const CItemUseOutcome outcome = ::UseItem(type, panel_->InDanger());
    switch (outcome.kind) {
    case CItemUseOutcome::kNothing: return;
    case CItemUseOutcome::kRefusedDanger:
        ShowMessage(outcome.message.GetText());
        PlayInterfaceSound(game, 0, 10);
        return;
    case CItemUseOutcome::kRefusedUnusable:
        Refresh(true);
        ShowMessage(outcome.message.GetText());
        return;
    case CItemUseOutcome::kOpenReader: {
        CStr notice;
        if (outcome.readerKind == kBookKindBook && type.itemClass == kItemBook)
            notice = LearnFromBook(panel_->Player(), type, panel_->Rules());
        else if (outcome.readerKind == kBookKindOther)
            notice = LearnFromSpellbook(panel_->Player(), type, panel_->Rules());
        panel_->OpenReader(type, static_cast<u32>(outcome.readerKind), notice.GetText());
        return;
    }
    case CItemUseOutcome::kOpenAlchemy: panel_->OpenAlchemy(item); return;
    case CItemUseOutcome::kOpenRepair: panel_->OpenRepair(item); return;
    }
}

void CInventoryPage::ToggleEquip() {
    const CInventoryEntry* entry = lists.GetSelectedEntry();
    if (!panel_ || !entry || !entry->item) return;
    CItemInstance* item = entry->item;
    const CEquipOutcome outcome = ::ToggleEquip(panel_->Player(), item, (entry->flags & kInvEntryForbidden) != 0,
                                                panel_->InDanger(), panel_->state.detailMode == 1);
    switch (outcome.kind) {
    case CEquipOutcome::kNothing: return;
    case CEquipOutcome::kRefused:
        Refresh(true);
        ShowMessage(outcome.message.GetText());
        PlayInterfaceSound(game, 0, 10);
        return;
    case CEquipOutcome::kAskHand: panel_->AskHand(); return;
    case CEquipOutcome::kDone:
        Refresh(true);
        for (size_t i = 0; i < lists.GetEntries().size(); ++i)
            if (lists.GetEntries()[i].item == item) lists.Select(static_cast<int>(i));
        list.Select(lists.GetSelection());
        AfterChange(outcome.message, "bsnd_wear");
        return;
    }
}

void CInventoryPage::WieldInHand(bool left) {
    const CInventoryEntry* entry = lists.GetSelectedEntry();
    if (!panel_ || !entry || !entry->item) return;
    const CEquipOutcome outcome = ::WieldInHand(panel_->Player(), entry->item, left);
    if (outcome.kind != CEquipOutcome::kDone) return;
    Refresh(true);
    AfterChange(outcome.message, "bsnd_wear");
}

void CInventoryPage::OnListTap() {
    const int index = list.selected;
    lists.Select(index);
    const u32 now = Now();
    const bool doubleTap = IsDoubleTap(lastTapIndex, lastTapTime, index, now);
    const InventoryTap tap = DecideListTap(!ShowsPlayerItems(), list.equipSignal != 0, doubleTap,
                                           list.useSignal != 0, useButton.IsShown());
    switch (tap) {
    case InventoryTap::kEquip: ToggleEquip(); return;
    case InventoryTap::kTake:
        lastTapIndex = -1;
        Take();
        return;
    case InventoryTap::kUse:
        lastTapIndex = -1;
        Use();
        return;
    case InventoryTap::kSelect:
    case InventoryTap::kSelectAndUse:
        PlayInterfaceSound(game, 0, 10);
        lastTapIndex = index;
        lastTapTime = now;
        ShowDescription();
        if (tap == InventoryTap::kSelectAndUse) Use();
        return;
    }
}

void CInventoryPage::OnPaperDollTap() {
    if (!panel_) return;
    const int slot = paperDoll.selectedSlot;
    CItemInstance* item =
        slot >= 1 && slot <= kEquipmentSlotCount ? panel_->Player().equipment[slot] : nullptr;
    if (!item || !item->type) return;
    SetFilter(PaperDollFilter(item->type->itemClass));
    for (size_t i = 0; i < lists.GetEntries().size(); ++i)
        if (lists.GetEntries()[i].item == item) lists.Select(static_cast<int>(i));
    list.Select(lists.GetSelection());
    ShowDescription();
}

u32 CInventoryPage::OnCommand(u32 command) {
    switch (command) {
    case kList: OnListTap(); break;
    case kTake: Take(); break;
    case kDrop: Drop(); break;
    case kPaperDoll:
        PlayInterfaceSound(game, 0, 10);
        OnPaperDollTap();
        break;
    case kUse:
        PlayInterfaceSound(game, 0, 10);
        Use();
        break;
    case kPageDown:
    case kPageUp:
        if (command == kPageDown)
            list.PageDown();
        else
            list.PageUp();
        lists.Select(list.selected);
        UpdateListButtons();
        list.state |= kWidgetRedraw;
        ShowDescription();
        PlayInterfaceSound(game, 0, 10);
        break;
    case kDetailOff:
    case kDetailOn:
        if (panel_) panel_->state.detailMode = command == kDetailOn ? 1 : 0;
        PlayInterfaceSound(game, 0, 10);
        ApplyDetailMode();
        break;
    case kTextUp:
    case kTextDown:
        PlayInterfaceSound(game, 0, 10);
        if (command == kTextUp && description.currentPage > 0) --description.currentPage;
        if (command == kTextDown && description.currentPage + 1 < description.GetPageCount())
            ++description.currentPage;
        description.state |= kWidgetRedraw;
        flags |= kFormRedrawAll;
        UpdateTextButtons();
        break;
    default:
        if (command >= kFilterAll && command < kFilterAll + kInventoryFilterCount) {
            PlayInterfaceSound(game, 1, 10);
            SetFilter(static_cast<int>(command - kFilterAll));
        }
        break;
    }
    return 0;
}

void CInventoryPage::ExpireMessage() {
    // A signed difference, so a wrapping millisecond counter ends a message as it should.
    if (messageShown && static_cast<i32>(Now() - messageUntil) > 0) ShowDescription();
}
