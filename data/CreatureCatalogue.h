// The creature catalogue: creature kinds (how a sort of creature looks and sounds) and monster types
// (the playable statistics of one sort, each bound to a kind), found by id.
#pragma once

#include "core/NamedObject.h"
#include "core/PointerArray.h"
#include "core/Types.h"
#include "data/Effect.h"
#include "data/RecordReader.h"

#include <vector>

class CStream;
class IPictureFinder;

constexpr int kMonsterValueCount = 10;
constexpr u8 kCreaturePeople = 4;
constexpr u8 kCreatureUndead = 3;

class CCreatureKind : public CNamedObject {
public:
    static constexpr int kMaxFrames = 10;

    ~CCreatureKind() override = default;
    const char* GetDisplayName() const { return displayName ? displayName : GetName(); }
    // People have ten frames, every other kind seven.
    int GetFrameCount() const { return kind == kCreaturePeople ? 10 : 7; }

    CPointerArray ids;  // further ids that name this kind
    u32 inUse = 0;
    const char* firstName = nullptr;
    const char* displayName = nullptr;
    const char* frames[kMaxFrames] = {};
    u16 frameIndices[kMaxFrames] = {};
    const char* secondLook = nullptr;
    const char* sounds[4] = {};
    u16 values[kMonsterValueCount] = {300, 600, 200, 2000, 10000, 200, 300, 300, 300, 300};
    u8 kind = 1;
    u8 pictureClass = 0;
    u8 attackStyle = 1;
    const char* text = nullptr;
    u8 scale = 1;
    u8 extra[2] = {};
};

class CCreatureCatalogue;

class CMonsterType : public CNamedObject {
public:
    CMonsterType() = default;
    ~CMonsterType() override;
    CMonsterType(const CMonsterType&) = delete;
    CMonsterType& operator=(const CMonsterType&) = delete;

    // The stored form (marker 0x1F). Reading resolves the kind through the catalogue.
    void Serialize(CStream& stream, u32 version, const CCreatureCatalogue* catalogue);
    // A type made from a kind (scripts create creatures of a kind).
    void SetKind(const CCreatureKind* kind);

    void* owner = nullptr;
    CPointerArray items;  // CModifierEntry: the items it carries and leaves
    CEffectList effects;
    const CCreatureKind* creatureKind = nullptr;
    const char* kindId = nullptr;
    const char* displayName = nullptr;
    const char* pictureName = nullptr;
    const char* npcId = nullptr;
    const char* text = nullptr;
    u16 normalPicture = 0;
    u16 paralysedPicture = 0;
    u16 value = 120;
    u16 values[kMonsterValueCount] = {};
    u8 kind = 0;
    u8 level = 0;
    u8 flags = 12;
    u8 attackStyle = 1;
    u8 bytes[3] = {};
};

// Marks the sounds a map needs (the resource catalogue implements it).
class ISoundMarker {
public:
    virtual ~ISoundMarker() = default;
    virtual void MarkSoundNeeded(const char* name) = 0;
};

class CCreatureCatalogue {
public:
    CCreatureCatalogue() = default;
    ~CCreatureCatalogue() { Free(); }
    CCreatureCatalogue(const CCreatureCatalogue&) = delete;
    CCreatureCatalogue& operator=(const CCreatureCatalogue&) = delete;

    // The creature-kind record and the monster-type record. False at the first that is missing or
    // unreadable (reading stops there); what was read stays. Every monster type read gets the owner.
    bool Load(CRecordReader& reader, u32 version, void* owner = nullptr);
    void Free();
    void ClearMonsterTypes();

    int GetKindCount() const { return kinds_.GetCount(); }
    CCreatureKind* GetKind(int i) const { return kinds_.At<CCreatureKind>(i); }
    int GetTypeCount() const { return types_.GetCount(); }
    CMonsterType* GetType(int i) const { return types_.At<CMonsterType>(i); }
    CCreatureKind* FindCreatureKind(const char* id) const {
        return FindRecordById<CCreatureKind>(kinds_, id);
    }
    CMonsterType* FindMonsterType(const char* id) const { return FindRecordById<CMonsterType>(types_, id); }
    // The name of a creature race (the kind byte a "Damage type" effect names); null outside the table.
    const char* GetRaceName(int index) const;

    // Frame names and type pictures into picture indices; each frame's picture gets the kind's
    // picture class in the table (entries beyond tableSize are left alone).
    void ResolvePictures(const IPictureFinder& finder, u8* pictureClasses, u32 tableSize);

    // How far the catalogue reaches, the id lists of its kinds included (a later world may add ids to
    // an earlier world's kinds), and back to it.
    struct Mark {
        int kinds = 0, types = 0;
        size_t records = 0;
        std::vector<int> idCounts;
    };
    Mark GetMark() const;
    void RollBack(const Mark& mark);

private:
    CPointerArray kinds_;
    CPointerArray types_;
    CLoadedRecords buffers_;
};

void MarkCreatureKindUsed(CCreatureKind& kind, ISoundMarker* sounds);

// Hit points as a percentage of the maximum for gauges and the examine window; a maximum of 0 (from a
// file) reads as 0 percent instead of dividing by zero.
int GetHealthPercent(int hp, int maxHp);
