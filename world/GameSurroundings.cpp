// What the player hears and sees change around him while the game view runs: the music, the fight
// countdown, the looped sounds of the objects near the player and the now-and-then ambient sound, and
// the ground textures that animate.
#include <cstdlib>

#include "data/MapSection.h"
#include "ui/WidgetHost.h"
#include "world/GameCreatures.h"
#include "world/GameScreen.h"

// --- music and surroundings ---

bool CGameScreen::IsFightNear() const {
    const CFight* f = Fight();
    if (!f) return false;
    CNearCreatures& near = const_cast<CNearCreatures&>(f->near);
    for (int i = 0; i < near.Count(); ++i) {
        const CNearEntry& e = near.At(i);
        const bool engaged = e.state == kNearAttackClose || e.state == kNearAttackFar || e.state == kNearApproach ||
                             e.state == kNearFlee || e.state == kNearToLine;
        if (engaged && std::abs(e.x - playerX) <= 4 && std::abs(e.y - playerY) <= 4) return true;
    }
    return false;
}

CMusicSituation CGameScreen::MusicSituation() const {
    CMusicSituation s;
    // A screen that brings its own piece (the pages) plays it; outside a running game, or while another
    // screen shows over the view, the main piece plays.
    const bool viewShows = game && game->GetCurrentScreen() == this;
    s.screenId = screenMusic ? kPagesScreen : (inGame && viewShows ? kGameViewScreen : 0);
    s.screenMusic = screenMusic;
    s.fightCountdown = surroundings.fightCountdown;
    s.surface = window.IsSurface();
    s.daytime = IsDaytime();
    return s;
}

void CGameScreen::UpdateMusic() {
    ++musicUpdates;
    // The world around the player is heard only while he stands in the view: a screen shown over it
    // (the main menu, the pages) keeps the music choice but not the objects' loops or the rain.
    if (!game || game->GetCurrentScreen() != this) surroundings.StopQueuedSounds(false);
    surroundings.UpdateMusic(MusicSituation());
}

void CGameScreen::StopMusic() { surroundings.StopMusic(); }

void CGameScreen::PlayScriptMusic(const char* name) { surroundings.PlayScriptMusic(name); }

void CGameScreen::StopQueuedSounds(bool stopMusic) { surroundings.StopQueuedSounds(stopMusic); }

void CGameScreen::UpdateSurroundings() {
    ++musicUpdates;
    // The objects' sounds are of the world the view shows: none while no map is in it.
    if (!section) {
        surroundings.StopQueuedSounds(false);
        surroundings.UpdateMusic(MusicSituation());
        return;
    }
    surroundings.UpdateSurroundings(window, section, gameClock.minutes, IsFightNear(), MusicSituation());
}

void CGameScreen::TickAmbient() {
    const CGameCreatures* c = creatures.get();
    const bool creatureKnown = c && c->SoundCreature();
    if (surroundings.TickAmbient(creatureKnown, playerX, playerY) == CSurroundings::Ambient::kCreature)
        creatures->SoundNearCreature();
}

// --- animated ground ---

void CGameScreen::BuildAnimatedTextureList() {
    animatedTextures.clear();
    if (!viewWorld) return;
    const CMapObjectTable& objects = viewWorld->Objects();
    for (u32 i = 0; i < objects.Count(); ++i) {
        const CViewCellType* type = objects.CellType(static_cast<u16>(i));
        if (!type || type->kind != 3 || type->pictureCount < 2) continue;
        CAnimatedTexture t;
        t.frames.assign(type->pictures, type->pictures + type->pictureCount);
        animatedTextures.push_back(std::move(t));
    }
}

void CGameScreen::AnimateGroundTextures() {
    if (animatedTextures.empty()) return;
    ::AnimateGroundTextures(animatedTextures, viewState.groundCache);
}
