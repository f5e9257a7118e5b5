#include "screens/npc/EnchantDialog.h"

#include "screens/npc/CraftWidgets.h"

#include "core/LayoutTable.h"
#include "core/Str.h"
#include "data/Effect.h"
#include "data/EffectText.h"
#include "data/ItemText.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "display/FontSet.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr u32 kWhite = 0xFFFFFF;
constexpr u32 kDark = 0x161616;
constexpr u32 kGrey = 0xC8C8C8;

}  // namespace

CEnchantDialog::CEnchantDialog() = default;

CEnchantDialog::~CEnchantDialog() = default;

int CEnchantDialog::Count() const { return list ? list->Count() : 0; }

void CEnchantDialog::Place(CWidget& widget, u32 element) {
    craft::PlaceWidget(*this, widget, kLayoutGroup, element);
}

void CEnchantDialog::PlaceLabel(CTextLabel& label, u32 element, const char* text, u32 alignment) {
    Place(label, element);
    label.font = alignment == CTextLabel::kAlignCentre ? 1 : 0;
    label.textColour = alignment == CTextLabel::kAlignCentre ? kWhite : kGrey;
    label.backgroundColour = kDark;
    label.outline = alignment == CTextLabel::kAlignCentre ? 1 : 0;
    label.alignment = alignment | CTextLabel::kAlignMiddle;
    label.SetText(text);
}

void CEnchantDialog::Open(const CNpc* npc, CItemInstance* target, int limit) {
    RemoveAllWidgets();
    messageBar.Attach(game);
    GetLayoutSize(game, kLayoutGroup, width, height);
    x = 0;
    y = 0;
    const u32 mode = game ? game->GetLayoutMode() : 0;
    const bool small = IsSmallLayoutMode(mode);
    background = game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    drawBackground = 1;

    Place(frame, 19);
    frame.frameSet = InterfacePictureSet(game, small ? kPictureCompactFrameSet : kPictureLargeFrameSet, 9);
    frame.transparent = 1;
    frame.sides = 0x0F;
    for (auto [panel, element] : {std::pair{&leftPanel, 569u}, std::pair{&rightPanel, 570u}}) {
        Place(*panel, element);
        panel->frameSet = InterfacePictureSet(game, kPictureCompactFrameSet, 9);
        panel->transparent = 1;
        panel->sides = 0x0F;
    }
    PlaceLabel(title, 16, "Enchant", CTextLabel::kAlignCentre);
    PlaceLabel(itemLabel, 280, "Item:", CTextLabel::kAlignLeft);
    PlaceLabel(itemName, 277, "", CTextLabel::kAlignLeft);
    PlaceLabel(storageLabel, 249, "Available enchant storage:", CTextLabel::kAlignLeft);
    PlaceLabel(storageValue, 250, "", CTextLabel::kAlignLeft);
    PlaceLabel(priceLabel, 284, "Price:", CTextLabel::kAlignLeft);
    PlaceLabel(priceValue, 285, "", CTextLabel::kAlignLeft);
    PlaceLabel(goldLabel, 286, "Your gold:", CTextLabel::kAlignLeft);
    PlaceLabel(goldValue, 22, "", CTextLabel::kAlignLeft);
    PlaceLabel(listLabel, 255, "Enchantments:", CTextLabel::kAlignLeft);

    Place(entriesList, kList);
    craft::SetupCraftList(entriesList);

    craft::FillButtonPictures(game, textPictures, kPictureTextButton);
    Place(addButton, kAdd);
    addButton.SetPicturesAndText(textPictures, "Add", kAdd, 0);
    Place(modifyButton, kModify);
    modifyButton.SetPicturesAndText(textPictures, "Modify", kModify, 0);
    Place(removeButton, kRemove);
    removeButton.SetPicturesAndText(textPictures, "Remove", kRemove, 0);
    craft::PlaceButton(*this, okButton, okPictures, kLayoutGroup, kOk, kPictureOk, 3006);
    craft::PlaceButton(*this, cancelButton, cancelPictures, kLayoutGroup, kCancel, kPictureCancel, 3007);

    state = kEditing;
    enchanter = npc;
    item = target;
    source = item && item->type ? item->type->GetEffectSource() : 0;
    list = std::make_unique<CEffectList>();
    edited.reset();
    capacity = craft::EnchantCapacity(item && item->type ? item->type->enchantCapacity : 0, limit);
    totals = {};
    totals.available = capacity;
    for (CTextLabel* label : {&priceLabel, &priceValue, &goldLabel, &goldValue})
        label->Show(enchanter ? 1 : 0);

    CStr name;
    if (item && item->type && host) FormatItemName(*item->type, item, false, host->GetRules(), name);
    itemName.SetText(name.GetText());
    RefillList();
    UpdateTotals();
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CEnchantDialog::RefillList() {
    entriesList.ResetItems();
    entriesList.selection = -1;
    entriesList.topRow = 0;
    if (!list || !host) return;
    const u32 mode = game ? game->GetLayoutMode() : 0;
    for (int i = 0; i < list->Count(); ++i) {
        CStr text;
        FormatEffectText(*list->At(i), host->GetRules(), source, list->At(i)->amount, text,
                         IsSmallLayoutMode(mode), mode == 5 || mode == 8);
        entriesList.AddItemWithValue(text.GetText(), static_cast<u32>(i));
    }
    if (list->Count() > 0) entriesList.selection = 0;
    entriesList.topRow = craft::FirstRowOfPage(entriesList.selection, entriesList.visibleRows);
    entriesList.state |= kWidgetRedraw;
}

void CEnchantDialog::UpdateTotals() {
    if (!list || !host) return;
    const int level = enchanter ? host->GetPriceLevel(*enchanter) : 10;
    totals =
        craft::ComputeEnchantTotals(*list, host->GetRules(), source, capacity, enchanter != nullptr, level);
    list->value = static_cast<u32>(totals.gold < 0 ? 0 : totals.gold);

    CStr text;
    text.Format("%d/%d", totals.available, capacity);
    ToNumberGlyphs(text);
    storageValue.SetText(text.GetText());
    craft::FormatMoneyText(totals.price, text);
    text.AppendChar(9);
    ToNumberGlyphs(text);
    priceValue.SetText(text.GetText());
    craft::FormatMoneyText(host->GetGold(), text);
    text.AppendChar(9);
    ToNumberGlyphs(text);
    goldValue.SetText(text.GetText());
    flags |= kFormRedrawAll;
}

void CEnchantDialog::ShowMessage(const char* text) {
    ShowMessageText(game, &messageText, text, CButtonBar::kOk, &messageBar, this);
    OpenModal(&messageBar);
    state = kMessage;
}

void CEnchantDialog::OpenEntryDialog() {
    CForm* form = entries ? entries->OpenEntry(*edited, totals.available, source) : nullptr;
    if (!form) {
        // No dialog edits this kind of item: nothing was changed.
        CloseEntryDialog(kCancel);
        return;
    }
    state = kEntryOpen;
    OpenModal(form);
}

void CEnchantDialog::CloseEntryDialog(u32 command) {
    CloseModal();
    ResetInputGuard();
    state = kEditing;
    // An entry without a kind, or without the datum its kind needs, would be stored as a free
    // enchantment that does nothing: Ok then counts as Cancel.
    const bool commit = command == kOk && entries && craft::IsEnchantEntryComplete(entries->GetEditedEntry());
    if (commit) CopyEffect(*edited, entries->GetEditedEntry());
    if (commit || !newEntry) {
        CEffect* entry = edited.release();
        if (newEntry) {
            if (!list->Add(entry)) ShowMessage("The item cannot hold more enchantments.");
        } else {
            list->effects.InsertAt(editedIndex, entry);
        }
    }
    edited.reset();
    editedIndex = 0;
    newEntry = false;
    RefillList();
    UpdateTotals();
}

u32 CEnchantDialog::Enchant() {
    switch (craft::CheckEnchant(*list, totals, enchanter != nullptr, host ? host->GetGold() : 0)) {
    case craft::EnchantCheck::Empty: list.reset(); return parent ? parent->OnCommand(kOk) : 0;
    case craft::EnchantCheck::NoGold: ShowMessage("You don't have enough gold."); return 0;
    case craft::EnchantCheck::NoStorage:
        ShowMessage("There isn't enough available storage for this enchantment.");
        return 0;
    case craft::EnchantCheck::HpAndUnholy:
        ShowMessage("The item cannot contain both fortify hp and fortify unholy enchantments.");
        return 0;
    case craft::EnchantCheck::Ok: break;
    }
    const i32 price = totals.price;
    craft::ApplyEnchantment(*item, list.release(), source);
    CStr priceText;
    craft::FormatMoneyText(price, priceText);
    CStr message;
    if (enchanter) {
        message.Format("The enchanting was successful.\rYou pay %s gold.", priceText.GetText());
        host->SetGold(craft::PayPrice(host->GetGold(), price));
    } else {
        message.Assign("The enchanting was successful.");
    }
    ShowMessage(message.GetText());
    state = kSucceeded;
    return 0;
}

u32 CEnchantDialog::OnCommand(u32 command) {
    switch (state) {
    case kEntryOpen:
        if (command == kOk || command == kCancel) CloseEntryDialog(command);
        return 0;
    case kMessage:
    case kSucceeded: {
        const bool succeeded = state == kSucceeded;
        CloseModal();
        ResetInputGuard();
        state = kEditing;
        flags |= kFormRedrawAll;
        return succeeded && parent ? parent->OnCommand(kOk) : 0;
    }
    case kEditing: break;
    }
    if (!list) return 0;
    switch (command) {
    case kOk: PlayInterfaceSound(game, 0, 10); return Enchant();
    case kCancel:
        PlayInterfaceSound(game, 0, 10);
        list.reset();
        return parent ? parent->OnCommand(kCancel) : 0;
    case kAdd:
        PlayInterfaceSound(game, 0, 10);
        if (list->Count() > 0 && source == kSourceWand) {
            ShowMessage("A wand cannot contain more than one spell.");
        } else if (list->Count() > 0 && source == kSourceScroll) {
            ShowMessage("A scroll cannot contain more than one spell.");
        } else {
            edited = std::make_unique<CEffect>();
            InitEffectForKind(*edited, source);
            editedIndex = 0;
            newEntry = true;
            OpenEntryDialog();
        }
        return 0;
    case kModify:
    case kRemove: {
        const int row = entriesList.ValidSelection();
        if (row < 0 || row >= list->Count()) return 0;
        PlayInterfaceSound(game, 0, 10);
        auto* entry = static_cast<CEffect*>(list->effects.RemoveAt(row));
        if (command == kRemove) {
            delete entry;
            RefillList();
            UpdateTotals();
            return 0;
        }
        edited.reset(entry);
        editedIndex = row;
        newEntry = false;
        UpdateTotals();
        OpenEntryDialog();
        return 0;
    }
    default: return 0;
    }
}
