// The creatures within 7 cells of the player that are not people: gathered by a scan into the
// near-creature list, each given a state (attack, approach, flee, idle...), stepped from cell to cell
// with the cells they claim, and started on their attacks one at a time. The strike itself comes when
// the attack animation's wind-up runs out (AnimateCreature, once per 50 ms).
#pragma once

#include <memory>
#include <vector>

#include "core/Types.h"

class CCreatures;
class CCombatActions;
class CMapSection;
class ICreatureHost;
struct CMonster;

enum NearState : u8 {
    kNearAttackClose = 1,
    kNearAttackFar = 2,
    kNearApproach = 3,
    kNearIdle = 4,
    kNearBusy = 5,
    kNearFlee = 6,
    kNearToLine = 7,
    kNearAreaCast = 8,
};

struct CNearEntry {
    CMapSection* section = nullptr;
    u8 id = 0;
    u8 x = 0, y = 0;      // its window cell
    u8 toX = 0, toY = 0;  // the cell it moves to
    u32 wait = 0;
    u8 direction = 0;  // table direction from the player's side towards the creature
    u8 state = 0;
    u8 slot = 0;                   // the creature slot (0, 1) it takes in the target cell
    bool stepping = false;         // a step has begun
    u8 stepsLeft = 0;              // eighths of the way still to go
    i32 moveX = 0, moveY = 0;      // per-step move of the sprite, 65536 to a cell
    i32 spriteX = 0, spriteY = 0;  // the sprite's place relative to its cell's corner
    bool areaCast = false;         // its attack is the area cast of state 8
};

class CNearCreatures {
public:
    CNearCreatures(ICreatureHost& host, CCreatures& creatures) : host_(host), creatures_(creatures) {}

    void SetActions(CCombatActions* actions) { actions_ = actions; }

    // Rebuilds the list around (x, y) when forced (the look-ahead of a step underground), else around
    // the player.
    void Scan(bool force, i32 x, i32 y);
    void Scan() { Scan(false, 0, 0); }
    void Decide(CNearEntry& entry, i32 px, i32 py);
    void PlanStep(CNearEntry& entry, i32 px, i32 py);
    // True when two creatures already stand in or head for the cell; `freeSlot` is the creature slot
    // still usable (0 or 1).
    bool IsCellClaimed(i32 x, i32 y, const CNearEntry* self, int& freeSlot) const;
    // The per-tick pass.
    void Run();
    // Once per 50 ms for a creature near the player: the display counter runs down; an attack's
    // wind-up that runs out strikes, and the animation ends when it runs out again.
    void AnimateCreature(CMapSection& section, u8 id);
    // Every creature within 7 cells: `countdown` (once per 50 ms) runs the display counters down,
    // `walk` (once per 1000 ms) advances the walk step of a creature that is not a person and whose
    // counter did not run in the same call; each frame is chosen anew.
    void AnimateNearby(bool walk, bool countdown);
    void AnimateNearby() { AnimateNearby(false, true); }
    // A creature that is not a person, within 6 cells, whose hurt, attack or step animation runs.
    bool IsHurtEnemyNearby() const;

    CNearEntry* FindEntry(const CMapSection* section, u8 id);
    void RemoveEntry(const CMapSection* section, u8 id);
    int Count() const { return static_cast<int>(entries_.size()); }
    CNearEntry& At(int i) { return *entries_[static_cast<size_t>(i)]; }
    // Empties the list and forgets the creature it chose to be heard (a new map or window).
    void Clear() {
        entries_.clear();
        soundSection = nullptr;
        soundId = 0;
    }

    bool pending = false;
    bool hold = false;
    int attackCountdown = 0;
    // Whether a creature of the list has stepped or attacked since the list was filled: a list that
    // only went idle changed nothing in the view, which then needs no rebuild.
    bool changed = false;
    // The creature the view sounds now and then.
    CMapSection* soundSection = nullptr;
    u8 soundId = 0;

private:
    bool FindPlayerInLine(i32 x, i32 y, i32 tableDirection, i32 px, i32 py, bool lineOnly) const;
    void StartStep(CNearEntry& entry);
    // Advances the sprite one eighth; false when the step has ended (arrived or refused).
    bool AdvanceStep(CNearEntry& entry);
    bool MoveCreatureToCell(CNearEntry& entry, i32 toX, i32 toY);
    void StartAttack(CNearEntry& entry, CMonster& m, i32 px, i32 py);
    void UpdateFightCountdown(i32 px, i32 py);
    CMonster* Creature(const CNearEntry& entry) const;
    int Roll(int n);

    ICreatureHost& host_;
    CCreatures& creatures_;
    CCombatActions* actions_ = nullptr;
    std::vector<std::unique_ptr<CNearEntry>> entries_;
};
