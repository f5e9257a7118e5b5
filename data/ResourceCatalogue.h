// The world's catalogue of sounds and music (record kind 0x2c): sample banks (the instruments of the
// tracker music, loaded whole with the world), songs (their patterns are read when the song is
// played) and sounds (one WAV image each, read on first use or when the current map needs it). The
// sound front-end finds both by name through the catalogue interface it declares.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Types.h"
#include "data/RecordBuffer.h"
#include "sound/ModuleData.h"
#include "sound/SoundEntry.h"

class CPdbFile;
class CSoundManager;
class CResourceCatalogue;

// Sample data beyond this many 16-bit words goes into a second record.
constexpr u32 kSplitSampleWords = 32000;

class CSampleBank {
public:
    std::string name;
    std::array<u8, kModuleHeaderSize> header{};
    u16 sampleCount = 0;
    u16 value1 = 0;  // stored from format version 66 on; kept, read by nobody here
    u16 value2 = 0;
    // Indexed by sample: the first and second data record (second empty when not split), and the
    // length in words from the sample's header.
    std::array<ModuleBlock, kModuleInstruments> first{};
    std::array<ModuleBlock, kModuleInstruments> second{};
    std::array<u16, kModuleInstruments> lengthWords{};
    CRecordBuffers records;  // the header record and every sample record, kept loaded
};

class CSong : public CMusicEntry {
public:
    // Reads the pattern records unless they are loaded; false when one is missing.
    bool LoadPatterns();
    void FreePatterns();
    bool PatternsLoaded() const { return patternsRead; }
    // Loads this song (freeing the others' patterns) and describes it with its bank's samples.
    bool LoadMusic(CMusicSource& out) override;

    CResourceCatalogue* catalogue = nullptr;
    CPdbFile* database = nullptr;
    std::string name;
    std::string bankName;
    std::array<u8, kModuleHeaderSize> header{};
    u16 patternCount = 0;
    u16 value1 = 0;
    u16 value2 = 0;
    u16 firstPatternKey = 0;
    std::vector<ModuleBlock> patterns;  // null data while not loaded
    CRecordBuffers records;             // the pattern records while loaded
    bool patternsRead = false;
};

// One sound: its record (loaded on demand), the WAV image inside it and the voices the sound front-end
// makes from that image.
class CWorldSound : public CSoundEntry {
public:
    // Reads the record when it is not loaded; false when it is missing or shorter than its header.
    bool Load();
    // Deletes the voices (stopping whatever plays them) and frees the record.
    void Unload(CSoundManager* sound);
    bool IsLoaded() const { return record != nullptr; }

    std::string name;
    CPdbFile* database = nullptr;
    u16 key = 0;
    u16 s1 = 0, s2 = 0;
    u8 s3 = 0, s4 = 0, s5 = 0;
    u8 shared = 1;  // no creature kind and no map-object type names it
    u8 needed = 0;  // the current map uses a creature kind or map-object type that names it
    u8 headerLength = 0;
    CRecordPtr record;
};

class CResourceCatalogue : public CSoundCatalogue {
public:
    CResourceCatalogue() = default;
    ~CResourceCatalogue() override;
    CResourceCatalogue(const CResourceCatalogue&) = delete;
    CResourceCatalogue& operator=(const CResourceCatalogue&) = delete;

    // The sound front-end that plays the catalogue's sounds and music (may be null: silence).
    void SetSoundManager(CSoundManager* sound) { sound_ = sound; }
    CSoundManager* GetSoundManager() const { return sound_; }

    // Reads the catalogue's records from `key` on and advances it past them. False, with key at the
    // record that failed, when a record is missing or damaged (a bank stating more than 31 samples
    // included); a bank whose sample data is shorter than its header states is left out and the
    // catalogue goes on.
    bool Load(CPdbFile* database, u16& key, u8 version);

    // Plays a sound by name at a relative volume 0..10: the channel, or kNoChannel when the name is
    // unknown or nothing could be played.
    i32 PlaySound(const char* name, i32 relative);
    i32 PlaySoundLooped(const char* name, i32 relative);
    i32 PlayMusic(const char* name);

    CWorldSound* FindResourceByName(const char* name) const;
    CSong* FindSongByName(const char* name) const;
    CSampleBank* FindBankByName(const char* name) const;

    // Frees the patterns of every other song, then loads the song's patterns.
    bool LoadMusic(CSong* song);

    // Sets every sound's shared flag, then clears it for each name in `named` (the sounds named by
    // creature kinds and map-object types).
    void MarkSharedSounds(const std::vector<const char*>& named);
    void PreloadMarkedSounds();
    // Unloads every sound that is neither shared nor needed, then preloads the needed ones.
    void UpdateResidency();

    // Stops all music and samples, then deletes every bank, song and sound.
    void Clear();
    struct Mark {
        size_t banks = 0, songs = 0, sounds = 0;
    };
    Mark GetMark() const { return {banks_.size(), songs_.size(), sounds_.size()}; }
    // Drops what was added after the mark (a world that failed to load leaves nothing).
    void TruncateTo(const Mark& mark);

    // The sound front-end's look-ups (exact, case-sensitive names). A sound is loaded when found.
    CSoundEntry* FindSound(std::string_view name) override;
    CMusicEntry* FindMusic(std::string_view name) override;

    const std::vector<std::unique_ptr<CSampleBank>>& Banks() const { return banks_; }
    const std::vector<std::unique_ptr<CSong>>& Songs() const { return songs_; }
    const std::vector<std::unique_ptr<CWorldSound>>& Sounds() const { return sounds_; }

private:
    bool LoadBank(CPdbFile* database, u16& key, u8 version);
    bool LoadSong(CPdbFile* database, u16& key, u8 version);
    bool LoadSound(CPdbFile* database, u16& key, u8 version);

    CSoundManager* sound_ = nullptr;
    std::vector<std::unique_ptr<CSampleBank>> banks_;
    std::vector<std::unique_ptr<CSong>> songs_;
    std::vector<std::unique_ptr<CWorldSound>> sounds_;
};

// Reads the 1,084-byte tracker-module header field by field through the stream at its cursor (each
// u16 2-aligned as the stream aligns it), keeping the stored big-endian bytes as they are.
class CStream;
void SerializeModuleHeader(CStream& stream, std::array<u8, kModuleHeaderSize>& header);
