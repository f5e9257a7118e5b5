// vantrel_fuzzseeds: writes seeds for the fuzz targets that read world data, taken from real content,
// so that a short fuzzing run starts deep inside the loaders instead of at their first byte:
//
//   vantrel_fuzzseeds --out DIR [--saves DIR] DATABASE.pdb...
//
// For each world database: the database itself (world_loader), the records of each rule kind in the
// rule_records input form, each map-object record with the world version in front (map_objects) and
// each compiled script (script_engine). Each saved game of the --saves folder goes to saved_game.
// The files are written as DIR/<target>/<database>-<what>; fuzz/make-seeds.sh then lets libFuzzer keep
// only those that add coverage.
#include "core/PdbFile.h"
#include "data/TextureSet.h"
#include "data/World.h"
#include "data/WorldLists.h"
#include "data/WorldLoader.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The rule_records target's loaders by the first byte of its input, named as the world loader names
// the kinds.
struct RuleKind {
    const char* kind;
    unsigned char which;
};
constexpr RuleKind kRuleKinds[] = {{"attributes", 0}, {"skills", 1},    {"races", 2},      {"spells", 3},
                                   {"abilities", 4},  {"diseases", 5},  {"recipes", 6},    {"items", 7},
                                   {"creatures", 8},  {"dialogue", 9},  {"NPCs", 10},      {"portraits", 11}};

bool WriteFile(const fs::path& path, const std::vector<unsigned char>& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<unsigned char> Record(CPdbFile& db, u16 key) {
    std::vector<unsigned char> bytes;
    if (CRecordData* r = db.ReadRecord(key)) {
        bytes.assign(r->data, r->data + r->size);
        FreeDataBlock(r);
    }
    return bytes;
}

int SeedWorld(const fs::path& path, const fs::path& out) {
    const std::string name = path.stem().string();
    auto db = std::make_unique<CPdbFile>();
    if (!db->OpenPath(path.string())) {
        std::fprintf(stderr, "vantrel_fuzzseeds: cannot open %s\n", path.c_str());
        return 1;
    }
    std::error_code ec;
    fs::create_directories(out / "world_loader");
    fs::copy_file(path, out / "world_loader" / (name + ".pdb"), fs::copy_options::overwrite_existing, ec);
    if (ec) return 1;

    CWorld world;
    if (!world.ReadHeader(*db)) return 1;
    CTextureSet textures;
    CWorldLists lists(textures);
    CWorldLoadContext context{world, lists, db.get(), CWorld::kFirstKindRecord, world.version};
    int written = 0;
    context.trace = [&](const CWorldKind& kind, u16 first, u16 end) {
        if (std::strcmp(kind.name, "map objects") == 0) {
            for (u32 key = first; key < end; ++key) {
                std::vector<unsigned char> seed{world.version};
                const std::vector<unsigned char> record = Record(*db, static_cast<u16>(key));
                seed.insert(seed.end(), record.begin(), record.end());
                written += WriteFile(out / "map_objects" / (name + "-" + std::to_string(key)), seed);
            }
        }
        for (const RuleKind& rule : kRuleKinds) {
            if (std::strcmp(kind.name, rule.kind) != 0 || end <= first) continue;
            std::vector<unsigned char> seed{rule.which, world.version};
            for (u32 key = first; key < end; ++key) {
                const std::vector<unsigned char> record = Record(*db, static_cast<u16>(key));
                // The target's form: {u16 length, bytes}; a longer record would not fit its length.
                if (record.size() > 0xFFFF) break;
                seed.push_back(static_cast<unsigned char>(record.size() & 0xFF));
                seed.push_back(static_cast<unsigned char>(record.size() >> 8));
                seed.insert(seed.end(), record.begin(), record.end());
            }
            written += WriteFile(out / "rule_records" / (name + "-" + rule.kind), seed);
        }
    };
    CWorldLoadError error;
    if (!LoadWorldKinds(context, &error)) {
        std::fprintf(stderr, "vantrel_fuzzseeds: %s does not load: record %u (%s)\n", path.c_str(), error.record,
                     error.kind.c_str());
        lists.Clear();
        return 1;
    }
    for (size_t i = 0; i < lists.scripts.Count(); ++i) {
        const CScript* script = lists.scripts.At(i);
        if (!script || !script->code || script->codeLength == 0) continue;
        const std::vector<unsigned char> code(script->code, script->code + script->codeLength);
        written += WriteFile(out / "script_engine" / (name + "-" + (script->id ? script->id : std::to_string(i))),
                             code);
    }
    lists.Clear();
    std::printf("%s: %d seeds\n", name.c_str(), written + 1);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path out, saves;
    std::vector<fs::path> worlds;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--out" && i + 1 < argc) out = argv[++i];
        else if (arg == "--saves" && i + 1 < argc) saves = argv[++i];
        else if (!arg.empty() && arg[0] != '-') worlds.push_back(arg);
        else {
            std::fprintf(stderr, "usage: vantrel_fuzzseeds --out DIR [--saves DIR] DATABASE.pdb...\n");
            return 2;
        }
    }
    if (out.empty()) return 2;
    int failed = 0;
    for (const fs::path& world : worlds) failed |= SeedWorld(world, out);
    if (!saves.empty()) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(saves, ec)) {
            const std::string file = entry.path().filename().string();
            if (file.rfind("VantrelSave", 0) != 0 || entry.path().extension() != ".pdb") continue;
            fs::create_directories(out / "saved_game");
            fs::copy_file(entry.path(), out / "saved_game" / ("session-" + entry.path().stem().string()),
                          fs::copy_options::overwrite_existing, ec);
            if (ec) failed = 1;
        }
    }
    return failed;
}
