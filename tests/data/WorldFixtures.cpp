// The builder's world writers (compiled into this test executable by BuilderSources.cpp) behind the
// loader tests' fixtures.
#include "tests/data/WorldFixtures.h"

#include <algorithm>

#include "tools/content/world/AdditionalWorld.h"
#include "tools/content/world/GameWorlds.h"
#include "tools/content/world/Music.h"

#include <gtest/gtest.h>

namespace fixtures {

world::Content BaseWorld() { return world::BaseWorld(); }
world::Content ResourceWorld() { return world::ResourceWorld(); }
world::Content SoundWorld() { return world::SoundWorld(); }
world::Content MusicWorld() { return world::MusicWorld(); }
world::Content AdditionalWorld() { return world::AdditionalWorld(); }

world::Content SmallWorld(const std::string& dbName, const std::string& shortName) {
    world::Content c = world::BaseWorld();
    c.dbName = dbName;
    c.shortName = shortName;
    c.type = "VnTW";
    return c;
}

std::vector<world::Record> Build(const world::Content& c, uint8_t version) {
    return world::BuildWorld(c, version);
}

void Write(const std::string& folder, const world::Content& c, const std::vector<world::Record>& records) {
    ASSERT_TRUE(world::WriteWorldDatabase(c, records, folder + c.dbName + ".pdb"));
}

void Write(const std::string& folder, const world::Content& c, uint8_t version) {
    Write(folder, c, Build(c, version));
}

world::Record* FindRecord(std::vector<world::Record>& records, uint16_t id) {
    for (world::Record& r : records)
        if (r.id == id) return &r;
    return nullptr;
}

void RemoveRecord(std::vector<world::Record>& records, uint16_t id) {
    records.erase(
        std::remove_if(records.begin(), records.end(), [id](const world::Record& r) { return r.id == id; }),
        records.end());
}

world::Record* FindRecordWith(std::vector<world::Record>& records, uint8_t tag, const std::string& text) {
    for (world::Record& r : records) {
        if (r.data.empty() || r.data[0] != tag) continue;
        if (std::search(r.data.begin(), r.data.end(), text.begin(), text.end()) != r.data.end()) return &r;
    }
    return nullptr;
}

std::vector<uint8_t> ModuleFile(const world::Song& song, const world::Bank& bank) {
    return world::ModuleFile(song, bank);
}

}  // namespace fixtures
