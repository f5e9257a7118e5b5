#include "data/Effect.h"

#include "core/Str.h"
#include "core/Stream.h"
#include "data/CreatureCatalogue.h"
#include "data/RuleContext.h"
#include "data/Spells.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

const char* const kKindNames[kEffectKindCount] = {
    "",
    "Fortify skill",
    "Fortify attribute",
    "Restore hp",
    "Restore full hp",
    "Fortify hp",
    "Restore unholy",
    "Restore full unholy",
    "Fortify unholy",
    "Restore mana",
    "Fortify mana",
    "Fortify ac",
    "Cure poison",
    "Cure paralysis",
    "Cure disease",
    "Resist poison",
    "Resist paralysis",
    "Resist disease",
    "Resist normal weapons",
    "Dispel",
    "Feather",
    "Remove curse",
    "Resist magic",
    "Damage base",
    "Damage type",
    "Damage all",
    "Poison",
    "Curse",
    "Paralyze",
    "Drain hp",
    "Drain sp",
    "Cast spell",
    "Infect disease",
    "Resist diseases",
    "Resist spell",
    "Fortify spell",
    "Fortify magic",
    "Create wall",
    "Fortify melee",
    "Magic immunity",
    "Crush",
    "Calm",
    "Detect secrets",
    "Detect mind",
    "Disarm",
    "Unlock",
    "Mark",
    "Recall",
    "Town portal",
    "Recharge wand",
    "Enchant",
    "Enchant",
    "Create food",
    "Level drops",
    "Reveal map",
    "Restore full mana",
    "Permanent attribute",
    "Alcoholic",
    "Fortify outfit",
};

constexpr CEffectKindMode kSource1[] = {{15, 3}, {16, 3}, {33, 3}, {18, 3}, {22, 3},
                                        {26, 1}, {27, 1}, {28, 1}, {29, 1}, {30, 1},
                                        {31, 2}, {32, 1}, {36, 3}, {38, 3}, {53, 1}};
constexpr CEffectKindMode kSource2[] = {{1, 3},  {2, 3},  {5, 3},  {8, 3},  {10, 3}, {11, 3}, {15, 3},
                                        {16, 3}, {17, 3}, {20, 3}, {22, 3}, {33, 3}, {58, 3}};
constexpr CEffectKindMode kSource3[] = {{1, 3},  {2, 3},  {5, 3},  {8, 3},  {10, 3},
                                        {11, 3}, {23, 1}, {24, 1}, {25, 1}, {26, 1},
                                        {27, 1}, {29, 1}, {30, 1}, {32, 1}, {58, 3}};
constexpr CEffectKindMode kSource4[] = {{1, 3},  {2, 3},  {5, 3},  {8, 3},  {10, 3}, {11, 3}, {15, 3},
                                        {16, 3}, {17, 3}, {20, 3}, {22, 3}, {33, 3}, {36, 3}, {58, 3}};
constexpr CEffectKindMode kSource5[] = {
    {1, 4},  {2, 4},  {3, 4},  {4, 4},  {5, 4},  {6, 4},  {7, 4},  {8, 4},  {11, 4}, {12, 4}, {13, 4},
    {14, 4}, {15, 4}, {16, 4}, {17, 4}, {19, 4}, {20, 4}, {21, 4}, {22, 4}, {23, 4}, {24, 4}, {25, 4},
    {26, 4}, {27, 4}, {28, 4}, {29, 4}, {30, 4}, {32, 4}, {33, 4}, {38, 4}, {39, 4}, {40, 4}, {41, 4},
    {43, 4}, {44, 4}, {45, 4}, {46, 4}, {47, 4}, {48, 4}, {49, 4}, {50, 4}, {52, 4}, {53, 4}};
constexpr CEffectKindMode kSource6[] = {{2, 4},  {3, 4},  {4, 4},  {5, 4},  {6, 4},  {7, 4},  {8, 4},
                                        {9, 4},  {55, 4}, {10, 4}, {12, 4}, {13, 4}, {14, 4}, {15, 4},
                                        {16, 4}, {17, 4}, {19, 4}, {20, 4}, {22, 4}, {26, 4}, {33, 4},
                                        {36, 4}, {38, 4}, {56, 4}, {57, 4}};
constexpr CEffectKindMode kSource7[] = {{2, 4},  {3, 4},  {6, 4},  {9, 4},  {10, 4}, {15, 4},
                                        {16, 4}, {17, 4}, {19, 4}, {20, 4}, {22, 4}, {26, 4},
                                        {33, 4}, {36, 4}, {38, 4}, {57, 4}};
constexpr CEffectKindMode kSource8[] = {{1, 3},  {2, 3},  {5, 3},  {8, 3},  {10, 3}, {11, 3},
                                        {15, 3}, {16, 3}, {17, 3}, {22, 3}, {31, 2}, {33, 3},
                                        {34, 3}, {35, 3}, {36, 3}, {38, 3}};
constexpr CEffectKindMode kSource9[] = {{1, 3},  {2, 3},  {5, 3},  {8, 3},  {10, 3}, {11, 3},
                                        {15, 3}, {16, 3}, {17, 3}, {22, 3}, {33, 3}, {34, 3},
                                        {35, 3}, {36, 3}, {38, 3}, {25, 4}};
constexpr CEffectKindMode kSourceCast[] = {{31, 2}};
constexpr CEffectKindMode kSource13[] = {{1, 3}};
constexpr CEffectKindMode kSource14[] = {{1, 3},  {2, 3},  {5, 3},  {8, 3},  {10, 3}, {11, 3},
                                         {15, 3}, {16, 3}, {22, 3}, {26, 1}, {27, 1}, {29, 1},
                                         {30, 1}, {32, 1}, {36, 3}, {38, 3}, {58, 3}};
constexpr CEffectKindMode kSource15[] = {{23, 1}, {24, 1}, {25, 1}, {26, 1}, {27, 1}, {28, 1}, {32, 1}};
constexpr CEffectKindMode kSource16[] = {{1, 3}, {2, 3}, {5, 3}, {8, 3}, {10, 3}, {11, 3}, {58, 3}};

struct AllowedList {
    const CEffectKindMode* pairs;
    int count;
};
template <size_t N>
constexpr AllowedList L(const CEffectKindMode (&a)[N]) {
    return {a, static_cast<int>(N)};
}
const AllowedList kAllowed[kMaxEffectSource + 1] = {
    {nullptr, 0},   L(kSource1),  L(kSource2),  L(kSource3),  L(kSource4),    L(kSource5),
    L(kSource6),    L(kSource7),  L(kSource8),  L(kSource9),  L(kSourceCast), L(kSourceCast),
    L(kSourceCast), L(kSource13), L(kSource14), L(kSource15), L(kSource16)};

i32 Clamp32(i64 v) {
    return static_cast<i32>(
        std::clamp<i64>(v, std::numeric_limits<i32>::min(), std::numeric_limits<i32>::max()));
}

}  // namespace

CEffect::CEffect(const CEffect& other) { CopyEffect(*this, other); }

CEffect& CEffect::operator=(const CEffect& other) {
    if (this != &other) CopyEffect(*this, other);
    return *this;
}

CEffect::~CEffect() { delete[] id; }

void CEffect::SetId(const char* text) {
    delete[] id;
    id = DuplicateString(text);
}

bool CEffectList::Add(CEffect* effect) {
    if (!effects.Add(effect)) {
        delete effect;
        return false;
    }
    return true;
}

const char* GetEffectKindName(int kind) { return IsValidEffectKind(kind) ? kKindNames[kind] : ""; }

bool IsValidEffectKind(int kind) { return kind >= 0 && kind <= kMaxEffectKind; }

bool IsCodedAmount(int amount) { return amount < -100 || amount > 100; }

int DecodeEffectAmount(int amount) {
    if (amount > 100) return amount - 100;
    if (amount < -100) return amount + 100;
    return amount;
}

int ScaleByLevel(int base, int perLevel, int percent) {
    return static_cast<int>(base + static_cast<i64>(perLevel) * percent / 100);
}

CEffectKindTable::CEffectKindTable() = default;

const CEffectKindMode* CEffectKindTable::GetAllowed(int source, int& count) const {
    if (source < 1 || source > kMaxEffectSource) {
        count = 0;
        return nullptr;
    }
    count = kAllowed[source].count;
    return kAllowed[source].pairs;
}

int CEffectKindTable::FindMode(int source, int kind) const {
    int count = 0;
    const CEffectKindMode* pairs = GetAllowed(source, count);
    for (int i = 0; i < count; ++i)
        if (pairs[i].kind == kind) return pairs[i].mode;
    return -1;
}

int GetDefaultEffectMode(int source) {
    switch (source) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 8:
    case 9:
    case 13:
    case 14:
    case 16: return kModeConstant;
    case 5:
    case 6:
    case 7: return kModeUse;
    case 10:
    case 11:
    case 12: return kModeCast;
    case 15: return kModeStrike;
    default: return kModeNone;
    }
}

void InitEffectForKind(CEffect& effect, int source) {
    effect.SetId(nullptr);
    effect.amount = effect.amountPerLevel = effect.duration = effect.durationPerLevel = 0;
    effect.radius = effect.target = 0;
    effect.mode = static_cast<u8>(GetDefaultEffectMode(source));
    effect.kind = source == kSourcePotion ? kEffectRestoreHp : kEffectFortifySkill;
}

void CopyEffect(CEffect& to, const CEffect& from) {
    if (&to == &from) return;
    to.SetId(from.id);
    to.amount = from.amount;
    to.amountPerLevel = from.amountPerLevel;
    to.duration = from.duration;
    to.durationPerLevel = from.durationPerLevel;
    to.radius = from.radius;
    to.target = from.target;
    to.mode = from.mode;
    to.kind = from.kind;
}

int EffectsEqual(const CEffect& a, const CEffect& b) {
    bool idsEqual = (!a.id && !b.id) || (a.id && b.id && CompareStrings(a.id, b.id) == 0);
    return a.kind == b.kind && a.mode == b.mode && a.target == b.target && a.radius == b.radius &&
                   a.amount == b.amount && a.amountPerLevel == b.amountPerLevel && a.duration == b.duration &&
                   a.durationPerLevel == b.durationPerLevel && idsEqual
               ? 1
               : 0;
}

int EffectListsEqual(const CEffectList* a, const CEffectList* b) {
    if (!a || !b || a->Count() != b->Count()) return 0;
    for (int i = 0; i < a->Count(); ++i)
        if (!EffectsEqual(*a->At(i), *b->At(i))) return 0;
    return 1;
}

void FreeEffectIds(CEffectList& list) {
    for (int i = 0; i < list.Count(); ++i) list.At(i)->SetId(nullptr);
}

namespace {

// The four amounts and durations and the target, mode and kind bytes, common to both forms.
void SerializeEffectNumbers(CStream& stream, CEffect& effect) {
    for (i16* value : {&effect.amount, &effect.amountPerLevel, &effect.duration, &effect.durationPerLevel})
        stream.SerializeU16(*reinterpret_cast<u16*>(value));
    stream.SerializeU8(effect.target);
    stream.SerializeU8(effect.mode);
    stream.SerializeU8(effect.kind);
}

}  // namespace

void SerializeEffect(CStream& stream, CEffect& effect, u32 version) {
    stream.MatchByte(5);
    if (stream.IsWriting()) {
        const char* id = effect.id;
        stream.SerializeStringRef(id);
    } else {
        const char* id = nullptr;
        stream.SerializeStringRef(id);
        effect.SetId(id);
    }
    SerializeEffectNumbers(stream, effect);
    if (version > 24)
        stream.SerializeU8(effect.radius);
    else if (!stream.IsWriting())
        effect.radius = 0;
}

void SerializeEffectList(CStream& stream, CEffectList& list, u32 version) {
    if (stream.IsWriting()) {
        u16 count = static_cast<u16>(list.Count());
        stream.SerializeU16(count);
        for (int i = 0; i < count; ++i) SerializeEffect(stream, *list.At(i), version);
        return;
    }
    u16 count = 0;
    stream.SerializeU16(count);
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        auto* effect = new CEffect;
        SerializeEffect(stream, *effect, version);
        // An unknown kind would index the kind tables: it is read past and left out.
        if (stream.HasError() || !IsValidEffectKind(effect->kind))
            delete effect;
        else
            list.Add(effect);
    }
}

void SerializeEffectListRecord(CStream& stream, CEffectList& list, u32 version) {
    stream.MatchByte(6);
    stream.Align(4);
    stream.SerializeU32(list.value);
    if (version < 84) {
        u16 skipped = 0;
        stream.SerializeU16(skipped);
    }
    SerializeEffectList(stream, list, version);
}

void SerializeSavedEffect(CStream& stream, CEffect& effect) {
    stream.SerializeOwnedString(effect.id);
    SerializeEffectNumbers(stream, effect);
    stream.SerializeU8(effect.radius);
}

void SaveEffectList(CStream& stream, CEffectList& list) {
    stream.Align(4);
    stream.SerializeU32(list.value);
    u16 count = static_cast<u16>(list.Count());
    stream.SerializeU16(count);
    for (int i = 0; i < count; ++i) SerializeSavedEffect(stream, *list.At(i));
}

void LoadEffectList(CStream& stream, CEffectList& list) {
    stream.Align(4);
    stream.SerializeU32(list.value);
    u16 count = 0;
    stream.SerializeU16(count);
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        auto* effect = new CEffect;
        SerializeSavedEffect(stream, *effect);
        if (stream.HasError() || !IsValidEffectKind(effect->kind))
            delete effect;
        else
            list.Add(effect);
    }
}

void CopyEffectList(CEffectList& to, const CEffectList& from) {
    if (&to == &from) return;
    to.Clear();
    for (int i = 0; i < from.Count(); ++i) to.Add(new CEffect(*from.At(i)));
}

CEffectList* CloneEffectList(const CEffectList& from) {
    auto* list = new CEffectList(4);
    list->value = from.value;
    CopyEffectList(*list, from);
    return list;
}

namespace {

// The cost rows of the damage kinds, absolute or percentage.
void DamageCost(int kind, i64 a, i64 R, i64& storage, i64& price) {
    i64 n = std::llabs(DecodeEffectAmount(static_cast<int>(a)));
    bool absolute = a >= -100 && a <= 100;
    switch (kind) {
    case 23:
        storage = absolute ? (n * n / 4) * R + 6 * n + 50 : ((n / 17) * R + 3) * n + 50;
        price = absolute ? 4 * (R * n + 3) * n + 200 : ((n / 2) * R + 4) * n + 200;
        break;
    case 24:
        storage = absolute ? (n * n / 3) * R + 8 * n + 50 : ((n / 18) * R + 3) * n + 50;
        price = absolute ? 5 * ((R * n + 3) * n + 40) : ((n / 3) * R + 4) * n + 200;
        break;
    default:
        storage = absolute ? (n * n / 2) * R + 10 * n + 50 : ((n / 15) * R + 4) * n + 50;
        price = absolute ? 5 * ((R * n + 4) * n + 40) : ((n / 2) * R + 5) * n + 200;
        break;
    }
}

}  // namespace

void ComputeEffectCost(const CEffect& effect, const CRuleContext& game, int source, i32& storageOut,
                       i32& priceOut) {
    const i64 a = effect.amount;
    const i64 n = std::llabs(DecodeEffectAmount(effect.amount));
    const i64 R = effect.radius ? 5 * static_cast<i64>(effect.radius) : 1;
    i64 storage = 0, price = 0;
    auto both = [&](i64 s, i64 p) { storage = s, price = p; };
    switch (effect.kind) {
    case 1: both(15 * a, 100 * a); break;
    case 2: both(25 * a, 200 * a); break;
    case 3:
    case 6:
    case 9: both(a * a / 8, a * a / 4); break;
    case 4:
    case 7:
    case 55: both(a * a / 3, 2 * a * a); break;
    case 5:
    case 8:
    case 10: both(10 * a, 75 * a); break;
    case 11: both(20 * a, 100 * a); break;
    case 12:
    case 13:
    case 14:
    case 19:
    case 21: both(50, 50); break;
    case 15: both(10 * n, 100 * n); break;
    case 16: both(15 * n, 100 * n); break;
    case 17: {
        const CDisease* disease = game.diseases ? game.diseases->FindById(effect.id) : nullptr;
        if (!disease) return;
        i64 m = static_cast<i64>(DecodeEffectAmount(effect.amount)) * disease->value1 / 10;
        both(15 * m, 200 * m);
        break;
    }
    case 18: both(0, 0); break;
    case 20: both(10 * a, 50 * a); break;
    case 22:
    case 33: both(15 * n, 200 * n); break;
    case 23:
        if (!game.creatures || !game.creatures->FindCreatureKind(effect.id)) return;
        DamageCost(effect.kind, a, R, storage, price);
        break;
    case 24:
    case 25: DamageCost(effect.kind, a, R, storage, price); break;
    case 26:
    case 27: both(100 * R, 1000 * R); break;
    case 28: both(400 * R, 4000 * R); break;
    case 29:
    case 30: both(200, 2000); break;
    case 31: {
        const CSpell* spell = game.spells ? game.spells->FindById(effect.id) : nullptr;
        if (!spell) return;
        i64 c = spell->value;
        storage = (c / 5) * a;
        price = (c / 2) * a;
        i64 s = effect.amountPerLevel;
        if (s != 0 && spell->HasEffectOutsideKindSet() &&
            (source == kSourceWand || source == kSourceScroll)) {
            storage = storage * s / 20;
            price = price * s / 20;
        }
        if (source == kSourceSpellBook) {
            storageOut = Clamp32(storage);
            priceOut = Clamp32(price * 4);
            return;
        }
        break;
    }
    case 32: {
        const CDisease* disease = game.diseases ? game.diseases->FindById(effect.id) : nullptr;
        if (!disease) return;
        both(100, 1000);
        break;
    }
    case 34: both((n / 8) * n + 50, ((n / 4) * n) / 2 + 200); break;
    case 35: both((n / 6) * n + 100, ((n / 3) * n) / 2 + 200); break;
    case 36:
    case 38: both(25 * n, 200 * n); break;
    case 39: both(400, 1000); break;
    case 40: both(300, 800); break;
    case 41: both(200, 600); break;
    case 43:
    case 46:
    case 47:
    case 48: both(100, 500); break;
    case 44:
    case 45: both(100, 400); break;
    case 49: both(300, 2000); break;
    case 50:
    case 51: both(400, 3000); break;
    case 52: both(100, 200); break;
    case 53: both(1000, 1000); break;
    case 56: both(2 * a * a, 5 * a * a); break;
    case 57: both(n, n); break;
    case 58: both(15 * std::llabs(a), 100 * std::llabs(a)); break;
    default:
        // 37, 42, 54 and unknown kinds cost nothing and change nothing.
        return;
    }
    if (source == kSourceMissile)
        price /= 2;
    else if (source == kSourcePotion || source == kSourceWand || source == kSourceScroll)
        price = 2 * price / 3;
    storageOut = Clamp32(storage);
    priceOut = Clamp32(price);
}

void SumEffectListCosts(const CEffectList& list, const CRuleContext& game, int source, i32& storage,
                        i32& price) {
    storage = 0;
    price = 0;
    if (source == kSourceIngredient) return;
    i64 s = 0, p = 0;
    for (int i = 0; i < list.Count(); ++i) {
        i32 es = 0, ep = 0;
        ComputeEffectCost(*list.At(i), game, source, es, ep);
        s += es;
        p += ep;
    }
    storage = Clamp32(s);
    price = Clamp32(p);
}

i32 GetWandValue(const CEffectList& list, const CRuleContext& game, int charges) {
    if (list.Count() == 0) return 0;
    const CEffect& first = *list.At(0);
    i32 storage = 0, price = 0;
    ComputeEffectCost(first, game, kSourceWand, storage, price);
    i64 maxCharges = first.amount ? first.amount : 1;
    return Clamp32(static_cast<i64>(price) * charges / maxCharges);
}

namespace {

int ListHasSpellOfSchool(const CEffectList& list, const CRuleContext& game, int school) {
    if (!game.spells) return 0;
    for (int i = 0; i < list.Count(); ++i) {
        const CEffect& e = *list.At(i);
        if (e.mode != kModeCast) continue;
        const CSpell* spell = game.spells->FindById(e.id);
        if (spell && spell->school == school) return 1;
    }
    return 0;
}

}  // namespace

int EffectListHasHealSpell(const CEffectList& list, const CRuleContext& game) {
    return ListHasSpellOfSchool(list, game, 1);
}

int EffectListHasUndeadSpell(const CEffectList& list, const CRuleContext& game) {
    return ListHasSpellOfSchool(list, game, 5);
}

void ApplyHeldEffects(const CEffectList& list, IRulePlayer& player, const void* holder) {
    for (int i = 0; i < list.Count(); ++i) {
        const CEffect& e = *list.At(i);
        if (e.mode == kModeConstant)
            player.AddConditionEffect(e.kind, e.amount, e.target, e.id, holder, 0, 1);
    }
}
