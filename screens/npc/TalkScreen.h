// Stand-in for NPC talk (screen 2) until its own work replaces it: an empty screen.
#pragma once

#include "ui/Screen.h"

class CTalkScreen : public CScreen {};
