// The rules of an NPC's services without a screen: which service buttons and links an NPC offers, its
// price level, the inn's rent, taking money, and what a night's rest restores.
#pragma once

#include "core/Types.h"
#include "screens/npc/TradeRules.h"

#include <vector>

class CNpc;

// Service flag bits of the NPC record.
enum NpcServiceFlag : u8 {
    kServiceBuySell = 0x01,
    kServiceTraining = 0x02,
    kServiceEnchant = 0x04,
    kServiceRepair = 0x08,
    kServiceSleep = 0x20,
    kServiceCards = 0x40,
};

// Command ids of the services menu.
enum ServicesCommand : i32 {
    kServicesTalk = 256,
    kServicesBuySell = 257,
    kServicesEnchant = 258,
    kServicesRepair = 259,
    kServicesTraining = 260,
    kServicesLeave = 261,
    kServicesSleep = 262,
    kServicesCards = 263,
};

// Command ids of the talk screen's links.
enum TalkCommand : i32 {
    kTalkTopicBase = 0x1000,
    kTalkContinue = 0x4000,
    kTalkAnswerBase = 0x4100,
    kTalkBuySell = 0x5000,
    kTalkEnchant = 0x5100,
    kTalkTraining = 0x5200,
    kTalkRepair = 0x5300,
    kTalkCards = 0x5500,
    kTalkExit = 0x5600,
    kTalkListUp = 0x6100,
    kTalkListDown = 0x6200,
    kTalkListAccept = 0x6300,
    kTalkListCancel = 0x6400,
};

struct ServiceButton {
    i32 command;
    const char* caption;
};

// Five layout places stand before "Leave".
inline constexpr int kServicePlaces = 5;

// The services menu's buttons before "Leave": "Talk" first, then the services by flag in menu order.
// Only five places exist, so the list stops at five whatever the flags ask for.
std::vector<ServiceButton> GetServiceButtons(u8 serviceFlags);
// True when the flags ask for more buttons than the menu has places (the content builder warns).
bool ServiceFlagsOverflow(u8 serviceFlags);
// The talk screen's service links: only for an NPC without a talk profile (one with a profile offers
// them on the services menu).
std::vector<ServiceButton> GetTalkServiceLinks(u8 serviceFlags, bool hasTalkProfile);

// What the inn and the rest need of the player.
class INpcCustomer {
public:
    virtual ~INpcCustomer() = default;
    virtual u32 GetGold() const = 0;
    virtual void SetGold(u32 gold) = 0;
    // The price after the trade bonus; `lowering` for what the player pays.
    // The trade bonus lowers what the player pays and raises what the player is paid.
    virtual u32 AdjustPrice(u32 price, bool playerPays) const = 0;
    virtual bool HasSeriousDisease() const = 0;
    virtual i32 GetHitPoints() const = 0;
    virtual i32 GetMaxHitPoints() const = 0;
    virtual void SetHitPoints(i32 value) = 0;
    virtual i32 GetMana() const = 0;
    virtual i32 GetMaxMana() const = 0;
    virtual void SetMana(i32 value) = 0;
    virtual bool IsPoisoned() const = 0;
    virtual void CurePoison() = 0;
};

// Five times the price level, lowered by the player's trade bonus.
u32 GetInnRent(u32 priceLevel, const INpcCustomer& customer);
// Takes the amount when the player's gold covers it (then limits the gold to the cap); false, and
// nothing taken, when it does not. Every gold subtraction goes through here, checked at the moment
// it happens: the check that offered the deal may be stale.
bool TakeGold(INpcCustomer& customer, u32 amount);

// What the inn's rest gives when its count ends: hit points and mana at five quarters of their maxima
// (a value already higher stays), poison cured. Returns true when poison was cured.
bool ApplyInnRest(INpcCustomer& customer);
// A rest in the open: each value rises to its maximum, or with rain half of what it lacks; a value
// is never lowered.
i32 RestoreInOpen(i32 value, i32 maximum, bool rained);

// True when more than `interval` milliseconds lie between `since` and `now`. The difference is
// taken unsigned, so a wrapping millisecond counter changes nothing.
inline bool IntervalPassed(u32 now, u32 since, u32 interval) { return now - since > interval; }

// The rest's hour count: 1 at once, one hour more per tick after more than a second, up to 8.
class CRestCounter {
public:
    static constexpr u32 kLastHour = 8;
    void Start(u32 now) {
        hour_ = 1;
        lastStep_ = now;
    }
    // True when the hour moved on.
    bool Tick(u32 now);
    u32 GetHour() const { return hour_; }
    bool IsFinished() const { return hour_ >= kLastHour; }

private:
    u32 hour_ = 1;
    u32 lastStep_ = 0;
};
