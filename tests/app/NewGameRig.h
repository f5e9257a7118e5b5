// A new game in the game view on the built world, as the tests that play it begin: past the splash,
// the game databases open, the new player made, the view entered at the start.
#pragma once

#include "app/Game.h"
#include "tests/support/FrameRig.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

namespace testing_support {

struct NewGameRig : FrameRig {
    bool StartNewGame() {
        if (!StartOnBuiltDatabase()) return false;
        Key(27);
        Game()->ResetWorld();
        if (!Game()->OpenGameDatabases(nullptr) || !Game()->NewGame(nullptr)) return false;
        CScreen* current = Current();
        current->entryA = 1;
        current->entryB = current->entryC = current->entryD = 0;
        current->keepOnStack = 0;
        Game()->SwitchScreen(kScreenGame);
        SettleView();
        return Current() == View();
    }
    CGameScreen* View() const { return Game()->GetGameScreen(); }
    // Ticks until the view is idle again (a step takes 8 phases of 25 ms), then one more.
    void SettleView() {
        for (int i = 0; i < 40 && View()->IsBusy(); ++i) Tick(30);
        Tick(30);
    }
};

}  // namespace testing_support
