// Stand-in for the NPC services menu and inn (screen 3) until its own work replaces it: an empty screen.
#pragma once

#include "ui/Screen.h"

class CServicesScreen : public CScreen {};
