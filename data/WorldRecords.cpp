#include "data/WorldRecords.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/Str.h"

#include "core/PdbFile.h"
#include "core/PointerArray.h"
#include "core/Stream.h"
#include "data/TextureSet.h"

namespace {

// One record of a kind: read at key, a stream over it and the tag consumed when present. The record
// is handed to the list only when the whole kind read cleanly, so a damaged record changes nothing.
struct KindRecord {
    CRecordPtr record;
    CStream stream;

    bool Open(CPdbFile* database, u16 key, u8 tag) {
        record = ReadRecordPtr(database, key);
        if (!record) return false;
        stream.InitForReading(*record);
        stream.MatchByte(tag);
        return true;
    }
};

template <class T>
void Commit(CWorldRecordList<T>& list, std::vector<std::unique_ptr<T>>& items, CRecordPtr record) {
    for (auto& item : items) list.items.push_back(std::move(item));
    list.records.push_back(std::move(record));
}

}  // namespace

std::vector<const char*> ReadStringRefs(CStream& s) {
    CPointerArray array;
    array.SetOwnsElements(0);
    s.ReadStringArray(array);
    std::vector<const char*> out;
    for (int i = 0; i < array.GetCount(); ++i) out.push_back(array.At<const char>(i));
    array.RemoveAll();
    return out;
}

bool CQuestList::Load(CPdbFile* database, u16& key, u8 version) {
    KindRecord k;
    if (!k.Open(database, key, 0x08)) return false;
    CStream& s = k.stream;
    u16 count = 0;
    s.SerializeU16(count);
    std::vector<std::unique_ptr<CQuest>> read;
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        auto q = std::make_unique<CQuest>();
        s.MatchByte(0x09);
        s.SerializeStringRef(q->id);
        s.SerializeStringRef(q->title);
        s.SerializeStringRef(q->description);
        read.push_back(std::move(q));
    }
    if (s.HasError()) return false;
    Commit(*this, read, std::move(k.record));
    ++key;
    return true;
}

bool CScriptList::Load(CPdbFile* database, u16& key, u8 version) {
    u16 count = 0;
    {
        KindRecord k;
        if (!k.Open(database, key, 0x27)) return false;
        k.stream.SerializeU16(count);
        if (k.stream.HasError()) return false;
    }
    u16 at = static_cast<u16>(key + 1);
    std::vector<std::unique_ptr<CScript>> read;
    CRecordBuffers kept;
    for (u32 i = 0; i < count; ++i, ++at) {
        KindRecord k;
        if (at == 0 || !k.Open(database, at, 0x28)) {
            key = at;
            return false;
        }
        CStream& s = k.stream;
        auto script = std::make_unique<CScript>();
        s.SerializeStringRef(script->id);
        if (version > 51) s.SerializeU8(script->value);
        u8* code = nullptr;
        s.SerializeBlob(script->codeLength, code);
        script->code = code;
        if (s.HasError()) {
            key = at;
            return false;
        }
        read.push_back(std::move(script));
        kept.push_back(std::move(k.record));
    }
    for (auto& s : read) items.push_back(std::move(s));
    for (auto& r : kept) records.push_back(std::move(r));
    key = at;
    return true;
}

bool CPageSequenceList::Load(CPdbFile* database, u16& key, u8 version) {
    KindRecord k;
    if (!k.Open(database, key, 0x35)) return false;
    CStream& s = k.stream;
    std::vector<const char*> readIds;
    u16 idCount = 0;
    s.SerializeU16(idCount);
    for (u32 i = 0; i < idCount && !s.HasError(); ++i) {
        const char* id = nullptr;
        s.SerializeStringRef(id);
        readIds.push_back(id);
    }
    u16 count = 0;
    s.SerializeU16(count);
    std::vector<std::unique_ptr<CPageSequence>> read;
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        auto seq = std::make_unique<CPageSequence>();
        s.MatchByte(0x36);
        s.SerializeStringRef(seq->id);
        s.SerializeStringRef(seq->text);
        if (version > 112) s.SerializeStringRef(seq->text2);
        u16 pages = 0;
        s.SerializeU16(pages);
        for (u32 p = 0; p < pages && !s.HasError(); ++p) {
            CPage page;
            s.MatchByte(0x37);
            s.SerializeStringRef(page.text1);
            s.SerializeStringRef(page.text2);
            if (version > 101) s.SerializeStringRef(page.text3);
            seq->pages.push_back(page);
        }
        read.push_back(std::move(seq));
    }
    if (s.HasError()) return false;
    ids.insert(ids.end(), readIds.begin(), readIds.end());
    Commit(*this, read, std::move(k.record));
    ++key;
    return true;
}

bool CSkyList::Load(CPdbFile* database, u16& key, u8 version) {
    KindRecord k;
    if (!k.Open(database, key, 0x42)) return false;
    CStream& s = k.stream;
    u16 count = 0;
    s.SerializeU16(count);
    std::vector<std::unique_ptr<CSkyRecord>> read;
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        auto sky = std::make_unique<CSkyRecord>();
        s.MatchByte(0x41);
        s.SerializeStringRef(sky->id);
        if (version > 38) s.SerializeStringRef(sky->picture);
        if (sky->picture == nullptr) sky->picture = sky->id;
        s.SerializeU8(sky->timeClass);
        s.SerializeU8(sky->weatherLevel);
        if (version > 31) {
            s.SerializeU16(sky->word);
            s.SerializeU8(sky->value);
        }
        if (version > 75) s.SerializeU8(sky->last);
        read.push_back(std::move(sky));
    }
    if (s.HasError()) return false;
    Commit(*this, read, std::move(k.record));
    ++key;
    return true;
}

u8 SkyTimeClassOfHour(u32 hour) {
    if (hour <= 5) return 2;
    if (hour <= 7) return 4;
    if (hour <= 19) return 1;
    if (hour <= 21) return 4;
    return 2;
}

CSkyRecord* CSkyList::ChooseSky(u32 hour, i32 weatherLevel) const {
    const u8 timeClass = SkyTimeClassOfHour(hour % 24);
    CSkyRecord* best = nullptr;
    i32 bestDistance = 1000;
    for (const auto& sky : items) {
        if (sky->timeClass != timeClass) continue;
        const i32 distance = std::abs(static_cast<i32>(sky->weatherLevel) - weatherLevel);
        if (distance < bestDistance) {
            best = sky.get();
            bestDistance = distance;
        }
    }
    return best;
}

bool CSkyList::PrepareSkyPicture(CTextureSet& textures, const char* id, u8& value, u16& word, u8& last,
                                 u16& pictureIndex) const {
    const CSkyRecord* sky = FindById(id);
    if (sky == nullptr) return false;
    value = sky->value;
    word = sky->word;
    last = sky->last;
    pictureIndex = textures.FindPictureIndex(sky->picture);
    if (pictureIndex) textures.EnsureLoaded(textures.PictureAt(pictureIndex));
    return true;
}

CSkyRecord* CSkyList::LoadSkyPictures(CTextureSet& textures, u32 hour, i32 weatherLevel) const {
    CSkyRecord* sky = ChooseSky(hour, weatherLevel);
    if (sky) textures.EnsureLoaded(textures.FindPicture(sky->picture));
    return sky;
}

bool CPictureSetList::Load(CPdbFile* database, u16& key, u8 version) {
    KindRecord k;
    if (!k.Open(database, key, 0x30)) return false;
    CStream& s = k.stream;
    u16 count = 0;
    s.SerializeU16(count);
    const size_t before = items.size();
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        auto set = std::make_unique<CPictureSet>();
        s.MatchByte(0x31);
        s.SerializeStringRef(set->id);
        s.SerializeU8(set->value);
        if (version >= 26 && version <= 108) {
            const char* dropped = nullptr;
            s.SerializeStringRef(dropped);
        }
        set->pictures = ReadStringRefs(s);
        set->idList = ReadStringRefs(s);
        items.push_back(std::move(set));
    }
    // The extension block names elements of the whole list, so the new sets take part already.
    if (s.HasError() || !ReadIdReferenceList(*this, s, version)) {
        items.resize(before);
        return false;
    }
    records.push_back(std::move(k.record));
    ++key;
    return true;
}

void CPictureSetList::ResolvePictureIndices(const CTextureSet& textures) {
    for (const auto& set : items) {
        set->pictureIndices.clear();
        for (const char* name : set->pictures) set->pictureIndices.push_back(textures.FindPictureIndex(name));
    }
}

bool CGlobalVarList::Load(CPdbFile* database, u16& key, u8 version) {
    KindRecord k;
    if (!k.Open(database, key, 0x10)) return false;
    CStream& s = k.stream;
    u16 count = 0;
    s.SerializeU16(count);
    std::vector<std::unique_ptr<CGlobalVar>> read;
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        auto var = std::make_unique<CGlobalVar>();
        s.MatchByte(0x11);
        s.SerializeStringRef(var->id);
        if (version < 68) {
            // Older worlds stored a value with each variable; a new game starts every variable at 0.
            u8 isText = 0;
            s.SerializeU8(isText);
            if (isText) {
                const char* dropped = nullptr;
                s.SerializeStringRef(dropped);
            } else {
                u32 dropped = 0;
                s.SerializeU32(dropped);
            }
        }
        read.push_back(std::move(var));
    }
    if (s.HasError()) return false;
    Commit(*this, read, std::move(k.record));
    ++key;
    return true;
}

bool CNpcProfileList::Load(CPdbFile* database, u16& key, u8 version) {
    KindRecord k;
    if (!k.Open(database, key, 0x3B)) return false;
    CStream& s = k.stream;
    u16 count = 0;
    s.SerializeU16(count);
    std::vector<std::unique_ptr<CNpcProfile>> read;
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        auto profile = std::make_unique<CNpcProfile>();
        s.MatchByte(0x3A);
        s.SerializeStringRef(profile->id);
        if (version >= 112) s.SerializeStringRef(profile->text);
        u16 pictures = 0;
        s.SerializeU16(pictures);
        for (u32 p = 0; p < pictures && !s.HasError(); ++p) {
            CProfilePicture picture;
            s.SerializeStringRef(picture.picture);
            for (u16& v : picture.values) s.SerializeU16(v);
            profile->pictures.push_back(picture);
        }
        read.push_back(std::move(profile));
    }
    if (s.HasError()) return false;
    Commit(*this, read, std::move(k.record));
    ++key;
    return true;
}

void LoadProfilePictures(CTextureSet& textures, const CNpcProfile& profile) {
    for (const CProfilePicture& p : profile.pictures) textures.EnsureLoaded(textures.FindPicture(p.picture));
}

void ReleaseProfilePictures(CTextureSet& textures, const CNpcProfile& profile) {
    for (const CProfilePicture& p : profile.pictures) textures.UnloadEntry(textures.FindPicture(p.picture));
}

void SerializeScriptValue(CStream& s, std::string& text, i32& number, u8& isText) {
    s.SerializeU8(isText);
    if (isText) {
        CStr value(text.c_str());
        s.SerializeStr(value);
        if (!s.IsWriting()) {
            text = value.GetText();
            number = static_cast<i32>(std::strtol(text.c_str(), nullptr, 10));
        }
    } else {
        u32 raw = static_cast<u32>(number);
        s.SerializeU32(raw);
        if (!s.IsWriting()) {
            number = static_cast<i32>(raw);
            text = std::to_string(static_cast<long>(number));
        }
    }
}

bool CGlobalVarList::Save(CStream& s) const {
    s.MatchByte(0x10);
    u16 count = static_cast<u16>(items.size());
    s.SerializeU16(count);
    for (const auto& var : items) {
        CStr name(var->id ? var->id : "");
        s.SerializeStr(name);
        std::string text = var->text;
        i32 number = var->number;
        u8 isText = var->type;
        SerializeScriptValue(s, text, number, isText);
    }
    return !s.HasError();
}

bool CGlobalVarList::Restore(CStream& s) {
    s.MatchByte(0x10);
    u16 count = 0;
    s.SerializeU16(count);
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        CStr name;
        s.SerializeStr(name);
        std::string text;
        i32 number = 0;
        u8 isText = 0;
        SerializeScriptValue(s, text, number, isText);
        if (s.HasError()) break;
        if (CGlobalVar* var = FindById(name.GetText())) {
            var->text = text;
            var->number = number;
            var->type = isText;
        }
    }
    return !s.HasError();
}
