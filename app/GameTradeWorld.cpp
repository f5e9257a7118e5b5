#include "app/GameTradeWorld.h"

#include "app/Game.h"
#include "core/Random.h"
#include "data/ItemBag.h"
#include "data/MapSection.h"
#include "data/Npc.h"
#include "data/WorldLists.h"

namespace {

// A merchant's bag as the stock builder fills it. Bit 7 of the bag's flags marks the stock as made;
// the creature's own flag byte has no bit to spare (bit 7 there is the hurt animation).
class CBagStock : public IShopStock {
public:
    explicit CBagStock(CItemBag& bag) : bag_(bag) {}
    u8& StockFlags() override { return bag_.flags; }
    void RemoveAllItems() override { bag_.RemoveAllItems(); }
    bool HoldsItemType(const CItemType& type) const override {
        for (int i = 0; i < bag_.GetItemCount(); ++i)
            if (bag_.GetItem(i)->type == &type) return true;
        return false;
    }
    void AddItem(CItemInstance* item) override { bag_.AddItem(item); }
    // A stock entry is an item of that type whose count word is the entry's condition.
    void AddStockEntry(const CItemType& type, u32, u16 condition) override {
        auto* item = new CItemInstance;
        item->type = &type;
        item->count = condition;
        bag_.AddItem(item);
    }
private:
    CItemBag& bag_;
};

}  // namespace

CGameTradeWorld::CGameTradeWorld(CGame& game) : game_(game), player_(game.player) {}

const CRuleContext* CGameTradeWorld::GetRuleContext() { return game_.player.GetWorld(); }

// The words are the game's entry words, the ones the talk and services screens were given.
const CNpc* CGameTradeWorld::GetNpc(u32 word) { return game_.GetNpcForEntry(word); }

CItemBag* CGameTradeWorld::OpenMerchantBag(const CNpc& merchant, u32 creatureWord, u32 sectionWord) {
    CMapSection* section = game_.GetSectionForEntry(sectionWord);
    if (!section || creatureWord == 0 || creatureWord > 255) return nullptr;
    CMonster* creature = section->FindMonster(static_cast<u8>(creatureWord));
    if (!creature || creature->bagId == 0) return nullptr;
    CItemBag* bag = section->bags.FindBagById(creature->bagId);
    if (!bag) return nullptr;
    if (game_.worldLists && game_.GetRandom()) {
        CBagStock stock(*bag);
        CreateShopStock(merchant, game_.worldLists->items, *game_.GetRandom(), stock);
    }
    return bag;
}

const i32* CGameTradeWorld::FindGlobalVariable(const char* name) {
    if (!name || !game_.worldLists) return nullptr;
    const CGlobalVar* variable = game_.worldLists->globals.FindById(name);
    return variable ? &variable->number : nullptr;
}

void CGameTradeWorld::PlayNamedSound(const char* name) {
    if (game_.worldLists) game_.worldLists->resources.PlaySound(name, 10);
}
