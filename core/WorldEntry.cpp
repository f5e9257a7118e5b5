#include "core/WorldEntry.h"

#include "core/PdbFile.h"

#include <cstring>

CWorldEntry::CWorldEntry() = default;

CWorldEntry::CWorldEntry(const CWorldEntry& other) { Assign(other); }

CWorldEntry& CWorldEntry::operator=(const CWorldEntry& other) {
    Assign(other);
    return *this;
}

void CWorldEntry::Assign(const CWorldEntry& other) {
    if (this == &other) return;
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
      m_entries(std::make_unique<CWorldEntry[]>(m_capacity)) {}

void AppendWorldEntry(CWorldEntryArray& list, const CWorldEntry& entry) {
    if (list.m_count == list.m_capacity) {
        const u32 capacity = list.m_capacity + list.m_growthStep;
        auto storage = std::make_unique<CWorldEntry[]>(capacity);
        for (u32 i = 0; i < list.m_count; ++i) storage[i].Assign(list.m_entries[i]);
        list.m_entries = std::move(storage);
        list.m_capacity = capacity;
    }
    list.m_entries[list.m_count++].Assign(entry);
}

void ResetWorldEntries(CWorldEntryArray& list) {
    list.m_count = 0;
    list.m_capacity = list.m_growthStep;
    list.m_entries = std::make_unique<CWorldEntry[]>(list.m_capacity);
}

void SetWorldEntry(CWorldEntryArray& list, u32 index, const CWorldEntry& entry) {
    if (index < list.GetCount()) list[index].Assign(entry);
}

void RemoveWorldEntryAt(CWorldEntryArray& list, u32 index) {
    if (index >= list.m_count) return;
    for (u32 i = index + 1; i < list.m_count; ++i) list.m_entries[i - 1].Assign(list.m_entries[i]);
    --list.m_count;
    list.m_entries[list.m_count] = CWorldEntry();
}

std::string WorldEntryFile(const CWorldEntry& entry) {
    if (!entry.foundName.IsEmpty()) return entry.foundName.GetText();
    return std::string(entry.fileName.GetText() ? entry.fileName.GetText() : "") + ".pdb";
}

int OpenWorldEntry(CPdbFile& db, const CWorldEntry& entry) {
    return db.OpenPath(BuildProgramPath(WorldEntryFile(entry).c_str(), db.GetFinder()));
}
