#include "app/GameViewDialogs.h"

#include "app/Game.h"
#include "data/MapSection.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "sound/SoundManager.h"
#include "world/GameScreen.h"
#include "world/GameViewTravel.h"

CGameViewDialogs::CGameViewDialogs(CGame& game) : game_(game) {
    spellBook.SetHost(this);
    markRecall.SetHost(this);
    voyage.SetHost(this);
}

CForm* CGameViewDialogs::PrepareView() {
    CGameScreen* view = game_.GetGameScreen();
    if (!view) return nullptr;
    if (!attached_) {
        // Once: the book starts on its first page and keeps the page it shows from then on.
        spellBook.Attach(&game_);
        markRecall.Attach(&game_);
        voyage.Attach(&game_);
        attached_ = true;
    }
    return view;
}

IGameViewTravel* CGameViewDialogs::Travel() const { return dynamic_cast<IGameViewTravel*>(game_.GetGameScreen()); }

bool CGameViewDialogs::OpenSpellBook() {
    CForm* view = PrepareView();
    if (!view) return false;
    if (!game_.player.effects[kListMagicImmunity].empty()) {
        ShowGameMessage("You have active magic immunity effect.");
        return false;
    }
    PlayNamedSound("bsnd_bookopen", false);
    view->OpenModal(&spellBook);
    spellBook.ShowPage();
    return true;
}

bool CGameViewDialogs::OpenMarkRecall(bool markMode) {
    CForm* view = PrepareView();
    if (!view) return false;
    if (!markMode && !game_.player.HasMarkedPosition()) {
        ShowGameMessage("You haven't marked any positions to recall.");
        return false;
    }
    view->OpenModal(&markRecall);
    markRecall.Open(markMode ? CMarkRecallDialog::kMarkMode : CMarkRecallDialog::kRecallMode);
    return true;
}

bool CGameViewDialogs::OpenVoyage(const char* text, const char* destination) {
    CForm* view = PrepareView();
    if (!view) return false;
    view->OpenModal(&voyage);
    voyage.Open(text, destination);
    return true;
}

CPlayer* CGameViewDialogs::GetPlayer() { return &game_.player; }

const CRuleContext* CGameViewDialogs::GetRules() {
    return game_.worlds && game_.worlds->Current() ? &game_.GetRules() : nullptr;
}

bool CGameViewDialogs::GetCurrentPlace(CMarkPlace& place) {
    const CWorld* world = game_.worlds ? game_.worlds->Current() : nullptr;
    const CMapSection* map = world ? world->currentSection : nullptr;
    IGameViewTravel* travel = Travel();
    if (!map || !travel || !travel->GetPlayerCell(place.x, place.y)) return false;
    place.worldId = world->shortName.GetText();
    place.worldName = world->title.GetText();
    place.mapId = map->GetName() ? map->GetName() : "";
    place.mapName = map->displayName ? map->displayName : place.mapId;
    place.facingDegrees = static_cast<int>(game_.GetPlayerFacing());
    return true;
}

void CGameViewDialogs::TravelToMark(const CMarkedPosition& mark) {
    constexpr int kRecallTransition = 1;
    if (IGameViewTravel* travel = Travel())
        travel->PostMapTransition(mark.world.c_str(), mark.map.c_str(), mark.x, mark.y, mark.facing,
                                  kRecallTransition);
}

void CGameViewDialogs::ShowGameMessage(const char* text) {
    if (CGameScreen* view = game_.GetGameScreen()) view->ShowGameMessage(text);
}

void CGameViewDialogs::StopQueuedSounds(bool stopMusic) {
    if (IGameViewTravel* travel = Travel())
        travel->StopQueuedSounds(stopMusic);
    else if (stopMusic && game_.GetGameScreen())
        game_.GetGameScreen()->StopMusic();
}

void CGameViewDialogs::StopAllSamples() {
    if (Mixer* mixer = game_.sound ? game_.sound->GetMixer() : nullptr) mixer->StopAllSamples();
}

void CGameViewDialogs::ChangeMap(const char* destination) {
    if (IGameViewTravel* travel = Travel()) travel->ChangeMap(destination);
}

void CGameViewDialogs::PlayNamedSound(const char* name, bool looped) {
    if (!game_.worldLists) return;
    if (looped)
        game_.worldLists->resources.PlaySoundLooped(name, 10);
    else
        game_.worldLists->resources.PlaySound(name, 10);
}

bool CGameViewDialogs::HasWorld(const char* worldId) const {
    return game_.worlds && game_.worlds->FindWorldByShortName(worldId) != nullptr;
}

bool CGameViewDialogs::HasMap(const char* worldId, const char* mapId) const {
    const CWorld* world = game_.worlds ? game_.worlds->FindWorldByShortName(worldId) : nullptr;
    return world && world->FindSectionByName(mapId) != nullptr;
}
