#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "data/MapObjectRecords.h"
#include "tests/data/BuiltWorld.h"
#include "tests/support/Png.h"
#include "tests/ui/WidgetRig.h"
#include "ui/MapView.h"
#include "ui/WorldMapDialog.h"
#include "world/AutomapSource.h"
#include "tests/world/TypeCodeObjects.h"
#include "world/CellWindow.h"
#include "world/GameViewWorld.h"

namespace {

using widgetrig::MakePicture;
using widgetrig::Rig;

// The map pictures the automap draws, each a small square of its own colour (borders and arrows with
// see-through parts).
void InstallMapPictures(Rig& rig, int size) {
    const u16 clear = 0xFFFF;
    auto solid = [&](u16 colour) { return MakePicture(size, size, [=](int, int) { return colour; }); };
    rig.SetInterfacePicture(3400, solid(0x18C3));
    rig.SetInterfacePicture(3401, solid(0x6B4D));
    rig.SetInterfacePicture(3403, solid(0x3BC6));
    rig.SetInterfacePicture(3405, solid(0x2AD3));
    rig.SetInterfacePicture(3432, MakePicture(size, size, [=](int x, int y) {
                                return x == 0 || y == 0 ? u16(0xBDF7) : u16(0x8410);
                            }));
    rig.SetInterfacePicture(3443, solid(0xC3A0));
    rig.SetInterfacePicture(3444, solid(0xA000));
    for (int q = 0; q < 4; ++q)
        rig.SetInterfacePicture(
            static_cast<u16>(3455 + q), MakePicture(size, size, [=](int x, int y) {
                const int c = size / 2;
                const bool stem = q % 2 == 0 ? (x >= c - 1 && x <= c) : (y >= c - 1 && y <= c);
                const bool head = q == 0 ? y < 3 : q == 1 ? x >= size - 3 : q == 2 ? y >= size - 3 : x < 3;
                return stem || (head && (q % 2 == 0 ? std::abs(x - c) < 3 : std::abs(y - c) < 3))
                           ? u16(0xFFE0)
                           : clear;
            }));
    for (int i = 61; i <= 68; ++i)
        rig.SetInterfacePicture(
            static_cast<u16>(3400 + i), MakePicture(size, size, [=](int x, int y) {
                const bool top = i == 61 || i == 62 || i == 68, bottom = i == 64 || i == 65 || i == 66;
                const bool left = i == 66 || i == 67 || i == 68, right = i == 62 || i == 63 || i == 64;
                return (top && y == 0) || (bottom && y == size - 1) || (left && x == 0) ||
                               (right && x == size - 1)
                           ? u16(0xFE60)
                           : clear;
            }));
}

struct AutomapRig {
    AutomapRig(u32 mode, int width, int height) : rig(mode, width, height) {
        rig.InstallInterfacePictures();
        InstallMapPictures(rig, mode == 15 ? 16 : 8);
        view.Attach(rig.screen);
        view.SetRect(0, 0, static_cast<u16>(width), static_cast<u16>(height));
        view.Setup();
        view.source = &source;
    }
    void ExploreAll(CMapSection* section) {
        for (int y = 0; y < section->height; ++y)
            for (int x = 0; x < section->width; ++x) section->MarkExplored(x, y);
    }
    // A whole underground map explored, drawn whole from its centre.
    void ShowWhole(CMapSection* section) {
        window.Fill(built.base.get(), section, built.refs, 100);
        ExploreAll(section);
        view.wholeMap = 1;
        view.originX = 17 * 16;
        view.originY = 17 * 16;
    }

    fixtures::BuiltWorld built;
    CTypeCodeObjects types{built.lists};
    CCellWindow window;
    CAutomapSource source{window, types};
    Rig rig;
    CMapView view;
};

// The cellar, every cell explored, in a wide layout (whole map) and a narrow one (around the player).
TEST(Automap, TheCellarShowsItsWallsAndDoorsAsBuilt) {
    {
        AutomapRig a(15, 560, 560);
        ASSERT_TRUE(a.built.Loaded());
        a.ShowWhole(a.built.base->FindSectionByName("base_cellar"));
        EXPECT_EQ(a.view.cellSize, 16);
        a.view.Draw();
        EXPECT_TRUE(testing_support::MatchesGolden("world/automap_cellar_wide", a.rig.Capture()));
    }
    {
        AutomapRig a(13, 120, 88);
        CMapSection* cellar = a.built.base->FindSectionByName("base_cellar");
        a.window.Fill(a.built.base.get(), cellar, a.built.refs, 100);
        a.ExploreAll(cellar);
        a.source.playerX = 16;
        a.source.playerY = 13;
        a.source.facing = 90;
        EXPECT_EQ(a.view.cellSize, 8);
        a.view.Draw();
        EXPECT_TRUE(testing_support::MatchesGolden("world/automap_cellar_narrow", a.rig.Capture()));
    }
}

// The crypt below the cellar: hall and ladder, corridor with its door and trap, chamber, shrine gate.
TEST(Automap, TheCryptShowsItsRoomsAsBuilt) {
    AutomapRig a(15, 560, 560);
    ASSERT_TRUE(a.built.Loaded());
    CMapSection* crypt = a.built.base->FindSectionByName("base_crypt");
    ASSERT_NE(crypt, nullptr);
    a.ShowWhole(crypt);
    a.source.playerX = 17;
    a.source.playerY = 31;
    a.view.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("world/automap_crypt_wide", a.rig.Capture()));
}

TEST(Automap, TheTownShowsTheBorderOfTheActiveArea) {
    AutomapRig a(15, 560, 560);
    CMapSection* town = a.built.base->FindSectionAt(2, 2);
    a.window.Fill(a.built.base.get(), town, a.built.refs, 100);
    for (u32 r = 1; r <= 3; ++r)
        for (u32 c = 1; c <= 3; ++c) a.ExploreAll(a.built.base->FindSectionAt(c, r));
    a.view.wholeMap = 1;
    a.view.originX = 17 * 16;
    a.view.originY = 17 * 16;
    a.source.playerY = 21;
    a.source.facing = 180;
    a.view.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("world/automap_town_wide", a.rig.Capture()));
}

// A picture hung on a wall (type 18, the gallery's on the south face of the cellar's north wall) gets a
// mark on that side: the object's own picture, 10 x 10, at the side's mark place. No other side of the
// cellar holds one.
TEST(Automap, APictureOnAWallGetsItsMarkOnThatSide) {
    AutomapRig a(15, 560, 560);
    ASSERT_TRUE(a.built.Loaded());
    CGameViewWorld objects(a.window, a.built.textures, a.built.lists);
    objects.Refresh();
    CAutomapSource source(a.window, objects);
    CMapSection* cellar = a.built.base->FindSectionByName("base_cellar");
    a.ShowWhole(cellar);
    const CRecordHolder* picture = a.built.textures.FindPicture("bres_wallpicture");
    ASSERT_NE(picture, nullptr);
    int marks = 0;
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 35; ++x) {
            CMapSquareView square;
            if (!source.GetMapSquare(x, y, square)) continue;
            for (int side = 0; side < 4; ++side)
                for (const CRecordHolder* mark : square.sideMarks[side]) {
                    if (!mark) continue;
                    ++marks;
                    EXPECT_EQ(mark, picture);
                    EXPECT_EQ(side, 2);
                    EXPECT_EQ(y, 0);
                }
        }
    EXPECT_EQ(marks, 1);

    // Drawn: the whole map with the marks and without them differ in the mark's 10 x 10 square alone.
    a.view.Draw();
    const auto without = a.rig.Capture();
    a.view.source = &source;
    a.view.Draw();
    const auto with = a.rig.Capture();
    CMapSquareView square;
    int markX = -1;
    for (int x = 0; x < 35 && markX < 0; ++x)
        if (source.GetMapSquare(x, 0, square) && square.sideMarks[2][0]) markX = x;
    ASSERT_GE(markX, 0);
    const int left = a.view.originX + (markX - 17) * 16 + a.view.markX[2];
    const int top = a.view.originY + (0 - 17) * 16 + a.view.markY[2];
    int inside = 0, outside = 0;
    for (int y = 0; y < 560; ++y)
        for (int x = 0; x < 560; ++x) {
            const bool differs = with.At(x, y) != without.At(x, y);
            const bool in = x >= left && x < left + 10 && y >= top && y < top + 10;
            (in ? inside : outside) += differs;
        }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
}

// The small map of the game view shows where the player stands and looks: the arrow of the facing on
// the player's cell, its centre.
TEST(Automap, TheSmallMapShowsThePlayersArrow) {
    AutomapRig a(13, 120, 88);
    ASSERT_TRUE(a.built.Loaded());
    CMapSection* cellar = a.built.base->FindSectionByName("base_cellar");
    a.window.Fill(a.built.base.get(), cellar, a.built.refs, 100);
    a.ExploreAll(cellar);
    a.source.playerX = 16;
    a.source.playerY = 13;
    ASSERT_EQ(a.view.wholeMap, 0u);
    std::vector<std::vector<u16>> shapes;
    for (u32 facing : {0u, 90u, 180u, 270u}) {
        SCOPED_TRACE(facing);
        a.source.facing = facing;
        a.view.Draw();
        const auto frame = a.rig.Capture();
        std::vector<u16> cell;
        int arrow = 0;
        for (int y = 0; y < a.view.cellSize; ++y)
            for (int x = 0; x < a.view.cellSize; ++x) {
                cell.push_back(frame.At(a.view.originX + x, a.view.originY + y));
                arrow += cell.back() == 0xFFE0;
            }
        EXPECT_GT(arrow, 0);
        for (const auto& other : shapes) EXPECT_NE(cell, other);
        shapes.push_back(cell);
    }
}

TEST(Automap, UnexploredCellsAndForbiddenMapsShowNothing) {
    AutomapRig a(15, 160, 160);
    CMapSection* cellar = a.built.base->FindSectionByName("base_cellar");
    a.window.Fill(a.built.base.get(), cellar, a.built.refs, 100);
    CMapSquareView square;
    EXPECT_FALSE(a.source.GetMapSquare(17, 12, square));
    cellar->MarkExplored(17, 12);
    ASSERT_TRUE(a.source.GetMapSquare(17, 12, square));
    EXPECT_EQ(square.type, CAutomapSource::kClosedDoor);
    cellar->MarkExplored(0, 0);
    ASSERT_TRUE(a.source.GetMapSquare(0, 0, square));
    EXPECT_EQ(square.type, CAutomapSource::kWall);
    EXPECT_FALSE(a.source.MappingForbidden());
    cellar->flags |= 0x01;
    EXPECT_TRUE(a.source.MappingForbidden());
    cellar->flags &= ~0x01;
}

}  // namespace

namespace {

// The vale's overview with the pin at the town and the town's area selected, wide and narrow.
TEST(WorldGrid, TheOverviewShowsThePinAndTheSelectedArea) {
    for (const auto& [mode, width, height, name] : {std::tuple{15u, 300, 200, "world/worldgrid_wide"},
                                                    std::tuple{13u, 120, 88, "world/worldgrid_narrow"}}) {
        AutomapRig a(mode, width, height);
        a.rig.SetInterfacePicture(3478, MakePicture(7, 11, [](int x, int y) {
                                      return y < 5 ? u16(0xF800) : (x == 3 ? u16(0x0000) : u16(0xFFFF));
                                  }));
        a.rig.SetInterfacePicture(3479, MakePicture(21, 21, [](int x, int y) {
                                      return x == 0 || y == 0 || x == 20 || y == 20 ? u16(0xFFE0)
                                                                                    : u16(0xFFFF);
                                  }));
        CWorldGrid grid;
        grid.Attach(a.rig.screen);
        grid.SetRect(0, 0, static_cast<u16>(width), static_cast<u16>(height));
        CWorld& base = *a.built.base;
        base.SetWorldPositionFromSection(base.FindSectionAt(2, 2), 17, 17, 0);
        grid.Setup(base.worldMapPicture.get(), static_cast<i32>(base.worldX), static_cast<i32>(base.worldY));
        grid.areaX = 1;
        grid.areaY = 1;
        grid.Draw();
        EXPECT_TRUE(testing_support::MatchesGolden(name, a.rig.Capture())) << name;
    }
}

// The world picture fills the world map dialog's frame (its grid is 520 x 320 in the widest layout)
// from the margin the grid starts it at to the frame's far edges; the vale lies at its top-left,
// where the grid's 21-pixel pieces are counted from.
TEST(WorldGrid, TheWorldPictureFillsTheDialogsFrame) {
    AutomapRig a(15u, 520, 320);
    CWorldGrid grid;
    grid.Attach(a.rig.screen);
    grid.SetRect(0, 0, 520, 320);
    CWorld& base = *a.built.base;
    base.SetWorldPositionFromSection(base.FindSectionAt(2, 2), 17, 17, 0);
    grid.Setup(base.worldMapPicture.get(), static_cast<i32>(base.worldX), static_cast<i32>(base.worldY));
    EXPECT_LE(grid.offsetX, 20);
    EXPECT_LE(grid.offsetY, 20);
    EXPECT_GE(grid.offsetX + grid.worldWidth, 520) << grid.worldWidth;
    EXPECT_GE(grid.offsetY + grid.worldHeight, 320) << grid.worldHeight;
}

TEST(WorldGrid, APenDownSelectsTheGridCellUnderIt) {
    CWorldGrid grid;
    grid.SetRect(10, 10, 200, 200);
    const struct {
        i32 offset, pen;
        u32 gridWidth;
        i32 column;
    } cases[] = {
        {0, 10 + 20, 3, 0},   {0, 10 + 21, 3, 1},
        {0, 10 + 62, 3, 2},   {0, 10 + 63, 3, -1},  // column 3 = width
        {15, 10 + 14, 3, -1},                       // left of the picture
        {-21, 10 + 1, 3, 1},
    };
    for (const auto& c : cases) {
        grid.offsetX = grid.offsetY = c.offset;
        grid.lastPenX = grid.lastPenY = c.pen;
        i32 column = 0, row = 0;
        EXPECT_EQ(SelectWorldGridCell(grid, c.gridWidth, c.gridWidth, column, row), c.column >= 0);
        EXPECT_EQ(column, c.column) << c.offset << " " << c.pen;
        EXPECT_EQ(row, c.column);
    }
}

}  // namespace

namespace {

// The dialog's view of the built world: the cellar's automap, the vale's overview.
class BuiltWorldMapSource : public IWorldMapSource {
public:
    BuiltWorldMapSource(CWorld& world, IMapViewSource& map) : world(world), map(map) {}
    const char* MapTitle() const override { return "Old Cellar"; }
    const char* WorldTitle() const override { return world.title.GetText(); }
    void GridSize(u32& w, u32& h) const override {
        w = world.gridWidth;
        h = world.gridHeight;
    }
    const char* SectionTitleAt(u32 column, u32 row) const override {
        const CMapSection* s = world.FindSectionAt(column, row);
        return s ? s->displayName : nullptr;
    }
    u32 ClockMinutes() const override { return minutes; }
    void FormatTime(CStr& text) const override { text.Assign("8:05 am"); }
    const CRecordHolder* WorldPicture() const override { return world.worldMapPicture.get(); }
    void WorldPosition(i32& x, i32& y) const override { x = y = 31; }
    IMapViewSource* MapSource() override { return &map; }

    CWorld& world;
    IMapViewSource& map;
    u32 minutes = 0;
};

struct DialogRig {
    DialogRig()
        : rig(15, 560, 440, {},
              {{8,
                15,
                560,
                440,
                {{44, 0, 0, 560, 440},
                 {45, 20, 14, 520, 28},
                 {46, 20, 48, 520, 320},
                 {47, 20, 396, 190, 22},
                 {48, 490, 374, 40, 40},
                 {49, 430, 374, 40, 40},
                 {50, 430, 374, 40, 40},
                 {51, 214, 396, 190, 22},
                 {52, 20, 370, 390, 22}}}}) {
        rig.InstallInterfacePictures();
        InstallMapPictures(rig, 16);
        CMapSection* cellar = built.base->FindSectionByName("base_cellar");
        window.Fill(built.base.get(), cellar, built.refs, 100);
        dialog.Attach(&rig.game);
        dialog.parent = rig.screen;
        dialog.source = &source;
    }
    fixtures::BuiltWorld built;
    CTypeCodeObjects types{built.lists};
    CCellWindow window;
    CAutomapSource map{window, types};
    BuiltWorldMapSource source{*built.base, map};
    Rig rig;
    CWorldMapDialog dialog;
};

TEST(WorldMapDialog, TheDayLineCountsFromDayOne) {
    DialogRig d;
    for (const auto& [minutes, text] : {std::pair{0u, "Day 1"}, {1439u, "Day 1"}, {1440u, "Day 2"}}) {
        d.source.minutes = minutes;
        d.dialog.Open();
        EXPECT_STREQ(d.dialog.dayLine.text.GetText(), text);
    }
    EXPECT_STREQ(d.dialog.timeLine.text.GetText(), "8:05 am");
    EXPECT_STREQ(d.dialog.title.text.GetText(), "Old Cellar");
    EXPECT_TRUE(d.dialog.mapView.IsShown());
    EXPECT_FALSE(d.dialog.worldGrid.IsShown());
}

TEST(WorldMapDialog, Golden) {
    DialogRig d;
    CMapSection* cellar = d.built.base->FindSectionByName("base_cellar");
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 35; ++x)
            if (y < 20 || x < 12) cellar->MarkExplored(x, y);
    d.source.minutes = 3 * 1440 + 485;
    d.dialog.Open();
    d.dialog.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("world/worldmap_dialog_map", d.rig.Capture()));
    d.dialog.OnCommand(CWorldMapDialog::kCommandWorld);
    d.dialog.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("world/worldmap_dialog_world", d.rig.Capture()));
}

TEST(WorldMapDialog, TheOverviewSelectsSectionsAndSwitchingClearsTheSelection) {
    DialogRig d;
    d.dialog.Open();
    EXPECT_EQ(d.dialog.OnCommand(CWorldMapDialog::kCommandWorld), 0u);
    EXPECT_TRUE(d.dialog.worldGrid.IsShown());
    EXPECT_FALSE(d.dialog.mapView.IsShown());
    EXPECT_STREQ(d.dialog.title.text.GetText(), "The Vale of Vantrel");
    CWorldGrid& g = d.dialog.worldGrid;
    g.lastPenX = g.x + g.offsetX + 21 + 5;
    g.lastPenY = g.y + g.offsetY + 21 + 5;
    d.dialog.OnCommand(CWorldMapDialog::kCommandGrid);
    EXPECT_STREQ(d.dialog.selection.text.GetText(), "Selected: Vantrel Town");
    EXPECT_EQ(g.areaX, 1);
    g.lastPenX = g.x + g.offsetX + 3 * 21;  // the column past the grid
    d.dialog.OnCommand(CWorldMapDialog::kCommandGrid);
    EXPECT_STREQ(d.dialog.selection.text.GetText(), "");
    EXPECT_EQ(g.areaX, -1);
    EXPECT_EQ(d.dialog.OnCommand(CWorldMapDialog::kCommandDay), 0u);
    g.lastPenX = g.x + g.offsetX + 2;
    d.dialog.OnCommand(CWorldMapDialog::kCommandGrid);
    EXPECT_STRNE(d.dialog.selection.text.GetText(), "");
    d.dialog.OnCommand(CWorldMapDialog::kCommandMap);
    EXPECT_STREQ(d.dialog.selection.text.GetText(), "");
    EXPECT_TRUE(d.dialog.mapView.IsShown());
    EXPECT_STREQ(d.dialog.title.text.GetText(), "Old Cellar");
    d.dialog.OnCommand(CWorldMapDialog::kCommandClose);
    ASSERT_FALSE(d.rig.screen->commands.empty());
    EXPECT_EQ(d.rig.screen->commands.back(), CWorldMapDialog::kCommandClose);
}

}  // namespace
