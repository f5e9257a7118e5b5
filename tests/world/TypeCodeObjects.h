// The map objects as far as the cell window asks in tests: each index's type code from the world's
// map-object records; type 5 (walls) blocks creatures and the view.
#pragma once

#include "data/MapObjectRecords.h"
#include "data/WorldLists.h"
#include "world/CellWindow.h"

class CTypeCodeObjects : public ICellObjects {
public:
    explicit CTypeCodeObjects(const CWorldLists& lists) : lists(lists) {}
    bool IsBlocking(u16 index, const CPlacement*) const override { return TypeCode(index) == 5; }
    u8 TypeCode(u16 index) const override {
        const CMapObjectRecord* r = lists.mapObjects.At(index);
        return r ? r->typeCode : 0;
    }
    const CWorldLists& lists;
};
