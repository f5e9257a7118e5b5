// Stand-in for the load and save screen (screen 8) until its own work replaces it: a screen that names
// itself and goes back on any key or tap.
#pragma once

#include "screens/frontend/StandInScreen.h"

class CLoadSaveScreen : public CStandInScreen {
public:
    CLoadSaveScreen() : CStandInScreen("Load and save") {}
};
