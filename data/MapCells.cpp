#include "data/MapCells.h"

#include "core/Stream.h"

bool CStoredCell::IsEmpty() const {
    static const CStoredCell kEmpty{};
    return layer1 == kEmpty.layer1 && layer1Picture == kEmpty.layer1Picture && centre == kEmpty.centre &&
           centrePicture == kEmpty.centrePicture && layer4 == kEmpty.layer4 &&
           layer4Picture == kEmpty.layer4Picture && centreId == 0 && [this] {
               for (int s = 0; s < 4; ++s)
                   if (side[s] != kNoCellIndex || sidePicture[s] != kNoCellIndex ||
                       secondSide[s] != kNoCellIndex || secondSidePicture[s] != kNoCellIndex ||
                       sideId[s] != 0)
                       return false;
               return true;
           }();
}

namespace {

struct Reader {
    CStream& s;
    const CCellRefs& refs;
    CCellRefMisses* misses;

    u16 Object() {
        u16 ref = 0;
        s.SerializeU16(ref);
        const u16 index = refs.Object(ref);
        if (ref != 0 && index == kNoCellIndex && misses) ++misses->objects;
        return index;
    }
    u16 Picture() {
        u16 ref = 0;
        s.SerializeU16(ref);
        const u16 index = refs.Picture(ref);
        if (ref != 0 && index == kNoCellIndex && misses) ++misses->pictures;
        return index;
    }
    u8 Byte() {
        u8 b = 0;
        s.SerializeU8(b);
        return b;
    }
};

// The four sides and the four second sides that a mask names, in that order.
void ReadSides(Reader& r, u16 mask, u16* side, u16* sidePicture, u8* sideId, u16* second,
               u16* secondPicture) {
    for (int i = 0; i < 4; ++i)
        if (mask & (cellmask::kSide0 << i)) {
            side[i] = r.Object();
            sidePicture[i] = r.Picture();
            sideId[i] = r.Byte();
        }
    for (int i = 0; i < 4; ++i)
        if (mask & (cellmask::kSecondSide0 << i)) {
            second[i] = r.Object();
            secondPicture[i] = r.Picture();
        }
}

bool Decode(CStream& s, u8 version, const CCellRefs& refs, CMapCell& cell, CStoredCell& stored,
            CCellRefMisses* misses) {
    using namespace cellmask;
    cell.Reset();
    stored.Reset();
    Reader r{s, refs, misses};
    u16 mask = 0;
    s.SerializeU16(mask);
    if (mask == 0) return !s.HasError();
    const bool old = version < 34;
    if (mask & kLayer1) {
        cell.layer1 = r.Object();
        if ((mask & kLayer1Picture) || old) cell.layer1Picture = r.Picture();
        cell.layer1Second = r.Object();
    }
    if (mask & kLayer2) {
        cell.layer2 = r.Object();
        if ((mask & kLayer2Picture) || old) cell.layer2Picture = r.Picture();
        cell.layer2Second = r.Object();
    }
    if (mask & kCentre) {
        cell.centre = r.Object();
        if ((mask & kCentrePicture) || old) cell.centrePicture = r.Picture();
        cell.centreId = r.Byte();
        if (version > 42) cell.doorMode = r.Byte();
    }
    if (mask & kLayer4) {
        cell.layer4 = r.Object();
        cell.layer4Picture = r.Picture();
    }
    ReadSides(r, mask, cell.side, cell.sidePicture, cell.sideId, cell.secondSide, cell.secondSidePicture);
    s.Align(2);
    if (mask & kStored) {
        u16 m = 0;
        s.SerializeU16(m);
        if (m != 0) {
            if (m & kLayer1) {
                stored.layer1 = r.Object();
                if ((m & kLayer1Picture) || old) stored.layer1Picture = r.Picture();
            }
            if (m & kCentre) {
                stored.centre = r.Object();
                if ((m & kCentrePicture) || old) stored.centrePicture = r.Picture();
                stored.centreId = r.Byte();
            }
            if (m & kLayer4) {
                stored.layer4 = r.Object();
                if (m & kStored) stored.layer4Picture = r.Picture();
            }
            ReadSides(r, m, stored.side, stored.sidePicture, stored.sideId, stored.secondSide,
                      stored.secondSidePicture);
            s.Align(2);
        }
    }
    if (s.HasError()) {
        cell.Reset();
        stored.Reset();
        return false;
    }
    return true;
}

}  // namespace

bool DecodeCell(CStream& stream, u8 version, const CCellRefs& refs, CMapCell& cell, CStoredCell& stored) {
    return Decode(stream, version, refs, cell, stored, nullptr);
}

bool DecodeCellCounting(CStream& stream, u8 version, const CCellRefs& refs, CMapCell& cell,
                        CStoredCell& stored, CCellRefMisses& misses) {
    return Decode(stream, version, refs, cell, stored, &misses);
}
