#include "core/RecordHolder.h"

#include "core/PdbFile.h"

CRecordHolder::~CRecordHolder() { Release(); }

bool CRecordHolder::Load(CPdbFile* database, u16 id) {
    Release();
    recordId = id;
    if (database == nullptr) return false;
    record = database->ReadRecord(id);
    data = record ? record->data : nullptr;
    return record != nullptr;
}

void CRecordHolder::Release() {
    if (record) FreeDataBlock(record);
    record = nullptr;
    data = nullptr;
}

u32 CRecordHolder::Size() const { return record ? record->size : 0; }
