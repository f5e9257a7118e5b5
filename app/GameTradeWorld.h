// The running game as the shop and the NPC services see it (ITradeWorld): the player, the world's
// NPCs by entry word (position in the NPC list plus one), the scripts' global variables and the
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
    // The sections do not yet carry their creatures and bags into the running game: until they do, a
    // merchant has no bag, which shows an empty stock and refuses every sale.
    CItemBag* OpenMerchantBag(const CNpc& merchant, u32 creatureWord, u32 sectionWord) override {
        return nullptr;
    }
    const i32* FindGlobalVariable(const char* name) override;
    void PlayNamedSound(const char* name) override;

private:
    CGame& game_;
    CPlayerServices player_;
};
