// The creatures, people and combat of the game view in one place, wired to each other: what the view
// owns and calls from its tick. The view gives it its host (ICreatureHost) and calls:
//   Enter()               after a change of map: the near creatures and people are scanned;
//   AfterStep(x, y)       when the player starts a step underground: the look-ahead at the cell entered;
//   Tick()                every timer tick: the running actions, the people, the near creatures, and a
//                         pending scan when the list has emptied;
//   Animate()             from the 50 ms phase: the creatures' display counters and strikes;
//   StepTick()            from the 25 ms phase while the player steps: the hand bob;
//   Attack() / Cast()     the player's commands.
#pragma once

#include <memory>

#include "world/CellWindow.h"
#include "world/CombatActions.h"
#include "world/CreatureHost.h"
#include "world/Creatures.h"
#include "world/NearCreatures.h"
#include "world/NearPeople.h"

class CFight {
public:
    explicit CFight(ICreatureHost& host)
        : creatures(host), actions(host, creatures), near(host, creatures), people(host) {
        near.SetActions(&actions);
        people.SetActions(&actions);
        creatures.alertStealVictim = [this](CMapSection& section, CMonster& m) {
            people.AlertStealVictim(section, m.id);
        };
        creatures.postStealPrompt = [this](CMapSection& section, CMonster& m) {
            people.PostStealPrompt(section, m);
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
    // The creatures' animation pass: the 1000 ms phase walks, the 50 ms phase counts down.
    void Animate(bool walk, bool countdown) { near.AnimateNearby(walk, countdown); }
    // From the 25 ms phase while the player steps: the hands bob.
    void StepTick() { actions.HandBobTick(); }
    void Attack() { actions.StartAttack(); }
    void Cast(const CSpell* spell, CItemInstance* item) { actions.StartCasting(spell, item); }
    // The script commands that make and remove creatures: a new creature of the type at the section
    // position, put into the window when its section is loaded (flag bit 0 when a script made it
    // removable); and every removable creature of the type taken out of its cell and the lists.
    bool CreateMonster(CMapSection& section, const CMonsterType* type, i32 x, i32 y, bool removable) {
        CMonster* m = section.CreateMonster(type, x, y);
        if (!m) return false;
        if (removable) m->flags |= creature::kRemovable;
        i32 wx = 0, wy = 0;
        if (creatures.Host().Window().SectionToWindowCell(&section, x, y, wx, wy))
            creatures.Host().Window().PlaceObjectNear(&section, *m, x, y);
        creatures.Host().RefreshAfterChange();
        return true;
    }
    void RemoveMonstersOfType(CMapSection& section, const CMonsterType* type) {
        for (const CMonster& m : section.monsters)
            if (m.type == type && (m.flags & creature::kRemovable)) {
                creatures.Host().Window().RemoveCreatureFromCell(&section, m);
                Forget(section, m.id);
            }
        section.RemoveMonstersOfType(type);
        creatures.Host().RefreshAfterChange();
    }
    // Every creature that is not a person within `distance` cells of the player made hostile or
    // peaceful (the script's creature scan, the calm spell); how many changed.
    int SetNearbyAggression(i32 distance, bool aggressive) {
        int changed = 0;
        creatures.Host().Window().ForEachCreatureNear(distance, [&](CMapSection&, const CMonster& m) {
            if (CCreatures::IsPerson(m) || CCreatures::IsAggressive(m) == aggressive) return;
            CMonster& c = const_cast<CMonster&>(m);
            if (aggressive)
                c.flags = static_cast<u8>((c.flags & ~creature::kTypeAggression) | creature::kAggressive);
            else
                c.flags = static_cast<u8>(c.flags & ~(creature::kTypeAggression | creature::kAggressive));
            ++changed;
        });
        if (changed) creatures.Host().RefreshAfterChange();
        return changed;
    }
    // The script engine's view of a creature (IScriptWorld::FindMonsterByName and the object events);
    // the last four asked for stay valid.
    CScriptCreature* ScriptView(CMapSection& section, u8 id) {
        auto& slot = views_[nextView_++ % 4];
        slot = std::make_unique<CScriptCreature>(creatures, section, id);
        return slot.get();
    }
    // A creature taken out of its cell (a script, a death) leaves both lists.
    void Forget(CMapSection& section, u8 id) {
        near.RemoveEntry(&section, id);
        people.Drop(&section, id);
    }

    CCreatures creatures;
    CCombatActions actions;
    CNearCreatures near;
    CNearPeople people;

private:
    std::unique_ptr<CScriptCreature> views_[4];
    u32 nextView_ = 0;
};
