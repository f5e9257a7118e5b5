#include "tools/content/Wav.h"

#include <algorithm>
#include <cmath>

#include "tools/content/ByteWriter.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

int16_t ToSample(double v) { return static_cast<int16_t>(std::clamp(v, -1.0, 1.0) * 32767.0); }

}  // namespace

std::vector<uint8_t> MakeWav(const std::vector<int16_t>& samples, int rate) {
    ByteWriter out;
    uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.Text("RIFF");
    out.U32(36 + dataBytes);
    out.Text("WAVE");
    out.Text("fmt ");
    out.U32(16);
    out.U16(1);  // PCM
    out.U16(1);  // mono
    out.U32(rate);
    out.U32(rate * 2);  // byte rate
    out.U16(2);         // block align
    out.U16(16);        // bits per sample
    out.Text("data");
    out.U32(dataBytes);
    for (int16_t s : samples) out.I16(s);
    return out.Take();
}

std::vector<int16_t> ClickSamples() {
    // 35 ms: a knock of two damped partials with a touch of noise at the attack.
    const int n = kWavRate * 35 / 1000;
    std::vector<int16_t> s(n);
    uint32_t seed = 12345;
    for (int i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / kWavRate;
        seed = seed * 1664525u + 1013904223u;
        double noise = ((seed >> 8) & 0xFFFF) / 32768.0 - 1.0;
        double env = std::exp(-t * 160.0);
        double v = 0.55 * std::sin(2 * kPi * 1750 * t) + 0.3 * std::sin(2 * kPi * 620 * t) +
                   0.35 * noise * std::exp(-t * 900.0);
        s[i] = ToSample(0.6 * env * v);
    }
    return s;
}

std::vector<int16_t> ConfirmSamples() {
    // 140 ms: two soft bell notes a fifth apart, the second entering after 45 ms.
    const int n = kWavRate * 140 / 1000;
    std::vector<int16_t> s(n);
    for (int i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / kWavRate;
        double attack = std::min(1.0, t / 0.003);
        double a = std::exp(-t * 28.0) * (std::sin(2 * kPi * 880 * t) + 0.3 * std::sin(2 * kPi * 1760 * t));
        double t2 = t - 0.045;
        double b = t2 < 0 ? 0.0
                          : std::min(1.0, t2 / 0.003) * std::exp(-t2 * 30.0) *
                                (std::sin(2 * kPi * 1318.5 * t2) + 0.25 * std::sin(2 * kPi * 2637 * t2));
        double fade = i > n - 200 ? (n - i) / 200.0 : 1.0;
        s[i] = ToSample(0.33 * attack * fade * (a + b));
    }
    return s;
}
