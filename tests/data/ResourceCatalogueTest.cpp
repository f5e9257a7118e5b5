#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "data/ItemType.h"
#include "data/ResourceCatalogue.h"
#include "data/World.h"
#include "data/WorldLists.h"
#include "platform/Audio.h"
#include "platform/headless/HeadlessAudio.h"
#include "sound/Mixer.h"
#include "sound/SoundManager.h"
#include "sound/SampleData.h"
#include "tests/data/WorldFixtures.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::TempDir;

void PutBE16(std::vector<uint8_t>& h, size_t at, uint32_t v) {
    h[at] = static_cast<uint8_t>(v >> 8);
    h[at + 1] = static_cast<uint8_t>(v);
}

// A bank of one sample of `words` words and one song of one pattern that plays it.
world::Content OneSampleMusic(uint32_t words, size_t storedBytes) {
    world::Content c;
    c.dbName = "Music";
    c.type = "bmus";
    c.shortName = "bmus";
    std::vector<uint8_t> header(1084, 0);
    PutBE16(header, 20 + 22, words);
    header[20 + 25] = 64;
    PutBE16(header, 20 + 28, 1);
    std::memcpy(header.data() + 1080, "M.K.", 4);
    world::Bank bank{"bmus_bankone", header, {std::vector<uint8_t>(storedBytes, 10)}};
    header[950] = 1;
    std::vector<uint8_t> pattern(1024, 0);
    pattern[0] = 0x01;  // sample 1, period 428
    pattern[1] = 0xAC;
    pattern[2] = 0x10;
    c.banks = {bank};
    c.songs = {{"bmus_one", "bmus_bankone", header, {pattern}}};
    return c;
}

// The catalogue plays through a sound front-end on the headless audio device; the lists are emptied
// before the front-end goes.
class HeadlessSound {
public:
    explicit HeadlessSound(CWorldLists& lists) : lists_(lists) {
        manager_.Init(&effects_, &music_);
        lists_.resources.SetSoundManager(&manager_);
    }
    ~HeadlessSound() {
        lists_.Clear();
        lists_.resources.SetSoundManager(nullptr);
        manager_.Release();
    }
    HeadlessSound(const HeadlessSound&) = delete;
    HeadlessSound& operator=(const HeadlessSound&) = delete;

private:
    CWorldLists& lists_;
    plat::HeadlessAudio audio_;
    plat::ScopedAudioBackend scope_{plat::HeadlessAudio::SharedFactory(audio_)};
    u32 effects_ = 10, music_ = 10;
    CSoundManager manager_;
};

class ResourceCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { finder.SetFolder(dir.Path()); }

    bool Load(const world::Content& c, uint8_t version = 122) {
        fixtures::Write(dir.Path(), c, version);
        auto db = std::make_unique<CPdbFile>(nullptr, &finder);
        if (!db->Open(c.dbName.c_str(), "VnTl")) return false;
        world = std::make_unique<CWorld>();
        error = CWorldLoadError{};
        return world->Load(std::move(db), lists, &error) == 1;
    }

    TempDir dir;
    CFileFinder finder;
    CTextureSet textures;
    CWorldLists lists{textures};
    std::unique_ptr<CWorld> world;
    CWorldLoadError error;
};

TEST_F(ResourceCatalogueTest, SamplesPast32000WordsTakeASecondRecord) {
    struct Case {
        uint32_t words;
        bool split;
    } cases[] = {{1000, false}, {32000, false}, {32001, true}, {40000, true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.words);
        lists.Clear();
        world.reset();
        ASSERT_TRUE(Load(OneSampleMusic(k.words, k.words * 2)));
        CSampleBank* bank = lists.resources.FindBankByName("bmus_bankone");
        ASSERT_NE(bank, nullptr);
        EXPECT_EQ(bank->lengthWords[0], k.words);
        EXPECT_GE(bank->first[0].size, std::min<uint32_t>(k.words * 2, 64000));
        EXPECT_EQ(bank->second[0].data != nullptr, k.split);
        if (k.split) {
            EXPECT_GE(bank->second[0].size, k.words * 2 - 64000);
        }
        // The song's first pattern follows the bank's records whether the sample was split or not.
        CSong* song = lists.resources.FindSongByName("bmus_one");
        ASSERT_NE(song, nullptr);
        // 4027 is the catalogue record: the bank's header, its sample records, the song's two records.
        EXPECT_EQ(song->firstPatternKey, 4031 + (k.split ? 2 : 1));
        CMusicSource source;
        ASSERT_TRUE(song->LoadMusic(source));
        ModuleData module;
        EXPECT_EQ(module.Set(source.header, source.patterns, source.samples, source.samples2), 0);
    }
}

TEST_F(ResourceCatalogueTest, ABankOfMoreThan31SamplesIsRefusedAndAShortSampleLeavesItsBankOut) {
    world::Content many = OneSampleMusic(100, 200);
    many.banks[0].samples.resize(32, std::vector<uint8_t>(2, 0));
    EXPECT_FALSE(Load(many));
    EXPECT_EQ(error.kind, "resources");
    EXPECT_TRUE(lists.resources.Banks().empty());

    lists.Clear();
    world.reset();
    // The header states 2,000 words; the record holds 1,000.
    ASSERT_TRUE(Load(OneSampleMusic(2000, 2000)));
    EXPECT_EQ(lists.resources.FindBankByName("bmus_bankone"), nullptr);
    CSong* song = lists.resources.FindSongByName("bmus_one");
    ASSERT_NE(song, nullptr);
    CMusicSource source;
    EXPECT_FALSE(song->LoadMusic(source));
}

TEST_F(ResourceCatalogueTest, ACatalogueRecordWithoutItsTagReadsTheSame) {
    world::Content c = fixtures::SoundWorld();
    std::vector<world::Record> records = fixtures::Build(c);
    world::Record* head = nullptr;
    for (world::Record& r : records)
        if (!r.data.empty() && r.data[0] == 0x2C && r.data.size() == 8) head = &r;
    ASSERT_NE(head, nullptr);
    // Without the tag the three counts start at offset 0.
    head->data = {head->data[2], head->data[3], head->data[4], head->data[5], head->data[6], head->data[7]};
    fixtures::Write(dir.Path(), c, records);
    auto db = std::make_unique<CPdbFile>(nullptr, &finder);
    ASSERT_TRUE(db->Open("VantrelSound", "VnTl"));
    CWorld w;
    ASSERT_EQ(w.Load(std::move(db), lists, &error), 1) << error.record;
    EXPECT_EQ(lists.resources.Sounds().size(), c.sounds.size());
    EXPECT_NE(lists.resources.FindResourceByName("bsnd_click"), nullptr);
}

TEST_F(ResourceCatalogueTest, SoundsLoadOnFirstUseAndMakeOneVoicePerLevel) {
    HeadlessSound sound(lists);
    ASSERT_TRUE(Load(fixtures::SoundWorld()));

    CWorldSound* click = lists.resources.FindResourceByName("bsnd_click");
    ASSERT_NE(click, nullptr);
    EXPECT_FALSE(click->IsLoaded());
    EXPECT_EQ(click->headerLength, 20);  // "bsnd_click\0", a pad, two u16, three u8, padded to 4
    EXPECT_GE(lists.resources.PlaySound("bsnd_click", 10), 0);
    EXPECT_TRUE(click->IsLoaded());
    EXPECT_NE(click->Voice(10), nullptr);
    // The sound front-end applies the effects volume in the mixer: the voice level is the relative one.
    EXPECT_GE(lists.resources.PlaySound("bsnd_click", 5), 0);
    EXPECT_NE(click->Voice(5), nullptr);
    EXPECT_NE(click->Voice(10), nullptr);
    EXPECT_EQ(lists.resources.PlaySound("bsnd_nothing", 10), kNoChannel);
    EXPECT_EQ(lists.resources.PlaySound("BSND_CLICK", 10), kNoChannel);

    // Shared sounds stay; a sound named by a creature or map object is unloaded unless needed.
    lists.resources.MarkSharedSounds({"bsnd_click"});
    EXPECT_EQ(click->shared, 0);
    lists.resources.UpdateResidency();
    EXPECT_FALSE(click->IsLoaded());
    click->needed = 1;
    lists.resources.UpdateResidency();
    EXPECT_TRUE(click->IsLoaded());
}

TEST_F(ResourceCatalogueTest, AnAnimationPlaysItsSoundAtFullLevelWhenItNamesOne) {
    HeadlessSound sound(lists);
    ASSERT_TRUE(Load(fixtures::SoundWorld()));
    CWorldSound* click = lists.resources.FindResourceByName("bsnd_click");
    ASSERT_NE(click, nullptr);

    CFpsAnimation animation;
    EXPECT_EQ(PlayFpsAnimationSound(animation, lists.resources), kNoChannel);
    animation.sound = "";
    EXPECT_EQ(PlayFpsAnimationSound(animation, lists.resources), kNoChannel);
    EXPECT_FALSE(click->IsLoaded());
    animation.sound = "bsnd_click";
    EXPECT_GE(PlayFpsAnimationSound(animation, lists.resources), 0);
    EXPECT_NE(click->Voice(10), nullptr);
    EXPECT_EQ(click->Voice(5), nullptr);
    animation.sound = "bsnd_nothing";
    EXPECT_EQ(PlayFpsAnimationSound(animation, lists.resources), kNoChannel);
}

TEST_F(ResourceCatalogueTest, PatternsLoadOnceAndAnotherSongFreesThem) {
    ASSERT_TRUE(Load(fixtures::MusicWorld()));
    ASSERT_EQ(lists.resources.Songs().size(), 3u);
    ASSERT_EQ(lists.resources.Banks().size(), 3u);
    CSong* main = lists.resources.FindSongByName("bmus_main");
    CSong* dungeon = lists.resources.FindSongByName("bmus_dungeon");
    ASSERT_TRUE(main && dungeon);
    EXPECT_FALSE(main->PatternsLoaded());
    ASSERT_TRUE(lists.resources.LoadMusic(main));
    const u8* first = main->patterns[0].data;
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(lists.resources.LoadMusic(main));
    EXPECT_EQ(main->patterns[0].data, first);
    ASSERT_TRUE(lists.resources.LoadMusic(dungeon));
    EXPECT_FALSE(main->PatternsLoaded());
    EXPECT_EQ(main->patterns[0].data, nullptr);
    EXPECT_TRUE(dungeon->PatternsLoaded());
    // The main theme's pad is split across two records.
    CSampleBank* bank = lists.resources.FindBankByName("bmus_bankmain");
    ASSERT_NE(bank, nullptr);
    EXPECT_GT(bank->lengthWords[0], kSplitSampleWords);
    EXPECT_NE(bank->second[0].data, nullptr);
}

// Switching music under the headless device: each song plays through the game's mixer and the
// previous one's patterns are freed safely while the device pulls audio.
TEST_F(ResourceCatalogueTest, MusicSwitchesUnderTheHeadlessDevice) {
    plat::HeadlessAudio audio;
    plat::ScopedAudioBackend scope{plat::HeadlessAudio::SharedFactory(audio)};
    ASSERT_TRUE(Load(fixtures::MusicWorld()));
    CSoundManager manager;
    u32 effects = 10, music = 10;
    manager.Init(&effects, &music);
    ASSERT_TRUE(manager.GetMixer()->IsOpen());
    lists.resources.SetSoundManager(&manager);
    for (const char* name : {"bmus_main", "bmus_dungeon", "bmus_town", "bmus_main"}) {
        SCOPED_TRACE(name);
        const i32 channel = lists.resources.PlayMusic(name);
        ASSERT_GE(channel, 0);
        ASSERT_LT(channel, 3);
        const size_t before = audio.Played().size();
        for (int i = 0; i < 24; ++i) {
            ASSERT_TRUE(audio.WaitForQueued(1));
            audio.Advance(1);
        }
        const std::vector<uint8_t> played = audio.Played();
        bool sounded = false;
        for (size_t i = before; i < played.size(); ++i) sounded |= played[i] != 0;
        EXPECT_TRUE(sounded);
    }
    EXPECT_EQ(lists.resources.PlayMusic("bmus_nothing"), kNoChannel);
    lists.Clear();
    lists.resources.SetSoundManager(nullptr);
    manager.Release();
}

}  // namespace
