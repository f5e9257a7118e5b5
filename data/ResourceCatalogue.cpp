#include "data/ResourceCatalogue.h"

#include <algorithm>
#include <cstring>

#include "core/PdbFile.h"
#include "core/Stream.h"
#include "sound/Mixer.h"
#include "sound/SoundManager.h"

namespace {

constexpr u32 kTitleBytes = 20;
constexpr u32 kSampleNameBytes = 22;
constexpr u32 kSampleHeaderBytes = 30;
constexpr u32 kOrderBytes = 128;

void CopyBytes(CStream& s, u8* out, u32 n) {
    for (u32 i = 0; i < n; ++i) s.SerializeU8(out[i]);
}

// A u16 of the module header moves as the stream moves a u16 (aligned), its two bytes kept as stored.
void CopyWord(CStream& s, u8* out) {
    u16 v = static_cast<u16>(out[0] | out[1] << 8);
    s.SerializeU16(v);
    out[0] = static_cast<u8>(v & 0xFF);
    out[1] = static_cast<u8>(v >> 8);
}

u16 BigEndianWord(const u8* p) { return static_cast<u16>(p[0] << 8 | p[1]); }

}  // namespace

void SerializeModuleHeader(CStream& s, std::array<u8, kModuleHeaderSize>& header) {
    u8* h = header.data();
    CopyBytes(s, h, kTitleBytes);
    for (u32 i = 0; i < kModuleInstruments; ++i) {
        u8* sample = h + kTitleBytes + i * kSampleHeaderBytes;
        CopyBytes(s, sample, kSampleNameBytes);
        CopyWord(s, sample + 22);      // length in words
        CopyBytes(s, sample + 24, 2);  // finetune, volume
        CopyWord(s, sample + 26);      // repeat start
        CopyWord(s, sample + 28);      // repeat length
    }
    u8* tail = h + kTitleBytes + kModuleInstruments * kSampleHeaderBytes;
    CopyBytes(s, tail, 2 + kOrderBytes + 4);  // song length, restart, orders, tag
}

// ---- songs ----

bool CSong::LoadPatterns() {
    if (patternsRead) return true;
    CRecordBuffers loaded;
    std::vector<ModuleBlock> blocks;
    for (u32 i = 0; i < patternCount; ++i) {
        CRecordPtr record = ReadRecordPtr(database, static_cast<u32>(firstPatternKey) + i);
        if (!record) return false;
        blocks.push_back({record->data, record->size});
        loaded.push_back(std::move(record));
    }
    records = std::move(loaded);
    patterns = std::move(blocks);
    patternsRead = true;
    return true;
}

void CSong::FreePatterns() {
    for (ModuleBlock& b : patterns) b = {};
    records.clear();
    patternsRead = false;
}

bool CSong::LoadMusic(CMusicSource& out) {
    if (catalogue == nullptr || !catalogue->LoadMusic(this)) return false;
    CSampleBank* bank = catalogue->FindBankByName(bankName.c_str());
    if (bank == nullptr) return false;
    out.header = header.data();
    out.patterns = patterns;
    out.samples = std::span<const ModuleBlock>(bank->first.data(), bank->sampleCount);
    out.samples2 = std::span<const ModuleBlock>(bank->second.data(), bank->sampleCount);
    return true;
}

// ---- sounds ----

bool CWorldSound::Load() {
    if (record) return true;
    CRecordPtr r = ReadRecordPtr(database, key);
    if (!r || r->size < headerLength) return false;
    record = std::move(r);
    SetImage(record->data + headerLength, record->size - headerLength);
    return true;
}

void CWorldSound::Unload(CSoundManager* sound) {
    if (sound) sound->ReleaseSound(this);
    DeleteVoices();
    SetImage(nullptr, 0);
    record.reset();
}

// ---- the catalogue ----

CResourceCatalogue::~CResourceCatalogue() { Clear(); }

bool CResourceCatalogue::Load(CPdbFile* database, u16& key, u8 version) {
    u16 banks = 0, songs = 0, sounds = 0;
    {
        CRecordPtr record = ReadRecordPtr(database, key);
        if (!record) return false;
        CStream s;
        s.InitForReading(*record);
        s.MatchByte(0x2C);
        s.SerializeU16(banks);
        s.SerializeU16(songs);
        s.SerializeU16(sounds);
        if (s.HasError()) return false;
        ++key;
    }
    for (u32 i = 0; i < banks; ++i)
        if (!LoadBank(database, key, version)) return false;
    for (u32 i = 0; i < songs; ++i)
        if (!LoadSong(database, key, version)) return false;
    for (u32 i = 0; i < sounds; ++i)
        if (!LoadSound(database, key, version)) return false;
    return true;
}

bool CResourceCatalogue::LoadBank(CPdbFile* database, u16& key, u8 version) {
    auto bank = std::make_unique<CSampleBank>();
    CRecordPtr headerRecord = ReadRecordPtr(database, key);
    if (!headerRecord) return false;
    CStream s;
    s.InitForReading(*headerRecord);
    const char* name = nullptr;
    s.SerializeStringRef(name);
    SerializeModuleHeader(s, bank->header);
    s.SerializeU16(bank->sampleCount);
    if (version > 65) {
        s.SerializeU16(bank->value1);
        s.SerializeU16(bank->value2);
    }
    // A bank of more than 31 samples has no headers for the rest, so the records that follow cannot
    // be counted: the catalogue stops here.
    if (s.HasError() || bank->sampleCount > kModuleInstruments) return false;
    bank->name = name ? name : "";
    bank->records.push_back(std::move(headerRecord));
    ++key;
    bool complete = true;
    for (u32 i = 0; i < bank->sampleCount; ++i) {
        const u16 words = BigEndianWord(bank->header.data() + kTitleBytes + i * kSampleHeaderBytes + 22);
        bank->lengthWords[i] = words;
        const u32 bytes = static_cast<u32>(words) * 2;
        const bool split = words > kSplitSampleWords;
        CRecordPtr part = ReadRecordPtr(database, key);
        if (!part) return false;
        ++key;
        if (part->size < std::min(bytes, kModuleFirstPart)) complete = false;
        bank->first[i] = {part->data, part->size};
        bank->records.push_back(std::move(part));
        if (split) {
            CRecordPtr rest = ReadRecordPtr(database, key);
            if (!rest) return false;
            ++key;
            if (rest->size < bytes - kModuleFirstPart) complete = false;
            bank->second[i] = {rest->data, rest->size};
            bank->records.push_back(std::move(rest));
        }
    }
    // Sample data shorter than its header states would be played past its end: the bank is refused
    // and its music stays silent, while the rest of the catalogue loads.
    if (complete) banks_.push_back(std::move(bank));
    return true;
}

bool CResourceCatalogue::LoadSong(CPdbFile* database, u16& key, u8 version) {
    auto song = std::make_unique<CSong>();
    song->catalogue = this;
    song->database = database;
    {
        CRecordPtr record = ReadRecordPtr(database, key);
        if (!record) return false;
        CStream s;
        s.InitForReading(*record);
        const char* name = nullptr;
        const char* bank = nullptr;
        s.SerializeStringRef(name);
        s.SerializeStringRef(bank);
        s.SerializeU16(song->patternCount);
        s.SerializeU16(song->value1);
        s.SerializeU16(song->value2);
        if (s.HasError()) return false;
        song->name = name ? name : "";
        song->bankName = bank ? bank : "";
        ++key;
    }
    {
        CRecordPtr record = ReadRecordPtr(database, key);
        if (!record) return false;
        CStream s;
        s.InitForReading(*record);
        SerializeModuleHeader(s, song->header);
        if (s.HasError()) return false;
        ++key;
    }
    if (static_cast<u32>(key) + song->patternCount > 0xFFFF) return false;
    song->firstPatternKey = key;
    song->patterns.assign(song->patternCount, ModuleBlock{});
    key = static_cast<u16>(key + song->patternCount);
    songs_.push_back(std::move(song));
    return true;
}

bool CResourceCatalogue::LoadSound(CPdbFile* database, u16& key, u8 version) {
    auto sound = std::make_unique<CWorldSound>();
    CRecordPtr record = ReadRecordPtr(database, key);
    if (!record) return false;
    CStream s;
    s.InitForReading(*record);
    const char* name = nullptr;
    s.SerializeStringRef(name);
    s.SerializeU16(sound->s1);
    s.SerializeU16(sound->s2);
    s.SerializeU8(sound->s3);
    s.SerializeU8(sound->s4);
    s.SerializeU8(sound->s5);
    if (version > 109) s.Align(4);
    if (s.HasError() || s.GetOffset() > 255) return false;
    sound->name = name ? name : "";
    sound->headerLength = static_cast<u8>(s.GetOffset());
    sound->database = database;
    sound->key = key;
    ++key;
    sounds_.push_back(std::move(sound));
    return true;
}

CWorldSound* CResourceCatalogue::FindResourceByName(const char* name) const {
    if (name == nullptr) return nullptr;
    for (const auto& s : sounds_)
        if (s->name == name) return s.get();
    return nullptr;
}

CSong* CResourceCatalogue::FindSongByName(const char* name) const {
    if (name == nullptr) return nullptr;
    for (const auto& s : songs_)
        if (s->name == name) return s.get();
    return nullptr;
}

CSampleBank* CResourceCatalogue::FindBankByName(const char* name) const {
    if (name == nullptr) return nullptr;
    for (const auto& b : banks_)
        if (b->name == name) return b.get();
    return nullptr;
}

CSoundEntry* CResourceCatalogue::FindSound(std::string_view name) {
    for (const auto& s : sounds_)
        if (s->name == name) return s->Load() ? s.get() : nullptr;
    return nullptr;
}

CMusicEntry* CResourceCatalogue::FindMusic(std::string_view name) {
    for (const auto& s : songs_)
        if (s->name == name) return s.get();
    return nullptr;
}

i32 CResourceCatalogue::PlaySound(const char* name, i32 relative) {
    if (sound_ == nullptr || name == nullptr) return kNoChannel;
    return sound_->PlayEffect(FindSound(name), relative);
}

i32 CResourceCatalogue::PlaySoundLooped(const char* name, i32 relative) {
    if (sound_ == nullptr || name == nullptr) return kNoChannel;
    return sound_->PlayEffectLooped(FindSound(name), relative);
}

i32 CResourceCatalogue::PlayMusic(const char* name) {
    if (sound_ == nullptr || name == nullptr) return kNoChannel;
    return sound_->PlayMusic(FindMusic(name));
}

bool CResourceCatalogue::LoadMusic(CSong* song) {
    for (const auto& other : songs_)
        if (other.get() != song) other->FreePatterns();
    return song != nullptr && song->LoadPatterns();
}

void CResourceCatalogue::MarkSharedSounds(const std::vector<const char*>& named) {
    for (const auto& s : sounds_) s->shared = 1;
    for (const char* name : named)
        if (CWorldSound* s = FindResourceByName(name)) s->shared = 0;
}

void CResourceCatalogue::PreloadMarkedSounds() {
    for (const auto& s : sounds_)
        if (!s->shared && s->needed && !s->IsLoaded()) s->Load();
}

void CResourceCatalogue::UpdateResidency() {
    for (const auto& s : sounds_)
        if (!s->shared && !s->needed) s->Unload(sound_);
    PreloadMarkedSounds();
}

void CResourceCatalogue::Clear() {
    if (sound_) {
        sound_->ReleaseMusic();
        if (Mixer* mixer = sound_->GetMixer()) {
            mixer->StopAllSamples();
            mixer->StopAllMusic();
        }
    }
    for (const auto& s : sounds_) s->Unload(sound_);
    sounds_.clear();
    songs_.clear();
    banks_.clear();
}

void CResourceCatalogue::TruncateTo(const Mark& mark) {
    if (songs_.size() > mark.songs || banks_.size() > mark.banks) {
        // The piece playing may be one of those that go.
        if (sound_) sound_->ReleaseMusic();
    }
    while (sounds_.size() > mark.sounds) {
        sounds_.back()->Unload(sound_);
        sounds_.pop_back();
    }
    if (songs_.size() > mark.songs) songs_.resize(mark.songs);
    if (banks_.size() > mark.banks) banks_.resize(mark.banks);
}
