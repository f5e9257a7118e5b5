// Stand-in for the picture-and-text pages (screen 11) until its own work replaces it: an empty screen.
#pragma once

#include "ui/Screen.h"

class CPagesScreen : public CScreen {};
