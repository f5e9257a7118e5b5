// Stand-in for the main game view (screen 1) until the world work replaces it. It carries what the
// shell reads of it: whether it is busy, the view widget whose rectangle the pen repeat tests, the
// in-game flag that decides the automatic save, and the 3D view rectangle; and the music choice that the
// front end asks of it, which picks a piece by name and plays it from the world's music catalogue. It is
// the player's host from start-up on: the gauges and the clock it keeps, the messages go nowhere yet.
#pragma once

#include "data/ResourceCatalogue.h"
#include "sound/SoundManager.h"
#include "ui/Screen.h"
#include "ui/Widget.h"
#include "display/ViewState.h"
#include "world/Player.h"
#include "world/PlayerHost.h"

class CGameScreen : public CScreen, public IPlayerHost {
public:
    CGameScreen() = default;
    CGameScreen(const CGameScreen&) = delete;
    CGameScreen& operator=(const CGameScreen&) = delete;
    // The player must not report to a view that is gone.
    ~CGameScreen() override {
        if (player_) player_->SetHost(nullptr);
    }

    // Makes this view the host of the player's reports (null: none).
    void AttachPlayer(CPlayer* player) {
        if (player_) player_->SetHost(nullptr);
        player_ = player;
        if (player_) player_->SetHost(this);
    }
    CPlayer* GetPlayer() const { return player_; }

    // What the player reports.
    void ShowGameMessage(const char*) override {}
    void PostMessageEvent(const char*, const char*) override {}
    void SetHpGauge(int percent) override { hpGauge = percent; }
    void SetManaGauge(int percent) override { manaGauge = percent; }
    void SetHandSprites() override {}
    void PassTimeTo(int hour, int minute) override {
        clockHour = hour;
        clockMinute = minute;
    }
    int GetHour() const override { return clockHour; }

    // 1 while the view is turning, stepping, animating, has events queued or a dialog open.
    u32 IsBusy() const { return busy; }

    // Chooses the music for the current state: "bmus_main" outside a game.
    void UpdateMusic() {
        ++musicUpdates;
        const char* choice = screenMusic != nullptr ? screenMusic : inGame ? nullptr : "bmus_main";
        // The piece playing already goes on; a new choice starts from its beginning.
        if (choice == currentMusic && musicChannel >= 0) return;
        StopMusic();
        currentMusic = choice;
        if (music && choice) musicChannel = music->PlayMusic(choice);
    }
    // Stops the current music and forgets it.
    void StopMusic() {
        if (music && musicChannel >= 0 && music->GetSoundManager()) music->GetSoundManager()->ReleaseMusic();
        musicChannel = kNoChannel;
        currentMusic = nullptr;
    }

    CWidget viewWidget;
    u32 inGame = 0;
    i32 viewX = 0, viewY = 0, viewWidth = 0, viewHeight = 0;
    u32 busy = 0;
    u32 facing = 0;  // the player's facing in degrees, 0..359
    const char* currentMusic = nullptr;
    // The music of a screen that brings its own (the pages), chosen while that screen shows.
    const char* screenMusic = nullptr;
    // The world's music catalogue (null: silence) and the channel of the piece playing.
    CResourceCatalogue* music = nullptr;
    i32 musicChannel = kNoChannel;
    u32 musicUpdates = 0;
    // The frame buffer and 3D view rectangle that the video output writes.
    CViewState viewState;
    // The gauges in percent and the game clock as the player last set them.
    int hpGauge = 100;
    int manaGauge = 100;
    int clockHour = 12;
    int clockMinute = 0;

private:
    CPlayer* player_ = nullptr;
};
