#include "world/WorldAudio.h"

#include "data/ResourceCatalogue.h"
#include "sound/SoundManager.h"

bool CCatalogueAudio::HasSound(const char* name) {
    return catalogue_ && name && catalogue_->FindResourceByName(name) != nullptr;
}

i32 CCatalogueAudio::PlaySound(const char* name, i32 volume) {
    return catalogue_ ? catalogue_->PlaySound(name, volume) : kNoChannel;
}

i32 CCatalogueAudio::PlaySoundLooped(const char* name, i32 volume) {
    return catalogue_ ? catalogue_->PlaySoundLooped(name, volume) : kNoChannel;
}

bool CCatalogueAudio::HasMusic(const char* name) {
    return catalogue_ && name && catalogue_->FindSongByName(name);
}

i32 CCatalogueAudio::PlayMusic(const char* name) {
    if (!catalogue_ || !name) return kNoChannel;
    if (!catalogue_->FindSongByName(name)) return kNoChannel;
    return catalogue_->PlayMusic(name);
}

void CCatalogueAudio::StopChannel(i32 channel) {
    if (catalogue_ && catalogue_->GetSoundManager()) catalogue_->GetSoundManager()->StopChannel(channel);
}

void CCatalogueAudio::StopMusic(i32 channel) {
    CSoundManager* sound = catalogue_ ? catalogue_->GetSoundManager() : nullptr;
    if (!sound) return;
    if (channel != kNoChannel) sound->ReleaseMusic();
}

void CCatalogueAudio::PauseChannel(i32 channel, bool paused) {
    CSoundManager* sound = catalogue_ ? catalogue_->GetSoundManager() : nullptr;
    Mixer* mixer = sound ? sound->GetMixer() : nullptr;
    if (!mixer) return;
    if (SoundChannel* c = mixer->Channel(channel)) {
        if (paused)
            c->SetPaused(true);
        else
            sound->ResumeChannel(channel);
    }
}
