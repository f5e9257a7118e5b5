// The fixed character tables: five attributes, twenty skills, six races and six character classes.
// Each is built into the program with fixed ids and English names; a world may replace the names and
// texts of attributes, skills and races (records 'R', 'P', 'N'), whose texts then point into the
// record the table keeps.
#pragma once

#include "core/NamedObject.h"
#include "core/Str.h"
#include "core/Types.h"
#include "data/RecordReader.h"

class CStream;

constexpr int kAttributeCount = 5;
constexpr int kSkillCount = 20;
constexpr int kRaceCount = 6;  // positions 0..5; 0 is "Creature", 1..5 are playable
constexpr int kClassCount = 6;
constexpr int kSkillAlchemy = 16;

struct CAttributeEntry : CNamedObject {
    const char* displayName = nullptr;
    const char* shortName = nullptr;
};

class CAttributeTable {
public:
    CAttributeTable() { Fill(); }
    // Back to the built-in names; the loaded record is freed.
    void Fill();
    // Record 'R'. A present flag of 0 keeps the built-in names. False when the record is missing or
    // unreadable (the built-in names then stay).
    bool Load(CRecordReader& reader, u32 version);
    bool LoadRecord(CRecordData* record, u32 version);

    const CAttributeEntry* GetEntry(int id) const;
    const char* GetName(int id) const;
    int FindId(const char* text) const;

    // The names as they stand and the records kept; RollBack returns to them, freeing the records of
    // a world that failed to load.
    struct Mark {
        CAttributeEntry entries[kAttributeCount + 1];
        size_t records = 0;
    };
    Mark GetMark() const {
        Mark mark;
        for (int i = 0; i < kAttributeCount + 1; ++i) mark.entries[i] = entries_[i];
        mark.records = buffers_.Count();
        return mark;
    }
    void RollBack(const Mark& mark) {
        for (int i = 0; i < kAttributeCount + 1; ++i) entries_[i] = mark.entries[i];
        buffers_.TruncateTo(mark.records);
    }

private:
    // The built-in names; the kept records stay (an earlier world's names may be rolled back to).
    void SetBuiltIns();
    CAttributeEntry entries_[kAttributeCount + 1];
    CLoadedRecords buffers_;
};

struct CSkillEntry : CNamedObject {
    const char* fullName = nullptr;
    const char* mediumName = nullptr;
    const char* shortName = nullptr;
    const char* text = nullptr;
    u8 attribute = 0;
    u8 group = 0;
};

class CSkillTable {
public:
    static constexpr int kCostPoints = 11;

    CSkillTable() { Fill(); }
    void Fill();
    bool Load(CRecordReader& reader, u32 version);
    bool LoadRecord(CRecordData* record, u32 version);

    const CSkillEntry* GetEntry(int id) const;
    // The full name; medium or short name on request (abilities), null outside 1..20.
    const char* GetName(int id, bool medium = false, bool shortName = false) const;
    int FindId(const char* text) const;
    // Training points for a skill value; a value of 100 or more costs the last point of the table.
    u32 GetTrainingCost(int value) const;

    // The names as they stand and the records kept; RollBack returns to them, freeing the records of
    // a world that failed to load.
    struct Mark {
        CSkillEntry entries[kSkillCount + 1];
        size_t records = 0;
    };
    Mark GetMark() const {
        Mark mark;
        for (int i = 0; i < kSkillCount + 1; ++i) mark.entries[i] = entries_[i];
        mark.records = buffers_.Count();
        return mark;
    }
    void RollBack(const Mark& mark) {
        for (int i = 0; i < kSkillCount + 1; ++i) entries_[i] = mark.entries[i];
        buffers_.TruncateTo(mark.records);
    }

private:
    // The built-in names; the kept records stay (an earlier world's names may be rolled back to).
    void SetBuiltIns();
    CSkillEntry entries_[kSkillCount + 1];
    u32 costs_[kCostPoints];
    CLoadedRecords buffers_;
};

struct CRaceEntry : CNamedObject {
    CStr displayName;
    const char* text1 = nullptr;  // the race's ability id
    const char* text2 = nullptr;
    const char* text3 = nullptr;
};

class CRaceTable {
public:
    CRaceTable() { Fill(); }
    // Back to the built-ins, texts included, and the loaded record freed. A world reset calls it for
    // races as for attributes and skills, so no race text is left pointing into a freed record.
    void Fill();
    bool Load(CRecordReader& reader, u32 version);
    bool LoadRecord(CRecordData* record, u32 version);

    // Positions 0..5, null for others.
    const CRaceEntry* GetEntry(int position) const;
    const char* GetName(int position) const;

    // The names as they stand and the records kept; RollBack returns to them, freeing the records of
    // a world that failed to load.
    struct Mark {
        CRaceEntry entries[kRaceCount + 1];
        size_t records = 0;
    };
    Mark GetMark() const {
        Mark mark;
        for (int i = 0; i < kRaceCount + 1; ++i) mark.entries[i] = entries_[i];
        mark.records = buffers_.Count();
        return mark;
    }
    void RollBack(const Mark& mark) {
        for (int i = 0; i < kRaceCount + 1; ++i) entries_[i] = mark.entries[i];
        buffers_.TruncateTo(mark.records);
    }

private:
    // The built-in names; the kept records stay (an earlier world's names may be rolled back to).
    void SetBuiltIns();
    CRaceEntry entries_[kRaceCount + 1];
    CLoadedRecords buffers_;
};

struct CCharacterClass : CNamedObject {
    CCharacterClass() = default;
    CCharacterClass(const char* key, const char* display, const char* descriptionKey, const u8 (&skills)[6]);
    const char* displayName = nullptr;
    const char* descriptionKey = nullptr;
    u8 skills[6] = {};
    u32 flag = 0;
};

// Seven entries, entry 0 empty.
struct CCharacterClassTable {
    CCharacterClass entries[kClassCount + 1];
};
void FillCharacterClassTable(CCharacterClassTable& table);
