// The game's player as the shop and the NPC services see it (IServicePlayer): its gold, carried
// items and equipment slots, skills and use counters, and the trade bonus from its skills and
// Personality.
#pragma once

#include "screens/npc/TradeWorld.h"

class CPlayer;

class CPlayerServices : public IServicePlayer {
public:
    explicit CPlayerServices(CPlayer& player) : player_(player) {}

    u32 GetGold() const override;
    void SetGold(u32 gold) override;
    int GetItemCount() const override;
    CItemInstance* GetItem(int index) const override;
    bool IsEquipped(const CItemInstance& item) const override;
    bool RemoveItem(CItemInstance* item) override;
    void TakeItem(CItemInstance* item) override;
    u16& GetSkillUseCounter(int skill) override;
    int GetTradeBonus() const override;
    u32 GetSkillBase(int skill) const override;
    void SetSkillBase(int skill, u32 value) override;
    int GetSkillWithFortify(int skill) const override;
    int GetRace() const override;
    bool CanRaiseSkill(int skill) const override;
    i32 GetCarriedWeight() const override;
    i32 GetCarryCapacity() const override;

private:
    CPlayer& player_;
    u16 noCounter_ = 0;
};
