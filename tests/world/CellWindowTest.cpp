#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <tuple>
#include <string>
#include <utility>

#include "core/PdbFile.h"
#include "data/MapObjectRecords.h"
#include "data/TextureSet.h"
#include "data/World.h"
#include "data/CreatureCatalogue.h"
#include "data/WorldLists.h"
#include "tests/data/BuiltWorld.h"
#include "tests/data/WorldFixtures.h"
#include "tests/world/TypeCodeObjects.h"
#include "tests/world/WorldAudioFakes.h"
#include "world/CellWindow.h"
#include "world/CreatureSprite.h"
#include "world/Surroundings.h"

namespace {

class CellWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(built.Loaded());
        window.SetObjects(&objects);
    }
    u16 WallIndex() const { return refs.Object(2); }

    fixtures::BuiltWorld built;
    std::unique_ptr<CWorld>& base = built.base;
    CCellRefs& refs = built.refs;
    CTypeCodeObjects objects{built.lists};
    CCellWindow window;
};

TEST(CellWindowTables, SectorIndexAndPieceTable) {
    const struct {
        i32 x, y, sector;
    } cases[] = {{0, 0, 0},   {6, 6, 0},    {7, 0, 1},  {0, 7, 5},
                 {20, 13, 7}, {34, 34, 24}, {27, 7, 8}, {28, 7, 9}};
    for (const auto& c : cases) EXPECT_EQ(CCellWindow::SectorIndex(c.x, c.y), c.sector) << c.x << "," << c.y;
    // Every sector's piece covers the sector's cells with its window rectangle.
    for (i32 s = 0; s < 25; ++s) {
        const CCellWindow::Piece& p = CCellWindow::kPieces[CCellWindow::kSectorPieces[s]];
        const i32 x = (s % 5) * 7, y = (s / 5) * 7;
        EXPECT_TRUE(x >= p.wx && x + 7 <= p.wx + p.w && y >= p.wy && y + 7 <= p.wy + p.h) << "sector " << s;
    }
}

TEST_F(CellWindowTest, TheCellarFillsTheWholeWindowWithItsCreatureAndBag) {
    CMapSection* cellar = base->FindSectionByName("base_cellar");
    window.SetPlayer(17, 17, 0);
    window.Fill(base.get(), cellar, refs, 100);
    EXPECT_FALSE(window.IsSurface());
    EXPECT_EQ(window.SectorSection(0, 0), cellar);
    EXPECT_EQ(window.SectorSection(34, 34), cellar);
    EXPECT_EQ(window.Cell(17, 12)->centreId, 2);
    EXPECT_EQ(window.Cell(0, 5)->centre, WallIndex());
    EXPECT_EQ(window.Cell(26, 18)->creature[0], 1);
    EXPECT_EQ(window.Cell(30, 30)->creature[0], 0) << "the rat of the hidden nest stays away";
    EXPECT_EQ(window.Cell(20, 16)->bag, 1);
    EXPECT_EQ(window.Cell(-1, 0), nullptr);
    EXPECT_EQ(window.Cell(35, 0), nullptr);
    // The 3D view's side: the closed door is drawn closed (only a hidden placement hides), the beam
    // of the second layer.
    EXPECT_TRUE(window.CentreObject(17, 12).exists);
    EXPECT_FALSE(window.CentreObject(17, 12).Hides());
    window.SectorSection(17, 12)->FindPlacement(2)->flags = 0;
    EXPECT_TRUE(window.CentreObject(17, 12).Hides());
    CViewSecondCell second;
    EXPECT_TRUE(window.GetSecondCell(6, 20, second));
    EXPECT_FALSE(window.GetSecondCell(8, 20, second));
    EXPECT_TRUE(window.SecondCentreObject(6, 20).exists);
}

// The current piece fills 7..27; each neighbour fills its margin through its source rectangle.
TEST_F(CellWindowTest, TheSurfaceWindowComesFromTheNinePiecesAroundThePlayer) {
    for (u32 row = 1; row <= 3; ++row)
        for (u32 column = 1; column <= 3; ++column) {
            SCOPED_TRACE(testing::Message() << "piece " << column << "," << row);
            CMapSection* current = base->FindSectionAt(column, row);
            ASSERT_NE(current, nullptr);
            for (const auto& [px, py] : {std::pair{7, 7}, {27, 7}, {7, 27}, {27, 27}}) {
                window.SetPlayer(px, py, 0);
                window.Fill(base.get(), current, refs, 100);
                ASSERT_TRUE(window.IsSurface());
                CMapSection* at = nullptr;
                i32 sx = 0, sy = 0;
                ASSERT_TRUE(window.WindowToSectionCell(px, py, at, sx, sy));
                EXPECT_EQ(at, current);
                EXPECT_EQ(sx, px - 7);
                EXPECT_EQ(sy, py - 7);
                // Across the border the neighbour's cells, or none where the grid ends.
                for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                    const i32 nx = px + dx, ny = py + dy;
                    if (nx >= 7 && nx <= 27 && ny >= 7 && ny <= 27) continue;
                    CMapSection* expected = base->FindNeighbourSection(
                        current, nx < 7 ? -1 : (nx > 27 ? 1 : 0), ny < 7 ? -1 : (ny > 27 ? 1 : 0));
                    EXPECT_EQ(window.SectorSection(nx, ny), expected);
                    // Every piece leaves its corner cell (0, 0) empty.
                    CMapSection* holder = nullptr;
                    i32 hx = -1, hy = -1;
                    const bool held = window.WindowToSectionCell(nx, ny, holder, hx, hy);
                    EXPECT_EQ(held, expected != nullptr);
                    EXPECT_EQ(window.Cell(nx, ny)->layer1 != kNoCellIndex, held && (hx != 0 || hy != 0));
                }
            }
        }
    // The town in the middle: the empty corner cell of the east piece, the house, positions converted.
    CMapSection* town = base->FindSectionAt(2, 2);
    window.SetPlayer(17, 17, 0);
    window.Fill(base.get(), town, refs, 100);
    EXPECT_EQ(window.Cell(28, 7)->layer1, kNoCellIndex);
    EXPECT_NE(window.Cell(29, 7)->layer1, kNoCellIndex);
    EXPECT_EQ(window.Cell(17, 20)->centreId, 1);
    i32 wx = 0, wy = 0;
    ASSERT_TRUE(window.SectionToWindowCell(town, 0, 0, wx, wy));
    EXPECT_EQ(std::pair(wx, wy), std::pair(7, 7));
    ASSERT_TRUE(window.SectionToWindowCell(base->FindSectionAt(1, 1), 14, 14, wx, wy));
    EXPECT_EQ(std::pair(wx, wy), std::pair(0, 0));
    EXPECT_FALSE(window.SectionToWindowCell(base->FindSectionAt(1, 1), 13, 14, wx, wy));
    // The rat of the south-east piece stands at its (15, 15): outside this window, inside that piece's.
    EXPECT_EQ(window.Cell(28 + 6, 28 + 6)->creature[0], 0);
    window.Fill(base.get(), base->FindSectionAt(3, 3), refs, 100);
    EXPECT_EQ(window.Cell(22, 22)->creature[0], 1);
}

// The town's houses as the window holds them: each wall face of a house draws with the texture made
// for its object (another texture would paint the object's picture in wrong colours), each plain
// house shows one shut door where it can be seen from the square, and windows face the square too.
TEST_F(CellWindowTest, TheTownsHousesShowDoorsAndWindowsInTheirOwnTextures) {
    CMapSection* town = base->FindSectionAt(2, 2);
    window.SetPlayer(17, 17, 0);
    window.Fill(base.get(), town, refs, 100);
    // The names behind a cell's object and picture, as the builder wrote them into 'C' and 'F'.
    auto objectName = [&](u16 index) -> std::string {
        for (u32 r = 1; r < base->tableC.Count(); ++r)
            if (index != kNoCellIndex && refs.Object(static_cast<u16>(r)) == index) return base->tableC.names[r];
        return "";
    };
    auto pictureName = [&](u16 index) -> std::string {
        for (u32 r = 1; r < base->tableF.Count(); ++r)
            if (index != kNoCellIndex && refs.Picture(static_cast<u16>(r)) == index) return base->tableF.names[r];
        return "";
    };
    const std::string kPrefix = "base_wallhouse";
    auto texel = [&](const std::string& object) { return "bres_tex_house" + object.substr(kPrefix.size()); };
    std::vector<std::pair<i32, i32>> doors;
    int windowsInSight = 0;
    for (i32 y = 0; y < 21; ++y)
        for (i32 x = 0; x < 21; ++x) {
            i32 wx = 0, wy = 0;
            ASSERT_TRUE(window.SectionToWindowCell(town, x, y, wx, wy));
            const CMapCell& cell = *window.Cell(wx, wy);
            const CStoredCell& upper = *window.StoredCell(wx, wy);
            const std::string ground = objectName(cell.centre), above = objectName(upper.centre);
            if (ground.rfind(kPrefix, 0) != 0) continue;
            SCOPED_TRACE(::testing::Message() << x << ", " << y);
            EXPECT_EQ(pictureName(cell.centrePicture), texel(ground));
            EXPECT_EQ(above, "base_wallhouseupper");
            EXPECT_EQ(pictureName(upper.centrePicture), texel(above));
            bool open = false;
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                open |= window.Cell(wx + dx, wy + dy)->centre == kNoCellIndex;
            if (ground == "base_wallhousedoor") {
                EXPECT_TRUE(open) << "a door walled in";
                doors.push_back({x, y});
            } else if (open) {
                ++windowsInSight;
            }
        }
    // One door for each of the three houses round the square (the inn has its own that opens).
    const std::vector<std::pair<i32, i32>> expected = {{17, 7}, {4, 16}, {15, 18}};
    EXPECT_EQ(doors, expected);
    EXPECT_GE(windowsInSight, 12);
}

// Each piece of a surface window shows its own default ground where its cells leave the ground
// open: the vale's grass beyond the town's border, not the town's paving.
TEST_F(CellWindowTest, EachPieceHasItsOwnDefaultGround) {
    CMapSection* town = base->FindSectionAt(2, 2);
    window.SetPlayer(17, 17, 0);
    window.Fill(base.get(), town, refs, 100);
    window.defaultGround = 1;
    window.defaultGroundPicture = 2;
    window.SetPieceGround(4, 1, 2);
    window.SetPieceGround(7, 30, 40);  // the south piece
    const struct {
        i32 x, y;
        u16 type, picture;
    } cases[] = {
        {17, 17, 1, 2},   // the town
        {17, 27, 1, 2},   // its last row
        {17, 28, 30, 40}, // the south piece's first row
        {0, 34, 1, 2},    // the south-west piece has none set: the window's default
        {7, 34, 30, 40},
        {-1, 17, 1, 2},   // outside the window
    };
    for (const auto& c : cases) {
        u16 type = 0, picture = 0;
        window.DefaultGround(c.x, c.y, type, picture);
        EXPECT_EQ(type, c.type) << c.x << "," << c.y;
        EXPECT_EQ(picture, c.picture) << c.x << "," << c.y;
    }
    // A new fill forgets them.
    window.Fill(base.get(), town, refs, 100);
    u16 type = 0, picture = 0;
    window.DefaultGround(17, 28, type, picture);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(picture, 2);
}

TEST_F(CellWindowTest, ABagOnATakenCellLiesNowhereAndStaysFindable) {
    CMapSection* cellar = base->FindSectionByName("base_cellar");
    window.Fill(base.get(), cellar, refs, 100);
    CItemBag* second = cellar->bags.FindBagById(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(window.PutBagInCell(cellar, 20, 16, *second), 0);
    EXPECT_EQ(second->x, 255);
    EXPECT_EQ(second->y, 255);
    EXPECT_EQ(cellar->bags.FindBagById(2), second);
    EXPECT_EQ(window.Cell(20, 16)->bag, 1);
    EXPECT_EQ(window.PutBagInCell(cellar, 21, 16, *second), 1);
    EXPECT_EQ(second->x, 21);
}

TEST_F(CellWindowTest, CreaturesShareCellsAndAvoidThePlayer) {
    CMapSection* cellar = base->FindSectionByName("base_cellar");
    window.SetPlayer(5, 5, 0);
    window.Fill(base.get(), cellar, refs, 100);
    CMonster a, b, c, d;
    a.id = 10, b.id = 11, c.id = 12, d.id = 13;
    ASSERT_EQ(window.PlaceObjectNear(cellar, a, 6, 5), 1);
    ASSERT_EQ(window.PlaceObjectNear(cellar, b, 6, 5), 1);
    EXPECT_EQ(window.Cell(6, 5)->creature[0], 10);
    EXPECT_EQ(window.Cell(6, 5)->creature[1], 11);
    // Full: the neighbours in order from the north (no random start given).
    ASSERT_EQ(window.PlaceObjectNear(cellar, c, 6, 5), 1);
    EXPECT_EQ(window.Cell(6, 4)->creature[0], 12);
    EXPECT_EQ(std::pair(int(c.x), int(c.y)), std::pair(6, 4));
    // On the player's cell: never there, the next free neighbour instead.
    ASSERT_EQ(window.PlaceObjectNear(cellar, d, 5, 5), 1);
    EXPECT_EQ(window.Cell(5, 5)->creature[0], 0);
    EXPECT_EQ(window.Cell(5, 4)->creature[0], 13);
    // Removing the first of two moves the second up.
    window.RemoveCreatureFromCell(cellar, a);
    EXPECT_EQ(window.Cell(6, 5)->creature[0], 11);
    EXPECT_EQ(window.Cell(6, 5)->creature[1], 0);
}

TEST_F(CellWindowTest, TheNeighbourSearchKeepsToTheSectionAndNeverWrapsAPosition) {
    // The town's corner cell (0, 0) at window (7, 7): its west and north neighbours belong to other
    // pieces, so with the player on it and its own neighbours full the creature is not placed, and
    // its position is left as it was rather than wrapping to 255.
    CMapSection* town = base->FindSectionAt(2, 2);
    window.SetPlayer(7, 7, 0);
    window.Fill(base.get(), town, refs, 100);
    for (const auto& [x, y] : {std::pair{8, 7}, {8, 8}, {7, 8}})
        window.Cell(x, y)->creature[0] = window.Cell(x, y)->creature[1] = 99;
    CMonster m;
    m.id = 20;
    m.x = 0;
    m.y = 0;
    EXPECT_EQ(window.PlaceObjectNear(town, m, 0, 0), 0);
    EXPECT_EQ(m.x, 0);
    EXPECT_EQ(m.y, 0);
    for (i32 k = 0; k < 8; ++k) {
        const i32 x = 7 + CCellWindow::kNeighbours[k][0], y = 7 + CCellWindow::kNeighbours[k][1];
        EXPECT_NE(window.Cell(x, y)->creature[0], 20);
        EXPECT_NE(window.Cell(x, y)->creature[1], 20);
    }
}

TEST_F(CellWindowTest, ExploredRaysStopAtViewBlockingCells) {
    CMapSection* cellar = base->FindSectionByName("base_cellar");
    const struct {
        i32 x, y;
        u32 facing;
        std::set<std::pair<int, int>> cells;
    } cases[] = {
        // Open floor looking north: three steps of three rays and the two side rays.
        {17,
         17,
         0,
         {{17, 17},
          {17, 16},
          {17, 15},
          {17, 14},
          {16, 16},
          {16, 15},
          {16, 14},
          {18, 16},
          {18, 15},
          {18, 14},
          {15, 15},
          {15, 14},
          {19, 15},
          {19, 14}}},
        // The wall straight ahead at the first step ends every ray.
        {10, 13, 0, {{10, 13}, {10, 12}}},
        // Looking west along the wall: ray 1 hits it and takes ray 3 with it.
        {10,
         13,
         90,
         {{10, 13}, {9, 13}, {8, 13}, {7, 13}, {9, 12}, {9, 14}, {8, 14}, {7, 14}, {8, 15}, {7, 15}}},
        // South against the map's edge wall: blocked at the first step.
        {1, 33, 180, {{1, 33}, {1, 34}}},
        // East in the hall: the side rays reach round the wall ends.
        {30,
         20,
         270,
         {{30, 20},
          {31, 20},
          {32, 20},
          {33, 20},
          {31, 21},
          {32, 21},
          {33, 21},
          {31, 19},
          {32, 19},
          {33, 19},
          {32, 22},
          {33, 22},
          {32, 18},
          {33, 18}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " facing " << c.facing);
        window.SetPlayer(c.x, c.y, c.facing);
        window.Fill(base.get(), cellar, refs, 100);
        std::fill(cellar->explored.begin(), cellar->explored.end(), 0);
        window.MarkExploredCells();
        std::set<std::pair<int, int>> got;
        for (int y = 0; y < 35; ++y)
            for (int x = 0; x < 35; ++x)
                if (cellar->IsExplored(x, y)) got.insert({x, y});
        EXPECT_EQ(got, c.cells);
    }
}

TEST_F(CellWindowTest, TheLightingRectangleIsShortBehindThePlayer) {
    const struct {
        u32 facing;
        i32 x0, y0, x1, y1;
    } cases[] = {{0, 11, 11, 23, 20}, {90, 11, 11, 20, 23}, {180, 11, 14, 23, 23}, {270, 14, 11, 23, 23}};
    for (const auto& c : cases) {
        window.SetPlayer(17, 17, c.facing);
        i32 x0, y0, x1, y1;
        window.LightingBounds(x0, y0, x1, y1);
        EXPECT_EQ(std::tuple(x0, y0, x1, y1), std::tuple(c.x0, c.y0, c.x1, c.y1)) << c.facing;
    }
    window.SetPlayer(1, 33, 0);
    i32 x0, y0, x1, y1;
    window.LightingBounds(x0, y0, x1, y1);
    EXPECT_EQ(std::tuple(x0, y0, x1, y1), std::tuple(0, 27, 7, 34));
}

}  // namespace

namespace {

TEST(CreatureSprite, TheSpriteStandsOnTheEdgeFacingThePlayer) {
    const struct {
        i32 cx, cy, px, py;
        u32 facing;
        bool turning, wide, paired, second;
        u32 x, y;
    } cases[] = {
        {5, 5, 5, 5, 0, false, false, false, false, 32768, 32768},   // the player's own cell: the centre
        {5, 3, 5, 5, 0, false, false, false, false, 32768, 65000},   // north of the player: its south edge
        {5, 7, 5, 5, 180, false, false, false, false, 32768, 535},   // south
        {3, 5, 5, 5, 90, false, false, false, false, 65000, 32768},  // west
        {7, 5, 5, 5, 270, false, false, false, false, 535, 32768},   // east
        {4, 3, 5, 5, 0, false, false, false, false, 32768, 65000},   // diagonal: by the facing
        {4, 3, 5, 5, 44, false, false, false, false, 32768, 65000},
        {4, 3, 5, 5, 45, false, false, false, false, 65000, 32768},
        {4, 3, 5, 5, 315, false, false, false, false, 32768, 65000},
        {5, 5, 5, 5, 100, true, false, false, false, 65000, 32768},  // turning: by the facing even at home
        {5, 3, 5, 5, 0, false, true, true, false, 14480, 65000},     // first of two, wide
        {5, 3, 5, 5, 0, false, true, false, true, 51056, 64000},     // second of two, wide
        {7, 5, 5, 5, 0, false, false, true, false, 535, 20480},      // first of two, narrow, east
        {7, 5, 5, 5, 0, false, false, false, true, 1535, 45056},     // second of two, narrow, east
    };
    for (const auto& c : cases) {
        const CSpritePlace p =
            SelectCreatureSprite(c.cx, c.cy, c.px, c.py, c.facing, c.turning, c.wide, c.paired, c.second);
        EXPECT_EQ(p.x, c.x) << c.cx << "," << c.cy << " facing " << c.facing;
        EXPECT_EQ(p.y, c.y) << c.cx << "," << c.cy << " facing " << c.facing;
    }
}

}  // namespace

namespace {

TEST_F(CellWindowTest, ARatNearbyIsAThreatByItsFlagsOrItsType) {
    CMapSection* cellar = base->FindSectionByName("base_cellar");
    window.SetPlayer(26, 22, 0);
    window.Fill(base.get(), cellar, refs, 100);
    CMonster* rat = cellar->FindMonster(1);
    ASSERT_NE(rat, nullptr);
    ASSERT_NE(rat->type, nullptr);
    const bool typeAggressive = (static_cast<const CMonsterType*>(rat->type)->flags & 0x04) != 0;
    rat->flags = 0x02;  // aggression from the type
    EXPECT_EQ(window.IsThreatNearby(), typeAggressive);
    rat->flags = 0x04;  // hostile
    EXPECT_TRUE(window.IsThreatNearby());
    rat->flags = 0x00;  // peaceful
    EXPECT_FALSE(window.IsThreatNearby());
    rat->flags = 0x04;
    window.SetPlayer(5, 30, 0);
    EXPECT_FALSE(window.IsThreatNearby()) << "beyond 7 cells";
    EXPECT_EQ(window.CountPeopleNearby(), 0u);
}

// Only a hostile creature next to the player (or in its cell) starts the fight music's countdown.
TEST_F(CellWindowTest, AHostileRatNextToThePlayerStartsTheFightCountdown) {
    CMapSection* cellar = base->FindSectionByName("base_cellar");
    window.SetPlayer(26, 20, 0);
    window.Fill(base.get(), cellar, refs, 100);
    CMonster* rat = cellar->FindMonster(1);
    ASSERT_NE(rat, nullptr);
    rat->flags = 0x04;
    ASSERT_EQ(window.Cell(26, 18)->creature[0], rat->id);
    testing_world::FakeWorldAudio audio;
    CRandom random;
    CWeather weather{random, audio};
    CSurroundings sound{audio, weather, random};
    const struct {
        i32 x, y;
        u32 countdown;
    } steps[] = {{26, 20, 0}, {26, 19, 4}, {25, 17, 4}, {26, 18, 4}, {20, 20, 3}, {20, 20, 2}};
    for (const auto& s : steps) {
        window.SetPlayer(s.x, s.y, 0);
        sound.UpdateFightCountdown(window, false);
        EXPECT_EQ(sound.fightCountdown, s.countdown) << s.x << "," << s.y;
    }
    rat->flags = 0x00;
    window.SetPlayer(26, 19, 0);
    sound.UpdateFightCountdown(window, false);
    EXPECT_EQ(sound.fightCountdown, 1u) << "a peaceful rat";
}

}  // namespace

namespace {

TEST_F(CellWindowTest, PlacementsAreFoundInTheCentreOnASideOrInTheSecondLayer) {
    CMapSection* cellar = base->FindSectionByName("base_cellar");
    window.Fill(base.get(), cellar, refs, 100);
    const struct {
        const char* name;
        bool found;
        i32 x, y, side, layer;
    } cases[] = {
        {"base_cellardoor", true, 17, 12, -1, 1},
        {"base_niche", true, 6, 26, 0, 1},
        {"base_shelf", true, 6, 20, -1, 2},
        {"base_start", false, 17, 17, -1, 1},  // an entry point that no cell names
    };
    for (const auto& c : cases) {
        const CPlacement* p = cellar->FindPlacementByName(c.name);
        ASSERT_NE(p, nullptr) << c.name;
        i32 x = -9, y = -9, side = -9, layer = -9;
        EXPECT_EQ(window.LocateMapObject(cellar, *p, x, y, side, layer), c.found) << c.name;
        EXPECT_EQ(std::tuple(x, y, side, layer), std::tuple(c.x, c.y, c.side, c.layer)) << c.name;
        // The map object the placement stands for, from the same place.
        const CMapCell* cell = window.Cell(c.x, c.y);
        const CStoredCell* stored = window.StoredCell(c.x, c.y);
        const u16 expected = !c.found       ? kNoCellIndex
                             : c.layer == 2 ? (c.side < 0 ? stored->centre : stored->side[c.side])
                                            : (c.side < 0 ? cell->centre : cell->side[c.side]);
        EXPECT_EQ(window.ResolveMapObjectTarget(cellar, *p), expected) << c.name;
        if (c.found) {
            EXPECT_NE(expected, kNoCellIndex) << c.name;
        }
    }
    // The creature bound to a placement is found where it stands.
    const CPlacement* door = cellar->FindPlacementByName("base_cellardoor");
    CMonster* rat = cellar->FindMonster(1);
    ASSERT_NE(rat, nullptr);
    i32 x = -1, y = -1;
    EXPECT_FALSE(window.FindNamedObjectCell(*door, x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(0, 0));
    rat->objectId = door->id;
    EXPECT_TRUE(window.FindNamedObjectCell(*door, x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(i32{rat->x}, i32{rat->y}));
}

}  // namespace
