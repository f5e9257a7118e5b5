// The view caches: interning, rewrites, the full cache, joint and shape codes, animation, numbering.
#include "view3d/ViewCaches.h"
#include "view3d/ViewRecord.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Notices : CViewNotices {
    std::vector<std::string> shown;
    void ShowViewNotice(const char* text) override { shown.emplace_back(text); }
};

CGroundCacheEntry Ground(u16 t) {
    CGroundCacheEntry e;
    e.texture[0] = t;
    e.palette[0] = 1;
    return e;
}

TEST(ViewCachesTest, EqualDescriptionsShareUniqueOnesDoNot) {
    CGroundCache ground;
    Notices n;
    u16 a = ground.Intern(0, Ground(5), true, &n, kGroundCacheFull);
    u16 b = ground.Intern(0, Ground(5), true, &n, kGroundCacheFull);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(a, b);
    CBlockCache blocks;
    CBlockCacheEntry e;
    e.kind = 2;
    u16 u1 = blocks.Intern(0, e, false, &n, kLowerBlockUniqueFull);
    u16 u2 = blocks.Intern(0, e, false, &n, kLowerBlockUniqueFull);
    EXPECT_NE(u1, u2);
    // A shared search never returns a unique entry.
    EXPECT_EQ(blocks.Intern(0, e, true, &n, kLowerBlockSharedFull), 3);
    EXPECT_TRUE(n.shown.empty());
}

TEST(ViewCachesTest, OnlyAnEntryOfOneCellIsRewrittenInPlace) {
    CWallCache walls;
    CWallCacheEntry w1, w2;
    w1.words[0] = 1;
    w2.words[0] = 2;
    u16 own = walls.Intern(0, w1, false, nullptr, kWallUniqueFull);
    EXPECT_EQ(walls.Intern(own, w2, false, nullptr, kWallUniqueFull), own);  // refreshed in place
    EXPECT_EQ(walls[own].words[0], 2);

    // Two cells share an entry; refreshing one of them must not change the other.
    CGroundCache ground;
    u16 cellA = ground.Intern(0, Ground(7), true, nullptr, kGroundCacheFull);
    u16 cellB = ground.Intern(0, Ground(7), true, nullptr, kGroundCacheFull);
    ASSERT_EQ(cellA, cellB);
    u16 refreshed = ground.Intern(cellA, Ground(8), true, nullptr, kGroundCacheFull);
    EXPECT_NE(refreshed, cellB);
    EXPECT_EQ(ground[cellB].texture[0], 7);
    EXPECT_EQ(ground[refreshed].texture[0], 8);
}

TEST(ViewCachesTest, AFullCacheSaysSoOncePerRebuildAndStoresNothing) {
    CGroundCache ground;
    Notices n;
    for (u16 t = 1; t <= 499; ++t) ASSERT_EQ(ground.Intern(0, Ground(t), true, &n, kGroundCacheFull), t);
    EXPECT_TRUE(n.shown.empty());
    EXPECT_EQ(ground.Intern(0, Ground(500), true, &n, kGroundCacheFull), 0);
    EXPECT_EQ(ground.Intern(0, Ground(501), true, &n, kGroundCacheFull), 0);
    ASSERT_EQ(n.shown.size(), 1u);
    EXPECT_EQ(n.shown[0], "Fatal Error: ground cache is full (1), 499/500");
    EXPECT_EQ(ground.Dropped(), 2u);
    // An equal description still finds its entry.
    EXPECT_EQ(ground.Intern(0, Ground(17), true, &n, kGroundCacheFull), 17);
    ground.Reset();
    for (u16 t = 1; t <= 500; ++t) ground.Intern(0, Ground(t), true, &n, kGroundCacheFull);
    EXPECT_EQ(n.shown.size(), 2u);
}

TEST(ViewCachesTest, JointCodes) {
    EXPECT_EQ(JointCodeOfMask(ApplyCornerRule(255)), 0);  // surrounded on all sides
    EXPECT_EQ(JointCodeOfMask(ApplyCornerRule(0)), 15);
    EXPECT_EQ(JointCodeOfMask(ApplyCornerRule(2)), 15);  // a corner alone does not count
    EXPECT_EQ(JointCodeOfMask(ApplyCornerRule(124)), 1);
    EXPECT_EQ(JointCodeOfMask(ApplyCornerRule(5)), 44);
    EXPECT_EQ(JointCodeOfMask(ApplyCornerRule(7)), 6);
    EXPECT_EQ(JointCodeOfMask(ApplyCornerRule(85)), 31);
    // Every mask the corner rule can give has a code (only 255 is 0); the others never reach the table.
    int coded = 0;
    for (int m = 0; m < 256; ++m) {
        u8 ruled = ApplyCornerRule(static_cast<u8>(m));
        if (ruled == m && m != 255) {
            EXPECT_NE(JointCodeOfMask(ruled), 0) << m;
            ++coded;
        }
    }
    EXPECT_EQ(coded, 46);
}

TEST(ViewCachesTest, ShapeCodes) {
    struct Case {
        bool s5[4], s1[4];
        u16 code;
    } cases[] = {
        {{false, false, false, false}, {false, false, false, false}, 48},
        {{true, true, false, false}, {false, false, true, true}, 56},
        {{true, false, false, true}, {false, true, true, false}, 57},
        {{true, false, false, false}, {false, true, false, false}, 55},
        {{true, false, false, true}, {false, false, false, false}, 52},
        {{false, false, true, false}, {false, true, false, false}, 54},
        {{false, true, true, false}, {true, false, false, true}, 59},
        {{false, false, false, true}, {false, false, false, false}, 49},
        {{false, true, false, false}, {false, false, false, false}, 51},
        {{false, false, false, false}, {true, false, false, true}, 52},
        {{false, false, false, false}, {false, false, true, false}, 54},
    };
    for (const Case& c : cases) EXPECT_EQ(BlockShapeCode(c.s5, c.s1), c.code);
}

TEST(ViewCachesTest, AnimatedGroundCyclesThroughItsFrames) {
    CGroundCache ground;
    u16 i = ground.Intern(0, Ground(30), true, nullptr, kGroundCacheFull);
    std::vector<CAnimatedTexture> textures(1);
    textures[0].frames = {30, 31, 32};
    std::vector<u16> seen;
    for (int k = 0; k < 4; ++k) {
        seen.push_back(ground[i].texture[0]);
        AnimateGroundTextures(textures, ground);
    }
    EXPECT_EQ(seen, (std::vector<u16>{30, 31, 32, 30}));
}

TEST(ViewCachesTest, NumberingStopsAt255) {
    CViewNumbering numbers;
    for (u16 k = 1; k <= 255; ++k) ASSERT_EQ(numbers.NextCellObject(), k);
    EXPECT_EQ(numbers.NextCellObject(), 0);
    EXPECT_EQ(numbers.NextPictureGroup(), 1);
    numbers.Reset();
    EXPECT_EQ(numbers.NextCellObject(), 1);
}

}  // namespace

namespace {

// Every cell describes a ground of its own: 1,225 descriptions for a cache of 499.
struct ManyGrounds : CViewCellBuilder {
    CViewState3D* view = nullptr;
    Notices* notices = nullptr;
    void BuildCellCaches(i32 x, i32 y) override {
        CCellView& c = *view->CellView(x, y);
        EXPECT_EQ(c.ground, 0);
        EXPECT_EQ(c.light, 256);
        c.ground = view->groundCache.Intern(c.ground, Ground(static_cast<u16>(1 + y * 35 + x)), true, notices,
                                            kGroundCacheFull);
    }
    void BuildCellCachesPass3(i32, i32) override {}
};

TEST(ViewCachesTest, ARebuildStartsAfreshAndWarnsOnce) {
    auto view = std::make_unique<CViewState3D>();
    Notices n;
    ManyGrounds b;
    b.view = view.get();
    b.notices = &n;
    view->CellView(3, 3)->light = 5;
    RebuildViewCaches(*view, b);
    EXPECT_EQ(n.shown.size(), 1u);
    EXPECT_EQ(view->groundCache.Count(), 499u);
    EXPECT_EQ(view->CellView(3, 3)->light, 256);
    EXPECT_EQ(view->CellView(34, 34)->ground, 0);  // no room: the cell shows no ground
    RebuildViewCaches(*view, b);
    EXPECT_EQ(n.shown.size(), 2u);
    EXPECT_EQ(view->CellView(0, 0)->ground, 1);
}

}  // namespace

namespace {

TEST(ViewRecordsTest, WallPartsInterleaveAndClearAloneAndRecordsStartNeutral) {
    CWallCacheEntry wall;
    for (int i = 0; i < 36; ++i) wall.words[i] = static_cast<u16>(i + 1);
    EXPECT_EQ(&wall.Word(1, 2), &wall.words[9]) << "word k of part p is word p + 4 k";
    EXPECT_EQ(&wall.Word(3, 8), &wall.words[35]);
    const struct {
        int part;
        std::vector<int> cleared;  // the word numbers that become 0
    } cases[] = {{0, {0, 4, 8, 12, 16, 20, 24, 28, 32}},
                 {3, {3, 7, 11, 15, 19, 23, 27, 31, 35}},
                 {4, {}},
                 {-2, {}}};
    for (const auto& c : cases) {
        CWallCacheEntry e = wall;
        e.Clear(c.part);
        for (int i = 0; i < 36; ++i) {
            const bool cleared = std::find(c.cleared.begin(), c.cleared.end(), i) != c.cleared.end();
            EXPECT_EQ(e.words[i], cleared ? 0 : i + 1) << "part " << c.part << " word " << i;
        }
    }
    CWallCacheEntry all = wall;
    all.Clear(-1);
    EXPECT_TRUE(EntriesEqual(all, CWallCacheEntry{}));
    EXPECT_FALSE(EntriesEqual(wall, CWallCacheEntry{}));
    CBlockCacheEntry a, b;
    EXPECT_TRUE(EntriesEqual(a, b));
    b.palette[5] = 1;
    EXPECT_FALSE(EntriesEqual(a, b)) << "the last byte counts";
    EXPECT_TRUE(EntriesEqual(CGroundCacheEntry{}, CGroundCacheEntry{}));
    // A cell's view record starts with neutral light and nothing else; the second layer's with nothing.
    const CCellView cell;
    static_assert(sizeof(CCellView) == 13 * sizeof(u16));
    const u16* words = reinterpret_cast<const u16*>(&cell);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(words[i], i == 11 ? 256 : 0) << i;
    EXPECT_TRUE(EntriesEqual(CCellOverlayView{}, CCellOverlayView{0, 0, 0}));
    // A used window state resets to zeros with the whole window's size; the small records to zeros.
    CCellWindowState state;
    state.width = 7;
    state.counters[2] = 9;
    state.bounds[3][3] = 4;
    state.flags[1] = 1;
    ResetCellWindowState(state);
    EXPECT_TRUE(EntriesEqual(state, CCellWindowState{}));
    EXPECT_EQ(state.width, 35);
    EXPECT_EQ(state.height, 35);
    CViewRecord14 r14;
    r14.words[6] = 5;
    ZeroRecord14(r14);
    EXPECT_TRUE(EntriesEqual(r14, CViewRecord14{}));
    CViewRecord20 r20;
    r20.words[4] = 0xFFFFFFFFu;
    ZeroRecord20(r20);
    EXPECT_TRUE(EntriesEqual(r20, CViewRecord20{}));
}

}  // namespace
