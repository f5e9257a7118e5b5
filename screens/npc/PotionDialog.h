// The quick-drink dialog in the lower right corner of the game view: the carried potions, one row
// per type with its count, by rarity then name. It names the chosen potion; its owner drinks it.
#pragma once

#include <vector>

#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"

class CRecordHolder;
struct CItemInstance;

class CPotionDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 20;
    enum : u32 { kPageUp = 222, kPageDown = 223, kDrink = 224, kCancel = 225, kList = 226 };

    // Builds the list over the player's items; returns the number of rows (0: nothing to drink).
    int Open(const std::vector<CItemInstance*>& carried);
    // The item of the selected row in the player's items as they are now, or null when there is no
    // selection or its index no longer names an item.
    CItemInstance* GetSelectedPotion(const std::vector<CItemInstance*>& carried) const;

    u32 OnCommand(u32 command) override;
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    u32 OnTick(u32) override { return 0; }

    CPicture frame;
    CTextLabel title;
    CListBox potions;
    CBitmapButton pageUp, pageDown, drinkButton, cancelButton;

private:
    void Place(CWidget& widget, u32 element);
    void UpdatePageButtons();

    CRecordHolder* upPictures[3] = {};
    CRecordHolder* downPictures[3] = {};
    CRecordHolder* drinkPictures[3] = {};
    CRecordHolder* cancelPictures[3] = {};
};
