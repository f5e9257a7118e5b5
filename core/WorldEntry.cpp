#include "core/WorldEntry.h"

#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "data/World.h"

#include <cstring>

CWorldEntry::CWorldEntry() = default;

CWorldEntry::CWorldEntry(const CWorldEntry& other) { Assign(other); }

CWorldEntry& CWorldEntry::operator=(const CWorldEntry& other) {
    Assign(other);
    return *this;
}

void CWorldEntry::Assign(const CWorldEntry& other) {
    if (this == &other)
        return;
    fileName.Assign(other.fileName.GetText());
    foundName.Assign(other.foundName.GetText());
    title.Assign(other.title.GetText());
    shortName.Assign(other.shortName.GetText());
    modificationDate = other.modificationDate;
    enabled = other.enabled;
    flagByte = other.flagByte;
    expansion = other.expansion;
}

CWorldEntryArray::CWorldEntryArray(u32 growthStep)
    : m_growthStep(growthStep ? growthStep : 1), m_capacity(m_growthStep),
      m_entries(new CWorldEntry[m_capacity]) {}

CWorldEntryArray::~CWorldEntryArray() { delete[] m_entries; }

void AppendWorldEntry(CWorldEntryArray& list, const CWorldEntry& entry) {
    if (list.m_count == list.m_capacity) {
        const u32 capacity = list.m_capacity + list.m_growthStep;
        auto* storage = new CWorldEntry[capacity];
        for (u32 i = 0; i < list.m_count; ++i)
            storage[i].Assign(list.m_entries[i]);
        delete[] list.m_entries;
        list.m_entries = storage;
        list.m_capacity = capacity;
    }
    list.m_entries[list.m_count++].Assign(entry);
}

void ResetWorldEntries(CWorldEntryArray& list) {
    delete[] list.m_entries;
    list.m_count = 0;
    list.m_capacity = list.m_growthStep;
    list.m_entries = new CWorldEntry[list.m_capacity];
}

void SetWorldEntry(CWorldEntryArray& list, u32 index, const CWorldEntry& entry) {
    if (index < list.GetCount())
        list[index].Assign(entry);
}

void RemoveWorldEntryAt(CWorldEntryArray& list, u32 index) {
    if (index >= list.m_count)
        return;
    for (u32 i = index + 1; i < list.m_count; ++i)
        list.m_entries[i - 1].Assign(list.m_entries[i]);
    --list.m_count;
    list.m_entries[list.m_count] = CWorldEntry();
}

namespace {

// The game's own four world databases carry these short names; they are not additional worlds.
bool IsGameDatabase(const CStr& shortName) {
    static const char* const kOwn[] = {"base", "bres", "bmus", "bsnd"};
    for (const char* own : kOwn)
        if (shortName.Equals(own))
            return true;
    return false;
}

// found is the name the search yielded, fileName the same without ".pdb".
void ScanOne(CPdbFile& db, CWorld& world, CWorldEntryArray& list, const CStr& found,
             const CStr& fileName) {
    // The found name is opened as it stands: Open would append ".pdb" to "x.PDB".
    if (!db.OpenPath(BuildProgramPath(found.GetText(), db.GetFinder())) || !db.HasCreator("VnTl") ||
        !db.HasType("VnTW"))
        return;
    if (!world.ReadHeader(db) || IsGameDatabase(world.shortName))
        return;
    const u32 date = db.Header().modificationDate;
    for (u32 i = 0; i < list.GetCount(); ++i) {
        CWorldEntry& entry = list[i];
        if (!entry.shortName.EqualsStr(world.shortName))
            continue;
        if (entry.modificationDate < date) {
            entry.fileName.Assign(fileName.GetText());
            entry.foundName.Assign(found.GetText());
            entry.title.Assign(world.title.GetText());
            entry.modificationDate = date;
            entry.flagByte = world.flagByte;
            entry.expansion = world.expansion;
        }
        // One entry per short name: the rest of the game finds worlds by it, so an older or equal
        // copy is not listed a second time.
        return;
    }
    CWorldEntry entry;
    entry.fileName.Assign(fileName.GetText());
    entry.foundName.Assign(found.GetText());
    entry.title.Assign(world.title.GetText());
    entry.shortName.Assign(world.shortName.GetText());
    entry.modificationDate = date;
    entry.enabled = 1;
    entry.flagByte = world.flagByte;
    entry.expansion = world.expansion;
    AppendWorldEntry(list, entry);
}

}  // namespace

int OpenWorldEntry(CPdbFile& db, const CWorldEntry& entry) {
    if (entry.foundName.IsEmpty())
        return db.OpenFound(entry.fileName);
    return db.OpenPath(BuildProgramPath(entry.foundName.GetText(), db.GetFinder()));
}

void ScanWorldDatabases(CPdbFile& db, CWorldEntryArray& list) {
    ResetWorldEntries(list);
    CFileFinder ownFinder(db.GetGame());
    CFileFinder& finder = db.GetFinder() ? *db.GetFinder() : ownFinder;
    CWorld world(db.GetGame());
    CStr name;
    if (!finder.FindFirst(name))
        return;
    while (!name.IsEmpty()) {
        CStr fileName;
        fileName.Assign(name.GetText());
        fileName.Replace(".pdb", "");
        if (!fileName.IsEmpty())
            ScanOne(db, world, list, name, fileName);
        db.Close();
        finder.FindNext(name);
    }
    world.Release();
}
