#include "core/RecordHolder.h"

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
    if (holdsPicture_) Picture();
    return record != nullptr;
}

void CRecordHolder::Release() {
    if (record) FreeDataBlock(record);
    record = nullptr;
    data = nullptr;
    pictureOf_ = nullptr;
    pictureValid_ = false;
}

u32 CRecordHolder::Size() const { return record ? record->size - prefix : 0; }

const CPictureData* CRecordHolder::Picture() const {
    if (data == nullptr) return nullptr;
    if (pictureOf_ != data) {
        pictureOf_ = data;
        pictureValid_ = ReadPicture(data, Size(), picture_);
    }
    return pictureValid_ ? &picture_ : nullptr;
}
