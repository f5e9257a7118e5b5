// Stand-in for character creation (screen 10) until its own work replaces it: an empty screen.
#pragma once

#include "ui/Screen.h"

class CCreatePlayerScreen : public CScreen {};
