// The screen table: which screen class serves each screen id. The game builds its table from here
// at start-up, in the order given, and owns the screens from then on.
#pragma once

#include <memory>

#include "core/Types.h"
#include "ui/ScreenIds.h"

class CScreen;
class CScreenHost;

// The ids of the screens that start-up builds after the main game view, in the order it builds and
// attaches them.
inline constexpr u32 kScreenBuildOrder[] = {
    kScreenTalk,     kScreenServices, kScreenPanels,   kScreenShop,         kScreenDeath,
    kScreenSplash,   kScreenLoadSave, kScreenMainMenu, kScreenCreatePlayer, kScreenPages,
    kScreenCardGame, kScreenSettings, kScreenWorlds,
};

// A new screen for an id (the main game view for kScreenGame); null for an id that names no screen.
// Screens that need more of the game than a form does keep `host`.
std::unique_ptr<CScreen> CreateScreen(u32 id, CScreenHost& host);
