// Prints a database's header and record list, and one record in hex when asked; for a world database
// also its header record 3999 and where each record kind lies, read by the game's world loader.
// Maintainers use it on content databases and saved games:
//   vantrel_pdbdump FILE.pdb [--record KEY]
#include "core/PdbFile.h"
#include "data/TextureSet.h"
#include "data/World.h"
#include "data/WorldLists.h"
#include "data/WorldLoader.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

std::string Printable(const char* text, size_t max) {
    std::string out;
    for (size_t i = 0; i < max && text[i]; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        out += std::isprint(c) ? static_cast<char>(c) : '?';
    }
    return out;
}

void PrintHeader(const CPdbFile& db, const char* path) {
    const CPdbHeader& h = db.Header();
    std::printf("file: %s\n", path);
    std::printf("name: %s\n", Printable(h.name, sizeof h.name).c_str());
    std::printf("type: %s  creator: %s\n", Printable(h.type, 4).c_str(), Printable(h.creator, 4).c_str());
    std::printf("attributes: 0x%04X  version: %u\n", h.attributes, h.version);
    std::printf("created: %u  modified: %u  backed up: %u  (seconds since 1904)\n", h.creationDate,
                h.modificationDate, h.lastBackupDate);
    std::printf("modification number: %u  app info: %u  sort info: %u  unique-id seed: %u\n",
                h.modificationNumber, h.appInfoId, h.sortInfoId, h.uniqueIdSeed);
    std::printf("records: %u\n", db.GetRecordCount());
    std::printf("%6s %6s %10s %10s\n", "index", "key", "offset", "size");
    for (u32 i = 0; i < db.GetRecordCount(); ++i) {
        const CPdbRecordEntry& e = db.GetEntry(i);
        std::printf("%6u %6u %10u %10u\n", i, e.key, e.offset, e.size);
    }
}

void PrintHex(const CRecordData& record, u32 key) {
    std::printf("record %u: %u bytes\n", key, record.size);
    for (u32 row = 0; row < record.size; row += 16) {
        std::printf("%08X ", row);
        std::string text;
        for (u32 i = row; i < row + 16; ++i) {
            if (i < record.size) {
                const u8 b = record.data[i];
                std::printf(" %02X", b);
                text += std::isprint(b) ? static_cast<char>(b) : '.';
            } else {
                std::printf("   ");
            }
        }
        std::printf("  |%s|\n", text.c_str());
    }
}

// The world's header and its kinds, from record 4000 on, as the loader reads them.
void PrintWorld(const char* path) {
    auto db = std::make_unique<CPdbFile>();
    if (!db->OpenPath(path)) return;
    CWorld world;
    if (!world.ReadHeader(*db)) return;
    std::printf(
        "world header (record 3999): version %u, title \"%s\", short name \"%s\", expansion %u, byte G %u, "
        "grid %u x %u, section prefix \"%s\"\n",
        world.version, world.title.GetText(), world.shortName.GetText(), world.expansion, world.flagByte,
        world.gridWidth, world.gridHeight, world.sectionPrefix.GetText());
    CTextureSet textures;
    CWorldLists lists(textures);
    // The world owns its database, as when the game opens it: the sections read their own records
    // (cells, objects, monsters, bags) through it.
    world.database = std::move(db);
    CWorldLoadContext context{world, lists, world.database.get(), CWorld::kFirstKindRecord, world.version};
    const auto kinds = WorldKinds();
    size_t shown = 0;
    auto skipTo = [&shown, &kinds](size_t order) {
        for (; shown + 1 < order; ++shown)
            std::printf("  kind %2zu  tag 0x%02X  %-20s not read at this version\n", shown + 1,
                        kinds[shown].tag, kinds[shown].name);
    };
    context.trace = [&](const CWorldKind& kind, u16 first, u16 end) {
        const size_t order = static_cast<size_t>(&kind - kinds.data()) + 1;
        skipTo(order);
        shown = order;
        if (end > first + 1)
            std::printf("  kind %2zu  tag 0x%02X  %-20s records %u..%u\n", order, kind.tag, kind.name, first,
                        end - 1);
        else if (end == first + 1)
            std::printf("  kind %2zu  tag 0x%02X  %-20s record %u\n", order, kind.tag, kind.name, first);
        else
            std::printf("  kind %2zu  tag 0x%02X  %-20s no records\n", order, kind.tag, kind.name);
    };
    CWorldLoadError error;
    if (!LoadWorldKinds(context, &error))
        std::printf("  the world does not load: record %u (%s) is missing or damaged\n", error.record,
                    error.kind.c_str());
    else
        std::printf("  %zu kinds, %u sections\n", kinds.size(), world.SectionCount());
    lists.Clear();
}

int Usage() {
    std::fprintf(stderr, "usage: vantrel_pdbdump FILE.pdb [--record KEY]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = nullptr;
    long key = -1;
    for (int i = 1; i < argc; ++i) {
        if ((!std::strcmp(argv[i], "--record") || !std::strcmp(argv[i], "-r")) && i + 1 < argc) {
            char* end = nullptr;
            key = std::strtol(argv[++i], &end, 0);
            if (!end || *end || key < 0 || key > 0xFFFF) {
                std::fprintf(stderr, "vantrel_pdbdump: bad record key '%s' (0..65535)\n", argv[i]);
                return 2;
            }
        } else if (!path && argv[i][0] != '-') {
            path = argv[i];
        } else {
            return Usage();
        }
    }
    if (!path) return Usage();

    CPdbFile db;
    if (!db.OpenPath(path)) {
        std::fprintf(stderr,
                     "vantrel_pdbdump: cannot read '%s': missing, or not a well-formed database "
                     "(short header or record list, record offsets out of order or outside the file)\n",
                     path);
        return 1;
    }
    PrintHeader(db, path);
    if (CRecordData* header = db.ReadRecord(CWorld::kHeaderRecord)) {
        FreeDataBlock(header);
        PrintWorld(path);
    }
    if (key >= 0) {
        CRecordData* record = db.ReadRecord(static_cast<u32>(key));
        if (!record) {
            std::fprintf(stderr, "vantrel_pdbdump: no record with key %ld\n", key);
            return 1;
        }
        PrintHex(*record, static_cast<u32>(key));
        FreeDataBlock(record);
    }
    return 0;
}
