// A reference to one database record that is loaded on demand and released by its owner. Interface
// pictures and loading pictures are held this way; widgets and the video output draw from the
// holders and never free them.
#pragma once

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
    // Frees the loaded record (its data, then the handle).
    void Release();
    bool IsLoaded() const { return record != nullptr; }
    u32 Size() const;

    u16 recordId = 0;
    CRecordData* record = nullptr;
    const u8* data = nullptr;  // the record's bytes: a picture for the interface pictures
};
