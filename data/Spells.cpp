#include "data/Spells.h"

#include "core/Stream.h"
#include "data/EffectText.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"

#include <algorithm>

namespace {

const CSpellSchool kSchools[kSpellSchoolCount] = {
    {"", 0},
    {"Heal spells", 8},
    {"Protection spells", 9},
    {"Attack spells", 10},
    {"Mind spells", 11},
    {"Undead spells", 12},
    {"Environment spells", 13},
    {"Magic items", 0},
};

i16 Clamp16(i64 v) { return static_cast<i16>(std::clamp<i64>(v, -32768, 32767)); }

}  // namespace

void CSpell::Serialize(CStream& stream, u32 version) {
    stream.MatchByte(4);
    SerializeName(stream, stream.IsWriting());
    // Texts 4 and 5 are stored the other way round.
    static const int kOrder[] = {0, 1, 2, 4, 3, 5};
    for (int i : kOrder) stream.SerializeStringRef(texts[i]);
    if (version > 26) {
        stream.SerializeStringRef(texts[6]);
        stream.SerializeStringRef(texts[7]);
    }
    if (version < 51) {
        u16 length = 0;
        u8* data = nullptr;
        stream.SerializeBlob(length, data);
    }
    stream.SerializeU16(value);
    stream.SerializeU16(base);
    stream.SerializeU16(factor);
    SerializeEffectList(stream, effects, version);
    stream.SerializeU8(school);
    stream.SerializeU8(value2);
    stream.SerializeU8(value3);
    stream.SerializeU8(value4);
    if (version > 51) stream.SerializeStringRef(texts[8]);
}

u32 CSpell::GetSkillScaledValue(const CRuleContext& game) const {
    int skill = school >= 1 && school < kSpellSchoolCount ? kSchools[school].skill : 0;
    i64 s = skill >= 1 && game.player ? game.player->GetSkillValue(skill) : 0;
    i64 v = static_cast<i64>(base) + static_cast<i64>(factor) * s / 100;
    return static_cast<u32>(std::max<i64>(v, 0));
}

bool IsUtilityEffectKind(int kind) {
    switch (kind) {
    case 4:
    case 7:
    case 12:
    case 13:
    case 14:
    case 19:
    case 21:
    case 27:
    case 37:
    case 41:
    case 46:
    case 47:
    case 48:
    case 49:
    case 52:
    case 55: return true;
    default: return false;
    }
}

int CSpell::HasEffectOutsideKindSet() const {
    for (int i = 0; i < effects.Count(); ++i)
        if (!IsUtilityEffectKind(effects.At(i)->kind)) return 1;
    return 0;
}

int CSpell::HasEffectKind49() const {
    for (int i = 0; i < effects.Count(); ++i)
        if (effects.At(i)->kind == kEffectRechargeWand) return 1;
    return 0;
}

void CSpellList::InitSpellSchools() {
    for (int i = 0; i < kSpellSchoolCount; ++i) schools_[i] = kSchools[i];
}

bool CSpellList::Load(CRecordReader& reader, u32 version) {
    u16 count = 0;
    if (!ReadCountRecord(reader, 3, count)) return false;
    return ReadElementRecords<CSpell>(
        reader, count, spells_, buffers_,
        [version](CStream& stream, CSpell& spell) { spell.Serialize(stream, version); });
}

void CSpellList::Clear() {
    spells_.DeleteAll<CSpell>();
    buffers_.Clear();
}

const CSpellSchool* CSpellList::GetSchool(int school) const {
    return school >= 0 && school < kSpellSchoolCount ? &schools_[school] : nullptr;
}

int CSpellList::GetSchoolSkill(int school) const {
    const CSpellSchool* s = GetSchool(school);
    return s ? s->skill : 0;
}

int IsHarmfulSpellById(const CSpellList& spells, const char* id) {
    const CSpell* spell = spells.FindById(id);
    if (!spell) return 0;
    for (int i = 0; i < spell->effects.Count(); ++i) {
        int k = spell->effects.At(i)->kind;
        if ((k >= 23 && k <= 30) || k == 32 || k == 40 || k == 53) return 1;
    }
    return 0;
}

bool CEffectBundleList::Load(CRecordReader& reader, u32 version) {
    return LoadRecord(reader.NextRecord(), version);
}

bool CEffectBundleList::LoadRecord(CRecordData* record, u32 version) {
    if (!record) return false;
    CStream stream;
    stream.InitForReading(*record);
    stream.MatchByte(diseases_ ? 0x0C : 0x0A);
    u16 count = 0;
    stream.SerializeU16(count);
    list_.Reserve(count);
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        auto* bundle = new CEffectBundle;
        stream.MatchByte(diseases_ ? 0x0D : 0x0B);
        bundle->SerializeName(stream, 0);
        stream.SerializeStringRef(bundle->text);
        if (diseases_) {
            stream.SerializeU8(bundle->value1);
            if (version > 120) stream.SerializeU8(bundle->value2);
        }
        SerializeEffectList(stream, bundle->effects, version);
        if (stream.HasError() || !list_.Add(bundle)) delete bundle;
    }
    bool ok = !stream.HasError();
    buffers_.Keep(record);
    return ok;
}

void CEffectBundleList::ClearEffectBundleList() {
    list_.DeleteAll<CEffectBundle>();
    buffers_.Clear();
}

void FormatAbilityEffectsRange(const CAbility& ability, const CRuleContext& game, u32 layout, CStr& text,
                               int first, int end) {
    text = "";
    bool shortForm = layout == 5 || layout == 8;
    bool shorter = layout == 5 || layout == 6 || layout == 7 || layout == 8 || layout == 12 || layout == 13 ||
                   layout == 16;
    end = std::min(end, ability.effects.Count());
    CStr one;
    for (int i = std::max(first, 0); i < end; ++i) {
        FormatEffectText(*ability.effects.At(i), game, kSourceAbility, 0, one, shortForm, shorter);
        if (i > std::max(first, 0)) text.Append("\r");
        text.Append(one.GetText());
    }
}

void FormatAbilityEffects(const CAbility& ability, const CRuleContext& game, CStr& text) {
    FormatAbilityEffectsRange(ability, game, game.layoutMode, text, 0, ability.effects.Count());
}

void FormatDiseaseEffects(const CDisease& disease, const CRuleContext& game, CStr& text) {
    text = "";
    CStr one;
    for (int i = 0; i < disease.effects.Count(); ++i) {
        FormatEffectText(*disease.effects.At(i), game, kSourceDisease, 0, one, false, false);
        if (i > 0) text.Append("\r");
        text.Append(one.GetText());
    }
}

void ApplyAbility(const CAbility& ability, const CRuleContext& game, IRulePlayer& player) {
    for (int i = 0; i < ability.effects.Count(); ++i) {
        const CEffect& e = *ability.effects.At(i);
        if (e.kind != kEffectCastSpell) {
            player.ApplyEffect(e, 5);
            continue;
        }
        const CSpell* spell = game.spells ? game.spells->FindById(e.id) : nullptr;
        if (!spell || player.KnowsSpell(*spell)) continue;
        bool undeadRace = player.GetRace() == 1;
        if ((spell->school == 1 && undeadRace) || (spell->school == 5 && !undeadRace)) continue;
        player.LearnSpell(*spell);
    }
}

void ApplyDisease(const CDisease& disease, IRulePlayer& player) {
    for (int i = 0; i < disease.effects.Count(); ++i) player.ApplyEffect(*disease.effects.At(i), 4);
}

bool CRecipeList::Load(CRecordReader& reader, u32 version) {
    return LoadRecord(reader.NextRecord(), version);
}

bool CRecipeList::LoadRecord(CRecordData* record, u32 version) {
    if (!record) return false;
    CStream stream;
    stream.InitForReading(*record);
    stream.MatchByte(0x0E);
    u16 count = 0;
    stream.SerializeU16(count);
    list_.Reserve(count);
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        auto* recipe = new CRecipe;
        stream.MatchByte(0x0F);
        recipe->SerializeName(stream, 0);
        for (CRecipeIngredient& in : recipe->ingredients) {
            stream.SerializeU8(in.value1);
            stream.SerializeU8(in.value2);
            stream.SerializeStringRef(in.itemId);
        }
        stream.SerializeStringRef(recipe->resultId);
        i16* words[] = {&recipe->baseAmount, &recipe->amountPerSkill, &recipe->baseDuration,
                        &recipe->durationPerSkill};
        for (i16* w : words) stream.SerializeU16(*reinterpret_cast<u16*>(w));
        stream.SerializeU8(recipe->value);
        if (stream.HasError() || !list_.Add(recipe)) delete recipe;
    }
    bool ok = !stream.HasError();
    buffers_.Keep(record);
    return ok;
}

void CRecipeList::Clear() {
    list_.DeleteAll<CRecipe>();
    buffers_.Clear();
}

int ApplyRecipeScaling(const CRecipe& recipe, int skill, CEffect& effect) {
    i64 amount = recipe.baseAmount + static_cast<i64>(recipe.amountPerSkill) * skill / 100;
    i64 duration = recipe.baseDuration + static_cast<i64>(recipe.durationPerSkill) * skill / 100;
    switch (effect.kind) {
    case 2:
    case 5:
    case 8:
    case 10:
    case 20: break;
    case 3:
    case 6:
    case 9:
    case 26:
    case 56:
    case 57: duration = 0; break;
    case 15:
    case 16:
    case 17:
    case 22:
    case 33:
    case 36:
    case 38: amount += 100; break;
    case 4:
    case 7:
    case 12:
    case 13:
    case 14:
    case 19:
    case 55: amount = duration = 0; break;
    default: return 0;
    }
    effect.amount = Clamp16(amount);
    effect.duration = Clamp16(duration);
    return 1;
}

CItemInstance* ScaleRecipeEffect(const CRecipe& recipe, int skill, const CRuleContext& game) {
    const CItemType* type = game.items ? game.items->FindItemType(recipe.resultId) : nullptr;
    return type ? ScaleRecipeEffect(recipe, *type, skill, game.random) : nullptr;
}

CItemInstance* ScaleRecipeEffect(const CRecipe& recipe, const CItemType& type, int skill, CRandom* random) {
    CItemInstance* item = CreateItemInstance(type, -1, random);
    if (type.effects && type.effects->Count() > 0) {
        CEffectList* own = CloneEffectList(*type.effects);
        ApplyRecipeScaling(recipe, skill, *own->At(0));
        item->effects = own;
    }
    return item;
}
