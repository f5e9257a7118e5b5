// Stand-in for the main game view (screen 1) until the world work replaces it. It carries what the
// shell reads of it: whether it is busy, the view widget whose rectangle the pen repeat tests, the
// in-game flag that decides the automatic save, and the 3D view rectangle; and the music choice that the
// front end asks of it, which picks a piece by name and plays it from the world's music catalogue.
#pragma once

#include "data/ResourceCatalogue.h"
#include "sound/SoundManager.h"
#include "ui/Screen.h"
#include "ui/Widget.h"
#include "display/ViewState.h"

class CGameScreen : public CScreen {
public:
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
};
