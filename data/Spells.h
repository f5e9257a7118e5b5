// Spells with their eight schools, abilities, diseases and alchemy recipes: the record kinds of the
// world that carry effect lists, found by id.
#pragma once

#include "core/NamedObject.h"
#include "core/PointerArray.h"
#include "core/Str.h"
#include "core/Types.h"
#include "data/Effect.h"
#include "data/RecordReader.h"

class CItemType;
class CRandom;
class CStream;
class IRulePlayer;
struct CItemInstance;
struct CRuleContext;

constexpr int kSpellSchoolCount = 8;

class CSpell : public CNamedObject {
public:
    // The spell's name is its first text (the id when it has none).
    const char* GetDisplayName() const { return texts[0] ? texts[0] : GetName(); }
    void Serialize(CStream& stream, u32 version);
    // base + factor * s / 100 with s the player's value of the school's skill (0 for schools without a
    // skill); computed signed and never below 0, so a negative skill cannot wrap.
    u32 GetSkillScaledValue(const CRuleContext& game) const;
    int HasEffectOutsideKindSet() const;
    int HasEffectKind49() const;

    const char* texts[9] = {};  // texts 1..9
    u16 value = 0;
    u16 base = 0;
    u16 factor = 0;
    CEffectList effects;
    u8 school = 3;
    u8 value2 = 3;
    u8 value3 = 0;
    u8 value4 = 0;
};

// An effect kind that is neither a harm nor a plain utility (the kinds wands and scrolls scale).
bool IsUtilityEffectKind(int kind);

struct CSpellSchool {
    const char* name;
    u8 skill;
};

class CSpellList {
public:
    CSpellList() { InitSpellSchools(); }
    ~CSpellList() { Clear(); }
    CSpellList(const CSpellList&) = delete;
    CSpellList& operator=(const CSpellList&) = delete;

    void InitSpellSchools();
    // The count record, then one record per spell. False when a record is missing or unreadable; the
    // spells read before it stay.
    bool Load(CRecordReader& reader, u32 version);
    void Clear();

    int Count() const { return spells_.GetCount(); }
    CSpell* At(int index) const { return spells_.At<CSpell>(index); }
    CSpell* FindById(const char* id) const { return FindRecordById<CSpell>(spells_, id); }
    // Schools 0..7; null outside.
    const CSpellSchool* GetSchool(int school) const;
    // The spell's school skill, 0 for none (schools 0 and 7, and schools outside the table).
    int GetSchoolSkill(int school) const;

    CListMark GetMark() const { return {spells_.GetCount(), buffers_.Count()}; }
    void RollBack(const CListMark& mark) {
        TruncateElements<CSpell>(spells_, mark.elements);
        buffers_.TruncateTo(mark.records);
    }

private:
    CPointerArray spells_;
    CSpellSchool schools_[kSpellSchoolCount] = {};
    CLoadedRecords buffers_;
};

int IsHarmfulSpellById(const CSpellList& spells, const char* id);

// An ability or a disease: an id, a text and an effect list.
class CEffectBundle : public CNamedObject {
public:
    const char* GetDisplayName() const { return text ? text : GetName(); }
    const char* text = nullptr;
    CEffectList effects;
    u8 value1 = 0;  // diseases only
    u8 value2 = 0;  // diseases only, from version 121
};
using CAbility = CEffectBundle;
using CDisease = CEffectBundle;

class CEffectBundleList {
public:
    explicit CEffectBundleList(bool diseases) : diseases_(diseases) {}
    ~CEffectBundleList() { ClearEffectBundleList(); }
    CEffectBundleList(const CEffectBundleList&) = delete;
    CEffectBundleList& operator=(const CEffectBundleList&) = delete;

    bool Load(CRecordReader& reader, u32 version);
    bool LoadRecord(CRecordData* record, u32 version);
    void ClearEffectBundleList();
    void Free() { ClearEffectBundleList(); }

    int Count() const { return list_.GetCount(); }
    CEffectBundle* At(int index) const { return list_.At<CEffectBundle>(index); }
    CEffectBundle* FindById(const char* id) const { return FindRecordById<CEffectBundle>(list_, id); }

    CListMark GetMark() const { return {list_.GetCount(), buffers_.Count()}; }
    void RollBack(const CListMark& mark) {
        TruncateElements<CEffectBundle>(list_, mark.elements);
        buffers_.TruncateTo(mark.records);
    }

private:
    bool diseases_;
    CPointerArray list_;
    CLoadedRecords buffers_;
};

class CAbilityList : public CEffectBundleList {
public:
    CAbilityList() : CEffectBundleList(false) {}
};
class CDiseaseList : public CEffectBundleList {
public:
    CDiseaseList() : CEffectBundleList(true) {}
};

// The display text of an ability's effects (all, or those first..end-1), joined by "\r".
void FormatAbilityEffects(const CAbility& ability, const CRuleContext& game, CStr& text);
void FormatAbilityEffectsRange(const CAbility& ability, const CRuleContext& game, u32 layout, CStr& text,
                               int first, int end);
void FormatDiseaseEffects(const CDisease& disease, const CRuleContext& game, CStr& text);
// Teaches the ability's spells (school rules by race) and applies its other effects.
void ApplyAbility(const CAbility& ability, const CRuleContext& game, IRulePlayer& player);
void ApplyDisease(const CDisease& disease, IRulePlayer& player);

struct CRecipeIngredient {
    u8 value1 = 0;
    u8 value2 = 0;
    const char* itemId = nullptr;
};

class CRecipe : public CNamedObject {
public:
    CRecipeIngredient ingredients[3];
    const char* resultId = nullptr;
    i16 baseAmount = 0;
    i16 amountPerSkill = 0;
    i16 baseDuration = 0;
    i16 durationPerSkill = 0;
    u8 value = 0;
};

class CRecipeList {
public:
    ~CRecipeList() { Clear(); }
    bool Load(CRecordReader& reader, u32 version);
    bool LoadRecord(CRecordData* record, u32 version);
    void Clear();
    void Free() { Clear(); }
    int Count() const { return list_.GetCount(); }
    CRecipe* At(int index) const { return list_.At<CRecipe>(index); }
    CRecipe* FindById(const char* id) const { return FindRecordById<CRecipe>(list_, id); }

    CListMark GetMark() const { return {list_.GetCount(), buffers_.Count()}; }
    void RollBack(const CListMark& mark) {
        TruncateElements<CRecipe>(list_, mark.elements);
        buffers_.TruncateTo(mark.records);
    }

private:
    CPointerArray list_;
    CLoadedRecords buffers_;
};

// Sets an effect from the recipe at alchemy skill s by the effect's kind; 0 when the kind is one the
// recipe leaves alone. Amounts are computed wide and clamped to the effect's 16 bits.
int ApplyRecipeScaling(const CRecipe& recipe, int skill, CEffect& effect);
// A new item of the recipe's result, its own first effect set from the recipe; null when the result
// item type is missing.
CItemInstance* ScaleRecipeEffect(const CRecipe& recipe, int skill, const CRuleContext& game);
// The same for a result type already found.
CItemInstance* ScaleRecipeEffect(const CRecipe& recipe, const CItemType& type, int skill, CRandom* random);
