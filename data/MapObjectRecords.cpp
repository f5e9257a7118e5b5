#include "data/MapObjectRecords.h"

#include <string_view>
#include <vector>

#include "core/Stream.h"

bool CMapObjectRecords::Load(CPdbFile* database, u16& key, u8 version) {
    if (!LoadRecord(ReadRecordPtr(database, key), version)) return false;
    ++key;
    return true;
}

bool CMapObjectRecords::LoadRecord(CRecordPtr record, u8 version) {
    if (!record) return false;
    CStream s;
    s.InitForReading(*record);
    s.MatchByte(0x19);
    u16 count = 0;
    s.SerializeU16(count);
    const size_t before = items.size();
    skipped = 0;
    std::vector<std::string_view> left;  // the ids of the objects left out
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        auto o = std::make_unique<CMapObjectRecord>();
        s.SerializeU8(o->typeCode);
        s.SerializeStringRef(o->id);
        s.SerializeStringRef(o->text1);
        u8 again = 0;
        s.SerializeU8(again);
        s.SerializeStringRef(o->text2);
        for (u16& p : o->params) s.SerializeU16(p);
        if (version > 7) s.SerializeStringRef(o->text3);
        if (version > 9) s.SerializeStringRef(o->sounds[0]);
        if (version > 105) s.SerializeStringRef(o->sounds[1]);
        if (version > 107) s.SerializeStringRef(o->sounds[2]);
        if (version > 58) s.SerializeU8(o->cellViewBits);
        if (version >= 11) {
            s.SerializeU16(o->viewFlags);
            o->hasViewFlags = true;
        }
        o->frames = ReadStringRefs(s);
        o->idList = ReadStringRefs(s);
        // No class answers a type code outside 1..43 (or an object whose two codes disagree): the
        // object is left out and the rest of the world loads.
        if (o->typeCode < kFirstTypeCode || o->typeCode > kLastTypeCode || again != o->typeCode) {
            ++skipped;
            if (o->id) left.emplace_back(o->id);
            continue;
        }
        items.push_back(std::move(o));
    }
    // An id naming an object left out for its type code is passed over, not taken for damage.
    auto wasLeftOut = [&left](const char* id) {
        for (std::string_view l : left)
            if (id && l == id) return true;
        return false;
    };
    if (s.HasError() || !ReadIdReferenceList(*this, s, version, wasLeftOut)) {
        items.resize(before);
        return false;
    }
    records.push_back(std::move(record));
    return true;
}

const CMapObjectRecord* CMapObjectRecords::FirstOfType(u8 typeCode) const {
    for (const auto& o : items)
        if (o->typeCode == typeCode) return o.get();
    return nullptr;
}
