#include "world/CombatActions.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/Random.h"
#include "core/Str.h"
#include "data/CreatureCatalogue.h"
#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "world/CellWindow.h"
#include "world/CreatureHost.h"
#include "world/Directions.h"
#include "world/Player.h"

namespace {

// The steps of a weapon blow: the hands go up and come back.
constexpr int kBlowFrames = 8;
// The effect pictures of a spell on oneself or at a cell.
constexpr int kSpellPictureSteps = 4;
// A missile or projectile is gone when it enters the eighth cell beyond its start.
constexpr int kFlightCells = 8;

constexpr u8 kSubclassThrown = 8, kSubclassBowA = 9, kSubclassBowB = 10, kSubclassArrows = 11,
             kSubclassCrossbow = 12, kSubclassBolts = 13;

constexpr int kEquipWeapon = 5, kEquipSecond = 6, kEquipQuiver = 12;

// Target modes of a spell.
constexpr int kTargetSelf = 1, kTargetTouch = 2;

const char* SpellSound(const CSpell& spell) { return spell.texts[2]; }

bool HasRadius(const CSpell& spell) {
    for (int i = 0; i < spell.effects.Count(); ++i)
        if (spell.effects.At(i)->radius != 0) return true;
    return false;
}

}  // namespace

CCombatActions::CCombatActions(ICreatureHost& host, CCreatures& creatures)
    : host_(host), creatures_(creatures) {
    creatures_.SetAttacks(this);
}

int CCombatActions::Roll(int n) { return static_cast<int>(host_.Random().Next(n)); }

CCombatAction& CCombatActions::Add(u8 kind) {
    auto action = std::make_unique<CCombatAction>();
    action->kind = kind;
    actions_.push_back(std::move(action));
    return *actions_.back();
}

bool CCombatActions::HasKind(u8 kind) const {
    for (const auto& a : actions_)
        if (a->kind == kind) return true;
    return false;
}

bool CCombatActions::IsFlightInCell(i32 x, i32 y) const {
    for (const auto& a : actions_)
        if ((a->kind == kActionMissile || a->kind == kActionSpellAtCell || a->kind == kActionProjectile) &&
            a->cellX == x && a->cellY == y)
            return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Starting actions.

void CCombatActions::StartAttack() {
    CPlayer& player = host_.Player();
    const i32 direction = dir::TableOfFacing(host_.GetFacing());
    if (player.IsParalyzed()) {
        Add(kActionParalysedBump).direction = direction;
        return;
    }
    CItemInstance* weapon = player.equipment[kEquipWeapon];
    if (weapon && (!weapon->type || !weapon->type->IsWeapon())) weapon = nullptr;
    const u8 subclass = weapon ? weapon->type->subclass : 0;
    const bool bow = subclass == kSubclassBowA || subclass == kSubclassBowB;
    const bool crossbow = subclass == kSubclassCrossbow;
    const bool thrown = subclass == kSubclassThrown;
    CItemInstance* quiver = player.equipment[kEquipQuiver];
    if (quiver && !quiver->type) quiver = nullptr;
    if (bow || crossbow) {
        const char* message = nullptr;
        if (!quiver)
            message = bow ? "You need to select a quiver." : "You need to select a bolt quiver.";
        else if (bow && quiver->type->subclass != kSubclassArrows)
            message = "You need to select arrows for the bow.";
        else if (crossbow && quiver->type->subclass != kSubclassBolts)
            message = "You need to select a bolt quiver for the crossbow.";
        if (message) {
            host_.PostMessageEvent(message, 1);
            return;
        }
    }
    // A quiver or thrown weapon that is used up goes, and nothing flies.
    CItemInstance* ammunition = bow || crossbow ? quiver : thrown ? weapon : nullptr;
    if (ammunition && ammunition->count == 0) {
        player.RemoveItem(ammunition);
        return;
    }
    CCombatAction& a = Add(kActionBlow);
    a.direction = direction;
    a.bow = bow;
    a.crossbow = crossbow;
    a.thrown = thrown;
    a.weapon = weapon;
    a.quiver = bow || crossbow ? quiver : nullptr;
    const CItemCatalogue* items = host_.Rules().items;
    const char* animation = "bres_fpsfist";
    if (thrown) {
        animation = "bres_fpsthrow";
    } else if (weapon && items && weapon->type->useStyle) {
        if (const CItemUseStyle* style = items->FindUseStyle(weapon->type->useStyle);
            style && style->texts[2])
            animation = style->texts[2];
    }
    a.animation = items ? items->FindFpsAnimation(animation) : nullptr;
    // The plain swing frame 255 always swings frame by frame; a record without the alternate byte
    // never does; otherwise half the blows do.
    if (a.animation) {
        if (a.animation->bytes[0] == 255)
            a.alternate = true;
        else if (a.animation->bytes[1] != 0)
            a.alternate = Roll(100) < 50;
    }
}

const CSpell* CCombatActions::SpellOfItem(const CItemInstance& item, const CRuleContext& rules) {
    if (!item.type || !rules.spells) return nullptr;
    const CEffectList* list = nullptr;
    const u8 subclass = item.type->subclass;
    if (subclass == 1 || subclass == 4)
        list = item.type->effects;
    else if (subclass == 3 || subclass == 5)
        list = item.effects;
    return list && list->Count() > 0 ? rules.spells->FindById(list->At(0)->id) : nullptr;
}

void CCombatActions::StartCasting(const CSpell* spell, CItemInstance* item) {
    if (host_.Player().IsParalyzed()) {
        Add(kActionParalysedBump).direction = dir::TableOfFacing(host_.GetFacing());
        return;
    }
    if (item) spell = SpellOfItem(*item, host_.Rules());
    if (!spell) return;
    CCombatAction& a = Add(kActionCast);
    a.spell = spell;
    a.castItem = item;
}

void CCombatActions::LaunchPlayerMissile(i32 direction) {
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    CCombatAction& a = Add(kActionMissile);
    a.cellX = px;
    a.cellY = py;
    a.direction = direction;
    a.byPlayer = true;
    // Arrows leave beside the centre, thrown weapons from the hand's side, bolts from the centre.
    int side = 0;
    for (const auto& blow : actions_)
        if (blow->kind == kActionBlow) {
            side = blow->thrown ? 32767 : blow->bow ? 20384 : 0;
            const CItemInstance* shot = blow->thrown ? blow->weapon : blow->quiver;
            const CItemCatalogue* items = host_.Rules().items;
            if (shot && shot->type && shot->type->useStyle && items)
                if (const CItemUseStyle* style = items->FindUseStyle(shot->type->useStyle);
                    style && style->texts[2])
                    a.flightAnimation = items->FindFpsAnimation(style->texts[2]);
        }
    const i32 lateral = (direction + 1) % 4;
    a.posX = 0x8000 + dir::kStepX[lateral] * side;
    a.posY = 0x8000 + dir::kStepY[lateral] * side;
}

u16 CCombatActions::FlightPicture(const CCombatAction& a) {
    const CFpsAnimation* animation = a.flightAnimation;
    if (!animation || animation->frameIndices.empty()) return 0;
    return animation->frameIndices[static_cast<size_t>(a.step) % animation->frameIndices.size()];
}

void CCombatActions::LaunchCreatureMissile(CMapSection& section, const CMonster& shooter, i32 direction) {
    i32 x = 0, y = 0;
    if (!creatures_.WindowCell(section, shooter, x, y)) return;
    const CMonsterType* type = shooter.Type();
    const CCreatureKind* kind = type ? type->creatureKind : nullptr;
    const CItemCatalogue* items = host_.Rules().items;
    const CFpsAnimation* animation = nullptr;
    if (kind && kind->text && *kind->text && items) {
        // The missile leaves from the side of the cell the shooter stands on: the second creature of
        // a cell shoots from the left.
        const CMapCell* cell = host_.Window().Cell(x, y);
        const bool left = cell && cell->creature[1] == shooter.id;
        std::string id = std::string(kind->text) + (left ? "left" : "right");
        animation = items->FindFpsAnimation(id.c_str());
    }
    CCombatAction& a = Add(kActionMissile);
    a.flightAnimation = animation;
    a.effectPicture = type ? type->text : nullptr;
    a.cellX = x;
    a.cellY = y;
    a.direction = direction;
    a.byPlayer = false;
    a.attackerSection = &section;
    a.attackerId = shooter.id;
}

void CCombatActions::ReleasePlayerSpell(const CSpell& spell, int strength) {
    host_.PlaySound("bsnd_spellcast0", 10);
    spellCastByPlayer = true;
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    ReleaseSpell(spell, strength, px, py, dir::TableOfFacing(host_.GetFacing()), true, nullptr, 0);
}

void CCombatActions::ReleaseCreatureSpell(CMapSection& section, const CMonster& caster, const CSpell& spell,
                                          i32 direction, int skill) {
    spellCastByPlayer = false;
    i32 x = 0, y = 0;
    if (!creatures_.WindowCell(section, caster, x, y)) return;
    ReleaseSpell(spell, skill, x, y, direction, false, &section, caster.id);
}

void CCombatActions::ReleaseSpell(const CSpell& spell, int strength, i32 x, i32 y, i32 direction,
                                  bool byPlayer, CMapSection* section, u8 casterId) {
    const int mode = spell.value2;
    CCombatAction* a = nullptr;
    if (mode == kTargetSelf && byPlayer) {
        a = &Add(kActionSpellSelf);
    } else if (mode == kTargetSelf) {
        // A creature's own spell (a heal, a shield) lands in its own cell.
        a = &Add(kActionSpellAtCell);
    } else if (mode == kTargetTouch) {
        a = &Add(kActionSpellAtCell);
        x += dir::kStepX[direction];
        y += dir::kStepY[direction];
    } else {
        a = &Add(kActionProjectile);
    }
    a->spell = &spell;
    a->skill = strength;
    a->byPlayer = byPlayer;
    a->cellX = x;
    a->cellY = y;
    a->direction = direction;
    a->attackerSection = section;
    a->attackerId = casterId;
}

void CCombatActions::ShowPlayerHit(int fromQuarter, bool overTime) {
    CCombatAction& a = Add(kActionPlayerHit);
    a.hitQuarter = fromQuarter;
    a.byPlayer = !overTime;
}

void CCombatActions::StartWeaponChange(int delay, i32 direction) {
    CCombatAction& a = Add(kActionGuard);
    a.delay = delay * 4;
    a.direction = direction;
}

// ---------------------------------------------------------------------------------------------
// Resolution.

int CCombatActions::PlayerSpellStrength(const CSpell& spell) const {
    const CPlayer& player = host_.Player();
    const CSpellList* spells = host_.Rules().spells;
    const int skill = spells ? spells->GetSchoolSkill(spell.school) : 0;
    int k = 0;
    if (skill > 0 && skill <= kPlayerSkillCount && player.skills[skill] >= 1) k = player.GetSkillValue(skill);
    int m = 0;
    for (const CActiveEffect& e : player.effects[kListFortifyMagic]) m += DecodeEffectAmount(e.strength);
    return std::max(0, k + k * m / 100);
}

int CCombatActions::SpellDamageAgainst(const CSpell& spell, int s, const CMapSection& section,
                                       const CMonster& m) const {
    const bool undead = CCreatures::IsUndead(m);
    const CMonsterType* type = m.Type();
    int total = 0;
    for (int i = 0; i < spell.effects.Count(); ++i) {
        const CEffect& e = *spell.effects.At(i);
        const int a = e.amount + e.amountPerLevel * s / 100;
        switch (e.kind) {
        case 3:
            if (undead) total += a;
            break;
        case 4:
            if (undead) total += m.hp - 1;
            break;
        case 5:
            if (undead) total += std::min(a, m.hp - 1);
            break;
        case 6:
            if (!undead) total += a;
            break;
        case 7:
            if (!undead) total += m.hp - 1;
            break;
        case 8:
            if (!undead) total += std::min(a, m.hp - 1);
            break;
        case 23:
            if (type && type->creatureKind && e.id &&
                CompareStrings(e.id, type->creatureKind->GetName()) == 0)
                total += a;
            break;
        case 24:
            if (type && e.target == type->kind) total += a;
            break;
        case 25:
        case 26:
        case 29:
        case 40: total += a; break;
        default: break;
        }
    }
    return total - total * creatures_.GetMagicResistance(section, m) / 100;
}

bool CCombatActions::IsPassableForProjectile(i32 x, i32 y) const {
    const CMapCell* cell = host_.Window().Cell(x, y);
    if (!cell) return false;
    if (cell->creature[0] != 0 || cell->creature[1] != 0) return false;
    return host_.Window().IsCentrePassableForProjectile(x, y);
}

void CCombatActions::ResolveBlow(i32 x, i32 y, int p, bool secondSlot) {
    CCellWindow& window = host_.Window();
    CMapCell* cell = window.Cell(x, y);
    CMapSection* section = window.SectorSection(x, y);
    if (!cell) return;
    CPlayer& player = host_.Player();
    const CCombatAction* blow = nullptr;
    for (const auto& a : actions_)
        if (a->kind == kActionBlow) blow = a.get();
    int damage = 0;
    if (cell->creature[0] == 0 || !section) {
        int low = 0, high = 0;
        player.ComputeAttack(low, high, false);
        damage = low + Roll(std::max(0, high - low) + 1);
        damage -= damage * p / 100;
        host_.RaiseObjectEvent(creature::kEventHit, x, y, damage, nullptr);
    } else {
        const int slot = secondSlot && cell->creature[1] != 0 ? 1 : 0;
        const u8 id = static_cast<u8>(cell->creature[slot]);
        CMonster* m = section->FindMonster(id);
        if (!m || !m->Type()) return;
        damage = player.RollDamage(m->Type()->values[creature::kArmourClass]);
        damage -= damage * p / 100;
        CCreatureEvent event;
        event.amount = damage;
        CItemInstance* weapon = player.equipment[kEquipWeapon];
        CItemInstance* left = player.equipment[kEquipSecond];
        const bool shot = blow && (blow->bow || blow->crossbow);
        event.weapon = shot ? player.equipment[kEquipQuiver] : weapon;
        if (!shot && left && left->type && left->type->itemClass == 1) event.second = left;
        creatures_.RaiseEvent(creature::kEventHit, *section, id, event);
        m = section->FindMonster(id);
        if (m && m->hp == 0 && damage != 0) {
            m->hp = 1;
            CCreatureEvent death;
            creatures_.RaiseEvent(creature::kEventDeath, *section, id, death);
        }
    }
    if (damage == 0) {
        host_.PlaySound("bsnd_hitmiss", creatures_.VolumeByDistance(x, y));
    } else if (blow && blow->animation && blow->animation->sound && *blow->animation->sound) {
        host_.PlaySound(blow->animation->sound, 10);
    }
    host_.RefreshAfterChange();
}

void CCombatActions::SpellImpact(const CSpell& spell, int skill, i32 x, i32 y, bool area, bool byPlayer) {
    CCellWindow& window = host_.Window();
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    CMapCell* cell = window.Cell(x, y);
    CMapSection* section = window.SectorSection(x, y);
    if (x == px && y == py) {
        host_.Player().ApplySpell(spell, skill, false, 0, area);
        if (host_.Player().hp == 0) host_.OnPlayerDied();
    } else if (cell && (cell->creature[0] == 0 || !section)) {
        host_.RaiseObjectEvent(creature::kEventSpell, x, y, skill, &spell);
    } else if (cell) {
        const u16 ids[2] = {cell->creature[0], cell->creature[1]};
        for (u16 id : ids) {
            CMonster* m = id ? section->FindMonster(static_cast<u8>(id)) : nullptr;
            if (!m) continue;
            CCreatureEvent event;
            event.spell = &spell;
            event.strength = skill;
            event.byPlayer = byPlayer;
            event.amount = SpellDamageAgainst(spell, skill, *section, *m);
            creatures_.RaiseEvent(creature::kEventSpell, *section, m->id, event);
            m = section->FindMonster(static_cast<u8>(id));
            if (m && m->hp < 1) {
                CCreatureEvent death;
                death.byPlayer = byPlayer;
                creatures_.RaiseEvent(creature::kEventDeath, *section, m->id, death);
            }
        }
    }
    if (!area && HasRadius(spell)) AreaImpact(spell, skill / 2, x, y, byPlayer);
    host_.RefreshAfterChange();
}

void CCombatActions::AreaImpact(const CSpell& spell, int skill, i32 x, i32 y, bool byPlayer) {
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    for (const auto& n : CCellWindow::kNeighbours) {
        const i32 nx = x + n[0], ny = y + n[1];
        const CMapCell* cell = host_.Window().Cell(nx, ny);
        if (!cell) continue;
        if ((nx == px && ny == py) || cell->creature[0] != 0 || cell->creature[1] != 0)
            SpellImpact(spell, skill, nx, ny, true, byPlayer);
    }
}

// ---------------------------------------------------------------------------------------------
// The runner.

bool CCombatActions::Due(CCombatAction& a, u32 period) {
    const u32 now = host_.TickCount();
    if (a.started && now - a.lastStep < period) return false;
    a.started = true;
    a.lastStep = now;
    return true;
}

void CCombatActions::Run() {
    // Steps may add actions (a blow launches a missile, a projectile releases its impact): those
    // wait for the next pass.
    const size_t count = actions_.size();
    std::vector<CCombatAction*> finished;
    for (size_t i = 0; i < count && i < actions_.size(); ++i) {
        CCombatAction& a = *actions_[i];
        bool goesOn = true;
        switch (a.kind) {
        case kActionBlow: {
            const bool draw = (a.bow || a.crossbow) && a.frame == 1;
            if (Due(a, draw ? 120 : 40)) goesOn = StepBlow(a);
            break;
        }
        case kActionMissile:
            if (Due(a, 40)) goesOn = StepMissile(a);
            break;
        case kActionCast:
            if (Due(a, 50)) goesOn = StepCast(a);
            break;
        case kActionSpellSelf:
            if (Due(a, 100)) goesOn = StepSpellSelf(a);
            break;
        case kActionSpellAtCell:
            if (Due(a, 100)) goesOn = StepSpellAtCell(a);
            break;
        case kActionProjectile:
            if (Due(a, 40)) goesOn = StepProjectile(a);
            break;
        case kActionPlayerHit:
            if (Due(a, 50)) goesOn = StepPlayerHit(a);
            break;
        case kActionParalysedBump:
            if (Due(a, 40)) goesOn = StepBump(a);
            break;
        case kActionGuard:
            if (Due(a, 50)) goesOn = StepGuard(a);
            break;
        default: goesOn = false; break;
        }
        if (!goesOn) finished.push_back(&a);
    }
    actions_.erase(std::remove_if(actions_.begin(), actions_.end(),
                                  [&](const auto& a) {
                                      return std::find(finished.begin(), finished.end(), a.get()) !=
                                             finished.end();
                                  }),
                   actions_.end());
}

// The weapon hand follows the blow up and back down: frame by frame through the record's pictures in
// an alternate swing; with the plain-swing picture drawing back and returning otherwise.
void CCombatActions::ShowBlowFrame(const CCombatAction& a) {
    const CFpsAnimation* animation = a.animation;
    if (!animation || animation->frameIndices.empty()) return;
    const int last = static_cast<int>(animation->frameIndices.size()) - 1;
    const int rise = a.frame < kBlowFrames / 2 ? a.frame : kBlowFrames - 1 - a.frame;
    const int shown = a.alternate ? std::min(rise, last) : std::min<int>(animation->bytes[0], last);
    weaponHand.picture = animation->frameIndices[static_cast<size_t>(shown)];
    const int baseX = 96 - animation->words[0];
    const int baseY = (a.crossbow ? 10 : 96) - animation->words[1];
    weaponHand.x = a.alternate ? baseX : baseX - 8 * rise;
    weaponHand.y = a.alternate ? baseY : baseY - 6 * rise;
}

bool CCombatActions::StepBlow(CCombatAction& a) {
    ShowBlowFrame(a);
    const int frame = a.frame;
    const int launchAt = a.thrown ? 0 : a.bow ? 2 : a.crossbow ? 4 : -1;
    if (launchAt >= 0) {
        if (frame == launchAt && !a.blowDone) {
            a.blowDone = true;
            CItemInstance* ammunition = a.thrown ? a.weapon : a.quiver;
            if (ammunition && ammunition->count > 0) --ammunition->count;
            if (a.animation && a.animation->sound && *a.animation->sound)
                host_.PlaySound(a.animation->sound, 10);
            LaunchPlayerMissile(a.direction);
        }
    } else if (!a.blowDone && ((a.alternate && frame == 3) || (!a.alternate && frame >= 5))) {
        a.blowDone = true;
        i32 px = 0, py = 0;
        host_.GetPlayerCell(px, py);
        ResolveBlow(px + dir::kStepX[a.direction], py + dir::kStepY[a.direction], 0);
    }
    ++a.frame;
    if (a.frame < kBlowFrames) return true;
    host_.SetPlayerFraction(0x8000, 0x8000);
    SetHandSprites();
    return false;
}

bool CCombatActions::Fly(CCombatAction& a) {
    a.posX += dir::kStepX[a.direction] * 32768;
    a.posY += dir::kStepY[a.direction] * 32768;
    bool crossed = false;
    if (a.posX < 0 || a.posX > 0xFFFF || a.posY < 0 || a.posY > 0xFFFF) {
        a.cellX += dir::kStepX[a.direction];
        a.cellY += dir::kStepY[a.direction];
        a.posX = (a.posX % 65536 + 65536) % 65536;
        a.posY = (a.posY % 65536 + 65536) % 65536;
        crossed = true;
        ++a.cells;
    }
    if (!host_.Window().Cell(a.cellX, a.cellY) || a.cells >= kFlightCells) return false;
    if (!crossed) return true;
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    const bool atPlayer = a.cellX == px && a.cellY == py;
    if ((atPlayer && !a.byPlayer) || !IsPassableForProjectile(a.cellX, a.cellY)) {
        MissileStopped(a);
        return false;
    }
    return true;
}

void CCombatActions::MissileStopped(CCombatAction& a) {
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    if (a.kind == kActionProjectile) {
        if (a.spell) {
            CCombatAction& impact = Add(kActionSpellAtCell);
            impact.spell = a.spell;
            impact.skill = a.skill;
            impact.byPlayer = a.byPlayer;
            impact.cellX = a.cellX;
            impact.cellY = a.cellY;
        }
        return;
    }
    if (a.byPlayer) {
        int p = 0;
        if (host_.IsSurfaceMap()) {
            const int hour = host_.GetHour();
            p = (hour >= 22 || hour <= 5 ? 50 : 0) + host_.GetWeatherIntensity() / 20;
        }
        ResolveBlow(a.cellX, a.cellY, p);
        return;
    }
    CMonster* shooter = a.attackerSection ? a.attackerSection->FindMonster(a.attackerId) : nullptr;
    if (!shooter) return;
    if (a.cellX == px && a.cellY == py) {
        creatures_.StrikePlayer(*a.attackerSection, *shooter, dir::TableToQuarter((a.direction + 2) % 4));
        return;
    }
    CMapCell* cell = host_.Window().Cell(a.cellX, a.cellY);
    CMapSection* section = host_.Window().SectorSection(a.cellX, a.cellY);
    if (!cell || !section || cell->creature[0] == 0) return;
    const u8 id = static_cast<u8>(cell->creature[0]);
    CMonster* target = section->FindMonster(id);
    if (!target || CCreatures::IsPerson(*target)) return;
    CCreatureEvent event;
    event.amount = creatures_.RollMonsterDamage(*a.attackerSection, *shooter);
    event.byPlayer = false;
    // Creatures do not anger each other into crimes: only the damage and hurt apply.
    const bool wasAggressive = CCreatures::IsAggressive(*target);
    if (!CCreatures::IsPeaceful(*target)) {
        target->hp = static_cast<u16>(std::max(0, target->hp - event.amount));
        target->flags = static_cast<u8>((target->flags & 0x1F) | creature::kHurt);
        target->hurtTicks = 10;
        if (!wasAggressive)
            target->flags =
                static_cast<u8>((target->flags & ~creature::kTypeAggression) | creature::kAggressive);
    }
    if (target->hp == 0) {
        target->hp = 1;
        CCreatureEvent death;
        death.byPlayer = false;
        creatures_.RaiseEvent(creature::kEventDeath, *section, id, death);
    }
    host_.RefreshAfterChange();
}

bool CCombatActions::StepMissile(CCombatAction& a) { return Fly(a); }

bool CCombatActions::StepProjectile(CCombatAction& a) { return Fly(a); }

bool CCombatActions::StepCast(CCombatAction& a) {
    if (a.step++ == 0) {
        if (a.spell && SpellSound(*a.spell)) host_.PlaySound(SpellSound(*a.spell), 10);
        const CItemCatalogue* items = host_.Rules().items;
        const int mode = a.spell ? a.spell->value2 : 0;
        const char* id = mode == kTargetSelf    ? "bres_fpscastself"
                         : mode == kTargetTouch ? "bres_fpscasttouch"
                                                : "bres_fpscastother";
        a.animation = items ? items->FindFpsAnimation(id) : nullptr;
    }
    const int top = a.castItem ? 8 : 7;
    a.frame += a.frameDirection;
    // Both hands rise with the frames and sink again after the release.
    if (a.animation && !a.animation->frameIndices.empty()) {
        const size_t last = a.animation->frameIndices.size() - 1;
        const u16 picture = a.animation->frameIndices[std::min(static_cast<size_t>(std::max(a.frame, 0)) / 2, last)];
        weaponHand.picture = secondHand.picture = picture;
        secondHand.shown = true;
    }
    weaponHand.x = secondHand.x = 96;
    weaponHand.y = secondHand.y = std::clamp(20 * a.frame, 0, 100);
    if (a.frameDirection > 0 && a.frame > top) {
        a.frameDirection = -1;
        if (a.spell) ReleasePlayerSpell(*a.spell, PlayerSpellStrength(*a.spell));
        if (CItemInstance* item = a.castItem; item && item->type) {
            if (item->type->itemClass == 9 && item->count > 0) --item->count;
            const u8 subclass = item->type->subclass;
            if (subclass == 1 || subclass == 3) host_.Player().RemoveItem(item);
            a.castItem = nullptr;
        }
    }
    if (a.frameDirection < 0 && a.frame <= 0) {
        SetHandSprites();
        return false;
    }
    return true;
}

bool CCombatActions::StepSpellSelf(CCombatAction& a) {
    if (a.step++ == 0 && a.spell) {
        if (SpellSound(*a.spell)) host_.PlaySound(SpellSound(*a.spell), 10);
        host_.Player().ApplySpell(*a.spell, a.skill, true, 0, false);
    }
    return a.step < kSpellPictureSteps;
}

bool CCombatActions::StepSpellAtCell(CCombatAction& a) {
    if (a.step++ == 0 && a.spell) {
        if (SpellSound(*a.spell)) host_.PlaySound(SpellSound(*a.spell), 10);
        SpellImpact(*a.spell, a.skill, a.cellX, a.cellY, false, a.byPlayer);
    }
    return a.step < kSpellPictureSteps;
}

bool CCombatActions::StepPlayerHit(CCombatAction& a) {
    if (a.step == 0) host_.PlaySound(a.byPlayer ? "bsnd_hitclub" : "bsnd_hitpoison", 10);
    if (a.hitQuarter >= 0)
        viewOffset = a.step == 0 ? 4000 : a.step <= 3 ? viewOffset + 400 : viewOffset - 400;
    host_.ShowHitFrame(a.step);
    if (++a.step < 6) return true;
    viewOffset = 0;
    host_.SetPlayerFraction(0x8000, 0x8000);
    host_.EndHitFrames();
    return false;
}

bool CCombatActions::StepBump(CCombatAction& a) {
    constexpr i32 kOffsets[] = {0, 2000, 4000, 4000, 2000};
    if (a.step < 5) {
        viewOffset = kOffsets[a.step++];
        return true;
    }
    viewOffset = 0;
    host_.SetPlayerFraction(0x8000, 0x8000);
    return false;
}

bool CCombatActions::StepGuard(CCombatAction& a) {
    if (a.delay > 0) {
        --a.delay;
        return true;
    }
    const int f = a.frame++;
    if (f == 0) {
        guardStartX_ = 100 - secondHand.x;
        guardStartY_ = 100 - secondHand.y;
    }
    if (f >= 6 && f <= 9) {
        secondHand.x += guardStartX_ / 4;
        secondHand.y += guardStartY_ / 4;
    } else if (f >= 19 && f <= 25) {
        secondHand.x -= guardStartX_ / 8;
        secondHand.y -= guardStartY_ / 8;
    }
    return a.frame < 26;
}

// ---------------------------------------------------------------------------------------------
// The hands.

void CCombatActions::SetHandSprites() {
    CPlayer& player = host_.Player();
    if (player.IsParalyzed()) return;
    const CItemCatalogue* items = host_.Rules().items;
    auto animationOf = [&](const CItemInstance* item) -> const CFpsAnimation* {
        if (!items) return nullptr;
        const char* id = "bres_fpsfist";
        if (item && item->type && item->type->subclass == kSubclassThrown && item->type->IsWeapon()) {
            id = "bres_fpsthrow";
        } else if (item && item->type && item->type->useStyle) {
            if (const CItemUseStyle* style = items->FindUseStyle(item->type->useStyle);
                style && style->texts[2])
                id = style->texts[2];
        }
        return items->FindFpsAnimation(id);
    };
    const CItemInstance* right = player.equipment[kEquipWeapon];
    const CItemInstance* left = player.equipment[kEquipSecond];
    const bool crossbow = right && right->type && right->type->subclass == kSubclassCrossbow;
    if (const CFpsAnimation* a = animationOf(right)) {
        weaponHand.picture = a->frameIndices.empty() ? 0 : a->frameIndices[0];
        weaponHand.x = 96 - a->words[0];
        weaponHand.y = crossbow ? 10 - a->words[1] : 96 - a->words[1];
    }
    if (const CFpsAnimation* a = animationOf(left)) {
        secondHand.picture = a->frameIndices.empty() ? 0 : a->frameIndices[0];
        secondHand.x = 100 - a->words[0];
        secondHand.y = 100 - a->words[1];
    }
    secondHand.shown = !left || (left->type && left->type->itemClass == 1);
}

void CCombatActions::StartHandBob() {
    ++bobSteps_;
    bobTick_ = 0;
    bobSaved_[0] = std::min(weaponHand.x, 95);
    bobSaved_[1] = weaponHand.y;
    bobSaved_[2] = std::min(secondHand.x, 95);
    bobSaved_[3] = secondHand.y;
}

void CCombatActions::HandBobTick() {
    static constexpr int kAcross[8] = {1, 2, 3, 3, 4, 4, 5, 5};
    static constexpr int kDown[8] = {1, 2, 3, 4, 4, 3, 2, 1};
    if (bobTick_ >= 8) return;
    const int phase = (bobSteps_ - 1) % 4;
    const int h = phase == 0 || phase == 3 ? kAcross[bobTick_] : -kAcross[bobTick_];
    const int v = (bobSteps_ - 1) % 2 != 0 ? -kDown[bobTick_] : kDown[bobTick_];
    weaponHand.x = bobSaved_[0] + h;
    weaponHand.y = bobSaved_[1] + v;
    secondHand.x = bobSaved_[2] - h;
    secondHand.y = bobSaved_[3] - v;
    ++bobTick_;
}
