#include "screens/npc/EnchantSpellEntryDialog.h"

#include "screens/frontend/DialogKit.h"
#include "screens/npc/CraftWidgets.h"

#include "core/LayoutTable.h"
#include "core/Str.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "display/FontSet.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

void CEnchantSpellEntryDialog::Place(CWidget& widget, u32 element) {
    craft::PlaceWidget(*this, widget, kLayoutGroup, element);
}

void CEnchantSpellEntryDialog::PlaceLabel(CTextLabel& label, u32 element, const char* text) {
    craft::PlaceEntryLabel(*this, label, kLayoutGroup, element, text);
}

void CEnchantSpellEntryDialog::Open(const CEffect& effect, int storage, bool isScroll) {
    RemoveAllWidgets();
    CentreDialog(*this, kLayoutGroup);
    background = game ? game->GetInterfacePicture(kPictureDialogBackground) : nullptr;
    drawBackground = 1;
    Place(frame, 19);
    frame.frameSet = InterfacePictureSet(game, kPictureLargeFrameSet, 9);
    frame.transparent = 1;
    frame.sides = 0x0F;
    PlaceLabel(title, 16, "Enchant entry");
    PlaceLabel(spellsLabel, 236, "Spells:");
    PlaceLabel(chargesLabel, 237, "Charges:");
    PlaceLabel(chargesValue, 239, "");
    PlaceLabel(skillLabel, 238, "Skill:");
    PlaceLabel(skillValue, 240, "");
    PlaceLabel(neededLabel, 247, "Needed enchant storage:");
    PlaceLabel(neededValue, 248, "");
    PlaceLabel(availableLabel, 249, "Available enchant storage:");
    PlaceLabel(availableValue, 250, "");
    Place(spells, kSpells);
    craft::SetupCraftList(spells);
    struct ButtonSpec {
        CBitmapButton* button;
        u32 command;
        u16 picture;
    } buttons[] = {{&pageUp, kPageUp, kPictureListPageUp},
                   {&pageDown, kPageDown, kPictureListPageDown},
                   {&chargesUp, kChargesUp, kPictureSkillButtons},
                   {&chargesDown, kChargesDown, kPictureSkillButtons + 2},
                   {&skillUp, kSkillUp, kPictureSkillButtons},
                   {&skillDown, kSkillDown, kPictureSkillButtons + 2},
                   {&skillUpTen, kSkillUpTen, kPictureSkillButtons + 4},
                   {&skillDownTen, kSkillDownTen, kPictureSkillButtons + 6}};
    int n = 0;
    for (const ButtonSpec& b : buttons) {
        CRecordHolder*(&set)[3] = pictures[n++];
        set[0] = game ? game->GetInterfacePicture(b.picture) : nullptr;
        set[1] = game ? game->GetInterfacePicture(static_cast<u16>(b.picture + 1)) : nullptr;
        Place(*b.button, b.command);
        b.button->SetPictures(set, b.command, 0);
    }
    okPictures[0] = game ? game->GetInterfacePicture(kPictureOk) : nullptr;
    okPictures[1] = game ? game->GetInterfacePicture(kPictureOk + 1) : nullptr;
    cancelPictures[0] = game ? game->GetInterfacePicture(kPictureCancel) : nullptr;
    cancelPictures[1] = game ? game->GetInterfacePicture(kPictureCancel + 1) : nullptr;
    Place(okButton, kOk);
    okButton.SetPictures(okPictures, kOk, 3006);
    Place(cancelButton, kCancel);
    cancelButton.SetPictures(cancelPictures, kCancel, 3007);

    entry = CEffect{};
    CopyEffect(entry, effect);
    available = storage;
    scroll = isScroll;
    entry.mode = kModeCast;
    entry.kind = kEffectCastSpell;
    if (entry.amount < 1) entry.amount = 1;
    if (entry.amountPerLevel < 1) entry.amountPerLevel = 1;
    for (CWidget* w : {static_cast<CWidget*>(&chargesLabel), static_cast<CWidget*>(&chargesValue),
                       static_cast<CWidget*>(&chargesUp), static_cast<CWidget*>(&chargesDown)})
        w->Show(scroll ? 0 : 1);

    rows = host ? craft::KnownSpellRows(host->GetRules()) : std::vector<craft::CDatumRow>{};
    spells.ResetItems();
    spells.selection = -1;
    for (size_t i = 0; i < rows.size(); ++i) {
        spells.AddItemWithValue(rows[i].name.c_str(), static_cast<u32>(i));
        if (entry.id && rows[i].id == entry.id) spells.selection = static_cast<i32>(i);
    }
    spells.topRow = craft::FirstRowOfPage(spells.selection, spells.visibleRows);
    CStr text;
    text.Format("%u", static_cast<unsigned>(available < 0 ? 0 : available));
    ToNumberGlyphs(text);
    availableValue.SetText(text.GetText());
    SpellChosen();
    ResetInputGuard();
}

void CEnchantSpellEntryDialog::SpellChosen() {
    const int row = spells.ValidSelection();
    const craft::CDatumRow* chosen =
        row >= 0 && row < static_cast<int>(rows.size()) ? &rows[static_cast<size_t>(row)] : nullptr;
    const std::string before = entry.id ? entry.id : "";
    entry.SetId(chosen ? chosen->id.c_str() : nullptr);
    if (before != (entry.id ? entry.id : "")) PlayInterfaceSound(game, 0, 10);
    const CSpell* spell =
        host && host->GetRules().spells && entry.id ? host->GetRules().spells->FindById(entry.id) : nullptr;
    const bool skillShown = spell && spell->HasEffectOutsideKindSet();
    for (CWidget* w : {static_cast<CWidget*>(&skillLabel), static_cast<CWidget*>(&skillValue),
                       static_cast<CWidget*>(&skillUp), static_cast<CWidget*>(&skillDown),
                       static_cast<CWidget*>(&skillUpTen), static_cast<CWidget*>(&skillDownTen)})
        w->Show(skillShown ? 1 : 0);
    pageUp.EnablePen(spells.topRow > 0 ? 1 : 0);
    pageDown.EnablePen(spells.topRow + spells.visibleRows < spells.GetCount() ? 1 : 0);
    UpdateValues();
}

void CEnchantSpellEntryDialog::UpdateValues() {
    CStr text;
    text.Format("%u", static_cast<unsigned>(entry.amount));
    chargesValue.SetText(text.GetText());
    text.Format("%u", static_cast<unsigned>(entry.amountPerLevel));
    skillValue.SetText(text.GetText());
    i32 storage = 0, gold = 0;
    if (host) ComputeEffectCost(entry, host->GetRules(), scroll ? kSourceScroll : kSourceWand, storage, gold);
    needed = storage;
    text.Format("%u", static_cast<unsigned>(needed < 0 ? 0 : needed));
    ToNumberGlyphs(text);
    neededValue.SetText(text.GetText());
    // The value labels draw no ground of their own: the dialog's background goes under the new
    // numbers, or they land on the old ones.
    flags |= kFormRedrawAll;
    chargesUp.EnablePen(entry.amount < 100 ? 1 : 0);
    chargesDown.EnablePen(entry.amount > 1 ? 1 : 0);
    skillUp.EnablePen(entry.amountPerLevel < 100 ? 1 : 0);
    skillUpTen.EnablePen(entry.amountPerLevel < 100 ? 1 : 0);
    skillDown.EnablePen(entry.amountPerLevel >= 2 ? 1 : 0);
    skillDownTen.EnablePen(entry.amountPerLevel >= 2 ? 1 : 0);
}

u32 CEnchantSpellEntryDialog::OnCommand(u32 command) {
    switch (command) {
    case kOk:
    case kCancel: {
        PlayInterfaceSound(game, 0, 10);
        // Without a spell there is nothing to store: Ok counts as Cancel.
        const u32 pass = command == kOk && entry.id && *entry.id ? kOk : kCancel;
        return parent ? parent->OnCommand(pass) : 0;
    }
    case kSpells: SpellChosen(); return 0;
    case kPageUp:
    case kPageDown: {
        PlayInterfaceSound(game, 0, 10);
        craft::PageList(spells, command == kPageUp ? -1 : 1);
        SpellChosen();
        return 0;
    }
    case kChargesUp:
    case kChargesDown:
        PlayInterfaceSound(game, 0, 10);
        entry.amount =
            static_cast<i16>(craft::StepSpellEntryValue(entry.amount, command == kChargesUp ? 1 : -1));
        UpdateValues();
        return 0;
    case kSkillUp:
    case kSkillDown:
    case kSkillUpTen:
    case kSkillDownTen: {
        PlayInterfaceSound(game, 0, 10);
        const int step = command == kSkillUp      ? 1
                         : command == kSkillDown  ? -1
                         : command == kSkillUpTen ? 10
                                                  : -10;
        entry.amountPerLevel = static_cast<i16>(craft::StepSpellEntryValue(entry.amountPerLevel, step));
        UpdateValues();
        return 0;
    }
    default: return 0;
    }
}

CForm* CEnchantEntryDialogs::OpenEntry(const CEffect& entry, int available, int source) {
    switch (source) {
    case kSourceWand:
    case kSourceScroll:
        if (host != nullptr && spellEntry.game != host) spellEntry.Attach(host);
        spellEntry.Open(entry, available, source == kSourceScroll);
        opened = &spellEntry;
        return &spellEntry;
    case kSourceArmour:
    case kSourceWeapon:
    case kSourceAccessory:
    case kSourceStaff:
    case kSourceMissile:
    case kSourceBow:
        if (host != nullptr && typeEntry.game != host) typeEntry.Attach(host);
        typeEntry.Open(entry, available, source);
        opened = &typeEntry;
        return &typeEntry;
    default: return nullptr;
    }
}
