#include "screens/panels/InventoryRules.h"

#include <algorithm>
#include <string>

#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "screens/npc/ListPaging.h"
#include "screens/npc/TradeRules.h"
#include "ui/ItemList.h"
#include "world/Player.h"

bool FilterListsItem(int filter, int itemClass, int subclass) {
    switch (filter) {
    case 0: return true;
    case 1: return itemClass == kItemWeapon;
    case 2: return itemClass == kItemHeavyArmour || itemClass == kItemLightArmour;
    case 3: return itemClass == kItemAccessory;
    case 4: return itemClass == kItemBook || (itemClass == kItemMagic && subclass == 2);
    case 5: return itemClass == kItemAlchemy || itemClass == kItemIngredient;
    case 6: return itemClass == kItemPotion;
    case 7: return itemClass == kItemMagic;
    case 8: return itemClass >= kItemMoney && itemClass <= kItemCard;
    default: return false;
    }
}

int FilterEnabledByClass(int itemClass) {
    static const u8 kGroup[kItemCard + 1] = {0, 1, 2, 2, 3, 4, 5, 5, 6, 7, 8, 8, 8, 8, 8, 8, 8};
    return itemClass >= 0 && itemClass <= kItemCard ? kGroup[itemClass] : 0;
}

int PaperDollFilter(int itemClass) {
    return itemClass >= kItemWeapon && itemClass <= kItemAccessory ? FilterEnabledByClass(itemClass) : 0;
}

bool IsDoubleTap(int lastIndex, u32 lastTime, int index, u32 now) {
    const u32 elapsed = now - lastTime;
    return lastIndex >= 0 && index == lastIndex && elapsed >= 1 && elapsed <= kDoubleTapMs;
}

void FormatGoldAndLoad(int layoutMode, u32 gold, u32 load, u32 capacity, CStr& out) {
    CStr money;
    FormatMoney(gold, money);
    const unsigned lw = load / 100, lf = load % 100 / 10, cw = capacity / 100, cf = capacity % 100 / 10;
    const char* text = money.GetText();
    switch (layoutMode) {
    case 2:
    case 3:
    case 5:
    case 7:
    case 8: out.Format("Gold: %s%c\rPack: %u.%u/%u.%u", text, 9, lw, lf, cw, cf); break;
    case 6:
    case 12:
    case 13: out.Format("Gold:\r%s\rPack:\r%u.%u/\r%u.%u", text, lw, lf, cw, cf); break;
    case 16: out.Format("Gold:\r%s%c\r\rPack:\r%u.%u/\r%u.%u", text, 9, lw, lf, cw, cf); break;
    default: out.Format("Gold:\r%s%c\rPack:\r%u.%u/\r%u.%u", text, 9, lw, lf, cw, cf); break;
    }
}

void FitGoldAndLoadRows(CStr& text, int rows, bool compact) {
    std::string flat;
    for (const char* c = text.GetText(); *c; ++c) {
        if (*c != '\r')
            flat += *c;
        else if (!flat.empty() && flat.back() == ':') {
            if (!compact) flat += ' ';
        }
        else if (!flat.empty() && flat.back() != '/' && flat.back() != ' ')
            flat += "  ";
    }
    if (rows >= 2) {
        const size_t pack = flat.find("Pack:");
        if (pack != std::string::npos) {
            size_t end = pack;
            while (end > 0 && flat[end - 1] == ' ') --end;
            flat = flat.substr(0, end) + "\r" + flat.substr(pack);
        }
    }
    text = flat.c_str();
}

InventoryTap DecideListTap(bool containerShown, bool equipRequest, bool doubleTap, bool useRequest,
                           bool useButtonShown) {
    if (!containerShown && equipRequest) return InventoryTap::kEquip;
    if (doubleTap) return containerShown ? InventoryTap::kTake : InventoryTap::kUse;
    if (!containerShown && useRequest && useButtonShown) return InventoryTap::kSelectAndUse;
    return InventoryTap::kSelect;
}

u32 AddCoinToGold(u32 gold, u32 value) { return PayToPlayer(gold, value); }

void CInventoryLists::Begin(CPlayer* player, CItemBag* container) {
    player_ = player;
    container_ = container;
    showContainer_ = false;
    filter_ = 0;
    selection_ = -1;
    entries_.clear();
    Refresh(false);
}

void CInventoryLists::ShowContainer(bool show) {
    showContainer_ = show;
    Refresh(false);
}

void CInventoryLists::SetFilter(int filter) {
    filter_ = std::clamp(filter, 0, kInventoryFilterCount - 1);
    Refresh(false);
}

void CInventoryLists::Select(int index) {
    selection_ = ClampSelection(index, static_cast<i32>(entries_.size()));
}

const CInventoryEntry* CInventoryLists::GetSelectedEntry() const {
    return selection_ >= 0 && selection_ < static_cast<int>(entries_.size()) ? &entries_[selection_]
                                                                             : nullptr;
}

std::vector<CItemInstance*> CInventoryLists::CollectItems(bool fromContainer) const {
    std::vector<CItemInstance*> items;
    if (fromContainer) {
        if (container_)
            for (int i = 0; i < container_->GetItemCount(); ++i) items.push_back(container_->GetItem(i));
    } else if (player_) {
        for (const auto& item : player_->items) items.push_back(item.get());
    }
    return items;
}

bool CInventoryLists::IsEquipped(const CItemInstance& item) const {
    if (!player_) return false;
    for (int slot = 1; slot <= kEquipmentSlotCount; ++slot)
        if (player_->equipment[slot] == &item) return true;
    return false;
}

u8 CInventoryLists::FlagsOf(const CItemInstance& item) const {
    const CItemType& type = *item.type;
    u8 flags = 0;
    if (!showContainer_ && type.itemClass >= kItemWeapon && type.itemClass <= kItemAccessory)
        flags |= kInvEntryEquippable;
    if (!showContainer_ && IsEquipped(item)) flags |= kInvEntryEquipped;
    if (player_ &&
        ((type.alignment == 1 && player_->fame < 0) || (type.alignment == 2 && player_->fame >= 0)))
        flags |= kInvEntryForbidden;
    if (type.flags & 0x10) flags |= kInvEntryUnusable;
    return flags;
}

void CInventoryLists::Refresh(bool keep) {
    if (showContainer_ ? !container_ : !player_) return;
    const int previous = selection_;
    entries_.clear();
    for (CItemInstance* item : CollectItems(showContainer_)) {
        if (!item || !item->type || !FilterListsItem(filter_, item->type->itemClass, item->type->subclass))
            continue;
        const u8 flags = FlagsOf(*item);
        auto same = std::find_if(entries_.begin(), entries_.end(), [&](const CInventoryEntry& entry) {
            return !(flags & kInvEntryEquipped) && !(entry.flags & kInvEntryEquipped) &&
                   ItemsStack(*entry.item, *item);
        });
        if (same != entries_.end()) {
            ++same->count;
            continue;
        }
        entries_.push_back({item, 1, flags});
    }
    std::stable_sort(entries_.begin(), entries_.end(), [](const CInventoryEntry& a, const CInventoryEntry& b) {
        return ItemTypeSortsBefore(*a.item->type, *b.item->type);
    });
    Select(keep ? previous : 0);
}

bool CInventoryLists::IsFilterEnabled(int filter) const {
    if (filter == 0) return true;
    for (const CItemInstance* item : CollectItems(showContainer_))
        if (item && item->type && FilterEnabledByClass(item->type->itemClass) == filter) return true;
    return false;
}

void CInventoryLists::AfterTransfer(const CItemInstance* gone) {
    const int index = selection_;
    CInventoryEntry& entry = entries_[index];
    CItemInstance* next = nullptr;
    if (entry.count > 1 && gone)
        next = FindStackMate(CollectItems(showContainer_), *gone,
                             [&](const CItemInstance& item) { return !showContainer_ && IsEquipped(item); });
    if (!next) {
        // The last of its stack, or the rest of the stack is gone from the source: list what is there.
        if (entry.count <= 1) {
            entries_.erase(entries_.begin() + index);
            Select(index);
        } else {
            Refresh(true);
        }
        return;
    }
    entry.item = next;
    --entry.count;
}

CInventoryOutcome CInventoryLists::SwitchList(bool container) {
    ShowContainer(container);
    CInventoryOutcome outcome;
    outcome.kind = CInventoryOutcome::kSwitchedList;
    return outcome;
}

CInventoryOutcome CInventoryLists::Take() {
    CInventoryOutcome outcome;
    if (!showContainer_) return SwitchList(true);
    const CInventoryEntry* entry = GetSelectedEntry();
    if (!entry || !container_ || !player_) return outcome;
    CItemInstance* item = entry->item;
    const int at = [&] {
        for (int i = 0; i < container_->GetItemCount(); ++i)
            if (container_->GetItem(i) == item) return i;
        return -1;
    }();
    if (at < 0) {
        // The entry names an item that left the container: show the container as it is.
        Refresh(true);
        return outcome;
    }
    container_->items.RemoveAt(at);
    const CItemType& type = *item->type;
    if (type.itemClass == kItemMoney) {
        player_->gold = AddCoinToGold(player_->gold, type.value);
        outcome.message.Format("You have taken %u gold.", static_cast<unsigned>(type.value));
        outcome.sound = "bsnd_money";
        AfterTransfer(item);
        delete item;
    } else {
        outcome.message.Format("You have taken %s.", CPlayer::FormatItemPhrase(type, 1).c_str());
        outcome.sound = "bsnd_pickup";
        AfterTransfer(item);
        player_->TakeItem(item);
    }
    outcome.kind = CInventoryOutcome::kDone;
    return outcome;
}

CInventoryOutcome CInventoryLists::Drop() {
    CInventoryOutcome outcome;
    if (showContainer_) return SwitchList(false);
    const CInventoryEntry* entry = GetSelectedEntry();
    // Without a container the cell takes no bag: the item stays with the player.
    if (!entry || !container_ || !player_) return outcome;
    CItemInstance* item = entry->item;
    std::unique_ptr<CItemInstance> taken = player_->RemoveItem(item);
    if (!taken) {
        Refresh(true);
        return outcome;
    }
    outcome.message.Format("You have dropped %s.", CPlayer::FormatItemPhrase(*item->type, 1).c_str());
    outcome.sound = "bsnd_drop";
    AfterTransfer(item);
    container_->AddItem(taken.release());
    outcome.kind = CInventoryOutcome::kDone;
    return outcome;
}
