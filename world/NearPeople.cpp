#include "world/NearPeople.h"

#include <algorithm>
#include <cstdlib>

#include "core/Random.h"
#include "data/CreatureCatalogue.h"
#include "view3d/ViewCaches.h"
#include "world/CellWindow.h"
#include "world/CombatActions.h"
#include "world/CreatureHost.h"
#include "world/Creatures.h"
#include "world/Directions.h"

using namespace creature;

namespace {

constexpr i32 kWalkSpeed = 2048;

// The facing quarter of a movement by its signs: smaller y 0, smaller x 1, larger y 2, larger x 3;
// diagonals and no movement 0.
u8 FacingOfMovement(i32 dx, i32 dy) {
    if (dx == 0 && dy < 0) return 0;
    if (dy == 0 && dx < 0) return 1;
    if (dx == 0 && dy > 0) return 2;
    if (dy == 0 && dx > 0) return 3;
    return 0;
}

}  // namespace

int CNearPeople::Roll(int n) { return static_cast<int>(host_.Random().Next(n)); }

CMonster* CNearPeople::Creature(const CNearPerson& p) const { return CreatureOf(p); }

CNearPerson* CNearPeople::Find(const CMapSection* section, u8 id) {
    return FindCreatureEntry(people_, section, id);
}

void CNearPeople::Drop(const CMapSection* section, u8 id) {
    EraseCreatureEntry(people_, section, id);
    if (nearestSection == section && nearestId == id) nearestSection = nullptr, nearestId = 0;
}

void CNearPeople::PostStealPrompt(CMapSection& section, CMonster& creature) {
    if (Find(&section, creature.id)) host_.PostStealPrompt(section, creature);
}

// ---------------------------------------------------------------------------------------------
// The scan.

void CNearPeople::Scan() {
    for (auto& p : people_) p->seen = false;
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    CCellWindow& window = host_.Window();
    for (i32 y = std::max(0, py - 7); y <= std::min(34, py + 7); ++y)
        for (i32 x = std::max(0, px - 7); x <= std::min(34, px + 7); ++x) {
            const CMapCell* cell = window.Cell(x, y);
            CMapSection* section = window.SectorSection(x, y);
            if (!cell || !section) continue;
            for (u16 slotId : cell->creature) {
                if (slotId == 0 || slotId > 255) continue;
                const CMonster* m = section->FindMonster(static_cast<u8>(slotId));
                if (!m || !CCreatures::IsPerson(*m) || CCreatures::IsObjectHidden(*section, *m)) continue;
                if (std::abs(x - px) <= 2 && std::abs(y - py) <= 2 && (nearestId == 0 || Roll(100) > 50)) {
                    nearestSection = section;
                    nearestId = m->id;
                }
                if (CNearPerson* known = Find(section, m->id)) {
                    known->seen = true;
                    // The window may have moved under it: its cells follow.
                    const i32 shiftX = x - known->cellX, shiftY = y - known->cellY;
                    known->cellX = static_cast<i8>(x);
                    known->cellY = static_cast<i8>(y);
                    known->startX = static_cast<u8>(known->startX + shiftX);
                    known->startY = static_cast<u8>(known->startY + shiftY);
                    known->goalX = static_cast<u8>(known->goalX + shiftX);
                    known->goalY = static_cast<u8>(known->goalY + shiftY);
                    continue;
                }
                auto p = std::make_unique<CNearPerson>();
                p->section = section;
                p->id = m->id;
                p->sector = CCellWindow::SectorIndex(x, y);
                p->startX = p->goalX = static_cast<u8>(x);
                p->startY = p->goalY = static_cast<u8>(y);
                p->cellX = static_cast<i8>(x);
                p->cellY = static_cast<i8>(y);
                p->seen = true;
                p->direction = static_cast<u8>(Facing(*m));
                people_.push_back(std::move(p));
            }
        }
    people_.erase(std::remove_if(people_.begin(), people_.end(), [](const auto& p) { return !p->seen; }),
                  people_.end());
    for (auto& p : people_) p->seen = false;
    for (auto& p : people_) {
        p->marked = p->state == kPersonUndecided;
        if (p->marked) Decide(*p);
    }
    for (auto& p : people_)
        if (p->marked) {
            p->marked = false;
            StartAction(*p);
        }
}

void CNearPeople::PlanTurn(CNearPerson& p, const CMonster& m) {
    const int facing = Facing(m);
    if (std::abs(p.direction - facing) > 1) {
        p.turnVia = static_cast<u8>(Roll(100) < 50 ? (facing + 1) % 4 : (facing + 3) % 4);
        p.turnTicks = 3;
    } else {
        p.turnVia = 255;
    }
}

void CNearPeople::AlertStealVictim(const CMapSection& section, u8 id) {
    CNearPerson* p = Find(&section, id);
    CMonster* m = p ? Creature(*p) : nullptr;
    if (!m) return;
    p->goalX = static_cast<u8>(p->cellX);
    p->goalY = static_cast<u8>(p->cellY);
    p->budget = 32768 + Roll(32768);
    p->state = kPersonStanding;
    p->stepX = p->stepY = 0;
    p->direction = static_cast<u8>((dir::QuarterOfFacing(host_.GetFacing()) + 2) % 4);
    PlanTurn(*p, *m);
    m->flags = static_cast<u8>(m->flags & ~kAnimMask);
    m->hurtTicks = 0;
}

void CNearPeople::Decide(CNearPerson& p) {
    CMonster* m = Creature(p);
    if (!m) return;
    if (m->Type()->flags & kTypeStationary) {
        p.state = kPersonStanding;
        p.direction = static_cast<u8>(Facing(*m));
        return;
    }
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    const bool adjacent =
        (p.cellX == px && std::abs(p.cellY - py) == 1) || (p.cellY == py && std::abs(p.cellX - px) == 1);
    const int r = Roll(100);
    if (adjacent) {
        if (r < 30) {
            AlertStealVictim(*p.section, p.id);
            p.marked = false;  // already under way
        } else {
            p.state = r < 50 ? kPersonTurning : kPersonWalking;
        }
        return;
    }
    if (r < 20) {
        p.state = kPersonStanding;
        return;
    }
    const int facing = Facing(*m);
    for (int k = 0; k < 4; ++k) {
        const int quarter = (facing + k) % 4;
        const int table = dir::QuarterToTable(quarter);
        const i32 nx = p.cellX + dir::kStepX[table], ny = p.cellY + dir::kStepY[table];
        const CMapCell* cell = host_.Window().Cell(nx, ny);
        if (!cell) continue;
        for (u16 id : cell->creature) {
            CMapSection* section = host_.Window().SectorSection(nx, ny);
            const CNearPerson* other = id ? Find(section, static_cast<u8>(id)) : nullptr;
            if (other && ((other->state == kPersonStanding && r < 80) || r < 60)) {
                p.state = kPersonStanding;
                p.direction = static_cast<u8>(quarter);
                PlanTurn(p, *m);
                return;
            }
        }
    }
    p.state = kPersonWalking;
}

bool CNearPeople::IsFreeForPeople(i32 x, i32 y) const {
    const CMapCell* cell = host_.Window().Cell(x, y);
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    if (!cell || cell->creature[0] != 0 || cell->creature[1] != 0 || (x == px && y == py)) return false;
    return !(actions_ && actions_->IsFlightInCell(x, y));
}

void CNearPeople::StartAction(CNearPerson& p) {
    CMonster* m = Creature(p);
    if (!m) return;
    switch (p.state) {
    case kPersonStanding:
        p.goalX = static_cast<u8>(p.cellX);
        p.goalY = static_cast<u8>(p.cellY);
        p.budget = 16384 + Roll(16384);
        p.stepX = p.stepY = 0;
        if (CCellObject* sprite = host_.SpriteOf(*m))
            sprite->flags = static_cast<u16>((sprite->flags & ~0x0700) | 0x0100);
        m->flags = static_cast<u8>(m->flags & ~kAnimMask);
        m->hurtTicks = 0;
        break;
    case kPersonTurning:
        p.direction = static_cast<u8>(Roll(4));
        PlanTurn(p, *m);
        p.budget = 8192 + Roll(8192);
        break;
    case kPersonWalking: {
        p.startX = static_cast<u8>(p.cellX);
        p.startY = static_cast<u8>(p.cellY);
        p.sector = CCellWindow::SectorIndex(p.cellX, p.cellY);
        i32 px = 0, py = 0;
        host_.GetPlayerCell(px, py);
        const int d0 = Roll(4);
        int chosen = -1;
        for (int k = 0; k < 4 && chosen < 0; ++k) {
            const int table = (d0 + k) % 4;
            const i32 nx = p.cellX + dir::kStepX[table], ny = p.cellY + dir::kStepY[table];
            const CMapCell* cell = host_.Window().Cell(nx, ny);
            if (!cell || (nx == px && ny == py) || CCellWindow::SectorIndex(nx, ny) != p.sector) continue;
            if (!host_.CanCreatureEnter(nx, ny, dir::TableToQuarter(table)) || !IsFreeForPeople(nx, ny))
                continue;
            if (cell->centre != kNoCellIndex) {
                CMapSection* section = host_.Window().SectorSection(nx, ny);
                const CPlacement* placement =
                    section && cell->centreId ? section->FindPlacement(cell->centreId) : nullptr;
                if (!placement || (placement->flags & CPlacement::kVisible)) continue;
            }
            chosen = table;
        }
        i32 tx = 8192 + Roll(49152), ty = 8192 + Roll(49152);
        i32 distX = 0, distY = 0;
        bool alongX = false;
        if (chosen < 0) {
            auto tooNearOrFar = [&] {
                const i32 ax = std::abs(tx - p.posX), ay = std::abs(ty - p.posY);
                return (ax < 16384 && ay < 16384) || (ax > 32768 && ay > 32768);
            };
            for (int tries = 0; tries < 64 && tooNearOrFar(); ++tries) {
                tx = 8192 + Roll(49152);
                ty = 8192 + Roll(49152);
            }
            distX = tx - p.posX;
            distY = ty - p.posY;
            alongX = std::abs(distX) >= std::abs(distY);
            p.goalX = static_cast<u8>(p.cellX);
            p.goalY = static_cast<u8>(p.cellY);
        } else {
            distX = tx + dir::kStepX[chosen] * 65536 - p.posX;
            distY = ty + dir::kStepY[chosen] * 65536 - p.posY;
            alongX = dir::kStepX[chosen] != 0;
            p.goalX = static_cast<u8>(p.cellX + dir::kStepX[chosen]);
            p.goalY = static_cast<u8>(p.cellY + dir::kStepY[chosen]);
        }
        const i32 main = alongX ? distX : distY;
        const i32 other = alongX ? distY : distX;
        const i32 ticks = std::max(1, std::abs(main) / kWalkSpeed);
        const i16 mainStep = static_cast<i16>(main < 0 ? -kWalkSpeed : kWalkSpeed);
        const i16 otherStep = static_cast<i16>(other / ticks);
        p.stepX = alongX ? mainStep : otherStep;
        p.stepY = alongX ? otherStep : mainStep;
        p.budget = (std::abs(p.stepX) + std::abs(p.stepY)) * ticks;
        m->flags = static_cast<u8>((m->flags & ~kAnimMask) | kMoving);
        m->hurtTicks = static_cast<u8>(4 * ticks);
        auto sign = [](i32 v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
        p.direction = FacingOfMovement(sign(p.stepX), sign(p.stepY));
        PlanTurn(p, *m);
        break;
    }
    default: break;
    }
}

// ---------------------------------------------------------------------------------------------
// The tick.

bool CNearPeople::MoveToNeighbour(CNearPerson& p, i32 dx, i32 dy) {
    const i32 nx = p.cellX + dx, ny = p.cellY + dy;
    if (nx < 0 || ny < 0 || nx > 34 || ny > 34 || !IsFreeForPeople(nx, ny)) return false;
    CMonster* m = Creature(p);
    if (!m) return false;
    CCellWindow& window = host_.Window();
    window.RemoveCreatureFromCell(p.section, *m);
    CMapCell* to = window.Cell(nx, ny);
    to->creature[0] = m->id;
    m->x = static_cast<u8>(m->x + dx);
    m->y = static_cast<u8>(m->y + dy);
    p.cellX = static_cast<i8>(nx);
    p.cellY = static_cast<i8>(ny);
    i32 px = 0, py = 0;
    host_.GetPlayerCell(px, py);
    if (nx == px || ny == py || nx - dx == px || ny - dy == py) host_.RefreshAfterChange();
    return true;
}

void CNearPeople::WalkStep(CNearPerson& p, CMonster& m) {
    if (p.turnVia == 255 && m.hurtTicks % 4 == 0) {
        p.posX += p.stepX;
        p.posY += p.stepY;
        i32 dx = 0, dy = 0;
        if (p.posX < 0) dx = -1;
        if (p.posX > 0xFFFF) dx = 1;
        if (p.posY < 0) dy = -1;
        if (p.posY > 0xFFFF) dy = 1;
        if (dx != 0 || dy != 0) {
            if (!MoveToNeighbour(p, dx, dy)) {
                p.posX -= p.stepX;
                p.posY -= p.stepY;
                p.stepX = p.stepY = 0;
                p.state = kPersonUndecided;
                m.flags = static_cast<u8>(m.flags & ~kAnimMask);
                return;
            }
            p.posX -= dx * 65536;
            p.posY -= dy * 65536;
        }
        if (CCellObject* sprite = host_.SpriteOf(m)) {
            sprite->x = static_cast<i16>(static_cast<u16>(p.posX));
            sprite->y = static_cast<i16>(static_cast<u16>(p.posY));
        }
    }
    p.budget -= std::abs(p.stepX) + std::abs(p.stepY);
    if (p.budget <= 0) {
        p.stepX = p.stepY = 0;
        p.state = kPersonUndecided;
        m.flags = static_cast<u8>(m.flags & ~kAnimMask);
    }
}

void CNearPeople::Update() {
    for (size_t i = 0; i < people_.size(); ++i) {
        CNearPerson& p = *people_[i];
        CMonster* m = Creature(p);
        if (!m) continue;
        if (p.state == kPersonUndecided) {
            p.marked = true;
            Decide(p);
            if (p.marked) StartAction(p);
            p.marked = false;
        }
        if (p.turnVia != 255) {
            SetFacing(*m, p.turnVia);
            if (p.turnTicks > 0) --p.turnTicks;
            if (p.turnTicks == 0) p.turnVia = 255;
        } else {
            SetFacing(*m, p.direction);
        }
        switch (p.state) {
        case kPersonWalking: WalkStep(p, *m); break;
        case kPersonStanding:
            p.budget -= 409;
            if (p.budget <= 0) p.state = kPersonUndecided;
            break;
        case kPersonTurning:
            p.budget -= 2048;
            p.state = kPersonStanding;
            break;
        default: break;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Day and night.

void CNearPeople::RemoveScheduledPeople(bool clearLists) {
    if (clearLists) {
        people_.clear();
        nearestSection = nullptr;
        nearestId = 0;
    }
    CCellWindow& window = host_.Window();
    for (i32 y = 0; y < CCellWindow::kSize; ++y)
        for (i32 x = 0; x < CCellWindow::kSize; ++x) {
            CMapCell* cell = window.Cell(x, y);
            CMapSection* section = window.SectorSection(x, y);
            if (!cell || !section) continue;
            for (int s = 1; s >= 0; --s) {
                const u16 id = cell->creature[s];
                const CMonster* m = id ? section->FindMonster(static_cast<u8>(id)) : nullptr;
                if (!m || !CCreatures::IsPerson(*m) || CCreatures::IsObjectHidden(*section, *m)) continue;
                window.RemoveCreatureFromCell(section, *m);
                Drop(section, m->id);
            }
        }
}

void CNearPeople::PlaceScheduledPeople() {
    CCellWindow& window = host_.Window();
    for (i32 piece = 0; piece < 9; ++piece) {
        CMapSection* section = window.PieceSection(piece);
        if (!section) continue;
        bool again = false;
        for (i32 earlier = 0; earlier < piece; ++earlier) again |= window.PieceSection(earlier) == section;
        if (again) continue;
        for (CMonster& m : section->monsters) {
            if (!CCreatures::IsPerson(m) || CCreatures::IsObjectHidden(*section, m)) continue;
            i32 wx = 0, wy = 0;
            if (!window.SectionToWindowCell(section, m.x, m.y, wx, wy)) continue;
            const CMapCell* cell = window.Cell(wx, wy);
            if (cell && (cell->creature[0] == m.id || cell->creature[1] == m.id)) continue;
            window.PlaceObjectNear(section, m, m.x, m.y);
        }
    }
}
