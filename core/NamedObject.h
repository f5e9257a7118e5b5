// Small polymorphic bases whose name travels through the stream. A `CNamedObject` borrows its name
// (it points into a record buffer or another object's text); a `CNamedObjectCopy` owns a copy.
// Record classes of the game data derive from them.
#pragma once

#include "core/Types.h"

class CStream;

class CNamedObject {
public:
    CNamedObject() = default;
    CNamedObject(const CNamedObject&) = default;
    CNamedObject& operator=(const CNamedObject&) = default;
    virtual ~CNamedObject();

    virtual void SetName(const char* name);
    // The writing flag is the stream's own; it is passed along for derived formats.
    virtual void SerializeName(CStream& stream, u32 writing);
    virtual void CopyName(const CNamedObject& other);
    virtual void SetNameAgain(const char* name);

    const char* GetName() const { return name_; }

protected:
    const char* name_ = nullptr;
};

class CNamedObjectCopy : public CNamedObject {
public:
    CNamedObjectCopy() = default;
    CNamedObjectCopy(const CNamedObjectCopy& other);
    CNamedObjectCopy& operator=(const CNamedObjectCopy& other);
    ~CNamedObjectCopy() override;

    void SetName(const char* name) override;
    void SerializeName(CStream& stream, u32 writing) override;
};

// The value of the two hexadecimal digits at text, high digit first. A character that is not a
// hexadecimal digit counts as 0, and a text that ends early is not read past its NUL.
u8 ParseHexByte(const char* text);
