// The running game as the shop and the NPC services see it (ITradeWorld): the player, the world's
// NPCs by the game's entry words, the merchants' bags on the map, the scripts' global variables and the
// resource catalogue's sounds.
#pragma once

#include "screens/npc/PlayerServices.h"
#include "screens/npc/TradeWorld.h"

class CGame;

class CGameTradeWorld : public ITradeWorld {
public:
    explicit CGameTradeWorld(CGame& game);

    IServicePlayer* GetServicePlayer() override { return &player_; }
    const CRuleContext* GetRuleContext() override;
    const CNpc* GetNpc(u32 word) override;
    // The creature word is the creature's id in the section the section word names (CGame::TalkPlace).
    CItemBag* OpenMerchantBag(const CNpc& merchant, u32 creatureWord, u32 sectionWord) override;
    const i32* FindGlobalVariable(const char* name) override;
    void PlayNamedSound(const char* name) override;

private:
    CGame& game_;
    CPlayerServices player_;
};
