// The cells of a map section as the window holds them, and the decoder of the section's 'H' record.
// Object words are indices into the game's map-object table and picture words indices into the
// picture list, 65535 meaning none; the record stores 1-based references into the world's own
// tables ('C' for objects, 'F' for pictures), which CCellRefs translates.
#pragma once

#include <vector>

#include "core/Types.h"

class CStream;

inline constexpr u16 kNoCellIndex = 65535;
inline constexpr i32 kWindowSize = 35;
inline constexpr i32 kMapWindowCells = kWindowSize * kWindowSize;

// One cell of the 35 x 35 window.
struct CMapCell {
    u16 layer1 = kNoCellIndex, layer1Picture = kNoCellIndex, layer1Second = kNoCellIndex;
    u16 layer2 = kNoCellIndex, layer2Picture = kNoCellIndex, layer2Second = kNoCellIndex;
    u16 centre = kNoCellIndex, centrePicture = kNoCellIndex;
    u16 layer4 = kNoCellIndex, layer4Picture = kNoCellIndex;
    u16 side[4] = {kNoCellIndex, kNoCellIndex, kNoCellIndex, kNoCellIndex};
    u16 sidePicture[4] = {kNoCellIndex, kNoCellIndex, kNoCellIndex, kNoCellIndex};
    u16 secondSide[4] = {kNoCellIndex, kNoCellIndex, kNoCellIndex, kNoCellIndex};
    u16 secondSidePicture[4] = {kNoCellIndex, kNoCellIndex, kNoCellIndex, kNoCellIndex};
    // The run-time words: filled only by placing creatures and bags.
    u16 creature[2] = {0, 0};
    u16 bag = 0;
    u8 sideId[4] = {};
    u8 doorMode = 0;  // bits 2..3 the door mode; bit 7 the alternative light of a centre of type 41
    u8 centreId = 0;
    u8 state = 0;

    void Reset() { *this = CMapCell{}; }
    void ClearRuntime() {
        creature[0] = creature[1] = 0;
        bag = 0;
    }
};

// The second object layer of a cell.
struct CStoredCell {
    u16 layer1 = kNoCellIndex, layer1Picture = kNoCellIndex;
    u16 centre = kNoCellIndex, centrePicture = kNoCellIndex;
    u16 layer4 = kNoCellIndex, layer4Picture = kNoCellIndex;
    u16 side[4] = {kNoCellIndex, kNoCellIndex, kNoCellIndex, kNoCellIndex};
    u16 sidePicture[4] = {kNoCellIndex, kNoCellIndex, kNoCellIndex, kNoCellIndex};
    u16 secondSide[4] = {kNoCellIndex, kNoCellIndex, kNoCellIndex, kNoCellIndex};
    u16 secondSidePicture[4] = {kNoCellIndex, kNoCellIndex, kNoCellIndex, kNoCellIndex};
    u8 sideId[4] = {};
    u8 centreId = 0;
    u8 pad = 0;

    void Reset() { *this = CStoredCell{}; }
    bool IsEmpty() const;
};

// The translation of a world's cell references: entry r of each table is what reference r becomes
// (65535 for none); reference 0 and references beyond a table are none.
struct CCellRefs {
    std::vector<u16> objects;
    std::vector<u16> pictures;
    u16 Object(u16 ref) const { return ref < objects.size() ? objects[ref] : kNoCellIndex; }
    u16 Picture(u16 ref) const { return ref < pictures.size() ? pictures[ref] : kNoCellIndex; }
};

// The mask bits of a cell.
namespace cellmask {
inline constexpr u16 kLayer1 = 0x0001, kLayer2 = 0x0002, kCentre = 0x0004, kLayer4 = 0x0008;
inline constexpr u16 kSide0 = 0x0010, kSecondSide0 = 0x0100;
inline constexpr u16 kLayer1Picture = 0x1000, kLayer2Picture = 0x2000, kCentrePicture = 0x4000;
inline constexpr u16 kStored = 0x8000;  // in a stored block: the layer-4 picture
}  // namespace cellmask

// Decodes one cell at the stream's cursor into `cell` and, when it carries one, its stored block into
// `stored` (both are reset first). False when the stream failed (the cell is then reset).
bool DecodeCell(CStream& stream, u8 version, const CCellRefs& refs, CMapCell& cell, CStoredCell& stored);

// References that named nothing while cells were decoded (a reference beyond its table, or one whose
// table entry is empty), counted for the loading checks.
struct CCellRefMisses {
    u32 objects = 0;
    u32 pictures = 0;
};
// Decodes like DecodeCell and counts the references that became none although they were set.
bool DecodeCellCounting(CStream& stream, u8 version, const CCellRefs& refs, CMapCell& cell,
                        CStoredCell& stored, CCellRefMisses& misses);
