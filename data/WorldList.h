// Stand-ins for the installed-worlds pass and the opening of world databases by name until the
// world-data work replaces them.
#pragma once

class CGame;

// Reconciles the installed-worlds list with the world databases in the program folder and the
// settings' world list.
inline void UpdateInstalledWorlds(CGame*) {}
// Opens a world database of the program folder by name; 1 on success.
inline int OpenWorldByName(CGame*, const char*) { return 0; }
