// The one enchantment a wand or a scroll carries: a spell the player knows, the skill level it casts
// at, and for a wand its charges. Rows show the spells' names and the entry stores their ids.
#pragma once

#include <vector>

#include "core/Types.h"
#include "data/Effect.h"
#include "screens/npc/CraftHost.h"
#include "screens/npc/CraftRules.h"
#include "screens/npc/EnchantTypeEntryDialog.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"

class CRecordHolder;
class CWidgetHost;

class CEnchantSpellEntryDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 23;
    enum : u32 {
        kOk = 25,
        kCancel = 26,
        kSpells = 215,
        kPageUp = 241,
        kPageDown = 242,
        kChargesUp = 243,
        kChargesDown = 244,
        kSkillUp = 245,
        kSkillDown = 246,
        kSkillUpTen = 253,
        kSkillDownTen = 254,
    };

    void SetHost(ICraftHost* craftHost) { host = craftHost; }
    void Open(const CEffect& effect, int available, bool scroll);
    u32 OnCommand(u32 command) override;

    const CEffect& Entry() const { return entry; }
    i32 NeededStorage() const { return needed; }

    CPicture frame;
    CTextLabel title, spellsLabel, chargesLabel, chargesValue, skillLabel, skillValue, neededLabel,
        neededValue, availableLabel, availableValue;
    CListBox spells;
    CBitmapButton pageUp, pageDown, chargesUp, chargesDown, skillUp, skillDown, skillUpTen, skillDownTen,
        okButton, cancelButton;

private:
    void Place(CWidget& widget, u32 element);
    void PlaceLabel(CTextLabel& label, u32 element, const char* text);
    void SpellChosen();
    void UpdateValues();

    ICraftHost* host = nullptr;
    CEffect entry;
    int available = 0;
    bool scroll = false;
    i32 needed = 0;
    std::vector<craft::CDatumRow> rows;
    CRecordHolder* pictures[8][3] = {};
    CRecordHolder* okPictures[3] = {};
    CRecordHolder* cancelPictures[3] = {};
};

// The entry dialogs of the enchanting screen by the item's source kind: a spell for wands and scrolls,
// a type with its datum and value for weapons, armour and worn items. Items of other kinds have no
// entry dialog: Add then changes nothing.
class CEnchantEntryDialogs : public IEnchantEntryEditor {
public:
    // The game the dialogs draw with and the craft host they read the rules from.
    void Attach(CWidgetHost* game, ICraftHost* craft) {
        host = game;
        spellEntry.SetHost(craft);
        typeEntry.SetHost(craft);
    }
    CForm* OpenEntry(const CEffect& entry, int available, int source) override;
    const CEffect& GetEditedEntry() const override {
        return opened == &typeEntry ? typeEntry.Entry() : spellEntry.Entry();
    }
    CEnchantSpellEntryDialog spellEntry;
    CEnchantTypeEntryDialog typeEntry;

private:
    CWidgetHost* host = nullptr;
    const CForm* opened = nullptr;
};
