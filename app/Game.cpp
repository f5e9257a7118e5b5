#include "app/Game.h"

#include <cstdio>
#include <cstring>

#include "app/GameScreenScripts.h"
#include "app/GameTradeWorld.h"
#include "app/GameViewDialogs.h"
#include "app/GameViewModalDialogs.h"
#include "app/GameWidgetData.h"
#include "app/MainFrame.h"
#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "core/Random.h"
#include "data/RecordHolder.h"
#include "data/CreatureCatalogue.h"
#include "data/MapSection.h"
#include "data/Npc.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "platform/Files.h"
#include "script/ScriptContext.h"
#include "script/ScriptEngine.h"
#include "sound/SoundManager.h"
#include "ui/ProgressDialog.h"
#include "ui/Screen.h"
#include "ui/WidgetGameData.h"
#include "world/GameScreen.h"

namespace {

constexpr u32 kSlotIds[kScreenSlotCount] = {1, 2, 3, 4, 5, 7, 6, 8, 9, 10, 11, 12, 14, 15};

}  // namespace

int ScreenSlotOf(u32 id) {
    for (int i = 0; i < kScreenSlotCount; ++i)
        if (kSlotIds[i] == id) return i;
    return -1;
}

CGame::CGame()
    : gameTradeWorld(std::make_unique<CGameTradeWorld>(*this)), widgetData(std::make_unique<CGameWidgetData>(*this)) {
    SetDefaultSettings();
    SetWidgetGameData(widgetData.get());
}

ITradeWorld* CGame::GetTradeWorld() { return tradeWorld ? tradeWorld : gameTradeWorld.get(); }

CGameViewDialogs& CGame::GetViewDialogs() {
    if (!viewDialogs) viewDialogs = std::make_unique<CGameViewDialogs>(*this);
    return *viewDialogs;
}

CGame::~CGame() {
    if (sound && sound->GetMixer()) {
        sound->GetMixer()->StopAllSamples();
        sound->GetMixer()->StopAllMusic();
    }
    CGameScreen* gameScreen = GetGameScreen();
    if (gameScreen && gameScreen->inGame && !savedOnClose) saveGames.Save(0);
    ReleaseResources();
    if (&WidgetGameData() == widgetData.get()) SetWidgetGameData(nullptr);
}

void CGame::ReleaseResources() {
    ResetWorld();
    LeaveStackedScreens();
    currentScreen = nullptr;
    // The finder goes with the members; the saved-game manager must not look through it after.
    saveGames.finder = nullptr;
}

CScreen* CGame::GetScreen(u32 id) const {
    int slot = ScreenSlotOf(id);
    return slot < 0 ? nullptr : screens[static_cast<size_t>(slot)].get();
}

void CGame::SetScreen(u32 id, std::unique_ptr<CScreen> screen) {
    int slot = ScreenSlotOf(id);
    if (slot >= 0) screens[static_cast<size_t>(slot)] = std::move(screen);
}

CGameScreen* CGame::GetGameScreen() const { return dynamic_cast<CGameScreen*>(GetScreen(kScreenGame)); }

IGameViewDialogs* CGame::GetGameViewDialogs() {
    if (!gameViewDialogs_) gameViewDialogs_ = std::make_unique<CGameViewModalDialogs>(*this);
    return gameViewDialogs_.get();
}

// An NPC talks when it has its talk flag, its second mark byte or services; one with services opens
// the services menu, the others the talk screen.
u32 CGame::TalkEntry(const char* npcId, u32& npcWord) {
    npcWord = 0;
    CNpc* npc = worldLists && npcId ? worldLists->npcs.FindById(npcId) : nullptr;
    if (!npc || (npc->talkFlag == 0 && npc->markByte == 0 && npc->GetServiceFlags() == 0)) return 0;
    npcWord = GetEntryForNpc(npc);
    return npc->GetServiceFlags() != 0 ? kScreenServices : kScreenTalk;
}

void CGame::SetCurrentWorld(CWorld* world) {
    currentWorld = world;
    if (worlds) worlds->SetCurrent(world);
}

void CGame::SendCommand(u32 command) {
    if (video == nullptr || currentScreen == nullptr) return;
    if (u32 code = currentScreen->OnKey(command)) SwitchScreen(code);
}

bool CGame::TypeChar(char c) {
    if (video == nullptr || currentScreen == nullptr) return false;
    return currentScreen->OnChar(c);
}

void CGame::PenEvent(i32 x, i32 y, u32 down, u32 moving) {
    if (video == nullptr || currentScreen == nullptr) return;
    if (u32 code = currentScreen->OnPen(x, y, down, moving)) SwitchScreen(code);
}

u32 CGame::Tick() {
    ++tickCounter;
    if (video == nullptr || currentScreen == nullptr) return 0;
    u32 code = currentScreen->OnTick(tickCounter);
    if (code != 0) SwitchScreen(code);
    return code;
}

void CGame::SwitchScreen(u32 code) {
    CScreen* old = currentScreen;
    u32 a = 0, b = 0, c = 0, d = 0;
    if (old) {
        a = old->entryA;
        b = old->entryB;
        c = old->entryC;
        d = old->entryD;
    }
    if (old) {
        if (old->keepOnStack == 0)
            old->Leave();
        else if (screenStack)
            screenStack->Add(old);
    }
    CScreen* next = old;
    if (code == kScreenBack) {
        // Going back needs a screen underneath; with an empty stack the current screen stays and is
        // entered again, like a code that names no screen.
        if (screenStack && screenStack->GetCount() > 0)
            next = screenStack->RemoveAt<CScreen>(screenStack->GetCount() - 1);
    } else if (CScreen* named = GetScreen(code)) {
        next = named;
    }
    if (next == nullptr) return;  // no screen yet, and the code names none
    currentScreen = next;
    if (next->keepOnStack == 0) {
        next->Enter(a, b, c, d);
    } else {
        // A screen that becomes current is no longer underneath anything: drop its stack entry so
        // that a switch to a kept screen's own id leaves no stale entry behind.
        if (screenStack) {
            for (int i = screenStack->GetCount(); i-- > 0;)
                if (screenStack->GetAt(i) == next) screenStack->RemoveAtIndex(i);
        }
        next->keepOnStack = 0;
        next->Resume();
    }
}

void CGame::PopScreensToOne() {
    while (screenStack && screenStack->GetCount() > 1) {
        auto* top = screenStack->RemoveAt<CScreen>(screenStack->GetCount() - 1);
        if (top) top->Leave();
    }
}

void CGame::PopAllScreens() {
    while (screenStack && screenStack->GetCount() > 0) {
        auto* top = screenStack->RemoveAt<CScreen>(screenStack->GetCount() - 1);
        if (top) top->Leave();
    }
}

void CGame::LeaveStackedScreens() {
    while (screenStack && screenStack->GetCount() > 0) {
        auto* bottom = screenStack->RemoveAt<CScreen>(0);
        if (bottom == nullptr) continue;
        bottom->keepOnStack = 0;
        bottom->Leave();
    }
}

// Closes every world and empties the record lists and the texture set.
void CGame::ResetWorld() {
    // The music's records go with the worlds: the piece stops first.
    if (CGameScreen* view = GetGameScreen()) {
        view->StopMusic();
        view->ForgetWorld();
    }
    npcEntries_.clear();  // the records go with the worlds
    sectionEntries_.clear();
    // The player's spells, abilities, diseases, items and effects point into the records freed here.
    player.ForgetWorld();
    mapObjects.Clear();
    // The world code names the closing world's string.
    ruleContext.currentWorldCode = nullptr;
    if (worlds) worlds->CloseAllWorlds();
    currentWorld = nullptr;
}

void CGame::BindWorldRules() {
    if (worldLists) worldLists->BindRuleContext(ruleContext);
    ruleContext.player = &player;
    ruleContext.random = random.get();
    ruleContext.layoutMode = layoutMode;
    ruleContext.currentWorldCode = currentWorld ? currentWorld->shortName.GetText() : nullptr;
    player.SetWorld(&ruleContext);
}
void CGame::InitWorldLists(CProgressDialog*) {}
void CGame::RefreshAfterLoad(CProgressDialog*) {}

CRecordHolder* CGame::GetInterfacePicture(u16 base) const {
    int index = InterfacePictureIndex(base);
    return index < 0 ? nullptr : interfacePictures[static_cast<size_t>(index)].get();
}

void CGame::SetInterfacePicture(int index, std::unique_ptr<CRecordHolder> picture) {
    if (index < 0 || index >= kInterfacePictureCount) return;
    interfacePictureRuns_[static_cast<size_t>(index)] = picture.get();
    interfacePictures[static_cast<size_t>(index)] = std::move(picture);
}

CSoundEntry* CGame::GetInterfaceSound(int index) const {
    if (index < 0 || index > 1 || interfaceSounds[index] == nullptr) return nullptr;
    return &interfaceSounds[index]->sound;
}

CRecordHolder* const* CGame::GetInterfacePictureSet(u16 first, int count) const {
    if (count < 1) return nullptr;
    const int index = InterfacePictureIndex(first);
    const int last = InterfacePictureIndex(static_cast<u16>(first + count - 1));
    if (index < 0 || last != index + count - 1) return nullptr;
    return &interfacePictureRuns_[static_cast<size_t>(index)];
}

CRecordHolder* CGame::GetLoadingPicture(int index) const {
    return index >= 0 && index < 4 ? loadingPictures[index].get() : nullptr;
}

CRecordHolder* CGame::LoadLoadingPicture(int index, u16 record) {
    if (index < 0 || index >= 4) return nullptr;
    std::unique_ptr<CRecordHolder>& holder = loadingPictures[index];
    if (holder != nullptr && holder->IsLoaded()) return holder.get();
    if (holder == nullptr) holder = std::make_unique<CRecordHolder>();
    holder->Load(dataDb.get(), record);
    return holder.get();
}

u32 CGame::GetStackedScreenCount() const {
    return screenStack ? static_cast<u32>(screenStack->GetCount()) : 0;
}

u32 CGame::GetPlayerFacing() const {
    const CGameScreen* view = GetGameScreen();
    return view ? view->facing % 360 : 0;
}

int CGame::OpenGameDatabases(CProgressDialog* progress) {
    if (!worlds) return 0;
    worlds->ClearError();
    const int opened = worlds->OpenGameDatabases([progress] {
        if (progress) progress->Advance();
    });
    // The enabled additional worlds follow the game's own, in the installed list's order.
    if (opened) worlds->OpenInstalledWorlds();
    ReportSkippedDatabases();
    currentWorld = worlds->Current();
    if (opened) BindWorldRules();
    return opened;
}

void CGame::ReportSkippedDatabases() {
    if (!worlds) return;
    // The game goes on without these, and nothing in play says so: the terminal does, once each.
    for (const std::string& note : worlds->TakeSkipNotes()) std::fprintf(stderr, "Vantrel: %s\n", note.c_str());
    std::fflush(stderr);
}

std::string CGame::WorldOpenError() const {
    std::string text = worlds ? worlds->OpenProblem() : std::string();
    if (text.empty()) text = std::string(CWorldList::kBaseDatabase) + ".pdb is missing or cannot be opened.";
    return text;
}

void CGame::QuitGame() { ::QuitGame(); }

bool CGame::SaveBeforeClose(std::string& message) {
    const CGameScreen* gameScreen = GetGameScreen();
    if (!gameScreen || !gameScreen->inGame) return true;
    if (saveGames.Save(0)) {
        savedOnClose = true;
        return true;
    }
    message = "The game could not be saved automatically in " + saveGames.Folder() + ": " +
              saveGames.LastError() + ".\n\nClose the window again to quit without saving.";
    return false;
}

// The creature word is the id of the creature whose type names the NPC, in the section the player
// stands in; the shop finds the merchant's bag through it.
void CGame::TalkPlace(const char* npcId, CMapSection* section, u32& creatureWord, u32& sectionWord) {
    creatureWord = 0;
    sectionWord = 0;
    if (!section || !npcId) return;
    for (const CMonster& m : section->monsters) {
        const CMonsterType* type = m.Type();
        if (type && type->npcId && std::strcmp(type->npcId, npcId) == 0) {
            creatureWord = m.id;
            break;
        }
    }
    for (size_t i = 0; i < sectionEntries_.size(); ++i)
        if (sectionEntries_[i] == section) sectionWord = static_cast<u32>(i + 1);
    if (sectionWord == 0) {
        sectionEntries_.push_back(section);
        sectionWord = static_cast<u32>(sectionEntries_.size());
    }
}

IScriptWorld* CGame::GetScreenScripts() {
    if (!screenScripts_) screenScripts_ = std::make_unique<CGameScreenScripts>(*this);
    return screenScripts_.get();
}

CMapSection* CGame::GetSectionForEntry(u32 word) const {
    return word >= 1 && word <= sectionEntries_.size() ? sectionEntries_[word - 1] : nullptr;
}

u32 CGame::GetEntryForNpc(CNpc* npc) {
    if (!npc) return 0;
    for (size_t i = 0; i < npcEntries_.size(); ++i)
        if (npcEntries_[i] == npc) return static_cast<u32>(i + 1);
    npcEntries_.push_back(npc);
    return static_cast<u32>(npcEntries_.size());
}

CNpc* CGame::GetNpcForEntry(u32 word) {
    return word >= 1 && word <= npcEntries_.size() ? npcEntries_[word - 1] : nullptr;
}

const CNpcProfile* CGame::FindTalkProfile(const char* id) {
    return worldLists && id ? worldLists->talkProfiles.FindById(id) : nullptr;
}

const u8* CGame::GetInterfacePictureData(u16 base) const {
    CRecordHolder* holder = GetInterfacePicture(base);
    return holder ? holder->data : nullptr;
}

bool CGame::LoadInterfacePictures(u16* missing) {
    bool ok = true;
    for (int i = 0; i < kInterfacePictureCount; ++i) {
        if (interfacePictures[static_cast<size_t>(i)] != nullptr) continue;
        SetInterfacePicture(i, std::make_unique<CRecordHolder>());
        u16 record = InterfacePictureRecord(InterfacePictureBase(i), layoutMode);
        if (!interfacePictures[static_cast<size_t>(i)]->Load(dataDb.get(), record) && ok) {
            ok = false;
            if (missing) *missing = record;
        }
    }
    textColor = 0x94D6EF;
    pressedTextColor = 0x4294C6;
    return ok;
}

bool CGame::ReloadInterfacePictures(u16* missing) {
    bool ok = true;
    for (int i = 0; i < kInterfacePictureCount; ++i) {
        std::unique_ptr<CRecordHolder>& holder = interfacePictures[static_cast<size_t>(i)];
        if (holder == nullptr) SetInterfacePicture(i, std::make_unique<CRecordHolder>());
        const u16 record = InterfacePictureRecord(InterfacePictureBase(i), layoutMode);
        if (holder->IsLoaded() && holder->recordId == record && holder->database == dataDb.get()) continue;
        if (!holder->Load(dataDb.get(), record) && ok) {
            ok = false;
            if (missing) *missing = record;
        }
    }
    // The letters are drawn from the mode's own font strips as well.
    if (fonts != nullptr && video != nullptr && !fonts->LoadFonts(*this, video->GetRenderer())) ok = false;
    return ok;
}

void CGame::SetDefaultSettings() { ::SetDefaultSettings(settings); }
void CGame::LoadSettings() { ::LoadSettings(settings, layoutMode); }
bool CGame::SaveSettings() { return ::SaveSettings(settings); }

void CGame::SwitchLayoutMode(u32 mode) {
    layoutMode = mode;
    // Texts the rules build from now on use the new layout's separators.
    ruleContext.layoutMode = mode;
    ChangeScreenMode(mode);
    // The pictures were chosen for the old layout's screen size; a mode switch that kept them would
    // draw the old layout's frames and buttons into the new one.
    if (dataDb != nullptr) {
        u16 missing = 0;
        if (!ReloadInterfacePictures(&missing))
            std::fprintf(stderr, "Vantrel: interface picture %u missing in layout mode %u\n",
                         static_cast<unsigned>(missing), static_cast<unsigned>(mode));
    }
    if (video == nullptr) return;
    video->Present();
    video->Rebuild(0);
    video->SyncBackBuffer();
}

CWorldEntryArray& CGame::GetInstalledWorlds() { return worlds ? worlds->Installed() : noWorlds_; }

void CGame::SaveWorldConfiguration() {
    CWorldEntryArray& installed = GetInstalledWorlds();
    for (u32 i = 0; i < installed.GetCount(); ++i) {
        const CWorldEntry& entry = installed[i];
        for (CWorldSetting& slot : settings.Worlds) {
            if (!RemembersWorld(slot, entry.shortName)) continue;
            slot.Active = static_cast<u8>((slot.Active & CWorldSetting::kNameless) | (entry.enabled ? 1 : 0));
            break;
        }
    }
    SaveSettings();
}

bool CGame::DeleteWorldDatabase(const char* file) {
    // The name comes from the folder scan; one that is empty or reaches into another folder names no
    // database of the program folder, and nothing outside it is ever deleted.
    if (file == nullptr || file[0] == 0 || std::strpbrk(file, "/\\") != nullptr) return false;
    const std::string path = (finder ? finder->GetFolder() : plat::ProgramFolder()) + file;
    plat::DeleteFile(path);
    // The file's absence is what counts: a world whose file stays would come back at the next start.
    return !plat::FileExists(path);
}

void CGame::RemoveInstalledWorldEntry(const char* shortName) {
    if (worlds) worlds->RemoveInstalledWorldEntry(shortName);
}

plat::Window* CGame::GetWindow() { return frame ? frame->GetWindow() : nullptr; }

void CGame::GetClientSize(u32& width, u32& height) const {
    if (frame) {
        width = frame->clientWidth;
        height = frame->clientHeight;
        return;
    }
    GetScreenModeInfo(layoutMode, nullptr, &width, &height);
}

void CGame::ChangeScreenMode(u32 mode) {
    if (frame) frame->ChangeScreenMode(mode);
}

CViewState* CGame::GetViewState() {
    CGameScreen* view = GetGameScreen();
    return view ? &view->viewState : nullptr;
}

void CGame::GetLayoutTable(const u8*& table, size_t& size) const {
    table = layoutTable ? layoutTable->data : nullptr;
    size = layoutTable ? layoutTable->size : 0;
}

u32 CGame::GetViewSize(u32 viewSet) const {
    switch (viewSet) {
    case 0: return settings.ViewSize;
    case 1: return settings.LViewSize;
    default: return settings.RViewSize;
    }
}

bool CGame::ReadInterfaceRecord(u32 record, std::vector<u8>& bytes) {
    if (dataDb == nullptr) return false;
    CRecordData* data = dataDb->ReadRecord(record);
    if (data == nullptr) return false;
    bytes.assign(data->data, data->data + data->size);
    FreeDataBlock(data);
    return true;
}
