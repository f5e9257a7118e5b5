// The world's named pictures: every picture and texture of the open worlds in two tables, filled by
// the first record kind of each world database (tags '<' and '='), and looked up by name from the game
// view, items, map objects, monster types, the sky and the dialogs. A picture's record is read only
// when its data is first needed; its data starts 4 bytes into the record.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Str.h"
#include "core/Types.h"
#include "data/RecordBuffer.h"
#include "data/RecordHolder.h"

class CPdbFile;

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

// An entry of the second table: a picture with a second name and a value, found by name and by index
// (the world's 'F' table and the sections' pictures refer to these).
class CSecondPicture : public CRecordHolder {
public:
    const char* secondName = nullptr;
    u16 value = 0;
};

class CTextureSet {
public:
    static constexpr u16 kGrowthStep = 100;

    CTextureSet();
    ~CTextureSet();
    CTextureSet(const CTextureSet&) = delete;
    CTextureSet& operator=(const CTextureSet&) = delete;

    // The '<' and '=' records of one world database: the set keeps the record (the names point into
    // it). False when the record is damaged; the entries read before the damage are dropped again.
    bool LoadFirstTable(CPdbFile* database, CRecordPtr record);
    bool LoadSecondTable(CPdbFile* database, CRecordPtr record);

    // The first-table picture of that name, searching from index 1 (entry 0 is never returned).
    CRecordHolder* FindPicture(const char* name) const;
    // Its index, 0 when none.
    u16 FindPictureIndex(const char* name) const;
    // The second-table entry of that name, searching from index 0; null when none.
    CSecondPicture* FindSecondByName(const char* name) const;
    // The table index of the second-table entry of that name; 0 when none or for a null name.
    u16 FindSecondIndex(const char* name) const;
    // The position of an entry in the second table; 65535 when absent.
    u16 IndexOfSecond(const CSecondPicture* entry) const;

    CRecordHolder* PictureAt(u32 index) const;
    CSecondPicture* SecondAt(u32 index) const;
    u32 PictureCount() const { return static_cast<u32>(first_.size()); }
    u32 SecondCount() const { return static_cast<u32>(second_.size()); }
    u32 FirstCapacity() const { return firstCapacity_; }
    // The parallel entries of the first table: data, width and height (null and 0 when not loaded).
    const u8* DataAt(u32 index) const;
    u16 WidthAt(u32 index) const;
    u16 HeightAt(u32 index) const;

    // Reads a picture's record when its data is not loaded yet, and enters its data and size.
    bool EnsureLoaded(CRecordHolder* picture);
    bool EnsureLoaded(const char* name) { return EnsureLoaded(FindPicture(name)); }
    void RefreshEntry(CRecordHolder* picture);
    void UnloadEntry(CRecordHolder* picture);
    void GrowFirstTable(u32 n);
    void GrowSecondTable(u32 n);
    // Gives every entry its position as its table index and refreshes the parallel entries.
    void RebuildIndex();
    // Frees every picture's data, every entry and the kept records.
    void ReleaseAll();
    // How far the tables reach, and back to such a mark (a world that failed to load leaves nothing).
    struct Mark {
        size_t first = 0, second = 0, records = 0;
    };
    Mark GetMark() const { return {first_.size(), second_.size(), records_.size()}; }
    void TruncateTo(const Mark& mark);

    // Adds a named picture that is loaded already (tests and tools); the first entry added is entry 1.
    void Add(const char* name, std::unique_ptr<CRecordHolder> picture);

private:
    struct Parallel {
        const u8* data = nullptr;
        u16 width = 0;
        u16 height = 0;
    };
    std::vector<std::unique_ptr<CRecordHolder>> first_;
    std::vector<Parallel> firstData_;
    u32 firstCapacity_ = 0;
    std::vector<std::unique_ptr<CSecondPicture>> second_;
    u32 secondCapacity_ = 0;
    std::vector<std::unique_ptr<std::string>> ownedNames_;  // names of pictures added by Add
    CRecordBuffers records_;
};

// The picture's data with its width and height (0 and 0 for no data or a header cut short).
const u8* GetPictureSize(const CRecordHolder* picture, u16& width, u16& height);
