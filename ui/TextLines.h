// A growable list of owned strings: the pages of a text box, the lines of the text roll and the list
// pages of the in-game panels. Lines are held whole, however long the widest layout makes them.
#pragma once

#include <vector>

#include "core/Str.h"
#include "core/Types.h"

class CTextLines {
public:
    static constexpr u32 kGrowthStep = 4;

    CTextLines() { strings.reserve(kGrowthStep); }

    void Append(CStr text);
    // Destroys every string and starts again with room for the growth step.
    void Clear();
    // What the owners' destructors call; the list is left empty and usable.
    void Release() { Clear(); }

    u32 GetCount() const { return static_cast<u32>(strings.size()); }
    u32 GetCapacity() const { return capacity; }
    // "" for an index outside the list.
    const char* GetText(u32 index) const { return index < strings.size() ? strings[index].GetText() : ""; }
    const CStr* GetAt(u32 index) const { return index < strings.size() ? &strings[index] : nullptr; }

private:
    std::vector<CStr> strings;
    u32 capacity = kGrowthStep;
};
