// One section of a world's map: a whole underground map of 35 x 35 cells or a 21 x 21 piece of a
// surface map. The world loader makes the sections from the section directory and reads each one's
// 'G' fields. The meaning of the stored bytes, as the game reads them:
//   byte E         the weather byte (255: random);
//   colour C, D    the day and night colours of weather particles;
//   the four bytes in order: visibility (the underground view distance), the sky picture set index,
//                  the sky palette index, and a spare byte;
//   light B        its colour word is the fog colour;
//   the prison     the map object named after the section id with "_jail" appended.
#pragma once

#include <vector>

#include "core/Types.h"

class CStream;
class CWorld;
struct CMapObjectRecord;
class CSecondPicture;

class CMapSection {
public:
    static constexpr u16 kSurfaceFlag = 0x80;

    explicit CMapSection(CWorld* world = nullptr) : world(world) {}

    // The 'G' fields of the section directory. Indices that lie outside the world's tables are none.
    bool SerializeFields(CStream& stream, u8 version);
    bool IsSurface() const { return (flags & kSurfaceFlag) != 0; }
    const char* GetName() const { return id; }

    CWorld* world;
    const char* id = nullptr;           // points into the world's directory record
    const char* displayName = nullptr;
    u16 baseRecord = 0;
    u32 lastVisit = 0;         // game minutes of the player's last visit; 0: never visited
    u8 nextMonsterId = 0;      // the ids the section hands out next, kept with its saved state
    u8 nextBagId = 0;
    const CMapObjectRecord* groundObject = nullptr;
    const CSecondPicture* groundPicture = nullptr;
    const CMapObjectRecord* ceilingObject = nullptr;
    const CSecondPicture* ceilingPicture = nullptr;
    u8 width = 35;
    u8 height = 35;
    u8 bytes[4] = {};
    u16 flags = 0;
    u16 lightAColour = 0;
    u8 lightALevel = 100;
    u16 lightBColour = 0;
    u8 lightBLevel = 100;
    u16 colourC = 0xA534;  // grey 165
    u16 colourD = 0x6B4D;  // grey 105
    u8 byteE = 255;
    // The stored indices, checked against the tables ('C', 'F', 'C', 'F'); 0 = none.
    u16 indices[4] = {};
    std::vector<u8> explored;  // one bit per cell
    u16 exploredRowLength = 0;
};
