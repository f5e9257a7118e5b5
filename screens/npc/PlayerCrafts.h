// The player as the craft dialogs see them: gold, carried items, skills and their use counters,
// known spells and equipment, over CPlayer and the world's rule tables. The game view, the panel
// screen and the NPC screens hand one to the dialogs they own.
#pragma once

#include <functional>
#include <vector>

#include "screens/npc/AlchemyDialog.h"
#include "screens/npc/CraftHost.h"
#include "screens/npc/LockPickDialog.h"

class CPlayer;
class CRecipeList;

class CPlayerCrafts : public ICraftHost, public IAlchemist, public ILockPicker {
public:
    // Finds a script global variable's value by name; false when there is none.
    using VariableLookup = std::function<bool(const char* name, i32& value)>;
    using MessageSink = std::function<void(const char* text)>;

    CPlayerCrafts(CPlayer& player, const CRuleContext& rules, const CRecipeList* recipes)
        : player_(player), rules_(rules), recipes_(recipes) {}
    void SetVariableLookup(VariableLookup lookup) { variables_ = std::move(lookup); }
    void SetMessageSink(MessageSink sink) { messages_ = std::move(sink); }

    // ICraftHost
    const CRuleContext& GetRules() const override { return rules_; }
    u32 GetGold() const override;
    void SetGold(u32 gold) override;
    int GetPriceLevel(const CNpc& npc) const override;
    std::vector<CItemInstance*> GetCarriedItems() override;
    bool KnowsAnySpell() const override;
    void ReapplyEquipmentEffects() override;

    // IAlchemist
    int GetAlchemySkill() const override;
    u16& AlchemyUseCounter() override;
    void ConsumeItemOfType(const CItemType& type) override;
    void ReceiveItem(CItemInstance* item) override;
    std::vector<const CRecipe*> GetRecipes() const override;
    const CItemType* FindItemType(const char* id) const override;

    // ILockPicker
    int GetLockpickSkill() const override;
    u16& LockpickUseCounter() override;
    void ShowGameMessage(const char* text) override;

private:
    CPlayer& player_;
    const CRuleContext& rules_;
    const CRecipeList* recipes_;
    VariableLookup variables_;
    MessageSink messages_;
};
