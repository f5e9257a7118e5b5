// Stealing from a creature: the creature's use handler posts the steal prompt (game event 19); the
// prompt asks with a chance word; the answer Yes runs the attempt, which moves one random item of the
// victim's bag to the player or makes the player a criminal and turns the victim towards the player.
#pragma once

#include "world/MapObjectHost.h"

class CStealing {
public:
    explicit CStealing(IMapObjectHost& host) : host_(host) {}

    // The chance in percent with that many people near (signed, not clamped).
    i32 StealChance(i32 people) const;
    static const char* ChanceWord(i32 chance);
    // Game event 19: keeps the victim and asks (screen mode 13).
    void OnStealPrompt(CMapSection* section, CMonster* victim, u32 objectWord = 0);
    // The victim asked about, found again when the answer comes (the creatures may have moved since).
    void SetVictim(CMapSection* section, CMonster* victim) {
        section_ = section;
        victim_ = victim;
    }
    // The answer Yes.
    void TrySteal();

    CMapSection* VictimSection() const { return section_; }
    CMonster* Victim() const { return victim_; }

private:
    IMapObjectHost& host_;
    CMapSection* section_ = nullptr;
    CMonster* victim_ = nullptr;
    u32 objectWord_ = 0;
};
