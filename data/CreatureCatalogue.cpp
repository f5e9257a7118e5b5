#include "data/CreatureCatalogue.h"

#include "core/Str.h"
#include "core/Stream.h"
#include "data/ItemType.h"

namespace {

// Creature races by the kind byte of their creature kind.
const char* const kRaceNames[] = {"creatures", "beasts", "monsters", "undead", "people"};

bool ReadKind(CStream& stream, CCreatureKind& k, u32 version) {
    stream.MatchByte(0x1D);
    k.SerializeName(stream, 0);
    stream.SerializeStringRef(k.firstName);
    stream.SerializeStringRef(k.displayName);
    u16 frameCount = 0;
    stream.SerializeU16(frameCount);
    const char* read[CCreatureKind::kMaxFrames] = {};
    for (u32 i = 0; i < frameCount && !stream.HasError(); ++i) {
        const char* name = nullptr;
        stream.SerializeStringRef(name);
        if (i < CCreatureKind::kMaxFrames) read[i] = name;
    }
    if (version > 15) stream.SerializeStringRef(k.secondLook);
    if (version > 21) {
        stream.SerializeStringRef(k.sounds[0]);
        stream.SerializeStringRef(k.sounds[1]);
        if (version > 104) stream.SerializeStringRef(k.sounds[2]);
        stream.SerializeStringRef(k.sounds[3]);
    }
    for (u16& v : k.values) stream.SerializeU16(v);
    stream.SerializeU8(k.kind);
    if (version > 44) stream.SerializeU8(k.pictureClass);
    if (version > 45) stream.SerializeU8(k.scale);
    if (version > 94) stream.SerializeU8(k.extra[0]);
    if (version > 96) stream.SerializeU8(k.extra[1]);
    stream.ReadStringArray(k.ids);
    for (int i = k.ids.GetCount() - 1; i >= 1; --i)
        if (!k.ids.GetAt(i)) k.ids.RemoveAt(i);
    if (version > 78) stream.SerializeU8(k.attackStyle);
    if (version > 79) stream.SerializeStringRef(k.text);
    // The frame table has the kind's own size; a record with more frames keeps the first ones and one
    // with fewer leaves the rest unnamed, so no frame is looked up past the table.
    for (int i = 0; i < k.GetFrameCount(); ++i) k.frames[i] = read[i];
    return !stream.HasError();
}

}  // namespace

CMonsterType::~CMonsterType() { FreeModifierList(items); }

void CMonsterType::Serialize(CStream& stream, u32 version, const CCreatureCatalogue* catalogue) {
    stream.MatchByte(0x1F);
    SerializeName(stream, stream.IsWriting());
    stream.SerializeStringRef(kindId);
    if (!stream.IsWriting()) creatureKind = catalogue ? catalogue->FindCreatureKind(kindId) : nullptr;
    stream.SerializeStringRef(displayName);
    stream.SerializeStringRef(pictureName);
    const char* dropped = nullptr;
    if (version < 94) stream.SerializeStringRef(dropped);
    if (version > 20) stream.SerializeStringRef(npcId);
    if (version >= 22 && version <= 104)
        for (int i = 0; i < 3; ++i) stream.SerializeStringRef(dropped);
    SerializeEffectList(stream, effects, version);
    SerializeModifierList(stream, items);
    stream.Align(2);
    for (u16& v : values) stream.SerializeU16(v);
    stream.SerializeU8(kind);
    stream.SerializeU8(level);
    stream.SerializeU8(flags);
    if (version > 78) stream.SerializeU8(attackStyle);
    if (version > 79) stream.SerializeStringRef(text);
    if (version > 87) stream.SerializeU8(bytes[0]);
    if (version > 95) stream.SerializeU8(bytes[1]);
    if (version > 96) stream.SerializeU8(bytes[2]);
}

void CMonsterType::SetKind(const CCreatureKind* k) {
    creatureKind = k;
    if (!k) return;
    kindId = k->GetName();
    pictureName = k->frames[0];
    level = 1;
    for (int i = 0; i < kMonsterValueCount; ++i) values[i] = k->values[i] / 100;
    kind = k->kind;
    flags = k->kind == kCreaturePeople ? 8 : 12;
    attackStyle = k->attackStyle;
    bytes[1] = k->extra[0];
    bytes[2] = k->extra[1];
}

bool CCreatureCatalogue::Load(CRecordReader& reader, u32 version, void* owner) {
    CStream stream;
    bool ok = true;
    CRecordData* record = reader.NextRecord();
    if (record) {
        stream.InitForReading(*record);
        stream.MatchByte(0x1C);
        u16 count = 0;
        stream.SerializeU16(count);
        kinds_.Reserve(count);
        for (u32 i = 0; i < count && !stream.HasError(); ++i) {
            auto* k = new CCreatureKind;
            if (!ReadKind(stream, *k, version) || !kinds_.Add(k)) delete k;
        }
        if (version > 41 && !stream.HasError()) {
            u16 extensions = 0;
            stream.SerializeU16(extensions);
            for (u32 i = 0; i < extensions && !stream.HasError(); ++i) {
                const char* id = nullptr;
                stream.SerializeStringRef(id);
                CCreatureKind* k = FindCreatureKind(id);
                CPointerArray more;
                stream.ReadStringArray(more);
                for (int j = 0; k && j < more.GetCount(); ++j) k->ids.Add(more.GetAt(j));
                more.RemoveAll();
            }
        }
        ok = !stream.HasError();
        buffers_.Keep(record);
    } else {
        ok = false;
    }
    // The monster types are not asked for after a creature-kind record at fault: the last record
    // asked for is the one at fault.
    if (!ok) return false;

    record = reader.NextRecord();
    if (!record) return false;
    stream.InitForReading(*record);
    stream.MatchByte(0x1E);
    u16 count = 0;
    stream.SerializeU16(count);
    types_.Reserve(count);
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        auto* t = new CMonsterType;
        t->owner = owner;
        t->Serialize(stream, version, this);
        if (stream.HasError() || !types_.Add(t)) delete t;
    }
    ok = ok && !stream.HasError();
    buffers_.Keep(record);
    return ok;
}

CCreatureCatalogue::Mark CCreatureCatalogue::GetMark() const {
    Mark mark{kinds_.GetCount(), types_.GetCount(), buffers_.Count(), {}};
    for (int i = 0; i < kinds_.GetCount(); ++i) mark.idCounts.push_back(GetKind(i)->ids.GetCount());
    return mark;
}

void CCreatureCatalogue::RollBack(const Mark& mark) {
    TruncateElements<CMonsterType>(types_, mark.types);
    TruncateElements<CCreatureKind>(kinds_, mark.kinds);
    for (int i = 0; i < kinds_.GetCount() && i < static_cast<int>(mark.idCounts.size()); ++i) {
        CPointerArray& ids = GetKind(i)->ids;
        while (ids.GetCount() > mark.idCounts[i]) ids.RemoveAt(ids.GetCount() - 1);
    }
    buffers_.TruncateTo(mark.records);
}

void CCreatureCatalogue::ClearMonsterTypes() { types_.DeleteAll<CMonsterType>(); }

void CCreatureCatalogue::Free() {
    ClearMonsterTypes();
    for (int i = 0; i < kinds_.GetCount(); ++i) kinds_.At<CCreatureKind>(i)->ids.RemoveAll();
    kinds_.DeleteAll<CCreatureKind>();
    buffers_.Clear();
}

const char* CCreatureCatalogue::GetRaceName(int index) const {
    return index >= 0 && index < static_cast<int>(sizeof kRaceNames / sizeof kRaceNames[0])
               ? kRaceNames[index]
               : nullptr;
}

void CCreatureCatalogue::ResolvePictures(const IPictureFinder& finder, u8* pictureClasses, u32 tableSize) {
    for (int i = 0; i < kinds_.GetCount(); ++i) {
        CCreatureKind* k = kinds_.At<CCreatureKind>(i);
        for (int f = 0; f < k->GetFrameCount(); ++f) {
            k->frameIndices[f] = k->frames[f] ? finder.FindPictureIndex(k->frames[f]) : 0;
            if (k->frames[f] && pictureClasses && k->frameIndices[f] < tableSize)
                pictureClasses[k->frameIndices[f]] = k->pictureClass;
        }
    }
    for (int i = 0; i < types_.GetCount(); ++i) {
        CMonsterType* t = types_.At<CMonsterType>(i);
        t->normalPicture = t->pictureName ? finder.FindPictureIndex(t->pictureName) : 0;
        const CCreatureKind* k = t->creatureKind;
        t->paralysedPicture = k && k->secondLook ? finder.FindPictureIndex(k->secondLook) : 0;
    }
}

void MarkCreatureKindUsed(CCreatureKind& kind, ISoundMarker* sounds) {
    kind.inUse = 1;
    if (!sounds) return;
    for (const char* s : kind.sounds)
        if (s) sounds->MarkSoundNeeded(s);
}

int GetHealthPercent(int hp, int maxHp) {
    if (maxHp <= 0) return 0;
    return static_cast<int>(static_cast<i64>(hp) * 100 / maxHp);
}
