#include "world/Creatures.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/Random.h"
#include "data/CreatureCatalogue.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "script/ScriptContext.h"
#include "view3d/ViewCaches.h"
#include "world/CellWindow.h"
#include "world/CreatureHost.h"
#include "world/Directions.h"
#include "world/Player.h"

using namespace creature;

namespace {

const CMonsterType* TypeOf(const CMonster& m) { return m.Type(); }

int Clamp100(int v) { return std::clamp(v, -100, 100); }

// A coded percentage read as a change: below -100 it counts + 100, above 100 it counts - 100.
int Fold(int a) { return a < -100 ? a + 100 : a > 100 ? a - 100 : a; }

// The kinds a spell hurts with: a harmful spell angers its target and is a crime against people.
bool IsHarmfulKind(int kind) { return (kind >= 23 && kind <= 30) || kind == 32 || kind == 40 || kind == 53; }

bool IsHarmful(const CSpell& spell) {
    for (int i = 0; i < spell.effects.Count(); ++i)
        if (IsHarmfulKind(spell.effects.At(i)->kind)) return true;
    return false;
}

bool HasRadius(const CSpell& spell) {
    for (int i = 0; i < spell.effects.Count(); ++i)
        if (spell.effects.At(i)->radius != 0) return true;
    return false;
}

int PassiveSum(const CMonsterType* type, int kind) {
    if (!type) return 0;
    int sum = 0;
    for (int i = 0; i < type->effects.Count(); ++i) {
        const CEffect& e = *type->effects.At(i);
        if (e.mode == kModeConstant && e.kind == kind) sum += e.amount;
    }
    return Fold(sum);
}

// The kinds a dispel removes.
constexpr int kDispelled[] = {28, 2, 5, 8, 10, 11, 15, 16, 17, 20, 22, 27, 33, 34, 35, 36, 38, 39, 58};

bool HasFrame(const CCreatureKind* kind, int frame) {
    return kind && frame >= 0 && frame < CCreatureKind::kMaxFrames && kind->frames[frame] != nullptr &&
           kind->frames[frame][0] != 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// What it is.

bool CCreatures::IsPerson(const CMonster& m) { return TypeOf(m) && TypeOf(m)->kind == kCreaturePeople; }

bool CCreatures::IsUndead(const CMonster& m) { return TypeOf(m) && TypeOf(m)->kind == kCreatureUndead; }

bool CCreatures::IsAggressive(const CMonster& m) {
    const CMonsterType* type = TypeOf(m);
    if (!type || type->kind == kCreaturePeople) return false;
    if (m.flags & kAggressive) return true;
    return (m.flags & kTypeAggression) && (type->flags & kTypeAggressive);
}

bool CCreatures::IsPeaceful(const CMonster& m) {
    if (IsAggressive(m)) return false;
    const CMonsterType* type = TypeOf(m);
    return m.objectId != 0 || (type && type->npcId && *type->npcId);
}

int CCreatures::MaxHp(const CMonster& m) { return TypeOf(m) ? TypeOf(m)->values[kMaxHp] : 0; }

int CCreatures::HpPercent(const CMonster& m) { return std::clamp(GetHealthPercent(m.hp, MaxHp(m)), 0, 100); }

bool CCreatures::IsObjectDead(const CMapSection& section, const CMonster& m) {
    const CPlacement* p = const_cast<CMapSection&>(section).FindPlacement(m.objectId);
    return m.objectId != 0 && p && (p->flags & CPlacement::kClosed);
}

bool CCreatures::IsObjectHidden(const CMapSection& section, const CMonster& m) {
    const CPlacement* p = const_cast<CMapSection&>(section).FindPlacement(m.objectId);
    return m.objectId != 0 && p && !(p->flags & CPlacement::kVisible);
}

bool CCreatures::HasEffect(const CMapSection& section, const CMonster& m, int kind) {
    return section.effects.SumMonsterEffect(m.id, kind) != 0;
}

// ---------------------------------------------------------------------------------------------
// Resistances.

int CCreatures::GetResistanceA(const CMapSection& s, const CMonster& m) const {
    int base = TypeOf(m) ? TypeOf(m)->values[kResistanceA] : 0;
    return std::max(1, base + s.effects.SumMonsterDiseaseEffect(m.id, 2, 3, host_.Rules().diseases));
}

int CCreatures::GetResistanceB(const CMapSection& s, const CMonster& m) const {
    int base = TypeOf(m) ? TypeOf(m)->values[kResistanceB] : 0;
    return std::max(1, base + s.effects.SumMonsterDiseaseEffect(m.id, 2, 4, host_.Rules().diseases));
}

int CCreatures::GetPoisonResistance(const CMapSection& s, const CMonster& m) const {
    return Clamp100(GetResistanceA(s, m) + s.effects.SumMonsterEffect(m.id, 15) + PassiveSum(TypeOf(m), 15));
}

int CCreatures::GetParalysisResistance(const CMapSection& s, const CMonster& m) const {
    return Clamp100(2 * GetResistanceB(s, m) + s.effects.SumMonsterEffect(m.id, 16) +
                    PassiveSum(TypeOf(m), 16));
}

int CCreatures::GetMagicResistance(const CMapSection& s, const CMonster& m) const {
    return Clamp100(GetResistanceB(s, m) + s.effects.SumMonsterEffect(m.id, 22) + PassiveSum(TypeOf(m), 22));
}

int CCreatures::GetDiseaseResistance(const CMapSection& s, const CMonster& m) const {
    return Clamp100(s.effects.SumMonsterEffect(m.id, 33) + s.effects.SumMonsterEffect(m.id, 17) +
                    PassiveSum(TypeOf(m), 33) + GetResistanceA(s, m) / 2);
}

int CCreatures::GetSpellSkill(const CMapSection& s, const CMonster& m) const {
    int v = 2 * GetResistanceB(s, m);
    int mod = Fold(s.effects.SumMonsterDiseaseEffect(m.id, 36, 0, host_.Rules().diseases));
    return std::clamp(v + v * mod / 100, 0, 100);
}

int CCreatures::RollMonsterDamage(const CMapSection& s, const CMonster& m) {
    const CMonsterType* type = TypeOf(m);
    if (!type) return 0;
    int low = type->values[kDamageMin], high = type->values[kDamageMax];
    for (int i = 0; i < type->effects.Count(); ++i) {
        const CEffect& e = *type->effects.At(i);
        if (e.kind != 38) continue;
        int q = e.amount < -100 ? e.amount + 100 : e.amount - 100;
        low += low * q / 100;
        high += high * q / 100;
    }
    if (HasEffect(s, m, 27)) high = low + (high - low) / 2;
    // A table whose maximum lies below its minimum gives the minimum.
    return low + Roll(std::max(0, high - low) + 1);
}

int CCreatures::HurtStrength(int damage) { return PoisonHurtStrength(damage); }

// ---------------------------------------------------------------------------------------------
// The sprite.

void CCreatures::BuildMonsterViewEntry(const CMonsterType& type, CCellObject& sprite) {
    const CCreatureKind* kind = type.creatureKind;
    sprite = CCellObject{};
    if (kind) sprite.picture = kind->frameIndices[kind->kind == kCreaturePeople ? 6 : 0];
    sprite.palette = type.normalPicture;
    sprite.x = static_cast<i16>(static_cast<u16>(32768));
    sprite.y = static_cast<i16>(static_cast<u16>(32768));
    sprite.heightFraction = kind ? static_cast<u16>(kind->scale * 65536u / 31u) : 0;
}

void CCreatures::ChooseMonsterFrame(const CMapSection& s, const CMonster& m, CCellObject& sprite) const {
    const CMonsterType* type = TypeOf(m);
    if (!type) return;
    sprite.palette = HasEffect(s, m, 28) ? type->paralysedPicture : type->normalPicture;
    ChooseMonsterPicture(m, host_.GetFacing(), sprite);
}

void CCreatures::ChooseMonsterPicture(const CMonster& m, u32 angle, CCellObject& sprite) {
    const CMonsterType* type = TypeOf(m);
    const CCreatureKind* kind = type ? type->creatureKind : nullptr;
    if (!kind) return;
    int step = (sprite.flags >> 8) & 7;
    bool mirrored = false;
    int frame = 0;
    const int anim = m.flags & kAnimMask;
    if (kind->kind != kCreaturePeople) {
        const bool frame2 = HasFrame(kind, 2);
        if (anim == kMoving) {
            step = (step + 1) % 4;
            frame = step < 2 ? 0 : 2;
            if (frame == 2 && !frame2) frame = 0, mirrored = true;
        } else if (!(m.flags & kHurt)) {
            if (anim == kAttacking && m.hurtTicks < 5)
                frame = 3;
            else if (anim == kStriking)
                frame = 4;
            else if (step == 3)
                frame = 1;
            else if (step == 2 && !frame2)
                frame = 0, mirrored = true;
            else
                frame = step;
            sprite.glowPercent = 0;
        } else {
            frame = 5;
        }
    } else {
        const int seen = static_cast<int>(((angle % 360) + 45) % 360 / 90);
        int side = ((Facing(m) - seen) % 4 + 4) % 4;
        if (side == 3) side = 1, mirrored = true;
        if (anim == kMoving) {
            if (m.hurtTicks % 4 == 0) step = (step + 1) % 4;
            if (m.hurtTicks == 1) step = 1;
        }
        frame = (step == 3 ? 1 : step) + 3 * side;
    }
    sprite.flags = static_cast<u16>((sprite.flags & ~0x0701u) | (static_cast<u16>(step) << 8) |
                                    (mirrored ? kSpriteMirrored : 0));
    sprite.picture = kind->frameIndices[std::clamp(frame, 0, CCreatureKind::kMaxFrames - 1)];
}

void CCreatures::RefreshFrame(const CMapSection& section, const CMonster& m) {
    if (CCellObject* sprite = host_.SpriteOf(m)) ChooseMonsterFrame(section, m, *sprite);
}

// ---------------------------------------------------------------------------------------------
// Sounds.

bool CCreatures::WindowCell(const CMapSection& section, const CMonster& m, i32& x, i32& y) const {
    return host_.Window().SectionToWindowCell(&section, m.x, m.y, x, y);
}

int CCreatures::VolumeByDistance(i32 x, i32 y) const {
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    return std::clamp(10 - std::abs(x - px) - std::abs(y - py), 1, 10);
}

void CCreatures::PlayMonsterIdleSound(const CMonsterType& type) {
    const CCreatureKind* kind = type.creatureKind;
    if (!kind) return;
    if (type.kind == kCreaturePeople) {
        const char* present[4];
        int n = 0;
        for (const char* sound : kind->sounds)
            if (sound && *sound) present[n++] = sound;
        if (n > 0) host_.PlaySound(present[Roll(n)], 10);
    } else if (kind->sounds[3] && *kind->sounds[3]) {
        host_.PlaySound(kind->sounds[3], 10);
    }
}

int CCreatures::Roll(int n) { return static_cast<int>(host_.Random().Next(n)); }

void CCreatures::Message(const char* text) { host_.PostMessageEvent(text, 1); }

// ---------------------------------------------------------------------------------------------
// Events.

int CCreatures::HandleMonsterEvent(int code, CMapSection& section, u8 id, CCreatureEvent& event) {
    CMonster* m = section.FindMonster(id);
    if (!m || !m->Type()) return 0;
    switch (code) {
    case creature::kEventHit: Hit(section, *m, event); break;
    case creature::kEventSpell: Spell(section, *m, event); break;
    case creature::kEventUse: Use(section, *m); break;
    case creature::kEventDeath: Death(section, id, event); break;
    default: break;
    }
    return 0;
}

void CCreatures::RaiseEvent(int code, CMapSection& section, u8 id, CCreatureEvent& event) {
    CMonster* m = section.FindMonster(id);
    if (!m) return;
    if (m->objectId != 0 && host_.RunCreatureEventScript(code, section, *m, event)) return;
    HandleMonsterEvent(code, section, id, event);
}

// People are never hurt (a crime when the player tries); a peaceful creature refuses. True when the
// blow or harmful spell goes no further.
bool CCreatures::RefusePeopleOrPeaceful(const CMonster& m, bool byPlayer, bool& refused) {
    refused = false;
    if (IsPerson(m)) {
        if (byPlayer) {
            Message("You've tried to attack peaceful people!");
            host_.Player().AddCrime(5);
            host_.Player().AddFame(-5);
        }
        refused = true;
    } else if (IsPeaceful(m)) {
        if (byPlayer)
            Message(
                "You shouldn't attack this monster - it looks peaceful, maybe it has something to say or "
                "do for you.");
        refused = true;
    }
    return refused;
}

void CCreatures::MakeAggressive(CMonster& m, CCreatureEvent& event) {
    if (IsAggressive(m)) return;
    m.flags = static_cast<u8>((m.flags & ~kTypeAggression) | kAggressive);
    event.handled = true;
    host_.RaiseFightFlag();
    host_.RefreshAfterChange();
}

void CCreatures::GiveDrain(int kind, int gain) {
    if (gain < 1) return;
    if (kind == 29)
        host_.Player().AddHp(gain, false);
    else
        host_.Player().AddMana(gain, false);
}

void CCreatures::ShowHurt(CMonster& m, int damage) {
    m.flags = static_cast<u8>((m.flags & 0x1F) | kHurt);
    m.hurtTicks = 10;
    if (CCellObject* sprite = host_.SpriteOf(m)) {
        sprite->flags = static_cast<u16>(sprite->flags & ~kSpriteFlash);
        sprite->glowPercent = static_cast<u16>(HurtStrength(damage));
    }
}

void CCreatures::Hit(CMapSection& section, CMonster& m, CCreatureEvent& event) {
    const int damage = event.amount;
    if (damage == 0 || IsObjectDead(section, m)) return;
    bool refused = false;
    if (RefusePeopleOrPeaceful(m, true, refused)) return;
    MakeAggressive(m, event);
    m.hp = static_cast<u16>(std::max(0, m.hp - damage));
    if (event.weapon && event.second) {
        ApplyItemHitEffects(section, m, event.weapon, damage / 2);
        ApplyItemHitEffects(section, m, event.second, damage / 2);
    } else {
        ApplyItemHitEffects(section, m, event.weapon ? event.weapon : event.second, damage);
    }
    ShowHurt(m, damage);
    const CCreatureKind* kind = m.Type()->creatureKind;
    const char* sound = kind ? kind->sounds[m.hp == 0 ? 2 : 1] : nullptr;
    i32 x = 0, y = 0;
    if (sound && *sound && WindowCell(section, m, x, y)) host_.PlaySound(sound, VolumeByDistance(x, y));
}

void CCreatures::ApplyItemHitEffects(CMapSection& section, CMonster& m, const CItemInstance* item, int d) {
    const CEffectList* list = item ? item->GetEffects() : nullptr;
    if (!list) return;
    for (int i = 0; i < list->Count(); ++i) {
        const CEffect& e = *list->At(i);
        if (e.mode != kModeStrike || e.kind < 26 || e.kind > 32) continue;
        switch (e.kind) {
        case 26:
        case 28: {
            const bool poison = e.kind == 26;
            int r = poison ? GetPoisonResistance(section, m) : GetParalysisResistance(section, m);
            int base = d / 5 + 1;
            int amount = base - base * r / 100;
            if (Roll(100) > r && amount >= 1) {
                section.effects.AddMonsterEffect(m.id, amount, poison ? 0 : amount, e.kind, 0, nullptr);
                if (!poison) RefreshFrame(section, m);
            }
            break;
        }
        case 27: section.effects.AddMonsterEffect(m.id, 1, d / 5 + 1, 27, 0, nullptr); break;
        case 29:
        case 30: {
            int r = GetMagicResistance(section, m);
            int gain = d - d * r / 100;
            if (Roll(100) > r) GiveDrain(e.kind, gain);
            break;
        }
        case 32:
            if (Roll(100) > GetDiseaseResistance(section, m)) section.effects.InfectMonster(m.id, e.id);
            break;
        default: break;
        }
    }
}

void CCreatures::Spell(CMapSection& section, CMonster& m, CCreatureEvent& event) {
    if (IsObjectDead(section, m) || !event.spell) return;
    const CSpell& spell = *event.spell;
    const bool harmful = IsHarmful(spell);
    if (IsPerson(m)) {
        bool refused = false;
        if (harmful) RefusePeopleOrPeaceful(m, event.byPlayer, refused);
        return;
    }
    if (harmful) {
        bool refused = false;
        if (RefusePeopleOrPeaceful(m, event.byPlayer, refused)) return;
        MakeAggressive(m, event);
    }
    m.hp = static_cast<u16>(std::clamp(m.hp - event.amount, 0, 65535));
    const int r = GetMagicResistance(section, m);
    const bool immune = HasEffect(section, m, 39);
    bool instantDeath = false;
    for (int i = 0; i < spell.effects.Count(); ++i) {
        const CEffect& e = *spell.effects.At(i);
        if (immune && e.kind != 19) continue;
        ApplySpellEffect(section, m, e, event.strength, r, instantDeath);
        // The spell may have examined, calmed or killed it; the record itself stays until death.
    }
    if (instantDeath) {
        int percent = HpPercent(m);
        if (percent < 26 && Roll(100) > 3 * percent) m.hp = 0;
    }
    if (event.amount != 0) {
        m.flags = static_cast<u8>(m.flags | kHurt);
        const int anim = m.flags & kAnimMask;
        if (anim != kAttacking && anim != kStriking) {
            m.flags = static_cast<u8>(m.flags & ~kAnimMask);
            m.hurtTicks = 10;
        }
    }
}

void CCreatures::ApplySpellEffect(CMapSection& section, CMonster& m, const CEffect& e, int s, int r,
                                  bool& instantDeath) {
    CSectionEffects& fx = section.effects;
    const int a = e.amount + e.amountPerLevel * s / 100;
    const int a1 = a - a * r / 100;
    int p = Fold(a);
    p -= p * r / 100;
    const int a2 = p < 0 ? p - 100 : p + 100;
    const int t = e.duration + e.durationPerLevel * s / 100 + 1;
    const int t1 = t - t * r / 100;
    const bool undead = IsUndead(m);
    const int maxHp = MaxHp(m);
    auto setHp = [&](int hp) { m.hp = static_cast<u16>(std::clamp(hp, 0, maxHp)); };
    switch (e.kind) {
    case 2: fx.AddMonsterEffect(m.id, a1, t1, 2, e.target, nullptr); break;
    case 3: setHp(m.hp + (undead ? -a1 : a1)); break;
    case 4: setHp(undead ? 1 : maxHp); break;
    case 6: setHp(m.hp + (undead ? a1 : -a1)); break;
    case 7: setHp(undead ? maxHp : 1); break;
    case 11: fx.AddMonsterEffect(m.id, a1, t1, 11, e.target, nullptr); break;
    case 12: fx.RemoveMonsterEffectsOfKind(m.id, 26); break;
    case 13:
        fx.RemoveMonsterEffectsOfKind(m.id, 28);
        RefreshFrame(section, m);
        break;
    case 14: fx.CureMonsterDisease(m.id, e.id); break;
    case 15:
    case 16:
    case 17:
    case 22:
    case 33:
    case 36:
    case 38: fx.AddMonsterEffect(m.id, a2, t1, e.kind, e.target, e.kind == 17 ? e.id : nullptr); break;
    case 19:
        for (int kind : kDispelled) fx.RemoveMonsterEffectsOfKind(m.id, kind);
        RefreshFrame(section, m);
        break;
    case 21: fx.RemoveMonsterEffectsOfKind(m.id, 27); break;
    case 26: {
        int rp = GetPoisonResistance(section, m);
        int amount = a - a * rp / 100;
        if (amount >= 1) fx.AddMonsterEffect(m.id, amount, 0, 26, 0, nullptr);
        break;
    }
    case 27: fx.AddMonsterEffect(m.id, 1, t1, 27, 0, nullptr); break;
    case 28: {
        int rq = GetParalysisResistance(section, m);
        int turns = t - t * rq / 100;
        if (turns >= 1) fx.AddMonsterEffect(m.id, turns, turns, 28, 0, nullptr);
        RefreshFrame(section, m);
        break;
    }
    case 29:
    case 30: {
        GiveDrain(e.kind, 2 * s - 2 * s * r / 100);
        break;
    }
    case 32:
        if (Roll(100) > GetDiseaseResistance(section, m)) fx.InfectMonster(m.id, e.id);
        break;
    case 39:
        for (int kind : kDispelled) fx.RemoveMonsterEffectsOfKind(m.id, kind);
        fx.AddMonsterEffect(m.id, 1, t1, 39, 0, nullptr);
        RefreshFrame(section, m);
        break;
    case 40: instantDeath = true; break;
    case 41:
        if (Roll(100) > r && IsAggressive(m) && !IsPerson(m) && m.objectId == 0 &&
            !(m.Type()->npcId && *m.Type()->npcId))
            m.flags = static_cast<u8>(m.flags & ~(kTypeAggression | kAggressive));
        break;
    case 43: host_.PostExamineCreature(section, m, std::max(a, 0)); break;
    default: break;
    }
}

void CCreatures::Use(CMapSection& section, CMonster& m) {
    if (IsPerson(m)) {
        if (Facing(m) == dir::QuarterOfFacing(host_.GetFacing())) {
            if (postStealPrompt)
                postStealPrompt(section, m);
            else
                host_.PostStealPrompt(section, m);
            return;
        }
        if (alertStealVictim) alertStealVictim(section, m);
    }
    host_.TalkToCreature(section, m);
}

void CCreatures::Death(CMapSection& section, u8 id, CCreatureEvent& event) {
    CMonster* m = section.FindMonster(id);
    if (!m) return;
    event.handled = true;
    host_.RaiseFightFlag();
    if (CPlacement* p = section.FindPlacement(m->objectId); p && m->objectId != 0)
        p->flags = static_cast<u8>(p->flags | CPlacement::kClosed);
    const CMonsterType* type = m->Type();
    CCellWindow& window = host_.Window();
    i32 wx = -1, wy = -1;
    const bool inWindow = WindowCell(section, *m, wx, wy);
    CItemBag* carried = section.bags.FindBagById(m->bagId);
    if (carried || type->items.GetCount() > 0) {
        CMapCell* cell = inWindow ? window.Cell(wx, wy) : nullptr;
        CItemBag* bag = cell && cell->bag ? section.bags.FindBagById(static_cast<u8>(cell->bag)) : nullptr;
        if (!bag) {
            // A section out of bag ids drops the creature's own bag instead, so nothing is lost.
            bag = section.bags.CreateBag(0);
            if (!bag) bag = carried;
            if (bag) {
                bag->x = m->x;
                bag->y = m->y;
                window.PutBagInCell(&section, m->x, m->y, *bag);
            }
        }
        if (bag && carried && carried != bag) {
            while (carried->GetItemCount() > 0)
                bag->AddItem(static_cast<CItemInstance*>(carried->items.RemoveAt(0)));
        }
        const CRuleContext& rules = host_.Rules();
        if (bag && rules.items) CreateItemsFromList(type->items, *rules.items, host_.Random(), *bag);
        // The creature's own bag goes with it below; the one it dropped stays.
        if (bag == carried) m->bagId = 0;
    }
    if (event.byPlayer) host_.Player().AddXp(type->values[kExperience], true);
    window.RemoveCreatureFromCell(&section, *m);
    section.DeleteMonster(id);
    host_.RefreshAfterChange();
}

// ---------------------------------------------------------------------------------------------
// The attack turn.

void CCreatures::StrikePlayer(const CMapSection& section, const CMonster& m, int fromQuarter) {
    CPlayer& player = host_.Player();
    CPlayerHit hit;
    hit.damage = RollMonsterDamage(section, m);
    hit.effects = &m.Type()->effects;
    if (fromQuarter >= 0) {
        hit.direction = fromQuarter;
        hit.keepDirection = true;
    } else {
        i32 px = 0, py = 0, x = 0, y = 0;
        host_.GetPlayerCell(px, py);
        if (WindowCell(section, m, x, y))
            hit.positionDirection = dir::TableToQuarter(dir::TableTowards(px, py, x, y));
    }
    lastBlowQuarter = hit.keepDirection ? hit.direction : hit.positionDirection;
    // A creature's blow is a fight: the music turns to it.
    host_.SetFightCountdown(4);
    host_.UpdateMusic();
    player.ApplyHit(hit);
    if (player.hp == 0) host_.OnPlayerDied();
}

void CCreatures::CreatureAttack(CMapSection& section, u8 id, bool areaCast) {
    CMonster* m = section.FindMonster(id);
    if (!m || !m->Type()) return;
    i32 px = 0, py = 0, x = 0, y = 0;
    host_.GetPlayerCell(px, py);
    if (!WindowCell(section, *m, x, y)) return;
    int style = m->Type()->attackStyle;
    const bool adjacentOnLine = (x == px && std::abs(y - py) == 1) || (y == py && std::abs(x - px) == 1);
    if (style == 4) style = adjacentOnLine ? 1 : 3;
    const i32 towards = dir::TableTowards(x, y, px, py);
    switch (style) {
    case 1: StrikePlayer(section, *m, -1); break;
    case 2:
        if (attacks_) attacks_->LaunchCreatureMissile(section, *m, towards);
        break;
    case 3:
        if (const CSpell* spell = ChooseMonsterSpell(section, *m, areaCast))
            if (attacks_)
                attacks_->ReleaseCreatureSpell(section, *m, *spell, towards, GetSpellSkill(section, *m));
        break;
    default: break;
    }
}

bool CCreatures::MonsterHasAreaSpell(const CMonsterType& type) const {
    const CSpellList* spells = host_.Rules().spells;
    if (!spells) return false;
    for (int i = 0; i < type.effects.Count(); ++i) {
        const CEffect& e = *type.effects.At(i);
        if (e.mode != kModeCast) continue;
        const CSpell* spell = spells->FindById(e.id);
        if (spell && HasRadius(*spell)) return true;
    }
    return false;
}

const CSpell* CCreatures::ChooseMonsterSpell(const CMapSection& section, const CMonster& m, bool areaCast) {
    const CMonsterType* type = m.Type();
    const CSpellList* spells = host_.Rules().spells;
    if (!type || !spells) return nullptr;
    i32 px = 0, py = 0, x = 0, y = 0;
    host_.GetPlayerCell(px, py);
    if (!WindowCell(section, m, x, y)) return nullptr;
    const bool onLine = x == px || y == py;
    const bool adjacent = onLine && std::abs(x - px) + std::abs(y - py) == 1;
    const int maxHp = type->values[kMaxHp];
    const bool undead = type->kind == kCreatureUndead;
    auto byHp = [&](bool four) {
        if (m.hp < maxHp / 4) return four ? Roll(33) + 16 : Roll(26) + 13;
        if (m.hp < maxHp / 3) return four ? Roll(26) + 13 : Roll(20) + 10;
        if (four && m.hp < maxHp / 2) return Roll(20) + 10;
        return Roll(6) + 3;
    };
    auto scaled = [&](int v) { return Roll(2 * v / 3) + v / 3; };
    const CSpell* best = nullptr;
    int bestScore = 0;
    for (int i = 0; i < type->effects.Count(); ++i) {
        const CEffect& entry = *type->effects.At(i);
        if (entry.mode != kModeCast) continue;
        const CSpell* spell = spells->FindById(entry.id);
        if (!spell) continue;
        const int mode = spell->value2;
        if (mode == 2 && !adjacent) continue;
        if (mode == 3 && !onLine && !areaCast) continue;
        if (areaCast && !HasRadius(*spell)) continue;
        int score = 0;
        for (int k = 0; k < spell->effects.Count(); ++k) {
            const CEffect& e = *spell->effects.At(k);
            int v = 0;
            switch (e.kind) {
            case 1:
            case 2: v = mode == 1 && HasEffect(section, m, e.kind) ? 0 : Roll(46) + 23; break;
            case 3:
                if (!undead) v = byHp(true);
                break;
            case 6:
                if (undead) v = byHp(true);
                break;
            case 4:
                if (!undead) v = byHp(false);
                break;
            case 7:
                if (undead) v = byHp(false);
                break;
            case 11: v = scaled(HasEffect(section, m, 11) ? 80 : 40); break;
            case 12: v = scaled(HasEffect(section, m, 26) ? 90 : 0); break;
            case 13: v = scaled(HasEffect(section, m, 28) ? 90 : 0); break;
            case 21: v = scaled(HasEffect(section, m, 27) ? 90 : 0); break;
            case 14: v = scaled(section.effects.MonsterHasDisease(m.id, e.id) ? 90 : 0); break;
            case 15:
            case 16:
            case 22:
            case 33: v = HasEffect(section, m, e.kind) ? 0 : Roll(46) + 23; break;
            case 19: v = scaled(HasEffect(section, m, 28) || HasEffect(section, m, 27) ? 90 : 0); break;
            case 24: {
                const int race = host_.Player().GetRace();
                if ((e.target == 3 && race == 1) || (e.target == 1 && race != 1)) v = Roll(53) + 26;
                break;
            }
            case 25:
            case 26:
            case 27:
            case 29:
            case 30:
            case 32:
            case 40:
            case 53: v = Roll(53) + 26; break;
            case 28: v = Roll(40) + 20; break;
            default: break;
            }
            score = std::max(score, v);
        }
        if (score > bestScore) {
            bestScore = score;
            best = spell;
        }
    }
    return best;
}

// ---------------------------------------------------------------------------------------------
// Script commands.

i32 CCreatures::ExecuteMonsterCommand(CMapSection& section, u8 id, i32 command, const ScriptArgs& args,
                                      ScriptResult& result, bool& changed) {
    CMonster* m = section.FindMonster(id);
    auto give = [&](i32 v) { result = std::make_unique<CScriptValue>(v); };
    if (command == 214 && !m) {
        give(1);
        return 0;
    }
    if (!m || !m->Type()) return 0;
    const CMonsterType& type = *m->Type();
    CPlacement* object = m->objectId ? section.FindPlacement(m->objectId) : nullptr;
    const i32 n = args[0].GetNumber();
    const char* text = args[0].GetText();
    auto setHp = [&](i32 hp) {
        m->hp = static_cast<u16>(std::clamp(hp, 0, static_cast<i32>(type.values[kMaxHp])));
    };
    switch (command) {
    case 109: give(object && (object->flags & CPlacement::kVisible) ? 1 : 0); break;
    case 110: {
        if (object) object->flags = static_cast<u8>(object->flags | CPlacement::kVisible);
        // Placed only in a loaded section, and only when it does not already stand in its cell.
        CCellWindow& window = host_.Window();
        i32 wx = 0, wy = 0;
        const CMapCell* cell = window.SectionToWindowCell(&section, m->x, m->y, wx, wy) ? window.Cell(wx, wy) : nullptr;
        const bool standing = cell && (cell->creature[0] == m->id || cell->creature[1] == m->id);
        if (window.IsSectionLoaded(&section) && !standing) window.PlaceObjectNear(&section, *m, m->x, m->y);
        host_.RefreshAfterChange();
        changed = true;
        return 1;
    }
    case 111:
        if (object) object->flags = static_cast<u8>(object->flags & ~CPlacement::kVisible);
        host_.Window().RemoveCreatureFromCell(&section, *m);
        host_.RefreshAfterChange();
        changed = true;
        return 1;
    case 115: give(object ? static_cast<i8>(object->state) : 0); break;
    case 116:
        if (object) object->state = static_cast<u8>(n);
        break;
    case 126: give(IsObjectDead(section, *m) ? 1 : 0); break;
    case 141: {
        const CItemBag* bag = section.bags.FindBagById(m->bagId);
        i32 count = 0;
        for (int i = 0; bag && i < bag->GetItemCount(); ++i) {
            const CItemInstance* item = bag->GetItem(i);
            if (item && item->type && text && std::strcmp(item->type->GetName(), text) == 0) ++count;
        }
        give(count);
        break;
    }
    case 156: {
        i32 knows = 0;
        for (int i = 0; i < type.effects.Count(); ++i) {
            const CEffect& e = *type.effects.At(i);
            if (e.mode == kModeCast && e.id && text && std::strcmp(e.id, text) == 0) knows = 1;
        }
        give(knows);
        break;
    }
    case 166: give(m->x); break;
    case 167: give(m->y); break;
    case 173:
        if (text && *text) section.effects.InfectMonster(m->id, text);
        break;
    case 174:
        if (text && *text) section.effects.CureMonsterDisease(m->id, text);
        break;
    case 175: give(text && *text && section.effects.MonsterHasDisease(m->id, text) ? 1 : 0); break;
    case 177: give(m->hp); break;
    case 178: setHp(n); break;
    case 179: setHp(m->hp + n); break;
    case 180: setHp(type.values[kMaxHp]); break;
    case 181: give(type.values[kMaxHp]); break;
    case 194: give(type.kind == kCreatureUndead ? 1 : 0); break;
    case 210: give(type.level); break;
    case 213: give(type.values[kArmourClass]); break;
    case 214: give(IsAggressive(*m) ? 1 : 0); break;
    case 215:
        m->flags = static_cast<u8>((m->flags & ~kTypeAggression) | kAggressive);
        host_.RefreshAfterChange();
        break;
    case 216:
        m->flags = static_cast<u8>(m->flags & ~(kTypeAggression | kAggressive));
        host_.RefreshAfterChange();
        break;
    case 239: give(HasEffect(section, *m, 28) ? 1 : 0); break;
    case 240: give(HasEffect(section, *m, 26) ? 1 : 0); break;
    case 241: give(HasEffect(section, *m, 27) ? 1 : 0); break;
    default:
        if (command >= 100 && command <= 254) give(0);
        break;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The script engine's view of one creature.

const char* CScriptCreature::GetName() const {
    const CMonster* m = Find();
    return m && m->Type() ? m->Type()->GetName() : "";
}

i32 CScriptCreature::ExecuteMonsterCommand(const ScriptPlace&, i32 command, const ScriptArgs& args,
                                           ScriptResult& result, bool& changed) {
    return creatures_.ExecuteMonsterCommand(section_, id_, command, args, result, changed);
}

void CScriptCreature::HandleMonsterEvent(i32 eventKind, const ScriptPlace&, CMapCell*, bool& changed) {
    CCreatureEvent local;
    CCreatureEvent& event = event_ ? *event_ : local;
    if (context_) event.amount = context_->GetDamage();
    creatures_.HandleMonsterEvent(eventKind, section_, id_, event);
    changed = true;
}

bool CScriptCreature::IsAggressive() const {
    const CMonster* m = Find();
    return m && CCreatures::IsAggressive(*m);
}

bool CScriptCreature::IsParalyzed() const {
    const CMonster* m = Find();
    return m && CCreatures::HasEffect(section_, *m, 28);
}

bool CScriptCreature::IsCursed() const {
    const CMonster* m = Find();
    return m && CCreatures::HasEffect(section_, *m, 27);
}

bool CScriptCreature::HasAnyDisease() const {
    const CEffectHolder* holder = section_.effects.FindHolder(id_);
    for (int i = 0; holder && i < holder->Count(); ++i)
        if (holder->At(i)->effectClass == kActiveDisease) return true;
    return false;
}

i32 CScriptCreature::GetPoisonStrength() const { return section_.effects.SumMonsterEffect(id_, 26); }

const char* CScriptCreature::GetKindId() const {
    const CMonster* m = Find();
    return m && m->Type() && m->Type()->creatureKind ? m->Type()->creatureKind->GetName() : "";
}

const char* CScriptCreature::GetTypeId() const { return GetName(); }
