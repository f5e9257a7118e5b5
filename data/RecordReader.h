// The world's records as the rule loaders take them: one record after the other in the loader's fixed
// order. A kind that spans several records (spells, NPCs, item types) asks for each in turn; every
// call advances the record counter whether the record exists or not.
#pragma once

#include "core/PdbFile.h"
#include "core/PointerArray.h"
#include "core/Stream.h"
#include "core/Types.h"

#include <cstring>
#include <vector>

class CRecordReader {
public:
    virtual ~CRecordReader() = default;
    // The next record, handed over to the caller (freed with FreeDataBlock); null when it is missing.
    virtual CRecordData* NextRecord() = 0;
};

// Records of a database in key order from a first key.
class CPdbRecordReader : public CRecordReader {
public:
    CPdbRecordReader(CPdbFile& db, u16& counter) : db_(db), counter_(counter) {}
    CRecordData* NextRecord() override { return db_.ReadRecord(counter_++); }

private:
    CPdbFile& db_;
    u16& counter_;
};

// Records held in memory (tests, the fuzz targets, the builder's checks).
class CMemoryRecordReader : public CRecordReader {
public:
    explicit CMemoryRecordReader(std::vector<std::vector<u8>> records) : records_(std::move(records)) {}
    CRecordData* NextRecord() override {
        if (next_ >= records_.size()) {
            ++next_;
            return nullptr;
        }
        const std::vector<u8>& bytes = records_[next_++];
        auto* record = new CRecordData;
        record->size = static_cast<u32>(bytes.size());
        record->data = new u8[bytes.size() + 1];
        if (!bytes.empty()) std::memcpy(record->data, bytes.data(), bytes.size());
        return record;
    }
    size_t Consumed() const { return next_; }

private:
    std::vector<std::vector<u8>> records_;
    size_t next_ = 0;
};

// The loaded record buffers of a list: texts of its records point into them, so they live as long as
// the list's contents.
class CLoadedRecords {
public:
    CLoadedRecords() = default;
    ~CLoadedRecords() { Clear(); }
    CLoadedRecords(const CLoadedRecords&) = delete;
    CLoadedRecords& operator=(const CLoadedRecords&) = delete;
    void Keep(CRecordData* record) {
        if (record) buffers_.push_back(record);
    }
    void Clear() {
        for (CRecordData* r : buffers_) FreeDataBlock(r);
        buffers_.clear();
    }
    size_t Count() const { return buffers_.size(); }
    // Frees the records kept after the first count (a world that failed to load is taken back out).
    void TruncateTo(size_t count) {
        while (buffers_.size() > count) {
            FreeDataBlock(buffers_.back());
            buffers_.pop_back();
        }
    }

private:
    std::vector<CRecordData*> buffers_;
};

// How far a list reaches: its elements and its kept records. A list returns to a mark when the world
// that was loading after it fails, so that nothing of that world stays.
struct CListMark {
    int elements = 0;
    size_t records = 0;
};

// Deletes the elements of an array past the first count.
template <class T>
void TruncateElements(CPointerArray& array, int count) {
    for (int i = array.GetCount() - 1; i >= count && i >= 0; --i) delete static_cast<T*>(array.RemoveAt(i));
}

// The first record of a kind that spans records: an optional tag and a u16 count, nothing else. False
// when the record is missing or too short; the record itself is not kept.
inline bool ReadCountRecord(CRecordReader& reader, u8 tag, u16& count) {
    count = 0;
    CRecordData* record = reader.NextRecord();
    if (!record) return false;
    CStream stream;
    stream.InitForReading(*record);
    stream.MatchByte(tag);
    stream.SerializeU16(count);
    bool ok = !stream.HasError();
    FreeDataBlock(record);
    return ok;
}

// Then one record per element: read(stream, element) fills a new T from its record, which the list's
// buffers keep. A missing or unreadable record ends the reading with false, so the last record asked
// for is the one at fault; the elements read before it stay.
template <class T, class Read>
bool ReadElementRecords(CRecordReader& reader, u32 count, CPointerArray& list, CLoadedRecords& buffers,
                        Read read) {
    list.Reserve(count);
    CStream stream;
    for (u32 i = 0; i < count; ++i) {
        CRecordData* record = reader.NextRecord();
        if (!record) return false;
        stream.InitForReading(*record);
        auto* element = new T;
        read(stream, *element);
        if (stream.HasError() || !list.Add(element)) {
            delete element;
            FreeDataBlock(record);
            return false;
        }
        buffers.Keep(record);
    }
    return true;
}
