// The enchanting screen: the enchantments chosen for one item, its storage, the price and the
// player's gold, with Add, Modify and Remove through the entry dialogs, and Ok that checks gold,
// storage and the one forbidden pair before the item takes the list.
#pragma once

#include <memory>

#include "core/Types.h"
#include "screens/npc/CraftHost.h"
#include "screens/npc/CraftRules.h"
#include "ui/ButtonBar.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"
#include "ui/TextView.h"

class CEffectList;
class CNpc;
class CRecordHolder;
struct CEffect;
struct CItemInstance;

class CEnchantDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 26;
    enum : u32 { kOk = 25, kCancel = 26, kAdd = 281, kModify = 282, kRemove = 283, kList = 257 };
    enum State : u32 { kEditing = 0, kEntryOpen = 1, kMessage = 2, kSucceeded = 3 };

    CEnchantDialog();
    ~CEnchantDialog() override;

    // The host and the entry dialogs stay the caller's.
    void SetHost(ICraftHost* craftHost, IEnchantEntryEditor* editor) {
        host = craftHost;
        entries = editor;
    }
    // Opens on the item for an enchanter (null: a spell enchants, free of charge) up to the limit.
    void Open(const CNpc* enchanter, CItemInstance* item, int limit);
    u32 OnCommand(u32 command) override;

    int Count() const;
    const craft::CEnchantTotals& Totals() const { return totals; }
    int Capacity() const { return capacity; }
    State GetState() const { return state; }
    const CEffectList* List() const { return list.get(); }

    CPicture frame, leftPanel, rightPanel;
    CTextLabel title, itemLabel, itemName, storageLabel, storageValue, priceLabel, priceValue, goldLabel,
        goldValue, listLabel;
    CListBox entriesList;
    CBitmapButton addButton, modifyButton, removeButton, okButton, cancelButton;
    CTextView messageText;
    CButtonBar messageBar;

private:
    void Place(CWidget& widget, u32 element);
    void PlaceLabel(CTextLabel& label, u32 element, const char* text, u32 alignment);
    void RefillList();
    void UpdateTotals();
    void ShowMessage(const char* text);
    void OpenEntryDialog();
    void CloseEntryDialog(u32 command);
    u32 Enchant();

    ICraftHost* host = nullptr;
    IEnchantEntryEditor* entries = nullptr;
    State state = kEditing;
    CItemInstance* item = nullptr;
    const CNpc* enchanter = nullptr;
    int source = 0;
    // Owned until the item takes it; Cancel and closing free it.
    std::unique_ptr<CEffectList> list;
    craft::CEnchantTotals totals;
    int capacity = 0;
    std::unique_ptr<CEffect> edited;
    int editedIndex = 0;
    bool newEntry = false;
    CRecordHolder* okPictures[3] = {};
    CRecordHolder* cancelPictures[3] = {};
    CRecordHolder* textPictures[3] = {};
};
