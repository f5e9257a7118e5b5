// What the screens need of the game beyond what every form and widget needs (ui/WidgetHost.h): the
// main game view and the player, the saved games, the loading pictures, the screen stack, the world,
// the settings block with the layout mode, the installed additional worlds and the orderly end of the
// program. The game object implements it and hands it to the screens
// that take it when it builds the screen table.
#pragma once

#include <string>

#include "core/Types.h"
#include "ui/WidgetHost.h"

class CGameScreen;
class CNpc;
class CScriptContext;
class IConditionEvaluator;
class INpcCustomer;
struct CNpcProfile;
class CWorldEntryArray;
struct CGameSettings;
class CPlayer;
class CPortraitList;
struct CRuleContext;
class CProgressDialog;
class CQuestList;
class CRecipeList;
class CSaveGameManager;
class ITradeWorld;

class CScreenHost : public CWidgetHost {
public:
    // The main game view (screen 1); null before the screen table exists.
    virtual CGameScreen* GetGameScreen() const = 0;
    virtual CPlayer& GetPlayer() = 0;
    virtual CSaveGameManager& GetSaveGames() = 0;
    // What the shop and the NPC services use of the world and the player; null while no game runs.
    virtual ITradeWorld* GetTradeWorld() = 0;

    // Loads loading picture `index` (0..3) from the interface database unless it already holds a
    // loaded picture; the game keeps it until a game starts. Returns the holder.
    virtual CRecordHolder* LoadLoadingPicture(int index, u16 record) = 0;

    // Leaves every kept screen but the bottom one, or all of them.
    virtual void PopScreensToOne() = 0;
    virtual void PopAllScreens() = 0;

    // Forgets the current world, and opens the game's own databases (then the enabled additional
    // worlds) for a new game, one progress step per database: 1 when the base world is open. When it
    // is not, WorldOpenError names the file (and the record) that failed.
    virtual void ResetWorld() = 0;
    virtual int OpenGameDatabases(CProgressDialog* progress) = 0;
    virtual std::string WorldOpenError() const = 0;

    // The settings block, changed in place by the screens that edit it; SaveSettings writes all of it
    // (false when the store could not be written).
    virtual CGameSettings& GetSettings() = 0;
    virtual bool SaveSettings() = 0;
    // Switches the running game to another layout mode: the game keeps the mode, the frame window
    // takes its size and title (and remembers it), and the video output is rebuilt for it.
    virtual void SwitchLayoutMode(u32 mode) = 0;

    // The installed additional worlds, in the order the scan found them.
    virtual CWorldEntryArray& GetInstalledWorlds() = 0;
    // Writes the installed worlds' enabled flags into the remembered worlds of the settings block and
    // saves the settings.
    virtual void SaveWorldConfiguration() = 0;
    // Deletes the database file of an installed world (the file of the program folder, extension and
    // all, as WorldEntryFile gives it); true only when the file is gone afterwards.
    virtual bool DeleteWorldDatabase(const char* file) = 0;
    // Removes the installed world of that short name from the list.
    virtual void RemoveInstalledWorldEntry(const char* shortName) = 0;

    // The NPC screens. An NPC record travels in an entry word as a handle that the game gives out
    // (0 for none); the screens turn it back into the record.
    virtual u32 GetEntryForNpc(CNpc* npc) { return 0; }
    virtual CNpc* GetNpcForEntry(u32 word) { return nullptr; }
    // The world's talk profile of that id; null when there is none.
    virtual const CNpcProfile* FindTalkProfile(const char* id) { return nullptr; }
    // The player as the NPC services see it; null before a player exists.
    virtual INpcCustomer* GetCustomer() { return nullptr; }
    // How dialogue conditions are tested; null lets the talk screen test them through the script
    // context (without a talk partner).
    virtual const IConditionEvaluator* GetDialogueConditions() { return nullptr; }
    // The script run context (talk lines run their scripts through it); null before start-up made it.
    virtual CScriptContext* GetScriptContext() { return nullptr; }

    // The character tables of the open world as the rules read them (races, skills, abilities), and
    // its portraits, whose selectable ones are the faces a character may take.
    virtual const CRuleContext& GetRules() const = 0;
    virtual const CPortraitList& GetPortraits() const = 0;

    // Sets the new game up from the character creation's choices (screen 10): the player with the
    // start kit, and the place where the game begins. False when it could not be set up.
    virtual bool NewGame(CProgressDialog* progress) = 0;

    // The page sequences of the open world: a sequence's number by id (0 for none) and, for a number,
    // its music and pages (false for none). A page's script is run by its id.
    virtual u32 FindPageSequence(const char* id) const = 0;
    virtual bool GetPageSequence(u32 number, struct CPageSequenceView& sequence) const = 0;
    virtual void RunPageScript(const char* id) = 0;
    // A picture of the texture set by name with its data read (null when there is none or it cannot
    // be read), and its data freed again (the entry stays).
    virtual CRecordHolder* LoadTexturePicture(const char* name) = 0;
    virtual void UnloadTexturePicture(CRecordHolder* picture) = 0;

    // The panel screen: the world's quests and alchemy recipes (null while no world is open), and whether
    // a fight is going on near the player (items other than weapons and shields cannot be changed then).
    virtual const CQuestList* GetQuests() const { return nullptr; }
    virtual const CRecipeList* GetRecipes() const { return nullptr; }
    virtual bool IsThreatNear() const { return false; }

    // Ends the program in order after the current message: the game is then destroyed, which stops
    // the sounds and writes the automatic save.
    virtual void QuitGame() = 0;
};
