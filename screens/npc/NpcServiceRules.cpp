#include "screens/npc/NpcServiceRules.h"

#include "data/Npc.h"

#include <algorithm>

namespace {

struct FlaggedService {
    u8 flag;
    ServiceButton button;
};

constexpr FlaggedService kMenuServices[] = {
    {kServiceBuySell, {kServicesBuySell, "Buy/sell"}}, {kServiceTraining, {kServicesTraining, "Training"}},
    {kServiceRepair, {kServicesRepair, "Repair"}},     {kServiceEnchant, {kServicesEnchant, "Enchant"}},
    {kServiceSleep, {kServicesSleep, "Sleep"}},        {kServiceCards, {kServicesCards, "Cards"}},
};

constexpr FlaggedService kTalkServices[] = {
    {kServiceBuySell, {kTalkBuySell, "Buy/sell"}}, {kServiceTraining, {kTalkTraining, "Training"}},
    {kServiceRepair, {kTalkRepair, "Repair"}},     {kServiceEnchant, {kTalkEnchant, "Enchant"}},
    {kServiceCards, {kTalkCards, "Cards"}},
};

int CountMenuServices(u8 flags) {
    int count = 1;  // "Talk"
    for (const FlaggedService& s : kMenuServices) count += (flags & s.flag) ? 1 : 0;
    return count;
}

}  // namespace

std::vector<ServiceButton> GetServiceButtons(u8 serviceFlags) {
    std::vector<ServiceButton> buttons{{kServicesTalk, "Talk"}};
    for (const FlaggedService& s : kMenuServices)
        if ((serviceFlags & s.flag) && static_cast<int>(buttons.size()) < kServicePlaces)
            buttons.push_back(s.button);
    return buttons;
}

bool ServiceFlagsOverflow(u8 serviceFlags) { return CountMenuServices(serviceFlags) > kServicePlaces; }

std::vector<ServiceButton> GetTalkServiceLinks(u8 serviceFlags, bool hasTalkProfile) {
    std::vector<ServiceButton> links;
    if (hasTalkProfile) return links;
    for (const FlaggedService& s : kTalkServices)
        if (serviceFlags & s.flag) links.push_back(s.button);
    return links;
}

u32 GetInnRent(u32 priceLevel, const INpcCustomer& customer) {
    return customer.AdjustPrice(5 * priceLevel, true);
}

bool TakeGold(INpcCustomer& customer, u32 amount) {
    const u32 gold = customer.GetGold();
    if (gold < amount) return false;
    customer.SetGold(std::min(gold - amount, kGoldLimit));
    return true;
}

bool ApplyInnRest(INpcCustomer& customer) {
    const i32 hp = customer.GetMaxHitPoints() * 5 / 4;
    if (customer.GetHitPoints() < hp) customer.SetHitPoints(hp);
    const i32 mana = customer.GetMaxMana() * 5 / 4;
    if (customer.GetMana() < mana) customer.SetMana(mana);
    if (!customer.IsPoisoned()) return false;
    customer.CurePoison();
    return true;
}

i32 RestoreInOpen(i32 value, i32 maximum, bool rained) {
    if (value >= maximum) return value;
    return rained ? value + (maximum - value) / 2 : maximum;
}

bool CRestCounter::Tick(u32 now) {
    if (hour_ >= kLastHour || !IntervalPassed(now, lastStep_, 1000)) return false;
    ++hour_;
    lastStep_ = now;
    return true;
}
