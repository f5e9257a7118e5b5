#include "tools/content/world/WorldWriter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "core/PdbFile.h"

namespace world {

namespace {

// A record that opens with its tag and a 2-aligned u16 count, the shape of every list kind.
ByteWriter ListHead(uint8_t tag, size_t count) {
    ByteWriter w;
    w.U8(tag);
    A2U16(w, static_cast<uint32_t>(count));
    return w;
}

void EmptyList(Builder& b, uint8_t tag) { b.Append(ListHead(tag, 0).Take()); }

void Texts(ByteWriter& w, const std::vector<std::string>& texts) {
    A2U16(w, static_cast<uint32_t>(texts.size()));
    for (const std::string& t : texts) Str(w, t);
}

// The id-reference block after lists of records with id lists; the builder adds nothing through it.
void IdReferenceBlock(ByteWriter& w, uint8_t version) {
    if (version > 41) A2U16(w, 0);
}

std::vector<uint8_t> WithPrefix(const std::vector<uint8_t>& picture) {
    // The record prefix is four zero bytes; the picture follows it.
    std::vector<uint8_t> out(picture.size() + 4, 0);
    std::copy(picture.begin(), picture.end(), out.begin() + 4);
    return out;
}

// The module header field by field as the game's stream moves it: each u16 on an even offset of the
// record (a pad byte before it when the text before left it odd), its stored bytes unchanged.
void ModuleHeader(ByteWriter& w, const std::vector<uint8_t>& h) {
    if (h.size() != 1084) throw std::logic_error("module header must be 1,084 bytes");
    auto word = [&](size_t at) {
        w.Align(2);
        w.U8(h[at]);
        w.U8(h[at + 1]);
    };
    w.Bytes(h.data(), 20);
    for (size_t i = 0; i < 31; ++i) {
        const size_t s = 20 + 30 * i;
        w.Bytes(h.data() + s, 22);
        word(s + 22);
        w.Bytes(h.data() + s + 24, 2);
        word(s + 26);
        word(s + 28);
    }
    w.Bytes(h.data() + 950, 134);
}

}  // namespace

std::vector<uint8_t> HeaderRecord(const Content& c, uint8_t version) {
    ByteWriter w;
    w.U32(c.headerWord);
    if (c.markers) {
        w.U8(0x9E);
        w.U8(0x49);
        w.U8(0x11);
    }
    w.U8(version);
    w.U8(c.byteA);
    w.U8(c.byteB);
    Str(w, c.title);
    Str(w, c.shortName);
    Str(w, c.stringC);
    if (version >= 119) w.U8(c.expansion);
    if (version >= 122) w.U8(c.byteG);
    A2U16(w, c.gridWidth);
    A2U16(w, c.gridHeight);
    Str(w, c.sectionPrefix);
    return w.Take();
}

void WriteTextures(Builder& b, const Content& c) {
    uint16_t id = kFirstPictureRecord;
    ByteWriter first = ListHead('<', c.pictures.size());
    for (const Picture& p : c.pictures) {
        Str(first, p.name);
        first.Align(4);
        first.U32(0);
        A2U16(first, id);
        b.Put(id++, WithPrefix(p.data));
    }
    b.Append(first.Take());
    ByteWriter second = ListHead('=', c.seconds.size());
    for (const SecondPicture& p : c.seconds) {
        Str(second, p.name);
        Str(second, p.secondName);
        A2U16(second, p.value);
        A2U16(second, id);
        b.Put(id++, WithPrefix(p.data));
    }
    b.Append(second.Take());
}

void WriteWorldMap(Builder& b, const Content& c) {
    if (c.sectionPrefix.empty()) {
        // The two ids are used up without records.
        b.next = static_cast<uint16_t>(b.next + 2);
        return;
    }
    ByteWriter w;
    w.U8('L');
    A2U16(w, 0);
    b.Append(w.Take());
    b.Append(WithPrefix(c.worldMap));
}

// The rule kinds: the base world's rule records from their own writers, or empty lists.
namespace {

void RuleOrEmpty(Builder& b, const RuleRecord* record, uint8_t tag) {
    if (record)
        b.Append(*record);
    else
        EmptyList(b, tag);
}

void RulesOrEmpty(Builder& b, const RuleRecords* records, uint8_t tag) {
    if (records == nullptr) {
        EmptyList(b, tag);
        return;
    }
    for (const RuleRecord& r : *records) b.Append(r);
}

}  // namespace

void WriteAbilities(Builder& b, const Content&) {
    RuleOrEmpty(b, b.rules ? &b.rules->abilities : nullptr, 0x0A);
}
void WriteRecipes(Builder& b, const Content&) { RuleOrEmpty(b, b.rules ? &b.rules->recipes : nullptr, 0x0E); }
void WriteDiseases(Builder& b, const Content&) {
    RuleOrEmpty(b, b.rules ? &b.rules->diseases : nullptr, 0x0C);
}
void WriteItems(Builder& b, const Content&) {
    if (b.rules) {
        for (const RuleRecord& r : b.rules->items) b.Append(r);
        return;
    }
    for (uint8_t tag : {0x16, 0x38, 0x12, 0x14}) EmptyList(b, tag);
}
void WriteCreatures(Builder& b, const Content&) {
    if (b.rules) {
        b.Append(b.rules->creatureKinds);
        b.Append(b.rules->monsterTypes);
        return;
    }
    ByteWriter kinds = ListHead(0x1C, 0);
    IdReferenceBlock(kinds, b.version);
    b.Append(kinds.Take());
    EmptyList(b, 0x1E);
}
void WriteDialogue(Builder& b, const Content&) {
    if (b.rules) {
        b.Append(b.rules->dialogue);
        return;
    }
    ByteWriter w = ListHead(0x24, 0);
    A2U16(w, 0);  // greetings
    b.Append(w.Take());
}
void WritePortraits(Builder& b, const Content&) {
    RuleOrEmpty(b, b.rules ? &b.rules->portraits : nullptr, 0x25);
}
void WriteNpcs(Builder& b, const Content&) { RulesOrEmpty(b, b.rules ? &b.rules->npcs : nullptr, 0x2B); }
void WriteSpells(Builder& b, const Content&) { RulesOrEmpty(b, b.rules ? &b.rules->spells : nullptr, 0x03); }
// A present flag of 0 keeps the built-in tables.
void WriteRaces(Builder& b, const Content&) { RuleOrEmpty(b, b.rules ? &b.rules->races : nullptr, 'N'); }
void WriteSkills(Builder& b, const Content&) { RuleOrEmpty(b, b.rules ? &b.rules->skills : nullptr, 'P'); }
void WriteAttributes(Builder& b, const Content&) {
    RuleOrEmpty(b, b.rules ? &b.rules->attributes : nullptr, 'R');
}

void WriteGlobals(Builder& b, const Content& c) {
    ByteWriter w = ListHead(0x10, c.globals.size());
    for (const std::string& name : c.globals) {
        w.U8(0x11);
        Str(w, name);
        if (b.version < 68) {
            // Older worlds stored a value (a number here), which a new game does not use.
            w.U8(0);
            w.Align(4);
            w.U32(7);
        }
    }
    b.Append(w.Take());
}

void WriteMapObjects(Builder& b, const Content& c) {
    const uint8_t v = b.version;
    ByteWriter w = ListHead(0x19, c.mapObjects.size());
    for (const MapObject& o : c.mapObjects) {
        w.U8(o.typeCode);
        Str(w, o.id);
        Str(w, o.text1);
        w.U8(o.typeCode);
        Str(w, o.text2);
        for (uint16_t p : o.params) A2U16(w, p);
        if (v > 7) Str(w, o.text3);
        if (v > 9) Str(w, o.sound1);
        if (v > 105) Str(w, o.sound2);
        if (v > 107) Str(w, o.sound3);
        if (v > 58) w.U8(o.cellViewBits);
        if (v >= 11) A2U16(w, o.viewFlags);
        Texts(w, o.frames);
        Texts(w, o.refs);
    }
    IdReferenceBlock(w, v);
    b.Append(w.Take());
}

void WriteIndexTables(Builder& b, const Content& c) {
    const std::vector<std::string>* tables[] = {&c.tableC, &c.tableD, &c.tableE, &c.tableF};
    const uint8_t tags[] = {'C', 'D', 'E', 'F'};
    for (int i = 0; i < 4; ++i) {
        ByteWriter w = ListHead(tags[i], tables[i]->size());
        for (const std::string& name : *tables[i]) Str(w, name);
        b.Append(w.Take());
    }
}

void WriteMonsterTable(Builder& b, const Content& c) {
    ByteWriter w = ListHead('E', c.tableE.size());
    for (const std::string& name : c.tableE) Str(w, name);
    b.Append(w.Take());
}

void WriteQuests(Builder& b, const Content& c) {
    ByteWriter w = ListHead(0x08, c.quests.size());
    for (const Quest& q : c.quests) {
        w.U8(0x09);
        Str(w, q.id);
        Str(w, q.title);
        Str(w, q.description);
    }
    b.Append(w.Take());
}

void WritePageSequences(Builder& b, const Content& c) {
    ByteWriter w = ListHead(0x35, c.pageIds.size());
    for (const std::string& id : c.pageIds) Str(w, id);
    A2U16(w, static_cast<uint32_t>(c.pageSequences.size()));
    for (const PageSequence& s : c.pageSequences) {
        w.U8(0x36);
        Str(w, s.id);
        Str(w, s.text);
        if (b.version > 112) Str(w, s.text2);
        A2U16(w, static_cast<uint32_t>(s.pages.size()));
        for (const Page& p : s.pages) {
            w.U8(0x37);
            Str(w, p.text1);
            Str(w, p.text2);
            if (b.version > 101) Str(w, p.text3);
        }
    }
    b.Append(w.Take());
}

void WriteSkies(Builder& b, const Content& c) {
    ByteWriter w = ListHead(0x42, c.skies.size());
    for (const Sky& s : c.skies) {
        w.U8(0x41);
        Str(w, s.id);
        if (b.version > 38) Str(w, s.picture);
        w.U8(s.timeClass);
        w.U8(s.weatherLevel);
        if (b.version > 31) {
            A2U16(w, s.word);
            w.U8(s.value);
        }
        if (b.version > 75) w.U8(s.last);
    }
    b.Append(w.Take());
}

void WriteScripts(Builder& b, const Content& c) {
    b.Append(ListHead(0x27, c.scripts.size()).Take());
    for (const Script& s : c.scripts) {
        ByteWriter w;
        w.U8(0x28);
        Str(w, s.id);
        if (b.version > 51) w.U8(s.value);
        A2U16(w, static_cast<uint32_t>(s.code.size()));
        w.Bytes(s.code.data(), s.code.size());
        b.Append(w.Take());
    }
}

void WriteResources(Builder& b, const Content& c) {
    ByteWriter head;
    head.U8(0x2C);
    A2U16(head, static_cast<uint32_t>(c.banks.size()));
    A2U16(head, static_cast<uint32_t>(c.songs.size()));
    A2U16(head, static_cast<uint32_t>(c.sounds.size()));
    b.Append(head.Take());
    for (const Bank& bank : c.banks) {
        ByteWriter w;
        Str(w, bank.name);
        ModuleHeader(w, bank.header);
        A2U16(w, static_cast<uint32_t>(bank.samples.size()));
        if (b.version > 65) {
            A2U16(w, 0);
            A2U16(w, 0);
        }
        b.Append(w.Take());
        for (const std::vector<uint8_t>& sample : bank.samples) {
            // Samples past 32,000 words go into two records: the first 64,000 bytes, then the rest.
            if (sample.size() > 64000) {
                b.Append(std::vector<uint8_t>(sample.begin(), sample.begin() + 64000));
                b.Append(std::vector<uint8_t>(sample.begin() + 64000, sample.end()));
            } else {
                b.Append(sample);
            }
        }
    }
    for (const Song& song : c.songs) {
        ByteWriter w;
        Str(w, song.name);
        Str(w, song.bank);
        A2U16(w, static_cast<uint32_t>(song.patterns.size()));
        A2U16(w, 0);
        A2U16(w, 0);
        b.Append(w.Take());
        ByteWriter header;
        ModuleHeader(header, song.header);
        b.Append(header.Take());
        for (const std::vector<uint8_t>& pattern : song.patterns) b.Append(pattern);
    }
    for (const Sound& s : c.sounds) {
        ByteWriter w;
        Str(w, s.name);
        A2U16(w, s.s1);
        A2U16(w, s.s2);
        w.U8(s.s3);
        w.U8(s.s4);
        w.U8(s.s5);
        if (b.version > 109) w.Align(4);
        w.Bytes(s.wav.data(), s.wav.size());
        b.Append(w.Take());
    }
}

void WritePictureSets(Builder& b, const Content& c) {
    ByteWriter w = ListHead(0x30, c.pictureSets.size());
    for (const PictureSet& s : c.pictureSets) {
        w.U8(0x31);
        Str(w, s.id);
        w.U8(s.value);
        if (b.version >= 26 && b.version <= 108) Str(w, "");
        Texts(w, s.pictures);
        Texts(w, s.ids);
    }
    IdReferenceBlock(w, b.version);
    b.Append(w.Take());
}

void WriteTalkProfiles(Builder& b, const Content& c) {
    ByteWriter w = ListHead(0x3B, c.talkProfiles.size());
    for (const TalkProfile& p : c.talkProfiles) {
        w.U8(0x3A);
        Str(w, p.id);
        if (b.version >= 112) Str(w, p.text);
        A2U16(w, static_cast<uint32_t>(p.pictures.size()));
        for (const TalkProfile::Entry& e : p.pictures) {
            Str(w, e.picture);
            for (uint16_t v : e.values) A2U16(w, v);
        }
    }
    b.Append(w.Take());
}

void WriteSectionDirectory(Builder& b, const Content& c) {
    const uint8_t v = b.version;
    ByteWriter w;
    w.U8(1);
    A2U16(w, c.defaultGround);
    A2U16(w, c.defaultGroundPicture);
    w.U8(static_cast<uint32_t>(c.sections.size()));
    uint16_t base = kFirstSectionRecord;
    for (const Section& s : c.sections) {
        A2U16(w, base);
        w.U8('G');
        Str(w, s.displayName);
        Str(w, s.id);
        A2U16(w, s.flags);
        if (v >= 117) {
            A2U16(w, s.lightAColour);
            w.U8(s.lightALevel);
        }
        A2U16(w, s.lightBColour);
        w.U8(s.lightBLevel);
        if (v >= 117) {
            A2U16(w, s.colourC);
            A2U16(w, s.colourD);
        }
        if (v >= 118) w.U8(s.byteE);
        for (uint8_t x : s.bytes) w.U8(x);
        if (v > 12)
            for (uint16_t i : s.indices) A2U16(w, i);
        const std::vector<std::vector<uint8_t>> records = s.recordsAt ? s.recordsAt(v) : s.records;
        for (size_t k = 0; k < records.size() && k < 5; ++k)
            if (!records[k].empty()) b.Put(static_cast<uint16_t>(base + k), records[k]);
        base = static_cast<uint16_t>(base + 5);
    }
    b.Append(w.Take());
}

std::vector<Record> BuildWorld(const Content& c, uint8_t version) {
    Builder b(version);
    BaseRuleRecords rules;
    if (c.baseRules) {
        rules = BuildBaseRuleRecords(version);
        b.rules = &rules;
    }
    b.Put(3999, HeaderRecord(c, version));
    WriteTextures(b, c);
    WriteWorldMap(b, c);
    WriteAbilities(b, c);
    WriteRecipes(b, c);
    WriteDiseases(b, c);
    WriteGlobals(b, c);
    WriteItems(b, c);
    WriteMapObjects(b, c);
    if (version > 71) WriteIndexTables(b, c);
    WriteCreatures(b, c);
    if (version > 71) WriteMonsterTable(b, c);
    WriteDialogue(b, c);
    WritePortraits(b, c);
    WriteNpcs(b, c);
    WriteQuests(b, c);
    WritePageSequences(b, c);
    WriteSkies(b, c);
    WriteScripts(b, c);
    WriteResources(b, c);
    WritePictureSets(b, c);
    WriteSpells(b, c);
    WriteTalkProfiles(b, c);
    WriteRaces(b, c);
    WriteSkills(b, c);
    WriteAttributes(b, c);
    if (version <= 71) WriteIndexTables(b, c);
    WriteSectionDirectory(b, c);
    if (b.next > kFirstPictureRecord)
        throw std::logic_error(c.dbName + ": the record kinds run into the pictures");
    std::sort(b.records.begin(), b.records.end(),
              [](const Record& x, const Record& y) { return x.id < y.id; });
    for (size_t i = 1; i < b.records.size(); ++i)
        if (b.records[i].id == b.records[i - 1].id)
            throw std::logic_error(c.dbName + ": record " + std::to_string(b.records[i].id) +
                                   " written twice");
    return b.records;
}

bool WriteWorldDatabase(const Content& c, const std::vector<Record>& records, const std::string& path) {
    CPdbFile db;
    CPdbHeader& h = db.Header();
    std::memset(h.name, 0, sizeof h.name);
    std::memcpy(h.name, c.dbName.data(), std::min<size_t>(c.dbName.size(), 31));
    std::memset(h.type, ' ', 4);
    std::memcpy(h.type, c.type.data(), std::min<size_t>(c.type.size(), 4));
    std::memcpy(h.creator, "VnTl", 4);
    h.creationDate = h.modificationDate = kBuiltDate1904;
    for (const Record& r : records)
        if (!db.AddRecord(r.id, r.data.data(), static_cast<u32>(r.data.size()))) return false;
    return db.Save(path.c_str()) == 1;
}

}  // namespace world
