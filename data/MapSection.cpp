#include "data/MapSection.h"

#include "core/Stream.h"
#include "data/MapObjectRecords.h"
#include "data/World.h"

bool CMapSection::SerializeFields(CStream& s, u8 version) {
    s.MatchByte('G');
    s.SerializeStringRef(displayName);
    s.SerializeStringRef(id);
    s.SerializeU16(flags);
    lastVisit = 0;
    if (version >= 117) {
        s.SerializeU16(lightAColour);
        s.SerializeU8(lightALevel);
    }
    s.SerializeU16(lightBColour);
    s.SerializeU8(lightBLevel);
    if (version < 117) {
        lightAColour = lightBColour;
        lightALevel = lightBLevel;
    } else {
        s.SerializeU16(colourC);
        s.SerializeU16(colourD);
    }
    if (version >= 118) s.SerializeU8(byteE);
    for (u8& b : bytes) s.SerializeU8(b);
    storedViewDistance = bytes[0];
    storedFogColour = lightBColour;
    width = height = IsSurface() ? 21 : 35;
    if (version > 12)
        for (u16& index : indices) s.SerializeU16(index);
    if (s.HasError()) return false;
    if (world) {
        indices[0] = world->tableC.Checked(indices[0]);
        indices[1] = world->tableF.Checked(indices[1]);
        indices[2] = world->tableC.Checked(indices[2]);
        indices[3] = world->tableF.Checked(indices[3]);
        groundObject = world->MapObjectAt(indices[0]);
        groundPicture = world->PictureAt(indices[1]);
        ceilingObject = world->MapObjectAt(indices[2]);
        ceilingPicture = world->PictureAt(indices[3]);
    }
    exploredRowLength = static_cast<u16>((width + 7) / 8);
    explored.assign(static_cast<size_t>(height) * exploredRowLength, 0);
    return true;
}
