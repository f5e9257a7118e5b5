// A reference to one database record that is loaded on demand and released by its owner. Interface
// pictures and loading pictures are held this way, and so is every picture of the world's texture
// set; widgets and the video output draw from the holders and never free them.
#pragma once

#include "core/PictureRecord.h"
#include "core/Types.h"

class CPdbFile;
struct CRecordData;

class CRecordHolder {
public:
    CRecordHolder() = default;
    virtual ~CRecordHolder();
    CRecordHolder(const CRecordHolder&) = delete;
    CRecordHolder& operator=(const CRecordHolder&) = delete;

    // Reads the record from the database; false (and nothing held) when it is missing.
    bool Load(CPdbFile* database, u16 id);
    // Loads the holder's own record (database and record id set beforehand) unless it is loaded;
    // false when it cannot be read or is shorter than its prefix.
    bool EnsureLoaded();
    // Frees the loaded record (its data, then the handle).
    void Release();
    bool IsLoaded() const { return record != nullptr; }
    u32 Size() const;
    // The held record read as a picture (checked, with its colour table's reach known), or null when it
    // is not one. The read happens once, when the record is loaded, not on every draw; data that a
    // caller set by hand is read on the first ask.
    const CPictureData* Picture() const;

    const char* name = nullptr;  // world pictures: the name in the loading record
    CPdbFile* database = nullptr;
    u16 recordId = 0;
    u16 tableIndex = 0;
    // Bytes before the data proper: 0 for the interface database; world picture records carry a
    // 4-byte prefix that readers skip (the builder writes zeros there).
    u8 prefix = 0;
    CRecordData* record = nullptr;
    const u8* data = nullptr;  // the record's bytes after the prefix: a picture for the pictures

protected:
    // Holders of records that are never pictures (the sounds) do not read them as such.
    bool holdsPicture_ = true;

private:
    mutable CPictureData picture_;
    mutable const u8* pictureOf_ = nullptr;  // the data `picture_` was read from
    mutable bool pictureValid_ = false;
};
