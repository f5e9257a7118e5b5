// The saved game as a player meets it in the game window: a game walked for a while is saved through the
// main menu's load and save screen and loaded back after it moved on, and the automatic save written when
// the game ends brings the next start back to the same place. What comes back is the view itself: the
// section, the cell, the facing, the clock, the weather and the frame it draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/Game.h"
#include "data/MapSection.h"
#include "data/SaveGameManager.h"
#include "data/World.h"
#include "platform/Files.h"
#include "screens/frontend/LoadSaveScreen.h"
#include "screens/frontend/MainMenuScreen.h"
#include "tests/support/FrameRig.h"
#include "tests/support/Png.h"
#include "ui/ButtonBar.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

namespace {

// Where the player stands and what the view holds that a save must keep.
struct Place {
    std::string section;
    i32 x = 0, y = 0, facing = 0;
    u32 clock = 0;
    i32 intensity = 0, target = 0, timer = 0, direction = 0, value = 0;
    bool operator==(const Place&) const = default;
};

void PrintTo(const Place& p, std::ostream* os) {
    *os << p.section << " (" << p.x << ", " << p.y << ") facing " << p.facing << " clock " << p.clock
        << " weather " << p.intensity << "/" << p.target << "/" << p.timer << "/" << p.direction << "/"
        << p.value;
}

struct SavedViewRig : testing_support::FrameRig {
    bool StartNewGame() {
        if (!StartNewGameInView()) return false;
        Game()->saveGames.folder = env.dir.Path();
        return true;
    }
    CGameScreen* View() const { return Game()->GetGameScreen(); }
    void Settle() {
        for (int i = 0; i < 40 && View()->IsBusy(); ++i) Tick(30);
        Tick(30);
    }
    Place Here() const {
        const CGameScreen& v = *View();
        const CWeather& w = v.weather;
        return {v.section ? v.section->GetName() : "",
                v.playerX,
                v.playerY,
                v.facing,
                v.gameClock.minutes,
                w.intensity,
                w.target,
                w.timer,
                w.direction,
                w.value};
    }
    // Escape over the view, then the menu's n-th entry (from 1) by the arrow keys and Enter.
    void MenuEntry(int n) {
        Tick(30);
        Key(27);
        Tick(30);
        for (int i = 0; i < n; ++i) Key(40);
        Key(13);
    }
    CLoadSaveScreen* LoadSave() const { return dynamic_cast<CLoadSaveScreen*>(Current()); }
    // A command to the current screen, its screen code (other than stay) handed to the screen switch.
    void Command(u32 command) {
        if (const u32 code = Current()->OnCommand(command)) Game()->SwitchScreen(code);
    }
    void PressLoadSave(i32 slot) {
        LoadSave()->SelectSlot(slot);
        Command(CLoadSaveScreen::kCommandLoadSave);
    }
};

TEST(SavedGameView, ASavedGameComesBackThroughTheMenuWhereItWasSaved) {
    SavedViewRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    rig.Settle();

    // Walked north, turned east and walked on; then time passes and a storm gathers.
    view->facing = 0;
    rig.Key(38);
    rig.Settle();
    rig.Key(39);
    rig.Settle();
    rig.Key(38);
    rig.Settle();
    view->AdvanceClockHours(7);
    CWeather& weather = view->weather;
    weather.intensity = 420;
    weather.target = 610;
    weather.timer = 37;
    weather.direction = 1;
    weather.value = 88;
    rig.Settle();
    const Place saved = rig.Here();
    EXPECT_EQ(saved.facing, 270);
    EXPECT_GE(saved.clock, 7u * 60);
    // The hands sway with the steps; a saved game keeps no sway, the view entered anew holds them at
    // rest.
    view->SetHandSprites();
    view->Draw();
    const testing_support::Rgb565Image before = rig.Capture();

    // Escape, "Save Game", the first slot: "Game saved.", then back through the menu to the game.
    rig.MenuEntry(4);
    ASSERT_NE(rig.LoadSave(), nullptr);
    EXPECT_EQ(rig.LoadSave()->mode, CLoadSaveScreen::kModeSave);
    rig.PressLoadSave(0);
    ASSERT_NE(rig.LoadSave(), nullptr);
    EXPECT_EQ(rig.LoadSave()->message, "Game saved.");
    ASSERT_TRUE(rig.LoadSave()->SlotHoldsGame(0));
    // The slot shows the picture of the view as it was, not of the screens over it.
    const std::vector<u16> thumbnail = rig.LoadSave()->infos[0]->thumbnail;
    rig.Command(CButtonBar::kOk);
    ASSERT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
    rig.Tick(30);
    rig.Key(40);
    rig.Key(13);
    rig.Tick(30);
    ASSERT_EQ(rig.Current(), view);
    EXPECT_EQ(rig.Here(), saved) << "saving leaves the game as it was";

    // The game moves on: a step back west, a turn, hours pass, the sky clears.
    rig.Key(40);
    rig.Settle();
    rig.Key(37);
    rig.Settle();
    view->AdvanceClockHours(30);
    weather.Clear();
    ASSERT_NE(rig.Here(), saved);
    view->Draw();
    EXPECT_FALSE(rig.Capture().pixels == before.pixels) << "another place draws another frame";

    // Escape, "Load Game", the same slot: the view is entered again at the saved place.
    rig.MenuEntry(3);
    ASSERT_NE(rig.LoadSave(), nullptr);
    EXPECT_EQ(rig.LoadSave()->mode, CLoadSaveScreen::kModeLoad);
    rig.PressLoadSave(0);
    ASSERT_EQ(rig.Current(), view) << rig.Game()->saveGames.LastError();
    EXPECT_EQ(view->inGame, 1u);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
    EXPECT_EQ(rig.Here(), saved);
    rig.Settle();
    EXPECT_EQ(rig.Here(), saved);
    view->Draw();
    const testing_support::Rgb565Image after = rig.Capture();
    ASSERT_EQ(after.pixels.size(), before.pixels.size());
    EXPECT_TRUE(after.pixels == before.pixels) << "the loaded view draws the frame it drew when saved";
    std::vector<u16> again(savegame::kThumbnailPixels);
    rig.Game()->MakeThumbnail(again.data());
    EXPECT_TRUE(again == thumbnail);
    EXPECT_NE(std::count(thumbnail.begin(), thumbnail.end(), u16(0)), static_cast<long>(thumbnail.size()));

    // The walk goes on from there: one more step east.
    rig.Key(38);
    rig.Settle();
    EXPECT_EQ(view->playerX, saved.x + 1);
    EXPECT_EQ(view->playerY, saved.y);
}

TEST(SavedGameView, TheAutomaticSaveBringsTheNextStartBackToTheSamePlace) {
    Place saved;
    std::string folder;
    {
        SavedViewRig rig;
        ASSERT_TRUE(rig.StartNewGame());
        rig.Settle();
        rig.View()->facing = 0;
        rig.Key(38);
        rig.Settle();
        rig.Key(37);
        rig.Settle();
        rig.View()->AdvanceClockHours(3);
        rig.View()->weather.intensity = 250;
        saved = rig.Here();
        EXPECT_EQ(saved.facing, 90);
        folder = rig.env.dir.Path();
        rig.Game()->saveGames.folder.clear();  // the user's folder, where the next start looks
        rig.Stop();  // the window closes during the game: the automatic save is written

        // The next start offers the automatic save in the menu; yes enters the view at the saved place.
        SavedViewRig next;
        plat::SetUserDataFolder(folder);
        ASSERT_TRUE(next.StartOnBuiltDatabase());
        next.Key(27);
        ASSERT_EQ(next.Current(), next.Game()->GetScreen(kScreenMainMenu));
        auto* menu = dynamic_cast<CMainMenuScreen*>(next.Current());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->pendingPrompt, kPromptLoadAutoSave);
        next.Command(CButtonBar::kYes);
        ASSERT_EQ(next.Current(), next.View()) << next.Game()->saveGames.LastError();
        EXPECT_EQ(next.Here(), saved);
        next.Settle();
        EXPECT_EQ(next.Here(), saved);
        ASSERT_NE(next.View()->section, nullptr);
        EXPECT_EQ(next.View()->window.Cell(saved.x, saved.y) != nullptr, true);
    }
}

}  // namespace

// Closing the window during a game writes the automatic save first. When it cannot be written (here
// the saved games' folder lies under a file, so it cannot be made) the window stays open and a
// message box names the folder and the reason; a second close quits. A close that saves quits at
// once.
TEST(SavedGameView, AnAutomaticSaveThatFailsOnCloseKeepsTheWindowOpenAndSaysWhy) {
    SavedViewRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    rig.Settle();
    ASSERT_TRUE(plat::CreateFileForWriting(rig.env.dir.File("blocked")));
    const std::string folder = rig.env.dir.File("blocked/saves/");
    rig.Game()->saveGames.folder = folder;
    const size_t boxes = rig.window->MessageBoxes().size();
    rig.window->PushEvent(plat::Event{plat::EventType::Close});
    rig.Drain();
    EXPECT_FALSE(rig.frame->QuitRequested()) << "the window stays open";
    // The game view's own message box says it.
    rig.Tick(30);
    ASSERT_EQ(rig.Current(), rig.View()) << "the game goes on";
    ASSERT_EQ(rig.View()->screenMode, CGameScreen::kModeMessage);
    // The box breaks a long folder's path after a '/'.
    std::string text = rig.View()->messageText.GetText();
    std::erase(text, '\r');
    EXPECT_NE(text.find(folder), std::string::npos) << text;
    EXPECT_NE(text.find("Not a directory"), std::string::npos) << text;
    rig.Tick(30);
    rig.Key(13);
    EXPECT_EQ(rig.View()->screenMode, CGameScreen::kModeNormal);
    rig.window->PushEvent(plat::Event{plat::EventType::Close});
    rig.Drain();
    EXPECT_TRUE(rig.frame->QuitRequested()) << "a second close quits";
    EXPECT_EQ(rig.window->MessageBoxes().size(), boxes);

    // Elsewhere (here the main menu over the game) the system's message box says it.
    SavedViewRig menu;
    ASSERT_TRUE(menu.StartNewGame());
    menu.Settle();
    menu.Game()->saveGames.folder = folder;
    menu.Key(27);
    ASSERT_EQ(menu.Current(), menu.Game()->GetScreen(kScreenMainMenu));
    menu.window->PushEvent(plat::Event{plat::EventType::Close});
    menu.Drain();
    EXPECT_FALSE(menu.frame->QuitRequested());
    ASSERT_EQ(menu.window->MessageBoxes().size(), 1u);
    EXPECT_NE(menu.window->MessageBoxes().back().text.find(folder), std::string::npos);

    SavedViewRig saving;
    ASSERT_TRUE(saving.StartNewGame());
    saving.Settle();
    saving.window->PushEvent(plat::Event{plat::EventType::Close});
    saving.Drain();
    EXPECT_TRUE(saving.frame->QuitRequested());
    EXPECT_TRUE(plat::FileExists(saving.env.dir.File("VantrelSave0.pdb")));
    EXPECT_TRUE(saving.window->MessageBoxes().empty());
}

// On the surface the window holds nine pieces around the player's: the saved cell is the window's, and
// the piece the player stands in is the current section that comes back.
TEST(SavedGameView, ASurfacePlaceComesBackInItsPiece) {
    SavedViewRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    CWorld* world = view->world;
    ASSERT_NE(world, nullptr);
    CMapSection* surface = nullptr;
    for (u32 i = 0; i < world->SectionCount() && !surface; ++i)
        if (world->SectionAt(i)->IsSurface()) surface = world->SectionAt(i);
    ASSERT_NE(surface, nullptr);
    view->EnterMapAt(world, surface, 10, 12, 1);
    rig.Settle();
    const Place saved = rig.Here();
    ASSERT_EQ(saved.section, surface->GetName());
    ASSERT_EQ(rig.Game()->saveGames.Save(2), 1) << rig.Game()->saveGames.LastError();

    view->EnterMapAt(world, surface, 3, 4, 3);
    rig.Settle();
    ASSERT_NE(rig.Here(), saved);
    ASSERT_EQ(rig.Game()->saveGames.Load(2, nullptr), 1) << rig.Game()->saveGames.LastError();
    view->entryA = 0;
    rig.Game()->SwitchScreen(kScreenGame);
    ASSERT_EQ(rig.Current(), view);
    EXPECT_EQ(rig.Here(), saved);
    EXPECT_EQ(view->window.CurrentSection(), view->section);
    EXPECT_TRUE(view->window.IsSurface());
}
