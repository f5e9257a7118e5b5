// The player's steps and turns on the cell window, bumps against what blocks, and the cell events a
// step or a use sends: leave, enter and use.
#include <algorithm>

#include "data/CreatureCatalogue.h"
#include "data/MapSection.h"
#include "data/Spells.h"
#include "data/World.h"
#include "script/ScriptContext.h"
#include "ui/WidgetHost.h"
#include "world/Creatures.h"
#include "world/GameCreatures.h"
#include "world/GameScreen.h"
#include "world/GameMapObjects.h"
#include "world/MapInteractions.h"

namespace {

bool IsPerson(const CMonster& m) {
    const auto* type = static_cast<const CMonsterType*>(m.type);
    return type && type->kind == kCreaturePeople;
}

}  // namespace

bool CGameScreen::PlayerCellCentreIs(std::initializer_list<u8> codes) const {
    const CMapCell* cell = window.Cell(playerX, playerY);
    if (!cell || !viewWorld) return false;
    const u8 code = viewWorld->TypeCode(cell->centre);
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

CMapCell* CGameScreen::GetCellInDirection(i32 direction, i32& x, i32& y, i32& oppositeSide) {
    if (direction < 0) direction = static_cast<i32>(DirectionOfFacing(facing));
    direction &= 3;
    x = playerX + kDx[direction];
    y = playerY + kDy[direction];
    oppositeSide = (direction + 2) & 3;
    return window.Cell(x, y);
}

// The passability tests of the cell types: a door cell (a centre of kind 4 with the door flag) stands
// open when its door object is absent or active; a cell whose ground is of kind 5 is closed unless it
// is such an open door; kind-3 cells block across a strip of three.
bool CGameScreen::IsDoorCellOpen(i32 x, i32 y) const {
    const CMapCell* cell = window.Cell(x, y);
    if (!cell || !viewWorld || viewWorld->TypeCode(cell->centre) != typecode::kKind4 ||
        !(viewWorld->ViewFlags(cell->centre) & kObjectDoorFlag))
        return false;
    return IsObjectActive(x, y, cell->centreId);
}

bool CGameScreen::IsObjectActive(i32 x, i32 y, u8 id) const {
    CMapSection* at = window.SectorSection(x, y);
    const CPlacement* p = at && id ? at->FindPlacement(id) : nullptr;
    return !p || (p->flags & CPlacement::kVisible);
}

bool CGameScreen::IsBlockingTarget(i32 x, i32 y, i32 direction) {
    CMapCell* target = window.Cell(x, y);
    if (!target || !viewWorld) return true;
    auto kindOf = [this](u16 index) { return viewWorld->TypeCode(index); };
    auto isKind3 = [&](const CMapCell* c) {
        return c && (kindOf(c->layer1) == typecode::kKind3 || kindOf(c->layer2) == typecode::kKind3 ||
                     kindOf(c->centre) == typecode::kKind3);
    };
    if (isKind3(window.Cell(playerX, playerY)) && isKind3(target) && !IsDoorCellOpen(x, y) &&
        !(x == previousX && y == previousY)) {
        // The strip of three cells across the direction at the target.
        const i32 ax = kDy[direction] != 0 ? 1 : 0, ay = kDx[direction] != 0 ? 1 : 0;
        if (isKind3(window.Cell(x - ax, y - ay)) && isKind3(window.Cell(x + ax, y + ay))) return true;
    }
    if (kindOf(target->layer1) == typecode::kWall && !IsDoorCellOpen(x, y)) return true;
    // A centre object that is absent or active decides itself.
    if (target->centre == kNoCellIndex || !IsObjectActive(x, y, target->centreId)) return false;
    CMapSection* at = window.SectorSection(x, y);
    const CPlacement* p = at && target->centreId ? at->FindPlacement(target->centreId) : nullptr;
    return IsBlocking(target->centre, p);
}

bool CGameScreen::IsBlocking(u16 objectIndex, const CPlacement* placement) const {
    return viewWorld && viewWorld->IsBlocking(objectIndex, placement);
}

i32 CGameScreen::MoveStep(i32 direction) {
    CMapCell* own = window.Cell(playerX, playerY);
    if (own && viewWorld && viewWorld->TypeCode(own->centre) == typecode::kHeld) {
        CMapSection* at = window.SectorSection(playerX, playerY);
        const CPlacement* p = at && own->centreId ? at->FindPlacement(own->centreId) : nullptr;
        if (p && (p->level & 0xF000)) return 0;
    }
    if (direction < 0 || direction > 3 || !section) return 0;
    const i32 x = playerX + kDx[direction], y = playerY + kDy[direction];
    CMapCell* target = window.Cell(x, y);
    if (!target) return 0;

    bool blocked = player_ && player_->IsParalyzed();
    if (!blocked && player_) {
        const u32 capacity = static_cast<u32>(std::max(0, player_->GetCarryCapacity()));
        if (player_->GetCarriedWeight() > capacity * 3 / 2) {
            PostMessageEvent("You carry way too much - you can't move.", 1, nullptr);
            return 0;
        }
    }
    CMapSection* at = window.SectorSection(x, y);
    if (!blocked && (target->creature[0] || target->creature[1])) {
        // People step aside to a free neighbouring place; anything else stands in the way.
        for (u16 id : target->creature) {
            CMonster* m = id && at ? at->FindMonster(static_cast<u8>(id)) : nullptr;
            if (id && (!m || !IsPerson(*m))) blocked = true;
        }
        if (!blocked && at) {
            for (int slot = 1; slot >= 0; --slot) {
                CMonster* m = at->FindMonster(static_cast<u8>(target->creature[slot]));
                if (!m) continue;
                for (const auto& d : CCellWindow::kNeighbours) {
                    const i32 nx = x + d[0], ny = y + d[1];
                    if ((nx == playerX && ny == playerY) || window.SectorSection(nx, ny) != at) continue;
                    CMapCell* free = window.GetFreeCreatureCell(nx, ny, at);
                    if (!free) continue;
                    window.RemoveCreatureFromCell(at, *m);
                    free->creature[free->creature[0] == 0 ? 0 : 1] = m->id;
                    m->x = static_cast<u8>(m->x + d[0]);
                    m->y = static_cast<u8>(m->y + d[1]);
                    break;
                }
            }
        }
    }
    if (!blocked && !(target->creature[0] || target->creature[1])) {
        blocked = IsBlockingTarget(x, y, direction);
        const u16 flags = viewWorld ? viewWorld->ViewFlags(target->centre) : 0;
        const bool present = target->centre != kNoCellIndex && IsObjectActive(x, y, target->centreId);
        if (present && (flags & kObjectUsedWhenWalkedInto) && target->centreId != 0) {
            const i32 result = UseInFront(direction, 0);
            if (viewWorld->TypeCode(target->centre) != typecode::kUseStep) return result;
        }
        // A wall whose face towards the player holds a passage or a door used when walked into.
        const i32 face = (direction + 2) & 3;
        if (present && viewWorld && viewWorld->TypeCode(target->centre) == typecode::kWall &&
            target->side[face] != kNoCellIndex && target->sideId[face] != 0 &&
            (viewWorld->ViewFlags(target->side[face]) & kObjectUsedWhenWalkedInto))
            return UseInFront(direction, 0);
    }

    stepping = true;
    if (!blocked) {
        stepDx = kDx[direction] * 8192;
        stepDy = kDy[direction] * 8192;
        bump = false;
        bumpPause = bumpTravel = 0;
        previousX = playerX;
        previousY = playerY;
    } else {
        stepDx = kDx[direction] * 4000;
        stepDy = kDy[direction] * 4000;
        bumpTravel = bumpPause = 3;
        bump = true;
    }
    lastStepDirection = static_cast<u32>(direction);
    if (!blocked) ScanCreaturesForStep(x, y);
    if (!blocked) AdvanceMinute();
    return 0;
}

// One 25 ms phase of a step or a bump: the fraction moves; a cell border moves the cell.
void CGameScreen::StepPhase() {
    if (bumpTravel) {
        --bumpTravel;
    } else if (bumpPause) {
        --bumpPause;
        return;
    }
    const bool alongX = stepDx != 0;
    u32& fraction = alongX ? fractionX : fractionY;
    i32& cell = alongX ? playerX : playerY;
    const i32 delta = alongX ? stepDx : stepDy;
    const i32 next = static_cast<i32>(fraction) + delta;
    if (next == 0x8000) {
        fraction = 0x8000;
        stepping = bump = false;
        return;
    }
    if (next <= 0 || next >= 0x10000) {
        const i32 towards = next <= 0 ? -1 : 1;
        fraction = next <= 0 ? static_cast<u32>(next + 0x10000) : static_cast<u32>(next - 0x10000);
        if (window.IsSurface() && ((towards < 0 && cell == 7) || (towards > 0 && cell == 27))) {
            SwitchSurfacePiece(alongX ? 0 : 1, towards);
        } else {
            cell += towards;
        }
        window.SetPlayer(playerX, playerY, static_cast<u32>(facing));
        PlayFootstep(false);
        if (!window.IsSurface()) footstepCountdown = 2;
        return;
    }
    fraction = static_cast<u32>(next);
}

// Leaving the current surface piece: the neighbour in that direction becomes the current piece and
// the window is filled around it; without one the player walks on to the window's margin.
void CGameScreen::SwitchSurfacePiece(i32 axis, i32 towards) {
    CMapSection* next =
        world ? world->FindNeighbourSection(section, axis == 0 ? towards : 0, axis == 1 ? towards : 0)
              : nullptr;
    i32& cell = axis == 0 ? playerX : playerY;
    if (!next) {
        cell += towards;
        return;
    }
    section = next;
    if (world) world->currentSection = next;
    cell = towards < 0 ? 27 : 7;
    // The window moves by a piece: the cell the step left lies 21 cells further back in it, in the
    // margin, and still hears that the player left.
    i32& previous = axis == 0 ? previousX : previousY;
    if (previous >= 0) previous -= towards * 21;
    RefreshView();
    if (CScriptContext* context = host_ ? host_->GetScriptContext() : nullptr) {
        CMapSection* at = nullptr;
        i32 sx = 0, sy = 0;
        if (window.WindowToSectionCell(playerX, playerY, at, sx, sy))
            context->FindOrAddStateRecord(at, 1, playerX, playerY, -1);
    }
}

void CGameScreen::EndOfStep() {
    window.SetPlayer(playerX, playerY, static_cast<u32>(facing));
    window.MarkExploredCells();
    SendLeaveEvent();
    SendArriveEvent();
    if (world && section && section->IsSurface()) {
        CMapSection* at = nullptr;
        i32 sx = 0, sy = 0;
        if (window.WindowToSectionCell(playerX, playerY, at, sx, sy))
            world->SetWorldPositionFromSection(at, sx, sy, gameClock.minutes);
    }
    UpdateSurroundings();
    viewChanged = true;
}

i32 CGameScreen::SendLeaveEvent() {
    if (previousX < 0 || previousY < 0) return 0;
    CMapCell* cell = window.Cell(previousX, previousY);
    if (!cell) return 0;
    return TriggerCellEvent(kEventLeave, kTargetCentre | kTargetSide,
                            window.SectorSection(previousX, previousY), cell, previousX, previousY, -1, false,
                            nullptr);
}

void CGameScreen::SendArriveEvent() {
    UpdateShelter();
    effectTimer = 100;
    CMapCell* cell = window.Cell(playerX, playerY);
    if (!cell) return;
    TriggerCellEvent(kEventEnter, kTargetCentre | kTargetSide, window.SectorSection(playerX, playerY), cell,
                     playerX, playerY, -1, false, nullptr);
}

CMonster* CGameScreen::PersonFacedInOwnCell(int slot, CMapSection** atOut) const {
    const CMapCell* cell = window.Cell(playerX, playerY);
    CMapSection* at = cell ? window.SectorSection(playerX, playerY) : nullptr;
    if (!at || slot < 0 || slot > 1 || !cell->creature[slot] || !creatures) return nullptr;
    CMonster* m = cell->creature[slot] <= 255 ? at->FindMonster(static_cast<u8>(cell->creature[slot])) : nullptr;
    if (!m || !m->Type() || !CCreatures::IsPerson(*m)) return nullptr;
    const CCellObject* sprite = creatures->SpriteOf(*m);
    if (!sprite) return nullptr;
    // The sprite's place inside the cell, 0x8000 its middle; the player looks across the middle.
    const u16 sx = static_cast<u16>(sprite->x), sy = static_cast<u16>(sprite->y);
    bool faced = false;
    switch (DirectionOfFacing(facing)) {
    case 0: faced = sy < 0x8000; break;  // north
    case 1: faced = sx > 0x8000; break;  // east
    case 2: faced = sy > 0x8000; break;  // south
    default: faced = sx < 0x8000; break;  // west
    }
    if (!faced) return nullptr;
    if (atOut) *atOut = at;
    return m;
}

i32 CGameScreen::UseInFront(i32 direction, u32 rightSide) {
    // A person sharing the player's cell on the side he looks at takes the use first.
    CMapSection* own = nullptr;
    if (PersonFacedInOwnCell(0, &own)) {
        CMapCell* cell = window.Cell(playerX, playerY);
        const i32 result =
            TriggerCellEvent(kEventUse, kTargetCreature1, own, cell, playerX, playerY, -1, false, nullptr);
        if (result == 0 && modalChild) modalChild->Draw();
        return result;
    }
    i32 x = 0, y = 0, side = 0;
    CMapCell* cell = GetCellInDirection(direction, x, y, side);
    if (!cell) return 0;
    const u32 targets = rightSide ? 15u : 7u;
    const i32 result =
        TriggerCellEvent(kEventUse, targets, window.SectorSection(x, y), cell, x, y, side, false, nullptr);
    if (result == 0 && modalChild) modalChild->Draw();
    return result;
}

// The ground under the player sounds: bare feet on anything but a kind-3 ground when the footwear slot
// is empty, else the ground's own sound for the foot (right on cells whose x + y is even).
void CGameScreen::PlayGroundSound(i32 x, i32 y) {
    const CMapCell* cell = window.Cell(x, y);
    if (!cell || !mapObjects || !viewWorld) return;
    const CMapObjectTable& table = viewWorld->Objects();
    mapObjects->Interactions().PlayGroundSound(table, *cell, table.At(window.defaultGround), x, y);
}

void CGameScreen::PlayFootstep(bool quiet) {
    const CMapCell* cell = window.Cell(playerX, playerY);
    if (!cell || !viewWorld) return;
    u16 ground = kNoCellIndex;
    if (viewWorld->TypeCode(cell->centre) == typecode::kKind4 && viewWorld->ObjectSound(cell->centre, 0) &&
        IsObjectActive(playerX, playerY, cell->centreId))
        ground = cell->centre;
    else if (cell->layer2 != kNoCellIndex)
        ground = cell->layer2;
    else if (cell->layer1 != kNoCellIndex)
        ground = cell->layer1;
    else
        ground = window.defaultGround;
    const bool right = ((playerX + playerY) & 1) == 0;
    const i32 volume = quiet ? 6 : 10;
    const bool barefoot = !player_ || player_->equipment[11] == nullptr;
    if (viewWorld->TypeCode(ground) != typecode::kKind3 && barefoot) {
        PlaySound(right ? "bsnd_stepbarefoot-right" : "bsnd_stepbarefoot-left", volume);
        return;
    }
    const char* own = viewWorld->ObjectSound(ground, right ? 0 : 1);
    PlaySound(own ? own : viewWorld->ObjectSound(ground, 0), volume);
}

i32 CGameScreen::TriggerCellEvent(u32 code, u32 targets, CMapSection* at, CMapCell* cell, i32 x, i32 y,
                                  i32 side, bool testOnly, bool* found, i32 amount, const CSpell* spell) {
    if (found) *found = false;
    if (!cell || !objects_ || !at) return 0;
    // A creature first: the second slot when asked for, else the first.
    u8 creature = 0;
    for (int slot : {1, 0}) {
        const u32 bit = slot == 1 ? kTargetCreature2 : kTargetCreature1;
        const u16 id = cell->creature[slot];
        if (creature || !(targets & bit) || id == 0 || id > 255) continue;
        const CMonster* m = at->FindMonster(static_cast<u8>(id));
        const CPlacement* owner = m && m->objectId ? at->FindPlacement(m->objectId) : nullptr;
        if (!m || (owner && !(owner->flags & CPlacement::kVisible))) continue;
        if (objects_->CreatureEventMask(*at, static_cast<u8>(id)) & code) creature = static_cast<u8>(id);
    }
    u16 object = kNoCellIndex;
    CPlacement* placement = nullptr;
    if (!creature) {
        if (cell->centre == kNoCellIndex) return 0;
        CPlacement* centre = cell->centreId ? at->FindPlacement(cell->centreId) : nullptr;
        // A placed object takes events only while it is active (its first flag bit).
        if (centre && !(centre->flags & CPlacement::kVisible)) return 0;
        const bool wall = viewWorld && viewWorld->TypeCode(cell->centre) == typecode::kWall;
        if (wall && side >= 0 && side < 4 && cell->side[side] != kNoCellIndex) {
            if (!(targets & kTargetSide)) return 0;
            placement = cell->sideId[side] ? at->FindPlacement(cell->sideId[side]) : nullptr;
            if (placement && !(placement->flags & CPlacement::kVisible)) return 0;
            object = cell->side[side];
        } else {
            if (!(targets & kTargetCentre)) return 0;
            placement = centre;
            object = cell->centre;
            side = -1;
        }
        if (!(objects_->ObjectEventMask(object) & code)) return 0;
        if (testOnly) {
            if (found) *found = true;
            return 0;
        }
    } else if (testOnly) {
        return 0;
    }

    CScriptContext* context = host_ ? host_->GetScriptContext() : nullptr;
    bool changed = false;
    i32 result = 0;
    if (creature) {
        if (context) context->SetupObjectEvent(static_cast<i32>(code), nullptr, at, cell, x, y);
        result = objects_->HandleCreatureEvent(code, *at, creature, x, y, changed);
        side = -1;
    } else {
        // The placed object is the script's "(this)"; a blow or a spell on it hands on its amount.
        if (context) {
            context->SetupEvent(static_cast<i32>(code), objects_->PlacedObject(object, at, placement), at, cell, x,
                                y, side, 1, 1);
            context->SetDamage(amount);
            if (spell) context->SetSpellId(spell->GetName());
        }
        const char* script = objects_->ObjectScript(object, placement);
        if (script && *script && context) {
            triggerScript.Assign(script);
            result = context->RunScriptById(script);
        } else
            result = objects_->HandleObjectEvent(code, at, object, placement, x, y, side, changed);
    }
    // The changed-cell records name window cells, as the scripts' do.
    if (changed && context) context->FindOrAddStateRecord(at, 1, x, y, side);
    rebuildRequested = true;
    if (IsCurrentScreen()) {
        RebuildChangedCells();
        Draw();
    }
    return result;
}
