#include "world/AutomapSource.h"

#include "data/MapSection.h"

bool CAutomapSource::MappingForbidden() const {
    const CMapSection* section = window_.CurrentSection();
    return section == nullptr || (section->flags & 0x01) != 0;
}

void CAutomapSource::GetPlayer(i32& x, i32& y, u32& fx, u32& fy, u32& f) const {
    x = playerX;
    y = playerY;
    fx = fractionX;
    fy = fractionY;
    f = facing;
}

bool CAutomapSource::GetMapSquare(i32 x, i32 y, CMapSquareView& square) const {
    CMapSection* section = nullptr;
    i32 sx = 0, sy = 0;
    if (!window_.WindowToSectionCell(x, y, section, sx, sy) || !section->IsExplored(sx, sy)) return false;
    const CMapCell* cell = window_.Cell(x, y);
    if (!cell) return false;
    square.floor = cell->layer2 != kNoCellIndex ? kWater : (window_.IsSurface() ? kGrass : kStoneFloor);
    if (cell->centre != kNoCellIndex) {
        const u8 type = objects_.TypeCode(cell->centre);
        if (type == 5 || type == 1) {
            square.type = kWall;
        } else if (type == 20 || type == 22) {
            const CPlacement* p = section->FindPlacement(cell->centreId);
            square.type = p && (p->flags & CPlacement::kClosed) ? kClosedDoor : kDoor;
        }
    }
    // What hangs on a side (both object slots of each side) gets its mark.
    for (int s = 0; s < 4; ++s) {
        const u16 slots[2] = {cell->side[s], cell->secondSide[s]};
        for (int k = 0; k < 2; ++k)
            if (slots[k] != kNoCellIndex) square.sideMarks[s][k] = objects_.MapMark(slots[k]);
    }
    return true;
}
