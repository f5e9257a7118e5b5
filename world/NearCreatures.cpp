#include "world/NearCreatures.h"

#include <algorithm>
#include <cstdlib>

#include "core/Random.h"
#include "data/CreatureCatalogue.h"
#include "data/ItemType.h"
#include "world/CellWindow.h"
#include "world/CombatActions.h"
#include "world/CreatureHost.h"
#include "world/CreatureSprite.h"
#include "world/Creatures.h"
#include "world/Directions.h"
#include "world/Player.h"

using namespace creature;

namespace {

struct Move {
    i8 dx, dy;
};
constexpr Move kStop = {0, 0};

// By octant of the creature as seen from the player (0 north, clockwise) and axis flag: the moves
// tried in order, a stop ending the list.
constexpr Move kCandidates[8][2][3] = {
    {{{0, 1}, {-1, 0}, {1, 0}}, {{0, 1}, {1, 0}, {-1, 0}}},
    {{{-1, 0}, {0, 1}, kStop}, {{0, 1}, {-1, 0}, kStop}},
    {{{-1, 0}, {0, -1}, {0, 1}}, {{-1, 0}, {0, 1}, {0, -1}}},
    {{{-1, 0}, {0, -1}, kStop}, {{0, -1}, {-1, 0}, kStop}},
    {{{0, -1}, {-1, 0}, {1, 0}}, {{0, -1}, {1, 0}, {-1, 0}}},
    {{{1, 0}, {0, -1}, kStop}, {{0, -1}, {1, 0}, kStop}},
    {{{1, 0}, {0, -1}, {0, 1}}, {{1, 0}, {0, 1}, {0, -1}}},
    {{{1, 0}, {0, 1}, kStop}, {{0, 1}, {1, 0}, kStop}},
};

int Octant(i32 dx, i32 dy) {
    if (dx == 0) return dy < 0 ? 0 : 4;
    if (dy == 0) return dx > 0 ? 2 : 6;
    if (dx > 0) return dy < 0 ? 1 : 3;
    return dy > 0 ? 5 : 7;
}

// The facing quarter of a one-cell move (0 north, 1 west, 2 south, 3 east).
i32 QuarterOfMove(i32 dx, i32 dy) { return dir::TableToQuarter(dir::TableTowards(0, 0, dx, dy)); }

bool IsMovingState(u8 state) { return state == kNearApproach || state == kNearFlee || state == kNearToLine; }

}  // namespace

int CNearCreatures::Roll(int n) { return static_cast<int>(host_.Random().Next(n)); }

CMonster* CNearCreatures::Creature(const CNearEntry& e) const { return CreatureOf(e); }

CNearEntry* CNearCreatures::FindEntry(const CMapSection* section, u8 id) {
    return FindCreatureEntry(entries_, section, id);
}

void CNearCreatures::RemoveEntry(const CMapSection* section, u8 id) {
    EraseCreatureEntry(entries_, section, id);
}

bool CNearCreatures::IsHurtEnemyNearby() const {
    bool found = false;
    host_.Window().ForEachCreatureNear(6, [&](CMapSection&, const CMonster& m) {
        if (!CCreatures::IsPerson(m) && m.hurtTicks > 1) found = true;
    });
    return found;
}

// ---------------------------------------------------------------------------------------------
// The scan.

void CNearCreatures::Scan(bool force, i32 cx, i32 cy) {
    if (actions_ && actions_->Count() > 0) {
        if (!hold) pending = true;
        return;
    }
    if (!entries_.empty()) {
        pending = true;
        return;
    }
    if (!force && IsHurtEnemyNearby()) {
        if (hold)
            hold = pending = false;
        else
            pending = true;
        return;
    }
    if (!force) host_.GetPlayerCell(cx, cy);
    pending = false;
    CCellWindow& window = host_.Window();
    std::vector<std::unique_ptr<CNearEntry>> fresh;
    for (i32 y = std::max(0, cy - 7); y <= std::min(34, cy + 7); ++y)
        for (i32 x = std::max(0, cx - 7); x <= std::min(34, cx + 7); ++x) {
            const CMapCell* cell = window.Cell(x, y);
            CMapSection* section = window.SectorSection(x, y);
            if (!cell || !section) continue;
            for (u16 slotId : cell->creature) {
                if (slotId == 0 || slotId > 255) continue;
                const CMonster* m = section->FindMonster(static_cast<u8>(slotId));
                if (!m || !m->Type() || CCreatures::IsPerson(*m) || CCreatures::IsObjectHidden(*section, *m))
                    continue;
                auto entry = std::make_unique<CNearEntry>();
                entry->section = section;
                entry->id = m->id;
                entry->x = entry->toX = static_cast<u8>(x);
                entry->y = entry->toY = static_cast<u8>(y);
                entry->direction = static_cast<u8>(dir::TableTowards(cx, cy, x, y));
                const size_t at = static_cast<size_t>(Roll(static_cast<int>(fresh.size()) + 1));
                fresh.insert(fresh.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
            }
        }
    entries_ = std::move(fresh);
    changed = false;
    for (auto& e : entries_) {
        Decide(*e, cx, cy);
        PlanStep(*e, cx, cy);
    }
    if (force) {
        hold = true;
        i32 px = 0, py = 0;
        host_.GetPlayerCell(px, py);
        for (const auto& e : entries_) {
            const bool attacking =
                e->state == kNearAttackClose || e->state == kNearAttackFar || e->state == kNearAreaCast;
            if (attacking || (std::abs(e->x - px) <= 1 && std::abs(e->y - py) <= 1)) hold = false;
        }
        if (hold) {
            entries_.clear();
            return;
        }
    } else {
        hold = false;
    }
    UpdateFightCountdown(cx, cy);
}

void CNearCreatures::UpdateFightCountdown(i32 px, i32 py) {
    // A creature that attacks, approaches or flees within 4 cells (an adjacent hostile one among them).
    bool fight = false;
    for (const auto& e : entries_)
        if (e->state != kNearIdle && std::max(std::abs(e->x - px), std::abs(e->y - py)) <= 4) fight = true;
    if (fight) host_.SetFightCountdown(4);
    host_.UpdateMusic();
}

bool CNearCreatures::FindPlayerInLine(i32 x, i32 y, i32 table, i32 px, i32 py, bool lineOnly) const {
    for (int i = 0; i < 35; ++i) {
        x += dir::kStepX[table];
        y += dir::kStepY[table];
        if (!host_.Window().Cell(x, y)) return false;
        if (lineOnly ? (table % 2 == 1 ? x == px : y == py) : (x == px && y == py)) return true;
        // What a missile would stop at hides the player: a shut door as much as a wall.
        if (!host_.Window().IsCentrePassableForProjectile(x, y)) return false;
    }
    return false;
}

void CNearCreatures::Decide(CNearEntry& e, i32 px, i32 py) {
    CMonster* m = Creature(e);
    e.toX = e.x;
    e.toY = e.y;
    if (!m || !m->Type() || CCreatures::IsPerson(*m) || CCreatures::HasEffect(*e.section, *m, 28) ||
        !CCreatures::IsAggressive(*m)) {
        e.state = kNearIdle;
        return;
    }
    const int style = m->Type()->attackStyle;
    const i32 dx = e.x - px, dy = e.y - py;
    if (dx != 0 && dy != 0) {
        if ((style == 3 || style == 4) && creatures_.MonsterHasAreaSpell(*m->Type())) {
            // Along the creature's shorter way into the player's row or column.
            const i32 table = std::abs(dx) <= std::abs(dy) ? (dx > 0 ? 3 : 1) : (dy > 0 ? 0 : 2);
            if (FindPlayerInLine(e.x, e.y, table, px, py, true)) {
                e.state = kNearAreaCast;
                e.direction = static_cast<u8>((table + 2) % 4);
                return;
            }
        }
        e.state = style >= 2 && style <= 4 ? kNearToLine : kNearApproach;
        return;
    }
    if (std::abs(dx) + std::abs(dy) > 1) {
        const i32 towards = dir::TableTowards(e.x, e.y, px, py);
        if (FindPlayerInLine(e.x, e.y, towards, px, py, false))
            e.state = style == 2 ? kNearAttackClose : style == 3 || style == 4 ? kNearAttackFar : kNearToLine;
        else
            e.state = kNearToLine;
        return;
    }
    const bool weak = CCreatures::HpPercent(*m) < 30;
    if (style == 2 || style == 3) {
        if (Roll(100) < 30)
            e.state = kNearFlee;
        else if (weak && Roll(100) < 40)
            e.state = kNearFlee;
        else
            e.state = style == 3 ? kNearAttackFar : kNearAttackClose;
        return;
    }
    e.state = weak && Roll(100) < 40 ? kNearFlee : kNearAttackClose;
}

void CNearCreatures::PlanStep(CNearEntry& e, i32 px, i32 py) {
    e.toX = e.x;
    e.toY = e.y;
    if (!IsMovingState(e.state)) return;
    const i32 dx = e.x - px, dy = e.y - py;
    int octant = Octant(dx, dy);
    if (e.state == kNearFlee) octant = (octant + 3 + Roll(3)) % 8;
    int flag = 0;
    if (dx == 0 || dy == 0 || std::abs(dx) == std::abs(dy))
        flag = Roll(100) / 50;
    else if (e.state == kNearToLine)
        flag = std::abs(dx) > std::abs(dy) ? 1 : 0;
    else
        flag = std::abs(dx) > std::abs(dy) ? 0 : 1;
    for (const Move& move : kCandidates[octant][flag]) {
        if (move.dx == 0 && move.dy == 0) break;
        const i32 tx = e.x + move.dx, ty = e.y + move.dy;
        int slot = 0;
        if (host_.Window().Cell(tx, ty) && !(tx == px && ty == py) &&
            host_.CanCreatureEnter(tx, ty, QuarterOfMove(move.dx, move.dy)) &&
            !IsCellClaimed(tx, ty, &e, slot)) {
            e.toX = static_cast<u8>(tx);
            e.toY = static_cast<u8>(ty);
            e.slot = static_cast<u8>(slot);
            return;
        }
    }
    e.state = kNearIdle;
}

bool CNearCreatures::IsCellClaimed(i32 x, i32 y, const CNearEntry* self, int& freeSlot) const {
    freeSlot = 0;
    const CMapCell* cell = host_.Window().Cell(x, y);
    CMapSection* section = host_.Window().SectorSection(x, y);
    if (!cell) return true;
    int count = 0;
    bool taken[2] = {false, false};
    for (int s = 0; s < 2; ++s) {
        const u16 id = cell->creature[s];
        if (id == 0) continue;
        if (self && self->section == section && self->id == id) continue;
        const CNearEntry* other = nullptr;
        for (const auto& e : entries_)
            if (e->section == section && e->id == id) other = e.get();
        // It stays unless its entry is stepping out of this cell.
        if (!other || !IsMovingState(other->state) || (other->toX == x && other->toY == y)) {
            ++count;
            taken[s] = true;
        }
    }
    for (const auto& e : entries_) {
        if (e.get() == self || !IsMovingState(e->state)) continue;
        if (e->toX == x && e->toY == y && !(e->x == x && e->y == y)) ++count;
    }
    freeSlot = taken[0] ? 1 : 0;
    return count >= 2;
}

// ---------------------------------------------------------------------------------------------
// Moving between cells.

void CNearCreatures::StartStep(CNearEntry& e) {
    CMonster* m = Creature(e);
    if (!m) return;
    changed = true;
    e.stepping = true;
    e.stepsLeft = 8;
    e.spriteX = e.spriteY = 0x8000;
    if (const CCellObject* sprite = host_.SpriteOf(*m)) {
        e.spriteX = static_cast<u16>(sprite->x);
        e.spriteY = static_cast<u16>(sprite->y);
    }
    // The place in the target cell the creature slot reserved for it gives, counted from the present
    // cell's corner.
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    const CMapCell* to = host_.Window().Cell(e.toX, e.toY);
    const bool second = e.slot == 1;
    const bool paired = !second && to && to->creature[1] != 0 && to->creature[1] != e.id;
    const bool wide = m->Type()->bytes[0] != 0;
    const CSpritePlace place =
        SelectCreatureSprite(e.toX, e.toY, px, py, host_.GetFacing(), false, wide, paired, second);
    const i32 targetX = (e.toX - e.x) * 65536 + static_cast<i32>(place.x);
    const i32 targetY = (e.toY - e.y) * 65536 + static_cast<i32>(place.y);
    e.moveX = (targetX - e.spriteX) / 8;
    e.moveY = (targetY - e.spriteY) / 8;
    if (IsMovingState(e.state)) {
        m->flags = static_cast<u8>((m->flags & ~(kAnimMask | kHurt)) | kMoving);
        m->hurtTicks = 8;
        SetFacing(*m, QuarterOfMove(e.toX - e.x, e.toY - e.y));
    }
}

bool CNearCreatures::MoveCreatureToCell(CNearEntry& e, i32 toX, i32 toY) {
    CCellWindow& window = host_.Window();
    CMapCell* to = window.Cell(toX, toY);
    CMapSection* toSection = window.SectorSection(toX, toY);
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    if (!to || !toSection || (toX == px && toY == py) || (to->creature[0] != 0 && to->creature[1] != 0))
        return false;
    CMonster* m = Creature(e);
    if (!m) return false;
    window.RemoveCreatureFromCell(e.section, *m);
    u8 id = m->id;
    if (toSection != e.section) {
        // Into the neighbouring piece's list, with its effects and bag; it may need a new id there.
        CMonster moved = *m;
        i32 sx = 0, sy = 0;
        window.WindowToSectionCell(toX, toY, toSection, sx, sy);
        CEffectHolder* holder = e.section->effects.DetachMonsterEffects(m->id);
        CItemBag* bag = e.section->bags.FindBagById(m->bagId);
        e.section->monsters.erase(std::find_if(e.section->monsters.begin(), e.section->monsters.end(),
                                               [&](const CMonster& c) { return c.id == id; }));
        if (toSection->FindMonster(id)) {
            const int fresh = NewSectionId(toSection->nextMonsterId,
                                           [&](u8 used) { return toSection->FindMonster(used) != nullptr; });
            // A full section keeps the creature where it was.
            if (fresh == 0) {
                e.section->monsters.push_back(moved);
                if (holder && !e.section->effects.AttachHolder(holder)) delete holder;
                window.PlaceObjectNear(e.section, *e.section->FindMonster(id), moved.x, moved.y);
                return false;
            }
            id = static_cast<u8>(fresh);
        }
        moved.id = id;
        moved.x = static_cast<u8>(sx);
        moved.y = static_cast<u8>(sy);
        if (bag) {
            CItemBag* copy = toSection->bags.CreateBag(bag->serial);
            if (copy) {
                while (bag->GetItemCount() > 0)
                    copy->AddItem(static_cast<CItemInstance*>(bag->items.RemoveAt(0)));
                moved.bagId = copy->id;
            }
            e.section->bags.RemoveBag(bag);
        }
        toSection->monsters.push_back(moved);
        if (holder) {
            holder->creatureId = id;
            if (!toSection->effects.AttachHolder(holder)) delete holder;
        }
        e.section = toSection;
        e.id = id;
        m = toSection->FindMonster(id);
    } else {
        i32 sx = 0, sy = 0;
        CMapSection* s = nullptr;
        window.WindowToSectionCell(toX, toY, s, sx, sy);
        m->x = static_cast<u8>(sx);
        m->y = static_cast<u8>(sy);
    }
    to->creature[to->creature[0] == 0 ? 0 : 1] = id;
    e.x = static_cast<u8>(toX);
    e.y = static_cast<u8>(toY);
    host_.PlayGroundSound(toX, toY);
    return true;
}

bool CNearCreatures::AdvanceStep(CNearEntry& e) {
    if (!e.stepping) return false;
    e.spriteX += e.moveX;
    e.spriteY += e.moveY;
    i32 cx = e.x, cy = e.y;
    if (e.spriteX < 0) --cx, e.spriteX += 65536;
    if (e.spriteX > 0xFFFF) ++cx, e.spriteX -= 65536;
    if (e.spriteY < 0) --cy, e.spriteY += 65536;
    if (e.spriteY > 0xFFFF) ++cy, e.spriteY -= 65536;
    if ((cx != e.x || cy != e.y) && !MoveCreatureToCell(e, cx, cy)) {
        e.stepping = false;
        if (CMonster* m = Creature(e)) {
            m->flags = static_cast<u8>(m->flags & ~kAnimMask);
            m->hurtTicks = 0;
        }
        return false;
    }
    if (CMonster* m = Creature(e))
        if (CCellObject* sprite = host_.SpriteOf(*m)) {
            sprite->x = static_cast<i16>(static_cast<u16>(e.spriteX));
            sprite->y = static_cast<i16>(static_cast<u16>(e.spriteY));
        }
    if (--e.stepsLeft == 0) {
        e.stepping = false;
        if (CMonster* m = Creature(e)) {
            m->flags = static_cast<u8>(m->flags & ~kAnimMask);
            m->hurtTicks = 0;
        }
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// The per-tick pass.

void CNearCreatures::StartAttack(CNearEntry& e, CMonster& m, i32 px, i32 py) {
    const u8 was = e.state;
    m.flags = static_cast<u8>((m.flags & 0x1F) | kAttacking);
    m.hurtTicks = 8;
    const CCreatureKind* kind = m.Type()->creatureKind;
    if (kind && kind->sounds[3] && *kind->sounds[3])
        host_.PlaySound(kind->sounds[3], creatures_.VolumeByDistance(e.x, e.y));
    e.areaCast = was == kNearAreaCast;
    e.state = kNearBusy;
    changed = true;
    attackCountdown = 6;
    if (was != kNearAttackClose || !actions_) return;
    const CPlayer& player = host_.Player();
    const CItemInstance* second = player.equipment[6];
    const bool guardItem =
        second && second->type && (second->type->itemClass == 2 || second->type->itemClass == 3);
    const bool onLine = e.x == px || e.y == py;
    if (onLine && e.direction == dir::TableOfFacing(host_.GetFacing()) && guardItem &&
        !actions_->HasKind(kActionGuard) && !player.IsParalyzed()) {
        const int delay = m.Type()->attackStyle == 1 ? 0 : std::abs(e.x - px) + std::abs(e.y - py);
        actions_->StartWeaponChange(delay, e.direction);
    }
}

void CNearCreatures::Run() {
    if (actions_ && actions_->Count() > 1 && !actions_->HasKind(kActionGuard)) return;
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    soundSection = nullptr;
    soundId = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (i == 0 || Roll(100) >= 51) {
            soundSection = entries_[i]->section;
            soundId = entries_[i]->id;
        }
    }
    for (size_t i = 0; i < entries_.size();) {
        CNearEntry& e = *entries_[i];
        CMonster* m = Creature(e);
        bool remove = m == nullptr;
        if (m) {
            switch (e.state) {
            case kNearApproach:
            case kNearFlee:
            case kNearToLine:
                if (!e.stepping && e.stepsLeft == 0) StartStep(e);
                if (!AdvanceStep(e)) remove = true;
                break;
            case kNearIdle: remove = true; break;
            case kNearBusy:
                // Its attack is over once the strike's animation has run out.
                if ((m->flags & kAnimMask) == 0 && m->hurtTicks == 0 && !e.stepping) remove = true;
                break;
            default:
                if (attackCountdown == 0) StartAttack(e, *m, px, py);
                break;
            }
            if (!remove && !IsMovingState(e.state) && e.stepping) AdvanceStep(e);
        }
        if (remove)
            entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    if (attackCountdown > 0) --attackCountdown;
    if (entries_.empty()) {
        hold = false;
        if (changed) host_.RefreshAfterChange();
        changed = false;
    }
}

void CNearCreatures::AnimateCreature(CMapSection& section, u8 id) {
    CMonster* m = section.FindMonster(id);
    if (!m || m->hurtTicks == 0) return;
    if (--m->hurtTicks > 0) return;
    if ((m->flags & kAnimMask) == kAttacking) {
        m->flags = static_cast<u8>((m->flags & ~kAnimMask) | kStriking);
        m->hurtTicks = 5;
        const CNearEntry* e = FindEntry(&section, id);
        creatures_.CreatureAttack(section, id, e && e->areaCast);
    } else {
        m->flags = static_cast<u8>(m->flags & ~(kAnimMask | kHurt));
    }
    if (CMonster* still = section.FindMonster(id)) creatures_.RefreshFrame(section, *still);
}

void CNearCreatures::AnimateNearby(bool walk, bool countdown) {
    // Gathered first: a strike can kill the player or change the cells walked.
    std::vector<std::pair<CMapSection*, u8>> near;
    host_.Window().ForEachCreatureNear(7, [&](CMapSection& s, const CMonster& m) {
        if ((countdown && m.hurtTicks > 0) || walk) near.emplace_back(&s, m.id);
    });
    for (auto& [section, id] : near) {
        CMonster* m = section->FindMonster(id);
        if (!m) continue;
        if (countdown && m->hurtTicks > 0) {
            AnimateCreature(*section, id);
            continue;
        }
        if (!walk) continue;
        CCellObject* sprite = host_.SpriteOf(*m);
        if (!sprite) continue;
        if (!CCreatures::IsPerson(*m)) {
            const u16 step = static_cast<u16>((((sprite->flags >> 8) & 7) + 1) % 4);
            sprite->flags = static_cast<u16>((sprite->flags & ~0x0700u) | (step << 8));
        }
        creatures_.ChooseMonsterFrame(*section, *m, *sprite);
    }
}
