// Writes small tracker-module files, laid out as a module file: a header, patterns and instruments
// filled in by hand. The sound tests and the mixer benchmark build their modules with it.
#pragma once

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace content {

class ModuleBuilder {
public:
    explicit ModuleBuilder(uint32_t tracks, uint32_t patterns = 1) : tracks_(tracks), header_(1084, 0) {
        std::string sig = tracks == 4   ? "M.K."
                          : tracks < 10 ? std::to_string(tracks) + "CHN"
                                        : std::to_string(tracks) + "CH";
        std::memcpy(header_.data() + 1080, sig.data(), 4);
        patterns_.assign(patterns, std::vector<uint8_t>(64 * tracks * 4, 0));
        samples_.resize(31);
        SetOrders({0});
    }

    // Instrument n (1..31) with signed 8-bit data; loop in words (length 0 = no loop).
    void SetInstrument(int n, const std::vector<int8_t>& data, uint8_t volume, uint8_t finetune = 0,
                       uint16_t loopStart = 0, uint16_t loopLength = 0) {
        uint8_t* h = header_.data() + 20 + (n - 1) * 30;
        const uint32_t words = static_cast<uint32_t>(data.size() / 2);
        h[22] = static_cast<uint8_t>(words >> 8);
        h[23] = static_cast<uint8_t>(words);
        h[24] = finetune;
        h[25] = volume;
        h[26] = static_cast<uint8_t>(loopStart >> 8);
        h[27] = static_cast<uint8_t>(loopStart);
        h[28] = static_cast<uint8_t>(loopLength >> 8);
        h[29] = static_cast<uint8_t>(loopLength);
        samples_[n - 1].assign(reinterpret_cast<const uint8_t*>(data.data()),
                               reinterpret_cast<const uint8_t*>(data.data()) + words * 2);
    }
    // An instrument whose every byte is `value`, looping over its whole length.
    void SetDcInstrument(int n, int8_t value, uint8_t volume, uint32_t bytes = 2000) {
        SetInstrument(n, std::vector<int8_t>(bytes, value), volume, 0, 0, static_cast<uint16_t>(bytes / 2));
    }

    void SetOrders(const std::vector<uint8_t>& orders, uint8_t restart = 127) {
        header_[950] = static_cast<uint8_t>(orders.size());
        header_[951] = restart;
        std::memset(header_.data() + 952, 0, 128);
        for (size_t i = 0; i < orders.size() && i < 128; ++i) header_[952 + i] = orders[i];
    }

    void SetCell(uint32_t pattern, uint32_t row, uint32_t track, uint32_t instrument, uint32_t period,
                 uint32_t effect = 0, uint32_t param = 0) {
        uint8_t* c = patterns_[pattern].data() + (row * tracks_ + track) * 4;
        c[0] = static_cast<uint8_t>((instrument & 0xF0) | ((period >> 8) & 0x0F));
        c[1] = static_cast<uint8_t>(period);
        c[2] = static_cast<uint8_t>(((instrument & 0x0F) << 4) | (effect & 0x0F));
        c[3] = static_cast<uint8_t>(param);
    }

    std::vector<uint8_t>& Header() { return header_; }

    std::vector<uint8_t> File() const {
        std::vector<uint8_t> out = header_;
        // Every order entry counts towards the stored patterns.
        uint32_t count = 0;
        for (int i = 0; i < 128; ++i) count = std::max<uint32_t>(count, header_[952 + i] + 1u);
        for (uint32_t p = 0; p < count; ++p) {
            if (p < patterns_.size())
                out.insert(out.end(), patterns_[p].begin(), patterns_[p].end());
            else
                out.insert(out.end(), 64 * tracks_ * 4, 0);
        }
        for (const auto& s : samples_) out.insert(out.end(), s.begin(), s.end());
        return out;
    }

private:
    uint32_t tracks_;
    std::vector<uint8_t> header_;
    std::vector<std::vector<uint8_t>> patterns_;
    std::vector<std::vector<uint8_t>> samples_;
};

// A canonical RIFF/WAVE image of PCM data.
inline std::vector<uint8_t> MakeWav(uint16_t channels, uint32_t rate, uint16_t bits,
                                    const std::vector<uint8_t>& data, uint16_t tag = 1) {
    std::vector<uint8_t> w;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](uint16_t v) {
        w.push_back(static_cast<uint8_t>(v));
        w.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto id = [&](const char* s) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(s[i]));
    };
    id("RIFF");
    u32(static_cast<uint32_t>(36 + data.size() + (data.size() & 1)));
    id("WAVE");
    id("fmt ");
    u32(16);
    u16(tag);
    u16(channels);
    u32(rate);
    u32(rate * channels * bits / 8);
    u16(static_cast<uint16_t>(channels * bits / 8));
    u16(bits);
    id("data");
    u32(static_cast<uint32_t>(data.size()));
    w.insert(w.end(), data.begin(), data.end());
    if (data.size() & 1) w.push_back(0);
    return w;
}

}  // namespace content
