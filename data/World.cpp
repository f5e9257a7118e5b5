#include "data/World.h"

#include <cstdio>

#include "core/PdbFile.h"
#include "core/Stream.h"
#include "data/MapObjectRecords.h"
#include "data/RecordHolder.h"
#include "data/TextureSet.h"
#include "data/WorldLists.h"
#include "data/WorldLoader.h"

u16 ShortNameHash(const char* text) {
    u16 key = 0;
    if (text == nullptr) return 0;
    for (int i = 0; i < 5 && text[i]; ++i)
        key ^= static_cast<u16>(static_cast<int>(static_cast<signed char>(text[i])) << i);
    return key;
}

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
    prefixKey = ShortNameHash(recordIdPrefix.GetText());
    return !stream.HasError();
}

int CWorld::ReadHeader(CPdbFile& db) {
    CRecordData* record = db.ReadRecord(kHeaderRecord);
    if (!record) return 0;
    CStream stream;
    stream.SetGame(game);
    stream.InitForReading(*record);
    const bool ok = SerializeHeader(stream);
    stream.Release();
    FreeDataBlock(record);
    return ok ? 1 : 0;
}

int CWorld::Load(std::unique_ptr<CPdbFile> db, CWorldLists& lists, CWorldLoadError* error) {
    database = std::move(db);
    if (!database || !ReadHeader(*database)) {
        if (error) {
            error->record = kHeaderRecord;
            error->kind = "header";
        }
        return 0;
    }
    const CWorldLists::Mark mark = lists.GetMark();
    CWorldLoadContext context{*this, lists, database.get(), kFirstKindRecord, version};
    if (!LoadWorldKinds(context, error)) {
        // Nothing of a world that failed stays behind in the shared lists: their entries would point
        // at its database, which goes with it.
        lists.RollBack(mark);
        return 0;
    }
    return 1;
}

const CMapObjectRecord* CWorld::MapObjectAt(u32 index) const {
    return static_cast<const CMapObjectRecord*>(tableC.At(index));
}

const CSecondPicture* CWorld::PictureAt(u32 index) const {
    return static_cast<const CSecondPicture*>(tableF.At(index));
}

CMapSection* CWorld::FindSectionByName(const char* name) const {
    if (name == nullptr) return nullptr;
    for (const auto& section : sections)
        if (section->id && CompareStrings(section->id, name) == 0) return section.get();
    return nullptr;
}

CPlacement* CWorld::FindMapObjectByName(const char* name, CMapSection*& section) const {
    section = nullptr;
    if (name == nullptr) return nullptr;
    for (const auto& s : sections)
        if (const CPlacement* p = s->FindPlacementByName(name)) {
            section = s.get();
            return const_cast<CPlacement*>(p);
        }
    return nullptr;
}

CMapSection* CWorld::FindSectionAt(u32 column, u32 row) const {
    if (sectionPrefix.IsEmpty() || column > 99 || row > 99) return nullptr;
    CStr name;
    name.Format("%s%02u%02u", sectionPrefix.GetText(), column, row);
    return FindSectionByName(name.GetText());
}

void CWorld::Release() {
    currentSection = nullptr;
    sections.clear();
    recordBuffers.clear();
    worldMapPicture.reset();
    defaultGround = nullptr;
    defaultGroundPicture = nullptr;
    tableC = tableD = tableE = tableF = CIndexTable{};
    if (database) database->Close();
    database.reset();
    title.Assign("");
    shortName.Assign("");
    recordIdPrefix.Assign("");
    stringC.Assign("");
    sectionPrefix.Assign("");
}
