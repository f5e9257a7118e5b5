// Stand-in for the main game view (screen 1) until the world work replaces it. It carries what the
// shell reads of it: whether it is busy, the view widget whose rectangle the pen repeat tests, the
// in-game flag that decides the automatic save, and the 3D view rectangle.
#pragma once

#include "ui/Screen.h"
#include "ui/Widget.h"
#include "view3d/ViewState.h"

class CGameScreen : public CScreen {
public:
    // 1 while the view is turning, stepping, animating, has events queued or a dialog open.
    u32 IsBusy() const { return busy; }

    CWidget viewWidget;
    u32 inGame = 0;
    i32 viewX = 0, viewY = 0, viewWidth = 0, viewHeight = 0;
    u32 busy = 0;
    u32 facing = 0;  // the player's facing in degrees, 0..359
    // The frame buffer and 3D view rectangle that the video output writes.
    CViewState viewState;
};
