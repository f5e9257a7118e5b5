#include "data/CharacterTables.h"

#include "core/Stream.h"

namespace {

struct AttributeRow {
    const char* key;
    const char* display;
    const char* shortName;
};
const AttributeRow kAttributes[kAttributeCount] = {
    {"base_strength", "Strength", "Str"},       {"base_dexterity", "Dexterity", "Dex"},
    {"base_endurance", "Endurance", "End"},     {"base_intelligence", "Intelligence", "Int"},
    {"base_personality", "Personality", "Per"},
};

struct SkillRow {
    const char* key;
    const char* full;
    const char* medium;
    const char* shortName;
    u8 attribute;
    u8 group;
};
const SkillRow kSkills[kSkillCount] = {
    {"base_block", "Block", "Block", "Block", 2, 9},
    {"base_lightweapon", "Light Weapon", "Light Weapon", "Light Weap", 2, 8},
    {"base_heavyweapon", "Heavy Weapon", "Heavy Weap", "Heavy W", 1, 9},
    {"base_dualwield", "Dual Wield", "Dual Wield", "Dual Wield", 2, 10},
    {"base_lightarmor", "Light Armor", "Light Armor", "Light Arm", 2, 9},
    {"base_heavyarmor", "Heavy Armor", "Heavy Armor", "Heavy Arm", 3, 9},
    {"base_accuracy", "Accuracy", "Accuracy", "Accuracy", 2, 10},
    {"base_healmagic", "Heal Magic", "Heal Magic", "Heal Magic", 4, 11},
    {"base_protectionmagic", "Protection Magic", "Prot. Magic", "Prot. Magic", 4, 11},
    {"base_attackmagic", "Attack Magic", "Attack Magic", "Attack M", 4, 11},
    {"base_mindmagic", "Mind Magic", "Mind Magic", "Mind Magic", 5, 11},
    {"base_undeadmagic", "Undead Magic", "Undead Magic", "Undead M", 4, 11},
    {"base_environmagic", "Environment Magic", "Env. Magic", "Env. Magic", 4, 11},
    {"base_repair", "Repair", "Repair", "Repair", 2, 9},
    {"base_mercantile", "Mercantile", "Mercantile", "Mercantile", 5, 9},
    {"base_alchemy", "Alchemy", "Alchemy", "Alchemy", 4, 10},
    {"base_persuade", "Persuade", "Persuade", "Persuade", 5, 10},
    {"base_lockpick", "Lockpick", "Lockpick", "Lockpick", 2, 9},
    {"base_disarm", "Disarm", "Disarm", "Disarm", 4, 9},
    {"base_stealth", "Stealth", "Stealth", "Stealth", 2, 9},
};

const u32 kTrainingCosts[CSkillTable::kCostPoints] = {50,  100,  200,  300,  450, 600,
                                                      800, 1100, 1500, 2000, 3000};

const char* const kRaces[kRaceCount][2] = {
    {"base_creature", "Creature"}, {"base_rasvim", "Rasvim"}, {"base_etherim", "Etherim"},
    {"base_seiry", "Seiry"},       {"base_derth", "Derth"},   {"base_nogur", "Nogur"},
};

// Opens a character-table record: the optional tag and the present flag. False when the record
// should be dropped (missing, unreadable, or a present flag of 0).
bool OpenTableRecord(CStream& stream, CRecordData* record, u8 tag) {
    if (!record) return false;
    stream.InitForReading(*record);
    stream.MatchByte(tag);
    u16 present = 0;
    stream.SerializeU16(present);
    return !stream.HasError() && present != 0;
}

}  // namespace

void CAttributeTable::Fill() {
    buffers_.Clear();
    SetBuiltIns();
}

void CAttributeTable::SetBuiltIns() {
    entries_[0] = CAttributeEntry();
    for (int i = 0; i < kAttributeCount; ++i) {
        CAttributeEntry& e = entries_[i + 1];
        e.SetName(kAttributes[i].key);
        e.displayName = kAttributes[i].display;
        e.shortName = kAttributes[i].shortName;
    }
}

bool CAttributeTable::Load(CRecordReader& reader, u32 version) {
    return LoadRecord(reader.NextRecord(), version);
}

bool CAttributeTable::LoadRecord(CRecordData* record, u32 version) {
    CStream stream;
    if (!OpenTableRecord(stream, record, 'R')) {
        bool ok = record && !stream.HasError();
        FreeDataBlock(record);
        return ok;
    }
    CAttributeEntry read[kAttributeCount];
    for (CAttributeEntry& e : read) {
        stream.MatchByte('S');
        const char* id = nullptr;
        stream.SerializeStringRef(id);
        e.SetName(id);
        stream.SerializeStringRef(e.displayName);
        stream.SerializeStringRef(e.shortName);
    }
    if (stream.HasError()) {
        FreeDataBlock(record);
        return false;
    }
    SetBuiltIns();
    for (int i = 0; i < kAttributeCount; ++i) entries_[i + 1] = read[i];
    buffers_.Keep(record);
    return true;
}

const CAttributeEntry* CAttributeTable::GetEntry(int id) const {
    return id >= 1 && id <= kAttributeCount ? &entries_[id] : nullptr;
}

const char* CAttributeTable::GetName(int id) const {
    const CAttributeEntry* e = GetEntry(id);
    return e ? e->displayName : nullptr;
}

int CAttributeTable::FindId(const char* text) const {
    if (!text) return 0;
    for (int id = 1; id <= kAttributeCount; ++id) {
        const CAttributeEntry& e = entries_[id];
        if ((e.GetName() && CompareStrings(e.GetName(), text) == 0) ||
            (e.displayName && CompareStringsNoCase(e.displayName, text) == 0) ||
            (e.shortName && CompareStringsNoCase(e.shortName, text) == 0))
            return id;
    }
    return 0;
}

void CSkillTable::Fill() {
    buffers_.Clear();
    SetBuiltIns();
}

void CSkillTable::SetBuiltIns() {
    entries_[0] = CSkillEntry();
    for (int i = 0; i < kSkillCount; ++i) {
        CSkillEntry& e = entries_[i + 1];
        const SkillRow& r = kSkills[i];
        e.SetName(r.key);
        e.fullName = r.full;
        e.mediumName = r.medium;
        e.shortName = r.shortName;
        e.text = nullptr;
        e.attribute = r.attribute;
        e.group = r.group;
    }
    for (int i = 0; i < kCostPoints; ++i) costs_[i] = kTrainingCosts[i];
}

bool CSkillTable::Load(CRecordReader& reader, u32 version) {
    return LoadRecord(reader.NextRecord(), version);
}

bool CSkillTable::LoadRecord(CRecordData* record, u32 version) {
    CStream stream;
    if (!OpenTableRecord(stream, record, 'P')) {
        bool ok = record && !stream.HasError();
        FreeDataBlock(record);
        return ok;
    }
    CSkillEntry read[kSkillCount];
    for (int i = 0; i < kSkillCount; ++i) {
        CSkillEntry& e = read[i];
        // Names a record of an older version lacks stay the built-in ones.
        e.mediumName = kSkills[i].medium;
        e.shortName = kSkills[i].shortName;
        e.group = kSkills[i].group;
        stream.MatchByte('Q');
        const char* id = nullptr;
        stream.SerializeStringRef(id);
        e.SetName(id);
        stream.SerializeStringRef(e.fullName);
        if (version > 73) stream.SerializeStringRef(e.mediumName);
        if (version > 109) stream.SerializeStringRef(e.shortName);
        stream.SerializeU8(e.attribute);
        if (version > 82) stream.SerializeU8(e.group);
        if (version > 85) stream.SerializeStringRef(e.text);
    }
    if (stream.HasError()) {
        FreeDataBlock(record);
        return false;
    }
    SetBuiltIns();
    for (int i = 0; i < kSkillCount; ++i) entries_[i + 1] = read[i];
    buffers_.Keep(record);
    return true;
}

const CSkillEntry* CSkillTable::GetEntry(int id) const {
    return id >= 1 && id <= kSkillCount ? &entries_[id] : nullptr;
}

const char* CSkillTable::GetName(int id, bool medium, bool shortName) const {
    const CSkillEntry* e = GetEntry(id);
    if (!e) return nullptr;
    if (shortName) return e->shortName;
    if (medium) return e->mediumName;
    return e->fullName;
}

int CSkillTable::FindId(const char* text) const {
    if (!text) return 0;
    for (int id = 1; id <= kSkillCount; ++id) {
        const CSkillEntry& e = entries_[id];
        if ((e.GetName() && CompareStrings(e.GetName(), text) == 0) ||
            (e.fullName && CompareStringsNoCase(e.fullName, text) == 0))
            return id;
    }
    return 0;
}

u32 CSkillTable::GetTrainingCost(int value) const {
    if (value < 0) value = 0;
    if (value >= 100) return costs_[kCostPoints - 1];
    int i = value / 10, f = value % 10;
    i64 low = costs_[i], high = costs_[i + 1];
    return static_cast<u32>(low + f * (high - low) / 10);
}

void CRaceTable::Fill() {
    buffers_.Clear();
    SetBuiltIns();
}

void CRaceTable::SetBuiltIns() {
    for (int i = 0; i <= kRaceCount; ++i) {
        CRaceEntry& e = entries_[i];
        e.SetName(i < kRaceCount ? kRaces[i][0] : nullptr);
        e.displayName = i < kRaceCount ? kRaces[i][1] : "";
        e.text1 = e.text2 = e.text3 = nullptr;
    }
}

bool CRaceTable::Load(CRecordReader& reader, u32 version) { return LoadRecord(reader.NextRecord(), version); }

bool CRaceTable::LoadRecord(CRecordData* record, u32 version) {
    CStream stream;
    if (!OpenTableRecord(stream, record, 'N')) {
        bool ok = record && !stream.HasError();
        FreeDataBlock(record);
        return ok;
    }
    CRaceEntry read[kRaceCount];
    for (CRaceEntry& e : read) {
        stream.MatchByte('O');
        const char* id = nullptr;
        const char* display = nullptr;
        stream.SerializeStringRef(id);
        e.SetName(id);
        stream.SerializeStringRef(display);
        e.displayName = display;
        stream.SerializeStringRef(e.text1);
        stream.SerializeStringRef(e.text2);
        if (version > 51) stream.SerializeStringRef(e.text3);
    }
    if (stream.HasError()) {
        FreeDataBlock(record);
        return false;
    }
    SetBuiltIns();
    for (int i = 0; i < kRaceCount; ++i) entries_[i] = read[i];
    buffers_.Keep(record);
    return true;
}

const CRaceEntry* CRaceTable::GetEntry(int position) const {
    return position >= 0 && position < kRaceCount ? &entries_[position] : nullptr;
}

const char* CRaceTable::GetName(int position) const {
    const CRaceEntry* e = GetEntry(position);
    return e ? e->displayName.GetText() : nullptr;
}

CCharacterClass::CCharacterClass(const char* key, const char* display, const char* descriptionKey_,
                                 const u8 (&skills_)[6])
    : displayName(display), descriptionKey(descriptionKey_), flag(1) {
    SetName(key);
    for (int i = 0; i < 6; ++i) skills[i] = skills_[i];
}

void FillCharacterClassTable(CCharacterClassTable& table) {
    table.entries[0] = CCharacterClass();
    table.entries[1] = CCharacterClass("fighter", "Fighter", "fighter description", {3, 6, 4, 14, 1, 2});
    table.entries[2] = CCharacterClass("thief", "Thief", "thief description", {2, 5, 7, 17, 18, 19});
    table.entries[3] = CCharacterClass("mage", "Mage", "mage description", {2, 8, 9, 10, 13, 16});
    table.entries[4] =
        CCharacterClass("battlemage", "Battlemage", "battlemage description", {2, 5, 1, 10, 9, 11});
    table.entries[5] = CCharacterClass("ranger", "Ranger", "ranger description", {7, 2, 20, 8, 5, 16});
    table.entries[6] = CCharacterClass("priest", "Priest", "priest description", {2, 5, 8, 9, 16, 17});
}
