// The cell emitters, block models, fillers of every type, overlays, weather and the thumbnail: golden
// frames of a dressed room, and the exact rules each piece keeps.
#include "SceneFixture.h"
#include "GoldenPoses.h"

#include "view3d/BlockModels.h"
#include "view3d/FreeFillers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <random>

namespace {

using namespace scene::art;

const std::vector<std::string> kRoom = {
    "#############", "#...........#", "#...........#", "#...........#", "#####.#######",
    "#...........#", "#...........#", "#...........#", "#############",
};

// A room dressed with one of everything: pits, a mossy floor with a mask, a roofed block, a door in the
// wall's gap, pictures, objects with glow, an item pile, a centre picture, a turning panel, a wall with
// an edge picture and a decal.
void Dress(scene::Scene& s) {
    AddPictures(s);
    s.view->specialPictures[0] = nullptr;
    CGroundCacheEntry pit;
    pit.texture[0] = scene::kFloor;
    pit.flags = 1;
    const u16 pitIndex = s.AddGround(pit);
    s.CellAt(2, 6).ground = pitIndex;
    s.CellAt(3, 6).ground = pitIndex;
    CGroundCacheEntry moss;
    moss.texture[0] = scene::kFloor;
    moss.texture[1] = kMoss;
    moss.maskA = kMask;
    s.CellAt(7, 6).ground = s.AddGround(moss);

    // A solid block with a hip roof on it.
    CBlockCacheEntry roofed;
    roofed.kind = 2;
    roofed.picture[0] = scene::kBrick;
    roofed.picture[1] = kRoof;
    roofed.model = 15;
    s.CellAt(9, 6).lowerBlock = s.AddBlock(roofed);
    s.CellAt(9, 6).ground = 0;

    // The door in the gap between the two halves.
    CBlockCacheEntry door;
    door.kind = 3;
    door.picture[3] = kFrame;
    door.picture[1] = kLeaf;
    door.x[1] = 24;
    door.y[1] = 24;
    door.picture[0] = kDecal;
    door.x[0] = 112;
    door.y[0] = 4;
    door.model = static_cast<u8>((20 << 2) | 3);
    s.CellAt(5, 4).lowerBlock = s.AddBlock(door);

    // A composite picture, a picture group, a large picture.
    CBlockCacheEntry composite;
    composite.kind = 1;
    composite.picture[0] = kSprite;
    composite.x[0] = scene::Units(512);
    composite.y[0] = scene::Units(512);
    composite.picture[1] = kDecal;
    composite.x[1] = 0;
    composite.y[1] = 8;
    s.CellAt(4, 5).lowerBlock = s.AddBlock(composite);
    CBlockCacheEntry group;
    group.kind = 5;
    for (int k = 0; k < 3; ++k) {
        group.picture[k] = kSprite;
        group.x[k] = scene::Units(250 + 260 * k);
        group.y[k] = scene::Units(300 + 200 * k);
    }
    s.CellAt(8, 5).lowerBlock = s.AddBlock(group);
    CBlockCacheEntry panel;
    panel.kind = 10;
    panel.picture[3] = kPanel;
    s.CellAt(10, 5).lowerBlock = s.AddBlock(panel);

    // A cell object with a glow, an item pile and a centre picture.
    s.view->cellObjects[1] = CCellObject{kSprite, 0, scene::Units(300), scene::Units(400), 0x4000, 0, 0};
    s.CellAt(6, 6).cellObject[0] = 1;
    s.view->pictureGroups[1].pictures[0] = kDecal;
    s.view->pictureGroups[1].pictures[3] = kDecal;
    s.CellAt(5, 6).pictureGroup = 1;
    s.CellAt(3, 7).centrePicture = kSprite;
    s.CellAt(3, 7).centreX = 512 << 6;
    s.CellAt(3, 7).centreY = 512 << 6;

    // The southern wall's face into the room, with an upright picture in slot 5 and a flat one in slot
    // 1 on the cell's southern edge.
    CWallCacheEntry wall;
    wall.words[0] = static_cast<u16>(16 | (31 << 5) | (12 << 10));
    wall.words[4] = kDecal;
    wall.words[8] = kSprite;
    wall.words[16] = static_cast<u16>(8 | (28 << 5) | (1 << 10));
    wall.words[20] = kSprite;
    s.CellAt(6, 7).lowerWall = s.AddWall(wall);
}

TEST(EmitterTest, DressedRoomGoldenFrames) {
    scene::ExpectGoldenFrames(kRoom,
                              [](scene::Scene& s) {
                                  Dress(s);
                                  s.view->visibleDistance = 10 * kFogStep;
                                  s.view->fogStart = 3 * kFogStep;
                              },
                              {
                                  {"view3d_room_0", 6, 7, 512, 700, 0},
                                  {"view3d_room_90", 11, 6, 800, 512, 90 << 16},
                                  {"view3d_room_200", 5, 1, 512, 300, 200 << 16},
                                  {"view3d_room_33_5", 9, 7, 512, 900, (33 << 16) + 0x8000},
                                  {"view3d_room_270", 1, 6, 200, 512, 270 << 16},
                                  {"view3d_room_160", 7, 5, 512, 200, 160 << 16},
                              });
}

TEST(EmitterTest, EveryOrientationDrawsTheDressedRoomAlike) {
    const scene::OrientationFrames f =
        scene::RenderInEveryOrientation(kRoom, 190, 160, &Dress, 6, 7, 512, 700, (20 << 16) + 0x1234);
    for (int o = 0; o < 3; ++o) EXPECT_TRUE(f.guards[o]) << o;
    EXPECT_EQ(f.frames[0], f.frames[1]);
    EXPECT_EQ(f.frames[0], f.frames[2]);
}

TEST(EmitterTest, RandomPosesWithTheLargestVisibilityStayInsideTheView) {
    std::mt19937 random(5);
    scene::Scene s(kRoom, 240, 150, 4);
    Dress(s);
    for (int i = 0; i < 200; ++i) {
        i32 cx, cy;
        do {
            cx = static_cast<i32>(random() % 13);
            cy = static_cast<i32>(random() % 9);
        } while (s.IsWall(cx, cy));
        s.Pose(cx, cy, static_cast<i32>(random() % 1024), static_cast<i32>(random() % 1024),
               static_cast<i32>(random() % (360u << 16)));
        s.view->visibleDistance = static_cast<i32>(random() % 256);
        s.Render();
        ASSERT_TRUE(s.GuardIntact()) << i;
    }
}

TEST(EmitterTest, AHeadingOfZeroAndATinyTurnDifferInFewPixels) {
    scene::Scene a(kRoom, 380, 320), b(kRoom, 380, 320);
    Dress(a);
    Dress(b);
    a.Pose(6, 7, 512, 700, 0);
    b.Pose(6, 7, 512, 700, 1);
    a.Render();
    b.Render();
    const std::vector<u16> pa = a.ViewPixels(), pb = b.ViewPixels();
    size_t differ = 0;
    for (size_t i = 0; i < pa.size(); ++i) differ += pa[i] != pb[i];
    EXPECT_LT(differ, pa.size() / 20);
}

// --- ground, pits, walls ---

i32 CountType(const CRenderer3D& r, i32 type) {
    i32 n = 0;
    for (i32 i = 0; i < r.polygonCount; ++i) n += r.polygons[static_cast<size_t>(i)].type == type;
    return n;
}

TEST(EmitterTest, PitSidesOnlyTowardsNonPitsAndNothingUnderSolidBlocks) {
    scene::Scene s({"....", "....", "...."}, 380, 320);
    CGroundCacheEntry pit;
    pit.texture[0] = scene::kFloor;
    pit.flags = 1;
    const u16 p = s.AddGround(pit);
    s.CellAt(1, 0).ground = p;
    s.CellAt(2, 0).ground = p;
    Prepare(s, 1, 2, 512, 512, 0);
    s.emitters->EmitCellGround(1, 0);
    // Of the pit (1, 0): the northern side (the map's edge) and the western one (a plain neighbour)
    // face the eye, two faces each (a deep pit); the southern one faces away; none towards the eastern
    // pit. Then the bottom in the flat colour.
    EXPECT_EQ(CountType(*s.renderer, 8), 4);
    EXPECT_EQ(CountType(*s.renderer, 0), 1);
    s.CellAt(2, 0).ground = s.CellAt(0, 0).ground;
    Prepare(s, 1, 2, 512, 512, 0);
    s.emitters->EmitCellGround(1, 0);
    EXPECT_EQ(CountType(*s.renderer, 8), 6);
    // A shallow pit has one face a side.
    s.renderer->deepPit = 0;
    Prepare(s, 1, 2, 512, 512, 0);
    s.emitters->EmitCellGround(1, 0);
    EXPECT_EQ(CountType(*s.renderer, 8), 3);

    // A solid lower block hides the ground.
    CBlockCacheEntry solid;
    solid.kind = 2;
    solid.picture[0] = scene::kBrick;
    s.CellAt(1, 1).lowerBlock = s.AddBlock(solid);
    s.renderer->polygonCount = 0;
    s.emitters->EmitCellGround(1, 1);
    EXPECT_EQ(s.renderer->polygonCount, 0);
}

// --- fillers ---

struct Canvas {
    std::vector<u16> pixels = std::vector<u16>(64 * 64, 0x1234);
    CFrameTarget target;
    Canvas() {
        target.pixels = pixels.data();
        target.pitch = 64;
        target.width = target.height = 64;
        SetFrameTargetSteps(target);
    }
};

CTextureDesc Desc(const std::vector<u8>& record) {
    CPictureData p;
    ReadPicture(record.data(), record.size(), p);
    return TextureDescOf(p);
}

TEST(EmitterTest, GroundTypesMixTheirTexturesAsTheirTablesSay) {
    const auto base =
        Picture(256, 64, {Rgb(255, 0, 0), Rgb(0, 0, 255)}, [](int x, int y) { return (x + y) & 1; });
    const auto clear = Picture(256, 64, {0xFFFF}, [](int, int) { return 0; });
    const auto other = Picture(256, 64, {Rgb(0, 255, 0)}, [](int, int) { return 0; });
    const auto mask = MaskRecord(256, 64, [](int x, int y) { return ((x / 2) + (y / 2)) % 2 == 0; });
    CPictureData mp;
    ReadPicture(mask.data(), mask.size(), mp);
    const CMaskDesc m = MaskDescOf(mp);
    const CTextureDesc t1 = Desc(base), t2 = Desc(clear), t3 = Desc(other);
    const CScreenVertex v[4] = {{16, 16, 600}, {1000, 16, 600}, {1000, 1000, 900}, {16, 1000, 900}};
    const CUVPair uv[4] = {{0, 0}, {4095, 0}, {4095, 1023}, {0, 1023}};
    const i16 fog[4] = {2000, 2000, 2000, 2000};
    using Fill = u32 (*)(const CFillArgs&);
    const Fill ones[3] = {&FillFreePolygon1, &FillAxisPolygonU1, &FillAxisPolygonV1};
    const Fill fours[3] = {&FillFreePolygon4, &FillAxisPolygonU4, &FillAxisPolygonV4};
    const Fill twos[3] = {&FillFreePolygon2, &FillAxisPolygonU2, &FillAxisPolygonV2};
    for (int k = 0; k < 3; ++k) {
        Canvas a, b, c;
        CFillArgs args;
        args.count = 4, args.vertices = v, args.texCoords = uv, args.fog = fog;
        args.textures[0] = &t1, args.textures[1] = &t2;
        args.target = &a.target;
        ones[k](args);
        args.target = &b.target;
        fours[k](args);
        // Type 4 over an all-see-through decal draws exactly type 1.
        EXPECT_EQ(a.pixels, b.pixels) << k;
        // Type 2: the mask picks texture 2 in 2 x 2 texel blocks: both colours show.
        args.textures[1] = &t3;
        args.masks[0] = &m;
        args.target = &c.target;
        twos[k](args);
        bool green = false, other_ = false;
        for (u16 p : c.pixels)
            green |= p == Rgb(0, 255, 0), other_ |= p == Rgb(255, 0, 0) || p == Rgb(0, 0, 255);
        EXPECT_TRUE(green && other_) << k;
    }
}

TEST(EmitterTest, MismatchedLayoutsAreReplacedAndLoggedOnce) {
    scene::Scene s(kRoom, 190, 160);
    // A second ground texture of another width would be read with the first's row length.
    s.pictures.Add(kMoss, Picture(128, 64, {Rgb(0, 255, 0)}, [](int, int) { return 0; }));
    CGroundCacheEntry g;
    g.texture[0] = scene::kFloor;
    g.texture[1] = kMoss;
    g.maskA = scene::kFloor;
    const u16 index = s.AddGround(g);
    for (i32 y = 5; y < 8; ++y)
        for (i32 x = 1; x < 12; ++x) s.CellAt(x, y).ground = index;
    s.Pose(6, 7, 512, 512, 0);
    s.Render();
    EXPECT_GT(s.renderer->layoutFaults, 0u);
    EXPECT_TRUE(s.GuardIntact());
    for (u16 p : s.ViewPixels()) ASSERT_NE(p, Rgb(0, 255, 0));
}

TEST(EmitterTest, SeeThroughTexelsOfPicturesAndClampedIndices) {
    const auto blocks = [] {
        std::vector<u8> r(8, 0);
        r[0] = 1, r[2] = 8, r[4] = 8;
        r.insert(r.end(), 16, 0);  // every block index 0
        for (int k = 0; k < 8; ++k) r.push_back(0x11);
        return r;
    }();
    const CTextureDesc t = Desc(blocks);
    // A mirrored picture's coordinate reaches -1 and beyond the right edge; nothing reads outside.
    const CScreenVertex v[4] = {{0, 0, 600}, {800, 0, 600}, {800, 800, 600}, {0, 800, 600}};
    const CUVPair uv[4] = {{127, -40}, {-1, -40}, {-1, 200}, {127, 200}};
    const i16 fog[4] = {0, 0, 0, 0};
    Canvas a;
    CFillArgs args;
    args.target = &a.target, args.count = 4, args.vertices = v, args.texCoords = uv, args.fog = fog;
    args.textures[0] = &t;
    FillLevelPolygon(args);
    for (u16 p : a.pixels) ASSERT_EQ(p, 0x1234);  // block index 0 is see-through
    FillColumnPolygon14(args);
    for (u16 p : a.pixels) ASSERT_EQ(p, 0x1234);
}

// --- block models ---

TEST(EmitterTest, ModelTableRowsCloseAndFaceOutward) {
    const CBlockModelTable& t = BlockModels();
    EXPECT_EQ(t.rows[0].faceCount, 0);
    EXPECT_EQ(t.rows[16].faceCount, 0);
    for (i32 row = 1; row < kModelRows; ++row) {
        if (row == 16) continue;
        const CModelRow& r = t.rows[row];
        ASSERT_GT(r.faceCount, 0) << row;
        i64 covered = 0;
        for (i32 f = 0; f < r.faceCount; ++f) {
            const CModelFace& face = t.faces[static_cast<size_t>(r.firstFace + f)];
            ASSERT_GE(face.cornerCount, 3);
            ASSERT_LE(face.cornerCount, 4);
            i64 area = 0;
            for (i32 k = 0; k < face.cornerCount; ++k) {
                const auto& a =
                    t.vertices[static_cast<size_t>(r.firstVertex + t.corners[face.firstCorner + k].vertex)];
                const auto& b = t.vertices[static_cast<size_t>(
                    r.firstVertex + t.corners[face.firstCorner + (k + 1) % face.cornerCount].vertex)];
                area += static_cast<i64>(a.x) * b.y - static_cast<i64>(b.x) * a.y;
                ASSERT_GE(a.height, 0);
                ASSERT_LE(a.height, kRoofHeight);
            }
            // Every face runs in the ground's order (it faces up and out).
            ASSERT_GT(area, 0) << row << " face " << f;
            covered += area;
        }
        // The faces cover the cell once: no gap, no overlap.
        EXPECT_EQ(covered, 2LL * 1024 * 1024) << row;
        // Every open side lies at height 0 along its whole length.
        u8 open = 0, corners = 0;
        ASSERT_TRUE(ModelRowShape(row, open, corners));
        for (i32 v = 0; v < r.vertexCount; ++v) {
            const CModelVertex& p = t.vertices[static_cast<size_t>(r.firstVertex + v)];
            const bool onOpen = ((open & 1) && p.y == 0) || ((open & 2) && p.x == 0) ||
                                ((open & 4) && p.y == 1024) || ((open & 8) && p.x == 1024);
            if (onOpen) {
                EXPECT_EQ(p.height, 0) << row;
            }
        }
    }
    // Row 1 is one slope over the whole cell rising from the northern edge, as the joint rules expect.
    const CModelRow& one = t.rows[1];
    ASSERT_EQ(one.faceCount, 2);  // the slope and the flat top behind it
    // Row 15 is a four-sided hip: four trapezoids and the flat square on top.
    EXPECT_EQ(t.rows[15].faceCount, 5);
}

// --- doors ---

i32 CountTexture(const CRenderer3D& r, u16 texture) {
    i32 n = 0;
    for (i32 i = 0; i < r.polygonCount; ++i) n += r.polygons[static_cast<size_t>(i)].texture[0] == texture;
    return n;
}

TEST(EmitterTest, ADoorOpenedFullyShowsNoLeafAndClosedShowsItWhole) {
    for (int style = 0; style < 4; ++style) {
        scene::Scene s(kRoom, 380, 320);
        Dress(s);
        CBlockCacheEntry door = s.view->blockCache[s.CellAt(5, 4).lowerBlock];
        door.model = static_cast<u8>((63 << 2) | style);
        s.CellAt(5, 4).lowerBlock = s.AddBlock(door);
        s.Pose(5, 6, 512, 512, 0);
        s.Render();
        EXPECT_EQ(CountTexture(*s.renderer, kLeaf), 0) << style;
        EXPECT_GE(CountTexture(*s.renderer, kFrame), 1) << style;
        EXPECT_EQ(CountTexture(*s.renderer, kDecal) >= 1, true) << style;
        door.model = static_cast<u8>(style);
        s.CellAt(5, 4).lowerBlock = s.AddBlock(door);
        s.Render();
        EXPECT_GE(CountTexture(*s.renderer, kLeaf), 1) << style;
    }
}

// --- overlays ---

TEST(EmitterTest, OverlaysAreCutToTheViewOnEverySide) {
    scene::Scene s(kRoom, 100, 60, 8);
    Dress(s);
    CViewState3D& v = *s.view;
    v.overlayB = kOverlay;
    v.overlayBHeight = 250;  // counts as 100
    v.overlayBWidth = 100;   // wider than the view: reaches left of it
    v.overlayFollow = 1;
    v.overlayA = kOverlay;
    v.overlayARow = 0;
    v.overlayAColumn = 60000;  // far to the right of the view
    s.Pose(6, 7, 512, 512, 0);
    s.Render();
    EXPECT_TRUE(s.GuardIntact());
    v.overlayAColumn = 0;
    v.overlayFollow = 0;
    v.overlayB = 0;
    v.overlayAHeight = 100;
    v.overlayAWidth = 100;
    v.overlayAMirrored = 1;
    s.Render();
    EXPECT_TRUE(s.GuardIntact());
    // A percent of 0 draws nothing of that picture.
    scene::Scene plain(kRoom, 100, 60, 8);
    Dress(plain);
    plain.Pose(6, 7, 512, 512, 0);
    plain.Render();
    v.overlayAHeight = 0;
    s.Render();
    EXPECT_EQ(s.ViewPixels(), plain.ViewPixels());
}

// --- weather ---

struct Script : CWeatherRandom {
    std::deque<i32> values;
    i32 Next() override {
        if (values.empty()) return 16383;
        i32 v = values.front();
        values.pop_front();
        return v;
    }
};

TEST(EmitterTest, WeatherSpawnsMovesAndRespawns) {
    scene::Scene s(kRoom, 380, 320);
    Script script;
    CRenderer3D& r = *s.renderer;
    r.viewState = s.view.get();
    r.SetupView();
    r.weatherRandom = &script;
    CWeatherParameters p;
    p.angle = 0;
    p.colour = 0xFFFF;
    p.a = 20 << 16, p.b = 40 << 16, p.d = 200 << 16, p.e = 400 << 16;
    script.values = {0, 32767, 0, 32767};  // length min, x at the right, y at the top, the fastest speed
    r.StartWeatherParticles(1, p);
    const CWeatherParticle& q = r.particles[0];
    EXPECT_EQ(q.length, r.lengthMin >> 6 << 6);
    EXPECT_EQ(q.x, (380 * 32 - 32) * 2048);
    EXPECT_EQ(q.y, 0);
    EXPECT_EQ(q.dx, 0);  // no slant: straight down
    EXPECT_EQ(r.drift, 0);
    // Moving past the bottom respawns near the top (no drift: always inside the width).
    script.values = {0, 16383, 32767, 0};
    r.MoveWeatherParticles(60 << 16);
    EXPECT_LT(r.particles[0].y >> 16, 380 * 32 / 20 / 32 + 1);

    // 500 down to 300 keeps 500 until particles leave; 300 up to 500 spawns 200 at once.
    script.values.clear();
    r.StartWeatherParticles(500, p);
    r.ChangeWeatherParticles(300, p);
    EXPECT_EQ(r.particleCount, 500);
    EXPECT_EQ(r.wantedParticles, 300);
    r.MoveWeatherParticles(100 << 16);
    EXPECT_EQ(r.particleCount, 300);
    r.ChangeWeatherParticles(500, p);
    EXPECT_EQ(r.particleCount, 500);

    // Row 0 and column 0 are never drawn.
    std::fill(s.memory.begin(), s.memory.end(), scene::kCanary);
    r.particleCount = 1;
    r.particles[0] = CWeatherParticle{4 << 16, 1 << 16, 0, 0, 0};
    script.values = {0};  // column (x >> 16) - 1 + 0 = 0
    r.DrawWeatherParticles(false);
    for (i32 y = 0; y < 4; ++y) EXPECT_EQ(s.Logical(s.guard, s.guard + y), scene::kCanary);
}

// --- thumbnail ---

TEST(EmitterTest, ThumbnailBorders) {
    struct Case {
        i32 w, h, firstColumn, lastColumn, firstRow, lastRow;
    } cases[] = {{240, 150, 0, 79, 0, 49}, {240, 240, 15, 64, 0, 49}, {380, 160, 0, 79, 8, 40}};
    for (const Case& c : cases) {
        scene::Scene s(kRoom, c.w, c.h, 0);
        std::fill(s.memory.begin(), s.memory.end(), static_cast<u16>(0x7777));
        s.renderer->viewState = s.view.get();
        u16 thumb[80 * 50];
        s.renderer->MakeViewThumbnail(thumb);
        for (i32 y = 0; y < 50; ++y)
            for (i32 x = 0; x < 80; ++x) {
                const bool inside =
                    x >= c.firstColumn && x <= c.lastColumn && y >= c.firstRow && y <= c.lastRow;
                ASSERT_EQ(thumb[y * 80 + x], inside ? 0x7777 : 0)
                    << c.w << "x" << c.h << " at " << x << "," << y;
            }
    }
    // Every orientation of the frame buffer gives the same thumbnail of the same frame.
    std::vector<u16> thumbs[3];
    for (int o = 0; o < 3; ++o) {
        scene::Scene s(kRoom, 240, 150, 4, o);
        Dress(s);
        s.Pose(6, 7, 512, 700, 0);
        s.Render();
        thumbs[o].resize(80 * 50);
        s.renderer->MakeViewThumbnail(thumbs[o].data());
    }
    EXPECT_EQ(thumbs[0], thumbs[1]);
    EXPECT_EQ(thumbs[0], thumbs[2]);
    // An empty view gives a black thumbnail instead of a division by zero.
    scene::Scene empty(kRoom, 0, 0, 4);
    empty.renderer->viewState = empty.view.get();
    u16 thumb[80 * 50];
    std::fill(thumb, thumb + 4000, static_cast<u16>(1));
    empty.renderer->MakeViewThumbnail(thumb);
    for (u16 p : thumb) ASSERT_EQ(p, 0);
}

}  // namespace

namespace {

// Whether polygon k shows its picture mirrored: u falls from its leftmost to its rightmost corner.
bool Mirrored(const CRenderer3D& r, i32 k) {
    const CPolygon& p = r.polygons[static_cast<size_t>(k)];
    i32 left = 0, right = 0;
    for (i32 i = 1; i < p.vertexCount; ++i) {
        if (r.vertexPool[static_cast<size_t>(p.firstVertex + i)].x <
            r.vertexPool[static_cast<size_t>(p.firstVertex + left)].x)
            left = i;
        if (r.vertexPool[static_cast<size_t>(p.firstVertex + i)].x >
            r.vertexPool[static_cast<size_t>(p.firstVertex + right)].x)
            right = i;
    }
    return r.texCoordPool[static_cast<size_t>(p.firstTexCoord + left)].u >
           r.texCoordPool[static_cast<size_t>(p.firstTexCoord + right)].u;
}

const std::vector<std::string> kOpen(11, std::string(11, '.'));

TEST(EmitterTest, TurningPictureMirroringTable) {
    struct Case {
        i32 angle, dx, dy;
        u8 mirrored;  // bit k: copy k + 1
    } cases[] = {
        {0, 0, -3, 0x9},         {0, -1, -3, 0xF},        {0, 1, -3, 0x0},         {90 << 16, -3, 0, 0xC},
        {90 << 16, -3, 1, 0xF},  {90 << 16, -3, -1, 0x0}, {180 << 16, 0, 3, 0x6},  {180 << 16, 1, 3, 0xF},
        {180 << 16, -1, 3, 0x0}, {270 << 16, 3, 0, 0x3},  {270 << 16, 3, -1, 0xF}, {270 << 16, 3, 1, 0x0},
    };
    for (const Case& c : cases) {
        scene::Scene s(kOpen, 380, 320);
        scene::art::AddPictures(s);
        CBlockCacheEntry b;
        b.kind = 4;
        b.picture[0] = scene::art::kSprite;
        Prepare(s, 5, 5, 512, 512, c.angle);
        s.emitters->EmitTurningPicture(5 + c.dx, 5 + c.dy, b);
        ASSERT_EQ(s.renderer->polygonCount, 4) << c.angle << " " << c.dx << " " << c.dy;
        for (i32 k = 0; k < 4; ++k)
            EXPECT_EQ(Mirrored(*s.renderer, k), ((c.mirrored >> k) & 1) != 0)
                << (c.angle >> 16) << " " << c.dx << "," << c.dy << " copy " << k + 1;
    }
}

TEST(EmitterTest, EdgePictureShowsItsSideBeyondSixtyDegrees) {
    for (i32 degrees : {180, 180 + 59, 180 - 59, 180 + 61, 180 - 75}) {
        scene::Scene s(kOpen, 380, 320);
        scene::art::AddPictures(s);
        CWallCacheEntry wall;
        wall.words[0] = static_cast<u16>(16 | (31 << 5) | (10 << 10));  // the southern edge's middle
        wall.words[4] = scene::art::kDecal;
        wall.words[8] = scene::art::kSprite;
        s.CellAt(5, 7).lowerWall = s.AddWall(wall);
        // The eye 2500 units back from the picture along the view direction, so it is in view.
        const double a = degrees * 3.14159265358979 / 180.0;
        const i32 ex = 5 * 1024 + 512 + static_cast<i32>(2500 * std::sin(a));
        const i32 ey = 8 * 1024 - 5 + static_cast<i32>(2500 * std::cos(a));
        Prepare(s, ex >> 10, ey >> 10, ex & 1023, ey & 1023, degrees << 16);
        s.emitters->EmitWallPictures(5, 7, 0);
        ASSERT_GE(s.renderer->polygonCount, 1) << degrees;
        const CPolygon& p = s.renderer->polygons[0];
        const bool side = std::abs(degrees - 180) > 60;
        EXPECT_EQ(p.texture[0], side ? scene::art::kSprite : scene::art::kDecal) << degrees;
        EXPECT_EQ(p.type, side ? 13 : 14) << degrees;
    }
}

TEST(EmitterTest, EdgePicturesReadFromInsideTheirCell) {
    // A flat picture on each edge of a cell, seen from the cell's middle straight on and turned 40
    // degrees either way: its texels run from the viewer's left to their right, never mirrored.
    const struct {
        const char* edge;
        u16 position;
        i32 facing;  // degrees
    } edges[] = {
        {"north", PackWallPosition(16, 1, 10), 0},
        {"west", PackWallPosition(1, 16, 10), 90},
        {"south", PackWallPosition(16, 31, 10), 180},
        {"east", PackWallPosition(31, 16, 10), 270},
    };
    for (const auto& e : edges)
        for (i32 turn : {-40, 0, 40}) {
            scene::Scene s(kOpen, 380, 320);
            scene::art::AddPictures(s);
            CWallCacheEntry wall;
            wall.words[1] = e.position;
            wall.words[5] = scene::art::kSprite;
            wall.words[9] = scene::art::kSprite;
            s.CellAt(5, 5).lowerWall = s.AddWall(wall);
            Prepare(s, 5, 5, 512, 512, ((e.facing + turn + 360) % 360) << 16);
            s.emitters->EmitWallPictures(5, 5, 0);
            ASSERT_EQ(s.renderer->polygonCount, 1) << e.edge << " " << turn;
            EXPECT_FALSE(Mirrored(*s.renderer, 0)) << e.edge << " " << turn;
        }
}

TEST(EmitterTest, PicturesSplitAtTheBlockTopRow) {
    scene::Scene s(kOpen, 380, 320);
    scene::art::AddPictures(s);
    Prepare(s, 5, 5, 512, 512, 0);
    CViewEmitters& e = *s.emitters;
    const i32 d = 2000;
    const i32 level = e.RowOfHeight(s.renderer->blockTopHeight, d);
    // Crossing the level row: the lower piece first (layer 3), then the upper (layer 5), v cut between.
    e.EmitPictureQuad(1000, level - 400, 1800, level + 400, d, 0, 512, 0, 768, scene::art::kSprite, 0, 256,
                      CPictureSplit::kSplit);
    ASSERT_EQ(s.renderer->polygonCount, 2);
    EXPECT_EQ(s.renderer->entries[0].layer, 3);
    EXPECT_EQ(s.renderer->entries[1].layer, 5);
    EXPECT_EQ(s.renderer->texCoordPool[0].v, 384);
    // A top exactly on the level row is not cut: one polygon in layer 3.
    e.EmitPictureQuad(1000, level, 1800, level + 400, d, 0, 512, 0, 768, scene::art::kSprite, 0, 256,
                      CPictureSplit::kSplit);
    ASSERT_EQ(s.renderer->polygonCount, 3);
    EXPECT_EQ(s.renderer->entries[2].layer, 3);
    // Wholly above: layer 5.
    e.EmitPictureQuad(1000, level - 800, 1800, level - 16, d, 0, 512, 0, 768, scene::art::kSprite, 0, 256,
                      CPictureSplit::kSplit);
    ASSERT_EQ(s.renderer->polygonCount, 4);
    EXPECT_EQ(s.renderer->entries[3].layer, 5);
}

TEST(EmitterTest, APictureAtTheNearOrFarDepthIsNotEmitted) {
    scene::Scene s(kOpen, 380, 320);
    scene::art::AddPictures(s);
    Prepare(s, 5, 5, 512, 512, 0);
    CRenderer3D& r = *s.renderer;
    CBillboard b;
    // The eye sits `eyeDistance` behind the player's point; straight ahead a point of the player's
    // cell lies at depth eyeDistance + (512 - y).
    const i32 nearY = 512 - (r.nearDepth - r.eyeDistance);
    EXPECT_FALSE(s.emitters->EmitBillboard(5, 5, 512, r.groundHeight, nearY, 512, false,
                                           CPictureSplit::kSplit, scene::art::kSprite, 0, 256, b));
    EXPECT_TRUE(s.emitters->EmitBillboard(5, 5, 512, r.groundHeight, nearY - 1, 512, false,
                                          CPictureSplit::kSplit, scene::art::kSprite, 0, 256, b));
    EXPECT_EQ(b.depth, r.nearDepth + 1);
}

TEST(EmitterTest, ASymmetricRoomLooksAlikeAtEveryAxisHeading) {
    const std::vector<std::string> room = {"#######", "#.....#", "#.....#", "#.....#",
                                           "#.....#", "#.....#", "#######"};
    auto solid = [](u16 colour) {
        return scene::IndexedRecord(256, 256, std::vector<u8>(256 * 256, 0), {colour});
    };
    std::vector<u16> frames[4];
    for (int k = 0; k < 4; ++k) {
        scene::Scene s(room, 380, 320);
        s.pictures.Add(scene::kBrick, solid(0xA145));
        s.pictures.Add(scene::kFloor, solid(0x3333));
        s.pictures.Add(scene::kCeiling, solid(0x7BCF));
        s.Pose(3, 3, 512, 512, (90 * k) << 16);
        s.Render();
        frames[k] = s.ViewPixels();
    }
    EXPECT_EQ(frames[0], frames[1]);
    EXPECT_EQ(frames[0], frames[2]);
    EXPECT_EQ(frames[0], frames[3]);
}

}  // namespace

namespace {

const std::vector<std::string> kGallery = {
    "#######", "#.....#", "#.....#", "#.....#", "#.....#", "#.....#", "#.....#",
    "#.....#", "#.....#", "#.....#", "#.....#", "#.....#", "#.....#", "#######",
};

// One cell of every further kind along a hall: paired pictures, a turning picture, a large picture, a
// raised group, a hanging picture, a tall panel, low blocks with models and a low ceiling, the ground
// types 3, 4 and 5, a glowing object, doors of the four styles, a stack on a wall picture and a raised
// block over an open cell.
void DressGallery(scene::Scene& s) {
    using namespace scene::art;
    AddPictures(s);
    static const std::vector<u8> glow = Picture(16, 16, {0xFFFF, Rgb(255, 240, 160)}, [](int x, int y) {
        return (x - 8) * (x - 8) + (y - 8) * (y - 8) < 50 ? 1 : 0;
    });
    s.view->specialPictures[0] = glow.data();
    s.pictures.Add(kGlow, Picture(256, 256, {Rgb(150, 120, 200), Rgb(110, 90, 160)},
                                  [](int x, int y) { return ((x / 32) + (y / 32)) % 2; }));
    s.pictures.Add(50, MaskRecord(256, 256, [](int x, int) { return x < 128; }));
    s.pictures.Add(51, Picture(256, 256, {0xFFFF, Rgb(240, 220, 80)}, [](int x, int y) {
                       return (x - 128) * (x - 128) + (y - 128) * (y - 128) < 50 * 50 ? 1 : 0;
                   }));
    auto block = [&](i32 x, i32 y, CBlockCacheEntry b, bool upper = false) {
        if (upper)
            s.OverlayAt(x, y).upperBlock = s.AddBlock(b);
        else
            s.CellAt(x, y).lowerBlock = s.AddBlock(b);
    };
    CBlockCacheEntry b;
    b.kind = 9, b.picture[0] = kSprite, b.picture[1] = kDecal, b.x[1] = 0, b.y[1] = 4;
    block(1, 1, b);
    b = {}, b.kind = 4, b.picture[0] = kSprite;
    block(3, 1, b);
    b = {}, b.kind = 12, b.picture[0] = kSprite, b.x[0] = scene::Units(512), b.y[0] = scene::Units(512);
    block(5, 1, b);
    b = {}, b.kind = 13, b.heightFraction = 0x7000;  // signed: raised almost half a level
    b.picture[0] = b.picture[1] = kSprite;
    b.x[0] = scene::Units(300), b.y[0] = scene::Units(500), b.x[1] = scene::Units(700),
    b.y[1] = scene::Units(500);
    block(1, 3, b);
    b = {}, b.kind = 7, b.picture[0] = kSprite, b.x[0] = scene::Units(512), b.y[0] = scene::Units(512);
    block(3, 3, b);
    b = {}, b.kind = 8, b.picture[0] = kPanel;
    block(5, 3, b, true);
    b = {}, b.kind = 11, b.picture[0] = kRoof, b.model = 15;
    block(1, 5, b);
    b = {}, b.kind = 11, b.picture[0] = kPanel, b.picture[1] = kRoof, b.model = 5;
    block(3, 5, b, true);
    CGroundCacheEntry three;
    three.texture[0] = scene::kFloor, three.texture[1] = kMoss, three.texture[2] = kGlow;
    three.maskA = kMask, three.maskB = 50;
    s.CellAt(5, 5).ground = s.AddGround(three);
    CGroundCacheEntry two = three;
    two.texture[2] = 0, two.maskB = 0;
    s.CellAt(1, 7).ground = s.AddGround(two);
    b = {}, b.kind = 6, b.picture[0] = 51;
    block(1, 7, b);
    block(3, 7, b);
    s.view->cellObjects[2] = CCellObject{kSprite, 0, scene::Units(512), scene::Units(512), 0, 1, 120};
    s.CellAt(5, 7).cellObject[0] = 2;
    for (i32 style = 0; style < 4; ++style) {
        b = {}, b.kind = 3, b.picture[3] = kFrame, b.picture[1] = kLeaf, b.x[1] = 24, b.y[1] = 24;
        if (style == 3) b.picture[2] = kLeaf;
        b.model = static_cast<u8>(((style * 15 + 20) << 2) | style);
        block(style < 3 ? 1 + 2 * style : 3, style < 3 ? 9 : 11, b);
    }
    CWallCacheEntry wall;
    wall.words[0] = static_cast<u16>(1 | (16 << 5) | (6 << 10));  // the western edge
    wall.words[4] = kDecal;
    wall.words[8] = kSprite;
    wall.words[28] = 1;
    s.view->pictureGroups[1].pictures[0] = kDecal;
    s.view->pictureGroups[1].pictures[1] = kDecal;
    s.CellAt(1, 11).lowerWall = s.AddWall(wall);
    b = {}, b.kind = 2, b.picture[0] = scene::kBrick, b.undersideTexture = kPanel;
    block(5, 11, b, true);
}

TEST(EmitterTest, GalleryOfKindsGoldenFrames) {
    scene::ExpectGoldenFrames(kGallery,
                              [](scene::Scene& s) {
                                  DressGallery(s);
                                  s.view->visibleDistance = 12 * kFogStep;
                                  s.view->fogStart = 4 * kFogStep;
                              },
                              {
                                  {"view3d_kinds_south", 3, 12, 512, 900, 0},
                                  {"view3d_kinds_middle", 3, 8, 512, 512, 0},
                                  {"view3d_kinds_north", 3, 1, 512, 100, 180 << 16},
                                  {"view3d_kinds_slant", 4, 12, 300, 900, (22 << 16) + 0x3000},
                              });
    const scene::OrientationFrames f =
        scene::RenderInEveryOrientation(kGallery, 190, 160, &DressGallery, 3, 12, 512, 900, 0x12345);
    EXPECT_EQ(f.frames[0], f.frames[1]);
    EXPECT_EQ(f.frames[0], f.frames[2]);
}

}  // namespace

namespace {

TEST(EmitterTest, GroundPicturesMoveTowardsTheEyeAtMostTheirShift) {
    scene::Scene s(kOpen, 380, 320);
    scene::art::AddPictures(s);
    s.view->pictureGroups[1].pictures[0] = scene::art::kDecal;
    s.CellAt(5, 2).pictureGroup = 1;
    s.CellAt(5, 5).pictureGroup = 1;
    Prepare(s, 5, 5, 512, 512, 0);
    CRenderer3D& r = *s.renderer;
    // Three cells ahead: the whole 156 units towards the eye (south, heading 0 looks north).
    s.emitters->EmitGroundPictures(5, 2);
    ASSERT_EQ(r.polygonCount, 1);
    const i32 expected = r.TransformCellPoint(5 - r.eyeCellX, 2 - r.eyeCellY, 512, 0, 512 + 156).y;
    EXPECT_EQ(r.vertexPool[0].z, expected);
    // In the player's own cell the pile is held back so its nearest point stays at the nearest
    // visible ground: pushed away from the eye instead.
    r.polygonCount = 0;
    r.vertexCursor = r.texCoordCursor = r.fogCursor = 0;
    s.emitters->EmitGroundPictures(5, 5);
    ASSERT_EQ(r.polygonCount, 1);
    const i32 unshifted = r.TransformCellPoint(5 - r.eyeCellX, 5 - r.eyeCellY, 512, 0, 512).y;
    EXPECT_GT(r.vertexPool[0].z, unshifted);
}

}  // namespace

namespace {

// The largest v of the texture coordinates of the last polygon emitted.
i32 LastPolygonMaxV(const CRenderer3D& r) {
    const CPolygon& p = r.polygons[static_cast<size_t>(r.polygonCount - 1)];
    i32 v = 0;
    for (i32 i = 0; i < p.vertexCount; ++i) v = std::max(v, r.texCoordPool[static_cast<size_t>(p.firstTexCoord + i)].v);
    return v;
}

}  // namespace

// Pictures that rise out of the floor (a trap's blades) are not drawn below it: wholly under the
// floor nothing shows, partly under only the part above the floor; a raised group's height is signed,
// so the blades at rest (-32768) wait under the floor rather than float half a level up.
TEST(EmitterTest, PicturesRisingOutOfTheFloorAreCutAtIt) {
    scene::Scene s(kOpen, 380, 320);
    scene::art::AddPictures(s);
    Prepare(s, 5, 5, 512, 512, 0);
    CRenderer3D& r = *s.renderer;
    CViewEmitters& e = *s.emitters;
    CBillboard b;
    // Standing on the floor three cells ahead: the whole picture, v to its foot.
    ASSERT_TRUE(e.EmitBillboard(5, 2, 512, r.groundHeight, 512, 512, false, CPictureSplit::kSplit,
                                scene::art::kSprite, 0, 256, b, false, false, 0, true));
    ASSERT_EQ(r.polygonCount, 1);
    const i32 whole = LastPolygonMaxV(r);
    // Far under the floor: in depth range, but nothing drawn.
    EXPECT_TRUE(e.EmitBillboard(5, 2, 512, r.groundHeight - 5000, 512, 512, false, CPictureSplit::kSplit,
                                scene::art::kSprite, 0, 256, b, false, false, 0, true));
    EXPECT_EQ(r.polygonCount, 1);
    // A little under: the foot is cut off. Without the cut the same picture shows whole.
    ASSERT_TRUE(e.EmitBillboard(5, 2, 512, r.groundHeight - 100, 512, 512, false, CPictureSplit::kSplit,
                                scene::art::kSprite, 0, 256, b, false, false, 0, true));
    ASSERT_EQ(r.polygonCount, 2);
    EXPECT_LT(LastPolygonMaxV(r), whole);
    ASSERT_TRUE(e.EmitBillboard(5, 2, 512, r.groundHeight - 100, 512, 512, false, CPictureSplit::kSplit,
                                scene::art::kSprite, 0, 256, b));
    EXPECT_EQ(LastPolygonMaxV(r), whole);

    // A raised group sunk by a signed fraction (the sprung blades at -8000) is cut like that.
    CBlockCacheEntry blades;
    blades.kind = 13;
    blades.picture[0] = scene::art::kSprite;
    blades.x[0] = blades.y[0] = static_cast<i16>(static_cast<u16>(512 << 6));
    blades.heightFraction = static_cast<u16>(static_cast<i16>(-8000));
    s.CellAt(5, 2).lowerBlock = s.AddBlock(blades);
    const i32 before = r.polygonCount;
    e.EmitBlockByKind(5, 2);
    ASSERT_EQ(r.polygonCount, before + 1);
    EXPECT_LT(LastPolygonMaxV(r), whole);
}
