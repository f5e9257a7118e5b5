// The one game object: it owns every long-lived object of the game, the screens and the interface
// pictures, and it is the single path by which input reaches the game. The frame hands it commands,
// pen events and ticks; it passes each to the current screen and switches screens by the screen code
// that comes back.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "ui/InterfacePictures.h"
#include "core/PointerArray.h"
#include "core/Settings.h"
#include "core/Str.h"
#include "core/Types.h"
#include "data/SaveGameManager.h"
#include "data/TextureSet.h"
#include "display/DisplayHost.h"
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
class CRecordHolder;
class CLoadedResource;
class CSoundEntry;
class CWorld;
class CWorldList;
class CWorldLists;
class CMainFrame;
struct CRecordData;
class CProgressDialog;

// Screen codes that handlers answer with, besides the screen ids.
constexpr u32 kScreenStay = 0;
constexpr u32 kScreenBack = 99;

// Screen ids of the screen table.
enum : u32 {
    kScreenGame = 1,
    kScreenTalk = 2,
    kScreenServices = 3,
    kScreenPanels = 4,
    kScreenShop = 5,
    kScreenSplash = 6,
    kScreenDeath = 7,
    kScreenLoadSave = 8,
    kScreenMainMenu = 9,
    kScreenCreatePlayer = 10,
    kScreenPages = 11,
    kScreenCardGame = 12,
    kScreenSettings = 14,
    kScreenWorlds = 15,
};

// Command ids of the keys (widget results share the same space).
enum : u32 {
    kCommandForward = 1000,
    kCommandBack = 1002,
    kCommandTurnLeft = 1004,
    kCommandTurnRight = 1006,
    kCommandAttack = 3000,
    kCommandSpellBook = 3001,
    kCommandStrafeLeft = 3004,
    kCommandStrafeRight = 3005,
    kCommandUse = 3006,
    kCommandCancel = 3007,
};

constexpr int kScreenSlotCount = 14;

// The slot of a screen id (slots are kept in the order 1, 2, 3, 4, 5, 7, 6, 8, ..., 12, 14, 15), or
// -1 for a code that names no screen.
int ScreenSlotOf(u32 id);

class CGame : public CDisplayHost {
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
    void ReleaseResources();

    // Input forwarding to the current screen; nothing reaches a screen without video output.
    void SendCommand(u32 command);
    void PenEvent(i32 x, i32 y, u32 down, u32 moving);
    u32 Tick();
    void SwitchScreen(u32 code);

    void PopScreensToOne();
    void PopAllScreens();
    void LeaveStackedScreens();

    void ResetWorld();
    void InitWorldLists(CProgressDialog* progress);
    void RefreshAfterLoad(CProgressDialog* progress);

    // The settings block: defaults at construction, read once at start-up, written whole whenever a
    // caller changes it.
    void SetDefaultSettings();
    void LoadSettings();
    bool SaveSettings();

    // What the video output and the fonts ask of the game.
    u32 GetLayoutMode() const override { return layoutMode; }
    plat::Window* GetWindow() override;
    void GetClientSize(u32& width, u32& height) const override;
    void ChangeScreenMode(u32 mode) override;
    CViewState* GetViewState() override;
    void GetLayoutTable(const u8*& table, size_t& size) const override;
    u32 GetViewSize(u32 viewSet) const override;
    bool ReadInterfaceRecord(u32 record, std::vector<u8>& bytes) override;

    CScreen* GetScreen(u32 id) const;
    // Puts a screen in the slot of its id (start-up and tests); the game owns it from then on.
    void SetScreen(u32 id, CScreen* screen);
    CGameScreen* GetGameScreen() const;

    // The two interface sounds (click, confirm) as the sound front-end plays them; null when absent.
    CSoundEntry* GetInterfaceSound(int index) const;

    // The interface picture of a base number; null when the number names none or it is not loaded.
    CRecordHolder* GetInterfacePicture(u16 base) const;
    // The picture data of a base number, or null.
    const u8* GetInterfacePictureData(u16 base) const;
    // Fills every empty holder with the record the layout mode chooses. False when a record is
    // missing; `missing` then names it.
    bool LoadInterfacePictures(u16* missing);

    CRandom* random = nullptr;
    CVideo* video = nullptr;
    CFontSet* fonts = nullptr;
    CScriptEngine* scriptEngine = nullptr;
    CScriptContext* scriptContext = nullptr;
    CPdbFile* dataDb = nullptr;
    CSoundManager* sound = nullptr;
    CStr programFolder;
    CFileFinder* finder = nullptr;
    u32 firstFlag = 0;
    CPointerArray* screenStack = nullptr;  // of CScreen*, top last; does not own the screens
    CScreen* currentScreen = nullptr;
    std::array<CScreen*, kScreenSlotCount> screens{};
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
    // The record lists every open world adds to, and the open worlds themselves (made at start-up).
    std::unique_ptr<CWorldLists> worldLists;
    std::unique_ptr<CWorldList> worlds;
    CWorld* currentWorld = nullptr;
    CRecordData* layoutTable = nullptr;
    u32 textColor = 0;         // the normal interface text colour, 0x00BBGGRR
    u32 pressedTextColor = 0;  // the text colour of a pressed text button
    std::array<CRecordHolder*, kInterfacePictureCount> interfacePictures{};
    CLoadedResource* interfaceSounds[2] = {};
    // The four loading pictures that the main menu loads and the game view releases.
    CRecordHolder* loadingPictures[4] = {};
    CSaveGameManager saveGames;
    CTextureSet textureSet;
    CPlayer player;
    u32 phaseTimers[9][2] = {};

    // The frame that shows the game (the video output is created for its window); may be null in
    // tests that run no start-up.
    CMainFrame* frame = nullptr;

private:
    void FillTables();
    bool Fail(const std::string& message);
    std::string startupError;
};
