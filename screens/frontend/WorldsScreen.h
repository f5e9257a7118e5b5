// Stand-in for the additional-worlds screen (screen 15) until its own work replaces it: a screen that
// names itself and goes back on any key or tap.
#pragma once

#include "screens/frontend/StandInScreen.h"

class CWorldsScreen : public CStandInScreen {
public:
    CWorldsScreen() : CStandInScreen("Additional worlds") {}
};
