#include "world/Surroundings.h"

#include <algorithm>

#include "data/MapSection.h"
#include "platform/Clock.h"
#include "world/CellWindow.h"
#include "world/Weather.h"

const char* ChooseMusic(const CMusicSituation& s) {
    if (s.screenId == kServicesScreen || s.screenId == kPagesScreen)
        return s.screenMusic ? s.screenMusic : "bmus_main";
    if (s.screenId != kGameViewScreen) return "bmus_main";
    if (s.fightCountdown != 0) return "bmus_fight";
    if (s.surface) return s.daytime ? "bmus_surfaceday" : "bmus_surfacenight";
    return "bmus_dungeon";
}

void CSurroundings::UpdateMusic(const CMusicSituation& situation) {
    const char* name = ChooseMusic(situation);
    // A piece that could not be started is tried again on the next pass.
    if (currentMusic != name || restartFlag || musicChannel == kNoChannel) {
        pauseFlag = restartFlag = false;
        currentMusic = name;
        if (musicChannel != kNoChannel) audio_.StopChannel(musicChannel);
        musicChannel = audio_.PlayMusic(name);
    } else if (pauseFlag) {
        audio_.PauseChannel(musicChannel, false);
        pauseFlag = false;
    }
}

void CSurroundings::PlayScriptMusic(const char* name) {
    if (!name || !*name || !audio_.HasMusic(name)) return;
    if (musicChannel != kNoChannel) audio_.StopChannel(musicChannel);
    pauseFlag = restartFlag = false;
    musicChannel = audio_.PlayMusic(name);
    // Nothing chosen yet: the next choice starts its own piece.
    if (musicChannel == kNoChannel) restartFlag = true;
}

void CSurroundings::StopMusic() {
    if (musicChannel != kNoChannel) audio_.StopMusic(musicChannel);
    musicChannel = kNoChannel;
    currentMusic.clear();
}

// A stopped channel keeps its handle, so an unchanged choice would otherwise leave the music silent
// after a voyage or a death screen.
void CSurroundings::StopMusicChannel() {
    if (musicChannel == kNoChannel) return;
    audio_.StopChannel(musicChannel);
    restartFlag = true;
}

void CSurroundings::UpdateFightCountdown(const CCellWindow& window, bool engagedNear) {
    if (engagedNear || window.IsHostileWithin(1))
        fightCountdown = kFightCountdown;
    else if (fightCountdown != 0)
        --fightCountdown;
}

void CSurroundings::Queue(i32 dx, i32 dy, const char* name, i32 less) {
    if (!name || !audio_.HasSound(name)) return;
    const i32 volume = std::max(1, VolumeByDistance(dx, dy) - less);
    for (const QueuedSound& q : queued_)
        if (q.volume == volume && q.name == name) return;
    queued_.push_back({audio_.PlaySoundLooped(name, volume), volume, name});
}

void CSurroundings::StopQueuedSounds(bool stopMusic) {
    weather_.StopRainSound();
    if (stopMusic) StopMusicChannel();
    for (const QueuedSound& q : queued_) audio_.StopChannel(q.channel);
    queued_.clear();
}

void CSurroundings::UpdateSurroundings(CCellWindow& window, const CMapSection* section, u32 clockMinutes,
                                       bool engagedNear, CMusicSituation situation) {
    StopQueuedSounds(false);
    weather_.UpdateRainSound(section);
    UpdateFightCountdown(window, engagedNear);
    situation.fightCountdown = fightCountdown;
    UpdateMusic(situation);
    QueueNearSounds(window, clockMinutes);
}

void CSurroundings::QueueNearSounds(CCellWindow& window, u32 clockMinutes) {
    sourceObject = 0xFFFF;
    sourceSound.clear();
    const ICellObjects* objects = window.Objects();
    if (!objects) return;
    const bool day = clockMinutes % 1440 / 60 - 6 < 16;
    const i32 px = window.PlayerX(), py = window.PlayerY();
    const i32 x0 = std::max(0, px - kRadius), x1 = std::min(CCellWindow::kSize - 1, px + kRadius);
    const i32 y0 = std::max(0, py - kRadius), y1 = std::min(CCellWindow::kSize - 1, py + kRadius);
    bool candidate = false;
    for (i32 y = y0; y <= y1; ++y)
        for (i32 x = x0; x <= x1; ++x) {
            CMapCell* cell = window.Cell(x, y);
            CMapSection* sector = window.SectorSection(x, y);
            auto placement = [sector](u8 id) { return sector && id ? sector->FindPlacement(id) : nullptr; };
            // The cell's own objects, then its second layer, each with its volume rule.
            auto visit = [&](u16 centre, u8 centreId, const u16* sides, const u8* sideIds, bool overlay) {
                if (centre == kNoCellIndex) return;
                auto queue = [&](const char* name) {
                    if (overlay)
                        QueueOverlayAmbientSound(x - px, y - py, name);
                    else
                        QueueAmbientSound(x - px, y - py, name);
                };
                const u8 code = objects->TypeCode(centre);
                if (objects->HasSound(centre) || code == 33)
                    queue(objects->GetAmbientSound({centre, placement(centreId), cell, x, y, -1}));
                if (code == 43)
                    if (const char* sound = objects->GetSourceSound(centre, day))
                        if (!candidate || random_.Next(100) >= 51) {
                            candidate = true;
                            sourceObject = centre;
                            sourceX = x;
                            sourceY = y;
                            sourceSound = sound;
                        }
                if (code == 5)
                    for (i32 s = 0; s < 4; ++s)
                        if (sides[s] != kNoCellIndex && objects->HasSound(sides[s]))
                            queue(objects->GetSideAmbientSound({sides[s], placement(sideIds[s]), cell, x, y, s}));
            };
            visit(cell->centre, cell->centreId, cell->side, cell->sideId, false);
            const CStoredCell* stored = window.StoredCell(x, y);
            visit(stored->centre, stored->centreId, stored->side, stored->sideId, true);
        }
}

CSurroundings::Ambient CSurroundings::TickAmbient(bool creatureKnown, i32 playerX, i32 playerY) {
    const bool sourceKnown = HasAmbientSource();
    if (!creatureKnown && !sourceKnown) return Ambient::kNone;
    const i64 now = plat::Time();
    if (ambientOnce && now - lastAmbient <= kAmbientSpacing) return Ambient::kNone;
    lastAmbient = now;
    ambientOnce = true;
    const bool source = sourceKnown && (!creatureKnown || random_.Next(100) > 50);
    if (!source) return Ambient::kCreature;
    audio_.PlaySound(sourceSound.c_str(), VolumeByDistance(sourceX - playerX, sourceY - playerY));
    return Ambient::kSource;
}

void CSurroundings::Reset() {
    for (const QueuedSound& q : queued_) audio_.StopChannel(q.channel);
    queued_.clear();
    fightCountdown = 0;
    sourceObject = 0xFFFF;
    sourceSound.clear();
    pauseFlag = restartFlag = false;
}
