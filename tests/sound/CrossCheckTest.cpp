// The module player against an independent one: modules that the test writes itself, one effect each,
// rendered through Mixer::Mix and through libopenmpt (zero-order hold, no volume ramping, mono).
// Compared: the order and timing of note onsets, each against its own player's timing model; the
// pitch of each note within 0.3 %; the level of each note after one gain fitted over the module.
#ifdef VANTREL_HAVE_OPENMPT

#include "sound/Mixer.h"
#include "sound/ModuleData.h"
#include "tools/content/ModuleBuilder.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using content::ModuleBuilder;

std::vector<int16_t> RenderOurs(const std::vector<uint8_t>& file) {
    Mixer mixer;
    EXPECT_EQ(mixer.OpenForRendering(), 0);
    ModuleImage image;
    EXPECT_TRUE(SplitModuleImage(file.data(), file.size(), image));
    ModuleData data;
    EXPECT_EQ(data.Set(image.header, image.patterns, image.samples, image.samples2), 0);
    EXPECT_EQ(mixer.PlayModule(data), 0);
    std::vector<int16_t> out;
    std::vector<uint8_t> buffer(2 * 4096);
    while (!mixer.Music(0).IsStopped() && out.size() < 44100 * 60) {
        mixer.Mix(buffer.data(), static_cast<u32>(buffer.size()));
        for (size_t i = 0; i < 4096; ++i)
            out.push_back(static_cast<int16_t>(buffer[i * 2] | (buffer[i * 2 + 1] << 8)));
    }
    return out;
}

std::vector<int16_t> RenderReference(const std::vector<uint8_t>& file) {
    openmpt_module* mod = openmpt_module_create_from_memory2(file.data(), file.size(), nullptr, nullptr,
                                                             nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(mod, nullptr);
    if (mod == nullptr) return {};
    openmpt_module_set_repeat_count(mod, 0);
    openmpt_module_set_render_param(mod, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH, 1);
    openmpt_module_set_render_param(mod, OPENMPT_MODULE_RENDER_VOLUMERAMPING_STRENGTH, 0);
    openmpt_module_ctl_set_boolean(mod, "render.resampler.emulate_amiga", 0);
    openmpt_module_ctl_set_integer(mod, "dither", 0);
    std::vector<int16_t> out;
    std::vector<int16_t> buffer(4096);
    for (;;) {
        const size_t n = openmpt_module_read_mono(mod, 44100, buffer.size(), buffer.data());
        if (n == 0) break;
        out.insert(out.end(), buffer.begin(), buffer.begin() + n);
    }
    openmpt_module_destroy(mod);
    return out;
}

// A note starts at a non-zero sample after at least 400 silent ones.
std::vector<size_t> Onsets(const std::vector<int16_t>& pcm) {
    std::vector<size_t> onsets;
    size_t silent = 400;
    for (size_t i = 0; i < pcm.size(); ++i) {
        if (std::abs(pcm[i]) > 8) {
            if (silent >= 400) onsets.push_back(i);
            silent = 0;
        } else {
            ++silent;
        }
    }
    return onsets;
}

struct NoteMeasure {
    double frequency = 0;  // cycles per sample between the first and last rising zero crossing
    double rms = 0;
};

NoteMeasure Measure(const std::vector<int16_t>& pcm, size_t from, size_t to) {
    NoteMeasure m;
    size_t first = 0, last = 0, rising = 0;
    double sum = 0;
    size_t sounding = 0;
    for (size_t i = from + 1; i < to && i < pcm.size(); ++i) {
        if (pcm[i - 1] < -8 && pcm[i] > 8) {
            if (rising == 0) first = i;
            last = i;
            ++rising;
        }
        if (std::abs(pcm[i]) > 8) {
            sum += double(pcm[i]) * pcm[i];
            ++sounding;
        }
    }
    if (rising > 1) m.frequency = double(rising - 1) / double(last - first);
    if (sounding) m.rms = std::sqrt(sum / double(sounding));
    return m;
}

// One played row for the timing models: the speed and tempo (BPM) in force, and where in it a note
// starts (in ticks, per player), or no note.
struct PlayedRow {
    uint32_t speed = 6;
    uint32_t bpm = 125;
    int ourTick = -1;
    int refTick = -1;
};

std::vector<double> ModelOnsets(const std::vector<PlayedRow>& rows, bool ours) {
    std::vector<double> onsets;
    double at = 0;
    for (const PlayedRow& r : rows) {
        // Ours: 44,100 / (BPM x 2 / 5) samples a tick, each tick one sample longer, one more a row.
        // The reference: 2.5 / BPM seconds a tick, in whole samples.
        const double tick = ours ? double(44100 / (r.bpm * 2 / 5) + 1) : std::floor(44100.0 * 2.5 / r.bpm);
        const int noteTick = ours ? r.ourTick : r.refTick;
        if (noteTick >= 0) onsets.push_back(at + noteTick * tick);
        at += ours ? 1 + r.speed * tick : r.speed * tick;
    }
    return onsets;
}

struct CrossCase {
    std::string name;
    std::function<void(ModuleBuilder&)> build;
    std::vector<PlayedRow> rows;
    double pitchTolerance = 0.003;
    double levelTolerance = 0.03;
    bool shortNotes = false;
};

// The player here derives its pitch from a 3,579,545 Hz clock; the reference plays these modules
// from the 3,546,895 Hz one, so every note here is this much higher. The comparison takes it out.
constexpr double kClockRatio = 3579545.0 / 3546895.0;

constexpr uint32_t kA = 428, kB = 320, kC = 214;

// Rows 0..n-1 at speed 6 and 125 BPM, with a note on every `every`-th row.
std::vector<PlayedRow> Plain(size_t n, size_t every) {
    std::vector<PlayedRow> rows(n);
    for (size_t i = 0; i < n; i += every) rows[i].ourTick = rows[i].refTick = 0;
    return rows;
}

std::vector<CrossCase> Cases() {
    std::vector<CrossCase> cases;
    auto notes = [](std::function<void(ModuleBuilder&, uint32_t row, uint32_t period)> effect) {
        return [effect](ModuleBuilder& b) {
            const uint32_t periods[4] = {kA, kB, kC, 360};
            for (uint32_t i = 0; i < 4; ++i) {
                b.SetCell(0, i * 8, 0, 1, periods[i]);
                effect(b, i * 8, periods[i]);
            }
        };
    };
    cases.push_back({"plain notes and instrument volumes",
                     [](ModuleBuilder& b) {
                         const uint32_t periods[4] = {kA, kB, kC, 360};
                         for (uint32_t i = 0; i < 4; ++i) b.SetCell(0, i * 8, 0, i % 2 ? 2 : 1, periods[i]);
                     },
                     Plain(32, 8)});
    cases.push_back({"0xy arpeggio", notes([](ModuleBuilder& b, uint32_t r, uint32_t) {
                         b.SetCell(0, r, 0, 1, r == 0 ? kA : r == 8 ? kB : r == 16 ? kC : 360, 0x0, 0x37);
                     }),
                     Plain(32, 8)});
    cases.push_back({"1xx portamento up", notes([](ModuleBuilder& b, uint32_t r, uint32_t p) {
                         b.SetCell(0, r, 0, 1, p, 0x1, 0x04);
                     }),
                     Plain(32, 8)});
    cases.push_back({"2xx portamento down", notes([](ModuleBuilder& b, uint32_t r, uint32_t p) {
                         b.SetCell(0, r, 0, 1, p, 0x2, 0x06);
                     }),
                     Plain(32, 8)});
    cases.push_back({"3xx tone portamento", notes([](ModuleBuilder& b, uint32_t r, uint32_t p) {
                         b.SetCell(0, r + 1, 0, 0, p == kC ? kA : kC, 0x3, 0x0C);
                     }),
                     Plain(32, 8)});
    cases.push_back({"4xy vibrato", notes([](ModuleBuilder& b, uint32_t r, uint32_t p) {
                         // Only on the note's row: here every 4xy with a parameter restarts the
                         // vibrato's phase, where the reference carries it on.
                         b.SetCell(0, r, 0, 1, p, 0x4, 0x46);
                     }),
                     Plain(32, 8)});
    cases.push_back({"5xy portamento and volume slide", notes([](ModuleBuilder& b, uint32_t r, uint32_t p) {
                         b.SetCell(0, r + 1, 0, 0, p == kC ? kA : kC, 0x3, 0x08);
                         b.SetCell(0, r + 2, 0, 0, 0, 0x5, 0x03);
                     }),
                     Plain(32, 8)});
    cases.push_back({"6xy vibrato and volume slide", notes([](ModuleBuilder& b, uint32_t r, uint32_t p) {
                         b.SetCell(0, r, 0, 1, p, 0x4, 0x32);
                         b.SetCell(0, r + 1, 0, 0, 0, 0x6, 0x02);
                     }),
                     Plain(32, 8)});
    cases.push_back({"Axy volume slide", notes([](ModuleBuilder& b, uint32_t r, uint32_t) {
                         b.SetCell(0, r + 1, 0, 0, 0, 0xA, r % 16 ? 0x30 : 0x05);
                     }),
                     Plain(32, 8)});
    cases.push_back({"Cxx volume", notes([](ModuleBuilder& b, uint32_t r, uint32_t p) {
                         b.SetCell(0, r, 0, 1, p, 0xC, 8 + r);
                     }),
                     Plain(32, 8)});
    cases.push_back({"EAy and EBy fine volume", notes([](ModuleBuilder& b, uint32_t r, uint32_t p) {
                         b.SetCell(0, r, 0, 1, p, 0xE, r % 16 ? 0xA9 : 0xBC);
                     }),
                     Plain(32, 8)});
    {
        // B jumps forward to order 2, whose D breaks to order 3; B past the song ends it there. The
        // break row (x x 10 + y) is left to the exact tests: the reference in use here went on at
        // row 0 whatever the parameter.
        CrossCase c{"Bxx jump and Dxy break",
                    [](ModuleBuilder& b) {
                        b.SetOrders({0, 1, 2, 3});
                        b.SetCell(0, 0, 0, 1, kC);
                        b.SetCell(0, 2, 1, 0, 0, 0xB, 2);
                        b.SetCell(2, 0, 0, 1, kA);
                        b.SetCell(2, 2, 1, 0, 0, 0xD, 0x00);
                        b.SetCell(3, 0, 0, 1, kB);
                        b.SetCell(3, 3, 1, 0, 0, 0xB, 0x7F);
                    },
                    {}};
        c.rows = Plain(3, 3);     // order 0 rows 0..2
        auto more = Plain(3, 3);  // order 2 rows 0..2
        c.rows.insert(c.rows.end(), more.begin(), more.end());
        more = Plain(4, 4);  // order 3 rows 0..3
        c.rows.insert(c.rows.end(), more.begin(), more.end());
        c.shortNotes = true;
        cases.push_back(c);
    }
    {
        // E60 / E62: rows 0..3 three times, then row 4.
        CrossCase c{"E6y pattern loop",
                    [](ModuleBuilder& b) {
                        b.SetCell(0, 0, 0, 1, kC);
                        b.SetCell(0, 0, 1, 0, 0, 0xE, 0x60);
                        b.SetCell(0, 2, 0, 1, kA);
                        b.SetCell(0, 3, 1, 0, 0, 0xE, 0x62);
                        b.SetCell(0, 4, 0, 1, kB);
                        b.SetCell(0, 6, 1, 0, 0, 0xB, 0x00);
                    },
                    {}};
        for (int pass = 0; pass < 3; ++pass) {
            auto body = Plain(4, 2);
            c.rows.insert(c.rows.end(), body.begin(), body.end());
        }
        auto tail = Plain(3, 3);
        c.rows.insert(c.rows.end(), tail.begin(), tail.end());
        c.shortNotes = true;
        cases.push_back(c);
    }
    {
        CrossCase c{"EEy pattern delay",
                    [](ModuleBuilder& b) {
                        b.SetCell(0, 0, 0, 1, kC);
                        b.SetCell(0, 1, 1, 0, 0, 0xE, 0xE2);
                        b.SetCell(0, 2, 0, 1, kA);
                        b.SetCell(0, 4, 0, 1, kB);
                        b.SetCell(0, 6, 1, 0, 0, 0xB, 0x00);
                    },
                    Plain(9, 2)};
        // Row 1 lasts three rows: rows as played are 0, 1, 1, 1, 2, 3, 4, 5, 6.
        c.rows[2].ourTick = c.rows[2].refTick = -1;
        c.rows[4].ourTick = c.rows[4].refTick = 0;
        c.rows[6].ourTick = c.rows[6].refTick = 0;
        c.rows[8].ourTick = c.rows[8].refTick = -1;
        c.shortNotes = true;
        cases.push_back(c);
    }
    {
        CrossCase c{"Fxx speed and tempo",
                    [](ModuleBuilder& b) {
                        b.SetCell(0, 0, 0, 1, kC);
                        b.SetCell(0, 0, 1, 0, 0, 0xF, 0x03);
                        b.SetCell(0, 2, 0, 1, kA);
                        b.SetCell(0, 2, 1, 0, 0, 0xF, 0x50);
                        b.SetCell(0, 4, 0, 1, kB);
                        b.SetCell(0, 4, 1, 0, 0, 0xF, 0x09);
                        b.SetCell(0, 6, 0, 1, kC);
                        b.SetCell(0, 6, 1, 0, 0, 0xF, 0xC8);
                        b.SetCell(0, 8, 0, 1, kA);
                        b.SetCell(0, 9, 1, 0, 0, 0xB, 0x00);
                    },
                    Plain(10, 2)};
        const uint32_t speeds[10] = {3, 3, 3, 3, 9, 9, 9, 9, 9, 9};
        const uint32_t bpms[10] = {125, 125, 80, 80, 80, 80, 200, 200, 200, 200};
        for (int i = 0; i < 10; ++i) c.rows[i].speed = speeds[i], c.rows[i].bpm = bpms[i];
        c.shortNotes = true;
        cases.push_back(c);
    }
    {
        // The player here starts a delayed note one tick later than the reference: the delay counter
        // is set to y - 1 and the note starts when it has counted down past 0, on tick y + 1.
        CrossCase c{"EDy note delay (one tick later here)",
                    [](ModuleBuilder& b) {
                        b.SetCell(0, 0, 0, 1, kC, 0xE, 0xD2);
                        b.SetCell(0, 2, 0, 1, kA, 0xE, 0xD4);
                        b.SetCell(0, 4, 0, 1, kB, 0xE, 0xD1);
                        b.SetCell(0, 6, 1, 0, 0, 0xB, 0x00);
                    },
                    Plain(7, 2)};
        const int ticks[3] = {2, 4, 1};
        for (int i = 0; i < 3; ++i) c.rows[i * 2].ourTick = ticks[i] + 1, c.rows[i * 2].refTick = ticks[i];
        c.rows[6].ourTick = c.rows[6].refTick = -1;
        c.shortNotes = true;
        cases.push_back(c);
    }
    return cases;
}

ModuleBuilder MakeModule(const CrossCase& c) {
    ModuleBuilder b(4, 4);
    // Square waves of 32 bytes a cycle: 4,096 bytes for the notes eight rows apart (under 8 rows at
    // the periods used), 512 bytes for the timing cases (under 3,000 samples).
    auto square = [](size_t n) {
        std::vector<int8_t> s(n);
        for (size_t i = 0; i < n; ++i) s[i] = (i / 16) % 2 ? -96 : 96;
        return s;
    };
    b.SetInstrument(1, square(c.shortNotes ? 512 : 4096), 64);
    b.SetInstrument(2, square(4096), 40);
    b.SetOrders({0});
    c.build(b);
    return b;
}

TEST(ModuleCrossCheckTest, OnsetsPitchAndLevelAgreeWithAnIndependentPlayer) {
    for (const CrossCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> file = MakeModule(c).File();
        const std::vector<int16_t> ours = RenderOurs(file);
        const std::vector<int16_t> ref = RenderReference(file);
        const std::vector<size_t> ourOnsets = Onsets(ours), refOnsets = Onsets(ref);
        const std::vector<double> ourModel = ModelOnsets(c.rows, true), refModel = ModelOnsets(c.rows, false);

        // Onsets: the same number, each where its player's own timing model puts it.
        ASSERT_EQ(ourOnsets.size(), ourModel.size());
        ASSERT_EQ(refOnsets.size(), refModel.size());
        for (size_t i = 0; i < ourModel.size(); ++i) {
            EXPECT_NEAR(double(ourOnsets[i]), ourModel[i], 0.5) << "note " << i;
            EXPECT_NEAR(double(refOnsets[i]), refModel[i], 3.0)
                << "note " << i << " of " << c.rows.size() << " rows";
        }

        // Pitch and level of each note, over the note until the next one.
        std::vector<NoteMeasure> a, b;
        // Both over the first 90 % of the note as sounded here: the reference fades a sample's end out.
        for (size_t i = 0; i < ourOnsets.size(); ++i) {
            const size_t end = i + 1 < ourOnsets.size() ? ourOnsets[i + 1] : ours.size();
            size_t last = ourOnsets[i];
            for (size_t k = ourOnsets[i]; k < end; ++k)
                if (std::abs(ours[k]) > 8) last = k;
            const size_t length = (last - ourOnsets[i]) * 9 / 10;
            a.push_back(Measure(ours, ourOnsets[i], ourOnsets[i] + length));
            b.push_back(Measure(ref, refOnsets[i], refOnsets[i] + length));
        }
        double num = 0, den = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            num += a[i].rms * b[i].rms;
            den += a[i].rms * a[i].rms;
        }
        const double gain = den > 0 ? num / den : 0;
        for (size_t i = 0; i < a.size(); ++i) {
            ASSERT_GT(b[i].frequency, 0) << "note " << i;
            EXPECT_NEAR(a[i].frequency / b[i].frequency / kClockRatio, 1.0, c.pitchTolerance) << "note " << i;
            EXPECT_NEAR(a[i].rms * gain / b[i].rms, 1.0, c.levelTolerance) << "note " << i;
        }
    }
}

}  // namespace

#endif  // VANTREL_HAVE_OPENMPT
