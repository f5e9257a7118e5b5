// Start-up and shut-down of the game object, in the order the rest of the game relies on.
#include <cstring>

#include "core/FileFinder.h"
#include "app/Game.h"
#include "core/PdbFile.h"
#include "core/Random.h"
#include "data/RecordHolder.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "sound/SoundManager.h"
#include "platform/Files.h"
#include "screens/frontend/CreatePlayerScreen.h"
#include "screens/frontend/DeathScreen.h"
#include "screens/frontend/LoadSaveScreen.h"
#include "screens/frontend/MainMenuScreen.h"
#include "screens/frontend/PagesScreen.h"
#include "screens/frontend/SettingsScreen.h"
#include "screens/frontend/SplashScreen.h"
#include "screens/frontend/WorldsScreen.h"
#include "screens/npc/CardGameScreen.h"
#include "screens/npc/ServicesScreen.h"
#include "screens/npc/ShopScreen.h"
#include "screens/npc/TalkScreen.h"
#include "screens/panels/PanelScreen.h"
#include "script/ScriptEngine.h"
#include "ui/LayoutMath.h"
#include "ui/Screen.h"
#include "view3d/Renderer.h"
#include "world/GameScreen.h"

namespace {

constexpr u16 kLayoutTableRecord = 3003;

}  // namespace

void CGame::FillTables() {
    static constexpr i32 kStepX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    static constexpr i32 kStepY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    for (int i = 0; i < 8; ++i) {
        neighbourX[i] = kStepX[i];
        neighbourY[i] = kStepY[i];
        directionBit[i] = 1 << i;
    }
    static constexpr u32 kCornerMask[4] = {5, 20, 80, 65};
    static constexpr u32 kCornerBit[4] = {2, 8, 32, 128};
    for (int i = 0; i < 4; ++i) {
        cornerMask[i] = kCornerMask[i];
        cornerBit[i] = kCornerBit[i];
    }
    for (int k = 0; k <= 30; ++k) {
        edgeRamp[0][k] = k + 1;
        edgeRamp[1][k] = 31;
        edgeRamp[2][k] = 31 - k;
        edgeRamp[3][k] = 1;
        edgeRamp[4][k] = 31;
        edgeRamp[5][k] = 32 * (k + 1);
        edgeRamp[6][k] = 992;
        edgeRamp[7][k] = 992 - 32 * k;
    }
    for (auto& row : edgeRamp) row[31] = 0;
    static constexpr u32 kMixed[7] = {1, 5, 3, 7, 2, 6, 4};
    for (int i = 0; i < 7; ++i) {
        eighthsMixed[i] = 8192 * kMixed[i];
        eighths[i] = 8192 * static_cast<u32>(i + 1);
    }
}

bool CGame::Fail(const std::string& message) {
    if (startupError.empty()) startupError = message;
    return false;
}

bool CGame::Initialize() {
    firstFlag = 1;
    FillTables();
    saveGames.owner = this;

    auto* gameScreen = new CGameScreen;
    SetScreen(kScreenGame, gameScreen);

    programFolder.Assign(plat::ProgramFolder().c_str());
    finder = new CFileFinder(this);
    finder->SetFolder(programFolder.GetText());

    random = new CRandom;
    random->Seed(this);

    dataDb = new CPdbFile(this, finder);
    if (!dataDb->Open("VantrelData"))
        return Fail(std::string("Cannot open the interface database \"VantrelData.pdb\" in ") +
                    programFolder.GetText());

    layoutMode = 15;
    LoadSettings();

    layoutTable = dataDb->ReadRecord(kLayoutTableRecord);
    if (layoutTable == nullptr)
        return Fail("The interface database \"VantrelData\" has no record 3003 (the layout table)");

    video = new CVideo(this);

    // The orientation follows the layout mode; saving at once leaves a complete set of values in the
    // store from the first run on.
    switch (layoutMode) {
    case 4: case 6: case 9: case 12: settings.StartMode = 1; break;
    default: settings.StartMode = 0; break;
    }
    SaveSettings();

    video->viewSet = settings.StartMode <= 1 ? settings.StartMode : 2;
    if (!video->Create(GetWindow())) return Fail("Cannot create the video output for the game window");

    sound = new CSoundManager;
    sound->Init(&settings.SoundVolume, &settings.MusicVolume);
    sound->SetVolumes(static_cast<i32>(settings.SoundVolume), static_cast<i32>(settings.MusicVolume));

    worldLists = std::make_unique<CWorldLists>(textureSet);
    worldLists->resources.SetSoundManager(sound);
    worlds = std::make_unique<CWorldList>(*worldLists, finder, &settings);

    fonts = new CFontSet;
    fonts->Init();
    {
        // The strips the fonts of this layout mode take, named here so that a missing one is reported.
        u32 records[3] = {3011, 3012, 3013};
        if (IsSmallLayoutMode(layoutMode)) records[1] = 3010, records[2] = 3012;
        if (IsLargeLayoutMode(layoutMode)) records[1] = 3013, records[2] = 3014;
        for (u32 record : records) {
            std::vector<u8> bytes;
            if (!ReadInterfaceRecord(record, bytes))
                return Fail("The interface database \"VantrelData\" has no record " + std::to_string(record) +
                            " (a font strip)");
        }
    }
    if (!fonts->LoadFonts(*this, video->renderer))
        return Fail("The font strips of the interface database \"VantrelData\" cannot be read");

    screenStack = new CPointerArray;
    screenStack->SetOwnsElements(0);

    u16 missing = 0;
    if (!LoadInterfacePictures(&missing))
        return Fail("The interface database \"VantrelData\" has no record " + std::to_string(missing) +
                    " (an interface picture)");

    static constexpr u16 kSounds[2] = {kInterfaceSoundClick, kInterfaceSoundConfirm};
    for (int i = 0; i < 2; ++i) {
        if (interfaceSounds[i] == nullptr) interfaceSounds[i] = new CLoadedResource;
        if (!interfaceSounds[i]->Load(dataDb, kSounds[i]))
            return Fail("The interface database \"VantrelData\" has no record " + std::to_string(kSounds[i]) +
                        " (an interface sound)");
    }

    scriptEngine = new CScriptEngine;
    scriptEngine->InitTables(this);
    scriptContext = new CScriptContext;
    scriptContext->Attach(this, scriptEngine);

    auto place = [this](u32 id, CScreen* screen) {
        SetScreen(id, screen);
        screen->Attach(this);
    };
    place(kScreenTalk, new CTalkScreen);
    place(kScreenServices, new CServicesScreen);
    place(kScreenPanels, new CPanelScreen);
    place(kScreenShop, new CShopScreen);
    place(kScreenDeath, new CDeathScreen);
    place(kScreenSplash, new CSplashScreen);
    place(kScreenLoadSave, new CLoadSaveScreen);
    place(kScreenMainMenu, new CMainMenuScreen);
    place(kScreenCreatePlayer, new CCreatePlayerScreen);
    place(kScreenPages, new CPagesScreen);
    place(kScreenCardGame, new CCardGameScreen);
    place(kScreenSettings, new CSettingsScreen);
    place(kScreenWorlds, new CWorldsScreen);

    player.game = this;
    player.setupByte = 17;
    std::memset(phaseTimers, 0, sizeof phaseTimers);
    gameScreen->Attach(this);

    tickCounter = 0;
    currentScreen = nullptr;

    worlds->UpdateInstalledWorlds();
    // The music plays from the first screen on; a music database that is missing or damaged leaves
    // the game silent and nothing more.
    worlds->OpenWorldByName(CWorldList::kMusicDatabase);
    worlds->ClearError();
    currentWorld = worlds->Current();
    gameScreen->music = &worldLists->resources;
    if (video->renderer) video->renderer->SetupView();

    SwitchScreen(kScreenSplash);
    return true;
}

CGame::~CGame() {
    if (sound && sound->GetMixer()) {
        sound->GetMixer()->StopAllSamples();
        sound->GetMixer()->StopAllMusic();
    }
    CGameScreen* gameScreen = GetGameScreen();
    if (gameScreen && gameScreen->inGame) saveGames.Save(0);
    ReleaseResources();
}

void CGame::ReleaseResources() {
    ResetWorld();
    // The worlds' databases and sounds go before the sound front-end and the program folder do.
    if (CGameScreen* view = GetGameScreen()) view->music = nullptr;
    worlds.reset();
    worldLists.reset();

    if (layoutTable) FreeDataBlock(layoutTable);
    layoutTable = nullptr;

    for (CRecordHolder*& holder : interfacePictures) {
        if (holder == nullptr) continue;
        holder->Release();
        delete holder;
        holder = nullptr;
    }
    for (CLoadedResource*& sound : interfaceSounds) {
        if (sound == nullptr) continue;
        sound->Release();
        delete sound;
        sound = nullptr;
    }
    for (CRecordHolder*& holder : loadingPictures) {
        delete holder;
        holder = nullptr;
    }

    LeaveStackedScreens();
    delete screenStack;
    screenStack = nullptr;

    currentScreen = nullptr;
    for (CScreen*& screen : screens) {
        delete screen;
        screen = nullptr;
    }

    delete scriptContext;
    scriptContext = nullptr;
    delete scriptEngine;
    scriptEngine = nullptr;

    delete random;
    random = nullptr;
    delete finder;
    finder = nullptr;

    if (fonts) fonts->Release();
    delete fonts;
    fonts = nullptr;

    if (dataDb) {
        dataDb->Close();
        delete dataDb;
        dataDb = nullptr;
    }

    if (sound) sound->Release();
    delete sound;
    sound = nullptr;

    delete video;
    video = nullptr;
}
