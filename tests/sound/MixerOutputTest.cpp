// The mixer's output pinned sample for sample: generated modules covering every effect, instrument
// loops, samples split across two data blocks, finetunes, ending and looping songs, and sample
// channels of every format, rendered in buffers of uneven sizes while volumes, positions and channels
// change between buffers. Each session's output is hashed; a change to any sample changes the hash.
// The hashes were taken from the mixer before its inner loops were rewritten for speed, so a rewrite
// must reproduce the old output exactly.
#include "sound/Mixer.h"
#include "sound/ModuleData.h"
#include "sound/SampleData.h"
#include "tools/content/ModuleBuilder.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>

namespace {

using content::ModuleBuilder;

// 64-bit FNV-1a.
struct Hash {
    uint64_t value = 0xcbf29ce484222325ull;
    void Add(const uint8_t* p, size_t n) {
        for (size_t i = 0; i < n; ++i) value = (value ^ p[i]) * 0x100000001b3ull;
    }
};

// Owns a built module and the ModuleData that points into it.
struct HeldModule {
    std::vector<uint8_t> file;
    ModuleImage image;
    ModuleData data;
    explicit HeldModule(const ModuleBuilder& b, bool loop) : file(b.File()) {
        EXPECT_TRUE(SplitModuleImage(file.data(), file.size(), image));
        EXPECT_EQ(data.Set(image.header, image.patterns, image.samples, image.samples2), 0);
        data.loop = loop;
    }
};

// Owns sample data of one format and the SampleData that plays it.
struct HeldSample {
    std::vector<uint8_t> bytes;
    SampleData data;
};

std::unique_ptr<HeldSample> MakeSample(std::mt19937& rng, bool is8Bit, bool stereo, u32 frames, u32 rate,
                                       bool loop, u32 volume) {
    auto s = std::make_unique<HeldSample>();
    const u32 frameBytes = (is8Bit ? 1 : 2) * (stereo ? 2 : 1);
    s->bytes.resize(static_cast<size_t>(frames) * frameBytes);
    // A saw with noise on top, so that every byte matters.
    for (size_t i = 0; i < s->bytes.size(); ++i) s->bytes[i] = static_cast<uint8_t>((i * 7) + (rng() & 0x3F));
    s->data.data = s->bytes.data();
    s->data.is8Bit = is8Bit;
    s->data.stereo = stereo;
    s->data.length = frames;
    s->data.sampleRate = rate;
    s->data.playbackRate = rate;
    s->data.loop = loop;
    s->data.volume = volume;
    return s;
}

const u32 kPeriods[] = {1712, 1616, 1525, 1440, 1357, 1281, 1209, 1141, 1077, 1017, 961, 907, 856,
                        808,  762,  720,  678,  640,  604,  570,  538,  508,  480,  453, 428, 404,
                        381,  360,  339,  320,  302,  285,  269,  254,  240,  226,  214, 202, 190,
                        180,  113,  57,   28,   13,   1700, 1000, 500,  250,  100,  14};

// A module of random cells where every effect and every extended effect appears, with instruments of
// every shape: empty, short, looping, looping past their end, split across the 64,000-byte boundary,
// every finetune and volumes above full scale.
ModuleBuilder RandomModule(uint32_t seed, uint32_t tracks, uint32_t patterns, uint32_t orders) {
    std::mt19937 rng(seed);
    ModuleBuilder b(tracks, patterns);
    for (int n = 1; n <= 31; ++n) {
        const uint32_t shape = rng() % 8;
        if (shape == 0) continue;  // empty
        uint32_t bytes = 2 * (1 + rng() % 3000);
        if (shape == 7) bytes = 64000 + 2 * (1 + rng() % 8000);  // split across two blocks
        std::vector<int8_t> wave(bytes);
        for (size_t i = 0; i < wave.size(); ++i) wave[i] = static_cast<int8_t>(rng());
        const uint32_t words = bytes / 2;
        uint16_t loopStart = 0, loopLength = 0;
        if (shape >= 4) {
            loopStart = static_cast<uint16_t>(rng() % words);
            loopLength = static_cast<uint16_t>(rng() % (words - loopStart + 1));
            if (shape == 6) loopLength = static_cast<uint16_t>(loopLength + rng() % 200);  // past the end
            if (shape == 7 && loopStart < 30000) loopStart = 31000;  // a loop across the boundary
            if (shape == 7) loopLength = static_cast<uint16_t>(std::max<uint32_t>(words - loopStart, 1));
        }
        const auto volume = static_cast<uint8_t>(rng() % 80);
        const auto finetune = static_cast<uint8_t>(rng());
        b.SetInstrument(n, wave, volume, finetune, loopStart, loopLength);
    }
    for (uint32_t p = 0; p < patterns; ++p)
        for (uint32_t row = 0; row < 64; ++row)
            for (uint32_t t = 0; t < tracks; ++t) {
                if (rng() % 4 == 0) continue;  // an empty cell
                const uint32_t instrument = rng() % 3 == 0 ? 0 : rng() % 40;
                uint32_t period = 0;
                const uint32_t pick = rng() % 8;
                if (pick < 5) period = kPeriods[rng() % std::size(kPeriods)];
                if (pick == 5) period = rng() % 4096;
                uint32_t effect = rng() % 16;
                uint32_t param = rng() % 256;
                // Keep rows short and jumps, pattern loops and delays rare, so that a few seconds pass
                // through many rows.
                if (effect == 0xF) param = param <= 32 ? 1 + rng() % 3 : 150 + rng() % 106;
                const bool jumps = effect == 0xB || effect == 0xD ||
                                   (effect == 0xE && ((param >> 4) == 0x6 || (param >> 4) == 0xE));
                if (jumps && rng() % (tracks * 6) != 0) effect = 0xC;
                if (effect == 0xE && (param >> 4) == 0xE) param = 0xE0 | (rng() % 3);
                if (effect == 0xE && (param >> 4) == 0x6) param = 0x60 | (rng() % 3);
                b.SetCell(p, row, t, instrument, period, effect, param);
            }
    std::vector<uint8_t> list;
    for (uint32_t i = 0; i < orders; ++i) list.push_back(static_cast<uint8_t>(rng() % patterns));
    b.SetOrders(list, static_cast<uint8_t>(rng() % 2 ? 127 : rng() % (orders + 2)));
    return b;
}

// Renders `frames` output samples in buffers of uneven sizes (odd byte counts too, whose last byte is
// written as zero), calling `between(i)` before buffer i, and hashes every byte written.
uint64_t RenderHashed(Mixer& mixer, size_t frames, uint32_t seed,
                      const std::function<void(u32)>& between = {}) {
    std::mt19937 rng(seed);
    Hash h;
    std::vector<uint8_t> buffer;
    size_t done = 0;
    for (u32 i = 0; done < frames; ++i) {
        if (between) between(i);
        const uint32_t pick = rng() % 10;
        size_t bytes = pick < 2 ? 1 + rng() % 9 : pick < 8 ? 2 * (1 + rng() % 1500) : 1 + rng() % 9000;
        bytes = std::min(bytes, (frames - done) * 2 + (bytes & 1));
        buffer.assign(bytes, 0xA5);
        mixer.Mix(buffer.data(), static_cast<u32>(bytes));
        h.Add(buffer.data(), bytes);
        done += bytes / 2 + (bytes / 2 == 0 ? 1 : 0);
    }
    return h.value;
}

void ExpectHash(uint64_t got, uint64_t want, const char* what) {
    EXPECT_EQ(got, want) << what << ": got 0x" << std::hex << got;
}

TEST(MixerOutputTest, RandomModulesStayTheSame) {
    struct Case {
        uint32_t seed, tracks, patterns, orders;
        bool loop;
        double seconds;
        uint64_t hash;
    } cases[] = {
        {1, 4, 3, 5, false, 6, 0xc201b427dfc3429d},  {2, 4, 2, 3, true, 6, 0x679e904f547fbc58},
        {3, 8, 3, 6, true, 5, 0xcd5561e720912fce},   {4, 6, 2, 4, false, 5, 0xecae3e8fbd999e67},
        {5, 1, 2, 4, true, 5, 0x74b2e03ac7b64dfe},   {6, 16, 2, 3, true, 3, 0x3354c21d96579ddb},
        {7, 32, 2, 3, false, 3, 0xc94c445cce5a12bd}, {8, 12, 4, 9, true, 4, 0xc8d45a395ce0d580},
        {9, 4, 1, 1, true, 6, 0xd3930f633f93badc},   {10, 5, 3, 7, false, 5, 0x670316443a4d9475},
        {11, 3, 2, 2, true, 5, 0xc61b8f2cca1b3ded},  {12, 32, 1, 2, true, 2, 0x6c611beb3f739c91},
    };
    for (const Case& c : cases) {
        HeldModule m(RandomModule(c.seed, c.tracks, c.patterns, c.orders), c.loop);
        Mixer mixer;
        ASSERT_EQ(mixer.OpenForRendering(), 0);
        ASSERT_EQ(mixer.PlayModule(m.data), 0);
        const uint64_t got = RenderHashed(mixer, static_cast<size_t>(c.seconds * 44100), c.seed * 77);
        ExpectHash(got, c.hash, ("module seed " + std::to_string(c.seed)).c_str());
    }
}

// A song with one instrument of each kind on its own track, at every finetune, and ending: after its
// last row the channel stops and the output is silence.
TEST(MixerOutputTest, InstrumentShapesAndAnEndingSong) {
    ModuleBuilder b(4, 2);
    std::mt19937 rng(99);
    auto wave = [&](size_t n) {
        std::vector<int8_t> w(n);
        for (auto& v : w) v = static_cast<int8_t>(rng());
        return w;
    };
    b.SetInstrument(1, wave(1000), 64);                    // one shot
    b.SetInstrument(2, wave(1000), 50, 0, 100, 300);       // loop inside
    b.SetInstrument(3, wave(90000), 64, 0, 31000, 14000);  // split, loop across the boundary to the end
    b.SetInstrument(4, wave(90000), 40);                   // split one shot
    b.SetInstrument(5, wave(600), 64, 0, 200, 1);          // a loop of one word is no loop
    b.SetInstrument(6, wave(600), 64, 0, 250, 200);        // a loop past the end
    for (uint32_t row = 0; row < 64; ++row)
        for (uint32_t t = 0; t < 4; ++t) {
            const uint32_t ins = 1 + (row + t) % 6;
            const uint32_t period = kPeriods[(row * 5 + t * 11) % 44];
            b.SetCell(row % 2, row, t, row % 3 == 0 ? ins : 0, row % 4 == 3 ? 0 : period,
                      row % 16 == 5 ? 0xE : 0xF, row % 16 == 5 ? 0x50 + (row % 16) : 1 + row % 2);
        }
    for (uint32_t ft = 0; ft < 16; ++ft) b.Header()[20 + (ft % 6) * 30 + 24] = static_cast<uint8_t>(ft);
    b.SetOrders({0, 1, 0});
    HeldModule m(b, false);
    Mixer mixer;
    ASSERT_EQ(mixer.OpenForRendering(), 0);
    ASSERT_EQ(mixer.PlayModule(m.data), 0);
    ExpectHash(RenderHashed(mixer, 44100 * 8, 5), 0xc2a6c5a7c7a81265, "instrument shapes");
    EXPECT_TRUE(mixer.Music(0).IsStopped());
}

// Sample channels of every format and rate, looping and not, with music, volume changes, positions,
// stops and new starts between buffers; loud enough together to clip.
TEST(MixerOutputTest, SamplesAndMusicWithChangesBetweenBuffers) {
    std::mt19937 rng(1234);
    std::vector<std::unique_ptr<HeldSample>> samples;
    const u32 rates[] = {8000, 11025, 22050, 44100, 48000, 96000, 100, 30000};
    for (int i = 0; i < 24; ++i) {
        const bool is8Bit = i % 2 == 0;
        const bool stereo = (i / 2) % 2 == 1;
        const u32 frames = 50 + rng() % 20000;
        const u32 volume = i % 5 == 0 ? 80 : rng() % 65;
        samples.push_back(MakeSample(rng, is8Bit, stereo, frames, rates[i % 8], i % 3 == 0, volume));
    }
    samples[5]->data.instanceLimit = 2;
    HeldModule music(RandomModule(21, 8, 2, 4), true);
    HeldModule second(RandomModule(22, 4, 2, 3), false);
    Mixer mixer;
    ASSERT_EQ(mixer.OpenForRendering(), 0);
    ASSERT_EQ(mixer.PlayModule(music.data), 0);
    std::mt19937 actions(77);
    const uint64_t got = RenderHashed(mixer, 44100 * 10, 4321, [&](u32 i) {
        switch (actions() % 16) {
        case 0:
        case 1:
        case 2: mixer.PlaySample(samples[actions() % samples.size()]->data); break;
        case 3: mixer.SetMusicVolume(actions() % 70); break;
        case 4: mixer.SetSampleVolume(actions() % 70); break;
        case 5:
            if (SoundChannel* c = mixer.Channel(static_cast<i32>(actions() % 67)))
                c->SetVolume(actions() % 70);
            break;
        case 6:
            if (SoundChannel* c = mixer.Channel(static_cast<i32>(3 + actions() % 64)))
                c->SetPosition(actions() % 3000);
            break;
        case 7:
            if (i % 5 == 0) mixer.Music(0).SetPosition(actions() % (64 * 5));
            break;
        case 8:
            if (i % 7 == 0) mixer.PlayModule(second.data);
            break;
        case 9:
            if (i % 11 == 0) mixer.StopModule(&second.data);
            break;
        case 10:
            if (i % 13 == 0) mixer.StopAllSamples();
            break;
        case 11:
            if (SoundChannel* c = mixer.Channel(static_cast<i32>(actions() % 67)))
                c->SetPaused(!c->IsPaused());
            break;
        default: break;
        }
    });
    ExpectHash(got, 0x912eaac2ed7d9645, "samples and music");
}

// Every sample format alone at full volume, and a crowd of loud ones that clips.
TEST(MixerOutputTest, SampleFormatsAndClipping) {
    std::mt19937 rng(555);
    struct Case {
        bool is8Bit, stereo, loop;
        u32 rate;
        uint64_t hash;
    } cases[] = {
        {true, false, false, 22050, 0xd36046b58c16bcb7}, {true, true, true, 44100, 0x8af33220f8a0b7dd},
        {false, false, true, 11025, 0x9f30d91417d71c99}, {false, true, false, 48000, 0xf42bae7ee91c63d9},
        {false, false, false, 50, 0xcc2dadc9ea8389b7},   {true, false, true, 200000, 0xf358ba678ec6752f},
    };
    for (const Case& c : cases) {
        auto s = MakeSample(rng, c.is8Bit, c.stereo, 3001, c.rate, c.loop, 64);
        Mixer mixer;
        ASSERT_EQ(mixer.OpenForRendering(), 0);
        ASSERT_GE(mixer.PlaySample(s->data), 0);
        ExpectHash(RenderHashed(mixer, 20000, c.rate), c.hash, "sample format");
    }
    std::vector<std::unique_ptr<HeldSample>> crowd;
    Mixer mixer;
    ASSERT_EQ(mixer.OpenForRendering(), 0);
    for (int i = 0; i < 64; ++i) {
        crowd.push_back(MakeSample(rng, i % 2 == 0, i % 3 == 0, 4000 + i * 37, 44100 - i * 300, true, 64));
        ASSERT_GE(mixer.PlaySample(crowd.back()->data), 0);
    }
    ModuleBuilder b(4, 1);
    b.SetDcInstrument(1, 127, 64);
    for (uint32_t t = 0; t < 4; ++t) b.SetCell(0, 0, t, 1, 428);
    HeldModule loud(b, true);
    ASSERT_EQ(mixer.PlayModule(loud.data), 0);
    ExpectHash(RenderHashed(mixer, 30000, 8), 0x14057febe6ff297f, "clipping crowd");
}

}  // namespace
