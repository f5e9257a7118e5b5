// A customer of the NPC services for tests: plain values, and a trade bonus of `bonusPercent`.
#pragma once

#include "screens/npc/NpcServiceRules.h"

struct FakeCustomer : INpcCustomer {
    u32 gold = 0;
    i32 hp = 10, maxHp = 40, mana = 5, maxMana = 20;
    bool poisoned = false, diseased = false;
    u32 bonusPercent = 10;

    u32 GetGold() const override { return gold; }
    void SetGold(u32 g) override { gold = g; }
    u32 AdjustPrice(u32 price, bool lowering) const override {
        const u32 change = price * bonusPercent / 100;
        return lowering ? price - change : price + change;
    }
    bool HasSeriousDisease() const override { return diseased; }
    i32 GetHitPoints() const override { return hp; }
    i32 GetMaxHitPoints() const override { return maxHp; }
    void SetHitPoints(i32 v) override { hp = v; }
    i32 GetMana() const override { return mana; }
    i32 GetMaxMana() const override { return maxMana; }
    void SetMana(i32 v) override { mana = v; }
    bool IsPoisoned() const override { return poisoned; }
    void CurePoison() override { poisoned = false; }
};
