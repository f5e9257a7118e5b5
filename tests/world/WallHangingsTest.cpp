// The things that hang on a wall's side describe themselves into the wall entry of the cell in front
// of the wall as a flat picture on that cell's edge, in the words the 3D view's picture emitters
// read; the emitters then draw it on the edge facing the cell, turned with the viewer.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "bench/scenes/ViewScene.cpp"
#include "tests/view3d/SceneFixture.h"
#include "tests/world/MapObjectFixture.h"
#include "view3d/CellEmitters.h"
#include "view3d/ViewCaches.h"
#include "world/MapScenery.h"

using namespace mapobject;

namespace {

// Every type code whose objects hang on a wall's side.
constexpr u8 kSideTypes[] = {6, 9, 10, 11, 12, 14, 16, 17, 18, 28, 40};

constexpr u16 kFirst = 301, kSecond = 302;

CMapObject* Hanging(MapObjectWorld& m, u8 code, u16 height = 0, u16 along = 0,
                    std::vector<u16> pictures = {kFirst, kSecond}) {
    CMapObject* o = m.Add(code, "hanging", {"a", "b"});
    m.records.items.back()->params[0] = height;
    m.records.items.back()->params[1] = along;
    o->pictureIds = std::move(pictures);
    return o;
}

struct Unpacked {
    i32 x, y, height;
    bool flag;
};
Unpacked Unpack(u16 word) { return {word & 31, (word >> 5) & 31, (word >> 10) & 31, (word & 0x8000) != 0}; }

}  // namespace

TEST(WallHangings, EachSideTypeFillsTheEdgeSlotOfItsPart) {
    // The edge each side names (x 1 west, x 31 east, y 1 north, y 31 south), and where a picture
    // placed at 8 of 31 from the viewer's left lands on it.
    struct {
        i32 side;
        Unpacked middle, left;
    } edges[] = {
        {0, {16, 1, 1, false}, {8, 1, 1, false}},
        {1, {31, 16, 1, false}, {31, 8, 1, false}},
        {2, {16, 31, 1, false}, {24, 31, 1, false}},
        {3, {1, 16, 1, false}, {1, 24, 1, false}},
    };
    for (u8 code : kSideTypes) {
        MapObjectWorld m;
        CMapObject* o = Hanging(m, code);
        CMapObject* placed = Hanging(m, code, 12, 8);
        CPlacement& p = m.Place(1);
        CMapCell cell;
        for (const auto& edge : edges) {
            SCOPED_TRACE(testing::Message() << "type " << int(code) << " side " << edge.side);
            CWallCacheEntry e;
            o->DescribeSide(&p, cell, e, edge.side);
            const i32 part = (edge.side + 2) & 3;
            // What the emitters read of an edge slot: position, front, side picture, palette.
            const Unpacked at = Unpack(e.words[part]);
            EXPECT_EQ(std::tuple(at.x, at.y, at.height, at.flag),
                      std::tuple(edge.middle.x, edge.middle.y, edge.middle.height, edge.middle.flag));
            EXPECT_EQ(e.words[4 + part], kFirst);
            EXPECT_EQ(e.words[8 + part], kFirst) << "a flat picture, the same seen from the side";
            EXPECT_EQ(e.words[12 + part], 0);
            EXPECT_EQ(e.words[28 + part], 0) << "no stack";
            // Nothing else: no other part, no upright picture and no decal for the block's faces.
            for (i32 w = 0; w < 36; ++w)
                if (w % 4 != part || w >= 16) EXPECT_EQ(e.words[w], 0) << "word " << w;

            CWallCacheEntry high;
            placed->DescribeSide(&p, cell, high, edge.side);
            const Unpacked left = Unpack(high.words[part]);
            EXPECT_EQ(std::tuple(left.x, left.y, left.height), std::tuple(edge.left.x, edge.left.y, 12));
        }
    }
}

TEST(WallHangings, OnlySomeKindsHangOnTheUpperPartToo) {
    // The upper part of a wall (its second layer's side) shows banners and wall faces, readable walls,
    // wall decorations, wall passages and a town door's second picture; containers, switches,
    // pictures and entrances belong to the lower part alone.
    const struct {
        u8 code;
        u16 upper;  // the front picture of the upper part, 0: none
    } cases[] = {{6, kFirst}, {9, kFirst}, {10, kFirst}, {40, kFirst}, {11, kSecond}, {12, 0},
                 {14, 0},     {16, 0},     {17, 0},      {18, 0},      {28, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.code));
        MapObjectWorld m;
        Hanging(m, c.code);
        CMapCell cell;
        CWallCacheEntry lower, upper;
        m.table.DescribeSide(0, nullptr, cell, lower, 2, false);
        m.table.DescribeSide(0, nullptr, cell, upper, 2, true);
        EXPECT_EQ(lower.words[4 + 0], kFirst);
        EXPECT_EQ(upper.words[4 + 0], c.upper);
    }
}

TEST(WallHangings, SwitchesShowTheirSecondPictureWhileOff) {
    for (u8 code : {16, 28}) {
        SCOPED_TRACE(int(code));
        MapObjectWorld m;
        CMapObject* two = Hanging(m, code);
        CMapObject* one = Hanging(m, code, 0, 0, {kFirst});
        CMapCell cell;
        const struct {
            const CMapObject* object;
            bool placed;
            u8 flags;
            u16 picture;
        } cases[] = {
            {two, true, kVisible, kFirst},             // on
            {two, true, kVisible | kClosed, kSecond},  // off
            {two, false, 0, kFirst},                   // no placement: on
            {one, true, kVisible | kClosed, kFirst},   // off, with no picture for it
        };
        for (const auto& c : cases) {
            CPlacement& p = m.Place(1, nullptr, c.flags);
            CWallCacheEntry e;
            c.object->DescribeSide(c.placed ? &p : nullptr, cell, e, 0);
            EXPECT_EQ(e.words[4 + 2], c.picture) << int(c.flags);
            EXPECT_EQ(e.words[8 + 2], c.picture) << int(c.flags);
        }
    }
    // A use turns the lever off and the description follows.
    MapObjectWorld m;
    CMapObject* lever = Hanging(m, 16);
    CPlacement& p = m.Place(1);
    CMapCell cell;
    EXPECT_TRUE(m.Act(lever, kEventUse, p, cell)) << "the view is rebuilt";
    CWallCacheEntry e;
    lever->DescribeSide(&p, cell, e, 1);
    EXPECT_EQ(e.words[4 + 3], kSecond);
}

TEST(WallHangings, AnObjectWithoutAPictureDescribesNothing) {
    MapObjectWorld m;
    CMapObject* bare = Hanging(m, 14, 5, 5, {});
    CMapCell cell;
    CWallCacheEntry e;
    bare->DescribeSide(nullptr, cell, e, 0);
    EXPECT_TRUE(EntriesEqual(e, CWallCacheEntry{})) << "an empty slot draws nothing";
}

namespace {

// The polygon's leftmost and rightmost screen x.
struct Extent {
    i32 left, right;
};
Extent ExtentOf(const CRenderer3D& r, i32 k) {
    const CPolygon& p = r.polygons[static_cast<size_t>(k)];
    Extent e{INT32_MAX, INT32_MIN};
    for (i32 i = 0; i < p.vertexCount; ++i) {
        const auto& v = r.vertexPool[static_cast<size_t>(p.firstVertex + i)];
        e.left = std::min(e.left, v.x);
        e.right = std::max(e.right, v.x);
    }
    return e;
}

}  // namespace

TEST(WallHangings, TheEmittersDrawTheDescriptionOnTheWallAhead) {
    // A room of 3 x 3 cells; from the middle cell's centre the viewer faces each wall in turn. The
    // hanging of the wall ahead is one flat picture straight ahead: in the middle, or left of the
    // middle when placed left.
    const std::vector<std::string> room = {"#####", "#...#", "#...#", "#...#", "#####"};
    const struct { i32 side, angle; } views[] = {{0, 0}, {1, 270 << 16}, {2, 180 << 16}, {3, 90 << 16}};
    for (u16 along : {u16(0), u16(6)}) {
        for (const auto& v : views) {
            SCOPED_TRACE(testing::Message() << "side " << v.side << " along " << along);
            MapObjectWorld m;
            CMapObject* o = Hanging(m, 18, 10, along, {scene::art::kDecal});
            CMapCell cell;
            CWallCacheEntry e;
            o->DescribeSide(nullptr, cell, e, v.side);

            scene::Scene s(room, 380, 320);
            scene::art::AddPictures(s);
            s.CellAt(2, 2).lowerWall = s.AddWall(e);
            Prepare(s, 2, 2, 512, 512, v.angle);
            s.emitters->EmitWallPictures(2, 2, 0);
            CRenderer3D& r = *s.renderer;
            ASSERT_EQ(r.polygonCount, 1);
            EXPECT_EQ(r.polygons[0].texture[0], scene::art::kDecal);
            EXPECT_EQ(r.polygons[0].type, 14) << "the front picture, seen square on";
            const Extent x = ExtentOf(r, 0);
            const i32 middle = r.viewWidth16 / 2;
            if (along == 0) {
                EXPECT_LT(x.left, middle);
                EXPECT_GT(x.right, middle);
                EXPECT_NEAR(middle - x.left, x.right - middle, 32) << "centred";
            } else {
                EXPECT_LT(x.right, middle) << "on the viewer's left";
            }
        }
    }
}
