#include <gtest/gtest.h>

#include <map>
#include <string>

#include "data/MapSection.h"
#include "tests/world/WorldAudioFakes.h"
#include "world/CellWindow.h"
#include "world/Surroundings.h"
#include "world/Weather.h"

namespace {

using testing_world::FakeWorldAudio;
using testing_world::SeedRandom;

// Map objects by index: a type code, whether it has its looping sound, the sound it makes as a centre
// or side object, and an ambient source's day and night sounds.
class FakeSoundObjects : public ICellObjects {
public:
    struct Object {
        u8 code = 0;
        bool sound = false;
        const char* ambient = nullptr;
        const char* side = nullptr;
        const char* day = nullptr;
        const char* night = nullptr;
    };
    bool IsBlocking(u16 index, const CPlacement*) const override { return TypeCode(index) == 5; }
    u8 TypeCode(u16 index) const override { return Get(index).code; }
    bool HasSound(u16 index) const override { return Get(index).sound; }
    const char* GetAmbientSound(const CCellSite& site) const override { return Get(site.objectIndex).ambient; }
    const char* GetSideAmbientSound(const CCellSite& site) const override { return Get(site.objectIndex).side; }
    const char* GetSourceSound(u16 index, bool day) const override {
        return day ? Get(index).day : Get(index).night;
    }
    Object Get(u16 index) const {
        auto it = objects.find(index);
        return it == objects.end() ? Object{} : it->second;
    }
    std::map<u16, Object> objects;
};

class SurroundingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SeedRandom(random, 77);
        window.SetObjects(&objects);
        window.SetPlayer(17, 17, 0);
        objects.objects[1] = {33, false, "bsnd_fire"};                        // a fire
        objects.objects[2] = {7, true, "bsnd_fountain"};                      // a fountain
        objects.objects[3] = {5};                                             // a wall block
        objects.objects[4] = {0, true, nullptr, "bsnd_torch"};               // a torch on a side
        objects.objects[5] = {43, false, nullptr, nullptr, "bsnd_birds", "bsnd_owl"};  // a source
        objects.objects[6] = {7, false, "bsnd_silent"};                       // no sound 1: silent
    }
    std::vector<std::pair<std::string, i32>> Looped() const {
        std::vector<std::pair<std::string, i32>> out;
        for (const auto& p : audio.played)
            if (p.looped) out.push_back({p.name, p.volume});
        return out;
    }
    CMusicSituation Underground() const { return {}; }

    CRandom random;
    FakeWorldAudio audio;
    CWeather weather{random, audio};
    FakeSoundObjects objects;
    CCellWindow window;
    CSurroundings sound{audio, weather, random};
};

TEST(MusicChoice, ByScreenFightPlaceAndDaytime) {
    const struct {
        i32 screen;
        const char* own;
        u32 fight;
        bool surface, day;
        const char* music;
    } cases[] = {
        {kServicesScreen, "bmus_inn", 4, true, true, "bmus_inn"},  // the screen's own even in a fight
        {kPagesScreen, "bmus_scene", 0, false, true, "bmus_scene"},
        {kServicesScreen, nullptr, 0, false, true, "bmus_main"},
        {4, nullptr, 4, true, true, "bmus_main"},  // any other screen
        {kGameViewScreen, nullptr, 1, true, true, "bmus_fight"},
        {kGameViewScreen, nullptr, 0, true, true, "bmus_surfaceday"},
        {kGameViewScreen, nullptr, 0, true, false, "bmus_surfacenight"},
        {kGameViewScreen, nullptr, 0, false, false, "bmus_dungeon"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(ChooseMusic({c.screen, c.own, c.fight, c.surface, c.day}), c.music) << c.screen;
}

TEST_F(SurroundingsTest, MusicStartsOnAChangeOrARestartAndResumesWhenPaused) {
    sound.UpdateMusic(Underground());
    sound.UpdateMusic(Underground());
    EXPECT_EQ(audio.music, std::vector<std::string>{"bmus_dungeon"}) << "a piece that plays goes on";
    EXPECT_EQ(sound.musicChannel, 1);
    sound.pauseFlag = true;
    sound.UpdateMusic(Underground());
    EXPECT_EQ(audio.pauses, (std::vector<std::pair<i32, bool>>{{1, false}}));
    EXPECT_FALSE(sound.pauseFlag);
    sound.restartFlag = true;
    sound.UpdateMusic(Underground());
    EXPECT_EQ(audio.music.size(), 2u);
    EXPECT_EQ(audio.stopped, std::vector<i32>{1});
    // A piece the world lacks leaves no channel and is asked for again on the next pass.
    audio.missing = {"bmus_surfaceday"};
    sound.UpdateMusic({kGameViewScreen, nullptr, 0, true, true});
    EXPECT_EQ(sound.musicChannel, kNoChannel);
    sound.UpdateMusic({kGameViewScreen, nullptr, 0, true, true});
    EXPECT_EQ(audio.music.back(), "bmus_surfaceday");
    EXPECT_EQ(audio.music.size(), 4u);
    // StopMusic forgets the channel, so the next pass starts the piece again.
    audio.missing.clear();
    sound.UpdateMusic(Underground());
    sound.StopMusic();
    EXPECT_EQ(sound.musicChannel, kNoChannel);
    sound.UpdateMusic(Underground());
    EXPECT_EQ(sound.musicChannel, 1);
}

// A script's piece plays on while the choice stays and gives way when it changes; a piece the world
// lacks leaves the music as it was.
TEST_F(SurroundingsTest, AScriptsMusicPlaysUntilTheChoiceChanges) {
    sound.UpdateMusic(Underground());
    audio.missing = {"bmus_nosuchpiece"};
    sound.PlayScriptMusic("bmus_nosuchpiece");
    sound.PlayScriptMusic("");
    sound.PlayScriptMusic(nullptr);
    EXPECT_EQ(audio.music, std::vector<std::string>{"bmus_dungeon"});
    EXPECT_TRUE(audio.stopped.empty());
    EXPECT_EQ(sound.musicChannel, 1);

    audio.musicChannel = 2;
    sound.PlayScriptMusic("bmus_town");
    EXPECT_EQ(audio.music.back(), "bmus_town");
    EXPECT_EQ(audio.stopped, std::vector<i32>{1});
    EXPECT_EQ(sound.musicChannel, 2);
    sound.UpdateMusic(Underground());
    EXPECT_EQ(audio.music.size(), 2u) << "the choice stayed: the script's piece plays on";

    audio.musicChannel = 3;
    sound.UpdateMusic({kGameViewScreen, nullptr, 0, true, true});
    EXPECT_EQ(audio.music.back(), "bmus_surfaceday");
    EXPECT_EQ(audio.stopped.back(), 2);
    EXPECT_EQ(sound.musicChannel, 3);
}

TEST_F(SurroundingsTest, TheFightMusicStaysForFourUpdatesAfterTheThreat) {
    sound.UpdateSurroundings(window, nullptr, 880, true, Underground());
    EXPECT_EQ(sound.fightCountdown, CSurroundings::kFightCountdown);
    EXPECT_EQ(audio.music.back(), "bmus_fight");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(sound.currentMusic, "bmus_fight") << i;
        sound.UpdateSurroundings(window, nullptr, 880, false, Underground());
    }
    EXPECT_EQ(sound.fightCountdown, 0u);
    EXPECT_EQ(sound.currentMusic, "bmus_dungeon");
    sound.UpdateSurroundings(window, nullptr, 880, false, Underground());
    EXPECT_EQ(sound.fightCountdown, 0u);
}

TEST_F(SurroundingsTest, QueuedSoundsAreQuieterFurtherAwayAndNeverTwiceAtOneVolume) {
    const struct {
        i32 dx, dy;
        bool overlay;
        i32 volume;
    } cases[] = {
        {0, 0, false, 5}, {0, 0, true, 4}, {1, 0, false, 4}, {2, 1, false, 2}, {0, -3, true, 1},
        {4, 0, false, 1}, {3, 3, false, 1}, {-7, -7, true, 1}, {0, 1, true, 3},
    };
    for (const auto& c : cases) {
        const size_t before = audio.played.size();
        sound.StopQueuedSounds(false);
        if (c.overlay)
            sound.QueueOverlayAmbientSound(c.dx, c.dy, "bsnd_fire");
        else
            sound.QueueAmbientSound(c.dx, c.dy, "bsnd_fire");
        ASSERT_EQ(audio.played.size(), before + 1);
        EXPECT_EQ(audio.played.back().volume, c.volume) << c.dx << "," << c.dy << " overlay " << c.overlay;
        EXPECT_TRUE(audio.played.back().looped);
    }
    sound.StopQueuedSounds(false);
    sound.QueueAmbientSound(4, 0, "bsnd_fire");
    sound.QueueAmbientSound(0, 5, "bsnd_fire");   // the same volume: plays once
    sound.QueueAmbientSound(0, 1, "bsnd_fire");   // louder: a second loop
    sound.QueueAmbientSound(4, 0, "bsnd_water");  // another sound
    audio.missing = {"bsnd_gone"};
    sound.QueueAmbientSound(0, 0, "bsnd_gone");   // the world has no such sound
    EXPECT_EQ(sound.Queued().size(), 3u);
}

TEST_F(SurroundingsTest, ThePassQueuesTheObjectsWithinSevenCellsAndChoosesAnAmbientSource) {
    window.Cell(17, 17)->centre = 1;  // fire in the player's cell
    window.Cell(19, 16)->centre = 2;  // fountain three steps away
    window.Cell(24, 17)->centre = 2;  // fountain seven steps away, on the square's edge
    window.Cell(25, 17)->centre = 2;  // eight steps away: not heard
    window.Cell(24, 24)->centre = 1;  // fire on the square's corner
    window.Cell(25, 25)->centre = 1;  // beyond 7 cells
    window.Cell(16, 17)->centre = 3;  // a wall block with a torch on its east side
    window.Cell(16, 17)->side[1] = 4;
    window.Cell(16, 17)->side[2] = 6;  // a side object without a sound
    window.Cell(18, 18)->centre = 6;  // no sound 1, not a fire
    window.StoredCell(17, 18)->centre = 2;  // a fountain in the second layer, one step away
    window.Cell(12, 12)->centre = 5;        // an ambient source
    sound.UpdateSurroundings(window, nullptr, 12 * 60, false, Underground());
    const std::vector<std::pair<std::string, i32>> expected = {
        {"bsnd_torch", 4}, {"bsnd_fire", 5}, {"bsnd_fountain", 3}, {"bsnd_fountain", 2},
        {"bsnd_fountain", 1}, {"bsnd_fire", 1},
    };
    auto sorted = [](std::vector<std::pair<std::string, i32>> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(sorted(Looped()), sorted(expected));
    ASSERT_TRUE(sound.HasAmbientSource());
    EXPECT_EQ(sound.sourceObject, 5);
    EXPECT_EQ(sound.sourceSound, "bsnd_birds");
    EXPECT_EQ(sound.sourceX, 12);
    // The next pass stops every loop and queues what is still near; by night the source's own sound.
    const size_t loops = audio.played.size();
    window.SetPlayer(30, 30, 0);
    sound.UpdateSurroundings(window, nullptr, 23 * 60, false, Underground());
    EXPECT_EQ(audio.stopped.size(), loops) << "each loop; the music goes on";
    EXPECT_EQ(sound.Queued().size(), 1u) << "the fire at 25, 25";
    EXPECT_FALSE(sound.HasAmbientSource());
    window.SetPlayer(12, 12, 0);
    sound.UpdateSurroundings(window, nullptr, 23 * 60, false, Underground());
    EXPECT_EQ(sound.sourceSound, "bsnd_owl");
}

TEST_F(SurroundingsTest, StoppingQueuedSoundsStopsTheRainAndTheMusicWhenAsked) {
    auto surface = std::make_unique<CMapSection>();
    surface->flags = CMapSection::kSurfaceFlag;
    weather.intensity = 600;
    window.Cell(17, 17)->centre = 1;
    sound.UpdateSurroundings(window, surface.get(), 880, false, {kGameViewScreen, nullptr, 0, true, true});
    ASSERT_NE(weather.rainChannel, kNoChannel);
    const i32 rain = weather.rainChannel, fire = sound.Queued().front().channel;
    sound.StopQueuedSounds(false);
    EXPECT_EQ(audio.stopped, (std::vector<i32>{rain, fire}));
    EXPECT_EQ(weather.rainChannel, kNoChannel);
    EXPECT_TRUE(sound.Queued().empty());
    sound.StopQueuedSounds(true);
    EXPECT_EQ(audio.stopped.back(), sound.musicChannel) << "the music's channel stops and is kept";
    EXPECT_NE(sound.musicChannel, kNoChannel);
}

TEST_F(SurroundingsTest, AmbientSoundsAreTenWallClockSecondsApart) {
    plat::ManualClock wall;
    plat::ScopedClock scoped(wall);
    wall.SetTime(500);
    using A = CSurroundings::Ambient;
    EXPECT_EQ(sound.TickAmbient(false, 17, 17), A::kNone) << "nothing known";
    EXPECT_EQ(sound.TickAmbient(true, 17, 17), A::kCreature);
    wall.SetTime(510);
    EXPECT_EQ(sound.TickAmbient(true, 17, 17), A::kNone);
    wall.SetTime(511);
    EXPECT_EQ(sound.TickAmbient(true, 17, 17), A::kCreature);
    // A source alone sounds at its distance's volume.
    sound.sourceObject = 5;
    sound.sourceSound = "bsnd_birds";
    sound.sourceX = 14;
    sound.sourceY = 19;
    wall.SetTime(600);
    EXPECT_EQ(sound.TickAmbient(false, 17, 17), A::kSource);
    EXPECT_EQ(audio.played.back().name, "bsnd_birds");
    EXPECT_EQ(audio.played.back().volume, 5);
    EXPECT_FALSE(audio.played.back().looped);
    // Both known: the draw decides, and over many turns both happen.
    int creature = 0, source = 0;
    for (int i = 0; i < 100; ++i) {
        wall.SetTime(wall.Time() + 11);
        (sound.TickAmbient(true, 17, 17) == A::kSource ? source : creature)++;
    }
    EXPECT_GT(creature, 20);
    EXPECT_GT(source, 20);
}

}  // namespace
