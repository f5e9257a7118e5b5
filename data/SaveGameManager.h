// The saved games: one database "VantrelSave%u" per slot (slot 0 is the automatic save) in the user's
// data folder. A save is composed whole in memory and written beside the old file, which it replaces
// only once it is on the disk; a load reads and checks the whole saved game before the running game is
// touched.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Types.h"
#include "data/SavedGame.h"

class CFileFinder;
class CGame;
class CProgressDialog;
class CStream;
class CWorldList;

// What a saved-game slot shows: the header of its saved game, read once; nothing stays open.
struct CSavedGameInfo {
    u32 version = 0;
    u32 slot = 0;
    std::string mapName;
    std::string dayAndTime;
    std::vector<u16> thumbnail;  // RGB565, width x height
    // The slot's file is there but is no readable saved game: nothing above is set, the slot is shown as
    // damaged, can be deleted, and is not overwritten unasked.
    bool damaged = false;
    u16 width = savegame::kThumbnailWidth;
    u16 height = savegame::kThumbnailHeight;
    void Release() { thumbnail.clear(); }
};

// The parts of a saved game that the layers above the game data keep (the script globals, the player,
// the game view, the panels) and the running game itself: the game implements it.
class ISavedGameParts {
public:
    virtual ~ISavedGameParts() = default;
    // The picture of the current view, savegame::kThumbnailPixels values.
    virtual void MakeThumbnail(u16* pixels) = 0;
    // The game clock as the game screen shows it.
    virtual std::string DayAndTimeText() = 0;
    // Writes the section of record 3002..3005; false when it cannot be written.
    virtual bool WritePart(u16 recordId, CStream& stream, CSaveStringTable& strings) = 0;
    // Reads the section of record 3002..3005 into a waiting copy, touching nothing of the running game;
    // false when it is damaged.
    virtual bool ReadPart(u16 recordId, CStream& stream, const CSaveStringTable& strings, u32 version) = 0;
    // Forgets the waiting copies of a load that failed its checks.
    virtual void DiscardParts() = 0;
    // Tears the running game down and opens the worlds afresh; false when they cannot be opened.
    virtual bool ResetForLoad() = 0;
    // Makes the waiting copies live, after the map states are in place.
    virtual void CommitParts() = 0;
    // Puts the player on a cell of the current section, when a saved place no longer exists.
    virtual void PlacePlayer(u32 x, u32 y) = 0;
    // The load is complete: the game goes on in this world's section, at the place the parts gave.
    virtual void EnterSavedPlace(CWorld& world, CMapSection& section) = 0;
};

class CSaveGameManager {
public:
    static constexpr u32 kSlotCount = 5;

    // Writes the game to a slot. 1 only when the saved game is on the disk; the old one stays otherwise.
    int Save(u32 slot);
    // A new description of the slot when its file exists: of its saved game when the database and its
    // header check, else one marked damaged; null when the slot has no file. A temporary file that a
    // save cut off by a kill left beside the slot's file is removed first.
    std::unique_ptr<CSavedGameInfo> List(u32 slot);
    // Replaces the running game by the slot's saved game: 1 on success. On 0 the running game is as it
    // was unless LastError says the worlds could not be opened again.
    int Load(u32 slot, CProgressDialog* progress);
    // Removes the slot's saved game; 1 when it was removed.
    int Delete(u32 slot);
    // Removes "<name>.pdb" from the saved games' folder (an additional world's own saved data).
    int DeleteDatabase(const char* name);

    // Why the last Save, Load or Delete failed; empty after a success.
    const std::string& LastError() const { return lastError_; }
    // The database path of a slot, without ".pdb".
    std::string SlotPath(u32 slot) const;
    // The folder the saved games are written to, with its trailing '/'.
    std::string Folder() const;

    CGame* owner = nullptr;
    CFileFinder* finder = nullptr;
    CWorldList* worlds = nullptr;      // the open worlds
    ISavedGameParts* parts = nullptr;  // the game's own parts
    std::string folder;                // the saved games' folder with its trailing '/'; empty: the user's
    CSaveStringTable strings;
    u32 savesRequested = 0;
    u32 lastSlot = 0;
    u32 loadsRequested = 0;
    // Across every manager of the process, so that a test can look after the game is gone.
    static inline u32 totalSavesRequested = 0;

private:
    static std::string WithSystemReason(const std::string& what);
    bool Fail(const std::string& why);
    // `what` with the world list's reason, when it has one.
    std::string WorldsProblem(const char* what) const;

    std::string lastError_;
    bool saving_ = false;  // a save is writing its temporary file: that one is no leftover
};
