// The real SDL backend under SDL's own output drivers: "dummy" plays nowhere, "disk" writes the output
// to a file, where a click must then be found.
#include "platform/Audio.h"
#include "platform/sdl/SdlAudio.h"
#include "sound/SampleData.h"
#include "sound/SoundDevice.h"
#include "sound/SoundManager.h"
#include "tools/content/ModuleBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace {

// Sets an environment variable for a scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SdlAudioTest, DummyDriverOpensPlaysAndCloses) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    plat::ScopedAudioBackend sdl(&plat::CreateSdlAudio);
    const std::vector<uint8_t> wav = content::MakeWav(1, 44100, 16, std::vector<uint8_t>(2000, 0x20));
    CSoundEntry click(wav.data(), wav.size());
    u32 sound = 10, music = 10;
    CSoundManager manager;
    manager.Init(&sound, &music);
    ASSERT_TRUE(manager.GetMixer()->IsOpen());
    EXPECT_EQ(manager.PlayEffect(&click, 10), 3);
    EXPECT_TRUE(manager.GetMixer()->Device()->WaitForRefills(2, 10000));
    manager.GetMixer()->Device()->Pause();
    manager.Release();
}

TEST(SdlAudioTest, ClickIsWrittenByTheDiskDriver) {
    testing_support::TempDir dir;
    const std::string file = dir.File("out.raw");
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv out("SDL_DISKAUDIOFILE", file);
    ScopedEnv delay("SDL_DISKAUDIODELAY", "2");
    plat::ScopedAudioBackend sdl(&plat::CreateSdlAudio);

    // A 20 ms click of 16-bit value 0x3000 at full volume: 12288 x 64 >> 7 = 6144 in the output.
    std::vector<uint8_t> pcm;
    for (int i = 0; i < 882; ++i) pcm.insert(pcm.end(), {0x00, 0x30});
    const std::vector<uint8_t> wav = content::MakeWav(1, 44100, 16, pcm);
    CSoundEntry click(wav.data(), wav.size());
    u32 sound = 10, music = 10;
    CSoundManager manager;
    manager.Init(&sound, &music);
    ASSERT_TRUE(manager.GetMixer()->IsOpen());
    ASSERT_EQ(manager.PlayEffect(&click, 10), 3);
    // The click goes whole into the next refill. Once its channel has ended, six more refills mean
    // that its buffer, at most six places back in the queue, has been taken by the driver.
    SoundDevice* device = manager.GetMixer()->Device();
    u64 refills = 1;
    while (device->WaitForRefills(refills, 10000) && !manager.GetMixer()->Sample(0).IsStopped()) ++refills;
    ASSERT_TRUE(manager.GetMixer()->Sample(0).IsStopped());
    EXPECT_TRUE(device->WaitForRefills(refills + 7, 10000));
    manager.Release();

    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in.good());
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t run = 0, longest = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const int16_t v = static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8));
        run = v == 6144 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    EXPECT_EQ(longest, 882u) << bytes.size() << " bytes written";
}

}  // namespace
