// Stand-in for the settings screen (screen 14) until its own work replaces it: a screen that names
// itself and goes back on any key or tap.
#pragma once

#include "screens/frontend/StandInScreen.h"

class CSettingsScreen : public CStandInScreen {
public:
    CSettingsScreen() : CStandInScreen("Settings") {}
};
