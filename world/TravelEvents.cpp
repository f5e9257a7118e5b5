#include "world/TravelEvents.h"

#include <cstdio>

#include "data/MapSection.h"
#include "world/Player.h"

u16 CTravelEvents::CurrentFlags() {
    const CMapSection* s = host_.GetCurrentSection();
    return s ? s->flags : 0;
}

void CTravelEvents::OnMarkEvent() {
    const u16 flags = CurrentFlags();
    if (flags & kNoMarking)
        Say("Mark is denied on this map.");
    else if (flags & kNoTeleport)
        Say("Teleport magic is denied on this map.");
    else
        host_.OpenMarkRecallDialog(true);
}

void CTravelEvents::OnRecallEvent() {
    if (CurrentFlags() & kNoTeleport)
        Say("Teleport magic is denied on this map.");
    else if (host_.GetPlayer().HasMarkedPosition())
        host_.OpenMarkRecallDialog(false);
    else
        Say("You haven't marked any positions to recall.");
}

void CTravelEvents::OnTownPortalEvent() {
    if (CurrentFlags() & kNoTeleport) {
        Say("Teleport magic is denied on this map.");
        return;
    }
    i32 x = 0, y = 0;
    host_.GetPlayerWorldPosition(x, y);
    const i32 px = x / 21, py = y / 21;
    auto tryPiece = [&](i32 sx, i32 sy) {
        CMapSection* s = host_.FindSectionAt(sx, sy);
        if (!s || !(s->flags & kTownPortalTarget) || !s->GetName()) return false;
        const std::string name = std::string(s->GetName()) + "townportal";
        if (!s->FindPlacementByName(name.c_str())) return false;
        host_.PostKeywordTransitionEvent(name.c_str(), 1);
        return true;
    };
    // Rings around the player's own piece, nearest first: the row above, the row below, then the
    // columns on the left and the right without their corners.
    for (i32 r = 1; r <= kLastRing; ++r) {
        for (i32 sx = px - r; sx <= px + r; ++sx)
            if (tryPiece(sx, py - r)) return;
        for (i32 sx = px - r; sx <= px + r; ++sx)
            if (tryPiece(sx, py + r)) return;
        for (i32 sy = py - r + 1; sy <= py + r - 1; ++sy)
            if (tryPiece(px - r, sy)) return;
        for (i32 sy = py - r + 1; sy <= py + r - 1; ++sy)
            if (tryPiece(px + r, sy)) return;
    }
    Say("Teleport failed.");
}

void CTravelEvents::OnRechargeEvent() {
    if (host_.GetFightCountdown() == 0)
        host_.OpenEnchantDialog(0, true);
    else
        Say("You cannot recharge wands when there might be immediate threat.");
}

void CTravelEvents::OnEnchantEvent(u16 item) {
    if (host_.GetFightCountdown() == 0)
        host_.OpenEnchantDialog(item, false);
    else
        Say("You cannot enchant items when there might be immediate threat.");
}

std::string CTravelEvents::ExamineText(const CCreatureFacts& f, u32 level) {
    std::string text;
    char line[160];
    if (f.person) {
        text = f.name + "\r";
        if (level > 20) {
            std::snprintf(line, sizeof line, "Perception: %u", f.perception);
            text += line;
        }
        return text;
    }
    text = f.name;
    std::snprintf(line, sizeof line, "\rLevel: %u\r", f.level);
    text += line;
    if (level < 20)
        std::snprintf(line, sizeof line, "Hp: %u\r", f.hp);
    else
        std::snprintf(line, sizeof line, "Hp: %u/%u\r", f.hp, f.maxHp);
    text += line;
    if (level > 30) {
        std::snprintf(line, sizeof line, "Xp: %u\r", f.xp);
        text += line;
    }
    if (level > 40) {
        std::snprintf(line, sizeof line, "Str:%u, Dex:%u, End:%u, Int:%u\r", f.strength, f.dexterity, f.endurance,
                      f.intelligence);
        text += line;
    }
    if (level > 50) text += "Active effects:" + f.activeEffects;
    return text;
}

void CTravelEvents::OnExamineCreatureEvent(CMapSection* section, const CMonster& creature, u32 level) {
    CCreatureFacts facts;
    if (!host_.DescribeCreature(section, creature, facts)) return;
    Say(ExamineText(facts, level).c_str());
}
