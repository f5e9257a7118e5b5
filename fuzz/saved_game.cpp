// Arbitrary bytes as a saved-game database: read and check the whole saved game as a load does before
// it touches the running game. Every section name resolves to a full-size section, so that explored
// maps are read too. Nothing may crash, leak or read outside a buffer.
#include "core/PdbFile.h"
#include "data/MapSection.h"
#include "data/SavedGame.h"
#include "platform/Files.h"
#include "fuzz/ScratchFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

using fuzz_support::ScratchFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        auto file = plat::CreateFileForWriting(ScratchFile());
        if (!file || (size && !file->Write(data, size))) return 0;
    }
    CPdbFile db;
    if (!db.OpenPath(ScratchFile())) return 0;
    static CMapSection section;
    static const bool ready = [] {
        section.exploredRowLength = 5;
        section.explored.assign(35 * 5, 0);
        return true;
    }();
    (void)ready;
    CSavedGame game;
    std::string why;
    savegame::ReadSavedGame(
        db, [](const char*, const char*) -> const CMapSection* { return &section; }, game, why);
    for (u32 i = 0; i < 3; ++i)
        for (u32 index = 0; index < 4; ++index)
            game.strings.NameAt(static_cast<CSaveStringTable::Table>(i), index);
    return 0;
}
