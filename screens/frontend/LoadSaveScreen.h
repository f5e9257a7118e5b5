// Stand-in for the load and save screen (screen 8) until its own work replaces it: an empty screen.
#pragma once

#include "ui/Screen.h"

class CLoadSaveScreen : public CScreen {};
