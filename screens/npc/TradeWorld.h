// What the NPC services (the shop, repair and training) need of the running game: the player as they
// see it, the rule tables, the NPC and the merchant's bag that the entry words name, the global
// variable that may carry a price level and the named sounds. The game implements it over its world
// and player; tests give their own.
#pragma once

#include "core/Types.h"
#include "screens/npc/ShopTrade.h"

class CItemBag;
class CNpc;
class CSkillTable;
class CAttributeTable;
struct CRuleContext;

// The player as the repair and training services see it, beyond trading.
class IServicePlayer : public ITradePlayer {
public:
    // The stored value of skill 1..20 (0 outside), and with the player's Fortify skill effects on it.
    virtual u32 GetSkillBase(int skill) const = 0;
    virtual void SetSkillBase(int skill, u32 value) = 0;
    virtual int GetSkillWithFortify(int skill) const = 0;
    virtual int GetRace() const = 0;
    // Whether the skill's base value is below twice its governing attribute's.
    virtual bool CanRaiseSkill(int skill) const = 0;
    // The weight of the carried items and the carrying capacity, in hundredths.
    virtual i32 GetCarriedWeight() const = 0;
    virtual i32 GetCarryCapacity() const = 0;
};

class ITradeWorld {
public:
    virtual ~ITradeWorld() = default;
    // Null while no game runs.
    virtual IServicePlayer* GetServicePlayer() = 0;
    virtual const CRuleContext* GetRuleContext() = 0;
    // The NPC record an entry word names; null for 0 or a word that names none.
    virtual const CNpc* GetNpc(u32 word) = 0;
    // The merchant's bag in the section that `sectionWord` names, its stock created first when the
    // creature has not had it yet. Null when there is no creature (word 0), its bag id is 0 or the
    // section holds no bag of that id: such a merchant has no stock and nowhere to keep what it buys.
    virtual CItemBag* OpenMerchantBag(const CNpc& merchant, u32 creatureWord, u32 sectionWord) = 0;
    // The value of a global variable of the scripts by name; null when there is none.
    virtual const i32* FindGlobalVariable(const char* name) = 0;
    // Plays a sound of the resource catalogue by name at full relative volume; nothing when absent.
    virtual void PlayNamedSound(const char* name) = 0;
};
