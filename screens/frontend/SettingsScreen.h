// Stand-in for the settings screen (screen 14) until its own work replaces it: an empty screen.
#pragma once

#include "ui/Screen.h"

class CSettingsScreen : public CScreen {};
