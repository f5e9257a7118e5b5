// The running game saved over and over by a process that is killed at random moments: afterwards the
// slot holds the last saved game or the one being written, whole, and the game loads it, never a mixture
// or nothing. The game's own parts are written as the game writes them (the view drawn for the picture,
// the player, the view's and the panels' sections).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>

#include "app/Game.h"
#include "data/MapSection.h"
#include "tests/support/FrameRig.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

namespace {

TEST(SavedGameKill, KilledWhileSavingTheRunningGameLeavesTheOldOrTheNewGame) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    CGame& game = *rig.Game();
    game.saveGames.folder = rig.env.dir.Path();
    rig.Key(27);
    ASSERT_TRUE(game.NewGame(nullptr));
    CScreen* current = rig.Current();
    current->entryA = 1;
    current->keepOnStack = 0;
    game.SwitchScreen(kScreenGame);
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
        int channel[2];
        ASSERT_EQ(pipe(channel), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(channel[0]);
            for (u32 generation = acknowledged + 1;; ++generation) {
                game.player.gold = generation;
                view->gameClock.minutes = generation;
                if (game.saveGames.Save(3) != 1) _exit(2);
                if (write(channel[1], &generation, sizeof generation) != sizeof generation) _exit(3);
            }
        }
        close(channel[1]);
        const u32 wanted = 1 + random() % 3;
        u32 generation = acknowledged;
        for (u32 seen = 0;
             seen < wanted && read(channel[0], &generation, sizeof generation) == sizeof generation;)
            ++seen;
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped on its own: " << status;
        while (read(channel[0], &generation, sizeof generation) == sizeof generation) {
        }
        close(channel[0]);
        acknowledged = generation;
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
    }
    RecordProperty("kills", kKills);
    RecordProperty("killedWhileWriting", killedWhileWriting);
    EXPECT_GT(killedWhileWriting, 0);
}

}  // namespace
