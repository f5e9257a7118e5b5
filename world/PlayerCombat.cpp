// The player in a fight: the blows of creatures with the armour that takes them and what they carry,
// the player's own damage range and roll, weapon practice, wear by load, and spells cast at the player.
#include <algorithm>
#include <cstdlib>

#include "core/Random.h"
#include "data/ItemType.h"
#include "world/Player.h"

namespace {

bool IsShot(const CItemType& t) { return t.subclass == 9 || t.subclass == 10 || t.subclass == 12; }

// The chance in percent of a strike effect: the part of its coded strength beyond 100.
int StrikeChance(int strength) { return strength < -100 ? strength + 100 : strength - 100; }

// n less its R percent.
int LessPercent(int n, int r) { return n - n * r / 100; }

constexpr u8 kArmourSlots[] = {1, 2, 4, 7, 10, 11, 13};

}  // namespace

void CPlayer::ApplyDamage(int amount, int kind) {
    AddHp(-amount, false);
    if (host_) host_->ShowPlayerHit(amount, kind);
}

void CPlayer::CountWeaponUse() {
    CItemInstance* main = equipment[5];
    CItemInstance* second = equipment[6];
    bool mainWeapon = main && main->type && main->type->IsWeapon();
    bool secondWeapon =
        second && second->type && second->type->IsWeapon() && !(mainWeapon && IsShot(*main->type));
    for (CItemInstance* item : {mainWeapon ? main : nullptr, secondWeapon ? second : nullptr}) {
        if (!item) continue;
        int first = 0, other = 0;
        item->type->GetSkills(first, other);
        CountSkillUse(first);
        CountSkillUse(other);
    }
    if (mainWeapon && secondWeapon && skillUse[kSkillDualWield] < kMaxPracticeCount)
        ++skillUse[kSkillDualWield];
}

void CPlayer::WearByLoad() {
    if (!equipment[11]) return;
    WearItem(1 + static_cast<int>(Draw(static_cast<int>(GetCarriedWeight() / 20000))), equipment[11]);
}

void CPlayer::ComputeAttack(int& low, int& high, bool wear) {
    int d = EffectiveAttribute(kDexterity, true, nullptr);
    int s = GetAttribute(kStrength);
    low = high = 0;
    CItemInstance* weapon = equipment[5];
    if (!weapon || !weapon->type || !weapon->type->IsWeapon()) {
        low = d / 16 + s / 16;
        high = d / 8 + s / 8;
    } else {
        const CItemType& t = *weapon->type;
        u32 lo = 0, hi = 0;
        ComputeWeaponDamageRange(t, weapon->count, false, *this, lo, hi);
        low += static_cast<int>(lo);
        high += static_cast<int>(hi);
        if (IsShot(t)) {
            if (CItemInstance* ammo = equipment[12]; ammo && ammo->type) {
                low += static_cast<int>(ammo->type->GetDamageLow(ammo->count));
                high += static_cast<int>(ammo->type->GetDamageHigh(ammo->count));
            }
            low += d / 10;
            high += d / 8;
        } else {
            low += d / 10 + s / 10;
            high += d / 8 + s / 8;
        }
        if (wear && t.subclass != 8) WearItem(low + static_cast<int>(Draw(high - low + 1)), weapon, true);
        CItemInstance* second = equipment[6];
        if (equipment[5] && !IsShot(t) && second && second->type && second->type->IsWeapon()) {
            ComputeWeaponDamageRange(*second->type, second->count, true, *this, lo, hi);
            low += static_cast<int>(lo);
            high += static_cast<int>(hi);
            if (wear) WearItem(static_cast<int>(lo + Draw(static_cast<int>(hi - lo + 1))), second, true);
        }
    }
    if (static_cast<i64>(GetCarriedWeight()) > GetCarryCapacity()) {
        low /= 2;
        high /= 2;
    }
}

int CPlayer::RollDamage(int armour) {
    bool creature = armour >= 0;
    int low = 0, high = 0;
    ComputeAttack(low, high, creature);
    int damage = low + static_cast<int>(Draw(high - low + 1));
    if (creature) damage -= armour;
    if (damage < 1) damage = Draw(100) > 50 ? static_cast<int>(Draw(5)) : 0;
    if (creature) CountWeaponUse();
    return damage;
}

CItemInstance* CPlayer::WearArmourByDirection(int direction, int damage, bool& onShield) {
    onShield = false;
    CItemInstance* shield = equipment[6];
    if (shield && (!shield->type || shield->type->IsWeapon() || IsParalyzed())) shield = nullptr;
    CItemInstance* chosen = nullptr;
    if (direction == -1) {
        if (equipment[11] && Draw(100) >= 51) chosen = equipment[11];
    } else if (direction == (host_ ? host_->GetFacingQuarter() : 0)) {
        if (shield && Draw(100) > 50) {
            chosen = shield;
            onShield = true;
        } else if (equipment[4] && Draw(100) > 70) {
            chosen = equipment[4];
        } else if (equipment[1] && Draw(100) >= 91) {
            chosen = equipment[1];
        }
    } else if (equipment[4] && Draw(100) >= 51) {
        chosen = equipment[4];
    }
    if (!chosen) {
        std::vector<CItemInstance*> worn;
        for (u8 slot : kArmourSlots)
            if (equipment[slot]) worn.push_back(equipment[slot]);
        if (shield) worn.push_back(shield);
        if (!worn.empty()) chosen = worn[Draw(static_cast<int>(worn.size()))];
    }
    if (chosen) WearItem(damage, chosen);
    return chosen;
}

int CPlayer::ComputeArmourAbsorption() {
    int factor = 1;
    CItemInstance* shield = equipment[6];
    if (shield && shield->type &&
        (shield->type->itemClass == kItemHeavyArmour || shield->type->itemClass == kItemLightArmour)) {
        int b = GetSkillValue(kSkillBlock);
        if (b > 30) {
            if (static_cast<int>(Draw(100)) < b / 2)
                factor = 3;
            else if (static_cast<int>(Draw(100)) < 2 * b / 3)
                factor = 2;
        } else if (static_cast<int>(Draw(100)) < b) {
            factor = 2;
        }
        if (factor > 1 && skillUse[kSkillBlock] < kMaxPracticeCount) ++skillUse[kSkillBlock];
    }
    return GetArmorClass(nullptr, factor);
}

void CPlayer::ApplyHitEffect(const CEffect& e, int damage, CPlayerHitResult& result) {
    switch (e.kind) {
    case kEffectPoison: {
        int r = GetPoisonResistance();
        int a = LessPercent(damage / 10 + (damage < 10 ? 1 : 0), r);
        if (static_cast<int>(Draw(100)) > r && a >= 1) {
            AddConditionEffect(26, kFromHit, nullptr, a, 0, 0, nullptr);
            ApplyPoisonDamage();
        }
        break;
    }
    case kEffectCurse:
    case kEffectParalyze: {
        bool curse = e.kind == kEffectCurse;
        int r = curse ? GetMagicResistance() : GetParalysisResistance();
        int n = curse ? damage / 5 + (damage < 5 ? 1 : 0) : damage / 10 + (damage < 5 ? 1 : 0);
        int duration = LessPercent(n, r) + 1;
        if (static_cast<int>(Draw(100)) <= r || duration < 1) break;
        bool wasParalyzed = IsParalyzed();
        std::vector<CActiveEffect>& list = effects[curse ? kListCurse : kListParalysis];
        auto it = std::find_if(list.begin(), list.end(),
                               [](const CActiveEffect& a) { return !a.target && !a.name; });
        if (it != list.end()) {
            it->duration = static_cast<u8>(std::clamp(duration, 0, 255));
            it->strength = std::max<i16>(it->strength, 0);
        } else {
            CActiveEffect entry;
            entry.duration = static_cast<u8>(std::clamp(duration, 0, 255));
            entry.kind = curse ? kListCurse : kListParalysis;
            entry.source = kFromHit;
            list.push_back(entry);
        }
        if (!curse) {
            if (!wasParalyzed) Post("You're paralyzed!", nullptr);
            if (host_) host_->SetHandSprites();
        }
        break;
    }
    case 29:
    case 30: {
        int r = GetMagicResistance();
        int a = LessPercent(damage / 2, r);
        if (static_cast<int>(Draw(100)) > r && a >= 1) {
            if (e.kind == 29)
                result.hpDrained -= AddHp(-a, false);
            else
                AddMana(-a, false);
        }
        break;
    }
    case kEffectInfectDisease: {
        int roll = static_cast<int>(Draw(100));
        if (roll > GetDiseaseResistance() && roll > GetSpecificDiseaseResistance(e.id)) InfectDisease(e.id);
        break;
    }
    case 53:
        if (static_cast<int>(Draw(100)) > GetMagicResistance()) DrainXp();
        break;
    default: break;
    }
}

void CPlayer::DrainXp() {
    int r = GetMagicResistance();
    i64 n = xp / 100;
    RemoveXp(static_cast<i32>(n - n * r / 100), true);
}

CPlayerHitResult CPlayer::ApplyHit(const CPlayerHit& hit) {
    CPlayerHitResult result;
    int damage = hit.damage;
    int direction = hit.direction;
    if (hit.keepDirection) {
        if (host_ && host_->IsSurfaceMap()) {
            int hour = host_->GetHour();
            int p = host_->GetWeatherIntensity() / 20 + (hour < 6 || hour > 21 ? 50 : 0);
            damage -= damage * p / 100;
        }
    } else {
        direction = direction == -1 ? hit.positionDirection : (direction + 2) % 4;
    }
    bool onShield = false;
    WearArmourByDirection(direction, damage, onShield);
    // A blow the shield took is Block practice, whatever the absorption comes to.
    if (onShield) CountSkillUse(kSkillBlock);
    damage -= ComputeArmourAbsorption();
    if (damage < 1) {
        int graze = 0;
        if (Draw(100) >= 51) graze = static_cast<int>(Draw(5));
        if (graze == 0) {
            result.missed = true;
            if (host_ && host_->OnBlowMissed(direction) && skillUse[kSkillBlock] < kMaxPracticeCount)
                ++skillUse[kSkillBlock];
            return result;
        }
        damage = graze;
    }
    result.damage = -AddHp(-damage, false);
    if (host_) host_->ShowPlayerHit(damage, 0);
    if (hit.effects)
        for (int i = 0; i < hit.effects->Count(); ++i) {
            const CEffect& e = *hit.effects->At(i);
            if (e.mode == kModeStrike && static_cast<int>(Draw(100)) < StrikeChance(e.amount))
                ApplyHitEffect(e, damage, result);
        }
    return result;
}

void CPlayer::ApplySpell(const CSpell& spell, int p, bool selfCast, int hitKind, bool areaOnly) {
    int r = GetMagicResistance();
    bool immune = !effects[kListMagicImmunity].empty();
    bool undead = race == 1;
    i64 gathered = 0;
    bool crush = false;
    const void* origin = &spell;
    // A draw of 0..99 that must exceed the resistance; none when the player casts at himself.
    auto resisted = [&](int resistance) { return !selfCast && static_cast<int>(Draw(100)) <= resistance; };
    auto entry = [&](int refId, int strength, int duration, int target, const char* name, bool durationOnly) {
        if (duration == 0 || (!durationOnly && strength == 0)) return;
        AddConditionEffect(refId, kFromSpell, origin, strength, duration, target, name);
    };
    for (int i = 0; i < spell.effects.Count(); ++i) {
        const CEffect& e = *spell.effects.At(i);
        if (areaOnly && e.radius == 0) continue;
        if (immune && e.kind != 19) continue;
        int a = ScaleByLevel(e.amount, e.amountPerLevel, p);
        int d = ScaleByLevel(e.duration, e.durationPerLevel, p);
        int a1 = selfCast ? a : LessPercent(a, r);
        int d1 = selfCast ? d : LessPercent(d, r);
        int coded = std::min(a, 100);
        if (!selfCast) coded = LessPercent(coded, r);
        coded += coded >= 0 ? 100 : -100;
        switch (e.kind) {
        case 2:
            if (!resisted(r)) entry(2, a1, d1, e.target, nullptr, false);
            break;
        case 3:
            if (a1 != 0) {
                if (undead)
                    gathered += a1;
                else
                    AddHp(a1, false);
            }
            break;
        case 4:
            if (undead)
                gathered += hp - 1;
            else
                SetFullHp(false);
            break;
        case 5:
            if (resisted(r)) break;
            if (undead)
                gathered += std::min(a1, hp - 1);
            else
                entry(5, a1, d1, 0, nullptr, false);
            break;
        case 6:
            if (a1 != 0) {
                if (undead)
                    AddHp(a1, false);
                else
                    gathered += a1;
            }
            break;
        case 7:
            if (undead)
                SetFullHp(false);
            else
                gathered += hp - 1;
            break;
        case 8:
            if (undead)
                entry(8, a1, d1, 0, nullptr, false);
            else
                gathered += std::min(a1, hp - 1);
            break;
        case 11:
        case 20:
            if (!resisted(r)) entry(e.kind, a1, d1, 0, nullptr, false);
            break;
        case 12:
        case 13:
        case 14: ApplyCure(e); break;
        case 15:
        case 16:
        case 17:
        case 22:
        case 33:
        case 36:
        case 38:
            if (!resisted(r)) entry(e.kind, coded, d1, 0, e.kind == 17 ? e.id : nullptr, true);
            break;
        case 19: DispelEffects(); break;
        case 21: RemoveEffectsOfKind(27); break;
        case 24:
            if ((e.target == 1 && !undead) || (e.target == 3 && undead)) gathered += LessPercent(a, r);
            break;
        case 25: gathered += LessPercent(a, r); break;
        case 26: {
            int poison = GetPoisonResistance();
            int strength = LessPercent(a, poison);
            if (resisted(poison) || strength == 0) break;
            AddConditionEffect(26, kFromSpell, origin, strength, 0, 0, nullptr);
            gathered += strength;
            break;
        }
        case 27:
            if (!resisted(r)) entry(27, 0, d1, 0, nullptr, true);
            break;
        case 28: {
            int q = GetParalysisResistance();
            int duration = LessPercent(d, q);
            if (resisted(q) || duration == 0) break;
            entry(28, 0, duration, 0, nullptr, true);
            if (host_) host_->SetHandSprites();
            break;
        }
        case 29: gathered += a1; break;
        case 30:
            if (a1 != 0) AddMana(-a1, false);
            break;
        case 32:
            if (static_cast<int>(Draw(100)) > GetSpecificDiseaseResistance(e.id)) InfectDisease(e.id);
            break;
        case 39:
            if (!resisted(r) && d1 != 0) {
                DispelEffects();
                entry(39, 0, d1, 0, nullptr, true);
            }
            break;
        case 40:
            gathered += LessPercent(a, r);
            crush = true;
            break;
        case 41:
            if (host_) host_->CalmCreatures(p / 10);
            break;
        case 46:
        case 47:
        case 48:
        case 49:
            if (host_) host_->PostSpellEvent(14 + (e.kind - 46), 0);
            break;
        case 50:
        case 51:
            if (host_) host_->PostSpellEvent(18, p);
            break;
        case 52: CreateFood(); break;
        case 53: DrainXp(); break;
        default: break;
        }
    }
    if (gathered != 0) {
        int loss = static_cast<int>(std::clamp<i64>(gathered, INT32_MIN, INT32_MAX));
        AddHp(-loss, false);
        if (host_) host_->ShowPlayerHit(loss, hitKind);
    }
    if (crush && hp > 0 && GetHpPercent() <= 25) {
        int q = std::min(GetHpPercent(), 100);
        if (static_cast<int>(Draw(100)) > 3 * q) ApplyDamage(hp, hitKind);
    }
}
