// Stand-in for the additional-worlds screen (screen 15) until its own work replaces it: an empty screen.
#pragma once

#include "ui/Screen.h"

class CWorldsScreen : public CScreen {};
