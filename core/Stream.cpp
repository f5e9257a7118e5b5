#include "core/Stream.h"

#include "core/PdbFile.h"
#include "core/PointerArray.h"
#include "core/Str.h"

#include <cstring>

void CStream::InitForReading(const CRecordData& record) { InitForReading(record.data, record.size); }

void CStream::InitForReading(u8* data, u32 size) {
    writing_ = false;
    error_ = false;
    owned_.clear();
    data_ = data;
    capacity_ = data ? size : 0;
    cursor_ = 0;
}

void CStream::InitForWriting() {
    writing_ = true;
    error_ = false;
    owned_.clear();
    data_ = nullptr;
    capacity_ = kMaxRecordSize;
    cursor_ = 0;
}

void CStream::Release() {
    owned_.clear();
    owned_.shrink_to_fit();
    data_ = nullptr;
    capacity_ = 0;
    cursor_ = 0;
}

void CStream::Fail() {
    error_ = true;
    // Park the cursor at the end so that nothing after the fault is read as if it were a field.
    if (!writing_) cursor_ = capacity_;
}

bool CStream::Reserve(u32 n) {
    if (error_) return false;
    if (n > capacity_ - cursor_) {
        Fail();
        return false;
    }
    return true;
}

bool CStream::Take(void* dst, u32 n) {
    if (!Reserve(n)) {
        std::memset(dst, 0, n);
        return false;
    }
    std::memcpy(dst, data_ + cursor_, n);
    cursor_ += n;
    return true;
}

bool CStream::Put(const void* src, u32 n) {
    if (!Reserve(n)) return false;
    if (n) {
        const auto* bytes = static_cast<const u8*>(src);
        owned_.insert(owned_.end(), bytes, bytes + n);
    }
    cursor_ += n;
    return true;
}

void CStream::Align(u32 n) {
    if (error_ || n < 2) return;
    const u32 pad = (n - cursor_ % n) % n;
    if (!pad) return;
    if (writing_) {
        static const u8 zeros[4] = {};
        Put(zeros, pad);
    } else {
        // A record may end on a gap; the field that follows reports the missing bytes.
        cursor_ = pad > capacity_ - cursor_ ? capacity_ : cursor_ + pad;
    }
}

int CStream::MatchByte(u8 value) {
    if (writing_) return Put(&value, 1) ? 1 : 0;
    if (error_ || cursor_ >= capacity_ || data_[cursor_] != value) return 0;
    ++cursor_;
    return 1;
}

void CStream::SerializeU8(u8& value) {
    if (writing_)
        Put(&value, 1);
    else
        Take(&value, 1);
}

void CStream::SerializeU16(u16& value) {
    Align(2);
    u8 b[2];
    if (writing_) {
        b[0] = u8(value);
        b[1] = u8(value >> 8);
        Put(b, 2);
    } else {
        Take(b, 2);
        value = static_cast<u16>(b[0] | (b[1] << 8));
    }
}

void CStream::SerializeU32(u32& value) {
    Align(4);
    u8 b[4];
    if (writing_) {
        for (int i = 0; i < 4; ++i) b[i] = u8(value >> (8 * i));
        Put(b, 4);
    } else {
        Take(b, 4);
        value = u32(b[0]) | (u32(b[1]) << 8) | (u32(b[2]) << 16) | (u32(b[3]) << 24);
    }
}

void CStream::SerializeBlob(u16& length, u8*& data) {
    if (writing_) {
        if (length && !data) {
            Fail();
            return;
        }
        SerializeU16(length);
        Put(data, length);
        return;
    }
    SerializeU16(length);
    if (error_ || length > capacity_ - cursor_) {
        Fail();
        length = 0;
        data = nullptr;
        return;
    }
    data = length ? data_ + cursor_ : nullptr;
    cursor_ += length;
}

bool CStream::TextLength(u32& length) {
    length = 0;
    if (error_) return false;
    const void* nul = cursor_ < capacity_ ? std::memchr(data_ + cursor_, 0, capacity_ - cursor_) : nullptr;
    if (!nul) {
        Fail();
        return false;
    }
    length = static_cast<u32>(static_cast<const u8*>(nul) - (data_ + cursor_));
    return true;
}

void CStream::WriteText(const char* text) {
    const u32 len = text ? static_cast<u32>(std::strlen(text)) : 0;
    if (len >= kMaxRecordSize) {
        Fail();
        return;
    }
    Put(text, len);
    const u8 nul = 0;
    Put(&nul, 1);
}

void CStream::SerializeStr(CStr& value) {
    if (writing_) {
        WriteText(value.GetText());
        return;
    }
    u32 len;
    if (!TextLength(len)) {
        value.Assign("");
        return;
    }
    value.Assign(reinterpret_cast<const char*>(data_ + cursor_));
    cursor_ += len + 1;
}

void CStream::SerializeOwnedString(char*& value) {
    if (writing_) {
        WriteText(value);
        return;
    }
    delete[] value;
    value = nullptr;
    u32 len;
    if (!TextLength(len)) return;
    if (len) value = DuplicateString(reinterpret_cast<const char*>(data_ + cursor_));
    cursor_ += len + 1;
}

void CStream::SerializeStringRef(const char*& value) {
    if (writing_) {
        WriteText(value);
        return;
    }
    value = nullptr;
    u32 len;
    if (!TextLength(len)) return;
    if (len) value = reinterpret_cast<const char*>(data_ + cursor_);
    cursor_ += len + 1;
}

void CStream::ReadStringArray(CPointerArray& array) {
    if (writing_) {
        Fail();
        return;
    }
    u16 count = 0;
    SerializeU16(count);
    for (u32 i = 0; i < count && !error_; ++i) {
        const char* text = nullptr;
        SerializeStringRef(text);
        if (error_) break;
        if (array.GetCount() == array.GetCapacity() && !array.Grow()) {
            Fail();
            break;
        }
        if (!array.Add(const_cast<char*>(text))) {
            Fail();
            break;
        }
    }
}
