#include "data/SaveGameManager.h"

#include <string>

#include "core/PdbFile.h"
#include "core/Stream.h"
#include "data/MapSection.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "platform/Files.h"

namespace {

// Composes one record in a growable stream and adds it to the database; false when it did not fit.
template <typename Fn>
bool AddComposed(CPdbFile& db, u16 id, Fn&& write) {
    CStream stream;
    stream.InitForWriting();
    if (!write(stream) || stream.HasError()) return false;
    return db.AddRecord(id, stream.GetBuffer(), stream.GetOffset()) == 1;
}

// Where a player lands in the base world when the saved world is gone, by its expansion number.
struct CFallback {
    const char* section;
    u32 x, y;
};

CFallback FallbackFor(u8 expansion) {
    if (expansion == 1) return {"base_s0403", 14, 19};
    if (expansion == 2) return {"base_s0609", 20, 17};
    return {"base_s0804", 18, 24};
}

}  // namespace

std::string CSaveGameManager::Folder() const { return folder.empty() ? plat::UserDataFolder() : folder; }

std::string CSaveGameManager::SlotPath(u32 slot) const {
    return Folder() + "VantrelSave" + std::to_string(slot);
}

// A failed write says what the system said: a full disk and a folder without rights call for
// different remedies.
std::string CSaveGameManager::WithSystemReason(const std::string& what) {
    const std::string reason = plat::LastFileError();
    return reason.empty() ? what : what + " (" + reason + ")";
}

bool CSaveGameManager::Fail(const std::string& why) {
    lastError_ = why;
    return false;
}

int CSaveGameManager::Save(u32 slot) {
    ++savesRequested;
    ++totalSavesRequested;
    lastSlot = slot;
    lastError_.clear();
    if (!worlds || !parts) return Fail("no game to save"), 0;
    const CWorld* current = worlds->Current();
    if (!current) return Fail("no current world"), 0;

    const std::string name = "VantrelSave" + std::to_string(slot);
    CPdbFile db(owner, finder);
    db.InitSavedGameHeader(name.c_str());

    std::vector<u16> thumbnail(savegame::kThumbnailPixels, 0);
    parts->MakeThumbnail(thumbnail.data());
    const CMapSection* section = current->currentSection;
    const std::string when = parts->DayAndTimeText();
    bool ok = AddComposed(db, savegame::kHeaderRecord, [&](CStream& s) {
        return savegame::WriteHeader(
            s, thumbnail.data(), section && section->displayName ? section->displayName : "", when.c_str());
    });
    std::vector<const CWorld*> listed;
    std::vector<u16> firsts;
    ok = ok && AddComposed(db, savegame::kWorldListRecord,
                           [&](CStream& s) { return savegame::WriteWorldList(s, *worlds, listed, firsts); });
    strings.Reset();
    for (size_t w = 0; ok && w < listed.size(); ++w) {
        const CWorld& world = *listed[w];
        ok = AddComposed(db, firsts[w],
                         [&](CStream& s) { return savegame::WriteWorldStates(s, world, firsts[w]); });
        for (u32 i = 0; ok && i < world.SectionCount(); ++i)
            ok = AddComposed(db, static_cast<u16>(firsts[w] + 1 + i), [&](CStream& s) {
                return savegame::WriteSectionState(s, *world.SectionAt(i), strings);
            });
    }
    for (u16 id : {savegame::kGlobalsRecord, savegame::kPlayerRecord, savegame::kGameViewRecord,
                   savegame::kPanelsRecord})
        ok = ok && AddComposed(db, id, [&](CStream& s) { return parts->WritePart(id, s, strings); });
    ok =
        ok && AddComposed(db, savegame::kStringTableRecord, [&](CStream& s) { return strings.Serialize(s); });
    if (!ok) {
        db.Release();
        return Fail("a record of the saved game is too large"), 0;
    }
    plat::ClearFileError();
    if (!plat::EnsureFolder(Folder())) {
        db.Release();
        return Fail(WithSystemReason("the saved games' folder cannot be made")), 0;
    }
    saving_ = true;
    const int written = db.Save(SlotPath(slot).c_str());
    saving_ = false;
    db.Release();
    if (!written) return Fail(WithSystemReason("the saved game could not be written")), 0;
    return 1;
}

std::unique_ptr<CSavedGameInfo> CSaveGameManager::List(u32 slot) {
    if (slot >= kSlotCount) return nullptr;
    const std::string file = SlotPath(slot) + ".pdb";
    // The database layer writes a save to this file and renames it over the slot's only when it is
    // complete: one that is still there was cut off, and the slot's own file is whole.
    if (!saving_) plat::DeleteFile(file + ".tmp");
    if (!plat::FileExists(file)) return nullptr;
    auto info = std::make_unique<CSavedGameInfo>();
    info->slot = slot;
    info->damaged = true;
    CPdbFile db(owner, finder);
    if (!db.Open(SlotPath(slot).c_str(), "VnTS") || !db.HasType("VnTS")) return info;
    CRecordDataPtr record(db.ReadRecord(savegame::kHeaderRecord));
    db.Close();
    if (!record) return info;
    CSavedGame game;
    CStream stream;
    stream.InitForReading(*record);
    if (!savegame::ReadHeader(stream, game)) return info;
    info->damaged = false;
    info->version = game.version;
    info->slot = slot;
    info->mapName = std::move(game.mapName);
    info->dayAndTime = std::move(game.dayAndTime);
    info->thumbnail = std::move(game.thumbnail);
    return info;
}

int CSaveGameManager::Load(u32 slot, CProgressDialog*) {
    ++loadsRequested;
    lastSlot = slot;
    lastError_.clear();
    if (!worlds || !parts) return Fail("no game to load into"), 0;

    // Without the base world no game runs that a failed load could spoil: the worlds are opened first,
    // so that each saved section is checked against, and later read into, the section it belongs to.
    if (!worlds->FindWorldByShortName("base") && !parts->ResetForLoad())
        return Fail(WorldsProblem("the worlds could not be opened")), 0;

    // Everything is read and checked before the running game is touched.
    CSavedGame game;
    {
        CPdbFile db(owner, finder);
        if (!db.Open(SlotPath(slot).c_str(), "VnTS")) return Fail("the saved game cannot be opened"), 0;
        std::string why;
        CWorldList& open = *worlds;
        auto lookup = [&open](const char* world, const char* name) -> const CMapSection* {
            CWorld* w = open.FindWorldByShortName(world);
            return w ? w->FindSectionByName(name) : nullptr;
        };
        if (!savegame::ReadSavedGame(db, lookup, game, why, &worlds->Lists().items,
                                     &worlds->Lists().creatures))
            return Fail("the saved game is damaged: " + why), 0;
    }
    for (auto& [id, bytes] : game.parts) {
        CStream stream;
        stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
        if (!parts->ReadPart(id, stream, game.strings, game.version) || stream.HasError()) {
            parts->DiscardParts();
            return Fail("the saved game is damaged: record " + std::to_string(id) + " is damaged"), 0;
        }
    }

    if (!parts->ResetForLoad()) {
        parts->DiscardParts();
        return Fail(WorldsProblem("the worlds could not be opened again")), 0;
    }
    savegame::ApplyMapStates(game, *worlds, &worlds->Lists().items, &worlds->Lists().creatures);
    strings = game.strings;
    parts->CommitParts();

    CWorld* current = worlds->FindWorldByShortName(game.currentWorld.c_str());
    CMapSection* section = current ? current->FindSectionByName(game.currentSection.c_str()) : nullptr;
    if (!section) {
        // The saved world or its section is gone: the base world takes the player in by expansion.
        const CFallback fallback = FallbackFor(game.expansion);
        current = worlds->FindWorldByShortName("base");
        section = current ? current->FindSectionByName(fallback.section) : nullptr;
        if (current && !section && current->SectionCount() > 0) section = current->SectionAt(0);
        if (!section) return Fail("the saved place and the base world's start are both gone"), 0;
        parts->PlacePlayer(fallback.x, fallback.y);
    }
    worlds->SetCurrent(current);
    current->currentSection = section;
    parts->EnterSavedPlace(*current, *section);
    return 1;
}

std::string CSaveGameManager::WorldsProblem(const char* what) const {
    std::string why = worlds ? worlds->OpenProblem() : std::string();
    if (why.empty()) return what;
    // The sentence of the world list ends the message that the screens finish with their own stop.
    if (why.back() == '.') why.pop_back();
    return std::string(what) + ": " + why;
}

int CSaveGameManager::Delete(u32 slot) {
    lastError_.clear();
    if (!plat::DeleteFile(SlotPath(slot) + ".pdb")) return Fail("the saved game could not be deleted"), 0;
    return 1;
}

int CSaveGameManager::DeleteDatabase(const char* name) {
    if (!name) return 0;
    return plat::DeleteFile(Folder() + name + ".pdb") ? 1 : 0;
}
