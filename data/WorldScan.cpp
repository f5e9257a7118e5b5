#include "data/WorldScan.h"

#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "core/WorldEntry.h"
#include "data/World.h"

namespace {

// The game's own four world databases carry these short names; they are not additional worlds.
bool IsGameDatabase(const CStr& shortName) {
    static const char* const kOwn[] = {"base", "bres", "bmus", "bsnd"};
    for (const char* own : kOwn)
        if (shortName.Equals(own)) return true;
    return false;
}

// found is the name the search yielded, fileName the same without ".pdb".
void ScanOne(CPdbFile& db, CWorld& world, CWorldEntryArray& list, const CStr& found, const CStr& fileName) {
    // The found name is opened as it stands: Open would append ".pdb" to "x.PDB".
    if (!db.OpenPath(BuildProgramPath(found.GetText(), db.GetFinder())) || !db.HasCreator("VnTl") ||
        !db.HasType("VnTW"))
        return;
    if (!world.ReadHeader(db) || IsGameDatabase(world.shortName)) return;
    const u32 date = db.Header().modificationDate;
    for (u32 i = 0; i < list.GetCount(); ++i) {
        CWorldEntry& entry = list[i];
        if (!entry.shortName.EqualsStr(world.shortName)) continue;
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

void ScanWorldDatabases(CPdbFile& db, CWorldEntryArray& list) {
    ResetWorldEntries(list);
    CFileFinder ownFinder(db.GetGame());
    CFileFinder& finder = db.GetFinder() ? *db.GetFinder() : ownFinder;
    CWorld world(db.GetGame());
    CStr name;
    if (!finder.FindFirst(name)) return;
    while (!name.IsEmpty()) {
        CStr fileName;
        fileName.Assign(name.GetText());
        fileName.Replace(".pdb", "");
        if (!fileName.IsEmpty()) ScanOne(db, world, list, name, fileName);
        db.Close();
        finder.FindNext(name);
    }
    world.Release();
}
