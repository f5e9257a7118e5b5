// The dialogs of the panels and NPC screens that the main game view shows over itself, made here
// because they live above the world: the rest dialog and the potion list (the spell book, the world
// map and the travel, lock-picking and enchanting dialogs follow with their screens).
#pragma once

#include "world/GameViewHost.h"

class CGame;

class CGameViewDialogs : public IGameViewDialogs {
public:
    explicit CGameViewDialogs(CGame& game) : game_(game) {}
    std::unique_ptr<CForm> OpenDialog(CGameViewDialog kind) override;
    bool DrinkChosenPotion(CForm& dialog) override;
    void ReportRest(CForm& dialog, bool exposed) override;

private:
    CGame& game_;
};
