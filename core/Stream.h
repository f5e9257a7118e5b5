// The serializer stream: one cursor over one record. A record format is one routine that walks its
// fields through the stream; the same routine reads or writes by the stream's mode.
//
// Record contents are little-endian; a u16 starts at an even offset and a u32 at a multiple of 4 from
// the start of the record (zero padding when writing); bytes, strings and markers are never aligned.
// Strings are text + NUL; a blob is a u16 length and that many bytes.
//
// Every access is checked against the record: reading past its end, or writing a record larger than
// kMaxRecordSize, sets a sticky error flag. From then on reads yield zero or empty and writes store
// nothing; whoever set the stream up treats the record as unreadable (or unwritable) when HasError.
#pragma once

#include "core/Types.h"

#include <vector>

class CGame;
class CStr;
class CPointerArray;
struct CRecordData;

class CStream {
public:
    // The largest record the game reads or writes; larger ones are errors.
    static constexpr u32 kMaxRecordSize = 65535;

    CStream() = default;
    ~CStream() = default;
    CStream(const CStream&) = delete;
    CStream& operator=(const CStream&) = delete;

    // Reading over a record's bytes; the stream borrows them, the record's owner frees them.
    void InitForReading(const CRecordData& record);
    void InitForReading(u8* data, u32 size);
    // Writing into the stream's own buffer, which grows up to kMaxRecordSize.
    void InitForWriting();
    void Release();

    // Field operations, the same call in both directions.
    void Align(u32 n);
    int MatchByte(u8 value);
    void SerializeU8(u8& value);
    void SerializeU16(u16& value);
    void SerializeU32(u32& value);
    // Reading: data points into the record (no copy), or is null for length 0.
    void SerializeBlob(u16& length, u8*& data);
    void SerializeStr(CStr& value);
    // Reading: the old text is freed (texts come from DuplicateString); an empty text gives null, any other a new copy.
    void SerializeOwnedString(char*& value);
    // Reading: the pointer points at the text inside the record, or is null for an empty text.
    void SerializeStringRef(const char*& value);
    // Reading only: a 2-aligned u16 count, then that many string references appended to the array.
    void ReadStringArray(CPointerArray& array);

    bool IsWriting() const { return writing_; }
    bool HasError() const { return error_; }
    // Offset of the cursor from the start of the record: when writing, the record's size so far.
    u32 GetOffset() const { return cursor_; }
    u32 GetCapacity() const { return capacity_; }
    // The record's bytes (the written bytes when writing).
    const u8* GetBuffer() const { return writing_ ? owned_.data() : data_; }

    // The owner that set the stream up; the field operations don't use it.
    CGame* GetGame() const { return game_; }
    void SetGame(CGame* game) { game_ = game; }

private:
    CGame* game_ = nullptr;
    bool Reserve(u32 n);
    bool Take(void* dst, u32 n);
    bool Put(const void* src, u32 n);
    // Length of the NUL-terminated text at the cursor, or false when the record ends before its NUL.
    bool TextLength(u32& length);
    void WriteText(const char* text);
    void Fail();

    u32 capacity_ = 0;
    bool writing_ = false;
    bool error_ = false;
    u8* data_ = nullptr;
    std::vector<u8> owned_;
    u32 cursor_ = 0;
};
