// Small record kinds of the world database, each a list found by id text: journal quests, compiled
// scripts, picture-and-text page sequences, sky pictures and picture sets; and the script global
// variables and NPC talk profiles. Texts point into the loaded records, which each list keeps.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Types.h"
#include "core/Stream.h"
#include "data/RecordBuffer.h"

class CPdbFile;
class CStream;
class CTextureSet;

// Every list of this file: elements in record order, found by id (exact comparison).
template <class T>
class CWorldRecordList {
public:
    T* FindById(const char* id) const {
        if (id == nullptr) return nullptr;
        for (const auto& e : items)
            if (e->id && std::string_view(e->id) == id) return e.get();
        return nullptr;
    }
    void Clear() {
        items.clear();
        records.clear();
    }
    size_t Count() const { return items.size(); }
    T* At(size_t i) const { return i < items.size() ? items[i].get() : nullptr; }

    std::vector<std::unique_ptr<T>> items;
    CRecordBuffers records;
};

// Reads the id-reference block that follows lists of records with id lists (picture sets here):
// for versions above 41 a count, then for each entry an id naming an element of the list and the ids
// appended to that element's id list. False when an id names no element (unless `passOver` accepts
// the id: an element the list left out) or the block is damaged.
template <class T>
bool ReadIdReferenceList(CWorldRecordList<T>& list, CStream& stream, u8 version,
                         const std::function<bool(const char* id)>& passOver = {});

// A 2-aligned u16 count and that many text references (null for an empty text).
std::vector<const char*> ReadStringRefs(CStream& stream);

struct CQuest {
    const char* id = nullptr;
    const char* title = nullptr;
    const char* description = nullptr;
};

struct CScript {
    const char* id = nullptr;
    u8 value = 5;
    u16 codeLength = 0;
    const u8* code = nullptr;
};

struct CPage {
    const char* text1 = nullptr;
    const char* text2 = nullptr;
    const char* text3 = nullptr;
};

struct CPageSequence {
    const char* id = nullptr;
    const char* text = nullptr;
    const char* text2 = nullptr;
    std::vector<CPage> pages;
};

struct CSkyRecord {
    virtual ~CSkyRecord() = default;
    const char* id = nullptr;
    const char* picture = nullptr;  // the id when the record names none
    u8 timeClass = 0;               // 1 day, 2 night, 4 dawn and dusk
    u8 weatherLevel = 0;
    u8 value = 0;
    u16 word = 0;
    u8 last = 0;
};

struct CPictureSet {
    virtual ~CPictureSet() = default;
    const char* id = nullptr;
    std::vector<const char*> idList;
    std::vector<const char*> pictures;
    std::vector<u32> pictureIndices;  // each picture's index in the texture set (0 = none)
    u8 value = 1;
};

struct CGlobalVar {
    const char* id = nullptr;  // the variable's name
    // The value as the script engine keeps it: a text, a number and a type byte; a new variable is
    // the number 0 with the text "0".
    std::string text = "0";
    i32 number = 0;
    u8 type = 0;
};

struct CProfilePicture {
    const char* picture = nullptr;
    u16 values[3] = {};
};

struct CNpcProfile {
    const char* id = nullptr;
    const char* text = nullptr;  // from version 112
    std::vector<CProfilePicture> pictures;
};

class CQuestList : public CWorldRecordList<CQuest> {
public:
    bool Load(CPdbFile* database, u16& key, u8 version);
};

class CScriptList : public CWorldRecordList<CScript> {
public:
    bool Load(CPdbFile* database, u16& key, u8 version);
};

// The page sequences and, before them in the record, a list of ids.
class CPageSequenceList : public CWorldRecordList<CPageSequence> {
public:
    bool Load(CPdbFile* database, u16& key, u8 version);
    std::vector<const char*> ids;
};

class CSkyList : public CWorldRecordList<CSkyRecord> {
public:
    bool Load(CPdbFile* database, u16& key, u8 version);
    // The sky record for an hour 0..23 and a weather level: among the records of the hour's time class
    // the one whose weather level is nearest (the first of equal distances); null when none.
    CSkyRecord* ChooseSky(u32 hour, i32 weatherLevel) const;
    // The sky record of that id with its picture loaded: its values and the picture's index in the
    // texture set (0 when the picture is missing). False when there is no such record.
    bool PrepareSkyPicture(CTextureSet& textures, const char* id, u8& value, u16& word, u8& last,
                           u16& pictureIndex) const;
    // The sky for the hour and weather level with its picture loaded; null when none.
    CSkyRecord* LoadSkyPictures(CTextureSet& textures, u32 hour, i32 weatherLevel) const;
};

// Time class of an hour: 2 night (0..5, 22..23), 4 dawn and dusk (6..7, 20..21), 1 day (8..19).
u8 SkyTimeClassOfHour(u32 hour);

class CPictureSetList : public CWorldRecordList<CPictureSet> {
public:
    bool Load(CPdbFile* database, u16& key, u8 version);
    // Rebuilds every set's picture indices from the texture set.
    void ResolvePictureIndices(const CTextureSet& textures);
};

class CGlobalVarList : public CWorldRecordList<CGlobalVar> {
public:
    bool Load(CPdbFile* database, u16& key, u8 version);
    // The saved-game form: marker 0x10, a count, then each variable's name and value in list order.
    bool Save(CStream& stream) const;
    // Reads the saved form: each stored value goes to the variable of its name; a name the list does
    // not hold has its value read and dropped. False when the record is damaged.
    bool Restore(CStream& stream);
};

// A script value through the stream: a byte "is text", then the i32 (4-aligned) or the text. Reading a
// number sets the text to the number; reading a text sets the number parsed from it.
void SerializeScriptValue(CStream& stream, std::string& text, i32& number, u8& isText);

class CNpcProfileList : public CWorldRecordList<CNpcProfile> {
public:
    bool Load(CPdbFile* database, u16& key, u8 version);
};

// Loads the pictures of a talk profile that are not loaded yet (and enters them in the texture set);
// ReleaseProfilePictures frees them again.
void LoadProfilePictures(CTextureSet& textures, const CNpcProfile& profile);
void ReleaseProfilePictures(CTextureSet& textures, const CNpcProfile& profile);

template <class T>
bool ReadIdReferenceList(CWorldRecordList<T>& list, CStream& s, u8 version,
                         const std::function<bool(const char* id)>& passOver) {
    if (version <= 41) return true;
    u16 count = 0;
    s.SerializeU16(count);
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        const char* id = nullptr;
        s.SerializeStringRef(id);
        std::vector<const char*> ids = ReadStringRefs(s);
        if (s.HasError()) return false;
        T* element = list.FindById(id);
        if (element == nullptr) {
            if (passOver && passOver(id)) continue;
            return false;
        }
        element->idList.insert(element->idList.end(), ids.begin(), ids.end());
    }
    return !s.HasError();
}
