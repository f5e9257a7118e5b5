// Palm record databases: every content file and every saved game. A `CPdbFile` either reads an
// existing database (Open ... ReadRecord ... Close) or builds a new one (header set-up, AddRecord,
// Save); one object never does both. The header and record list are big-endian; record contents are
// whatever their loaders make of them.
#pragma once

#include "core/PointerArray.h"
#include "core/Types.h"

#include <memory>
#include <string>
#include <vector>

namespace plat {
class File;
}

class CGame;
class CFileFinder;
class CStr;

// Seconds between 1904-01-01 (the handheld's epoch) and 1970-01-01.
constexpr u32 kPdbEpochOffset = 2082844800u;
constexpr u32 kPdbHeaderSize = 78;
constexpr u32 kPdbEntrySize = 8;

// The 78-byte file header, field for field, numbers in host order.
struct CPdbHeader {
    char name[32];
    u16 attributes;
    u16 version;
    u32 creationDate;
    u32 modificationDate;
    u32 lastBackupDate;
    u32 modificationNumber;
    u32 appInfoId;
    u32 sortInfoId;
    char type[4];
    char creator[4];
    u32 uniqueIdSeed;
    u32 nextRecordListId;
    u16 recordCount;
};

// One entry of an open database's record list.
struct CPdbRecordEntry {
    u32 offset = 0;
    u32 size = 0;
    u16 key = 0;
};

// One record read from a file: a heap block of exactly size bytes that belongs to the caller, who
// hands it back with FreeDataBlock.
struct CRecordData {
    u8* data = nullptr;
    u32 size = 0;
};

void FreeDataBlock(CRecordData* record);

// An owned record handle that goes back through FreeDataBlock.
struct CRecordDataDeleter {
    void operator()(CRecordData* record) const { FreeDataBlock(record); }
};
using CRecordDataPtr = std::unique_ptr<CRecordData, CRecordDataDeleter>;

// One record of a database being built; the database holds its own copy of the bytes.
struct CPdbPendingRecord {
    u16 id = 0;
    u8* data = nullptr;
    u32 size = 0;
};

// Frees every pending record of a database being built and empties the array.
void DeleteRecordEntries(CPointerArray& records);

// Forward copy of n bytes; returns dst + n. The regions must not overlap.
u8* CopyBytes(u8* dst, const u8* src, u32 n);

// The file functions of the game: a name that contains '/' is a path of its own, any other name lives
// in the program folder that the finder holds (the platform's program folder without a finder).
std::string BuildProgramPath(const char* name, const CFileFinder* finder);
std::unique_ptr<plat::File> OpenFileForReading(const char* name, const CFileFinder* finder);
std::unique_ptr<plat::File> CreateFileForWriting(const char* name, const CFileFinder* finder);
int DeleteProgramFile(const char* name, const CFileFinder* finder);

class CPdbFile {
public:
    explicit CPdbFile(CGame* game = nullptr, CFileFinder* finder = nullptr);
    virtual ~CPdbFile();
    CPdbFile(const CPdbFile&) = delete;
    CPdbFile& operator=(const CPdbFile&) = delete;

    static void InitHeader(CPdbHeader& header, bool backup, bool resource);
    // Converts every numeric field between file order and host order; the same call both ways.
    static void SwapHeader(CPdbHeader& header);
    // The header in file layout (78 bytes) and back.
    static void EncodeHeader(const CPdbHeader& header, u8* out);
    static void DecodeHeader(const u8* in, CPdbHeader& header);

    // Reading. Open appends ".pdb" unless the name carries it and checks the creator ("VnTl" when
    // none is given); OpenFound always appends ".pdb" and checks nothing; OpenPath takes a finished
    // path. Each returns 1 on success, 0 otherwise.
    int Open(const char* name, const char* creator = nullptr);
    int OpenFound(const CStr& name);
    int OpenPath(const std::string& path);
    CRecordData* ReadRecord(u32 id);
    int HasCreator(const char* code) const;
    int HasType(const char* code) const;
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // Building.
    void InitSavedGameHeader(const char* name);
    // Returns 0 when the database already holds as many records as the format can count.
    int AddRecord(u16 id, const void* data, u32 size);
    // Writes the database beside a temporary copy and renames it over the target, so that a failure
    // leaves any older file of that name as it was. Returns 1 on success, 0 on any failure.
    int Save(const char* name);
    // The whole file as Save writes it; false when it would not fit the format's 32-bit offsets.
    bool BuildImage(std::vector<u8>& out);
    int Delete(const char* name);
    void Release();

    CPdbHeader& Header() { return header_; }
    const CPdbHeader& Header() const { return header_; }
    u32 GetRecordCount() const { return recordCount_; }
    const CPdbRecordEntry& GetEntry(u32 index) const { return entries_[index]; }
    CPointerArray& PendingRecords() { return pending_; }
    CFileFinder* GetFinder() const { return finder_; }
    CGame* GetGame() const { return game_; }

private:
    bool ReadDirectory();

    CGame* game_;
    CFileFinder* finder_;
    std::unique_ptr<plat::File> file_;
    CPdbHeader header_;
    u32 recordCount_ = 0;
    std::vector<CPdbRecordEntry> entries_;
    CPointerArray pending_;
};
