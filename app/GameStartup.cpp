// Start-up and shut-down of the game object, in the order the rest of the game relies on.
#include <cstring>
#include <iterator>
#include <string>

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
#include "screens/ScreenTable.h"
#include "script/ScriptContext.h"
#include "script/ScriptEngine.h"
#include "core/LayoutTable.h"
#include "ui/Screen.h"
#include "display/Renderer.h"
#include "world/GameScreen.h"

namespace {

constexpr u16 kLayoutTableRecord = 3003;

// The layout elements without which a screen cannot be used: the splash's two pictures, the main
// menu's pictures, list and version label (the progress screen shares them), and the 3D view.
constexpr CLayoutNeed kLayoutNeeds[] = {
    {2, 8}, {2, 9}, {3, 10}, {3, 11}, {3, 12}, {3, 13}, {3, 14}, {3, 15}, {43, 550},
};

std::string Damaged(u32 record, const std::string& what) {
    return "The interface database \"VantrelData.pdb\" is damaged (record " + std::to_string(record) +
           "): " + what;
}

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

    SetScreen(kScreenGame, CreateScreen(kScreenGame, *this));
    CScreen* gameScreen = GetScreen(kScreenGame);

    programFolder.Assign(plat::ProgramFolder().c_str());
    finder = std::make_unique<CFileFinder>(this);
    finder->SetFolder(programFolder.GetText());
    saveGames.finder = finder.get();

    random = std::make_unique<CRandom>();
    random->Seed(this);

    dataDb = std::make_unique<CPdbFile>(this, finder.get());
    if (!dataDb->Open("VantrelData")) {
        const std::string where = programFolder.GetText();
        // With no window yet this one line may be all the user sees: where, and how to make the file.
        const std::string build = "; the content builder writes it: build/tools/vantrel_content --out " + where;
        if (!plat::FileExists(BuildProgramPath("VantrelData.pdb", finder.get())))
            return Fail("The interface database \"VantrelData.pdb\" is missing from " + where + build);
        return Fail("The interface database \"VantrelData.pdb\" in " + where + " is damaged" + build);
    }

    layoutMode = 15;
    LoadSettings();

    layoutTable.reset(dataDb->ReadRecord(kLayoutTableRecord));
    if (layoutTable == nullptr) return Fail(Damaged(kLayoutTableRecord, "the layout table is missing"));
    // Every screen trusts the table from here on: one that lacks what a screen needs would leave the
    // game on a screen that can neither be drawn nor left.
    const std::string layoutProblem = CheckLayoutTable(layoutTable->data, layoutTable->size, layoutMode,
                                                       kLayoutNeeds, std::size(kLayoutNeeds));
    if (!layoutProblem.empty())
        return Fail(Damaged(kLayoutTableRecord, "the layout table: " + layoutProblem));

    video = std::make_unique<CVideo>(this);

    // The orientation follows the layout mode; saving at once leaves a complete set of values in the
    // store from the first run on.
    switch (layoutMode) {
    case 4:
    case 6:
    case 9:
    case 12: settings.StartMode = 1; break;
    default: settings.StartMode = 0; break;
    }
    SaveSettings();

    video->viewSet = settings.StartMode <= 1 ? settings.StartMode : 2;
    if (!video->Create(GetWindow())) return Fail("Cannot create the video output for the game window");

    sound = std::make_unique<CSoundManager>();
    sound->Init(&settings.SoundVolume, &settings.MusicVolume);
    sound->SetVolumes(static_cast<i32>(settings.SoundVolume), static_cast<i32>(settings.MusicVolume));

    worldLists = std::make_unique<CWorldLists>(textureSet);
    worldLists->resources.SetSoundManager(sound.get());
    worlds = std::make_unique<CWorldList>(*worldLists, finder.get(), &settings);
    saveGames.worlds = worlds.get();
    saveGames.parts = this;

    fonts = std::make_unique<CFontSet>();
    fonts->Init();
    // The strips the fonts of this layout mode take, named here so that a missing one is reported.
    const auto strips = FontStripRecords(layoutMode);
    for (u32 record : strips) {
        std::vector<u8> bytes;
        if (!ReadInterfaceRecord(record, bytes)) return Fail(Damaged(record, "a font strip is missing"));
    }
    if (!fonts->LoadFonts(*this, video->GetRenderer()))
        return Fail(Damaged(strips[0], "the font strips of this layout cannot be read"));

    screenStack = std::make_unique<CPointerArray>();

    u16 missing = 0;
    if (!LoadInterfacePictures(&missing)) return Fail(Damaged(missing, "an interface picture is missing"));

    static constexpr u16 kSounds[2] = {kInterfaceSoundClick, kInterfaceSoundConfirm};
    for (int i = 0; i < 2; ++i) {
        if (interfaceSounds[i] == nullptr) interfaceSounds[i] = std::make_unique<CLoadedResource>();
        if (!interfaceSounds[i]->Load(dataDb.get(), kSounds[i]))
            return Fail(Damaged(kSounds[i], "an interface sound is missing"));
    }

    scriptEngine = std::make_unique<CScriptEngine>();
    scriptEngine->InitTables(this);
    scriptContext = std::make_unique<CScriptContext>();
    scriptContext->Attach(this, scriptEngine.get());

    for (u32 id : kScreenBuildOrder) {
        SetScreen(id, CreateScreen(id, *this));
        GetScreen(id)->Attach(this);
    }

    player.game = this;
    player.setupByte = 17;
    std::memset(phaseTimers, 0, sizeof phaseTimers);
    gameScreen->Attach(this);

    tickCounter = 0;
    currentScreen = nullptr;

    // A world seen for the first time is remembered here, after the start-up save: saved at once, the
    // store holds what the game remembers, also for a run that changes nothing else.
    CWorldSetting remembered[std::size(settings.Worlds)];
    std::memcpy(remembered, settings.Worlds, sizeof remembered);
    worlds->UpdateInstalledWorlds();
    if (std::memcmp(remembered, settings.Worlds, sizeof remembered) != 0) SaveSettings();
    // The music plays from the first screen on; a music database that is missing or damaged leaves
    // the game silent and nothing more.
    worlds->OpenOptionalDatabase(CWorldList::kMusicDatabase);
    worlds->ClearError();
    ReportSkippedDatabases();
    currentWorld = worlds->Current();
    if (CGameScreen* view = GetGameScreen()) {
        view->music = &worldLists->resources;
        view->AttachPlayer(&player);
        view->SetHost(this);
    }
    if (CRenderer* renderer = video->GetRenderer()) renderer->SetupView();

    SwitchScreen(kScreenSplash);
    return true;
}
