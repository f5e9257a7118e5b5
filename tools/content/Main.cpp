// vantrel_content: writes the interface database "VantrelData.pdb" and the four world databases
// (VantrelMusic, VantrelSound, VantrelRes, VantrelBase) into a folder (the build puts them beside the
// game's executable).
//   vantrel_content --out FOLDER [--fonts FOLDER] [--sheet FILE.png] [--world-version N]
// --world-version writes the world databases at an older data version (for the loader's tests).
//   vantrel_content --render-music FOLDER
// renders each composed song through the game's mixer into FOLDER/<song>.wav, to listen to it.
// --sheet also writes FILE-fonts.png, FILE-layout-N.png and FILE-mock.png, to look at the artwork and
// the layouts.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "tools/content/ContentBuilder.h"
#include "tools/content/rules/BaseRules.h"
#include "tools/content/rules/TownNpcs.h"
#include "tools/content/world/AdditionalWorld.h"
#include "tools/content/world/GameWorlds.h"
#include "tools/content/world/MusicRender.h"

int main(int argc, char** argv) {
    std::string out = ".", fonts = "/usr/share/fonts/truetype/dejavu", sheet, worldVersion = "122";
    if (argc == 3 && std::strcmp(argv[1], "--render-music") == 0)
        return world::RenderMusic(argv[2], 40) ? 0 : 1;
    for (int i = 1; i < argc; ++i) {
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        bool ok = false;
        if (std::strcmp(argv[i], "--out") == 0)
            ok = value(out);
        else if (std::strcmp(argv[i], "--fonts") == 0)
            ok = value(fonts);
        else if (std::strcmp(argv[i], "--sheet") == 0)
            ok = value(sheet);
        else if (std::strcmp(argv[i], "--world-version") == 0)
            ok = value(worldVersion);
        if (!ok) {
            std::fprintf(stderr,
                         "usage: %s --out FOLDER [--fonts FOLDER] [--sheet FILE.png] [--world-version N]\n",
                         argv[0]);
            return 2;
        }
    }
    try {
        auto records = BuildInterfaceRecords(fonts);
        std::string path = out + "/" + kDataName + ".pdb";
        if (!WriteInterfaceDatabase(records, path)) {
            std::fprintf(stderr, "vantrel_content: cannot write %s\n", path.c_str());
            return 1;
        }
        std::string stem = sheet.size() > 4 ? sheet.substr(0, sheet.size() - 4) : sheet;
        if (!sheet.empty() &&
            (!WriteContactSheet(records, sheet) || !WriteFontSample(records, stem + "-fonts.png") ||
             !WriteLayoutPreview(stem + "-layout.png") || !WriteMockScreen(records, stem + "-mock.png"))) {
            std::fprintf(stderr, "vantrel_content: cannot write %s\n", sheet.c_str());
            return 1;
        }
        std::printf("vantrel_content: wrote %s (%zu records)\n", path.c_str(), records.size());
        const int version = std::atoi(worldVersion.c_str());
        if (version < 1 || version > 122) {
            std::fprintf(stderr, "vantrel_content: --world-version takes 1..122\n");
            return 2;
        }
        if (!world::WriteGameWorlds(out, static_cast<uint8_t>(version))) return 1;
        if (!world::WriteAdditionalWorld(out, static_cast<uint8_t>(version))) return 1;
        std::printf("vantrel_content: wrote the world databases into %s\n", out.c_str());
        for (const std::string& warning : NpcServiceWarnings(BaseRules().npcs))
            std::fprintf(stderr, "vantrel_content: warning: %s\n", warning.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantrel_content: %s\n", e.what());
        return 1;
    }
    return 0;
}
