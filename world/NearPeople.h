// The people (creatures of kind 4) within 7 cells of the player: they wander inside their 7 x 7
// sector, stand, turn, face one another or the player. A scan rebuilds the list, every tick advances
// it; at the change of day and night the people are taken out of the window and put back.
#pragma once

#include <memory>
#include <vector>

#include "core/Types.h"

class CCombatActions;
class CMapSection;
class ICreatureHost;
struct CMonster;

enum PersonState : u8 { kPersonUndecided = 0, kPersonWalking = 1, kPersonStanding = 2, kPersonTurning = 3 };

struct CNearPerson {
    CMapSection* section = nullptr;
    u8 id = 0;
    i32 sector = 0;  // the window's sector (0..24) the current action started in
    i32 budget = 0;
    i16 stepX = 0, stepY = 0;  // per-tick movement, 65536 to a cell
    u8 startX = 0, startY = 0, goalX = 0, goalY = 0;
    i8 cellX = 0, cellY = 0;
    i32 posX = 0x8000, posY = 0x8000;  // the sprite's place inside its cell
    bool seen = false;
    bool marked = false;
    u8 state = kPersonUndecided;
    u8 direction = 0;  // the facing quarter the person is to face
    u8 turnVia = 255;  // the facing shown on the way, 255 = none
    u8 turnTicks = 0;
};

class CNearPeople {
public:
    explicit CNearPeople(ICreatureHost& host) : host_(host) {}
    void SetActions(const CCombatActions* actions) { actions_ = actions; }

    void Scan();
    void Update();
    // Turns a listed person to face the player (a use or a theft noticed).
    void AlertStealVictim(const CMapSection& section, u8 id);
    // The steal prompt (game event 19) for a listed person; nothing for one not listed.
    void PostStealPrompt(CMapSection& section, CMonster& creature);
    CNearPerson* Find(const CMapSection* section, u8 id);
    void Drop(const CMapSection* section, u8 id);
    int Count() const { return static_cast<int>(people_.size()); }
    CNearPerson& At(int i) { return *people_[static_cast<size_t>(i)]; }

    // The change of day and night: every person in the window out of its cell (but one bound to a
    // hidden map object), and back from the loaded sections.
    void RemoveScheduledPeople(bool clearLists);
    void PlaceScheduledPeople();

    // The person nearest the player, within 2 cells.
    CMapSection* nearestSection = nullptr;
    u8 nearestId = 0;

private:
    void Decide(CNearPerson& p);
    void StartAction(CNearPerson& p);
    void PlanTurn(CNearPerson& p, const CMonster& m);
    void WalkStep(CNearPerson& p, CMonster& m);
    bool IsFreeForPeople(i32 x, i32 y) const;
    bool MoveToNeighbour(CNearPerson& p, i32 dx, i32 dy);
    CMonster* Creature(const CNearPerson& p) const;
    int Roll(int n);

    ICreatureHost& host_;
    const CCombatActions* actions_ = nullptr;
    std::vector<std::unique_ptr<CNearPerson>> people_;
};
