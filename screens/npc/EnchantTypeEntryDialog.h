// One enchantment of a weapon, an armour or a worn item: how it applies (Constant or Strike, weapons
// that offer both only), its type from those the item may carry, the type's datum (a skill, an
// attribute, a disease, a creature kind or a target group) and its value, beside the storage the entry
// needs and the storage the item still has. Ok and Cancel go to the enchanting screen, which reads
// the edited copy back.
#pragma once

#include <vector>

#include "core/Types.h"
#include "data/Effect.h"
#include "screens/npc/CraftRules.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"
#include "ui/TextLink.h"

class CRecordHolder;
class ICraftHost;

class CEnchantTypeEntryDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 24;
    enum : u32 {
        kOk = 25,
        kCancel = 26,
        kTypes = 257,
        kTypesUp = 259,
        kTypesDown = 260,
        kPlusOne = 261,
        kMinusOne = 262,
        kPlusTen = 264,
        kMinusTen = 265,
        kConstant = 267,
        kStrike = 268,
        kData = 270,
        kDataUp = 271,
        kDataDown = 272,
    };

    void SetHost(ICraftHost* craftHost) { host = craftHost; }
    // Edits a copy of `effect` for an item of the source kind with `available` storage left.
    void Open(const CEffect& effect, int available, int source);
    u32 OnCommand(u32 command) override;

    const CEffect& Entry() const { return entry; }
    i32 NeededStorage() const { return needed; }
    // The shown value (the stored amount less 100 for the percent types).
    int ShownValue() const;

    CPicture frame, valuePanel;
    CTextLabel title, typeLabel, typesLabel, dataLabel, valueLabel, valueText, neededLabel, neededValue,
        availableLabel, availableValue;
    CTextLink constantLink, strikeLink;
    CListBox types, data;
    CBitmapButton typesUp, typesDown, dataUp, dataDown, plusOne, minusOne, plusTen, minusTen, okButton,
        cancelButton;

private:
    void RefreshMode();
    void ConfigureType();
    void UpdateValue();
    void UpdateNeeded();
    void TypeChosen();
    void DatumChosen();
    void SetMode(u8 mode);

    ICraftHost* host = nullptr;
    CEffect entry;
    int available = 0;
    int source = 0;
    i32 needed = 0;
    craft::CEnchantValueRange range;
    std::vector<craft::CDatumRow> dataRows;
    CRecordHolder* pictures[10][3] = {};
};
