// The shop's trading without its widgets: the two item lists (the merchant's stock and what the player
// may sell), their stacked and priced entries, and buying and selling one item at a time with every
// refusal. The shop screen shows what this decides; tests drive it with a stand-in player.
#pragma once

#include <vector>

#include "core/Str.h"
#include "core/Types.h"
#include "screens/npc/TradeRules.h"

class CItemBag;
class CNpc;
struct CItemInstance;
struct CRuleContext;

// The player as trading sees it; the game's player object stands behind it.
class ITradePlayer {
public:
    virtual ~ITradePlayer() = default;
    virtual u32 GetGold() const = 0;
    virtual void SetGold(u32 gold) = 0;
    // The carried items in inventory order.
    virtual int GetItemCount() const = 0;
    virtual CItemInstance* GetItem(int index) const = 0;
    virtual bool IsEquipped(const CItemInstance& item) const = 0;
    // Takes the item out of the player's items, unequipping it first; false when the player does not
    // hold it (nothing changes then).
    virtual bool RemoveItem(CItemInstance* item) = 0;
    // Puts a bought item into the inventory and owns it (money becomes gold and the item is freed).
    virtual void TakeItem(CItemInstance* item) = 0;
    virtual u16& GetSkillUseCounter(int skill) = 0;
    // The trade bonus in percent (0..100).
    virtual int GetTradeBonus() const = 0;
};

// One entry of a shop list: a stack of items that share type, count word and own effects.
struct CShopEntry {
    CItemInstance* item = nullptr;  // the first item of the stack
    u16 count = 1;
    u32 price = 0;
    u8 flags = 0;  // kShopEntry* below
};

inline constexpr u8 kShopEntryEnchanted = 0x02;
inline constexpr u8 kShopEntryNoSale = 0x04;
inline constexpr u8 kShopEntryEquipped = 0x10;

inline constexpr int kTradeSkillMercantile = 15;

// What a buy or a sell came to, for the screen to show.
struct CTradeOutcome {
    enum Kind {
        kNothing,       // no entry selected
        kSwitchedList,  // the other list is shown now
        kRefused,       // a message, nothing changed
        kAskDeal,       // the merchant offers its cap; Yes sells for it
        kDone,          // the item changed hands
    };
    Kind kind = kNothing;
    CStr message;
    u32 messageMs = 0;
    u32 gold = 0;  // what was paid or received
};

class CShopTrade {
public:
    CShopTrade() = default;

    // A new visit: the merchant (its name, class mask, cap and price level), its bag (null when it has
    // none: an empty stock that buys nothing), the player, the price level in tenths and the rules'
    // context for item values and names. Shows the stock.
    void Begin(const CNpc* merchant, CItemBag* bag, ITradePlayer* player, u32 priceLevel,
               const CRuleContext* rules);

    bool IsShowingShop() const { return showingShop_; }
    const std::vector<CShopEntry>& GetEntries() const { return entries_; }
    int GetSelection() const { return selection_; }
    void Select(int index);
    const CShopEntry* GetSelectedEntry() const;

    // Refills the shown list from its container; the selection goes to entry 0 (none when empty).
    void FillList();
    void ShowList(bool shop);

    CTradeOutcome Buy();
    CTradeOutcome Sell(bool confirmed);

    // The name of the merchant as messages use it.
    const char* GetMerchantName() const;

private:
    std::vector<CItemInstance*> CollectItems() const;
    void AddToList(CItemInstance* item);
    u32 PriceOf(const CItemInstance& item) const;
    // The entry at the selection lost its first item: count down and point it at the next item of its
    // stack, or refill the list when none is left or the stack has none.
    void AfterTransfer(bool fromShop);
    void RefillKeepingIndex(int index);

    const CNpc* merchant_ = nullptr;
    CItemBag* bag_ = nullptr;
    ITradePlayer* player_ = nullptr;
    const CRuleContext* rules_ = nullptr;
    u32 priceLevel_ = 10;
    bool showingShop_ = true;
    std::vector<CShopEntry> entries_;
    int selection_ = -1;
};

// "a sword", "an axe", "3 arrows" as the trade messages name what changed hands.
void FormatTradePhrase(const CItemInstance& item, const CRuleContext* rules, CStr& out);
