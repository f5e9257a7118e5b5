// The settings changed in the middle of a game, as a user changes them: from the game view through
// the main menu to the settings screen and back. A key given to another command acts in the game
// view at once and the letter it replaced no longer does, a new view size changes the 3D view's
// rectangle, and the volumes reach the mixer; all of it is still there after a restart.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/Game.h"
#include "platform/SettingsStore.h"
#include "sound/Mixer.h"
#include "sound/SoundManager.h"
#include "screens/frontend/SettingsScreen.h"
#include "tests/app/NewGameRig.h"
#include "tests/support/FrameRig.h"
#include "tests/support/Png.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

namespace {

constexpr u16 kSettingsGroup = CSettingsScreen::kLayoutGroup;
constexpr u32 kSettingsBack = 25, kTurnLeftNext = 641, kViewSmaller = 654, kViewLarger = 655;
constexpr u32 kSoundBox3 = 590, kMusicBox8 = 607;

struct SettingsRig : testing_support::NewGameRig {
    // Escape, then the menu's entry "Settings" (the fifth in a game) with the arrow keys.
    bool OpenSettings() {
        Key(27);
        if (Current() != Game()->GetScreen(kScreenMainMenu)) return false;
        Tick(30);
        for (int i = 0; i < 5; ++i) Key(40);
        Key(13);
        Tick(30);
        return Current() == Game()->GetScreen(kScreenSettings);
    }
    // Back to the menu (its selection cleared), down to "Continue game", and into the game view again.
    bool BackToGame() {
        if (!TapLayoutElement(kSettingsGroup, kSettingsBack)) return false;
        Tick(30);
        Key(40);
        Key(13);
        Tick(30);
        Tick(30);
        return Current() == View();
    }
};

TEST(SettingsInGame, AReassignedKeyMovesThePlayerAndTheViewSizeChangesTheView) {
    SettingsRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGame& game = *rig.Game();
    CGameScreen* view = rig.View();
    // The configured keys belong to the wide layouts.
    ASSERT_TRUE(game.layoutMode == 14 || game.layoutMode == 15 || game.layoutMode == 16) << game.layoutMode;

    // By default "a" strafes left: the facing stays.
    view->facing = 0;
    rig.Key('A');
    rig.SettleView();
    EXPECT_EQ(view->facing, 0);

    // Turn left becomes "a" (the row's next choice); as the rows are read in order, "a" now turns.
    ASSERT_TRUE(rig.OpenSettings());
    const u32 width = view->viewState.viewWidth, height = view->viewState.viewHeight;
    ASSERT_GT(width, 0u);
    ASSERT_TRUE(rig.TapLayoutElement(kSettingsGroup, kTurnLeftNext));
    EXPECT_EQ(game.settings.Key[2], 97u);
    const u32 size = game.settings.ViewSize;
    ASSERT_TRUE(rig.TapLayoutElement(kSettingsGroup, size < 2 ? kViewSmaller : kViewLarger));
    EXPECT_NE(game.settings.ViewSize, size);
    ASSERT_TRUE(rig.BackToGame());

    const i32 x = view->playerX, y = view->playerY;
    rig.Key('A');
    rig.SettleView();
    EXPECT_EQ(view->facing, 90);
    EXPECT_EQ(view->playerX, x);
    EXPECT_EQ(view->playerY, y);
    // "q", taken off turning, does nothing now.
    rig.Key('Q');
    rig.SettleView();
    EXPECT_EQ(view->facing, 90);
    EXPECT_EQ(view->playerX, x);
    EXPECT_EQ(view->playerY, y);

    // The 3D view took the new size: a smaller size leaves a smaller rectangle, a larger one a larger.
    if (game.settings.ViewSize > size) {
        EXPECT_LT(view->viewState.viewWidth, width);
        EXPECT_LT(view->viewState.viewHeight, height);
    } else {
        EXPECT_GT(view->viewState.viewWidth, width);
        EXPECT_GT(view->viewState.viewHeight, height);
    }
    EXPECT_TRUE(testing_support::MatchesGolden("app_gameview_view_size", rig.Capture()));
}

// The settings kept in a file, as the game keeps them for a user, for as long as the guard lives; a
// restart reads the file afresh, as a new run of the game would. The frame is stopped before the
// rig's own store comes back, so nothing of the game writes elsewhere.
class FileSettings {
public:
    FileSettings(testing_support::FrameRig& rig, std::string path) : rig_(rig), path_(std::move(path)) { Reread(); }
    ~FileSettings() {
        rig_.Stop();
        plat::SetSettings(&rig_.env.store);
    }
    FileSettings(const FileSettings&) = delete;
    FileSettings& operator=(const FileSettings&) = delete;

    // The game ends, and a new run reads the file.
    void Restart() {
        rig_.Stop();
        Reread();
    }

private:
    void Reread() {
        auto fresh = std::make_unique<plat::FileSettingsStore>(path_);
        plat::SetSettings(fresh.get());
        store_ = std::move(fresh);
    }

    testing_support::FrameRig& rig_;
    std::string path_;
    std::unique_ptr<plat::FileSettingsStore> store_;
};

// Both volumes reach the mixer the moment a box is tapped, the effects staying where they were set
// when the music changes; with a reassigned key and a smaller view they all come back after a restart.
TEST(SettingsInGame, VolumesReachTheMixerAtOnceAndEveryChangeOutlastsARestart) {
    SettingsRig rig;
    FileSettings file(rig, rig.env.dir.File("settings.txt"));
    ASSERT_TRUE(rig.StartNewGame());
    CGame& game = *rig.Game();
    Mixer* mixer = game.sound->GetMixer();
    ASSERT_NE(mixer, nullptr);
    // The start levels of a first run: effects 10, music 5.
    EXPECT_EQ(mixer->SampleVolume(), 64u);
    EXPECT_EQ(mixer->MusicVolume(), 32u);

    ASSERT_TRUE(rig.OpenSettings());
    ASSERT_TRUE(rig.TapLayoutElement(kSettingsGroup, kSoundBox3));
    EXPECT_EQ(mixer->SampleVolume(), 3u * 64 / 10);
    EXPECT_EQ(mixer->MusicVolume(), 32u);
    ASSERT_TRUE(rig.TapLayoutElement(kSettingsGroup, kMusicBox8));
    EXPECT_EQ(mixer->MusicVolume(), 8u * 64 / 10);
    EXPECT_EQ(mixer->SampleVolume(), 3u * 64 / 10) << "the music's click is heard at its level, then the effects' returns";
    ASSERT_TRUE(rig.TapLayoutElement(kSettingsGroup, kTurnLeftNext));
    ASSERT_EQ(game.settings.Key[2], 97u);
    ASSERT_EQ(game.settings.ViewSize, 0u);
    ASSERT_TRUE(rig.TapLayoutElement(kSettingsGroup, kViewSmaller));
    ASSERT_TRUE(rig.BackToGame());
    const u32 width = rig.View()->viewState.viewWidth, height = rig.View()->viewState.viewHeight;

    file.Restart();
    ASSERT_TRUE(rig.StartNewGame());
    CGame& again = *rig.Game();
    EXPECT_EQ(again.settings.SoundVolume, 3u);
    EXPECT_EQ(again.settings.MusicVolume, 8u);
    EXPECT_EQ(again.settings.Key[2], 97u);
    EXPECT_EQ(again.settings.ViewSize, 1u);
    ASSERT_NE(again.sound->GetMixer(), nullptr);
    EXPECT_EQ(again.sound->GetMixer()->SampleVolume(), 3u * 64 / 10);
    EXPECT_EQ(again.sound->GetMixer()->MusicVolume(), 8u * 64 / 10);
    CGameScreen* view = rig.View();
    EXPECT_EQ(view->viewState.viewWidth, width);
    EXPECT_EQ(view->viewState.viewHeight, height);
    view->facing = 0;
    rig.Key('A');
    rig.SettleView();
    EXPECT_EQ(view->facing, 90) << "\"a\" still turns left";
}

}  // namespace
