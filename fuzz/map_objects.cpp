// Arbitrary bytes as a world's map-object record (kind 0x19): the first byte is the world version,
// the rest the record. What the loader keeps then becomes the table of objects, which resolves its
// picture ids and takes every script command and event on a placement without texts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "data/MapCells.h"
#include "data/MapObjectRecords.h"
#include "data/MapSection.h"
#include "data/TextureSet.h"
#include "world/MapObject.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const u8 version = data[0];
    auto* record = new CRecordData;
    record->size = static_cast<u32>(size - 1);
    record->data = new u8[size];
    std::memcpy(record->data, data + 1, size - 1);
    CMapObjectRecords records;
    if (!records.LoadRecord(CRecordPtr(record), version)) return 0;
    CMapObjectTable table;
    table.Build(records, nullptr);
    CTextureSet textures;
    std::vector<u8> usage(16, 0);
    table.ResolvePictureIds(textures, &usage);
    CMapSection section;
    for (u32 i = 0; i < table.Count(); ++i) {
        CMapObject* o = table.At(i);
        CPlacement placement;
        placement.bagId = 3;
        CMapCell cell;
        ScriptArgs args;
        for (i32 command = 100; command <= 145; ++command) {
            ScriptResult result;
            bool redraw = false;
            o->ExecuteCommand(&section, &placement, 1, 1, command, args, result, redraw);
        }
        for (i32 event : {1, 2, 4, 8, 16, 32, 64}) {
            bool redraw = false;
            o->HandleEvent(event, &section, &placement, &cell, 1, 1, redraw);
        }
        (void)o->IsBlocking(&placement);
        (void)o->GetAmbientSound(&placement, cell);
    }
    return 0;
}
