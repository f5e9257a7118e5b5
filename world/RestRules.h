// Whether the player may lie down to rest where he stands, and what eight hours of rest give back.
// The game view asks these before it opens the rest prompt and when the rest is taken.
#pragma once

struct CRestSituation {
    bool forbidden = false;     // the map forbids resting
    bool monstersNear = false;  // a hostile creature is near the player
    bool poisoned = false;
    bool seriouslyDiseased = false;
    bool hasFoodAndWater = true;  // one food and one drink he may take along (spoiled ones count for the undead)
    bool undead = false;
};

// The refusal's text, checked in this order: the map, monsters, poison, disease, food and water; null
// when the player may rest.
const char* RestRefusal(const CRestSituation& situation);

// What a value (hit points or mana) becomes after a rest: its maximum, or, for a player exposed to the
// weather, half of what it lacks on top. A value above its maximum is never lowered.
int RestedValue(int value, int maximum, bool exposed);
