// The dialogs of the panels and NPC screens that the main game view owns while they are open, made
// here because they live above the world: the rest dialog, the potion list and the lock picking.
#pragma once

#include <memory>

#include "world/GameViewHost.h"

class CGame;
class CPlayerCrafts;
class CLockWordTarget;
class CNpcEnchanting;

class CGameViewModalDialogs : public IGameViewDialogs {
public:
    explicit CGameViewModalDialogs(CGame& game);
    std::unique_ptr<CForm> OpenDialog(CGameViewDialog kind) override;
    bool OpenKeptDialog(CGameViewDialog kind, const char* text, const char* destination) override;
    void CloseKeptDialog(CGameViewDialog kind) override;
    CItemInstance* ChosenPotion(CForm& dialog) override;
    bool CastChosenSpell(CForm& dialog) override;
    void ReportRest(CForm& dialog, bool exposed) override;
    std::unique_ptr<CForm> OpenLockPick(u16& lockWord) override;
    bool OpenSpellEnchanting(int level, bool recharge) override;

    CGameViewModalDialogs(const CGameViewModalDialogs&) = delete;
    CGameViewModalDialogs& operator=(const CGameViewModalDialogs&) = delete;
    ~CGameViewModalDialogs() override;

private:
    CGame& game_;
    // What the lock-picking dialog works on while it is open: the player and the lock.
    std::unique_ptr<CPlayerCrafts> picker_;
    std::unique_ptr<CLockWordTarget> lock_;
    // The item selection of the enchanting and recharging spells, kept while it shows.
    std::unique_ptr<CNpcEnchanting> enchanting_;
};
