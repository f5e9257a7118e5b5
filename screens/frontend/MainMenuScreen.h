// Stand-in for the main menu (screen 9) until its own work replaces it: an empty screen.
#pragma once

#include "ui/Screen.h"

class CMainMenuScreen : public CScreen {};
