// Stand-in for the in-game panels (screen 4) until its own work replaces it: an empty screen.
#pragma once

#include "ui/Screen.h"

class CPanelScreen : public CScreen {};
