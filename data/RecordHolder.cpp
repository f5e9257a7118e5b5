#include "data/RecordHolder.h"

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
