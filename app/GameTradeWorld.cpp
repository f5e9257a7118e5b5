#include "app/GameTradeWorld.h"

#include "app/Game.h"
#include "data/WorldLists.h"

CGameTradeWorld::CGameTradeWorld(CGame& game) : game_(game), player_(game.player) {}

const CRuleContext* CGameTradeWorld::GetRuleContext() { return game_.player.GetWorld(); }

const CNpc* CGameTradeWorld::GetNpc(u32 word) {
    if (word == 0 || !game_.worldLists) return nullptr;
    const int index = static_cast<int>(word - 1);
    return index < game_.worldLists->npcs.Count() ? game_.worldLists->npcs.At(index) : nullptr;
}

const i32* CGameTradeWorld::FindGlobalVariable(const char* name) {
    if (!name || !game_.worldLists) return nullptr;
    const CGlobalVar* variable = game_.worldLists->globals.FindById(name);
    return variable ? &variable->number : nullptr;
}

void CGameTradeWorld::PlayNamedSound(const char* name) {
    if (game_.worldLists) game_.worldLists->resources.PlaySound(name, 10);
}
