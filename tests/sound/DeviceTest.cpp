#include "platform/Audio.h"
#include "platform/headless/HeadlessAudio.h"
#include "sound/Mixer.h"
#include "sound/SampleData.h"
#include "sound/SoundDevice.h"
#include "tools/content/ModuleBuilder.h"

#include <gtest/gtest.h>

namespace {

// Installs a headless backend for the scope; every device opened in it drives `audio`.
struct HeadlessScope {
    plat::HeadlessAudio backend;
    plat::HeadlessAudio* audio = &backend;
    plat::ScopedAudioBackend scope{plat::HeadlessAudio::SharedFactory(backend)};
    explicit HeadlessScope(uint32_t deviceCount = 1, uint32_t refuse = 0) : backend(deviceCount) {
        backend.RefuseDevicesBelow(refuse);
    }
};

void Silence(void*, u8* buffer, u32 bytes) { std::memset(buffer, 0, bytes); }

TEST(SoundDeviceTest, BufferCountFollowsLatencyWithinFourToThirtyTwo) {
    struct Case {
        u32 ms;
        u32 count;
    } cases[] = {{180, 6}, {360, 12}, {100, 4}, {119, 4}, {960, 32}, {2000, 32}, {0, 4}};
    for (const Case& c : cases)
        EXPECT_EQ(SoundDevice::BufferCountFor(c.ms * 44100 / 1000, 44100), c.count) << c.ms;
    // 30 ms of 16-bit mono rounded up to 8 bytes; 8-bit stereo is the same size.
    EXPECT_EQ(SoundDevice::BufferBytesFor(44100, 2), 2648u);
    EXPECT_EQ(SoundDevice::BufferBytesFor(22050, 1), 664u);
}

TEST(SoundDeviceTest, OpenQueuesSixBuffersPausedAndRefusesBadRequests) {
    HeadlessScope h;
    SoundDevice device;
    const SoundFormat format{44100, 0x12, 1};
    EXPECT_EQ(device.Open(nullptr, 7938, &Silence, nullptr), -1);
    EXPECT_EQ(device.Open(&format, 7938, nullptr, nullptr), -1);
    for (u32 word : {0u, 0x11u, 0x22u}) {
        const SoundFormat bad{44100, word, 1};
        EXPECT_EQ(device.Open(&bad, 7938, &Silence, nullptr), -1) << word;
    }
    const SoundFormat threeChannels{44100, 0x12, 3};
    EXPECT_EQ(device.Open(&threeChannels, 7938, &Silence, nullptr), -1);
    EXPECT_EQ(device.Close(), -3);

    ASSERT_EQ(device.Open(&format, 180 * 44100 / 1000, &Silence, nullptr), 0);
    EXPECT_EQ(device.Open(&format, 7938, &Silence, nullptr), -2);
    EXPECT_TRUE(device.IsPaused());
    EXPECT_EQ(h.audio->QueuedSizes(), std::vector<size_t>(6, 2648));
    EXPECT_EQ(h.audio->Format().bitsPerSample, 16u);
    EXPECT_EQ(h.audio->Format().channels, 1u);
    EXPECT_EQ(h.audio->Format().rate, 44100u);
    EXPECT_TRUE(h.audio->IsPaused());
    EXPECT_EQ(device.Close(), 0);
    EXPECT_FALSE(h.audio->IsOpen());
}

TEST(SoundDeviceTest, TriesDevicesInTurnAndFailsWithoutAny) {
    {
        HeadlessScope h(3, 2);
        SoundDevice device;
        const SoundFormat format{44100, 0x12, 1};
        ASSERT_EQ(device.Open(&format, 7938, &Silence, nullptr), 0);
        EXPECT_EQ(h.audio->OpenedDevice(), 2u);
    }
    for (uint32_t devices : {0u}) {
        HeadlessScope h(devices);
        SoundDevice device;
        const SoundFormat format{44100, 0x12, 1};
        EXPECT_EQ(device.Open(&format, 7938, &Silence, nullptr), -1);
        EXPECT_FALSE(device.IsOpen());
        // Lock and Unlock on a closed device do nothing (and so cannot deadlock or fault).
        device.Lock();
        device.Lock();
        device.Unlock();
    }
    plat::ScopedAudioBackend none(nullptr);
    Mixer mixer;
    EXPECT_EQ(mixer.Open(), -1);
    EXPECT_FALSE(mixer.IsOpen());
    SampleData s;
    const std::vector<uint8_t> wav = content::MakeWav(1, 44100, 8, std::vector<uint8_t>(100, 200));
    ASSERT_EQ(s.ParseWav(wav.data(), wav.size()), 0);
    EXPECT_EQ(mixer.PlaySample(s), kNoChannel);
    mixer.StopAllMusic();
    mixer.StopAllSamples();
}

TEST(SoundDeviceTest, MixerRefillsEachFinishedBufferInOrder) {
    HeadlessScope h;
    Mixer mixer;
    ASSERT_EQ(mixer.Open(), 0);
    ASSERT_EQ(mixer.Device()->BufferCount(), 6u);
    EXPECT_FALSE(h.audio->IsPaused());

    // An 8-bit sample of value 200 at full volume: (200 - 128) x 256 x 64 >> 7 = 9216.
    const std::vector<uint8_t> wav = content::MakeWav(1, 44100, 8, std::vector<uint8_t>(3000, 200));
    SampleData s;
    ASSERT_EQ(s.ParseWav(wav.data(), wav.size()), 0);
    EXPECT_EQ(mixer.PlaySample(s), 3);

    // The first six buffers were silence queued at open; the refills carry the effect.
    ASSERT_EQ(h.audio->Advance(6), 6u);
    ASSERT_TRUE(h.audio->WaitForQueued(6));
    ASSERT_EQ(h.audio->Advance(3), 3u);
    const std::vector<uint8_t> played = h.audio->Played();
    ASSERT_EQ(played.size(), 9u * 2648);
    auto sampleAt = [&](size_t i) { return static_cast<int16_t>(played[i * 2] | (played[i * 2 + 1] << 8)); };
    EXPECT_EQ(sampleAt(6 * 1324 - 1), 0);
    EXPECT_EQ(sampleAt(6 * 1324), 9216);
    EXPECT_EQ(sampleAt(6 * 1324 + 1323), 9216);
    EXPECT_EQ(sampleAt(6 * 1324 + 2999), 9216);  // the last frame
    EXPECT_EQ(sampleAt(6 * 1324 + 3000), 0);
    mixer.Close();
}

TEST(SoundDeviceTest, PauseStopsOutputAndCloseWhilePausedReturns) {
    HeadlessScope h;
    Mixer mixer;
    ASSERT_EQ(mixer.Open(), 0);
    SoundDevice* device = mixer.Device();
    device->Pause();
    EXPECT_TRUE(device->IsPaused());
    EXPECT_TRUE(h.audio->IsPaused());
    EXPECT_EQ(h.audio->Advance(3), 0u);

    device->Resume();
    EXPECT_FALSE(device->IsPaused());
    ASSERT_EQ(h.audio->Advance(3), 3u);
    ASSERT_TRUE(h.audio->WaitForQueued(6));

    // Buffers finished just before a pause are still returned; closing must not wait on the parked
    // thread.
    ASSERT_EQ(h.audio->Advance(2), 2u);
    device->Pause();
    mixer.Close();
    EXPECT_FALSE(mixer.IsOpen());
    EXPECT_FALSE(h.audio->IsOpen());
}

}  // namespace
