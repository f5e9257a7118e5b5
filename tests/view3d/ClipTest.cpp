// Polygon clipping: planes, projection, view edges, and the crossings' arithmetic.
#include "view3d/Clip.h"

#include <gtest/gtest.h>

#include <random>

namespace {

CClipper Clipper(i32 W = 380, i32 H = 320) {
    CClipper c;
    c.farDepth = 6 * 1024 + 1001;
    c.projectionScale = 172389888;
    c.centreColumn = -8 * W;
    c.horizon = (W * 70 * 16) / 380 - 8 * H;
    c.xMax = W * 16;
    c.yMax = H * 16;
    return c;
}

void SetQuad(CClipper& c, std::initializer_list<CViewCorner> corners) {
    int i = 0;
    for (const CViewCorner& k : corners) {
        c.input[i] = k;
        c.uv[i] = {i * 16, i * 32};
        c.light[i] = 65536;
        ++i;
    }
}

TEST(ClipTest, PlanesDropWhatLiesBeyondThem) {
    CClipper c = Clipper();
    SetQuad(c, {{-100, 0, 100}, {100, 0, 100}, {100, -50, 300}, {-100, -50, 300}});
    EXPECT_EQ(c.ClipFlatQuad(), 0);
    SetQuad(c, {{-100, 0, 9000}, {100, 0, 9000}, {100, -50, 9500}, {-100, -50, 9500}});
    EXPECT_EQ(c.ClipTexturedPolygon(4), 0);
    // Touching the near plane along one edge: the two corners on it stay, nothing more.
    SetQuad(c, {{-100, 0, 512}, {100, 0, 512}, {100, 0, 400}, {-100, 0, 400}});
    EXPECT_EQ(c.ClipFlatQuad(), 2);
    EXPECT_EQ(c.nearStage[0].z, 512);
    EXPECT_EQ(c.ClipTexturedPolygon(0), 0);
    EXPECT_EQ(c.ClipTexturedPolygon(5), 0);
}

TEST(ClipTest, TheAxisProjectsOntoTheCentreAndTheHorizon) {
    CClipper c = Clipper();
    for (i32 z : {600, 1002, 5000}) {
        CScreenVertex s = c.Project({0, 0, z});
        EXPECT_EQ(s.x, 8 * 380);
        EXPECT_EQ(s.y, -c.horizon);
        EXPECT_EQ(s.z, z);
    }
    // At the focal distance the view's half width (579 units) reaches the edge of the view.
    EXPECT_NEAR(c.Project({579, 0, 1002}).x, 380 * 16, 16);
}

TEST(ClipTest, CornersOnTheEdgesPassOnce) {
    CClipper c = Clipper();
    const CScreenVertex q[4] = {{0, 0, 800}, {c.xMax, 0, 800}, {c.xMax, c.yMax, 800}, {0, c.yMax, 800}};
    for (int i = 0; i < 4; ++i) c.screen[i] = q[i], c.uv[i] = {i, i};
    ASSERT_EQ(c.ClipScreenQuad(), 4);
    EXPECT_EQ(c.inputCount, -1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c.screen[i].x, q[i].x);
        EXPECT_EQ(c.screen[i].y, q[i].y);
    }
    const CScreenVertex left[4] = {{-50, 0, 800}, {-10, 0, 800}, {-10, 90, 800}, {-50, 90, 800}};
    for (int i = 0; i < 4; ++i) c.screen[i] = left[i];
    EXPECT_EQ(c.ClipScreenQuad(), 0);
}

TEST(ClipTest, EdgeCrossingsFollowTheDepth) {
    CClipper c = Clipper();
    // From depth 1000 outside the left edge to 3000 inside, crossing halfway in x: depth 1500, and u
    // by the perspective formula (399 where the exact value is 400); the linear clip gives 800.
    const CScreenVertex q[4] = {{-100, 0, 1000}, {100, 0, 3000}, {100, 160, 3000}, {-100, 160, 1000}};
    const CUVPair uv[4] = {{0, 0}, {1600, 0}, {1600, 160}, {0, 160}};
    for (int i = 0; i < 4; ++i) c.screen[i] = q[i], c.uv[i] = uv[i];
    ASSERT_EQ(c.ClipScreenQuad(), 4);
    bool found = false;
    for (int i = 0; i < 4; ++i) {
        if (c.screen[i].x == 0 && c.screen[i].y == 0) {
            found = true;
            EXPECT_EQ(c.screen[i].z, 1500);
            EXPECT_EQ(c.uv[i].u, 800);  // the screen driver interpolates linearly
        }
    }
    EXPECT_TRUE(found);
}

TEST(ClipTest, PerspectiveCrossingOfTheViewSpaceDrivers) {
    // A floor strip from the left of the view into it: its crossing at the left edge takes u from
    // 1/z, so nearer texels take more of the screen.
    CClipper c = Clipper();
    SetQuad(c, {{-3000, -518, 1000}, {500, -518, 3000}, {500, -518, 2000}, {-3000, -518, 900}});
    c.uv[0] = {0, 0};
    c.uv[1] = {4096, 0};
    c.uv[2] = {4096, 4096};
    c.uv[3] = {0, 4096};
    i32 n = c.ClipTexturedPolygon(4);
    ASSERT_GE(n, 3);
    for (int i = 0; i < n; ++i) {
        EXPECT_GE(c.screen[i].x, 0);
        EXPECT_LE(c.screen[i].x, c.xMax);
        EXPECT_GE(c.uv[i].u, 0);
        EXPECT_LE(c.uv[i].u, 4096);
    }
}

TEST(ClipTest, RandomQuadsStayInsideTheViewAndTheCapacity) {
    std::mt19937 random(9);
    auto rnd = [&](i32 lo, i32 hi) { return lo + static_cast<i32>(random() % static_cast<u32>(hi - lo)); };
    for (int t = 0; t < 3000; ++t) {
        CClipper c = Clipper(t % 2 ? 800 : 380, t % 2 ? 600 : 320);
        // Random quads of either winding, many crossing several planes at once.
        CViewCorner p{rnd(-6000, 6000), rnd(-1500, 1500), rnd(0, 9000)};
        CViewCorner q{rnd(-6000, 6000), rnd(-1500, 1500), rnd(0, 9000)};
        CViewCorner a{rnd(-6000, 6000), rnd(-1500, 1500), rnd(0, 9000)};
        CViewCorner b{rnd(-6000, 6000), rnd(-1500, 1500), rnd(0, 9000)};
        SetQuad(c, {p, q, a, b});
        i32 n1 = c.ClipLitQuad();
        ASSERT_LE(n1, kClipCorners);
        std::vector<CScreenVertex> first(c.screen, c.screen + std::max(0, n1));
        for (const CScreenVertex& s : first) {
            if (n1 < 3) break;
            ASSERT_GE(s.x, 0);
            ASSERT_LE(s.x, c.xMax);
            ASSERT_GE(s.y, 0);
            ASSERT_LE(s.y, c.yMax);
            ASSERT_GE(s.z, 512);
        }
        SetQuad(c, {q, p, b, a});
        i32 n2 = c.ClipFlatQuad();
        ASSERT_LE(n2, kClipCorners);
    }
}

}  // namespace
