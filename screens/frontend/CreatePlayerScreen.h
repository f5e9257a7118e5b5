// Stand-in for character creation (screen 10) until its own work replaces it: a screen that names
// itself and goes back on any key or tap.
#pragma once

#include "screens/frontend/StandInScreen.h"

class CCreatePlayerScreen : public CStandInScreen {
public:
    CCreatePlayerScreen() : CStandInScreen("Character creation") {}
};
