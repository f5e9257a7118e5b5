#include "world/GameClock.h"

#include "data/MapSection.h"
#include "data/World.h"
#include "world/Player.h"

void ClearMapObjectMarks(CWorld& world) {
    for (u32 i = 0; i < world.SectionCount(); ++i)
        for (CPlacement& p : world.SectionAt(i)->placements) p.flags &= 0x7F;
}

namespace {

int ClampToInt(u32 span) { return span > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(span); }

void FormatClock(CStr& out, u32 day, u32 hour, u32 minute, bool withDay) {
    const u32 shown = hour % 12 == 0 ? 12 : hour % 12;
    const char* half = hour < 12 ? "am" : "pm";
    if (withDay)
        out.Format("Day %u, %u:%02u %s", day, shown, minute, half);
    else
        out.Format("%u:%02u %s", shown, minute, half);
}

}  // namespace

void CGameClock::FormatDateTime(CStr& out) const { FormatClock(out, GetDay(), GetHour(), GetMinute(), true); }

void CGameClock::FormatTime(CStr& out) const { FormatClock(out, GetDay(), GetHour(), GetMinute(), false); }

void CGameClock::Add(u64 span) {
    const u64 room = 0xFFFFFFFFull - minutes;
    minutes += static_cast<u32>(span < room ? span : room);
}

void CGameClock::TickPlayer(u32 span, bool oneMinute) {
    if (!player_) return;
    if (oneMinute) {
        if (player_->GetPoisonStrength() > 0) player_->ApplyPoisonDamage();
        player_->ApplyDiseaseDamage(1);
        player_->WearByLoad();
        player_->TickEffects(1);
        return;
    }
    player_->TickEffects(ClampToInt(span));
}

void CGameClock::AdvanceMinute() {
    const u32 day = GetDay();
    Add(1);
    TickPlayer(1, true);
    host_.UpdateCreaturesPerMinute();
    CheckHourChange();
    weather_.Update(false, host_.CurrentSection(), minutes);
    if (GetDay() != day) host_.ClearAllObjectMarks();
}

void CGameClock::CheckHourChange() {
    if (inPrison && minutes - prisonArrival >= kPrisonMinutes) {
        inPrison = false;
        host_.ServeSentence();
    }
    if (GetMinute() != 0) return;
    const u32 hour = GetHour();
    if (hour == 0) host_.ClearAllObjectMarks();
    if (hour == 6 || hour == 8 || hour == 20 || hour == 22) host_.ReloadSkyAndCaches();
}

void CGameClock::AdvanceClockHours(u32 hours) {
    const u32 day = GetDay();
    const bool night = IsNight();
    const u32 before = minutes;
    Add(static_cast<u64>(hours) * 60);
    const u32 span = minutes - before;
    if (player_) {
        player_->TickEffects(ClampToInt(span));
        player_->ApplyDiseaseDamage(ClampToInt(span));
    }
    host_.UpdateCreaturesPerMinute();
    const bool newDay = GetDay() != day;
    if (newDay) host_.ClearAllObjectMarks();
    weather_.Update(true, host_.CurrentSection(), minutes);
    if (newDay || IsNight() != night) host_.ReloadSkyAndCaches();
}

void CGameClock::AdvanceClock(u32 days, u32 hours, u32 mins) {
    const u32 day = GetDay();
    const u32 before = minutes;
    Add((static_cast<u64>(days) * 24 + hours) * 60 + mins);
    TickPlayer(minutes - before, false);
    host_.UpdateCreaturesPerMinute();
    if (GetDay() != day) host_.ClearAllObjectMarks();
    weather_.Update(true, host_.CurrentSection(), minutes);
    host_.ReloadSkyAndCaches();
}

void CGameClock::PassTimeTo(i32 hour, i32 minute) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return;
    const u32 wanted = static_cast<u32>(hour * 60 + minute);
    const u32 now = minutes % kMinutesPerDay;
    const u32 span = (wanted + kMinutesPerDay - now) % kMinutesPerDay;
    if (span != 0) AdvanceClock(0, 0, span);
}
