#include "tests/data/BuiltWorld.h"

#include "core/PdbFile.h"
#include "data/MapObjectRecords.h"
#include "tests/data/WorldFixtures.h"

namespace fixtures {

BuiltWorld::BuiltWorld(bool withAdditionalWorld) {
    finder.SetFolder(dir.Path());
    Write(dir.Path(), ResourceWorld());
    Write(dir.Path(), BaseWorld());
    res = Load("VantrelRes");
    base = Load("VantrelBase");
    if (!base) return;
    refs = RefsOf(*base);
    if (!withAdditionalWorld) return;
    const world::Content extra = AdditionalWorld();
    Write(dir.Path(), extra);
    additional = Load(extra.dbName);
    if (additional) additionalRefs = RefsOf(*additional);
}

CCellRefs BuiltWorld::RefsOf(CWorld& world) {
    return world.MakeCellRefs(
        [this](const CMapObjectRecord* r) {
            for (size_t i = 0; i < lists.mapObjects.Count(); ++i)
                if (lists.mapObjects.At(i) == r) return static_cast<u16>(i);
            return kNoCellIndex;
        },
        [this](const CSecondPicture* p) { return textures.IndexOfSecond(p); });
}

std::unique_ptr<CWorld> BuiltWorld::Load(const std::string& name) {
    auto db = std::make_unique<CPdbFile>(nullptr, &finder);
    if (!db->Open(name.c_str(), "VnTl")) return nullptr;
    auto world = std::make_unique<CWorld>();
    if (!world->Load(std::move(db), lists)) return nullptr;
    lists.AfterLoad();
    return world;
}

}  // namespace fixtures
