// The game clock: one counter of game minutes, from which the day (from 1), the hour and the minute
// follow. It moves in three ways -- one minute per step, attack or cast; whole hours (rest, inn,
// travel, a served sentence); any span a script asks for -- and each way runs the follow-ups that
// depend on time: the player's effects and ailments, the creatures near the player, the hour events,
// prison, the weather, and a new sky when the light changes.
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "world/Weather.h"

class CMapSection;
class CPlayer;
class CWorld;

// What the clock asks of the game view.
class IGameClockHost {
public:
    virtual ~IGameClockHost() = default;
    // The section the player stands in; null when none.
    virtual const CMapSection* CurrentSection() const = 0;
    // The creatures within 7 cells that are not people and act pass one turn of their effects.
    virtual void UpdateCreaturesPerMinute() = 0;
    // Bit 7 (a mark that lasts one day) of every placed map object of every open world is cleared
    // (ClearMapObjectMarks does one world).
    virtual void ClearAllObjectMarks() = 0;
    // The sky picture for the new light, then the view caches (the light of the cells changed).
    virtual void ReloadSkyAndCaches() = 0;
    // The prisoner's time is up (the clock has already let go of the prison).
    virtual void ServeSentence() = 0;
};

// Clears the one-day mark (flag bit 7) of every placement of every section of a world.
void ClearMapObjectMarks(CWorld& world);

class CGameClock {
public:
    static constexpr u32 kMinutesPerDay = 1440;
    static constexpr u32 kAttachTime = 880;  // day 1, 2:40 pm
    static constexpr u32 kPrisonMinutes = 10;

    CGameClock(IGameClockHost& host, CWeather& weather) : host_(host), weather_(weather) {}
    void SetPlayer(CPlayer* player) { player_ = player; }

    u32 Minutes() const { return minutes; }
    u32 GetDay() const { return minutes / kMinutesPerDay + 1; }
    u32 GetHour() const { return minutes % kMinutesPerDay / 60; }
    u32 GetMinute() const { return minutes % kMinutesPerDay % 60; }
    // Daytime is the hours 6 to 21; the hour less 6 compared without sign makes the small hours night.
    bool IsDaytime() const { return GetHour() - 6 < 16; }
    bool IsNight() const { return !IsDaytime(); }
    // "Day 1, 2:40 pm" and "2:40 pm": a 12-hour clock on which hour 0 shows as 12.
    void FormatDateTime(CStr& out) const;
    void FormatTime(CStr& out) const;

    // One minute: after a step, an attack or a cast.
    void AdvanceMinute();
    // Whole hours: rest, the inn, travel, a served sentence.
    void AdvanceClockHours(u32 hours);
    // Any span; the sky and the view caches are renewed whatever the span.
    void AdvanceClock(u32 days, u32 hours, u32 minutes);
    // Passes time until the next hh:mm of the day (nothing when it is that time already).
    void PassTimeTo(i32 hour, i32 minute);
    // Prison release and the events of the start of an hour.
    void CheckHourChange();

    // The prisoner arrives now; the sentence is served ten minutes later.
    void EnterPrison() {
        inPrison = true;
        prisonArrival = minutes;
    }

    u32 minutes = kAttachTime;
    bool inPrison = false;
    u32 prisonArrival = 0;

private:
    // Adds a span, stopping short of the counter's end rather than wrapping back to day 1.
    void Add(u64 span);
    void TickPlayer(u32 span, bool oneMinute);

    IGameClockHost& host_;
    CWeather& weather_;
    CPlayer* player_ = nullptr;
};
