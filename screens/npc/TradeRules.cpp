#include "screens/npc/TradeRules.h"

#include <algorithm>

#include "core/Str.h"
#include "data/CharacterTables.h"
#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "ui/Draw.h"

u32 PayToPlayer(u32 gold, u64 amount) { return static_cast<u32>(std::min<u64>(gold + amount, kGoldLimit)); }

void RaiseUseCounter(u16& counter) {
    if (counter < 255) ++counter;
}

u32 GetNpcPriceLevel(const CNpc& npc, const i32* variableValue) {
    const char* name = npc.GetPriceVariable();
    if (name && *name && variableValue && *variableValue > 0) return static_cast<u32>(*variableValue);
    return npc.GetPriceLevel();
}

u32 GetEntryValue(const CItemType& type, u32 itemValue, u32 countWord) {
    if (type.IsCountedWeapon()) return static_cast<u32>(static_cast<u64>(countWord) * itemValue / 12);
    return itemValue;
}

u32 GetShopBuyPrice(u32 value, u32 priceLevel) {
    return static_cast<u32>(std::min<u64>(static_cast<u64>(value) * priceLevel / 10, 0xFFFFFFFFu));
}

u32 GetShopSellPrice(u32 value, int itemClass, int subclass) {
    if ((itemClass == kItemBook && subclass == 1) || (itemClass == kItemMagic && subclass == 2))
        return value / 4;
    return value / 2;
}

void FormatMoney(u32 amount, CStr& out) {
    if (amount >= kGoldLimit)
        out.Format("%luB", static_cast<unsigned long>(amount / kGoldLimit));
    else
        FormatCompactNumber(amount, out);
}

bool ItemsStack(const CItemInstance& a, const CItemInstance& b) {
    if (a.type != b.type || a.count != b.count) return false;
    if (!a.effects || !b.effects) return !a.effects && !b.effects;
    return EffectListsEqual(a.effects, b.effects) != 0;
}

CItemInstance* FindStackMate(const std::vector<CItemInstance*>& items, const CItemInstance& gone,
                             const std::function<bool(const CItemInstance&)>& skip) {
    for (CItemInstance* item : items) {
        if (!item || item == &gone || !ItemsStack(*item, gone)) continue;
        if (skip && skip(*item)) continue;
        return item;
    }
    return nullptr;
}

u32 GetConditionPercent(u32 condition, u32 maxCondition) {
    return static_cast<u32>(static_cast<u64>(condition) * 100 / std::max<u32>(maxCondition, 1));
}

const char* GetConditionWord(u32 percent) {
    if (percent < 10) return "broken";
    if (percent < 30) return "poor";
    if (percent < 70) return "average";
    if (percent < 100) return "good";
    return "perfect";
}

bool IsRepairable(const CItemType& type) {
    return (type.IsWeapon() && !type.IsCountedWeapon()) || type.itemClass == kItemHeavyArmour ||
           type.itemClass == kItemLightArmour;
}

bool NeedsRepair(const CItemInstance& item) {
    return item.type && !(item.type->flags & 0x10) && IsRepairable(*item.type) &&
           item.count < item.type->maxCondition;
}

CRepairAttempt TryHammerRepair(int repairSkill, u16& hammerCondition, u16& itemCondition,
                               u16 itemMaxCondition, const RandomDraw& random) {
    CRepairAttempt attempt;
    // A skill of 120 and more leaves nothing to draw and nothing to wear.
    const i32 h = (120 - repairSkill) / 2;
    const i32 wear = h + static_cast<i32>(random(h));
    if (wear >= 0) {
        attempt.wear = std::min<i32>(wear, hammerCondition);
        hammerCondition = static_cast<u16>(hammerCondition - attempt.wear);
    }
    const u32 roll = random(100);
    if (static_cast<i64>(roll) > 2 * static_cast<i64>(repairSkill)) return attempt;
    attempt.success = true;
    const i32 g = (repairSkill + 150) / 2;
    const i64 gain = static_cast<i64>(g) + random(g);
    const i64 raised =
        std::min<i64>(static_cast<i64>(itemCondition) + std::max<i64>(gain, 0), itemMaxCondition);
    attempt.gain = raised > itemCondition ? static_cast<u32>(raised - itemCondition) : 0;
    itemCondition = static_cast<u16>(std::max<i64>(raised, itemCondition));
    return attempt;
}

u32 GetSmithRepairCost(u32 condition, u32 maxCondition, u32 rate) {
    const u64 missing = maxCondition > condition ? maxCondition - condition : 0;
    return static_cast<u32>(std::clamp<u64>(missing * rate / 100, 1, 0xFFFFFFFFu));
}

bool IsSkillBarredForRace(int skill, int race) { return race == 1 ? skill == 8 : skill == 12; }

TrainingRefusal CheckTraining(int skill, int race, u32 baseValue, u32 trainerMaximum, bool canRaise) {
    if (skill < 1 || skill > kSkillCount) return TrainingRefusal::kTrainUnknownSkill;
    if (IsSkillBarredForRace(skill, race)) return TrainingRefusal::kTrainCannotLearn;
    if (baseValue >= trainerMaximum) return TrainingRefusal::kTrainTrainerLimit;
    if (!canRaise) return TrainingRefusal::kTrainNeedAttribute;
    return TrainingRefusal::kTrainOk;
}

u32 GetTrainingPrice(const CSkillTable& skills, u32 baseValue, int bonus) {
    // The cost table ends at 100; every value from there on costs its last point.
    const int value = static_cast<int>(std::min<u32>(baseValue, 100));
    return AdjustPrice(skills.GetTrainingCost(value), bonus, TradeSide::PlayerBuys);
}
