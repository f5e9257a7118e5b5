// How the NPC screen tests reach an NPC: the NPC handed to a talk or services screen as the game
// view's talk event does, over the started game's current screen.
#pragma once

#include "app/Game.h"
#include "tests/support/FrameRig.h"

class CNpc;
class INpcCustomer;

// Enters screen `id` with the entry words (0, the NPC) and `customer` as the player the services see;
// the screen below stays on the stack. True when that screen is then the current one.
inline bool EnterNpcScreen(testing_support::FrameRig& rig, CNpc& npc, INpcCustomer& customer, u32 id) {
    CGame& game = *rig.Game();
    game.customer = &customer;
    CScreen* below = game.currentScreen;
    below->entryA = 0;
    below->entryB = game.GetEntryForNpc(&npc);
    below->keepOnStack = 1;
    game.SwitchScreen(id);
    rig.Tick();
    return rig.Current() == game.GetScreen(id);
}
