// The fights a new character meets first, played in the running game: a Fighter made on the creation
// screen with its default choices and start kit walks up to each creature and strikes it until one of
// them falls. Several seeds of the game's random generator, so that the odds count, not one lucky run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "screens/frontend/CreatePlayerScreen.h"
#include "tests/app/NewGameRig.h"
#include "tests/app/PlayRig.h"
#include "ui/ButtonBar.h"
#include "world/GameScreen.h"

namespace {

struct FreshFighterRig : testing_support::NewGameRig {
    // "Start new game" from the menu, the intro's pages read, creation left as it opens (a Fighter of
    // the default race) and its OK pressed.
    bool StartAsCreated() {
        if (!StartOnBuiltDatabase()) return false;
        Key(27);
        Tick(30);
        Key(40);
        Key(32);
        if (!TickUntilScreen(kScreenPages, 300)) return false;
        for (int page = 0; page < 3 && Current() == Game()->GetScreen(kScreenPages); ++page) {
            Tick(30);
            Key(32);
        }
        if (!TickUntilScreen(kScreenCreatePlayer, 300)) return false;
        Tick(30);
        if (!TapLayoutElement(CCreatePlayerScreen::kLayoutGroup, 25)) return false;  // OK
        if (!TickUntilScreen(kScreenGame, 600)) return false;
        SettleView();
        return View()->section != nullptr;
    }

    // Only the creatures of the current map that `keep` chooses stay.
    template <typename Keep>
    std::vector<u8> KeepOnly(Keep keep) {
        CGameScreen* view = View();
        CMapSection* map = view->section;
        std::vector<CMonster> kept;
        for (const CMonster& m : map->monsters) {
            view->window.RemoveCreatureFromCell(map, m);
            if (keep(m)) kept.push_back(m);
        }
        map->monsters.clear();
        std::vector<u8> ids;
        for (const CMonster& m : kept) {
            CMonster* placed = map->CreateMonster(static_cast<const CMonsterType*>(m.type), m.x, m.y);
            if (!placed) continue;
            placed->flags = creature::kTypeAggression;
            view->window.PlaceObjectNear(map, *placed, m.x, m.y);
            ids.push_back(placed->id);
        }
        view->EnterCreatures();
        SettleView();
        return ids;
    }

    // Walks up to each creature in turn and strikes it until it dies: true when all fell and the
    // player lives.
    bool FightAll(const std::vector<u8>& ids) {
        CGameScreen* view = View();
        CMapSection* map = view->section;
        CPlayer& player = Game()->player;
        for (u8 id : ids) {
            for (int ticks = 0; ticks < 8000 && map->FindMonster(id) && player.hp > 0; ++ticks) {
                Tick(30);
                if (Current() != view) return false;
                if (view->screenMode == CGameScreen::kModeMessage) view->OnCommand(CButtonBar::kOk);
                const CMonster* foe = map->FindMonster(id);
                if (!foe || view->IsBusy()) continue;
                const i32 dx = foe->x - view->playerX, dy = foe->y - view->playerY;
                const u32 want = std::abs(dx) >= std::abs(dy) ? (dx > 0 ? 1u : 3u) : (dy > 0 ? 2u : 0u);
                const u32 now = CGameScreen::DirectionOfFacing(view->facing);
                if (want != now)
                    Key(want == ((now + 1) & 3) ? 39 : 37);
                else if (std::abs(dx) + std::abs(dy) == 1)
                    TapLayoutElement(43, 542);  // the attack button
                else
                    Key(38);
            }
            if (map->FindMonster(id) || player.hp <= 0) return false;
        }
        return true;
    }
};

// A place of the cellar that a new character reaches in its first minutes, the creatures that keep
// it, and where the character stands when it comes in.
struct Guarded {
    const char* place;
    bool (*keeps)(const CMonster&);
    i32 x, y, facing;
};

// The creatures of each place are fought from full health in games of six seeds: a fresh Fighter must
// win nearly every time, and each fight must still cost it something.
TEST(FirstFightsInPlay, AFreshFighterBeatsWhatGuardsTheCellarsRooms) {
    using testing_support::kNorth;
    using testing_support::kWest;
    const Guarded places[] = {
        // Behind the cellar's north door, met on stepping through it.
        {"the gallery", [](const CMonster& m) { return m.y < 12; }, 17, 11, kNorth},
        // West of the hall, met in the doorway.
        {"the side chamber", [](const CMonster& m) { return m.x < 12 && m.y > 12; }, 11, 22, kWest},
    };
    constexpr u32 kSeeds = 6;
    for (const Guarded& place : places) {
        SCOPED_TRACE(place.place);
        u32 wins = 0;
        int hpLost = 0, hpAtStart = 0;
        for (u32 seed = 1; seed <= kSeeds; ++seed) {
            FreshFighterRig rig;
            rig.env.clock.SetTime(20261211 + seed);  // the game seeds its random numbers from it
            ASSERT_TRUE(rig.StartAsCreated());
            CGameScreen* view = rig.View();
            ASSERT_STREQ(view->section->GetName(), "base_cellar");
            const std::vector<u8> ids = rig.KeepOnly(place.keeps);
            ASSERT_FALSE(ids.empty()) << "nothing guards it";
            view->facing = view->targetFacing = place.facing;
            view->SetPosition(place.x, place.y);
            rig.SettleView();
            const CPlayer& player = rig.Game()->player;
            const int hp = player.hp;
            if (rig.FightAll(ids)) {
                ++wins;
                hpLost += hp - player.hp;
                hpAtStart += hp;
            }
        }
        EXPECT_GE(wins, kSeeds - 1) << "of " << kSeeds;
        // A fight, not a walk-over: the creatures took a tenth of the player's health or more.
        EXPECT_GE(hpLost * 10, hpAtStart) << hpLost << " of " << hpAtStart;
    }
}

}  // namespace
