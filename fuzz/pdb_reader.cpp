// Arbitrary bytes as a database file: open it, read every record, and run a few field sequences of
// the stream over each record. Nothing may crash, leak or read outside a buffer.
#include "core/PdbFile.h"
#include "core/PointerArray.h"
#include "core/Str.h"
#include "core/Stream.h"
#include "data/World.h"
#include "platform/Files.h"
#include "fuzz/ScratchFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

using fuzz_support::ScratchFile;

namespace {

// Touching the bytes that the stream hands out proves they lie inside the record.
volatile u8 g_sink;

void FieldsA(CStream& s) {
    CWorld world;
    world.SerializeHeader(s);
}

void FieldsB(CStream& s) {
    s.MatchByte('K');
    u16 count = 0;
    s.SerializeU16(count);
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        const char* ref = nullptr;
        s.SerializeStringRef(ref);
        u8 b = 0;
        s.SerializeU8(b);
        u32 w = 0;
        s.SerializeU32(w);
    }
    u16 length = 0;
    u8* blob = nullptr;
    s.SerializeBlob(length, blob);
    if (blob && length) g_sink = blob[length - 1];
    char* owned = nullptr;
    s.SerializeOwnedString(owned);
    delete[] owned;
    CStr str;
    s.SerializeStr(str);
}

void FieldsC(CStream& s) {
    CPointerArray array;
    array.SetOwnsElements(false);
    s.ReadStringArray(array);
    for (u32 i = 0; i < array.GetCount(); ++i)
        if (const auto* text = static_cast<const char*>(array.GetAt(static_cast<int>(i))))
            g_sink = static_cast<u8>(text[0]);
    s.Align(4);
    u8 b = 0;
    while (!s.HasError() && s.GetOffset() < s.GetCapacity()) s.SerializeU8(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        auto file = plat::CreateFileForWriting(ScratchFile());
        if (!file || (size && !file->Write(data, size))) return 0;
    }
    CPdbFile db;
    if (!db.OpenPath(ScratchFile())) return 0;
    for (u32 i = 0; i < db.GetRecordCount(); ++i) {
        CRecordData* record = db.ReadRecord(db.GetEntry(i).key);
        if (!record) continue;
        for (auto fields : {FieldsA, FieldsB, FieldsC}) {
            CStream s;
            s.InitForReading(*record);
            fields(s);
            s.Release();
        }
        FreeDataBlock(record);
    }
    CWorld world;
    world.ReadHeader(db);
    return 0;
}
