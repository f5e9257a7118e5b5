#include "sound/Mixer.h"
#include "sound/ModuleData.h"
#include "sound/PitchTables.h"
#include "tools/content/ModuleBuilder.h"

#include <gtest/gtest.h>

namespace {

using content::ModuleBuilder;

// At speed 6 and tempo 50 a tick is 883 output samples and a row 1 + 6 x 883.
constexpr size_t kTick = 883;
constexpr size_t kRow = 1 + 6 * kTick;
constexpr uint32_t kC2 = 428;

// Plays a built module through Mixer::Mix, DC instrument 1 of value 10 unless the test sets others.
class ModulePlayer {
public:
    explicit ModulePlayer(const ModuleBuilder& b, bool loop = false) : file_(b.File()) {
        EXPECT_EQ(mixer.OpenForRendering(), 0);
        EXPECT_TRUE(SplitModuleImage(file_.data(), file_.size(), image_));
        EXPECT_EQ(data_.Set(image_.header, image_.patterns, image_.samples, image_.samples2), 0);
        data_.loop = loop;
        EXPECT_EQ(mixer.PlayModule(data_), 0);
    }
    std::vector<int16_t> Render(size_t count) {
        std::vector<uint8_t> bytes(count * 2);
        mixer.Mix(bytes.data(), static_cast<u32>(bytes.size()));
        std::vector<int16_t> out(count);
        for (size_t i = 0; i < count; ++i)
            out[i] = static_cast<int16_t>(bytes[i * 2] | (bytes[i * 2 + 1] << 8));
        return out;
    }
    ModuleChannel& Channel() { return mixer.Music(0); }
    Mixer mixer;

private:
    std::vector<uint8_t> file_;
    ModuleImage image_;
    ModuleData data_;
};

ModuleBuilder DcModule(uint32_t patterns = 1, uint32_t tracks = 4) {
    ModuleBuilder b(tracks, patterns);
    b.SetDcInstrument(1, 10, 64);
    return b;
}

TEST(ModuleDataTest, SignatureGivesTrackCount) {
    struct Case {
        const char* sig;
        u32 tracks;
    } cases[] = {{"M.K.", 4},  {"M!K!", 4}, {"6CHN", 6}, {"8CHN", 8}, {"16CH", 16},
                 {"32CH", 32}, {"XCHN", 0}, {"FLT4", 0}, {"M.X.", 0}, {"99CH", 99}};
    for (const Case& c : cases)
        EXPECT_EQ(GetModuleTrackCount(reinterpret_cast<const u8*>(c.sig)), c.tracks) << c.sig;
}

TEST(ModuleDataTest, RefusesHeadersThatDoNotFitTheirData) {
    ModuleBuilder good = DcModule(2);
    good.SetOrders({0, 1});
    const std::vector<uint8_t> file = good.File();
    ModuleImage image;
    ASSERT_TRUE(SplitModuleImage(file.data(), file.size(), image));
    ModuleData m;
    ASSERT_EQ(m.Set(image.header, image.patterns, image.samples, image.samples2), 0);
    EXPECT_EQ(m.trackCount, 4u);
    EXPECT_EQ(m.songLength, 2u);

    auto withHeader = [&](size_t at, uint8_t value) {
        std::vector<uint8_t> h(file.begin(), file.begin() + 1084);
        h[at] = value;
        return h;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> header;
        i32 code;
    } cases[] = {
        {"unknown signature", withHeader(1080, 'X'), -100},
        {"33 tracks",
         [&] {
             auto h = withHeader(1080, '3');
             h[1081] = '3';
             h[1082] = 'C';
             return h;
         }(),
         -100},
        {"song length 0", withHeader(950, 0), -1},
        {"song length 129", withHeader(950, 129), -1},
        {"order names a missing pattern", withHeader(953, 7), -1},
        {"instrument longer than its data", withHeader(20 + 22, 0x40), -1},
    };
    for (const Case& c : cases) {
        ModuleData bad;
        EXPECT_EQ(bad.Set(c.header.data(), image.patterns, image.samples, image.samples2), c.code) << c.name;
        EXPECT_EQ(bad.header, nullptr) << c.name;
    }
    // A pattern record shorter than 64 rows of 4 tracks.
    std::vector<ModuleBlock> shortPatterns = image.patterns;
    shortPatterns[1].size -= 4;
    EXPECT_EQ(m.Set(image.header, shortPatterns, image.samples, image.samples2), -1);
    // Whole files cut short are refused before any pointer is taken.
    for (size_t size : {size_t{100}, size_t{1084}, file.size() - 1}) {
        ModuleImage cut;
        EXPECT_FALSE(SplitModuleImage(file.data(), size, cut)) << size;
    }
    Mixer mixer;
    ASSERT_EQ(mixer.OpenForRendering(), 0);
    ModuleData unset;
    EXPECT_EQ(mixer.PlayModule(unset), kNoChannel);
}

TEST(ModuleDataTest, PeriodTableKeepsKnownRowsAndNearestNote) {
    const auto& t = PeriodTable();
    EXPECT_EQ(t[0], 1712);
    EXPECT_EQ(t[83], 13);
    EXPECT_EQ(t[1 * 84 + 0], 1699);
    EXPECT_EQ(t[8 * 84 + 1], 1711);  // the rule would give 1712
    EXPECT_EQ(t[8 * 84 + 8], 1140);  // the rule would give 1141
    EXPECT_EQ(t[15 * 84 + 11], 913);
    EXPECT_EQ(t[1 * 84 + 24], 424);  // 428 x 2^(-1/96), truncated
    EXPECT_EQ(FindNearestNote(428), 24);
    EXPECT_EQ(FindNearestNote(430), 24);
    EXPECT_EQ(FindNearestNote(416), 24);  // 12 from 428 and 12 from 404: the first wins
    EXPECT_EQ(FindNearestNote(0), 83);
    EXPECT_EQ(StepForPeriod(428, 44100), 776u);
    EXPECT_EQ(StepForPeriod(0, 44100), 0u);
    EXPECT_EQ(StepForPeriod(1, 44100), 332467u);  // its intermediate needs more than 32 bits
}

TEST(ModuleChannelTest, RowAndTickBoundariesWithVolumeSteps) {
    ModuleBuilder b = DcModule();
    b.SetCell(0, 0, 0, 1, kC2);
    b.SetCell(0, 1, 0, 0, 0, 0xC, 0x20);
    b.SetCell(0, 2, 0, 0, 0, 0xA, 0x02);
    b.SetCell(0, 3, 0, 0, 0, 0xE, 0xA4);
    b.SetCell(0, 4, 0, 0, 0, 0xE, 0xB8);
    b.SetCell(0, 5, 0, 0, 0, 0xA, 0x30);
    b.SetCell(0, 6, 0, 0, 0, 0xC, 0x50);
    ModulePlayer p(b);
    const std::vector<int16_t> out = p.Render(8 * kRow);
    struct Check {
        size_t at;
        int16_t value;
    } checks[] = {
        {0, 640},
        {kRow - 1, 640},
        {kRow, 320},                  // C20
        {2 * kRow + kTick - 1, 320},  // A02: tick 0 keeps the volume
        {2 * kRow + kTick, 300},      // ... each later tick takes 2
        {2 * kRow + 5 * kTick, 220},
        {3 * kRow - 1, 220},
        {3 * kRow, 260},              // EA4 at row time
        {4 * kRow, 180},              // EB8
        {5 * kRow + kTick - 1, 180},  // A30 slides up by 3 a tick
        {5 * kRow + 5 * kTick, 330},
        {6 * kRow, 640},  // C50 is held at 64
    };
    for (const Check& c : checks) EXPECT_EQ(out[c.at], c.value) << c.at;
}

TEST(ModuleChannelTest, NoteCutAndDelayTimes) {
    struct Case {
        const char* name;
        uint32_t param;
        size_t switchAt;
        int16_t before, after;
    } cases[] = {
        {"EC0 cuts on tick 1", 0xC0, kTick, 640, 0},
        {"EC2 cuts on tick 2", 0xC2, 2 * kTick, 640, 0},
        {"ED0 starts on tick 1", 0xD0, kTick, 0, 640},
        {"ED2 starts on tick 3", 0xD2, 3 * kTick, 0, 640},
    };
    for (const Case& c : cases) {
        ModuleBuilder b = DcModule();
        b.SetCell(0, 0, 0, 1, kC2, 0xE, c.param);
        ModulePlayer p(b);
        const std::vector<int16_t> out = p.Render(kRow);
        EXPECT_EQ(out[c.switchAt - 1], c.before) << c.name;
        EXPECT_EQ(out[c.switchAt], c.after) << c.name;
        EXPECT_EQ(out[kRow - 1], c.after) << c.name;
    }
    {
        // A delayed note starts its sample afresh, also when the track's previous note has ended.
        ModuleBuilder b(4);
        b.SetInstrument(1, std::vector<int8_t>(200, 10), 64);
        b.SetCell(0, 0, 0, 1, kC2);
        b.SetCell(0, 1, 0, 1, kC2, 0xE, 0xD1);
        ModulePlayer p(b);
        const std::vector<int16_t> out = p.Render(2 * kRow);
        EXPECT_EQ(out[0], 640);
        EXPECT_EQ(out[kRow - 1], 0);
        EXPECT_EQ(out[kRow + 2 * kTick - 1], 0);
        EXPECT_EQ(out[kRow + 2 * kTick], 640);
    }
    // A delay on a row without a note takes the row's empty period at its tick: the note that was
    // playing stops then.
    const Case withoutNote[] = {{"ED0 without a note", 0xD0, kTick, 640, 0},
                                {"ED2 without a note", 0xD2, 3 * kTick, 640, 0}};
    for (const Case& c : withoutNote) {
        ModuleBuilder b = DcModule();
        b.SetCell(0, 0, 0, 1, kC2);
        b.SetCell(0, 1, 0, 0, 0, 0xE, c.param);
        ModulePlayer p(b);
        const std::vector<int16_t> out = p.Render(2 * kRow);
        EXPECT_EQ(out[kRow + c.switchAt - 1], c.before) << c.name;
        EXPECT_EQ(out[kRow + c.switchAt], c.after) << c.name;
        EXPECT_EQ(out[2 * kRow - 1], c.after) << c.name;
    }
    // A cut leaves the stored volume: a later volume step brings the track back.
    ModuleBuilder b = DcModule();
    b.SetCell(0, 0, 0, 1, kC2, 0xE, 0xC0);
    b.SetCell(0, 1, 0, 0, 0, 0xE, 0xA0);
    ModulePlayer p(b);
    EXPECT_EQ(p.Render(kRow + 1)[kRow], 640);
}

// The volume codes of the rows played, read at each row start (value 10 x volume).
std::vector<int> RowCodes(ModulePlayer& p, const std::vector<size_t>& rowLengths) {
    std::vector<int> codes;
    size_t total = 0;
    for (size_t l : rowLengths) total += l;
    const std::vector<int16_t> out = p.Render(total);
    size_t at = 0;
    for (size_t l : rowLengths) {
        codes.push_back(out[at] / 10);
        at += l;
    }
    return codes;
}

TEST(ModuleChannelTest, PatternLoopBreakAndJump) {
    {
        // E60 at row 0 and E62 at row 2 play rows 0..2 three times.
        ModuleBuilder b = DcModule();
        for (uint32_t r = 0; r < 4; ++r) b.SetCell(0, r, 0, r == 0 ? 1 : 0, r == 0 ? kC2 : 0, 0xC, 1 + r);
        b.SetCell(0, 0, 1, 0, 0, 0xE, 0x60);
        b.SetCell(0, 2, 1, 0, 0, 0xE, 0x62);
        ModulePlayer p(b);
        EXPECT_EQ(RowCodes(p, std::vector<size_t>(10, kRow)),
                  (std::vector<int>{1, 2, 3, 1, 2, 3, 1, 2, 3, 4}));
    }
    {
        // D12 continues at row 12 of the next order; D7F's row 85 becomes row 0.
        ModuleBuilder b = DcModule(3);
        b.SetOrders({0, 1, 2});
        b.SetCell(0, 0, 0, 1, kC2, 0xC, 1);
        b.SetCell(0, 1, 0, 0, 0, 0xC, 2);
        b.SetCell(0, 1, 1, 0, 0, 0xD, 0x12);
        b.SetCell(1, 12, 0, 0, 0, 0xC, 3);
        b.SetCell(1, 12, 1, 0, 0, 0xD, 0x7F);
        b.SetCell(2, 0, 0, 0, 0, 0xC, 4);
        b.SetCell(2, 1, 0, 0, 0, 0xC, 5);
        ModulePlayer p(b);
        EXPECT_EQ(RowCodes(p, std::vector<size_t>(5, kRow)), (std::vector<int>{1, 2, 3, 4, 5}));
        EXPECT_EQ(p.Channel().CurrentOrder(), 2u);
    }
    {
        // B backwards without looping ends the song at the end of that row.
        ModuleBuilder b = DcModule(2);
        b.SetOrders({0, 1});
        b.SetCell(0, 0, 0, 1, kC2, 0xB, 1);
        b.SetCell(1, 0, 0, 0, 0, 0xB, 0);
        ModulePlayer p(b);
        const std::vector<int16_t> out = p.Render(2 * kRow + 1);
        EXPECT_EQ(out[2 * kRow - 1], 640);
        EXPECT_EQ(out[2 * kRow], 0);
        EXPECT_TRUE(p.Channel().IsStopped());
    }
}

TEST(ModuleChannelTest, SpeedAndTempoChanges) {
    ModuleBuilder b = DcModule();
    b.SetCell(0, 0, 0, 1, kC2);
    b.SetCell(0, 0, 1, 0, 0, 0xF, 3);     // speed 3: 1 + 3 x 883
    b.SetCell(0, 1, 1, 0, 0, 0xF, 0x40);  // tempo 64 x 2 / 5 = 25: 1764 + 1 a tick
    b.SetCell(0, 1, 0, 0, 0, 0xC, 2);
    b.SetCell(0, 2, 1, 0, 0, 0xF, 0x20);  // 32 is a speed
    b.SetCell(0, 2, 0, 0, 0, 0xC, 3);
    b.SetCell(0, 3, 1, 0, 0, 0xF, 0x21);  // 33 is tempo 13
    b.SetCell(0, 3, 0, 0, 0, 0xC, 4);
    b.SetCell(0, 4, 0, 0, 0, 0xC, 5);
    ModulePlayer p(b);
    const size_t row0 = 1 + 3 * 883, row1 = 1 + 3 * 1765, row2 = 1 + 32 * 1765, row3 = 1 + 32 * 3393;
    EXPECT_EQ(RowCodes(p, {row0, row1, row2, row3, 1}), (std::vector<int>{64, 2, 3, 4, 5}));
    EXPECT_EQ(p.Channel().Speed(), 32u);
    EXPECT_EQ(p.Channel().Tempo(), 13u);
    EXPECT_EQ(p.Channel().SamplesPerTick(), 3392u);
}

TEST(ModuleChannelTest, LoopingSongGoesOnAtTheRestartOrder) {
    struct Case {
        uint8_t restart;
        u32 orderAfterEnd;
    } cases[] = {{1, 1}, {127, 0}, {2, 0}};
    for (const Case& c : cases) {
        ModuleBuilder b = DcModule(2);
        b.SetOrders({0, 1}, c.restart);
        b.SetCell(0, 0, 0, 1, kC2);
        ModulePlayer loopPlayer(b, true);
        loopPlayer.Render(128 * kRow + 1);
        EXPECT_FALSE(loopPlayer.Channel().IsStopped());
        EXPECT_EQ(loopPlayer.Channel().CurrentOrder(), c.orderAfterEnd) << int(c.restart);
        EXPECT_EQ(loopPlayer.Channel().CurrentRow(), 1u);

        ModulePlayer once(b, false);
        const std::vector<int16_t> out = once.Render(128 * kRow + 1);
        EXPECT_EQ(out[128 * kRow - 1], 640);
        EXPECT_EQ(out[128 * kRow], 0);
        EXPECT_TRUE(once.Channel().IsStopped());
    }
}

TEST(ModuleChannelTest, PitchEffectsStayInsideTheirTables) {
    Mixer ref;
    ASSERT_EQ(ref.OpenForRendering(), 0);
    const u32* steps = ref.StepTable();
    {
        // Arpeggio 047 on C-2 (note 24): +4 is 339, +7 is 285, then back to the base.
        ModuleBuilder b = DcModule();
        b.SetCell(0, 0, 0, 1, kC2, 0x0, 0x47);
        ModulePlayer p(b);
        p.Render(1);
        EXPECT_EQ(p.Channel().TrackStep(0), steps[428]);
        p.Render(kTick);
        EXPECT_EQ(p.Channel().TrackStep(0), steps[339]);
        p.Render(kTick);
        EXPECT_EQ(p.Channel().TrackStep(0), steps[285]);
        p.Render(kTick);
        EXPECT_EQ(p.Channel().TrackStep(0), steps[428]);
    }
    {
        // An arpeggio past the top note holds the top note; vibrato near it stays at period 13.
        ModuleBuilder b = DcModule();
        b.SetCell(0, 0, 0, 1, 13, 0x0, 0xFF);
        b.SetCell(0, 1, 0, 0, 0, 0x4, 0xFF);
        ModulePlayer p(b);
        p.Render(kTick + 1);
        EXPECT_EQ(p.Channel().TrackStep(0), steps[13]);
        p.Render(kRow - 1 + kTick + 1 + 8 * kTick);
        EXPECT_GE(p.Channel().TrackStep(0), steps[1712]);
    }
    {
        // The first vibrato without parameter uses speed 9 and depth 2: tick 2 is 428 + 197 x 2 / 128.
        ModuleBuilder b = DcModule();
        b.SetCell(0, 0, 0, 1, kC2, 0x4, 0x00);
        ModulePlayer p(b);
        p.Render(1 + kTick);
        EXPECT_EQ(p.Channel().TrackStep(0), steps[428]);
        p.Render(kTick);
        EXPECT_EQ(p.Channel().TrackStep(0), steps[431]);
    }
    {
        // Slides stop at 13 and 1712; a tone portamento stops at its target.
        ModuleBuilder b = DcModule();
        b.SetCell(0, 0, 0, 1, 20, 0x1, 0xFF);
        b.SetCell(0, 0, 1, 1, 1700, 0x2, 0xFF);
        b.SetCell(0, 0, 2, 1, 400);
        b.SetCell(0, 1, 2, 0, kC2, 0x3, 0x0A);
        ModulePlayer p(b);
        p.Render(kRow);
        EXPECT_EQ(p.Channel().TrackPeriod(0), 13u);
        EXPECT_EQ(p.Channel().TrackPeriod(1), 1712u);
        // 400 is no note of the table: it starts as 404.
        p.Render(1 + 2 * kTick);
        EXPECT_EQ(p.Channel().TrackPeriod(2), 424u);
        p.Render(kTick);
        EXPECT_EQ(p.Channel().TrackPeriod(2), 428u);
    }
    {
        // Instruments above 31 and periods outside 13..1712 are no instrument and no note.
        ModuleBuilder b = DcModule();
        b.SetCell(0, 0, 0, 1, kC2);
        b.SetCell(0, 1, 0, 0x40, 3000);
        b.SetCell(0, 2, 0, 0, 5);
        ModulePlayer p(b);
        const std::vector<int16_t> out = p.Render(3 * kRow);
        EXPECT_EQ(out[kRow], 640);
        EXPECT_EQ(out[2 * kRow], 640);
        EXPECT_EQ(p.Channel().TrackPeriod(0), 428u);
    }
}

TEST(ModuleChannelTest, VolumesFollowTheMixerAndChannelsStopByModule) {
    ModuleBuilder b = DcModule();
    b.SetCell(0, 0, 0, 1, kC2);
    b.SetCell(0, 0, 1, 1, kC2, 0xC, 0x20);
    ModulePlayer p(b);
    EXPECT_EQ(p.Render(1)[0], 640 + 320);
    p.mixer.SetMusicVolume(32);
    EXPECT_EQ(p.Render(1)[0], 320 + 160);
    p.Channel().SetVolume(16);
    EXPECT_EQ(p.Render(1)[0], 80 + 40);
    EXPECT_EQ(p.Channel().GetLength(), 64u);
    p.Channel().SetPosition(10);
    EXPECT_EQ(p.Channel().GetPosition(), 10u);
    p.Channel().SetPosition(64);  // past the song: ignored
    EXPECT_EQ(p.Channel().GetPosition(), 10u);

    p.mixer.StopModule(p.Channel().Module());
    EXPECT_TRUE(p.Channel().IsStopped());
    EXPECT_EQ(p.Render(2), (std::vector<int16_t>{0, 0}));
}

}  // namespace
