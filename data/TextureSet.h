// Stand-in for the world's texture set and resource animations until the game-data work replaces
// them: what the animation widget needs of them, a picture found by name and the frames of an
// animation record.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Str.h"
#include "core/Types.h"
#include "data/RecordHolder.h"

// One frame of a resource animation: a picture of the texture set by name, drawn at an offset from
// the widget's corner for delay x 10 ms. Frame 0 is the whole base picture.
struct CResourceAnimationFrame {
    CStr name;
    u16 x = 0;
    u16 y = 0;
    u16 delay = 0;
};

struct CResourceAnimation {
    std::vector<CResourceAnimationFrame> frames;
};

class CTextureSet {
public:
    // The picture of that name, searching from entry 1 (entry 0 is never returned); null when none.
    CRecordHolder* FindPicture(const char* name) const {
        if (name == nullptr) return nullptr;
        for (size_t i = 1; i < entries_.size(); ++i)
            if (entries_[i].name == name) return entries_[i].picture.get();
        return nullptr;
    }
    // Adds a named picture (the set keeps it); the first entry added is entry 1.
    void Add(const char* name, std::unique_ptr<CRecordHolder> picture) {
        if (entries_.empty()) entries_.emplace_back();
        entries_.push_back(Entry{name ? name : "", std::move(picture)});
    }

private:
    struct Entry {
        std::string name;
        std::unique_ptr<CRecordHolder> picture;
    };
    std::vector<Entry> entries_;
};
