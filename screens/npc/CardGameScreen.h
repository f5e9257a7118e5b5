// Stand-in for the card game (screen 12) until its own work replaces it: an empty screen.
#pragma once

#include "ui/Screen.h"

class CCardGameScreen : public CScreen {};
