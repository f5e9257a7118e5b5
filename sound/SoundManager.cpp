#include "sound/SoundManager.h"

#include "sound/SampleData.h"

#include <algorithm>

CSoundManager::CSoundManager() = default;

CSoundManager::~CSoundManager() { Release(); }

void CSoundManager::Init(u32* soundVolumeSetting, u32* musicVolumeSetting) {
    soundVolume_ = soundVolumeSetting ? soundVolumeSetting : &ownSound_;
    musicVolume_ = musicVolumeSetting ? musicVolumeSetting : &ownMusic_;
    mixer_ = std::make_unique<Mixer>();
    mixer_->Open();
    effectsScale_ = 10;
    musicScale_ = 10;
    SetVolumes(static_cast<i32>(*soundVolume_), static_cast<i32>(*musicVolume_));
}

void CSoundManager::Release() {
    if (mixer_) {
        mixer_->StopAllSamples();
        mixer_->StopAllMusic();
        mixer_->Close();
    }
    music_.reset();
    mixer_.reset();
}

void CSoundManager::SetVolumes(i32 effects, i32 music) {
    const u32 e = static_cast<u32>(std::clamp(effects, 0, 10));
    const u32 m = static_cast<u32>(std::clamp(music, 0, 10));
    *soundVolume_ = e;
    *musicVolume_ = m;
    if (mixer_) {
        mixer_->SetSampleVolume(e * 64 / 10);
        mixer_->SetMusicVolume(m * 64 / 10);
    }
}

i32 CSoundManager::StartEffect(CSoundEntry* entry, i32 relative, bool looped) {
    if (entry == nullptr || !mixer_) return kNoChannel;
    // A level outside 0..10 would have no voice slot.
    const i32 rel = std::clamp(relative, 0, 10);
    const u32 level = std::min<u32>(effectsScale_ * static_cast<u32>(rel) / 10, 10);
    SampleData* voice = entry->Voice(level);
    if (voice == nullptr) voice = entry->CreateVoice(level);
    // "Nothing played" must not look like music channel 0 to a caller that keeps the handle.
    if (voice == nullptr) return kNoChannel;
    voice->volume = std::min<u32>(level * 64 / 10, 64);
    // One voice serves both kinds of start, so a looped start must not leave later ones looping.
    voice->loop = looped;
    return mixer_->PlaySample(*voice);
}

i32 CSoundManager::PlayEffect(CSoundEntry* entry, i32 relative) {
    return StartEffect(entry, relative, false);
}

i32 CSoundManager::PlayEffectLooped(CSoundEntry* entry, i32 relative) {
    return StartEffect(entry, relative, true);
}

void CSoundManager::ReleaseMusic() {
    if (music_ && mixer_) mixer_->StopModule(music_.get());
    music_.reset();
}

i32 CSoundManager::PlayMusic(CMusicEntry* entry) {
    if (entry == nullptr || !mixer_) return kNoChannel;
    // Loading a piece may free the records of the one playing now, so that one stops first.
    ReleaseMusic();
    CMusicSource source;
    if (!entry->LoadMusic(source)) return kNoChannel;
    auto module = std::make_unique<ModuleData>();
    module->volume = 64;
    module->pan = 255;
    module->tempoBaseRate = 44100;
    if (module->Set(source.header, source.patterns, source.samples, source.samples2) != 0) return kNoChannel;
    module->loop = true;
    music_ = std::move(module);
    return mixer_->PlayModule(*music_);
}

i32 CSoundManager::PlaySound(CSoundCatalogue& catalogue, std::string_view name, i32 relative) {
    return PlayEffect(catalogue.FindSound(name), relative);
}

i32 CSoundManager::PlayMusicByName(CSoundCatalogue& catalogue, std::string_view name) {
    return PlayMusic(catalogue.FindMusic(name));
}

void CSoundManager::ReleaseSound(CSoundEntry* entry) {
    if (entry == nullptr) return;
    if (mixer_) {
        const std::span<const u8> image = entry->Image();
        mixer_->StopSamplesWithin(image.data(), image.size());
    }
    entry->DeleteVoices();
}

void CSoundManager::StopChannel(i32 index) {
    if (!mixer_) return;
    if (SoundChannel* c = mixer_->Channel(index)) c->Stop();
}

SoundChannel* CSoundManager::ResumeChannel(i32 index) {
    if (!mixer_) return nullptr;
    SoundChannel* c = mixer_->Channel(index);
    if (c != nullptr && !c->IsStopped()) c->SetPaused(false);
    return c;
}
