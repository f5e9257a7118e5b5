// Stand-in for the shop (screen 5) until its own work replaces it: an empty screen.
#pragma once

#include "ui/Screen.h"

class CShopScreen : public CScreen {};
