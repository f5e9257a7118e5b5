#include "screens/npc/EnchantTypeEntryDialog.h"

#include "core/Str.h"
#include "data/RuleContext.h"
#include "screens/frontend/DialogKit.h"
#include "screens/npc/CraftHost.h"
#include "screens/npc/CraftWidgets.h"
#include "screens/npc/ListPaging.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr u32 kTitleElement = 16, kTypeLabel = 266, kTypesLabel = 255, kDataLabel = 269,
              kValueLabel = 256, kValuePanel = 263, kValueText = 258, kNeededLabel = 247, kNeededValue = 248,
              kAvailableLabel = 249, kAvailableValue = 250;
constexpr u32 kLinkColour = 0xC8C8C8, kChosenLinkColour = 0x00FFFF, kDark = 0x161616;

// The weapons that offer both ways of applying an enchantment.
bool OffersModeChoice(int source) { return source == kSourceWeapon || source == kSourceStaff; }

void ShowAll(std::initializer_list<CWidget*> widgets, bool on) {
    for (CWidget* widget : widgets) widget->Show(on ? 1 : 0);
}

}  // namespace

int CEnchantTypeEntryDialog::ShownValue() const { return range.percent ? entry.amount - 100 : entry.amount; }

void CEnchantTypeEntryDialog::Open(const CEffect& effect, int storage, int itemSource) {
    RemoveAllWidgets();
    CentreDialog(*this, kLayoutGroup);
    craft::SetupDialogBackdrop(*this, frame, kLayoutGroup, kPictureDialogBackground);
    craft::PlaceEntryLabel(*this, title, kLayoutGroup, kTitleElement, "Enchant entry");
    craft::PlaceEntryLabel(*this, typeLabel, kLayoutGroup, kTypeLabel, "Type:");
    for (CTextLink* link : {&constantLink, &strikeLink}) {
        const u32 element = link == &constantLink ? kConstant : kStrike;
        craft::PlaceWidget(*this, *link, kLayoutGroup, element);
        link->Setup(element == kConstant ? "Constant" : "Strike", element, kLinkColour, kChosenLinkColour, kDark);
    }
    craft::PlaceEntryLabel(*this, typesLabel, kLayoutGroup, kTypesLabel, "Enchant types:");
    craft::PlaceEntryLabel(*this, dataLabel, kLayoutGroup, kDataLabel, "Enchant data:");
    craft::PlaceEntryLabel(*this, valueLabel, kLayoutGroup, kValueLabel, "Value:");
    craft::PlaceWidget(*this, valuePanel, kLayoutGroup, kValuePanel);
    craft::SetupFrame(valuePanel, game, kPictureCompactFrameSet);
    valuePanel.fill = 1;
    valuePanel.colour = kDark;
    craft::PlaceEntryLabel(*this, valueText, kLayoutGroup, kValueText, "");
    valueText.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
    craft::PlaceEntryLabel(*this, neededLabel, kLayoutGroup, kNeededLabel, "Needed enchant storage:");
    craft::PlaceEntryLabel(*this, neededValue, kLayoutGroup, kNeededValue, "");
    craft::PlaceEntryLabel(*this, availableLabel, kLayoutGroup, kAvailableLabel, "Available enchant storage:");
    craft::PlaceEntryLabel(*this, availableValue, kLayoutGroup, kAvailableValue, "");
    craft::PlaceWidget(*this, types, kLayoutGroup, kTypes);
    craft::SetupCraftList(types);
    craft::PlaceWidget(*this, data, kLayoutGroup, kData);
    craft::SetupCraftList(data);
    const struct {
        CBitmapButton* button;
        u32 command;
        u16 picture;
        u16 key;
    } buttons[] = {{&typesUp, kTypesUp, kPictureListPageUp, 0},
                   {&typesDown, kTypesDown, kPictureListPageDown, 0},
                   {&dataUp, kDataUp, kPictureListPageUp, 0},
                   {&dataDown, kDataDown, kPictureListPageDown, 0},
                   {&plusOne, kPlusOne, kPictureSkillButtons, 0},
                   {&minusOne, kMinusOne, kPictureSkillButtons + 2, 0},
                   {&plusTen, kPlusTen, kPictureSkillButtons + 4, 0},
                   {&minusTen, kMinusTen, kPictureSkillButtons + 6, 0},
                   {&okButton, kOk, kPictureOk, 3006},
                   {&cancelButton, kCancel, kPictureCancel, 3007}};
    int n = 0;
    for (const auto& b : buttons)
        craft::PlaceButton(*this, *b.button, pictures[n++], kLayoutGroup, b.command, b.picture, b.key);

    entry = CEffect{};
    CopyEffect(entry, effect);
    available = storage;
    source = itemSource;
    ShowAll({&typeLabel, &constantLink, &strikeLink}, OffersModeChoice(source));
    RefreshMode();
    CStr text;
    text.Format("%d", available);
    ToNumberGlyphs(text);
    availableValue.SetText(text.GetText());
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CEnchantTypeEntryDialog::RefreshMode() {
    constantLink.state = static_cast<u16>(entry.mode == kModeConstant ? constantLink.state | kWidgetLatched
                                                                      : constantLink.state & ~kWidgetLatched);
    strikeLink.state = static_cast<u16>(entry.mode == kModeStrike ? strikeLink.state | kWidgetLatched
                                                                  : strikeLink.state & ~kWidgetLatched);
    constantLink.state |= kWidgetRedraw;
    strikeLink.state |= kWidgetRedraw;

    types.ResetItems();
    types.selection = -1;
    int count = 0;
    const CEffectKindMode* pairs = CEffectKindTable().GetAllowed(source, count);
    for (int i = 0; i < count; ++i) {
        if (pairs[i].mode != entry.mode) continue;
        if (pairs[i].kind == entry.kind) types.selection = types.GetCount();
        types.AddItemWithValue(GetEffectKindName(pairs[i].kind), pairs[i].kind);
    }
    entry.kind = types.selection >= 0 ? static_cast<u8>(types.GetSelectedValue()) : 0;
    types.topRow = PageStartOf(types.selection, types.visibleRows);
    types.state |= kWidgetRedraw;
    UpdatePageButtons(types, typesUp, typesDown);
    ConfigureType();
}

void CEnchantTypeEntryDialog::ConfigureType() {
    range = craft::GetEnchantValueRange(entry.kind);
    const bool hasDatum = range.datum != craft::EnchantDatum::None;
    ShowAll({&dataLabel, &data, &dataUp, &dataDown}, hasDatum);
    data.ResetItems();
    data.selection = -1;
    dataRows.clear();
    if (hasDatum && host) {
        dataRows = craft::EnchantDatumRows(range.datum, host->GetRules());
        for (size_t i = 0; i < dataRows.size(); ++i)
            data.AddItemWithValue(dataRows[i].name.c_str(), static_cast<u32>(i));
        data.selection = craft::FindDatumRow(dataRows, range.datum, entry);
    }
    const int row = data.ValidSelection();
    craft::StoreDatum(entry, range.datum, row >= 0 ? &dataRows[static_cast<size_t>(row)] : nullptr);
    data.topRow = PageStartOf(data.selection, data.visibleRows);
    data.state |= kWidgetRedraw;
    UpdatePageButtons(data, dataUp, dataDown);

    entry.amount = static_cast<i16>(craft::NormaliseEnchantAmount(entry.amount, range));
    ShowAll({&valueLabel, &valuePanel, &valueText, &plusOne, &minusOne, &plusTen, &minusTen}, range.takesValue);
    UpdateValue();
}

void CEnchantTypeEntryDialog::UpdateValue() {
    CStr text;
    text.Format("%u", static_cast<unsigned>(ShownValue() < 0 ? 0 : ShownValue()));
    valueText.SetText(text.GetText());
    const int shown = ShownValue();
    plusOne.EnablePen(shown < range.maximum ? 1 : 0);
    plusTen.EnablePen(shown < range.maximum ? 1 : 0);
    minusOne.EnablePen(shown > range.minimum ? 1 : 0);
    minusTen.EnablePen(shown > range.minimum ? 1 : 0);
    for (CWidget* w : {&plusOne, &plusTen, &minusOne, &minusTen}) w->state |= kWidgetRedraw;
    UpdateNeeded();
}

void CEnchantTypeEntryDialog::UpdateNeeded() {
    i32 storage = 0, gold = 0;
    if (host) ComputeEffectCost(entry, host->GetRules(), source, storage, gold);
    needed = storage;
    CStr text;
    text.Format("%d", needed);
    ToNumberGlyphs(text);
    neededValue.SetText(text.GetText());
    // The value labels draw no ground of their own: the dialog's background goes under the new
    // numbers, or they land on the old ones.
    flags |= kFormRedrawAll;
}

void CEnchantTypeEntryDialog::TypeChosen() {
    const int row = types.ValidSelection();
    if (row < 0 || types.GetSelectedValue() == entry.kind) return;
    PlayInterfaceSound(game, 0, 10);
    entry.kind = static_cast<u8>(types.GetSelectedValue());
    ConfigureType();
}

void CEnchantTypeEntryDialog::DatumChosen() {
    const int row = data.ValidSelection();
    if (row < 0 || row >= static_cast<int>(dataRows.size())) return;
    if (craft::FindDatumRow(dataRows, range.datum, entry) == row) return;
    PlayInterfaceSound(game, 0, 10);
    craft::StoreDatum(entry, range.datum, &dataRows[static_cast<size_t>(row)]);
    UpdateNeeded();
}

void CEnchantTypeEntryDialog::SetMode(u8 mode) {
    PlayInterfaceSound(game, 0, 10);
    if (entry.mode == mode) return;
    entry.mode = mode;
    RefreshMode();
}

u32 CEnchantTypeEntryDialog::OnCommand(u32 command) {
    switch (command) {
    case kOk:
    case kCancel: PlayInterfaceSound(game, 0, 10); return parent ? parent->OnCommand(command) : 0;
    case kConstant: SetMode(kModeConstant); return 0;
    case kStrike: SetMode(kModeStrike); return 0;
    case kTypes: TypeChosen(); return 0;
    case kData: DatumChosen(); return 0;
    case kTypesUp:
    case kTypesDown:
    case kDataUp:
    case kDataDown: {
        PlayInterfaceSound(game, 0, 10);
        const i32 direction = command == kTypesUp || command == kDataUp ? -1 : 1;
        if (command == kTypesUp || command == kTypesDown)
            TurnListPage(types, typesUp, typesDown, direction);
        else
            TurnListPage(data, dataUp, dataDown, direction);
        return 0;
    }
    case kPlusOne:
    case kMinusOne:
    case kPlusTen:
    case kMinusTen: {
        PlayInterfaceSound(game, 0, 10);
        const int step = command == kPlusOne ? 1 : command == kMinusOne ? -1 : command == kPlusTen ? 10 : -10;
        entry.amount = static_cast<i16>(craft::StepEnchantAmount(entry.amount, step, range));
        UpdateValue();
        return 0;
    }
    default: return 0;
    }
}
