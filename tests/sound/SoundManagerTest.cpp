#include "platform/Audio.h"
#include "platform/headless/HeadlessAudio.h"
#include "sound/MemorySoundCatalogue.h"
#include "sound/SampleData.h"
#include "sound/SoundManager.h"
#include "tools/content/ModuleBuilder.h"

#include <gtest/gtest.h>

namespace {

using content::MakeWav;
using content::ModuleBuilder;

class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        wav = MakeWav(1, 44100, 8, std::vector<uint8_t>(2000, 200));
        catalogue.AddSound("bsnd_click", wav.data(), wav.size());
        for (int song = 0; song < 2; ++song) {
            ModuleBuilder b(4);
            b.SetDcInstrument(1, static_cast<int8_t>(10 + song), 64);
            b.SetCell(0, 0, 0, 1, 428);
            songs[song] = b.File();
            ASSERT_TRUE(catalogue.AddMusic(song ? "bmus_fight" : "bmus_main", songs[song].data(),
                                           songs[song].size()));
        }
    }

    plat::HeadlessAudio audio;
    plat::ScopedAudioBackend scope{plat::HeadlessAudio::SharedFactory(audio)};
    std::vector<uint8_t> wav;
    std::vector<uint8_t> songs[2];
    CMemorySoundCatalogue catalogue;
    u32 soundSetting = 10;
    u32 musicSetting = 10;
};

TEST_F(SoundManagerTest, VolumesMapOntoTheMixerAndIntoTheSettings) {
    soundSetting = 5;
    musicSetting = 3;
    CSoundManager manager;
    manager.Init(&soundSetting, &musicSetting);
    ASSERT_TRUE(manager.GetMixer()->IsOpen());
    EXPECT_EQ(manager.GetMixer()->SampleVolume(), 32u);
    EXPECT_EQ(manager.GetMixer()->MusicVolume(), 19u);

    const u32 expected[11] = {0, 6, 12, 19, 25, 32, 38, 44, 51, 57, 64};
    for (i32 v = 0; v <= 10; ++v) {
        manager.SetVolumes(v, 10 - v);
        EXPECT_EQ(manager.GetMixer()->SampleVolume(), expected[v]);
        EXPECT_EQ(manager.GetMixer()->MusicVolume(), expected[10 - v]);
    }
    manager.SetVolumes(-3, 14);
    EXPECT_EQ(soundSetting, 0u);
    EXPECT_EQ(musicSetting, 10u);
    manager.Release();
}

TEST_F(SoundManagerTest, EffectsTakeALevelVoiceAndAnswerRealChannels) {
    CSoundManager manager;
    manager.Init(&soundSetting, &musicSetting);
    manager.SetVolumes(5, 10);
    CSoundEntry* click = catalogue.FindSound("bsnd_click");
    ASSERT_NE(click, nullptr);

    // Level 10 plays at voice volume 64; the effects setting acts through the mixer: 64 x 32 / 64.
    EXPECT_EQ(manager.PlayEffect(click, 10), 3);
    ASSERT_NE(click->Voice(10), nullptr);
    EXPECT_EQ(click->Voice(10)->volume, 64u);
    EXPECT_EQ(manager.GetMixer()->Sample(0).EffectiveVolume(), 32u);
    // Relative volume 4 is level 4 with voice volume 25; out-of-range volumes are clamped.
    EXPECT_EQ(manager.PlaySound(catalogue, "bsnd_click", 4), 4);
    EXPECT_EQ(click->Voice(4)->volume, 25u);
    EXPECT_EQ(manager.PlayEffect(click, 99), 5);
    EXPECT_EQ(manager.PlayEffect(click, -7), 6);
    EXPECT_EQ(click->Voice(0)->volume, 0u);

    // Nothing to play answers "no channel", never 0 (music channel 0).
    EXPECT_EQ(manager.PlaySound(catalogue, "bsnd_missing", 10), kNoChannel);
    const std::vector<uint8_t> junk(64, 0);
    CSoundEntry broken(junk.data(), junk.size());
    EXPECT_EQ(manager.PlayEffect(&broken, 10), kNoChannel);

    // A looped start loops; a plain start of the same voice does not.
    const i32 loop = manager.PlayEffectLooped(click, 10);
    EXPECT_TRUE(click->Voice(10)->loop);
    manager.StopChannel(loop);
    EXPECT_TRUE(manager.GetMixer()->Channel(loop)->IsStopped());
    manager.PlayEffect(click, 10);
    EXPECT_FALSE(click->Voice(10)->loop);

    // Stopping with a failed play's result, or any number outside 0..66, touches nothing.
    const i32 music = manager.PlayMusicByName(catalogue, "bmus_main");
    ASSERT_EQ(music, 0);
    for (i32 bad : {kNoChannel, -1, 67, 1000}) {
        manager.StopChannel(bad);
        EXPECT_EQ(manager.ResumeChannel(bad), nullptr);
    }
    EXPECT_FALSE(manager.GetMixer()->Music(0).IsStopped());

    // Resume only lets a paused channel that is still playing go on.
    manager.GetMixer()->Music(0).SetPaused(true);
    EXPECT_EQ(manager.ResumeChannel(0), manager.GetMixer()->Channel(0));
    EXPECT_FALSE(manager.GetMixer()->Music(0).IsPaused());
    manager.Release();
}

TEST_F(SoundManagerTest, NewMusicStopsThePreviousSongBeforeItsDataGoes) {
    CSoundManager manager;
    manager.Init(&soundSetting, &musicSetting);
    Mixer* mixer = manager.GetMixer();
    ASSERT_EQ(manager.PlayMusicByName(catalogue, "bmus_main"), 0);
    EXPECT_EQ(mixer->Music(0).Module()->header, songs[0].data());
    EXPECT_FALSE(mixer->Music(0).IsStopped());

    // The second song takes the freed channel 0; the first no longer plays anywhere.
    ASSERT_EQ(manager.PlayMusicByName(catalogue, "bmus_fight"), 0);
    EXPECT_EQ(mixer->Music(0).Module()->header, songs[1].data());
    EXPECT_TRUE(mixer->Music(1).IsStopped());
    EXPECT_EQ(manager.PlayMusicByName(catalogue, "bmus_none"), kNoChannel);
    manager.ReleaseMusic();
    EXPECT_TRUE(mixer->Music(0).IsStopped());

    // The mixing thread keeps refilling through all of it.
    ASSERT_EQ(manager.PlayMusicByName(catalogue, "bmus_main"), 0);
    ASSERT_EQ(audio.Advance(6), 6u);
    ASSERT_TRUE(audio.WaitForQueued(6));
    manager.Release();
    EXPECT_EQ(manager.GetMixer(), nullptr);
}

TEST_F(SoundManagerTest, ReleasingASoundStopsItsChannelsFirst) {
    CSoundManager manager;
    manager.Init(&soundSetting, &musicSetting);
    CSoundEntry* click = catalogue.FindSound("bsnd_click");
    const std::vector<uint8_t> other = MakeWav(1, 44100, 8, std::vector<uint8_t>(2000, 100));
    CSoundEntry second(other.data(), other.size());
    const i32 a = manager.PlayEffectLooped(click, 10);
    const i32 b = manager.PlayEffect(click, 3);
    const i32 c = manager.PlayEffect(&second, 10);
    manager.ReleaseSound(click);
    EXPECT_TRUE(manager.GetMixer()->Channel(a)->IsStopped());
    EXPECT_TRUE(manager.GetMixer()->Channel(b)->IsStopped());
    EXPECT_FALSE(manager.GetMixer()->Channel(c)->IsStopped());
    EXPECT_EQ(click->Voice(10), nullptr);
    EXPECT_EQ(click->Voice(3), nullptr);
    manager.Release();
}

TEST_F(SoundManagerTest, WithoutADeviceEverythingIsSilentAndHarmless) {
    plat::ScopedAudioBackend none(nullptr);
    CSoundManager manager;
    manager.Init(&soundSetting, &musicSetting);
    EXPECT_FALSE(manager.GetMixer()->IsOpen());
    EXPECT_EQ(manager.PlaySound(catalogue, "bsnd_click", 10), kNoChannel);
    EXPECT_EQ(manager.PlayMusicByName(catalogue, "bmus_main"), kNoChannel);
    manager.StopChannel(0);
    manager.SetVolumes(3, 4);
    EXPECT_EQ(soundSetting, 3u);
    manager.Release();
}

}  // namespace
