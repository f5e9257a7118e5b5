// The arithmetic of trading with NPCs and of repairing and training: prices, the trade bonus, money
// texts, condition words, the repair roll, the smith's and the trainer's costs. Plain functions over
// plain values, so that the shop and the service dialogs only show and apply what these decide.
#pragma once

#include <functional>
#include <vector>

#include "core/Types.h"
#include "world/TradeBonus.h"

class CNpc;
class CSkillTable;
class CStr;
class CItemType;
struct CItemInstance;

// The most gold anyone holds; the player's own cap is the same figure (checked where both meet).
inline constexpr u32 kGoldLimit = 1000000000;

// The gold after a payment to the player, never above the gold limit.
u32 PayToPlayer(u32 gold, u64 amount);
// Raises a skill's use counter by one, stopping at 255.
void RaiseUseCounter(u16& counter);

// An NPC's price level in tenths: the named global variable's value when the NPC names one that
// exists (`variableValue` not null) and it is above 0, else the record's own level.
u32 GetNpcPriceLevel(const CNpc& npc, const i32* variableValue);

// The value a shop list counts for an entry: counted weapons (throwing weapons, quivers) are priced
// by the dozen from the value of one, everything else by its own value.
u32 GetEntryValue(const CItemType& type, u32 itemValue, u32 countWord);
// What the merchant asks: value x price level / 10; what it offers: value / 4 for plain books and
// spellbooks, value / 2 for the rest. Both before the trade bonus.
u32 GetShopBuyPrice(u32 value, u32 priceLevel);
u32 GetShopSellPrice(u32 value, int itemClass, int subclass);

// "1B" style from a billion up, else the compact number form ("%luM", "%luK", "%lu").
void FormatMoney(u32 amount, CStr& out);

// Whether two instances share a list entry: one type, one count word and equal own effect lists
// (both absent, or equal in content).
bool ItemsStack(const CItemInstance& a, const CItemInstance& b);

// The next item of the stack `gone` headed among `items` (in their order): one that stacks with it, is
// not `gone` itself and is not skipped (a worn item is a stack of its own); null when none is left.
CItemInstance* FindStackMate(const std::vector<CItemInstance*>& items, const CItemInstance& gone,
                             const std::function<bool(const CItemInstance&)>& skip);

// Condition x 100 / maximum; a maximum of 0 counts as 1 so that no item divides by zero.
u32 GetConditionPercent(u32 condition, u32 maxCondition);
// "broken" below 10 %, "poor" below 30, "average" below 70, "good" below 100, else "perfect".
const char* GetConditionWord(u32 percent);

// Weapons (but not the counted ones) and armour can be repaired, when they are worn.
bool IsRepairable(const CItemType& type);
// A carried item that a repair list offers: repairable, below its maximum condition, and not of a
// type left out of the service lists (flag 0x10).
bool NeedsRepair(const CItemInstance& item);

// The generator as the rules draw from it: 0..n-1, and 0 without a draw for n below 1.
using RandomDraw = std::function<u32(i32)>;

// One attempt with a repair hammer, in the order of its draws: the hammer wears, the roll decides,
// a success adds condition.
struct CRepairAttempt {
    i32 wear = 0;  // what the hammer lost (0 when the skill is high enough not to wear it)
    bool success = false;
    u32 gain = 0;  // condition the item gained (capped at its maximum)
};
CRepairAttempt TryHammerRepair(int repairSkill, u16& hammerCondition, u16& itemCondition,
                               u16 itemMaxCondition, const RandomDraw& random);

// The smith's cost before the trade bonus: (maximum - condition) x rate / 100, at least 1.
u32 GetSmithRepairCost(u32 condition, u32 maxCondition, u32 rate);

// Why a trainer cannot train the player, in the order the checks run; kTrainOk when it can.
enum class TrainingRefusal {
    kTrainOk,
    kTrainUnknownSkill,   // the trainer's skill byte names no skill
    kTrainCannotLearn,    // the skill barred for the player's race
    kTrainTrainerLimit,   // the trainer teaches no higher than the player's level
    kTrainNeedAttribute,  // the governing attribute is too low
};
// The undead race (1) cannot learn Heal Magic (8), every other race cannot learn Undead Magic (12).
bool IsSkillBarredForRace(int skill, int race);
TrainingRefusal CheckTraining(int skill, int race, u32 baseValue, u32 trainerMaximum, bool canRaise);
// The price of the next point: the table's cost at the base value (the last cost from 100 up), then
// the trade bonus.
u32 GetTrainingPrice(const CSkillTable& skills, u32 baseValue, int bonus);
