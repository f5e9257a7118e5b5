// The open worlds: the four game databases (music, sounds, pictures, base) and the enabled additional
// worlds, each loaded by the world loader into one CWorld and the shared record lists; the installed-
// worlds list of the program folder with the remembered worlds of the settings; the look-ups by short
// name and section name.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Types.h"
#include "core/WorldEntry.h"
#include "data/World.h"

class CFileFinder;
class CMapSection;
class CWorldLists;
struct CGameSettings;
struct CWorldSetting;
class CStr;

// Whether a slot of the remembered worlds stands for the world of that short name.
bool RemembersWorld(const CWorldSetting& slot, const CStr& shortName);

class CWorldList {
public:
    // The databases that start-up and every new game or load open, in this order.
    static constexpr const char* kMusicDatabase = "VantrelMusic";
    static constexpr const char* kSoundDatabase = "VantrelSound";
    static constexpr const char* kResourceDatabase = "VantrelRes";
    static constexpr const char* kBaseDatabase = "VantrelBase";
    // The map object of the base world where every new game begins.
    static constexpr const char* kStartPlace = "base_start";

    // finder: the program folder (null: the platform's); settings: the remembered worlds (may be null).
    CWorldList(CWorldLists& lists, CFileFinder* finder, CGameSettings* settings);
    ~CWorldList();
    CWorldList(const CWorldList&) = delete;
    CWorldList& operator=(const CWorldList&) = delete;

    // Opens "<name>.pdb" of the program folder (creator "VnTl") and loads it as a new world, which
    // becomes the current one. 1 on success. A file that cannot be opened is skipped quietly; a world
    // that fails to load is closed and not added, and LastError names the file and the record.
    int OpenWorldByName(const char* name);
    // The same for an installed-worlds entry (opened as the file the scan found, no creator check).
    int OpenFoundWorld(const CWorldEntry& entry);
    // Stops all music and samples, then opens music, sound, resource and base databases in that order,
    // calling `advance` after each. 1 when the resource and base databases are open and sound: the base
    // world named "base" and holding the start place. On 0, OpenProblem says which file and record
    // failed and what is wrong. Music and sound may be missing: each one skipped is noted once.
    int OpenGameDatabases(const std::function<void()>& advance = {});
    // Opens a database that the game can do without (music, sounds) like OpenWorldByName; one that
    // fails is noted once.
    int OpenOptionalDatabase(const char* name);
    // Opens every enabled installed world, in list order; each one that fails is noted once.
    void OpenInstalledWorlds();

    // Start-up: scans the program folder for additional worlds and reconciles the list with the
    // remembered worlds of the settings.
    void UpdateInstalledWorlds();
    void RemoveInstalledWorldEntry(const char* shortName);
    // For expansion n (1..3): each enabled entry of that expansion, as the label "title (price\t)" and
    // the id "short_STARTGAME" (price 50, 100 or 200).
    void AddWorldStartEntries(u32 n, const std::function<void(const char* label, const char* id)>& add) const;

    // The first open world whose short name equals the name cut to 4 characters; null when none.
    CWorld* FindWorldByShortName(const char* name) const;
    CMapSection* FindSectionInAllWorlds(const char* name) const;
    // Releases every world, first opened first, and empties the record lists.
    void CloseAllWorlds();

    u32 Count() const { return static_cast<u32>(worlds_.size()); }
    CWorld* At(u32 i) const { return i < worlds_.size() ? worlds_[i].get() : nullptr; }
    CWorld* Current() const { return current_; }
    void SetCurrent(CWorld* world) { current_ = world; }
    CWorldEntryArray& Installed() { return installed_; }
    CWorldLists& Lists() { return lists_; }

    // The last failure to load a world: the file and the record; empty when none.
    const std::string& LastError() const { return lastError_; }
    const CWorldLoadError& LastLoadError() const { return lastLoadError_; }
    void ClearError();
    // Why the last OpenGameDatabases failed, one sentence naming the file (and the record); empty after
    // a success.
    const std::string& OpenProblem() const { return openProblem_; }
    // The optional databases skipped since the last call, one sentence each; a file is noted only the
    // first time it is skipped in the life of the list.
    std::vector<std::string> TakeSkipNotes();

private:
    // file: the database's file name as the player finds it in the folder, for the error text.
    int LoadOpened(std::unique_ptr<CPdbFile> db, const std::string& file);

    CWorldLists& lists_;
    CFileFinder* finder_;
    CGameSettings* settings_;
    std::vector<std::unique_ptr<CWorld>> worlds_;
    CWorld* current_ = nullptr;
    CWorldEntryArray installed_;
    // Opens and loads one database by file; on failure `why` names the file and what went wrong.
    int OpenNamed(const char* name, std::string& why);
    // The base world's own checks: its short name and its start place.
    bool CheckBaseWorld(std::string& why) const;
    void NoteSkipped(const std::string& file, const std::string& why);

    std::string lastError_;
    CWorldLoadError lastLoadError_;
    std::string openProblem_;
    std::vector<std::string> skipNotes_;
    std::vector<std::string> skippedFiles_;
};
