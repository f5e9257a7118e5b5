// Effects: every magical or special property of items, spells, potions, ingredients, abilities and
// diseases is one CEffect, held in a CEffectList. Here: the record, its kind table, the amount
// coding, the sources that hold effects, the two cost figures, and the world and saved forms.
#pragma once

#include "core/PointerArray.h"
#include "core/Types.h"

class CStream;
class IRulePlayer;
struct CRuleContext;

constexpr int kMaxEffectKind = 58;
constexpr int kEffectKindCount = kMaxEffectKind + 1;  // entry 0 is empty
constexpr int kMaxEffectSource = 16;

// Where an effect sits: chooses its default mode, its text style and its price rule.
enum EffectSource : int {
    kSourceNone = 0,
    kSourceInnate = 1,
    kSourceArmour = 2,
    kSourceWeapon = 3,
    kSourceAccessory = 4,
    kSourceSpell = 5,
    kSourcePotion = 6,
    kSourceIngredient = 7,
    kSourceAbility = 8,
    kSourceDisease = 9,
    kSourceWand = 10,
    kSourceScroll = 11,
    kSourceSpellBook = 12,
    kSourceBook = 13,
    kSourceStaff = 14,
    kSourceMissile = 15,
    kSourceBow = 16,
};

enum EffectMode : u8 { kModeNone = 0, kModeStrike = 1, kModeCast = 2, kModeConstant = 3, kModeUse = 4 };

// Kinds named in code.
enum EffectKind : u8 {
    kEffectFortifySkill = 1,
    kEffectFortifyAttribute = 2,
    kEffectRestoreHp = 3,
    kEffectResistDisease = 17,
    kEffectDamageBase = 23,
    kEffectDamageType = 24,
    kEffectDamageAll = 25,
    kEffectPoison = 26,
    kEffectCurse = 27,
    kEffectParalyze = 28,
    kEffectCastSpell = 31,
    kEffectInfectDisease = 32,
    kEffectMagicImmunity = 39,
    kEffectRechargeWand = 49,
    kEffectPermanentAttribute = 56,
};

struct CEffect {
    CEffect() = default;
    CEffect(const CEffect& other);
    CEffect& operator=(const CEffect& other);
    ~CEffect();
    void SetId(const char* text);

    char* id = nullptr;  // owned; the spell, disease or creature kind the kind names
    i16 amount = 0;
    i16 amountPerLevel = 0;
    i16 duration = 0;
    i16 durationPerLevel = 0;
    u8 radius = 0;
    u8 target = 0;
    u8 mode = 0;
    u8 kind = 0;
};

// An owning list of effects and the value word that item look-ups add to an item's value.
class CEffectList {
public:
    explicit CEffectList(u16 growthStep = 4) { effects.SetGrowthStep(growthStep); }
    ~CEffectList() { Clear(); }
    CEffectList(const CEffectList&) = delete;
    CEffectList& operator=(const CEffectList&) = delete;

    int Count() const { return effects.GetCount(); }
    CEffect* At(int index) const { return effects.At<CEffect>(index); }
    // Takes the effect; a list at its limit frees it and gives false.
    bool Add(CEffect* effect);
    void Clear() { effects.FreeAll<CEffect>(); }

    CPointerArray effects;
    u32 value = 0;
};

// The kind names ("" for 0 and out of range), as the enchanting screens show them.
const char* GetEffectKindName(int kind);
bool IsValidEffectKind(int kind);

// Amounts -100..100 are absolute; beyond, a coded percentage: 150 is +50 %, -130 is -30 %.
bool IsCodedAmount(int amount);
int DecodeEffectAmount(int amount);
// amount + perLevel * p / 100, truncated toward zero.
int ScaleByLevel(int base, int perLevel, int percent);

// The allowed kinds of each source, with the mode each takes there.
struct CEffectKindMode {
    u8 kind;
    u8 mode;
};
class CEffectKindTable {
public:
    CEffectKindTable();
    const char* GetName(int kind) const { return GetEffectKindName(kind); }
    // The allowed (kind, mode) pairs of a source 1..16; empty for others.
    const CEffectKindMode* GetAllowed(int source, int& count) const;
    // The mode the kind takes in the source, or -1 when the source may not hold it.
    int FindMode(int source, int kind) const;
};

int GetDefaultEffectMode(int source);
void InitEffectForKind(CEffect& effect, int source);
void CopyEffect(CEffect& to, const CEffect& from);
int EffectsEqual(const CEffect& a, const CEffect& b);
int EffectListsEqual(const CEffectList* a, const CEffectList* b);
void FreeEffectIds(CEffectList& list);

// World form. Reading duplicates the id text; an effect of a kind above 58 is read and dropped by the
// list readers, so no table is ever indexed by it.
void SerializeEffect(CStream& stream, CEffect& effect, u32 version);
// u16 count and the effects in world form (spells, abilities, diseases, monster types).
void SerializeEffectList(CStream& stream, CEffectList& list, u32 version);
// An item's list: marker 6, the value word and the effects.
void SerializeEffectListRecord(CStream& stream, CEffectList& list, u32 version);
// Saved-game form.
void SerializeSavedEffect(CStream& stream, CEffect& effect);
void SaveEffectList(CStream& stream, CEffectList& list);
void LoadEffectList(CStream& stream, CEffectList& list);

void CopyEffectList(CEffectList& to, const CEffectList& from);
CEffectList* CloneEffectList(const CEffectList& from);

// The enchanting storage and the gold price of one effect; the outputs are left as the caller set
// them for kinds without cost and for a named record that is missing. Wide arithmetic, clamped to
// the 32-bit range.
void ComputeEffectCost(const CEffect& effect, const CRuleContext& game, int source, i32& storage, i32& price);
void SumEffectListCosts(const CEffectList& list, const CRuleContext& game, int source, i32& storage,
                        i32& price);
i32 GetWandValue(const CEffectList& list, const CRuleContext& game, int charges);
int EffectListHasHealSpell(const CEffectList& list, const CRuleContext& game);
int EffectListHasUndeadSpell(const CEffectList& list, const CRuleContext& game);
// Every constant effect of the list becomes a lasting equipment effect of the player.
void ApplyHeldEffects(const CEffectList& list, IRulePlayer& player, const void* holder);
