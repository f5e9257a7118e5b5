#include "tools/content/world/Music.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

namespace world {

namespace {

constexpr double kPi = 3.14159265358979323846;
// One waveform cycle of every instrument is 32 samples: at the middle octave's C (period 428) the
// player steps through them at about 8,287 Hz, which sounds the C of 259 Hz.
constexpr int kCycle = 32;

// Periods of the three octaves, C to B.
constexpr uint16_t kPeriods[36] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
                                   428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
                                   214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

// "C-2", "F#1", "A-3" -> 0..35.
int NoteIndex(const char* name) {
    static const char* kNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
    for (int n = 0; n < 12; ++n)
        if (std::strncmp(name, kNames[n], 2) == 0) {
            const int octave = name[2] - '1';
            if (octave < 0 || octave > 2) break;
            return octave * 12 + n;
        }
    throw std::logic_error(std::string("bad note ") + name);
}

int8_t ToS8(double v) { return static_cast<int8_t>(std::lround(std::clamp(v, -1.0, 1.0) * 127.0)); }

struct Instrument {
    std::string name;
    std::vector<uint8_t> data;
    uint8_t volume = 64;
    uint32_t loopStart = 0;   // bytes
    uint32_t loopLength = 0;  // bytes; 0 = no loop
};

// A warm pad: five harmonics whose levels breathe with a slow swell; the loop holds a whole number
// of swells and cycles, so it repeats without a seam.
Instrument Pad(size_t bytes, uint32_t loopStart) {
    Instrument in{"soft pad", {}, 40, loopStart, static_cast<uint32_t>(bytes - loopStart)};
    const double swell = 8000.0;
    for (size_t i = 0; i < bytes; ++i) {
        const double t = static_cast<double>(i);
        const double phase = 2 * kPi * t / kCycle;
        const double lfo = 0.5 + 0.5 * std::sin(2 * kPi * (t - loopStart) / swell);
        double v = 0.55 * std::sin(phase) + 0.22 * std::sin(2 * phase + 0.3) +
                   (0.10 + 0.08 * lfo) * std::sin(3 * phase + 1.1) + 0.05 * lfo * std::sin(4 * phase) +
                   0.03 * std::sin(5 * phase + 0.7);
        const double attack = std::min(1.0, t / 3000.0);
        in.data.push_back(static_cast<uint8_t>(ToS8(0.9 * attack * v)));
    }
    return in;
}

// A plucked string (the Karplus-Strong method: a noise burst through a delay line of one cycle).
Instrument Pluck(size_t bytes, uint32_t seed, double damping) {
    Instrument in{"harp", {}, 48, 0, 0};
    std::vector<double> line(kCycle);
    for (double& x : line) {
        seed = seed * 1664525u + 1013904223u;
        x = ((seed >> 8) & 0xFFFF) / 32768.0 - 1.0;
    }
    for (size_t i = 0; i < bytes; ++i) {
        const size_t k = i % kCycle;
        const double out = line[k];
        line[k] = damping * 0.5 * (line[k] + line[(k + 1) % kCycle]);
        in.data.push_back(static_cast<uint8_t>(ToS8(0.85 * out)));
    }
    return in;
}

Instrument Bass(size_t bytes) {
    Instrument in{"round bass", {}, 56, 0, 0};
    for (size_t i = 0; i < bytes; ++i) {
        const double t = static_cast<double>(i);
        const double phase = 2 * kPi * t / kCycle;
        const double env = std::exp(-t / (bytes * 0.45));
        const double v = 0.8 * std::sin(phase) + 0.25 * std::sin(2 * phase) * std::exp(-t / 1500.0);
        in.data.push_back(static_cast<uint8_t>(ToS8(env * v)));
    }
    return in;
}

// A soft flute: a sine with a little second harmonic and breath at the attack, then a looped tone.
Instrument Flute() {
    Instrument in{"flute", {}, 40, 1024, 512};
    uint32_t seed = 99;
    for (size_t i = 0; i < 1536; ++i) {
        const double t = static_cast<double>(i);
        const double phase = 2 * kPi * t / kCycle;
        seed = seed * 1664525u + 1013904223u;
        const double breath = (((seed >> 9) & 0xFF) / 128.0 - 1.0) * 0.08 * std::max(0.0, 1.0 - t / 600.0);
        const double attack = std::min(1.0, t / 300.0);
        in.data.push_back(static_cast<uint8_t>(
            ToS8(attack * (0.75 * std::sin(phase) + 0.12 * std::sin(2 * phase)) + breath)));
    }
    return in;
}

Instrument Kick() {
    Instrument in{"drum", {}, 50, 0, 0};
    double phase = 0;
    for (size_t i = 0; i < 2400; ++i) {
        const double t = static_cast<double>(i) / 8287.0;
        const double freq = 45 + 110 * std::exp(-t * 30);
        phase += 2 * kPi * freq / 8287.0;
        in.data.push_back(static_cast<uint8_t>(ToS8(std::sin(phase) * std::exp(-t * 9))));
    }
    return in;
}

Instrument Shaker() {
    Instrument in{"shaker", {}, 20, 0, 0};
    uint32_t seed = 7;
    double last = 0;
    for (size_t i = 0; i < 900; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = ((seed >> 8) & 0xFFFF) / 32768.0 - 1.0;
        const double hi = noise - last;  // a bright, thin noise
        last = noise;
        in.data.push_back(static_cast<uint8_t>(ToS8(0.5 * hi * std::exp(-static_cast<double>(i) / 180.0))));
    }
    return in;
}

void PutBE16(std::vector<uint8_t>& h, size_t at, uint32_t v) {
    h[at] = static_cast<uint8_t>(v >> 8);
    h[at + 1] = static_cast<uint8_t>(v);
}

// The module header of a set of instruments; the song part (length and orders) is filled by the song.
std::vector<uint8_t> InstrumentHeader(const std::string& title, const std::vector<Instrument>& ins) {
    if (ins.size() > 31) throw std::logic_error("more than 31 instruments");
    std::vector<uint8_t> h(1084, 0);
    std::memcpy(h.data(), title.data(), std::min<size_t>(title.size(), 20));
    for (size_t i = 0; i < ins.size(); ++i) {
        const size_t s = 20 + 30 * i;
        std::memcpy(h.data() + s, ins[i].name.data(), std::min<size_t>(ins[i].name.size(), 22));
        PutBE16(h, s + 22, static_cast<uint32_t>(ins[i].data.size() / 2));
        h[s + 24] = 0;
        h[s + 25] = ins[i].volume;
        PutBE16(h, s + 26, ins[i].loopLength ? ins[i].loopStart / 2 : 0);
        PutBE16(h, s + 28, ins[i].loopLength ? ins[i].loopLength / 2 : 1);
    }
    std::memcpy(h.data() + 1080, "M.K.", 4);
    return h;
}

// One pattern: 64 rows of four channels.
class Pattern {
public:
    Pattern() : cells_(64 * 4 * 4, 0) {}
    void Note(int row, int ch, int sample, const char* note, int volume = -1) {
        if (row < 0 || row >= 64) return;
        const uint16_t period = kPeriods[NoteIndex(note)];
        uint8_t* c = Cell(row, ch);
        c[0] = static_cast<uint8_t>((sample & 0xF0) | (period >> 8));
        c[1] = static_cast<uint8_t>(period & 0xFF);
        c[2] = static_cast<uint8_t>((sample & 0x0F) << 4);
        c[3] = 0;
        if (volume >= 0) Effect(row, ch, 0xC, static_cast<uint8_t>(volume));
    }
    void Effect(int row, int ch, uint8_t effect, uint8_t param) {
        if (row < 0 || row >= 64) return;
        uint8_t* c = Cell(row, ch);
        c[2] = static_cast<uint8_t>((c[2] & 0xF0) | effect);
        c[3] = param;
    }
    void Cut(int row, int ch) { Effect(row, ch, 0xC, 0); }
    const std::vector<uint8_t>& Bytes() const { return cells_; }

private:
    uint8_t* Cell(int row, int ch) { return &cells_[static_cast<size_t>(row * 4 + ch) * 4]; }
    std::vector<uint8_t> cells_;
};

struct Chord {
    const char* root;      // bass note, octave 1
    const char* tones[3];  // arpeggio notes, octave 2
};

Song MakeSong(const std::string& name, const std::string& bank, const std::vector<uint8_t>& header,
              const std::vector<Pattern>& patterns, const std::vector<uint8_t>& order) {
    Song song;
    song.name = name;
    song.bank = bank;
    song.header = header;
    song.header[950] = static_cast<uint8_t>(order.size());
    song.header[951] = 0;
    for (size_t i = 0; i < order.size(); ++i) song.header[952 + i] = order[i];
    for (const Pattern& p : patterns) song.patterns.push_back(p.Bytes());
    return song;
}

Bank MakeBank(const std::string& name, const std::vector<uint8_t>& header,
              const std::vector<Instrument>& ins) {
    Bank bank;
    bank.name = name;
    bank.header = header;
    for (const Instrument& i : ins) bank.samples.push_back(i.data);
    return bank;
}

// Main menu: a calm A minor with a pad, a harp arpeggio, a soft bass and, in the second half, a
// flute melody over the same chords. Samples: 1 pad, 2 harp, 3 bass, 4 flute.
void ComposeMain(MusicContent& out) {
    std::vector<Instrument> ins = {Pad(70000, 38000), Pluck(12000, 4242, 0.996), Bass(9000), Flute()};
    const std::vector<uint8_t> header = InstrumentHeader("Vantrel main theme", ins);
    const Chord chords[8] = {{"A-1", {"A-2", "C-3", "E-3"}}, {"F-1", {"F-2", "A-2", "C-3"}},
                             {"C-1", {"G-2", "C-3", "E-3"}}, {"G-1", {"G-2", "B-2", "D-3"}},
                             {"A-1", {"A-2", "C-3", "E-3"}}, {"F-1", {"F-2", "A-2", "C-3"}},
                             {"D-1", {"F-2", "A-2", "D-3"}}, {"E-1", {"E-2", "G#2", "B-2"}}};
    // Flute melody, one list per bar: (row in bar, note); "" ends a note.
    const std::vector<std::pair<int, const char*>> melody[8] = {
        {{0, "E-3"}, {6, "D-3"}, {8, "C-3"}, {12, "B-2"}}, {{0, "C-3"}, {8, "A-2"}, {14, ""}},
        {{0, "G-2"}, {4, "C-3"}, {8, "E-3"}, {12, "D-3"}}, {{0, "D-3"}, {8, "B-2"}, {14, ""}},
        {{0, "E-3"}, {4, "A-3"}, {8, "G-3"}, {12, "E-3"}}, {{0, "F-3"}, {6, "E-3"}, {8, "C-3"}, {14, ""}},
        {{0, "D-3"}, {4, "F-3"}, {8, "E-3"}, {12, "D-3"}}, {{0, "B-2"}, {8, "G#2"}, {12, ""}}};
    std::vector<Pattern> patterns(4);
    for (int p = 0; p < 4; ++p) {
        Pattern& pat = patterns[p];
        if (p == 0) pat.Effect(0, 2, 0xF, 8);  // speed 8 (the flute is silent there): a slow pulse
        for (int bar = 0; bar < 4; ++bar) {
            const int chordIndex = (p % 2) * 4 + bar;
            const Chord& c = chords[chordIndex];
            const int r = bar * 16;
            pat.Note(r, 0, 1, c.tones[0], 36);
            pat.Note(r, 3, 3, c.root, 48);
            pat.Note(r + 10, 3, 3, c.root, 30);
            const int arp[8] = {0, 1, 2, 1, 0, 1, 2, 1};
            for (int k = 0; k < 8; ++k) pat.Note(r + 2 * k, 1, 2, c.tones[arp[k]], k % 4 == 0 ? 44 : 30);
            if (p >= 2)
                for (const auto& [row, note] : melody[chordIndex]) {
                    if (*note)
                        pat.Note(r + row, 2, 4, note, 40);
                    else
                        pat.Cut(r + row, 2);
                }
        }
        if (p == 3) pat.Cut(63, 2);
    }
    out.banks.push_back(MakeBank("bmus_bankmain", header, ins));
    out.songs.push_back(MakeSong("bmus_main", "bmus_bankmain", header, patterns, {0, 1, 2, 3}));
}

// Dungeon: a slow D minor drone with low pad swells, a distant harp and a heartbeat drum. Samples:
// 1 pad, 2 harp (darker), 3 bass, 4 drum.
void ComposeDungeon(MusicContent& out) {
    std::vector<Instrument> ins = {Pad(20000, 4000), Pluck(10000, 777, 0.993), Bass(9000), Kick()};
    ins[0].volume = 34;
    ins[1].volume = 36;
    const std::vector<uint8_t> header = InstrumentHeader("Below the stones", ins);
    const char* drones[4][2] = {{"D-1", "A-1"}, {"A#1", "F-2"}, {"D-1", "A-1"}, {"C-2", "G-2"}};
    const char* harp[4][4] = {{"D-3", "F-3", "A-2", "E-3"},
                              {"F-3", "D-3", "A#2", "C-3"},
                              {"A-2", "D-3", "F-3", "E-3"},
                              {"G-2", "C-3", "E-3", "D-3"}};
    std::vector<Pattern> patterns(4);
    for (int p = 0; p < 4; ++p) {
        Pattern& pat = patterns[p];
        if (p == 0) pat.Effect(0, 1, 0xF, 10);  // the harp starts later in the bar
        pat.Note(0, 0, 1, drones[p][0], 40);
        pat.Note(32, 0, 1, drones[p][1], 34);
        pat.Note(0, 2, 3, drones[p][0], 44);
        pat.Note(40, 2, 3, drones[p][0], 28);
        for (int k = 0; k < 4; ++k) pat.Note(8 + 16 * k + (k % 2) * 4, 1, 2, harp[p][k], 26 + 4 * (k % 2));
        for (int beat = 0; beat < 64; beat += 16) {
            pat.Note(beat, 3, 4, "C-2", 40);
            pat.Note(beat + 3, 3, 4, "C-2", 22);
        }
    }
    out.banks.push_back(MakeBank("bmus_bankcave", header, ins));
    out.songs.push_back(MakeSong("bmus_dungeon", "bmus_bankcave", header, patterns, {0, 1, 2, 3}));
}

// Town: a bright G major dance with a walking bass, harp chords, a flute tune and a light shaker.
// Samples: 1 harp, 2 bass, 3 flute, 4 shaker, 5 drum.
void ComposeTown(MusicContent& out) {
    std::vector<Instrument> ins = {Pluck(9000, 31337, 0.994), Bass(6000), Flute(), Shaker(), Kick()};
    const std::vector<uint8_t> header = InstrumentHeader("Market day", ins);
    const Chord chords[4] = {{"G-1", {"G-2", "B-2", "D-3"}},
                             {"C-2", {"C-3", "E-3", "G-3"}},
                             {"D-1", {"D-3", "F#2", "A-2"}},
                             {"G-1", {"G-2", "B-2", "D-3"}}};
    const char* fifths[4] = {"D-2", "G-1", "A-1", "D-2"};
    const std::vector<std::pair<int, const char*>> tune[4] = {
        {{0, "D-3"}, {4, "G-3"}, {6, "F#3"}, {8, "G-3"}, {12, "B-2"}},
        {{0, "C-3"}, {4, "E-3"}, {8, "G-3"}, {12, "E-3"}},
        {{0, "F#3"}, {4, "A-3"}, {6, "G-3"}, {8, "F#3"}, {12, "D-3"}},
        {{0, "G-3"}, {4, "D-3"}, {8, "B-2"}, {12, "G-2"}, {15, ""}}};
    std::vector<Pattern> patterns(2);
    for (int p = 0; p < 2; ++p) {
        Pattern& pat = patterns[p];
        if (p == 0) pat.Effect(0, 2, 0xF, 5);  // the flute joins in the second pattern
        for (int bar = 0; bar < 4; ++bar) {
            const Chord& c = chords[bar];
            const int r = bar * 16;
            for (int k = 0; k < 4; ++k)
                pat.Note(r + 4 * k, 1, 2, k % 2 ? fifths[bar] : c.root, k == 0 ? 50 : 40);
            for (int k = 0; k < 4; ++k) pat.Note(r + 4 * k + 2, 0, 1, c.tones[k % 3], 34);
            if (p == 1)
                for (const auto& [row, note] : tune[bar]) {
                    if (*note)
                        pat.Note(r + row, 2, 3, note, 38);
                    else
                        pat.Cut(r + row, 2);
                }
            pat.Note(r, 3, 5, "C-2", 36);
            pat.Note(r + 8, 3, 5, "C-2", 28);
            pat.Note(r + 4, 3, 4, "C-3", 20);
            pat.Note(r + 12, 3, 4, "C-3", 20);
        }
        if (p == 1) pat.Cut(63, 2);
    }
    out.banks.push_back(MakeBank("bmus_banktown", header, ins));
    out.songs.push_back(MakeSong("bmus_town", "bmus_banktown", header, patterns, {0, 0, 1, 1}));
}

}  // namespace

MusicContent ComposeMusic() {
    MusicContent out;
    ComposeMain(out);
    ComposeDungeon(out);
    ComposeTown(out);
    return out;
}

std::vector<uint8_t> ModuleFile(const Song& song, const Bank& bank) {
    std::vector<uint8_t> file = song.header;
    for (const auto& p : song.patterns) file.insert(file.end(), p.begin(), p.end());
    for (const auto& s : bank.samples) file.insert(file.end(), s.begin(), s.end());
    return file;
}

}  // namespace world
