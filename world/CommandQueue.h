// The commands a player gives while the game view is busy (a creature winds up and strikes, the
// player's own blow runs, an event waits): in a fight that is more than half the time, and a key or
// a button that did nothing then was a lost turn, a lost potion, a spell book that never opened.
// Each kind of command keeps its last one at most; they come out in the order given, one when the
// view is next free, and a command older than a second and a half has lost its moment and goes.
#pragma once

#include <array>
#include <cstddef>

#include "core/Types.h"

class CCommandQueue {
public:
    // How long a kept command waits for the view at most (ms).
    static constexpr u32 kLife = 1500;
    // The HUD's potion and rest buttons: their commands are the buttons' own ids.
    static constexpr u32 kCommandPotions = 546, kCommandRest = 547;
    // The kinds: the moves and turns share one (the last direction wins), the others one each.
    enum Kind : int {
        kMove,
        kAttack,
        kSpellBook,
        kPotions,
        kRest,
        kUse,
        kMenu,
        kInventory,
        kKindCount,
        kNotKept = -1
    };
    // The kind of a game-view command; kNotKept for one that is never kept.
    static int KindOf(u32 command);

    // Keeps a command given at `now` (ms) in place of an older one of its kind; one of no kind is
    // not kept. False when it was not kept.
    bool Keep(u32 command, u32 now);
    // The oldest command still within its life at `now`, taken out (expired ones go too); 0: none.
    u32 Take(u32 now);
    // A command of that kind given afresh and run at once: the older one kept for it goes.
    void Forget(u32 command);
    void Clear();
    bool Empty() const;

private:
    struct Entry {
        u32 command = 0;
        u32 at = 0;
        u32 order = 0;  // when it was kept, counted: the oldest comes out first
    };
    std::array<Entry, kKindCount> entries_{};
    u32 counter_ = 0;
};
