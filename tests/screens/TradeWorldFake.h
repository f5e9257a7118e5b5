// A world and a player for the NPC service screens: a few item types, a merchant with its bag, and a
// player whose items, gold and skills a test sets; sounds played by name are remembered.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/PointerArray.h"
#include "data/CharacterTables.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "data/RuleContext.h"
#include "screens/npc/TradeWorld.h"

namespace trade_testing {

class FakeServicePlayer : public IServicePlayer {
public:
    ~FakeServicePlayer() override { items.FreeAll<CItemInstance>(); }
    u32 GetGold() const override { return gold; }
    void SetGold(u32 value) override { gold = value; }
    int GetItemCount() const override { return items.GetCount(); }
    CItemInstance* GetItem(int index) const override { return items.At<CItemInstance>(index); }
    bool IsEquipped(const CItemInstance& item) const override { return equipped.count(&item) != 0; }
    bool RemoveItem(CItemInstance* item) override {
        for (int i = 0; i < items.GetCount(); ++i)
            if (items.At<CItemInstance>(i) == item) {
                equipped.erase(item);
                items.RemoveAt(i);
                return true;
            }
        return false;
    }
    void TakeItem(CItemInstance* item) override { items.Add(item); }
    u16& GetSkillUseCounter(int skill) override { return counters[skill >= 0 && skill <= 20 ? skill : 0]; }
    int GetTradeBonus() const override { return bonus; }
    u32 GetSkillBase(int skill) const override { return skill >= 1 && skill <= 20 ? skills[skill] : 0; }
    void SetSkillBase(int skill, u32 value) override {
        if (skill >= 1 && skill <= 20) skills[skill] = value;
    }
    int GetSkillWithFortify(int skill) const override {
        return static_cast<int>(GetSkillBase(skill)) + (skill >= 1 && skill <= 20 ? fortify[skill] : 0);
    }
    int GetRace() const override { return race; }
    bool CanRaiseSkill(int skill) const override { return GetSkillBase(skill) < 2 * attribute; }
    i32 GetCarriedWeight() const override {
        i32 sum = 0;
        for (int i = 0; i < items.GetCount(); ++i) sum += items.At<CItemInstance>(i)->type->weight;
        return sum;
    }
    i32 GetCarryCapacity() const override { return capacity; }

    CPointerArray items;
    std::set<const CItemInstance*> equipped;
    u32 gold = 0;
    int bonus = 0;
    u16 counters[21] = {};
    u32 skills[21] = {};
    int fortify[21] = {};
    int race = 2;
    u32 attribute = 20;
    i32 capacity = 15000;
};

class FakeTradeWorld : public ITradeWorld {
public:
    FakeTradeWorld() {
        Type(sword, "Short sword", kItemWeapon, 1, 120, 300);
        Type(axe, "Axe", kItemWeapon, 3, 90, 450);
        Type(helmet, "Iron helmet", kItemHeavyArmour, 4, 60, 250);
        Type(potion, "Healing potion", kItemPotion, 1, 25, 20);
        Type(hammer, "Repair hammer", kItemRepair, 0, 30, 100);
        Type(arrowType, "Arrows", kItemWeapon, 11, 2, 10);
        merchant.SetName("Orla");
        merchant.classMask = 1 | 2;  // weapons and heavy armour
        merchant.maxPayment = 300;
        merchant.bytes[1] = 12;
        rules.skills = &skills;
        rules.attributes = &attributes;
    }
    ~FakeTradeWorld() override {}

    static void Type(CItemType& type, const char* name, u8 itemClass, u8 subclass, u32 value, u16 weight) {
        type.name = name;
        type.itemClass = itemClass;
        type.subclass = subclass;
        type.value = value;
        type.weight = weight;
        type.maxCondition = 200;
    }
    static CItemInstance* Item(const CItemType& type, u16 count) {
        auto* item = new CItemInstance;
        item->type = &type;
        item->count = count;
        return item;
    }

    // A quiver of counted arrows in the player's pack: never repairable.
    void arrows() {
        auto* quiver = Item(arrowType, 15);
        player.items.Add(quiver);
    }

    IServicePlayer* GetServicePlayer() override { return &player; }
    const CRuleContext* GetRuleContext() override { return &rules; }
    const CNpc* GetNpc(u32 word) override { return word == 1 ? &merchant : nullptr; }
    CItemBag* OpenMerchantBag(const CNpc&, u32 creatureWord, u32) override {
        ++bagLookUps;
        return creatureWord != 0 && hasBag ? &bag : nullptr;
    }
    const i32* FindGlobalVariable(const char* name) override {
        auto it = globals.find(name);
        return it == globals.end() ? nullptr : &it->second;
    }
    void PlayNamedSound(const char* name) override { sounds.push_back(name); }

    CItemType sword, axe, helmet, potion, hammer, arrowType;
    CNpc merchant;
    CItemBag bag;
    bool hasBag = true;
    int bagLookUps = 0;
    FakeServicePlayer player;
    CSkillTable skills;
    CAttributeTable attributes;
    CRuleContext rules;
    std::map<std::string, i32> globals;
    std::vector<std::string> sounds;
};

}  // namespace trade_testing
