// The player's active effects: adding, refreshing, ageing and removing entries, the contributions of
// equipment, abilities and diseases, drink, poison and disease damage, wear, and potions.
#include <algorithm>
#include <cstring>

#include "core/Random.h"
#include "data/ItemType.h"
#include "world/Player.h"

namespace {

bool SameName(const std::optional<std::string>& a, const char* b) {
    if (!a || !b) return !a && !b;
    return *a == b;
}

bool Ageing(u8 source) { return source == kFromDrink || source == kFromSpell || source == kFromHit; }

// The reference ids that a dispel removes.
constexpr u8 kDispellable[] = {2, 5, 8, 10, 11, 15, 16, 17, 20, 22, 27, 28, 33, 34, 35, 36, 38, 39, 58};

constexpr int kMaxDrinkDuration = 240;

}  // namespace

void CPlayer::AddConditionEffect(int refId, int source, const void* origin, int strength, int duration,
                                 int target, const char* name) {
    if (refId < 0 || refId >= kEffectKindCount) return;
    int kind = static_cast<int>(effectListOfKind[refId]);
    if (kind == 0) return;
    if (duration != 0) ++duration;
    duration = std::clamp(duration, 0, 255);
    strength = std::clamp(strength, -32768, 32767);
    if (kind == kListPoison && GetPoisonStrength() == 0) Post("You're poisoned!", nullptr);
    if (kind == kListParalysis && effects[kind].empty()) Post("You're paralyzed!", nullptr);
    std::vector<CActiveEffect>& list = effects[kind];
    if (source != kFromEquipment) {
        for (CActiveEffect& e : list) {
            if (e.origin != origin || e.target != target || !SameName(e.name, name)) continue;
            if (strength > e.strength || (strength == e.strength && duration > e.duration)) {
                e.strength = static_cast<i16>(strength);
                e.duration = static_cast<u8>(duration);
            }
            return;
        }
    }
    CActiveEffect entry;
    if (name) entry.name = name;
    entry.origin = origin;
    entry.strength = static_cast<i16>(strength);
    entry.duration = static_cast<u8>(duration);
    entry.kind = static_cast<u8>(kind);
    entry.source = static_cast<u8>(source);
    entry.target = static_cast<u8>(target);
    list.push_back(std::move(entry));
}

void CPlayer::AddConditionEffect(int kind, int amount, int target, const char* id, const void* origin,
                                 int duration, int source) {
    AddConditionEffect(kind, source, origin, amount, duration, target, id);
}

void CPlayer::ApplyEffect(const CEffect& effect, int source) {
    AddConditionEffect(effect.kind, source, applyOrigin_, effect.amount, 0, effect.target, effect.id);
}

void CPlayer::TickEffects(int units) {
    if (units <= 0) return;
    bool paralysisEnded = false;
    for (int kind = 1; kind <= kEffectListCount; ++kind) {
        std::vector<CActiveEffect>& list = effects[kind];
        for (auto it = list.begin(); it != list.end();) {
            if (!Ageing(it->source) || it->duration == 0) {
                ++it;
                continue;
            }
            if (it->duration > units) {
                it->duration = static_cast<u8>(it->duration - units);
                ++it;
                continue;
            }
            paralysisEnded |= kind == kListParalysis;
            it = list.erase(it);
        }
    }
    if (paralysisEnded && host_) host_->SetHandSprites();
}

void CPlayer::RemoveEffectsOfKind(int refId) {
    if (refId < 0 || refId >= kEffectKindCount || effectListOfKind[refId] == 0) return;
    std::vector<CActiveEffect>& list = effects[effectListOfKind[refId]];
    list.erase(
        std::remove_if(list.begin(), list.end(), [](const CActiveEffect& e) { return Ageing(e.source); }),
        list.end());
}

void CPlayer::RemoveEffectsFromSource(int source) {
    for (auto& list : effects)
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&](const CActiveEffect& e) { return e.source == source; }),
                   list.end());
}

void CPlayer::DispelEffects() {
    for (u8 id : kDispellable) RemoveEffectsOfKind(id);
    if (host_) host_->SetHandSprites();
}

void CPlayer::RemoveAllEffects() {
    for (auto& list : effects) list.clear();
}

void CPlayer::ApplyEffectsOf(const CEffectList* list, int source, const void* origin) {
    if (!list) return;
    for (int i = 0; i < list->Count(); ++i) {
        const CEffect& e = *list->At(i);
        AddConditionEffect(e.kind, source, origin, e.amount, 0, e.target, e.id);
    }
}

void CPlayer::ReapplyEquipmentEffects() {
    RemoveEffectsFromSource(kFromEquipment);
    for (int slot = 1; slot <= kEquipmentSlotCount; ++slot)
        if (slot != 12 && equipment[slot])
            ApplyEffectsOf(equipment[slot]->GetEffects(), kFromEquipment, equipment[slot]);
}

void CPlayer::ReapplyDiseaseEffects() {
    RemoveEffectsFromSource(kFromDisease);
    for (const CDisease* d : diseases) {
        applyOrigin_ = d;
        ApplyDisease(*d, *this);
    }
    applyOrigin_ = nullptr;
}

void CPlayer::ReapplyAbilityEffects() {
    RemoveEffectsFromSource(kFromAbility);
    for (const CAbility* a : abilities) {
        applyOrigin_ = a;
        if (rules_)
            ApplyAbility(*a, *rules_, *this);
        else
            ApplyEffectsOf(&a->effects, kFromAbility, a);
    }
    applyOrigin_ = nullptr;
}

void CPlayer::Drink(int strength, const void* origin) {
    int endurance = EffectiveAttribute(kEndurance, true, nullptr);
    bool wasDrunk = GetDrunkenness() > 2 * endurance;
    int t = (strength / 5) * 60;
    // At an endurance of 100 or more the plain rule gives 0 (which would last for ever) or less.
    int duration = std::clamp(t - t * endurance / 100, 1, kMaxDrinkDuration);
    // Every drink is a new entry of its own: drinks add up.
    CActiveEffect entry;
    entry.origin = origin;
    entry.strength = static_cast<i16>(std::clamp(strength, -32768, 32767));
    entry.duration = static_cast<u8>(duration);
    entry.kind = kListAlcoholic;
    entry.source = kFromDrink;
    effects[kListAlcoholic].push_back(std::move(entry));
    if (GetDrunkenness() > 2 * endurance && !wasDrunk) Post("You're drunk!", "bsnd_ambientman4");
}

void CPlayer::ApplyPoisonDamage() {
    int p = GetPoisonStrength();
    if (p <= 0) return;
    if (hp <= p) {
        hp = 0;
        UpdateHpGauge();
    } else {
        AddHp(-p, false);
    }
    if (host_) host_->ShowDamageOverTime(p);
}

void CPlayer::ApplyDiseaseDamage(int factor) {
    i64 d = 0;
    for (const CDisease* disease : diseases)
        for (int i = 0; i < disease->effects.Count(); ++i)
            if (disease->effects.At(i)->kind == kEffectDamageAll)
                d += std::abs(disease->effects.At(i)->amount);
    d *= factor;
    if (d <= 0) return;
    if (hp > d)
        AddHp(static_cast<int>(-d), false);
    else {
        hp = 0;
        UpdateHpGauge();
    }
    if (host_) host_->ShowDamageOverTime(static_cast<int>(std::min<i64>(d, INT32_MAX)));
}

void CPlayer::CountSkillUse(int skill) {
    if (skill < 1 || skill > kPlayerSkillCount || skill == MissingSkill()) return;
    if (skillUse[skill] < kMaxPracticeCount) ++skillUse[skill];
}

bool CPlayer::WearItem(int damage, CItemInstance* item, bool weapon) {
    if (!item || !item->type || damage < 0) return false;
    item->count = static_cast<u16>(std::max(0, item->count - damage));
    // A maximum condition of 0 means the item does not wear.
    if (item->type->maxCondition == 0 || item->count * 100 / item->type->maxCondition >= 10) return false;
    bool equipped = std::find(std::begin(equipment), std::end(equipment), item) != std::end(equipment);
    if (!equipped) return false;
    UnequipItem(item);
    if (host_) host_->SetHandSprites();
    const char* name = item->type->name ? item->type->name : item->type->GetName();
    std::string text = std::string("Your ") + (name ? name : "") + (weapon ? " broke!." : " broke!");
    Post(text.c_str(), nullptr);
    return true;
}

void CPlayer::ApplyCure(const CEffect& e) {
    if (e.kind == 12) {
        RemoveEffectsOfKind(26);
    } else if (e.kind == 13) {
        RemoveEffectsOfKind(28);
        if (host_) host_->SetHandSprites();
    } else if (e.kind == 14) {
        CureDisease(e.id);
    }
}

void CPlayer::ApplyPotion(const CItemInstance& potion) {
    const CEffectList* list = potion.GetEffects();
    if (!list || !potion.type) return;
    const void* origin = potion.type;
    auto lasting = [&](int refId, int a, int d, int target, const char* name) {
        if (a != 0 && d != 0) AddConditionEffect(refId, kFromDrink, origin, a, d, target, name);
    };
    bool undead = race == 1;
    for (int i = 0; i < list->Count(); ++i) {
        const CEffect& e = *list->At(i);
        int a = e.amount, d = e.duration;
        switch (e.kind) {
        case 2: lasting(2, a, d, e.target, nullptr); break;
        case 3:
            if (a != 0) AddHp(undead ? -a : a, false);
            break;
        case 4:
            if (undead) {
                hp = 1;
                UpdateHpGauge();
            } else {
                SetFullHp(false);
            }
            break;
        case 5:
        case 8:
            if ((e.kind == 5) != undead) {
                lasting(e.kind, a, d, 0, nullptr);
            } else if (a < hp) {
                AddHp(-a, false);
            } else {
                hp = 1;
                UpdateHpGauge();
            }
            break;
        case 6: AddHp(undead ? a : -a, false); break;
        case 7:
            if (undead) {
                SetFullHp(false);
            } else {
                hp = 1;
                UpdateHpGauge();
            }
            break;
        case 9: AddMana(a, false); break;
        case 10:
        case 15:
        case 16:
        case 20:
        case 22:
        case 33:
        case 36:
        case 38: lasting(e.kind, a, d, 0, nullptr); break;
        case 17: lasting(17, a, d, 0, e.id); break;
        case 12:
        case 13:
        case 14: ApplyCure(e); break;
        case 19:
            for (u8 id : kDispellable) RemoveEffectsOfKind(id);
            break;
        case 26: {
            int p = GetPoisonResistance();
            int strength = a - a * p / 100;
            if (strength != 0) {
                AddConditionEffect(26, kFromDrink, origin, strength, 0, 0, nullptr);
                ApplyPoisonDamage();
            }
            break;
        }
        case 55: SetFullMana(true); break;
        case 56: AddAttributeValue(e.target, a, true); break;
        case 57: Drink(a, origin); break;
        default: break;
        }
    }
}
