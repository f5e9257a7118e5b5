// The town's people as the player sees them in the 3D view: standing where they are, at a grown
// person's height against the walls, and turned the way they face.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "app/Game.h"
#include "data/CreatureCatalogue.h"
#include "data/MapSection.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "tests/app/NewGameRig.h"
#include "world/Creatures.h"
#include "world/GameScreen.h"

namespace {

struct SpriteOnScreen {
    int frame = -1;  // the kind's frame drawn, -1 when the person was not drawn
    i32 top = INT_MAX, bottom = INT_MIN, depth = 0;
};

// The person's picture among the polygons of the last frame (a level split may cut it in two).
SpriteOnScreen FindSprite(const CRenderer3D& r, const CCreatureKind& kind) {
    SpriteOnScreen s;
    for (i32 e = 0; e < r.polygonCount; ++e) {
        const CDrawEntry& entry = r.entries[static_cast<size_t>(e)];
        const CPolygon& p = r.polygons[static_cast<size_t>(entry.polygon)];
        if (p.type != 11 || p.texture[0] == 0) continue;
        const u16* begin = kind.frameIndices;
        const u16* end = kind.frameIndices + CCreatureKind::kMaxFrames;
        const u16* at = std::find(begin, end, p.texture[0]);
        if (at == end) continue;
        s.frame = static_cast<int>(at - begin);
        s.depth = entry.maxDepth;
        for (i32 v = 0; v < p.vertexCount; ++v) {
            const CScreenVertex& sv = r.vertexPool[static_cast<size_t>(p.firstVertex + v)];
            s.top = std::min(s.top, sv.y);
            s.bottom = std::max(s.bottom, sv.y);
        }
    }
    return s;
}

TEST(PeopleInView, APersonTwoCellsAwayStandsAsTallAsAGrownPersonAndShowsTheSideItFaces) {
    testing_support::TownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGameScreen* view = rig.View();
    CMapSection* town = view->section;
    CMonster* merchant = nullptr;
    for (CMonster& m : town->monsters)
        if (m.Type() && m.Type()->npcId && std::strcmp(m.Type()->npcId, "Hesper") == 0) merchant = &m;
    ASSERT_NE(merchant, nullptr);
    const CCreatureKind* kind = merchant->Type()->creatureKind;
    ASSERT_NE(kind, nullptr);
    // The merchant keeps her stall: she stands still, looking south over the square.
    ASSERT_EQ(creature::Facing(*merchant), 2);

    struct Case {
        const char* seen;
        i32 dy;
        u32 facing;  // quarter: 0 north, 2 south
        int firstFrame;
    } const cases[] = {{"from the front", 2, 0, 6}, {"from behind", -2, 2, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seen);
        view->EnterMapAt(rig.Game()->worlds->Current(), town, merchant->x, merchant->y + c.dy, c.facing);
        rig.SettleView();
        view->flags |= kFormRedrawAll;
        rig.Tick(30);
        const CRenderer3D& r = view->renderer;
        const SpriteOnScreen s = FindSprite(r, *kind);
        ASSERT_GE(s.frame, 0) << "the merchant is drawn";
        EXPECT_GE(s.frame, c.firstFrame);
        EXPECT_LE(s.frame, c.firstFrame + 2);
        // A level's height in rows at the sprite's depth, as the walls beside it are drawn.
        ASSERT_GT(s.depth, 0);
        const i64 level = ((r.projectionScale / s.depth) * r.levelHeight) >> 15;
        const i64 tall = s.bottom - s.top;
        EXPECT_GE(tall * 100, level * 55) << "a person reaches past half a wall: " << tall << " of " << level;
        EXPECT_LE(tall * 100, level * 95) << "and stays below its top: " << tall << " of " << level;
    }
}

// When the day turns, the people of the window are put back by what their map objects say: a person
// whose object was hidden for the night stays away, and once the object shows again she is back in
// her place with the next turn of the day.
TEST(PeopleInView, TheTurnOfTheDayPutsBackThePeopleWhoseObjectsShow) {
    testing_support::TownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGameScreen* view = rig.View();
    CMapSection* town = view->section;
    CMonster* merchant = nullptr;
    for (CMonster& m : town->monsters)
        if (m.Type() && m.Type()->npcId && std::strcmp(m.Type()->npcId, "Hesper") == 0) merchant = &m;
    ASSERT_NE(merchant, nullptr);
    const u8 id = merchant->id;
    const i32 x = merchant->x, y = merchant->y;
    auto standing = [&] {
        int n = 0;
        for (i32 cy = 0; cy < CCellWindow::kSize; ++cy)
            for (i32 cx = 0; cx < CCellWindow::kSize; ++cx)
                if (const CMapCell* c = view->window.Cell(cx, cy); c && view->window.SectorSection(cx, cy) == town)
                    for (u16 slot : c->creature) n += slot == id;
        return n;
    };
    ASSERT_EQ(standing(), 1);
    // Her stall's object (a placement of the town that no cell names) is hidden for the night, and
    // she with it.
    CPlacement& stall = town->placements.emplace_back();
    stall.id = 250;
    stall.flags = 0;
    merchant->objectId = 250;
    view->window.RemoveCreatureFromCell(town, *merchant);
    view->gameClock.minutes = 21 * 60 + 59;
    view->AdvanceMinute();
    EXPECT_EQ(standing(), 0) << "away for the night";
    // At dawn the stall shows again: the turn of the day brings her back to her place.
    stall.flags = CPlacement::kVisible;
    view->gameClock.minutes = 24 * 60 + 5 * 60 + 59;
    view->AdvanceMinute();
    EXPECT_EQ(standing(), 1) << "back in the morning";
    EXPECT_EQ(std::pair(i32(merchant->x), i32(merchant->y)), std::pair(x, y));
    merchant->objectId = 0;
    town->placements.pop_back();
}

}  // namespace
