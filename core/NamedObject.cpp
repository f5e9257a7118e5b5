#include "core/NamedObject.h"

#include "core/Str.h"
#include "core/Stream.h"

CNamedObject::~CNamedObject() { name_ = nullptr; }

void CNamedObject::SetName(const char* name) { name_ = name; }

void CNamedObject::SerializeName(CStream& stream, u32 writing) { stream.SerializeStringRef(name_); }

void CNamedObject::CopyName(const CNamedObject& other) { SetName(other.name_); }

void CNamedObject::SetNameAgain(const char* name) { SetName(name); }

CNamedObjectCopy::CNamedObjectCopy(const CNamedObjectCopy& other) : CNamedObject() {
    name_ = DuplicateString(other.name_);
}

CNamedObjectCopy& CNamedObjectCopy::operator=(const CNamedObjectCopy& other) {
    if (this != &other) SetName(other.name_);
    return *this;
}

CNamedObjectCopy::~CNamedObjectCopy() {
    delete[] name_;
    name_ = nullptr;
}

void CNamedObjectCopy::SetName(const char* name) {
    // Copy first: the new name may be the old one's own text.
    char* copy = DuplicateString(name);
    delete[] name_;
    name_ = copy;
}

void CNamedObjectCopy::SerializeName(CStream& stream, u32 writing) {
    char* owned = const_cast<char*>(name_);
    stream.SerializeOwnedString(owned);
    name_ = owned;
}

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

}  // namespace

u8 ParseHexByte(const char* text) {
    if (!text || !text[0]) return 0;
    return static_cast<u8>((HexDigit(text[0]) << 4) | HexDigit(text[1]));
}
