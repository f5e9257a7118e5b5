// The codes that screens and forms answer with: screen ids of the screen table, the two codes that
// name no screen, and the command ids of the keys (widget results share the same space).
#pragma once

#include "core/Types.h"

// Screen codes that handlers answer with, besides the screen ids.
constexpr u32 kScreenStay = 0;
constexpr u32 kScreenBack = 99;

// Screen ids of the screen table.
enum : u32 {
    kScreenGame = 1,
    kScreenTalk = 2,
    kScreenServices = 3,
    kScreenPanels = 4,
    kScreenShop = 5,
    kScreenSplash = 6,
    kScreenDeath = 7,
    kScreenLoadSave = 8,
    kScreenMainMenu = 9,
    kScreenCreatePlayer = 10,
    kScreenPages = 11,
    kScreenCardGame = 12,
    kScreenSettings = 14,
    kScreenWorlds = 15,
};

// Command ids of the keys (widget results share the same space).
enum : u32 {
    kCommandForward = 1000,
    kCommandBack = 1002,
    kCommandTurnLeft = 1004,
    kCommandTurnRight = 1006,
    kCommandAttack = 3000,
    kCommandSpellBook = 3001,
    kCommandStrafeLeft = 3004,
    kCommandStrafeRight = 3005,
    kCommandUse = 3006,
    kCommandCancel = 3007,
    // The desktop's inventory key: the same command as the game view's portrait tap (the player's
    // items beside the bag of the player's cell).
    kCommandInventory = 36,
};
