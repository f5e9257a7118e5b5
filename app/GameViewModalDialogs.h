// The dialogs of the panels and NPC screens that the main game view owns while they are open, made
// here because they live above the world: the rest dialog and the potion list.
#pragma once

#include "world/GameViewHost.h"

class CGame;

class CGameViewModalDialogs : public IGameViewDialogs {
public:
    explicit CGameViewModalDialogs(CGame& game) : game_(game) {}
    std::unique_ptr<CForm> OpenDialog(CGameViewDialog kind) override;
    bool OpenKeptDialog(CGameViewDialog kind, const char* text, const char* destination) override;
    void CloseKeptDialog(CGameViewDialog kind) override;
    bool DrinkChosenPotion(CForm& dialog) override;
    void ReportRest(CForm& dialog, bool exposed) override;

private:
    CGame& game_;
};
