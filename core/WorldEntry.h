// The installed-worlds list: one entry per additional world database found in the program folder,
// and the scan that rebuilds it.
#pragma once

#include <memory>
#include <string>

#include "core/Str.h"
#include "core/Types.h"

class CPdbFile;

class CWorldEntry {
public:
    CWorldEntry();
    CWorldEntry(const CWorldEntry& other);
    CWorldEntry& operator=(const CWorldEntry& other);
    ~CWorldEntry() = default;

    void Assign(const CWorldEntry& other);

    CStr fileName;  // the database's file name without ".pdb", as the lists show it
    // The file the search found, extension and all: "x.pdb.pdb" is listed as "x" but is not "x.pdb".
    CStr foundName;
    CStr title;                // from the world's header record
    CStr shortName;            // from the world's header record
    u32 modificationDate = 0;  // the database header's
    u8 enabled = 1;
    u8 flagByte = 0;   // the header's byte read from version 122 on
    u8 expansion = 1;  // the header's expansion number, 1 before version 119
};

class CWorldEntryArray {
public:
    explicit CWorldEntryArray(u32 growthStep = 4);
    ~CWorldEntryArray() = default;
    CWorldEntryArray(const CWorldEntryArray&) = delete;
    CWorldEntryArray& operator=(const CWorldEntryArray&) = delete;

    u32 GetCount() const { return m_count; }
    u32 GetCapacity() const { return m_capacity; }
    u32 GetGrowthStep() const { return m_growthStep; }
    CWorldEntry& operator[](u32 i) { return m_entries[i]; }
    const CWorldEntry& operator[](u32 i) const { return m_entries[i]; }

private:
    friend void AppendWorldEntry(CWorldEntryArray& list, const CWorldEntry& entry);
    friend void ResetWorldEntries(CWorldEntryArray& list);
    friend void RemoveWorldEntryAt(CWorldEntryArray& list, u32 index);

    u32 m_growthStep;
    u32 m_count = 0;
    u32 m_capacity;
    std::unique_ptr<CWorldEntry[]> m_entries;
};

// The file of an entry's database in the program folder: the file that the scan found (or, for an entry
// not made by a scan, its file name with ".pdb"). Opening, deleting and naming a world all go by this
// file, never by a name rebuilt from the listed one: "x.pdb.pdb" is listed as "x" beside "x.pdb".
std::string WorldEntryFile(const CWorldEntry& entry);
// Opens the database of an entry, the file above. 1 on success.
int OpenWorldEntry(CPdbFile& db, const CWorldEntry& entry);

void AppendWorldEntry(CWorldEntryArray& list, const CWorldEntry& entry);
// Destroys every entry and leaves the list empty with fresh storage of one growth step.
void ResetWorldEntries(CWorldEntryArray& list);
// Assigns a copy of entry to entry i; an index past the count changes nothing.
void SetWorldEntry(CWorldEntryArray& list, u32 index, const CWorldEntry& entry);
// Removes entry i, moving the later ones down; an index past the count changes nothing.
void RemoveWorldEntryAt(CWorldEntryArray& list, u32 index);
