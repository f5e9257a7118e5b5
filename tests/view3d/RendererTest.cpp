// The renderer's set-up, heading, scan, draw list, background and occlusion, with exact values.
#include "SceneFixture.h"
#include "display/FixedMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

struct Rig {
    std::vector<u16> memory;
    CViewState3D view;
    CRenderer3D r;
    Rig(i32 W = 380, i32 H = 320, i32 orientation = 0, i32 pitch = 400)
        : memory(static_cast<size_t>(pitch) * 400) {
        view.viewX = 4;
        view.viewY = 6;
        view.viewWidth = static_cast<u32>(W);
        view.viewHeight = static_cast<u32>(H);
        view.frameBuffer.pixels =
            memory.data() + (orientation == 1 ? 390 * pitch : 0) + (orientation == 2 ? 390 : 0);
        view.frameBuffer.pitch = pitch;
        view.frameBuffer.orientation = orientation;
        view.frameBuffer.width = 400;
        view.frameBuffer.height = 400;
        view.visibleDistance = 6 * kFogStep;
        view.fogStart = 1 * kFogStep;
        r.Init();
        r.viewState = &view;
        r.SetupView();
    }
};

TEST(RendererSetupTest, ViewValues) {
    Rig rig;
    const CRenderer3D& r = rig.r;
    EXPECT_EQ(SinFixed(34312), 32768);
    EXPECT_EQ(CosFixed(34312), 56752);
    EXPECT_EQ(r.focalDistance, 1002);
    EXPECT_EQ(r.eyeDistance, 490);
    EXPECT_EQ(r.projectionScale, 172389888);
    EXPECT_EQ(r.centreColumn, -3040);
    EXPECT_EQ(r.horizon, 1120 - 2560);  // the eye's row 70 pixels above the centre
    EXPECT_EQ(r.nearestGroundDistance, 260);
    EXPECT_EQ(r.farDepth, 6 * 1024 + 1001);
    EXPECT_EQ(r.fogStartDepth, 1024 + 1002);
    EXPECT_EQ(r.target3D.pixels, rig.memory.data() + 6 * 400 + 4);

    Rig small(190, 160);
    EXPECT_EQ(small.r.horizon + 8 * 160, 35 * 16);
    Rig one;
    one.view.visibleDistance = kFogStep;
    one.view.fogStart = 0;
    one.r.SetupView();
    EXPECT_EQ(one.r.farDepth, one.r.focalDistance + 1023);
    EXPECT_EQ(one.r.fogStartDepth, one.r.focalDistance);
    // The visible distance is kept within what the grid-corner cache covers: 15 cells.
    one.view.visibleDistance = 40 * kFogStep;
    one.r.SetupView();
    EXPECT_EQ(one.r.farDepth, 15 * 1024 + one.r.focalDistance - 1);
}

TEST(RendererSetupTest, TargetsForEveryOrientation) {
    Rig r1(380, 320, 1);
    EXPECT_EQ(r1.r.target3D.xStep, -400);
    EXPECT_EQ(r1.r.target3D.yStep, 1);
    EXPECT_EQ(r1.r.target3D.pixels, r1.view.frameBuffer.pixels + 6 - 400 * 4);
    Rig r2(380, 320, 2);
    EXPECT_EQ(r2.r.target3D.xStep, 400);
    EXPECT_EQ(r2.r.target3D.yStep, -1);
    EXPECT_EQ(r2.r.target3D.pixels, r2.view.frameBuffer.pixels + 400 * 4 - 6);
    // A view rectangle reaching past the frame buffer is cut to it.
    Rig big(500, 500);
    EXPECT_EQ(big.r.viewWidth, 396);
    EXPECT_EQ(big.r.viewHeight, 394);
}

TEST(RendererHeadingTest, ClassesPairsAndTheEye) {
    Rig rig;
    struct Case {
        i32 angle, cls, c, s;
    } cases[] = {
        {0, 0, 1024, 0},
        {90 << 16, 1, 0, -1024},
        {180 << 16, 2, -1024, 0},
        {270 << 16, 3, 0, 1024},
    };
    rig.view.viewPosX = (5 * 1024 + 300) << 6;
    rig.view.viewPosY = (7 * 1024 + 700) << 6;
    for (const Case& c : cases) {
        rig.view.viewAngle = c.angle;
        rig.r.SetupHeading();
        EXPECT_EQ(rig.r.headingClass, c.cls);
        EXPECT_EQ(rig.r.headingC, c.c);
        EXPECT_EQ(rig.r.headingS, c.s);
    }
    rig.view.viewAngle = 0;
    rig.r.SetupHeading();
    EXPECT_EQ(rig.r.eyeOffset, 700 - 512);
    EXPECT_EQ(rig.r.eyeX, 5 * 1024 + 300);
    EXPECT_EQ(rig.r.eyeY, 7 * 1024 + 700 + 490);  // moved back, away from the view direction
    EXPECT_EQ(rig.r.eyeCellY, 8);
    rig.view.viewAngle = 90 << 16;
    rig.r.SetupHeading();
    EXPECT_EQ(rig.r.eyeOffset, 300 - 512);
    EXPECT_EQ(rig.r.eyeX, 5 * 1024 + 300 + 490);  // looking towards smaller x
    rig.view.viewAngle = (90 << 16) + 1;
    rig.r.SetupHeading();
    EXPECT_EQ(rig.r.headingClass, 4);
    EXPECT_NEAR(rig.r.headingC, 0, 2);
    EXPECT_NEAR(rig.r.headingS, -1024, 2);
    EXPECT_EQ(rig.r.eyeOffset, 0);
}

class Recorder : public CCellEmitters {
public:
    std::set<std::pair<i32, i32>> inside, outside;
    i32 calls = 0;
    void EmitCell(CRenderer3D&, i32 x, i32 y) override { ++calls, inside.insert({x, y}); }
    void EmitOutsideCell(CRenderer3D&, i32 x, i32 y) override { ++calls, outside.insert({x, y}); }
};

// Whether the cell's centre lies inside the triangle (either winding).
bool CentreInside(const CMapPoint t[3], i32 cx, i32 cy) {
    double px = cx * 1024 + 512, py = cy * 1024 + 512;
    auto side = [&](const CMapPoint& a, const CMapPoint& b) {
        return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
    };
    double s0 = side(t[0], t[1]), s1 = side(t[1], t[2]), s2 = side(t[2], t[0]);
    return (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
}

TEST(RendererScanTest, EveryCellOfTheTriangleOnceAndTheMapBorder) {
    Rig rig;
    Recorder rec;
    rig.r.emitters = &rec;
    rig.view.mapWidth = 35;
    rig.view.mapHeight = 35;
    for (i32 angle : {0, 90 << 16, 180 << 16, 270 << 16, (33 << 16) + 0x8000, (301 << 16) + 77}) {
        rec = Recorder{};
        rig.view.viewAngle = angle;
        rig.view.viewPosX = (17 * 1024 + 100) << 6;
        rig.view.viewPosY = (3 * 1024 + 900) << 6;
        rig.view.visibleDistance = 15 * kFogStep;
        rig.r.SetupView();
        rig.r.SetupHeading();
        rig.r.ScanVisibleCells(rig.r.scanTriangle);
        EXPECT_EQ(rec.calls, static_cast<i32>(rec.inside.size() + rec.outside.size())) << "each cell once";
        for (i32 y = -30; y < 60; ++y)
            for (i32 x = -30; x < 60; ++x)
                if (CentreInside(rig.r.scanTriangle, x, y)) {
                    bool mapped = x >= 0 && y >= 0 && x < 35 && y < 35;
                    EXPECT_EQ((mapped ? rec.inside : rec.outside).count({x, y}), 1u)
                        << x << "," << y << " " << angle;
                }
        for (auto [x, y] : rec.outside) EXPECT_TRUE(x < 0 || y < 0 || x >= 35 || y >= 35);
    }
}

TEST(RendererScanTest, TheScanIsWiderThanTheView) {
    // The cell just beyond the view's left edge at heading 0 is still scanned.
    Rig rig;
    Recorder rec;
    rig.r.emitters = &rec;
    rig.view.mapWidth = rig.view.mapHeight = 35;
    rig.view.viewPosX = (17 * 1024 + 512) << 6;
    rig.view.viewPosY = (30 * 1024 + 512) << 6;
    rig.r.SetupView();
    rig.r.SetupHeading();
    rig.r.ScanVisibleCells(rig.r.scanTriangle);
    // Six cells ahead the view spans tan(30) * 6.5 cells to each side; the scan reaches beyond it.
    const double half = std::tan(31.0 * 3.14159265 / 180) * (6 * 1024 + 490) / 1024;
    EXPECT_TRUE(rec.inside.count({17 - static_cast<i32>(half), 24}));
}

TEST(RendererDrawListTest, GridCornersAndPoints) {
    Rig rig;
    rig.view.viewPosX = (10 * 1024) << 6;
    rig.view.viewPosY = (10 * 1024 - 490) << 6;  // the eye on a grid corner
    rig.r.SetupHeading();
    EXPECT_EQ(rig.r.eyeX & 1023, 0);
    EXPECT_EQ(rig.r.eyeY & 1023, 0);
    const CMapPoint c = rig.r.GetGridCorner(0, 0);
    EXPECT_EQ(c.x, 0);
    EXPECT_EQ(c.y, 0);
    EXPECT_EQ(rig.r.GetGridCorner(0, 0).x, 0);
    CMapPoint d = rig.r.GetGridCorner(2, -3);
    EXPECT_EQ(d.x, 2048);
    EXPECT_EQ(d.y, 3072);
    CMapPoint p = rig.r.TransformCellPoint(2, -3, 100, 0, 200);
    EXPECT_EQ(p.x, 2148);
    EXPECT_EQ(p.y, 2872);
    // Far outside the cache a corner is computed and counted, never stored out of bounds.
    CMapPoint far = rig.r.GetGridCorner(40, 0);
    EXPECT_EQ(far.x, 40 * 1024);
    EXPECT_EQ(rig.r.stats.cornerCacheMisses, 1u);
}

void AppendTriangle(CRenderer3D& r, i32 z0, i32 z1, i32 z2, i32 layer = 2, u16 light = 256) {
    r.clip.inputCount = -1;
    r.clip.screen[0] = {16, 16, z0};
    r.clip.screen[1] = {160, 16, z1};
    r.clip.screen[2] = {16, 160, z2};
    r.NextPolygon() = CPolygon{};
    r.EmitPolygon(3, 1, light, layer);
}

TEST(RendererDrawListTest, FogWeightsAndDepthBounds) {
    Rig rig;
    CRenderer3D& r = rig.r;
    const i32 far = r.farDepth, near = r.fogStartDepth;
    AppendTriangle(r, near, far, (near + far) / 2, 2, 256);
    ASSERT_EQ(r.polygonCount, 1);
    EXPECT_EQ(r.fogPool[0], 128);
    EXPECT_EQ(r.fogPool[1], 0);
    EXPECT_EQ(r.fogPool[2],
              static_cast<i16>(((((far - (near + far) / 2) * 1024) / (far - near)) * 256) >> 11));
    EXPECT_EQ(r.entries[0].minDepth, near);
    EXPECT_EQ(r.entries[0].maxDepth, far);
    // Nearer than the fog start: above 128; beyond the far depth: negative.
    AppendTriangle(r, near - 500, far + 500, far);
    EXPECT_GT(r.fogPool[3], 128);
    EXPECT_LT(r.fogPool[4], 0);
    // After a view-space clip the bounds come from the unclipped input corners.
    r.clip.inputCount = 4;
    for (int i = 0; i < 4; ++i) r.clip.input[i] = {0, 0, 700 + 100 * i};
    r.clip.screen[0] = {16, 16, 900};
    r.clip.screen[1] = {160, 16, 900};
    r.clip.screen[2] = {16, 160, 900};
    r.EmitPolygon(3, 1, 256, 2);
    EXPECT_EQ(r.entries[2].minDepth, 700);
    EXPECT_EQ(r.entries[2].maxDepth, 1000);
    EXPECT_EQ(r.polygons[2].firstVertex, 6);
    EXPECT_EQ(r.polygons[2].firstFog, 6);
}

TEST(RendererDrawListTest, LimitsAreCheckedAndCounted) {
    Rig rig;
    CRenderer3D& r = rig.r;
    for (int i = 0; i < 400; ++i) AppendTriangle(r, 800, 900, 1000);
    EXPECT_EQ(r.polygonCount, kMaxPolygons);
    EXPECT_EQ(r.stats.polygonsDropped, 100u);
    // The pools: 130 polygons of 10 vertices reach the 1,200 elements after 120.
    r.polygonCount = 0;
    r.vertexCursor = r.texCoordCursor = r.fogCursor = 0;
    r.stats = CFrameStats{};
    r.clip.inputCount = -1;
    for (int i = 0; i < 10; ++i) r.clip.screen[i] = {16 * i, 16 * (i % 3), 900};
    for (int i = 0; i < 130; ++i) {
        r.NextPolygon() = CPolygon{};
        r.EmitPolygon(10, 1, 256, 2);
    }
    EXPECT_EQ(r.polygonCount, 120);
    EXPECT_EQ(r.vertexCursor, kPoolSize);
    EXPECT_EQ(r.stats.polygonsDropped, 10u);
    // A full list hands the emitters a scratch record.
    for (int i = 0; i < 400; ++i) AppendTriangle(r, 800, 900, 1000);
    EXPECT_NE(&r.NextPolygon(), &r.polygons[kMaxPolygons - 1]);
}

TEST(RendererDrawListTest, SortOrder) {
    auto cmp = [](i8 layerA, i32 maxA, i32 minA, i8 layerB, i32 maxB, i32 minB) {
        CDrawEntry a{maxA, minA, 0, layerA, 0}, b{maxB, minB, 1, layerB, 0};
        return CRenderer3D::ComparePolygons(&a, &b);
    };
    // Groups: 0, 6, 1, 2, 5, then 3 and 4 together.
    const i8 order[] = {0, 6, 1, 2, 5, 3};
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) {
            if (i != j) {
                EXPECT_EQ(cmp(order[i], 10, 5, order[j], 10, 5), i < j ? -1 : 1)
                    << int(order[i]) << " " << int(order[j]);
            }
        }
    EXPECT_EQ(cmp(0, 100, 1, 0, 5, 1), 0);
    EXPECT_EQ(cmp(2, 100, 1, 2, 50, 1), -1);  // the farther first
    EXPECT_EQ(cmp(2, 100, 1, 2, 100, 9), 1);
    EXPECT_EQ(cmp(2, 100, 9, 2, 100, 9), 0);
    EXPECT_EQ(cmp(7, 1, 1, 0, 1, 1), 0);
    EXPECT_EQ(cmp(3, 100, 1, 3, 50, 1), -1);
    // A flat layer-3 polygon with the same smallest depth as a layer-4 one goes after it, a sloped one
    // before it, whatever the largest depths.
    EXPECT_EQ(cmp(3, 500, 500, 4, 900, 500), 1);
    EXPECT_EQ(cmp(4, 900, 500, 3, 500, 500), -1);
    EXPECT_EQ(cmp(3, 600, 500, 4, 400, 500), -1);
    EXPECT_EQ(cmp(3, 600, 400, 4, 900, 500), 1);  // smallest depths differ: by depth
}

TEST(RendererDrawListTest, FillerDispatch) {
    EXPECT_EQ(CRenderer3D::ChooseFiller(1, 1, false), CFillerId::kAxisV1);
    EXPECT_EQ(CRenderer3D::ChooseFiller(5, 3, false), CFillerId::kAxisV5);
    EXPECT_EQ(CRenderer3D::ChooseFiller(3, 0, false), CFillerId::kAxisU3);
    EXPECT_EQ(CRenderer3D::ChooseFiller(2, 4, false), CFillerId::kFree2);
    EXPECT_EQ(CRenderer3D::ChooseFiller(6, 0, false), CFillerId::kFree1);
    EXPECT_EQ(CRenderer3D::ChooseFiller(10, 2, false), CFillerId::kFree10);
    EXPECT_EQ(CRenderer3D::ChooseFiller(13, 1, true), CFillerId::kLevel);
    EXPECT_EQ(CRenderer3D::ChooseFiller(14, 1, false), CFillerId::kColumn14);
    EXPECT_EQ(CRenderer3D::ChooseFiller(0, 4, false), CFillerId::kFlat);
    EXPECT_EQ(CRenderer3D::ChooseFiller(15, 0, false), CFillerId::kNone);
    const CScreenVertex level[4] = {{0, 0, 1}, {16, 0, 1}, {16, 32, 1}, {0, 32, 1}};
    const CScreenVertex slanted[4] = {{0, 0, 1}, {16, 8, 1}, {16, 32, 1}, {0, 40, 1}};
    EXPECT_TRUE(CRenderer3D::IsLevelQuad(level, 4));
    EXPECT_FALSE(CRenderer3D::IsLevelQuad(slanted, 4));
    EXPECT_FALSE(CRenderer3D::IsLevelQuad(level, 3));
}

TEST(RendererBackgroundTest, SkyOffsetFollowsItsFormula) {
    Rig rig;
    struct Case {
        i32 sky, view, u0, wrap;
    } cases[] = {
        {0, 330 << 16, 0, 0},      // view at sky + 330: the panorama starts at u = 0
        {0, -330 << 16, 6080, 0},  // view at sky - 330: the formula gives the middle of the picture
        {0, 210 << 16, 0, 0},      // 120 degrees on: the same picture again
        {10 << 16, 0, (340 * 16 * 380 / 60) % 12160, 0},
    };
    for (const Case& c : cases) {
        rig.view.skyAngle = c.sky;
        rig.view.viewAngle = c.view;
        rig.r.UpdateSkyOffset();
        EXPECT_EQ(rig.r.skyU0, c.u0) << c.view;
    }
    rig.view.skyAngle = 0;
    rig.view.viewAngle = 330 << 16;
    rig.r.UpdateSkyOffset();
    EXPECT_EQ(rig.r.skyU1, 6080);
    EXPECT_EQ(rig.r.splitColumn, 380 * 16);
    // Wrapping: from u0 = 10,000 the view shows 2,160 before the wrap and 3,920 after it.
    rig.view.viewAngle = 0;
    rig.view.skyAngle = 0;
    rig.r.UpdateSkyOffset();  // o = 330 * 16 * 380 / 60 = 33440 -> 9120
    EXPECT_EQ(rig.r.skyU0, 33440 % 12160);
    EXPECT_EQ(rig.r.skyWrap, 9120 + 6080 - 12160);
    EXPECT_EQ(rig.r.splitColumn, 380 * 16 - (3040 * 380) / 380);
}

TEST(RendererBackgroundTest, QuadsOfAFrame) {
    scene::Scene s({"..", ".."}, 380, 320);
    s.renderer->emitters = nullptr;  // background only
    s.Pose(1, 1, 512, 512, 330 << 16);
    s.view->flags = kViewFlagSky;
    s.Render();
    EXPECT_EQ(s.renderer->polygonCount, 3);  // no wrap
    EXPECT_EQ(s.renderer->skyV0, 0);         // the ground row lies below the band bottom
    EXPECT_EQ(s.renderer->skyV1, 1600);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s.renderer->entries[static_cast<size_t>(i)].layer, 0);
        EXPECT_EQ(s.renderer->entries[static_cast<size_t>(i)].minDepth, s.renderer->farDepth + 10);
    }
    s.Pose(1, 1, 512, 512, 0);
    s.Render();
    EXPECT_EQ(s.renderer->polygonCount, 5);
    EXPECT_EQ(s.renderer->polygons[3].type, 12);
    s.view->flags = 0;
    s.Render();
    EXPECT_EQ(s.renderer->polygonCount, 1);
    EXPECT_EQ(s.renderer->polygons[0].type, 0);
    EXPECT_TRUE(s.view->flags & kViewFlagDrawn);
    // The underground quad fills the view in the fog colour (the eye is mid-way up, the ground far).
    EXPECT_EQ(s.ViewPixels()[160 * 380 + 190], s.view->fogColour);
    EXPECT_TRUE(s.GuardIntact());
}

// Occlusion on hand-made screen polygons (pixel boxes), sorted as the frame sorts them.
struct OccRig : Rig {
    void Add(i32 x0, i32 y0, i32 x1, i32 y1, i32 type, i32 layer, i32 depth, i32 x1Top = -1) {
        r.clip.inputCount = -1;
        r.clip.screen[0] = {x0 * 16, y0 * 16, depth};
        r.clip.screen[1] = {(x1Top < 0 ? x1 : x1Top) * 16, y0 * 16, depth};
        r.clip.screen[2] = {x1 * 16, y1 * 16, depth};
        r.clip.screen[3] = {x0 * 16, y1 * 16, depth};
        r.NextPolygon() = CPolygon{};
        r.EmitPolygon(4, type, 256, layer);
    }
    bool Visible(int polygon) const {
        return r.polygons[static_cast<size_t>(polygon)].flags & kPolygonVisible;
    }
    void Cull() {
        r.SortPolygons();
        r.CullOccluded();
    }
};

TEST(RendererOcclusionTest, SideFacesHideWhatTheyCover) {
    OccRig o;
    o.Add(10, 20, 50, 80, 7, 3, 1000);  // the wall
    o.Add(10, 30, 50, 70, 6, 3, 2000);  // behind it, covered
    o.Add(12, 19, 40, 60, 6, 3, 2100);  // one row above the band
    o.Add(10, 30, 50, 70, 6, 2, 2200);  // ground behind it
    o.Cull();
    EXPECT_TRUE(o.Visible(0));
    EXPECT_FALSE(o.Visible(1));
    EXPECT_TRUE(o.Visible(2));
    EXPECT_FALSE(o.Visible(3));
    EXPECT_EQ(o.r.OccluderCount(), 1);

    // An upper side face hides no ground.
    OccRig u;
    u.Add(10, 10, 50, 90, 7, 5, 1000);
    u.Add(12, 30, 40, 60, 6, 2, 3000);
    u.Cull();
    EXPECT_TRUE(u.Visible(1));
}

TEST(RendererOcclusionTest, AnUpperFaceOnALowerOneMakesOneOccluder) {
    OccRig o;
    o.Add(10, 40, 50, 80, 7, 3, 1000);  // lower part
    o.Add(10, 10, 50, 40, 7, 5, 1000);  // upper part standing on it
    o.Add(12, 12, 48, 78, 6, 3, 3000);  // behind both
    o.Cull();
    EXPECT_EQ(o.r.OccluderCount(), 1);
    EXPECT_EQ(o.r.Occluder(0).topLeft, 10);
    EXPECT_EQ(o.r.Occluder(0).bottomLeft, 80);
    EXPECT_TRUE(o.Visible(0));
    EXPECT_TRUE(o.Visible(1));
}

TEST(RendererOcclusionTest, TheOccluderLimitKeepsFacesVisible) {
    OccRig o;
    for (int i = 0; i < 60; ++i) o.Add(i * 5, 20, i * 5 + 5, 80, 7, 3, 1000 + i);
    o.Cull();
    EXPECT_EQ(o.r.OccluderCount(), kMaxOccluders);
    EXPECT_EQ(o.r.stats.occludersDropped, 10u);
    for (int i = 0; i < 60; ++i) EXPECT_TRUE(o.Visible(i));
}

}  // namespace

namespace {

TEST(RendererSetupTest, EveryViewSizeGivesSaneValues) {
    // The layouts give views from handheld sizes up to 480 x 400, and the view-size setting shrinks
    // them; wider views are taken too.
    for (i32 W = 100; W <= 1280; W += 20) {
        for (i32 H : {W * 3 / 4, W * 8 / 10, W * 6 / 10}) {
            std::vector<u16> memory(static_cast<size_t>(W) * H);
            CViewState3D view;
            view.viewWidth = static_cast<u32>(W);
            view.viewHeight = static_cast<u32>(H);
            view.frameBuffer = {memory.data(), W, H, W, 0};
            view.visibleDistance = 15 * kFogStep;
            CRenderer3D r;
            r.Init();
            r.viewState = &view;
            r.SetupView();
            EXPECT_EQ(r.focalDistance, 1002);
            EXPECT_GT(r.projectionScale, 0) << W;
            // The horizon lies in the upper half of the view, the far ground row below it.
            EXPECT_GT(-r.horizon, 0) << W << "x" << H;
            EXPECT_LT(-r.horizon, r.viewHeight16 / 2 + 1) << W << "x" << H;
            EXPECT_LE(r.ceilingRow, -r.horizon);
            EXPECT_GE(r.groundRow, -r.horizon);
            EXPECT_LE(r.groundRow, r.pitRow);
            EXPECT_GT(r.nearestGroundDistance, 0);
            EXPECT_LT(r.nearestGroundDistance, r.focalDistance);
        }
    }
}

TEST(RendererDrawListTest, WideViewsProjectWithoutOverflow) {
    // At 800 pixels a corner three cells beside the near plane passes 32 bits in x * q.
    CClipper c;
    c.projectionScale = ((800 * 1002 * 1024) / 1158) * 512;
    c.centreColumn = -8 * 800;
    for (i32 x : {-9000, -5000, 3100, 5000, 9000}) {
        CScreenVertex s = c.Project({x, 0, 512});
        const double exact = static_cast<double>(x) * (c.projectionScale / 512) / 32768.0 + 8 * 800;
        EXPECT_NEAR(s.x, exact, 1.0) << x;
    }
}

TEST(RendererOcclusionTest, ViewsWiderThan800Columns) {
    std::vector<u16> memory(1000 * 200);
    CViewState3D view;
    view.viewWidth = 1000;
    view.viewHeight = 200;
    view.frameBuffer = {memory.data(), 1000, 200, 1000, 0};
    view.visibleDistance = 6 * kFogStep;
    CRenderer3D r;
    r.Init();
    r.viewState = &view;
    r.SetupView();
    auto add = [&](i32 x0, i32 x1, i32 type, i32 layer, i32 depth) {
        r.clip.inputCount = -1;
        r.clip.screen[0] = {x0 * 16, 20 * 16, depth};
        r.clip.screen[1] = {x1 * 16, 20 * 16, depth};
        r.clip.screen[2] = {x1 * 16, 150 * 16, depth};
        r.clip.screen[3] = {x0 * 16, 150 * 16, depth};
        r.NextPolygon() = CPolygon{};
        r.EmitPolygon(4, type, 256, layer);
    };
    add(850, 990, 7, 3, 1000);
    add(860, 980, 6, 3, 3000);
    r.SortPolygons();
    r.CullOccluded();
    EXPECT_TRUE(r.polygons[0].flags & kPolygonVisible);
    EXPECT_FALSE(r.polygons[1].flags & kPolygonVisible);
}

}  // namespace

namespace {

TEST(RendererDrawListTest, CellBlockKinds) {
    Rig rig;
    CBlockCacheEntry solid, open;
    solid.kind = 2;
    open.kind = 1;
    u16 s = rig.view.blockCache.Intern(0, solid, true, nullptr, kLowerBlockSharedFull);
    u16 o = rig.view.blockCache.Intern(0, open, true, nullptr, kLowerBlockSharedFull);
    rig.view.CellView(3, 4)->lowerBlock = s;
    rig.view.overlayViews[4 * 35 + 3].upperBlock = s;
    rig.view.CellView(5, 4)->lowerBlock = o;
    rig.view.overlayViews[4 * 35 + 6].upperBlock = s;
    EXPECT_EQ(rig.r.CellBlockKinds(3, 4), 3u);
    EXPECT_EQ(rig.r.CellBlockKinds(5, 4), 0u);
    EXPECT_EQ(rig.r.CellBlockKinds(6, 4), 2u);
    EXPECT_EQ(rig.r.CellBlockKinds(-1, 4), 0u);
    EXPECT_EQ(rig.r.CellBlockKinds(35, 0), 0u);
}

}  // namespace
