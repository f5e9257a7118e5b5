// The running game saved over and over by a process that is killed at random moments: afterwards the
// slot holds the last saved game or the one being written, whole, and the game loads it, never a mixture
// or nothing. The game's own parts are written as the game writes them (the view drawn for the picture,
// the player, the view's and the panels' sections).
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "app/Game.h"
#include "data/MapSection.h"
#include "tests/support/FrameRig.h"
#include "tests/support/KillWhileSaving.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

namespace {

TEST(SavedGameKill, KilledWhileSavingTheRunningGameLeavesTheOldOrTheNewGame) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartNewGameInView());
    CGame& game = *rig.Game();
    game.saveGames.folder = rig.env.dir.Path();
    CGameScreen* view = game.GetGameScreen();
    ASSERT_EQ(rig.Current(), view);
    const std::string section = view->section->GetName();
    const i32 x = view->playerX, y = view->playerY;

    // The player's gold and the clock count the saves: both come back from one and the same save.
    game.player.gold = 0;
    view->gameClock.minutes = 0;
    ASSERT_EQ(game.saveGames.Save(3), 1) << game.saveGames.LastError();
    std::mt19937 random(4321);
    u32 acknowledged = 0;
    constexpr int kKills = 200;
    int killedWhileWriting = 0;
    for (int round = 0; round < kKills; ++round) {
        auto save = [&game, view](u32 generation) {
            game.player.gold = generation;
            view->gameClock.minutes = generation;
            return game.saveGames.Save(3) == 1;
        };
        ASSERT_TRUE(testing_support::KillWhileSaving(random, acknowledged, save, acknowledged)) << round;
        if (std::ifstream(game.saveGames.SlotPath(3) + ".pdb.tmp").good()) ++killedWhileWriting;

        ASSERT_TRUE(game.saveGames.List(3)) << "kill " << round;
        ASSERT_EQ(game.saveGames.Load(3, nullptr), 1)
            << "kill " << round << ": " << game.saveGames.LastError();
        const u32 loaded = game.player.gold;
        ASSERT_TRUE(loaded == acknowledged || loaded == acknowledged + 1)
            << "kill " << round << ": " << loaded << " after " << acknowledged;
        ASSERT_EQ(view->gameClock.minutes, loaded) << "kill " << round << ": parts of two saves";
        ASSERT_EQ(std::string(view->section->GetName()), section);
        ASSERT_EQ(view->playerX, x);
        ASSERT_EQ(view->playerY, y);
        acknowledged = loaded;
        // The view is entered again at the loaded place, so that the next saves draw it for their picture.
        view->entryA = view->entryB = view->entryC = view->entryD = 0;
        game.SwitchScreen(kScreenGame);
        ASSERT_EQ(view->window.CurrentSection(), view->section);
    }
    RecordProperty("kills", kKills);
    // How many kills came while the file was being written depends on how long drawing the picture
    // takes beside writing (a sanitizer build draws slowly): recorded, not required. The saved game's own
    // kill test, whose parts take no time, requires such kills.
    RecordProperty("killedWhileWriting", killedWhileWriting);
}

}  // namespace
