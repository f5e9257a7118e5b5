// The scan of the program folder for additional worlds: every world database that is not one of the
// game's own, one entry per short name.
#pragma once

class CPdbFile;
class CWorldEntryArray;

// Rebuilds list from the additional world databases in the program folder of db's finder. db is a
// constructed, closed database object that the scan reuses for every file and leaves closed.
void ScanWorldDatabases(CPdbFile& db, CWorldEntryArray& list);
