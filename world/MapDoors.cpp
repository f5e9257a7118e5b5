#include "world/MapDoors.h"

#include <algorithm>
#include <string>

#include "data/MapCells.h"
#include "data/MapSection.h"
#include "data/Spells.h"
#include "view3d/ViewCaches.h"
#include "world/MapObjectHost.h"
#include "world/Player.h"

using namespace mapobject;

namespace {

// The player's disarm value: the disarm skill with its fortifying effects.
i32 DisarmValue(IMapObjectHost& host) { return host.GetPlayer().GetSkillValue(kSkillDisarm); }

bool CarriesLockPick(const CPlayer& player) {
    for (const auto& item : player.items)
        if (item && item->type && item->type->itemClass == kItemKey && item->type->subclass == 2) return true;
    return false;
}

// The light of a flame laid over a door or a fire: 64 and 16, 32 or 64 more.
void AddFlameLight(IMapObjectHost* host, u16& light) {
    const u32 flicker = 64u + (16u << (host ? host->Random(3) : 0));
    light = static_cast<u16>(std::min<u32>(light + flicker, 0xFFFF));
}

}  // namespace

// ---- CDoor ----

bool CDoor::IsOpen(const CPlacement& p) { return (p.flags & (kClosed | kOpening | kClosing)) == 0; }

bool CDoor::IsBlocking(const CPlacement* p) const {
    // Without a placement the door stands closed.
    if (!p) return true;
    return (p->flags & (kClosing | kClosed)) != 0 && (p->flags & kOpening) == 0;
}

void CDoor::Open(CPlacement& p, i32 x, i32 y) const {
    p.flags = static_cast<u8>((p.flags & ~kClosing) | kOpening);
    PlayAt(Sound(1), x, y);
}

void CDoor::Close(CPlacement& p, i32 x, i32 y) const {
    p.flags = static_cast<u8>((p.flags & ~kOpening) | kClosing);
    PlayAt(Sound(2), x, y);
}

bool CDoor::DescribeCentre(const CPlacement* p, const CMapCell& cell, CBlockCacheEntry& e, u16& light) const {
    e.kind = 3;
    // The first frame is the doorway across the cell, the second the leaf that fills its opening, a
    // third a second leaf (the two part in the middle) and a fourth a decal on the doorway. How far
    // the leaf has moved is the cell's run-time state, 0 shut .. 63 open.
    e.picture[3] = PictureId(0);
    e.picture[1] = PictureId(1);
    e.picture[2] = PictureId(2);
    e.picture[0] = PictureId(3);
    const i32 amount = p && IsOpen(*p) ? kFullyOpen : (cell.state & 63);
    e.model = static_cast<u8>(amount << 2);
    e.x[0] = static_cast<i16>(typeCode == 22 ? 55 : 43);
    e.y[0] = static_cast<i16>(typeCode == 22 ? 71 : 43);
    e.x[1] = static_cast<i16>(Param(4));
    e.y[1] = static_cast<i16>(Param(5));
    e.heightFraction = kNeutralDepth;
    e.flags = static_cast<u16>(p && (p->flags & kMarked) ? 1 : 0);
    if (const CMapObject* flame = Flame(); flame && flame->frameCount && IsNightOrUnderground() && host) {
        const u32 counter = host->GetAnimationCounter();
        e.picture[4] = flame->PictureId(counter % flame->frameCount);
        e.picture[5] = flame->PictureId((counter + 2) % flame->frameCount);
        for (i32 k = 0; k < 4; ++k) e.palette[k] = Param(k);
        AddFlameLight(host, light);
    }
    return true;
}

void CDoor::UpdateCentreLight(CPlacement* p, const CMapCell& cell, i32, i32, CBlockCacheEntry& e, u16& light) {
    DescribeCentre(p, cell, e, light);
}

const char* CDoor::GetAmbientSound(const CPlacement*, const CMapCell&) const {
    return Flame() && IsNightOrUnderground() ? "bsnd_fire" : nullptr;
}

void CDoor::AnimateTick(CMapSection*, CPlacement* p, const CMapCell&, i32 x, i32 y, u16& word,
                        CBlockCacheEntry* entry) {
    if (!p) return;
    i32 phase = (word >> 10) & 63;
    auto store = [&](i32 v) { word = static_cast<u16>((word & 0x03FF) | (static_cast<u32>(v) << 10)); };
    auto leaf = [&]() {
        if (entry && Param(4) && Param(5)) {
            entry->x[1] = static_cast<i16>(Param(4));
            entry->y[1] = static_cast<i16>(Param(5));
        }
    };
    if (p->flags & kOpening) {
        if (phase >= kFullyOpen) {
            p->flags &= static_cast<u8>(~(kOpening | kClosed));
            return;
        }
        leaf();
        store(std::min(phase + PhaseStep(), kFullyOpen));
        return;
    }
    if (p->flags & kClosing) {
        if (phase <= 0) {
            PlayAt("bsnd_ddoorcloseok", x, y);
            p->flags = static_cast<u8>((p->flags & ~kClosing) | kClosed);
            return;
        }
        leaf();
        store(std::max(phase - PhaseStep(), 0));
        return;
    }
    if ((p->flags & kMarked) && host) {
        const i32 countdown = host->GetMarkCountdown();
        if (countdown > 0) {
            host->SetMarkCountdown(countdown - 1);
            if (entry) entry->flags |= 1;
        } else {
            p->flags &= static_cast<u8>(~kMarked);
            if (entry) entry->flags &= static_cast<u16>(~1u);
        }
    }
}

i32 CDoor::ExecuteCommand(CMapSection* section, CPlacement* p, i32 x, i32 y, i32 command, const ScriptArgs& args,
                          ScriptResult& result, bool& redraw) {
    redraw = false;
    if (!p) return CMapObject::ExecuteCommand(section, p, x, y, command, args, result, redraw);
    const i32 value = args[0].GetNumber();
    switch (command) {
    case 102: result = std::make_unique<CScriptValue>((p->flags & kClosed) ? 0 : 1); return 0;
    case 103:
        if (p->flags & (kClosing | kClosed)) Open(*p, x, y);
        return 0;
    case 104:
        if (!(p->flags & kClosed) || (p->flags & kOpening)) Close(*p, x, y);
        return 0;
    case 106: SetLockLevel(p->level, static_cast<u32>(std::clamp(value, 0, 110))); return 0;
    case 108: SetTrapLevel(p->level, static_cast<u32>(std::clamp(value, 0, 101))); return 0;
    default: return CMapObject::ExecuteCommand(section, p, x, y, command, args, result, redraw);
    }
}

i32 CDoor::HandleEvent(i32 code, CMapSection* section, CPlacement* p, CMapCell* cell, i32 x, i32 y, bool& redraw) {
    redraw = false;
    if (!p || !host) return 0;
    if (code == kEventUse && cell) return Use(section, *p, *cell, x, y);
    if (code == kEventSpell) Spell(*p);
    return 0;
}

i32 CDoor::Use(CMapSection* section, CPlacement& p, const CMapCell& cell, i32 x, i32 y) {
    const u8 mode = DoorMode(cell);
    if (!(p.flags & kClosed)) {
        // Open, opening or closing: only a door opened by hand closes again.
        if (mode == 2) {
            Close(p, x, y);
        } else {
            Play("bsnd_ddoorlocked");
            host->ShowGameMessage("You can't close the door.");
        }
        return 0;
    }
    if (mode == 0 || mode == 3) {
        // Mode 3 does nothing; mode 0 says there is no way to open it.
        if (mode == 0) {
            host->ShowGameMessage("You can't see any method of opening this door.");
            Play("bsnd_ddoorlocked");
        }
        return 0;
    }
    CPlayer& player = host->GetPlayer();
    const i32 s = DisarmValue(*host);
    const i32 t = TrapLevel(p.level) * 10;
    const i32 l = LockLevel(p.level) * 10;
    const bool noticed = t > 0 && s >= t / 3;
    CDoorPrompt prompt;
    prompt.object = this;
    prompt.placement = &p;
    prompt.section = section;
    prompt.x = x;
    prompt.y = y;
    if (mode == 2 || l == 0) {
        if (!noticed) {
            Open(p, x, y);
            return 0;
        }
        prompt.text = "The door seems to be trapped.";
        if (s < t) prompt.text += "\rYour disarm skill may not be enough.";
        prompt.open = 1;
        prompt.disarm = 1;
        host->PostDoorPrompt(prompt);
        return 0;
    }
    const char* key = p.text;
    if (key && *key && player.CountItems(key) > 0) {
        Play("bsnd_lockout");
        player.RemoveItems(key, 1);
        Open(p, x, y);
        return 0;
    }
    const bool pick = CarriesLockPick(player);
    prompt.text = pick ? "The door is locked,\rand you don't have the right key."
                       : "The door is locked,\rand you don't have the right key nor any lockpicks.";
    if (noticed) {
        prompt.text += "\rAlso, it seems to be trapped...";
        if (s < t) prompt.text += "\rYour disarm skill may not be enough.";
    }
    Play("bsnd_ddoorlocked");
    if (pick || noticed) {
        prompt.pick = pick ? 1 : 0;
        prompt.disarm = noticed ? 1 : 0;
        host->PostDoorPrompt(prompt);
    } else {
        host->PostMessageEvent(prompt.text.c_str(), 1);
    }
    return 0;
}

void CDoor::Spell(CPlacement& p) {
    i32 strength = 0;
    const CSpell* spell = host->GetEventSpell(strength);
    if (!spell) return;
    i32 unlock = 0, disarm = 0;
    for (i32 i = 0; i < spell->effects.Count(); ++i) {
        const CEffect* e = spell->effects.At(i);
        if (!e || (e->kind != 44 && e->kind != 45)) continue;
        const i32 power = e->amount + e->amountPerLevel * strength / 100;
        i32& best = e->kind == 45 ? unlock : disarm;
        best = std::max(best, power);
    }
    const i32 t = TrapLevel(p.level) * 10;
    const i32 l = LockLevel(p.level) * 10;
    bool changed = false;
    if (disarm > 0 && t > 0 && t < 101 && static_cast<i32>(host->Random(disarm / 10)) + disarm * 9 / 10 >= t) {
        SetTrapLevel(p.level, 0);
        changed = true;
    }
    // A lock of 110 cannot be opened by magic.
    if (unlock > 0 && l > 0 && l < 101 && static_cast<i32>(host->Random(unlock / 10)) + unlock * 9 / 10 >= l) {
        SetLockLevel(p.level, 0);
        changed = true;
    }
    if (changed) {
        p.flags |= kMarked;
        host->SetMarkCountdown(10);
    }
}

// ---- town doors ----

bool CSimpleDoor::DescribeSide(const CPlacement*, const CMapCell&, CWallCacheEntry& e, i32 side) const {
    DescribeEdgePicture(e, side, 0);
    return true;
}

bool CSimpleDoor::DescribeSideOverlay(const CPlacement*, const CMapCell&, CWallCacheEntry& e, i32 side) const {
    // Above the door: its second picture (a sign or a lintel), when it has one.
    DescribeEdgePicture(e, side, 1);
    return true;
}

i32 CSimpleDoor::HandleEvent(i32 code, CMapSection* section, CPlacement* p, CMapCell*, i32, i32, bool& redraw) {
    redraw = false;
    if (code != kEventUse || !p || !host) return 0;
    i32 screen = 0;
    if (!host->TalkToObjectNpc(section, *p, screen)) {
        Play("bsnd_cdoorclosed");
        return 0;
    }
    Play("bsnd_cdooropen");
    return screen;
}

bool CEntranceObject::DescribeSide(const CPlacement*, const CMapCell&, CWallCacheEntry& e, i32 side) const {
    DescribeEdgePicture(e, side, 0);
    return true;
}

i32 CEntranceObject::HandleEvent(i32 code, CMapSection* section, CPlacement* p, CMapCell*, i32, i32, bool& redraw) {
    redraw = false;
    if (!p || !host) return 0;
    bool attack = code == kEventHit;
    if (code == kEventSpell) {
        i32 strength = 0;
        const CSpell* spell = host->GetEventSpell(strength);
        // Only a harmful spell is an attack on the people inside.
        attack = spell && spell->HasEffectOutsideKindSet();
    }
    if (attack) {
        host->ShowGameMessage("You've tried to attack peaceful people!");
        // The player reports "You have committed a crime." itself.
        host->GetPlayer().AddCrime(5);
        return 0;
    }
    if (code != kEventUse) return 0;
    i32 screen = 0;
    host->TalkToObjectNpc(section, *p, screen);
    return screen;
}

// ---- CTrap ----

bool CTrap::DescribeCentre(const CPlacement*, const CMapCell& cell, CBlockCacheEntry& e, u16&) const {
    (void)cell;
    e.kind = 13;
    // The blades in the middle of the cell, half a level under the floor (a signed height of -32768)
    // until the trap springs. The cell's ground picture is a texture, not a picture to stand there.
    e.picture[0] = PictureId(0);
    e.heightFraction = kNeutralDepth;
    e.x[0] = e.y[0] = static_cast<i16>(static_cast<u16>(512 << 6));
    e.undersideTexture = kNeutralDepth;
    e.flags = 39;
    return true;
}

void CTrap::UpdateCentreLight(CPlacement* p, const CMapCell& cell, i32 x, i32 y, CBlockCacheEntry& e, u16& light) {
    if (!p) return;
    const u8 counter = SpringCounter(p->level);
    if (counter == 0) return;
    i32 px = -1, py = -1;
    if (host) host->GetPlayerCell(px, py);
    if (counter >= 7 || px != x || py != y) {
        SetSpringCounter(p->level, 0);
        DescribeCentre(p, cell, e, light);
        return;
    }
    e.kind = 13;
    // The blades rise from below the floor.
    const i32 depth = counter == 1 ? -8000 : -5000 * counter;
    e.heightFraction = static_cast<u16>(static_cast<i16>(std::max(depth, -32768)));
    if (counter == 1) Play("bsnd_trapback");
    SetSpringCounter(p->level, counter + 1u);
}

i32 CTrap::HandleEvent(i32 code, CMapSection*, CPlacement* p, CMapCell*, i32, i32, bool& redraw) {
    redraw = false;
    if (code != kEventStep || !p || !host || (p->flags & kClosed)) return 0;
    SetSpringCounter(p->level, 1);
    CPlayer& player = host->GetPlayer();
    i32 damage = DamageLevel(p->level) * 10 - player.GetArmorClass(nullptr, 1);
    if (damage <= 0) {
        damage = 0;
        if (host->Random(100) > 50) damage = static_cast<i32>(host->Random(5));
    }
    if (damage > 0) {
        player.AddHp(-damage, true);
        host->ShowPlayerHit(damage);
    }
    Play("bsnd_trap");
    return 0;
}
