// Golden frames of a dressed scene at several poses: each frame keeps the guard band, drops no polygon,
// mixes no texture layouts and matches its stored picture.
#pragma once

#include "SceneFixture.h"
#include "tests/support/Png.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace scene {

struct GoldenPose {
    const char* name;
    i32 cx, cy, fx, fy, angle;
};

// `dress` fills each scene before its pose is taken (with its view distances), `before` runs after the
// pose, just before the frame.
inline void ExpectGoldenFrames(const std::vector<std::string>& map, void (*dress)(Scene&),
                               std::initializer_list<GoldenPose> poses, void (*before)(Scene&) = nullptr) {
    for (const GoldenPose& p : poses) {
        Scene s(map, 380, 320);
        dress(s);
        s.Pose(p.cx, p.cy, p.fx, p.fy, p.angle);
        if (before) before(s);
        s.Render();
        EXPECT_TRUE(s.GuardIntact()) << p.name;
        EXPECT_EQ(s.renderer->stats.polygonsDropped, 0u) << p.name;
        EXPECT_EQ(s.renderer->layoutFaults, 0u) << p.name;
        EXPECT_TRUE(testing_support::MatchesGolden(p.name, ViewImage(s))) << p.name;
    }
}

}  // namespace scene
