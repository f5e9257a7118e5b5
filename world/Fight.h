// The creatures, people and combat of the game view in one place, wired to each other: what the view
// owns and calls from its tick. The view gives it its host (ICreatureHost) and calls:
//   Enter()               after a change of map: the near creatures and people are scanned;
//   AfterStep(x, y)       when the player starts a step underground: the look-ahead at the cell entered;
//   Tick()                every timer tick: the running actions, the people, the near creatures, and a
//                         pending scan when the list has emptied;
//   Animate()             from the 50 ms phase: the creatures' display counters and strikes;
//   Attack() / Cast()     the player's commands.
#pragma once

#include "world/CombatActions.h"
#include "world/Creatures.h"
#include "world/NearCreatures.h"
#include "world/NearPeople.h"

class CFight {
public:
    explicit CFight(ICreatureHost& host) : creatures(host), actions(host, creatures), near(host, creatures), people(host) {
        near.SetActions(&actions);
        people.SetActions(&actions);
        creatures.alertStealVictim = [this](CMapSection& section, CMonster& m) {
            people.AlertStealVictim(section, m.id);
        };
    }
    CFight(const CFight&) = delete;
    CFight& operator=(const CFight&) = delete;

    void Enter() {
        near.Clear();
        actions.Clear();
        near.hold = near.pending = false;
        near.Scan();
        people.Scan();
        actions.SetHandSprites();
    }
    void AfterStep(i32 x, i32 y) {
        people.Scan();
        near.Scan(true, x, y);
        actions.StartHandBob();
    }
    void Tick() {
        actions.Run();
        people.Update();
        near.Run();
        if (near.Count() == 0 && near.pending) near.Scan();
    }
    void Animate() { near.AnimateNearby(); }
    void Attack() { actions.StartAttack(); }
    void Cast(const CSpell* spell, CItemInstance* item) { actions.StartCasting(spell, item); }
    // A creature taken out of its cell (a script, a death) leaves both lists.
    void Forget(CMapSection& section, u8 id) {
        near.RemoveEntry(&section, id);
        people.Drop(&section, id);
    }

    CCreatures creatures;
    CCombatActions actions;
    CNearCreatures near;
    CNearPeople people;
};
