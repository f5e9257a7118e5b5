// Stand-in for the splash screen (screen 6) until the front-end work replaces it: it shows nothing
// and hands over to the main menu 2000 ms after it was entered.
#pragma once

#include "ui/Screen.h"

class CSplashScreen : public CScreen {
public:
    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    u32 OnTick(u32 tick) override;

    u32 enteredAt = 0;
};
