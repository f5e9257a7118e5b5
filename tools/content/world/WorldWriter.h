// The world-database half of the content builder: a world's content as plain data, and its records
// written kind by kind in the loader's fixed order with the builder's own byte writer. Each kind has
// its own writer function, so that a kind's full record writer can take the place of the empty list
// written here. The writers follow the data version given, so that worlds of older versions can be
// written for the loader's version tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/content/ByteWriter.h"
#include "tools/content/rules/BaseRules.h"

namespace world {

struct Record {
    uint16_t id;
    std::vector<uint8_t> data;
};

// Records of a world being built: the kinds take ids from 4000 on; pictures and sections live at
// fixed ranges above the kinds.
class Builder {
public:
    explicit Builder(uint8_t version) : version(version) {}
    uint16_t Append(std::vector<uint8_t> data) {
        records.push_back({next, std::move(data)});
        return next++;
    }
    void Put(uint16_t id, std::vector<uint8_t> data) { records.push_back({id, std::move(data)}); }

    uint8_t version;
    uint16_t next = 4000;
    std::vector<Record> records;
    // The rule kinds' records at this version, when the world carries the base world's rule content;
    // null: those kinds are written as empty lists.
    const BaseRuleRecords* rules = nullptr;
};

// Text with its NUL.
inline void Str(ByteWriter& w, const std::string& s) {
    w.Text(s);
    w.U8(0);
}
inline void A2U16(ByteWriter& w, uint32_t v) {
    w.Align(2);
    w.U16(v);
}

struct Picture {
    std::string name;
    std::vector<uint8_t> data;  // picture data (header first); the record gets the 4-byte prefix
};

struct SecondPicture {
    std::string name, secondName;
    uint16_t value = 0;
    std::vector<uint8_t> data;
};

struct MapObject {
    uint8_t typeCode = 1;
    std::string id, text1, text2, text3, sound1, sound2, sound3;
    uint16_t params[6] = {};
    uint8_t cellViewBits = 0;
    uint16_t viewFlags = 0;
    std::vector<std::string> frames, refs;
};

struct Quest {
    std::string id, title, description;
};

struct Script {
    std::string id;
    uint8_t value = 5;
    std::vector<uint8_t> code;
};

struct Page {
    std::string text1, text2, text3;
};

struct PageSequence {
    std::string id, text, text2;
    std::vector<Page> pages;
};

struct Sky {
    std::string id, picture;
    uint8_t timeClass = 1, weatherLevel = 0, value = 0, last = 0;
    uint16_t word = 0;
};

struct PictureSet {
    std::string id;
    uint8_t value = 1;
    std::vector<std::string> pictures, ids;
};

struct TalkProfile {
    std::string id, text;
    struct Entry {
        std::string picture;
        uint16_t values[3] = {};
    };
    std::vector<Entry> pictures;
};

// A sample bank: the module header (its sample headers give the lengths) and each sample's bytes.
struct Bank {
    std::string name;
    std::vector<uint8_t> header;  // 1,084 bytes
    std::vector<std::vector<uint8_t>> samples;
};

struct Song {
    std::string name, bank;
    std::vector<uint8_t> header;  // 1,084 bytes
    std::vector<std::vector<uint8_t>> patterns;
};

struct Sound {
    std::string name;
    std::vector<uint8_t> wav;
    uint16_t s1 = 0, s2 = 0;
    uint8_t s3 = 0, s4 = 0, s5 = 0;
};

struct Section {
    std::string id, displayName;
    uint16_t flags = 0;
    uint16_t lightAColour = 0, lightBColour = 0;
    uint8_t lightALevel = 100, lightBLevel = 100;
    uint16_t colourC = 0xA534, colourD = 0x6B4D;
    uint8_t byteE = 255;
    uint8_t bytes[4] = {};
    uint16_t indices[4] = {};  // ground object, ground picture, ceiling object, ceiling picture
    std::vector<std::vector<uint8_t>> records;  // base + 0 .. base + 4 (empty: not written)
    // When set, the records at the data version being written, in place of `records`.
    std::function<std::vector<std::vector<uint8_t>>(uint8_t version)> recordsAt;
};

struct Content {
    std::string dbName, type, title, shortName, stringC, sectionPrefix;
    uint32_t headerWord = 0;
    uint8_t byteA = 1, byteB = 4, expansion = 1, byteG = 0;
    uint16_t gridWidth = 0, gridHeight = 0;
    bool markers = true;
    std::vector<Picture> pictures;
    std::vector<SecondPicture> seconds;
    std::vector<uint8_t> worldMap;  // picture data; written only with a section prefix
    std::vector<std::string> globals;
    std::vector<MapObject> mapObjects;
    std::vector<std::string> tableC, tableD, tableE, tableF;
    std::vector<Quest> quests;
    std::vector<std::string> pageIds;
    std::vector<PageSequence> pageSequences;
    std::vector<Sky> skies;
    std::vector<Script> scripts;
    std::vector<Bank> banks;
    std::vector<Song> songs;
    std::vector<Sound> sounds;
    std::vector<PictureSet> pictureSets;
    std::vector<TalkProfile> talkProfiles;
    uint16_t defaultGround = 0, defaultGroundPicture = 0;
    std::vector<Section> sections;
    // The rule kinds (abilities, recipes, diseases, items, creatures, dialogue, portraits, NPCs, spells,
    // races, skills, attributes) carry the base world's rule content.
    bool baseRules = false;
};

// The picture records start here, the sections' records after them (five ids per section).
constexpr uint16_t kFirstPictureRecord = 12000;
constexpr uint16_t kFirstSectionRecord = 30000;

// One writer per record kind, in the loader's order.
std::vector<uint8_t> HeaderRecord(const Content& c, uint8_t version);
void WriteTextures(Builder& b, const Content& c);
void WriteWorldMap(Builder& b, const Content& c);
void WriteAbilities(Builder& b, const Content& c);
void WriteRecipes(Builder& b, const Content& c);
void WriteDiseases(Builder& b, const Content& c);
void WriteGlobals(Builder& b, const Content& c);
void WriteItems(Builder& b, const Content& c);
void WriteMapObjects(Builder& b, const Content& c);
void WriteIndexTables(Builder& b, const Content& c);
void WriteCreatures(Builder& b, const Content& c);
void WriteMonsterTable(Builder& b, const Content& c);
void WriteDialogue(Builder& b, const Content& c);
void WritePortraits(Builder& b, const Content& c);
void WriteNpcs(Builder& b, const Content& c);
void WriteQuests(Builder& b, const Content& c);
void WritePageSequences(Builder& b, const Content& c);
void WriteSkies(Builder& b, const Content& c);
void WriteScripts(Builder& b, const Content& c);
void WriteResources(Builder& b, const Content& c);
void WritePictureSets(Builder& b, const Content& c);
void WriteSpells(Builder& b, const Content& c);
void WriteTalkProfiles(Builder& b, const Content& c);
void WriteRaces(Builder& b, const Content& c);
void WriteSkills(Builder& b, const Content& c);
void WriteAttributes(Builder& b, const Content& c);
void WriteSectionDirectory(Builder& b, const Content& c);

// The creation and modification date of every database the builder writes (seconds since 1904:
// 2026-01-01 00:00 UTC). A fixed date, not the clock's, so that a build writes the same bytes every
// time; the game only compares the dates of two copies of one additional world.
inline constexpr uint32_t kBuiltDate1904 = 3850070400u;

// Every record of the world at a data version, sorted by id.
std::vector<Record> BuildWorld(const Content& c, uint8_t version = 122);
// Writes the records as a database (creator "VnTl", the content's type); false on failure.
bool WriteWorldDatabase(const Content& c, const std::vector<Record>& records, const std::string& path);

}  // namespace world
