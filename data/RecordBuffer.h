// Owning handles for records read from a database. World records are kept loaded for as long as the
// lists that point into them (names and texts are used in place), so each list keeps its handles.
#pragma once

#include "core/PdbFile.h"

#include <memory>
#include <vector>

struct CRecordFree {
    void operator()(CRecordData* record) const {
        if (record) FreeDataBlock(record);
    }
};
using CRecordPtr = std::unique_ptr<CRecordData, CRecordFree>;
using CRecordBuffers = std::vector<CRecordPtr>;

inline CRecordPtr ReadRecordPtr(CPdbFile* database, u32 id) {
    return CRecordPtr(database ? database->ReadRecord(id) : nullptr);
}
