#include "data/World.h"

#include "core/PdbFile.h"
#include "core/Stream.h"

CWorld::CWorld(CGame* game) : game(game) {}

CWorld::~CWorld() { Release(); }

bool CWorld::SerializeHeader(CStream& stream) {
    stream.SerializeU32(headerWord);
    // Older tools wrote the header without these marker bytes; each is consumed only when present.
    stream.MatchByte(0x9E);
    stream.MatchByte(0x49);
    stream.MatchByte(0x11);
    stream.SerializeU8(version);
    stream.SerializeU8(byteA);
    stream.SerializeU8(byteB);
    stream.SerializeStr(title);
    stream.SerializeStr(shortName);
    stream.SerializeStr(stringC);
    if (version >= 119)
        stream.SerializeU8(expansion);
    else if (!stream.IsWriting())
        expansion = 1;
    if (version >= 122)
        stream.SerializeU8(flagByte);
    else if (!stream.IsWriting())
        flagByte = 0;
    stream.SerializeU16(gridWidth);
    stream.SerializeU16(gridHeight);
    stream.SerializeStr(sectionPrefix);
    recordIdPrefix.Assign(shortName.GetText());
    recordIdPrefix.Append("_");
    return !stream.HasError();
}

int CWorld::ReadHeader(CPdbFile& db) {
    CRecordData* record = db.ReadRecord(kHeaderRecord);
    if (!record)
        return 0;
    CStream stream;
    stream.SetGame(game);
    stream.InitForReading(*record);
    const bool ok = SerializeHeader(stream);
    stream.Release();
    FreeDataBlock(record);
    return ok ? 1 : 0;
}

void CWorld::Release() {
    title.Assign("");
    shortName.Assign("");
    recordIdPrefix.Assign("");
    stringC.Assign("");
    sectionPrefix.Assign("");
}
