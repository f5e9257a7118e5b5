// Arbitrary bytes as a saved-game database: read and check the whole saved game as a load does before
// it touches the running game, then read the game's own records (the globals, the player, the game
// view, the panels) as the load's checks do. Every section name resolves to a full-size section of a
// world with two monster types, so that explored maps, creatures, bags and effect holders are read
// too. Nothing may crash, leak or read outside a buffer.
#include "core/PdbFile.h"
#include "core/Stream.h"
#include "data/CreatureCatalogue.h"
#include "data/MapSection.h"
#include "data/SavedGame.h"
#include "data/World.h"
#include "data/WorldRecords.h"
#include "platform/Files.h"
#include "screens/panels/PanelScreen.h"
#include "world/GameViewState.h"
#include "world/Player.h"
#include "fuzz/ScratchFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using fuzz_support::ScratchFile;

namespace {

struct Place {
    Place() {
        rat.SetName("rat");
        rat.values[3] = 20;
        guard.SetName("guard");
        guard.kind = 4;
        world.tableE.names = {nullptr, "rat", "guard"};
        world.tableE.entries = {nullptr, &rat, &guard};
        section.world = &world;
        section.exploredRowLength = 5;
        section.explored.assign(35 * 5, 0);
        CPlacement door;
        door.id = 1;
        section.placements.push_back(door);
    }
    CMonsterType rat, guard;
    CWorld world;
    CMapSection section;
};

// One of the game's own records read as the load's checks read it; its bytes stay untouched.
void ReadPart(CPdbFile& db, u16 id, u32 version, CSaveStringTable& strings) {
    CRecordDataPtr record(db.ReadRecord(id));
    if (!record) return;
    std::vector<u8> bytes(record->data, record->data + record->size);
    CStream stream;
    stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    if (id == savegame::kGlobalsRecord) {
        CGlobalVarList globals;
        globals.Restore(stream);
    } else if (id == savegame::kPlayerRecord) {
        static const CRuleContext noTables;
        CPlayer player;
        player.SetWorld(&noTables);
        player.SerializeSaved(stream, strings, version);
        player.ForgetWorld();
    } else if (id == savegame::kGameViewRecord) {
        CGameViewState view;
        view.Serialize(stream, static_cast<u8>(version > 255 ? 255 : version));
    } else {
        CPanelState panels;
        SerializePanelState(stream, panels);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        auto file = plat::CreateFileForWriting(ScratchFile());
        if (!file || (size && !file->Write(data, size))) return 0;
    }
    CPdbFile db;
    if (!db.OpenPath(ScratchFile())) return 0;
    static Place place;
    CSavedGame game;
    std::string why;
    savegame::ReadSavedGame(
        db, [](const char*, const char*) -> const CMapSection* { return &place.section; }, game, why);
    for (u32 i = 0; i < 3; ++i)
        for (u32 index = 0; index < 4; ++index)
            game.strings.NameAt(static_cast<CSaveStringTable::Table>(i), index);
    for (u16 id : {savegame::kGlobalsRecord, savegame::kPlayerRecord, savegame::kGameViewRecord})
        ReadPart(db, id, game.version, game.strings);
    return 0;
}
