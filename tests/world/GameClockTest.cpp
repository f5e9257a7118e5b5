#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "data/MapSection.h"
#include "tests/world/WorldAudioFakes.h"
#include "world/GameClock.h"
#include "world/Weather.h"

namespace {

using testing_world::FakeParticles;
using testing_world::FakeWorldAudio;
using testing_world::SeedRandom;

class FakeClockHost : public IGameClockHost, public IWeatherHost {
public:
    const CMapSection* CurrentSection() const override { return section; }
    void UpdateCreaturesPerMinute() override { ++creatureTurns; }
    void ClearAllObjectMarks() override { ++markClears; }
    void ReloadSkyAndCaches() override { ++skyLoads; }
    void ServeSentence() override { ++sentences; }
    void ReloadSky() override { ++skyFlashes; }
    const CMapSection* section = nullptr;
    int creatureTurns = 0, markClears = 0, skyLoads = 0, sentences = 0, skyFlashes = 0;
};

std::unique_ptr<CMapSection> Section(bool surface, u8 weatherByte, u16 moreFlags = 0) {
    auto s = std::make_unique<CMapSection>();
    s->flags = static_cast<u16>((surface ? CMapSection::kSurfaceFlag : 0) | moreFlags);
    s->byteE = weatherByte;
    return s;
}

class GameClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        SeedRandom(random, 1234);
        weather.SetHost(&host);
        weather.SetParticles(&particles);
    }
    CRandom random;
    FakeWorldAudio audio;
    FakeParticles particles;
    FakeClockHost host;
    CWeather weather{random, audio};
    CGameClock clock{host, weather};
};

TEST_F(GameClockTest, DayHourMinuteAndTheTwelveHourTexts) {
    const struct {
        u32 minutes, day, hour, minute;
        const char* dateTime;
        const char* time;
    } cases[] = {
        {0, 1, 0, 0, "Day 1, 12:00 am", "12:00 am"},      {779, 1, 12, 59, "Day 1, 12:59 pm", "12:59 pm"},
        {880, 1, 14, 40, "Day 1, 2:40 pm", "2:40 pm"},    {1439, 1, 23, 59, "Day 1, 11:59 pm", "11:59 pm"},
        {1440, 2, 0, 0, "Day 2, 12:00 am", "12:00 am"},   {14465, 11, 1, 5, "Day 11, 1:05 am", "1:05 am"},
    };
    for (const auto& c : cases) {
        clock.minutes = c.minutes;
        CStr dateTime, time;
        clock.FormatDateTime(dateTime);
        clock.FormatTime(time);
        EXPECT_EQ(clock.GetDay(), c.day) << c.minutes;
        EXPECT_EQ(clock.GetHour(), c.hour) << c.minutes;
        EXPECT_EQ(clock.GetMinute(), c.minute) << c.minutes;
        EXPECT_STREQ(dateTime.GetText(), c.dateTime);
        EXPECT_STREQ(time.GetText(), c.time);
    }
    EXPECT_EQ((CGameClock{host, weather}.Minutes()), 880u) << "a new view's clock";
}

TEST_F(GameClockTest, DaytimeIsTheHoursSixToTwentyOne) {
    for (u32 hour = 0; hour < 24; ++hour) {
        clock.minutes = 3 * 1440 + hour * 60 + 30;
        EXPECT_EQ(clock.IsDaytime(), hour >= 6 && hour <= 21) << hour;
        EXPECT_NE(clock.IsDaytime(), clock.IsNight()) << hour;
    }
}

TEST_F(GameClockTest, AMinuteRunsTheCreaturesAndTheHourEventsAtTheirHours) {
    // From one minute before each hour: which hours renew the sky, which clear the day's marks.
    std::set<u32> skyHours, markHours;
    for (u32 hour = 0; hour < 24; ++hour) {
        clock.minutes = 1440 + hour * 60 - 1;
        host.skyLoads = host.markClears = 0;
        clock.AdvanceMinute();
        if (host.skyLoads) skyHours.insert(hour);
        if (host.markClears) markHours.insert(hour);
    }
    EXPECT_EQ(skyHours, (std::set<u32>{6, 8, 20, 22}));
    EXPECT_EQ(markHours, (std::set<u32>{0}));
    EXPECT_EQ(host.creatureTurns, 24);
    // Within an hour nothing but the minute happens.
    clock.minutes = 1440 + 600;
    host.skyLoads = host.markClears = 0;
    clock.AdvanceMinute();
    EXPECT_EQ(clock.Minutes(), 1440u + 601);
    EXPECT_EQ(host.skyLoads + host.markClears, 0);
}

TEST_F(GameClockTest, TwentyFourHoursFromHalfPastElevenChangeTheDayOnceAndTheSkyOnce) {
    clock.minutes = 23 * 60 + 30;
    clock.AdvanceClockHours(24);
    EXPECT_EQ(clock.GetDay(), 2u);
    EXPECT_EQ(clock.GetHour(), 23u);
    EXPECT_EQ(host.markClears, 1);
    EXPECT_EQ(host.skyLoads, 1);
    EXPECT_EQ(host.creatureTurns, 1);
    // Three hours from 4:00 to 7:00 turn night to day without a new day; one hour at noon changes nothing.
    clock.minutes = 2 * 1440 + 4 * 60;
    host.skyLoads = host.markClears = 0;
    clock.AdvanceClockHours(3);
    EXPECT_EQ(host.skyLoads, 1);
    EXPECT_EQ(host.markClears, 0);
    clock.minutes = 2 * 1440 + 12 * 60;
    host.skyLoads = 0;
    clock.AdvanceClockHours(1);
    EXPECT_EQ(host.skyLoads, 0);
}

TEST_F(GameClockTest, AnySpanRenewsTheSkyAndNeverWrapsTheCounter) {
    clock.minutes = 600;
    clock.AdvanceClock(1, 2, 3);
    EXPECT_EQ(clock.Minutes(), 600u + 1440 + 120 + 3);
    EXPECT_EQ(host.skyLoads, 1);
    EXPECT_EQ(host.markClears, 1);
    clock.AdvanceClock(0, 0, 0);
    EXPECT_EQ(host.skyLoads, 2);
    EXPECT_EQ(host.markClears, 1);
    // A script's absurd span stops at the counter's end instead of starting again at day 1.
    clock.minutes = 0xFFFFFF00u;
    clock.AdvanceClock(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_EQ(clock.Minutes(), 0xFFFFFFFFu);
    clock.AdvanceClockHours(0xFFFFFFFFu);
    EXPECT_EQ(clock.Minutes(), 0xFFFFFFFFu);
}

TEST_F(GameClockTest, PassingTimeToAnHourOfTheDay) {
    const struct {
        u32 from;
        i32 hour, minute;
        u32 to;
    } cases[] = {
        {880, 8, 0, 1440 + 480},  // 2:40 pm to 8 am: the next morning
        {880, 23, 30, 1410},      // later the same day
        {880, 14, 40, 880},       // it is that time already
        {880, 24, 0, 880},        // no such time
        {1439, 0, 0, 1440},       // midnight
    };
    for (const auto& c : cases) {
        clock.minutes = c.from;
        clock.PassTimeTo(c.hour, c.minute);
        EXPECT_EQ(clock.Minutes(), c.to) << c.from << " to " << c.hour << ":" << c.minute;
    }
}

TEST_F(GameClockTest, ThePrisonerIsReleasedTenMinutesAfterArriving) {
    clock.minutes = 5000;
    clock.EnterPrison();
    for (int i = 0; i < 9; ++i) clock.AdvanceMinute();
    EXPECT_EQ(host.sentences, 0);
    clock.AdvanceMinute();
    EXPECT_EQ(host.sentences, 1);
    EXPECT_FALSE(clock.inPrison);
    for (int i = 0; i < 5; ++i) clock.AdvanceMinute();
    EXPECT_EQ(host.sentences, 1);
}

// The weather -----------------------------------------------------------------------------------

TEST_F(GameClockTest, ANewWeatherFromTheMapsWeatherByte) {
    const struct {
        u8 byte;
        i32 intensity;
    } cases[] = {{0, 0}, {70, 0}, {71, 275}, {80, 500}, {99, 975}, {100, 999}};
    for (const auto& c : cases) {
        const auto map = Section(true, c.byte);
        weather.Update(true, map.get(), 880);
        EXPECT_EQ(weather.value, c.byte);
        EXPECT_EQ(weather.intensity, c.intensity) << int(c.byte);
        if (c.intensity == 0) {
            EXPECT_EQ(weather.target, 0);
            EXPECT_EQ(weather.timer, CWeather::kClearTimer);
            EXPECT_EQ(weather.direction, 0);
            continue;
        }
        EXPECT_GE(weather.target, std::max(0, c.intensity - 100));
        EXPECT_LE(weather.target, std::min(999, c.intensity + 99));
        EXPECT_GE(weather.timer, 300);
        EXPECT_LT(weather.timer, 600);
        EXPECT_EQ(weather.direction, weather.intensity < weather.target ? 1 : -1);
    }
    // 255 and no map draw the value.
    std::set<i32> values;
    const auto random = Section(true, 255);
    for (int i = 0; i < 200; ++i) {
        weather.Update(true, i % 2 ? random.get() : nullptr, 880);
        EXPECT_LT(weather.value, 100);
        values.insert(weather.value);
    }
    EXPECT_GT(values.size(), 50u);
}

TEST_F(GameClockTest, TheWeatherDriftsOneStepPerMinuteOnceItsTimerRunsOut) {
    const auto map = Section(false, 90);
    weather.Update(true, map.get(), 880);
    const i32 start = weather.intensity, firstTarget = weather.target, wait = weather.timer;
    for (i32 i = 0; i < wait; ++i) weather.Update(false, map.get(), 880);
    EXPECT_EQ(weather.timer, 0);
    EXPECT_EQ(weather.intensity, start);
    // From now on one step a minute until the target, where a new target of at least 300 is drawn.
    i32 steps = 0;
    while (weather.intensity != firstTarget || weather.timer == 0) {
        const i32 before = weather.intensity;
        weather.Update(false, map.get(), 880);
        ASSERT_LE(std::abs(weather.intensity - before), 1);
        ASSERT_LT(++steps, 1000);
        if (weather.intensity == firstTarget) break;
    }
    EXPECT_EQ(steps, std::abs(firstTarget - start));
    EXPECT_GE(weather.target, 300);
    EXPECT_LE(weather.target, 999);
    EXPECT_GE(weather.timer, 300);
    // Over a long run the intensity stays inside its range, whatever targets are drawn.
    for (int i = 0; i < 200000; ++i) {
        weather.Update(false, map.get(), 880);
        ASSERT_GE(weather.intensity, 0);
        ASSERT_LE(weather.intensity, 999);
    }
}

TEST_F(GameClockTest, ATargetDrawnEqualToTheIntensityIsReachedAtOnce) {
    const auto map = Section(false, 90);
    weather.intensity = weather.target = 300;
    weather.direction = -1;
    weather.timer = 0;
    weather.Update(false, map.get(), 880);
    EXPECT_EQ(weather.intensity, 300) << "no step away from the target";
    EXPECT_GE(weather.target, 300);
    EXPECT_GE(weather.timer, 300);
}

TEST_F(GameClockTest, LightningOnStormySurfaceMapsAtMostEveryTenSeconds) {
    plat::ManualClock wall;
    plat::ScopedClock scoped(wall);
    wall.SetTime(1000);
    const auto storm = Section(true, 99);
    weather.Update(true, storm.get(), 880);
    ASSERT_GE(weather.intensity, CWeather::kHeavy);
    // Within one wall-clock second at most one flash however many minutes pass.
    for (int i = 0; i < 100 && !weather.IsFlashOn(); ++i) weather.Update(false, storm.get(), 880);
    ASSERT_TRUE(weather.IsFlashOn());
    EXPECT_EQ(host.skyFlashes, 1);
    const bool close = !weather.delayedThunder;
    const std::vector<std::string> thunder = close ? std::vector<std::string>{"bsnd_thunderclose"}
                                                   : std::vector<std::string>{};
    EXPECT_EQ(audio.Names(), thunder);
    // The flash ends once its second has passed, with the far thunder when the thunder was put off.
    weather.Tick();
    EXPECT_TRUE(weather.IsFlashOn());
    wall.SetTime(1001);
    weather.Tick();
    EXPECT_FALSE(weather.IsFlashOn());
    EXPECT_EQ(host.skyFlashes, 2);
    EXPECT_EQ(audio.played.back().name, close ? "bsnd_thunderclose" : "bsnd_thunderfar");
    EXPECT_EQ(audio.played.back().volume, 10);
    for (int i = 0; i < 300; ++i) weather.Update(false, storm.get(), 880);
    EXPECT_EQ(host.skyFlashes, 2) << "ten seconds have not passed";
    wall.SetTime(1011);
    for (int i = 0; i < 300 && !weather.IsFlashOn(); ++i) weather.Update(false, storm.get(), 880);
    EXPECT_TRUE(weather.IsFlashOn());
    // Underground the flash ends at the next minute.
    const auto cellar = Section(false, 99);
    weather.Update(false, cellar.get(), 880);
    EXPECT_FALSE(weather.IsFlashOn());
    // Snowy maps, and weather below 500, have none.
    const auto snow = Section(true, 99, CWeather::kSnowyMap);
    const auto drizzle = Section(true, 75);
    for (const CMapSection* map : {snow.get(), drizzle.get()}) {
        weather.Update(true, map, 880);
        wall.SetTime(wall.Time() + 100);
        const int flashes = host.skyFlashes;
        for (int i = 0; i < 300; ++i) weather.Update(false, map, 880);
        EXPECT_EQ(host.skyFlashes, flashes);
    }
}

TEST_F(GameClockTest, TheRainLoopFollowsTheMapAndTheIntensity) {
    const auto surface = Section(true, 255), cellar = Section(false, 255);
    const auto snow = Section(true, 255, CWeather::kSnowyMap);
    const struct {
        const CMapSection* map;
        i32 intensity;
        const char* loop;  // null: none
    } cases[] = {
        {surface.get(), 499, "bsnd_rain"}, {surface.get(), 500, "bsnd_rainheavy"}, {surface.get(), 500, "bsnd_rainheavy"},
        {surface.get(), 1, "bsnd_rain"},   {surface.get(), 0, nullptr},            {surface.get(), 800, "bsnd_rainheavy"},
        {cellar.get(), 800, nullptr},      {snow.get(), 800, nullptr},             {nullptr, 800, nullptr},
    };
    std::string playing;
    for (const auto& c : cases) {
        weather.intensity = c.intensity;
        const size_t plays = audio.played.size(), stops = audio.stopped.size();
        weather.UpdateRainSound(c.map);
        const std::string wanted = c.loop ? c.loop : "";
        // A loop that stays is neither stopped nor started again; another one replaces it.
        EXPECT_EQ(audio.played.size() - plays, wanted != playing && !wanted.empty() ? 1u : 0u) << c.intensity;
        EXPECT_EQ(audio.stopped.size() - stops, wanted != playing && !playing.empty() ? 1u : 0u) << c.intensity;
        if (audio.played.size() > plays) {
            EXPECT_EQ(audio.played.back().name, wanted);
            EXPECT_TRUE(audio.played.back().looped);
            EXPECT_EQ(audio.played.back().volume, 10);
        }
        playing = wanted;
    }
    // Clearing the weather for a new map stops a loop that plays.
    weather.intensity = 600;
    weather.UpdateRainSound(surface.get());
    const i32 loop = weather.rainChannel;
    weather.Clear();
    EXPECT_EQ(audio.stopped.back(), loop);
    EXPECT_EQ(weather.rainChannel, kNoChannel);
    EXPECT_EQ(weather.Intensity(), 0);
}

TEST_F(GameClockTest, ParticlesTakeTheMapsColourByDayAndNightAndFlakesOnSnowyMaps) {
    const auto map = Section(true, 255);
    map->colourC = 0x1234;
    map->colourD = 0x4321;
    const auto snow = Section(true, 255, CWeather::kSnowyMap);
    const struct {
        const CMapSection* map;
        u32 clock;
        u16 colour;
        i32 flakes;
        i32 fastest;
    } cases[] = {
        {map.get(), 6 * 60, 0x1234, 0, 600},
        {map.get(), 22 * 60, 0x4321, 0, 600},
        {nullptr, 12 * 60, 0xA534, 0, 600},  // grey 165
        {nullptr, 3 * 60, 0x6B4D, 0, 600},   // grey 105
        {snow.get(), 12 * 60, snow->colourC, 1, 100},
    };
    for (const auto& c : cases) {
        const CWeatherParameters p = WeatherParticleParameters(c.map, c.clock);
        EXPECT_EQ(p.colour, c.colour) << c.clock;
        EXPECT_EQ(p.value, c.flakes);
        EXPECT_EQ(p.e, c.fastest << 16);
    }
    weather.intensity = 640;
    weather.UpdateParticles(true, map.get(), 880);
    EXPECT_EQ(particles.starts, 1);
    EXPECT_EQ(particles.lastCount, 640);
    weather.Update(true, map.get(), 880);
    EXPECT_EQ(particles.changes, 1);
    EXPECT_EQ(particles.lastCount, weather.intensity);
}

TEST(WeatherParticles, ElapsedTimeInSixteenSixteenSecondsWithLongPausesCut) {
    const struct {
        u32 ms;
        i32 elapsed;
    } cases[] = {{0, 0}, {30, 1966}, {200, 13107}, {201, 3276}, {5000, 3276}, {1, 65}};
    for (const auto& c : cases) EXPECT_EQ(ParticleElapsed(c.ms), c.elapsed) << c.ms;
}

}  // namespace
