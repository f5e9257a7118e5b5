#include "screens/npc/PlayerCrafts.h"

#include <algorithm>

#include "data/ItemType.h"
#include "data/Npc.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "screens/npc/CraftRules.h"
#include "world/Player.h"

u32 CPlayerCrafts::GetGold() const { return player_.gold; }

void CPlayerCrafts::SetGold(u32 gold) { player_.gold = std::min(gold, kMaxGold); }

int CPlayerCrafts::GetPriceLevel(const CNpc& npc) const {
    i32 value = 0;
    const char* name = npc.GetPriceVariable();
    const bool found = name && *name && variables_ && variables_(name, value);
    return craft::ChoosePriceLevel(npc.GetPriceLevel(), found, value);
}

std::vector<CItemInstance*> CPlayerCrafts::GetCarriedItems() {
    std::vector<CItemInstance*> out;
    out.reserve(player_.items.size());
    for (auto& item : player_.items) out.push_back(item.get());
    return out;
}

bool CPlayerCrafts::KnowsAnySpell() const {
    for (int school = 1; school <= 6; ++school)
        if (!player_.spellsBySchool[school].empty()) return true;
    return false;
}

void CPlayerCrafts::ReapplyEquipmentEffects() { player_.ReapplyEquipmentEffects(); }

int CPlayerCrafts::GetAlchemySkill() const { return player_.GetSkillValue(craft::kAlchemySkill); }

u16& CPlayerCrafts::AlchemyUseCounter() { return player_.skillUse[craft::kAlchemySkill]; }

void CPlayerCrafts::ConsumeItemOfType(const CItemType& type) {
    for (auto& item : player_.items)
        if (item && item->type == &type) {
            player_.RemoveItem(item.get());
            return;
        }
}

void CPlayerCrafts::ReceiveItem(CItemInstance* item) {
    if (item && item->type && item->type->itemClass == kItemMoney) {
        // A brew that makes money gives one of it, whatever the made item held.
        player_.AddItemCopies(1, *item->type);
        delete item;
        return;
    }
    player_.TakeItem(item);
}

std::vector<const CRecipe*> CPlayerCrafts::GetRecipes() const {
    std::vector<const CRecipe*> out;
    for (int i = 0; recipes_ && i < recipes_->Count(); ++i) out.push_back(recipes_->At(i));
    return out;
}

const CItemType* CPlayerCrafts::FindItemType(const char* id) const {
    return rules_.items && id ? rules_.items->FindItemType(id) : nullptr;
}

int CPlayerCrafts::GetLockpickSkill() const { return player_.GetSkillValue(craft::kLockpickSkill); }

u16& CPlayerCrafts::LockpickUseCounter() { return player_.skillUse[craft::kLockpickSkill]; }

void CPlayerCrafts::ShowGameMessage(const char* text) {
    if (messages_) messages_(text);
}
