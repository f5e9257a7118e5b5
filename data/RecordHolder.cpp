#include "data/RecordHolder.h"

#include "core/PdbFile.h"

CRecordHolder::~CRecordHolder() { Release(); }

bool CRecordHolder::Load(CPdbFile* db, u16 id) {
    Release();
    recordId = id;
    database = db;
    return EnsureLoaded();
}

bool CRecordHolder::EnsureLoaded() {
    if (record) return true;
    if (database == nullptr) return false;
    record = database->ReadRecord(recordId);
    if (record && record->size < prefix) {
        FreeDataBlock(record);
        record = nullptr;
    }
    data = record ? record->data + prefix : nullptr;
    return record != nullptr;
}

void CRecordHolder::Release() {
    if (record) FreeDataBlock(record);
    record = nullptr;
    data = nullptr;
}

u32 CRecordHolder::Size() const { return record ? record->size - prefix : 0; }

bool CLoadedResource::Load(CPdbFile* database, u16 id) {
    Release();
    bool loaded = CRecordHolder::Load(database, id);
    if (loaded) sound.SetImage(data, Size());
    return loaded;
}

void CLoadedResource::Release() {
    // The voices are made from the record's bytes: they go before the bytes do.
    sound.DeleteVoices();
    sound.SetImage(nullptr, 0);
    CRecordHolder::Release();
}
