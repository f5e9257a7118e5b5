#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "data/CreatureCatalogue.h"
#include "data/MapSection.h"
#include "data/World.h"
#include "script/ScriptContext.h"
#include "tests/data/BuiltWorld.h"
#include "view3d/ViewRecord.h"
#include "world/CellPasses.h"
#include "world/CellWindow.h"

namespace {

// Map objects by index with their type codes and view flags; the passes' calls are recorded. Indices
// the test does not name keep the built world's own type codes through `fallback`.
class RecordingObjects : public ICellObjects {
public:
    bool IsBlocking(u16 index, const CPlacement*) const override {
        return TypeCode(index) == 5 || TypeCode(index) == 20;
    }
    u8 TypeCode(u16 index) const override {
        auto it = codes.find(index);
        return it != codes.end() ? it->second : 0;
    }
    u16 ViewFlags(u16 index) const override { return TypeCode(index) == 4 ? 0x8000 : 0; }
    void UpdateCentreLight(const CCellSite& site, CCellView& view, bool alternative) const override {
        centreLights.insert({site.x, site.y, alternative});
        view.light = static_cast<u16>(view.light + 100);
    }
    void UpdateSideLight(const CCellSite& site, CCellView&, bool overlay) const override {
        sideLights.insert({site.x, site.y, site.side * 10 + overlay});
    }
    void AnimateTick(const CCellSite& site, CCellView&) const override { ticks.insert({site.x, site.y, 0}); }

    std::map<u16, u8> codes;
    mutable std::set<std::tuple<i32, i32, i32>> centreLights, sideLights, ticks;
};

// The cell windows rebuilds, by pass.
class RecordingRebuilder : public CViewCellBuilder {
public:
    void BuildCellCaches(i32 x, i32 y) override { calls.push_back({1, x, y}); }
    void BuildCellCachesPass2(i32 x, i32 y) override { calls.push_back({2, x, y}); }
    void BuildCellCachesPass3(i32 x, i32 y) override { calls.push_back({3, x, y}); }
    void BuildCellCachesPass4(i32 x, i32 y) override { calls.push_back({4, x, y}); }
    std::vector<std::tuple<int, i32, i32>> calls;
};

constexpr u16 kFire = 900, kBlock = 901, kTorch = 902, kDoor = 903, kLamp = 904, kWater = 905;
constexpr u16 kWall = 906, kGateDoor = 907, kRoof = 908;

class CellPassesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(built.Loaded());
        objects.codes = {{kFire, 33}, {kBlock, 5}, {kTorch, 7}, {kDoor, 20}, {kLamp, 41},
                         {kWater, 3}, {kWall, 5},  {kGateDoor, 4}, {kRoof, 7}};
        window.SetObjects(&objects);
        cellar = built.base->FindSectionByName("base_cellar");
        ASSERT_NE(cellar, nullptr);
        window.SetPlayer(17, 17, 0);
        window.Fill(built.base.get(), cellar, built.refs, 100);
        // An empty room around the player, whatever the built map holds there.
        for (i32 y = 0; y < 35; ++y)
            for (i32 x = 0; x < 35; ++x) {
                *window.Cell(x, y) = CMapCell{};
                *window.StoredCell(x, y) = CStoredCell{};
            }
    }

    fixtures::BuiltWorld built;
    RecordingObjects objects;
    CCellWindow window;
    CMapSection* cellar = nullptr;
    CViewState3D view;
    CCellPasses passes{window, view};
};

TEST_F(CellPassesTest, TheLightPassCoversTheRectangleInFrontOfThePlayer) {
    for (CCellView& v : view.cellViews) v.light = 7;
    window.Cell(17, 12)->centre = kFire;
    window.Cell(17, 11)->centre = kFire;  // six cells ahead: still lit
    window.Cell(17, 10)->centre = kFire;  // seven: beyond
    window.Cell(20, 20)->centre = kLamp;
    window.Cell(20, 20)->doorMode = 0x80;
    window.Cell(14, 18)->centre = kBlock;
    window.Cell(14, 18)->side[1] = kTorch;
    window.StoredCell(14, 18)->side[3] = kTorch;
    window.Cell(15, 18)->centre = kFire;
    window.Cell(15, 18)->side[0] = kTorch;  // sides count only on blocks
    passes.ComputeLighting(true, true);
    // Facing north: 6 cells ahead and to either side, 3 behind.
    for (i32 y = 0; y < 35; ++y)
        for (i32 x = 0; x < 35; ++x) {
            const bool inside = x >= 11 && x <= 23 && y >= 11 && y <= 20;
            const u16 light = view.CellView(x, y)->light;
            if (!inside)
                EXPECT_EQ(light, 7) << x << "," << y;
            else
                EXPECT_EQ(light, window.Cell(x, y)->centre == kNoCellIndex ? 256 : 356) << x << "," << y;
        }
    using T = std::tuple<i32, i32, i32>;
    EXPECT_EQ(objects.centreLights,
              (std::set<T>{{17, 12, 0}, {17, 11, 0}, {20, 20, 1}, {14, 18, 0}, {15, 18, 0}}));
    EXPECT_EQ(objects.sideLights, (std::set<T>{{14, 18, 10}, {14, 18, 31}}));
    // Without `full` and `sides` only the reset happens.
    objects.centreLights.clear();
    objects.sideLights.clear();
    passes.ComputeLighting(false, false);
    EXPECT_TRUE(objects.centreLights.empty());
    EXPECT_TRUE(objects.sideLights.empty());
    EXPECT_EQ(view.CellView(17, 12)->light, 256);
}

TEST_F(CellPassesTest, DoorsWithinSixCellsTakeOneAnimationTick) {
    window.SetPlayer(10, 10, 90);
    for (auto [x, y] : {std::pair{10, 4}, {16, 16}, {17, 10}, {4, 9}, {10, 10}, {0, 0}}) window.Cell(x, y)->centre = kDoor;
    window.Cell(11, 11)->centre = kFire;
    passes.AnimateDoors();
    using T = std::tuple<i32, i32, i32>;
    EXPECT_EQ(objects.ticks, (std::set<T>{{10, 4, 0}, {16, 16, 0}, {4, 9, 0}, {10, 10, 0}}));
}

TEST_F(CellPassesTest, ChangedCellsRebuildTheCellOrTheNeighbourAcrossTheSide) {
    CScriptContext context;
    auto other = std::make_unique<CMapSection>();
    context.FindOrAddStateRecord(cellar, 1, 10, 10, -1);    // the cell, first layer
    context.FindOrAddStateRecord(cellar, 2, 10, 10, -1);    // the cell, second layer
    context.FindOrAddStateRecord(cellar, 1, 10, 10, 0);     // its north side: the walls of 10, 9
    context.FindOrAddStateRecord(cellar, 2, 10, 10, 1);     // east, second layer: 11, 10
    context.FindOrAddStateRecord(cellar, 1, 10, 10, 3);     // west: 9, 10
    context.FindOrAddStateRecord(other.get(), 1, 5, 5, -1);  // a section not in the window
    context.FindOrAddStateRecord(cellar, 1, 0, 0, 0);       // a neighbour outside the window
    context.FindOrAddStateRecord(cellar, 1, 40, 3, -1);     // outside the window
    RecordingRebuilder rebuilder;
    passes.RebuildChangedCells(context, rebuilder);
    const std::vector<std::tuple<int, i32, i32>> expected = {
        {1, 10, 10}, {3, 10, 10}, {2, 10, 9}, {4, 11, 10}, {2, 9, 10}};
    EXPECT_EQ(rebuilder.calls, expected);
    EXPECT_TRUE(context.GetStateRecords().empty());
}

TEST_F(CellPassesTest, WhereACreatureMayStep) {
    CMonsterType wader, climber;
    climber.bytes[1] = 1;
    // A river three cells wide across a move north at row 20, two wide at row 25.
    for (i32 x = 9; x <= 11; ++x) window.Cell(x, 20)->layer2 = kWater;
    window.Cell(9, 25)->layer1 = kWater;
    window.Cell(10, 25)->centre = kWater;
    window.Cell(12, 20)->layer1 = kWater;
    window.Cell(12, 20)->centre = kGateDoor;  // a door over the water, open
    window.Cell(13, 20)->layer1 = kWater;
    window.Cell(14, 20)->layer1 = kWater;
    window.Cell(5, 5)->layer1 = kWall;  // a ground of type 5
    window.Cell(6, 6)->centre = kWall;  // a wall block
    window.Cell(7, 7)->centre = kDoor;  // a door standing without a placement
    window.Cell(8, 8)->creature[0] = 3;
    window.Cell(8, 8)->creature[1] = 4;
    window.Cell(9, 9)->creature[0] = 3;
    window.StoredCell(3, 3)->centre = kRoof;
    const struct {
        i32 x, y, direction;
        const CMonsterType* type;
        bool blocked;
    } cases[] = {
        {10, 20, 0, &wader, true},    {10, 20, 1, &wader, false},  // along the river: one water cell across
        {10, 25, 0, &wader, false},   {12, 20, 0, &wader, false},   // two wide; the open door
        {13, 20, 0, &wader, true},    {5, 5, 0, &wader, true},      {6, 6, 2, nullptr, true},
        {7, 7, 1, &wader, true},      {8, 8, 0, &wader, true},      {9, 9, 0, &wader, false},
        {3, 3, 0, &wader, false},     {3, 3, 0, &climber, true},    {17, 16, 0, &climber, false},
        {-1, 3, 3, &wader, true},     {3, 35, 2, &wader, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(window.CanCreatureEnter(c.x, c.y, c.type, c.direction), c.blocked)
            << c.x << "," << c.y << " direction " << c.direction;
    EXPECT_EQ(window.CountKind3Across(13, 20, 0), 3);
    EXPECT_EQ(window.CountKind3Across(13, 20, 3), 1);
    EXPECT_TRUE(window.IsDoorCellOpen(12, 20));
    EXPECT_FALSE(window.IsDoorCellOpen(7, 7)) << "a door of type 20 is no gate door";
}

TEST_F(CellPassesTest, ThePlayerIsShelteredUnderARoofOrInADoorwayOnlyOnTheSurface) {
    EXPECT_FALSE(window.IsSheltered()) << "underground";
    CMapSection* piece = built.base->FindSectionAt(2, 2);
    ASSERT_NE(piece, nullptr);
    window.SetPlayer(17, 17, 0);
    window.Fill(built.base.get(), piece, built.refs, 100);
    *window.Cell(17, 17) = CMapCell{};
    *window.StoredCell(17, 17) = CStoredCell{};
    EXPECT_FALSE(window.IsSheltered());
    window.StoredCell(17, 17)->centre = kRoof;
    EXPECT_TRUE(window.IsSheltered());
    *window.StoredCell(17, 17) = CStoredCell{};
    window.Cell(17, 17)->centre = kDoor;
    EXPECT_TRUE(window.IsSheltered());
    window.Cell(17, 17)->centre = kFire;
    EXPECT_FALSE(window.IsSheltered());
}

}  // namespace
