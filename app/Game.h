// The one game object: it owns every long-lived object of the game, the screens and the interface
// pictures, and it is the single path by which input reaches the game. The frame hands it commands,
// pen events and ticks; it passes each to the current screen and switches screens by the screen code
// that comes back.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <vector>
#include <string>

#include "ui/InterfacePictures.h"
#include "core/PdbFile.h"
#include "core/PointerArray.h"
#include "core/Settings.h"
#include "core/Str.h"
#include "core/Types.h"
#include "core/WorldEntry.h"
#include "data/RuleContext.h"
#include "data/SaveGameManager.h"
#include "data/TextureSet.h"
#include "screens/ScreenHost.h"
#include "ui/ScreenIds.h"
#include "app/PlayerCustomer.h"
#include "world/GameViewHost.h"
#include "world/MapObject.h"
#include "world/Player.h"

class CRandom;
class CVideo;
class CFontSet;
class CScriptEngine;
class CScriptContext;
class CPdbFile;
class CSoundManager;
class CFileFinder;
class CScreen;
class CGameScreen;
class CPanelScreen;
struct CPanelState;
struct CGameViewState;
class CMapSection;
class CGameWidgetData;
class CRecordHolder;
class CLoadedResource;
class CSoundEntry;
class CWorld;
class CGameTradeWorld;
class CGameViewDialogs;
class CWorldList;
class CWorldLists;
struct CPageSequenceView;
class CMainFrame;
struct CRecordData;
class CProgressDialog;

constexpr int kScreenSlotCount = 14;

// "Day %u, %u:%02u %s" of a game clock in minutes: the day from 1, the hour on the 12-hour clock.
std::string FormatDayAndTime(u32 minutes);

// The slot of a screen id (slots are kept in the order 1, 2, 3, 4, 5, 7, 6, 8, ..., 12, 14, 15), or
// -1 for a code that names no screen.
int ScreenSlotOf(u32 id);

class CGame : public CScreenHost, public IGameViewHost, public ISavedGameParts {
public:
    CGame();
    ~CGame() override;
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    // Builds everything the game owns, in a fixed order, and switches to the splash screen. Returns
    // false, with the reason in StartupError(), when the interface database or one of the records
    // that start-up reads is missing or the video output cannot be made; the game must then be
    // destroyed without being run.
    bool Initialize();
    const std::string& StartupError() const { return startupError; }
    // What must happen before the owned objects go (they go with the members): the world is reset,
    // the kept screens are left and nothing is current any more.
    void ReleaseResources();

    // Input forwarding to the current screen; nothing reaches a screen without video output.
    void SendCommand(u32 command);
    // A character typed on the keyboard for the screen's text entry; false when nothing types text.
    bool TypeChar(char c);
    void PenEvent(i32 x, i32 y, u32 down, u32 moving);
    u32 Tick();
    void SwitchScreen(u32 code);

    void PopScreensToOne() override;
    void PopAllScreens() override;
    void LeaveStackedScreens();

    void ResetWorld() override;
    void InitWorldLists(CProgressDialog* progress);
    void RefreshAfterLoad(CProgressDialog* progress);

    // The settings block: defaults at construction, read once at start-up, written whole whenever a
    // caller changes it.
    void SetDefaultSettings();
    void LoadSettings();
    bool SaveSettings() override;
    CGameSettings& GetSettings() override { return settings; }
    void SwitchLayoutMode(u32 mode) override;

    // The installed additional worlds of the world list (an empty list before start-up made it).
    CWorldEntryArray& GetInstalledWorlds() override;
    void SaveWorldConfiguration() override;
    bool DeleteWorldDatabase(const char* file) override;
    void RemoveInstalledWorldEntry(const char* shortName) override;

    // What the video output and the fonts ask of the game.
    u32 GetLayoutMode() const override { return layoutMode; }
    plat::Window* GetWindow() override;
    void GetClientSize(u32& width, u32& height) const override;
    void ChangeScreenMode(u32 mode) override;
    CViewState* GetViewState() override;
    void GetLayoutTable(const u8*& table, size_t& size) const override;
    u32 GetViewSize(u32 viewSet) const override;
    bool ReadInterfaceRecord(u32 record, std::vector<u8>& bytes) override;

    // What forms, widgets and screens ask of the game.
    CVideo* GetVideo() const override { return video.get(); }
    CFontSet* GetFonts() const override { return fonts.get(); }
    CPdbFile* GetDataDb() const override { return dataDb.get(); }
    CRandom* GetRandom() const override { return random.get(); }
    u32 GetTickCounter() const override { return tickCounter; }
    u32 GetTextColor() const override { return textColor; }
    u32 GetPressedTextColor() const override { return pressedTextColor; }
    CRecordHolder* const* GetInterfacePictureSet(u16 first, int count) const override;
    CRecordHolder* GetLoadingPicture(int index) const override;
    CRecordHolder* LoadLoadingPicture(int index, u16 record) override;
    CRecordHolder* FindTexturePicture(const char* name) const override {
        return textureSet.FindPicture(name);
    }
    CScreen* GetCurrentScreen() const override { return currentScreen; }
    u32 GetStackedScreenCount() const override;
    u32 GetPlayerFacing() const override;
    CSoundManager* GetSound() const override { return sound.get(); }
    CPlayer& GetPlayer() override { return player; }
    CSaveGameManager& GetSaveGames() override { return saveGames; }
    ITradeWorld* GetTradeWorld() override;
    // The game view's spell book, mark and recall and ship voyage dialogs; made on first use.
    CGameViewDialogs& GetViewDialogs();
    int OpenGameDatabases(CProgressDialog* progress) override;
    std::string WorldOpenError() const override;
    // Writes to the terminal the optional databases that were skipped and not yet reported.
    void ReportSkippedDatabases();
    const CRuleContext& GetRules() const override;
    const CPortraitList& GetPortraits() const override;
    bool NewGame(CProgressDialog* progress) override;
    u32 FindPageSequence(const char* id) const override;
    bool GetPageSequence(u32 number, CPageSequenceView& sequence) const override;
    void RunPageScript(const char* id) override;
    CRecordHolder* LoadTexturePicture(const char* name) override;
    void UnloadTexturePicture(CRecordHolder* picture) override;
    void QuitGame() override;
    // Writes the automatic save as the window closes, when a game is in progress: false, with the
    // words for the player in `message`, when it could not be written. After a success the
    // destructor does not write it again.
    bool SaveBeforeClose(std::string& message);

    u32 GetEntryForNpc(CNpc* npc) override;
    CNpc* GetNpcForEntry(u32 word) override;
    const CNpcProfile* FindTalkProfile(const char* id) override;
    CScriptContext* GetScriptContext() override { return scriptContext.get(); }
    INpcCustomer* GetCustomer() override { return customer ? customer : &playerCustomer_; }
    // What the NPC services see of the player when it is not the player itself (a test's stand-in).
    INpcCustomer* customer = nullptr;

    const CQuestList* GetQuests() const override;
    const CRecipeList* GetRecipes() const override;

    // ---- saved games: the game's own parts (records 3002..3005), the header's picture and clock text,
    // and the teardown of a load that passed its checks ----
    void MakeThumbnail(u16* pixels) override;
    std::string DayAndTimeText() override;
    bool WritePart(u16 recordId, CStream& stream, CSaveStringTable& strings) override;
    bool ReadPart(u16 recordId, CStream& stream, const CSaveStringTable& strings, u32 version) override;
    void DiscardParts() override;
    bool ResetForLoad() override;
    void CommitParts() override;
    void PlacePlayer(u32 x, u32 y) override;
    void EnterSavedPlace(CWorld& world, CMapSection& section) override;
    // Where the game view and the panels join the saved game: their sections (3004, 3005), the view's
    // state taken from and given back to the running view, its reset before a new game or a load, the
    // clock of the header's text and the header's picture of the view.
    bool SerializeGameViewSection(CStream& stream, u32 version, CGameViewState& view);
    bool SerializePanelSection(CStream& stream, u32 version, CPanelState& state);
    void StoreGameViewState(CGameViewState& state) const;
    void RestoreGameViewState(const CGameViewState& state);
    void ResetGameViewState();
    u32 GameClockMinutes() const;
    void MakeGameViewThumbnail(u16* pixels);
    CPanelScreen* GetPanelScreen() const;

    CScreen* GetScreen(u32 id) const override;
    // Puts a screen in the slot of its id (start-up and tests), replacing the one there.
    void SetScreen(u32 id, std::unique_ptr<CScreen> screen);
    CGameScreen* GetGameScreen() const override;

    // What the main game view asks of the game.
    CWorldList* GetWorldList() const override { return worlds.get(); }
    CWorldLists* GetWorldLists() const override { return worldLists.get(); }
    CTextureSet& GetTextures() override { return textureSet; }
    const char* GetPendingMapName() const override { return pendingMapName.GetText(); }
    void SetCurrentWorld(CWorld* world) override;
    IGameViewDialogs* GetGameViewDialogs() override;
    CMapObjectTable* GetMapObjects() override { return &mapObjects; }
    IPanelEntry* GetPanelEntry() override;
    u32 TalkEntry(const char* npcId, u32& npcWord) override;
    void TalkPlace(const char* npcId, CMapSection* section, u32& creatureWord, u32& sectionWord) override;
    IScriptWorld* GetScreenScripts() override;
    // The section an entry word names (null for 0 or one that names none).
    CMapSection* GetSectionForEntry(u32 word) const;

    // The two interface sounds (click, confirm) as the sound front-end plays them; null when absent.
    CSoundEntry* GetInterfaceSound(int index) const override;

    // The interface picture of a base number; null when the number names none or it is not loaded.
    CRecordHolder* GetInterfacePicture(u16 base) const override;
    // The picture data of a base number, or null.
    const u8* GetInterfacePictureData(u16 base) const;
    // Fills every empty holder with the record the layout mode chooses. False when a record is
    // missing; `missing` then names it.
    bool LoadInterfacePictures(u16* missing);
    // Loads the interface pictures and the fonts again for the current layout mode, after a switch of
    // mode: each picture goes into the holder it had, so the widgets that point at a holder show the
    // new layout's picture. False when a record is missing; `missing` then names it.
    bool ReloadInterfacePictures(u16* missing);
    // Holds the picture as the interface picture of slot `index` (InterfacePictureIndex of its base).
    void SetInterfacePicture(int index, std::unique_ptr<CRecordHolder> picture);

    CStr programFolder;
    u32 firstFlag = 0;
    CScreen* currentScreen = nullptr;
    u32 layoutMode = 15;
    u32 tickCounter = 0;

    // Direction and colour tables filled at start-up.
    i32 neighbourX[8] = {};
    i32 neighbourY[8] = {};
    i32 directionBit[8] = {};
    u32 cornerMask[4] = {};
    u32 cornerBit[4] = {};
    i32 edgeRamp[8][32] = {};
    u32 eighthsMixed[7] = {};
    u32 eighths[7] = {};

    CGameSettings settings{};
    CWorld* currentWorld = nullptr;
    u32 textColor = 0;         // the normal interface text colour, 0x00BBGGRR
    u32 pressedTextColor = 0;  // the text colour of a pressed text button
    CSaveGameManager saveGames;
    bool savedOnClose = false;
    CTextureSet textureSet;
    CPlayer player;
    // The world's tables as the player and the rules reach them: bound whenever worlds open, and to the
    // world lists whenever asked for.
    mutable CRuleContext ruleContext;
    // The world and player as the NPC services see them: the game's own unless a test sets another.
    ITradeWorld* tradeWorld = nullptr;
    std::unique_ptr<CGameTradeWorld> gameTradeWorld;
    // The widgets' view of the game (item and equipment pictures), installed while the game lives.
    std::unique_ptr<CGameWidgetData> widgetData;
    u32 phaseTimers[9][2] = {};

    // The frame that shows the game (the video output is created for its window); may be null in
    // tests that run no start-up.
    CMainFrame* frame = nullptr;

    // What the game owns. Members go in the reverse order of their declaration, so the order here is
    // the order of shut-down, last first: the video output outlives the sound front-end, the sound
    // front-end the database, the database the fonts, and so on up to the layout table, which goes
    // first. The screens go after the pictures and sounds they draw and play, and before the script
    // engine, the random generator and the finder they may use.
    std::unique_ptr<CVideo> video;
    std::unique_ptr<CSoundManager> sound;
    std::unique_ptr<CPdbFile> dataDb;
    std::unique_ptr<CFontSet> fonts;
    std::unique_ptr<CFileFinder> finder;
    // The record lists every open world adds to, and the open worlds themselves: they go before the
    // finder and the sound front-end they use, after the screens that play their music.
    std::unique_ptr<CWorldLists> worldLists;
    // One object per map-object record of the open worlds; the game view brings it up to the records.
    CMapObjectTable mapObjects;
    std::unique_ptr<CWorldList> worlds;
    // Where the next game begins: the map object of this name in the open world.
    CStr pendingMapName;
    std::unique_ptr<CRandom> random;
    std::unique_ptr<CScriptEngine> scriptEngine;
    std::unique_ptr<CScriptContext> scriptContext;
    std::array<std::unique_ptr<CScreen>, kScreenSlotCount> screens;
    // Shown as the game view's modal children: they go before the screens.
    std::unique_ptr<CGameViewDialogs> viewDialogs;
    std::unique_ptr<CPointerArray> screenStack;  // of CScreen*, top last; does not own the screens
    // The four loading pictures that the main menu loads and the game view releases.
    std::unique_ptr<CRecordHolder> loadingPictures[4];
    std::unique_ptr<CLoadedResource> interfaceSounds[2];
    std::array<std::unique_ptr<CRecordHolder>, kInterfacePictureCount> interfacePictures;
    CRecordDataPtr layoutTable;

private:
    void FillTables();
    // Points the rule context at the open worlds' tables and hands it to the player.
    void BindWorldRules();
    bool Fail(const std::string& message);
    std::string startupError;
    CWorldEntryArray noWorlds_;
    // A load's parts that passed their checks, kept until the running game has been torn down.
    std::map<u16, std::vector<u8>> waitingParts_;
    CSaveStringTable waitingStrings_;
    u32 waitingVersion_ = 0;
    // The NPC records handed to the talk and services screens: entry word n names entry n - 1.
    std::vector<CNpc*> npcEntries_;
    // The sections whose bags a talk handed on: entry word n names entry n - 1.
    std::vector<CMapSection*> sectionEntries_;
    std::unique_ptr<IScriptWorld> screenScripts_;
    CPlayerCustomer playerCustomer_{player};
    std::unique_ptr<IGameViewDialogs> gameViewDialogs_;
    // The interface pictures as plain pointers in base-number order: the runs that
    // GetInterfacePictureSet hands out point into it. SetInterfacePicture keeps it in step.
    std::array<CRecordHolder*, kInterfacePictureCount> interfacePictureRuns_{};
};
