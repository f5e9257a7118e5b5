// What spells and weapons do to the creatures of a map section over time, and the diseases they
// carry: one effect holder per creature id, with the operations that add, merge, sum, cure and age
// its entries, and the text of a creature's active effects. Also the section's id allocator of
// creatures and bags.
#pragma once

#include "core/PointerArray.h"
#include "core/Str.h"
#include "core/Types.h"

class CDiseaseList;
struct CRuleContext;

enum ActiveEffectClass : u8 { kActiveDisease = 1, kActiveEffect = 2 };

struct CActiveEffectEntry {
    CActiveEffectEntry() = default;
    ~CActiveEffectEntry() { delete[] id; }
    CActiveEffectEntry(const CActiveEffectEntry&) = delete;
    CActiveEffectEntry& operator=(const CActiveEffectEntry&) = delete;

    char* id = nullptr;  // owned: the disease (class 1) or the effect's reference id (class 2)
    i16 amount = 0;
    i8 turns = 0;  // remaining turns; 0 = permanent
    i8 kind = 0;
    u8 effectClass = 0;
    u8 target = 0;
};

struct CEffectHolder {
    CEffectHolder() = default;
    ~CEffectHolder() { entries.FreeAll<CActiveEffectEntry>(); }
    CEffectHolder(const CEffectHolder&) = delete;
    CEffectHolder& operator=(const CEffectHolder&) = delete;
    int Count() const { return entries.GetCount(); }
    CActiveEffectEntry* At(int i) const { return entries.At<CActiveEffectEntry>(i); }

    u8 creatureId = 0;
    CPointerArray entries;
};

// The creature an ageing pass works on (the creature code implements it).
class IAgingMonster {
public:
    virtual ~IAgingMonster() = default;
    virtual int GetHp() const = 0;
    virtual void SetHp(int hp) = 0;
    // Marks the creature hurt (flag bit 7, animation bits cleared, display counter 10) and its cell's
    // view record changed with the hurt strength.
    virtual void MarkHurt(int strength) = 0;
    // Chooses the sprite frame again (a paralysis ended).
    virtual void ChooseFrame() = 0;
};

// Hurt strength of a poison of p hit points: 50 up to 10, 100 from 60, linear between.
int PoisonHurtStrength(int p);

// The next id of a section's creatures or bags: the running id while it is below 255, then the
// lowest of 1..255 that nothing uses; 0 when all 255 are taken (the caller refuses the new thing).
template <class Used>
int NewSectionId(u8& running, Used&& isUsed) {
    if (running == 0) running = 1;
    if (running < 255) return running++;
    for (int id = 1; id <= 255; ++id)
        if (!isUsed(static_cast<u8>(id))) return id;
    return 0;
}

class CSectionEffects {
public:
    CSectionEffects() = default;
    ~CSectionEffects() { Clear(); }
    CSectionEffects(const CSectionEffects&) = delete;
    CSectionEffects& operator=(const CSectionEffects&) = delete;

    void Clear() { holders_.DeleteAll<CEffectHolder>(); }
    int GetHolderCount() const { return holders_.GetCount(); }
    CEffectHolder* HolderAt(int i) const { return holders_.At<CEffectHolder>(i); }
    CEffectHolder* FindHolder(u8 id) const;
    // Takes the creature's holder out (the caller owns it); null when none.
    CEffectHolder* DetachMonsterEffects(u8 id);
    // Puts a holder back (a saved game read); false when the creature already has one.
    bool AttachHolder(CEffectHolder* holder);

    CActiveEffectEntry* FindMonsterEffect(u8 id, int kind, int target, const char* refId) const;
    int SumMonsterEffect(u8 id, int kind) const;
    int SumMonsterDiseaseEffect(u8 id, int kind, int target, const CDiseaseList* diseases) const;
    void AddMonsterEffect(u8 id, int amount, int turns, int kind, int target, const char* refId);
    void RemoveMonsterEffectsOfKind(u8 id, int kind);
    int MonsterHasDisease(u8 id, const char* diseaseId) const;
    void InfectMonster(u8 id, const char* diseaseId);
    void CureMonsterDisease(u8 id, const char* diseaseId);
    void AgeMonsterEffects(u8 id, IAgingMonster& monster, int turns);
    void FormatActiveEffectsText(u8 id, const CRuleContext& game, CStr& out) const;

private:
    CEffectHolder* GetOrCreateHolder(u8 id);
    CPointerArray holders_;
};
