#include <gtest/gtest.h>

#include <memory>

#include "data/MapSection.h"
#include "data/TextureSet.h"
#include "data/WorldRecords.h"
#include "tests/data/BuiltWorld.h"
#include "tests/world/WorldAudioFakes.h"
#include "view3d/ViewRecord.h"
#include "world/SkyChoice.h"
#include "world/Weather.h"

namespace {

using testing_world::FakeParticles;
using testing_world::FakeWorldAudio;

class SkyChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        Sky("day_clear", 1, 0, 0x1111, 60, 0);
        Sky("day_storm", 1, 6, 0x2222, 20, 1);
        Sky("night", 2, 0, 0x3333, 40, 0);
        Sky("bres_sky-thunder", 1, 9, 0x4444, 10, 0);
        auto set = std::make_unique<CPictureSet>();
        set->pictureIndices = {42, 43};
        sets.items.push_back(std::move(set));
        weather.SetParticles(&particles);
        surface->flags = CMapSection::kSurfaceFlag;
        cellar->bytes[0] = 200;  // visibility
        cellar->bytes[1] = 1;    // the first picture set
        cellar->bytes[2] = 7;    // the palette
        cellar->lightBColour = 0x0F0F;
    }
    void Sky(const char* id, u8 timeClass, u8 level, u16 fog, u8 percent, u8 moving) {
        auto s = std::make_unique<CSkyRecord>();
        s->id = id;
        s->picture = id;
        s->timeClass = timeClass;
        s->weatherLevel = level;
        s->word = fog;
        s->value = percent;
        s->last = moving;
        skies.items.push_back(std::move(s));
    }

    CSkyList skies;
    CPictureSetList sets;
    CTextureSet textures;
    CWorldSkySource source{skies, textures};
    CRandom random;
    FakeWorldAudio audio;
    FakeParticles particles;
    CWeather weather{random, audio};
    CViewState3D view;
    std::string skyName;
    std::unique_ptr<CMapSection> surface = std::make_unique<CMapSection>();
    std::unique_ptr<CMapSection> cellar = std::make_unique<CMapSection>();
};

TEST_F(SkyChoiceTest, TheSurfaceSkyFollowsTheHourTheWeatherAndTheLightning) {
    const struct {
        u32 clock;
        i32 intensity;
        bool flash, sheltered;
        u16 fog;
        bool moving, weatherFlag;
    } cases[] = {
        {12 * 60, 0, false, false, 0x1111, false, true},   {12 * 60, 640, false, false, 0x2222, true, true},
        {23 * 60, 640, false, false, 0x3333, false, true}, {12 * 60, 640, true, false, 0x4444, false, true},
        {12 * 60, 0, false, true, 0x1111, false, false},
    };
    for (const auto& c : cases) {
        weather.intensity = c.intensity;
        weather.flashOn = c.flash;
        const int changes = particles.changes;
        UpdateSkyPicture(view, source, skyName, surface.get(), sets, c.clock, weather, c.sheltered);
        EXPECT_EQ(view.fogColour, c.fog) << c.clock << " " << c.intensity;
        EXPECT_EQ(source.movingSky, c.moving);
        EXPECT_TRUE(view.flags & kViewFlagSky);
        EXPECT_EQ((view.flags & kViewFlagWeather) != 0, c.weatherFlag);
        EXPECT_EQ(particles.changes, changes + 1) << "the particles take the new light";
    }
    // A map's own sky by name; one the world lacks falls back to the list and is forgotten.
    skyName = "night";
    UpdateSkyPicture(view, source, skyName, surface.get(), sets, 12 * 60, weather, false);
    EXPECT_EQ(view.fogColour, 0x3333);
    skyName = "no_such_sky";
    UpdateSkyPicture(view, source, skyName, surface.get(), sets, 12 * 60, weather, false);
    EXPECT_EQ(view.fogColour, 0x1111);
    EXPECT_TRUE(skyName.empty());
}

TEST_F(SkyChoiceTest, UndergroundTheMapGivesFogAndCeilingAndThereIsNoWeather) {
    view.flags = kViewFlagSky | kViewFlagWeather;
    source.movingSky = true;
    UpdateSkyPicture(view, source, skyName, cellar.get(), sets, 12 * 60, weather, false);
    EXPECT_EQ(view.flags & (kViewFlagSky | kViewFlagWeather), 0);
    EXPECT_EQ(view.fogColour, 0x0F0F);
    EXPECT_EQ(view.fogStart, 2 * kFogStep);
    EXPECT_EQ(view.visibleDistance, 12 * kFogStep);
    EXPECT_EQ(view.skyTexture, 42);
    EXPECT_EQ(view.skyPalette, 7);
    EXPECT_FALSE(source.movingSky);
    EXPECT_EQ(particles.changes, 0);
    // A set index beyond the list, or none, gives no ceiling picture; without a map nothing changes.
    for (u8 set : {u8{0}, u8{2}}) {
        cellar->bytes[1] = set;
        UpdateSkyPicture(view, source, skyName, cellar.get(), sets, 12 * 60, weather, false);
        EXPECT_EQ(view.skyTexture, 0) << int(set);
    }
    view.fogColour = 0x7777;
    UpdateSkyPicture(view, source, skyName, nullptr, sets, 12 * 60, weather, false);
    EXPECT_EQ(view.fogColour, 0x7777);
}

// The built world's skies: a lit day sky that turns slowly, and the thunder sky found by its name.
TEST(BuiltWorldSkies, DayNightAndThunderSkiesShowTheirPictures) {
    fixtures::BuiltWorld built;
    ASSERT_TRUE(built.Loaded());
    CWorldSkySource source{built.lists.skies, built.textures};
    CRandom random;
    FakeWorldAudio audio;
    CWeather weather{random, audio};
    CMapSection* vale = built.base->FindSectionAt(2, 2);
    ASSERT_NE(vale, nullptr);
    ASSERT_TRUE(vale->IsSurface());
    const struct {
        u32 clock;
        bool flash;
        const char* picture;
    } cases[] = {{12 * 60, false, "bres_skyday"}, {23 * 60, false, "bres_skynight"},
                 {7 * 60, false, "bres_skydusk"}, {12 * 60, true, "bres_sky-thunder"}};
    for (const auto& c : cases) {
        CViewState3D view;
        std::string name;
        weather.flashOn = c.flash;
        UpdateSkyPicture(view, source, name, vale, built.lists.pictureSets, c.clock, weather, false);
        EXPECT_EQ(view.skyTexture, built.textures.FindPictureIndex(c.picture)) << c.picture;
        EXPECT_NE(view.skyTexture, 0) << c.picture;
        EXPECT_GE(view.visibleDistance, 3 * kFogStep) << c.picture;
        EXPECT_NE(view.fogColour, 0) << c.picture;
    }
}

}  // namespace
