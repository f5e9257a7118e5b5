// What the character-page tests share: a fresh character, what active effects come from (a worn item, a
// potion, a spell, a disease and an ability, each with its display name) and a maker of effect entries.
#pragma once

#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "world/Player.h"

namespace character_testing {

// A fresh character of race 2: attributes 20, skills 10 in the order 1..20 (primary slots hold 1..6).
inline void PrepareCharacter(CPlayer& player, const CRuleContext& rules) {
    player.SetWorld(&rules);
    player.race = 2;
    for (int a = 1; a <= kPlayerAttributeCount; ++a) player.attributes[a] = 20;
    for (int s = 1; s <= kPlayerSkillCount; ++s) {
        player.skills[s] = 10;
        player.skillOrder[s - 1] = static_cast<u8>(s);
    }
}

struct EffectOrigins {
    CItemType ring, potion;
    CItemInstance worn;
    CSpell spell;
    CEffectBundle disease, ability;
    EffectOrigins() {
        ring.name = "Copper Ring";
        worn.type = &ring;
        potion.name = "Bear";
        spell.SetName("sp_shield");
        spell.texts[0] = "Stoneskin";
        disease.SetName("di_cough");
        disease.text = "Grey Cough";
        ability.SetName("ab_dark");
        ability.text = "Darksight";
    }
};

inline CActiveEffect MakeEffect(int kind, int strength, int duration, int source, const void* origin,
                                int target = 0, const char* ref = nullptr) {
    CActiveEffect e;
    e.kind = static_cast<u8>(kind);
    e.strength = static_cast<i16>(strength);
    e.duration = static_cast<u8>(duration);
    e.source = static_cast<u8>(source);
    e.origin = origin;
    e.target = static_cast<u8>(target);
    if (ref) e.name = ref;
    return e;
}

}  // namespace character_testing
