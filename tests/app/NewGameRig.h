// A new game in the game view on the built world, as the tests that play it begin: past the splash,
// the game databases open, the new player made, the view entered at the start.
#pragma once

#include <gtest/gtest.h>

#include "app/Game.h"
#include "data/MapSection.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "screens/npc/ServicesScreen.h"
#include "tests/support/FrameRig.h"
#include "ui/ScreenIds.h"
#include "screens/npc/ServicesScreen.h"
#include "screens/npc/TalkScreen.h"
#include "world/GameScreen.h"

namespace testing_support {

struct NewGameRig : FrameRig {
    bool StartNewGame() {
        if (!StartOnBuiltDatabase()) return false;
        Key(27);
        return EnterNewGame();
    }
    // From the front end (past the splash): the game databases opened afresh, a new player, the view.
    bool EnterNewGame() {
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
    // The player's taps: each is followed by a tick, as the frame's timer runs between two taps.
    void TapWidget(const CWidget& w) {
        Tap(w.x + w.w / 2, w.y + w.h / 2);
        Tick(30);
    }
    // The services menu's button of a command, tapped, and a tick more for what it opens.
    bool TapService(CServicesScreen& services, u32 command) {
        for (size_t i = 0; i < services.buttons.size(); ++i)
            if (static_cast<u32>(services.buttons[i].command) == command) {
                TapWidget(services.menuButtons[i]);
                Tick(30);
                return true;
            }
        return false;
    }
    // Ticks until the view is idle again (a step takes 8 phases of 25 ms), then one more.
    void SettleView() {
        for (int i = 0; i < 40 && View()->IsBusy(); ++i) Tick(30);
        Tick(30);
    }
    // A new game, then the player in the town square, facing south.
    bool StartInTown() {
        if (!StartNewGame()) return false;
        CWorld* world = Game()->worlds->Current();
        CMapSection* town = world ? world->FindSectionByName("base_s0202") : nullptr;
        if (!town) return false;
        View()->EnterMapAt(world, town, 12, 12, 2);
        SettleView();
        return View()->section == town;
    }
    // A talk with an NPC as a script or a creature starts it: the greeting comes with the talk's first
    // tick, input from the tick after it.
    CScreen* TalkTo(const char* npc) {
        View()->PostTalkEvent(npc);
        for (int i = 0; i < 3; ++i) Tick(30);
        return Current();
    }
};

// The new game in the town, with the taps that the NPC screens take.
struct TownRig : NewGameRig {
    void TapWidget(const CWidget& w) { Tap(w.x + w.w / 2, w.y + w.h / 2); }
    // The services menu button of a command.
    bool TapService(CServicesScreen& services, u32 command) {
        for (size_t i = 0; i < services.buttons.size(); ++i)
            if (static_cast<u32>(services.buttons[i].command) == command) {
                TapWidget(services.menuButtons[i]);
                return true;
            }
        return false;
    }
    bool TapTalkLink(CTalkScreen& talk, u32 command) {
        for (const auto& link : talk.links)
            if (link->commandId == command) {
                TapWidget(*link);
                return true;
            }
        return false;
    }
    // One tick for the dialog to open and one for its pen guard.
    void Settle() {
        Tick(30);
        Tick(30);
    }
    // A dialog's closing button: the owner has no modal child after it.
    void CloseWith(const CForm& owner, const CWidget& button) {
        Tick(30);
        TapWidget(button);
        EXPECT_EQ(owner.modalChild, nullptr);
        Settle();
    }
};

}  // namespace testing_support
