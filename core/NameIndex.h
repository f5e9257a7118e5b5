// Finds the first element of a list by its name without walking the list. Names are indexed as the
// list grows at its end, which is how the loaders fill every list, so a world of n records is read in
// time that grows with n and not with n squared. An element is indexed under the name it has when the
// list first grows past it; whatever else changes a list (an element removed, replaced or inserted)
// calls Reset, and a list found shorter than what was indexed starts the index again by itself.
#pragma once

#include "core/Types.h"

#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

class CNameIndex {
public:
    void Reset() {
        first_.clear();
        covered_ = 0;
    }

    // The first position below `count` whose name (nameAt(i), null for none) equals `name`; -1 when
    // none does.
    template <class NameAt>
    i32 Find(const char* name, u32 count, NameAt&& nameAt) {
        if (name == nullptr) return -1;
        if (count < covered_) Reset();
        for (; covered_ < count; ++covered_)
            if (const char* n = nameAt(covered_)) first_.try_emplace(std::string(n), covered_);
        auto it = first_.find(std::string_view(name));
        if (it == first_.end()) return -1;
        const char* n = nameAt(it->second);
        if (n && std::strcmp(n, name) == 0) return static_cast<i32>(it->second);
        // The element there was renamed behind the index's back: index the list anew.
        Reset();
        return Find(name, count, nameAt);
    }

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, u32, Hash, std::equal_to<>> first_;
    u32 covered_ = 0;
};
