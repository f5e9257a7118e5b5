#include "screens/npc/ShopTrade.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "data/ItemBag.h"
#include "data/ItemText.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "data/RuleContext.h"

namespace {

// Class 8 (potions) sorts before class 7 (ingredients); the others ascend.
int ClassOrder(int itemClass) {
    if (itemClass == kItemPotion) return 2 * kItemIngredient - 1;
    return 2 * itemClass;
}

const char* TypeName(const CItemType& type) {
    return type.name ? type.name : (type.GetName() ? type.GetName() : "");
}

bool EntryBefore(const CShopEntry& a, const CShopEntry& b) {
    const CItemType& ta = *a.item->type;
    const CItemType& tb = *b.item->type;
    if (ClassOrder(ta.itemClass) != ClassOrder(tb.itemClass))
        return ClassOrder(ta.itemClass) < ClassOrder(tb.itemClass);
    if (ta.subclass != tb.subclass) return ta.subclass < tb.subclass;
    const int four = std::strncmp(TypeName(ta), TypeName(tb), 4);
    if (four != 0) return four < 0;
    return std::strcmp(TypeName(ta), TypeName(tb)) < 0;
}

int IndexOf(const CPointerArray& items, const CItemInstance* item) {
    for (int i = 0; i < items.GetCount(); ++i)
        if (items.At<CItemInstance>(i) == item) return i;
    return -1;
}

}  // namespace

void FormatTradePhrase(const CItemInstance& item, const CRuleContext* rules, CStr& out) {
    CStr name;
    if (rules && item.type)
        FormatItemName(*item.type, &item, false, *rules, name);
    else if (item.type)
        name = TypeName(*item.type);
    if (item.type && item.type->IsCountedWeapon() && item.count > 1) {
        out.Format("%u %s", static_cast<unsigned>(item.count), name.GetText());
        return;
    }
    const char first = static_cast<char>(std::tolower(static_cast<unsigned char>(name.GetText()[0])));
    const bool vowel = std::strchr("aeiou", first) != nullptr && first != 0;
    out.Format("%s %s", vowel ? "an" : "a", name.GetText());
}

void CShopTrade::Begin(const CNpc* merchant, CItemBag* bag, ITradePlayer* player, u32 priceLevel,
                       const CRuleContext* rules) {
    merchant_ = merchant;
    bag_ = bag;
    player_ = player;
    priceLevel_ = priceLevel;
    rules_ = rules;
    ShowList(true);
}

const char* CShopTrade::GetMerchantName() const {
    return merchant_ && merchant_->GetName() ? merchant_->GetName() : "The merchant";
}

void CShopTrade::ShowList(bool shop) {
    showingShop_ = shop;
    FillList();
}

void CShopTrade::Select(int index) {
    if (entries_.empty())
        selection_ = -1;
    else
        selection_ = std::clamp(index, 0, static_cast<int>(entries_.size()) - 1);
}

const CShopEntry* CShopTrade::GetSelectedEntry() const {
    return selection_ >= 0 && selection_ < static_cast<int>(entries_.size()) ? &entries_[selection_]
                                                                             : nullptr;
}

std::vector<CItemInstance*> CShopTrade::CollectItems() const {
    std::vector<CItemInstance*> items;
    if (showingShop_) {
        if (bag_)
            for (int i = 0; i < bag_->GetItemCount(); ++i) items.push_back(bag_->GetItem(i));
        return items;
    }
    if (!player_) return items;
    const u16 mask = merchant_ ? merchant_->classMask : 0;
    for (int i = 0; i < player_->GetItemCount(); ++i) {
        CItemInstance* item = player_->GetItem(i);
        if (item && item->type && (mask & CItemCatalogue::GetClassFlag(item->type->itemClass).bit))
            items.push_back(item);
    }
    return items;
}

u32 CShopTrade::PriceOf(const CItemInstance& item) const {
    const CItemType& type = *item.type;
    static const CRuleContext kNoTables;
    const u32 itemValue = type.GetValue(&item, rules_ ? *rules_ : kNoTables);
    const u32 value = GetEntryValue(type, itemValue, item.count);
    const int bonus = player_ ? player_->GetTradeBonus() : 0;
    if (showingShop_) return AdjustPrice(GetShopBuyPrice(value, priceLevel_), bonus, TradeSide::PlayerBuys);
    return AdjustPrice(GetShopSellPrice(value, type.itemClass, type.subclass), bonus, TradeSide::PlayerSells);
}

void CShopTrade::AddToList(CItemInstance* item) {
    for (CShopEntry& entry : entries_) {
        if (ItemsStack(*entry.item, *item)) {
            ++entry.count;
            return;
        }
    }
    CShopEntry entry;
    entry.item = item;
    entry.price = PriceOf(*item);
    const CItemType& type = *item->type;
    if (type.flags & 0x04) entry.flags |= kShopEntryNoSale;
    if (type.itemClass >= kItemWeapon && type.itemClass <= kItemAccessory && (item->effects || type.effects))
        entry.flags |= kShopEntryEnchanted;
    if (!showingShop_ && player_ && player_->IsEquipped(*item)) entry.flags |= kShopEntryEquipped;
    entries_.push_back(entry);
}

void CShopTrade::FillList() {
    entries_.clear();
    for (CItemInstance* item : CollectItems()) AddToList(item);
    std::stable_sort(entries_.begin(), entries_.end(), EntryBefore);
    selection_ = entries_.empty() ? -1 : 0;
}

void CShopTrade::RefillKeepingIndex(int index) {
    FillList();
    Select(index);
}

void CShopTrade::AfterTransfer(bool fromShop) {
    const int index = selection_;
    CShopEntry& entry = entries_[index];
    if (entry.count <= 1) {
        entries_.erase(entries_.begin() + index);
        Select(index);
        return;
    }
    // The next item of the same stack: same type, count word and effects, and in the player's list
    // not one that is worn (a worn one is a stack of its own to the player's eye).
    CItemInstance* next = FindStackMate(CollectItems(), *entry.item, [&](const CItemInstance& item) {
        return !fromShop && player_ && player_->IsEquipped(item);
    });
    if (!next) {
        RefillKeepingIndex(index);
        return;
    }
    entry.item = next;
    --entry.count;
}

CTradeOutcome CShopTrade::Buy() {
    CTradeOutcome outcome;
    if (!showingShop_) {
        ShowList(true);
        outcome.kind = CTradeOutcome::kSwitchedList;
        outcome.message = "Shop items";
        outcome.messageMs = 2000;
        return outcome;
    }
    const CShopEntry* entry = GetSelectedEntry();
    if (!entry || !player_) return outcome;
    if (entry->price > player_->GetGold()) {
        outcome.kind = CTradeOutcome::kRefused;
        outcome.message = "You don't have enough gold.";
        outcome.messageMs = 3000;
        return outcome;
    }
    CItemInstance* item = entry->item;
    const int at = bag_ ? IndexOf(bag_->items, item) : -1;
    if (at < 0) {
        // The entry no longer names an item of the stock: show the stock as it is, charge nothing.
        RefillKeepingIndex(selection_);
        return outcome;
    }
    const u32 price = entry->price;
    RaiseUseCounter(player_->GetSkillUseCounter(kTradeSkillMercantile));
    player_->SetGold(std::min(player_->GetGold() - price, kGoldLimit));
    CStr phrase;
    FormatTradePhrase(*item, rules_, phrase);
    bag_->items.RemoveAt(at);
    AfterTransfer(true);
    player_->TakeItem(item);
    outcome.kind = CTradeOutcome::kDone;
    outcome.gold = price;
    outcome.message.Format("You have purchased %s for %u gold.", phrase.GetText(), price);
    outcome.messageMs = 3000;
    return outcome;
}

CTradeOutcome CShopTrade::Sell(bool confirmed) {
    CTradeOutcome outcome;
    if (showingShop_) {
        ShowList(false);
        outcome.kind = CTradeOutcome::kSwitchedList;
        outcome.message = "Player items";
        outcome.messageMs = 2000;
        return outcome;
    }
    const CShopEntry* entry = GetSelectedEntry();
    if (!entry || !player_) return outcome;
    const CItemType& type = *entry->item->type;
    outcome.kind = CTradeOutcome::kRefused;
    outcome.messageMs = 3000;
    const u16 mask = merchant_ ? merchant_->classMask : 0;
    const u32 cap = merchant_ ? merchant_->maxPayment : 0;
    if (type.flags & 0x04) {
        outcome.message = "You can't sell this item.";
        return outcome;
    }
    if (!(mask & CItemCatalogue::GetClassFlag(type.itemClass).bit)) {
        outcome.message.Format("%s doesn't purchase such things.", GetMerchantName());
        return outcome;
    }
    // Without a bag the merchant has nowhere to keep what it buys.
    if (cap == 0 || !bag_) {
        outcome.message.Format("%s doesn't purchase anything.", GetMerchantName());
        return outcome;
    }
    if (cap < entry->price && !confirmed) {
        outcome.kind = CTradeOutcome::kAskDeal;
        outcome.message.Format("I can't pay you more than %u. Do we have a deal?", cap);
        outcome.messageMs = 0;
        return outcome;
    }
    CItemInstance* item = entry->item;
    const u32 paid = std::min(entry->price, cap);
    CStr phrase;
    FormatTradePhrase(*item, rules_, phrase);
    if (!player_->RemoveItem(item)) {
        // The entry named an item the player no longer holds: no gold for it.
        RefillKeepingIndex(selection_);
        outcome.kind = CTradeOutcome::kNothing;
        outcome.message = "";
        outcome.messageMs = 0;
        return outcome;
    }
    bag_->AddItem(item);
    player_->SetGold(PayToPlayer(player_->GetGold(), paid));
    RaiseUseCounter(player_->GetSkillUseCounter(kTradeSkillMercantile));
    AfterTransfer(false);
    outcome.kind = CTradeOutcome::kDone;
    outcome.gold = paid;
    outcome.message.Format("You have sold %s for %u gold.", phrase.GetText(), paid);
    return outcome;
}
