#include "data/SectionEffects.h"

#include "data/CharacterTables.h"
#include "data/Effect.h"
#include "data/RuleContext.h"
#include "data/Spells.h"

#include <algorithm>

namespace {

bool SameId(const char* a, const char* b) { return (!a && !b) || (a && b && CompareStrings(a, b) == 0); }

}  // namespace

int PoisonHurtStrength(int p) {
    if (p <= 10) return 50;
    if (p >= 60) return 100;
    // The line from 50 at 10 rises past 100 long before 60; the strength is a percentage.
    return std::min(100, 50 + 2 * (p - 10));
}

CEffectHolder* CSectionEffects::FindHolder(u8 id) const {
    for (int i = 0; i < holders_.GetCount(); ++i) {
        CEffectHolder* h = holders_.At<CEffectHolder>(i);
        if (h->creatureId == id) return h;
    }
    return nullptr;
}

CEffectHolder* CSectionEffects::GetOrCreateHolder(u8 id) {
    if (CEffectHolder* h = FindHolder(id)) return h;
    auto* h = new CEffectHolder;
    h->creatureId = id;
    if (!holders_.Add(h)) {
        delete h;
        return nullptr;
    }
    return h;
}

CEffectHolder* CSectionEffects::DetachMonsterEffects(u8 id) {
    CEffectHolder* h = FindHolder(id);
    if (h) holders_.Remove(h);
    return h;
}

bool CSectionEffects::AttachHolder(CEffectHolder* holder) {
    if (!holder || FindHolder(holder->creatureId)) return false;
    return holders_.Add(holder);
}

CActiveEffectEntry* CSectionEffects::FindMonsterEffect(u8 id, int kind, int target, const char* refId) const {
    const CEffectHolder* h = FindHolder(id);
    for (int i = 0; h && i < h->Count(); ++i) {
        CActiveEffectEntry* e = h->At(i);
        if (e->kind == kind && e->target == target && SameId(e->id, refId)) return e;
    }
    return nullptr;
}

int CSectionEffects::SumMonsterEffect(u8 id, int kind) const {
    const CEffectHolder* h = FindHolder(id);
    if (!h) return 0;
    bool presence = kind == kEffectCurse || kind == kEffectParalyze || kind == kEffectMagicImmunity;
    int sum = 0;
    for (int i = 0; i < h->Count(); ++i) {
        const CActiveEffectEntry* e = h->At(i);
        if (e->effectClass != kActiveEffect || e->kind != kind) continue;
        if (presence) return 1;
        sum += e->amount;
    }
    return sum;
}

int CSectionEffects::SumMonsterDiseaseEffect(u8 id, int kind, int target,
                                             const CDiseaseList* diseases) const {
    const CEffectHolder* h = FindHolder(id);
    if (!h) return 0;
    int sum = 0;
    for (int i = 0; i < h->Count(); ++i) {
        const CActiveEffectEntry* e = h->At(i);
        if (e->effectClass == kActiveDisease) {
            const CDisease* d = diseases ? diseases->FindById(e->id) : nullptr;
            for (int k = 0; d && k < d->effects.Count(); ++k) {
                const CEffect* f = d->effects.At(k);
                if (f->kind == kind && f->target == target && !f->id) sum += DecodeEffectAmount(f->amount);
            }
        } else if (e->kind == kind && e->target == target && !e->id) {
            sum += DecodeEffectAmount(e->amount);
        }
    }
    return sum;
}

void CSectionEffects::AddMonsterEffect(u8 id, int amount, int turns, int kind, int target,
                                       const char* refId) {
    CEffectHolder* h = GetOrCreateHolder(id);
    if (!h) return;
    if (CActiveEffectEntry* e = FindMonsterEffect(id, kind, target, refId)) {
        if (amount > e->amount || (amount == e->amount && turns > e->turns)) {
            e->amount = static_cast<i16>(amount);
            e->turns = static_cast<i8>(turns);
        }
        return;
    }
    auto* e = new CActiveEffectEntry;
    e->id = DuplicateString(refId);
    e->amount = static_cast<i16>(amount);
    e->turns = static_cast<i8>(turns);
    e->kind = static_cast<i8>(kind);
    e->effectClass = kActiveEffect;
    e->target = static_cast<u8>(target);
    if (!h->entries.Add(e)) delete e;
}

void CSectionEffects::RemoveMonsterEffectsOfKind(u8 id, int kind) {
    CEffectHolder* h = FindHolder(id);
    for (int i = h ? h->Count() - 1 : -1; i >= 0; --i) {
        CActiveEffectEntry* e = h->At(i);
        if (e->effectClass == kActiveEffect && e->kind == kind)
            delete static_cast<CActiveEffectEntry*>(h->entries.RemoveAt(i));
    }
}

int CSectionEffects::MonsterHasDisease(u8 id, const char* diseaseId) const {
    const CEffectHolder* h = FindHolder(id);
    for (int i = 0; h && diseaseId && i < h->Count(); ++i) {
        const CActiveEffectEntry* e = h->At(i);
        if (e->effectClass == kActiveDisease && SameId(e->id, diseaseId)) return 1;
    }
    return 0;
}

void CSectionEffects::InfectMonster(u8 id, const char* diseaseId) {
    if (!diseaseId || MonsterHasDisease(id, diseaseId)) return;
    CEffectHolder* h = GetOrCreateHolder(id);
    if (!h) return;
    auto* e = new CActiveEffectEntry;
    e->id = DuplicateString(diseaseId);
    e->effectClass = kActiveDisease;
    if (!h->entries.Add(e)) delete e;
}

void CSectionEffects::CureMonsterDisease(u8 id, const char* diseaseId) {
    CEffectHolder* h = FindHolder(id);
    for (int i = h ? h->Count() - 1 : -1; i >= 0; --i) {
        CActiveEffectEntry* e = h->At(i);
        if (e->effectClass == kActiveDisease && SameId(e->id, diseaseId))
            delete static_cast<CActiveEffectEntry*>(h->entries.RemoveAt(i));
    }
}

void CSectionEffects::AgeMonsterEffects(u8 id, IAgingMonster& monster, int turns) {
    CEffectHolder* h = FindHolder(id);
    if (!h) return;
    int p = SumMonsterEffect(id, kEffectPoison);
    if (p != 0) {
        int hp = monster.GetHp();
        monster.SetHp(hp < p ? 1 : hp - p);
        monster.MarkHurt(PoisonHurtStrength(p));
    }
    for (int i = h->Count() - 1; i >= 0; --i) {
        CActiveEffectEntry* e = h->At(i);
        if (e->effectClass != kActiveEffect || e->turns == 0) continue;
        e->turns = static_cast<i8>(std::max(0, e->turns - turns));
        if (e->turns == 0) {
            bool paralysis = e->kind == kEffectParalyze;
            delete static_cast<CActiveEffectEntry*>(h->entries.RemoveAt(i));
            if (paralysis) monster.ChooseFrame();
        }
    }
}

void CSectionEffects::FormatActiveEffectsText(u8 id, const CRuleContext& game, CStr& out) const {
    const CEffectHolder* h = FindHolder(id);
    if (!h || h->Count() == 0) {
        out.Append("none\r");
        return;
    }
    out.Append("\r");
    for (int i = 0; i < h->Count(); ++i) {
        const CActiveEffectEntry* e = h->At(i);
        if (e->effectClass == kActiveDisease) {
            const CDisease* d = game.diseases ? game.diseases->FindById(e->id) : nullptr;
            if (d) out.AppendFormat("%s disease\r", d->GetDisplayName());
            continue;
        }
        // Percentage kinds show their amount decoded, the others as it is.
        const int raw = e->amount;
        const int a = DecodeEffectAmount(e->amount);
        const u32 t = static_cast<u32>(std::max<int>(e->turns, 0));
        const char* rounds = t == 1 ? "round" : "rounds";
        const char* turnsWord = t == 1 ? "turn" : "turns";
        switch (e->kind) {
        case 1:
        case 2: {
            const char* name = e->kind == 1
                                   ? (game.skills ? game.skills->GetName(e->target) : nullptr)
                                   : (game.attributes ? game.attributes->GetName(e->target) : nullptr);
            if (name) out.AppendFormat("%+d %s (%u %s)\r", raw, name, t, rounds);
            break;
        }
        case 5: out.AppendFormat("%+d hp (%u %s)\r", raw, t, rounds); break;
        case 8: out.AppendFormat("%+d unholy hp (%u %s)\r", raw, t, rounds); break;
        case 10: out.AppendFormat("%+d mana (%u %s)\r", raw, t, rounds); break;
        case 11: out.AppendFormat("%+d ac (%u %s)\r", raw, t, rounds); break;
        case 15: out.AppendFormat("%+d%% poison resistance (%u %s)\r", a, t, rounds); break;
        case 16: out.AppendFormat("%+d%% paralysis resistance (%u %s)\r", a, t, rounds); break;
        case 17: {
            const CDisease* d = game.diseases ? game.diseases->FindById(e->id) : nullptr;
            if (d) out.AppendFormat("%+d%% %s resistance (%u %s)\r", a, d->GetDisplayName(), t, rounds);
            break;
        }
        case 18: out.AppendFormat("%+d%% normal weapon resistance (%u %s)\r", a, t, rounds); break;
        case 20: out.AppendFormat("%+d feather (%u %s)\r", raw, t, rounds); break;
        case 22: out.AppendFormat("%+d%% magic resistance (%u %s)\r", a, t, rounds); break;
        case 26: out.AppendFormat("Poisoned, %u hp\r", static_cast<u32>(raw)); break;
        case 27: out.AppendFormat("Cursed, %u %s\r", t, turnsWord); break;
        case 28: out.AppendFormat("Paralyzed, %u %s\r", t, turnsWord); break;
        case 33: out.AppendFormat("%+d%% diseases resistance (%u %s)\r", a, t, rounds); break;
        case 36: out.AppendFormat("%+d%% magic (%u %s)\r", a, t, rounds); break;
        case 38: out.AppendFormat("%+d%% melee (%u %s)\r", a, t, rounds); break;
        case 39: out.AppendFormat("Magic immunity, %u %s\r", t, turnsWord); break;
        case 53: out.Append("Level drop\r"); break;
        case 58: out.AppendFormat("%+d outfit (%u %s)\r", raw, t, rounds); break;
        default: break;
        }
    }
}
