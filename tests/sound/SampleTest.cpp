#include "sound/Mixer.h"
#include "sound/SampleData.h"
#include "tools/content/ModuleBuilder.h"

#include <gtest/gtest.h>

namespace {

using content::MakeWav;

std::vector<int16_t> Render(Mixer& mixer, size_t count) {
    std::vector<uint8_t> bytes(count * 2);
    mixer.Mix(bytes.data(), static_cast<u32>(bytes.size()));
    std::vector<int16_t> out(count);
    for (size_t i = 0; i < count; ++i) out[i] = static_cast<int16_t>(bytes[i * 2] | (bytes[i * 2 + 1] << 8));
    return out;
}

void PutU32(std::vector<uint8_t>& w, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) w[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(WavTest, ParsesFormatsAndCountsFrames) {
    struct Case {
        const char* name;
        uint16_t channels;
        uint32_t rate;
        uint16_t bits;
        size_t bytes;
        uint32_t frames;
    } cases[] = {
        {"8-bit mono", 1, 44100, 8, 1000, 1000},   {"16-bit mono", 1, 44100, 16, 1000, 500},
        {"8-bit stereo", 2, 22050, 8, 1000, 500},  {"16-bit stereo 4000 bytes", 2, 44100, 16, 4000, 1000},
        {"odd 8-bit data", 1, 22050, 8, 999, 999},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> wav =
            MakeWav(c.channels, c.rate, c.bits, std::vector<uint8_t>(c.bytes, 1));
        SampleData s;
        ASSERT_EQ(s.ParseWav(wav.data(), wav.size()), 0) << c.name;
        EXPECT_EQ(s.length, c.frames) << c.name;
        EXPECT_EQ(s.sampleRate, c.rate) << c.name;
        EXPECT_EQ(s.playbackRate, c.rate) << c.name;
        EXPECT_EQ(s.is8Bit, c.bits == 8) << c.name;
        EXPECT_EQ(s.stereo, c.channels == 2) << c.name;
        EXPECT_EQ(s.data, wav.data() + 44) << c.name;
    }
}

TEST(WavTest, WalksChunksWithPadBytesAndBounds) {
    // A 3-byte chunk between "fmt " and "data" is followed by its pad byte.
    std::vector<uint8_t> wav = MakeWav(1, 44100, 8, std::vector<uint8_t>(10, 7));
    const std::vector<uint8_t> extra = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    wav.insert(wav.begin() + 36, extra.begin(), extra.end());
    SampleData s;
    ASSERT_EQ(s.ParseWav(wav.data(), wav.size()), 0);
    EXPECT_EQ(s.data, wav.data() + 36 + 12 + 8);
    EXPECT_EQ(s.length, 10u);

    // An odd-sized format chunk is padded too.
    std::vector<uint8_t> oddFmt = MakeWav(1, 44100, 8, std::vector<uint8_t>(4, 9));
    PutU32(oddFmt, 16, 17);
    oddFmt.insert(oddFmt.begin() + 36, {0, 0});
    ASSERT_EQ(s.ParseWav(oddFmt.data(), oddFmt.size()), 0);
    EXPECT_EQ(s.length, 4u);
    EXPECT_EQ(s.data[0], 9);

    // A truncated image plays the whole frames it holds.
    std::vector<uint8_t> cut = MakeWav(2, 44100, 16, std::vector<uint8_t>(400, 1));
    cut.resize(44 + 101);
    ASSERT_EQ(s.ParseWav(cut.data(), cut.size()), 0);
    EXPECT_EQ(s.length, 25u);
}

TEST(WavTest, RefusesWhatItCannotPlay) {
    const std::vector<uint8_t> good = MakeWav(1, 44100, 8, std::vector<uint8_t>(10, 1));
    auto patched = [&](size_t at, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> w = good;
        std::copy(bytes.begin(), bytes.end(), w.begin() + at);
        return w;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> image;
        i32 code;
    } cases[] = {
        {"no fmt chunk first", patched(12, {'d', 'a', 't', 'a'}), -300},
        {"4-bit data", patched(34, {4, 0}), -100},
        {"three channels", patched(22, {3, 0}), -100},
        {"not PCM", patched(20, {2, 0}), -100},
        {"no data chunk", patched(36, {'j', 'u', 'n', 'k'}), -300},
        {"chunk size past the end", patched(36, {'j', 'u', 'n', 'k', 0xFF, 0xFF, 0xFF, 0x7F}), -300},
        {"format size past the end", patched(16, {0xFF, 0xFF, 0, 0}), -300},
        {"format chunk too short", patched(16, {8, 0, 0, 0}), -300},
        {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 30), -300},
        {"data header cut", std::vector<uint8_t>(good.begin(), good.begin() + 40), -300},
    };
    for (const Case& c : cases) {
        SampleData s;
        EXPECT_EQ(s.ParseWav(c.image.data(), c.image.size()), c.code) << c.name;
        EXPECT_EQ(s.data, nullptr) << c.name;
    }
    SampleData s;
    EXPECT_EQ(s.ParseWav(nullptr, 100), -10);
}

class SampleMixTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(mixer.OpenForRendering(), 0); }
    Mixer mixer;
};

TEST_F(SampleMixTest, ValuesTimesVolumeAtKnownIndices) {
    // 8-bit 200 -> 72 x 256; 16-bit 1000; stereo sums both sides; the sample sum is taken >> 7.
    struct Case {
        const char* name;
        std::vector<uint8_t> wav;
        u32 volume;
        int16_t expected;
        size_t outputLength;
    } cases[] = {
        {"8-bit mono", MakeWav(1, 44100, 8, std::vector<uint8_t>(100, 200)), 64, 72 * 256 * 64 >> 7, 100},
        {"16-bit mono", MakeWav(1, 44100, 16, {0xE8, 0x03, 0xE8, 0x03}), 64, 1000 * 64 >> 7, 2},
        {"8-bit stereo", MakeWav(2, 44100, 8, std::vector<uint8_t>(20, 0)), 64, -32768, 10},
        {"22,050 Hz lasts twice", MakeWav(1, 22050, 8, std::vector<uint8_t>(50, 160)), 10, 32 * 256 * 10 >> 7,
         100},
    };
    for (const Case& c : cases) {
        SampleData s;
        ASSERT_EQ(s.ParseWav(c.wav.data(), c.wav.size()), 0) << c.name;
        s.volume = c.volume;
        ASSERT_EQ(mixer.PlaySample(s), 3) << c.name;
        const std::vector<int16_t> out = Render(mixer, c.outputLength + 3);
        EXPECT_EQ(out[0], c.expected) << c.name;
        EXPECT_EQ(out[c.outputLength - 1], c.expected) << c.name;
        EXPECT_EQ(out[c.outputLength], 0) << c.name;
        EXPECT_TRUE(mixer.Sample(0).IsStopped()) << c.name;
    }
    // Stereo data adds both sides: 1000 - 1000, then 2000 + 2000.
    SampleData s;
    const std::vector<uint8_t> wav = MakeWav(2, 44100, 16, {0xE8, 0x03, 0x18, 0xFC, 0xD0, 0x07, 0xD0, 0x07});
    ASSERT_EQ(s.ParseWav(wav.data(), wav.size()), 0);
    s.volume = 32;
    mixer.PlaySample(s);
    EXPECT_EQ(Render(mixer, 3), (std::vector<int16_t>{0, 4000 * 32 >> 7, 0}));
}

TEST_F(SampleMixTest, LoopWrapsWithoutGapAndClipsTheSum) {
    std::vector<uint8_t> data = {255, 128, 0};
    const std::vector<uint8_t> wav = MakeWav(1, 44100, 8, data);
    SampleData s;
    ASSERT_EQ(s.ParseWav(wav.data(), wav.size()), 0);
    s.loop = true;
    ASSERT_EQ(mixer.PlaySample(s), 3);
    const std::vector<int16_t> out = Render(mixer, 7);
    const int16_t hi = 127 * 256 * 64 >> 7, lo = -128 * 256 * 64 >> 7;
    EXPECT_EQ(out, (std::vector<int16_t>{hi, 0, lo, hi, 0, lo, hi}));
    mixer.StopAllSamples();

    // Three full-scale effects at once: the sum is clipped, not wrapped.
    const std::vector<uint8_t> loud = MakeWav(1, 44100, 8, std::vector<uint8_t>(8, 255));
    const std::vector<uint8_t> quiet = MakeWav(1, 44100, 8, std::vector<uint8_t>(8, 0));
    SampleData a, b;
    ASSERT_EQ(a.ParseWav(loud.data(), loud.size()), 0);
    ASSERT_EQ(b.ParseWav(quiet.data(), quiet.size()), 0);
    for (int i = 0; i < 3; ++i) mixer.PlaySample(a);
    EXPECT_EQ(Render(mixer, 1)[0], 32767);
    mixer.StopAllSamples();
    for (int i = 0; i < 3; ++i) mixer.PlaySample(b);
    EXPECT_EQ(Render(mixer, 1)[0], -32768);
    mixer.StopAllSamples();
    EXPECT_EQ(Render(mixer, 4), std::vector<int16_t>(4, 0));
}

TEST_F(SampleMixTest, ChannelsInstanceLimitAndVolumes) {
    const std::vector<uint8_t> wav = MakeWav(1, 44100, 8, std::vector<uint8_t>(100, 192));
    SampleData s;
    ASSERT_EQ(s.ParseWav(wav.data(), wav.size()), 0);
    for (i32 i = 0; i < 64; ++i) EXPECT_EQ(mixer.PlaySample(s), 3 + i);
    EXPECT_EQ(mixer.PlaySample(s), kNoChannel);
    mixer.StopAllSamples();

    // With a limit the last free channel is taken, until the limit is reached.
    s.instanceLimit = 2;
    EXPECT_EQ(mixer.PlaySample(s), 66);
    EXPECT_EQ(mixer.PlaySample(s), 65);
    EXPECT_EQ(mixer.PlaySample(s), kNoChannel);
    mixer.StopAllSamples();
    s.instanceLimit = -1;

    // Effective volume = mixer volume x channel volume / 64, following later mixer changes.
    s.volume = 40;
    ASSERT_EQ(mixer.PlaySample(s), 3);
    EXPECT_EQ(mixer.Sample(0).EffectiveVolume(), 40u);
    mixer.SetSampleVolume(32);
    EXPECT_EQ(mixer.Sample(0).EffectiveVolume(), 20u);
    EXPECT_EQ(Render(mixer, 1)[0], 64 * 256 * 20 >> 7);
    mixer.SetSampleVolume(1000);
    EXPECT_EQ(mixer.SampleVolume(), 64u);

    // Positions are frames.
    mixer.Sample(0).SetPosition(90);
    EXPECT_EQ(mixer.Sample(0).GetPosition(), 90u);
    EXPECT_EQ(mixer.Sample(0).GetLength(), 100u);
    Render(mixer, 11);
    EXPECT_TRUE(mixer.Sample(0).IsStopped());
}

}  // namespace
