// Building the view record from a cell window: ground composition, blocks with their codes, walls
// from the neighbours, cell objects and their numbering.
#include "view3d/CellBuilder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace {

// Type indices of the fixture and their first pictures (100 + index).
constexpr u16 kGrass = 1, kSand = 2, kWater = 3, kPit = 4, kRoof = 5, kWall = 6, kTransition = 7,
              kUniqueRoof = 8;

struct Window : CViewCellWindow {
    CViewCell cells[35][35];
    std::map<std::pair<i32, i32>, CViewSecondCell> second;
    std::map<u16, CViewCellType> types;
    std::map<u16, std::vector<u16>> lists;
    std::map<std::pair<i32, i32>, CViewObjectState> centreObjects;
    std::map<std::pair<i32, i32>, u16> objectNumbers;
    std::vector<std::pair<i32, i32>> sideCalls;
    bool lowers = false;
    std::map<std::pair<i32, i32>, bool> sideNamesObject;

    Window() {
        auto add = [&](u16 id, u8 kind, bool unique = false) {
            lists[id] = {static_cast<u16>(100 + id)};
            for (u16 k = 1; k < 16; ++k) lists[id].push_back(static_cast<u16>(1000 * id + k));
            CViewCellType t;
            t.kind = kind;
            t.uniqueLower = t.uniqueUpper = unique;
            t.pictures = lists[id].data();
            t.pictureCount = static_cast<u32>(lists[id].size());
            types[id] = t;
        };
        add(kGrass, 2);
        add(kSand, 2);
        add(kWater, 3);
        add(kPit, 5);
        add(kRoof, 1);
        add(kWall, 5);
        add(kTransition, 2);
        add(kUniqueRoof, 1, true);
    }
    bool HasMapData() const override { return true; }
    bool GetCell(i32 x, i32 y, CViewCell& c) const override {
        if (x < 0 || y < 0 || x >= 35 || y >= 35) return false;
        c = cells[y][x];
        return true;
    }
    bool GetSecondCell(i32 x, i32 y, CViewSecondCell& c) const override {
        auto it = second.find({x, y});
        if (it == second.end()) return false;
        c = it->second;
        return true;
    }
    const CViewCellType* GetCellType(u16 index) const override {
        auto it = types.find(index);
        return it == types.end() ? nullptr : &it->second;
    }
    CViewObjectState CentreObject(i32 x, i32 y) const override {
        auto it = centreObjects.find({x, y});
        return it == centreObjects.end() ? CViewObjectState{} : it->second;
    }
    CViewObjectState SecondCentreObject(i32, i32) const override { return {}; }
    void DefaultGround(i32, i32, u16& type, u16& palette) const override { type = kGrass, palette = 0; }
    u8 TransitionIndex(u8 mask) const override { return static_cast<u8>(1 + mask % 15); }
    bool DescribeCentre(i32 x, i32 y, bool upper, CBlockCacheEntry& e, u16& light) override {
        const CViewCell& c = cells[y][x];
        e.kind = upper ? 7 : types[c.centre].kind;
        e.picture[0] = static_cast<u16>(x + 100 * y);
        light = static_cast<u16>(light + 100);
        return !upper || second.count({x, y});
    }
    bool DescribeSide(i32 nx, i32 ny, i32 part, bool, CWallCacheEntry& e) override {
        sideCalls.push_back({nx * 100 + ny, part});
        e.words[part] = static_cast<u16>(500 + part);
        auto it = sideNamesObject.find({nx, ny});
        return it != sideNamesObject.end() && it->second;
    }
    u16 CellObjectIndex(i32 x, i32 y, i32 slot) const override {
        auto it = objectNumbers.find({x, y * 2 + slot});
        return it == objectNumbers.end() ? 0 : it->second;
    }
    void FillCellObject(i32 x, i32, i32, CCellObject& o) override { o.picture = static_cast<u16>(700 + x); }
    u16 PictureGroupIndex(i32, i32) const override { return 0; }
    void FillPictureGroup(i32, i32, CPictureGroup&) override {}
    bool LowersLight() const override { return lowers; }
    bool HasCellObject(i32 x, i32 y, i32 slot) const override { return slot == 0 && (x + y) % 2 == 0; }
    void SetCellObjectIndex(i32 x, i32 y, i32 slot, u16 index) override {
        objectNumbers[{x, y * 2 + slot}] = index;
    }
    bool HasPictureGroup(i32, i32) const override { return false; }
    void SetPictureGroupIndex(i32, i32, u16) override {}

    void Ground(i32 x, i32 y, u16 type, u16 palette = 0) {
        cells[y][x].layer1 = type;
        cells[y][x].layer1Picture = palette;
    }
    void Block(i32 x, i32 y, u16 type, u16 palette = 0) {
        cells[y][x].centre = type;
        cells[y][x].centrePicture = palette;
    }
};

struct Rig {
    std::unique_ptr<CViewState3D> view = std::make_unique<CViewState3D>();
    Window w;
    CViewCacheBuilder b{*view, w, nullptr};
    const CCellView& Cell(i32 x, i32 y) const { return *view->CellView(x, y); }
    const CGroundCacheEntry& GroundOf(i32 x, i32 y) const { return view->groundCache[Cell(x, y).ground]; }
};

TEST(CellBuilderTest, GroundComposition) {
    auto r = std::make_unique<Rig>();
    // Sand everywhere: a cell surrounded by sand is sand alone.
    for (i32 y = 0; y < 35; ++y)
        for (i32 x = 0; x < 35; ++x) r->w.Ground(x, y, kSand, 3);
    r->b.RebuildViewCaches();
    EXPECT_EQ(r->b.GroundNeighbourCode(10, 10, false), 255);
    EXPECT_EQ(r->GroundOf(10, 10).texture[0], 100 + kSand);
    EXPECT_EQ(r->GroundOf(10, 10).palette[0], 3);
    EXPECT_EQ(r->Cell(10, 10).groundShape, 54);
    EXPECT_EQ(r->Cell(10, 10).ground, r->Cell(20, 20).ground);
    // On the window's edge the outside neighbours do not count, but without a transition type there
    // is no mask to blend the edge with: the sand covers the cell (a layer through mask 0 would draw
    // nothing, a hole to the sky).
    EXPECT_EQ(r->b.GroundNeighbourCode(0, 0, false), ApplyCornerRule(0x1C));
    EXPECT_EQ(r->GroundOf(0, 0).texture[0], 100 + kSand);
    EXPECT_EQ(r->GroundOf(0, 0).palette[0], 3);
    EXPECT_EQ(r->GroundOf(0, 0).texture[1], 0);
    EXPECT_EQ(r->GroundOf(0, 0).maskA, 0);
    // With a transition type the default ground lies under the sand, which comes through its mask.
    r->w.cells[0][0].layer2Second = kTransition;
    r->b.BuildCellCaches(0, 0);
    EXPECT_EQ(r->GroundOf(0, 0).texture[0], 100 + kGrass);
    EXPECT_EQ(r->GroundOf(0, 0).texture[1], 100 + kSand);
    EXPECT_EQ(r->GroundOf(0, 0).maskA, 1000 * kTransition + 1 + ApplyCornerRule(0x1C) % 15);
    r->w.cells[0][0].layer2Second = CViewCell{}.layer2Second;
    r->b.BuildCellCaches(0, 0);

    // A pit keeps its shape code and is flagged.
    r->w.Ground(5, 5, kPit, 2);
    r->view->CellView(5, 5)->groundShape = 0;
    r->b.BuildCellCaches(5, 5);
    EXPECT_EQ(r->GroundOf(5, 5).flags & 1, 1);
    EXPECT_EQ(r->GroundOf(5, 5).texture[0], 100 + kPit);
    EXPECT_EQ(r->Cell(5, 5).groundShape, 0);

    // A second layer of water all round covers the cell alone: shape 59 (animated kind), 60 otherwise.
    for (i32 y = 14; y <= 16; ++y)
        for (i32 x = 14; x <= 16; ++x) r->w.cells[y][x].layer2 = kWater;
    r->b.BuildCellCaches(15, 15);
    EXPECT_EQ(r->GroundOf(15, 15).texture[0], 100 + kWater);
    EXPECT_EQ(r->Cell(15, 15).groundShape, 59);
    // At the water's edge: sand below (it surrounds the cell), water on top through the mask of the
    // transition type that the mask selects.
    for (i32 y = 14; y <= 16; ++y)
        for (i32 x = 14; x <= 16; ++x)
            r->w.cells[y][x].layer2Second = kTransition, r->w.cells[y][x].layer2Picture = 9;
    r->b.BuildCellCaches(14, 14);
    const CGroundCacheEntry& e = r->GroundOf(14, 14);
    EXPECT_EQ(e.texture[0], 100 + kSand);
    EXPECT_EQ(e.texture[1], 100 + kWater);
    EXPECT_EQ(e.palette[1], 9);
    const u8 m = r->b.GroundNeighbourCode(14, 14, true);
    EXPECT_EQ(m, ApplyCornerRule(0x1C));
    EXPECT_EQ(e.maskA, 1000 * kTransition + 1 + m % 15);
}

TEST(CellBuilderTest, BlocksWithTheirCodes) {
    auto r = std::make_unique<Rig>();
    r->w.Block(10, 10, kRoof);
    r->w.Block(10, 9, kWall);  // north: an open kind-5 block
    r->b.BuildCellCaches(10, 10);
    const CBlockCacheEntry& roof = r->view->blockCache[r->Cell(10, 10).lowerBlock];
    EXPECT_EQ(roof.kind, 1);
    bool s5[4] = {true, false, false, false}, s1[4] = {};
    EXPECT_EQ(roof.model, BlockShapeCode(s5, s1));
    EXPECT_EQ(r->Cell(10, 10).light, 356);  // the describe operation raised it

    // A closed door in the cell leaves the description empty.
    r->w.centreObjects[{10, 10}] = {true, false};
    r->b.BuildCellCaches(10, 10);
    EXPECT_EQ(r->view->blockCache[r->Cell(10, 10).lowerBlock].kind, 0);

    // A kind-5 block with a transition word takes the joint code of its like neighbours.
    r->w.Block(20, 20, kWall, 4);
    r->w.Block(21, 20, kWall, 4);
    r->w.Block(20, 21, kWall, 4);
    r->w.Block(21, 21, kWall, 4);
    r->w.cells[20][20].layer2Second = kTransition;
    r->b.BuildCellCaches(20, 20);
    EXPECT_EQ(r->view->blockCache[r->Cell(20, 20).lowerBlock].model, JointCodeOfMask(ApplyCornerRule(0x1C)));
    EXPECT_EQ(r->b.BlockJointCode(20, 20), JointCodeOfMask(28));

    // Blocks of a type marked unique are never shared.
    r->w.Block(1, 1, kUniqueRoof);
    r->w.Block(3, 3, kUniqueRoof);
    r->w.Block(1, 3, kRoof);
    r->w.Block(3, 1, kRoof);
    r->b.BuildCellCaches(1, 1);
    r->b.BuildCellCaches(3, 3);
    r->b.BuildCellCaches(1, 3);
    r->b.BuildCellCaches(3, 1);
    EXPECT_EQ(r->view->blockCache[r->Cell(1, 1).lowerBlock].picture[0], 101);
    EXPECT_NE(r->Cell(1, 1).lowerBlock, r->Cell(3, 3).lowerBlock);
}

TEST(CellBuilderTest, WallsFromTheNeighboursSides) {
    auto r = std::make_unique<Rig>();
    r->w.Block(10, 9, kWall);   // north of (10, 10)
    r->w.Block(11, 10, kWall);  // east
    r->b.BuildCellCaches(10, 10);
    const u16 wall = r->Cell(10, 10).lowerWall;
    ASSERT_NE(wall, 0);
    // The north neighbour describes its south side (part 2), the east one its west side (part 3).
    EXPECT_EQ(r->view->wallCache[wall].words[2], 502);
    EXPECT_EQ(r->view->wallCache[wall].words[3], 503);
    EXPECT_TRUE(r->view->wallCache.IsShared(wall));
    // A closed neighbour is no wall; a cell without walls has none.
    r->w.centreObjects[{11, 10}] = {true, false};
    r->b.BuildCellCachesPass2(10, 10);
    EXPECT_EQ(r->view->wallCache[r->Cell(10, 10).lowerWall].words[3], 0);
    r->b.BuildCellCaches(20, 20);
    EXPECT_EQ(r->Cell(20, 20).lowerWall, 0);

    // A side that names a map object makes the wall the cell's own; it is refreshed in place.
    r->w.sideNamesObject[{10, 9}] = true;
    r->b.BuildCellCachesPass2(10, 10);
    const u16 own = r->Cell(10, 10).lowerWall;
    EXPECT_FALSE(r->view->wallCache.IsShared(own));
    r->w.centreObjects.clear();
    r->b.BuildCellCachesPass2(10, 10);
    EXPECT_EQ(r->Cell(10, 10).lowerWall, own);
    EXPECT_EQ(r->view->wallCache[own].words[3], 503);
}

TEST(CellBuilderTest, CellObjectsNumberedUpTo255AndLight) {
    auto r = std::make_unique<Rig>();
    r->b.NumberCellObjects();
    // Cells with (x + y) even hold an object: 613 of them; the first 255 in row order are numbered.
    EXPECT_EQ(r->w.objectNumbers[std::make_pair(0, 0)], 1);
    EXPECT_EQ(r->w.objectNumbers[std::make_pair(2, 0)], 2);
    u32 numbered = 0, unnumbered = 0;
    for (auto& [key, index] : r->w.objectNumbers) (index ? numbered : unnumbered) += 1;
    EXPECT_EQ(numbered, 255u);
    EXPECT_EQ(unnumbered, 613u - 255u);
    r->b.BuildCellCaches(2, 0);
    EXPECT_EQ(r->Cell(2, 0).cellObject[0], 2);
    EXPECT_EQ(r->view->cellObjects[2].picture, 702);
    r->b.BuildCellCaches(34, 34);
    EXPECT_EQ(r->Cell(34, 34).cellObject[0], 0);

    // Strong light is lowered on maps that ask for it.
    r->w.lowers = true;
    r->w.Block(7, 7, kRoof);
    r->b.BuildCellCaches(7, 7);
    EXPECT_EQ(r->Cell(7, 7).light, 256 + 100 - 64);
}

TEST(CellBuilderTest, UpperBlocksJoinLikeNeighbours) {
    auto r = std::make_unique<Rig>();
    r->w.second[{10, 10}] = {kRoof, 2, kNoIndex, kNoIndex};
    r->w.second[{11, 10}] = {kRoof, 2, kNoIndex, kNoIndex};
    r->w.second[{10, 11}] = {kRoof, 3, kNoIndex, kNoIndex};  // another palette: not joined
    r->w.Block(9, 10, kWall, 2);                             // a lower wall of the same type and palette
    r->w.types[kWall].kind = 5;
    EXPECT_EQ(r->b.OverlayBlockJointCode(10, 10), JointCodeOfMask(ApplyCornerRule(0x04)));
    r->w.Block(9, 10, kRoof, 2);
    r->w.types[kRoof].kind = 1;
    r->b.BuildCellCachesPass3(10, 10);
    const CCellOverlayView& o = r->view->overlayViews[10 * 35 + 10];
    ASSERT_NE(o.upperBlock, 0);
    EXPECT_EQ(r->view->blockCache[o.upperBlock].kind, 7);
    EXPECT_EQ(o.upperLight, 356);
}

}  // namespace
