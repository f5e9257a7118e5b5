// Arbitrary bytes as the records of a map section: the first byte picks what reads them (the cells
// of an underground map, a rectangle of a surface piece, the placements, the monsters, the bags), the
// second is the world version; the rest is the record. References go through small tables so that
// hostile references reach the range checks.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/PdbFile.h"
#include "core/Stream.h"
#include "data/MapSection.h"
#include "data/World.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const u8 mode = data[0] % 5;
    const u8 version = data[1];
    std::vector<u8> bytes(data + 2, data + size);
    CRecordData record{bytes.data(), static_cast<u32>(bytes.size())};

    CWorld world;
    world.tableE.names = {nullptr, "a", "b"};
    world.tableE.entries = {nullptr, &world, nullptr};
    CMapSection section(&world);
    section.dataVersion = version;
    CCellRefs refs;
    refs.objects = {kNoCellIndex, 0, 1, kNoCellIndex, 3};
    refs.pictures = {kNoCellIndex, 7, 8};
    static std::unique_ptr<CMapCell[]> cells(new CMapCell[kMapWindowCells]);
    static std::unique_ptr<CStoredCell[]> stored(new CStoredCell[kMapWindowCells]);

    CStream s;
    s.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    switch (mode) {
    case 0: section.DecodeCells(record, cells.get(), stored.get(), refs); break;
    case 1:
        section.flags = CMapSection::kSurfaceFlag;
        section.width = section.height = 21;
        for (int i = 0; i < 9; ++i) {
            const int sx = (i % 3) * 7, sy = (i / 3) * 7;
            section.DecodeCellsPart(record, sx, sy, 21 - sx, 21 - sy, sx, sy, cells.get(), stored.get(),
                                    refs);
        }
        break;
    case 2: section.LoadObjects(s, version); break;
    case 3: section.LoadMonsters(s, version); break;
    default: section.LoadBags(s); break;
    }
    return 0;
}
