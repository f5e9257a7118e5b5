#include "core/PdbFile.h"

#include "core/FileFinder.h"
#include "core/Str.h"
#include "platform/Clock.h"
#include "platform/Files.h"

#include <bit>
#include <cstring>
#include <limits>

namespace {

u16 Swap16(u16 v) { return static_cast<u16>((v >> 8) | (v << 8)); }
u32 Swap32(u32 v) { return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24); }

u32 LoadBE32(const u8* p) { return (u32(p[0]) << 24) | (u32(p[1]) << 16) | (u32(p[2]) << 8) | u32(p[3]); }

void StoreBE32(u8* p, u32 v) {
    p[0] = u8(v >> 24);
    p[1] = u8(v >> 16);
    p[2] = u8(v >> 8);
    p[3] = u8(v);
}

bool ContainsPdb(const char* name) { return std::strstr(name, ".pdb") != nullptr; }

std::string WithPdb(const char* name) {
    std::string s = name ? name : "";
    if (!ContainsPdb(s.c_str())) s += ".pdb";
    return s;
}

u32 Now1904() {
    // The format's dates are 32-bit seconds since 1904; they wrap in 2040 like every other reader's.
    return static_cast<u32>(plat::Time()) + kPdbEpochOffset;
}

}  // namespace

void FreeDataBlock(CRecordData* record) {
    if (!record) return;
    delete[] record->data;
    record->data = nullptr;
    record->size = 0;
    delete record;
}

void DeleteRecordEntries(CPointerArray& records) {
    for (int i = 0; i < records.GetCount(); ++i) {
        auto* rec = records.At<CPdbPendingRecord>(i);
        if (rec) {
            delete[] rec->data;
            delete rec;
        }
    }
    records.RemoveAll();
}

u8* CopyBytes(u8* dst, const u8* src, u32 n) {
    if (n) std::memcpy(dst, src, n);
    return dst + n;
}

std::string BuildProgramPath(const char* name, const CFileFinder* finder) {
    std::string n = name ? name : "";
    if (n.find('/') != std::string::npos) return n;
    return (finder ? finder->GetFolder() : plat::ProgramFolder()) + n;
}

std::unique_ptr<plat::File> OpenFileForReading(const char* name, const CFileFinder* finder) {
    return plat::OpenFileForReading(BuildProgramPath(name, finder));
}

std::unique_ptr<plat::File> CreateFileForWriting(const char* name, const CFileFinder* finder) {
    return plat::CreateFileForWriting(BuildProgramPath(name, finder));
}

int DeleteProgramFile(const char* name, const CFileFinder* finder) {
    return plat::DeleteFile(BuildProgramPath(name, finder)) ? 1 : 0;
}

CPdbFile::CPdbFile(CGame* game, CFileFinder* finder) : game_(game), finder_(finder) {
    InitHeader(header_, false, false);
}

CPdbFile::~CPdbFile() {
    Close();
    Release();
}

void CPdbFile::InitHeader(CPdbHeader& header, bool backup, bool resource) {
    std::memset(&header, 0, sizeof header);
    std::memcpy(header.name, "db", 2);
    header.attributes = static_cast<u16>((resource ? 0x0001 : 0) | (backup ? 0x0008 : 0));
    header.version = 1;
    header.creationDate = Now1904();
    header.modificationDate = Now1904();
    std::memcpy(header.type, "    ", 4);
    std::memcpy(header.creator, "    ", 4);
}

void CPdbFile::SwapHeader(CPdbHeader& h) {
    if constexpr (std::endian::native == std::endian::big) return;
    h.attributes = Swap16(h.attributes);
    h.version = Swap16(h.version);
    h.creationDate = Swap32(h.creationDate);
    h.modificationDate = Swap32(h.modificationDate);
    h.lastBackupDate = Swap32(h.lastBackupDate);
    h.modificationNumber = Swap32(h.modificationNumber);
    h.appInfoId = Swap32(h.appInfoId);
    h.sortInfoId = Swap32(h.sortInfoId);
    h.uniqueIdSeed = Swap32(h.uniqueIdSeed);
    h.nextRecordListId = Swap32(h.nextRecordListId);
    h.recordCount = Swap16(h.recordCount);
}

// The in-memory struct has padding, so the file layout is laid field by field: the fields are
// swapped to file order and copied at their file offsets.
namespace {
// The stored header is the fields back to back with no padding, so both directions walk one list.
template <class Header, class Visit>
void ForEachHeaderField(Header& h, Visit visit) {
    visit(h.name, 32);
    visit(&h.attributes, 2);
    visit(&h.version, 2);
    visit(&h.creationDate, 4);
    visit(&h.modificationDate, 4);
    visit(&h.lastBackupDate, 4);
    visit(&h.modificationNumber, 4);
    visit(&h.appInfoId, 4);
    visit(&h.sortInfoId, 4);
    visit(h.type, 4);
    visit(h.creator, 4);
    visit(&h.uniqueIdSeed, 4);
    visit(&h.nextRecordListId, 4);
    visit(&h.recordCount, 2);
}
}  // namespace

void CPdbFile::EncodeHeader(const CPdbHeader& header, u8* out) {
    CPdbHeader h = header;
    SwapHeader(h);
    u8* p = out;
    ForEachHeaderField(h, [&p](const void* field, size_t n) {
        std::memcpy(p, field, n);
        p += n;
    });
}

void CPdbFile::DecodeHeader(const u8* in, CPdbHeader& h) {
    const u8* p = in;
    ForEachHeaderField(h, [&p](void* field, size_t n) {
        std::memcpy(field, p, n);
        p += n;
    });
    SwapHeader(h);
}

int CPdbFile::Open(const char* name, const char* creator) {
    if (!name) return 0;
    if (!OpenPath(BuildProgramPath(WithPdb(name).c_str(), finder_))) return 0;
    if (!HasCreator(creator ? creator : "VnTl")) {
        // Callers close the object after a failed Open; the header stays readable until then.
        entries_.clear();
        recordCount_ = 0;
        return 0;
    }
    return 1;
}

int CPdbFile::OpenFound(const CStr& name) {
    std::string file = name.GetText() ? name.GetText() : "";
    file += ".pdb";
    return OpenPath(BuildProgramPath(file.c_str(), finder_));
}

int CPdbFile::OpenPath(const std::string& path) {
    Close();
    file_ = plat::OpenFileForReading(path);
    if (!file_) return 0;
    if (!ReadDirectory()) {
        Close();
        return 0;
    }
    return 1;
}

// Reads the header and the record list, refusing anything whose sizes could not have come from a
// well-formed database: a damaged file must not lead to huge allocations or reads outside the file.
bool CPdbFile::ReadDirectory() {
    const u64 length = file_->Size();
    if (length < kPdbHeaderSize || length > std::numeric_limits<u32>::max()) return false;
    u8 raw[kPdbHeaderSize];
    if (!file_->ReadAt(0, raw, sizeof raw)) return false;
    DecodeHeader(raw, header_);

    const u32 n = header_.recordCount;
    const u64 dataStart = kPdbHeaderSize + u64(kPdbEntrySize) * n;
    if (length < dataStart) return false;
    std::vector<u8> dir(size_t(kPdbEntrySize) * n);
    if (n && !file_->ReadAt(kPdbHeaderSize, dir.data(), dir.size())) return false;

    std::vector<CPdbRecordEntry> entries(n);
    for (u32 i = 0; i < n; ++i) {
        const u8* e = &dir[size_t(i) * kPdbEntrySize];
        CPdbRecordEntry& entry = entries[i];
        entry.offset = LoadBE32(e);
        entry.key = static_cast<u16>((e[6] << 8) | e[7]);
        if (entry.offset < dataStart || entry.offset > length) return false;
        if (i > 0) {
            if (entry.offset < entries[i - 1].offset) return false;
            entries[i - 1].size = entry.offset - entries[i - 1].offset;
        }
    }
    if (n > 0) entries[n - 1].size = static_cast<u32>(length - entries[n - 1].offset);
    entries_ = std::move(entries);
    recordCount_ = n;
    return true;
}

CRecordData* CPdbFile::ReadRecord(u32 id) {
    if (!file_ || id > 0xFFFF) return nullptr;
    for (u32 i = 0; i < recordCount_; ++i) {
        const CPdbRecordEntry& entry = entries_[i];
        if (entry.key != id) continue;
        // The file may have shrunk since Open; a short read gives no record rather than garbage.
        auto* data = new u8[entry.size];
        if (entry.size && !file_->ReadAt(entry.offset, data, entry.size)) {
            delete[] data;
            return nullptr;
        }
        auto* record = new CRecordData;
        record->data = data;
        record->size = entry.size;
        return record;
    }
    return nullptr;
}

int CPdbFile::HasCreator(const char* code) const {
    return code && std::memcmp(header_.creator, code, 4) == 0 ? 1 : 0;
}

int CPdbFile::HasType(const char* code) const {
    return code && std::memcmp(header_.type, code, 4) == 0 ? 1 : 0;
}

void CPdbFile::Close() {
    file_.reset();
    entries_.clear();
    recordCount_ = 0;
}

void CPdbFile::InitSavedGameHeader(const char* name) {
    InitHeader(header_, true, true);
    std::memset(header_.name, 0, sizeof header_.name);
    if (name) std::strncpy(header_.name, name, sizeof header_.name - 1);
    std::memcpy(header_.type, "VnTS", 4);
    std::memcpy(header_.creator, "VnTS", 4);
}

int CPdbFile::AddRecord(u16 id, const void* data, u32 size) {
    auto* rec = new CPdbPendingRecord;
    rec->id = id;
    rec->size = size;
    rec->data = new u8[size];
    if (size && data)
        std::memcpy(rec->data, data, size);
    else if (size)
        std::memset(rec->data, 0, size);
    if (!pending_.Add(rec)) {
        delete[] rec->data;
        delete rec;
        return 0;
    }
    header_.recordCount = static_cast<u16>(header_.recordCount + 1);
    return 1;
}

bool CPdbFile::BuildImage(std::vector<u8>& out) {
    const u32 n = pending_.GetCount();
    if (n > 0xFFFF) return false;
    CPdbHeader header = header_;
    header.recordCount = static_cast<u16>(n);

    std::vector<u32> positions(n);
    u64 running = kPdbHeaderSize + u64(kPdbEntrySize) * n;
    u64 end = running;
    for (u32 i = 0; i < n; ++i) {
        auto* rec = pending_.At<const CPdbPendingRecord>(static_cast<int>(i));
        const u64 pos = (running + 3) & ~u64(3);
        if (pos > std::numeric_limits<u32>::max()) return false;
        positions[i] = static_cast<u32>(pos);
        running = pos + rec->size + 2;
        end = running;
    }
    if (end > std::numeric_limits<u32>::max()) return false;

    out.assign(static_cast<size_t>(end), 0);
    EncodeHeader(header, out.data());
    for (u32 i = 0; i < n; ++i) {
        auto* rec = pending_.At<const CPdbPendingRecord>(static_cast<int>(i));
        u8* e = &out[kPdbHeaderSize + size_t(i) * kPdbEntrySize];
        StoreBE32(e, positions[i]);
        e[4] = 0;
        e[5] = 0;
        e[6] = u8(rec->id >> 8);
        e[7] = u8(rec->id);
        CopyBytes(&out[positions[i]], rec->data, rec->size);
    }
    return true;
}

int CPdbFile::Save(const char* name) {
    if (!name) return 0;
    std::vector<u8> image;
    if (!BuildImage(image)) return 0;
    const std::string target = BuildProgramPath(WithPdb(name).c_str(), finder_);
    const std::string temp = target + ".tmp";
    {
        auto file = plat::CreateFileForWriting(temp);
        if (!file) return 0;
        if (!file->Write(image.data(), image.size()) || !file->Flush()) {
            file.reset();
            plat::DeleteFile(temp);
            return 0;
        }
    }
    if (!plat::RenameFile(temp, target)) {
        plat::DeleteFile(temp);
        return 0;
    }
    return 1;
}

int CPdbFile::Delete(const char* name) {
    if (!name) return 0;
    return DeleteProgramFile(WithPdb(name).c_str(), finder_);
}

void CPdbFile::Release() { DeleteRecordEntries(pending_); }
