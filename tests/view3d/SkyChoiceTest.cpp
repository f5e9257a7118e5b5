// Sky and fog of the current map.
#include "view3d/Sky.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(SkyChoiceTest, FogDistances) {
    struct Case {
        u8 v;
        i32 start, visible;
    } under[] = {{0, 0, 1}, {255, 2, 15}, {100, 1, 6}, {16, 0, 1}, {17, 0, 1}, {200, 2, 12}};
    for (const Case& c : under) {
        CViewFog f = UndergroundFog(c.v);
        EXPECT_EQ(f.fogStart, c.start) << int(c.v);
        EXPECT_EQ(f.visibleDistance, c.visible) << int(c.v);
    }
    EXPECT_EQ(SurfaceFog(100, true).visibleDistance, 7);
    EXPECT_EQ(SurfaceFog(100, true).fogStart, 2);
    EXPECT_EQ(SurfaceFog(100, false).fogStart, 1);
    EXPECT_EQ(SurfaceFog(0, true).visibleDistance, 3);
    EXPECT_EQ(SurfaceFog(0, true).fogStart, 0);
}

TEST(SkyChoiceTest, Daytime) {
    EXPECT_FALSE(IsDaytime(5 * 60 + 59));
    EXPECT_TRUE(IsDaytime(6 * 60));
    EXPECT_TRUE(IsDaytime(21 * 60 + 59));
    EXPECT_FALSE(IsDaytime(22 * 60));
    EXPECT_FALSE(IsDaytime(0));
    EXPECT_TRUE(IsDaytime(3 * 1440 + 12 * 60));
}

struct Skies : CViewSkySource {
    std::vector<std::string> asked;
    bool PrepareSkyPicture(const std::string& name, CViewSky& sky) override {
        asked.push_back(name);
        if (name == "bres_sky-broken") return false;
        sky = {0x1111, name == kThunderSky ? 20 : 100, 42};
        return true;
    }
    CViewSky LoadSkyPictures() override {
        asked.push_back("(list)");
        return {0x2222, 0, 7};
    }
};

TEST(SkyChoiceTest, SurfaceAndUnderground) {
    auto view = std::make_unique<CViewState3D>();
    Skies skies;
    std::string name = "bres_sky-clear";
    ApplySurfaceSky(*view, skies, name, false, 12 * 60);
    EXPECT_EQ(view->visibleDistance, 7 * kFogStep);
    EXPECT_EQ(view->fogStart, 2 * kFogStep);
    EXPECT_EQ(view->fogColour, 0x1111);
    EXPECT_EQ(view->skyTexture, 42);
    EXPECT_EQ(view->flags & (kViewFlagSky | kViewFlagWeather), kViewFlagSky | kViewFlagWeather);
    ApplySurfaceSky(*view, skies, name, true, 12 * 60);
    EXPECT_EQ(skies.asked.back(), kThunderSky);
    EXPECT_EQ(name, "bres_sky-clear");
    name = "bres_sky-broken";
    ApplySurfaceSky(*view, skies, name, false, 23 * 60);
    EXPECT_TRUE(name.empty());
    EXPECT_EQ(skies.asked.back(), "(list)");
    EXPECT_EQ(view->visibleDistance, 3 * kFogStep);
    EXPECT_EQ(view->skyTexture, 7);

    ApplyUndergroundSky(*view, 255, 0x0841, 9, 3);
    EXPECT_EQ(view->fogStart, 2 * kFogStep);
    EXPECT_EQ(view->visibleDistance, 15 * kFogStep);
    EXPECT_EQ(view->flags & (kViewFlagSky | kViewFlagWeather), 0);
    EXPECT_EQ(view->skyTexture, 9);
    EXPECT_EQ(view->skyPalette, 3);
}

}  // namespace
