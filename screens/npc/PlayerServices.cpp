#include "screens/npc/PlayerServices.h"

#include <algorithm>

#include "data/ItemType.h"
#include "world/Player.h"

u32 CPlayerServices::GetGold() const { return player_.gold; }

static_assert(kGoldLimit == kMaxGold, "the services and the player cap gold alike");

void CPlayerServices::SetGold(u32 gold) { player_.gold = std::min(gold, kGoldLimit); }

int CPlayerServices::GetItemCount() const { return static_cast<int>(player_.items.size()); }

CItemInstance* CPlayerServices::GetItem(int index) const {
    return index >= 0 && index < GetItemCount() ? player_.items[static_cast<size_t>(index)].get() : nullptr;
}

bool CPlayerServices::IsEquipped(const CItemInstance& item) const {
    for (int slot = 1; slot <= kEquipmentSlotCount; ++slot)
        if (player_.equipment[slot] == &item) return true;
    return false;
}

bool CPlayerServices::RemoveItem(CItemInstance* item) {
    // The player hands the item over; from here on the merchant's bag owns it.
    return player_.RemoveItem(item).release() != nullptr;
}

void CPlayerServices::TakeItem(CItemInstance* item) { player_.TakeItem(item); }

u16& CPlayerServices::GetSkillUseCounter(int skill) {
    if (skill < 1 || skill > kPlayerSkillCount) return noCounter_;
    return player_.skillUse[skill];
}

int CPlayerServices::GetTradeBonus() const { return player_.GetTradeBonus(); }

u32 CPlayerServices::GetSkillBase(int skill) const {
    return skill >= 1 && skill <= kPlayerSkillCount ? player_.skills[skill] : 0;
}

void CPlayerServices::SetSkillBase(int skill, u32 value) {
    if (skill >= 1 && skill <= kPlayerSkillCount)
        player_.skills[skill] = static_cast<u16>(std::min<u32>(value, 0xFFFF));
}

int CPlayerServices::GetSkillWithFortify(int skill) const { return player_.GetSkillValue(skill); }

int CPlayerServices::GetRace() const { return player_.GetRace(); }

bool CPlayerServices::CanRaiseSkill(int skill) const { return player_.CanRaiseSkill(skill); }

i32 CPlayerServices::GetCarriedWeight() const {
    return static_cast<i32>(std::min<u32>(player_.GetCarriedWeight(), 0x7FFFFFFF));
}

i32 CPlayerServices::GetCarryCapacity() const { return player_.GetCarryCapacity(); }
