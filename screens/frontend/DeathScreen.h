// Stand-in for the death screen (screen 7) until its own work replaces it: an empty screen.
#pragma once

#include "ui/Screen.h"

class CDeathScreen : public CScreen {};
