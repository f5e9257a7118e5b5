// The player as the NPC services see it: gold, the trade bonus, hit points, mana, poison.
#pragma once

#include "screens/npc/NpcServiceRules.h"
#include "world/Player.h"

class CPlayerCustomer : public INpcCustomer {
public:
    explicit CPlayerCustomer(CPlayer& player) : player_(player) {}

    u32 GetGold() const override { return player_.gold; }
    void SetGold(u32 gold) override { player_.gold = gold; }
    u32 AdjustPrice(u32 price, bool playerPays) const override {
        return player_.AdjustPrice(price, playerPays);
    }
    bool HasSeriousDisease() const override { return player_.HasSeriousDisease(); }
    i32 GetHitPoints() const override { return player_.hp; }
    i32 GetMaxHitPoints() const override { return player_.GetMaxHp(); }
    // Set without the player's messages: the rest dialog says what happened itself.
    void SetHitPoints(i32 value) override { player_.SetHp(value, false); }
    i32 GetMana() const override { return player_.mana; }
    i32 GetMaxMana() const override { return player_.GetMaxMana(); }
    void SetMana(i32 value) override { player_.SetMana(value, false); }
    bool IsPoisoned() const override { return player_.GetPoisonStrength() != 0; }
    void CurePoison() override { player_.RemoveEffectsOfKind(kPoisonKind); }

private:
    static constexpr int kPoisonKind = 26;
    CPlayer& player_;
};
