// The world's map-object records (record kind 0x19) as far as the world tables need them: each
// object's type code, id and the texts of its record, found by id for the index table 'C', the
// sections' ground and ceiling and the default ground "base_water". The objects' behaviour (the
// 33 classes built from the type code) builds on these records.
#pragma once

#include <string_view>
#include <vector>

#include "core/Types.h"
#include "data/RecordBuffer.h"
#include "data/WorldRecords.h"

struct CMapObjectRecord {
    u8 typeCode = 0;
    const char* id = nullptr;
    const char* text1 = nullptr;
    const char* text2 = nullptr;
    const char* text3 = nullptr;
    const char* sounds[3] = {};
    u16 params[6] = {};
    u8 cellViewBits = 0;
    u16 viewFlags = 0;
    bool hasViewFlags = false;  // false: versions below 11 take the type's view word
    std::vector<const char*> frames;
    std::vector<const char*> idList;
};

class CMapObjectRecords : public CWorldRecordList<CMapObjectRecord> {
public:
    static constexpr u8 kFirstTypeCode = 1;
    static constexpr u8 kLastTypeCode = 43;

    bool Load(CPdbFile* database, u16& key, u8 version);
    // The record itself; the list keeps it (the texts point into it). False when it is damaged: the
    // objects read from it are dropped again.
    bool LoadRecord(CRecordPtr record, u8 version);
    // The first record of a type code (the fallback ground and ceiling is the first of type 1).
    const CMapObjectRecord* FirstOfType(u8 typeCode) const;

    // Objects of the last record read that were left out for a type code without a class.
    u32 skipped = 0;
};
