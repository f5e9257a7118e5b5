// What the rule records need of the game around them, without reaching above the data layer: the
// world's tables (found by the look-ups of effects, items and texts), the layout mode that chooses the
// separators of texts, the generator, and the player through a narrow interface that the player
// object implements. Tests fill it with their own tables and a stand-in player.
#pragma once

#include "core/Types.h"

class CAttributeTable;
class CSkillTable;
class CRaceTable;
class CSpellList;
class CDiseaseList;
class CAbilityList;
class CCreatureCatalogue;
class CItemCatalogue;
class CItemType;
class CRandom;
class CSpell;
struct CEffect;
struct CItemInstance;

// The player as the rule records see it. Every value is the current one, with the player's active
// effects where the comment says so.
class IRulePlayer {
public:
    virtual ~IRulePlayer() = default;
    // The skill's base value plus the player's "Fortify skill" entries on it.
    virtual int GetSkillValue(int skill) const = 0;
    // The attribute's base value plus the player's "Fortify attribute" entries on it.
    virtual int GetAttributeValue(int attribute) const = 0;
    // The stored attribute value alone.
    virtual int GetBaseAttributeValue(int attribute) const = 0;
    virtual int GetDrunkenness() const = 0;
    virtual bool IsDrunk() const = 0;
    virtual bool IsCursed() const = 0;
    virtual int GetRace() const = 0;
    virtual int GetFame() const = 0;
    virtual u32 GetCrime() const = 0;

    // A lasting effect of the player's equipment (origin = the item that holds it).
    virtual void AddConditionEffect(int kind, int amount, int target, const char* id, const void* origin,
                                    int duration, int source) = 0;
    // An effect applied through the player's effect application, with the source of its list.
    virtual void ApplyEffect(const CEffect& effect, int source) = 0;
    virtual bool KnowsSpell(const CSpell& spell) const = 0;
    // Adds the spell to the player's list of its school.
    virtual void LearnSpell(const CSpell& spell) = 0;

    // Queries of item descriptions.
    virtual bool MayLearnSchool(int school) const = 0;
    virtual bool MayUseItemMagic() const = 0;
    virtual bool CanUseWand(const CItemType& type, const CItemInstance* item) const = 0;
    virtual bool CanRaiseSkill(int skill) const = 0;
    virtual bool HasReadBook(const char* id) const = 0;
};

struct CRuleContext {
    u32 layoutMode = 15;
    const CAttributeTable* attributes = nullptr;
    const CSkillTable* skills = nullptr;
    const CRaceTable* races = nullptr;
    const CSpellList* spells = nullptr;
    const CDiseaseList* diseases = nullptr;
    const CAbilityList* abilities = nullptr;
    const CCreatureCatalogue* creatures = nullptr;
    const CItemCatalogue* items = nullptr;
    IRulePlayer* player = nullptr;
    CRandom* random = nullptr;
    // The four-letter codes of the current world and of the base world ("base"); item types whose id
    // starts with either take part in the random-item tables.
    const char* currentWorldCode = nullptr;
    const char* baseWorldCode = "base";
    // Night is the hours 22..5 of the game clock.
    bool night = false;
};

// The layouts that join list entries with ", " instead of line breaks.
inline bool IsSmallLayout(u32 mode) {
    return mode == 2 || mode == 5 || mode == 6 || mode == 7 || mode == 8 || mode == 12 || mode == 13 ||
           mode == 16;
}
inline const char* ListSeparator(u32 mode) { return IsSmallLayout(mode) ? ", " : "\r"; }
