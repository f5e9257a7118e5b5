// Whole frames of a small corridor world: golden frames at the four axis headings and a free one,
// nothing written outside the view rectangle at random poses, the same frame in every orientation of
// the frame buffer, and occlusion that never changes what is seen.
#include "SceneFixture.h"
#include "tests/support/Png.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using testing_support::MatchesGolden;

const std::vector<std::string> kMap = {
    "###########", "#.........#", "#.###.###.#", "#.#.....#.#", "#.#.###.#.#", "#...#.#...#",
    "#.#.#.#.#.#", "#.#.....#.#", "#.###.###.#", "#.........#", "###########",
};

TEST(SceneTest, CorridorGoldenFrames) {
    struct Case {
        const char* name;
        i32 angle;
    } cases[] = {
        {"view3d_corridor_0", 0},
        {"view3d_corridor_90", 90 << 16},
        {"view3d_corridor_180", 180 << 16},
        {"view3d_corridor_270", 270 << 16},
        {"view3d_corridor_33_5", (33 << 16) + 0x8000},
    };
    for (const Case& c : cases) {
        scene::Scene s(kMap, 380, 320);
        s.Pose(5, 9, 512, 512, c.angle);
        s.Render();
        EXPECT_TRUE(s.GuardIntact()) << c.name;
        EXPECT_GT(s.renderer->stats.polygonsDrawn, 5u) << c.name;
        EXPECT_TRUE(MatchesGolden(c.name, scene::ViewImage(s))) << c.name;
    }
}

TEST(SceneTest, NothingOutsideTheViewAtRandomPoses) {
    std::mt19937 random(17);
    for (i32 size = 0; size < 2; ++size) {
        scene::Scene s(kMap, size ? 190 : 380, size ? 160 : 320, 4);
        for (int i = 0; i < 150; ++i) {
            i32 cx, cy;
            do {
                cx = static_cast<i32>(random() % 11);
                cy = static_cast<i32>(random() % 11);
            } while (s.IsWall(cx, cy));
            s.Pose(cx, cy, static_cast<i32>(random() % 1024), static_cast<i32>(random() % 1024),
                   static_cast<i32>(random() % (360u << 16)));
            s.view->visibleDistance = static_cast<i32>(1 + random() % 20) * kFogStep;
            s.Render();
            ASSERT_TRUE(s.GuardIntact()) << "pose " << i;
            ASSERT_EQ(s.renderer->stats.cornerCacheMisses, 0u) << "pose " << i;
        }
    }
}

TEST(SceneTest, EveryOrientationDrawsTheSameFrame) {
    std::mt19937 random(3);
    for (int i = 0; i < 12; ++i) {
        i32 angle = i < 4 ? (i * 90) << 16 : static_cast<i32>(random() % (360u << 16));
        scene::Scene s0(kMap, 190, 160, 3, 0);
        s0.Pose(1, 5, 300, 700, angle);
        s0.Render();
        for (i32 o = 1; o <= 2; ++o) {
            scene::Scene s(kMap, 190, 160, 3, o);
            s.Pose(1, 5, 300, 700, angle);
            s.Render();
            EXPECT_TRUE(s.GuardIntact());
            EXPECT_EQ(s.ViewPixels(), s0.ViewPixels()) << "orientation " << o << " angle " << angle;
        }
    }
}

TEST(SceneTest, OcclusionChangesNothingSeen) {
    // The walls are side faces that occlude; what they hide must not show in the frame without the
    // pass either.
    std::mt19937 random(5);
    u32 hidden = 0;
    for (int i = 0; i < 60; ++i) {
        scene::Scene a(kMap, 190, 160), b(kMap, 190, 160);
        i32 cx, cy;
        do {
            cx = static_cast<i32>(random() % 11);
            cy = static_cast<i32>(random() % 11);
        } while (a.IsWall(cx, cy));
        i32 angle = static_cast<i32>(random() % (360u << 16));
        a.Pose(cx, cy, 512, 512, angle);
        b.Pose(cx, cy, 512, 512, angle);
        b.renderer->occlusionEnabled = false;
        a.Render();
        b.Render();
        hidden += a.renderer->stats.polygonsEmitted - a.renderer->stats.polygonsVisible;
        std::vector<u16> pa = a.ViewPixels(), pb = b.ViewPixels();
        size_t differ = 0;
        for (size_t k = 0; k < pa.size(); ++k) differ += pa[k] != pb[k];
        EXPECT_EQ(differ, 0u) << "pose " << i;
    }
    EXPECT_GT(hidden, 100u);  // the pass did hide polygons
}

}  // namespace

namespace {

TEST(SceneTest, AQuarterTurnOfASymmetricWorldDrawsTheSameFrame) {
    // A hall symmetric under quarter turns about the centre of cell (5, 5), in one colour per surface:
    // looking along -y and along -x from that centre must give the same picture, which sets the
    // filler paths of the headings against each other.
    std::vector<std::string> map(11, std::string(11, '.'));
    for (int i = 0; i < 11; ++i) map[0][i] = map[10][i] = map[i][0] = map[i][10] = '#';
    for (auto [x, y] : {std::pair{2, 2}, {2, 8}, {8, 2}, {8, 8}, {5, 2}, {2, 5}, {8, 5}, {5, 8}})
        map[static_cast<size_t>(y)][static_cast<size_t>(x)] = '#';
    auto solid = [](u16 colour) {
        return scene::IndexedRecord(256, 256, std::vector<u8>(256 * 256, 0), {colour});
    };
    std::vector<u16> frames[4];
    for (int q = 0; q < 4; ++q) {
        scene::Scene s(map, 190, 160);
        s.pictures.Add(scene::kBrick, solid(0xA145));
        s.pictures.Add(scene::kFloor, solid(0x3333));
        s.pictures.Add(scene::kCeiling, solid(0x7BCF));
        // The eye stands 490 units behind the player, so the player stands that far ahead of it.
        const i32 back[4][2] = {{0, -490}, {-490, 0}, {0, 490}, {490, 0}};
        s.Pose(5, 5, 512 + back[q][0], 512 + back[q][1], (q * 90) << 16);
        s.Render();
        EXPECT_EQ(s.renderer->eyeX, 5 * 1024 + 512);
        EXPECT_EQ(s.renderer->eyeY, 5 * 1024 + 512);
        frames[q] = s.ViewPixels();
    }
    for (int q = 1; q < 4; ++q) EXPECT_EQ(frames[q], frames[0]) << q * 90 << " degrees";
}

}  // namespace
