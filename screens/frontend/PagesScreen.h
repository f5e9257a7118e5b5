// Stand-in for the picture-and-text pages (screen 11) until its own work replaces it: a screen that
// names itself and goes back on any key or tap.
#pragma once

#include "screens/frontend/StandInScreen.h"

class CPagesScreen : public CStandInScreen {
public:
    CPagesScreen() : CStandInScreen("Intro and credits") {}
};
