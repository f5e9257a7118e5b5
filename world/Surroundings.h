// What the player hears in the game view: one piece of music chosen by the screen and the situation,
// the looped sounds of the map objects within 7 cells (quieter further away), the fight countdown that
// selects the fight music, and one ambient sound source near the player that sounds now and then.
// The game view runs UpdateSurroundings when it is entered, after commands and map changes, and after
// each finished step; it calls TickAmbient from its tick.
#pragma once

#include <string>
#include <vector>

#include "core/Random.h"
#include "core/Types.h"
#include "world/WorldAudio.h"

class CCellWindow;
class CMapSection;
class CWeather;

// Screen ids whose music differs from the game view's.
inline constexpr i32 kGameViewScreen = 1;
inline constexpr i32 kServicesScreen = 3;
inline constexpr i32 kPagesScreen = 11;

// What the music choice looks at.
struct CMusicSituation {
    i32 screenId = kGameViewScreen;        // the current screen
    const char* screenMusic = nullptr;     // the services or pages screen's own music
    u32 fightCountdown = 0;
    bool surface = false;
    bool daytime = true;
};

const char* ChooseMusic(const CMusicSituation& situation);

class CSurroundings {
public:
    static constexpr i32 kRadius = 7;
    static constexpr u32 kFightCountdown = 4;
    static constexpr i64 kAmbientSpacing = 10;  // wall-clock seconds between two ambient sounds

    // One looped sound of a map object near the player.
    struct QueuedSound {
        i32 channel;
        i32 volume;  // 1..5
        std::string name;
    };

    CSurroundings(IWorldAudio& audio, CWeather& weather, CRandom& random)
        : audio_(audio), weather_(weather), random_(random) {}

    // Chooses and switches the music: a new piece starts when the choice changes or a restart was
    // asked for; else a paused piece resumes.
    void UpdateMusic(const CMusicSituation& situation);
    // A piece a script asks for replaces the chosen one, when the world has it; it plays on while
    // the choice stays and gives way when the choice changes (a fight, nightfall, another map).
    void PlayScriptMusic(const char* name);
    // Stops the music and forgets it (other screens do before they start their own).
    void StopMusic();
    // Stops the music's channel and keeps the handle; the next choice starts the piece again.
    void StopMusicChannel();
    // A hostile creature that is not a person within 1 cell, or (engagedNear) an entry of the
    // near-creature list fighting within 4 cells, sets the countdown to 4; else it counts down.
    void UpdateFightCountdown(const CCellWindow& window, bool engagedNear);
    // The whole pass: queued sounds stopped, rain loop, fight countdown, music, then the sounds of the
    // map objects within 7 cells queued anew and an ambient source chosen. `clockMinutes` gives day
    // or night. The situation's countdown is this object's own.
    void UpdateSurroundings(CCellWindow& window, const CMapSection* section, u32 clockMinutes,
                            bool engagedNear, CMusicSituation situation);
    // The second half of the pass: the looped sounds of the sound-bearing objects within 7 cells of
    // the player (centre objects, a block's side objects, the second layer at its quieter rule), and
    // the ambient source chosen among the type-43 objects that sound at this time of day.
    void QueueNearSounds(CCellWindow& window, u32 clockMinutes);
    // The two volume rules: closeness (10 less the distance, 1..10) less 5, or less 6 for the second
    // layer, at least 1. A sound already queued at that volume is not started twice.
    void QueueAmbientSound(i32 dx, i32 dy, const char* name) { Queue(dx, dy, name, 5); }
    void QueueOverlayAmbientSound(i32 dx, i32 dy, const char* name) { Queue(dx, dy, name, 6); }
    // Stops the rain loop, the music when asked, and every queued sound.
    void StopQueuedSounds(bool stopMusic);

    // What the tick sounds: nothing, the near creature's idle sound (the caller plays it) or the
    // ambient source (played here, by its distance). At most one every 10 wall-clock seconds; when
    // both are known a draw above 50 of 0..99 takes the source.
    enum class Ambient { kNone, kCreature, kSource };
    Ambient TickAmbient(bool creatureKnown, i32 playerX, i32 playerY);

    // A new game or a load: no music choice, no countdown, nothing queued.
    void Reset();

    const std::vector<QueuedSound>& Queued() const { return queued_; }
    bool HasAmbientSource() const { return sourceObject != 0xFFFF; }

    std::string currentMusic;
    i32 musicChannel = kNoChannel;
    bool pauseFlag = false;    // the music was paused: resume it
    bool restartFlag = false;  // start the music again even when the choice stays
    u32 fightCountdown = 0;
    // The chosen ambient source: its map-object index (0xFFFF none), window cell and sound.
    u16 sourceObject = 0xFFFF;
    i32 sourceX = 0, sourceY = 0;
    std::string sourceSound;
    i64 lastAmbient = 0;
    bool ambientOnce = false;  // nothing sounded yet: the spacing does not apply

private:
    void Queue(i32 dx, i32 dy, const char* name, i32 less);

    IWorldAudio& audio_;
    CWeather& weather_;
    CRandom& random_;
    std::vector<QueuedSound> queued_;
};
