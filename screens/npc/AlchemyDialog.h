// The alchemy dialog: a mortar, up to three ingredients and the potions they make; brewing asks
// first when the skill seems too low, consumes the ingredients, then rolls. The player and the
// world's recipes are reached through IAlchemist.
#pragma once

#include <string>
#include <vector>

#include "core/Types.h"
#include "screens/npc/CraftRules.h"
#include "ui/ButtonBar.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PictureView.h"
#include "ui/PictureWidgets.h"
#include "ui/TextBox.h"
#include "ui/TextLabel.h"
#include "ui/TextView.h"

class CItemType;
class CRecipe;
class CRecordHolder;
struct CItemInstance;
struct CRuleContext;

class IAlchemist {
public:
    virtual ~IAlchemist() = default;
    virtual const CRuleContext& GetRules() const = 0;
    virtual std::vector<CItemInstance*> GetCarriedItems() = 0;
    // The alchemy skill with the player's active effects on it.
    virtual int GetAlchemySkill() const = 0;
    virtual u16& AlchemyUseCounter() = 0;
    // Removes and deletes the first carried item of the type.
    virtual void ConsumeItemOfType(const CItemType& type) = 0;
    // Takes the brewed item; money goes to the gold.
    virtual void ReceiveItem(CItemInstance* item) = 0;
    virtual std::vector<const CRecipe*> GetRecipes() const = 0;
    virtual const CItemType* FindItemType(const char* id) const = 0;
};

class CAlchemyDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 38;
    enum : u32 {
        kBrew = 25,
        kClose = 26,
        kPotions = 226,
        kMortarPrevious = 478,
        kMortarNext = 479,
    };
    enum State : u32 { kChoosing = 0, kQuery = 1, kResult = 2 };

    CAlchemyDialog();
    ~CAlchemyDialog() override;

    void SetAlchemist(IAlchemist* player) { alchemist = player; }
    void Open(const CItemInstance* mortar);
    u32 OnCommand(u32 command) override;

    struct Entry {
        const CItemType* type = nullptr;
        CItemInstance* item = nullptr;
        u16 count = 0;
        std::string name;
    };
    const std::vector<Entry>& Mortars() const { return mortars; }
    const std::vector<Entry>& Ingredients() const { return ingredients; }
    const std::vector<craft::CPotionChoice>& Potions() const { return potions; }
    int MortarIndex() const { return mortarIndex; }
    int SlotIndex(int slot) const { return slots[slot]; }
    bool SlotMarked(int slot) const { return marked[slot]; }
    int Skill() const { return skill; }
    State GetState() const { return state; }

    CPicture frame, mortarFrame, ingredientFrame, potionFrame;
    CTextLabel title, mortarHeading, ingredientHeading, potionHeading;
    CPictureView mortarPicture;
    CTextBox mortarText;
    CBitmapButton mortarPrevious, mortarNext;
    CPictureView slotPicture[3];
    CTextBox slotText[3];
    CBitmapButton slotPrevious[3], slotNext[3];
    CListBox potionList;
    CBitmapButton brewButton, closeButton;
    CTextView messageText;
    CButtonBar messageBar;

private:
    void Place(CWidget& widget, u32 element);
    void PlaceHeading(CTextLabel& label, u32 element, const char* text);
    void BuildLists();
    void ShowMortar();
    void ShowSlot(int slot);
    void ShowPotions();
    void UpdateMarks();
    void Brew(bool confirmed);
    void ShowMessage(const char* text, u32 buttons, State next);
    CRecordHolder* PictureOf(const CItemType* type) const;
    // The item's picture in a slot, centred at its own size: item pictures are drawn with their
    // transparent ground, which the picture view cannot scale.
    void ShowItemPicture(CPictureView& view, const CItemType* type);

    IAlchemist* alchemist = nullptr;
    State state = kChoosing;
    std::vector<Entry> mortars, ingredients;
    int mortarIndex = -1;
    int slots[3] = {-1, -1, -1};
    bool marked[3] = {};
    int skill = 0;
    std::vector<craft::CPotionChoice> potions;
    CRecordHolder* arrowLeft[3] = {};
    CRecordHolder* arrowRight[3] = {};
    CRecordHolder* brewPictures[3] = {};
    CRecordHolder* closePictures[3] = {};
};
