// The creatures standing on the map as the rules act on them: whether one is hostile or peaceful,
// its resistances and blow, the sprite frame the view shows for it, what a weapon hit, a spell, a use
// and its death do to it, the script commands aimed at it, its idle sound, and a hostile creature's
// attack with its choice of spell. A creature is named by its section and id: the section keeps its
// creatures by value, so a pointer to one does not outlive the next creature made or removed.
#pragma once

#include <algorithm>
#include <functional>

#include "core/Types.h"
#include "data/MapSection.h"
#include "script/ScriptTargets.h"

class CMonsterType;
class CSpell;
class ICreatureHost;
struct CCellObject;
struct CItemInstance;

namespace creature {
// The flags byte of a creature.
inline constexpr u8 kRemovable = 0x01;
inline constexpr u8 kTypeAggression = 0x02;
inline constexpr u8 kAggressive = 0x04;
inline constexpr u8 kFacingMask = 0x18;
inline constexpr u8 kAnimMask = 0x60;
inline constexpr u8 kMoving = 0x60;
inline constexpr u8 kAttacking = 0x20;
inline constexpr u8 kStriking = 0x40;
inline constexpr u8 kHurt = 0x80;

// Event codes.
inline constexpr int kEventHit = 8;
inline constexpr int kEventSpell = 16;
inline constexpr int kEventUse = 32;
inline constexpr int kEventDeath = 64;

// Sprite entry flags.
inline constexpr u16 kSpriteMirrored = 0x01;
inline constexpr u16 kSpriteFlash = 0x02;

inline int Facing(const CMonster& m) { return (m.flags >> 3) & 3; }
inline void SetFacing(CMonster& m, int quarter) {
    m.flags = static_cast<u8>((m.flags & ~kFacingMask) | ((quarter & 3) << 3));
}

// The monster type's values by position.
inline constexpr int kDamageMin = 0, kDamageMax = 1, kArmourClass = 2, kMaxHp = 3, kExperience = 4,
                     kResistanceA = 7, kResistanceB = 8;
// The type's flags byte.
inline constexpr u8 kTypeAggressive = 0x04;
inline constexpr u8 kTypeStationary = 0x10;
}  // namespace creature

// The lists of creatures near the player keep owned entries that name a creature by section and id.
template <class List>
auto* FindCreatureEntry(List& list, const CMapSection* section, u8 id) {
    for (auto& e : list)
        if (e->section == section && e->id == id) return e.get();
    return static_cast<decltype(list.front().get())>(nullptr);
}
template <class Entry>
CMonster* CreatureOf(const Entry& e) {
    return e.section ? e.section->FindMonster(e.id) : nullptr;
}
template <class List>
void EraseCreatureEntry(List& list, const CMapSection* section, u8 id) {
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const auto& e) { return e->section == section && e->id == id; }),
               list.end());
}

// What the event carries: the amount of a hit or spell, the weapon and second item of a blow, the
// spell and its strength percent, whether the player did it; and what the handler reports back.
struct CCreatureEvent {
    int amount = 0;
    const CItemInstance* weapon = nullptr;
    const CItemInstance* second = nullptr;
    const CSpell* spell = nullptr;
    int strength = 0;
    bool byPlayer = true;  // a spell the player cast; a death the player caused (it gives experience)
    bool handled = false;  // the hit made the creature hostile, or the death was handled
};

// A hostile creature's missile and spell go through the fight's actions.
class ICreatureAttacks {
public:
    virtual ~ICreatureAttacks() = default;
    // `tableDirection`: the table direction of the flight from the shooter's cell.
    virtual void LaunchCreatureMissile(CMapSection& section, const CMonster& shooter, i32 tableDirection) = 0;
    virtual void ReleaseCreatureSpell(CMapSection& section, const CMonster& caster, const CSpell& spell,
                                      i32 tableDirection, int skill) = 0;
};

class CCreatures {
public:
    explicit CCreatures(ICreatureHost& host) : host_(host) {}

    void SetAttacks(ICreatureAttacks* attacks) { attacks_ = attacks; }
    // The people near the player: a listed person turned to face the player, and the steal prompt
    // for a listed person whose back is turned (nothing for one not listed). Unset: the prompt goes
    // to the host and nobody turns.
    std::function<void(CMapSection&, CMonster&)> alertStealVictim;
    std::function<void(CMapSection&, CMonster&)> postStealPrompt;

    // ---- what it is ----
    static bool IsAggressive(const CMonster& m);
    static bool IsPerson(const CMonster& m);
    // Not aggressive, and bound to a map object or a talk partner.
    static bool IsPeaceful(const CMonster& m);
    static bool IsUndead(const CMonster& m);
    static int MaxHp(const CMonster& m);
    // Hit points in percent of the maximum; 0 for a maximum of 0.
    static int HpPercent(const CMonster& m);
    // Its controlling map object is marked dead (placement flag 0x02).
    static bool IsObjectDead(const CMapSection& section, const CMonster& m);
    // Its controlling map object exists and is hidden (visible flag clear).
    static bool IsObjectHidden(const CMapSection& section, const CMonster& m);

    // ---- resistances (-100..100 unless said) ----
    int GetResistanceA(const CMapSection& section, const CMonster& m) const;
    int GetResistanceB(const CMapSection& section, const CMonster& m) const;
    int GetPoisonResistance(const CMapSection& section, const CMonster& m) const;
    int GetParalysisResistance(const CMapSection& section, const CMonster& m) const;
    int GetMagicResistance(const CMapSection& section, const CMonster& m) const;
    int GetDiseaseResistance(const CMapSection& section, const CMonster& m) const;
    int GetSpellSkill(const CMapSection& section, const CMonster& m) const;  // 0..100
    static bool HasEffect(const CMapSection& section, const CMonster& m, int kind);

    // One blow of the creature.
    int RollMonsterDamage(const CMapSection& section, const CMonster& m);
    // The hurt display's strength for a hit: 50 up to 10, 100 from 60, linear between.
    static int HurtStrength(int damage);

    // ---- the sprite ----
    static void BuildMonsterViewEntry(const CMonsterType& type, CCellObject& sprite);
    void ChooseMonsterFrame(const CMapSection& section, const CMonster& m, CCellObject& sprite) const;
    // `playerAngle`: the player's facing in degrees.
    static void ChooseMonsterPicture(const CMonster& m, u32 playerAngle, CCellObject& sprite);
    void RefreshFrame(const CMapSection& section, const CMonster& m);

    // ---- events (codes 8, 16, 32, 64); the creature is named by id ----
    // The creature's own handling.
    int HandleMonsterEvent(int code, CMapSection& section, u8 id, CCreatureEvent& event);
    // An event as the fight raises it: the bound map object's script first (through the host), else
    // the creature's own handling.
    void RaiseEvent(int code, CMapSection& section, u8 id, CCreatureEvent& event);

    // ---- script commands ----
    i32 ExecuteMonsterCommand(CMapSection& section, u8 id, i32 command, const ScriptArgs& args,
                              ScriptResult& result, bool& changed);

    // ---- sounds ----
    void PlayMonsterIdleSound(const CMonsterType& type);
    // 10 - |dx| - |dy| from the player's cell to the window cell, within 1..10.
    int VolumeByDistance(i32 x, i32 y) const;
    bool WindowCell(const CMapSection& section, const CMonster& m, i32& x, i32& y) const;

    // ---- the attack turn ----
    // One attack of a hostile creature on the player, by its type's attack style.
    void CreatureAttack(CMapSection& section, u8 id, bool areaCast);
    // The spell a caster casts now; null when none scores above 0.
    const CSpell* ChooseMonsterSpell(const CMapSection& section, const CMonster& m, bool areaCast);
    bool MonsterHasAreaSpell(const CMonsterType& type) const;
    // The player takes the creature's blow from the side it stands on (or `fromQuarter` when >= 0).
    void StrikePlayer(const CMapSection& section, const CMonster& m, int fromQuarter);

    ICreatureHost& Host() { return host_; }

    // The facing quarter the last creature blow on the player came from (-1: none), for the hurt
    // display the player's report starts.
    int lastBlowQuarter = -1;

private:
    void Hit(CMapSection& section, CMonster& m, CCreatureEvent& event);
    void Spell(CMapSection& section, CMonster& m, CCreatureEvent& event);
    void Use(CMapSection& section, CMonster& m);
    void Death(CMapSection& section, u8 id, CCreatureEvent& event);
    bool RefusePeopleOrPeaceful(const CMonster& m, bool byPlayer, bool& refused);
    void MakeAggressive(CMonster& m, CCreatureEvent& event);
    void ApplyItemHitEffects(CMapSection& section, CMonster& m, const CItemInstance* item, int damage);
    void ApplySpellEffect(CMapSection& section, CMonster& m, const struct CEffect& e, int s, int r,
                          bool& instantDeath);
    void ShowHurt(CMonster& m, int damage);
    // A drain of hp (kind 29) or mana (kind 30) the player gains, without a message.
    void GiveDrain(int kind, int gain);
    int Roll(int n);
    void Message(const char* text);

    ICreatureHost& host_;
    ICreatureAttacks* attacks_ = nullptr;
};

// A creature as the script engine sees it: the creature commands and events of one creature.
class CScriptCreature : public IScriptCreature {
public:
    CScriptCreature(CCreatures& creatures, CMapSection& section, u8 id)
        : creatures_(creatures), section_(section), id_(id) {}
    // The event a script runs for: its "default" command hands it to the creature, with the damage
    // as the script left it in the context (when one is given).
    void SetEvent(CCreatureEvent* event, const CScriptContext* context) {
        event_ = event;
        context_ = context;
    }
    void HandleMonsterEvent(i32 eventKind, const ScriptPlace& place, CMapCell* cell, bool& changed) override;
    const char* GetName() const override;
    i32 ExecuteMonsterCommand(const ScriptPlace& place, i32 command, const ScriptArgs& args,
                              ScriptResult& result, bool& changed) override;
    bool IsAggressive() const override;
    bool IsParalyzed() const override;
    bool IsCursed() const override;
    bool HasAnyDisease() const override;
    i32 GetPoisonStrength() const override;
    const char* GetKindId() const override;
    const char* GetTypeId() const override;

private:
    const CMonster* Find() const { return section_.FindMonster(id_); }
    CCreatures& creatures_;
    CMapSection& section_;
    u8 id_;
    CCreatureEvent* event_ = nullptr;
    const CScriptContext* context_ = nullptr;
};
