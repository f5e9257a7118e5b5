// The game's door to the sound system: effects by sound entry or name, music by entry or name, and
// the two volume settings (0..10) mapped onto the mixer's 0..64.
#pragma once

#include "core/Types.h"
#include "sound/Mixer.h"
#include "sound/SoundEntry.h"

#include <memory>
#include <string_view>

class CSoundManager {
public:
    CSoundManager();
    ~CSoundManager();
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    // Creates and opens the mixer (a failed open leaves the game silent, nothing more) and applies the
    // saved volumes. The two settings words are read here and written by SetVolumes; either may be
    // null, and then the manager keeps its own.
    void Init(u32* soundVolumeSetting, u32* musicVolumeSetting);
    // Stops everything, frees the current music and closes the mixer.
    void Release();
    void SetVolumes(i32 effects, i32 music);

    // Channel index 3..66, or kNoChannel when nothing plays (no voice, no free channel, no device).
    i32 PlayEffect(CSoundEntry* entry, i32 relative);
    i32 PlayEffectLooped(CSoundEntry* entry, i32 relative);
    // Music channel 0..2, or kNoChannel. The previous piece is stopped before its data goes.
    i32 PlayMusic(CMusicEntry* entry);
    i32 PlaySound(CSoundCatalogue& catalogue, std::string_view name, i32 relative);
    i32 PlayMusicByName(CSoundCatalogue& catalogue, std::string_view name);
    // Stops the current piece and frees its player data; call before the piece's records are freed.
    void ReleaseMusic();

    // Stops every channel that plays one of the entry's voices and deletes the voices; call it before
    // the entry's record is freed.
    void ReleaseSound(CSoundEntry* entry);

    // Only real channel numbers (0..66) name channels; anything else does nothing.
    void StopChannel(i32 index);
    SoundChannel* ResumeChannel(i32 index);

    Mixer* GetMixer() { return mixer_.get(); }
    u32 EffectsVolume() const { return *soundVolume_; }
    u32 MusicVolumeSetting() const { return *musicVolume_; }

private:
    i32 StartEffect(CSoundEntry* entry, i32 relative, bool looped);

    std::unique_ptr<Mixer> mixer_;
    std::unique_ptr<ModuleData> music_;
    u32 ownSound_ = 10;
    u32 ownMusic_ = 10;
    u32* soundVolume_ = &ownSound_;
    u32* musicVolume_ = &ownMusic_;
    u32 effectsScale_ = 10;
    u32 musicScale_ = 10;
};
