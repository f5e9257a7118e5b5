// An open world database. So far it reads the world's header record (record 3999), which the scan
// of installed worlds needs; the world loader builds on it.
#pragma once

#include "core/Str.h"
#include "core/Types.h"

class CGame;
class CPdbFile;
class CStream;

class CWorld {
public:
    static constexpr u16 kHeaderRecord = 3999;

    explicit CWorld(CGame* game = nullptr);
    virtual ~CWorld();
    CWorld(const CWorld&) = delete;
    CWorld& operator=(const CWorld&) = delete;

    // Reads record 3999 of the open database into this world. Returns 1, or 0 when the record is
    // missing or ends before its last field.
    int ReadHeader(CPdbFile& db);
    // The header's fields through a stream in either direction; false when the stream failed.
    bool SerializeHeader(CStream& stream);
    void Release();

    CGame* game;
    u32 headerWord = 0;
    u8 version = 0;
    u8 byteA = 1;
    u8 byteB = 4;
    CStr title;
    CStr shortName;
    CStr recordIdPrefix;  // short name + "_"
    CStr stringC;
    u8 expansion = 1;
    u8 flagByte = 0;      // byte G of the header
    u16 gridWidth = 0;
    u16 gridHeight = 0;
    CStr sectionPrefix;
};
