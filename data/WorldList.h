// Stand-ins for the installed-worlds pass and the opening of world databases by name until the
// world-data work replaces them.
#pragma once

class CGame;

// Reconciles the installed-worlds list with the world databases in the program folder and the
// settings' world list.
inline void UpdateInstalledWorlds(CGame*) {}
// Opens a world database of the program folder by name; 1 on success.
inline int OpenWorldByName(CGame*, const char*) { return 0; }

class CProgressDialog;

// Stops all music and samples and opens the game's databases (world, pictures, sounds, music),
// advancing the progress after each; 1 when all are open. None can be opened yet.
inline int OpenGameDatabases(CGame*, CProgressDialog*) { return 0; }
